// Program start, files and the single-instance test for unit tests:
// records every WinExec with its show state, answers with a settable
// result, and keeps a set of existing files (matched without regard to
// case, as the platform's file system does) and of running programs.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "common/ports/process_port.h"

namespace kv {

class FakeProcess : public ProcessPort {
public:
    struct Exec {
        std::string commandLine;
        int showState = 0;
    };

    unsigned WinExec(const std::string& commandLine, int showState) override;
    bool PreviousInstanceRunning(const std::string& programId) override;
    bool FileExists(const std::string& path) override;

    void AddFile(const std::string& path);
    void RemoveFile(const std::string& path);

    std::vector<Exec> execs;
    unsigned winExecResult = 33;  // >= 32: started

    std::set<std::string> runningPrograms;  // ids another instance holds
    std::vector<std::string> instanceQueries;

    std::vector<std::string> fileQueries;

private:
    std::set<std::string> files_;  // folded to lower case
};

}  // namespace kv
