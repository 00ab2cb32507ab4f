// The shared registry operations against the in-memory registry: what they
// open, what they read out of odd stored data, and that a failure leaves
// the caller's variables alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/registry/registry_store.h"
#include "tests/fakes/fake_registry.h"

namespace kv {
namespace {

using Call = FakeRegistry::Call;

const char* const kPath = "SOFTWARE\\Halvane\\TouchScreen";

std::vector<std::uint8_t> Bytes(const std::string& raw) { return {raw.begin(), raw.end()}; }

TEST(OpenKey, RemovesALeadingBackslashFromTheCallersSubkeyInPlace) {
    FakeRegistry registry;
    std::string subkey = "\\KV-PS2";
    RegKey key = 0;
    ASSERT_TRUE(OpenKey(registry, kHkeyLocalMachine, kPath, subkey, key));
    EXPECT_EQ(subkey, "KV-PS2");
    EXPECT_NE(key, 0u);
    EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2"));
    // Only the first backslash goes; the platform skips the doubled one.
    std::string twice = "\\\\X";
    RegKey other = 0;
    ASSERT_TRUE(OpenKey(registry, kHkeyLocalMachine, kPath, twice, other));
    EXPECT_EQ(twice, "\\X");
    EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Halvane\\TouchScreen\\X"));
    EXPECT_TRUE(CloseKey(registry, other));
    EXPECT_TRUE(CloseKey(registry, key));
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(OpenKey, AnEmptyPathFailsWithoutTouchingTheRegistryOrTheSubkey) {
    FakeRegistry registry;
    std::string subkey = "\\KV-PS2";
    RegKey key = 77;
    EXPECT_FALSE(OpenKey(registry, kHkeyLocalMachine, "", subkey, key));
    EXPECT_EQ(registry.TotalCalls(), 0);
    EXPECT_EQ(key, 77u);
    EXPECT_EQ(subkey, "\\KV-PS2");
}

TEST(OpenKey, AnEmptySubkeyOpensThePathAlone) {
    FakeRegistry registry;
    for (std::string subkey : {"", "\\"}) {
        RegKey key = 0;
        ASSERT_TRUE(OpenKey(registry, kHkeyCurrentUser, "Control Panel\\Mouse", subkey, key));
        EXPECT_EQ(subkey, "");
        EXPECT_TRUE(CloseKey(registry, key));
    }
    EXPECT_EQ(registry.SubkeyNames(kHkeyCurrentUser, "Control Panel\\Mouse").size(), 0u);
    EXPECT_TRUE(registry.KeyExists(kHkeyCurrentUser, "Control Panel\\Mouse"));
}

TEST(OpenKey, OpeningAMissingKeyCreatesItEmptyAndItsReadsFail) {
    FakeRegistry registry;
    std::string subkey = "KV-PS2";
    RegKey key = 0;
    ASSERT_TRUE(OpenKey(registry, kHkeyLocalMachine, kPath, subkey, key));
    EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, std::string(kPath) + "\\kv-ps2"));
    std::string text = "kept";
    std::int32_t number = 42;
    EXPECT_FALSE(ReadStringValue(registry, key, "VenderName", text));
    EXPECT_FALSE(ReadDwordValue(registry, key, "CalibrationMode", number));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(number, 42);
    EXPECT_TRUE(CloseKey(registry, key));
}

TEST(OpenKey, APlatformFailureLeavesTheHandleVariableAlone) {
    FakeRegistry registry;
    registry.FailNext(Call::CreateKey, FakeRegistry::kErrorAccessDenied);
    std::string subkey = "KV-PS2";
    RegKey key = 77;
    EXPECT_FALSE(OpenKey(registry, kHkeyLocalMachine, kPath, subkey, key));
    EXPECT_EQ(key, 77u);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(CloseKey, FailsForAHandleThatIsNotOpen) {
    FakeRegistry registry;
    std::string subkey;
    RegKey key = 0;
    ASSERT_TRUE(OpenKey(registry, kHkeyLocalMachine, kPath, subkey, key));
    EXPECT_TRUE(CloseKey(registry, key));
    EXPECT_FALSE(CloseKey(registry, key));
}

// A key under HKLM with one value set raw, opened for the read.
class StoredValue : public ::testing::Test {
protected:
    RegKey Open() {
        std::string subkey = "KV-PS2";
        RegKey key = 0;
        EXPECT_TRUE(OpenKey(registry, kHkeyLocalMachine, kPath, subkey, key));
        return key;
    }
    void Store(std::uint32_t type, std::vector<std::uint8_t> data) {
        registry.SetValue(kHkeyLocalMachine, std::string(kPath) + "\\KV-PS2", "Value", type,
                          std::move(data));
    }
    void TearDown() override { EXPECT_EQ(registry.OpenHandleCount(), 0u); }
    FakeRegistry registry;
};

struct StringCase {
    const char* what;
    std::uint32_t type;
    std::string raw;
    bool ok;
    std::string text;
};

TEST_F(StoredValue, ReadStringValueCutsAtTheFirstNulAndNeverReadsPastTheData) {
    using namespace std::string_literals;
    const StringCase cases[] = {
        {"terminated", kRegSz, "C:\\Program Files\\TouchScreen\0"s, true,
         "C:\\Program Files\\TouchScreen"},
        {"embedded NUL", kRegSz, "abc\0more text\0"s, true, "abc"},
        {"no terminating NUL", kRegSz, "abc"s, true, "abc"},
        {"odd size, no NUL", kRegSz, "abcde"s, true, "abcde"},
        {"one character", kRegSz, "x"s, true, "x"},
        {"zero size", kRegSz, ""s, true, ""},
        {"only a NUL", kRegSz, "\0"s, true, ""},
        {"NUL first", kRegSz, "\0abc"s, true, ""},
        {"blanks kept", kRegSz, "  a b  \0"s, true, "  a b  "},
        {"a number", kRegDword, "\x01\x00\x00\x00"s, false, ""},
        {"binary", kRegBinary, "abc\0"s, false, ""},
        {"expandable text", 2, "abc\0"s, false, ""},
    };
    for (const auto& c : cases) {
        Store(c.type, Bytes(c.raw));
        RegKey key = Open();
        std::string text = "untouched";
        EXPECT_EQ(ReadStringValue(registry, key, "Value", text), c.ok) << c.what;
        EXPECT_EQ(text, c.ok ? c.text : "untouched") << c.what;
        CloseKey(registry, key);
    }
}

TEST_F(StoredValue, ReadStringValueAsksTwiceFirstWithoutABuffer) {
    Store(kRegSz, Bytes(std::string("abc", 4)));
    RegKey key = Open();
    std::string text;
    ASSERT_TRUE(ReadStringValue(registry, key, "Value", text));
    EXPECT_EQ(registry.CallCount(Call::QueryValue), 2);
    CloseKey(registry, key);
}

TEST_F(StoredValue, ReadStringValueCopesWithAValueRewrittenBetweenItsTwoQueries) {
    using namespace std::string_literals;
    const StringCase cases[] = {
        {"grown", kRegSz, "a much longer text\0"s, false, ""},
        {"now a number", kRegDword, "\x01\0\0\0"s, false, ""},
        {"shrunk", kRegSz, "xy"s, true, "xy"},  // only the bytes returned count
    };
    for (const auto& c : cases) {
        Store(kRegSz, Bytes("abcdefgh"));
        RegKey key = Open();
        const int before = registry.CallCount(Call::QueryValue);
        registry.beforeCall = [&](Call call, int count) {
            if (call == Call::QueryValue && count == before + 2) Store(c.type, Bytes(c.raw));
        };
        std::string text = "untouched";
        EXPECT_EQ(ReadStringValue(registry, key, "Value", text), c.ok) << c.what;
        EXPECT_EQ(text, c.ok ? c.text : "untouched") << c.what;
        registry.beforeCall = nullptr;
        CloseKey(registry, key);
    }
}

TEST_F(StoredValue, ReadStringValueRefusesAValueClaimingAHugeSize) {
    Store(kRegSz, std::vector<std::uint8_t>((1u << 20) + 1, 'a'));
    RegKey key = Open();
    std::string text = "untouched";
    EXPECT_FALSE(ReadStringValue(registry, key, "Value", text));
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(registry.CallCount(Call::QueryValue), 1);
    CloseKey(registry, key);
}

TEST_F(StoredValue, AFailingQueryLeavesTheTextAlone) {
    Store(kRegSz, Bytes(std::string("abc", 4)));
    for (int failing : {1, 2}) {
        RegKey key = Open();
        const int before = registry.CallCount(Call::QueryValue);
        registry.beforeCall = [&](Call call, int count) {
            if (call == Call::QueryValue && count == before + failing)
                registry.FailNext(Call::QueryValue, FakeRegistry::kErrorAccessDenied);
        };
        std::string text = "untouched";
        EXPECT_FALSE(ReadStringValue(registry, key, "Value", text)) << "query " << failing;
        EXPECT_EQ(text, "untouched");
        registry.beforeCall = nullptr;
        CloseKey(registry, key);
    }
}

struct DwordCase {
    const char* what;
    std::uint32_t type;
    std::vector<std::uint8_t> raw;
    bool ok;
    std::int32_t value;
};

TEST_F(StoredValue, ReadDwordValueTakesOnlyAFourByteNumber) {
    const DwordCase cases[] = {
        {"one", kRegDword, {1, 0, 0, 0}, true, 1},
        {"little-endian", kRegDword, {0x78, 0x56, 0x34, 0x12}, true, 0x12345678},
        {"minus one", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, true, -1},
        {"text", kRegSz, {'1', 0}, false, 0},
        {"four bytes of text", kRegSz, {'1', '2', '3', 0}, false, 0},
        {"binary", kRegBinary, {1, 0, 0, 0}, false, 0},
        {"short number", kRegDword, {5, 0}, false, 0},
        {"empty number", kRegDword, {}, false, 0},
        {"long number", kRegDword, {1, 0, 0, 0, 0, 0, 0, 0}, false, 0},
    };
    for (const auto& c : cases) {
        Store(c.type, c.raw);
        RegKey key = Open();
        std::int32_t value = 4242;
        EXPECT_EQ(ReadDwordValue(registry, key, "Value", value), c.ok) << c.what;
        EXPECT_EQ(value, c.ok ? c.value : 4242) << c.what;
        CloseKey(registry, key);
    }
}

TEST_F(StoredValue, SetDwordValueWritesFourLittleEndianBytesAsADword) {
    RegKey key = Open();
    ASSERT_TRUE(SetDwordValue(registry, key, "CalibrationMode", -2));
    const auto stored =
        registry.GetValue(kHkeyLocalMachine, std::string(kPath) + "\\KV-PS2", "CalibrationMode");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, kRegDword);
    EXPECT_EQ(stored->data, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    std::int32_t back = 0;
    EXPECT_TRUE(ReadDwordValue(registry, key, "calibrationmode", back));
    EXPECT_EQ(back, -2);

    registry.FailNext(Call::SetValue, FakeRegistry::kErrorAccessDenied);
    EXPECT_FALSE(SetDwordValue(registry, key, "CalibrationMode", 1));
    EXPECT_TRUE(ReadDwordValue(registry, key, "CalibrationMode", back));
    EXPECT_EQ(back, -2);
    CloseKey(registry, key);
}

TEST(TrimAtNul, KeepsWhatComesBeforeTheFirstNul) {
    using namespace std::string_literals;
    EXPECT_EQ(TrimAtNul("abc"), "abc");
    EXPECT_EQ(TrimAtNul("abc\0def"s), "abc");
    EXPECT_EQ(TrimAtNul("abc\0\0"s), "abc");
    EXPECT_EQ(TrimAtNul("\0abc"s), "");
    EXPECT_EQ(TrimAtNul(""), "");
}

}  // namespace
}  // namespace kv
