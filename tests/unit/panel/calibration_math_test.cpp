// The calibration's arithmetic: mark positions, wiring detection under
// every wiring and rotation (samples taken through the stand-in's own
// panel model), extrapolation with its rounding and clamps, and the
// stand-in size used when the driver does not know the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "panel/calibration_math.h"
#include "sim/driver/core/panel_geometry.h"

namespace kv::panel::test {
namespace {

constexpr ScreenSizes kScreen1024{1024, 768, 1024, 768};

// Samples by target: {x, y} for targets 1..8 (0 entries unused).
RawSamples SamplesOf(std::initializer_list<std::array<int, 3>> entries) {
    RawSamples s;
    for (const auto& [target, x, y] : entries) {
        s.x[static_cast<std::size_t>(target)] = static_cast<std::int16_t>(x);
        s.y[static_cast<std::size_t>(target)] = static_cast<std::int16_t>(y);
    }
    return s;
}

std::array<int, 6> Values(const CalData& c) {
    return {c.LeftX, c.CenterX, c.RightX, c.TopY, c.CenterY, c.BottomY};
}

TEST(CalibrationMarks, FollowTheTableOnEvenAndOddSurfaces) {
    struct Case {
        int w, h, centreX, centreY;
    };
    // The centre is W/2 - 1 rounded with halves to even: 510.5 -> 510.
    for (const Case& c : {Case{1024, 768, 511, 383}, Case{1023, 767, 510, 382}}) {
        const MarkGeometry g = ComputeMarkGeometry(c.w, c.h);
        EXPECT_EQ(g.right, c.w - 1);
        EXPECT_EQ(g.bottom, c.h - 1);
        EXPECT_EQ(g.centreX, c.centreX) << c.w;
        EXPECT_EQ(g.centreY, c.centreY) << c.h;
        const int W = c.w, H = c.h, CX = c.centreX, CY = c.centreY;
        const CrossMark expected[] = {
            {0, 0, 31, 31, 15, 15},
            {W - 34, 0, W - 1, 31, W - 18, 15},
            {W - 34, H - 34, W - 1, H - 1, W - 18, H - 18},
            {0, H - 34, 31, H - 1, 15, H - 18},
            {CX - 17, 0, CX + 15, 31, CX, 15},
            {W - 34, CY - 17, W - 1, CY + 15, W - 18, CY},
            {CX - 17, H - 34, CX + 15, H - 1, CX, H - 18},
            {0, CY - 17, 31, CY + 15, 15, CY},
        };
        for (int i = 1; i <= 8; ++i) {
            const auto mark = MarkOf(i, g);
            ASSERT_TRUE(mark.has_value()) << i;
            EXPECT_EQ(*mark, expected[i - 1]) << "target " << TargetName(i) << " on " << W << "x" << H;
        }
        EXPECT_FALSE(MarkOf(0, g).has_value());
        EXPECT_FALSE(MarkOf(9, g).has_value());
    }
    // The two examples worked out by hand on 1024 x 768.
    const MarkGeometry g = ComputeMarkGeometry(1024, 768);
    EXPECT_EQ(*MarkOf(3, g), (CrossMark{990, 734, 1023, 767, 1006, 750}));
    EXPECT_EQ(*MarkOf(5, g), (CrossMark{494, 0, 526, 31, 511, 15}));
}

TEST(CalibrationRounding, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},  {-0.5, 0},
                                               {-1.5, -2}, {-2.5, -2}, {2.4, 2},  {2.6, 3},
                                               {989.5, 990}, {990.5, 990}, {-3.2, -3}};
    for (const auto& [in, out] : cases) EXPECT_EQ(RoundHalfEven(in), out) << in;
}

TEST(CalibrationCorners, WorkedExampleAndItsMirroredAndExchangedTwins) {
    const RawSamples straight =
        SamplesOf({{1, 100, 60}, {2, 902, 64}, {3, 898, 700}, {4, 104, 704}});
    const std::array<int, 6> expected{89, 501, 913, 48, 382, 716};
    struct Case {
        const char* name;
        RawSamples samples;
        std::string pattern;
        std::uint8_t flags;
    };
    RawSamples mirroredX = straight, exchanged = straight;
    for (int i = 1; i <= 4; ++i) {
        mirroredX.x[i] = static_cast<std::int16_t>(1023 - straight.x[i]);
        std::swap(exchanged.x[i], exchanged.y[i]);
    }
    EXPECT_EQ(mirroredX.x[1], 923);
    EXPECT_EQ(mirroredX.x[2], 121);
    const Case cases[] = {{"straight", straight, "00101101", 0},
                          {"raw X right to left", mirroredX, "10000111", KV_CAL_MIRROR_X},
                          {"raw axes exchanged", exchanged, "", KV_CAL_SWAP_XY}};
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        const DirectionResult d = DetectPanelDirection(c.samples, kCornerMode);
        ASSERT_TRUE(d.recognised);
        EXPECT_EQ(d.flags, c.flags);
        if (!c.pattern.empty()) {
            EXPECT_EQ(d.firstPattern, c.pattern);
        }
        if (c.flags & KV_CAL_SWAP_XY) {
            EXPECT_EQ(ClassifyDirectionPattern(d.firstPattern), kUnknownDirection);
            EXPECT_EQ(d.secondPattern, "00101101");
        }
        MirrorSamples(c.samples, kCornerMode, d.flags);
        EXPECT_EQ(Values(CalibrateCornerSamples(c.samples, kScreen1024)), expected);
    }
}

TEST(CalibrationCorners, SamplesOfNoKnownWiringAreRefusedWithBothPatterns) {
    RawSamples s = SamplesOf({{1, 100, 60}, {2, 100, 64}, {3, 898, 700}, {4, 104, 704}});
    const DirectionResult d = DetectPanelDirection(s, kCornerMode);
    EXPECT_FALSE(d.recognised);
    EXPECT_EQ(d.firstPattern, "00001101");
    EXPECT_EQ(d.secondPattern, "00001110");
}

TEST(CalibrationEdges, MidpointsGiveTheEdgesWithHalvesToEven) {
    // Right edge: 975 + 465 / 480 * 16 = 990.5, which goes to 990.
    const RawSamples s = SamplesOf({{5, 511, 51}, {6, 975, 511}, {7, 511, 970}, {8, 46, 511}});
    RawSamples copy = s;
    const DirectionResult d = DetectPanelDirection(copy, kEdgeMode);
    ASSERT_TRUE(d.recognised);
    EXPECT_EQ(d.firstPattern, "00101101");
    EXPECT_EQ(Values(CalibrateEdgeSamples(s, kScreen1024)),
              (std::array<int, 6>{30, 511, 990, 30, 511, 991}));

    // The same panel wired with Y running bottom to top.
    RawSamples mirrored = s;
    for (int i = 5; i <= 8; ++i) mirrored.y[i] = static_cast<std::int16_t>(1023 - s.y[i]);
    const DirectionResult m = DetectPanelDirection(mirrored, kEdgeMode);
    ASSERT_TRUE(m.recognised);
    EXPECT_EQ(m.flags, KV_CAL_MIRROR_Y);
    MirrorSamples(mirrored, kEdgeMode, m.flags);
    EXPECT_EQ(Values(CalibrateEdgeSamples(mirrored, kScreen1024)),
              (std::array<int, 6>{30, 511, 990, 30, 511, 991}));
}

TEST(CalibrationCorners, RoundingAndTheFourClamps) {
    struct Case {
        const char* name;
        RawSamples samples;
        std::array<int, 6> expected;
    };
    const Case cases[] = {
        // Extension 1.5 on X: 98.5 -> 98 and 193.5 -> 194.
        {"halves", SamplesOf({{1, 100, 100}, {2, 192, 100}, {3, 192, 800}, {4, 100, 800}}),
         {98, 146, 194, 85, 450, 815}},
        // Left -11 and top -17 become 0; right 1031 and bottom 1039 become 1023.
        {"beyond the raw range",
         SamplesOf({{1, 5, 5}, {2, 1015, 5}, {3, 1015, 1017}, {4, 5, 1017}}),
         {0, 510, 1023, 0, 511, 1023}},
        // Only the outer bounds are clamped: a left edge above 1023 stays.
        {"only four bounds",
         SamplesOf({{1, 1100, 100}, {2, 1200, 100}, {3, 1200, 800}, {4, 1100, 800}}),
         {1098, 1150, 1023, 85, 450, 815}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Values(CalibrateCornerSamples(c.samples, kScreen1024)), c.expected) << c.name;
}

TEST(CalibrationExtrapolation, AnUnknownScreenSizeFallsBackToTheSurface) {
    const RawSamples corners =
        SamplesOf({{1, 100, 60}, {2, 902, 64}, {3, 898, 700}, {4, 104, 704}});
    const RawSamples edges = SamplesOf({{5, 511, 51}, {6, 975, 511}, {7, 511, 970}, {8, 46, 511}});
    struct Case {
        const char* name;
        ScreenSizes sizes;
        std::array<int, 6> corner, edge;
    };
    const std::array<int, 6> cornerAt1024{89, 501, 913, 48, 382, 716};
    const std::array<int, 6> edgeAt1024{30, 511, 990, 30, 511, 991};
    const Case cases[] = {
        {"driver never told", {0, 0, 1024, 768}, cornerAt1024, edgeAt1024},
        {"margins fill the size", {32, 32, 1024, 768}, cornerAt1024, edgeAt1024},
        // Corner mode still divides by 64 - 32; edge mode's 32 - 32 falls back.
        {"halves fill the margins", {64, 64, 1024, 768}, {0, 501, 1023, 0, 382, 1022}, edgeAt1024},
        {"negative size", {-5, -1, 1024, 768}, cornerAt1024, edgeAt1024},
        // Nothing positive to divide by: the marks' samples stay unextrapolated.
        {"no usable size at all", {0, 0, 20, 20}, {102, 501, 900, 62, 382, 702},
         {46, 511, 975, 51, 511, 970}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Values(CalibrateCornerSamples(corners, c.sizes)), c.corner);
        EXPECT_EQ(Values(CalibrateEdgeSamples(edges, c.sizes)), c.edge);
    }
}

// Every wiring under every rotation, in both modes: the samples are the raw
// points the simulated glass reports at the mark centres; the detected
// flags must equal the wiring, and the resulting calibration must put the
// mark centres back where they were touched.
TEST(CalibrationDirection, EveryWiringWithEveryRotationIsRecognised) {
    const int w = 1024, h = 768;
    const MarkGeometry g = ComputeMarkGeometry(w, h);
    for (int mode : {kCornerMode, kEdgeMode}) {
        for (std::uint8_t wiring = 0; wiring < 8; ++wiring) {
            for (std::uint8_t rotation = 0; rotation < 4; ++rotation) {
                SCOPED_TRACE(::testing::Message() << "mode " << mode << " wiring "
                                                  << int(wiring) << " rotation " << int(rotation));
                const KvPanel panel{wiring, rotation, static_cast<std::int16_t>(w),
                                    static_cast<std::int16_t>(h)};
                RawSamples s;
                const int first = FirstTargetOf(mode);
                for (int i = first; i < first + 4; ++i) {
                    const CrossMark m = *MarkOf(i, g);
                    ASSERT_TRUE(kvp_screen_to_raw(&panel, m.cx, m.cy, &s.x[i], &s.y[i]));
                }
                ReorderByRotation(s, mode, rotation);
                const DirectionResult d = DetectPanelDirection(s, mode);
                ASSERT_TRUE(d.recognised) << d.firstPattern << "-" << d.secondPattern;
                EXPECT_EQ(d.flags, wiring);
                MirrorSamples(s, mode, d.flags);
                const CalData cal = mode == kCornerMode ? CalibrateCornerSamples(s, kScreen1024)
                                                        : CalibrateEdgeSamples(s, kScreen1024);
                // Quarter turns extrapolate over the desktop's width although
                // the glass's X runs along its height: a few pixels off at the
                // edges. Any wrong flag or order would be hundreds off.
                const int tolerance = (rotation == 1 || rotation == 2) ? 8 : 2;
                for (int i = first; i < first + 4; ++i) {
                    const CrossMark m = *MarkOf(i, g);
                    std::int16_t rx = 0, ry = 0, x = 0, y = 0;
                    kvp_screen_to_raw(&panel, m.cx, m.cy, &rx, &ry);
                    kvp_calibrated_point(&cal, d.flags, w, h, rotation, rx, ry, &x, &y);
                    EXPECT_LE(std::abs(x - m.cx), tolerance) << TargetName(i);
                    EXPECT_LE(std::abs(y - m.cy), tolerance) << TargetName(i);
                }
            }
        }
    }
}

}  // namespace
}  // namespace kv::panel::test
