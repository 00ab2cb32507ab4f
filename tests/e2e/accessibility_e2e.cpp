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
        }
    }

    // Waits for a top-level window of `process` captioned `caption`, shown.
    static HWND Shown(const e2e::Process& process, const char* caption) {
        HWND window = e2e::WaitForWindow(caption, process.Id());
        if (window != nullptr) e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; });
        return window;
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
             {"Frame4", kGroup, "Test Area"},
             {"picTest", kGraphic, ""},
             {"imgOFF", kGraphic, ""},
             {"cmdOK", kButton, "OK"},
             {"cmdCandel", kButton, "Cancel"},
             {"cmdApply", kButton, "Apply"},
         }),
         nullptr},
        {"the uninstaller's question",
         [&] {
             CopyFileA(e2e::InstalledProgram("KVREMOVE.exe").c_str(), kRemover, FALSE);
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

}  // namespace
}  // namespace panel_e2e
