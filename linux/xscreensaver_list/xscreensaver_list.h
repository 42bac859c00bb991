// XScreenSaver runs the display modes named in the "programs" list of the
// user's ~/.xscreensaver, or of the system's app-defaults file while the user
// has none. A package cannot add to the system's list (another package owns
// that file), so Ripplume is put on the user's own list, and taken off again,
// by these text edits. Each inserts or deletes exactly the bytes of
// Ripplume's entry, and is read back as XScreenSaver reads it before it is
// given out: XScreenSaver must see no change but Ripplume's entry.
#pragma once
#include <string>

// The entry Ripplume has on the list: a GL mode, drawn on XScreenSaver's window.
constexpr const char* RipplumeListEntry = "GL:\t\t\t\tripplume --root";

struct ListEdit {
    std::string Text;      // the new contents of ~/.xscreensaver
    bool Changed = false;  // false: Text is the file as it was
    std::string Error;     // non-empty: no safe edit was found (Text is the file as it was)
};

// Ripplume on the user's list, enabled: a disabled entry of it is enabled,
// else its entry goes last, so that the "selected" number of the user's
// choice still names the same mode. A user file without a list first gets a
// copy of the system's list (systemDefaults: the app-defaults file's text,
// empty when there is none), so that no other mode goes missing.
ListEdit WithRipplumeListed(const std::string& userFile, const std::string& systemDefaults);

// Every entry that runs ripplume taken off the user's list; a "selected"
// number past it is made one less, so that it names the same mode.
ListEdit WithoutRipplume(const std::string& userFile);

// Whether XScreenSaver would find any of its own settings in the file (a
// known key such as timeout, mode or programs); a file of blanks counts as
// empty. A file it would not is no settings file (say /etc/passwd, linked
// there), and is not edited.
bool HoldsXScreenSaverSettings(const std::string& file);

// Whether one entry of the list, as XScreenSaver splits it at \n, runs
// ripplume, enabled or not.
bool RunsRipplume(const std::string& entry);
