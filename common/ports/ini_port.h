// Private-profile (INI) files as GetPrivateProfileStringA and
// WritePrivateProfileStringA offer them.
#pragma once

#include <string>

namespace kv {

class IniPort {
public:
    virtual ~IniPort() = default;
    // Copies at most bufferSize - 1 characters of the value (the default
    // when the file, section or key is missing) and a NUL; returns the
    // count copied, without the NUL.
    virtual unsigned GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultText, char* buffer,
                                              unsigned bufferSize, const char* file) = 0;
    // True when the platform reports the write done.
    virtual bool WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                            const char* file) = 0;

    // Whole files, to keep a copy of one while it is rewritten (a write
    // rewrites the file and is not safe to stop): CopyFileA, MoveFileExA
    // replacing `to` in one step, DeleteFileA. True on success.
    virtual bool CopyIniFile(const char* from, const char* to) = 0;
    virtual bool MoveIniFile(const char* from, const char* to) = 0;
    virtual bool DeleteIniFile(const char* path) = 0;
};

}  // namespace kv
