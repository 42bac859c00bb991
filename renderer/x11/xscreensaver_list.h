// XScreenSaver runs the display modes named in the "programs" list of the
// user's ~/.xscreensaver, or of the system's app-defaults file while the user
// has none. A package cannot add to the system's list (another package owns
// that file), so Ripplume is put on the user's own list, and taken off again,
// by these text edits. They keep every other line as it was.
#pragma once
#include <string>

// The line Ripplume has on the list: a GL mode, drawn on XScreenSaver's window.
constexpr const char* RipplumeListEntry = "GL:\t\t\t\tripplume --root";

struct ListEdit {
    std::string Text;      // the new contents of ~/.xscreensaver
    bool Changed = false;  // false: Text is the file as it was
};

// Ripplume on the user's list, enabled. A user file without a list first gets
// a copy of the system's list (systemDefaults: the app-defaults file's text,
// empty when there is none), so that no other mode goes missing.
ListEdit WithRipplumeListed(const std::string& userFile, const std::string& systemDefaults);

// Every line that runs ripplume taken off the user's list.
ListEdit WithoutRipplume(const std::string& userFile);

// Whether one line of the list runs ripplume, enabled or not: the entry is
// [-] ["name"] [visual:] command [options] [\n] [\].
bool RunsRipplume(const std::string& listLine);
