// Where unattended runs of the installer and the uninstaller log their
// failures.
#pragma once

#include <string>

namespace kv {

inline constexpr const char* kUnattendedLogName = "TouchScreen.log";

// "<the temporary folder>\TouchScreen.log" (GetTempPathA).
std::string UnattendedLogPath();

}  // namespace kv
