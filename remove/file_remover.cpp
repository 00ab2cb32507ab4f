#include "remove/file_remover.h"

#include "common/ports/process_wait_port.h"
#include "common/winutil/companions.h"

namespace kv {

std::string RemoverCommandLine(const std::string& installPath) {
    return CompanionCommandLine(installPath, "unins000.exe") + " /SILENT";
}

RemoverOutcome RunFileRemover(ProcessWaitPort& process, const std::string& installPath,
                              const std::function<void()>& runEvents) {
    const std::uint32_t pid = process.StartProgram(RemoverCommandLine(installPath), kShowNormal);
    if (pid == 0) return RemoverOutcome::Startup;
    const NativeHandle handle = process.OpenProcess(kSynchronize, false, pid);
    if (handle == 0) return RemoverOutcome::Startup;

    RemoverOutcome outcome = RemoverOutcome::WaitTimeout;
    for (int attempt = 0; attempt < kRemoverAttempts; ++attempt) {
        if (runEvents) runEvents();
        const std::uint32_t result = process.WaitForSingleObject(handle, kRemoverAttemptMs);
        if (result == kWaitTimeout) continue;
        if (result == kWaitObject0)
            outcome = RemoverOutcome::Finished;
        else if (result == kWaitAbandoned)
            outcome = RemoverOutcome::WaitAbandoned;
        else
            outcome = RemoverOutcome::WaitFailed;  // WAIT_FAILED, or an answer no wait gives
        break;
    }
    process.CloseHandle(handle);
    return outcome;
}

std::string RemoverFailureText(RemoverOutcome outcome) {
    switch (outcome) {
    case RemoverOutcome::Finished:
        return "";
    case RemoverOutcome::Startup:
        return "Fail to remove files! (Startup)";
    case RemoverOutcome::WaitFailed:
        return "Fail to remove files! (WAIT_FAILED)";
    case RemoverOutcome::WaitAbandoned:
        return "Fail to remove files! (WAIT_ABANDONED)";
    case RemoverOutcome::WaitTimeout:
        return "Fail to remove files! (WAIT_TIMEOUT)";
    }
    return "";
}

}  // namespace kv
