// What the file remover takes away: the list the package writes while it
// installs ("unins000.dat" beside the remover), one entry a line, fields
// separated by tabs:
//
//   File      <path>                      a file or a shortcut
//   Dir       <path>                      a folder, removed when empty
//   Key       <root> <path>               a registry key with all below it
//   EmptyKey  <root> <path>               a registry key, when nothing is in it
//   Value     <root> <path> <name>        one registry value
//
// <root> is HKLM or HKCU. Entries are undone in the reverse order of the
// list, so that a folder goes after what was put into it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/ports/registry_port.h"

namespace kv {

struct RemovalEntry {
    enum class Kind { File, Dir, Key, EmptyKey, Value };
    Kind kind = Kind::File;
    RegKey root = 0;
    std::string path;
    std::string name;  // Value only
};

// The entries of `text` (CR LF or LF lines). A line that is not a
// well-formed entry is skipped: the remover never guesses what to delete.
std::vector<RemovalEntry> ParseRemovalList(std::string_view text);

enum class RemoveResult { Removed, Missing, Failed };

// The platform as the remover reaches it.
class RemoverPort {
public:
    virtual ~RemoverPort() = default;
    virtual RemoveResult RemoveFile(const std::string& path) = 0;
    // Missing also when `path` is not a folder; Failed when it is not empty.
    virtual RemoveResult RemoveFolder(const std::string& path) = 0;
    // Deletes the file or (empty) folder when the system next starts.
    virtual bool DeleteAtNextStart(const std::string& path) = 0;
    virtual RemoveResult DeleteKeyTree(RegKey root, const std::string& path) = 0;
    // Failed when the key holds a value or a subkey.
    virtual RemoveResult DeleteEmptyKey(RegKey root, const std::string& path) = 0;
    virtual RemoveResult DeleteValue(RegKey root, const std::string& path,
                                     const std::string& name) = 0;
};

struct RemovalReport {
    std::vector<std::string> scheduled;  // left for the next start
    std::vector<std::string> failed;     // could be neither removed nor scheduled
};

// Undoes the entries, last first. A file that cannot be deleted now (it is
// in use, as the remover itself is) is deleted at the next start, and so is
// a folder that holds nothing else. A folder holding anything the list does
// not name stays, as does a key that is not empty where that is asked for.
// `progress` hears each entry's path before it is undone.
RemovalReport RemoveListed(const std::vector<RemovalEntry>& entries, RemoverPort& port,
                           const std::function<void(const std::string&)>& progress);

}  // namespace kv
