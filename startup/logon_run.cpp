#include "startup/logon_run.h"

#include "common/ports/mouse_settings_port.h"
#include "common/winutil/companions.h"
#include "common/winutil/message_boxes.h"
#include "common/winutil/program_titles.h"
#include "startup/startup_context.h"

namespace kv::startup {

namespace {
constexpr const char* kControllerNotFoundText = "TouchScreen Controller Not Found!";
constexpr std::uint8_t kDragDropMode = 4;
}  // namespace

bool NeedsRightButtonAgent(const TouchParams& block) {
    return block.RBFunction == 1 && !(block.RBAutoMode != 0 && block.TouchMode == kDragDropMode);
}

bool RunDriverSteps(StartupContext& context) {
    DeviceChannel& channel = context.device;
    if (!channel.OpenDevice()) {
        DeviceChannel::ReportOpenFailure(context.desktop, kStartupTitle);
        return false;
    }
    channel.GetParams();
    TouchParams& block = channel.Params;
    if (block.DetectedPort == 0) {
        ErrorBox(context.desktop, kControllerNotFoundText, kStartupTitle);
        channel.CloseDevice();
        return false;
    }

    // A running rotation program tells the driver the screen size itself.
    if (!StartRotator(context.process, context.product.InstallPath)) {
        block.ScreenWidth = static_cast<std::int16_t>(context.mouse.GetSystemMetrics(kSmCxScreen));
        block.ScreenHeight = static_cast<std::int16_t>(context.mouse.GetSystemMetrics(kSmCyScreen));
        channel.SetScreenSize();
    }

    if (NeedsRightButtonAgent(block)) {
        channel.GetAgentWindow();
        // A registration whose window has gone (an agent that crashed in an
        // earlier session) counts as no agent, or none would ever start.
        const bool agentRunning = RegisteredWindowAlive(context.desktop, channel.Agent.AgentWindow);
        if (!agentRunning && !StartAgent(context.process, context.product.InstallPath))
            ErrorBox(context.desktop, kAgentStartFailureText, kStartupTitle);
        // Automatic mode keeps a running agent's button out of sight; an
        // agent started just now has not registered yet and is not told.
        if (block.RBAutoMode == 1 && agentRunning)
            NotifyAgent(channel, context.desktop, AgentHide);
    }

    channel.CloseDevice();
    return true;
}

}  // namespace kv::startup
