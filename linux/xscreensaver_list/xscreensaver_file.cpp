#include "linux/xscreensaver_list/xscreensaver_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <utility>

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

// The bytes of one joined line: ranges of the file, split where XScreenSaver
// dropped a backslash and the byte after it.
using Pieces = std::vector<std::pair<size_t, size_t>>;

// The last bytes of the pieces, `back` from the end (1: the last).
char ByteFromEnd(const std::string& file, const Pieces& pieces, size_t back) {
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        const size_t length = piece->second - piece->first;
        if (back <= length) return file[piece->second - back];
        back -= length;
    }
    return '\0';
}

void DropFromEnd(Pieces& pieces, size_t count) {
    while (count > 0 && !pieces.empty()) {
        const size_t length = pieces.back().second - pieces.back().first;
        if (length > count) {
            pieces.back().second -= count;
            return;
        }
        count -= length;
        pieces.pop_back();
    }
}

// One joined line from `at`, as XScreenSaver's fgets() into its growing
// buffer meets it: at most `count` bytes a read, up to and including a newline.
Pieces JoinLine(const std::string& file, size_t& at, size_t& bufferSize) {
    Pieces pieces;
    size_t length = 0;
    const auto read = [&](size_t count) {
        if (at >= file.size()) return false;
        const size_t limit = std::min(file.size() - at, count);
        const void* newline = count == 0 ? nullptr : std::memchr(file.data() + at, '\n', limit);
        const size_t end = newline ? size_t(static_cast<const char*>(newline) - file.data()) + 1 : at + limit;
        if (!pieces.empty() && pieces.back().second == at) {
            pieces.back().second = end;
        } else if (end > at) {
            pieces.emplace_back(at, end);
        }
        length += end - at;
        at = end;
        return true;
    };
    read(bufferSize - 2);
    // A line goes on while it ends in backslash-newline, or while it has
    // not ended (the buffer was full, or the file ends): then the two
    // bytes before the end go when the first is a backslash.
    while (length > 2 && (ByteFromEnd(file, pieces, 1) != '\n' || ByteFromEnd(file, pieces, 2) == '\\')) {
        if (ByteFromEnd(file, pieces, 2) == '\\') {
            DropFromEnd(pieces, 2);
            length -= 2;
        }
        bufferSize += 1024;
        if (!read(bufferSize - length - 2)) break;
    }
    return pieces;
}

// The joined bytes decoded: backslash escapes become one character each.
// `character` gets each one with its first byte's offset and the offset after
// its last. A backslash with nothing after it ends the text, as XScreenSaver's
// decoder writes its end of string there.
template <typename Character>
void Decode(const std::string& file, const Pieces& pieces, Character character) {
    bool escaped = false;
    size_t escapeAt = 0;
    for (const auto& piece : pieces) {
        for (size_t at = piece.first; at < piece.second; ++at) {
            const char c = file[at];
            if (escaped) {
                character(Unescaped(c), escapeAt, at + 1);
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
                escapeAt = at;
            } else {
                character(c, at, at + 1);
            }
        }
    }
}

void FindKeyAndValue(SettingLine& line) {
    line.HasKey = false;
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

void VisitSettingLines(const std::string& file, const std::function<bool(SettingLine&)>& visit) {
    size_t bufferSize = 1024, at = 0;
    SettingLine line;
    while (at < file.size()) {
        line.Begin = at;
        line.BufferSize = bufferSize;
        line.Text.clear();
        line.HasKey = false;
        const Pieces pieces = JoinLine(file, at, bufferSize);
        line.End = at;
        size_t joined = 0;
        for (const auto& piece : pieces) joined += piece.second - piece.first;
        line.Text.reserve(joined);
        Decode(file, pieces, [&](char c, size_t, size_t) { line.Text += c; });
        FindKeyAndValue(line);
        if (!visit(line)) return;
    }
}

bool IsSetting(const SettingLine& line, const char* key) {
    return line.HasKey && SameKey(line.Text.substr(line.KeyBegin, line.KeyEnd - line.KeyBegin), key);
}

SettingLine LastLineOf(const std::string& file, const char* key) {
    SettingLine last;
    VisitSettingLines(file, [&](SettingLine& line) {
        if (IsSetting(line, key)) last = std::move(line);
        return true;
    });
    return last;
}

void FindBytes(const std::string& file, const SettingLine& line, std::vector<TextPlace>& places) {
    size_t at = line.Begin, bufferSize = line.BufferSize, index = 0;
    auto place = places.begin();
    const Pieces pieces = JoinLine(file, at, bufferSize);
    Decode(file, pieces, [&](char, size_t from, size_t to) {
        for (; place != places.end() && place->Index == index; ++place) place->Byte = place->After ? to : from;
        ++index;
    });
    for (; place != places.end(); ++place) place->Byte = line.End;
}

void VisitListEntries(const SettingLine& list, const std::function<void(const ListEntry&)>& visit) {
    const std::string& text = list.Text;
    size_t start = list.ValueBegin;
    while (start < list.ValueEnd) {
        while (start < list.ValueEnd && (text[start] == ' ' || text[start] == '\t' || text[start] == '\n')) ++start;
        const size_t newline = text.find('\n', start);
        const size_t end = std::min(newline == std::string::npos ? text.size() : newline, list.ValueEnd);
        visit(ParseEntryIn(text, start, end));
        start = end + 1;
    }
}

ListEntry ParseListEntry(const std::string& entry) {
    return ParseEntryIn(entry, 0, entry.size());
}
