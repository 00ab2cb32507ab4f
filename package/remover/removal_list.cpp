#include "package/remover/removal_list.h"

#include <algorithm>

namespace kv {

namespace {

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', at);
        fields.emplace_back(line.substr(at, tab == std::string_view::npos ? line.npos : tab - at));
        if (tab == std::string_view::npos) return fields;
        at = tab + 1;
    }
}

bool RootOf(const std::string& name, RegKey& root) {
    if (name == "HKLM") root = kHkeyLocalMachine;
    else if (name == "HKCU") root = kHkeyCurrentUser;
    else return false;
    return true;
}

std::string Folded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// True when `path` lies inside `folder` (names compared without case, as
// Windows does).
bool Inside(const std::string& path, const std::string& folder) {
    const std::string f = Folded(folder) + "\\";
    return Folded(path).compare(0, f.size(), f) == 0;
}

}  // namespace

std::vector<RemovalEntry> ParseRemovalList(std::string_view text) {
    std::vector<RemovalEntry> entries;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string> f = Fields(line);
        RemovalEntry e;
        bool ok = false;
        if ((f[0] == "File" || f[0] == "Dir") && f.size() == 2) {
            e.kind = f[0] == "File" ? RemovalEntry::Kind::File : RemovalEntry::Kind::Dir;
            e.path = f[1];
            ok = true;
        } else if ((f[0] == "Key" || f[0] == "EmptyKey") && f.size() == 3) {
            e.kind = f[0] == "Key" ? RemovalEntry::Kind::Key : RemovalEntry::Kind::EmptyKey;
            e.path = f[2];
            ok = RootOf(f[1], e.root);
        } else if (f[0] == "Value" && f.size() == 4) {
            e.kind = RemovalEntry::Kind::Value;
            e.path = f[2];
            e.name = f[3];
            ok = RootOf(f[1], e.root);
        }
        // An empty path would name a root or the current folder: never.
        if (ok && !e.path.empty()) entries.push_back(std::move(e));
    }
    return entries;
}

RemovalReport RemoveListed(const std::vector<RemovalEntry>& entries, RemoverPort& port,
                           const std::function<void(const std::string&)>& progress) {
    RemovalReport report;
    auto scheduleOrFail = [&](const std::string& path) {
        (port.DeleteAtNextStart(path) ? report.scheduled : report.failed).push_back(path);
    };
    for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
        if (progress) progress(e->path);
        switch (e->kind) {
        case RemovalEntry::Kind::File:
            if (port.RemoveFile(e->path) == RemoveResult::Failed) scheduleOrFail(e->path);
            break;
        case RemovalEntry::Kind::Dir:
            if (port.RemoveFolder(e->path) == RemoveResult::Failed) {
                // Worth trying again at the next start when something of
                // ours in it goes then; a folder that still holds the
                // user's files survives that attempt.
                const bool onlyOurs =
                    std::any_of(report.scheduled.begin(), report.scheduled.end(),
                                [&](const std::string& s) { return Inside(s, e->path); });
                if (onlyOurs) scheduleOrFail(e->path);
            }
            break;
        case RemovalEntry::Kind::Key:
            if (port.DeleteKeyTree(e->root, e->path) == RemoveResult::Failed)
                report.failed.push_back(e->path);
            break;
        case RemovalEntry::Kind::EmptyKey:
            port.DeleteEmptyKey(e->root, e->path);
            break;
        case RemovalEntry::Kind::Value:
            if (port.DeleteValue(e->root, e->path, e->name) == RemoveResult::Failed)
                report.failed.push_back(e->path + "\\" + e->name);
            break;
        }
    }
    return report;
}

}  // namespace kv
