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
#include <functional>
#include <iostream>
#include <map>
#include <sstream>

#include "harness/harness.h"
#include "harness/input.h"
#include "panel_e2e_support.h"
#include "sim/kvsim/kvsim_client.h"

namespace {

constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
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
        // A removal deletes the product key: it is made again.
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
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

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
    char text[512] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", text, sizeof text, file.c_str());
    return text;
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

constexpr const char* kRemoverTimeout = "Fail to remove files! (WAIT_TIMEOUT)";

// Runs a program and answers its boxes until it ends: the uninstaller's
// Retry/Cancel box about a slow remover with `timeoutAnswer`, every other
// box with OK; the texts seen.
std::vector<std::string> RunAnsweringBoxes(e2e::Process& process, DWORD boundMs, int timeoutAnswer = IDCANCEL) {
    std::vector<std::string> texts;
    const DWORD start = GetTickCount();
    while (process.Running() && GetTickCount() - start < boundMs) {
        auto box = e2e::WaitForMessageBox(process.Id(), 500);
        if (!box) continue;
        texts.push_back(box->text);
        e2e::PressBoxButton(box->window, box->text == kRemoverTimeout ? timeoutAnswer : IDOK);
    }
    return texts;
}

// Where a kill landed, for the log: the registry as at the start, as at
// the end, or in between.
void ReportKill(const char* moment, const std::string& start, const std::string& end, const std::string& now) {
    std::cout << "[ killed   ] " << moment << ": "
              << (now == start ? "before any change" : now == end ? "after every change" : "half-way") << "\n";
}

// Ends `process` the way Task Manager does, as soon as `moment` holds (or
// when it ends by itself first); false when the moment never came.
bool KillWhen(e2e::Process& process, const std::function<bool()>& moment, DWORD boundMs = 30000) {
    const bool came = e2e::WaitUntil([&] { return moment() || !process.Running(); }, boundMs, 1);
    process.Kill();
    return came;
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
    EXPECT_FALSE(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath")) << "the product key goes";
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, driverEntry, "MouseDriver"), std::nullopt);
    SaveRegistry("registry-after-removal", MouseConfiguration());
    // The package writes the product key again before it runs the installer.
    RestoreValues(kProductKey, savedProduct_);

    SetBiosDevice("*PNP0F13", "0C");  // what Windows detects again after the restart
    install();
    EXPECT_EQ(MouseConfiguration(), once);
}

// KVSETUP ended by Task Manager at spread moments of its run, then run
// again: the registry and the INF end as after one uninterrupted run. The
// first moment is the INF's first change, which lands inside the
// platform's rewrite of the whole file: the file is then cut short.
using KilledInstaller = Installer;

TEST_F(KilledInstaller, ARerunFinishesTheInstallation) {
    const std::string first = std::string(kClassKey) + "\\0000";
    // The INF as the package ships it, before the installer's strings: the
    // world's own has them already.
    const std::string shippedInf =
        savedInf_.substr(0, savedInf_.find("[Strings]")) + "[Strings]\r\nOEM_NAME=\"TouchScreen\"\r\n";
    auto layout = [&] {
        StandardMouse();
        e2e::WriteRegString(HKEY_LOCAL_MACHINE, first, "DriverDesc", "Standard PS/2 Port Mouse");
        e2e::WriteRegString(HKEY_LOCAL_MACHINE, first, "MouseDriver", "msmouse.vxd");
        SetEntry("0001", "SERIAL");
        SetEntry("0002", "ps2");
        SetBiosDevice("*PNP0F0E", "0D");
        WriteFileText(kInf, shippedInf);
    };
    auto install = [] {
        e2e::Process setup = e2e::Process::Start(e2e::InstalledProgram("KVSETUP.exe"));
        const auto boxes = RunAnsweringBoxes(setup, 30000);
        EXPECT_EQ(boxes.size(), 1u) << Joined(boxes);
        AwaitEndOfSession();
    };
    layout();
    install();
    const std::string once = MouseConfiguration();
    const std::string inf = ReadFileText(kInf);
    ASSERT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, first, "MouseDriver"), "KVTOUCH.VXD");

    const struct {
        const char* what;
        std::function<bool(DWORD)> moment;
    } moments[] = {
        {"as the INF is rewritten", [&](DWORD) { return ReadFileText(kInf) != shippedInf; }},
        // Each moment also counts as come once a later one has: the run may
        // pass one between two looks.
        {"as the copy of the entry is built",
         [](DWORD) { return KeyThere(std::string(kClassKey) + "\\9999") || !KeyThere("Enum\\BIOS\\*PNP0F13"); }},
        {"as the devices go", [](DWORD) { return !KeyThere("Enum\\BIOS\\*PNP0F13"); }},
        {"as the first PS/2 entry goes",
         [&](DWORD) { return e2e::ReadRegString(HKEY_LOCAL_MACHINE, first, "DriverDesc") != "Standard PS/2 Port Mouse"; }},
        {"at the closing box", [](DWORD pid) { return e2e::WaitForMessageBox(pid, 0).has_value(); }},
    };
    for (const auto& m : moments) {
        SCOPED_TRACE(m.what);
        layout();
        const std::string start = MouseConfiguration() + ReadFileText(kInf);
        e2e::Process setup = e2e::Process::Start(e2e::InstalledProgram("KVSETUP.exe"));
        EXPECT_TRUE(KillWhen(setup, [&] { return m.moment(setup.Id()); }));
        ReportKill(m.what, start, once + inf, MouseConfiguration() + ReadFileText(kInf));
        install();
        EXPECT_EQ(MouseConfiguration(), once);
        EXPECT_EQ(ReadFileText(kInf), inf);
    }
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
        // The stand-in remover leaves the logon entry, which the package's
        // own takes away: KVSTART started by the restart would make the
        // product key again (its open creates it), as it never does after a
        // real removal.
        logonEntry_ = e2e::ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, "TouchScreen");
        e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kRunKey, "TouchScreen");
        // The touch driver's entry, as the installer left it.
        SetEntry("0000", "PS2");
        SetEntry("0001", "SERIAL");
        before_ = MouseConfiguration();
    }

    void TearDown() override {
        e2e::KillAllNamed("unins000.exe");
        e2e::WriteRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath", installPath_);
        if (logonEntry_) e2e::WriteRegString(HKEY_LOCAL_MACHINE, kRunKey, "TouchScreen", *logonEntry_);
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
        // A query gives up after 2 s; on a loaded machine the program may
        // take longer to answer its first one.
        const std::string question =
            "Are you sure you want to completely remove TouchScreen V.7.0.PS2 and all of its components?";
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::QueryControl(window, "lblAsk").text == question; }, 20000));
        if (yes) panel_e2e::SaveShot(window, "remove-question");
        HWND button = nullptr;
        EXPECT_TRUE(e2e::WaitUntil([&] { return (button = e2e::FindControl(window, yes ? "cmdYes" : "cmdNo")) != nullptr; },
                                   20000));
        PostMessageA(button, BM_CLICK, 0, 0);
        return remove;
    }

    std::string installPath_, before_;
    std::optional<std::string> logonEntry_;
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
    // It stands for the work under way: neither Alt+F4 nor its close box
    // takes it away.
    SetForegroundWindow(status);
    e2e::PressKey(VK_F4, false, true);
    PostMessageA(status, WM_SYSCOMMAND, SC_CLOSE, 0);
    Sleep(300);
    EXPECT_TRUE(IsWindowVisible(status));

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

TEST_F(Uninstaller, TheRemoverIsAwaitedTenSecondsThenRetryWaitsOnAndCancelChangesNothing) {
    const struct {
        const char* remover;
        int answer;                      // to the Retry/Cancel box
        std::vector<std::string> boxes;  // before the final one, when the removal completes
        bool completes;
    } cases[] = {
        {"[Remover]\r\nDelayMs=9500\r\n", IDCANCEL, {}, true},
        // A remover still busy after ten seconds is not left to delete the
        // driver's files behind a registry that still names them.
        {"[Remover]\r\nDelayMs=12000\r\n", IDRETRY, {kRemoverTimeout}, true},
        {"[Remover]\r\nHang=1\r\n", IDCANCEL, {kRemoverTimeout}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remover);
        RemoverTakes(c.remover);
        e2e::Process remove = StartAndAnswer(true);
        const DWORD started = GetTickCount();
        auto boxes = RunAnsweringBoxes(remove, kRemovalBoundMs, c.answer);
        if (c.completes) {
            ASSERT_EQ(boxes.size(), c.boxes.size() + 1) << Joined(boxes);
            EXPECT_EQ(boxes.back().rfind("Removal is complete", 0), 0u) << boxes.back();
            boxes.pop_back();
            EXPECT_EQ(boxes, c.boxes);
            EXPECT_FALSE(FileThere(Scratch("KVTOUCH.VXD")));
            EXPECT_NE(MouseConfiguration(), before_);
            EXPECT_FALSE(KeyThere(std::string(kClassKey) + "\\0000"));
        } else {
            EXPECT_EQ(boxes, c.boxes);
            EXPECT_EQ(MouseConfiguration(), before_);
            EXPECT_EQ(IniValue(kWininit, "rename", "NUL"), "<none>");
            EXPECT_EQ(e2e::ProcessesNamed("unins000.exe").size(), 1u) << "still hanging, left alone";
            EXPECT_GE(GetTickCount() - started, 10000u);
        }
        TearDown();
        SetUp();
    }
}

// KVREMOVE ended by Task Manager at spread moments of its run, then run
// again: the registry and WININIT.INI end as after one run. The remover
// is deleted with the package, as the package's own remover deletes
// itself, so a second run finds the files gone and goes on with the
// registry.
// A suite of its own: each suite has its own time bound.
using KilledUninstaller = Uninstaller;

TEST_F(KilledUninstaller, ARerunFinishesTheRemoval) {
    const std::string entry = std::string(kClassKey) + "\\0000";
    auto removeAll = [&] {
        e2e::Process remove = StartAndAnswer(true);
        const auto boxes = RunAnsweringBoxes(remove, kRemovalBoundMs);
        EXPECT_EQ(boxes.size(), 1u) << Joined(boxes);
        AwaitEndOfSession();
        DeleteFileA(Scratch("unins000.exe").c_str());
    };
    RemoverTakes("[Remover]\r\nDelayMs=1000\r\n");
    removeAll();
    const std::string once = MouseConfiguration();
    const std::string wininit = IniValue(kWininit, "rename", "NUL");
    ASSERT_FALSE(KeyThere(entry));
    TearDown();
    SetUp();

    const struct {
        const char* what;
        std::function<bool(DWORD)> moment;
    } moments[] = {
        {"while the remover runs", [](DWORD) { return !e2e::ProcessesNamed("unins000.exe").empty(); }},
        {"as the mouse class entry goes", [&](DWORD) { return !KeyThere(entry); }},
    };
    for (const auto& m : moments) {
        SCOPED_TRACE(m.what);
        RemoverTakes("[Remover]\r\nDelayMs=1000\r\n");
        const std::string start = MouseConfiguration();
        e2e::Process remove = StartAndAnswer(true);
        EXPECT_TRUE(KillWhen(remove, [&] { return m.moment(remove.Id()); }));
        ReportKill(m.what, start, once, MouseConfiguration());
        // The remover goes on without its caller; the second run then finds
        // neither the remover nor any program file. Stopped after its last
        // step, the product key's deletion, the removal was whole: a rerun
        // has no product to load and says so.
        e2e::WaitUntil([] { return e2e::ProcessesNamed("unins000.exe").empty(); }, 10000, 50);
        EXPECT_FALSE(FileThere(Scratch("KVPANEL.exe")));
        DeleteFileA(Scratch("unins000.exe").c_str());
        if (e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath")) {
            removeAll();
            EXPECT_EQ(IniValue(kWininit, "rename", "NUL"), wininit);
        } else {
            e2e::Process rerun = StartRemover();
            EXPECT_EQ(RunAnsweringBoxes(rerun, 30000),
                      std::vector<std::string>{"Fail to load data from Register File!"});
        }
        EXPECT_EQ(MouseConfiguration(), once);
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
