// Running the package's file remover "unins000.exe /SILENT" and waiting
// for it: at most ten attempts, each letting window events run and then
// waiting up to a second for the process to end.
#pragma once

#include <functional>
#include <string>

namespace kv {

class ProcessWaitPort;

enum class RemoverOutcome { Finished, Startup, WaitFailed, WaitAbandoned, WaitTimeout };

inline constexpr int kRemoverAttempts = 10;
inline constexpr unsigned kRemoverAttemptMs = 1000;

// "\"<installPath>\unins000.exe\" /SILENT": the program path is quoted, as
// the installation folder may hold blanks.
std::string RemoverCommandLine(const std::string& installPath);

// Starts the remover in the normal show state, opens its process for
// waiting and waits; the process handle is closed before returning.
RemoverOutcome RunFileRemover(ProcessWaitPort& process, const std::string& installPath,
                              const std::function<void()>& runEvents);

// "Fail to remove files! (Startup)", "... (WAIT_FAILED)" and so on; "" for
// Finished.
std::string RemoverFailureText(RemoverOutcome outcome);

}  // namespace kv
