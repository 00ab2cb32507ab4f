// The programs' windows read as a screen reader reads them, from this
// process through AccessibleObjectFromWindow: every shown control listed,
// windowless ones included, with the name, role, state and place the form
// shows; default actions that act as clicks; the focus event a Tab sends.
#include <functional>
#include <string>
#include <vector>

#include "harness/accessible_reader.h"
#include "harness/input.h"
#include "panel_e2e_support.h"
#include "ui/accessibility.h"

namespace panel_e2e {
namespace {

constexpr const char* kStartupCaption = " TouchScreen System Startup #KV-PS2";
constexpr const char* kRemover = "C:\\windows\\KVREMOVE.exe";

// One control a form lists, in order. `name` nullptr: the caption the form
// shows for it (its control query's text), as a reader should say it;
// "=lblX": the caption the form shows for lblX.
struct Row {
    const char* control;
    long role;
    const char* name;
};

std::string Describe(const std::vector<e2e::AccessibleItem>& items) {
    std::string text;
    for (const auto& i : items) {
        text += "  #" + std::to_string(i.childId) + " " + e2e::RoleText(i.role) + " \"" + i.name + "\" (" +
                std::to_string(i.screen.left) + "," + std::to_string(i.screen.top) + ")-(" +
                std::to_string(i.screen.right) + "," + std::to_string(i.screen.bottom) + ") state " +
                std::to_string(i.state) + " value \"" + i.value + "\" action \"" + i.defaultAction + "\"\n";
    }
    return text;
}

// Events from the programs, as a tool that listens out of context gets
// them (through this thread's message queue).
struct SeenEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};

std::vector<SeenEvent>& Seen() {
    static std::vector<SeenEvent> seen;
    return seen;
}

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    Seen().push_back({event, window, object, child});
}

class EventWatch {
public:
    EventWatch(DWORD first, DWORD last, DWORD pid) {
        Seen().clear();
        hook_ = SetWinEventHook(first, last, nullptr, OnEvent, pid, 0, WINEVENT_OUTOFCONTEXT);
    }
    ~EventWatch() {
        if (hook_ != nullptr) UnhookWinEvent(hook_);
    }
    bool Hooked() const { return hook_ != nullptr; }
    // Waits (bounded) for an event `event` on `window`'s object for `child`.
    bool WaitFor(DWORD event, HWND window, LONG child) {
        return e2e::WaitUntil(
            [&] {
                MSG msg;
                while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
                for (const SeenEvent& e : Seen())
                    if (e.event == event && e.window == window && e.object == OBJID_CLIENT && e.child == child)
                        return true;
                return false;
            },
            5000);
    }

private:
    HWINEVENTHOOK hook_ = nullptr;
};

class Accessibility : public PanelE2e {
protected:
    void SetUp() override {
        PanelE2e::SetUp();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void TearDown() override {
        e2e::AnswerLeftoverBoxes(others.empty() ? 0 : others.back().Id());
        others.clear();
        CoUninitialize();
        PanelE2e::TearDown();
    }

    // The form's children against the table and against what the form
    // itself says of each control (control query, check marks, focus).
    void Check(const char* what, HWND form, const std::vector<Row>& rows) {
        SCOPED_TRACE(what);
        e2e::AccessibleWindow reader(form);
        ASSERT_TRUE(reader.Valid()) << "no accessible object";
        const std::vector<e2e::AccessibleItem> items = reader.Children();
        EXPECT_EQ(items.size(), rows.size()) << Describe(items);
        if (items.size() != rows.size()) return;
        const HWND focus = e2e::FocusOf(form);
        for (size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            const e2e::AccessibleItem& item = items[i];
            const e2e::ControlState shown = e2e::QueryControl(form, row.control);
            SCOPED_TRACE(row.control);
            ASSERT_TRUE(shown.found);
            EXPECT_EQ(e2e::RoleText(item.role), e2e::RoleText(row.role));
            std::string name = row.name != nullptr ? row.name : kv::ui::WithoutAccessKey(shown.text);
            if (name.rfind('=', 0) == 0) name = e2e::QueryControl(form, name.substr(1)).text;
            EXPECT_EQ(item.name, name);
            EXPECT_TRUE(EqualRect(&item.screen, &shown.screen))
                << "at (" << item.screen.left << "," << item.screen.top << ")-(" << item.screen.right << ","
                << item.screen.bottom << "), the form says (" << shown.screen.left << "," << shown.screen.top
                << ")-(" << shown.screen.right << "," << shown.screen.bottom << ")";
            EXPECT_EQ((item.state & STATE_SYSTEM_UNAVAILABLE) != 0, !shown.enabled);
            EXPECT_EQ((item.state & STATE_SYSTEM_INVISIBLE) != 0, !shown.visible);
            const bool focused = shown.window != nullptr && shown.window == focus;
            EXPECT_EQ((item.state & STATE_SYSTEM_FOCUSED) != 0, focused);
            if (row.role == ROLE_SYSTEM_CHECKBUTTON || row.role == ROLE_SYSTEM_RADIOBUTTON) {
                EXPECT_EQ((item.state & STATE_SYSTEM_CHECKED) != 0, Checked(shown.window));
            }
            if (row.role == ROLE_SYSTEM_PUSHBUTTON) {
                const LONG_PTR style = GetWindowLongPtrA(shown.window, GWL_STYLE) & BS_TYPEMASK;
                EXPECT_EQ((item.state & STATE_SYSTEM_DEFAULT) != 0, style == BS_DEFPUSHBUTTON);
                EXPECT_EQ(item.defaultAction, "Press");
            }
            if (row.role == ROLE_SYSTEM_SCROLLBAR) {
                EXPECT_EQ(item.value, std::to_string(SendMessageA(shown.window, SBM_GETPOS, 0, 0)));
            }
            if (row.role == ROLE_SYSTEM_COMBOBOX) {
                EXPECT_EQ(item.value, shown.text);
            }
        }
    }

    // Waits for a top-level window of `process` captioned `caption`, shown.
    static HWND Shown(const e2e::Process& process, const char* caption) {
        HWND window = e2e::WaitForWindow(caption, process.Id());
        if (window != nullptr) e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; });
        return window;
    }

    // The child id under which `form`'s object lists its control
    // `designName` (found by its place on the screen); -1 when none.
    static long IdOf(const e2e::AccessibleWindow& reader, HWND form, const char* designName) {
        const RECT at = e2e::QueryControl(form, designName).screen;
        for (const e2e::AccessibleItem& item : reader.Children())
            if (EqualRect(&item.screen, &at)) return item.childId;
        return -1;
    }

    std::vector<e2e::Process> others;
};

constexpr long kButton = ROLE_SYSTEM_PUSHBUTTON;
constexpr long kText = ROLE_SYSTEM_STATICTEXT;
constexpr long kGraphic = ROLE_SYSTEM_GRAPHIC;
constexpr long kGroup = ROLE_SYSTEM_GROUPING;
constexpr long kOption = ROLE_SYSTEM_RADIOBUTTON;
constexpr long kCheck = ROLE_SYSTEM_CHECKBUTTON;
constexpr long kBar = ROLE_SYSTEM_SCROLLBAR;
constexpr long kCombo = ROLE_SYSTEM_COMBOBOX;

TEST_F(Accessibility, EveryShownControlOfEachProgramsWindowsIsListedAsTheFormShowsIt) {
    struct Case {
        const char* what;
        std::function<HWND()> open;
        std::vector<Row> rows;
        std::function<void(HWND)> close;
    };
    HWND dialog = nullptr;
    const std::vector<Row> header = {{"picLogo", kGraphic, ""},     {"lblOemTitle", kText, nullptr},
                                     {"lblSystem", kText, nullptr}, {"picIcon", kGraphic, ""},
                                     {"imgIcon", kGraphic, ""}};
    auto with = [&](std::vector<Row> rows) {
        rows.insert(rows.begin(), header.begin(), header.end());
        return rows;
    };
    const Case cases[] = {
        {"the control panel's main window", [&] { return StartPanel(); },
         with({
             // On a PS/2 controller the serial port's button and the power
             // save row are hidden, and the detection box is shown.
             {"shpSerialPort", kGraphic, ""},
             {"lblSerialPort", kText, nullptr},
             {"cmdVirtualButton", kButton, "Virtual Button"},
             {"shpVirtualButton", kGraphic, ""},
             {"lblVirtualButton", kText, nullptr},
             {"cmdFeedbackSound", kButton, "Feedback Sound"},
             {"shpFeedbackSound", kGraphic, ""},
             {"lblFeedbackSound", kText, nullptr},
             {"cmdMouseSpeed", kButton, "Mouse Speed"},
             {"shpMouseSpeed", kGraphic, ""},
             {"lblMouseSpeed", kText, nullptr},
             {"cmdCalibration", kButton, "Calibration"},
             {"shpCalibration", kGraphic, ""},
             {"cboCalibration", kCombo, ""},
             {"cmdSupport", kButton, "About"},
             {"cmdExit", kButton, "Exit"},
             {"shpDetection", kGraphic, ""},
             {"lblDetection", kText, "Detection"},
         }),
         nullptr},
        {"the mouse speed dialog", [&] { return dialog = OpenDialog("cmdMouseSpeed", "frmMouseSpeed"); },
         with({
             {"frameBypass", kGroup, "Bypass Mode"},
             {"chkBypass", kCheck, "Enable"},
             {"frameAdjust", kGroup, "Adjust Mode"},
             {"chkBoth", kCheck, "Set Both Horizontal & Vertical"},
             {"frameHSpeed", kGroup, "Horizontal Speed"},
             {"hscMouseHSpeed", kBar, "Horizontal Speed"},
             {"lblHS", kText, nullptr},
             {"lblHSSlow", kText, "Slow"},
             {"lblHSFast", kText, "Fast"},
             {"frameVSpeed", kGroup, "Vertical Speed"},
             {"hscMouseVSpeed", kBar, "Vertical Speed"},
             {"lblVS", kText, nullptr},
             {"lblVSSlow", kText, "Slow"},
             {"lblVSFast", kText, "Fast"},
             {"frameAcceleration", kGroup, "Acceleration"},
             {"optAcceleration(1)", kOption, nullptr},
             {"optAcceleration(2)", kOption, nullptr},
             {"optAcceleration(3)", kOption, nullptr},
             {"optAcceleration(4)", kOption, nullptr},
             {"cmdOK", kButton, "OK"},
             {"cmdCandel", kButton, "Cancel"},
             {"cmdApply", kButton, "Apply"},
         }),
         [&](HWND) {
             PostMessageA(Control(dialog, "cmdCandel"), BM_CLICK, 0, 0);
             EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
         }},
        {"the calibration screen",
         [&] {
             // The whole calibration runs inside the button's click.
             PostMessageA(Control(main, "cmdCalibration"), BM_CLICK, 0, 0);
             HWND form = e2e::WaitForForm("frmCalibration", panel.Id());
             if (form == nullptr) return form;
             e2e::WaitUntil([&] { return e2e::QueryControl(form, "lblMesg1").visible; });
             return form;
         },
         {
             {"picCalibration", kGraphic, ""},
             {"picHome", kGraphic, ""},
             {"picStat", kGraphic, ""},
             {"lblResolution", kText, nullptr},
             {"picMesg", kGraphic, ""},
             {"lblMesg1", kText, nullptr},
             {"lblMesg2", kText, "show on the TOP-LEFT of the screen"},
             {"lblHelp", kText, "Press ESC key to break calibration"},
             {"lblTitle", kText, "TouchScreen Calibration"},
         },
         nullptr},
        {"the startup agent's configuration window",
         [&] {
             others.push_back(e2e::Process::Start(e2e::InstalledProgram("KVSTART.exe"), "/SDC"));
             return Shown(others.back(), kStartupCaption);
         },
         with({
             {"Shape1", kGraphic, ""},
             {"Frame1", kGroup, "Double Click Configuration"},
             {"lblTT", kText, nullptr},
             {"hscTT", kBar, "=lblTT"},
             {"lblTTScaleMin", kText, "100"},
             {"lblTTScaleMax", kText, "900"},
             {"lblWW", kText, nullptr},
             {"hscWW", kBar, "=lblWW"},
             {"lblWWScaleMin", kText, "0"},
             {"lblWWScaleMax", kText, "64"},
             {"lblHH", kText, nullptr},
             {"hscHH", kBar, "=lblHH"},
             {"lblHHScaleMin", kText, "0"},
             {"lblHHScaleMax", kText, "64"},
             {"Frame2", kGroup, "System Information"},
             {"lblSiTTName", kText, "Speed:"},
             {"lblSiTT", kText, nullptr},
             {"lblSiWWName", kText, "Width:"},
             {"lblSiWW", kText, nullptr},
             {"lblSiHHName", kText, "Height:"},
             {"lblSiHH", kText, nullptr},
             {"Frame4", kGroup, ""},
             {"picTest", kGraphic, ""},
             {"imgOFF", kGraphic, ""},
             {"cmdOK", kButton, "OK"},
             {"cmdCandel", kButton, "Cancel"},
             {"cmdApply", kButton, "Apply"},
         }),
         nullptr},
        {"the uninstaller's question",
         [&] {
             // The package puts it in the Windows folder only, and a restart
             // in an earlier suite may have deleted it there: the build's.
             char self[MAX_PATH] = {};
             GetModuleFileNameA(nullptr, self, MAX_PATH);
             std::string built(self);
             built = built.substr(0, built.find_last_of('\\')) + "\\KVREMOVE.exe";
             EXPECT_TRUE(CopyFileA(built.c_str(), kRemover, FALSE));
             others.push_back(e2e::Process::Start(kRemover));
             HWND form = e2e::WaitForForm("frmMain", others.back().Id());
             if (form != nullptr) e2e::WaitUntil([&] { return IsWindowVisible(form) != FALSE; });
             return form;
         },
         with({
             {"shpRemoval", kGraphic, ""},
             {"lblAsk", kText,
              "Are you sure you want to completely remove TouchScreen V.7.0.PS2 and all of its components?"},
             {"linEtchShadow", kText, ""},
             {"linEtchHighlight", kText, ""},
             // No comes first: it holds the focus when the window opens.
             {"cmdNo", kButton, "No"},
             {"cmdYes", kButton, "Yes"},
         }),
         [&](HWND form) {
             PostMessageA(e2e::FindControl(form, "cmdNo"), BM_CLICK, 0, 0);
             EXPECT_TRUE(others.back().WaitExit());
         }},
    };
    for (const Case& c : cases) {
        HWND form = c.open();
        ASSERT_NE(form, nullptr) << c.what;
        Check(c.what, form, c.rows);
        if (c.close) c.close(form);
    }
}

TEST_F(Accessibility, DefaultActionsActAsClicksAndChangesAreAnnounced) {
    ASSERT_NE(StartPanel(), nullptr);
    EventWatch events(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_NAMECHANGE, panel.Id());
    ASSERT_TRUE(events.Hooked());
    e2e::AccessibleWindow reader(main);
    ASSERT_TRUE(reader.Valid());
    // The button opens a modal dialog: the call must return all the same.
    ASSERT_EQ(reader.DoDefaultAction(IdOf(reader, main, "cmdMouseSpeed")), S_OK);
    HWND dialog = e2e::WaitForForm("frmMouseSpeed", panel.Id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));

    e2e::AccessibleWindow options(dialog);
    const char* before = nullptr;
    const char* after = nullptr;
    for (const char* o : {"optAcceleration(1)", "optAcceleration(2)", "optAcceleration(3)"}) {
        if (Checked(Control(dialog, o))) before = o;
        else if (after == nullptr) after = o;
    }
    ASSERT_NE(before, nullptr) << "no acceleration selected";
    const long afterId = IdOf(options, dialog, after);
    const long beforeId = IdOf(options, dialog, before);
    EXPECT_EQ(options.Read(afterId).defaultAction, "Check");
    ASSERT_EQ(options.DoDefaultAction(afterId), S_OK);
    EXPECT_TRUE(e2e::WaitUntil([&] { return Checked(Control(dialog, after)); })) << after;
    EXPECT_FALSE(Checked(Control(dialog, before))) << before;
    EXPECT_NE(options.Read(afterId).state & STATE_SYSTEM_CHECKED, 0);
    EXPECT_EQ(options.Read(beforeId).state & STATE_SYSTEM_CHECKED, 0);
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_STATECHANGE, dialog, afterId)) << after;
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_STATECHANGE, dialog, beforeId)) << before;

    // OK sends the setting: the main window's summary says the new one.
    const std::string summary = Text(main, "lblMouseSpeed");
    ASSERT_EQ(options.DoDefaultAction(IdOf(options, dialog, "cmdOK")), S_OK);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(dialog) && Text(main, "lblMouseSpeed") != summary; }));
    const long summaryId = IdOf(reader, main, "lblMouseSpeed");
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_NAMECHANGE, main, summaryId));
    EXPECT_EQ(reader.Read(summaryId).name, Text(main, "lblMouseSpeed"));
}

TEST_F(Accessibility, TabMovesTheFocusAndToolsAreToldWhere) {
    ASSERT_NE(StartPanel(), nullptr);
    SetForegroundWindow(main);
    ASSERT_TRUE(e2e::WaitForFocus(main, "cmdVirtualButton")) << e2e::FocusName(main);
    e2e::AccessibleWindow reader(main);
    ASSERT_TRUE(reader.Valid());
    EXPECT_EQ(reader.Focus(), IdOf(reader, main, "cmdVirtualButton"));

    EventWatch events(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, panel.Id());
    ASSERT_TRUE(events.Hooked());
    e2e::PressKey(VK_TAB);
    ASSERT_TRUE(e2e::WaitForFocus(main, "cmdFeedbackSound")) << e2e::FocusName(main);
    const long id = IdOf(reader, main, "cmdFeedbackSound");
    EXPECT_TRUE(events.WaitFor(EVENT_OBJECT_FOCUS, main, id));
    EXPECT_EQ(reader.Focus(), id);
    EXPECT_NE(reader.Read(id).state & STATE_SYSTEM_FOCUSED, 0);
    EXPECT_EQ(reader.Read(IdOf(reader, main, "cmdVirtualButton")).state & STATE_SYSTEM_FOCUSED, 0);

    // A tool that starts from the button's own window hears of a button.
    e2e::AccessibleWindow button(Control(main, "cmdFeedbackSound"));
    ASSERT_TRUE(button.Valid());
    const e2e::AccessibleItem self = button.Read(CHILDID_SELF);
    EXPECT_EQ(e2e::RoleText(self.role), e2e::RoleText(ROLE_SYSTEM_PUSHBUTTON));
    EXPECT_EQ(self.name, "Feedback Sound");
    EXPECT_NE(self.state & STATE_SYSTEM_FOCUSED, 0);
}

TEST_F(Accessibility, HitTestAndNavigationFindTheControlsAsTheyLie) {
    ASSERT_NE(StartPanel(), nullptr);
    e2e::AccessibleWindow reader(main);
    ASSERT_TRUE(reader.Valid());
    const std::vector<long> ids = reader.ChildIds();
    ASSERT_GE(ids.size(), 3u);
    EXPECT_EQ(reader.Navigate(NAVDIR_FIRSTCHILD, CHILDID_SELF), ids.front());
    EXPECT_EQ(reader.Navigate(NAVDIR_LASTCHILD, CHILDID_SELF), ids.back());
    EXPECT_EQ(reader.Navigate(NAVDIR_NEXT, ids[0]), ids[1]);
    EXPECT_EQ(reader.Navigate(NAVDIR_PREVIOUS, ids[2]), ids[1]);
    EXPECT_EQ(reader.Navigate(NAVDIR_NEXT, ids.back()), -1);

    // A summary lies on its shape; a button has a window of its own; the
    // bare client area is the form itself; outside it, nothing.
    for (const char* control : {"lblMouseSpeed", "shpMouseSpeed", "cmdExit", "imgIcon"}) {
        const RECT r = e2e::QueryControl(main, control).screen;
        const long id = IdOf(reader, main, control);
        const int x = control == std::string("shpMouseSpeed") ? r.right - 3 : (r.left + r.right) / 2;
        EXPECT_EQ(reader.HitTest(x, (r.top + r.bottom) / 2), id) << control;
    }
    RECT client;
    GetClientRect(main, &client);
    MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(reader.HitTest(client.left + 2, client.bottom - 2), CHILDID_SELF);
    EXPECT_EQ(reader.HitTest(client.left - 50, client.top - 50), -1);
}

}  // namespace
}  // namespace panel_e2e
