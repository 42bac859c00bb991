#include "handover/power_notices.h"

#include <cstring>

namespace {

// GUID_CONSOLE_DISPLAY_STATE and GUID_SESSION_DISPLAY_STATUS as they lie in
// memory (little-endian first three fields).
constexpr unsigned char ConsoleDisplayState[16] = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                                                   0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47};
constexpr unsigned char SessionDisplayStatus[16] = {0x0e, 0xc2, 0x84, 0x2b, 0x23, 0xad, 0xdf, 0x4d,
                                                    0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5};

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

}  // namespace

bool ReadDisplayState(const unsigned char* setting, std::size_t size, bool& displayOn) {
    constexpr std::size_t Header = 16 + 4;  // the GUID and the data's length
    if (setting == nullptr || size < Header + 4) return false;
    if (std::memcmp(setting, ConsoleDisplayState, 16) != 0 && std::memcmp(setting, SessionDisplayStatus, 16) != 0)
        return false;
    if (LittleEndian32(setting + 16) < 4) return false;
    displayOn = LittleEndian32(setting + Header) != 0;  // 0 off; 1 on and 2 dimmed are seen
    return true;
}

bool Away(const AwayReasons& reasons) {
    return reasons.DisplayOff || reasons.Suspended || reasons.Locked || reasons.Disconnected;
}

void RecordPowerNotice(AwayReasons& reasons, std::uintptr_t event, const unsigned char* setting, std::size_t size) {
    using namespace PowerNotices;
    switch (event) {
    case Suspend:
        reasons.Suspended = true;
        break;
    case ResumeSuspend:
    case ResumeAutomatic:
        reasons.Suspended = false;
        break;
    case PowerSettingChange: {
        bool displayOn = !reasons.DisplayOff;
        if (ReadDisplayState(setting, size, displayOn)) reasons.DisplayOff = !displayOn;
        break;
    }
    default:
        break;
    }
}

void RecordSessionNotice(AwayReasons& reasons, std::uintptr_t code) {
    using namespace PowerNotices;
    switch (code) {
    case SessionLock:
        reasons.Locked = true;
        break;
    case SessionUnlock:
        reasons.Locked = false;
        break;
    case ConsoleDisconnect:
    case RemoteDisconnect:
        reasons.Disconnected = true;
        break;
    case ConsoleConnect:
    case RemoteConnect:
        reasons.Disconnected = false;
        break;
    default:
        break;
    }
}
