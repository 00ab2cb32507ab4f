#include "win32/mouse_settings_port_win32.h"

#include <windows.h>

namespace kv::win32 {

bool Win32MouseSettingsPort::SystemParametersInfoA(unsigned action, unsigned param, void* data,
                                                   unsigned flags) {
    return ::SystemParametersInfoA(action, param, data, flags) != FALSE;
}

bool Win32MouseSettingsPort::SetDoubleClickTime(unsigned ms) {
    return ::SetDoubleClickTime(ms) != FALSE;
}

unsigned Win32MouseSettingsPort::GetDoubleClickTime() { return ::GetDoubleClickTime(); }

int Win32MouseSettingsPort::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

}  // namespace kv::win32
