// A form with one control of every kind on the Win32 back end, to look at
// under Wine, and a probe that inspects it from a second process.
//
//   forms_smoke.exe                     shows the form until it is closed
//   forms_smoke.exe /probe result.txt   finds the running form by design
//                                       names, clicks and scrolls it, closes
//                                       it and writes what it saw; exit
//                                       code 0 when everything answered
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/form.h"
#include "win32/win32_forms.h"

using namespace kv;
using ui::ControlKind;

namespace {

const char kCaption[] = "Forms Smoke";

// A 48 x 32 24-bit bitmap with a diagonal gradient, written to `path`.
bool WriteSampleBitmap(const std::string& path) {
    const int w = 48, h = 32, stride = w * 3;
    const DWORD imageSize = static_cast<DWORD>(stride * h);
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + imageSize;
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = imageSize;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char px[3] = {static_cast<unsigned char>(x * 5), 0x80,
                                         static_cast<unsigned char>(y * 8)};
            std::fwrite(px, 3, 1, f);
        }
    std::fclose(f);
    return true;
}

ui::Control& Place(ui::Form& f, ControlKind kind, const char* name, int l, int t, int w, int h,
                   ui::Control* container = nullptr, int index = -1) {
    ui::Control& c = f.Add(kind, name, index, container);
    c.Move(l, t, w, h);
    return c;
}

void Design(ui::Form& f, int& applied) {
    f.SetCaption(kCaption);
    f.SetBorderStyle(ui::kBorderFixedSingle);
    f.SetClientSize(9000, 6200);
    f.Move(600, 600, f.Width(), f.Height());

    ui::Control& logo = Place(f, ControlKind::PictureBox, "picLogo", 240, 120, 5400, 780);
    ui::Control& title = Place(f, ControlKind::Label, "lblOemTitle", 0, 0, 5000, 480, &logo);
    title.SetCaption("Halvane");
    title.SetBackStyle(0);
    title.SetForeColor(ui::Rgb(255, 0, 0));
    title.SetFont({"Times New Roman", 20.25, true, false});
    ui::Control& system = Place(f, ControlKind::Label, "lblSystem", 0, 500, 5000, 240, &logo);
    system.SetCaption("TouchScreen Control Panel Version 7.0.PS2");
    system.SetBackStyle(0);
    system.SetForeColor(ui::Rgb(0, 0, 255));
    system.SetFont({"MS Sans Serif", 8.25, true, false});

    ui::Control& img = Place(f, ControlKind::Image, "imgIcon", 6000, 240, 480, 480);
    img.SetBorderStyle(1);

    ui::Control& frame = Place(f, ControlKind::Frame, "frameAcceleration", 240, 1080, 2600, 1900);
    frame.SetCaption("  Acceleration  ");
    const char* names[] = {"Slow", "Medium", "Fast", "Off"};
    for (int i = 1; i <= 4; ++i) {
        ui::Control& opt = Place(f, ControlKind::OptionButton, "optAcceleration", 240, 300 + (i - 1) * 360,
                                 2000, 300, &frame, i);
        opt.SetCaption(names[i - 1]);
        opt.SetForeColor(ui::kTeal);
        opt.Click = [&f, i] {
            for (int k = 1; k <= 4; ++k)
                f.Ctl("optAcceleration", k).SetForeColor(k == i ? ui::kBlack : ui::kTeal);
        };
    }

    ui::Control& chk = Place(f, ControlKind::CheckBox, "chkBoth", 3120, 1140, 3600, 300);
    chk.SetCaption("Set Both Horizontal && Vertical ");
    chk.SetForeColor(ui::kTeal);
    chk.Click = [&chk, &f] {
        chk.SetForeColor(chk.Value() == 1 ? ui::kBlack : ui::kTeal);
        f.SetMousePointer(chk.Value() == 1 ? ui::kPointerHourglass : ui::kPointerDefault);
    };

    ui::Control& hsc = Place(f, ControlKind::HScrollBar, "hscMouseHSpeed", 3120, 1620, 3000, 255);
    hsc.SetMin(1);
    hsc.SetMax(20);
    hsc.SetLargeChange(2);
    ui::Control& lblHS = Place(f, ControlKind::Label, "lblHS", 6240, 1620, 900, 255);
    lblHS.SetCaption("5%");
    hsc.Change = [&hsc, &lblHS] { lblHS.SetCaption(std::to_string(hsc.Value() * 5) + "%"); };
    hsc.Scroll = hsc.Change;

    ui::Control& cbo = Place(f, ControlKind::ComboBox, "cboCalibration", 3120, 2100, 2400, 315);
    cbo.AddItem(" 4 points, mode 1");
    cbo.AddItem(" 4 points, mode 2");

    Place(f, ControlKind::Shape, "shpSummary", 3120, 2640, 3855, 435);
    ui::Control& summary = Place(f, ControlKind::Label, "lblSummary", 3240, 2760, 3600, 195);
    summary.SetCaption("HS=50%, VS=50%, Acceleration=Slow");

    ui::Control& canvas = Place(f, ControlKind::PictureBox, "picCanvas", 240, 3240, 4200, 2100);
    canvas.SetBackColor(ui::kWhite);
    canvas.SetScaleMode(ui::kScalePixels);

    ui::Control& apply = Place(f, ControlKind::CommandButton, "cmdApply", 4800, 5520, 1200, 435);
    apply.SetCaption("&Apply");
    apply.SetDefault(true);
    apply.Click = [&applied, &summary] {
        ++applied;
        summary.SetCaption("Applied " + std::to_string(applied));
    };
    ui::Control& ok = Place(f, ControlKind::CommandButton, "cmdOK", 6120, 5520, 1200, 435);
    ok.SetCaption("&OK");
    ok.Click = [&f] { f.Unload(); };
    ui::Control& cancel = Place(f, ControlKind::CommandButton, "cmdCandel", 7440, 5520, 1200, 435);
    cancel.SetCaption("&Cancel");
    cancel.SetCancel(true);
    cancel.Click = [&f] { f.Unload(); };

    f.OnLoad = [&f, &canvas, &img, &cbo, &hsc] {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        const std::string path = std::string(temp) + "kv_smoke.bmp";
        if (WriteSampleBitmap(path)) img.SetPicture(ui::LoadPicture(path));
        cbo.SetListIndex(0);
        hsc.SetValue(10);
        f.Ctl("optAcceleration", 1).SetValue(1);
        // A cross mark, as the calibration screen draws it.
        canvas.Box(10, 10, 41, 41, ui::Rgb(255, 0, 0));
        canvas.Line(10, 25, 41, 25, ui::kBlack);
        canvas.Line(25, 10, 25, 41, ui::kBlack);
        canvas.SetDrawWidth(3);
        canvas.PSet(80, 60, ui::Rgb(0, 0, 255));
        canvas.LineTo(200, 100, ui::Rgb(0, 0, 255));
    };
    canvas.MouseDown = [&canvas](int, int, int x, int y) { canvas.PSet(x, y, ui::Rgb(255, 0, 255)); };
    canvas.MouseMove = [&canvas](int button, int, int x, int y) {
        if (button != 0) canvas.LineTo(x, y, ui::Rgb(255, 0, 255));
    };
}

// ---- the probe (a second process) -----------------------------------------------------

struct Found {
    std::string names;
    HWND apply = nullptr;
    HWND summary = nullptr;
    HWND scroll = nullptr;
    HWND option3 = nullptr;
};

BOOL CALLBACK Collect(HWND w, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    const std::string name = win32::DesignNameOf(w);
    found->names += name + "\n";
    if (name == "cmdApply") found->apply = w;
    if (name == "lblSummary") found->summary = w;
    if (name == "hscMouseHSpeed") found->scroll = w;
    if (name == "optAcceleration(3)") found->option3 = w;
    return TRUE;
}

std::string TextOf(HWND w) {
    char text[256] = {};
    GetWindowTextA(w, text, sizeof text);
    return text;
}

int Probe(const char* resultPath) {
    HWND form = nullptr;
    for (int i = 0; i < 100 && form == nullptr; ++i) {  // up to 10 s for the form to appear
        form = FindWindowA(nullptr, kCaption);
        if (form == nullptr) Sleep(100);
    }
    std::string report;
    bool ok = form != nullptr;
    if (form != nullptr) {
        report += "form: " + win32::DesignNameOf(form) + "\n";
        Found found;
        EnumChildWindows(form, Collect, reinterpret_cast<LPARAM>(&found));
        report += found.names;
        ok = ok && win32::DesignNameOf(form) == "frmSmoke" && found.apply != nullptr &&
             found.summary != nullptr && found.scroll != nullptr && found.option3 != nullptr;
        if (ok) {
            SendMessageA(found.apply, BM_CLICK, 0, 0);
            const std::string after = TextOf(found.summary);
            report += "summary after click: " + after + "\n";
            ok = ok && after == "Applied 1";
            // A page to the right through the form's scroll handling.
            SendMessageA(form, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(found.scroll));
            HWND lblHS = win32::FindChildByDesignName(form, "lblHS");
            const std::string hs = lblHS != nullptr ? TextOf(lblHS) : "";
            report += "lblHS after page right: " + hs + "\n";
            ok = ok && hs == "60%";
            SendMessageA(found.option3, BM_CLICK, 0, 0);
            const LRESULT checked = SendMessageA(found.option3, BM_GETCHECK, 0, 0);
            report += "optAcceleration(3) checked: " + std::to_string(checked) + "\n";
            ok = ok && checked == BST_CHECKED;
            if (const char* shot = std::getenv("KV_SMOKE_KEEP")) {
                (void)shot;  // leave the form open for a screenshot
            } else {
                PostMessageA(form, WM_CLOSE, 0, 0);
            }
        }
    }
    report += ok ? "RESULT ok\n" : "RESULT failed\n";
    if (std::FILE* f = std::fopen(resultPath, "wb")) {
        std::fputs(report.c_str(), f);
        std::fclose(f);
    }
    return ok ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    if (std::strncmp(commandLine, "/probe ", 7) == 0) return Probe(commandLine + 7);

    win32::Win32FormPlatform platform(instance);
    ui::SetPlatform(&platform);
    int applied = 0;
    {
        ui::Form form("frmSmoke");
        Design(form, applied);
        form.Show();
        platform.RunMessageLoop();
    }
    ui::SetPlatform(nullptr);
    return 0;
}
