// TouchScreenSetup.exe and the file remover under Wine, in a world of their
// own that the package itself laid ("/S" on a machine that had only the
// standard mouse): what an installation leaves, what a removal leaves
// (compared with the world before the installation, file by file and value
// by value), installing again (also before the next start), a folder with
// blanks whose removal the next start completes, and the exit codes of the
// unattended runs. The world is installed again after each test.
#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

#include "harness/harness.h"
#include "harness/input.h"
#include "harness/world_snapshot.h"
#include "panel_e2e_support.h"

namespace {

constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TouchScreen";
constexpr const char* kClassKey = "System\\CurrentControlSet\\Services\\Class\\Mouse";
constexpr const char* kSessionKey = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\TouchScreen";
constexpr const char* kInstall = "C:\\Program Files\\TouchScreen";
constexpr const char* kRemover = "C:\\windows\\KVREMOVE.exe";
constexpr const char* kWininit = "C:\\windows\\WININIT.INI";
constexpr DWORD kExitRestartNeeded = 3010;
constexpr DWORD kExitFailed = 1603;
constexpr DWORD kRunBoundMs = 60000;

// What changes in a Wine world on its own, whatever the package does (the
// display's devices, made anew by each session that first uses it), and
// what an earlier restart of the world leaves (WININIT.INI's backup).
const std::vector<std::string> kNoise = {
    "HKLM\\Hardware\\",
    "HKLM\\System\\CurrentControlSet\\Control\\Video",
    "HKLM\\System\\CurrentControlSet\\Control\\DeviceClasses\\",
    "HKLM\\System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}",  // display
    "HKLM\\System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}",  // monitor
    "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\",
    "HKLM\\System\\CurrentControlSet\\Control\\ServiceCurrent\\",
    "HKCU\\Software\\Wine\\Temporary System Parameters",
    "C:\\windows\\wininit.bak",
    // A removal renames the running driver's file aside for the next start,
    // but the driver survives Wine's restart and keeps that file.
    "C:\\windows\\system32\\drivers\\KVTOUCH.sys.del",
};

// Installing over a running driver leaves the new file to replace it at
// the next start, and the remover's list names it (in case a removal comes
// first).
const std::vector<std::string> kDriverAtNextStart = {
    "C:\\windows\\system32\\drivers\\KVTOUCH.sys.new",
    "C:\\Program Files\\TouchScreen\\unins000.dat ",
    "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\\\PendingFileRenameOperations=",
};

// Leaves out the lines of exactly these files and folders.
void DropPaths(std::vector<std::string>& lines, const std::vector<std::string>& paths) {
    auto named = [&](const std::string& line) {
        for (const std::string& p : paths) {
            if (_stricmp(line.c_str(), ("dir  " + p).c_str()) == 0) return true;
            const std::string file = "file " + p + " ";
            if (_strnicmp(line.c_str(), file.c_str(), file.size()) == 0) return true;
        }
        return false;
    };
    lines.erase(std::remove_if(lines.begin(), lines.end(), named), lines.end());
}

std::vector<std::string> With(std::vector<std::string> patterns, const std::vector<std::string>& more) {
    patterns.insert(patterns.end(), more.begin(), more.end());
    return patterns;
}

std::string Built(const std::string& relative) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self);
    return path.substr(0, path.find_last_of('\\')) + "\\" + relative;
}

std::string Package() { return Built("..\\TouchScreenSetup.exe"); }

bool FileThere(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string LogPath() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "TouchScreen.log";
}

// Runs a program unattended to its end; its exit code (~0u when it hung).
DWORD RunSilently(const std::string& exe, const std::string& args) {
    e2e::Process process = e2e::Process::Start(exe, args);
    if (!process.WaitExit(kRunBoundMs)) {
        process.Kill();
        return ~0u;
    }
    return process.ExitCode();
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += "\n  " + line;
    return out;
}

// The files the system deletes at the next start (MoveFileEx's list).
std::vector<std::string> PendingDeletions() {
    std::vector<std::string> paths;
    char data[8192];
    DWORD size = sizeof data, type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kSessionKey, "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ,
                     &type, data, &size) != ERROR_SUCCESS)
        return paths;
    // Pairs of names, a source and a target (empty: delete the source).
    std::vector<std::string> names;
    for (const char* p = data; p < data + size; p += std::strlen(p) + 1) names.push_back(p);
    for (std::size_t i = 0; i + 1 < names.size(); i += 2) {
        const std::string& name = names[i];
        if (names[i + 1].empty()) paths.push_back(name.rfind("\\??\\", 0) == 0 ? name.substr(4) : name);
    }
    return paths;
}

struct Shortcut {
    std::string target, arguments;
};

Shortcut ReadShortcut(const std::string& path) {
    Shortcut shortcut;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return shortcut;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = {};
            link->GetPath(text, MAX_PATH, nullptr, 0);
            shortcut.target = text;
            link->GetArguments(text, MAX_PATH);
            shortcut.arguments = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

class PackageWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite() { CoInitialize(nullptr); }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        before_ = e2e::LoadSnapshot(e2e::WorldSnapshotPath("before-install"));
        installed_ = e2e::LoadSnapshot(e2e::WorldSnapshotPath("after-install"));
        ASSERT_FALSE(before_.empty()) << "wine-world.sh took no snapshot before the installation";
        ASSERT_FALSE(installed_.empty());
        // The simulator's tools beside the programs are the world's, not
        // the package's: out of the way while the package is compared.
        for (const char* tool : {"kvsim.exe", "kvbridge.exe"}) DeleteFileA(Installed(tool).c_str());
        DeleteFileA(LogPath().c_str());
    }

    void TearDown() override {
        // The next test (and the next suite) finds the product installed.
        if (!FileThere(Installed("KVPANEL.exe"))) {
            EXPECT_EQ(RunSilently(Package(), "/S"), kExitRestartNeeded);
        }
        for (const char* tool : {"kvsim.exe", "kvbridge.exe"})
            CopyFileA(Built(tool).c_str(), Installed(tool).c_str(), FALSE);
        EXPECT_TRUE(e2e::DriverServiceRunning());
    }

    static std::string Installed(const std::string& file) { return std::string(kInstall) + "\\" + file; }

    // What Windows does at the next start with what was left for it: Wine's
    // restart honours WININIT.INI and MoveFileEx's list.
    static void NextStart() {
        e2e::Process boot = e2e::Process::Start("C:\\windows\\system32\\wineboot.exe", "--restart");
        EXPECT_TRUE(boot.WaitExit(30000));
    }

    e2e::Snapshot before_, installed_;
};

using PackageInstall = PackageWorld;

TEST_F(PackageInstall, ASilentInstallLaysEveryPieceAndRunsTheDriverInstaller) {
    for (const char* file : {"KVPANEL.exe", "KVSTART.exe", "KVRBTN.exe", "KVSETUP.exe", "setup.ini", "setup.oem",
                             "unins000.exe", "unins000.dat"})
        EXPECT_TRUE(FileThere(Installed(file))) << file;
    for (const char* file : {kRemover, "C:\\windows\\inf\\KVTOUCH.INF", "C:\\windows\\system32\\drivers\\KVTOUCH.sys"})
        EXPECT_TRUE(FileThere(file)) << file;
    EXPECT_FALSE(FileThere(Installed("KVREMOVE.exe"))) << "the uninstaller lives outside what is removed";

    const struct {
        const char* name;
        const char* target;
        const char* arguments;
    } shortcuts[] = {
        {"TouchScreen Control Panel", "C:\\Program Files\\TouchScreen\\KVPANEL.exe", ""},
        {"Double Click Configuration", "C:\\Program Files\\TouchScreen\\KVSTART.exe", "/SDC"},
        {"Remove TouchScreen", kRemover, ""},
    };
    for (const auto& s : shortcuts) {
        const Shortcut seen = ReadShortcut(std::string(kMenu) + "\\" + s.name + ".lnk");
        EXPECT_EQ(seen.target, s.target) << s.name;
        EXPECT_EQ(seen.arguments, s.arguments) << s.name;
    }

    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, "TouchScreen"),
              "\"C:\\Program Files\\TouchScreen\\KVSTART.exe\"");
    const struct {
        const char* name;
        const char* value;
    } product[] = {{"VenderName", "Halvane"},          {"VenderStyle", "13200401"},
                   {"InstallPath", kInstall},          {"WindowsPath", "C:\\windows"},
                   {"SystemPath", "C:\\windows\\system32"}, {"HardwareID", "*KVT0001"}},
      uninstall[] = {{"DisplayName", "TouchScreen"},
                     {"DisplayVersion", "7.0.PS2"},
                     {"Publisher", "Halvane"},
                     {"DisplayIcon", "C:\\Program Files\\TouchScreen\\KVPANEL.exe,0"},
                     {"UninstallString", "\"C:\\windows\\KVREMOVE.exe\""},
                     {"QuietUninstallString", "\"C:\\windows\\KVREMOVE.exe\" /SILENT"}};
    for (const auto& v : product) EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, v.name), v.value);
    for (const auto& v : uninstall) EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, v.name), v.value);
    const auto size = e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize");
    ASSERT_TRUE(size.has_value());
    EXPECT_GT(*size, 500u) << "KB";
    EXPECT_LT(*size, 5000u) << "KB";

    // KVSETUP ran: the settings imported, the touch driver in the mouse class.
    EXPECT_EQ(e2e::ReadRegDword(HKEY_LOCAL_MACHINE, kProductKey, "DoubleClickWidth"), 4u);
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0000", "MouseDriver"), "KVTOUCH.VXD");
    char text[256] = {};
    GetPrivateProfileStringA("Strings", "InstallPath", "", text, sizeof text, "C:\\windows\\inf\\KVTOUCH.INF");
    EXPECT_STREQ(text, kInstall);
    EXPECT_EQ(ReadFileText(LogPath()), "") << "nothing failed";
}

using PackageRemoval = PackageWorld;

TEST_F(PackageRemoval, RemovingLeavesTheWorldAsBeforeAndInstallingAgainAsOneInstall) {
    EXPECT_EQ(RunSilently(kRemover, "/SILENT"), kExitRestartNeeded) << ReadFileText(LogPath());

    // What the removal documents to leave: its own entry in WININIT.INI, what
    // is deleted at the next start, and the mouse configuration for Windows
    // to detect the standard mouse again.
    const std::vector<std::string> pending = PendingDeletions();
    const std::string mouseEntry = "HKLM\\" + std::string(kClassKey) + "\\0000";
    e2e::SnapshotDiff diff = e2e::Compare(
        before_, e2e::TakeSnapshot(),
        With(kNoise, {"C:\\windows\\WININIT.INI", kRemover,
                      "HKLM\\" + std::string(kSessionKey) + "\\\\PendingFileRenameOperations=", mouseEntry,
                      "HKLM\\Enum\\BIOS\\*PNP0F13"}));
    DropPaths(diff.added, pending);
    EXPECT_TRUE(diff.gone.empty()) << "gone:" << Joined(diff.gone);
    EXPECT_TRUE(diff.added.empty()) << "left behind:" << Joined(diff.added);
    EXPECT_FALSE(pending.empty()) << "the remover cannot delete itself while it runs";
    for (const std::string& path : pending)
        EXPECT_TRUE(path.rfind(kInstall, 0) == 0 || path == "C:\\windows\\system32\\drivers\\KVTOUCH.sys.del")
            << "scheduled: " << path;
    for (int n = 0; n < 4; ++n) {
        char entry[8];
        std::snprintf(entry, sizeof entry, "\\%04d", n);
        EXPECT_NE(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + entry, "MouseDriver"),
                  "KVTOUCH.VXD");
    }

    // Installed again before the next start, which then must not take the
    // new installation's files: what it deletes was renamed aside, and the
    // uninstaller's WININIT.INI entry is gone.
    EXPECT_EQ(RunSilently(Package(), "/S"), kExitRestartNeeded);
    NextStart();
    EXPECT_TRUE(FileThere(Installed("unins000.exe")));
    EXPECT_TRUE(FileThere(kRemover));
    diff = e2e::Compare(installed_, e2e::TakeSnapshot(), With(kNoise, kDriverAtNextStart));
    EXPECT_TRUE(diff.gone.empty()) << "missing after installing again:" << Joined(diff.gone);
    EXPECT_TRUE(diff.added.empty()) << "more than one installation leaves:" << Joined(diff.added);
}

// Whether Wine lets the running driver's file be replaced at once varies;
// either way the world is that of one installation.
// KVREMOVE stopped just after its file remover ran: the files are gone, the
// mouse class still names the touch driver. The product key outlives the
// remover, so running KVREMOVE again gives the standard mouse back and ends
// in the world one removal leaves.
TEST_F(PackageRemoval, ARemovalStoppedAfterTheRemoverRanIsFinishedByARerun) {
    EXPECT_EQ(RunSilently(std::string(kInstall) + "\\unins000.exe", "/SILENT"), 0u);
    EXPECT_FALSE(FileThere(std::string(kInstall) + "\\KVPANEL.exe"));
    EXPECT_TRUE(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath").has_value())
        << "the remover took the product key";
    const std::string mouseEntry = "HKLM\\" + std::string(kClassKey) + "\\0000";
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0000", "MouseDriver"),
              "KVTOUCH.VXD");

    EXPECT_EQ(RunSilently(kRemover, "/SILENT"), kExitRestartNeeded) << ReadFileText(LogPath());
    EXPECT_NE(e2e::ReadRegString(HKEY_LOCAL_MACHINE, std::string(kClassKey) + "\\0000", "MouseDriver"),
              "KVTOUCH.VXD");
    e2e::SnapshotDiff diff = e2e::Compare(
        before_, e2e::TakeSnapshot(),
        With(kNoise, {"C:\\windows\\WININIT.INI", kRemover,
                      "HKLM\\" + std::string(kSessionKey) + "\\\\PendingFileRenameOperations=", mouseEntry,
                      "HKLM\\Enum\\BIOS\\*PNP0F13"}));
    DropPaths(diff.added, PendingDeletions());
    EXPECT_TRUE(diff.gone.empty()) << "gone:" << Joined(diff.gone);
    EXPECT_TRUE(diff.added.empty()) << "left behind:" << Joined(diff.added);
    NextStart();  // what was left for it, so the next case starts clean
}

TEST_F(PackageInstall, InstallingOverAnInstallationGivesTheSameWorld) {
    EXPECT_EQ(RunSilently(Package(), "/S"), kExitRestartNeeded);
    const e2e::SnapshotDiff diff = e2e::Compare(installed_, e2e::TakeSnapshot(), With(kNoise, kDriverAtNextStart));
    EXPECT_TRUE(diff.gone.empty()) << "missing:" << Joined(diff.gone);
    EXPECT_TRUE(diff.added.empty()) << "added:" << Joined(diff.added);
}

TEST_F(PackageInstall, AFolderWithBlanksAndItsRemoval) {
    ASSERT_EQ(RunSilently(kRemover, "/SILENT"), kExitRestartNeeded);
    NextStart();
    const std::string parent = "C:\\Touch Screen Test";
    const std::string folder = parent + "\\Touch Utilities";
    CreateDirectoryA(parent.c_str(), nullptr);
    // NSIS takes the folder as the rest of the command line, unquoted.
    ASSERT_EQ(RunSilently(Package(), "/S /D=" + folder), kExitRestartNeeded) << ReadFileText(LogPath());
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath"), folder);
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kRunKey, "TouchScreen"), "\"" + folder + "\\KVSTART.exe\"");
    EXPECT_EQ(ReadShortcut(std::string(kMenu) + "\\TouchScreen Control Panel.lnk").target, folder + "\\KVPANEL.exe");
    EXPECT_TRUE(FileThere(folder + "\\KVPANEL.exe"));
    char text[256] = {};
    GetPrivateProfileStringA("Strings", "InstallPath", "", text, sizeof text, "C:\\windows\\inf\\KVTOUCH.INF");
    EXPECT_EQ(text, folder) << "KVSETUP found its files there";

    // The uninstaller finds the remover in that folder and everything goes.
    EXPECT_EQ(RunSilently(kRemover, "/SILENT"), kExitRestartNeeded) << ReadFileText(LogPath());
    EXPECT_FALSE(FileThere(folder + "\\KVPANEL.exe"));
    EXPECT_FALSE(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath").has_value());
    NextStart();
    EXPECT_FALSE(FileThere(folder));
    EXPECT_TRUE(RemoveDirectoryA(parent.c_str())) << "only the installation folder went";
}

TEST_F(PackageInstall, UnattendedExitCodesAndTheLog) {
    const std::string setup = Installed("KVSETUP.exe");
    EXPECT_EQ(RunSilently(setup, "/SILENT"), kExitRestartNeeded);
    EXPECT_EQ(ReadFileText(LogPath()), "");
    // Lower case counts; other words beside it do not matter.
    EXPECT_EQ(RunSilently(setup, "/x /silent"), kExitRestartNeeded);

    // Without the product key neither program can do anything.
    const std::string saved = "C:\\windows\\temp-product-key.reg";
    e2e::Process save = e2e::Process::Start("C:\\windows\\regedit.exe",
                                            "/E \"" + saved + "\" \"HKEY_LOCAL_MACHINE\\" + kProductKey + "\"");
    ASSERT_TRUE(save.WaitExit(30000));
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey), ERROR_SUCCESS);
    EXPECT_EQ(RunSilently(setup, "/SILENT"), kExitFailed);
    EXPECT_EQ(RunSilently(kRemover, "/SILENT"), kExitFailed);
    const std::string log = ReadFileText(LogPath());
    EXPECT_NE(log.find(" KVSETUP: Fail to load data from Register File!\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" KVREMOVE: Fail to load data from Register File!\r\n"), std::string::npos) << log;
    EXPECT_TRUE(FileThere(Installed("KVPANEL.exe"))) << "a failed removal removes nothing";
    EXPECT_TRUE(e2e::ProcessesNamed("unins000.exe").empty());

    e2e::Process restore = e2e::Process::Start("C:\\windows\\regedit.exe", "/S \"" + saved + "\"");
    ASSERT_TRUE(restore.WaitExit(30000));
    DeleteFileA(saved.c_str());
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath"), kInstall);
}

}  // namespace

namespace {

// The package's own window and a page's control on it (the pages are
// dialogs inside it).
HWND SetupWindow(DWORD pid) { return e2e::FindTopWindow("TouchScreen 7.0.PS2 Setup", pid); }

// The texts of the visible children, for a message.
std::string ChildTexts(HWND window) {
    std::string texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            if (IsWindowVisible(child)) *reinterpret_cast<std::string*>(data) += "[" + e2e::WindowText(child) + "] ";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// The text of the first visible edit field, asked of its own window (the
// text another process sees with GetWindowText is not an edit's).
std::string EditText(HWND window) {
    HWND edit = nullptr;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            char name[32] = {};
            GetClassNameA(child, name, sizeof name);
            if (!IsWindowVisible(child) || _stricmp(name, "Edit") != 0) return TRUE;
            *reinterpret_cast<HWND*>(data) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&edit));
    char text[MAX_PATH] = {};
    if (edit) SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND ChildWithText(HWND window, const std::string& text) {
    struct Search {
        const std::string& text;
        HWND found;
    } search{text, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (IsWindowVisible(child) && e2e::WindowText(child) == s->text) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One interactive installation clicked through with real input on a real
// X display (scripts/run-e2e-x11.sh runs it; it skips on the null display),
// with a screenshot of each page for the README.
TEST_F(PackageWorld, PackageInteractiveInstallClickedThrough) {
    if (e2e::ReadRegString(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", "Graphics") ==
        std::optional<std::string>("null"))
        GTEST_SKIP() << "no screen to click on with the null display";
    ASSERT_EQ(RunSilently(kRemover, "/SILENT"), kExitRestartNeeded);
    NextStart();
    ASSERT_FALSE(FileThere(Installed("KVPANEL.exe")));

    e2e::Process setup = e2e::Process::Start(Package());
    HWND window = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (window = SetupWindow(setup.Id())) && IsWindowVisible(window); }));
    HWND next = GetDlgItem(window, IDOK);  // "Next >", then "Install"
    ASSERT_TRUE(e2e::WaitUntil([&] { return ChildWithText(window, "Welcome to TouchScreen 7.0.PS2 Setup") != nullptr; }))
        << "the welcome page";
    panel_e2e::SaveShot(window, "install-welcome");
    e2e::MouseClick(next);

    // The page's header is set before its folder field is filled in.
    ASSERT_TRUE(e2e::WaitUntil([&] {
        return ChildWithText(window, "Choose Install Location") != nullptr && EditText(window) == kInstall;
    })) << "the folder page: " << ChildTexts(window) << " folder \"" << EditText(window) << "\"";
    EXPECT_EQ(e2e::WindowText(next), "&Install");
    panel_e2e::SaveShot(window, "install-folder");
    e2e::MouseClick(next);

    // The package runs the driver installer last and waits for it.
    DWORD installer = 0;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        const auto ids = e2e::ProcessesNamed("KVSETUP.exe");
        installer = ids.empty() ? 0 : ids.front();
        return installer != 0;
    }, 30000)) << ChildTexts(window);
    auto done = e2e::WaitForMessageBox(installer, 30000);
    ASSERT_TRUE(done) << ChildTexts(window);
    EXPECT_TRUE(setup.Running()) << "the package waits for KVSETUP";
    panel_e2e::SaveShot(window, "install-progress");
    EXPECT_EQ(done->text.rfind("Setup has finished installing TouchScreen", 0), 0u) << done->text;
    panel_e2e::SaveShot(done->window, "install-done");
    EXPECT_TRUE(FileThere(Installed("KVPANEL.exe")));
    EXPECT_EQ(e2e::ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "InstallPath"), kInstall);

    // OK asks for the restart. The package's window, its work done, may
    // decline to end the session; then it shows its last page, closed by
    // the user.
    e2e::MouseClick(GetDlgItem(done->window, IDOK));
    if (!setup.WaitExit(5000)) {
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(next) && e2e::WindowText(next) == "&Close"; }))
            << ChildTexts(window);
        panel_e2e::SaveShot(window, "install-complete");
        e2e::MouseClick(next);
        EXPECT_TRUE(setup.WaitExit(10000));
    }
    EXPECT_EQ(setup.ExitCode(), 0u);
    e2e::WaitUntil([] { return e2e::ProcessesNamed("wineboot.exe").empty(); }, 30000, 100);
}

}  // namespace
