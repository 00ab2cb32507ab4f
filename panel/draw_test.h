// frmTest: the draw test, a full-screen sheet to scribble on with a finger
// to see that touches land where they should. Small boxes pick the line's
// width and colour, another shows which button the driver is pressing.
// The driver is put into drag-drop mode meanwhile: only then does a
// stroke arrive as one unbroken press, drag and release.
#pragma once

#include <cstdint>

#include "panel/panel_context.h"
#include "ui/form.h"

namespace kv::panel {

inline constexpr std::uint8_t kDragDropMode = 4;

inline constexpr int kWidthCount = 4;
inline constexpr int kColorCount = 5;
inline constexpr int kButtonCount = 3;

// Pen colours of lblColor(0..4): black, red, green, blue, magenta.
inline constexpr ui::Color kPenColors[kColorCount] = {
    ui::Rgb(0, 0, 0), ui::Rgb(255, 0, 0), ui::Rgb(0, 128, 0), ui::Rgb(0, 0, 255),
    ui::Rgb(255, 0, 255)};

inline constexpr ui::Color kWidthBack = ui::Rgb(224, 224, 224);
inline constexpr ui::Color kWidthSelectedBack = ui::Rgb(64, 64, 64);
inline constexpr ui::Color kYellow = ui::Rgb(255, 255, 0);
inline constexpr ui::Color kHelpGrey = ui::Rgb(192, 192, 192);

// The lblButton element that shows a mouse button (1 left, 2 right,
// 4 middle): 0 "L", 2 "R", 1 "M"; -1 for any other value.
int IndicatorElement(int button);

class DrawTest {
public:
    static constexpr const char* kFormName = "frmTest";
    static constexpr int kFirstWidth = 1;  // pen width 2
    static constexpr int kFirstColor = 3;  // blue

    explicit DrawTest(PanelContext& context);

    ui::Form& Form() { return form_; }

    int SelectedWidth() const { return widthIndex_; }
    int SelectedColor() const { return colorIndex_; }
    bool Drawing() const { return drawing_; }

    void SelectWidth(int i);
    void SelectColor(int i);

    // The two resize handlers.
    void LayOutTopBar();
    void LayOutBottomBar();

private:
    void Design();
    void DesignTopBar();
    void DesignBottomBar();

    void Load();
    void Activate();
    void Unload();
    void PageDown(int button, int x, int y);
    void PageMove(int x, int y);
    void PageUp(int button);
    void Indicate(int button, bool on);

    PanelContext& context_;
    ui::Form form_;
    bool drawing_ = false;
    int widthIndex_ = 0;
    int colorIndex_ = 0;
    // The touch mode to give back at unload, taken at the first activation
    // of each opening only: a later activation (after a message box, a task
    // switch) would find drag-drop, the test's own mode.
    bool modeSaved_ = false;
    std::uint8_t savedTouchMode_ = 0;
};

}  // namespace kv::panel
