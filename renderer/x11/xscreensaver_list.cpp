#include "renderer/x11/xscreensaver_list.h"

#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines SplitLines(const std::string& text) {
    Lines lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text;
}

size_t SkipBlanks(const std::string& text, size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    return at;
}

bool Continues(const std::string& line) {
    return !line.empty() && line.back() == '\\';
}

// The index of the line that starts the list under that resource name, or -1.
long FindHeader(const Lines& lines, const std::string& key) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t start = SkipBlanks(lines[i], 0);
        if (lines[i].compare(start, key.size(), key) == 0) return long(i);
    }
    return -1;
}

// The last line of the list that starts at header: the first not continued.
size_t BlockEnd(const Lines& lines, size_t header) {
    size_t end = header;
    while (end + 1 < lines.size() && Continues(lines[end])) ++end;
    return end;
}

// The list text on a header line, after "programs:".
std::string HeaderValue(const std::string& header) {
    const size_t colon = header.find(':');
    return header.substr(SkipBlanks(header, colon + 1));
}

bool Disabled(const std::string& listLine) {
    const size_t start = SkipBlanks(listLine, 0);
    return start < listLine.size() && listLine[start] == '-';
}

std::string EntryLine(bool continued) {
    return std::string("  ") + RipplumeListEntry + "\t\t\t    \\n" + (continued ? "\\" : "");
}

}  // namespace

bool RunsRipplume(const std::string& listLine) {
    size_t at = SkipBlanks(listLine, 0);
    if (at < listLine.size() && listLine[at] == '-') at = SkipBlanks(listLine, at + 1);
    if (at < listLine.size() && listLine[at] == '"') {
        const size_t close = listLine.find('"', at + 1);
        if (close == std::string::npos) return false;
        at = SkipBlanks(listLine, close + 1);
    }
    auto tokenEnd = [&](size_t from) {
        size_t end = from;
        while (end < listLine.size() && listLine[end] != ' ' && listLine[end] != '\t' && listLine[end] != '\\') ++end;
        return end;
    };
    size_t end = tokenEnd(at);
    if (end > at && listLine[end - 1] == ':') {  // a visual, such as GL:
        at = SkipBlanks(listLine, end);
        end = tokenEnd(at);
    }
    const std::string command = listLine.substr(at, end - at);
    const size_t slash = command.rfind('/');
    return command.substr(slash == std::string::npos ? 0 : slash + 1) == "ripplume";
}

ListEdit WithRipplumeListed(const std::string& userFile, const std::string& systemDefaults) {
    Lines lines = SplitLines(userFile);
    long header = FindHeader(lines, "programs:");
    const bool listCopied = header < 0;
    if (listCopied) {
        header = long(lines.size());
        const Lines system = SplitLines(systemDefaults);
        const long systemHeader = FindHeader(system, "*programs:");
        if (systemHeader < 0) {
            lines.push_back("programs:");
        } else {
            const size_t systemEnd = BlockEnd(system, size_t(systemHeader));
            lines.push_back("programs:\t" + HeaderValue(system[size_t(systemHeader)]));
            lines.insert(lines.end(), system.begin() + systemHeader + 1, system.begin() + long(systemEnd) + 1);
        }
    }
    const size_t first = size_t(header), last = BlockEnd(lines, first);

    long disabledEntry = -1;
    for (size_t i = first; i <= last; ++i) {
        const std::string entry = i == first ? HeaderValue(lines[i]) : lines[i];
        if (!RunsRipplume(entry)) continue;
        if (!Disabled(entry)) return {listCopied ? JoinLines(lines) : userFile, listCopied};
        if (disabledEntry < 0) disabledEntry = long(i);
    }
    if (disabledEntry >= 0) {
        std::string& line = lines[size_t(disabledEntry)];
        const size_t valueStart = size_t(disabledEntry) == first ? line.find(':') + 1 : 0;
        line[SkipBlanks(line, valueStart)] = ' ';
        return {JoinLines(lines), true};
    }

    // Ripplume goes first, on a line of its own after the header.
    const std::string value = HeaderValue(lines[first]);
    const auto after = lines.begin() + long(first) + 1;
    if (value == "\\") {
        lines.insert(after, EntryLine(true));
    } else {
        lines[first] = "programs:\t\\";
        if (value.empty()) {
            lines.insert(after, EntryLine(false));
        } else {
            lines.insert(after, {EntryLine(true), "\t\t\t\t" + value});
        }
    }
    return {JoinLines(lines), true};
}

ListEdit WithoutRipplume(const std::string& userFile) {
    Lines lines = SplitLines(userFile);
    const long header = FindHeader(lines, "programs:");
    if (header < 0) return {userFile, false};
    const size_t first = size_t(header);
    size_t last = BlockEnd(lines, first);
    bool changed = false;
    if (RunsRipplume(HeaderValue(lines[first]))) {
        lines[first] = Continues(lines[first]) ? "programs:\t\\" : "programs:";
        changed = true;
    }
    for (size_t i = last; i > first; --i) {
        if (!RunsRipplume(lines[i])) continue;
        const bool wasLast = i == last;
        lines.erase(lines.begin() + long(i));
        --last;
        changed = true;
        // The list now ends one line earlier: that line must not continue it.
        if (wasLast && Continues(lines[last])) lines[last].pop_back();
    }
    return {changed ? JoinLines(lines) : userFile, changed};
}
