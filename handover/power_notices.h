// The system's notices of power and session changes, read without Win32 so
// that both programs' rules can be checked on any machine: the display going
// dark, the machine suspending, the session locked or switched away from.
#pragma once
#include <cstddef>
#include <cstdint>

namespace PowerNotices {
constexpr std::uint32_t PowerBroadcast = 0x0218;       // WM_POWERBROADCAST
constexpr std::uint32_t SessionChange = 0x02B1;        // WM_WTSSESSION_CHANGE
constexpr std::uintptr_t Suspend = 0x0004;             // PBT_APMSUSPEND
constexpr std::uintptr_t ResumeSuspend = 0x0007;       // PBT_APMRESUMESUSPEND
constexpr std::uintptr_t ResumeAutomatic = 0x0012;     // PBT_APMRESUMEAUTOMATIC
constexpr std::uintptr_t PowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE
constexpr std::uintptr_t ConsoleConnect = 0x1;         // WTS_CONSOLE_CONNECT
constexpr std::uintptr_t ConsoleDisconnect = 0x2;      // WTS_CONSOLE_DISCONNECT
constexpr std::uintptr_t RemoteConnect = 0x3;          // WTS_REMOTE_CONNECT
constexpr std::uintptr_t RemoteDisconnect = 0x4;       // WTS_REMOTE_DISCONNECT
constexpr std::uintptr_t SessionLock = 0x7;            // WTS_SESSION_LOCK
constexpr std::uintptr_t SessionUnlock = 0x8;          // WTS_SESSION_UNLOCK
}  // namespace PowerNotices

// The display's state in a POWERBROADCAST_SETTING (a GUID, a 32-bit length,
// then the data) of `size` bytes. GUID_CONSOLE_DISPLAY_STATE and
// GUID_SESSION_DISPLAY_STATUS carry a 32-bit value: 0 off, 1 on, 2 dimmed
// (still seen). Other settings, or a block too short for what it claims,
// leave the state as it was: the result is false then.
bool ReadDisplayState(const unsigned char* setting, std::size_t size, bool& displayOn);

// Why nobody can hear or see the run just now. Each notice sets or clears
// one reason; the run is back once none is left.
struct AwayReasons {
    bool DisplayOff = false;
    bool Suspended = false;
    bool Locked = false;
    bool Disconnected = false;  // the session switched away from, or remote and cut off
};

bool Away(const AwayReasons& reasons);

// Records a WM_POWERBROADCAST: its event, and for a power setting the
// POWERBROADCAST_SETTING block lParam points at (null otherwise).
void RecordPowerNotice(AwayReasons& reasons, std::uintptr_t event, const unsigned char* setting, std::size_t size);

// Records a WM_WTSSESSION_CHANGE by its code. Logons, logoffs and the other
// codes change nothing.
void RecordSessionNotice(AwayReasons& reasons, std::uintptr_t code);
