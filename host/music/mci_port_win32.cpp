#include "host/music/mci_port_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "host/common/ansi_text_win32.h"

int32_t Win32MciPort::SendString(const std::string& command, char* reply, unsigned replyChars) {
    // No callback window: no notification is ever requested.
    return static_cast<int32_t>(mciSendStringA(command.c_str(), reply, replyChars, nullptr));
}

bool Win32MciPort::GetErrorString(int32_t code, char* text, unsigned chars) {
    return mciGetErrorStringA(static_cast<MCIERROR>(code), text, chars) != FALSE;
}

int32_t Win32MciPort::WaveOutDeviceCount() {
    return static_cast<int32_t>(waveOutGetNumDevs());
}

void Win32MciPort::PlaySoundName(const char* nameOrNull, unsigned flags) {
    PlaySoundA(nameOrNull, nullptr, flags);
}

std::string Win32MciPort::ToAnsi(const std::wstring& text) {
    return ::ToAnsi(text);
}

std::wstring Win32MciPort::FromAnsi(const std::string& text) {
    return ::FromAnsi(text);
}

MusicPlayer& HostMusic() {
    static Win32MciPort port;
    static MusicPlayer player(port);
    return player;
}
