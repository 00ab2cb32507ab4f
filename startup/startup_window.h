// KVSTART's frmMain. In logon mode it is only the title window (logo,
// vendor title, version line); in configuration mode it carries the three
// double-click bars, what Windows uses now, a test picture that toggles on
// every double click Windows recognises, and Apply / OK / Cancel.
#pragma once

#include "startup/startup_context.h"
#include "ui/form.h"

namespace kv::startup {

inline constexpr const char* kSystemLineDesign = "TouchScreen System Startup Version ";
inline constexpr const char* kRegisterFileFailureText = "Fail to load data from Register File!";
inline constexpr int kIconResource = 1;
inline constexpr int kTestOnResource = 102;
inline constexpr int kTestOffResource = 103;
inline constexpr int kLogonWindowHeight = 2025;
inline constexpr ui::Color kTestOnColor = ui::Rgb(0, 0, 255);
inline constexpr ui::Color kTestOffColor = ui::Rgb(250, 250, 250);

class StartupWindow {
public:
    static constexpr const char* kFormName = "frmMain";

    explicit StartupWindow(StartupContext& context);

    ui::Form& Form() { return form_; }
    void SetAbout(ui::Form* about) { about_ = about; }

    // Loads the window and shows it; false when the load ended the program
    // (a box has told the user why, or the running instance was brought
    // forward). The window is then gone.
    bool Start();

    // False only when the bars stand for the stored values and Windows
    // uses them too.
    bool SettingsChanged();

private:
    enum Bar { kSpeed, kWidth, kHeight };

    void Design();
    void AddBarRow(Bar bar, int top, const char* name, const char* label, const char* caption,
                   int min, int max, int largeChange, int value);
    void Load();
    bool LoadSteps();
    void LoadConfiguration();
    void ShowSystemValues();
    void BarChange(Bar bar);
    void UpdateApplyButton();
    void ApplyClick();
    void OkClick();
    void TestOn();
    void TestOff();
    void IconDblClick();

    ui::Control& BarControl(Bar bar);

    StartupContext& context_;
    ui::Form form_;
    ui::Form* about_ = nullptr;
    bool ending_ = false;
};

}  // namespace kv::startup
