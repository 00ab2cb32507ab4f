#include "panel/calibration_procedure.h"

#include "common/ports/desktop_port.h"
#include "common/winutil/companions.h"
#include "common/winutil/cursor.h"
#include "common/winutil/form_placement.h"
#include "common/winutil/message_boxes.h"
#include "common/winutil/program_titles.h"
#include "ui/backend.h"

namespace kv::panel {

namespace {
constexpr unsigned kMbDefButton2 = 0x100;
constexpr int kKeyEscape = 27;
constexpr std::uint8_t kDragDrop = 4;
constexpr std::uint8_t kOn = 1;
}  // namespace

std::string CompletionQuestion() {
    return std::string("CALIBRATION IS COMPLETE.") + "\r\r" +
           "For test, touch on the screen and check cursor position." + "\r" +
           "To save new calibration, click Yes button." + "\r" +
           "To restore old calibration, click No button.";
}

std::string DirectionErrorText(const std::string& first, const std::string& second) {
    return "Incorrect Panel Direction! (" + first + "-" + second + ")" + "\r\n\r\n" +
           "Please checkout the pinout of your touch panel.";
}

std::string UnsupportedModeText(std::int32_t mode) {
    return "Fail to calibration! ( mode " + std::to_string(mode) + " not support )";
}

CalibrationProcedure::CalibrationProcedure(PanelContext& context, CalibrationScreen& screen)
    : context_(context), screen_(screen) {
    ui::Form& form = screen_.Form();
    form.OnLoad = [this] { Load(); };
    form.OnResize = [this] { screen_.Layout(); };
    form.OnActivate = [this] { Activate(); };
    form.OnUnload = [this] { Unload(); };
    // ESC reaches the surface, which holds the focus; should the window
    // itself get a key, it goes the same way. Either only counts inside
    // the procedure's waits (SurfaceKeyDown).
    screen_.Surface().KeyDown = [this](int key, int) { SurfaceKeyDown(key); };
    form.OnKeyDown = [this](int key, int) { SurfaceKeyDown(key); };
}

// ---- the window's life -----------------------------------------------------------

void CalibrationProcedure::Load() {
    TouchParams& block = context_.Block();
    screen_.Prepare(block.ScreenWidth, block.ScreenHeight);
    ranThisOpening_ = false;
    breakRequested_ = false;
    // A new window starts on a clean surface: a mark left on screen when
    // the last opening was broken off is not there to come back.
    markShown_ = false;
    // The right button would turn calibration touches into right clicks:
    // the driver's automatic one is switched off, the agent's window hidden.
    rememberedAutoMode_ = block.RBAutoMode;
    if (block.RBFunction != kOn) return;
    if (block.TouchMode == kDragDrop && block.RBAutoMode != 0) {
        block.RBAutoMode = 0;
        context_.device.SetTouchMode();
    } else {
        NotifyAgent(context_.device, context_.desktop, AgentHide);
    }
}

void CalibrationProcedure::Activate() {
    // Once per opening: the waits let activations through.
    if (ranThisOpening_ || running_) return;
    ranThisOpening_ = true;
    running_ = true;
    RunCalibration();
    running_ = false;
    screen_.Form().Unload();
}

void CalibrationProcedure::Unload() {
    TouchParams& block = context_.Block();
    if (block.RBFunction == kOn) {
        if (block.TouchMode == kDragDrop && rememberedAutoMode_ != 0) {
            block.RBAutoMode = 1;
            context_.device.SetTouchMode();
        } else {
            NotifyAgent(context_.device, context_.desktop, AgentShow);
        }
    }
    if (context_.main != nullptr) ReturnToMain(*context_.main);
    RestoreCursor(context_.desktop);
}

// ---- the procedure -------------------------------------------------------------------

TouchState CalibrationProcedure::ReadTouchState() {
    context_.device.GetTouchState();
    return context_.device.State;
}

// A window closed under the running procedure (by the system, or Alt+F4)
// counts as a break: nothing is left to show the marks on.
bool CalibrationProcedure::Broken() const {
    return breakRequested_ || !screen_.Form().Loaded();
}

void CalibrationProcedure::RunCalibration() {
    samples_ = RawSamples{};
    context_.device.GetRotatorWindow();
    rotation_ = SaneRotation(context_.device.Rotator.Rotation);
    context_.device.Rotator.Rotation = static_cast<std::int16_t>(rotation_);
    savedCal_ = context_.Block().Cal;
    savedFlags_ = context_.Block().CalFlags;
    HideCursor(context_.desktop);
    screen_.FocusSurface();

    if (PenDown(ReadTouchState())) {
        screen_.ShowLiftPrompt(kStartText);
        screen_.SetTouchIndicator(true);
        context_.device.CalibrationSignal(kSignalLiftToStart);
        do {
            WaitEvents();
            if (!screen_.Form().Loaded()) break;
        } while (PenDown(ReadTouchState()));
    }
    if (!screen_.Form().Loaded()) {
        RestoreCursor(context_.desktop);
        return;
    }
    screen_.SetTouchIndicator(false);
    breakRequested_ = false;  // a break confirmed before the first mark is not kept

    const std::int32_t mode = context_.product.CalibrationMode;
    if (mode != kCornerMode && mode != kEdgeMode) {
        RestoreCursor(context_.desktop);  // so that the box's button can be seen
        context_.desktop.MessageBoxA(Owner(), UnsupportedModeText(mode), kPanelTitle, kMbOk);
        RestoreCursor(context_.desktop);
        return;
    }
    const int result = mode == kCornerMode ? CalibrateCorners() : CalibrateEdges();
    if (result == 0) {
        ApplyCalibration();
        screen_.HideSurface();
        RestoreCursor(context_.desktop);
        context_.device.CalibrationSignal(kSignalIdle);
        if (QuestionBox(context_.desktop, CompletionQuestion(), 0, kCalibrationTitle,
                        Owner()) == kIdNo) {
            ui::Platform().SetScreenMousePointer(ui::kPointerHourglass);
            RestoreCalibration();
            ui::Platform().SetScreenMousePointer(ui::kPointerDefault);
        }
    }
    RestoreCursor(context_.desktop);
}

bool CalibrationProcedure::CapturePoint(int index, const std::string& name) {
    currentTarget_ = index;
    std::uint16_t lastSeen = 0;
    screen_.DrawMark(index, true);
    markShown_ = true;
    screen_.ShowTouchPrompt(name);
    WaitEvents();

    bool indicatorOff = true;  // step back to "touch indicator off" first
    for (;;) {
        if (indicatorOff) screen_.SetTouchIndicator(false);
        stableCount_ = 2;
        std::int16_t previousX = 0, previousY = 0;
        bool touched = false;
        TouchState s{};
        for (;;) {
            s = ReadTouchState();
            if (!PenDown(s)) {
                lastSeen = s.ReportCount;
                WaitEvents();
                if (Broken()) {
                    context_.device.CalibrationSignal(kSignalBroken);
                    return true;
                }
                break;
            }
            if (!touched) {
                // The one moment window events run while the pen is down.
                touched = true;
                screen_.SetTouchIndicator(true);
                WaitEvents();
            }
            if (s.X != previousX || s.Y != previousY) {
                previousX = s.X;
                previousY = s.Y;
                stableCount_ = 2;
                continue;
            }
            if (s.ReportCount != lastSeen) {
                lastSeen = s.ReportCount;
                --stableCount_;
            }
            if (stableCount_ > 0) continue;

            samples_.x[static_cast<std::size_t>(index)] = s.X;
            samples_.y[static_cast<std::size_t>(index)] = s.Y;
            context_.device.CalibrationSignal(kSignalAccepted);
            screen_.DrawMark(index, false);
            markShown_ = false;
            screen_.ShowLiftPrompt(kNextText);
            while (PenDown(ReadTouchState())) {
                WaitEvents();
                if (Broken()) {
                    context_.device.CalibrationSignal(kSignalBroken);
                    return true;
                }
            }
            screen_.SetTouchIndicator(false);
            return false;
        }
        indicatorOff = touched;
    }
}

int CalibrationProcedure::Calibrate(int mode) {
    const int first = FirstTargetOf(mode);
    for (int i = first; i < first + 4; ++i)
        if (CapturePoint(i, TargetName(i))) return 1;
    ReorderByRotation(samples_, mode, rotation_);
    const DirectionResult direction = DetectPanelDirection(samples_, mode);
    if (!direction.recognised) {
        RestoreCursor(context_.desktop);
        ErrorBox(context_.desktop,
                 DirectionErrorText(direction.firstPattern, direction.secondPattern),
                 kDirectionErrorTitle, Owner());
        HideCursor(context_.desktop);
        // The driver was told a calibration is under way: it ends here as
        // a broken-off one does.
        context_.device.CalibrationSignal(kSignalBroken);
        return 1;
    }
    newFlags_ = direction.flags;
    MirrorSamples(samples_, mode, newFlags_);
    const TouchParams& block = context_.Block();
    const ui::Control& surface = screen_.Surface();
    const ScreenSizes sizes{static_cast<double>(block.ScreenWidth),
                            static_cast<double>(block.ScreenHeight),
                            static_cast<double>(surface.ScaleWidth()),
                            static_cast<double>(surface.ScaleHeight())};
    newCal_ = mode == kCornerMode ? CalibrateCornerSamples(samples_, sizes)
                                  : CalibrateEdgeSamples(samples_, sizes);
    return 0;
}

int CalibrationProcedure::CalibrateCorners() { return Calibrate(kCornerMode); }
int CalibrationProcedure::CalibrateEdges() { return Calibrate(kEdgeMode); }

void CalibrationProcedure::ApplyCalibration() {
    context_.Block().Cal = newCal_;
    context_.Block().CalFlags = newFlags_;
    context_.device.SetCalibration();
}

void CalibrationProcedure::RestoreCalibration() {
    context_.Block().Cal = savedCal_;
    context_.Block().CalFlags = savedFlags_;
    context_.device.SetCalibration();
}

void CalibrationProcedure::WaitEvents() {
    waiting_ = true;
    ui::DoEvents();
    waiting_ = false;
}

BoxOwner CalibrationProcedure::Owner() const { return screen_.Form().Handle(); }

void CalibrationProcedure::SurfaceKeyDown(int key) {
    // Only the waits look for a break: a key that arrives anywhere else
    // (under a box, or on the plain window left to try the result on)
    // must not ask again or signal the driver. A second ESC while the
    // question is up asks nothing more.
    if (key != kKeyEscape || !waiting_ || asking_) return;
    asking_ = true;
    context_.device.CalibrationSignal(kSignalIdle);
    // Only a mark that is on screen comes back: after an accepted point
    // the mark is gone and must not reappear beside the next one.
    const bool markWasShown = markShown_;
    screen_.DrawMark(currentTarget_, false);
    screen_.ShowInstructions(false);
    RestoreCursor(context_.desktop);
    const int answer = QuestionBox(context_.desktop, kBreakQuestion, kMbDefButton2,
                                   kCalibrationTitle, Owner());
    breakRequested_ = answer == kIdYes;
    if (screen_.Form().Loaded()) {
        HideCursor(context_.desktop);
        screen_.ShowInstructions(true);
        if (markWasShown) screen_.DrawMark(currentTarget_, true);
        // The box took the keyboard; the next ESC must reach the surface.
        screen_.FocusSurface();
    }
    asking_ = false;
}

}  // namespace kv::panel
