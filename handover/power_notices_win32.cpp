#include "handover/power_notices_win32.h"

#include <wtsapi32.h>

#include <cstddef>

static_assert(PowerNotices::PowerBroadcast == WM_POWERBROADCAST &&
                  PowerNotices::SessionChange == WM_WTSSESSION_CHANGE && PowerNotices::Suspend == PBT_APMSUSPEND &&
                  PowerNotices::ResumeSuspend == PBT_APMRESUMESUSPEND &&
                  PowerNotices::ResumeAutomatic == PBT_APMRESUMEAUTOMATIC &&
                  PowerNotices::PowerSettingChange == PBT_POWERSETTINGCHANGE &&
                  PowerNotices::ConsoleConnect == WTS_CONSOLE_CONNECT &&
                  PowerNotices::ConsoleDisconnect == WTS_CONSOLE_DISCONNECT &&
                  PowerNotices::RemoteConnect == WTS_REMOTE_CONNECT &&
                  PowerNotices::RemoteDisconnect == WTS_REMOTE_DISCONNECT &&
                  PowerNotices::SessionLock == WTS_SESSION_LOCK && PowerNotices::SessionUnlock == WTS_SESSION_UNLOCK,
              "the notices use the system's values");

namespace {

// Both name the display's state: the console's, and (Windows 8 and later)
// the session's, which is the one to follow where the system offers it.
constexpr GUID ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID SessionDisplayStatus = {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};

}  // namespace

void ListenForPowerAndSession(HWND window) {
    if (RegisterPowerSettingNotification(window, &SessionDisplayStatus, DEVICE_NOTIFY_WINDOW_HANDLE) == nullptr)
        RegisterPowerSettingNotification(window, &ConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
    WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
}

void StopListeningForSession(HWND window) {
    WTSUnRegisterSessionNotification(window);
}

void RecordPowerMessage(AwayReasons& reasons, WPARAM event, LPARAM lParam) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if (event == PBT_POWERSETTINGCHANGE && setting != nullptr) {
        const size_t size = offsetof(POWERBROADCAST_SETTING, Data) + setting->DataLength;
        RecordPowerNotice(reasons, event, reinterpret_cast<const unsigned char*>(setting), size);
    } else {
        RecordPowerNotice(reasons, event, nullptr, 0);
    }
}
