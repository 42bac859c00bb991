// ~/.xscreensaver as XScreenSaver 6 reads it. Physical lines are joined where
// one ends in a backslash, as its 1 KB line buffer (which only grows) meets
// them; then \n, \r, \t and \X are decoded; then each joined line that is not
// a comment is "key: value", the key matched without regard to case, the last
// line of a key winning. The "programs" value is the list of display modes,
// its entries split at \n. A file is read in one pass, a line at a time, so
// that a large one costs little memory; where a decoded character's bytes lie
// in the file is found again on demand (FindBytes), so that an edit can change
// exactly the bytes of one entry.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct SettingLine {
    size_t Begin = 0, End = 0;  // its bytes in the file, continuations included
    size_t BufferSize = 0;      // XScreenSaver's line buffer as the line is read: how its lines join
    std::string Text;           // joined and decoded
    bool HasKey = false;        // false: a comment, a blank or an unparsable line
    size_t KeyBegin = 0, KeyEnd = 0, ValueBegin = 0, ValueEnd = 0;  // in Text; KeyEnd is the colon

    std::string Key() const { return Text.substr(KeyBegin, KeyEnd - KeyBegin); }
    std::string Value() const { return Text.substr(ValueBegin, ValueEnd - ValueBegin); }
};

// Each line of the file in turn, until `visit` returns false; it may move
// the line away.
void VisitSettingLines(const std::string& file, const std::function<bool(SettingLine&)>& visit);

// Whether a line is the setting `key` (any case).
bool IsSetting(const SettingLine& line, const char* key);

// The line XScreenSaver takes that setting from; Begin == End == 0 and no key when none names it.
SettingLine LastLineOf(const std::string& file, const char* key);

// A place in a line's Text, and the byte of the file it lies at: the first
// byte of character Index, or (After) the byte after its last. An Index at
// the end of the Text lies at the end of the line.
struct TextPlace {
    size_t Index = 0;
    bool After = false;
    size_t Byte = 0;
};

// Byte is filled in for each place; the places are in order of Index.
void FindBytes(const std::string& file, const SettingLine& line, std::vector<TextPlace>& places);

// One entry of the list: [-] [visual:] ["name"] command.
struct ListEntry {
    size_t Begin = 0, End = 0;  // in the line's Text: the entry without the blanks around it
    bool Enabled = true;        // no "-" first
    bool NameUnclosed = false;  // a "name" without its closing quote: it runs to the end
    std::string Body;           // the entry after its "-" and blanks: what runs, and how
    std::string Program;        // the command's first word, without its folder
};

// Each entry of a "programs" line in turn.
void VisitListEntries(const SettingLine& list, const std::function<void(const ListEntry&)>& visit);
ListEntry ParseListEntry(const std::string& entry);
