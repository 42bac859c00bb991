#include "host/controls/button_logic.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsEnabled(const CommandState& s) {
    return s.Enabled != CommandFalse;
}

GradientVertex MakeVertex(int32_t x, int32_t y, uint32_t rgb) {
    auto channel = [rgb](int shift) { return static_cast<uint16_t>(((rgb >> shift) & 0xFF) << 8); };
    return GradientVertex{x, y, channel(16), channel(8), channel(0), 0};
}

}  // namespace

CommandFace Command_ReadProperties(CommandState& s) {
    s.Enabled = CommandTrue;
    s.FirstRun = 1;
    s.FontColour = 0;
    return RefreshFace(s);
}

void Command_Initialize(CommandState& s) {
    s.ButtonState = StateNormal;
}

CommandFace Command_MouseMove(CommandState& s) {
    if (!IsEnabled(s)) return CommandFace::None;
    if (s.ButtonState == StateNormal) {
        s.ButtonState = StateHighLight;
        return CommandFace::HighLight;
    }
    // Coming back while the left button is still held does not restore 4.
    if (s.ButtonState == StateSelected && !s.LeftButtonDown) {
        s.ButtonState = StateHighLightSelect;
        return CommandFace::HighLightSelect;
    }
    return CommandFace::None;
}

CommandFace Command_MouseDown(CommandState& s, MouseButton button) {
    if (!IsEnabled(s) || button != MouseButton::Left) return CommandFace::None;
    s.LeftButtonDown = true;
    return CommandFace::Pressed;
}

CommandReaction Command_MouseUp(CommandState& s, MouseButton button) {
    CommandReaction r;
    if (!IsEnabled(s)) return r;
    if (button == MouseButton::Left) {
        s.LeftButtonDown = false;
        if (s.ButtonState == StateHighLight)
            r.Face = CommandFace::Normal;
        else if (s.ButtonState == StateHighLightSelect)
            r.Face = CommandFace::HighLightSelect;
    }
    // Any button; only "exactly true" counts, not any non-zero flag.
    r.Click = s.ButtonState != StateSelected && s.Enabled == CommandTrue;
    return r;
}

CommandFace Command_GotFocus(CommandState& s) {
    if (!IsEnabled(s)) return CommandFace::None;
    if (s.ButtonState == StateHighLight) {
        // Focus arrives right after the press of a click: keep the pressed look.
        s.ButtonState = StateHighLightSelect;
        return CommandFace::Pressed;
    }
    s.ButtonState = StateSelected;
    return CommandFace::Selected;
}

CommandFace Command_LostFocus(CommandState& s) {
    if (!IsEnabled(s) || s.ButtonState == StateNormal) return CommandFace::None;
    s.ButtonState = StateNormal;
    return CommandFace::Normal;
}

CommandFace Command_TimerTick(CommandState& s, bool pointerOverControl) {
    return pointerOverControl ? CommandFace::None : EndHover(s);
}

CommandFace Command_Resize(CommandState& s) {
    return ShowEnabledFace(s);
}

CommandFace EndHover(CommandState& s) {
    if (!IsEnabled(s)) return CommandFace::None;
    if (s.ButtonState == StateHighLight) {
        s.ButtonState = StateNormal;
        return CommandFace::Normal;
    }
    if (s.ButtonState == StateHighLightSelect) {
        s.ButtonState = StateSelected;
        return CommandFace::Selected;
    }
    return CommandFace::None;
}

CommandFace ShowEnabledFace(CommandState& s) {
    s.LabelEnabled = IsEnabled(s);
    return s.LabelEnabled ? CommandFace::Normal : CommandFace::Disable;
}

CommandFace RefreshFace(CommandState& s) {
    if (!IsEnabled(s)) return CommandFace::None;
    s.LabelEnabled = true;
    if (s.FirstRun == 0) s.FontColour = 0;
    return CommandFace::Normal;
}

CommandFace Command_SetEnabled(CommandState& s, bool enabled) {
    s.Enabled = enabled ? CommandTrue : CommandFalse;
    return ShowEnabledFace(s);
}

bool Command_ReadEnabled(CommandState& s, CommandFace& face) {
    if (s.FirstRun == 0) {
        RefreshFace(s);
        s.FirstRun = 1;
        s.Enabled = CommandTrue;
    }
    const bool enabled = IsEnabled(s);
    face = ShowEnabledFace(s);
    return enabled;
}

bool Command_TakesFocusOnPress(const CommandState& s, MouseButton button) {
    return IsEnabled(s) && button == MouseButton::Left;
}

void UpdateGradientDirection(CommandState& s) {
    if (s.ButtonState == StateNormal || s.ButtonState == StateSelected)
        s.GradientReversed = false;
    else if (s.ButtonState == StateHighLight)
        s.GradientReversed = true;
}

std::array<GradientVertex, 2> GradientVertices(bool reversed, int widthPixels, int heightPixels) {
    const uint32_t top = reversed ? GradientDarkColour : GradientLightColour;
    const uint32_t bottom = reversed ? GradientLightColour : GradientDarkColour;
    return {MakeVertex(0, 0, top), MakeVertex(widthPixels - 1, heightPixels - 1, bottom)};
}

std::array<RingPiece, 8> RingPiecesTwips(int16_t width, int16_t height) {
    // Ring 60 twips (4 pixels) wide; the picture is 960 x 375 twips.
    auto i16 = [](int v) { return static_cast<int16_t>(v); };
    const int16_t w = width, h = height;
    return {{
        {1, 1, 60, 60, 0, 0, 60, 60},
        {60, 1, i16(w - 120), 60, 60, 1, 840, 60},
        {i16(w - 60), 1, 60, 60, 900, 1, 60, 60},
        {i16(w - 60), 60, 60, i16(h - 120), 900, 60, 60, 255},
        {i16(w - 60), i16(h - 60), 60, 60, 900, 315, 60, 60},
        {60, i16(h - 60), i16(w - 120), 60, 60, 315, 840, 60},
        {1, i16(h - 60), 60, 60, 0, 315, 60, 60},
        {1, 60, 60, i16(h - 120), 1, 60, 60, 255},
    }};
}

std::array<RingPiece, 8> RingPiecesPixels(int widthPixels, int heightPixels, int dpi) {
    // Clamped so the twip values stay inside 16 bits instead of wrapping.
    auto twips = [dpi](int pixels) {
        return static_cast<int16_t>(std::clamp(PixelsToTwips(pixels, dpi), 0, int{INT16_MAX}));
    };
    std::array<RingPiece, 8> pieces = RingPiecesTwips(twips(widthPixels), twips(heightPixels));
    // Each piece's edges are converted rather than its size, so neighbouring
    // pieces meet without a gap at any resolution.
    auto convert = [](int16_t& start, int16_t& size, int resolution) {
        const int first = TwipsToPixels(start, resolution);
        size = static_cast<int16_t>(TwipsToPixels(start + size, resolution) - first);
        start = static_cast<int16_t>(first);
    };
    for (RingPiece& p : pieces) {
        convert(p.DestX, p.DestWidth, dpi);
        convert(p.DestY, p.DestHeight, dpi);
        convert(p.SrcX, p.SrcWidth, PictureDpi);
        convert(p.SrcY, p.SrcHeight, PictureDpi);
    }
    return pieces;
}

int MaxControlPixels(int dpi) {
    return TwipsToPixels(INT16_MAX, dpi);
}

int LabelTopPixels(int heightPixels, int labelHeightPixels, int dpi) {
    const double topTwips = ((heightPixels - labelHeightPixels) * double(TwipsPerInch) / dpi - 20) / 2.0;
    return static_cast<int>(std::lround(topTwips * dpi / TwipsPerInch));
}
