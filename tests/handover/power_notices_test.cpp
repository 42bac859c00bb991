#include "handover/power_notices.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace PowerNotices;

// A POWERBROADCAST_SETTING as Windows lays it out: GUID, length, data.
std::vector<unsigned char> PowerSetting(const unsigned char (&guid)[16], std::uint32_t length, std::uint32_t value) {
    std::vector<unsigned char> block(guid, guid + 16);
    for (std::uint32_t word : {length, value}) {
        for (int i = 0; i < 4; ++i) block.push_back(static_cast<unsigned char>(word >> (8 * i)));
    }
    return block;
}

constexpr unsigned char Console[16] = {0x56, 0x95, 0xe6, 0x6f, 0x4a, 0x70, 0xa0, 0x47,
                                       0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47};
constexpr unsigned char Session[16] = {0x0e, 0xc2, 0x84, 0x2b, 0x23, 0xad, 0xdf, 0x4d,
                                       0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5};

TEST(PowerNotices, TheDisplayStateIsReadFromItsTwoSettingsOnly) {
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

TEST(PowerNotices, TheRunIsBackOnlyOnceEveryReasonToBeAwayHasGone) {
    AwayReasons reasons;
    const auto off = PowerSetting(Session, 4, 0), on = PowerSetting(Session, 4, 1);
    RecordPowerNotice(reasons, PowerSettingChange, off.data(), off.size());
    EXPECT_TRUE(Away(reasons));
    RecordSessionNotice(reasons, SessionLock);
    RecordPowerNotice(reasons, PowerSettingChange, on.data(), on.size());
    EXPECT_TRUE(Away(reasons)) << "still locked with the display back on";
    RecordSessionNotice(reasons, RemoteDisconnect);
    RecordSessionNotice(reasons, SessionUnlock);
    EXPECT_TRUE(Away(reasons)) << "unlocked but cut off";
    RecordSessionNotice(reasons, ConsoleConnect);
    EXPECT_FALSE(Away(reasons));

    RecordPowerNotice(reasons, Suspend, nullptr, 0);
    RecordSessionNotice(reasons, 0x5);  // WTS_SESSION_LOGON: not a reason either way
    EXPECT_TRUE(Away(reasons));
    RecordPowerNotice(reasons, ResumeAutomatic, nullptr, 0);
    EXPECT_FALSE(Away(reasons));
    RecordPowerNotice(reasons, Suspend, nullptr, 0);
    RecordPowerNotice(reasons, ResumeSuspend, nullptr, 0);
    EXPECT_FALSE(Away(reasons));
    RecordPowerNotice(reasons, PowerSettingChange, nullptr, 0);
    EXPECT_FALSE(Away(reasons)) << "a setting without its block changes nothing";
}

}  // namespace
