#include "tests/fakes/fake_ini.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

namespace kv {

namespace {

std::string Folded(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trimmed(const std::string& text) {
    std::size_t a = 0, b = text.size();
    while (a < b && Blank(text[a])) ++a;
    while (b > a && Blank(text[b - 1])) --b;
    return text.substr(a, b - a);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// "[name]" -> name; nullopt for other lines.
std::optional<std::string> SectionName(const std::string& line) {
    const std::string t = Trimmed(line);
    if (t.empty() || t.front() != '[') return std::nullopt;
    const std::size_t close = t.find(']');
    return Trimmed(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The line index of key `key` in section `section`, or -1; `sectionEnd`
// receives the index after the section's last line (-1 when missing).
int FindKey(const std::vector<std::string>& lines, const std::string& section,
            const std::string& key, int& sectionEnd) {
    bool inSection = false;
    sectionEnd = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i])) {
            if (inSection) return -1;
            inSection = Folded(*name) == Folded(section);
            if (inSection) sectionEnd = static_cast<int>(i) + 1;
            continue;
        }
        if (!inSection) continue;
        if (!Trimmed(lines[i]).empty()) sectionEnd = static_cast<int>(i) + 1;
        const std::size_t eq = lines[i].find('=');
        if (eq == std::string::npos) continue;
        if (Folded(Trimmed(lines[i].substr(0, eq))) == Folded(key)) return static_cast<int>(i);
    }
    return -1;
}

std::string ValueOf(const std::string& line) {
    std::string v = Trimmed(line.substr(line.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

unsigned FakeIni::GetPrivateProfileStringA(const char* section, const char* key,
                                           const char* defaultText, char* buffer,
                                           unsigned bufferSize, const char* file) {
    ++reads;
    if (buffer == nullptr || bufferSize == 0) return 0;
    std::string value = defaultText ? defaultText : "";
    const auto it = files_.find(Folded(file ? file : ""));
    if (it != files_.end() && section && key) {
        const std::vector<std::string> lines = Lines(it->second);
        int end = -1;
        const int at = FindKey(lines, section, key, end);
        if (at >= 0) value = ValueOf(lines[static_cast<std::size_t>(at)]);
    }
    const std::size_t n = std::min<std::size_t>(value.size(), bufferSize - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<unsigned>(n);
}

bool FakeIni::WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                         const char* file) {
    if (writeAttempts++ == failWriteAt || !section || !key || !file) return false;
    const std::string folded = Folded(file);
    std::vector<std::string> lines = Lines(files_[folded]);
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    const std::string entry = std::string(key) + "=" + (text ? text : "");
    int end = -1;
    const int at = FindKey(lines, section, key, end);
    if (at >= 0) {
        lines[static_cast<std::size_t>(at)] = entry;
    } else if (end >= 0) {
        lines.insert(lines.begin() + end, entry);
    } else {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(entry);
    }
    std::string out;
    for (const std::string& line : lines) {
        std::string l = line;
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out += l + "\r\n";
    }
    files_[folded] = out;
    writes.push_back({file, section, key, text ? text : ""});
    return true;
}

bool FakeIni::CopyIniFile(const char* from, const char* to) {
    const auto it = files_.find(Folded(from));
    if (it == files_.end()) return false;
    files_[Folded(to)] = it->second;
    return true;
}

bool FakeIni::MoveIniFile(const char* from, const char* to) {
    if (!CopyIniFile(from, to)) return false;
    if (Folded(from) != Folded(to)) files_.erase(Folded(from));
    return true;
}

bool FakeIni::DeleteIniFile(const char* path) { return files_.erase(Folded(path)) > 0; }

void FakeIni::SetFile(const std::string& path, const std::string& text) { files_[Folded(path)] = text; }

std::string FakeIni::Value(const std::string& path, const std::string& section,
                           const std::string& key) const {
    const auto it = files_.find(Folded(path));
    if (it == files_.end()) return "";
    const std::vector<std::string> lines = Lines(it->second);
    int end = -1;
    const int at = FindKey(lines, section, key, end);
    return at < 0 ? "" : ValueOf(lines[static_cast<std::size_t>(at)]);
}

}  // namespace kv
