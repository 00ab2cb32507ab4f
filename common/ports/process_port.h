// Starting programs, files, and the single-instance test.
#pragma once

#include <string>

namespace kv {

class ProcessPort {
public:
    virtual ~ProcessPort() = default;
    // WinExec: returns the platform's result (>= 32 means started).
    virtual unsigned WinExec(const std::string& commandLine, int showState) = 0;
    // True when another instance of the program named `programId` runs.
    // The first caller claims the name for as long as its process lives.
    virtual bool PreviousInstanceRunning(const std::string& programId) = 0;
    // Whether the path names a file this process could read.
    virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace kv
