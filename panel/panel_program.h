// KVPANEL as one object: the shared context, the main window and every
// window it opens. WinMain (or a test) builds it on its ports and starts it.
#pragma once

#include "panel/about_window.h"
#include "panel/calibration_procedure.h"
#include "panel/calibration_screen.h"
#include "panel/draw_test.h"
#include "panel/feedback_sound_dialog.h"
#include "panel/main_window.h"
#include "panel/mouse_speed_dialog.h"
#include "panel/panel_context.h"
#include "panel/support_window.h"
#include "panel/virtual_button_dialog.h"

namespace kv::panel {

class PanelProgram {
public:
    explicit PanelProgram(const PanelPorts& ports);
    PanelProgram(const PanelProgram&) = delete;
    PanelProgram& operator=(const PanelProgram&) = delete;

    // Shows the main window; false when the program ended at start-up.
    bool Start() { return main_.Start(); }

    PanelContext& Context() { return context_; }
    MainWindow& Main() { return main_; }
    ui::Form& MainForm() { return main_.Form(); }
    ui::Form& MouseSpeed() { return mouseSpeed_.Form(); }
    ui::Form& FeedbackSound() { return feedbackSound_.Form(); }
    ui::Form& VirtualButton() { return virtualButton_.Form(); }
    ui::Form& Support() { return support_.Form(); }
    ui::Form& About() { return about_.Form(); }
    DrawTest& Test() { return drawTest_; }
    ui::Form& Calibration() { return calibrationScreen_.Form(); }
    CalibrationProcedure& CalibrationRun() { return calibration_; }
    CalibrationScreen& CalibrationView() { return calibrationScreen_; }

private:
    PanelContext context_;
    MainWindow main_;
    MouseSpeedDialog mouseSpeed_;
    FeedbackSoundDialog feedbackSound_;
    VirtualButtonDialog virtualButton_;
    SupportWindow support_;
    AboutWindow about_;
    DrawTest drawTest_;
    CalibrationScreen calibrationScreen_;
    CalibrationProcedure calibration_;
};

}  // namespace kv::panel
