#include "linux/xscreensaver_list/xscreensaver_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/linux/xscreensaver_list/xscreensaver_model.h"

namespace {

void ExpectOnlyRipplumeChanged(const std::string& before, const std::string& after, const std::string& system,
                               bool listed) {
    EXPECT_EQ(WhatElseChanged(before, after, system, listed), "");
}

bool ListsRipplumeEnabled(const std::string& file, const std::string& system = "") {
    return RipplumesIn(SeenByXScreenSaver(file, system).List, true) > 0;
}

size_t ListLength(const std::string& file, const std::string& system = "") {
    return SeenByXScreenSaver(file, system).List.size();
}

const std::string SystemDefaults =
    "*mode:\t\trandom\n"
    "*programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "- GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
    "  GL: \t\t\t\tsquirtorus --root\t\t\t    \\n\n"
    "\n"
    "*hacks.maze.name:\tMaze\n";

const std::string UserFile =
    "# XScreenSaver Preferences File\n"
    "timeout:\t0:10:00\n"
    "mode:\t\tone\n"
    "programs:\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
    "  GL: \t\t\t\tgears --root\t\t\t    \\n\n"
    "\n"
    "pointerHysteresis:\t10\n";

// A list on one line long enough to cross XScreenSaver's first 1 KB read,
// which ends right after a backslash: it drops that "\n" with the byte after
// it, so "ripplume" is an argument of the entry before, not an entry.
std::string ListCutAfterABackslash() {
    std::string line = "programs: ";
    while (line.size() < 990) line += "maze --root \\n ";
    line += "maze --root";
    line.resize(1020, ' ');
    return line + "\\n ripplume --root \\n bsod --root\n";
}

struct Shape {
    const char* Name;
    std::string Text;
};

const std::vector<Shape> Shapes = {
    {"written by xscreensaver-settings",
     "# XScreenSaver Preferences File\n\ntimeout:\t0:10:00\nmode:\t\tone\nselected:\t2\n\n"
     "programs:\t\t\t\t\t\t\t\t      \\\n"
     "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
     "  GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
     "-\t\t\t\"Rot. Text\" rotor --root\t\t\t    \\n\\\n"
     "  GL: \t\t\t\"Cube 21\" cube21 --root\t\t    \\n\\\n\n"
     "pointerHysteresis:\t10\n"},
    {"the last line ends the list", UserFile},
    {"the list on the header line", "programs: maze --root\nmode: one\n"},
    {"the list begun on the header line", "programs: maze --root \\n\\\n  GL: gears --root\nmode: one\n"},
    {"no final newline", "timeout: 0:05:00\nprograms:\t\\\n  maze --root \\n\\\n  GL: gears --root"},
    {"CRLF lines (XScreenSaver joins none of them)",
     "timeout: 0:05:00\r\nprograms:\t\\\r\n  maze --root \\n\\\r\n  GL: gears --root \\n\\\r\n\r\nmode: one\r\n"},
    {"CRLF lines, the list on one", "selected: 1\r\nprograms: maze --root \\n GL: gears --root\r\nmode: one\r\n"},
    {"a choice one past the end", "selected: 2\nprograms: maze --root \\n GL: gears --root\n"},
    {"a choice two past the end, with zeros", "selected: 003\nprograms: maze --root \\n GL: gears --root\n"},
    {"the key in capitals", "Programs:\t\\\n  maze --root \\n\\\n  GL: gears --root \\n\\\n\nMode: one\n"},
    {"two lists: the last is read",
     "programs: maze --root\nselected: 1\nprograms:\t\\\n  GL: gears --root \\n\\\n"
     "  bsod --root \\n\\\n\n"},
    {"entries sharing lines", "programs:\t\\\n  GL: gears --root \\n  maze --root \\n\\\n  bsod --root\nmode: one\n"},
    {"an empty list", "programs:\nmode: one\n"},
    {"an empty list, continued", "programs:\t\t\t\t \\\n\nmode: one\n"},
    {"no list", "timeout:\t0:05:00\nselected: 1"},
    {"look-alikes of a list",
     "# the old list, switched off \\\nprograms: GL: gears --root\nprograms : maze --root\nmode: one\n"},
    {"a line cut by XScreenSaver's buffer", ListCutAfterABackslash()},
    {"Ripplume in XScreenSaver's order, named",
     "programs:\t\\\n  maze --root \\n\\\n  GL: \"My Water\"\t\tripplume --root \\n\\\n  bsod --root \\n\\\n\n"},
    {"Ripplume disabled",
     "selected: 2\nprograms:\t\\\n  maze --root \\n\\\n-  GL: \"My Water\" ripplume --root \\n\\\n"
     "  bsod --root \\n\\\n\n"},
    {"Ripplume without blanks, on the header line", "programs: GL:ripplume --root \\n maze --root\nmode: one\n"},
    {"Ripplume over two lines", "programs:\t\\\n  GL: ripplume \\\n\t--root --fps \\n\\\n  maze --root \\n\\\n\n"},
    {"Ripplume sharing a line",
     "selected: 2\nprograms:\t\\\n  maze --root \\n  GL: ripplume --root \\n  bsod "
     "--root \\n\\\n  GL: gears --root\n"},
    {"Ripplume twice, the first disabled", "programs: - ripplume --root \\n maze --root \\n GL: ripplume --root\n"},
    {"a disabled command that begins with a dash", "programs: - -ripplume --root \\n maze --root\n"},
    {"a name before the visual is a command of its own",
     "programs:\t\\\n  \"Water\" GL: ripplume --root \\n\\\n  maze --root \\n\\\n\n"},
};

TEST(XScreenSaverList, XScreenSaverSeesNoChangeButRipplumesEntryInEveryShape) {
    for (const Shape& shape : Shapes) {
        SCOPED_TRACE(shape.Name);
        const ListEdit added = WithRipplumeListed(shape.Text, SystemDefaults);
        ASSERT_EQ(added.Error, "");
        ExpectOnlyRipplumeChanged(shape.Text, added.Text, SystemDefaults, true);
        EXPECT_FALSE(WithRipplumeListed(added.Text, SystemDefaults).Changed);

        const ListEdit removed = WithoutRipplume(added.Text);
        ASSERT_EQ(removed.Error, "");
        ExpectOnlyRipplumeChanged(shape.Text, removed.Text, SystemDefaults, false);
        // An entry added to a list is taken off byte for byte.
        if (ReadValues(shape.Text).count("programs") &&
            RipplumesIn(SeenByXScreenSaver(shape.Text, "").List, false) == 0) {
            EXPECT_EQ(removed.Text, shape.Text);
        }

        const ListEdit removedOnly = WithoutRipplume(shape.Text);
        ASSERT_EQ(removedOnly.Error, "");
        ExpectOnlyRipplumeChanged(shape.Text, removedOnly.Text, SystemDefaults, false);
    }
}

TEST(XScreenSaverList, RipplumeJoinsTheUsersListKeepingEverythingElse) {
    const ListEdit added = WithRipplumeListed(UserFile, SystemDefaults);
    ASSERT_TRUE(added.Changed);
    EXPECT_TRUE(ListsRipplumeEnabled(added.Text));
    const std::vector<Hack> entries = SeenByXScreenSaver(added.Text, "").List;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Command, "maze --root");
    EXPECT_EQ(entries[1].Command, "gears --root");
    EXPECT_EQ(entries[2].Command, "ripplume --root");
    EXPECT_NE(added.Text.find("pointerHysteresis:\t10\n"), std::string::npos);
    EXPECT_EQ(added.Text.rfind("# XScreenSaver Preferences File\ntimeout:\t0:10:00\nmode:\t\tone\n", 0), 0u);

    // Once listed, nothing more changes; taken off, the file is as it was.
    EXPECT_FALSE(WithRipplumeListed(added.Text, SystemDefaults).Changed);
    const ListEdit removed = WithoutRipplume(added.Text);
    EXPECT_TRUE(removed.Changed);
    EXPECT_EQ(removed.Text, UserFile);
    EXPECT_FALSE(WithoutRipplume(UserFile).Changed);
}

TEST(XScreenSaverList, AUserWithoutAListStartsFromTheSystemsList) {
    const std::string settingsOnly = "timeout:\t0:05:00\n";
    const ListEdit added = WithRipplumeListed(settingsOnly, SystemDefaults);
    ASSERT_TRUE(added.Changed);
    EXPECT_EQ(ListLength(added.Text), 4u);  // the system's three, a disabled one among them, and Ripplume
    EXPECT_TRUE(ListsRipplumeEnabled(added.Text));
    EXPECT_NE(added.Text.find("superquadrics"), std::string::npos);
    EXPECT_EQ(added.Text.find("*hacks"), std::string::npos);  // only the list is copied
    EXPECT_EQ(added.Text.rfind(settingsOnly, 0), 0u);

    // No file and no system list: a list of Ripplume alone.
    const ListEdit alone = WithRipplumeListed("", "");
    EXPECT_TRUE(ListsRipplumeEnabled(alone.Text));
    EXPECT_EQ(ListLength(alone.Text), 1u);
}

TEST(XScreenSaverList, ListsOfEveryShapeStayReadable) {
    // The first entry on the header line, without a continuation.
    const ListEdit oneLine = WithRipplumeListed("programs: maze --root\nmode: one\n", "");
    EXPECT_EQ(ListLength(oneLine.Text), 2u);
    EXPECT_NE(oneLine.Text.find("\nmode: one\n"), std::string::npos);
    EXPECT_EQ(ListLength(WithoutRipplume(oneLine.Text).Text), 1u);

    // An empty list must not swallow the resource after it.
    const ListEdit empty = WithRipplumeListed("programs:\nmode: one\n", "");
    EXPECT_EQ(ListLength(empty.Text), 1u);
    EXPECT_NE(empty.Text.find("\nmode: one\n"), std::string::npos);

    // Taking off the last entry ends the list one line earlier.
    const std::string lastIsOurs = "programs:\t\\\n  maze --root \\n\\\n  GL: ripplume --root \\n\nmode: one\n";
    const ListEdit removed = WithoutRipplume(lastIsOurs);
    EXPECT_EQ(removed.Text, "programs:\t\\\n  maze --root \\n\nmode: one\n");
    EXPECT_EQ(WithoutRipplume("programs: GL: ripplume --root\nmode: one\n").Text, "programs:\nmode: one\n");
    // Another mode on Ripplume's line stays; so does the user's choice.
    EXPECT_EQ(WithoutRipplume("selected: 2\nprograms: GL: ripplume --root \\n maze \\n bsod\n").Text,
              "selected: 1\nprograms: maze \\n bsod\n");
}

TEST(XScreenSaverList, ADisabledEntryIsEnabledRatherThanAddedTwice) {
    const std::string disabled = "programs:\t\\\n- GL: \t\t\t\tripplume --root \\n\\\n  maze --root \\n\n";
    const ListEdit enabled = WithRipplumeListed(disabled, SystemDefaults);
    ASSERT_TRUE(enabled.Changed);
    EXPECT_TRUE(ListsRipplumeEnabled(enabled.Text));
    EXPECT_EQ(ListLength(enabled.Text), 2u);
    const ListEdit onHeader = WithRipplumeListed("programs: - GL: ripplume --root\n", "");
    EXPECT_TRUE(ListsRipplumeEnabled(onHeader.Text));
    EXPECT_EQ(ListLength(onHeader.Text), 1u);
}

TEST(XScreenSaverList, WhatCannotBeEditedSafelyIsLeftAsItWas) {
    // A last line that runs on would swallow a list put after it.
    const std::string runsOn = "timeout: 0:05:00\\";
    const ListEdit added = WithRipplumeListed(runsOn, SystemDefaults);
    EXPECT_FALSE(added.Changed);
    EXPECT_NE(added.Error, "");
    EXPECT_EQ(added.Text, runsOn);
    // One more line on the list grows XScreenSaver's buffer, which then no
    // longer cuts a later long line after a backslash: its value would change.
    const std::string cutLater = "programs: maze\ntextLiteral: " + std::string(1007, 'a') + "\\qz\n";
    EXPECT_NE(WithRipplumeListed(cutLater, "").Error, "");
    const std::string binary = std::string("programs: ripplume\n\0\x01", 21);
    EXPECT_NE(WithoutRipplume(binary).Error, "");
    EXPECT_NE(WithRipplumeListed(binary, "").Error, "");
}

TEST(XScreenSaverList, OnlyAFileWithXScreenSaversOwnSettingsIsASettingsFile) {
    EXPECT_TRUE(HoldsXScreenSaverSettings(""));
    EXPECT_TRUE(HoldsXScreenSaverSettings(" \n\t\n"));
    EXPECT_TRUE(HoldsXScreenSaverSettings("# XScreenSaver Preferences File\nTimeout:\t0:10:00\n"));
    EXPECT_TRUE(HoldsXScreenSaverSettings("some: thing\nprograms: maze\n"));
    EXPECT_FALSE(HoldsXScreenSaverSettings("root:x:0:0:root:/root:/bin/bash\ndaemon:x:1:1::/:/bin/sh\n"));
    EXPECT_FALSE(HoldsXScreenSaverSettings("# timeout: 0:10:00\n"));
}

TEST(XScreenSaverList, TheCommandDecidesWhichEntryIsRipplumes) {
    // [-] [visual:] ["name"] command, as XScreenSaver reads an entry.
    EXPECT_TRUE(RunsRipplume("  GL: \t\tripplume --root"));
    EXPECT_TRUE(RunsRipplume("- GL: \"Water\" /usr/libexec/xscreensaver/ripplume --root --fps"));
    EXPECT_TRUE(RunsRipplume("GL:ripplume --root"));
    EXPECT_TRUE(RunsRipplume("ripplume"));
    EXPECT_FALSE(RunsRipplume("  GL: ripplumex --root"));
    EXPECT_FALSE(RunsRipplume("  \"ripplume\" maze --root"));
    EXPECT_FALSE(RunsRipplume("  \"Water\" GL: ripplume --root"));  // runs "GL:"
    EXPECT_FALSE(RunsRipplume("  \"unclosed ripplume"));
    EXPECT_FALSE(RunsRipplume(""));
}

}  // namespace
