// The file remover's list: what it accepts, and what it does with a machine
// where some of it is in use, gone already, or shared with the user's files.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "package/remover/removal_list.h"

namespace kv {
namespace {

TEST(RemovalList, OnlyWellFormedEntriesAreTaken) {
    const auto entries = ParseRemovalList(
        "Dir\tC:\\Program Files\\TouchScreen\r\n"
        "File\tC:\\Program Files\\TouchScreen\\KVPANEL.exe\n"
        "Key\tHKLM\tSOFTWARE\\Halvane\\TouchScreen\\KV-PS2\r\n"
        "Value\tHKCU\tSoftware\\Run\tTouch Screen\r\n"
        "EmptyKey\tHKLM\tSOFTWARE\\Halvane\r\n"
        // Never guessed at: unknown kinds and roots, missing or extra
        // fields, an empty path, a kind in the wrong case.
        "Files\tC:\\x\r\nKey\tHKCR\tSoftware\\x\r\nValue\tHKLM\tSoftware\\x\r\n"
        "File\tC:\\x\tC:\\y\r\nDir\t\r\nKey\tHKLM\t\r\nfile\tC:\\x\r\n\r\n"
        "File\tC:\\last line without its end");
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].kind, RemovalEntry::Kind::Dir);
    EXPECT_EQ(entries[0].path, "C:\\Program Files\\TouchScreen");
    EXPECT_EQ(entries[1].path, "C:\\Program Files\\TouchScreen\\KVPANEL.exe");
    EXPECT_EQ(entries[2].kind, RemovalEntry::Kind::Key);
    EXPECT_EQ(entries[2].root, kHkeyLocalMachine);
    EXPECT_EQ(entries[3].kind, RemovalEntry::Kind::Value);
    EXPECT_EQ(entries[3].root, kHkeyCurrentUser);
    EXPECT_EQ(entries[3].name, "Touch Screen");
    EXPECT_EQ(entries[4].kind, RemovalEntry::Kind::EmptyKey);
    EXPECT_EQ(entries[5].path, "C:\\last line without its end");
}

// Files and folders as paths; "in use" files cannot be deleted now.
class FakeRemoverPort : public RemoverPort {
public:
    RemoveResult RemoveFile(const std::string& path) override {
        calls.push_back("file " + path);
        if (inUse.count(path)) return RemoveResult::Failed;
        return files.erase(path) ? RemoveResult::Removed : RemoveResult::Missing;
    }
    RemoveResult RemoveFolder(const std::string& path) override {
        calls.push_back("dir " + path);
        if (!folders.count(path)) return RemoveResult::Missing;
        for (const std::string& f : files)
            if (f.rfind(path + "\\", 0) == 0) return RemoveResult::Failed;
        folders.erase(path);
        return RemoveResult::Removed;
    }
    bool DeleteAtNextStart(const std::string& path) override {
        calls.push_back("at next start " + path);
        return schedulable;
    }
    RemoveResult DeleteKeyTree(RegKey, const std::string& path) override {
        calls.push_back("key " + path);
        return keys.erase(path) ? RemoveResult::Removed : RemoveResult::Missing;
    }
    RemoveResult DeleteEmptyKey(RegKey, const std::string& path) override {
        calls.push_back("empty key " + path);
        if (!keys.count(path)) return RemoveResult::Missing;
        for (const std::string& k : keys)
            if (k.rfind(path + "\\", 0) == 0) return RemoveResult::Failed;
        keys.erase(path);
        return RemoveResult::Removed;
    }
    RemoveResult DeleteValue(RegKey, const std::string& path, const std::string& name) override {
        calls.push_back("value " + path + " " + name);
        return values.erase(path + "|" + name) ? RemoveResult::Removed : RemoveResult::Missing;
    }

    std::set<std::string> files, folders, keys, values, inUse;
    bool schedulable = true;
    std::vector<std::string> calls;
};

constexpr const char* kList =
    "Dir\tC:\\TS\r\n"
    "EmptyKey\tHKLM\tSOFTWARE\\Halvane\r\n"
    "File\tC:\\TS\\unins000.dat\r\n"
    "File\tC:\\TS\\unins000.exe\r\n"
    "File\tC:\\TS\\KVPANEL.exe\r\n"
    "Key\tHKLM\tSOFTWARE\\Halvane\\KV-PS2\r\n"
    "Value\tHKLM\tRun\tTouchScreen\r\n";

struct Installed : ::testing::Test {
    Installed() {
        port.files = {"C:\\TS\\unins000.dat", "C:\\TS\\unins000.exe", "C:\\TS\\KVPANEL.exe"};
        port.folders = {"C:\\TS"};
        port.keys = {"SOFTWARE\\Halvane", "SOFTWARE\\Halvane\\KV-PS2"};
        port.values = {"Run|TouchScreen"};
    }
    RemovalReport Remove() {
        return RemoveListed(ParseRemovalList(kList), port, [&](const std::string& p) { heard.push_back(p); });
    }
    FakeRemoverPort port;
    std::vector<std::string> heard;
};

TEST_F(Installed, EverythingGoesLastEntryFirst) {
    const RemovalReport report = Remove();
    EXPECT_TRUE(report.scheduled.empty());
    EXPECT_TRUE(report.failed.empty());
    EXPECT_TRUE(port.files.empty() && port.folders.empty() && port.keys.empty() && port.values.empty());
    EXPECT_EQ(port.calls.front(), "value Run TouchScreen");
    EXPECT_EQ(port.calls.back(), "dir C:\\TS");
    EXPECT_EQ(heard.size(), 7u);
}

TEST_F(Installed, WhatIsInUseAndItsFolderGoAtTheNextStart) {
    port.inUse = {"C:\\TS\\unins000.exe"};
    const RemovalReport report = Remove();
    EXPECT_EQ(report.scheduled, (std::vector<std::string>{"C:\\TS\\unins000.exe", "C:\\TS"}));
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(port.files, std::set<std::string>{"C:\\TS\\unins000.exe"});
}

TEST_F(Installed, TheUsersFilesKeepTheFolderAndTheSharedKeyStays) {
    port.files.insert("C:\\TS\\my notes.txt");
    port.keys.insert("SOFTWARE\\Halvane\\Other Product");
    const RemovalReport report = Remove();
    EXPECT_TRUE(report.scheduled.empty());
    EXPECT_TRUE(report.failed.empty());
    EXPECT_EQ(port.files, std::set<std::string>{"C:\\TS\\my notes.txt"});
    EXPECT_EQ(port.folders, std::set<std::string>{"C:\\TS"});
    EXPECT_EQ(port.keys, (std::set<std::string>{"SOFTWARE\\Halvane", "SOFTWARE\\Halvane\\Other Product"}));
}

TEST_F(Installed, ASecondRunFindsNothingToDoAndFailsNothing) {
    Remove();
    const RemovalReport again = Remove();
    EXPECT_TRUE(again.scheduled.empty());
    EXPECT_TRUE(again.failed.empty());
}

TEST_F(Installed, WhatCanNeitherGoNorBeScheduledIsReported) {
    port.inUse = {"C:\\TS\\KVPANEL.exe"};
    port.schedulable = false;
    const RemovalReport report = Remove();
    // The folder is not worth scheduling: nothing of ours in it goes later.
    EXPECT_EQ(report.failed, std::vector<std::string>{"C:\\TS\\KVPANEL.exe"});
    EXPECT_TRUE(report.scheduled.empty());
}

}  // namespace
}  // namespace kv
