#include "renderer/frame/message_rules.h"

using namespace RendererMessages;

RendererAction RendererActionFor(std::uint32_t message, std::uintptr_t wParam) {
    switch (message) {
    case Activate:
        return RendererAction::Activate;
    case PowerBroadcast:
        return wParam == PowerSettingChange ? RendererAction::PowerSetting : RendererAction::Default;
    case SysCommand:
        // The system's own saver and monitor power-down stay away while we
        // run. Whole values are compared: other commands keep their meaning.
        if (wParam == ScreenSaveCommand || wParam == MonitorPowerCommand) {
            return RendererAction::Ignore;
        }
        return RendererAction::Default;
    case Close:
        return RendererAction::Quit;
    case DisplayChange:
        return RendererAction::FollowMonitors;
    case KeyDown:
        return RendererAction::KeyDown;
    case KeyUp:
        return RendererAction::KeyUp;
    case Size:
        return RendererAction::Resize;
    case MouseMove:
        // Only the left button alone stirs: Shift, Ctrl or another button held
        // with it means the user is doing something else.
        return wParam == LeftButton ? RendererAction::Stir : RendererAction::Ignore;
    default:
        return RendererAction::Default;
    }
}

bool WaterRests(const InputState& input) {
    return input.Minimised || input.DisplayOff;
}

bool WaterOnTop(const InputState& input) {
    return input.Activated && !input.Minimised;
}

void RecordActivation(InputState& input, std::uintptr_t wParam) {
    input.Activated = (wParam & 0xFFFF) != 0;  // not WA_INACTIVE
    input.Minimised = ((wParam >> 16) & 0xFFFF) != 0;
}

void RecordSizeKind(InputState& input, std::uintptr_t sizeKind) {
    input.Minimised = sizeKind == 1;  // SIZE_MINIMIZED
}

namespace {

// GUID_CONSOLE_DISPLAY_STATE and GUID_SESSION_DISPLAY_STATUS as they lie in
// memory (little-endian first three fields).
constexpr unsigned char ConsoleDisplayState[16] = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                                                   0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47};
constexpr unsigned char SessionDisplayStatus[16] = {0x0e, 0xc2, 0x84, 0x2b, 0x23, 0xad, 0xdf, 0x4d,
                                                    0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5};

bool SameGuid(const unsigned char* a, const unsigned char* b) {
    for (int i = 0; i < 16; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

}  // namespace

bool ReadDisplayState(const unsigned char* setting, std::size_t size, bool& displayOn) {
    constexpr std::size_t Header = 16 + 4;  // the GUID and the data's length
    if (setting == nullptr || size < Header + 4) return false;
    if (!SameGuid(setting, ConsoleDisplayState) && !SameGuid(setting, SessionDisplayStatus)) return false;
    if (LittleEndian32(setting + 16) < 4) return false;
    displayOn = LittleEndian32(setting + Header) != 0;  // 0 off; 1 on and 2 dimmed are seen
    return true;
}

void RecordKey(InputState& input, std::uintptr_t virtualKey, bool down) {
    if (virtualKey < sizeof input.KeyStates) {
        input.KeyStates[virtualKey] = down ? 1 : 0;
    }
}
