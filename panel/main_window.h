// frmMain: where the control panel starts and every dialog returns to.
// Starting it checks that no other copy runs and that the product key and
// the driver are there; it then keeps the driver's settings for the
// dialogs and shows each group's settings in one line beside its button.
#pragma once

#include "panel/panel_context.h"
#include "ui/form.h"

namespace kv::panel {

// The windows the main window opens. The calibration window and the draw
// test come later; while they are missing their triggers do nothing.
struct PanelWindows {
    ui::Form* mouseSpeed = nullptr;
    ui::Form* feedbackSound = nullptr;
    ui::Form* virtualButton = nullptr;
    ui::Form* support = nullptr;
    ui::Form* about = nullptr;
    ui::Form* calibration = nullptr;
    ui::Form* drawTest = nullptr;
};

inline constexpr const char* kRegisterFileFailureText = "Fail to load data from Register File!";
inline constexpr const char* kControllerNotFoundText = "TouchScreen Controller Not Found!";
inline constexpr const char* kSerialPortSummary = "TouchScreen or Mouse found on PS/2 port";
inline constexpr const char* kCalibrationModeNames[] = {" 4 points, mode 1", " 4 points, mode 2"};

class MainWindow {
public:
    static constexpr const char* kFormName = "frmMain";
    static constexpr int kDesignClientWidth = 6645;
    static constexpr int kDesignClientHeight = 5520;

    explicit MainWindow(PanelContext& context);

    ui::Form& Form() { return form_; }
    PanelWindows& Windows() { return windows_; }

    // Loads the window and shows it. False when the start-up ended the
    // program (a message has told the user why); the window is then gone.
    bool Start();

private:
    void Design();
    void AddSummaryRow(int top, const char* button, const char* buttonCaption, const char* shape,
                       const char* label, const char* labelCaption);

    // Form_Load; sets ending_ when the program is to end.
    void Load();
    bool LoadSteps();
    void LayOutForPs2();
    void ChooseSupportButton();
    void FillNameLists();
    void ShowSummaries();
    void LoadCalibrationMode();
    void Unload();

    void OpenDialog(ui::Form* dialog);       // shown, then the main window hidden
    void OpenAfterHiding(ui::Form* window);  // the main window hidden first
    void SupportClick();
    void ExitMouseDown(int button, int shift);
    void CalibrationListClick();
    void Exit();

    PanelContext& context_;
    ui::Form form_;
    PanelWindows windows_;
    bool ending_ = false;
    bool deviceOpen_ = false;
};

}  // namespace kv::panel
