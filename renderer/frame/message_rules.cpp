#include "renderer/frame/message_rules.h"

using namespace RendererMessages;

RendererAction RendererActionFor(std::uint32_t message, std::uintptr_t wParam) {
    switch (message) {
    case Activate:
        return RendererAction::Activate;
    case PowerNotices::PowerBroadcast:
        return RendererAction::PowerNotice;
    case PowerNotices::SessionChange:
        return RendererAction::SessionNotice;
    case SysCommand:
        // The system's own saver stays away while we run. The display's
        // power-down is the system's: the water never keeps a display on.
        // The whole value is compared: other commands keep their meaning.
        if (wParam == ScreenSaveCommand) {
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
    return input.Minimised || Away(input.Away);
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

void RecordKey(InputState& input, std::uintptr_t virtualKey, bool down) {
    if (virtualKey < sizeof input.KeyStates) {
        input.KeyStates[virtualKey] = down ? 1 : 0;
    }
}
