// The file as XScreenSaver 6.06 reads it, written apart from its reader in
// linux/xscreensaver_list so that each checks the other: fgets() into a 1 KB
// buffer that grows, backslash-newline joining lines, escapes, "key: value"
// with the key matched without regard to case (the last wins), the list split
// at \n into [-] [visual:] ["name"] command entries.
#pragma once
#include <map>
#include <string>
#include <vector>

struct Hack {
    bool Enabled = true;
    std::string Visual, Name, Command;
    bool operator==(const Hack& o) const {
        return Enabled == o.Enabled && Visual == o.Visual && Name == o.Name && Command == o.Command;
    }
};

struct Seen {
    std::map<std::string, std::string> Settings;  // lower-case key: value; programs and selected aside
    std::vector<Hack> List;
    int Selected = -1;             // its place on the list, -1 when none
    bool SelectedPastEnd = false;  // a "selected" number that names no place on the list
};

std::map<std::string, std::string> ReadValues(const std::string& file);

// The user's file, or for its list while it has none, the system's.
Seen SeenByXScreenSaver(const std::string& file, const std::string& system);

bool IsRipplume(const Hack& hack);
int RipplumesIn(const std::vector<Hack>& list, bool enabledOnly);

// What XScreenSaver sees differently in `after` besides Ripplume's entry
// (listed and enabled, or gone); empty when nothing.
std::string WhatElseChanged(const std::string& before, const std::string& after, const std::string& system,
                            bool listed);
