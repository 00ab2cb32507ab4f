// unins000.exe, a stand-in for the package's file remover. It deletes the
// files of the folder it lives in (the installation folder), all but
// itself. "/SILENT" skips its confirmation box. "unins000.ini" beside it,
// read before anything is deleted, can make it slow or hang, so that a
// waiting uninstaller meets every outcome for real:
//
//   [Remover]
//   DelayMs=9500     ; wait this long before deleting
//   Hang=1           ; never finish (the caller ends it)
//
// It shows no window in silent mode and exits 0 when done, 1 when the user
// said No.
#include <windows.h>

#include <cctype>
#include <string>

namespace {

std::string Folder(const std::string& path) {
    const std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool HasSwitch(const char* commandLine, const char* wanted) {
    std::string line(commandLine ? commandLine : "");
    for (char& c : line) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return line.find(wanted) != std::string::npos;
}

std::string Folded(const std::string& a) {
    std::string folded = a;
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string folder = Folder(self);
    const std::string control = folder + "\\unins000.ini";

    const UINT delayMs = GetPrivateProfileIntA("Remover", "DelayMs", 0, control.c_str());
    const bool hang = GetPrivateProfileIntA("Remover", "Hang", 0, control.c_str()) != 0;

    if (!HasSwitch(commandLine, "/SILENT") &&
        MessageBoxA(nullptr, "Do you want to remove the TouchScreen files from this computer?",
                    "Uninstall", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;

    if (hang) Sleep(INFINITE);
    if (delayMs > 0) Sleep(delayMs);

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        const std::string selfName = Folded(self + folder.size() + 1);
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (Folded(found.cFileName) == selfName) continue;
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    return 0;
}
