// Starting and commanding the two companion programs: the right-button
// agent KVRBTN and the rotation program KVROTATE. Their windows are never
// looked up by title: the driver holds their registrations.
#pragma once

#include <cstdint>
#include <string>

#include "common/ports/desktop_port.h"

namespace kv {

class DeviceChannel;
class ProcessPort;

// Commands, sent as WM_USER with the command in wParam and lParam 0.
inline constexpr std::uintptr_t AgentHide = 0x1000;
inline constexpr std::uintptr_t AgentShow = 0x1001;
inline constexpr std::uintptr_t AgentClose = 0x100E;
inline constexpr std::uintptr_t RotatorClose = 0x200E;

inline constexpr const char* kAgentFileName = "KVRBTN.exe";
inline constexpr const char* kRotatorFileName = "KVROTATE.exe";

inline constexpr int kShowHidden = 0;
inline constexpr int kShowNormal = 1;

// "\"<installPath>\<file>\"": quoted, because the installation folder has
// blanks in it and the platform would otherwise try "C:\Program" first.
std::string CompanionCommandLine(const std::string& installPath, const std::string& fileName);

// Starts KVRBTN hidden; true when the platform started it.
bool StartAgent(ProcessPort& process, const std::string& installPath);
// Starts KVROTATE in the normal show state; true when started.
bool StartRotator(ProcessPort& process, const std::string& installPath);

// A window handle as the driver stores it (32 bits), widened the way the
// platform hands handles out (sign-extended).
WindowHandle RegisteredWindow(std::int32_t registration);

// True when `registration` names a window that still exists. -1 (none),
// 0 and the handle of a window that has gone all count as no window.
bool RegisteredWindowAlive(DesktopPort& desktop, std::int32_t registration);

// Asks the driver for the agent's window and, when an agent is registered
// and its window still exists, sends it `command`. Nothing is sent otherwise.
void NotifyAgent(DeviceChannel& channel, DesktopPort& desktop, std::uintptr_t command);

// The same for the rotation program, with RotatorClose.
void CloseRotator(DeviceChannel& channel, DesktopPort& desktop);

}  // namespace kv
