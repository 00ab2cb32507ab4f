#include "remove/removal_window.h"

#include "common/branding/logo.h"
#include "common/branding/window_header.h"
#include "common/ports/desktop_port.h"
#include "common/winutil/centring.h"
#include "common/winutil/form_building.h"
#include "common/winutil/companions.h"
#include "common/winutil/pause_seconds.h"
#include "common/winutil/program_titles.h"
#include "remove/file_remover.h"
#include "remove/mouse_class_removal.h"
#include "remove/product_key_removal.h"
#include "setup/setupcommon/ini_strings.h"
#include "setup/setupcommon/restart.h"
#include "setup/setupcommon/unattended.h"
#include "ui/backend.h"

namespace kv {

namespace {

constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbIconInformation = 0x40;
constexpr unsigned kMbRetryCancel = 0x5;
constexpr int kIdRetry = 4;
constexpr ui::Color kButtonShadow = 0x80000010;
constexpr ui::Color kButtonHighlight = 0x80000014;
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;

ui::Control& Place(ui::Form& form, ui::ControlKind kind, const char* name, int left, int top,
                   int width, int height, ui::Control* container = nullptr) {
    ui::Control& c = form.Add(kind, name, -1, container);
    c.Move(left, top, width, height);
    return c;
}

// A line one pixel high in `color`: the two halves of the etched line.
ui::Control& PlaceLine(ui::Form& form, const char* name, ui::Color color) {
    ui::Control& line = Place(form, ui::ControlKind::Label, name, 0, 0, 0, 15);
    line.SetBackStyle(1);
    line.SetBackColor(color);
    return line;
}

}  // namespace

std::string RemovalWindow::Question() {
    return std::string("Are you sure you want to completely remove TouchScreen V.") + kProductVersion +
           " and all of its components?";
}

RemovalWindow::RemovalWindow(const RemovePorts& ports, const UnattendedDesktop* unattended)
    : ports_(ports),
      unattended_(unattended),
      title_(kRemoveTitle),
      form_("frmMain"),
      status_(title_, kRemoveIconResource, busy_),
      channel_(ports.device),
      aboutContext_(PanelPorts{ports.device, ports.setup.registry, ports.setup.desktop,
                               ports.setup.process}) {
    form_.SetBorderStyle(ui::kBorderFixedDialog);
    form_.SetIconResource(kRemoveIconResource);
    form_.SetClientSize(6645, 3000);

    AddHeader(form_, 240, kRemoveSystemLine, kRemoveIconResource);

    ui::Control& shape = Place(form_, ui::ControlKind::Shape, "shpRemoval", 360, 1200, 5925, 855);
    shape.SetBorderColor(kButtonShadow);
    Place(form_, ui::ControlKind::Label, "lblAsk", 600, 1380, 5445, 495).SetAlignment(ui::kAlignCenter);
    PlaceLine(form_, "linEtchShadow", kButtonShadow);
    PlaceLine(form_, "linEtchHighlight", kButtonHighlight);

    ui::Control& yes = Place(form_, ui::ControlKind::CommandButton, "cmdYes", 0, 2460, kButtonWidth,
                             kButtonHeight);
    yes.SetCaption("&Yes");
    ui::Control& no = Place(form_, ui::ControlKind::CommandButton, "cmdNo", 0, 2460, kButtonWidth,
                            kButtonHeight);
    no.SetCaption("&No");
    no.SetDefault(true);  // the safe answer on Enter
    no.SetCancel(true);
    // First in tab order, so that No also holds the focus when the window
    // opens: Enter on a focused button presses that button.
    no.SetTabIndex(yes.TabIndex());

    form_.Ctl("imgIcon").DblClick = [this] { ShowAbout(); };
    form_.OnLoad = [this] { Load(); };
    yes.Click = [this] { Remove(); };
    no.Click = [this] { EndProgram(); };
}

bool RemovalWindow::Start() {
    return ShowUnlessLoadFailed(form_, loadFailed_);
}

void RemovalWindow::Load() {
    form_.SetCaption(title_);
    form_.Ctl("lblSystem").SetCaption(std::string(kRemoveSystemLine) + kProductVersion);
    busy_.Set(kBusyCursor);
    const bool loaded = product_.LoadProductInformation(ports_.setup.registry);
    busy_.Set(kIdleCursor);
    if (!loaded) {
        // A removal stopped just after the product key went has nothing
        // left to do but take away the empty keys.
        TidyEmptyProductKey(ports_.setup.registry);
        ports_.setup.desktop.MessageBoxA(0, "Fail to load data from Register File!", form_.Caption(),
                                         kMbOk);
        loadFailed_ = true;
        return;
    }
    ShowLogo(product_, ports_.setup.process, form_);
    form_.Ctl("lblAsk").SetCaption(Question());
    Layout();
    const WindowPlacement at = CentredPlacement(ui::ScreenWidthTwips(), ui::ScreenHeightTwips(),
                                                form_.Width(), form_.Height());
    form_.Move(at.left, at.top, form_.Width(), form_.Height());
}

void RemovalWindow::Layout() {
    ui::Control& yes = form_.Ctl("cmdYes");
    ui::Control& no = form_.Ctl("cmdNo");
    ui::Control& shape = form_.Ctl("shpRemoval");
    const int wanted = RoundHalfEven(2.0 * yes.Width() + form_.TextWidth(form_.Caption()));
    if (wanted > form_.Width()) form_.SetWidth(wanted);
    const int inner = form_.ScaleWidth();
    shape.SetLeft((inner - shape.Width()) / 2);
    // Integer division as the forms runtime does it: the dividend is first
    // rounded, halves to even.
    yes.SetLeft(HalfRoundedEven(inner - 1.5 * yes.Width() - no.Width()));
    no.SetLeft(yes.Left() + static_cast<int>(1.5 * yes.Width()));

    // The etched line between the question and the buttons: shadow, then
    // highlight 20 twips lower and 5 twips longer at each end.
    const int y = yes.Top() - no.Height() / 2;
    const int x1 = shape.Left() - 50;
    const int x2 = x1 + shape.Width() + 100;
    form_.Ctl("linEtchShadow").Move(x1, y, x2 - x1, 15);
    form_.Ctl("linEtchHighlight").Move(x1 - 5, y + 20, x2 - x1 + 10, 15);
}

void RemovalWindow::CloseAgents() {
    if (!channel_.OpenDevice()) return;
    NotifyAgent(channel_, ports_.setup.desktop, AgentClose);
    CloseRotator(channel_, ports_.setup.desktop);
    channel_.CloseDevice();
}

void RemovalWindow::Remove() {
    DesktopPort& desktop = ports_.setup.desktop;
    form_.Hide();
    if (!RemoveFromSystem()) {
        EndProgram();
        return;
    }
    PauseSeconds(ports_.clock, 10, [] { ui::DoEvents(); });
    status_.Unload();
    desktop.MessageBoxA(0,
                        "Removal is complete to uninstall TouchScreen drivers and utilities.\r\n\r\n"
                        "The Windows must be restarted.",
                        title_, kMbOk | kMbIconInformation | kMbSystemModal);
    RestartWindows(ports_.setup.restart, desktop, title_);
    EndProgram();
}

bool RemovalWindow::RemoveFromSystem() {
    DesktopPort& desktop = ports_.setup.desktop;
    CloseAgents();
    if (!unattended_) status_.ShowStatusMessage("Removing files from your system...");
    // The agents need a moment to quit before their files go.
    PauseSeconds(ports_.clock, 3, [] { ui::DoEvents(); });

    // A remover still busy after ten seconds goes on deleting the driver's
    // files: ending here would leave the mouse class naming them. Retry
    // waits ten seconds more; Cancel ends with the registry untouched, and
    // a later run finishes the removal once the files are gone. Unattended,
    // with nobody to ask, the wait is one long round.
    RemoverWait wait;
    wait.unattended = unattended_ != nullptr;
    if (!wait.unattended) {
        wait.waitAgain = [&] {
            return desktop.MessageBoxA(0, RemoverFailureText(RemoverOutcome::WaitTimeout), title_,
                                       kMbRetryCancel | kMbIconExclamation | kMbSystemModal) ==
                   kIdRetry;
        };
    }
    const RemoverOutcome outcome = RunFileRemover(ports_.processWait, ports_.setup.process,
                                                  product_.InstallPath, [] { ui::DoEvents(); }, wait);
    if (!RemoverDone(outcome)) {
        // An interactive timeout was asked about already.
        if (wait.unattended || outcome != RemoverOutcome::WaitTimeout)
            desktop.MessageBoxA(0, RemoverFailureText(outcome), title_,
                                kMbOk | kMbIconExclamation | kMbSystemModal);
        return false;
    }

    WriteIniString(ports_.setup.ini, product_.WindowsPath + "\\WININIT.INI", "rename", "NUL",
                   product_.WindowsPath + "\\KVREMOVE.exe");
    RemoveMouseClass(ports_.setup.registry, ports_.setup.registryTree, desktop, title_);
    RemoveProductKey(ports_.setup.registry, ports_.setup.registryTree);
    return true;
}

int RemovalWindow::RunUnattended() {
    if (!product_.LoadProductInformation(ports_.setup.registry)) {
        TidyEmptyProductKey(ports_.setup.registry);
        ports_.setup.desktop.MessageBoxA(0, "Fail to load data from Register File!", title_, kMbOk);
        return kExitFailed;
    }
    if (!RemoveFromSystem()) return kExitFailed;
    return unattended_ ? unattended_->ExitCode(kExitRestartNeeded) : kExitRestartNeeded;
}

void RemovalWindow::ShowAbout() {
    busy_.Set(kBusyCursor);
    aboutContext_.product = product_;
    aboutContext_.main = &form_;
    if (!about_) about_ = std::make_unique<panel::AboutWindow>(aboutContext_);
    form_.Hide();
    about_->Form().Show();
    busy_.Set(kIdleCursor);
}

void RemovalWindow::EndProgram() {
    if (about_) about_->Form().Unload();
    status_.Unload();
    form_.Unload();
}

}  // namespace kv
