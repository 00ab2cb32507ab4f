// Reading "setup.ini" values: the leading number as the installer reads
// it, the range answers, and bad files that must never crash the read.
#include <gtest/gtest.h>

#include <string>

#include "setup/setupcommon/ini_strings.h"
#include "setup/setupcommon/setup_value.h"
#include "tests/fakes/fake_ini.h"

namespace kv {
namespace {

struct ValueCase {
    const char* text;
    int min, max;
    int expected;
};

TEST(SetupValue, LeadingNumberRoundedAndCheckedAgainstTheRange) {
    const ValueCase cases[] = {
        {"", 0, 1, -1},
        {"2.5", 1, 4, 2},            // halves go to the even neighbour
        {"3.5", 1, 4, 4},
        {"1.5", 0, 9, 2},
        {"0.5", 0, 1, 0},
        {"abc", 1, 4, -2},           // no number reads as 0
        {"4abc", 1, 4, 4},           // reading stops at the first letter
        {" 2", 1, 4, 2},
        {"1 000", 200, 5000, 1000},  // blanks inside a number are skipped
        {"&HFF", 0, 255, 255},
        {"&h1f4", 200, 5000, 500},
        {"&O17", 0, 20, 15},
        {"&O19", 0, 20, 1},          // 9 is no octal digit
        {"&X10", 0, 20, 0},
        {"-1", 0, 1, -2},
        {"+3", 1, 4, 3},
        {"2e2", 200, 5000, 200},
        {"1D3", 200, 5000, 1000},
        {"1E", 0, 9, 1},
        {"199", 200, 5000, -2},
        {"200", 200, 5000, 200},
        {"5000", 200, 5000, 5000},
        {"5001", 200, 5000, -3},
        {"99999999999", 0, 64, -3},  // too large for 32 bits: above the range, no overflow
        {"1E30", 100, 900, -3},
        {"-1E30", 0, 1, -2},
        {"1E99999999999999", 0, 1, -3},
        {"&HFFFFFFFFFFFFFFFFFFFF", 0, 7, -3},
        {"-0.4", 0, 1, 0},
        {".", 0, 1, 0},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(SetupValueOf(c.text, c.min, c.max), c.expected) << '"' << c.text << '"';
}

constexpr const char* kIni = "C:\\Program Files\\TouchScreen\\setup.ini";

struct FileCase {
    const char* name;
    bool present;
    std::string text;
    int expected;  // VirtualButton, 1..4
};

TEST(SetupValue, ReadFromFilesOfEveryShape) {
    const std::string longNumber = "2" + std::string(300, '0');
    const FileCase cases[] = {
        {"plain", true, "[Settings]\r\nVirtualButton=3\r\n", 3},
        {"missing file", false, "", -1},
        {"missing section", true, "[Other]\r\nVirtualButton=3\r\n", -1},
        {"empty value", true, "[Settings]\r\nVirtualButton=\r\n", -1},
        {"text", true, "[Settings]\r\nVirtualButton=two\r\n", -2},
        {"longer than the buffer", true, "[Settings]\r\nVirtualButton=" + longNumber + "\r\n", -3},
        {"not text", true, std::string("\x00\xFF\xFE[Settings]\x00VirtualButton=\x01\x02", 30), -1},
        {"NUL inside the value", true, std::string("[Settings]\nVirtualButton=1\x00" "9\n", 29), 1},
    };
    for (const FileCase& c : cases) {
        FakeIni ini;
        if (c.present) ini.SetFile(kIni, c.text);
        EXPECT_EQ(ReadSetupValue(ini, "C:\\Program Files\\TouchScreen", "VirtualButton", 1, 4),
                  c.expected)
            << c.name;
    }
}

TEST(IniString, CutAtTheBufferAtNulAndAtTrailingBlanks) {
    FakeIni ini;
    ini.SetFile("a.ini", "[S]\nLong=" + std::string(300, 'x') + "\nNul=" + std::string("ab\0cd", 5) +
                             "\nTrail=\"text   \"\nInner=a b\n");
    EXPECT_EQ(ReadIniString(ini, "a.ini", "S", "Long"), std::string(254, 'x'));
    EXPECT_EQ(ReadIniString(ini, "a.ini", "S", "Nul"), "ab");
    EXPECT_EQ(ReadIniString(ini, "a.ini", "S", "Trail"), "text");
    EXPECT_EQ(ReadIniString(ini, "a.ini", "S", "Inner"), "a b");
    EXPECT_EQ(ReadIniString(ini, "a.ini", "S", "Missing"), "");
}

}  // namespace
}  // namespace kv
