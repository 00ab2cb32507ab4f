// The other installer/uninstaller ports for unit tests: a process that
// answers a scripted series of waits, a restart that records its calls, and
// key-tree deletion on top of the fake registry.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/ports/process_wait_port.h"
#include "common/ports/registry_tree_port.h"
#include "common/ports/restart_port.h"
#include "tests/fakes/fake_registry.h"

namespace kv {

class FakeProcessWait : public ProcessWaitPort {
public:
    std::uint32_t StartProgram(const std::string& commandLine, int showState) override;
    NativeHandle OpenProcess(std::uint32_t access, bool inherit, std::uint32_t pid) override;
    std::uint32_t WaitForSingleObject(NativeHandle handle, std::uint32_t ms) override;
    bool CloseHandle(NativeHandle handle) override;

    std::uint32_t startPid = 4242;    // 0: the program cannot be started
    NativeHandle processHandle = 0x77;  // 0: the process cannot be opened
    // Answers of the waits, first first; kWaitTimeout once they run out.
    std::deque<std::uint32_t> waitResults;

    std::vector<std::string> events;  // "start <line> <show>", "open <access> <pid>", "wait <ms>", "close"
    int waits = 0;
    int openHandles = 0;
    std::function<void()> onWait;  // runs at every wait
};

class FakeRestart : public RestartPort {
public:
    int ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
        calls.push_back({flags, reason});
        return result;
    }
    struct CallRecord {
        std::uint32_t flags, reason;
    };
    std::vector<CallRecord> calls;
    int result = 1;
};

// Deletes the subkeys bottom-up with the fake registry's RegDeleteKeyA.
class FakeRegistryTree : public RegistryTreePort {
public:
    explicit FakeRegistryTree(FakeRegistry& registry) : registry_(registry) {}
    long RegDeleteTreeA(RegKey root, const char* path) override;

    std::vector<std::string> deleted;  // paths asked for, in order
    // Paths (folded) whose deletion fails with 5.
    std::vector<std::string> refuse;

private:
    long DeleteBelow(RegKey root, const std::string& path);
    FakeRegistry& registry_;
};

}  // namespace kv
