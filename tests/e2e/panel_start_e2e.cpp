// KVPANEL's start under Wine against the stand-in driver: the main window
// and its summaries, the single instance, each start-up failure a user can
// meet, and the support button cut by the vendor.
#include <vector>

#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

using PanelStart = PanelE2e;

TEST_F(PanelStart, ShowsTheFourSummariesReadFromTheDriver) {
    SetDriver([](TouchParams& p) {
        p.TouchMode = 3;
        p.RBFunction = 1;
        p.SoundMode = 4;
        p.MouseHSpeed = 4;
        p.MouseVSpeed = 20;
        p.Acceleration = 3;
    });
    ASSERT_NE(StartPanel(), nullptr);

    EXPECT_EQ(e2e::DesignName(main), "frmMain");
    EXPECT_EQ(Text(main, "lblSystem"), "TouchScreen Control Panel Version 7.0.PS2");
    EXPECT_EQ(Text(main, "lblDetection"), "Detection");
    EXPECT_EQ(Text(main, "lblSerialPort"), "TouchScreen or Mouse found on PS/2 port");
    EXPECT_EQ(Text(main, "lblVirtualButton"), "Touch Down Mode, RBF Enable");
    EXPECT_EQ(Text(main, "lblFeedbackSound"), "Both Touch Down && Lift Off");
    EXPECT_EQ(Text(main, "lblMouseSpeed"), "HS=20%, VS=100%, Acceleration=Fast");
    EXPECT_FALSE(IsWindowVisible(Control(main, "cmdSerialPort")));
    EXPECT_FALSE(IsWindowVisible(Control(main, "cmdSleepTime")));
    EXPECT_TRUE(IsWindowVisible(Control(main, "cmdMouseSpeed")));
    // Only an exact design name finds a control.
    for (const char* name : {"lblMouseSpee", "lblMouseSpeed(1)", ""})
        EXPECT_FALSE(e2e::QueryControl(main, name).found) << '"' << name << '"';

    // 6645 x (5520 - 600) twips of client area at 96 DPI.
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 443);
    EXPECT_EQ(client.bottom, 328);
    // The calibration row sits where the power-save row was.
    RECT exitRect, mouseRect;
    GetWindowRect(Control(main, "cmdExit"), &exitRect);
    GetWindowRect(Control(main, "cmdMouseSpeed"), &mouseRect);
    EXPECT_EQ(exitRect.top - mouseRect.top, 40);

    EXPECT_EQ(e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode"), 0u);
    SaveShot(main, "main-window");
}

TEST_F(PanelStart, SecondStartActivatesTheFirstWindowAndEnds) {
    ASSERT_NE(StartPanel(), nullptr);
    e2e::Process second = e2e::Process::Start(e2e::InstalledProgram("KVPANEL.exe"));
    ASSERT_TRUE(second.WaitExit(10000)) << "the second instance kept running";
    EXPECT_FALSE(e2e::WaitForMessageBox(second.Id(), 300).has_value());
    EXPECT_TRUE(panel.Running());
    EXPECT_EQ(e2e::ProcessesNamed("KVPANEL.exe").size(), 1u);
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == main; }, 3000))
        << "the first window was not brought to the foreground";
}

TEST_F(PanelStart, ExitEndsTheProgram) {
    ASSERT_NE(StartPanel(), nullptr);
    e2e::Click(Control(main, "cmdExit"));
    EXPECT_TRUE(panel.WaitExit(5000));
}

class PanelStartFailure : public PanelE2e {
protected:
    // Starts the panel, expects exactly this box, answers it and sees the
    // program end without a main window.
    void ExpectFailure(const std::string& text) {
        panel = e2e::Process::Start(e2e::InstalledProgram("KVPANEL.exe"));
        auto box = e2e::WaitForMessageBox(panel.Id());
        ASSERT_TRUE(box.has_value()) << "no message box";
        EXPECT_EQ(box->text, text);
        EXPECT_EQ(box->caption, kPanelCaption);
        // The window exists while it loads, but it is never shown.
        HWND window = e2e::FindForm("frmMain", panel.Id());
        EXPECT_TRUE(window == nullptr || !IsWindowVisible(window))
            << "the main window is up behind the box";
        e2e::PressBoxButton(box->window, IDOK);
        EXPECT_TRUE(panel.WaitExit(5000)) << "the program did not end";
        EXPECT_FALSE(
            e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode").has_value())
            << "the calibration mode was written";
    }
    void SetUp() override {
        PanelE2e::SetUp();
        e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "CalibrationMode");
    }
};

TEST_F(PanelStartFailure, DriverAbsent) {
    sim.Close();
    ASSERT_TRUE(e2e::StopDriverService());
    ExpectFailure("Fail to open KVTOUCH.vxd!");
    EXPECT_TRUE(e2e::StartDriverService());
}

TEST_F(PanelStartFailure, ControllerAbsent) {
    ASSERT_TRUE(sim.SetDetectedPort(0));
    ExpectFailure("TouchScreen Controller Not Found!");
    sim.SetDetectedPort(1);
}

TEST_F(PanelStartFailure, ProductValueMissing) {
    const auto saved = e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "HardwareID");
    ASSERT_TRUE(saved.has_value());
    ASSERT_TRUE(e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "HardwareID"));
    ExpectFailure("Fail to load data from Register File!");
    e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "HardwareID", *saved);
}

TEST_F(PanelStart, VendorCutFileBlanksAndDisablesTheSupportButton) {
    const std::string cut = e2e::InstallDir() + "\\KVVender.Cut";
    HANDLE file = CreateFileA(cut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    StartPanel();
    HWND support = main ? Control(main, "cmdSupport") : nullptr;
    if (support != nullptr) {
        EXPECT_EQ(e2e::WindowText(support), "");
        EXPECT_FALSE(IsWindowEnabled(support));
    }
    DeleteFileA(cut.c_str());
}

// A vendor support picture: blue with a white band, 200 x 120 pixels.
void WriteVendorBitmap(const std::string& path) {
    const int width = 200, height = 120, stride = width * 3;
    std::vector<BYTE> rows(static_cast<size_t>(stride * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* px = &rows[static_cast<size_t>(y * stride + x * 3)];
            const bool band = y > 50 && y < 70;
            px[0] = band ? 255 : 160;  // blue
            px[1] = band ? 255 : 64;
            px[2] = band ? 255 : 32;
        }
    WriteBitmapFile(path, width, height, rows);
}

TEST_F(PanelStart, VendorBitmapOpensTheSupportWindowSizedAroundIt) {
    const std::string bitmap = e2e::InstallDir() + "\\KVVender.Bmp";
    WriteVendorBitmap(bitmap);
    StartPanel();
    HWND support = main ? OpenDialog("cmdSupport", "frmSupport") : nullptr;
    if (support != nullptr) {
        EXPECT_EQ(e2e::WindowText(support), kPanelCaption);
        // 200 x 120 pixels; 60 twips are 4 pixels: 120 + 5 x 4 + the button.
        RECT client, ok;
        GetClientRect(support, &client);
        GetClientRect(Control(support, "cmdOK"), &ok);
        EXPECT_EQ(client.right, 200);
        EXPECT_EQ(client.bottom, 120 + 20 + ok.bottom);
        SaveShot(support, "support");
        e2e::Click(Control(support, "cmdOK"));
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    }
    DeleteFileA(bitmap.c_str());
}

TEST_F(PanelStart, WithoutVendorFilesTheButtonOpensAbout) {
    ASSERT_NE(StartPanel(), nullptr);
    HWND support = Control(main, "cmdSupport");
    ASSERT_NE(support, nullptr);
    EXPECT_EQ(e2e::WindowText(support), "&About");
    HWND about = OpenDialog("cmdSupport", "frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(e2e::WindowText(about), " About");
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(Text(about, "lblSystem"), "TouchScreen Control Panel Version 7.0.PS2");
    SaveShot(about, "about");
    e2e::Click(Control(about, "cmdOK"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_FALSE(IsWindow(about));
}

}  // namespace
}  // namespace panel_e2e
