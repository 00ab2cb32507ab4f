#include "setup/setupcommon/ini_strings.h"

#include <array>

#include "common/ports/ini_port.h"
#include "common/registry/registry_store.h"

namespace kv {

std::string ReadIniString(IniPort& ini, const std::string& file, const std::string& section,
                          const std::string& key) {
    std::array<char, 255> buffer{};
    const unsigned n = ini.GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(),
                                                    static_cast<unsigned>(buffer.size()), file.c_str());
    if (n == 0) return "";
    // A port that reports more than fits is believed only as far as the buffer goes.
    std::string text(buffer.data(), n < buffer.size() ? n : buffer.size());
    text = TrimAtNul(text);
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}

bool WriteIniString(IniPort& ini, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& text) {
    return ini.WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), file.c_str());
}

}  // namespace kv
