// Background music of a saver run: an MP3 file through the MCI device
// "MPEGVideo" (alias MP3Play), a WAV file through the system's sound player,
// or the audio CD through the MCI device "cdaudio", kept on its repeat track
// by a poll. The command logic lives here; MciPort is the way to the system.
#pragma once
#include <cstdint>
#include <string>

// The multimedia calls the player makes. Strings are ANSI bytes here; the
// port converts the host's Unicode text to and from the ANSI code page.
struct MciPort {
    virtual ~MciPort() = default;
    // mciSendStringA without callback window; reply is null when replyChars is 0.
    virtual int32_t SendString(const std::string& command, char* reply, unsigned replyChars) = 0;
    // mciGetErrorStringA: true when a text was found for the code.
    virtual bool GetErrorString(int32_t code, char* text, unsigned chars) = 0;
    // waveOutGetNumDevs, read as a signed number.
    virtual int32_t WaveOutDeviceCount() = 0;
    // PlaySoundA without module; a null name stops the sound playing.
    virtual void PlaySoundName(const char* nameOrNull, unsigned flags) = 0;
    virtual std::string ToAnsi(const std::wstring& text) = 0;
    virtual std::wstring FromAnsi(const std::string& text) = 0;
};

constexpr unsigned ReplyChars = 512;
constexpr unsigned ErrorTextChars = 256;
constexpr unsigned CdModeChars = 256;
constexpr unsigned CdModeOffered = 255;  // the system may write 255 of the 256
constexpr unsigned FileStatusChars = 30;

constexpr unsigned SoundAsync = 1;  // SND_ASYNC
constexpr unsigned SoundLoop = 8;   // SND_LOOP

// Texts SendMci gives back when there is no command, and when the system has
// no text for an error code.
inline constexpr wchar_t NoCommandText[] = L"コマンド文字列が指定されていません";
inline constexpr wchar_t NoErrorText[] = L"Error (文字列が取れません)";

// The player's state for the life of the process. The buffers start full of
// NUL and are never cleared: a reply overwrites their front, and a query that
// writes nothing leaves the earlier reply in place to be compared again.
struct MusicPlayer {
    explicit MusicPlayer(MciPort& port) : Port(&port) {}
    MciPort* Port;
    char Reply[ReplyChars] = {};
    char ErrorText[ErrorTextChars] = {};
    char CdMode[CdModeChars] = {};
    char FileStatus[FileStatusChars] = {};
    bool CdKeepPolling = false;  // left by every PollCdAudio
};

// Sends a command string. On success text is the reply, otherwise the
// system's error text for the code. Returns the MCI error code, 0 for success,
// -1 (and NoCommandText) for an empty command, which is not sent.
int32_t SendMci(MusicPlayer& player, const std::wstring& command, std::wstring& text);
// The reply, or "Error:" followed by the error code in decimal.
std::wstring QueryMci(MusicPlayer& player, const std::wstring& command);
// Sends "play <device>[ from <from>][ to <to>]"; empty parts are left out.
int32_t PlayCdTrack(MusicPlayer& player, const std::wstring& device, const std::wstring& from, const std::wstring& to);

// Music file (MP3).
void PlayMusicFile(MusicPlayer& player, const std::wstring& bgmFile);
bool IsMusicPlaying(MusicPlayer& player);
void RepeatMusicFile(MusicPlayer& player);
void CloseMusicFile(MusicPlayer& player);
// Held where it is while nobody can hear it, and resumed from there.
void PauseMusicFile(MusicPlayer& player);
void ResumeMusicFile(MusicPlayer& player);

// WAV file, looped by the sound player.
void PlayWave(MusicPlayer& player, const std::wstring& bgmFile);
void StopWave(MusicPlayer& player);

// Audio CD. bgmRepeat is the track to keep returning to, 0 for the whole disc.
void OpenCdAudio(MusicPlayer& player);
void PollCdAudio(MusicPlayer& player, int16_t bgmRepeat);
void CloseCdAudio(MusicPlayer& player);
// Held where it is while nobody can hear it; played on from there.
void PauseCdAudio(MusicPlayer& player);
void ResumeCdAudio(MusicPlayer& player);
