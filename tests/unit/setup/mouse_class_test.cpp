// The mouse class configuration and its undo on the entry layouts a
// machine may have, against the fake registry and INI files.
#include <gtest/gtest.h>

#include <algorithm>

#include "remove/mouse_class_removal.h"
#include "setup/mouse_class_config.h"
#include "setup/setupcommon/mouse_class.h"
#include "tests/unit/setup/setup_test_support.h"

namespace kv {
namespace {

using testing::kClass;
using testing::kInf;

struct Entry {
    const char* name;
    const char* mouseType;  // nullptr: no MouseType value
};

struct LayoutCase {
    const char* what;
    std::vector<Entry> entries;
    const char* driverEntry;          // where the touch driver's entry ends up
    std::vector<std::string> remain;  // other entries left, with their type
};

const std::vector<std::string> kDriverValues = {"DevLoader", "MouseType", "NoSetupUI", "InfPath",
                                                "InfSection", "DriverDesc", "MouseDriver"};
// In the order they are written: "MouseType" first, so that an entry left
// half-built is still recognised; the staging copy first and in full.
const std::vector<std::string> kEntryWrites = {"MouseType", "DevLoader", "NoSetupUI", "InfPath",
                                               "InfSection", "DriverDesc", "MouseDriver"};
std::vector<std::string> StagedThenFinal() {
    std::vector<std::string> writes = kEntryWrites;
    writes.push_back("ReplacesEntry");
    writes.insert(writes.end(), kEntryWrites.begin(), kEntryWrites.end());
    return writes;
}

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> WrittenNames(const testing::RecordingRegistry& registry) {
    std::vector<std::string> names;
    for (const std::string& w : registry.writes) names.push_back(w.substr(0, w.find(':')));
    return names;
}

TEST(ConfigureMouseClass, TheDriverTakesTheFirstPs2NumberAndEveryPs2EntryGoes) {
    const LayoutCase cases[] = {
        {"PS2, SERIAL, ps2", {{"0000", "PS2"}, {"0001", "SERIAL"}, {"0002", "ps2"}}, "0000",
         {"0001:SERIAL"}},
        {"gap after 0000", {{"0000", "PS2"}, {"0002", "PS2"}}, "0000", {"0002:PS2"}},
        {"no MouseType first", {{"0000", nullptr}, {"0001", "Ps2"}}, "0001", {"0000:<none>"}},
        {"no PS/2 entry", {{"0000", "SERIAL"}, {"0001", "BUS"}}, "0002",
         {"0000:SERIAL", "0001:BUS"}},
        {"empty class", {}, "0000", {}},
    };
    for (const LayoutCase& c : cases) {
        testing::SetupWorld w;
        for (const Entry& e : c.entries) w.AddEntry(e.name, e.mouseType);
        EXPECT_TRUE(ConfigureMouseClass(w.ports, w.product, "T")) << c.what;

        EXPECT_EQ(w.registry.ValueNames(kHkeyLocalMachine, std::string(kClass) + "\\" + c.driverEntry),
                  Sorted(kDriverValues))
            << c.what;
        EXPECT_EQ(WrittenNames(w.registry), StagedThenFinal()) << c.what;
        EXPECT_FALSE(w.EntryExists(kStagingEntry)) << c.what;
        EXPECT_EQ(w.Entry(c.driverEntry, "MouseType"), "PS2") << c.what;
        EXPECT_EQ(w.Entry(c.driverEntry, "DriverDesc"), "TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F13)");
        std::vector<std::string> others;
        for (const std::string& name : w.registry.SubkeyNames(kHkeyLocalMachine, kClass))
            if (name != c.driverEntry) others.push_back(name + ":" + w.Entry(name, "MouseType"));
        EXPECT_EQ(others, c.remain) << c.what;
        // The class key itself never receives the entry's values.
        EXPECT_TRUE(w.registry.ValueNames(kHkeyLocalMachine, kClass).empty()) << c.what;
        EXPECT_TRUE(w.desktop.messageBoxes.empty()) << c.what;
        EXPECT_EQ(w.registry.OpenHandleCount(), 0u) << c.what;
    }
}

TEST(ConfigureMouseClass, OldEntryValuesAndSubkeysDoNotSurviveAndATextlessTypeIsNoPs2) {
    testing::SetupWorld w;
    w.AddEntry("0000", "PS2");
    w.registry.SetString(kHkeyLocalMachine, std::string(kClass) + "\\0000", "Old", "x");
    w.registry.CreateKey(kHkeyLocalMachine, std::string(kClass) + "\\0000\\Sub");
    w.registry.SetValue(kHkeyLocalMachine, std::string(kClass) + "\\0001", "MouseType", kRegBinary,
                        {'P', 'S', '2', 0});
    EXPECT_TRUE(ConfigureMouseClass(w.ports, w.product, "T"));
    EXPECT_EQ(w.registry.ValueNames(kHkeyLocalMachine, std::string(kClass) + "\\0000"),
              Sorted(kDriverValues));
    EXPECT_TRUE(w.registry.SubkeyNames(kHkeyLocalMachine, std::string(kClass) + "\\0000").empty());
    EXPECT_TRUE(w.EntryExists("0001"));
}

TEST(ConfigureMouseClass, WritesTheNineInfStringsInOrder) {
    testing::SetupWorld w;
    ConfigureMouseClass(w.ports, w.product, "T");
    std::vector<std::string> written;
    for (const auto& write : w.ini.writes) {
        EXPECT_EQ(write.file, kInf);
        EXPECT_EQ(write.section, "Strings");
        written.push_back(write.key + "=" + write.text);
    }
    EXPECT_EQ(written, (std::vector<std::string>{
                           "OEM_NAME=\"TouchScreen\"",
                           "OEM_CALL=\"TouchScreen - PS/2 Mouse Driver V.7.0.PS2\"",
                           "InstallPath=C:\\Program Files\\TouchScreen",
                           "*PNP0F13.DeviceDesc=\"TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F13)\"",
                           "*PNP0F03.DeviceDesc=\"TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F03)\"",
                           "*PNP0F0B.DeviceDesc=\"TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F0B)\"",
                           "*PNP0F0E.DeviceDesc=\"TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F0E)\"",
                           "*PNP0F12.DeviceDesc=\"TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F12)\"",
                           "*PNP0F1C.DeviceDesc=\"TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F1C)\""}));
}

TEST(ConfigureMouseClass, AFailedInfWriteLeavesTheRegistryUntouchedWithOneBox) {
    for (int failing : {0, 2, 8}) {
        testing::SetupWorld w;
        w.AddEntry("0000", "PS2");
        const int before = w.registry.TotalCalls();
        w.ini.failWriteAt = failing;
        EXPECT_FALSE(ConfigureMouseClass(w.ports, w.product, "T"));
        EXPECT_EQ(w.registry.TotalCalls(), before) << failing;
        EXPECT_TRUE(w.tree.deleted.empty()) << failing;
        EXPECT_EQ(w.ini.writeAttempts, failing + 1) << "no write after the failed one";
        ASSERT_EQ(w.desktop.messageBoxes.size(), 1u) << failing;
        EXPECT_EQ(w.desktop.messageBoxes[0].text, "Fail to config system registry!");
        EXPECT_EQ(w.desktop.messageBoxes[0].flags, 0x30u);
    }
}

TEST(ConfigureMouseClass, FailuresInTheRegistryAreReportedAndTheRestStillDone) {
    testing::SetupWorld w;
    w.AddEntry("0000", "PS2");
    w.AddEntry("0001", "PS2");
    w.tree.refuse = {"system\\currentcontrolset\\services\\class\\mouse\\0001"};
    int sets = 0;
    w.registry.beforeCall = [&](FakeRegistry::Call call, int) {
        // The second value of the final entry.
        if (call == FakeRegistry::Call::SetValue && ++sets == 10)
            w.registry.FailNext(FakeRegistry::Call::SetValue, 5);
    };
    EXPECT_FALSE(ConfigureMouseClass(w.ports, w.product, "T"));
    EXPECT_EQ(w.BoxTexts(),
              (std::vector<std::string>{
                  "RegDeleteKey fail! (System\\CurrentControlSet\\Services\\Class\\Mouse\\0001)",
                  "Fail to config system registry!"}));
    EXPECT_EQ(w.Entry("0000", "DevLoader"), "<none>");  // the failed write
    EXPECT_EQ(w.Entry("0000", "MouseDriver"), "KVTOUCH.VXD");
    // The complete copy stays and still loads the driver.
    EXPECT_EQ(w.Entry(kStagingEntry, "DevLoader"), "*vmouse");
    EXPECT_EQ(w.Entry(kStagingEntry, "MouseDriver"), "KVTOUCH.VXD");
}

TEST(ConfigureMouseClass, ACopyThatCannotBeBuiltLeavesEveryPs2EntryAndDevice) {
    for (int failing : {1, 7, 8}) {
        testing::SetupWorld w;
        w.AddEntry("0000", "PS2");
        w.AddEntry("0001", "ps2");
        w.registry.CreateKey(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0F13\\0C");
        int sets = 0;
        w.registry.beforeCall = [&](FakeRegistry::Call call, int) {
            if (call == FakeRegistry::Call::SetValue && ++sets == failing)
                w.registry.FailNext(FakeRegistry::Call::SetValue, 5);
        };
        EXPECT_FALSE(ConfigureMouseClass(w.ports, w.product, "T")) << failing;
        EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{"Fail to config system registry!"}) << failing;
        EXPECT_EQ(w.registry.SubkeyNames(kHkeyLocalMachine, kClass),
                  (std::vector<std::string>{"0000", "0001"}))
            << failing;
        EXPECT_EQ(w.Entry("0000", "MouseType"), "PS2") << failing;
        EXPECT_TRUE(w.registry.KeyExists(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0F13\\0C")) << failing;
    }
}

TEST(MouseClass, BiosEnumerationKeysOfTheSixIdsGoWithTheirDevices) {
    for (bool install : {true, false}) {
        testing::SetupWorld w;
        for (const char* id : kPs2MouseIds)
            w.registry.SetString(kHkeyLocalMachine, std::string("Enum\\BIOS\\") + id + "\\0C", "Class",
                                 "Mouse");
        w.registry.CreateKey(kHkeyLocalMachine, "Enum\\BIOS\\*PNP0303\\0B");
        if (install)
            ConfigureMouseClass(w.ports, w.product, "T");
        else
            RemoveMouseClass(w.registry, w.tree, w.desktop, "T");
        EXPECT_EQ(w.registry.SubkeyNames(kHkeyLocalMachine, "Enum\\BIOS"),
                  std::vector<std::string>{"*PNP0303"});
        EXPECT_EQ(std::count_if(w.tree.deleted.begin(), w.tree.deleted.end(),
                                [](const std::string& p) { return p.rfind("Enum\\BIOS\\", 0) == 0; }),
                  6);
    }
}

TEST(RemoveMouseClass, DeletesEveryPs2EntryCreatesNoneAndReportsFailures) {
    testing::SetupWorld w;
    w.AddEntry("0000", "PS2");
    w.AddEntry("0001", "SERIAL");
    w.AddEntry("0002", "ps2");
    w.AddEntry("0003", "PS2");
    w.tree.refuse = {"system\\currentcontrolset\\services\\class\\mouse\\0002"};
    w.registry.SetString(kHkeyLocalMachine, std::string(kClass) + "\\9999", "MouseType", "PS2");
    RemoveMouseClass(w.registry, w.tree, w.desktop, "TouchScreen Software Removal");
    EXPECT_EQ(w.registry.SubkeyNames(kHkeyLocalMachine, kClass),
              (std::vector<std::string>{"0001", "0002"}));
    EXPECT_EQ(w.BoxTexts(), std::vector<std::string>{
                                "RegDeleteKey fail! System\\CurrentControlSet\\Services\\Class\\Mouse\\0002"});
    EXPECT_TRUE(w.registry.writes.empty());
    EXPECT_EQ(w.registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace kv
