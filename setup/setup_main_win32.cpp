// KVSETUP's entry point: the Win32 ports and forms, then the installation.
// The program has no main window: it runs start to end and returns.
// "/SILENT" runs it unattended; its exit code then tells the outcome.
#include <windows.h>

#include "setup/setup_program.h"
#include "setup/setupcommon/unattended.h"
#include "setup/setupcommon/unattended_log_win32.h"
#include "win32/ports_win32.h"
#include "win32/setup_ports_win32.h"
#include "win32/win32_forms.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    const bool silent = kv::HasSilentSwitch(arguments ? arguments : "");
    int exitCode = 0;
    kv::win32::Win32FormPlatform forms(instance);
    kv::ui::SetPlatform(&forms);
    {
        kv::win32::Win32RegistryPort registry;
        kv::win32::Win32RegistryTreePort tree;
        kv::win32::Win32IniPort ini;
        kv::win32::Win32ProcessPort process;
        kv::win32::Win32DesktopPort desktop;
        kv::win32::Win32RestartPort restart;
        kv::FileFailureLog log(kv::UnattendedLogPath(), "KVSETUP");
        kv::UnattendedDesktop quiet(desktop, log);
        kv::DesktopPort& shown = silent ? static_cast<kv::DesktopPort&>(quiet) : desktop;
        kv::SetupProgram program(kv::SetupPorts{registry, tree, ini, process, shown, restart},
                                 silent ? &quiet : nullptr);
        exitCode = program.Run();
    }
    kv::ui::SetPlatform(nullptr);
    return exitCode;
}
