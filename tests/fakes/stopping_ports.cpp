#include "tests/fakes/stopping_ports.h"

namespace kv {

long StoppingPorts::RegCreateKeyA(RegKey root, const char* path, RegKey* result) {
    RegKey probe = 0;
    const bool existed = registry_.RegOpenKeyA(root, path, &probe) == kErrorSuccess;
    if (existed) registry_.RegCloseKey(probe);
    const long created = registry_.RegCreateKeyA(root, path, result);
    if (!existed && created == kErrorSuccess && ++changes == stopAfter) throw RunStopped{};
    return created;
}

long StoppingPorts::Counted(bool changed, long result) {
    if (changed && ++changes == stopAfter) throw RunStopped{};
    return result;
}

}  // namespace kv
