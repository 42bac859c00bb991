// Decisions of a saver run that need no system: which music to start and
// when the watch on the renderer ends the run.
#pragma once
#include <cstdint>
#include <string>
#include <optional>

enum class MusicChoice { None, AudioCd, WaveFile, Mp3File };

// What the run plays for the settings: the CD for kind 1; for kind 2 the
// last three characters of the file name, upper-cased, pick a WAV or an MP3
// file; anything else plays nothing.
MusicChoice ChooseMusic(int16_t bgmKind, const std::wstring& bgmFile);

// The saver window's timers and their intervals in milliseconds.
enum class SaverTimer { MusicRepeat = 1, CdPoll = 2, RendererWatch = 3 };
constexpr unsigned MusicRepeatInterval = 1000;  // restarts a music file that has ended
constexpr unsigned CdPollInterval = 200;        // keeps the CD on its repeat track
constexpr unsigned RendererWatchInterval = 500;

struct TimerStart {
    SaverTimer Timer;
    unsigned Interval;
};

// On from the saver window's creation.
constexpr TimerStart WatchTimer = {SaverTimer::RendererWatch, RendererWatchInterval};
constexpr TimerStart MusicRepeatTimer = {SaverTimer::MusicRepeat, MusicRepeatInterval};
constexpr TimerStart CdPollTimer = {SaverTimer::CdPoll, CdPollInterval};

// The timer the run's music needs once it has started: the repeat for an MP3
// file, the poll for the CD; none for a WAV file, which the sound player
// loops by itself, or for no music.
std::optional<TimerStart> MusicTimer(MusicChoice music);

// Ticks of the 500 ms watch timer that a started renderer is given to open
// its window (reading the picture and making the textures can take seconds)
// before the run ends.
constexpr int RendererStartTicks = 40;

struct RendererWatch {
    bool WindowSeen = false;  // "Ripplume_VC" was found at some tick
    int TicksWaited = 0;      // ticks without the window before it was seen
};

// One watch tick. windowFound: a window titled "Ripplume_VC" exists now;
// processRunning: the renderer process this run started has not ended.
// True when the run is over: the window has gone after being seen, or the
// renderer ended (or never started) without showing it, or it took too long.
bool RunIsOver(RendererWatch& watch, bool windowFound, bool processRunning);
