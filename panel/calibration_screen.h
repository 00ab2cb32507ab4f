// frmCalibration: a full-screen window without a border. The cross marks
// are drawn on picCalibration; in the middle sit the title, the prompt,
// a box whose colour shows whether a finger is down, and the hint how to
// leave. It only shows things: calibration_procedure.h decides when.
#pragma once

#include <string>

#include "panel/calibration_math.h"
#include "ui/form.h"

namespace kv::panel {

inline constexpr const char* kTouchPromptLine1 = "Please touch on the center of Cross Mark that";
inline constexpr const char* kLiftPromptPrefix = "PLEASE LIFT OFF TO ";

class CalibrationScreen {
public:
    static constexpr const char* kFormName = "frmCalibration";
    static constexpr ui::Color kMarkOutline = ui::Rgb(255, 0, 0);
    static constexpr ui::Color kMarkLines = ui::Rgb(0, 0, 0);
    static constexpr ui::Color kErased = ui::Rgb(255, 255, 255);
    static constexpr ui::Color kTouched = ui::Rgb(255, 255, 0);
    static constexpr ui::Color kUntouched = ui::Rgb(255, 255, 255);

    CalibrationScreen();

    ui::Form& Form() { return form_; }
    ui::Control& Surface() { return form_.Ctl("picCalibration"); }
    const MarkGeometry& Geometry() const { return geometry_; }

    // The resize layout: surface over the whole window, panel and title
    // centred, marks recomputed.
    void Layout();
    // Fills the window to the screen (what maximised means without a
    // window system) and shows the screen size the driver was told.
    void Prepare(int screenWidth, int screenHeight);

    void DrawMark(int index, bool on);
    void ShowTouchPrompt(const std::string& targetName);
    void ShowLiftPrompt(const std::string& text);
    void SetTouchIndicator(bool on);
    // The message box and the ESC hint, hidden while a question is asked.
    void ShowInstructions(bool visible);
    // The surface goes at the end, leaving the plain grey window to try
    // the new calibration on.
    void HideSurface();
    // Gives the surface the keyboard focus, so ESC reaches it.
    void FocusSurface();

private:
    void Design();

    ui::Form form_;
    MarkGeometry geometry_;
};

}  // namespace kv::panel
