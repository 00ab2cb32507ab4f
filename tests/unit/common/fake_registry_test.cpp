// The in-memory registry answers as Wine's registry did when measured
// (leading "\" refused with 161, doubled "\" skipped, 234 with the size
// needed, 5 for a key with subkeys): the other tests rely on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/fake_registry.h"

namespace kv {
namespace {

using Call = FakeRegistry::Call;

TEST(FakeRegistry, CreateMakesMissingKeysOpenDoesNot) {
    FakeRegistry registry;
    RegKey key = 0;
    EXPECT_EQ(registry.RegOpenKeyA(kHkeyLocalMachine, "Software\\A\\B", &key), kErrorFileNotFound);
    EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "Software"));
    ASSERT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, "Software\\A\\B", &key), kErrorSuccess);
    EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\a\\b"));
    RegKey again = 0;
    ASSERT_EQ(registry.RegOpenKeyA(kHkeyLocalMachine, "software\\A\\B\\", &again), kErrorSuccess);
    EXPECT_NE(again, key);
    EXPECT_EQ(registry.OpenHandleCount(), 2u);
    EXPECT_EQ(registry.RegCloseKey(key), kErrorSuccess);
    EXPECT_EQ(registry.RegCloseKey(again), kErrorSuccess);
    EXPECT_EQ(registry.RegCloseKey(again), FakeRegistry::kErrorInvalidHandle);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(FakeRegistry, PathsAreCheckedAsThePlatformDoes) {
    FakeRegistry registry;
    RegKey key = 0;
    EXPECT_EQ(registry.RegCreateKeyA(kHkeyCurrentUser, "\\Software", &key),
              FakeRegistry::kErrorBadPathname);
    EXPECT_EQ(registry.RegCreateKeyA(kHkeyCurrentUser, "Software\\\\X", &key), kErrorSuccess);
    EXPECT_EQ(registry.SubkeyNames(kHkeyCurrentUser, "Software"), std::vector<std::string>{"X"});
    registry.RegCloseKey(key);
    // An empty path: open hands back the same handle, create a new one.
    RegKey same = 0;
    EXPECT_EQ(registry.RegOpenKeyA(kHkeyCurrentUser, "", &same), kErrorSuccess);
    EXPECT_EQ(same, kHkeyCurrentUser);
    EXPECT_EQ(registry.RegCreateKeyA(kHkeyCurrentUser, "", &key), kErrorSuccess);
    EXPECT_NE(key, kHkeyCurrentUser);
    registry.RegCloseKey(key);
    EXPECT_EQ(registry.RegOpenKeyA(0x1234, "Software", &key), FakeRegistry::kErrorInvalidHandle);
}

TEST(FakeRegistry, QueryReportsSizeFirstAndRefusesASmallBuffer) {
    FakeRegistry registry;
    registry.SetString(kHkeyLocalMachine, "K", "Name", "abc");
    RegKey key = 0;
    ASSERT_EQ(registry.RegOpenKeyA(kHkeyLocalMachine, "k", &key), kErrorSuccess);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(registry.RegQueryValueExA(key, "NAME", &type, nullptr, &size), kErrorSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 4u);
    std::uint8_t buffer[8] = {'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z', 'Z'};
    size = 3;
    EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, buffer, &size), kErrorMoreData);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buffer[0], 'Z');
    size = sizeof buffer;
    EXPECT_EQ(registry.RegQueryValueExA(key, "Name", &type, buffer, &size), kErrorSuccess);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), std::string("abc", 4));
    EXPECT_EQ(buffer[4], 'Z');
    EXPECT_EQ(registry.RegQueryValueExA(key, "Other", &type, nullptr, &size), kErrorFileNotFound);
    registry.RegCloseKey(key);
}

TEST(FakeRegistry, DeleteRefusesKeysWithSubkeysAndOldHandlesSeeTheKeyGone) {
    FakeRegistry registry;
    registry.CreateKey(kHkeyLocalMachine, "A\\B");
    EXPECT_EQ(registry.RegDeleteKeyA(kHkeyLocalMachine, "A"), FakeRegistry::kErrorAccessDenied);
    RegKey b = 0;
    ASSERT_EQ(registry.RegOpenKeyA(kHkeyLocalMachine, "A\\B", &b), kErrorSuccess);
    EXPECT_EQ(registry.RegDeleteKeyA(kHkeyLocalMachine, "a\\b"), kErrorSuccess);
    EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "A\\B"));
    const std::uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(registry.RegSetValueExA(b, "V", kRegDword, one, 4), FakeRegistry::kErrorKeyDeleted);
    EXPECT_EQ(registry.RegCloseKey(b), kErrorSuccess);
    EXPECT_EQ(registry.RegDeleteKeyA(kHkeyLocalMachine, "A\\B"), kErrorFileNotFound);
    EXPECT_EQ(registry.RegDeleteKeyA(kHkeyLocalMachine, "A"), kErrorSuccess);
}

TEST(FakeRegistry, AnInjectedFailureHitsOnlyTheNextCallOfItsKind) {
    FakeRegistry registry;
    registry.FailNext(Call::CreateKey, 5);
    RegKey key = 0;
    EXPECT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, "K", &key), 5);
    EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "K"));
    EXPECT_EQ(registry.RegCreateKeyA(kHkeyLocalMachine, "K", &key), kErrorSuccess);
    const std::uint8_t bin[2] = {0xAB, 0xCD};
    EXPECT_EQ(registry.RegSetValueExA(key, "Bytes", kRegBinary, bin, 2), kErrorSuccess);
    const auto stored = registry.GetValue(kHkeyLocalMachine, "k", "bytes");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, kRegBinary);
    EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0xAB, 0xCD}));
    EXPECT_EQ(registry.CallCount(Call::CreateKey), 2);
    EXPECT_EQ(registry.CallCount(Call::SetValue), 1);
    registry.RegCloseKey(key);
}

}  // namespace
}  // namespace kv
