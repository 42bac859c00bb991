#include "host/startup/saver_run.h"

namespace {

wchar_t UpperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

std::wstring LastThreeUpper(const std::wstring& text) {
    std::wstring tail = text.size() > 3 ? text.substr(text.size() - 3) : text;
    for (wchar_t& c : tail) {
        c = UpperAscii(c);
    }
    return tail;
}

}  // namespace

MusicChoice ChooseMusic(int16_t bgmKind, const std::wstring& bgmFile) {
    if (bgmKind == 1) {
        return MusicChoice::AudioCd;
    }
    if (bgmKind != 2) {
        return MusicChoice::None;
    }
    const std::wstring extension = LastThreeUpper(bgmFile);
    if (extension == L"WAV") {
        return MusicChoice::WaveFile;
    }
    if (extension == L"MP3") {
        return MusicChoice::Mp3File;
    }
    return MusicChoice::None;
}

bool RunIsOver(RendererWatch& watch, bool windowFound, bool processRunning) {
    if (windowFound) {
        watch.WindowSeen = true;
        return false;
    }
    if (watch.WindowSeen || !processRunning) {
        return true;
    }
    ++watch.TicksWaited;
    return watch.TicksWaited >= RendererStartTicks;
}

std::optional<TimerStart> MusicTimer(MusicChoice music) {
    switch (music) {
    case MusicChoice::Mp3File:
        return MusicRepeatTimer;
    case MusicChoice::AudioCd:
        return CdPollTimer;
    case MusicChoice::WaveFile:
    case MusicChoice::None:
        break;
    }
    return std::nullopt;
}
