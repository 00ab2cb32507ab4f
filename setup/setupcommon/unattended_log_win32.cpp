#include "setup/setupcommon/unattended_log_win32.h"

#include <windows.h>

namespace kv {

std::string UnattendedLogPath() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    std::string path = length > 0 && length < sizeof folder ? folder : "C:\\";
    if (path.back() != '\\') path += '\\';
    return path + kUnattendedLogName;
}

}  // namespace kv
