#include "setup/setupcommon/unattended.h"

#include <cctype>
#include <cstdio>
#include <ctime>

namespace kv {

bool HasSilentSwitch(std::string_view arguments) {
    constexpr std::string_view kSwitch = "/SILENT";
    std::size_t at = 0;
    while (at < arguments.size()) {
        while (at < arguments.size() && (arguments[at] == ' ' || arguments[at] == '\t')) ++at;
        std::size_t end = at;
        while (end < arguments.size() && arguments[end] != ' ' && arguments[end] != '\t') ++end;
        const std::string_view word = arguments.substr(at, end - at);
        if (word.size() == kSwitch.size()) {
            bool same = true;
            for (std::size_t i = 0; i < word.size(); ++i)
                same = same && std::toupper(static_cast<unsigned char>(word[i])) == kSwitch[i];
            if (same) return true;
        }
        at = end;
    }
    return false;
}

void FileFailureLog::Write(const std::string& text) {
    std::FILE* file = std::fopen(path_.c_str(), "ab");
    if (!file) return;
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
    // A box's line breaks would split one failure over several log lines.
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        line += c == '\n' ? ' ' : c;
    }
    std::fprintf(file, "%s %s: %s\r\n", stamp, program_.c_str(), line.c_str());
    std::fclose(file);
}

int UnattendedDesktop::MessageBoxA(WindowHandle, const std::string& text, const std::string&,
                                   unsigned) {
    log_.Write(text);
    failed_ = true;
    return kIdOk;
}

}  // namespace kv
