// KVREMOVE's entry point: the Win32 ports and forms, then the question.
// "/SILENT" removes without the window; the exit code tells the outcome.
#include <windows.h>

#include "remove/removal_window.h"
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
        kv::win32::Win32DevicePort device;
        kv::win32::Win32ProcessWaitPort processWait;
        kv::win32::Win32ClockPort clock;
        kv::FileFailureLog log(kv::UnattendedLogPath(), "KVREMOVE");
        kv::UnattendedDesktop quiet(desktop, log);
        kv::DesktopPort& shown = silent ? static_cast<kv::DesktopPort&>(quiet) : desktop;
        kv::RemovalWindow window(
            kv::RemovePorts{kv::SetupPorts{registry, tree, ini, process, shown, restart}, device,
                            processWait, clock},
            silent ? &quiet : nullptr);
        if (silent)
            exitCode = window.RunUnattended();
        else if (window.Start())
            forms.RunMessageLoop();
    }
    kv::ui::SetPlatform(nullptr);
    return exitCode;
}
