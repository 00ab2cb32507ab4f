// Whether a file can be opened for reading. Never fails loudly: a missing
// file, a missing folder or an empty path are all just false.
#pragma once

#include <string>

namespace kv {

class ProcessPort;

bool FileExists(ProcessPort& process, const std::string& path);

}  // namespace kv
