#include "renderer/x11/display_mode.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

DisplayModeOptions Parse(std::vector<std::string> arguments, const char* environment = nullptr) {
    return ParseDisplayModeOptions(arguments, environment);
}

TEST(DisplayModeOptions, FollowXScreenSaversConventions) {
    EXPECT_EQ(Parse({}).Target, DrawTarget::OwnWindow);
    EXPECT_EQ(Parse({"-window"}).Target, DrawTarget::OwnWindow);
    EXPECT_EQ(Parse({"-root"}).Target, DrawTarget::Root);
    EXPECT_EQ(Parse({"--root"}).Target, DrawTarget::Root);

    const DisplayModeOptions given = Parse({"-window-id", "0x2a00007"});
    EXPECT_EQ(given.Target, DrawTarget::GivenWindow);
    EXPECT_EQ(given.WindowId, 0x2a00007ul);
    EXPECT_FALSE(given.UnderXScreenSaver);
    EXPECT_EQ(Parse({"-window-id", "4660"}).WindowId, 4660ul);

    // XScreenSaver names its window in the environment; an option still wins.
    const DisplayModeOptions fromEnvironment = Parse({}, "0x400001");
    EXPECT_EQ(fromEnvironment.Target, DrawTarget::GivenWindow);
    EXPECT_EQ(fromEnvironment.WindowId, 0x400001ul);
    EXPECT_TRUE(fromEnvironment.UnderXScreenSaver);
    EXPECT_EQ(Parse({"-window"}, "0x400001").Target, DrawTarget::OwnWindow);
    EXPECT_FALSE(Parse({"-window"}, "0x400001").UnderXScreenSaver);
    // Its settings preview gives a window too: the picture still comes through XScreenSaver.
    const DisplayModeOptions preview = Parse({"--root", "--window-id", "0x403c00"}, "0x403c00");
    EXPECT_EQ(preview.Target, DrawTarget::GivenWindow);
    EXPECT_EQ(preview.WindowId, 0x403c00ul);
    EXPECT_TRUE(preview.UnderXScreenSaver);
    EXPECT_EQ(Parse({"-window-id", "77"}, "0x400001").WindowId, 77ul);
    // XScreenSaver starts its modes with --root: its window is the root then.
    const DisplayModeOptions rootUnderXScreenSaver = Parse({"--root"}, "0x400001");
    EXPECT_EQ(rootUnderXScreenSaver.Target, DrawTarget::GivenWindow);
    EXPECT_EQ(rootUnderXScreenSaver.WindowId, 0x400001ul);
    EXPECT_TRUE(rootUnderXScreenSaver.UnderXScreenSaver);
    EXPECT_EQ(Parse({}, "").Target, DrawTarget::OwnWindow);
}

TEST(DisplayModeOptions, NonsenseIsRefusedWithAReason) {
    EXPECT_FALSE(Parse({"-window-id"}).Error.empty());
    EXPECT_FALSE(Parse({"-window-id", "abc"}).Error.empty());
    EXPECT_FALSE(Parse({"-window-id", "12x"}).Error.empty());
    EXPECT_FALSE(Parse({"-window-id", "0"}).Error.empty());
    EXPECT_FALSE(Parse({"-window-id", "-5"}).Error.empty());
    // Decimal or 0x hexadecimal, as the manual says: no octal, no sign or
    // blanks, nothing past X's 32 bits.
    EXPECT_EQ(Parse({"-window-id", "010"}).WindowId, 10ul);
    EXPECT_EQ(Parse({"-window-id", "0XfFfFfFfF"}).WindowId, 0xfffffffful);
    for (const char* id : {"0x100000000", "4294967296", "0x", " 5", "+5", "5 ", "0x-1", "99999999999999999999999"})
        EXPECT_FALSE(Parse({"-window-id", id}).Error.empty()) << id;
    // Junk in XSCREENSAVER_WINDOW does not undo a window given by number.
    const DisplayModeOptions explicitWindow = Parse({"-window-id", "77"}, "junk");
    EXPECT_TRUE(explicitWindow.Error.empty());
    EXPECT_EQ(explicitWindow.WindowId, 77ul);
    EXPECT_FALSE(explicitWindow.UnderXScreenSaver);
    EXPECT_FALSE(Parse({"-speed"}).Error.empty());
    EXPECT_TRUE(Parse({"-fps"}).ShowFps);
    EXPECT_FALSE(Parse({"--fps", "--no-fps"}).ShowFps);
    // XScreenSaver's common options, as users add them by hand, are no reason to fail.
    const DisplayModeOptions common = Parse({"-install", "--visual", "default", "-noinstall", "-root"});
    EXPECT_TRUE(common.Error.empty());
    EXPECT_EQ(common.Target, DrawTarget::Root);
    EXPECT_FALSE(Parse({"-visual"}).Error.empty());
    EXPECT_FALSE(Parse({}, "not a window").Error.empty());
    EXPECT_TRUE(Parse({"-picture-out", "x.ppm"}).Error.empty());
    EXPECT_FALSE(Parse({"-picture-out"}).Error.empty());
    // -scale: 0.5 to 1, plainly written; nothing given means adaptive.
    EXPECT_EQ(Parse({}).Scale, 0.0);
    EXPECT_EQ(Parse({"-scale", "0.5"}).Scale, 0.5);
    EXPECT_EQ(Parse({"--scale", "1"}).Scale, 1.0);
    for (const char* junk : {"0.49", "1.01", "abc", "", "0.7x", "nan", "inf", " 0.8", "-0.8", "1e0", "0x1"}) {
        const DisplayModeOptions refused = Parse({"-scale", junk});
        EXPECT_NE(refused.Error.find("0.5 to 1"), std::string::npos) << junk;
    }
    EXPECT_FALSE(Parse({"-scale"}).Error.empty());
}

TEST(DisplayModePointer, OnlyTheLeftButtonAloneStirs) {
    using namespace PointerState;
    EXPECT_TRUE(StirsWater(LeftHeld));
    EXPECT_TRUE(StirsWater(LeftHeld | (1u << 4)));  // Num Lock changes nothing
    for (unsigned state :
         {0u, RightHeld, MiddleHeld, LeftHeld | ShiftHeld, LeftHeld | ControlHeld, LeftHeld | RightHeld}) {
        EXPECT_FALSE(StirsWater(state)) << state;
    }
}

TEST(DisplayModePicture, MirroredLeftToRightAndTurnedBottomUp) {
    // 3 x 2, top-down: a b c / d e f.
    const uint8_t topDown[] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6};
    const std::vector<uint8_t> picture = MirroredBottomUp(topDown, 3, 2);
    const std::vector<uint8_t> expected = {6, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1};
    EXPECT_EQ(picture, expected);
    EXPECT_TRUE(MirroredBottomUp(topDown, 0, 2).empty());
}

TEST(DisplayModeHelper, FoundWhereNamedOrOnTheSearchPath) {
    char folder[] = "/tmp/ripplume-helper-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string helper = std::string(folder) + "/xscreensaver-getimage";
    std::FILE* file = std::fopen(helper.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    ASSERT_EQ(chmod(helper.c_str(), 0755), 0);

    EXPECT_EQ(GetImageHelper(nullptr, (std::string("/nonexistent:") + folder).c_str()), helper);
    EXPECT_EQ(GetImageHelper(helper.c_str(), "/nonexistent"), helper);
    // A name given but not there means no helper, not another one.
    EXPECT_EQ(GetImageHelper("/nonexistent/getimage", folder), "");

    unlink(helper.c_str());
    rmdir(folder);
}

TEST(DisplayModeXErrors, MeanAFallbackOrACleanEndNeverADeath) {
    using M = XErrorMeaning;
    for (int code :
         {XErrorCode::NoSuchWindow, XErrorCode::NoSuchDrawable, XErrorCode::NoSuchPixmap, XErrorCode::Mismatch})
        EXPECT_EQ(MeaningOfXError(RunStage::TakingPicture, code), M::NoPicture);
    EXPECT_EQ(MeaningOfXError(RunStage::Drawing, XErrorCode::NoSuchWindow), M::WindowMayBeGone);
    EXPECT_EQ(MeaningOfXError(RunStage::Drawing, XErrorCode::NoSuchDrawable), M::WindowMayBeGone);
    EXPECT_EQ(MeaningOfXError(RunStage::Drawing, XErrorCode::Mismatch), M::Reported);
    EXPECT_EQ(MeaningOfXError(RunStage::Opening, XErrorCode::Mismatch), M::OpeningFails);
    EXPECT_EQ(MeaningOfXError(RunStage::Ending, XErrorCode::NoSuchWindow), M::Ignored);
}

}  // namespace
