#include "host/music/music_player.h"

#include <cstring>

#include "host/common/decimal_text.h"

namespace {

// The buffer's text before its first NUL; a reply that fills the whole
// buffer without one ends at the buffer's end.
template <unsigned Size>
std::string BufferText(const char (&buffer)[Size]) {
    return std::string(buffer, strnlen(buffer, Size));
}

// Compares the buffer's first characters directly, as the mode replies are checked.
template <unsigned Size, unsigned WordSize>
bool StartsWith(const char (&buffer)[Size], const char (&word)[WordSize]) {
    static_assert(WordSize - 1 <= Size, "buffer shorter than the word");
    return std::memcmp(buffer, word, WordSize - 1) == 0;
}

// Sends a command whose reply nobody reads.
int32_t SendOnly(MusicPlayer& player, const std::wstring& command) {
    return player.Port->SendString(player.Port->ToAnsi(command), nullptr, 0);
}

bool ContainsErr(const std::wstring& text) {
    std::wstring upper = text;
    for (wchar_t& c : upper) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return upper.find(L"ERR") != std::wstring::npos;
}

}  // namespace

int32_t SendMci(MusicPlayer& player, const std::wstring& command, std::wstring& text) {
    if (command.empty()) {
        text = NoCommandText;
        return -1;
    }
    const int32_t result = player.Port->SendString(player.Port->ToAnsi(command), player.Reply, ReplyChars);
    if (result == 0) {
        text = player.Port->FromAnsi(BufferText(player.Reply));
        return 0;
    }
    if (player.Port->GetErrorString(result, player.ErrorText, ErrorTextChars)) {
        text = player.Port->FromAnsi(BufferText(player.ErrorText));
    } else {
        text = NoErrorText;
    }
    return result;
}

std::wstring QueryMci(MusicPlayer& player, const std::wstring& command) {
    std::wstring text;
    const int32_t result = SendMci(player, command, text);
    return result == 0 ? text : L"Error:" + std::to_wstring(result);
}

int32_t PlayCdTrack(MusicPlayer& player, const std::wstring& device, const std::wstring& from, const std::wstring& to) {
    std::wstring command = L"play " + device;
    if (!from.empty()) {
        command += L" from " + from;
    }
    if (!to.empty()) {
        command += L" to " + to;
    }
    std::wstring text;
    return SendMci(player, command, text);
}

void PlayMusicFile(MusicPlayer& player, const std::wstring& bgmFile) {
    // The quotes let the path hold blanks.
    if (SendOnly(player, L"open \"" + bgmFile + L"\" type MPEGVideo Alias MP3Play") == 0) {
        SendOnly(player, L"play MP3Play");
    }
}

bool IsMusicPlaying(MusicPlayer& player) {
    player.Port->SendString("status MP3Play mode", player.FileStatus, FileStatusChars);
    return StartsWith(player.FileStatus, "playing");
}

void RepeatMusicFile(MusicPlayer& player) {
    if (!IsMusicPlaying(player)) {
        SendOnly(player, L"stop MP3Play");
        SendOnly(player, L"play MP3Play from 0");
    }
}

void CloseMusicFile(MusicPlayer& player) {
    SendOnly(player, L"stop MP3Play");
    SendOnly(player, L"close MP3Play");
}

void PauseMusicFile(MusicPlayer& player) {
    SendOnly(player, L"pause MP3Play");
}

void ResumeMusicFile(MusicPlayer& player) {
    SendOnly(player, L"resume MP3Play");
}

void PlayWave(MusicPlayer& player, const std::wstring& bgmFile) {
    if (player.Port->WaveOutDeviceCount() > 0) {
        // Neither SND_FILENAME nor SND_ALIAS: the name is tried as an alias, then as a file.
        player.Port->PlaySoundName(player.Port->ToAnsi(bgmFile).c_str(), SoundAsync | SoundLoop);
    }
}

void StopWave(MusicPlayer& player) {
    player.Port->PlaySoundName(nullptr, 0);
}

void OpenCdAudio(MusicPlayer& player) {
    SendOnly(player, L"open cdaudio");
    SendOnly(player, L"set cdaudio time format tmsf");
}

void CloseCdAudio(MusicPlayer& player) {
    SendOnly(player, L"stop cdaudio");
    SendOnly(player, L"close cdaudio");
}

void PauseCdAudio(MusicPlayer& player) {
    SendOnly(player, L"pause cdaudio");
}

// The CD device knows no resume: a play without a position goes on from
// where it was paused.
void ResumeCdAudio(MusicPlayer& player) {
    SendOnly(player, L"play cdaudio");
}

void PollCdAudio(MusicPlayer& player, int16_t bgmRepeat) {
    player.CdKeepPolling = true;

    // No drive, no disc or no audio tracks: one of the first two queries fails.
    const std::wstring current = QueryMci(player, L"status cdaudio current track");
    if (ContainsErr(current)) {
        player.CdKeepPolling = false;
        return;
    }
    const std::wstring count = QueryMci(player, L"status cdaudio number of tracks");
    if (ContainsErr(count)) {
        player.CdKeepPolling = false;
        return;
    }

    player.Port->SendString("status cdaudio mode", player.CdMode, CdModeOffered);
    const bool stopped = StartsWith(player.CdMode, "stopped");

    if (bgmRepeat == 0) {
        if (stopped) {
            PlayCdTrack(player, L"cdaudio", L"", L"");
        }
        return;
    }

    // A current track that is not a number (or not a 16-bit one) is a fault
    // of the drive's answer and ends the polling.
    int16_t currentTrack = 0;
    if (!WholeNumber16(current, currentTrack)) {
        player.CdKeepPolling = false;
        return;
    }
    if (stopped || currentTrack != bgmRepeat) {
        // The position comes back in the drive's own time format and goes
        // back to it unread.
        const std::wstring start = QueryMci(player, L"status cdaudio position track " + std::to_wstring(bgmRepeat));
        PlayCdTrack(player, L"cdaudio", start, L"");
    }
}
