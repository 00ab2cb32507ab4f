#include "common/winutil/file_exists.h"

#include "common/ports/process_port.h"

namespace kv {

bool FileExists(ProcessPort& process, const std::string& path) {
    return !path.empty() && process.FileExists(path);
}

}  // namespace kv
