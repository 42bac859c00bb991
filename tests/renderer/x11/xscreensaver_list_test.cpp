#include "renderer/x11/xscreensaver_list.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The list as XScreenSaver reads it: the "programs:" value with its line
// continuations joined, split at each "\n", blank entries dropped.
std::vector<std::string> ListedEntries(const std::string& file) {
    std::istringstream lines(file);
    std::string line, value;
    bool inList = false;
    while (std::getline(lines, line)) {
        if (!inList) {
            const size_t at = line.find_first_not_of(" \t");
            if (at == std::string::npos || line.compare(at, 9, "programs:") != 0) continue;
            inList = true;
            line = line.substr(at + 9);
        }
        const bool continued = !line.empty() && line.back() == '\\';
        value += continued ? line.substr(0, line.size() - 1) : line;
        if (!continued) break;
    }
    std::vector<std::string> entries;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find("\\n", start);
        if (end == std::string::npos) end = value.size();
        const std::string entry = value.substr(start, end - start);
        if (entry.find_first_not_of(" \t") != std::string::npos) entries.push_back(entry);
        start = end + 2;
    }
    return entries;
}

bool ListsRipplumeEnabled(const std::string& file) {
    for (const std::string& entry : ListedEntries(file)) {
        const size_t at = entry.find_first_not_of(" \t");
        if (RunsRipplume(entry) && entry[at] != '-') return true;
    }
    return false;
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

TEST(XScreenSaverList, RipplumeJoinsTheUsersListKeepingEverythingElse) {
    const ListEdit added = WithRipplumeListed(UserFile, SystemDefaults);
    ASSERT_TRUE(added.Changed);
    EXPECT_TRUE(ListsRipplumeEnabled(added.Text));
    const std::vector<std::string> entries = ListedEntries(added.Text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_NE(entries[1].find("maze --root"), std::string::npos);
    EXPECT_NE(entries[2].find("gears --root"), std::string::npos);
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
    const std::vector<std::string> entries = ListedEntries(added.Text);
    ASSERT_EQ(entries.size(), 4u);  // the system's three, a disabled one among them, and Ripplume
    EXPECT_TRUE(ListsRipplumeEnabled(added.Text));
    EXPECT_NE(added.Text.find("superquadrics"), std::string::npos);
    EXPECT_EQ(added.Text.find("*hacks"), std::string::npos);  // only the list is copied
    EXPECT_EQ(added.Text.rfind(settingsOnly, 0), 0u);

    // No file and no system list: a list of Ripplume alone.
    const ListEdit alone = WithRipplumeListed("", "");
    EXPECT_TRUE(ListsRipplumeEnabled(alone.Text));
    EXPECT_EQ(ListedEntries(alone.Text).size(), 1u);
}

TEST(XScreenSaverList, ListsOfEveryShapeStayReadable) {
    // The first entry on the header line, without a continuation.
    const ListEdit oneLine = WithRipplumeListed("programs: maze --root\nmode: one\n", "");
    EXPECT_EQ(ListedEntries(oneLine.Text).size(), 2u);
    EXPECT_NE(oneLine.Text.find("\nmode: one\n"), std::string::npos);
    EXPECT_EQ(ListedEntries(WithoutRipplume(oneLine.Text).Text).size(), 1u);

    // An empty list must not swallow the resource after it.
    const ListEdit empty = WithRipplumeListed("programs:\nmode: one\n", "");
    EXPECT_EQ(ListedEntries(empty.Text).size(), 1u);
    EXPECT_NE(empty.Text.find("\nmode: one\n"), std::string::npos);

    // Taking off the last entry ends the list one line earlier.
    const std::string lastIsOurs = "programs:\t\\\n  maze --root \\n\\\n  GL: ripplume --root \\n\nmode: one\n";
    const ListEdit removed = WithoutRipplume(lastIsOurs);
    EXPECT_EQ(removed.Text, "programs:\t\\\n  maze --root \\n\nmode: one\n");
    EXPECT_EQ(WithoutRipplume("programs: GL: ripplume --root\nmode: one\n").Text, "programs:\nmode: one\n");
}

TEST(XScreenSaverList, ADisabledEntryIsEnabledRatherThanAddedTwice) {
    const std::string disabled = "programs:\t\\\n- GL: \t\t\t\tripplume --root \\n\\\n  maze --root \\n\n";
    const ListEdit enabled = WithRipplumeListed(disabled, SystemDefaults);
    ASSERT_TRUE(enabled.Changed);
    EXPECT_TRUE(ListsRipplumeEnabled(enabled.Text));
    EXPECT_EQ(ListedEntries(enabled.Text).size(), 2u);
    const ListEdit onHeader = WithRipplumeListed("programs: - GL: ripplume --root\n", "");
    EXPECT_TRUE(ListsRipplumeEnabled(onHeader.Text));
    EXPECT_EQ(ListedEntries(onHeader.Text).size(), 1u);
}

TEST(XScreenSaverList, TheCommandDecidesWhichEntryIsRipplumes) {
    EXPECT_TRUE(RunsRipplume("  GL: \t\tripplume --root \\n\\"));
    EXPECT_TRUE(RunsRipplume("- \"Water\" GL: /usr/libexec/xscreensaver/ripplume --root --fps \\n\\"));
    EXPECT_TRUE(RunsRipplume("ripplume\\n"));
    EXPECT_FALSE(RunsRipplume("  GL: ripplumex --root"));
    EXPECT_FALSE(RunsRipplume("  \"ripplume\" maze --root"));
    EXPECT_FALSE(RunsRipplume("  \"unclosed ripplume"));
    EXPECT_FALSE(RunsRipplume(""));
}

}  // namespace
