#include "harness/world_snapshot.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace e2e {

namespace {

void WalkFiles(const std::string& folder, Snapshot& out) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back("dir  " + path);
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) WalkFiles(path, out);
        } else {
            const unsigned long long size =
                (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            out.push_back("file " + path + " " + std::to_string(size));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string ValueText(DWORD type, const BYTE* data, DWORD size) {
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && data[size - 1] == 0)
        return "\"" + std::string(reinterpret_cast<const char*>(data), size - 1) + "\"";
    std::string text = "type" + std::to_string(type) + ":";
    char pair[4];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", data[i]);
        text += pair;
    }
    return text;
}

void WalkKey(HKEY root, const std::string& rootName, const std::string& path, Snapshot& out) {
    HKEY key;
    if (RegOpenKeyExA(root, path.empty() ? nullptr : path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    const std::string full = rootName + (path.empty() ? "" : "\\" + path);
    out.push_back("key  " + full);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof name, type = 0, dataSize = static_cast<DWORD>(data.size());
        const LONG r = RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &dataSize);
        if (r == ERROR_MORE_DATA) continue;
        if (r != ERROR_SUCCESS) break;
        out.push_back("val  " + full + "\\\\" + name + "=" + ValueText(type, data.data(), dataSize));
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& sub : subkeys)
        WalkKey(root, rootName, path.empty() ? sub : path + "\\" + sub, out);
}

std::string Folded(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

Snapshot TakeSnapshot() {
    Snapshot out;
    for (const char* folder : {"C:\\windows", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData"})
        WalkFiles(folder, out);
    WalkKey(HKEY_LOCAL_MACHINE, "HKLM", "", out);
    WalkKey(HKEY_CURRENT_USER, "HKCU", "", out);
    std::sort(out.begin(), out.end());
    return out;
}

bool SaveSnapshot(const std::string& path, const Snapshot& snapshot) {
    std::ofstream file(path, std::ios::binary);
    for (const std::string& line : snapshot) file << line << "\n";
    return static_cast<bool>(file);
}

Snapshot LoadSnapshot(const std::string& path) {
    Snapshot snapshot;
    std::ifstream file(path, std::ios::binary);
    for (std::string line; std::getline(file, line);) snapshot.push_back(line);
    return snapshot;
}

std::string WorldSnapshotPath(const std::string& name) {
    const char* prefix = std::getenv("WINEPREFIX");
    std::string unix = prefix ? prefix : "";
    while (!unix.empty() && unix.back() == '/') unix.pop_back();
    unix = unix.substr(0, unix.find_last_of('/')) + "/snapshots/" + name;
    std::replace(unix.begin(), unix.end(), '/', '\\');
    return "Z:" + unix;
}

SnapshotDiff Compare(const Snapshot& first, const Snapshot& second,
                     const std::vector<std::string>& ignored) {
    std::vector<std::string> folded;
    for (const std::string& pattern : ignored) folded.push_back(Folded(pattern));
    auto kept = [&](const std::string& line) {
        const std::string f = Folded(line.substr(std::min<std::size_t>(line.size(), 5)));
        return std::none_of(folded.begin(), folded.end(),
                            [&](const std::string& p) { return f.compare(0, p.size(), p) == 0; });
    };
    Snapshot a = first, b = second;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    SnapshotDiff diff;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(diff.gone));
    std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(diff.added));
    diff.gone.erase(std::remove_if(diff.gone.begin(), diff.gone.end(), [&](auto& l) { return !kept(l); }),
                    diff.gone.end());
    diff.added.erase(std::remove_if(diff.added.begin(), diff.added.end(), [&](auto& l) { return !kept(l); }),
                     diff.added.end());
    return diff;
}

}  // namespace e2e
