#include "linux/xscreensaver_list/xscreensaver_list.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "linux/xscreensaver_list/xscreensaver_file.h"

namespace {

// An entry as XScreenSaver takes it (enabled or not, and what runs), as a
// 64-bit FNV-1a hash: a list of a million entries is compared in 8 MB.
using Entries = std::vector<uint64_t>;

uint64_t EntryHash(bool enabled, const std::string& body) {
    uint64_t hash = 0xcbf29ce484222325ull ^ (enabled ? 1u : 2u);
    for (unsigned char c : body) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

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

// At least as many as the list's entries (one per \n, and the last), so that
// what is kept per entry is made in one allocation, not in doubling ones.
size_t MostEntries(const SettingLine& list) {
    if (!list.HasKey) return 0;
    const auto text = list.Text.begin();
    return size_t(std::count(text + list.ValueBegin, text + list.ValueEnd, '\n')) + 1;
}

Entries EntriesOf(const SettingLine& list) {
    Entries entries;
    entries.reserve(MostEntries(list));
    if (list.HasKey)
        VisitListEntries(list, [&](const ListEntry& e) { entries.push_back(EntryHash(e.Enabled, e.Body)); });
    return entries;
}

// withList false: the list is left out (the caller knows what it should be).
Reading Read(const std::string& file, bool withList) {
    Reading reading;
    VisitSettingLines(file, [&](SettingLine& line) {
        if (!line.HasKey) return true;
        const std::string key = LowerCase(line.Key());
        if (key == "programs") {
            if (withList) reading.List = EntriesOf(line);
        } else if (key != "selected") {
            reading.Settings[key] = line.Value();
        }
        return true;
    });
    return reading;
}

// Frees what `value` holds. Assigning an empty one would not: a string
// keeps its buffer when given a short one, and a decoded list is 50 MB in a
// large file.
template <typename T>
void Release(T& value) {
    const T gone = std::move(value);
}

ListEdit Refused(const std::string& file, const std::string& why) {
    return {file, false, why};
}

// The edit, given out only when XScreenSaver would read the list it should
// and every other setting as before.
ListEdit Checked(const std::string& before, std::string&& after, const Entries& expectedList) {
    bool same = false;
    {
        const Reading was = Read(before, false);
        const Reading is = Read(after, true);
        same = is.Settings == was.Settings && is.List == expectedList;
    }
    if (!same) return Refused(before, "XScreenSaver would read more changed than Ripplume's entry");
    const bool changed = after != before;
    return {std::move(after), changed, ""};
}

std::string NotText(const std::string& file) {
    return file.find('\0') == std::string::npos ? "" : "it holds NUL bytes, so it is not a settings file";
}

// The file with `text` put in at byte `at`, made in one allocation.
std::string WithInserted(const std::string& file, size_t at, const std::string& text) {
    std::string result;
    result.reserve(file.size() + text.size() + 16);  // and room for a renumbered selection
    result.append(file, 0, at).append(text).append(file, at, std::string::npos);
    return result;
}

// A user file without a list gets the system's: its bytes after "*programs:".
std::string WithSystemListCopied(std::string userFile, const std::string& system) {
    const SettingLine systemList = LastLineOf(system, "*programs");
    if (!userFile.empty() && userFile.back() != '\n') userFile += '\n';
    userFile += "programs:";
    if (systemList.HasKey) {
        std::vector<TextPlace> colon = {{systemList.KeyEnd, true}};
        FindBytes(system, systemList, colon);
        userFile.append(system, colon[0].Byte, systemList.End - colon[0].Byte);
    }
    if (userFile.back() != '\n') userFile += '\n';
    return userFile;
}

// The "selected" number given a new value by `renumbered` (which may keep
// it), written so that an edit and its undoing give its bytes back. False
// when it would change but cannot be written so.
template <typename Renumber>
bool RenumberSelection(std::string& file, Renumber renumbered) {
    const SettingLine selected = LastLineOf(file, "selected");
    if (!selected.HasKey) return true;
    // XScreenSaver reads it with atoi(), which is (int) strtol(): blanks, a
    // sign, then the digits up to the first other byte; a number past what a
    // long holds is clamped, then cut to an int ("-99999999999999999999" is
    // 0). The same call here gives what XScreenSaver on this machine sees.
    const std::string value = selected.Value();
    const int number = int(std::strtol(value.c_str(), nullptr, 10));
    if (number < 0) return true;  // names no mode, before and after
    const size_t was = size_t(number);
    const size_t is = renumbered(was);
    if (is == was) return true;
    // Only a number written plainly, with at most nine digits besides
    // leading zeros ("0003" is 3), is written anew and read back the same.
    const size_t sign = std::min(value.find_first_not_of(" \t\n\v\f\r"), value.size());
    const bool minus = sign < value.size() && value[sign] == '-';
    const size_t digits = sign < value.size() && (minus || value[sign] == '+') ? sign + 1 : sign;
    const size_t end = std::min(value.find_first_not_of("0123456789", digits), value.size());
    const size_t significant = std::min(value.find_first_not_of('0', digits), end);
    if (minus || end == digits || end - significant > 9) return false;
    // It is read back only up to nine digits (an int holds them all), so a
    // tenth would never be renumbered again on removal.
    std::string written = std::to_string(is);
    if (written.size() > 9) return false;
    // Leading zeros stay as many digits; a number that would lose them all
    // could not be given back as it was.
    const size_t width = end - digits;
    if (width > 1 && value[digits] == '0') {
        if (written.size() >= width) return false;
        written.insert(0, width - written.size(), '0');
    }
    std::vector<TextPlace> places = {{selected.ValueBegin + digits, false}, {selected.ValueBegin + end - 1, true}};
    FindBytes(file, selected, places);
    // Digits written with escapes ("\3") would come back plain after an undo.
    if (file.compare(places[0].Byte, places[1].Byte - places[0].Byte, value, digits, width) != 0) return false;
    file.replace(places[0].Byte, places[1].Byte - places[0].Byte, written);
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
    std::vector<std::string> known;
    for (const char* key : SettingKeys) known.push_back(LowerCase(key));
    bool found = false;
    VisitSettingLines(file, [&](SettingLine& line) {
        found = line.HasKey && std::find(known.begin(), known.end(), LowerCase(line.Key())) != known.end();
        return !found;
    });
    return found;
}

bool RunsRipplume(const std::string& entry) {
    return ParseListEntry(entry).Program == "ripplume";
}

ListEdit WithRipplumeListed(const std::string& userFile, const std::string& systemDefaults) {
    if (!NotText(userFile).empty()) return Refused(userFile, NotText(userFile));
    // XScreenSaver drops the last two bytes of a last line that has no
    // newline when the first is a backslash; the newline an edit adds there
    // would bring them back.
    const size_t size = userFile.size();
    if (size > 2 && userFile[size - 1] != '\n' && userFile[size - 2] == '\\') {
        return Refused(userFile, "its last line, without a newline, ends in a backslash and one byte");
    }
    std::string text;
    SettingLine list = LastLineOf(userFile, "programs");
    if (!list.HasKey) {
        text = WithSystemListCopied(userFile, systemDefaults);
        list = LastLineOf(text, "programs");
        if (!list.HasKey) return Refused(userFile, "the list copied from the system's would not be read");
    }
    const std::string& listed = text.empty() ? userFile : text;

    Entries expected;
    expected.reserve(MostEntries(list) + 1);  // and Ripplume's
    size_t count = 0, disabled = 0, disabledDash = 0;
    bool enabled = false, hasDisabled = false;
    ListEntry last;
    VisitListEntries(list, [&](const ListEntry& entry) {
        expected.push_back(EntryHash(entry.Enabled, entry.Body));
        if (entry.Program == "ripplume") {
            enabled = enabled || entry.Enabled;
            if (!entry.Enabled && !hasDisabled) {
                hasDisabled = true;
                disabled = count;
                disabledDash = entry.Begin;
            }
        }
        last = entry;
        ++count;
    });
    if (enabled) return Checked(userFile, std::string(listed), expected);
    if (hasDisabled) {
        // The "-" becomes a blank, as XScreenSaver lines its entries up.
        std::vector<TextPlace> dash = {{disabledDash, false}, {disabledDash, true}};
        FindBytes(listed, list, dash);
        std::string edited = listed;
        edited.replace(dash[0].Byte, dash[1].Byte - dash[0].Byte, " ");
        // The entry enabled is the same but for its "-".
        VisitListEntries(list, [&, index = size_t(0)](const ListEntry& entry) mutable {
            if (index++ == disabled) expected[disabled] = EntryHash(true, entry.Body);
        });
        Release(list);
        return Checked(userFile, std::move(edited), expected);
    }
    std::string edited;
    if (count == 0) {
        std::vector<TextPlace> colon = {{list.KeyEnd, true}};
        FindBytes(listed, list, colon);
        edited = WithInserted(listed, colon[0].Byte, std::string("\\\n  ") + RipplumeListEntry);
    } else if (last.NameUnclosed || last.Begin == last.End) {
        // A name that runs to the end of the list would take in what
        // follows; a blank entry has no end to add after.
        return Refused(userFile, "the last mode on its list is blank or has a name whose quote is never closed");
    } else {
        std::vector<TextPlace> end = {{last.End - 1, true}};
        FindBytes(listed, list, end);
        edited = WithInserted(listed, end[0].Byte, std::string(" \\n\\\n  ") + RipplumeListEntry);
    }
    Release(text);
    Release(list);
    expected.push_back(EntryHash(true, RipplumeListEntry));
    // A choice past the end of the list stays past it, meaning to
    // XScreenSaver what it meant before.
    if (!RenumberSelection(edited, [&](size_t was) { return was >= count ? was + 1 : was; })) {
        return Refused(userFile, "its \"selected\" value, past the end of the list, would name Ripplume");
    }
    return Checked(userFile, std::move(edited), expected);
}

ListEdit WithoutRipplume(const std::string& userFile) {
    if (!NotText(userFile).empty()) return Refused(userFile, NotText(userFile));
    SettingLine list = LastLineOf(userFile, "programs");
    if (!list.HasKey) return {userFile, false, ""};

    // Each entry of Ripplume goes with one separator next to it: from the end
    // of the last entry kept before it to its own end; with none kept before
    // it, from its start to the start of the next; with neither, the whole
    // value. So an entry added is given back byte for byte.
    struct Entry {
        size_t Begin, End;
        bool Ours;
    };
    std::vector<Entry> entries;
    entries.reserve(MostEntries(list));
    Entries expected;
    expected.reserve(MostEntries(list));
    VisitListEntries(list, [&](const ListEntry& entry) {
        const bool ours = entry.Program == "ripplume";
        entries.push_back({entry.Begin, entry.End, ours});
        if (!ours) expected.push_back(EntryHash(entry.Enabled, entry.Body));
    });
    std::vector<size_t> removed;  // their places on the list as it was
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].Ours) removed.push_back(i);
    }
    if (removed.empty()) return {userFile, false, ""};

    // A blank entry's bytes begin and end at its place.
    const auto endPlace = [](const Entry& e) {
        return e.End > e.Begin ? TextPlace{e.End - 1, true} : TextPlace{e.Begin, false};
    };
    std::vector<TextPlace> places;
    std::vector<std::pair<size_t, size_t>> cuts;  // indices into places
    bool keptBefore = false;
    size_t lastKept = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].Ours) {
            keptBefore = true;
            lastKept = i;
            continue;
        }
        if (keptBefore) {
            places.push_back(endPlace(entries[lastKept]));
            places.push_back(endPlace(entries[i]));
        } else if (i + 1 < entries.size()) {
            places.push_back({entries[i].Begin, false});
            places.push_back({entries[i + 1].Begin, false});
        } else {
            places.push_back({list.KeyEnd, true});
            places.push_back({list.ValueEnd - 1, true});
        }
        cuts.emplace_back(places.size() - 2, places.size() - 1);
    }
    Release(entries);
    std::vector<size_t> order(places.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return places[a].Index != places[b].Index ? places[a].Index < places[b].Index
                                                  : !places[a].After && places[b].After;
    });
    std::vector<TextPlace> sorted;
    for (size_t i : order) sorted.push_back(places[i]);
    FindBytes(userFile, list, sorted);
    for (size_t i = 0; i < order.size(); ++i) places[order[i]].Byte = sorted[i].Byte;
    Release(list);

    std::vector<std::pair<size_t, size_t>> bytes;
    for (const auto& cut : cuts) {
        const size_t from = places[cut.first].Byte, to = places[cut.second].Byte;
        if (to <= from) return Refused(userFile, "an entry of Ripplume has no bytes to take off");
        bytes.emplace_back(from, to);
    }
    std::sort(bytes.begin(), bytes.end());
    std::string text;
    text.reserve(userFile.size());
    size_t at = 0;
    for (const auto& range : bytes) {
        if (range.first > at) text.append(userFile, at, range.first - at);
        at = std::max(at, range.second);
    }
    text.append(userFile, at, std::string::npos);

    // A choice past removed entries is lowered by their count.
    const bool renumbered = RenumberSelection(text, [&](size_t was) {
        size_t is = was;
        for (size_t index : removed) is -= index < was ? 1 : 0;
        return is;
    });
    if (!renumbered) return Refused(userFile, "its \"selected\" value cannot be renumbered");
    return Checked(userFile, std::move(text), expected);
}
