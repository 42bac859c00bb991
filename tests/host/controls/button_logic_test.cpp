#include "host/controls/button_logic.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

// A button as its container leaves it: settings read, Initialize called.
CommandState ReadyButton() {
    CommandState s;
    Command_ReadProperties(s);
    Command_Initialize(s);
    return s;
}

// Left press on the button as the window does it: the press, then the focus.
CommandFace PressLeft(CommandState& s, CommandFace& focusFace) {
    const CommandFace face = Command_MouseDown(s, MouseButton::Left);
    focusFace = Command_TakesFocusOnPress(s, MouseButton::Left) ? Command_GotFocus(s) : CommandFace::None;
    return face;
}

TEST(CommandReactions, ClickOnUnfocusedHoveredButton) {
    CommandState s = ReadyButton();
    EXPECT_EQ(Command_MouseMove(s), CommandFace::HighLight);
    EXPECT_EQ(s.ButtonState, StateHighLight);
    EXPECT_EQ(Command_MouseMove(s), CommandFace::None);  // no redraw while hovering

    CommandFace focusFace;
    EXPECT_EQ(PressLeft(s, focusFace), CommandFace::Pressed);
    EXPECT_EQ(focusFace, CommandFace::Pressed) << "gaining focus keeps the pressed look";
    EXPECT_EQ(s.ButtonState, StateHighLightSelect);
    EXPECT_TRUE(s.LeftButtonDown);

    EXPECT_EQ(Command_MouseMove(s), CommandFace::None);
    EXPECT_EQ(Command_TimerTick(s, true), CommandFace::None);
    const CommandReaction up = Command_MouseUp(s, MouseButton::Left);
    EXPECT_EQ(up.Face, CommandFace::HighLightSelect);
    EXPECT_TRUE(up.Click);
    EXPECT_FALSE(s.LeftButtonDown);
    EXPECT_EQ(s.ButtonState, StateHighLightSelect);

    // Pointer leaves: the focused button shows Selected, then loses focus.
    EXPECT_EQ(Command_TimerTick(s, false), CommandFace::Selected);
    EXPECT_EQ(s.ButtonState, StateSelected);
    EXPECT_EQ(Command_MouseMove(s), CommandFace::HighLightSelect);
    EXPECT_EQ(Command_LostFocus(s), CommandFace::Normal);
    EXPECT_EQ(s.ButtonState, StateNormal);
    EXPECT_EQ(Command_LostFocus(s), CommandFace::None);
}

TEST(CommandReactions, ReleaseAfterLeavingRaisesClickOnlyBeforeTheTick) {
    CommandState s = ReadyButton();
    Command_MouseMove(s);
    CommandFace focusFace;
    PressLeft(s, focusFace);

    // Released off the button before the timer noticed: still a click.
    CommandState early = s;
    EXPECT_TRUE(Command_MouseUp(early, MouseButton::Left).Click);

    EXPECT_EQ(Command_TimerTick(s, false), CommandFace::Selected);
    EXPECT_EQ(Command_MouseMove(s), CommandFace::None) << "coming back with the button held keeps state 3";
    EXPECT_EQ(s.ButtonState, StateSelected);
    const CommandReaction up = Command_MouseUp(s, MouseButton::Left);
    EXPECT_FALSE(up.Click);
    EXPECT_EQ(up.Face, CommandFace::None);
    EXPECT_EQ(Command_MouseMove(s), CommandFace::HighLightSelect);
}

TEST(CommandReactions, OtherButtonsClickWithoutChangingTheFace) {
    CommandState s = ReadyButton();
    Command_MouseMove(s);
    EXPECT_EQ(Command_MouseDown(s, MouseButton::Right), CommandFace::None);
    EXPECT_FALSE(Command_TakesFocusOnPress(s, MouseButton::Right));
    EXPECT_FALSE(s.LeftButtonDown);
    const CommandReaction up = Command_MouseUp(s, MouseButton::Right);
    EXPECT_EQ(up.Face, CommandFace::None);
    EXPECT_TRUE(up.Click);
    EXPECT_EQ(s.ButtonState, StateHighLight);

    // A focused button with the pointer away never clicks, whatever the button.
    Command_GotFocus(s);
    Command_TimerTick(s, false);
    ASSERT_EQ(s.ButtonState, StateSelected);
    EXPECT_FALSE(Command_MouseUp(s, MouseButton::Middle).Click);
}

TEST(CommandReactions, DisabledButtonIgnoresEverything) {
    CommandState s = ReadyButton();
    Command_MouseMove(s);
    EXPECT_EQ(Command_SetEnabled(s, false), CommandFace::Disable);
    EXPECT_FALSE(s.LabelEnabled);
    EXPECT_EQ(s.ButtonState, StateHighLight) << "disabling keeps the state";

    const CommandState before = s;
    EXPECT_EQ(Command_MouseMove(s), CommandFace::None);
    EXPECT_EQ(Command_MouseDown(s, MouseButton::Left), CommandFace::None);
    EXPECT_FALSE(Command_TakesFocusOnPress(s, MouseButton::Left));
    EXPECT_EQ(Command_GotFocus(s), CommandFace::None);
    EXPECT_EQ(Command_TimerTick(s, false), CommandFace::None);
    EXPECT_EQ(Command_LostFocus(s), CommandFace::None);
    EXPECT_EQ(RefreshFace(s), CommandFace::None);
    for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
        const CommandReaction up = Command_MouseUp(s, b);
        EXPECT_FALSE(up.Click);
        EXPECT_EQ(up.Face, CommandFace::None);
    }
    EXPECT_EQ(s.ButtonState, before.ButtonState);
    EXPECT_EQ(s.LeftButtonDown, before.LeftButtonDown);
    EXPECT_EQ(Command_Resize(s), CommandFace::Disable);

    EXPECT_EQ(Command_SetEnabled(s, true), CommandFace::Normal);
    EXPECT_TRUE(s.LabelEnabled);
    EXPECT_EQ(Command_MouseUp(s, MouseButton::Left).Click, true);
}

TEST(CommandReactions, OnlyExactlyTrueEnablesClick) {
    CommandState s = ReadyButton();
    s.Enabled = 1;  // non-zero: reacts, but is not the true value
    EXPECT_EQ(Command_MouseMove(s), CommandFace::HighLight);
    EXPECT_EQ(Command_MouseDown(s, MouseButton::Left), CommandFace::Pressed);
    EXPECT_FALSE(Command_MouseUp(s, MouseButton::Left).Click);
}

TEST(CommandReactions, FocusWithoutThePointerSelectsAndAHoveredPressStaysPressed) {
    // Focus from the keyboard (Tab) finds the pointer away: plain Selected.
    for (uint8_t state : {StateNormal, StateSelected, StateHighLightSelect}) {
        CommandState s = ReadyButton();
        s.ButtonState = state;
        EXPECT_EQ(Command_GotFocus(s), CommandFace::Selected) << int(state);
        EXPECT_EQ(s.ButtonState, StateSelected) << int(state);
    }
    CommandState hovered = ReadyButton();
    hovered.ButtonState = StateHighLight;
    EXPECT_EQ(Command_GotFocus(hovered), CommandFace::Pressed);
    EXPECT_EQ(hovered.ButtonState, StateHighLightSelect);
}

TEST(CommandReactions, ReleaseClicksInEveryStateButSelected) {
    // State 1 included: a release the 100 ms hover poll has not yet seen arrive.
    for (uint8_t state : {StateUninitialised, StateNormal, StateHighLight, StateHighLightSelect}) {
        for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
            CommandState s = ReadyButton();
            s.ButtonState = state;
            EXPECT_TRUE(Command_MouseUp(s, button).Click) << int(state);
        }
    }
    CommandState selected = ReadyButton();
    selected.ButtonState = StateSelected;
    EXPECT_FALSE(Command_MouseUp(selected, MouseButton::Left).Click);
}

TEST(CommandReactions, ResizeShowsTheEnabledFaceWhateverTheState) {
    CommandState s = ReadyButton();
    for (uint8_t state : {StateNormal, StateHighLight, StateSelected, StateHighLightSelect}) {
        s.ButtonState = state;
        EXPECT_EQ(Command_Resize(s), CommandFace::Normal) << int(state);
        EXPECT_EQ(s.ButtonState, state);
    }
}

TEST(CommandReactions, NoHoverBeforeInitialize) {
    CommandState s;
    EXPECT_EQ(Command_ReadProperties(s), CommandFace::Normal);
    EXPECT_EQ(s.ButtonState, StateUninitialised);
    EXPECT_EQ(Command_MouseMove(s), CommandFace::None);
    EXPECT_EQ(Command_TimerTick(s, false), CommandFace::None);
    EXPECT_EQ(s.ButtonState, StateUninitialised);
    Command_Initialize(s);
    EXPECT_EQ(Command_MouseMove(s), CommandFace::HighLight);
}

TEST(CommandProperties, ReadingEnabledSetsUpANewInstance) {
    CommandState fresh;  // never set up: flag 0, FirstRun 0
    fresh.FontColour = 0x123456;
    CommandFace face = CommandFace::None;
    EXPECT_TRUE(Command_ReadEnabled(fresh, face));
    EXPECT_EQ(face, CommandFace::Normal);
    EXPECT_EQ(fresh.FirstRun, 1);
    EXPECT_EQ(fresh.Enabled, CommandTrue);
    EXPECT_EQ(fresh.FontColour, 0x123456u) << "the refresh ran while still disabled";

    CommandState enabledFresh;
    enabledFresh.Enabled = CommandTrue;
    enabledFresh.FontColour = 0x123456;
    EXPECT_TRUE(Command_ReadEnabled(enabledFresh, face));
    EXPECT_EQ(enabledFresh.FontColour, 0u) << "a never set up caption turns black";

    CommandState s = ReadyButton();
    Command_SetEnabled(s, false);
    EXPECT_FALSE(Command_ReadEnabled(s, face));
    EXPECT_EQ(face, CommandFace::Disable);
}

TEST(CommandGradient, DirectionFollowsTheState) {
    CommandState s = ReadyButton();
    UpdateGradientDirection(s);
    EXPECT_FALSE(s.GradientReversed);
    Command_MouseMove(s);  // 2
    UpdateGradientDirection(s);
    EXPECT_TRUE(s.GradientReversed);
    Command_GotFocus(s);  // 4 keeps the hovered direction
    UpdateGradientDirection(s);
    EXPECT_TRUE(s.GradientReversed);
    Command_TimerTick(s, false);  // 3
    UpdateGradientDirection(s);
    EXPECT_FALSE(s.GradientReversed);
    Command_MouseMove(s);  // 4 entered from 3 keeps the resting direction
    UpdateGradientDirection(s);
    EXPECT_FALSE(s.GradientReversed);
}

TEST(CommandGradient, VertexColoursAndCorners) {
    const auto rest = GradientVertices(false, 81, 25);
    EXPECT_EQ(rest[0].X, 0);
    EXPECT_EQ(rest[0].Y, 0);
    EXPECT_EQ(rest[1].X, 80);
    EXPECT_EQ(rest[1].Y, 24);
    EXPECT_EQ(std::make_pair(rest[0].Red, rest[0].Blue), std::make_pair(uint16_t(0xFF00), uint16_t(0xFF00)));
    EXPECT_EQ(rest[0].Green, 0xFF00);
    EXPECT_EQ(rest[1].Red, 0xC600);
    EXPECT_EQ(rest[1].Green, 0xC500);
    EXPECT_EQ(rest[1].Blue, 0xD700);
    EXPECT_EQ(rest[0].Alpha | rest[1].Alpha, 0);

    const auto hover = GradientVertices(true, 81, 25);
    EXPECT_EQ(hover[0].Red, 0xC600);
    EXPECT_EQ(hover[0].Blue, 0xD700);
    EXPECT_EQ(hover[1].Green, 0xFF00);
    EXPECT_EQ(hover[1].X, 80);
}

TEST(CommandRing, PiecesInTwips) {
    const auto p = RingPiecesTwips(1215, 375);
    // top edge, right edge, bottom-right corner, left edge
    EXPECT_EQ(p[1].DestX, 60);
    EXPECT_EQ(p[1].DestWidth, 1095);
    EXPECT_EQ(p[1].SrcWidth, 840);
    EXPECT_EQ(p[3].DestX, 1155);
    EXPECT_EQ(p[3].DestHeight, 255);
    EXPECT_EQ(p[4].DestX, 1155);
    EXPECT_EQ(p[4].DestY, 315);
    EXPECT_EQ(p[4].SrcY, 315);
    EXPECT_EQ(p[7].DestY, 60);
    EXPECT_EQ(p[7].SrcHeight, 255);
    const auto small = RingPiecesTwips(615, 315);
    EXPECT_EQ(small[1].DestWidth, 495);
    EXPECT_EQ(small[3].DestHeight, 195);
    EXPECT_EQ(small[5].DestY, 255);
}

// The eight pieces cover exactly the border of the button, each pixel once,
// and copy only from the 4-pixel border of the 64 x 25 picture. The border is
// the ring's 60 twips at the display's resolution: 4 pixels at 96 dpi.
void ExpectRingTilesBorder(int w, int h, int dpi = 96) {
    SCOPED_TRACE(testing::Message() << w << " x " << h << " at " << dpi << " dpi");
    const int ring = TwipsToPixels(60, dpi);
    std::set<std::pair<int, int>> covered;
    for (const RingPiece& p : RingPiecesPixels(w, h, dpi)) {
        ASSERT_GE(p.DestWidth, 0);
        ASSERT_GE(p.DestHeight, 0);
        for (int y = p.DestY; y < p.DestY + p.DestHeight; ++y)
            for (int x = p.DestX; x < p.DestX + p.DestWidth; ++x)
                EXPECT_TRUE(covered.insert({x, y}).second) << "pixel " << x << "," << y << " twice";
        EXPECT_GE(p.SrcX, 0);
        EXPECT_GE(p.SrcY, 0);
        EXPECT_LE(p.SrcX + p.SrcWidth, FacePictureWidth);
        EXPECT_LE(p.SrcY + p.SrcHeight, FacePictureHeight);
        const bool srcInBorder = p.SrcX + p.SrcWidth <= 4 || p.SrcX >= FacePictureWidth - 4 ||
                                 p.SrcY + p.SrcHeight <= 4 || p.SrcY >= FacePictureHeight - 4;
        EXPECT_TRUE(srcInBorder);
        // A corner of the picture becomes a corner of the ring: unstretched at
        // 96 dpi, grown with the ring above.
        if (p.SrcWidth == 4 && p.SrcHeight == 4) {
            EXPECT_EQ(p.DestWidth, ring);
            EXPECT_EQ(p.DestHeight, ring);
        }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool border = x < ring || y < ring || x >= w - ring || y >= h - ring;
            EXPECT_EQ(covered.count({x, y}) == 1, border) << "pixel " << x << "," << y;
        }
}

TEST(CommandRing, PiecesTileTheBorderInPixels) {
    ExpectRingTilesBorder(81, 25);  // 1215 x 375 twips
    ExpectRingTilesBorder(41, 21);  // 615 x 315 twips
    ExpectRingTilesBorder(64, 25);
    ExpectRingTilesBorder(200, 90);

    const auto p = RingPiecesPixels(81, 25, 96);
    EXPECT_EQ(p[1].DestWidth, 73);  // top edge stretched from 56 pixels
    EXPECT_EQ(p[1].SrcWidth, 56);
    EXPECT_EQ(p[2].SrcX, 60);
    EXPECT_EQ(p[3].SrcHeight, 17);
}

TEST(CommandRing, RingScalesWithTheDisplayWhileTheSourceStaysInPicturePixels) {
    const auto atDesign = RingPiecesPixels(81, 25, 96);
    for (int dpi : {110, 120, 144, 168, 192}) {
        // The dialog's two button sizes at that resolution.
        ExpectRingTilesBorder(TwipsToPixels(1215, dpi), TwipsToPixels(375, dpi), dpi);
        ExpectRingTilesBorder(TwipsToPixels(615, dpi), TwipsToPixels(315, dpi), dpi);
        ExpectRingTilesBorder(200, 90, dpi);
        const auto scaled = RingPiecesPixels(TwipsToPixels(1215, dpi), TwipsToPixels(375, dpi), dpi);
        for (size_t i = 0; i < scaled.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "piece " << i << " at " << dpi << " dpi");
            EXPECT_EQ(scaled[i].SrcX, atDesign[i].SrcX);
            EXPECT_EQ(scaled[i].SrcY, atDesign[i].SrcY);
            EXPECT_EQ(scaled[i].SrcWidth, atDesign[i].SrcWidth);
            EXPECT_EQ(scaled[i].SrcHeight, atDesign[i].SrcHeight);
        }
    }
    const auto p = RingPiecesPixels(122, 38, 144);  // 1215 x 375 twips at 144 dpi
    EXPECT_EQ(p[0].DestWidth, 6);
    EXPECT_EQ(p[1].DestX, 6);
    EXPECT_EQ(p[1].DestWidth, 110);
    EXPECT_EQ(p[3].DestX, 116);
    EXPECT_EQ(p[3].DestHeight, 26);
}

TEST(CommandRing, HugeSizesDoNotWrapAround) {
    for (int dpi : {96, 144}) {
        // 3000 pixels would be 45000 twips at 96 dpi, beyond 16 bits.
        SCOPED_TRACE(dpi);
        const int huge = dpi * 3000 / 96;
        for (const RingPiece& p : RingPiecesPixels(huge, huge, dpi)) {
            EXPECT_GE(p.DestX, 0);
            EXPECT_GE(p.DestY, 0);
            EXPECT_GE(p.DestWidth, 0);
            EXPECT_GE(p.DestHeight, 0);
            EXPECT_LE(p.DestX + p.DestWidth, MaxControlPixels(dpi));
        }
    }
    EXPECT_EQ(MaxControlPixels(96), 2184);
    EXPECT_EQ(MaxControlPixels(144), 3277);
}

TEST(CommandLabel, CentredOnTheButtonLessTwentyTwips) {
    EXPECT_EQ(LabelTopPixels(25, 13, 96), 5);  // (375 - 195 - 20) / 2 = 80 twips
    EXPECT_EQ(LabelTopPixels(21, 13, 96), 3);  // 50 twips
    EXPECT_EQ(LabelTopPixels(25, 12, 96), 6);  // 95 twips = 6.33 pixels
    // The 20 twips are 2 pixels at 144 dpi: (38 - 20 - 2) / 2.
    EXPECT_EQ(LabelTopPixels(38, 20, 144), 8);
    EXPECT_EQ(LabelTopPixels(31, 16, 120), 7);  // 80 twips = 6.67 pixels
    // At 192 dpi the 20 twips are 2.67 pixels: (50 - 27 - 2.67) / 2 = 10.17.
    EXPECT_EQ(LabelTopPixels(50, 27, 192), 10);
}

}  // namespace
