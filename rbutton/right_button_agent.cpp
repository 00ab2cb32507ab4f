#include "rbutton/right_button_agent.h"

#include <cstdio>

#include "common/winutil/companions.h"
#include "common/winutil/program_titles.h"

namespace kv {

std::string UnknownCommandText(std::uintptr_t wParam, std::intptr_t lParam) {
    // The message parameters are shown as the 32-bit words the other
    // programs send, so -1 reads "FFFFFFFFh" on every platform.
    char text[96];
    std::snprintf(text, sizeof text, "RBF_WndProc Fail! wParam=%Xh, lParam=%Xh",
                  static_cast<unsigned>(static_cast<std::uint32_t>(wParam)),
                  static_cast<unsigned>(static_cast<std::uint32_t>(lParam)));
    return text;
}

RightButtonAgent::RightButtonAgent(DeviceChannel& device, DesktopPort& desktop, AgentHost& host)
    : device_(device), desktop_(desktop), host_(host), form_(kFormName) {
    Design();
}

void RightButtonAgent::Design() {
    form_.SetCaption(kDesignCaption);
    // A tool window: the caption bar stays small and the platform imposes no
    // minimum width on it, so the client area can be exactly the button.
    form_.SetBorderStyle(ui::kBorderFixedToolWindow);
    // It appears beside the user's window without taking the keyboard from
    // it; tapping it activates it as usual.
    form_.SetActivateOnShow(false);
    form_.SetIconResource(1);
    ui::Control& action = form_.Add(ui::ControlKind::CommandButton, "cmdAction");
    action.Move(0, 0, kButtonTwips, kButtonTwips);
    action.SetCaption("");
    action.SetPicture(ui::Platform().LoadResPicture(kButtonPicture, ui::PictureData::Type::Bitmap));

    action.Click = [this] { Arm(); };
    form_.OnLoad = [this] { Load(); };
    form_.OnUnload = [this] { Unload(); };
    // Cancelling the armed wait: a key, or a left or right button press on
    // the window (the button is hidden while armed, so the press lands on
    // the window itself).
    form_.OnKeyDown = [this](int, int) { Cancel(); };
    form_.OnMouseDown = [this](int button, int, int, int) {
        if (button == ui::kLeftButton || button == ui::kRightButton) Cancel();
    };
}

void RightButtonAgent::SetUpWindow() {
    form_.SetCaption(std::string(" ") + "P" + "-RBF");
    form_.SetBackColor(ui::kSysButtonFace);
    waiting_ = 0;
    ui::Control& action = form_.Ctl("cmdAction");
    action.SetTop(0);
    action.SetLeft(0);
    form_.SetWidth(form_.Width() - form_.ScaleWidth() + action.Width());
    form_.SetHeight(form_.Height() - form_.ScaleHeight() + action.Height());
    const PixelRect work = desktop_.WorkArea();
    form_.SetTop(work.bottom * ui::TwipsPerPixelY() - form_.Height());
    form_.SetLeft(work.right * ui::TwipsPerPixelX() - form_.Width());
    form_.SetTopMost(true);
}

bool RightButtonAgent::Start() {
    form_.Load();
    if (endProgram_) {
        form_.Unload();
        return false;
    }
    form_.Show();
    host_.ForceVisible(form_);
    return true;
}

void RightButtonAgent::Load() {
    SetUpWindow();
    endProgram_ = false;
    registered_ = false;
    if (!device_.OpenDevice()) {
        DeviceChannel::ReportOpenFailure(desktop_, kRButtonTitle);
        endProgram_ = true;
        return;
    }
    device_.GetAgentWindow();
    // A registration whose window is gone is left over from an agent that
    // died without unregistering: take it over rather than defer to nobody.
    if (!RegisteredWindowAlive(desktop_, device_.Agent.AgentWindow)) {
        device_.Agent.Armed = 0;
        device_.Agent.AgentWindow = static_cast<std::int32_t>(form_.Handle());
        device_.SetAgentWindow();
        registered_ = true;
    } else {
        desktop_.SendMessageA(RegisteredWindow(device_.Agent.AgentWindow), kWmUser, AgentShow, 0);
        device_.CloseDevice();
        endProgram_ = true;
        return;
    }
    host_.ReplaceWindowProcedure(form_);
    procedureReplaced_ = true;
}

void RightButtonAgent::Arm() {
    ui::Control& action = form_.Ctl("cmdAction");
    action.SetVisible(false);
    form_.SetFocus();
    device_.Agent.Armed = 1;
    device_.SetAgentWindow();
    waiting_ = 1;
    for (;;) {
        ui::DoEvents();
        if (!form_.Loaded()) return;  // closed while armed: Unload disarmed
        device_.GetAgentWindow();
        ui::DoEvents();
        if (!form_.Loaded()) return;
        if (device_.Agent.Armed == 0 || waiting_ != 1) break;
        host_.WaitForEvents(kPollIntervalMs);
    }
    device_.Agent.Armed = 0;
    device_.SetAgentWindow();
    waiting_ = 0;
    action.SetVisible(true);
    // The button takes the keyboard back, so that Enter arms it again; only
    // in the active window, since focusing a control activates its window.
    if (ui::ActiveForm() == &form_) action.SetFocus();
}

void RightButtonAgent::Cancel() {
    if (waiting_ == 1) waiting_ = 0;
}

std::intptr_t RightButtonAgent::HandleCommand(std::uintptr_t wParam, std::intptr_t lParam) {
    switch (wParam) {
        case AgentHide:
            form_.Hide();
            break;
        case AgentShow:
            form_.Show();
            break;
        case AgentClose:
            form_.Unload();
            break;
        default:
            desktop_.MessageBoxA(static_cast<WindowHandle>(form_.Handle()),
                                 UnknownCommandText(wParam, lParam), kRButtonTitle, kMbOk);
            break;
    }
    return 0;
}

void RightButtonAgent::Unload() {
    waiting_ = 0;
    if (registered_) {
        device_.Agent.AgentWindow = -1;
        device_.Agent.Armed = 0;
        device_.SetAgentWindow();
        device_.CloseDevice();
        registered_ = false;
    }
    if (procedureReplaced_) {
        host_.RestoreWindowProcedure(form_);
        procedureReplaced_ = false;
    }
}

}  // namespace kv
