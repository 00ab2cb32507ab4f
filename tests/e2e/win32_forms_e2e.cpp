// The Win32 form back end and ports on real windows (run under Wine with a
// display: Xvfb, or Wine's null graphics driver). Each test is a short
// story: build a form, act through window messages as a user or another
// process would, and read what the windows and the model show.
#include <windows.h>

#include <gtest/gtest.h>

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

TEST_F(Win32Forms, EveryWindowCarriesItsDesignNameUntilTheFormUnloads) {
    ui::Form f("frmNameStory");
    ui::Control& frame = Place(f, ControlKind::Frame, "frameStoryGroup", 120, 120, 3000, 1800);
    Place(f, ControlKind::OptionButton, "optStoryChoice", 120, 240, 2000, 300, &frame, 3);
    Place(f, ControlKind::CommandButton, "cmdStoryApply", 3300, 120, 1200, 435);
    f.Load();
    HWND form = win32::FormWindow(f);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(win32::DesignNameOf(form), "frmNameStory");
    HWND option = win32::FindChildByDesignName(form, "optStoryChoice(3)");
    ASSERT_NE(option, nullptr) << "an array element is found by name(index)";
    EXPECT_EQ(GetParent(option), W(frame)) << "a frame holds its options";
    ASSERT_NE(win32::FindChildByDesignName(form, "cmdStoryApply"), nullptr);
    ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(option, "Name")));
    char name[64] = {};
    GlobalGetAtomNameA(atom, name, sizeof name);
    EXPECT_STREQ(name, "optStoryChoice(3)");

    f.Unload();
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(GlobalFindAtomA("cmdStoryApply"), 0) << "the atom goes with its window";
    EXPECT_EQ(GlobalFindAtomA("frmNameStory"), 0);
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
    ui::Control& logo = Place(f, ControlKind::PictureBox, "picLogo", 120, 600, 4000, 800);
    ui::Control& title = Place(f, ControlKind::Label, "lblOemTitle", 0, 0, 3000, 480, &logo);
    title.SetBackStyle(0);
    title.SetForeColor(ui::Rgb(255, 0, 0));
    f.Load();
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageA(win32::FormWindow(f), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(W(opt)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 128, 128)) << "&H808000 is teal";
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    const LRESULT brush = SendMessageA(W(logo), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(W(title)));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH));
    DeleteDC(dc);
}

TEST_F(Win32Forms, ALabelGainsAndLosesItsBorderAtRunTime) {
    ui::Form f("frmSwatches");
    ui::Control& swatch = Place(f, ControlKind::Label, "lblColor", 120, 120, 450, 450, nullptr, 3);
    swatch.SetBackColor(ui::Rgb(0, 0, 255));
    f.Show();
    RECT before, after;
    GetClientRect(W(swatch), &before);
    swatch.SetBorderStyle(1);
    GetClientRect(W(swatch), &after);
    EXPECT_TRUE(GetWindowLongPtrA(W(swatch), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(after.right, before.right - 2) << "a single line on each side";
    swatch.SetBorderStyle(0);
    EXPECT_FALSE(GetWindowLongPtrA(W(swatch), GWL_STYLE) & WS_BORDER);
    swatch.SetAlignment(ui::kAlignCenter);
    EXPECT_EQ(GetWindowLongPtrA(W(swatch), GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

TEST_F(Win32Forms, FontsAreCreatedFromNameSizeBoldAndItalic) {
    ui::Form f("frmFonts");
    ui::Control& title = Place(f, ControlKind::Label, "lblOemTitle", 0, 0, 3000, 480);
    title.SetFont({"Times New Roman", 20.25, true, false});
    f.Load();
    title.SetFontItalic(true);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(W(title), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -MulDiv(2025, 1440 / platform->TwipsPerPixelY(), 7200));
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
    RECT r;
    GetClientRect(W(img), &r);
    EXPECT_EQ(r.right, 20);
    EXPECT_EQ(r.bottom, 10);
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
