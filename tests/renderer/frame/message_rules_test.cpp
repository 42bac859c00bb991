#include "renderer/frame/message_rules.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(RendererMessageRules, HoldsOffTheSystemSaverAndMonitorPowerDownOnly) {
    EXPECT_EQ(RendererActionFor(SysCommand, ScreenSaveCommand), RendererAction::Ignore);
    EXPECT_EQ(RendererActionFor(SysCommand, MonitorPowerCommand), RendererAction::Ignore);
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
    // A dark display rests the water whether or not it is active.
    input.DisplayOff = true;
    EXPECT_TRUE(WaterRests(input));
}

// A POWERBROADCAST_SETTING as Windows lays it out: GUID, length, data.
std::vector<unsigned char> PowerSetting(const unsigned char (&guid)[16], std::uint32_t length, std::uint32_t value) {
    std::vector<unsigned char> block(guid, guid + 16);
    for (std::uint32_t word : {length, value}) {
        for (int i = 0; i < 4; ++i) block.push_back(static_cast<unsigned char>(word >> (8 * i)));
    }
    return block;
}

TEST(RendererMessageRules, TheDisplayStateIsReadFromItsTwoSettingsOnly) {
    EXPECT_EQ(RendererActionFor(PowerBroadcast, PowerSettingChange), RendererAction::PowerSetting);
    EXPECT_EQ(RendererActionFor(PowerBroadcast, 4), RendererAction::Default);  // PBT_APMSUSPEND
    constexpr unsigned char Console[16] = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                                           0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47};
    constexpr unsigned char Session[16] = {0x0e, 0xc2, 0x84, 0x2b, 0x23, 0xad, 0xdf, 0x4d,
                                           0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5};
    constexpr unsigned char Other[16] = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                                         0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x48};
    for (const auto* guid : {&Console, &Session}) {
        bool on = true;
        auto off = PowerSetting(*guid, 4, 0);
        EXPECT_TRUE(ReadDisplayState(off.data(), off.size(), on));
        EXPECT_FALSE(on);
        for (std::uint32_t value : {1u, 2u}) {  // on, dimmed
            auto seen = PowerSetting(*guid, 4, value);
            EXPECT_TRUE(ReadDisplayState(seen.data(), seen.size(), on));
            EXPECT_TRUE(on) << "value " << value;
        }
    }
    bool on = true;
    auto other = PowerSetting(Other, 4, 0);
    EXPECT_FALSE(ReadDisplayState(other.data(), other.size(), on));
    auto tooShortData = PowerSetting(Console, 2, 0);
    EXPECT_FALSE(ReadDisplayState(tooShortData.data(), tooShortData.size(), on));
    auto cut = PowerSetting(Console, 4, 0);
    EXPECT_FALSE(ReadDisplayState(cut.data(), cut.size() - 1, on));
    EXPECT_TRUE(on) << "an unread setting leaves the state as it was";
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
