// The driver's part of a logon run: the screen size when no rotation
// program is there to tell it, and the right-button agent when the
// driver's right-button function needs one.
#pragma once

#include "common/device/kvtouch_protocol.h"

namespace kv::startup {

struct StartupContext;

inline constexpr const char* kAgentStartFailureText = "Fail to initialize Right Button Function!";

// The right-button function needs the agent unless automatic mode drags
// and drops (touch mode 4), where the driver does without a button.
bool NeedsRightButtonAgent(const TouchParams& block);

// Opens the device, reads the block, starts KVROTATE (or sends the screen
// size when it cannot be started), looks after the agent and closes the
// device. False when the device could not be opened or no controller was
// found: the user has been told and the program ends at once.
bool RunDriverSteps(StartupContext& context);

}  // namespace kv::startup
