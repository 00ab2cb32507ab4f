// The state of a whole Wine world as text, for comparing what a program
// left behind with what was there before: every file and folder under the
// machine's folders (with file sizes) and every registry key and value of
// HKLM and HKCU, one sorted line each.
#pragma once

#include <string>
#include <vector>

namespace e2e {

using Snapshot = std::vector<std::string>;

Snapshot TakeSnapshot();
bool SaveSnapshot(const std::string& path, const Snapshot& snapshot);
// Empty when the file cannot be read.
Snapshot LoadSnapshot(const std::string& path);

// The snapshots wine-world.sh took ("before-install", "after-install"),
// in the folder beside the world's prefix.
std::string WorldSnapshotPath(const std::string& name);

struct SnapshotDiff {
    std::vector<std::string> gone;   // in the first, not in the second
    std::vector<std::string> added;  // in the second, not in the first
};

// The lines that differ, leaving out those any of `ignored` matches: a
// pattern matches the lines whose path (what follows "file ", "dir  ",
// "key  " or "val  ") begins with it, compared without case.
SnapshotDiff Compare(const Snapshot& first, const Snapshot& second,
                     const std::vector<std::string>& ignored);

}  // namespace e2e
