// What the renderer's window procedure does with each message, decided
// without Win32 so the rules can be checked on any machine.
#pragma once
#include <cstdint>

#include "handover/power_notices.h"

// The Win32 values the rules look at (checked against windows.h where it is used).
namespace RendererMessages {
constexpr std::uint32_t Size = 0x0005;                  // WM_SIZE
constexpr std::uint32_t Activate = 0x0006;              // WM_ACTIVATE
constexpr std::uint32_t Close = 0x0010;                 // WM_CLOSE
constexpr std::uint32_t DisplayChange = 0x007E;         // WM_DISPLAYCHANGE
constexpr std::uint32_t KeyDown = 0x0100;               // WM_KEYDOWN
constexpr std::uint32_t KeyUp = 0x0101;                 // WM_KEYUP
constexpr std::uint32_t SysCommand = 0x0112;            // WM_SYSCOMMAND
constexpr std::uint32_t MouseMove = 0x0200;             // WM_MOUSEMOVE
constexpr std::uintptr_t LeftButton = 0x0001;           // MK_LBUTTON
constexpr std::uintptr_t ScreenSaveCommand = 0xF140;    // SC_SCREENSAVE
constexpr std::uintptr_t MonitorPowerCommand = 0xF170;  // SC_MONITORPOWER
}  // namespace RendererMessages

enum class RendererAction {
    Default,         // the system's default handling
    Ignore,          // handled: nothing to do
    Activate,        // track whether the window is active and not minimised
    PowerNotice,     // follow the display's state and the machine's suspend
    SessionNotice,   // follow the session's lock and switches
    Quit,            // end the loop with exit code 0
    KeyDown,         // record the key as down
    KeyUp,           // record the key as up
    Resize,          // follow the new client size
    Stir,            // drop a ripple under the pointer
    FollowMonitors,  // the monitors changed: the water follows them
};

RendererAction RendererActionFor(std::uint32_t message, std::uintptr_t wParam);

struct InputState {
    unsigned char KeyStates[256] = {};  // 1 while a key is down, by virtual-key code
    bool Activated = true;              // by the last WM_ACTIVATE
    bool Minimised = false;             // by the last WM_ACTIVATE or WM_SIZE
    AwayReasons Away;                   // by the power and session notices
};

// The water rests (no frames, waiting for messages) only while nobody can see
// it: minimised, the display off, the machine suspending, the session locked
// or switched away from. Behind another window it keeps moving wherever it shows.
bool WaterRests(const InputState& input);

// The water stays over every other window only while it is the active one: a
// window the user switches to shows over it and takes the keys.
bool WaterOnTop(const InputState& input);

// Records a WM_ACTIVATE: the low word of wParam is WA_INACTIVE (0) when
// another window took the activation, the high word is not 0 when the window
// is minimised.
void RecordActivation(InputState& input, std::uintptr_t wParam);

// Records a WM_SIZE's kind (SIZE_MINIMIZED is 1): a window can be minimised
// without any WM_ACTIVATE, as when nothing else takes the activation.
void RecordSizeKind(InputState& input, std::uintptr_t sizeKind);

// Records a key going down or up. Codes beyond the table name no key and are
// dropped rather than folded onto one that does.
void RecordKey(InputState& input, std::uintptr_t virtualKey, bool down);
