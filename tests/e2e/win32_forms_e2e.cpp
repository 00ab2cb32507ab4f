// The Win32 form back end and ports on real windows (run under Wine with a
// display: Xvfb, or Wine's null graphics driver). Each test is a short
// story: build a form, act through window messages as a user or another
// process would, and read what the windows and the model show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "ui/form.h"
#include "win32/ports_win32.h"
#include "win32/win32_forms.h"

using namespace kv;
using ui::ControlKind;

namespace {

class Win32Forms : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        platform = new win32::Win32FormPlatform(GetModuleHandleA(nullptr));
        ui::SetPlatform(platform);
    }
    static void TearDownTestSuite() {
        ui::SetPlatform(nullptr);
        delete platform;
    }
    void TearDown() override {
        for (ui::Form* f : std::vector<ui::Form*>(ui::LoadedForms())) f->Unload();
        platform->DoEvents();
    }
    static int Tpp() { return platform->TwipsPerPixelX(); }
    static win32::Win32FormPlatform* platform;
};
win32::Win32FormPlatform* Win32Forms::platform = nullptr;

ui::Control& Place(ui::Form& f, ControlKind kind, const std::string& name, int l, int t, int w, int h,
                   ui::Control* container = nullptr, int index = -1) {
    ui::Control& c = f.Add(kind, name, index, container);
    c.Move(l, t, w, h);
    return c;
}

HWND W(const ui::Control& c) { return win32::ControlWindow(c); }

// What a window's client area shows, drawn into memory (WM_PRINTCLIENT):
// Wine's null display keeps no pixels of its own.
class Snapshot {
public:
    explicit Snapshot(HWND window) {
        RECT r;
        GetClientRect(window, &r);
        width_ = r.right;
        height_ = r.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        void* raw = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
        bits_ = static_cast<const std::uint32_t*>(raw);
        old_ = SelectObject(dc_, bitmap_);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
    }
    ~Snapshot() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& r, COLORREF color) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == color;
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    const std::uint32_t* bits_ = nullptr;
};

int Px(int twips) {
    static const int tpp = [] {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return 1440 / dpi;
    }();
    return twips / tpp;
}

TEST_F(Win32Forms, ControlWindowsAreMadeWhenFirstShownAndFoundByDesignName) {
    ui::Form f("frmNameStory");
    ui::Control& frame = Place(f, ControlKind::Frame, "frameStoryGroup", 120, 120, 3000, 1800);
    Place(f, ControlKind::OptionButton, "optStoryChoice", 120, 240, 2000, 300, &frame, 3);
    ui::Control& apply = Place(f, ControlKind::CommandButton, "cmdStoryApply", 3300, 120, 1200, 435);
    ui::Control& later = Place(f, ControlKind::CommandButton, "cmdStoryLater", 3300, 600, 1200, 435);
    later.SetVisible(false);
    f.Load();
    HWND form = win32::FormWindow(f);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(win32::DesignNameOf(form), "frmNameStory");
    EXPECT_EQ(GetWindow(form, GW_CHILD), nullptr) << "loading makes no control windows";
    apply.Move(3300, 240, 1200, 435);  // changes while loading are the model's alone

    f.Show();
    HWND option = win32::FindChildByDesignName(form, "optStoryChoice(3)");
    ASSERT_NE(option, nullptr) << "an array element is found by name(index)";
    EXPECT_EQ(GetParent(option), form) << "a windowless frame's controls live in its host";
    RECT r;
    GetWindowRect(option, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Px(240)) << "placed inside the frame";
    EXPECT_EQ(r.top, Px(360));
    EXPECT_EQ(win32::DesignNameOf(option), "optStoryChoice(3)");
    GetWindowRect(W(apply), &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, Px(240)) << "made where the model put it";
    EXPECT_EQ(win32::FindChildByDesignName(form, "frameStoryGroup"), nullptr) << "frames have no window";

    int children = 0;
    for (HWND w = GetWindow(form, GW_CHILD); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 2) << "the hidden button has no window yet";
    later.SetVisible(true);
    ASSERT_NE(W(later), nullptr);
    EXPECT_TRUE(IsWindowVisible(W(later)));
    EXPECT_EQ(GetWindow(W(apply), GW_HWNDNEXT), W(later)) << "it keeps its place in the design's order";

    // A frame passes its state on to the windows inside it.
    frame.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(option));
    frame.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(option));
    frame.Move(600, 600, 3000, 1800);
    frame.SetVisible(true);
    frame.SetEnabled(true);
    EXPECT_TRUE(IsWindowVisible(option));
    EXPECT_TRUE(IsWindowEnabled(option));
    GetWindowRect(option, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Px(720)) << "it moves with its frame";

    f.Unload();
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(GlobalFindAtomA("frmNameStory"), 0) << "the form's name atom goes with its window";
}

TEST_F(Win32Forms, TwipsBecomePixelsAtTheScreensResolution) {
    const int tpp = platform->TwipsPerPixelX();
    ASSERT_GT(tpp, 0);
    ui::Form f("frmGeometry");
    f.SetClientSize(6645, 5520);
    ui::Control& cmd = Place(f, ControlKind::CommandButton, "cmdVirtualButton", 480, 2100, 1695, 435);
    ui::Control& surface = Place(f, ControlKind::PictureBox, "picSurface", 0, 2700, 3000, 1500);
    surface.SetBorderStyle(0);
    surface.SetScaleMode(ui::kScalePixels);
    ui::Control& inner = Place(f, ControlKind::PictureBox, "picInner", 10, 20, 30, 40, &surface);
    f.Load();
    RECT client;
    GetClientRect(win32::FormWindow(f), &client);
    EXPECT_EQ(client.right, (6645 + tpp / 2) / tpp);
    EXPECT_EQ(client.bottom, 5520 / tpp);
    RECT r;
    GetWindowRect(W(cmd), &r);
    MapWindowPoints(nullptr, win32::FormWindow(f), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 480 / tpp);
    EXPECT_EQ(r.top, 2100 / tpp);
    EXPECT_EQ(r.right - r.left, (1695 + tpp / 2) / tpp);
    GetWindowRect(W(inner), &r);
    MapWindowPoints(nullptr, W(surface), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 10) << "children of a pixel container are placed in pixels";
    EXPECT_EQ(r.bottom - r.top, 40);
    // The model reads back what the window really got.
    EXPECT_EQ(f.ScaleWidth(), client.right * tpp);
}

TEST_F(Win32Forms, ButtonsBoxesAndOptionsAnswerClicksTheModelOwnsTheirState) {
    ui::Form f("frmClicks");
    ui::Control& chk = Place(f, ControlKind::CheckBox, "chkBypass", 120, 120, 2000, 300);
    ui::Control& frame = Place(f, ControlKind::Frame, "frameAcceleration", 120, 600, 2600, 1900);
    for (int i = 1; i <= 4; ++i)
        Place(f, ControlKind::OptionButton, "optAcceleration", 120, 240 + i * 300, 2000, 300, &frame, i);
    int clicks = 0;
    chk.Click = [&] { ++clicks; };
    f.Show();
    SendMessageA(W(chk), BM_CLICK, 0, 0);
    EXPECT_EQ(chk.Value(), 1);
    EXPECT_EQ(SendMessageA(W(chk), BM_GETCHECK, 0, 0), BST_CHECKED);
    chk.SetValue(0);
    EXPECT_EQ(SendMessageA(W(chk), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(clicks, 2);

    f.Ctl("optAcceleration", 1).SetValue(1);
    SendMessageA(W(f.Ctl("optAcceleration", 3)), BM_CLICK, 0, 0);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(SendMessageA(W(f.Ctl("optAcceleration", i)), BM_GETCHECK, 0, 0),
                  i == 3 ? BST_CHECKED : BST_UNCHECKED)
            << i;

    // A disabled box ignores the click: model and window agree.
    chk.SetEnabled(false);
    SendMessageA(W(chk), BM_CLICK, 0, 0);
    EXPECT_EQ(chk.Value(), 0);
}

TEST_F(Win32Forms, ScrollBarStepsAndRangesFollowTheModel) {
    ui::Form f("frmScroll");
    ui::Control& hsc = Place(f, ControlKind::HScrollBar, "hscTT", 120, 120, 3000, 255);
    hsc.SetMin(100);
    hsc.SetMax(900);
    hsc.SetLargeChange(50);
    hsc.SetValue(500);
    int changes = 0;
    hsc.Change = [&] { ++changes; };
    f.Show();
    HWND form = win32::FormWindow(f);
    EXPECT_EQ(GetScrollPos(W(hsc), SB_CTL), 500);
    SendMessageA(form, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(W(hsc)));
    SendMessageA(form, WM_HSCROLL, SB_PAGELEFT, reinterpret_cast<LPARAM>(W(hsc)));
    EXPECT_EQ(hsc.Value(), 451);
    EXPECT_EQ(GetScrollPos(W(hsc), SB_CTL), 451);
    EXPECT_EQ(changes, 2);
    hsc.SetValue(900);
    SendMessageA(form, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(W(hsc)));
    EXPECT_EQ(changes, 3) << "a page past the end moves nothing";

    // A bar whose Min is above its Max runs backwards on the screen.
    ui::Control& rev = Place(f, ControlKind::HScrollBar, "hscReversed", 120, 600, 3000, 255);
    rev.SetMin(20);
    rev.SetMax(0);
    rev.SetValue(5);
    EXPECT_EQ(GetScrollPos(W(rev), SB_CTL), 15);
    SendMessageA(form, WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(W(rev)));
    EXPECT_EQ(rev.Value(), 4) << "right moves towards Max";
}

TEST_F(Win32Forms, ComboPicksReachTheModelAndTheModelsIndexTheWindow) {
    ui::Form f("frmCombo");
    ui::Control& cbo = Place(f, ControlKind::ComboBox, "cboCalibration", 120, 120, 2400, 315);
    cbo.AddItem(" 4 points, mode 1");
    cbo.AddItem(" 4 points, mode 2");
    int clicks = 0;
    cbo.Click = [&] { ++clicks; };
    f.Show();
    cbo.SetListIndex(1);
    EXPECT_EQ(SendMessageA(W(cbo), CB_GETCURSEL, 0, 0), 1);
    SendMessageA(W(cbo), CB_SETCURSEL, 0, 0);
    SendMessageA(win32::FormWindow(f), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(W(cbo)), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(W(cbo)));
    EXPECT_EQ(cbo.ListIndex(), 0);
    EXPECT_EQ(cbo.Text(), " 4 points, mode 1");
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SendMessageA(W(cbo), CB_GETCOUNT, 0, 0), 2);
}

TEST_F(Win32Forms, EnterAndEscapePressTheDefaultAndCancelButtons) {
    ui::Form f("frmKeys");
    ui::Control& chk = Place(f, ControlKind::CheckBox, "chkBoth", 120, 120, 2000, 300);
    ui::Control& ok = Place(f, ControlKind::CommandButton, "cmdOK", 120, 600, 1200, 435);
    ui::Control& cancel = Place(f, ControlKind::CommandButton, "cmdCandel", 1500, 600, 1200, 435);
    ok.SetDefault(true);
    cancel.SetCancel(true);
    int oks = 0, cancels = 0;
    ok.Click = [&] { ++oks; };
    cancel.Click = [&] { ++cancels; };
    f.Show();
    chk.SetFocus();
    ASSERT_EQ(GetFocus(), W(chk));
    PostMessageA(W(chk), WM_KEYDOWN, VK_RETURN, 0);
    ui::DoEvents();
    EXPECT_EQ(oks, 1);
    chk.SetFocus();
    PostMessageA(W(chk), WM_KEYDOWN, VK_ESCAPE, 0);
    ui::DoEvents();
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(chk.Value(), 0) << "Enter and Esc do not toggle the focused box";
}

TEST_F(Win32Forms, PictureBoxesGetEveryKeyEscapeIncluded) {
    ui::Form f("frmCalibrationKeys");
    ui::Control& pic = Place(f, ControlKind::PictureBox, "picCalibration", 0, 0, 3000, 2000);
    ui::Control& cancel = Place(f, ControlKind::CommandButton, "cmdCancelKey", 3100, 0, 1200, 435);
    cancel.SetCancel(true);
    int escapes = 0, cancels = 0;
    pic.KeyDown = [&](int key, int) { escapes += key == VK_ESCAPE; };
    cancel.Click = [&] { ++cancels; };
    f.Show();
    pic.SetFocus();
    PostMessageA(W(pic), WM_KEYDOWN, VK_ESCAPE, 0);
    ui::DoEvents();
    EXPECT_EQ(escapes, 1);
    EXPECT_EQ(cancels, 0);
}

TEST_F(Win32Forms, ColoursReachTheControlsThroughCtlColor) {
    ui::Form f("frmColours");
    ui::Control& opt = Place(f, ControlKind::OptionButton, "optFeedbackSound", 120, 120, 2000, 300, nullptr, 1);
    opt.SetForeColor(ui::kTeal);
    f.Show();
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(win32::FormWindow(f), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(W(opt)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 128, 128)) << "&H808000 is teal";
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    DeleteDC(dc);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(W(opt), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    opt.SetFont({"Times New Roman", 20.25, true, true});
    font = reinterpret_cast<HFONT>(SendMessageA(W(opt), WM_GETFONT, 0, 0));
    GetObjectA(font, sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -MulDiv(2025, 1440 / platform->TwipsPerPixelY(), 7200));
}

// Labels, frames, shapes and images are drawn by their host, in the
// design's order, only while they and their containers are shown.
TEST_F(Win32Forms, WindowlessControlsAreDrawnByTheirHost) {
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), back = GetSysColor(COLOR_BTNFACE);
    ui::Form f("frmSwatches");
    f.SetClientSize(6000, 4000);
    ui::Control& swatch = Place(f, ControlKind::Label, "lblColor", 120, 120, 450, 450, nullptr, 3);
    swatch.SetBackColor(ui::Rgb(0, 0, 255));
    ui::Control& frame = Place(f, ControlKind::Frame, "fraTest", 1200, 120, 2400, 1800);
    frame.SetCaption("Test");
    ui::Control& text = Place(f, ControlKind::Label, "lblText", 240, 600, 1800, 600, &frame);
    text.SetCaption("WWWW");
    text.SetForeColor(ui::Rgb(255, 0, 0));
    text.SetBackStyle(0);
    Place(f, ControlKind::Label, "lblHelp", 3900, 120, 900, 450).SetBackColor(ui::Rgb(255, 0, 0));
    Place(f, ControlKind::Label, "lblHelpBox", 3750, 0, 1500, 900).SetBackColor(ui::Rgb(0, 0, 255));
    ui::Control& box = Place(f, ControlKind::PictureBox, "picLogo", 120, 2400, 2400, 1200);
    box.SetBorderStyle(0);
    box.SetBackColor(ui::Rgb(255, 255, 255));
    ui::Control& inBox = Place(f, ControlKind::Label, "lblInBox", 0, 0, 600, 600, &box);
    inBox.SetBackColor(ui::Rgb(255, 0, 0));
    Place(f, ControlKind::PictureBox, "picKeys", 3000, 2400, 600, 600).KeyDown = [](int, int) {};
    f.Show();
    HWND form = win32::FormWindow(f);
    const RECT swatchRect{Px(120), Px(120), Px(570), Px(570)};
    const RECT textRect{Px(1440), Px(720), Px(3240), Px(1320)};
    {
        Snapshot shot(form);
        EXPECT_EQ(shot.Count(swatchRect, blue), (swatchRect.right - swatchRect.left) * (swatchRect.bottom - swatchRect.top));
        EXPECT_GT(shot.Count(textRect, red), 20) << "the caption in its colour";
        EXPECT_EQ(shot.At(Px(1440) + 2, Px(720) + 2), back) << "a transparent label shows its host";
        EXPECT_NE(shot.At(Px(1200) + 1, Px(1800)), back) << "the frame's etched edge";
        EXPECT_EQ(shot.At(Px(4200), Px(300)), red) << "the earlier of two labels lies on top";
        EXPECT_EQ(shot.At(Px(3800), Px(300)), blue);
        // A picture box that takes no input is drawn by its host too.
        EXPECT_EQ(shot.At(Px(120) + 5, Px(2400) + 5), red);
        EXPECT_EQ(shot.At(Px(720) + 5, Px(2400) + 5), RGB(255, 255, 255));
    }
    EXPECT_EQ(win32::FindChildByDesignName(form, "picLogo"), nullptr);
    EXPECT_NE(win32::FindChildByDesignName(form, "picKeys"), nullptr) << "one that takes keys has a window";
    // Drawing on it gives it a window, which draws the labels it holds.
    box.Line(0, 900, 2400, 900, ui::Rgb(0, 0, 0));
    HWND boxWindow = win32::FindChildByDesignName(form, "picLogo");
    ASSERT_NE(boxWindow, nullptr);
    {
        Snapshot inside(boxWindow);
        EXPECT_EQ(inside.At(5, 5), red);
        EXPECT_EQ(inside.At(Px(600) + 5, 5), RGB(255, 255, 255));
        EXPECT_EQ(inside.At(Px(1200), Px(900)), RGB(0, 0, 0));
    }
    swatch.SetBorderStyle(1);
    frame.SetVisible(false);
    {
        Snapshot shot(form);
        EXPECT_EQ(shot.At(Px(120), Px(300)), GetSysColor(COLOR_WINDOWFRAME)) << "a one-line border";
        EXPECT_EQ(shot.At(Px(120) + 1, Px(300)), blue);
        EXPECT_EQ(shot.Count(textRect, red), 0) << "a hidden frame hides what it holds";
    }
    text.SetEnabled(false);
    frame.SetVisible(true);
    {
        Snapshot shot(form);
        EXPECT_EQ(shot.Count(textRect, red), 0);
        EXPECT_GT(shot.Count(textRect, GetSysColor(COLOR_GRAYTEXT)), 20) << "disabled text is grey";
    }
}

// The host passes its mouse input to the topmost enabled windowless control
// under the pointer (an earlier one lies on top, as the system's child
// windows do), which keeps it while the button is down.
TEST_F(Win32Forms, WindowlessControlsGetTheMouseFromTheirHost) {
    ui::Form f("frmMouse");
    f.SetClientSize(6000, 4000);
    ui::Control& top = Place(f, ControlKind::Label, "lblTop", 0, 0, 3000, 3000);
    ui::Control& below = Place(f, ControlKind::Image, "imgBelow", 1500, 1500, 3000, 1500);
    ui::Control& shape = Place(f, ControlKind::Shape, "shpAll", 0, 0, 6000, 4000);
    std::string log;
    auto watch = [&](ui::Control& c, const std::string& name) {
        c.MouseDown = [&log, name](int b, int, int x, int y) {
            log += name + " down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y) + "; ";
        };
        c.MouseUp = [&log, name](int, int, int, int) { log += name + " up; "; };
        c.Click = [&log, name] { log += name + " click; "; };
        c.DblClick = [&log, name] { log += name + " dblclick; "; };
    };
    watch(top, "top");
    watch(below, "below");
    shape.Click = [&] { log += "shape; "; };
    f.OnMouseDown = [&](int, int, int, int) { log += "form down; "; };
    f.Show();
    HWND form = win32::FormWindow(f);
    auto send = [&](UINT msg, int xTwips, int yTwips) {
        SendMessageA(form, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(Px(xTwips), Px(yTwips)));
    };
    send(WM_LBUTTONDOWN, 300, 300);
    send(WM_MOUSEMOVE, 5000, 3500);
    send(WM_LBUTTONUP, 5000, 3500);
    EXPECT_EQ(log, "top down 1 " + std::to_string(Px(300) * Tpp()) + "," + std::to_string(Px(300) * Tpp()) +
                       "; top up; top click; ")
        << "shapes take no input; the label keeps the mouse while the button is down";
    log.clear();
    send(WM_LBUTTONDOWN, 2000, 2000);
    send(WM_LBUTTONUP, 2000, 2000);
    EXPECT_EQ(log.substr(0, 9), "top down ") << "the earlier control is on top";
    log.clear();
    send(WM_LBUTTONDBLCLK, 4000, 2000);
    send(WM_LBUTTONUP, 4000, 2000);
    EXPECT_NE(log.find("below dblclick; "), std::string::npos) << log;
    log.clear();
    below.SetEnabled(false);
    top.SetVisible(false);
    send(WM_LBUTTONDOWN, 2000, 2000);
    send(WM_LBUTTONUP, 2000, 2000);
    EXPECT_EQ(log, "form down; ") << "disabled and hidden controls let the mouse through";
}

TEST_F(Win32Forms, TheHourglassShowsWhileMousePointerIs11) {
    ui::Form f("frmPointer");
    f.Show();
    HWND form = win32::FormWindow(f);
    f.SetMousePointer(ui::kPointerHourglass);
    SendMessageA(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(form), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    f.SetMousePointer(ui::kPointerDefault);
    SendMessageA(form, WM_SETCURSOR, reinterpret_cast<WPARAM>(form), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

WNDPROC g_previous = nullptr;
int g_userMessages = 0;
LRESULT CALLBACK AgentLikeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) {
        ++g_userMessages;
        return 0;
    }
    return CallWindowProcA(g_previous, hwnd, msg, wParam, lParam);
}

TEST_F(Win32Forms, AReplacedWindowProcedureLeavesTheFormWorking) {
    ui::Form f("frmReplaced");
    ui::Control& cmd = Place(f, ControlKind::CommandButton, "cmdAction", 0, 0, 600, 600);
    int clicks = 0, unloads = 0;
    cmd.Click = [&] { ++clicks; };
    f.OnUnload = [&] {
        ++unloads;
        SetWindowLongPtrA(win32::FormWindow(f), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    };
    f.Show();
    HWND form = win32::FormWindow(f);
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AgentLikeProc)));
    SendMessageA(form, WM_USER, 0x1000, 0);
    SendMessageA(W(cmd), BM_CLICK, 0, 0);
    EXPECT_EQ(g_userMessages, 1);
    EXPECT_EQ(clicks, 1) << "WM_COMMAND still reaches the back end through the old procedure";
    SendMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(IsWindow(form));
}

TEST_F(Win32Forms, AClickHandlerMayUnloadItsOwnForm) {
    ui::Form f("frmSelfClose");
    ui::Control& ok = Place(f, ControlKind::CommandButton, "cmdOK", 120, 120, 1200, 435);
    ok.Click = [&] { f.Unload(); };
    f.Show();
    HWND form = win32::FormWindow(f);
    SendMessageA(W(ok), BM_CLICK, 0, 0);
    EXPECT_FALSE(f.Loaded());
    EXPECT_FALSE(IsWindow(form));
    ui::DoEvents();  // nothing left behind to crash on
}

TEST_F(Win32Forms, AMaximisedBorderlessFormCoversTheScreen) {
    ui::Form f("frmCalibration");
    f.SetBorderStyle(ui::kBorderNone);
    f.SetWindowState(ui::kWindowMaximized);
    int resizes = 0;
    std::string order;
    f.OnResize = [&] {
        ++resizes;
        order += "Resize ";
    };
    f.OnActivate = [&] { order += "Activate "; };
    f.Show();
    EXPECT_EQ(order, "Resize Activate ") << "laid out before it is activated";
    RECT r;
    GetWindowRect(win32::FormWindow(f), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(f.ScaleWidth(), platform->ScreenWidthTwips());
    EXPECT_EQ(resizes, 1);
}

std::string TempFile(const char* name) {
    char dir[MAX_PATH] = {};
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

TEST_F(Win32Forms, BitmapsLoadFromFilesAndImagesTakeTheirSize) {
    const std::string path = TempFile("kv_forms_test.bmp");
    {
        BITMAPFILEHEADER fh{};
        BITMAPINFOHEADER ih{};
        const int w = 20, h = 10, stride = 60;
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + stride * h;
        ih.biSize = sizeof ih;
        ih.biWidth = w;
        ih.biHeight = h;
        ih.biPlanes = 1;
        ih.biBitCount = 24;
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(&fh, sizeof fh, 1, file);
        std::fwrite(&ih, sizeof ih, 1, file);
        std::string pixels(static_cast<size_t>(stride * h), '\x40');
        std::fwrite(pixels.data(), 1, pixels.size(), file);
        std::fclose(file);
    }
    ui::Form f("frmPicture");
    ui::Control& img = Place(f, ControlKind::Image, "imgLogo", 120, 120, 100, 100);
    f.Load();
    ui::Picture p = ui::LoadPicture(path);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->widthPx, 20);
    EXPECT_EQ(p->heightPx, 10);
    img.SetPicture(p);
    EXPECT_EQ(img.Width(), 20 * Tpp());
    EXPECT_EQ(img.Height(), 10 * Tpp());
    f.Show();
    {
        Snapshot shot(win32::FormWindow(f));
        const RECT picture{Px(120), Px(120), Px(120) + 20, Px(120) + 10};
        EXPECT_EQ(shot.Count(picture, RGB(0x40, 0x40, 0x40)), 200) << "drawn by the form";
        EXPECT_EQ(shot.At(Px(120) + 20, Px(120)), GetSysColor(COLOR_BTNFACE));
    }
    DeleteFileA(path.c_str());
    EXPECT_EQ(ui::LoadPicture(path), nullptr);
    EXPECT_TRUE(img.GetPicture()) << "the loaded picture outlives its file";
}

// ---- ports ----------------------------------------------------------------------------

TEST(Win32Ports, RegistryRoundTripAsTheSystemCallsIt) {
    win32::Win32RegistryPort reg;
    RegKey key = 0;
    ASSERT_EQ(reg.RegCreateKeyA(kHkeyCurrentUser, "Software\\KvPortTest\\Sub", &key), kErrorSuccess);
    const char text[] = "C:\\KV";
    ASSERT_EQ(reg.RegSetValueExA(key, "InstallPath", kRegSz, reinterpret_cast<const std::uint8_t*>(text),
                                 sizeof text),
              kErrorSuccess);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(reg.RegQueryValueExA(key, "InstallPath", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, sizeof text);
    std::uint8_t small[2] = {};
    size = sizeof small;
    EXPECT_EQ(reg.RegQueryValueExA(key, "InstallPath", &type, small, &size), kErrorMoreData);
    EXPECT_EQ(reg.RegQueryValueExA(key, "Missing", &type, nullptr, &size), kErrorFileNotFound);
    EXPECT_EQ(reg.RegCloseKey(key), kErrorSuccess);
    EXPECT_EQ(reg.RegDeleteKeyA(kHkeyCurrentUser, "Software\\KvPortTest\\Sub"), kErrorSuccess);
    EXPECT_EQ(reg.RegDeleteKeyA(kHkeyCurrentUser, "Software\\KvPortTest"), kErrorSuccess);
    EXPECT_EQ(reg.RegOpenKeyA(kHkeyCurrentUser, "Software\\KvPortTest", &key), kErrorFileNotFound);
    // The 32-bit constant of a predefined root still names it.
    ASSERT_EQ(reg.RegOpenKeyA(kHkeyLocalMachine, "SOFTWARE", &key), kErrorSuccess);
    reg.RegCloseKey(key);
}

TEST(Win32Ports, SingleInstanceAndFileExistence) {
    win32::Win32ProcessPort first, second;
    EXPECT_FALSE(first.PreviousInstanceRunning("KvPortTestProgram"));
    EXPECT_FALSE(first.PreviousInstanceRunning("KvPortTestProgram")) << "we are the first instance";
    EXPECT_TRUE(second.PreviousInstanceRunning("KvPortTestProgram")) << "the name is held";

    const std::string path = TempFile("kv_exists.txt");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_TRUE(first.FileExists(path));
    DeleteFileA(path.c_str());
    SetLastError(123);
    EXPECT_FALSE(first.FileExists(path));
    EXPECT_EQ(GetLastError(), 0u) << "a missing file leaves no error behind";
    char dir[MAX_PATH] = {};
    GetTempPathA(sizeof dir, dir);
    EXPECT_FALSE(first.FileExists(dir)) << "a folder is not a file";
    EXPECT_FALSE(first.FileExists(""));
}

TEST(Win32Ports, DesktopSeesTopLevelWindowsAsThePeerSearchNeedsThem) {
    win32::Win32FormPlatform platform(GetModuleHandleA(nullptr));
    ui::SetPlatform(&platform);
    win32::Win32DesktopPort desktop;
    {
        ui::Form f("frmDesktop");
        f.SetCaption(" TouchScreen Port Test #KV-PS2");
        f.Show();
        const WindowHandle h = reinterpret_cast<WindowHandle>(win32::FormWindow(f));
        EXPECT_EQ(desktop.FindWindowA(nullptr, " TouchScreen Port Test #KV-PS2"), h);
        EXPECT_EQ(desktop.GetParent(h), 0);
        EXPECT_EQ(desktop.GetWindowWord(h, kGwlHInstanceWord), 0) << "module bases are 64 KB aligned";
        char title[8] = {};
        EXPECT_EQ(desktop.GetWindowTextA(h, title, sizeof title), 7);
        EXPECT_STREQ(title, " TouchS");
        EXPECT_EQ(desktop.GetWindowTextLengthA(h), 30);
        EXPECT_TRUE(desktop.IsWindow(h));
        const PixelRect work = desktop.WorkArea();
        EXPECT_GT(work.right, work.left);
        EXPECT_EQ(desktop.TwipsPerPixelX(), platform.TwipsPerPixelX());
        EXPECT_EQ(desktop.ScreenWidthTwips(), GetSystemMetrics(SM_CXSCREEN) * desktop.TwipsPerPixelX());
        f.Unload();
        EXPECT_FALSE(desktop.IsWindow(h));
    }
    ui::SetPlatform(nullptr);
}

TEST(Win32Ports, DeviceCallsPassHandlesThrough) {
    win32::Win32DevicePort device;
    SecurityAttributesRecord security;
    EXPECT_EQ(device.CreateFileA("\\\\.\\KvNoSuchDevice", GENERIC_READ | GENERIC_WRITE, 0, &security,
                                 OPEN_EXISTING, 0, 0),
              kInvalidHandle);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    NativeHandle h = device.CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, &security, OPEN_EXISTING, 0, 0);
    ASSERT_NE(h, kInvalidHandle);
    std::uint32_t returned = 99;
    OverlappedRecord overlapped;
    EXPECT_FALSE(device.DeviceIoControl(h, 0x22E004, nullptr, 0, nullptr, 0, &returned, &overlapped))
        << "a file answers no device request";
    EXPECT_TRUE(device.CloseHandle(h));
}

}  // namespace
