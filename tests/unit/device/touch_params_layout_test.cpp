// Every field of the driver records sits at its offset with its width:
// fill a block with a byte pattern and read each field back.
#include <gtest/gtest.h>

#include <cstring>

#include "common/device/kvtouch_protocol.h"

namespace {

std::uint8_t Pattern(std::size_t i) { return static_cast<std::uint8_t>(i * 7 + 3); }
std::uint16_t U16At(std::size_t i) { return static_cast<std::uint16_t>(Pattern(i) | Pattern(i + 1) << 8); }

TEST(TouchParamsLayout, EveryFieldReadsItsOwnBytesLittleEndian) {
    std::uint8_t raw[KV_TOUCH_PARAMS_SIZE];
    for (std::size_t i = 0; i < sizeof raw; ++i) raw[i] = Pattern(i);
    TouchParams p;
    static_assert(sizeof p == 82);
    std::memcpy(&p, raw, sizeof raw);

    EXPECT_EQ(p.Unused0[0], Pattern(0));
    EXPECT_EQ(p.Unused0[2], Pattern(2));
    EXPECT_EQ(p.DetectedPort, Pattern(3));
    for (int com = 0; com < 9; ++com) {
        EXPECT_EQ(p.ComPorts[com].BasePort, U16At(4 + 4 * com)) << com;
        EXPECT_EQ(p.ComPorts[com].Irq, U16At(6 + 4 * com)) << com;
    }
    EXPECT_EQ(p.TouchMode, Pattern(40));
    EXPECT_EQ(p.SoundMode, Pattern(41));
    EXPECT_EQ(static_cast<std::uint16_t>(p.SoundTone), U16At(42));
    EXPECT_EQ(static_cast<std::uint16_t>(p.SoundDuration), U16At(44));
    EXPECT_EQ(p.Sensitivity, Pattern(46));
    EXPECT_EQ(p.Bypass, Pattern(47));
    EXPECT_EQ(p.MouseHSpeed, Pattern(48));
    EXPECT_EQ(p.MouseVSpeed, Pattern(49));
    EXPECT_EQ(p.Acceleration, Pattern(50));
    EXPECT_EQ(p.SleepTime, Pattern(51));
    EXPECT_EQ(p.Unused52, Pattern(52));
    EXPECT_EQ(p.RBFunction, Pattern(53));
    EXPECT_EQ(p.RBAutoMode, Pattern(54));
    EXPECT_EQ(p.RBAutoSTime, Pattern(55));
    EXPECT_EQ(p.RBAutoETime, Pattern(56));
    EXPECT_EQ(p.RBAutoBeep, Pattern(57));
    EXPECT_EQ(static_cast<std::uint16_t>(p.Cal.LeftX), U16At(58));
    EXPECT_EQ(static_cast<std::uint16_t>(p.Cal.CenterX), U16At(60));
    EXPECT_EQ(static_cast<std::uint16_t>(p.Cal.RightX), U16At(62));
    EXPECT_EQ(static_cast<std::uint16_t>(p.Cal.TopY), U16At(64));
    EXPECT_EQ(static_cast<std::uint16_t>(p.Cal.CenterY), U16At(66));
    EXPECT_EQ(static_cast<std::uint16_t>(p.Cal.BottomY), U16At(68));
    EXPECT_EQ(p.CalFlags, Pattern(70));
    EXPECT_EQ(p.Unused71, Pattern(71));
    EXPECT_EQ(static_cast<std::uint16_t>(p.ScreenWidth), U16At(72));
    EXPECT_EQ(static_cast<std::uint16_t>(p.ScreenHeight), U16At(74));
    EXPECT_EQ(p.McuMode, Pattern(76));
    EXPECT_EQ(p.McuVersion, Pattern(77));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p.McuCode[i], Pattern(78 + i));
}

TEST(TouchParamsLayout, WritingAFieldTouchesOnlyItsBytes) {
    TouchParams p;
    std::memset(&p, 0, sizeof p);
    p.SoundTone = 1000;  // E8 03
    p.RBAutoBeep = 1;
    p.ScreenHeight = -2;
    std::uint8_t raw[82];
    std::memcpy(raw, &p, sizeof raw);
    for (std::size_t i = 0; i < sizeof raw; ++i) {
        std::uint8_t expected = 0;
        if (i == 42) expected = 0xE8;
        if (i == 43) expected = 0x03;
        if (i == 57) expected = 1;
        if (i == 74) expected = 0xFE;
        if (i == 75) expected = 0xFF;
        EXPECT_EQ(raw[i], expected) << "byte " << i;
    }
}

TEST(SmallRecordsLayout, FieldsAtTheirOffsets) {
    std::uint8_t raw[8];
    for (std::size_t i = 0; i < 8; ++i) raw[i] = Pattern(i);
    TouchState s;
    std::memcpy(&s, raw, 8);
    EXPECT_EQ(static_cast<std::uint16_t>(s.X), U16At(0));
    EXPECT_EQ(static_cast<std::uint16_t>(s.Y), U16At(2));
    EXPECT_EQ(s.Status, Pattern(4));
    EXPECT_EQ(s.ReportCount, U16At(6));

    AgentRegistration a;
    std::memcpy(&a, raw, 8);
    EXPECT_EQ(static_cast<std::uint32_t>(a.AgentWindow),
              static_cast<std::uint32_t>(U16At(0) | U16At(2) << 16));
    EXPECT_EQ(static_cast<std::uint16_t>(a.Armed), U16At(4));
    EXPECT_EQ(a.Reserved[0], Pattern(6));
    EXPECT_EQ(a.Reserved[1], Pattern(7));

    RotatorRegistration r;
    std::memcpy(&r, raw, 8);
    EXPECT_EQ(static_cast<std::uint16_t>(r.Rotation), U16At(4));

    SoundTestRecord t;
    std::memcpy(&t, raw, 4);
    EXPECT_EQ(static_cast<std::uint16_t>(t.Tone), U16At(0));
    EXPECT_EQ(static_cast<std::uint16_t>(t.Duration), U16At(2));
}

}  // namespace
