// The installer's registry writes: byte lists and their lengths, the
// failure box, text values, and the restart request.
#include <gtest/gtest.h>

#include <vector>

#include "common/ports/desktop_port.h"
#include "setup/setupcommon/installer_registry.h"
#include "setup/setupcommon/restart.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_setup_ports.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr const char* kKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";

struct SaveCase {
    std::int32_t value;
    int size;
    const char* hexList;
    std::uint32_t type;
    Bytes bytes;
};

TEST(SaveSetupValue, HexListsAndTheBytesTheyGive) {
    const SaveCase cases[] = {
        {1, 1, "01", kRegBinary, {0x01}},
        {0x1FF, 1, "FF", kRegBinary, {0xFF}},
        {1000, 2, "E8,03", kRegBinary, {0xE8, 0x03}},
        {50, 2, "32,00", kRegBinary, {0x32, 0x00}},
        {0x01020401, 4, "01,02,04,01,", kRegBinary, {0x01, 0x02, 0x04, 0x01}},
        {0x140A0200, 4, "14,0A,02,00,", kRegBinary, {0x14, 0x0A, 0x02, 0x00}},
        {500, 0, "", kRegDword, {0xF4, 0x01, 0x00, 0x00}},
    };
    for (const SaveCase& c : cases) {
        FakeRegistry registry;
        FakeDesktop desktop;
        RegKey key = 0;
        ASSERT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, kKey, &key), 0);
        EXPECT_EQ(SetupHexList(c.value, c.size), c.hexList);
        SaveSetupValue(registry, desktop, "T", key, "V", c.value, c.size);
        const auto stored = registry.GetValue(kHkeyLocalMachine, kKey, "V");
        ASSERT_TRUE(stored) << c.value;
        EXPECT_EQ(stored->type, c.type) << c.value;
        EXPECT_EQ(stored->data, c.bytes) << c.value;
        EXPECT_TRUE(desktop.messageBoxes.empty());
    }
}

TEST(SaveSetupValue, OtherSizesWriteNothingAndAFailedWriteSaysWhich) {
    FakeRegistry registry;
    FakeDesktop desktop;
    RegKey key = 0;
    ASSERT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, kKey, &key), 0);
    SaveSetupValue(registry, desktop, "T", key, "Odd", 7, 3);
    EXPECT_FALSE(registry.GetValue(kHkeyLocalMachine, kKey, "Odd"));

    registry.FailNext(FakeRegistry::Call::SetValue, 5);
    SaveSetupValue(registry, desktop, "TouchScreen Driver Installation", key, "FeedbackTone", 1000, 2);
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, "Fail to save settings! (FeedbackTone)");
    EXPECT_EQ(desktop.messageBoxes[0].caption, "TouchScreen Driver Installation");
    EXPECT_EQ(desktop.messageBoxes[0].flags, kMbOk);
}

TEST(SetBinaryValue, ByteCountFollowsTheListLength) {
    const std::pair<const char*, Bytes> cases[] = {
        {"", {}},
        {"A", {0x0A}},
        {"AB,C", {0xAB, 0x0C}},
        {"AB,CD,EF", {0xAB, 0xCD, 0xEF}},
        {"zz,12", {0x00, 0x12}},
        {"01,02,03,04,", {0x01, 0x02, 0x03, 0x04}},
    };
    for (const auto& [list, bytes] : cases) {
        FakeRegistry registry;
        RegKey key = 0;
        ASSERT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, kKey, &key), 0);
        EXPECT_TRUE(SetBinaryValue(registry, key, "B", list));
        EXPECT_EQ(registry.GetValue(kHkeyLocalMachine, kKey, "B")->data, bytes) << list;
    }
}

TEST(SetStringValue, StoresTheTextWithOneNulAndRefusesNoKey) {
    FakeRegistry registry;
    RegKey key = 0;
    ASSERT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, kKey, &key), 0);
    EXPECT_TRUE(SetStringValue(registry, key, "S", "PS2"));
    EXPECT_EQ(registry.GetValue(kHkeyLocalMachine, kKey, "S")->data, (Bytes{'P', 'S', '2', 0}));
    const int calls = registry.TotalCalls();
    EXPECT_FALSE(SetStringValue(registry, 0, "S", "x"));
    EXPECT_EQ(registry.TotalCalls(), calls);
}

TEST(RestartWindows, AsksForARestartWithoutForceAndReportsARefusal) {
    FakeRestart restart;
    FakeDesktop desktop;
    EXPECT_TRUE(RestartWindows(restart, desktop, "T"));
    ASSERT_EQ(restart.calls.size(), 1u);
    EXPECT_EQ(restart.calls[0].flags, kEwxReboot);
    EXPECT_TRUE(desktop.messageBoxes.empty());

    restart.result = 0;
    EXPECT_FALSE(RestartWindows(restart, desktop, "T"));
    ASSERT_EQ(desktop.messageBoxes.size(), 1u);
    EXPECT_EQ(desktop.messageBoxes[0].text, "Fail to restart system! (ExitWindowsEx=0)");
}

}  // namespace
}  // namespace kv
