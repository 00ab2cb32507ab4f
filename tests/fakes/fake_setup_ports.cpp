#include "tests/fakes/fake_setup_ports.h"

#include <algorithm>
#include <cctype>

namespace kv {

namespace {
std::string Folded(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

std::uint32_t FakeProcessWait::StartProgram(const std::string& commandLine, int showState) {
    events.push_back("start " + commandLine + " " + std::to_string(showState));
    return startPid;
}

NativeHandle FakeProcessWait::OpenProcess(std::uint32_t access, bool, std::uint32_t pid) {
    events.push_back("open " + std::to_string(access) + " " + std::to_string(pid));
    if (processHandle != 0) ++openHandles;
    return processHandle;
}

std::uint32_t FakeProcessWait::WaitForSingleObject(NativeHandle, std::uint32_t ms) {
    ++waits;
    events.push_back("wait " + std::to_string(ms));
    if (onWait) onWait();
    if (waitResults.empty()) return kWaitTimeout;
    const std::uint32_t result = waitResults.front();
    waitResults.pop_front();
    return result;
}

bool FakeProcessWait::CloseHandle(NativeHandle handle) {
    events.push_back("close");
    if (handle == processHandle && handle != 0) --openHandles;
    return true;
}

long FakeRegistryTree::RegDeleteTreeA(RegKey root, const char* path) {
    const std::string p = path ? path : "";
    deleted.push_back(p);
    if (p.empty()) return FakeRegistry::kErrorInvalidParameter;
    if (std::find(refuse.begin(), refuse.end(), Folded(p)) != refuse.end())
        return FakeRegistry::kErrorAccessDenied;
    if (!registry_.KeyExists(root, p)) return kErrorFileNotFound;
    return DeleteBelow(root, p);
}

long FakeRegistryTree::DeleteBelow(RegKey root, const std::string& path) {
    for (const std::string& sub : registry_.SubkeyNames(root, path)) {
        const long result = DeleteBelow(root, path + "\\" + sub);
        if (result != kErrorSuccess) return result;
    }
    return registry_.RegDeleteKeyA(root, path.c_str());
}

}  // namespace kv
