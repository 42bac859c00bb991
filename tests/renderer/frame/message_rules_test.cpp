#include "renderer/frame/message_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace RendererMessages;

constexpr std::uintptr_t RightButton = 0x0002;   // MK_RBUTTON
constexpr std::uintptr_t ShiftKey = 0x0004;      // MK_SHIFT
constexpr std::uintptr_t ControlKey = 0x0008;    // MK_CONTROL
constexpr std::uintptr_t CloseCommand = 0xF060;  // SC_CLOSE

TEST(RendererMessageRules, OnlyTheLeftButtonAloneStirsTheWater) {
    EXPECT_EQ(RendererActionFor(MouseMove, LeftButton), RendererAction::Stir);
    for (std::uintptr_t keys :
         {std::uintptr_t{0}, RightButton, LeftButton | ShiftKey, LeftButton | ControlKey, LeftButton | RightButton}) {
        EXPECT_EQ(RendererActionFor(MouseMove, keys), RendererAction::Ignore) << "keys " << keys;
    }
}

TEST(RendererMessageRules, HoldsOffTheSystemSaverOnly) {
    EXPECT_EQ(RendererActionFor(SysCommand, ScreenSaveCommand), RendererAction::Ignore);
    EXPECT_EQ(RendererActionFor(SysCommand, MonitorPowerCommand), RendererAction::Default) << "the display may go off";
    // Alt+F4 and the rest keep their default meaning, which ends the renderer.
    EXPECT_EQ(RendererActionFor(SysCommand, CloseCommand), RendererAction::Default);
    EXPECT_EQ(RendererActionFor(SysCommand, ScreenSaveCommand + 2), RendererAction::Default);
    EXPECT_EQ(RendererActionFor(Close, 0), RendererAction::Quit);
    EXPECT_EQ(RendererActionFor(DisplayChange, 0), RendererAction::FollowMonitors);
}

TEST(RendererMessageRules, TheWaterRestsOnlyUnseenAndIsOnTopOnlyWhileActive) {
    constexpr std::uintptr_t Inactive = 0, ActiveState = 1, ClickActive = 2, Minimised = 1u << 16;
    InputState input;
    RecordActivation(input, Inactive);
    EXPECT_FALSE(WaterRests(input)) << "behind another window it keeps moving";
    EXPECT_FALSE(WaterOnTop(input));
    for (const std::uintptr_t wParam : {ActiveState, ClickActive}) {
        RecordActivation(input, Inactive);
        RecordActivation(input, wParam);
        EXPECT_TRUE(WaterOnTop(input)) << "wParam " << wParam;
        EXPECT_FALSE(WaterRests(input)) << "wParam " << wParam;
    }
    for (const std::uintptr_t wParam : {Minimised | ActiveState, Minimised | Inactive}) {
        RecordActivation(input, wParam);
        EXPECT_TRUE(WaterRests(input)) << "wParam " << wParam;
        EXPECT_FALSE(WaterOnTop(input)) << "wParam " << wParam;
    }
    // Minimised and restored by size alone, with no change of activation.
    constexpr std::uintptr_t Restored = 0, SizeMinimised = 1;
    RecordActivation(input, ActiveState);
    RecordSizeKind(input, SizeMinimised);
    EXPECT_TRUE(WaterRests(input));
    RecordSizeKind(input, Restored);
    EXPECT_FALSE(WaterRests(input));
    EXPECT_TRUE(WaterOnTop(input));
    // A dark display or a locked session rests the water whether or not it is active.
    EXPECT_EQ(RendererActionFor(PowerNotices::PowerBroadcast, PowerNotices::Suspend), RendererAction::PowerNotice);
    EXPECT_EQ(RendererActionFor(PowerNotices::SessionChange, PowerNotices::SessionLock), RendererAction::SessionNotice);
    RecordSessionNotice(input.Away, PowerNotices::SessionLock);
    EXPECT_TRUE(WaterRests(input));
}

TEST(RendererMessageRules, KeysAreRecordedByCodeAndCodesPastTheTableDropped) {
    InputState input;
    RecordKey(input, 27, true);
    EXPECT_EQ(input.KeyStates[27], 1);
    RecordKey(input, 27, false);
    EXPECT_EQ(input.KeyStates[27], 0);

    // 0x11B would fold onto Escape (0x1B) if it were cut to a byte.
    RecordKey(input, 0x11B, true);
    RecordKey(input, 0x100, true);
    for (int code = 0; code < 256; ++code) {
        ASSERT_EQ(input.KeyStates[code], 0) << "code " << code;
    }
    EXPECT_EQ(RendererActionFor(KeyDown, 0x11B), RendererAction::KeyDown);
}

}  // namespace
