// ~/.xscreensaver as XScreenSaver 6 reads it. Physical lines are joined where
// one ends in a backslash, as its 1 KB line buffer (which only grows) meets
// them; then \n, \r, \t and \X are decoded; then each joined line that is not
// a comment is "key: value", the key matched without regard to case, the last
// line of a key winning. The "programs" value is the list of display modes,
// its entries split at \n. Every decoded character keeps the bytes it came
// from, so that an edit can change exactly the bytes of one entry.
#pragma once
#include <string>
#include <vector>

struct SettingLine {
    size_t Begin = 0, End = 0;  // its bytes in the file, continuations included
    std::string Text;           // joined and decoded
    std::vector<size_t> From;   // per character of Text: the offset of its first byte
    std::vector<size_t> To;     // ... and the offset after its last byte
    bool HasKey = false;        // false: a comment, a blank or an unparsable line
    size_t KeyBegin = 0, KeyEnd = 0, ValueBegin = 0, ValueEnd = 0;  // in Text; KeyEnd is the colon

    std::string Key() const { return Text.substr(KeyBegin, KeyEnd - KeyBegin); }
    std::string Value() const { return Text.substr(ValueBegin, ValueEnd - ValueBegin); }
};

std::vector<SettingLine> ReadSettingLines(const std::string& file);

// The line XScreenSaver takes that setting from; null when none names it.
const SettingLine* LastLineOf(const std::vector<SettingLine>& lines, const std::string& key);

// One entry of the list: [-] [visual:] ["name"] command.
struct ListEntry {
    size_t Begin = 0, End = 0;  // in the line's Text: the entry without the blanks around it
    bool Enabled = true;        // no "-" first
    bool NameUnclosed = false;  // a "name" without its closing quote: it runs to the end
    std::string Body;           // the entry after its "-" and blanks: what runs, and how
    std::string Program;        // the command's first word, without its folder
};

std::vector<ListEntry> ListEntries(const SettingLine& list);
ListEntry ParseListEntry(const std::string& entry);
