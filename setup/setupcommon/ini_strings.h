// Reading and writing one INI value.
#pragma once

#include <string>

namespace kv {

class IniPort;

// The value read with a 255-character buffer and an empty default: "" when
// nothing was read, else the text up to its first NUL without trailing
// blanks.
std::string ReadIniString(IniPort& ini, const std::string& file, const std::string& section,
                          const std::string& key);

// True when the platform reports the write done.
bool WriteIniString(IniPort& ini, const std::string& file, const std::string& section,
                    const std::string& key, const std::string& text);

}  // namespace kv
