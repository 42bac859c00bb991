// The Linux display mode's decisions, kept apart from X11 so they are tested
// natively: where to draw (XScreenSaver's conventions), which mouse moves stir
// the water and how the captured desktop becomes the texture. (The frame pace
// is the renderer's, renderer/frame/frame_pace.h.)
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class DrawTarget { OwnWindow, Root, GivenWindow };

struct DisplayModeOptions {
    DrawTarget Target = DrawTarget::OwnWindow;
    unsigned long WindowId = 0;      // for GivenWindow
    bool UnderXScreenSaver = false;  // the window came from XScreenSaver
    std::string PictureOut;          // diagnostic: the texture picture is written here (PPM)
    bool ShowFps = false;            // -fps: the frame rate on screen and standard error
    double Scale = 0;                // -scale: drawn at this share of the size; 0: as the frame cost allows
    std::string Error;               // non-empty: the command line was not understood
};

// -window (a window of its own, the default), -root, -window-id ID (decimal
// or 0x hexadecimal, 32 bits), or the XSCREENSAVER_WINDOW environment value
// (null when unset) when no option or -root names the target: XScreenSaver's
// window stands in for the root, which it covers. With that value set the
// picture comes through XScreenSaver, unless -window asks for a window of our
// own; a value that is no window number is an error only where it is used.
// XScreenSaver's common -install, -noinstall and -visual V are accepted and
// change nothing; -no-fps undoes -fps. -fps reports the frame rate;
// -picture-out FILE is for tests.
DisplayModeOptions ParseDisplayModeOptions(const std::vector<std::string>& arguments, const char* screenSaverWindow);

// The X11 modifier and button bits a pointer event's state carries.
namespace PointerState {
constexpr unsigned ShiftHeld = 1u << 0;
constexpr unsigned ControlHeld = 1u << 2;
constexpr unsigned LeftHeld = 1u << 8;
constexpr unsigned MiddleHeld = 1u << 9;
constexpr unsigned RightHeld = 1u << 10;
}  // namespace PointerState

// A pointer move stirs the water with the left button alone held, as on Windows.
bool StirsWater(unsigned state);

// The captured screen as the texture wants it: rows from a top-down RGB
// picture, mirrored left to right, bottom row first.
std::vector<uint8_t> MirroredBottomUp(const uint8_t* topDownRgb, int width, int height);

// The helper that puts XScreenSaver's desktop snapshot on a pixmap: the one
// named by overridePath (the RIPPLUME_GETIMAGE environment value) when set,
// else xscreensaver-getimage from the search path, else from Debian's
// /usr/libexec/xscreensaver. Empty when there is none.
std::string GetImageHelper(const char* overridePath, const char* searchPath);

// X errors, which would otherwise end the run (Xlib's default), by the stage
// of the run they come in. The codes are X's core protocol numbers.
namespace XErrorCode {
constexpr int NoSuchWindow = 3;    // BadWindow
constexpr int NoSuchPixmap = 4;    // BadPixmap
constexpr int Mismatch = 8;        // BadMatch
constexpr int NoSuchDrawable = 9;  // BadDrawable
}  // namespace XErrorCode

enum class RunStage { Opening, TakingPicture, Drawing, Ending };

enum class XErrorMeaning {
    OpeningFails,     // the window cannot be drawn on: said, exit 1
    NoPicture,        // the window or the helper's pixmap went away: plain water
    WindowMayBeGone,  // the run ends cleanly (exit 0) if its window is gone
    Reported,         // said on standard error; the run goes on
    Ignored,          // while it ends: what it frees may be gone already
};

XErrorMeaning MeaningOfXError(RunStage stage, int code);

// The colour of the water when no picture of the desktop can be had.
constexpr uint8_t PlainBlue[3] = {0x10, 0x20, 0x50};
