#include "renderer/frame/message_rules.h"

using namespace RendererMessages;

RendererAction RendererActionFor(std::uint32_t message, std::uintptr_t wParam) {
    switch (message) {
    case Activate:
        return RendererAction::Activate;
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

void RecordActivation(InputState& input, std::uintptr_t wParam) {
    input.Activated = (wParam & 0xFFFF) != 0;  // not WA_INACTIVE
    input.Minimised = ((wParam >> 16) & 0xFFFF) != 0;
    input.WindowActive = input.Activated && !input.Minimised;
}

void RecordSizeKind(InputState& input, std::uintptr_t sizeKind) {
    input.Minimised = sizeKind == 1;  // SIZE_MINIMIZED
    input.WindowActive = input.Activated && !input.Minimised;
}

void RecordKey(InputState& input, std::uintptr_t virtualKey, bool down) {
    if (virtualKey < sizeof input.KeyStates) {
        input.KeyStates[virtualKey] = down ? 1 : 0;
    }
}
