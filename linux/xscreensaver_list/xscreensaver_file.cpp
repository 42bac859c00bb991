#include "linux/xscreensaver_list/xscreensaver_file.h"

#include <cctype>

namespace {

// XScreenSaver's isspace() and its strip(), which knows fewer blanks.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsStripped(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

char Unescaped(char c) {
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return c;
    }
}

// Joined physical lines become one string: backslash escapes decoded, each
// character remembering its bytes. A backslash with nothing after it ends the
// text, as XScreenSaver's decoder writes its end of string there.
void Decode(const std::string& joined, const std::vector<size_t>& offsets, SettingLine& line) {
    for (size_t i = 0; i < joined.size(); ++i) {
        if (joined[i] != '\\') {
            line.Text += joined[i];
            line.From.push_back(offsets[i]);
            line.To.push_back(offsets[i] + 1);
            continue;
        }
        if (i + 1 == joined.size()) break;
        line.Text += Unescaped(joined[i + 1]);
        line.From.push_back(offsets[i]);
        line.To.push_back(offsets[i + 1] + 1);
        ++i;
    }
}

void FindKeyAndValue(SettingLine& line) {
    const std::string& text = line.Text;
    size_t begin = 0, end = text.size();
    while (begin < end && IsStripped(text[begin])) ++begin;
    while (end > begin && IsStripped(text[end - 1])) --end;
    if (begin == end || text[begin] == '#' || text[begin] == '!' || text[begin] == ';') return;
    const size_t colon = text.find(':', begin);
    if (colon >= end) return;
    line.HasKey = true;
    line.KeyBegin = begin;
    line.KeyEnd = colon;
    line.ValueBegin = colon + 1;
    while (line.ValueBegin < end && IsStripped(text[line.ValueBegin])) ++line.ValueBegin;
    line.ValueEnd = end;
}

bool SameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

ListEntry ParseEntryIn(const std::string& text, size_t begin, size_t end) {
    ListEntry entry;
    size_t at = begin;
    while (at < end && IsSpace(text[at])) ++at;
    entry.Begin = at;
    if (at < end && text[at] == '-') {
        entry.Enabled = false;
        ++at;
        while (at < end && IsSpace(text[at])) ++at;
    }
    const size_t body = at;
    // "visual:" is a word ending in a colon; "name" is quoted; both may be missing.
    while (at < end && text[at] != ':' && text[at] != '"' && !IsSpace(text[at])) ++at;
    if (at < end && text[at] == ':') {
        ++at;
        while (at < end && IsSpace(text[at])) ++at;
    } else {
        at = body;
    }
    if (at < end && text[at] == '"') {
        ++at;
        while (at < end && text[at] != '"') ++at;
        entry.NameUnclosed = at == end;
        if (at < end) ++at;
        while (at < end && IsSpace(text[at])) ++at;
    }
    size_t wordEnd = at;
    while (wordEnd < end && !IsSpace(text[wordEnd])) ++wordEnd;
    const std::string word = text.substr(at, wordEnd - at);
    const size_t slash = word.rfind('/');
    entry.Program = slash == std::string::npos ? word : word.substr(slash + 1);
    // The blanks after the command are not part of it; after an unclosed name they are.
    entry.End = end;
    while (!entry.NameUnclosed && entry.End > entry.Begin && IsSpace(text[entry.End - 1])) --entry.End;
    entry.Body = text.substr(body, entry.End > body ? entry.End - body : 0);
    return entry;
}

}  // namespace

std::vector<SettingLine> ReadSettingLines(const std::string& file) {
    std::vector<SettingLine> lines;
    size_t bufferSize = 1024;
    size_t at = 0;
    std::string joined;
    std::vector<size_t> offsets;
    // fgets(): at most `count` bytes, up to and including a newline.
    const auto read = [&](size_t count) {
        if (at >= file.size()) return false;
        for (size_t n = 0; n < count && at < file.size(); ++n) {
            joined += file[at];
            offsets.push_back(at);
            if (file[at++] == '\n') break;
        }
        return true;
    };
    while (at < file.size()) {
        SettingLine line;
        line.Begin = at;
        joined.clear();
        offsets.clear();
        read(bufferSize - 2);
        // A line goes on while it ends in backslash-newline, or while it has
        // not ended (the buffer was full, or the file ends): then the two
        // bytes before the end go when the first is a backslash.
        size_t length = joined.size();
        while (length > 2 && (joined[length - 1] != '\n' || joined[length - 2] == '\\')) {
            if (joined[length - 2] == '\\') {
                length -= 2;
                joined.resize(length);
                offsets.resize(length);
            }
            bufferSize += 1024;
            if (!read(bufferSize - length - 2)) break;
            length = joined.size();
        }
        line.End = at;
        Decode(joined, offsets, line);
        FindKeyAndValue(line);
        lines.push_back(std::move(line));
    }
    return lines;
}

const SettingLine* LastLineOf(const std::vector<SettingLine>& lines, const std::string& key) {
    const SettingLine* last = nullptr;
    for (const SettingLine& line : lines) {
        if (line.HasKey && SameKey(line.Key(), key)) last = &line;
    }
    return last;
}

std::vector<ListEntry> ListEntries(const SettingLine& list) {
    std::vector<ListEntry> entries;
    const std::string& text = list.Text;
    size_t start = list.ValueBegin;
    while (start < list.ValueEnd) {
        while (start < list.ValueEnd && (text[start] == ' ' || text[start] == '\t' || text[start] == '\n')) ++start;
        size_t end = start;
        while (end < list.ValueEnd && text[end] != '\n') ++end;
        entries.push_back(ParseEntryIn(text, start, end));
        start = end + 1;
    }
    return entries;
}

ListEntry ParseListEntry(const std::string& entry) {
    return ParseEntryIn(entry, 0, entry.size());
}
