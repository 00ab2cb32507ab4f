// What each program calls itself, in its window title and on its boxes,
// and the id under which it claims to be the only copy running.
#pragma once

namespace kv {

inline constexpr const char* kPanelTitle = " TouchScreen Control Panel #KV-PS2";
inline constexpr const char* kStartupTitle = " TouchScreen System Startup #KV-PS2";
inline constexpr const char* kRButtonTitle = " TouchScreen Right-Button #KV-PS2";
inline constexpr const char* kRemoveTitle = "TouchScreen Software Removal";
inline constexpr const char* kSetupTitle = "TouchScreen Driver Installation";

inline constexpr const char* kPanelProgramId = "KVPANEL";
inline constexpr const char* kStartupProgramId = "KVSTART";
inline constexpr const char* kRButtonProgramId = "KVRBTN";
inline constexpr const char* kRemoveProgramId = "KVREMOVE";
inline constexpr const char* kSetupProgramId = "KVSETUP";

}  // namespace kv
