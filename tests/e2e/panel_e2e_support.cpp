#include "panel_e2e_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "harness/input.h"

namespace panel_e2e {

void PanelE2e::SetUp() {
    e2e::AnswerLeftoverBoxes(0);
    e2e::KillAllNamed("KVPANEL.exe");
    e2e::KillAllNamed("KVRBTN.exe");
    ASSERT_TRUE(sim.Open()) << "the stand-in driver is not reachable";
    ASSERT_TRUE(sim.SetDetectedPort(1));
    KvSimState state{};
    ASSERT_TRUE(sim.ReadState(state));
    logStart = state.LogNextSequence;
    // Known settings for every test: drag-drop with the right button off,
    // touch-down sound, 50 % speeds with slow acceleration.
    SetDriver([](TouchParams& p) {
        p.TouchMode = 4;
        p.RBFunction = 0;
        p.RBAutoMode = 0;
        p.RBAutoSTime = 1;
        p.RBAutoETime = 3;
        p.RBAutoBeep = 1;
        p.SoundMode = 2;
        p.SoundTone = 1000;
        p.SoundDuration = 20;
        p.Bypass = 0;
        p.MouseHSpeed = 10;
        p.MouseVSpeed = 10;
        p.Acceleration = 1;
    });
}

void PanelE2e::TearDown() {
    e2e::AnswerLeftoverBoxes(0);
    panel.Kill();
    e2e::KillAllNamed("KVPANEL.exe");
    e2e::KillAllNamed("KVRBTN.exe");
}

HWND PanelE2e::StartPanel() {
    panel = e2e::Process::Start(e2e::InstalledProgram("KVPANEL.exe"));
    EXPECT_NE(panel.Id(), 0u) << "KVPANEL.exe did not start";
    main = e2e::WaitForWindow(kPanelCaption, panel.Id());
    EXPECT_NE(main, nullptr) << "no main window";
    if (main != nullptr) {
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    }
    return main;
}

HWND PanelE2e::OpenDialog(const char* button, const char* formName) {
    HWND trigger = Control(main, button);
    if (trigger == nullptr) return nullptr;
    e2e::Click(trigger);
    HWND dialog = e2e::WaitForForm(formName, panel.Id());
    EXPECT_NE(dialog, nullptr) << formName << " did not open";
    if (dialog != nullptr) {
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; })) << formName;
    }
    return dialog;
}

TouchParams PanelE2e::DriverParams() {
    KvSimState state{};
    EXPECT_TRUE(sim.ReadState(state));
    return state.Params;
}

void PanelE2e::SetDriver(const std::function<void(TouchParams&)>& change) {
    TouchParams p = DriverParams();
    change(p);
    for (std::uint32_t code :
         {KV_IOCTL_SET_TOUCH_MODE, KV_IOCTL_SET_SOUND, KV_IOCTL_SET_MOUSE_SPEED}) {
        TouchParams sent = p;
        EXPECT_TRUE(sim.Control(code, &sent, sizeof sent, &sent, sizeof sent))
            << "request " << std::hex << code << ": " << kvsim::DescribeError(sim.LastError());
    }
}

std::vector<KvSimLogEntry> PanelE2e::DriverLog(std::uint32_t kind) {
    std::vector<KvSimLogEntry> all, wanted;
    EXPECT_TRUE(sim.ReadLog(logStart, all));
    for (const auto& entry : all)
        if (entry.Kind == kind) wanted.push_back(entry);
    return wanted;
}

HWND PanelE2e::Control(HWND form, const char* control) {
    HWND found = e2e::FindControl(form, control);
    EXPECT_NE(found, nullptr) << "no control " << control;
    return found;
}

e2e::ControlState PanelE2e::Query(HWND form, const char* control) {
    e2e::ControlState state = e2e::QueryControl(form, control);
    EXPECT_TRUE(state.found) << "no control " << control;
    return state;
}

std::string PanelE2e::Text(HWND form, const char* control) {
    const e2e::ControlState state = Query(form, control);
    return state.found ? state.text : std::string("<missing>");
}

void Scroll(HWND bar, int code) {
    SendMessageA(GetParent(bar), WM_HSCROLL, static_cast<WPARAM>(code),
                 reinterpret_cast<LPARAM>(bar));
}

void Pick(HWND combo, int index) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void PressAndRelease(HWND control) {
    RECT r;
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(control, WM_LBUTTONUP, 0, at);
}

void PressAndRelease(HWND form, const char* control) {
    const e2e::ControlState state = e2e::QueryControl(form, control);
    EXPECT_TRUE(state.found && state.visible) << control << " is not there to press";
    if (state.found) e2e::MouseClick(state.screen);
}

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void WriteBitmapFile(const std::string& path, int width, int height,
                     const std::vector<BYTE>& rows) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(rows.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        std::fwrite(rows.data(), 1, rows.size(), f);
        std::fclose(f);
    }
}

void SaveShot(HWND window, const std::string& name) {
    const char* dir = std::getenv("KV_SHOTS_DIR");
    if (dir == nullptr || *dir == '\0' || window == nullptr) return;
    // Let the window finish painting what the last action changed.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    RECT r;
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * static_cast<size_t>(height));
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    WriteBitmapFile(std::string(dir) + "\\" + name + ".bmp", width, height, rows);
}

}  // namespace panel_e2e
