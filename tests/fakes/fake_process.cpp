#include "tests/fakes/fake_process.h"

#include <cctype>

namespace kv {

namespace {

std::string Folded(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

}  // namespace

unsigned FakeProcess::WinExec(const std::string& commandLine, int showState) {
    execs.push_back({commandLine, showState});
    return winExecResult;
}

bool FakeProcess::PreviousInstanceRunning(const std::string& programId) {
    instanceQueries.push_back(programId);
    return runningPrograms.count(programId) != 0;
}

bool FakeProcess::FileExists(const std::string& path) {
    fileQueries.push_back(path);
    return !path.empty() && files_.count(Folded(path)) != 0;
}

void FakeProcess::AddFile(const std::string& path) { files_.insert(Folded(path)); }

void FakeProcess::RemoveFile(const std::string& path) { files_.erase(Folded(path)); }

}  // namespace kv
