// The control panel's longest texts fit their controls in the fonts the
// Wine world provides: each text is measured in "MS Sans Serif" 8.25 pt (the
// forms' font) in this process, which shares the prefix's fonts, and
// compared with the room its control leaves for text.
#include <algorithm>

#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

using TextFit = PanelE2e;

// What a caption shows: "&&" is one ampersand, a single "&" underlines.
std::string Shown(const std::string& caption) {
    std::string shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

int TextPixels(const std::string& text) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(825, GetDeviceCaps(dc, LOGPIXELSY), 7200), 0, 0, 0, FW_NORMAL,
                             FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

enum class Kind { Label, Box, Combo };

// Width left for text: a label has all of its own (it has no window: its
// form draws it), a check or option box takes its glyph and a gap, a closed
// combo its drop button and margins.
int Room(const e2e::ControlState& control, Kind kind) {
    RECT r{};
    if (kind != Kind::Label) GetClientRect(control.window, &r);
    switch (kind) {
        case Kind::Label: return control.screen.right - control.screen.left;
        case Kind::Box: return r.right - 19;
        case Kind::Combo: return r.right - GetSystemMetrics(SM_CXVSCROLL) - 6;
    }
    return 0;
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

struct Check {
    const char* control;
    Kind kind;
};

void ExpectFits(HWND form, const std::vector<Check>& checks) {
    for (const Check& c : checks) {
        const e2e::ControlState control = e2e::QueryControl(form, c.control);
        ASSERT_TRUE(control.found && (c.kind == Kind::Label || control.window != nullptr))
            << c.control;
        std::vector<std::string> texts = c.kind == Kind::Combo
                                             ? ComboItems(control.window)
                                             : std::vector<std::string>{control.text};
        for (const std::string& text : texts) {
            const std::string shown = c.kind == Kind::Combo ? text : Shown(text);
            EXPECT_LE(TextPixels(shown), Room(control, c.kind))
                << c.control << " cuts off \"" << shown << "\"";
        }
    }
}

TEST_F(TextFit, TheLongestTextsFitTheirControls) {
    // The longest summaries the main window can show.
    SetDriver([](TouchParams& p) {
        p.TouchMode = 4;
        p.RBFunction = 1;
        p.RBAutoMode = 1;
        p.SoundMode = 4;
        p.MouseHSpeed = 20;
        p.MouseVSpeed = 20;
        p.Acceleration = 2;
    });
    ASSERT_NE(StartPanel(), nullptr);
    EXPECT_EQ(Text(main, "lblVirtualButton"), "Drag Drop Mode, RBF Enable ( Automatic Mode )");
    SaveShot(main, "main-window-longest");
    ExpectFits(main, {{"lblSerialPort", Kind::Label},
                      {"lblVirtualButton", Kind::Label},
                      {"lblFeedbackSound", Kind::Label},
                      {"lblMouseSpeed", Kind::Label},
                      {"cboCalibration", Kind::Combo}});

    struct Dialog {
        const char* button;
        const char* form;
        std::vector<Check> checks;
    };
    const Dialog dialogs[] = {
        {"cmdVirtualButton",
         "frmVirtualButton",
         {{"optVirtualButton(1)", Kind::Box},
          {"optVirtualButton(2)", Kind::Box},
          {"optVirtualButton(3)", Kind::Box},
          {"optVirtualButton(4)", Kind::Box},
          {"optRBFunction(0)", Kind::Box},
          {"optRBFunction(1)", Kind::Box},
          {"cboRBAutoMode", Kind::Combo}}},
        {"cmdFeedbackSound",
         "frmFeedbackSound",
         {{"optFeedbackSound(1)", Kind::Box},
          {"optFeedbackSound(2)", Kind::Box},
          {"optFeedbackSound(3)", Kind::Box},
          {"optFeedbackSound(4)", Kind::Box}}},
        {"cmdMouseSpeed",
         "frmMouseSpeed",
         {{"chkBypass", Kind::Box},
          {"chkBoth", Kind::Box},
          {"optAcceleration(1)", Kind::Box},
          {"optAcceleration(2)", Kind::Box},
          {"optAcceleration(3)", Kind::Box},
          {"optAcceleration(4)", Kind::Box}}},
    };
    for (const Dialog& d : dialogs) {
        SCOPED_TRACE(d.form);
        HWND dialog = OpenDialog(d.button, d.form);
        ASSERT_NE(dialog, nullptr);
        ExpectFits(dialog, d.checks);
        e2e::Click(Control(dialog, "cmdCandel"));
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    }
}

}  // namespace
}  // namespace panel_e2e
