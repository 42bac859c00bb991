#include "host/startup/ini_bytes.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(const std::string& text, size_t from, size_t to) {
    while (from < to && IsBlank(text[from])) ++from;
    while (to > from && IsBlank(text[to - 1])) --to;
    return text.substr(from, to - from);
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string Unquoted(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace

bool FindIniValue(const std::string& fileBytes, const std::string& section, const std::string& key,
                  std::string& value) {
    bool inSection = false;
    bool sectionSeen = false;
    const std::string utf8Mark = "\xEF\xBB\xBF";
    size_t at = fileBytes.compare(0, utf8Mark.size(), utf8Mark) == 0 ? utf8Mark.size() : 0;
    while (at < fileBytes.size()) {
        size_t end = fileBytes.find('\n', at);
        if (end == std::string::npos) end = fileBytes.size();
        const std::string line = Trimmed(fileBytes, at, end);
        at = end + 1;
        if (!line.empty() && line.front() == '[') {
            if (sectionSeen && inSection) return false;  // only the first such section counts
            const size_t close = line.find(']');
            inSection = SameName(Trimmed(line, 1, close == std::string::npos ? line.size() : close), section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const size_t equals = line.find('=');
        if (inSection && equals != std::string::npos && SameName(Trimmed(line, 0, equals), key)) {
            value = Unquoted(Trimmed(line, equals + 1, line.size()));
            return true;
        }
    }
    return false;
}
