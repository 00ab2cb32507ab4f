#include "remove/file_remover.h"

#include "common/ports/process_wait_port.h"
#include "common/winutil/companions.h"
#include "common/winutil/file_exists.h"

namespace kv {

namespace {

constexpr const char* kRemoverFileName = "unins000.exe";

// What the package puts into the installation folder and its remover takes away.
constexpr const char* kPackagePrograms[] = {"KVPANEL.exe", "KVSTART.exe", "KVRBTN.exe", "KVSETUP.exe",
                                            "KVREMOVE.exe", kRemoverFileName};

// An earlier run got past the remover and was stopped before the registry
// was done: nothing is left to remove, and a refusal would leave the mouse
// class naming a driver whose files are gone.
bool PackageFilesGone(ProcessPort& files, const std::string& installPath) {
    for (const char* name : kPackagePrograms)
        if (FileExists(files, installPath + "\\" + name)) return false;
    return true;
}

}  // namespace

std::string RemoverCommandLine(const std::string& installPath) {
    return CompanionCommandLine(installPath, kRemoverFileName) + " /SILENT";
}

RemoverOutcome RunFileRemover(ProcessWaitPort& process, ProcessPort& files,
                              const std::string& installPath,
                              const std::function<void()>& runEvents, const RemoverWait& wait) {
    const std::uint32_t pid = process.StartProgram(RemoverCommandLine(installPath), kShowNormal);
    if (pid == 0)
        return PackageFilesGone(files, installPath) ? RemoverOutcome::AlreadyRemoved
                                                    : RemoverOutcome::Startup;
    const NativeHandle handle = process.OpenProcess(kSynchronize, false, pid);
    if (handle == 0) return RemoverOutcome::Startup;

    const int round = wait.unattended ? kRemoverUnattendedAttempts : kRemoverAttempts;
    RemoverOutcome outcome = RemoverOutcome::WaitTimeout;
    for (int attempt = 1;; ++attempt) {
        if (runEvents) runEvents();
        const std::uint32_t result = process.WaitForSingleObject(handle, kRemoverAttemptMs);
        if (result == kWaitTimeout) {
            if (attempt % round != 0) continue;
            if (!wait.unattended && wait.waitAgain && wait.waitAgain()) continue;
            break;
        }
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
    case RemoverOutcome::AlreadyRemoved:
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
