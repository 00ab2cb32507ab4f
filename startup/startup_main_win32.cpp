// KVSTART's entry point: the Win32 ports and forms, then the start
// procedure with the program's argument string.
#include <windows.h>

#include "startup/startup_program.h"
#include "win32/mouse_settings_port_win32.h"
#include "win32/ports_win32.h"
#include "win32/win32_forms.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    kv::win32::Win32FormPlatform forms(instance);
    kv::ui::SetPlatform(&forms);
    {
        kv::win32::Win32DevicePort device;
        kv::win32::Win32RegistryPort registry;
        kv::win32::Win32DesktopPort desktop;
        kv::win32::Win32ProcessPort process;
        kv::win32::Win32MouseSettingsPort mouse;
        kv::win32::Win32ClockPort clock;
        kv::startup::StartupProgram program(
            kv::startup::StartupPorts{device, registry, desktop, process, mouse, clock});
        if (program.Start(arguments != nullptr ? arguments : "")) forms.RunMessageLoop();
    }
    kv::ui::SetPlatform(nullptr);
    return 0;
}
