// INI files for unit tests, read the way the platform reads them: the file
// text is parsed at every call, sections and keys match without regard to
// case, blanks around a value and one pair of enclosing quotes are dropped,
// and the value is cut to the caller's buffer. A missing file answers the
// default. Writes keep the order they were made in and rewrite the text.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/ports/ini_port.h"

namespace kv {

class FakeIni : public IniPort {
public:
    struct Write {
        std::string file, section, key, text;
    };

    unsigned GetPrivateProfileStringA(const char* section, const char* key, const char* defaultText,
                                      char* buffer, unsigned bufferSize, const char* file) override;
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                    const char* file) override;

    bool CopyIniFile(const char* from, const char* to) override;
    bool MoveIniFile(const char* from, const char* to) override;
    bool DeleteIniFile(const char* path) override;

    void SetFile(const std::string& path, const std::string& text);
    // The value as the platform would read it; "" when missing.
    std::string Value(const std::string& path, const std::string& section,
                      const std::string& key) const;

    // Every file's text, by path folded to lower case.
    const std::map<std::string, std::string>& Files() const { return files_; }

    std::vector<Write> writes;  // successful writes, in order
    int reads = 0;
    // Writes with this index (0-based, counting every attempt) fail.
    int failWriteAt = -1;
    int writeAttempts = 0;

private:
    std::map<std::string, std::string> files_;  // folded path -> text
};

}  // namespace kv
