#include "linux/xscreensaver_list/xscreensaver_list.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>
#include <vector>

#include "linux/xscreensaver_list/xscreensaver_file.h"

namespace {

using Entries = std::vector<std::pair<bool, std::string>>;  // enabled, body

// What XScreenSaver takes from a file: the list, and every other setting's
// value. "selected" is left out: it is a place on the list, which an edit may
// renumber.
struct Reading {
    std::map<std::string, std::string> Settings;  // by lower-case key
    Entries List;
};

std::string LowerCase(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

Entries EntriesOf(const SettingLine* list) {
    Entries entries;
    if (list) {
        for (const ListEntry& entry : ListEntries(*list)) entries.emplace_back(entry.Enabled, entry.Body);
    }
    return entries;
}

Reading Read(const std::string& file) {
    Reading reading;
    const std::vector<SettingLine> lines = ReadSettingLines(file);
    for (const SettingLine& line : lines) {
        const std::string key = LowerCase(line.Key());
        if (line.HasKey && key != "programs" && key != "selected") reading.Settings[key] = line.Value();
    }
    reading.List = EntriesOf(LastLineOf(lines, "programs"));
    return reading;
}

ListEdit Refused(const std::string& file, const std::string& why) {
    return {file, false, why};
}

// The edit, given out only when XScreenSaver would read the list it should
// and every other setting as before.
ListEdit Checked(const std::string& before, const std::string& after, const Entries& expectedList) {
    const Reading was = Read(before), is = Read(after);
    if (is.Settings != was.Settings || is.List != expectedList) {
        return Refused(before, "XScreenSaver would read more changed than Ripplume's entry");
    }
    return {after, after != before, ""};
}

std::string NotText(const std::string& file) {
    return file.find('\0') == std::string::npos ? "" : "it holds NUL bytes, so it is not a settings file";
}

// Where an entry's bytes start and end (a blank entry has no bytes: its place then).
size_t RawAt(const SettingLine& line, size_t at) {
    return at < line.From.size() ? line.From[at] : line.End;
}
size_t RawEnd(const SettingLine& line, const ListEntry& entry) {
    return entry.End > entry.Begin ? line.To[entry.End - 1] : RawAt(line, entry.Begin);
}

// The bytes that hold entry `i` and one separator next to it: from the end of
// the entry before to its own end, or (the first) to the start of the next,
// or (the only one) the whole value. An entry added is given back byte for byte.
std::pair<size_t, size_t> EntryBytes(const SettingLine& list, const std::vector<ListEntry>& entries, size_t i) {
    if (i > 0) return {RawEnd(list, entries[i - 1]), RawEnd(list, entries[i])};
    if (entries.size() > 1) return {RawAt(list, entries[0].Begin), RawAt(list, entries[1].Begin)};
    return {list.To[list.KeyEnd], list.To[list.ValueEnd - 1]};
}

// A user file without a list gets the system's: its bytes after "*programs:".
std::string WithSystemListCopied(std::string userFile, const SettingLine* systemList, const std::string& system) {
    if (!userFile.empty() && userFile.back() != '\n') userFile += '\n';
    userFile += "programs:";
    if (systemList) {
        const size_t valueStart = systemList->To[systemList->KeyEnd];
        userFile += system.substr(valueStart, systemList->End - valueStart);
    }
    if (userFile.back() != '\n') userFile += '\n';
    return userFile;
}

// The "selected" number given a new value by `renumbered` (which may keep
// it), written with at least as many digits as before, so that an edit and
// its undoing give its bytes back. False when it would change but cannot be
// written so.
template <typename Renumber>
bool RenumberSelection(std::string& file, Renumber renumbered) {
    const std::vector<SettingLine> lines = ReadSettingLines(file);
    const SettingLine* selected = LastLineOf(lines, "selected");
    if (!selected) return true;
    // Read as atoi() reads it: a sign, then the digits up to the first other byte.
    const std::string value = selected->Value();
    const bool minus = !value.empty() && value[0] == '-';
    const size_t digits = !value.empty() && (minus || value[0] == '+') ? 1 : 0;
    const size_t end = std::min(value.find_first_not_of("0123456789", digits), value.size());
    const size_t was = end > digits && end - digits <= 9 ? std::stoul(value.substr(digits, end - digits)) : 0;
    if (minus && was != 0) return true;  // names no mode, before and after
    const size_t is = renumbered(was);
    if (is == was) return true;
    if (minus || end == digits || end - digits > 9) return false;
    std::string number = std::to_string(is);
    if (number.size() < end - digits) number.insert(0, end - digits - number.size(), '0');
    const size_t from = selected->From[selected->ValueBegin + digits];
    const size_t to = selected->To[selected->ValueBegin + end - 1];
    file = file.substr(0, from) + number + file.substr(to);
    return true;
}

// The keys XScreenSaver 5 and 6 write to ~/.xscreensaver.
const char* const SettingKeys[] = {"timeout",
                                   "cycle",
                                   "lock",
                                   "locktimeout",
                                   "passwdtimeout",
                                   "visualid",
                                   "installcolormap",
                                   "verbose",
                                   "splash",
                                   "splashduration",
                                   "quad",
                                   "demoCommand",
                                   "prefscommand",
                                   "newlogincommand",
                                   "helpurl",
                                   "loadurl",
                                   "nice",
                                   "memorylimit",
                                   "fade",
                                   "unfade",
                                   "fadeseconds",
                                   "fadeticks",
                                   "capturestderr",
                                   "ignoreuninstalledprograms",
                                   "font",
                                   "dpmsenabled",
                                   "dpmsquickoff",
                                   "dpmsstandby",
                                   "dpmssuspend",
                                   "dpmsoff",
                                   "grabdesktopimages",
                                   "grabvideoframes",
                                   "chooserandomimages",
                                   "imagedirectory",
                                   "mode",
                                   "selected",
                                   "textmode",
                                   "textliteral",
                                   "textfile",
                                   "textprogram",
                                   "texturl",
                                   "dialogtheme",
                                   "settingsgeometry",
                                   "programs",
                                   "pointerhysteresis",
                                   "pointerpolltime",
                                   "windowcreationtimeout",
                                   "initialdelay",
                                   "sgisaverextension",
                                   "xidleextension",
                                   "procinterrupts",
                                   "xinputextensiondev",
                                   "overlaystderr",
                                   "authwarningslack",
                                   "bourneshell"};

}  // namespace

bool HoldsXScreenSaverSettings(const std::string& file) {
    if (file.find_first_not_of(" \t\r\n") == std::string::npos) return true;
    for (const SettingLine& line : ReadSettingLines(file)) {
        if (!line.HasKey) continue;
        const std::string key = LowerCase(line.Key());
        for (const char* known : SettingKeys) {
            if (key == LowerCase(known)) return true;
        }
    }
    return false;
}

bool RunsRipplume(const std::string& entry) {
    return ParseListEntry(entry).Program == "ripplume";
}

ListEdit WithRipplumeListed(const std::string& userFile, const std::string& systemDefaults) {
    if (!NotText(userFile).empty()) return Refused(userFile, NotText(userFile));
    std::string text = userFile;
    std::vector<SettingLine> lines = ReadSettingLines(text);
    Entries expected = EntriesOf(LastLineOf(lines, "programs"));
    if (!LastLineOf(lines, "programs")) {
        const std::vector<SettingLine> systemLines = ReadSettingLines(systemDefaults);
        const SettingLine* systemList = LastLineOf(systemLines, "*programs");
        expected = EntriesOf(systemList);
        text = WithSystemListCopied(text, systemList, systemDefaults);
        lines = ReadSettingLines(text);
    }
    const SettingLine* list = LastLineOf(lines, "programs");
    if (!list) return Refused(userFile, "the list copied from the system's would not be read");
    const std::vector<ListEntry> entries = ListEntries(*list);

    size_t disabled = entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Program != "ripplume") continue;
        if (entries[i].Enabled) return Checked(userFile, text, expected);
        if (disabled == entries.size()) disabled = i;
    }
    if (disabled < entries.size()) {
        // The "-" becomes a blank, as XScreenSaver lines its entries up.
        const size_t dash = entries[disabled].Begin;
        text.replace(list->From[dash], list->To[dash] - list->From[dash], " ");
        expected[disabled].first = true;
    } else {
        if (entries.empty()) {
            text.insert(list->To[list->KeyEnd], std::string("\\\n  ") + RipplumeListEntry);
        } else if (entries.back().NameUnclosed || entries.back().Begin == entries.back().End) {
            // A name that runs to the end of the list would take in what
            // follows; a blank entry has no end to add after.
            return Refused(userFile, "the last mode on its list is blank or has a name whose quote is never closed");
        } else {
            text.insert(RawEnd(*list, entries.back()), std::string(" \\n\\\n  ") + RipplumeListEntry);
        }
        expected.emplace_back(true, RipplumeListEntry);
        // A choice past the end of the list stays past it, meaning to
        // XScreenSaver what it meant before.
        const size_t length = entries.size();
        if (!RenumberSelection(text, [&](size_t was) { return was >= length ? was + 1 : was; })) {
            return Refused(userFile, "its \"selected\" value, past the end of the list, would name Ripplume");
        }
    }
    return Checked(userFile, text, expected);
}

ListEdit WithoutRipplume(const std::string& userFile) {
    if (!NotText(userFile).empty()) return Refused(userFile, NotText(userFile));
    Entries expected;
    const std::vector<SettingLine> was = ReadSettingLines(userFile);
    if (const SettingLine* list = LastLineOf(was, "programs")) {
        for (const ListEntry& entry : ListEntries(*list)) {
            if (entry.Program != "ripplume") expected.emplace_back(entry.Enabled, entry.Body);
        }
    }
    std::string text = userFile;
    std::vector<size_t> removed;  // their places on the list as it was
    for (;;) {
        const std::vector<SettingLine> lines = ReadSettingLines(text);
        const SettingLine* list = LastLineOf(lines, "programs");
        if (!list) break;
        const std::vector<ListEntry> entries = ListEntries(*list);
        size_t i = 0;
        while (i < entries.size() && entries[i].Program != "ripplume") ++i;
        if (i == entries.size()) break;
        const std::pair<size_t, size_t> bytes = EntryBytes(*list, entries, i);
        if (bytes.second <= bytes.first) return Refused(userFile, "an entry of Ripplume has no bytes to take off");
        text.erase(bytes.first, bytes.second - bytes.first);
        removed.push_back(i + removed.size());
    }
    if (removed.empty()) return {userFile, false, ""};
    // A choice past removed entries is lowered by their count.
    const bool renumbered = RenumberSelection(text, [&](size_t was) {
        size_t is = was;
        for (size_t index : removed) is -= index < was ? 1 : 0;
        return is;
    });
    if (!renumbered) return Refused(userFile, "its \"selected\" value cannot be renumbered");
    return Checked(userFile, text, expected);
}
