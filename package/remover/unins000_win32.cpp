// unins000.exe, the package's file remover: takes away what the package
// installed, as listed in "unins000.dat" beside it, and nothing else.
// "/SILENT" shows nothing; without it a small window shows what is being
// removed. It does its work in this process and only then exits, so that a
// caller waiting for it (KVREMOVE) waits for the removal itself; what it
// cannot delete now, itself included, is deleted at the next start.
// Exit code: 0 done (perhaps with some of it left for the next start),
// 1 when the list cannot be read or something could not even be scheduled.
#include <windows.h>

#include <string>

#include "package/remover/removal_list.h"
#include "setup/setupcommon/unattended.h"

namespace {

constexpr const char* kTitle = "TouchScreen Removal";

HKEY Root(kv::RegKey root) { return reinterpret_cast<HKEY>(root); }

kv::RemoveResult FromError(DWORD error) {
    if (error == ERROR_SUCCESS) return kv::RemoveResult::Removed;
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return kv::RemoveResult::Missing;
    return kv::RemoveResult::Failed;
}

class Win32RemoverPort : public kv::RemoverPort {
public:
    kv::RemoveResult RemoveFile(const std::string& path) override {
        if (DeleteFileA(path.c_str())) return kv::RemoveResult::Removed;
        return FromError(GetLastError());
    }
    kv::RemoveResult RemoveFolder(const std::string& path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return kv::RemoveResult::Missing;
        return RemoveDirectoryA(path.c_str()) ? kv::RemoveResult::Removed : kv::RemoveResult::Failed;
    }
    // A file in use is first renamed aside (Windows allows that for a
    // running program or a loaded driver), so that installing again before
    // the next start puts a new file in its place that the start then
    // leaves alone.
    bool DeleteAtNextStart(const std::string& path) override {
        std::string doomed = path;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            MoveFileExA(path.c_str(), (path + ".del").c_str(), MOVEFILE_REPLACE_EXISTING))
            doomed = path + ".del";
        return MoveFileExA(doomed.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
    }
    kv::RemoveResult DeleteKeyTree(kv::RegKey root, const std::string& path) override {
        return FromError(static_cast<DWORD>(RegDeleteTreeA(Root(root), path.c_str())));
    }
    kv::RemoveResult DeleteEmptyKey(kv::RegKey root, const std::string& path) override {
        HKEY key;
        if (RegOpenKeyExA(Root(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return kv::RemoveResult::Missing;
        DWORD subkeys = 0, values = 0;
        const LONG info = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                           &values, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        if (info != ERROR_SUCCESS || subkeys != 0 || values != 0) return kv::RemoveResult::Failed;
        return FromError(static_cast<DWORD>(RegDeleteKeyA(Root(root), path.c_str())));
    }
    kv::RemoveResult DeleteValue(kv::RegKey root, const std::string& path,
                                 const std::string& name) override {
        HKEY key;
        const LONG opened = RegOpenKeyExA(Root(root), path.c_str(), 0, KEY_SET_VALUE, &key);
        if (opened != ERROR_SUCCESS) return FromError(static_cast<DWORD>(opened));
        const LONG deleted = RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
        return FromError(static_cast<DWORD>(deleted));
    }
};

// The window shown without "/SILENT": one line naming what goes now.
class ProgressWindow {
public:
    explicit ProgressWindow(HINSTANCE instance) {
        const int width = 420, height = 110;
        window_ = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, "#32770", kTitle,
                                  WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                  nullptr, nullptr, instance, nullptr);
        text_ = CreateWindowExA(0, "STATIC", "Removing TouchScreen files...",
                                WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_PATHELLIPSIS, 16, 24,
                                width - 40, 20, window_, nullptr, instance, nullptr);
        SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        Pump();
    }
    ~ProgressWindow() { DestroyWindow(window_); }

    void Show(const std::string& what) {
        SetWindowTextA(text_, ("Removing " + what).c_str());
        Pump();
    }

private:
    void Pump() {
        UpdateWindow(window_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    HWND window_ = nullptr;
    HWND text_ = nullptr;
};

std::string ReadWholeFile(const std::string& path, bool& ok) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ok = file != INVALID_HANDLE_VALUE;
    if (!ok) return text;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string list = self;
    list = list.substr(0, list.find_last_of('\\')) + "\\unins000.dat";

    bool readable = false;
    const std::string text = ReadWholeFile(list, readable);
    if (!readable) return 1;
    const std::vector<kv::RemovalEntry> entries = kv::ParseRemovalList(text);

    Win32RemoverPort port;
    kv::RemovalReport report;
    if (kv::HasSilentSwitch(arguments ? arguments : "")) {
        report = kv::RemoveListed(entries, port, nullptr);
    } else {
        ProgressWindow window(instance);
        report = kv::RemoveListed(entries, port, [&](const std::string& path) { window.Show(path); });
    }
    return report.failed.empty() ? 0 : 1;
}
