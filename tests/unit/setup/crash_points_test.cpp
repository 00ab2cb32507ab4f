// KVSETUP and KVREMOVE stopped after every change they make to the
// registry or an INI file, on each mouse class layout a machine may have:
// what a stop leaves must still give the PS/2 device a complete driver
// entry, and a second run must end exactly where one uninterrupted run
// does.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <memory>
#include <sstream>

#include "remove/removal_window.h"
#include "setup/setup_program.h"
#include "setup/setupcommon/mouse_class.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_device.h"
#include "tests/fakes/stopping_ports.h"
#include "tests/unit/setup/setup_test_support.h"

namespace kv {
namespace {

using testing::kClass;
using testing::kInstall;

struct ClassEntry {
    const char* name;
    const char* mouseType;
};

struct Binding {
    const char* id;
    const char* driver;  // the entry "Mouse\NNNN" the device is bound to; nullptr: none
};

struct Layout {
    const char* what;
    std::vector<ClassEntry> entries;
    std::vector<Binding> devices;
};

const std::vector<Layout> kLayouts = {
    {"PS/2 first", {{"0000", "PS2"}}, {{"*PNP0F13", "Mouse\\0000"}}},
    {"PS/2 after others", {{"0000", "SERIAL"}, {"0001", "PS2"}}, {{"*PNP0F13", "Mouse\\0001"}}},
    {"upper and lower case",
     {{"0000", "PS2"}, {"0001", "SERIAL"}, {"0002", "ps2"}},
     {{"*PNP0F13", "Mouse\\0000"}, {"*PNP0F0E", "Mouse\\0002"}}},
    {"a gap", {{"0000", "PS2"}, {"0002", "PS2"}}, {{"*PNP0F13", "Mouse\\0000"}}},
    {"no PS/2 entry", {{"0000", "SERIAL"}, {"0001", "BUS"}}, {{"*PNP0F13", nullptr}}},
};

const std::map<std::string, std::string> kTouchValues = {
    {"DevLoader", "*vmouse"},      {"MouseType", "PS2"},        {"NoSetupUI", "1"},
    {"InfPath", "KVTOUCH.INF"},    {"InfSection", "KvPS2"},     {"MouseDriver", "KVTOUCH.VXD"},
    {"DriverDesc", "TouchScreen - PS/2 Mouse (7.0.PS2.PNP0F13)"}};

std::string Path(const std::string& entry) { return std::string(kClass) + "\\" + entry; }

// Every key and value below root\path, one line each.
void Dump(const FakeRegistry& registry, const std::string& path, std::ostringstream& out) {
    out << "[" << path << "]\n";
    for (const std::string& name : registry.ValueNames(kHkeyLocalMachine, path)) {
        const auto value = registry.GetValue(kHkeyLocalMachine, path, name);
        out << name << ":" << value->type << "=" << std::string(value->data.begin(), value->data.end())
            << "\n";
    }
    for (const std::string& sub : registry.SubkeyNames(kHkeyLocalMachine, path))
        Dump(registry, path.empty() ? sub : path + "\\" + sub, out);
}

// The whole machine: the registry and every INI file.
std::string Snapshot(const testing::SetupWorld& w) {
    std::ostringstream out;
    Dump(w.registry, "", out);
    for (const auto& [file, text] : w.ini.Files()) out << "<" << file << ">\n" << text << "\n";
    return out.str();
}

std::string EntryDump(const FakeRegistry& registry, const std::string& entry) {
    std::ostringstream out;
    Dump(registry, Path(entry), out);
    return out.str();
}

enum class Kind { Original, Complete, Building, Foreign };

// How an entry stands against the machine's entries before the run.
Kind KindOf(const testing::SetupWorld& w, const std::string& entry,
            const std::map<std::string, std::string>& before) {
    const auto was = before.find(entry);
    if (was != before.end() && was->second == EntryDump(w.registry, entry)) return Kind::Original;
    if (!w.registry.SubkeyNames(kHkeyLocalMachine, Path(entry)).empty()) return Kind::Foreign;
    std::size_t touch = 0;
    for (const std::string& name : w.registry.ValueNames(kHkeyLocalMachine, Path(entry))) {
        if (name == "ReplacesEntry") continue;  // the staging copy's record
        const auto wanted = kTouchValues.find(name);
        if (wanted == kTouchValues.end() || w.Entry(entry, name) != wanted->second) return Kind::Foreign;
        ++touch;
    }
    return touch == kTouchValues.size() ? Kind::Complete : Kind::Building;
}

std::map<std::string, std::string> Entries(const testing::SetupWorld& w) {
    std::map<std::string, std::string> entries;
    for (const std::string& name : w.registry.SubkeyNames(kHkeyLocalMachine, kClass))
        entries[name] = EntryDump(w.registry, name);
    return entries;
}

std::map<std::string, std::string> Bindings(const testing::SetupWorld& w) {
    std::map<std::string, std::string> bound;  // device key -> entry it names, "" for none
    for (const std::string& id : w.registry.SubkeyNames(kHkeyLocalMachine, "Enum\\BIOS"))
        for (const std::string& device : w.registry.SubkeyNames(kHkeyLocalMachine, "Enum\\BIOS\\" + id)) {
            const auto driver = w.registry.GetValue(kHkeyLocalMachine, "Enum\\BIOS\\" + id + "\\" + device, "Driver");
            std::string name = driver ? std::string(driver->data.begin(), driver->data.end() - 1) : "";
            bound[id + "\\" + device] = name.rfind("Mouse\\", 0) == 0 ? name.substr(6) : "";
        }
    return bound;
}

// What a stop of the installer may leave: every entry is the machine's own
// as it was, the touch driver's complete entry, or one being built; every
// device still bound names a complete entry; and once the devices are gone
// (to be detected again) a complete touch driver's entry is there. An entry
// being built always has a complete one beside it.
std::string InstallStopFault(const testing::SetupWorld& w, const std::map<std::string, std::string>& before) {
    bool complete = false, building = false, originalLoads = false;
    for (const auto& [name, dump] : Entries(w)) {
        switch (KindOf(w, name, before)) {
        case Kind::Foreign:
            return "entry " + name + " is neither as it was nor the touch driver's";
        case Kind::Complete:
            complete = true;
            break;
        case Kind::Building:
            building = true;
            break;
        case Kind::Original:
            originalLoads = originalLoads || w.Entry(name, "MouseType") != "<none>";
            break;
        }
    }
    const auto bound = Bindings(w);
    for (const auto& [device, entry] : bound) {
        if (entry.empty()) continue;
        if (!w.EntryExists(entry)) return device + " is bound to the missing entry " + entry;
        const Kind kind = KindOf(w, entry, before);
        if (kind != Kind::Original && kind != Kind::Complete)
            return device + " is bound to the half-built entry " + entry;
    }
    if (bound.empty() && !complete) return "the devices are gone but no complete driver entry is there";
    if (building && !complete && !originalLoads) return "an entry is being built beside no complete one";
    return "";
}

// What a stop of the uninstaller may leave: entries are as installed or
// gone, never half deleted; and a touch driver's entry never outlives the
// devices bound to it (detected again, they would be given a driver whose
// files are already gone).
std::string RemoveStopFault(const testing::SetupWorld& w, const std::map<std::string, std::string>& before) {
    bool touch = false;
    for (const auto& [name, dump] : Entries(w)) {
        if (KindOf(w, name, before) != Kind::Original) return "entry " + name + " was changed, not deleted";
        touch = touch || w.Entry(name, "MouseDriver") == "KVTOUCH.VXD";
    }
    if (touch && Bindings(w).empty()) return "the devices went before the touch driver's entry";
    return "";
}

struct Machine : testing::SetupWorld {
    explicit Machine(const Layout& layout) {
        for (const ClassEntry& e : layout.entries) {
            AddEntry(e.name, e.mouseType);
            registry.SetString(kHkeyLocalMachine, Path(e.name), "DriverDesc", std::string("Mouse ") + e.mouseType);
        }
        for (const Binding& b : layout.devices) BindDevice(b.id, b.driver);
        AddSetupIni("VirtualButton=2\r\nFeedbackTone=1000\r\n");
        const std::string oem = std::string(kInstall) + "\\setup.oem";
        process.AddFile(oem);
        ini.SetFile(oem, "[SETUP]\r\nTITLE=Acme\r\n");
        ini.SetFile(testing::kInf, "[Version]\r\nClass=Mouse\r\n");
        for (const char* file : {"KVPANEL.exe", "KVREMOVE.exe", "unins000.exe"})
            process.AddFile(std::string(kInstall) + "\\" + file);
    }

    void BindDevice(const char* id, const char* driver) {
        const std::string key = std::string("Enum\\BIOS\\") + id + "\\0C";
        registry.SetString(kHkeyLocalMachine, key, "Class", "Mouse");
        if (driver) registry.SetString(kHkeyLocalMachine, key, "Driver", driver);
    }

    // The installer, its registry and INI files reached through `stop`.
    void Install(StoppingPorts& stop) {
        ui::Headless().Reset();
        SetupProgram program(SetupPorts{stop, stop, stop, process, desktop, restart});
        program.Run();
    }

    // The uninstaller answered Yes. The remover deletes the package's files,
    // itself among them, as the package's own does; once they are gone a
    // second run finds no remover to start.
    void Remove(StoppingPorts& stop) {
        ui::Headless().Reset();
        FakeDevice device;
        FakeProcessWait wait;
        FakeClock clock;
        const std::string remover = std::string(kInstall) + "\\unins000.exe";
        if (!process.FileExists(remover)) wait.startPid = 0;
        wait.waitResults = {kWaitObject0};
        wait.onWait = [&] {
            for (const char* file : {"KVPANEL.exe", "KVREMOVE.exe", "unins000.exe"})
                process.RemoveFile(std::string(kInstall) + "\\" + file);
        };
        RemovalWindow window(RemovePorts{SetupPorts{stop, stop, stop, process, desktop, restart}, device,
                                         wait, clock});
        // Stopped after the product key went, a rerun has nothing to ask.
        if (!window.Start()) return;
        window.Form().Ctl("cmdYes").UserClick();
    }

    // Runs `run` stopped after change `stopAfter` (0: never); true when it was stopped.
    template <typename Run>
    bool RunStoppedAfter(int stopAfter, Run run, int* changes = nullptr, bool cutWriteShort = false) {
        StoppingPorts stop(registry, tree, ini);
        stop.stopAfter = stopAfter;
        stop.cutWriteShort = cutWriteShort;
        bool stopped = false;
        try {
            run(stop);
        } catch (const RunStopped&) {
            stopped = true;
        }
        if (changes) *changes = stop.changes;
        return stopped;
    }
};

const auto kInstallRun = [](Machine& m, StoppingPorts& stop) { m.Install(stop); };

TEST(CrashPoints, TheInstallerStoppedAfterAnyChangeKeepsADriverAndARerunFinishesTheSame) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.what);
        Machine once(layout);
        int changes = 0;
        ASSERT_FALSE(once.RunStoppedAfter(0, [&](StoppingPorts& s) { kInstallRun(once, s); }, &changes));
        const std::string finished = Snapshot(once);
        ASSERT_GT(changes, 20);
        std::cout << "[ install ] " << layout.what << ": " << changes << " changes\n";

        for (int k = 1; k <= changes; ++k)
            for (bool cut : {false, true}) {
            SCOPED_TRACE("stopped after change " + std::to_string(k) + (cut ? ", an INF write cut short" : ""));
            Machine m(layout);
            const auto before = Entries(m);
            ASSERT_TRUE(m.RunStoppedAfter(k, [&](StoppingPorts& s) { kInstallRun(m, s); }, nullptr, cut));
            EXPECT_EQ(InstallStopFault(m, before), "");
            // Stopped again at the same change, and then run through.
            if (m.RunStoppedAfter(k, [&](StoppingPorts& s) { kInstallRun(m, s); })) {
                EXPECT_EQ(InstallStopFault(m, before), "") << "the rerun";
            }
            ASSERT_FALSE(m.RunStoppedAfter(0, [&](StoppingPorts& s) { kInstallRun(m, s); }));
            EXPECT_EQ(Snapshot(m), finished);
            }
    }
}

// The mouse class and the devices, what the uninstaller undoes.
std::string MouseConfiguration(const testing::SetupWorld& w) {
    std::ostringstream out;
    Dump(w.registry, kClass, out);
    Dump(w.registry, "Enum\\BIOS", out);
    return out.str();
}

TEST(CrashPoints, AnInstallerStoppedAnywhereIsUndoneByTheUninstaller) {
    const auto remove = [](Machine& m) {
        ASSERT_FALSE(m.RunStoppedAfter(0, [&](StoppingPorts& s) { m.Remove(s); }));
    };
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.what);
        Machine once(layout);
        int changes = 0;
        ASSERT_FALSE(once.RunStoppedAfter(0, [&](StoppingPorts& s) { kInstallRun(once, s); }, &changes));
        remove(once);
        const std::string undone = MouseConfiguration(once);
        for (int k = 1; k <= changes; ++k) {
            SCOPED_TRACE("stopped after change " + std::to_string(k));
            Machine m(layout);
            ASSERT_TRUE(m.RunStoppedAfter(k, [&](StoppingPorts& s) { kInstallRun(m, s); }));
            remove(m);
            EXPECT_EQ(MouseConfiguration(m), undone);
        }
    }
}

TEST(CrashPoints, TheUninstallerStoppedAfterAnyChangeLeavesNoHalfEntryAndARerunFinishesTheSame) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.what);
        // Installed, restarted: Windows has detected the device again and
        // bound it to the touch driver's entry, and added a standard entry
        // for a second PS/2 device; a stopped installation left its copy.
        auto installed = [&](Machine& m) {
            ASSERT_FALSE(m.RunStoppedAfter(0, [&](StoppingPorts& s) { kInstallRun(m, s); }));
            const MouseClassScan scan = ScanMouseClass(m.registry);
            ASSERT_FALSE(scan.ps2.empty());
            m.BindDevice("*PNP0F13", ("Mouse\\" + scan.ps2.front()).c_str());
            m.AddEntry(scan.firstUnused, "ps2");
            m.registry.SetString(kHkeyLocalMachine, Path(kStagingEntry), "MouseType", "PS2");
        };
        Machine once(layout);
        installed(once);
        int changes = 0;
        ASSERT_FALSE(once.RunStoppedAfter(0, [&](StoppingPorts& s) { once.Remove(s); }, &changes));
        const std::string finished = Snapshot(once);
        EXPECT_FALSE(once.EntryExists(kStagingEntry));
        ASSERT_GE(changes, 3);
        std::cout << "[ remove  ] " << layout.what << ": " << changes << " changes\n";

        for (int k = 1; k <= changes; ++k) {
            SCOPED_TRACE("stopped after change " + std::to_string(k));
            Machine m(layout);
            installed(m);
            const auto before = Entries(m);
            ASSERT_TRUE(m.RunStoppedAfter(k, [&](StoppingPorts& s) { m.Remove(s); }));
            EXPECT_EQ(RemoveStopFault(m, before), "");
            m.desktop.messageBoxes.clear();
            ASSERT_FALSE(m.RunStoppedAfter(0, [&](StoppingPorts& s) { m.Remove(s); }));
            EXPECT_EQ(Snapshot(m), finished);
            EXPECT_EQ(m.BoxTexts().size(), 1u) << "the rerun goes through to the final box";
        }
    }
}

}  // namespace
}  // namespace kv
