// KVSETUP and KVREMOVE under Wine, against the real registry and INI files,
// the stand-in driver and the stand-in file remover (whose delay and hang
// switches give the uninstaller's wait every outcome). Both programs end by
// asking for a restart, which ends every process that has a window; the
// witness (a process of its own) shows that the request was made.
//
// The world is left as found: the product key's values and the package
// files are put back after every test, and the uninstaller works on a
// scratch installation folder so that the programs other suites run stay.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "harness/harness.h"
#include "panel_e2e_support.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
constexpr const char* kClassKey = "System\\CurrentControlSet\\Services\\Class\\Mouse";
constexpr const char* kSetupTitle = "TouchScreen Driver Installation";
constexpr const char* kRemoveTitle = "TouchScreen Software Removal";
constexpr const char* kInf = "C:\\windows\\inf\\KVTOUCH.INF";
constexpr const char* kWininit = "C:\\windows\\WININIT.INI";
constexpr const char* kScratch = "C:\\Program Files\\TouchScreen Removal";
constexpr const char* kRemover = "C:\\windows\\KVREMOVE.exe";
constexpr DWORD kRemovalBoundMs = 60000;

const char* const kPs2Ids[] = {"*PNP0F13", "*PNP0F03", "*PNP0F0B", "*PNP0F0E", "*PNP0F12", "*PNP0F1C"};

std::string Hex(const BYTE* data, DWORD size) {
    std::string out;
    char pair[4];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02X ", data[i]);
        out += pair;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

using ValueMap = std::map<std::string, std::pair<DWORD, std::vector<BYTE>>>;

ValueMap Values(HKEY root, const std::string& path) {
    ValueMap values;
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        values[name] = {type, std::vector<BYTE>(data, data + dataSize)};
    }
    RegCloseKey(key);
    return values;
}

void RestoreValues(const char* path, const ValueMap& saved) {
    for (const auto& [name, value] : Values(HKEY_LOCAL_MACHINE, path))
        if (!saved.count(name)) e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, path, name);
    for (const auto& [name, value] : saved) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegSetValueExA(key, name.c_str(), 0, value.first, value.second.data(),
                       static_cast<DWORD>(value.second.size()));
        RegCloseKey(key);
    }
}

// Every value and subkey below root\path, one line each, for comparing
// what two runs leave behind.
void Dump(HKEY root, const std::string& path, std::ostringstream& out) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    out << "[" << path << "]\n";
    for (const auto& [name, value] : Values(root, path)) {
        const auto& [type, data] = value;
        out << name << "="
            << (type == REG_SZ ? "\"" + std::string(data.begin(), data.end() - (data.empty() ? 0 : 1)) + "\""
                               : (type == REG_DWORD ? "dword:" : "hex:") + Hex(data.data(), static_cast<DWORD>(data.size())))
            << "\n";
    }
    for (const std::string& sub : subkeys) Dump(root, path + "\\" + sub, out);
}

std::string MouseConfiguration() {
    std::ostringstream out;
    Dump(HKEY_LOCAL_MACHINE, kClassKey, out);
    Dump(HKEY_LOCAL_MACHINE, "Enum\\BIOS", out);
    Dump(HKEY_LOCAL_MACHINE, kProductKey, out);
    return out.str();
}

std::string BinaryValue(const std::string& name) {
    BYTE data[64];
    DWORD size = sizeof data, type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kProductKey, name.c_str(), RRF_RT_ANY, &type, data, &size) !=
        ERROR_SUCCESS)
        return "<none>";
    return (type == REG_BINARY ? "bin " : type == REG_DWORD ? "dword " : "other ") + Hex(data, size);
}

std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
    char text[512] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", text, sizeof text, file.c_str());
    return text;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetEntry(const std::string& name, const char* mouseType) {
    e2e::WriteRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\" + name, "MouseType", mouseType);
}

void SetBiosDevice(const std::string& id, const std::string& device) {
    e2e::WriteRegString(HKEY_LOCAL_MACHINE, "Enum\\BIOS\\" + id + "\\" + device, "Class", "Mouse");
}

bool KeyThere(const std::string& path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// The mouse configuration a fresh Windows 9x machine has.
void StandardMouse() {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kClassKey);
    for (const char* id : kPs2Ids) RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string("Enum\\BIOS\\") + id).c_str());
    SetEntry("0000", "PS2");
    SetBiosDevice("*PNP0F13", "0C");
}

// A file of the build tree, relative to the folder of this test program.
std::string Built(const std::string& relative) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self);
    return path.substr(0, path.find_last_of('\\')) + "\\" + relative;
}

std::string WitnessPath() { return Built("kv_e2e_witness.exe"); }
std::string StandInRemover() { return Built("..\\sim\\unins000.exe"); }

// A window in a process of its own that logs the end of the session.
struct Witness {
    explicit Witness(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        log = std::string(temp) + "kv_witness_" + name + ".log";
        DeleteFileA(log.c_str());
        process = e2e::Process::Start(WitnessPath(), "\"" + log + "\"");
        ready = e2e::WaitUntil([&] { return Log().find("ready") != std::string::npos; });
    }
    std::string Log() const { return ReadFileText(log); }
    bool Saw(const char* what, DWORD timeoutMs = e2e::kDefaultTimeoutMs) const {
        return e2e::WaitUntil([&] { return Log().find(what) != std::string::npos; }, timeoutMs, 50);
    }
    std::string log;
    e2e::Process process;
    bool ready = false;
};

// A restart request runs the session's end in a process of its own, which
// ends every windowed program it finds until it is done: wait for it before
// starting the next program.
void AwaitEndOfSession() {
    e2e::WaitUntil([] { return e2e::ProcessesNamed("wineboot.exe").empty(); }, 30000, 100);
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) out += "[" + t + "] ";
    return out;
}

// The uninstaller runs from the Windows folder, and a restart after a
// removal deletes it there (its WININIT.INI entry): put it back each time.
e2e::Process StartRemover() {
    CopyFileA(Built("KVREMOVE.exe").c_str(), kRemover, FALSE);
    return e2e::Process::Start(kRemover);
}

// For the demo: the registry as it stands, as <KV_SHOTS_DIR>\<name>.txt.
void SaveRegistry(const std::string& name, const std::string& text) {
    const char* dir = std::getenv("KV_SHOTS_DIR");
    if (dir && *dir) WriteFileText(std::string(dir) + "\\" + name + ".txt", text);
}

// Runs a program and answers its boxes with OK until it ends; the texts seen.
std::vector<std::string> RunAnsweringBoxes(e2e::Process& process, DWORD boundMs) {
    std::vector<std::string> texts;
    const DWORD start = GetTickCount();
    while (process.Running() && GetTickCount() - start < boundMs) {
        auto box = e2e::WaitForMessageBox(process.Id(), 500);
        if (!box) continue;
        texts.push_back(box->text);
        e2e::PressBoxButton(box->window, IDOK);
    }
    return texts;
}

class PackageWorld : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(e2e::DriverServiceRunning());
        savedProduct_ = Values(HKEY_LOCAL_MACHINE, kProductKey);
        savedIni_ = ReadFileText(e2e::InstallDir() + "\\setup.ini");
        savedOem_ = ReadFileText(e2e::InstallDir() + "\\setup.oem");
        savedInf_ = ReadFileText(kInf);
        StandardMouse();
    }

    void TearDown() override {
        e2e::AnswerLeftoverBoxes(0);
        for (const char* exe : {"KVSETUP.exe", "KVREMOVE.exe", "unins000.exe", "KVRBTN.exe"})
            e2e::KillAllNamed(exe);
        AwaitEndOfSession();
        RestoreValues(kProductKey, savedProduct_);
        WriteFileText(e2e::InstallDir() + "\\setup.ini", savedIni_);
        WriteFileText(e2e::InstallDir() + "\\setup.oem", savedOem_);
        WriteFileText(kInf, savedInf_);
        DeleteFileA(kWininit);
        StandardMouse();
        // The restart must not have taken the driver with it.
        EXPECT_TRUE(e2e::DriverServiceRunning());
    }

    ValueMap savedProduct_;
    std::string savedIni_, savedOem_, savedInf_;
};

using Installer = PackageWorld;

TEST_F(Installer, ImportsTheSettingsRewritesTheMouseClassAndAsksForARestart) {
    WriteFileText(e2e::InstallDir() + "\\setup.ini",
                  "[Settings]\r\nVirtualButton=2.5\r\nFeedbackTone=1000\r\nFeedbackDuration=5001\r\n"
                  "RightButtonAutoMode=1\r\nRightButtonAutoSTime=2\r\nRightButtonAutoETime=4\r\n"
                  "RightButtonAutoBeep=1\r\nMouseHSpeed=20\r\nMouseVSpeed=10\r\nMouseAcceleration=2\r\n"
                  "MouseBypass=0\r\nDoubleClickSpeed=99999999999\r\nPanelDirection=&H7\r\n");
    WriteFileText(e2e::InstallDir() + "\\setup.oem", "[SETUP]\r\nTITLE=Acme Touch\r\nSTYLE=\r\n");
    e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "FeedbackDuration");
    e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickSpeed");
    SetEntry("0001", "SERIAL");
    SetEntry("0002", "ps2");
    SetBiosDevice("*PNP0F0E", "0D");

    Witness witness("setup");
    ASSERT_TRUE(witness.ready);
    e2e::Process setup = e2e::Process::Start(e2e::InstalledProgram("KVSETUP.exe"));
    HWND status = e2e::WaitForForm("frmMessage", setup.Id());
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(e2e::WindowText(status), kSetupTitle);

    auto done = e2e::WaitForMessageBox(setup.Id(), 20000);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text,
              "Setup has finished installing TouchScreen drivers and utilities on your computer.\r\n\r\n"
              "The Windows must be restarted.");
    EXPECT_EQ(done->caption, kSetupTitle);
    EXPECT_FALSE(IsWindow(status)) << "the status window goes before the closing box";

    EXPECT_EQ(BinaryValue("VirtualButton"), "bin 02");
    EXPECT_EQ(BinaryValue("FeedbackTone"), "bin E8 03");
    EXPECT_EQ(BinaryValue("RightButtonAutomatic"), "bin 01 02 04 01");
    EXPECT_EQ(BinaryValue("MouseSpeed"), "bin 14 0A 02 00");
    EXPECT_EQ(BinaryValue("PanelDirection"), "bin 07");
    EXPECT_EQ(BinaryValue("FeedbackDuration"), "<none>");
    EXPECT_EQ(BinaryValue("DoubleClickSpeed"), "<none>");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "VenderName"), "Acme Touch");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "VenderStyle"), "13200401");

    EXPECT_EQ(IniValue(kInf, "Strings", "OEM_NAME"), "TouchScreen");
    EXPECT_EQ(IniValue(kInf, "Strings", "OEM_CALL"), "TouchScreen - PS/2 Mouse Driver V.7.0.PS2");
    EXPECT_EQ(IniValue(kInf, "Strings", "InstallPath"), e2e::InstallDir());
    for (const char* id : kPs2Ids)
        EXPECT_EQ(IniValue(kInf, "Strings", std::string(id) + ".DeviceDesc"),
                  std::string("TouchScreen - PS/2 Mouse (7.0.PS2.") + (id + 1) + ")");
    EXPECT_EQ(IniValue(kInf, "Version", "Class"), "Mouse") << "the rest of the file stays";

    const std::string entry = std::string(kClassKey) + "\\0000";
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "MouseDriver"), "KVTOUCH.VXD");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "InfSection"), "KvPS2");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "DriverDesc"),
              "TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F13)");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, entry, "InfPath"), "KVTOUCH.INF");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0001", "MouseType"), "SERIAL");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0002", "MouseType"),
              std::nullopt);
    for (const char* id : kPs2Ids) EXPECT_FALSE(KeyThere(std::string("Enum\\BIOS\\") + id)) << id << " survived";

    e2e::PressBoxButton(done->window, IDOK);
    EXPECT_TRUE(witness.Saw("query-end-session")) << witness.Log();
    EXPECT_TRUE(setup.WaitExit());
    EXPECT_TRUE(witness.process.WaitExit()) << "the restart ends windowed programs";
}

TEST_F(Installer, InstallRemoveInstallLeavesWhatOneInstallLeaves) {
    SaveRegistry("registry-before", MouseConfiguration());
    auto install = [] {
        e2e::Process setup = e2e::Process::Start(e2e::InstalledProgram("KVSETUP.exe"));
        const auto boxes = RunAnsweringBoxes(setup, 30000);
        EXPECT_EQ(boxes.size(), 1u) << Joined(boxes);
        AwaitEndOfSession();
    };
    install();
    const std::string once = MouseConfiguration();
    SaveRegistry("registry-after-install", once);
    const std::string driverEntry = std::string(kClassKey) + "\\0000";
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, driverEntry, "MouseDriver"), "KVTOUCH.VXD");

    // The removal works on a scratch copy of the installation folder.
    const std::string installPath = *e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath");
    CreateDirectoryA(kScratch, nullptr);
    CopyFileA(StandInRemover().c_str(), (std::string(kScratch) + "\\unins000.exe").c_str(), FALSE);
    e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath", kScratch);
    DeleteFileA((std::string(kScratch) + "\\unins000.ini").c_str());  // a remover that just works
    e2e::Process remove = StartRemover();
    HWND window = e2e::WaitForForm("frmMain", remove.Id());
    ASSERT_NE(window, nullptr);
    // A click on a window still loading (hidden) is lost, as on Windows.
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
    PostMessageA(e2e::FindControl(window, "cmdYes"), BM_CLICK, 0, 0);
    const auto boxes = RunAnsweringBoxes(remove, kRemovalBoundMs);
    ASSERT_EQ(boxes.size(), 1u) << Joined(boxes);
    EXPECT_EQ(boxes[0].rfind("Removal is complete", 0), 0u) << boxes[0];
    AwaitEndOfSession();
    e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath", installPath);
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, driverEntry, "MouseDriver"), std::nullopt);
    SaveRegistry("registry-after-removal", MouseConfiguration());

    SetBiosDevice("*PNP0F13", "0C");  // what Windows detects again after the restart
    install();
    EXPECT_EQ(MouseConfiguration(), once);
}

class Uninstaller : public PackageWorld {
protected:
    void SetUp() override {
        PackageWorld::SetUp();
        installPath_ = *e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath");
        CreateDirectoryA(kScratch, nullptr);
        ASSERT_TRUE(CopyFileA(StandInRemover().c_str(), Scratch("unins000.exe").c_str(), FALSE));
        DeleteFileA(Scratch("unins000.ini").c_str());
        WriteFileText(Scratch("KVPANEL.exe"), "stand-in");
        WriteFileText(Scratch("KVTOUCH.VXD"), "stand-in");
        ASSERT_TRUE(e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath", kScratch));
        // The touch driver's entry, as the installer left it.
        SetEntry("0000", "PS2");
        SetEntry("0001", "SERIAL");
        before_ = MouseConfiguration();
    }

    void TearDown() override {
        e2e::KillAllNamed("unins000.exe");
        e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath", installPath_);
        PackageWorld::TearDown();
    }

    static std::string Scratch(const std::string& file) { return std::string(kScratch) + "\\" + file; }

    void RemoverTakes(const char* control) { WriteFileText(Scratch("unins000.ini"), control); }

    // Starts KVREMOVE and answers its question.
    e2e::Process StartAndAnswer(bool yes) {
        e2e::Process remove = StartRemover();
        HWND window = e2e::WaitForForm("frmMain", remove.Id());
        EXPECT_NE(window, nullptr);
        if (!window) return remove;
        // The window exists hidden while it loads; shown, it is ready.
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }));
        EXPECT_EQ(e2e::QueryControl(window, "lblAsk").text,
                  "Are you sure you want to completely remove TouchScreen V.7.0.PS2 and all of its components?");
        if (yes) panel_e2e::SaveShot(window, "remove-question");
        PostMessageA(e2e::FindControl(window, yes ? "cmdYes" : "cmdNo"), BM_CLICK, 0, 0);
        return remove;
    }

    std::string installPath_, before_;
};

TEST_F(Uninstaller, YesClosesTheAgentsAwaitsTheRemoverAndUndoesTheMouseClass) {
    Witness restart("remove-restart");
    ASSERT_TRUE(restart.ready);
    // The package's rotation program (its stand-in, built beside the tests)
    // and the right-button agent, both registered with the driver.
    const std::string witness = WitnessPath();
    e2e::Process rotator = e2e::Process::Start(
        witness.substr(0, witness.find_last_of('\\')) + "\\..\\sim\\KVROTATE.exe");
    e2e::Process agent = e2e::Process::Start(e2e::InstalledProgram("KVRBTN.exe"));
    kvsim::Client sim;
    ASSERT_TRUE(sim.Open());
    ASSERT_TRUE(e2e::WaitUntil([&] {
        KvSimState state{};
        return sim.ReadState(state) && state.Agent.AgentWindow != -1 && state.Agent.AgentWindow != 0 &&
               state.Rotator.RotatorWindow != -1 && state.Rotator.RotatorWindow != 0;
    })) << "the agent and the rotation program did not both register";
    RemoverTakes("[Remover]\r\nDelayMs=500\r\n");

    e2e::Process remove = StartAndAnswer(true);
    EXPECT_TRUE(agent.WaitExit()) << "the agent quits";
    EXPECT_TRUE(rotator.WaitExit()) << "the rotation program quits";
    HWND status = e2e::WaitForForm("frmMessage", remove.Id());
    ASSERT_NE(status, nullptr);
    // Found while it loads; the text is there once it shows.
    EXPECT_TRUE(e2e::WaitUntil([&] {
        const e2e::ControlState text = e2e::QueryControl(status, "lblMsg");
        return text.visible && text.text == "Removing files from your system...";
    }));
    panel_e2e::SaveShot(status, "setup-status");

    auto done = e2e::WaitForMessageBox(remove.Id(), kRemovalBoundMs);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->text,
              "Removal is complete to uninstall TouchScreen drivers and utilities.\r\n\r\n"
              "The Windows must be restarted.");
    EXPECT_EQ(done->caption, kRemoveTitle);
    EXPECT_FALSE(FileThere(Scratch("KVPANEL.exe"))) << "the remover ran";
    EXPECT_EQ(IniValue(kWininit, "rename", "NUL"), "C:\\windows\\KVREMOVE.exe");
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0000", "MouseType"),
              std::nullopt);
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0001", "MouseType"), "SERIAL");
    EXPECT_FALSE(KeyThere("Enum\\BIOS\\*PNP0F13"));

    e2e::PressBoxButton(done->window, IDOK);
    EXPECT_TRUE(restart.Saw("query-end-session")) << restart.Log();
    EXPECT_TRUE(remove.WaitExit());
    // The restart honours the WININIT.INI entry: the uninstaller is gone.
    EXPECT_TRUE(e2e::WaitUntil([] { return !FileThere(kRemover); }, 30000, 100));
}

TEST_F(Uninstaller, TheRemoverIsAwaitedTenSecondsAndAHungOneChangesNothing) {
    const struct {
        const char* remover;
        const char* box;  // nullptr: the removal completes
    } cases[] = {
        {"[Remover]\r\nDelayMs=9500\r\n", nullptr},
        {"[Remover]\r\nHang=1\r\n", "Fail to remove files! (WAIT_TIMEOUT)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remover);
        RemoverTakes(c.remover);
        e2e::Process remove = StartAndAnswer(true);
        const auto boxes = RunAnsweringBoxes(remove, kRemovalBoundMs);
        ASSERT_EQ(boxes.size(), 1u) << Joined(boxes);
        if (c.box) {
            EXPECT_EQ(boxes[0], c.box);
            EXPECT_EQ(MouseConfiguration(), before_);
            EXPECT_EQ(IniValue(kWininit, "rename", "NUL"), "<none>");
            EXPECT_EQ(e2e::ProcessesNamed("unins000.exe").size(), 1u) << "still hanging, left alone";
        } else {
            EXPECT_EQ(boxes[0].rfind("Removal is complete", 0), 0u) << boxes[0];
            EXPECT_FALSE(FileThere(Scratch("KVTOUCH.VXD")));
            EXPECT_NE(MouseConfiguration(), before_);
        }
        TearDown();
        SetUp();
    }
}

TEST_F(Uninstaller, NoChangesNothing) {
    Witness restart("remove-no");
    ASSERT_TRUE(restart.ready);
    e2e::Process remove = StartAndAnswer(false);
    EXPECT_TRUE(remove.WaitExit());
    EXPECT_EQ(MouseConfiguration(), before_);
    EXPECT_TRUE(FileThere(Scratch("KVPANEL.exe")));
    EXPECT_TRUE(e2e::ProcessesNamed("unins000.exe").empty());
    EXPECT_TRUE(restart.process.Running());
    EXPECT_EQ(restart.Log().find("end-session"), std::string::npos);
}

}  // namespace
