// Command button: per-instance state, reactions to mouse, focus and timer,
// and the geometry of one face drawing. No window system here: each reaction
// says which face to draw (if any) and whether Click is raised; the Win32
// layer (command_button_win32.cpp) does the drawing and the messages.
//
//  [X] reactions table, EndHover, ShowEnabledFace, RefreshFace
//  [X] Enabled property (set, and the read that redraws)
//  [X] gradient direction and vertex colours
//  [X] the eight ring pieces, in twips and in pixels; caption label top
//  [ ] stored settings of a saved layout: buttons are created in code, so
//      only the reading defaults apply (Command_ReadProperties)
#pragma once
#include <array>
#include <cstdint>

#include "host/common/twips.h"

enum class CommandFace : uint8_t { None, Normal, HighLight, Pressed, Disable, HighLightSelect, Selected };

// ButtonState values; 0 until Initialize, which no hover rule reacts to.
enum : uint8_t {
    StateUninitialised = 0,
    StateNormal = 1,           // pointer away, no focus
    StateHighLight = 2,        // pointer over, no focus
    StateSelected = 3,         // focus, pointer away
    StateHighLightSelect = 4,  // focus, pointer over
};

enum class MouseButton : uint8_t { Left, Right, Middle };

constexpr int16_t CommandTrue = -1;  // 16-bit truth values
constexpr int16_t CommandFalse = 0;

constexpr int MouseTimerInterval = 100;  // ms between hover polls
constexpr int FacePictureWidth = 64;     // pixels, 24 bits each
constexpr int FacePictureHeight = 25;

struct CommandState {
    int16_t Enabled = CommandFalse;  // the Enabled property
    uint8_t ButtonState = StateUninitialised;
    bool LeftButtonDown = false;
    bool GradientReversed = false;
    uint8_t FirstRun = 0;      // 0 marks an instance never set up
    bool LabelEnabled = true;  // caption drawn normally, or greyed
    uint32_t FontColour = 0;   // caption colour, 0xBBGGRR
};

struct CommandReaction {
    CommandFace Face = CommandFace::None;  // None: leave the face as it is
    bool Click = false;
};

// A button created by its container starts from the stored settings; buttons
// made in code have none stored, so every setting takes its reading default
// (enabled, FirstRun 1, black caption). Returns the face RefreshFace draws.
CommandFace Command_ReadProperties(CommandState& s);

void Command_Initialize(CommandState& s);
CommandFace Command_MouseMove(CommandState& s);
CommandFace Command_MouseDown(CommandState& s, MouseButton button);
CommandReaction Command_MouseUp(CommandState& s, MouseButton button);
CommandFace Command_GotFocus(CommandState& s);
CommandFace Command_LostFocus(CommandState& s);
// pointerOverControl: the window under the pointer is the control itself
// (its caption has no window of its own, so it counts as the control).
CommandFace Command_TimerTick(CommandState& s, bool pointerOverControl);
CommandFace Command_Resize(CommandState& s);

CommandFace EndHover(CommandState& s);
CommandFace ShowEnabledFace(CommandState& s);
CommandFace RefreshFace(CommandState& s);

CommandFace Command_SetEnabled(CommandState& s, bool enabled);
// Reading Enabled also sets up a never-initialised instance and redraws the
// enabled face; the face to draw is returned through face.
bool Command_ReadEnabled(CommandState& s, CommandFace& face);

// The platform takes the keyboard focus on a left press of an enabled button.
bool Command_TakesFocusOnPress(const CommandState& s, MouseButton button);

// First step of every face drawing: states 1 and 3 draw the gradient light at
// the top, state 2 dark at the top, state 4 keeps the previous direction.
void UpdateGradientDirection(CommandState& s);

// One GradientFill vertex: 8-bit channels in the high byte of 16-bit fields.
struct GradientVertex {
    int32_t X, Y;
    uint16_t Red, Green, Blue, Alpha;
};
constexpr uint32_t GradientLightColour = 0xFFFFFF;  // 0xRRGGBB
constexpr uint32_t GradientDarkColour = 0xC6C5D7;
// The one rectangle of the fill names its corners by vertex index.
constexpr uint32_t GradientUpperLeftIndex = 1;
constexpr uint32_t GradientLowerRightIndex = 0;

// Vertex 0 at the top-left pixel, vertex 1 at the bottom-right pixel.
std::array<GradientVertex, 2> GradientVertices(bool reversed, int widthPixels, int heightPixels);

// A stretched copy of a source rectangle of a face picture onto the control.
struct RingPiece {
    int16_t DestX, DestY, DestWidth, DestHeight;
    int16_t SrcX, SrcY, SrcWidth, SrcHeight;
};
// The border ring in eight pieces, clockwise from the top-left corner
// (corner, top edge, corner, right edge, ...), in twips, for a control of
// width x height twips. The picture's centre is never copied.
std::array<RingPiece, 8> RingPiecesTwips(int16_t width, int16_t height);
// The same in pixels, for a control of width x height pixels on a display of
// dpi dots per inch. The destination follows the display (the ring is 60
// twips wide: 4 pixels at 96 dpi, 6 at 144); the source rectangles are pixels
// of the picture, which is 15 twips to a pixel whatever the display. Sizes
// beyond the 16-bit twip range are drawn as the largest size that fits.
std::array<RingPiece, 8> RingPiecesPixels(int widthPixels, int heightPixels, int dpi);
// That largest size, in pixels.
int MaxControlPixels(int dpi);

// Caption label's top edge in pixels: (H - label height - 20 twips) / 2.
int LabelTopPixels(int heightPixels, int labelHeightPixels, int dpi);
