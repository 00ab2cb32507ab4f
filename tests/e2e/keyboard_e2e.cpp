// The control panel and the right-button agent driven by the keyboard, with
// real input (SendInput): where the focus is (GetGUIThreadInfo), what the
// stand-in driver received, which window is active.
#include <functional>

#include "harness/input.h"
#include "panel_e2e_support.h"

namespace panel_e2e {
namespace {

constexpr const char* kAgentCaption = " P-RBF";

// The panel handles a key after SendInput returns: every effect is waited for.
bool Eventually(const std::function<bool()>& condition) { return e2e::WaitUntil(condition, 5000); }

class Keyboard : public PanelE2e {
public:
    using PanelE2e::Control;
    using PanelE2e::DriverParams;
    using PanelE2e::Text;

    // The main window shown and active, with the focus on its first button.
    bool StartWithFocus() {
        if (StartPanel() == nullptr) return false;
        SetForegroundWindow(main);
        return e2e::WaitForFocus(main, "cmdVirtualButton");
    }

    // Alt+key on the main window; the dialog shows, active.
    HWND OpenWithKey(WORD key, const char* formName) {
        e2e::PressKey(key, false, true);
        HWND dialog = e2e::WaitForForm(formName, panel.Id());
        EXPECT_NE(dialog, nullptr) << formName << " did not open";
        if (dialog == nullptr) return nullptr;
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ActiveOf(main) == dialog; }))
            << formName << " is not the active window";
        return dialog;
    }

    bool Closed(HWND dialog) {
        if (dialog == nullptr) return false;
        return e2e::WaitUntil([&] { return !IsWindowVisible(dialog) && IsWindowVisible(main); });
    }

    std::size_t SoundTests() { return DriverLog(KVSIM_LOG_SOUND_TEST).size(); }
};

TEST_F(Keyboard, EachDialogOpensFocusedOnItsFirstSettingAndEscReturnsToItsButton) {
    ASSERT_TRUE(StartWithFocus()) << "main window focus: " << e2e::FocusName(main);
    struct Case {
        WORD key;
        const char* form;
        const char* firstFocus;
        const char* opener;
    };
    for (Case c : {Case{'V', "frmVirtualButton", "optVirtualButton(4)", "cmdVirtualButton"},
                   Case{'F', "frmFeedbackSound", "optFeedbackSound(2)", "cmdFeedbackSound"},
                   Case{'M', "frmMouseSpeed", "chkBypass", "cmdMouseSpeed"}}) {
        HWND dialog = OpenWithKey(c.key, c.form);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(e2e::WaitForFocus(dialog, c.firstFocus))
            << c.form << " focus: " << e2e::FocusName(dialog);
        e2e::PressKey(VK_ESCAPE);
        EXPECT_TRUE(Closed(dialog)) << c.form << " ignored Esc";
        EXPECT_TRUE(e2e::WaitForFocus(main, c.opener))
            << "after " << c.form << " the focus is on " << e2e::FocusName(main);
    }
}

TEST_F(Keyboard, ScenariosInTheSettingsDialogs) {
    struct Scenario {
        const char* name;
        WORD opener;
        const char* form;
        std::function<void(TouchParams&)> driver;  // before the panel starts
        std::function<void(Keyboard&, HWND)> run;
    };
    const Scenario scenarios[] = {
        {"Enter on Cancel reached with Shift+Tab drops the edit", 'M', "frmMouseSpeed", nullptr,
         [](Keyboard& t, HWND d) {
             e2e::PressKey(VK_SPACE);  // Bypass on: OK would send it
             EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(t.Control(d, "cmdApply")); }));
             e2e::PressKey(VK_TAB, true);
             EXPECT_TRUE(e2e::WaitForFocus(d, "cmdApply"));
             e2e::PressKey(VK_TAB, true);
             EXPECT_TRUE(e2e::WaitForFocus(d, "cmdCandel"));
             EXPECT_TRUE(SendMessageA(t.Control(d, "cmdCandel"), BM_GETSTATE, 0, 0) & BST_FOCUS);
             auto type = [&](const char* b) { return GetWindowLongA(t.Control(d, b), GWL_STYLE) & BS_TYPEMASK; };
             EXPECT_EQ(type("cmdCandel"), BS_DEFPUSHBUTTON) << "the default border stayed behind";
             EXPECT_EQ(type("cmdOK"), BS_PUSHBUTTON);
             e2e::PressKey(VK_RETURN);
             EXPECT_TRUE(t.Closed(d));
             EXPECT_EQ(t.DriverParams().Bypass, 0) << "Enter ran OK";
         }},
        {"Alt+A applies, the focus moves on, Esc still closes", 'M', "frmMouseSpeed", nullptr,
         [](Keyboard& t, HWND d) {
             e2e::PressKey(VK_SPACE);
             e2e::PressKey('A', false, true);
             EXPECT_TRUE(e2e::WaitUntil([&] { return t.DriverParams().Bypass == 1; }));
             EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(t.Control(d, "cmdApply")); }));
             EXPECT_TRUE(e2e::WaitForFocus(d, "chkBypass")) << e2e::FocusName(d);
             e2e::PressKey(VK_ESCAPE);
             EXPECT_TRUE(t.Closed(d));
         }},
        {"A click on the logo leaves the focus where it was", 'M', "frmMouseSpeed", nullptr,
         [](Keyboard& t, HWND d) {
             e2e::MouseClick(t.Query(d, "picLogo").screen);
             e2e::MouseClick(t.Query(d, "picIcon").screen);
             EXPECT_TRUE(e2e::WaitForFocus(d, "chkBypass")) << e2e::FocusName(d);
             e2e::PressKey(VK_ESCAPE);
             EXPECT_TRUE(t.Closed(d));
         }},
        {"Arrows select within their frame; Enter sends", 'V', "frmVirtualButton", nullptr,
         [](Keyboard& t, HWND d) {
             e2e::PressKey(VK_UP);
             EXPECT_TRUE(e2e::WaitForFocus(d, "optVirtualButton(3)"));
             EXPECT_TRUE(Eventually([&] { return Checked(t.Control(d, "optVirtualButton(3)")); }));
             e2e::PressKey(VK_TAB);
             EXPECT_TRUE(e2e::WaitForFocus(d, "optRBFunction(0)"));
             e2e::PressKey(VK_UP);  // wraps inside its own frame
             EXPECT_TRUE(e2e::WaitForFocus(d, "optRBFunction(1)")) << e2e::FocusName(d);
             e2e::PressKey(VK_DOWN);
             EXPECT_TRUE(e2e::WaitForFocus(d, "optRBFunction(0)")) << e2e::FocusName(d);
             EXPECT_TRUE(Eventually([&] { return Checked(t.Control(d, "optRBFunction(0)")); }));
             EXPECT_TRUE(Checked(t.Control(d, "optVirtualButton(3)")));
             EXPECT_FALSE(Checked(t.Control(d, "optRBFunction(1)")));
             e2e::PressKey(VK_RETURN);
             EXPECT_TRUE(t.Closed(d));
             EXPECT_EQ(t.DriverParams().TouchMode, 3);
         }},
        {"Home and End move the tone bar to its ends", 'F', "frmFeedbackSound", nullptr,
         [](Keyboard& t, HWND d) {
             e2e::PressKey(VK_TAB);
             EXPECT_TRUE(e2e::WaitForFocus(d, "hscTone"));
             e2e::PressKey(VK_END);
             EXPECT_TRUE(e2e::WaitUntil([&] { return Text(d, "lblTone") == "5000"; }));
             EXPECT_TRUE(Eventually([&] { return IsWindowEnabled(t.Control(d, "cmdApply")); }));
             e2e::PressKey(VK_HOME);
             EXPECT_TRUE(e2e::WaitUntil([&] { return Text(d, "lblTone") == "200"; }));
             e2e::PressKey(VK_ESCAPE);
             EXPECT_TRUE(t.Closed(d));
             EXPECT_EQ(t.DriverParams().SoundTone, 1000);
         }},
        {"Space on Touch Here to Test sounds at press and at release", 'F', "frmFeedbackSound",
         [](TouchParams& p) { p.SoundMode = 1; },
         [](Keyboard& t, HWND d) {
             for (int i = 0; i < 3; ++i) e2e::PressKey(VK_TAB);
             EXPECT_TRUE(e2e::WaitForFocus(d, "cmdSoundTest")) << e2e::FocusName(d);
             e2e::KeyDown(VK_SPACE);
             EXPECT_TRUE(e2e::WaitUntil([&] { return t.SoundTests() == 1; }));
             e2e::KeyUp(VK_SPACE);
             EXPECT_TRUE(e2e::WaitUntil([&] { return t.SoundTests() == 2; }));
             e2e::PressKey(VK_ESCAPE);
             EXPECT_TRUE(t.Closed(d));
         }},
        {"Enter after a click on Touch Here to Test keeps the dialog", 'F', "frmFeedbackSound",
         [](TouchParams& p) { p.SoundMode = 1; },
         [](Keyboard& t, HWND d) {
             e2e::PressKey(VK_DOWN);  // "Touch Down Only": OK would send it
             e2e::MouseClick(t.Control(d, "cmdSoundTest"));
             EXPECT_TRUE(e2e::WaitForFocus(d, "cmdSoundTest")) << e2e::FocusName(d);
             e2e::PressKey(VK_RETURN);
             Sleep(300);
             EXPECT_TRUE(IsWindowVisible(d));
             EXPECT_EQ(t.DriverParams().SoundMode, 1);
             e2e::PressKey(VK_ESCAPE);
             EXPECT_TRUE(t.Closed(d));
             EXPECT_EQ(t.DriverParams().SoundMode, 1);
         }},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        if (s.driver) SetDriver(s.driver);
        ASSERT_TRUE(StartWithFocus()) << "main window focus: " << e2e::FocusName(main);
        HWND dialog = OpenWithKey(s.opener, s.form);
        ASSERT_NE(dialog, nullptr);
        s.run(*this, dialog);
        TearDown();
        SetUp();
    }
}

TEST_F(Keyboard, SupportWindowClosesWithEsc) {
    const std::string bitmap = e2e::InstallDir() + "\\KVVender.Bmp";
    WriteBitmapFile(bitmap, 64, 32, std::vector<BYTE>(64 * 3 * 32, 0x80));
    ASSERT_TRUE(StartWithFocus());
    HWND support = OpenWithKey('U', "frmSupport");
    if (support != nullptr) {
        e2e::PressKey(VK_ESCAPE);
        EXPECT_TRUE(Closed(support));
    }
    DeleteFileA(bitmap.c_str());
}

TEST_F(Keyboard, TheAgentAppearsWithoutTakingTheKeyboardFromTheDialog) {
    ASSERT_TRUE(StartWithFocus());
    HWND dialog = OpenWithKey('V', "frmVirtualButton");
    ASSERT_NE(dialog, nullptr);
    e2e::PressKey(VK_TAB);
    e2e::PressKey(VK_DOWN);  // "Enable ( On )", manual mode
    EXPECT_TRUE(e2e::WaitUntil([&] { return Checked(Control(dialog, "optRBFunction(1)")); }));
    e2e::PressKey('A', false, true);
    HWND agent = e2e::WaitForWindow(kAgentCaption);
    ASSERT_NE(agent, nullptr) << "no right-button agent";
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(agent) != FALSE; }, 5000));
    Sleep(300);  // what the agent would do, it has done
    EXPECT_EQ(GetForegroundWindow(), dialog);
    EXPECT_EQ(e2e::ActiveOf(dialog), dialog);
    e2e::PressKey(VK_ESCAPE);
    EXPECT_TRUE(Closed(dialog)) << "Esc went elsewhere";
}

TEST_F(Keyboard, EnterOnTheAgentsButtonArmsItWithoutAFailureBox) {
    e2e::Process agentProcess = e2e::Process::Start(e2e::InstalledProgram("KVRBTN.exe"));
    HWND agent = e2e::WaitForWindow(kAgentCaption, agentProcess.Id());
    ASSERT_NE(agent, nullptr);
    auto armed = [&] {
        KvSimState s{};
        return sim.ReadState(s) ? s.Agent.Armed : -1;
    };
    ASSERT_TRUE(e2e::WaitUntil([&] {
        KvSimState s{};
        return sim.ReadState(s) && s.Agent.AgentWindow == static_cast<std::int32_t>(
                                                              reinterpret_cast<std::intptr_t>(agent));
    }));
    SetForegroundWindow(agent);
    ASSERT_TRUE(e2e::WaitForFocus(agent, "cmdAction")) << e2e::FocusName(agent);
    e2e::PressKey(VK_RETURN);
    EXPECT_TRUE(e2e::WaitUntil([&] { return armed() == 1; })) << "Enter did not arm the agent";
    const auto box = e2e::WaitForMessageBox(agentProcess.Id(), 1000);
    EXPECT_FALSE(box.has_value()) << "the agent answered with: " << (box ? box->text : "");
    e2e::PressKey(VK_ESCAPE);  // a key cancels the armed wait
    EXPECT_TRUE(e2e::WaitUntil([&] { return armed() == 0; })) << "the key did not disarm it";
    // The button has the keyboard again: Enter arms it a second time.
    EXPECT_TRUE(e2e::WaitForFocus(agent, "cmdAction")) << e2e::FocusName(agent);
    e2e::PressKey(VK_RETURN);
    EXPECT_TRUE(e2e::WaitUntil([&] { return armed() == 1; })) << "Enter did not arm it again";
    e2e::PressKey(VK_ESCAPE);  // the driver is left disarmed for what follows
    EXPECT_TRUE(e2e::WaitUntil([&] { return armed() == 0; }));
    agentProcess.Kill();
}

TEST_F(Keyboard, ASecondStartBringsForwardTheOpenDialogAndRestoresIt) {
    for (bool minimised : {false, true}) {
        SCOPED_TRACE(minimised ? "dialog minimised" : "dialog shown");
        ASSERT_TRUE(StartWithFocus());
        HWND dialog = OpenWithKey('M', "frmMouseSpeed");
        ASSERT_NE(dialog, nullptr);
        if (minimised) {
            ShowWindow(dialog, SW_MINIMIZE);
            EXPECT_TRUE(e2e::WaitUntil([&] { return IsIconic(dialog) != FALSE; }));
        }
        e2e::Process second = e2e::Process::Start(e2e::InstalledProgram("KVPANEL.exe"));
        EXPECT_TRUE(second.WaitExit());
        EXPECT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == dialog; }))
            << "foreground: " << e2e::DesignName(GetForegroundWindow());
        EXPECT_FALSE(IsIconic(dialog));
        EXPECT_FALSE(IsWindowVisible(main)) << "the hidden main window was shown";
        EXPECT_TRUE(e2e::WaitForFocus(dialog, "chkBypass")) << e2e::FocusName(dialog);
        e2e::PressKey(VK_ESCAPE);
        EXPECT_TRUE(Closed(dialog));
        TearDown();
        SetUp();
    }
}

}  // namespace
}  // namespace panel_e2e
