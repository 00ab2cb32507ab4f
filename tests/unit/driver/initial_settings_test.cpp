// Initial settings from the product key: well-formed values become the
// driver's settings; a value of the wrong type or length, or with any byte
// out of range, is ignored as a whole.
#include "tests/unit/driver/driver_test_support.h"

namespace kvtest {
namespace {

constexpr std::uint32_t kBinary = KVD_REG_BINARY;
constexpr std::uint32_t kDword = 4;
constexpr std::uint32_t kString = 1;

using InitialSettings = DriverTest;

TEST_F(InitialSettings, WellFormedValuesBecomeTheDriversSettings) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
        std::vector<std::pair<int, int>> expected;  // offset in TouchParams, byte
    };
    const Case cases[] = {
        {"VirtualButton", {3}, {{40, 3}}},
        {"RightButtonFunction", {1}, {{53, 1}}},
        {"RightButtonAutomatic", {1, 2, 4, 1}, {{54, 1}, {55, 2}, {56, 4}, {57, 1}}},
        {"FeedbackSound", {4}, {{41, 4}}},
        {"FeedbackTone", {0xE8, 0x03}, {{42, 0xE8}, {43, 0x03}}},
        {"FeedbackTone", {0xC8, 0x00}, {{42, 200}, {43, 0}}},
        {"FeedbackTone", {0x88, 0x13}, {{42, 0x88}, {43, 0x13}}},
        {"FeedbackDuration", {50, 0}, {{44, 50}, {45, 0}}},
        {"MouseSpeed", {0x14, 0x0A, 0x02, 0x00}, {{48, 20}, {49, 10}, {50, 2}, {47, 0}}},
        {"MouseSpeed", {1, 1, 4, 1}, {{48, 1}, {49, 1}, {50, 4}, {47, 1}}},
        {"PanelDirection", {7}, {{70, 7}}},
        {"panelDIRECTION", {5}, {{70, 5}}},  // registry names ignore case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        kvd_init(&d(), now);
        TouchParams before = d().params;
        EXPECT_EQ(kvd_apply_setting(&d(), now, c.name, kBinary, c.data.data(),
                                    static_cast<std::uint32_t>(c.data.size())),
                  1);
        auto expected = Bytes(&before, 82);
        for (auto [offset, value] : c.expected) expected[offset] = static_cast<std::uint8_t>(value);
        EXPECT_EQ(Bytes(&d().params, 82), expected);
        auto log = Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].Kind, static_cast<std::uint32_t>(KVSIM_LOG_INITIAL_SETTING));
        EXPECT_EQ(log[0].Args[0], 1);
    }
}

TEST_F(InitialSettings, MalformedValuesLeaveEverySettingAlone) {
    struct Case {
        const char* what;
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"a DWORD", "VirtualButton", kDword, {3, 0, 0, 0}},
        {"a string", "FeedbackSound", kString, {'3', 0}},
        {"too long", "VirtualButton", kBinary, {3, 0}},
        {"empty", "PanelDirection", kBinary, {}},
        {"three of four bytes", "MouseSpeed", kBinary, {10, 10, 2}},
        {"five bytes", "RightButtonAutomatic", kBinary, {1, 2, 4, 1, 0}},
        {"touch mode 0", "VirtualButton", kBinary, {0}},
        {"touch mode 5", "VirtualButton", kBinary, {5}},
        {"right button 2", "RightButtonFunction", kBinary, {2}},
        {"sound mode 0", "FeedbackSound", kBinary, {0}},
        {"tone 199", "FeedbackTone", kBinary, {0xC7, 0x00}},
        {"tone 5001", "FeedbackTone", kBinary, {0x89, 0x13}},
        {"tone big-endian 1000", "FeedbackTone", kBinary, {0x03, 0xE8}},
        {"duration 9", "FeedbackDuration", kBinary, {9, 0}},
        {"duration 51", "FeedbackDuration", kBinary, {51, 0}},
        {"speed 21", "MouseSpeed", kBinary, {21, 10, 2, 0}},
        {"vspeed 0", "MouseSpeed", kBinary, {10, 0, 2, 0}},
        {"acceleration 5", "MouseSpeed", kBinary, {10, 10, 5, 0}},
        {"bypass 2", "MouseSpeed", kBinary, {10, 10, 2, 2}},
        {"auto mode 2", "RightButtonAutomatic", kBinary, {2, 2, 4, 1}},
        {"start time 10", "RightButtonAutomatic", kBinary, {1, 10, 4, 1}},
        {"end time 10", "RightButtonAutomatic", kBinary, {1, 2, 10, 1}},
        {"beep 2", "RightButtonAutomatic", kBinary, {1, 2, 4, 2}},
        {"direction 8", "PanelDirection", kBinary, {8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        kvd_init(&d(), now);
        auto before = Bytes(&d().params, 82);
        EXPECT_EQ(kvd_apply_setting(&d(), now, c.name, c.type, c.data.empty() ? nullptr : c.data.data(),
                                    static_cast<std::uint32_t>(c.data.size())),
                  0);
        EXPECT_EQ(Bytes(&d().params, 82), before);
        auto log = Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].Args[0], 0) << "logged as refused";
    }
}

TEST_F(InitialSettings, AValueTooLongToReadIsRefusedWithoutItsData) {
    // The host passes no data when the value did not fit its buffer.
    EXPECT_EQ(kvd_apply_setting(&d(), now, "MouseSpeed", kBinary, nullptr, 4096), 0);
    EXPECT_EQ(kvd_apply_setting(&d(), now, "MouseSpeed", kBinary, nullptr, 4), 0);
}

TEST_F(InitialSettings, OtherNamesAreNotSettings) {
    std::uint8_t one = 1;
    EXPECT_EQ(kvd_apply_setting(&d(), now, "CalibrationMode", kBinary, &one, 1), -1);
    EXPECT_EQ(kvd_apply_setting(&d(), now, "VirtualButtons", kBinary, &one, 1), -1);
    EXPECT_EQ(kvd_apply_setting(&d(), now, nullptr, kBinary, &one, 1), -1);
    EXPECT_TRUE(Log().empty());
}

}  // namespace
}  // namespace kvtest
