// Running the package's file remover "unins000.exe /SILENT" and waiting
// for it in rounds of attempts, each letting window events run and then
// waiting up to a second for the process to end.
#pragma once

#include <functional>
#include <string>

namespace kv {

class ProcessPort;
class ProcessWaitPort;

enum class RemoverOutcome {
    Finished,
    AlreadyRemoved,  // no remover to start and no program file left: an earlier run removed them
    Startup,
    WaitFailed,
    WaitAbandoned,
    WaitTimeout
};

inline constexpr int kRemoverAttempts = 10;
inline constexpr unsigned kRemoverAttemptMs = 1000;
// Unattended, nobody can be asked to wait longer: five minutes in all.
inline constexpr int kRemoverUnattendedAttempts = 300;

struct RemoverWait {
    // No one to ask: one round of kRemoverUnattendedAttempts, no question.
    bool unattended = false;
    // Interactive: asked after each round of kRemoverAttempts the remover
    // outlived; true waits one more round. Unset: the first round is all.
    std::function<bool()> waitAgain;
};

// "\"<installPath>\unins000.exe\" /SILENT": the program path is quoted, as
// the installation folder may hold blanks.
std::string RemoverCommandLine(const std::string& installPath);

// Starts the remover in the normal show state, opens its process for
// waiting and waits; the process handle is closed before returning.
RemoverOutcome RunFileRemover(ProcessWaitPort& process, ProcessPort& files,
                              const std::string& installPath,
                              const std::function<void()>& runEvents, const RemoverWait& wait = {});

// The removal's registry steps may follow.
inline bool RemoverDone(RemoverOutcome outcome) {
    return outcome == RemoverOutcome::Finished || outcome == RemoverOutcome::AlreadyRemoved;
}

// "Fail to remove files! (Startup)", "... (WAIT_FAILED)" and so on; "" when
// the files are gone.
std::string RemoverFailureText(RemoverOutcome outcome);

}  // namespace kv
