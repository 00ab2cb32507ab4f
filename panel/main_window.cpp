#include "panel/main_window.h"

#include "common/branding/logo.h"
#include "common/branding/vendor_files.h"
#include "common/summaries/name_lists.h"
#include "common/summaries/summaries.h"
#include "common/winutil/file_exists.h"
#include "common/winutil/form_placement.h"
#include "common/winutil/message_boxes.h"
#include "common/winutil/peer_window.h"
#include "common/winutil/program_titles.h"
#include "panel/form_design.h"

namespace kv::panel {

namespace {
constexpr int kButtonLeft = 480;
constexpr int kButtonWidth = 1695;
constexpr int kRowHeight = 435;
constexpr int kShapeLeft = 2280;
constexpr int kShapeWidth = 3855;
constexpr int kLabelLeft = 2400;
constexpr int kLabelWidth = 3615;
constexpr int kLabelHeight = 195;
}  // namespace

MainWindow::MainWindow(PanelContext& context) : context_(context), form_(kFormName) {
    context_.main = &form_;
    Design();
}

void MainWindow::AddSummaryRow(int top, const char* button, const char* buttonCaption,
                               const char* shape, const char* label, const char* labelCaption) {
    Place(form_, ui::ControlKind::CommandButton, button, kButtonLeft, top, kButtonWidth, kRowHeight)
        .SetCaption(buttonCaption);
    Place(form_, ui::ControlKind::Shape, shape, kShapeLeft, top, kShapeWidth, kRowHeight);
    Place(form_, ui::ControlKind::Label, label, kLabelLeft, top + 120, kLabelWidth, kLabelHeight)
        .SetCaption(labelCaption);
}

void MainWindow::Design() {
    form_.SetCaption("TouchScreen Control Panel");
    form_.SetBorderStyle(ui::kBorderFixedSingle);
    form_.SetIconResource(kIconResource);
    form_.SetClientSize(kDesignClientWidth, kDesignClientHeight);
    AddHeader(form_, 360);

    AddSummaryRow(1500, "cmdSerialPort", "&Serial Port", "shpSerialPort", "lblSerialPort",
                  "COM?, Port=????h, IRQ=??, ????? BPS");
    AddSummaryRow(2100, "cmdVirtualButton", "&Virtual Button", "shpVirtualButton",
                  "lblVirtualButton", "Drag Drop Mode");
    AddSummaryRow(2700, "cmdFeedbackSound", "&Feedback Sound", "shpFeedbackSound",
                  "lblFeedbackSound", "Silence");
    AddSummaryRow(3300, "cmdMouseSpeed", "&Mouse Speed", "shpMouseSpeed", "lblMouseSpeed",
                  "HS=50%, VS=50%, Acceleration=Slow");
    AddSummaryRow(3900, "cmdSleepTime", "&Power Save", "shpSleepTime", "lblSleepTime",
                  "Disable Power Down Function");

    Place(form_, ui::ControlKind::CommandButton, "cmdCalibration", kButtonLeft, 4500, kButtonWidth,
          kRowHeight)
        .SetCaption("&Calibration");
    Place(form_, ui::ControlKind::Shape, "shpCalibration", kShapeLeft, 4500, 1695, kRowHeight);
    Place(form_, ui::ControlKind::ComboBox, "cboCalibration", 2340, 4560, 1600, 315)
        .SetText("Combo1");
    Place(form_, ui::ControlKind::CommandButton, "cmdSupport", 4080, 4500, 975, kRowHeight)
        .SetCaption("S&upport");
    Place(form_, ui::ControlKind::CommandButton, "cmdExit", 5160, 4500, 975, kRowHeight)
        .SetCaption("E&xit");

    ui::Control& detectionShape = Place(form_, ui::ControlKind::Shape, "shpDetection", kButtonLeft,
                                        4980, kButtonWidth, kRowHeight);
    detectionShape.SetVisible(false);
    ui::Control& detection =
        Place(form_, ui::ControlKind::Label, "lblDetection", 960, 5100, 1095, kLabelHeight);
    detection.SetCaption("Detection");
    detection.SetVisible(false);

    form_.OnLoad = [this] { Load(); };
    form_.OnUnload = [this] { Unload(); };
    form_.OnKeyDown = [](int, int) {};  // no key does anything here

    form_.Ctl("cmdVirtualButton").Click = [this] { OpenDialog(windows_.virtualButton); };
    form_.Ctl("cmdFeedbackSound").Click = [this] { OpenDialog(windows_.feedbackSound); };
    form_.Ctl("cmdMouseSpeed").Click = [this] { OpenDialog(windows_.mouseSpeed); };
    form_.Ctl("cmdCalibration").Click = [this] { OpenAfterHiding(windows_.calibration); };
    form_.Ctl("cmdSupport").Click = [this] { SupportClick(); };
    form_.Ctl("imgIcon").DblClick = [this] { OpenAfterHiding(windows_.about); };
    form_.Ctl("cmdExit").Click = [this] { Exit(); };
    form_.Ctl("cmdExit").MouseDown = [this](int button, int shift, int, int) {
        ExitMouseDown(button, shift);
    };
    form_.Ctl("cboCalibration").Click = [this] { CalibrationListClick(); };
}

bool MainWindow::Start() {
    ending_ = false;
    return ShowUnlessLoadFailed(form_, ending_);
}

void MainWindow::Load() {
    if (!LoadSteps()) ending_ = true;
    form_.SetMousePointer(ui::kPointerDefault);
}

// Start-up, in this order; every early return ends the program before the
// window is ever shown.
bool MainWindow::LoadSteps() {
    form_.SetCaption(kPanelTitle);
    ui::Control& system = form_.Ctl("lblSystem");
    system.SetCaption(system.Caption() + kProductVersion);

    if (HandOverToRunningInstance(context_.process, context_.desktop, kPanelProgramId,
                                  form_.Handle(), form_.Caption()))
        return false;

    LayOutForPs2();

    form_.SetMousePointer(ui::kPointerHourglass);
    const bool loaded = context_.product.LoadProductInformation(context_.registry);
    form_.SetMousePointer(ui::kPointerDefault);
    if (!loaded) {
        ErrorBox(context_.desktop, kRegisterFileFailureText, form_.Caption());
        return false;
    }

    ShowLogo(context_.product, context_.process, form_);
    ChooseSupportButton();

    form_.SetMousePointer(ui::kPointerHourglass);
    FillNameLists();

    if (!context_.device.OpenDevice()) {
        DeviceChannel::ReportOpenFailure(context_.desktop, kPanelTitle);
        return false;
    }
    deviceOpen_ = true;
    context_.device.GetParams();
    if (context_.Block().DetectedPort == 0) {
        ErrorBox(context_.desktop, kControllerNotFoundText, form_.Caption());
        context_.device.CloseDevice();
        deviceOpen_ = false;
        return false;
    }

    ShowSummaries();
    LoadCalibrationMode();
    CentreWindow(form_);
    CentreIcon(form_);
    return true;
}

void MainWindow::LayOutForPs2() {
    ui::Control& serialPort = form_.Ctl("cmdSerialPort");
    ui::Control& detectionShape = form_.Ctl("shpDetection");
    ui::Control& detection = form_.Ctl("lblDetection");
    // The detection row takes the serial-port button's place.
    detection.Move(detection.Left() - (detectionShape.Left() - serialPort.Left()),
                   detection.Top() - (detectionShape.Top() - serialPort.Top()), detection.Width(),
                   detection.Height());
    detection.SetVisible(true);
    detectionShape.Move(serialPort.Left(), serialPort.Top(), detectionShape.Width(),
                        detectionShape.Height());
    detectionShape.SetVisible(true);

    ui::Control& sleepTime = form_.Ctl("cmdSleepTime");
    serialPort.SetEnabled(false);
    serialPort.SetVisible(false);
    sleepTime.SetEnabled(false);
    sleepTime.SetVisible(false);
    form_.Ctl("shpSleepTime").SetVisible(false);
    form_.Ctl("lblSleepTime").SetEnabled(false);
    form_.Ctl("lblSleepTime").SetVisible(false);

    // The calibration row moves up into the power-save row.
    ui::Control& calibration = form_.Ctl("cmdCalibration");
    form_.SetHeight(form_.Height() - (calibration.Top() - sleepTime.Top()));
    for (const char* name : {"cmdCalibration", "shpCalibration", "cmdSupport", "cmdExit"})
        form_.Ctl(name).SetTop(sleepTime.Top());
    form_.Ctl("cboCalibration").SetTop(form_.Ctl("shpCalibration").Top() + 60);
}

void MainWindow::ChooseSupportButton() {
    const SupportButtonChoice choice =
        kv::ChooseSupportButton(context_.process, context_.product.InstallPath);
    ui::Control& support = form_.Ctl("cmdSupport");
    support.SetCaption(choice.caption);
    support.SetEnabled(choice.enabled);
    context_.venderBitmapPath = choice.venderBitmapPath;
}

void MainWindow::FillNameLists() {
    context_.touchModeNames.Fill(kTouchModeNames);
    context_.soundModeNames.Fill(kSoundModeNames);
    context_.accelerationNames.Fill(kAccelerationNames);
}

void MainWindow::ShowSummaries() {
    const TouchParams& block = context_.Block();
    form_.Ctl("lblSerialPort").SetCaption(kSerialPortSummary);
    form_.Ctl("lblVirtualButton")
        .SetCaption(TouchModeSummary(block.TouchMode, block.RBFunction, block.RBAutoMode));
    form_.Ctl("lblFeedbackSound").SetCaption(SoundModeName(block.SoundMode));
    form_.Ctl("lblMouseSpeed")
        .SetCaption(MouseSpeedSummary(block.MouseHSpeed, block.MouseVSpeed, block.Acceleration,
                                      block.Bypass));
}

void MainWindow::LoadCalibrationMode() {
    // A missing value (or one stored as text) leaves the mode at 0.
    context_.product.ReadCalibrationMode(context_.registry);
    ui::Control& list = form_.Ctl("cboCalibration");
    for (const char* name : kCalibrationModeNames) list.AddItem(name);
    std::int32_t& mode = context_.product.CalibrationMode;
    if (mode < 0 || mode > list.ListCount() - 1) mode = 0;
    // Selecting runs the list's click, which writes the mode back.
    if (list.ListIndex() == mode)
        CalibrationListClick();
    else
        list.SetListIndex(mode);
}

void MainWindow::CalibrationListClick() {
    const int index = form_.Ctl("cboCalibration").ListIndex();
    if (index < 0) return;
    context_.product.CalibrationMode = index;
    context_.product.WriteCalibrationMode(context_.registry);  // a failure is not reported
}

void MainWindow::Unload() {
    // Only the device: a running agent or rotation program keeps running.
    if (deviceOpen_) {
        context_.device.CloseDevice();
        deviceOpen_ = false;
    }
}

void MainWindow::OpenDialog(ui::Form* dialog) {
    if (dialog == nullptr) return;
    form_.SetMousePointer(ui::kPointerHourglass);
    dialog->Show();
    form_.Hide();
    form_.SetMousePointer(ui::kPointerDefault);
}

void MainWindow::OpenAfterHiding(ui::Form* window) {
    if (window == nullptr) return;
    form_.SetMousePointer(ui::kPointerHourglass);
    form_.Hide();
    window->Show();
    form_.SetMousePointer(ui::kPointerDefault);
}

void MainWindow::SupportClick() {
    const bool support = FileExists(context_.process, context_.venderBitmapPath);
    OpenAfterHiding(support ? windows_.support : windows_.about);
}

void MainWindow::ExitMouseDown(int button, int shift) {
    constexpr int kAllModifiers = ui::kShiftMask | ui::kCtrlMask | ui::kAltMask;
    if (button != ui::kRightButton || shift != kAllModifiers) return;
    OpenDialog(windows_.drawTest);
}

void MainWindow::Exit() {
    // Nothing of this program may stay behind, not even a hidden window.
    // The others go first: each of them shows the main window as it goes.
    for (ui::Form* other :
         {windows_.mouseSpeed, windows_.feedbackSound, windows_.virtualButton, windows_.support,
          windows_.about, windows_.calibration, windows_.drawTest})
        if (other != nullptr) other->Unload();
    form_.Unload();
}

}  // namespace kv::panel
