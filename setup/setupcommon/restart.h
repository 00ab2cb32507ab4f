// Restarting the system at the end of an installation or a removal.
#pragma once

#include <string>

namespace kv {

class DesktopPort;
class RestartPort;

// Asks for a restart (no forcing: programs may still save their work).
// When refused: "Fail to restart system! (ExitWindowsEx=<result>)" in a
// plain box titled `title`, and false.
bool RestartWindows(RestartPort& restart, DesktopPort& desktop, const std::string& title);

}  // namespace kv
