#include "common/winutil/companions.h"

#include "common/device/device_channel.h"
#include "common/ports/process_port.h"

namespace kv {

namespace {
constexpr unsigned kWinExecStarted = 32;

bool Start(ProcessPort& process, const std::string& installPath, const char* fileName,
           int showState) {
    return process.WinExec(CompanionCommandLine(installPath, fileName), showState) >=
           kWinExecStarted;
}

void SendCommand(DesktopPort& desktop, std::int32_t registration, std::uintptr_t command) {
    if (!RegisteredWindowAlive(desktop, registration)) return;
    // The result is not used: a receiver that has just gone fails silently.
    desktop.SendMessageA(RegisteredWindow(registration), kWmUser, command, 0);
}
}  // namespace

std::string CompanionCommandLine(const std::string& installPath, const std::string& fileName) {
    return "\"" + installPath + "\\" + fileName + "\"";
}

bool StartAgent(ProcessPort& process, const std::string& installPath) {
    return Start(process, installPath, kAgentFileName, kShowHidden);
}

bool StartRotator(ProcessPort& process, const std::string& installPath) {
    return Start(process, installPath, kRotatorFileName, kShowNormal);
}

WindowHandle RegisteredWindow(std::int32_t registration) {
    return static_cast<WindowHandle>(registration);
}

bool RegisteredWindowAlive(DesktopPort& desktop, std::int32_t registration) {
    if (registration == -1 || registration == 0) return false;
    return desktop.IsWindow(RegisteredWindow(registration));
}

void NotifyAgent(DeviceChannel& channel, DesktopPort& desktop, std::uintptr_t command) {
    channel.GetAgentWindow();
    SendCommand(desktop, channel.Agent.AgentWindow, command);
}

void CloseRotator(DeviceChannel& channel, DesktopPort& desktop) {
    channel.GetRotatorWindow();
    SendCommand(desktop, channel.Rotator.RotatorWindow, RotatorClose);
}

}  // namespace kv
