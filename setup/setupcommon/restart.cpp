#include "setup/setupcommon/restart.h"

#include "common/ports/desktop_port.h"
#include "common/ports/restart_port.h"

namespace kv {

bool RestartWindows(RestartPort& restart, DesktopPort& desktop, const std::string& title) {
    const int result = restart.ExitWindowsEx(kEwxReboot, 0);
    if (result != 0) return true;
    desktop.MessageBoxA(0, "Fail to restart system! (ExitWindowsEx=" + std::to_string(result) + ")",
                        title, kMbOk);
    return false;
}

}  // namespace kv
