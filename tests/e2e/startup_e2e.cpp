// KVSTART under Wine against the stand-in driver: a logon run as another
// program and the driver see it, the rotation program stand-in, the
// right-button agent, the "/SDC" window with a real double click, the
// single instance and a product key that cannot be read.
#include <string>
#include <vector>

#include "harness/input.h"
#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

constexpr const char* kStartupCaption = " TouchScreen System Startup #KV-PS2";
constexpr const char* kMouseKey = "Control Panel\\Mouse";
constexpr DWORD kLogonRunMs = 20000;

class Startup : public PanelE2e {
protected:
    void SetUp() override {
        PanelE2e::SetUp();
        EndCompanions();
        for (const char* name : {"DoubleClickSpeed", "DoubleClickWidth", "DoubleClickHeight"})
            e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, name);
        // Something else in force, so that the run visibly changes it.
        SystemParametersInfoA(SPI_SETDOUBLECLICKTIME, 300, nullptr, SPIF_SENDWININICHANGE);
        SystemParametersInfoA(SPI_SETDOUBLECLKWIDTH, 4, nullptr, SPIF_SENDWININICHANGE);
        SystemParametersInfoA(SPI_SETDOUBLECLKHEIGHT, 6, nullptr, SPIF_SENDWININICHANGE);
    }
    void TearDown() override {
        startup.Kill();
        e2e::KillAllNamed("KVSTART.exe");
        EndCompanions();
        DeleteFileA(InstalledRotator().c_str());
        PanelE2e::TearDown();
    }
    void EndCompanions() {
        e2e::KillAllNamed("KVROTATE.exe");
        e2e::KillAllNamed("KVRBTN.exe");
        sim.RegisterRotator(-1);
    }

    struct MouseSettings {
        std::string time, width, height;
    };
    // The settings a program started now gets.
    static MouseSettings FreshMouseSettings() {
        const e2e::CommandResult probe = e2e::RunAndCapture(BuiltBeside("kv_e2e_probe.exe"), "");
        EXPECT_EQ(probe.exitCode, 0) << "the probe did not run";
        return {e2e::KeyValue(probe.output, "time").value_or("?"),
                e2e::KeyValue(probe.output, "width").value_or("?"),
                e2e::KeyValue(probe.output, "height").value_or("?")};
    }
    static std::string BuiltBeside(const std::string& relative) {
        char path[MAX_PATH];
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const std::string self(path);
        return self.substr(0, self.find_last_of('\\')) + "\\" + relative;
    }

    static std::string InstalledRotator() { return e2e::InstallDir() + "\\KVROTATE.exe"; }
    // The stand-in is built beside the tests, not installed with the programs.
    static bool InstallRotator() {
        const std::string built = BuiltBeside("..\\sim\\KVROTATE.exe");
        return CopyFileA(built.c_str(), InstalledRotator().c_str(), FALSE) != FALSE;
    }

    // A logon run to its end; false when it did not end in time.
    bool LogonRun() {
        startup = e2e::Process::Start(e2e::InstalledProgram("KVSTART.exe"));
        return startup.WaitExit(kLogonRunMs);
    }
    std::vector<KvSimLogEntry> SetRequests(std::uint32_t code) {
        std::vector<KvSimLogEntry> wanted;
        for (const auto& entry : DriverLog(KVSIM_LOG_SET_REQUEST))
            if (entry.Code == code) wanted.push_back(entry);
        return wanted;
    }
    std::uint32_t AgentQueries() {
        KvSimState state{};
        EXPECT_TRUE(sim.ReadState(state));
        return state.RequestCounts[KVSIM_REQ_GET_AGENT_WINDOW];
    }
    HWND OpenConfiguration() {
        startup = e2e::Process::Start(e2e::InstalledProgram("KVSTART.exe"), "/SDC");
        HWND window = e2e::WaitForWindow(kStartupCaption, startup.Id());
        if (window != nullptr) {
            EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        }
        return window;
    }

    e2e::Process startup;
};

TEST_F(Startup, LogonRunAppliesTheDefaultsAndSendsTheScreenSizeWithoutRotator) {
    ASSERT_TRUE(LogonRun()) << "the logon run did not end";
    EXPECT_FALSE(e2e::WaitForMessageBox(startup.Id(), 200).has_value());
    // What every other program now gets from Windows.
    const MouseSettings now = FreshMouseSettings();
    EXPECT_EQ(now.time, "500");
    EXPECT_EQ(now.width, "32");
    EXPECT_EQ(now.height, "32");
    EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, kMouseKey, "DoubleClickSpeed"), "500");
    EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, kMouseKey, "DoubleClickWidth"), "32");
    EXPECT_EQ(e2e::ReadRegString(HKEY_CURRENT_USER, kMouseKey, "DoubleClickHeight"), "32");
    EXPECT_EQ(e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickSpeed"), 500u);
    EXPECT_EQ(e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickHeight"), 32u);

    const auto sizes = SetRequests(KV_IOCTL_SET_SCREEN_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].Args[0], GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(sizes[0].Args[1], GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(e2e::ProcessesNamed("KVRBTN.exe").empty()) << "the right-button function is off";
}

// On a display scaled to 150 % the driver must still be told the panel's
// physical pixels, not a size in scaled units (runs in the 144-DPI world).
class StartupAt144Dpi : public Startup {
protected:
    void SetUp() override {
        if (e2e::WorldDpi() != 144) GTEST_SKIP() << "runs in the 144-DPI world only";
        Startup::SetUp();
    }
};

TEST_F(StartupAt144Dpi, LogonRunSendsTheScreenSizeInPixels) {
    ASSERT_TRUE(LogonRun()) << "the logon run did not end";
    const auto sizes = SetRequests(KV_IOCTL_SET_SCREEN_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].Args[0], GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(sizes[0].Args[1], GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(Startup, RotatorPresentIsStartedAndNoScreenSizeIsSent) {
    ASSERT_TRUE(InstallRotator());
    ASSERT_TRUE(LogonRun());
    KvSimState state{};
    EXPECT_TRUE(e2e::WaitUntil([&] { return sim.ReadState(state) && state.Rotator.RotatorWindow != -1; }))
        << "the rotation program did not register";
    EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(state.Rotator.RotatorWindow))));
    EXPECT_TRUE(SetRequests(KV_IOCTL_SET_SCREEN_SIZE).empty()) << "screen size sent anyway";
}

TEST_F(Startup, ManualRightButtonStartsAVisibleAgent) {
    SetDriver([](TouchParams& p) {
        p.TouchMode = 1;
        p.RBFunction = 1;
        p.RBAutoMode = 0;
    });
    ASSERT_TRUE(LogonRun());
    EXPECT_FALSE(e2e::WaitForMessageBox(startup.Id(), 200).has_value());
    HWND agent = e2e::WaitForWindow(" P-RBF");
    ASSERT_NE(agent, nullptr) << "no agent window";
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(agent) != FALSE; }));
}

TEST_F(Startup, AutomaticDragDropStartsAndQueriesNothing) {
    SetDriver([](TouchParams& p) {
        p.TouchMode = 4;
        p.RBFunction = 1;
        p.RBAutoMode = 1;
    });
    const std::uint32_t queries = AgentQueries();
    ASSERT_TRUE(LogonRun());
    EXPECT_EQ(AgentQueries(), queries);
    EXPECT_TRUE(e2e::ProcessesNamed("KVRBTN.exe").empty());
}

TEST_F(Startup, ConfigurationWindowAppliesAndTestsADoubleClick) {
    // Stored values other than the bars' design values, so that loading
    // them runs the bars' handlers.
    e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickSpeed", 400);
    e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickWidth", 32);
    e2e::WriteRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickHeight", 32);
    HWND window = OpenConfiguration();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window, "lblSiTT"), "300");
    EXPECT_EQ(Text(window, "lblTT"), "Speed: 400");
    EXPECT_EQ(Text(window, "lblHH"), "Height: 32");
    HWND apply = Control(window, "cmdApply");
    ASSERT_NE(apply, nullptr);
    EXPECT_TRUE(IsWindowEnabled(apply)) << "Windows uses other values than the stored ones";

    Scroll(Control(window, "hscTT"), SB_PAGERIGHT);
    Scroll(Control(window, "hscHH"), SB_LINERIGHT);
    EXPECT_EQ(Text(window, "lblTT"), "Speed: 450");
    EXPECT_EQ(Text(window, "lblHH"), "Hight: 33");
    e2e::Click(apply);
    EXPECT_TRUE(e2e::WaitUntil([&] { return Text(window, "lblSiTT") == "450"; }));
    const MouseSettings now = FreshMouseSettings();
    EXPECT_EQ(now.time, "450");
    EXPECT_EQ(now.height, "33");
    EXPECT_EQ(Text(window, "lblSiHH"), "33");
    EXPECT_FALSE(IsWindowEnabled(apply));
    EXPECT_EQ(e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickSpeed"), 450u);

    // A real double click on the test picture, as Windows recognises it.
    const e2e::ControlState off = Query(window, "imgOFF");
    ASSERT_TRUE(off.found && off.visible);
    SetForegroundWindow(window);
    e2e::MouseClick(off.screen);
    e2e::MouseClick(off.screen);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return e2e::QueryControl(window, "imgON").visible &&
                   !e2e::QueryControl(window, "imgOFF").visible;
        },
        5000))
        << "the test picture did not toggle";
    SaveShot(window, "startup-sdc");

    e2e::Click(Control(window, "cmdCandel"));
    EXPECT_TRUE(startup.WaitExit(5000));
}

TEST_F(Startup, SecondStartBringsTheFirstWindowForward) {
    HWND window = OpenConfiguration();
    ASSERT_NE(window, nullptr);
    e2e::Process second = e2e::Process::Start(e2e::InstalledProgram("KVSTART.exe"));
    ASSERT_TRUE(second.WaitExit(10000)) << "the second instance kept running";
    EXPECT_FALSE(e2e::WaitForMessageBox(second.Id(), 300).has_value());
    EXPECT_TRUE(startup.Running());
    EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == window; }, 3000));
    EXPECT_EQ(FreshMouseSettings().time, "300") << "the second start applied its values";
}

TEST_F(Startup, UnreadableProductKeyShowsItsBoxAndChangesNothing) {
    const auto saved = e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "HardwareID");
    ASSERT_TRUE(saved.has_value());
    ASSERT_TRUE(e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "HardwareID"));
    startup = e2e::Process::Start(e2e::InstalledProgram("KVSTART.exe"));
    auto box = e2e::WaitForMessageBox(startup.Id());
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(box->text, "Fail to load data from Register File!");
    EXPECT_EQ(box->caption, kStartupCaption);
    e2e::PressBoxButton(box->window, IDOK);
    EXPECT_TRUE(startup.WaitExit(5000));
    e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "HardwareID", *saved);
    EXPECT_EQ(FreshMouseSettings().time, "300");
    EXPECT_FALSE(e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickSpeed").has_value());
    EXPECT_TRUE(SetRequests(KV_IOCTL_SET_SCREEN_SIZE).empty());
}

}  // namespace
}  // namespace panel_e2e
