// KVPANEL's entry point: the Win32 ports and forms, then the main window.
#include <windows.h>

#include "panel/panel_program.h"
#include "win32/ports_win32.h"
#include "win32/win32_forms.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    kv::win32::Win32FormPlatform forms(instance);
    kv::ui::SetPlatform(&forms);
    {
        kv::win32::Win32DevicePort device;
        kv::win32::Win32RegistryPort registry;
        kv::win32::Win32DesktopPort desktop;
        kv::win32::Win32ProcessPort process;
        kv::panel::PanelProgram program(kv::PanelPorts{device, registry, desktop, process});
        if (program.Start()) forms.RunMessageLoop();
    }
    kv::ui::SetPlatform(nullptr);
    return 0;
}
