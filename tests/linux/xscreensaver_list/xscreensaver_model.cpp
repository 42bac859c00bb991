#include "tests/linux/xscreensaver_list/xscreensaver_model.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Stripped(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && Blank(s[b])) ++b;
    while (e > b && Blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

}  // namespace

std::map<std::string, std::string> ReadValues(const std::string& file) {
    std::map<std::string, std::string> values;
    if (file.empty()) return values;
    std::FILE* in = fmemopen(const_cast<char*>(file.data()), file.size(), "r");
    std::vector<char> buf(1024);
    while (std::fgets(buf.data(), int(buf.size()) - 1, in)) {
        size_t n = std::strlen(buf.data());
        while (n > 2 && (buf[n - 1] != '\n' || buf[n - 2] == '\\')) {
            if (buf[n - 2] == '\\') buf[n -= 2] = 0;
            buf.resize(buf.size() + 1024);
            if (!std::fgets(buf.data() + n, int(buf.size() - n) - 1, in)) break;
            n = std::strlen(buf.data());
        }
        std::string line;
        for (const char* c = buf.data(); *c; ++c) {
            if (*c != '\\') {
                line += *c;
            } else if (c[1]) {
                ++c;
                line += *c == 'n' ? '\n' : *c == 'r' ? '\r' : *c == 't' ? '\t' : *c;
            } else {
                break;
            }
        }
        line = Stripped(line);
        const size_t colon = line.find(':');
        if (line.empty() || std::strchr("#!;", line[0]) || colon == std::string::npos) continue;
        std::string key = line.substr(0, colon);
        for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
        values[key] = Stripped(line.substr(colon + 1));
    }
    std::fclose(in);
    return values;
}

namespace {

Hack ParseHack(const std::string& text) {
    Hack hack;
    size_t at = 0;
    const auto skip = [&] {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    };
    skip();
    if (at < text.size() && text[at] == '-') {
        hack.Enabled = false;
        ++at;
        skip();
    }
    const size_t word = text.find_first_of(":\" \t\n\r\v\f", at);
    if (word != std::string::npos && text[word] == ':') {
        hack.Visual = text.substr(at, word - at);
        at = word + 1;
        skip();
    }
    if (at < text.size() && text[at] == '"') {
        const size_t close = std::min(text.find('"', at + 1), text.size());
        hack.Name = text.substr(at + 1, close - at - 1);
        at = std::min(close + 1, text.size());
        skip();
    }
    // The command (XScreenSaver squeezes its blanks, which changes no comparison here).
    hack.Command = text.substr(at);
    while (!hack.Command.empty() && std::isspace(static_cast<unsigned char>(hack.Command.back())))
        hack.Command.pop_back();
    return hack;
}

}  // namespace

// The user's file, or for its list while it has none, the system's.
Seen SeenByXScreenSaver(const std::string& file, const std::string& system) {
    Seen seen;
    seen.Settings = ReadValues(file);
    std::string list;
    if (seen.Settings.count("programs")) {
        list = seen.Settings["programs"];
    } else {
        list = ReadValues(system)["*programs"];
    }
    seen.Settings.erase("programs");
    for (size_t start = 0; start < list.size();) {
        start = std::min(list.find_first_not_of(" \t\n", start), list.size());
        const size_t end = std::min(list.find('\n', start), list.size());
        seen.List.push_back(ParseHack(list.substr(start, end - start)));
        start = end + 1;
    }
    if (seen.Settings.count("selected")) {
        const int selected = std::atoi(seen.Settings["selected"].c_str());
        if (selected >= 0 && selected < int(seen.List.size())) {
            seen.Selected = selected;
        } else {
            seen.SelectedPastEnd = true;
        }
    }
    seen.Settings.erase("selected");
    return seen;
}

bool IsRipplume(const Hack& hack) {
    const std::string word = hack.Command.substr(0, hack.Command.find_first_of(" \t\n\r\v\f"));
    return word.substr(word.rfind('/') + 1) == "ripplume";
}

namespace {

std::vector<Hack> Others(const std::vector<Hack>& list) {
    std::vector<Hack> others;
    for (const Hack& hack : list)
        if (!IsRipplume(hack)) others.push_back(hack);
    return others;
}

}  // namespace

int RipplumesIn(const std::vector<Hack>& list, bool enabledOnly) {
    int count = 0;
    for (const Hack& hack : list) count += IsRipplume(hack) && (hack.Enabled || !enabledOnly);
    return count;
}

std::string WhatElseChanged(const std::string& before, const std::string& after, const std::string& system,
                            bool listed) {
    const Seen was = SeenByXScreenSaver(before, system), is = SeenByXScreenSaver(after, system);
    if (is.Settings != was.Settings) return "another setting changed";
    if (!(Others(is.List) == Others(was.List))) return "another mode of the list changed";
    if (listed) {
        if (RipplumesIn(is.List, true) < 1) return "Ripplume is not listed and enabled";
        if (RipplumesIn(is.List, false) != std::max(1, RipplumesIn(was.List, false)))
            return "Ripplume is listed more often than before";
    } else if (RipplumesIn(is.List, false) != 0) {
        return "Ripplume is still listed";
    }
    // The mode the user chose is still the one chosen; a choice past the end stays past it.
    if (was.Selected >= 0 && !IsRipplume(was.List[size_t(was.Selected)])) {
        if (is.Selected < 0 || !(is.List[size_t(is.Selected)] == was.List[size_t(was.Selected)]))
            return "the chosen mode changed";
    }
    if (was.SelectedPastEnd && !is.SelectedPastEnd) return "a choice past the end of the list now names a mode";
    return "";
}
