// The simulated panel's wiring and rotation, and the driver's calibrated
// mapping: a calibration done the way the control panel does it, on any
// wiring and rotation, must bring touches back onto the points touched.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "sim/driver/core/panel_geometry.h"

namespace {

struct Raw {
    int x, y;
};

Raw ScreenToRaw(const KvPanel& panel, int x, int y) {
    std::int16_t rx = -1, ry = -1;
    EXPECT_TRUE(kvp_screen_to_raw(&panel, x, y, &rx, &ry)) << x << "," << y;
    return {rx, ry};
}

TEST(PanelGeometry, TheGlassSpansTheDisplayInsideTheRawRange) {
    KvPanel panel{0, 0, 1024, 768};
    Raw first = ScreenToRaw(panel, 0, 0);
    Raw last = ScreenToRaw(panel, 1023, 767);
    EXPECT_EQ(first.x, KVP_GLASS_LOW);
    EXPECT_EQ(first.y, KVP_GLASS_LOW);
    EXPECT_EQ(last.x, KVP_GLASS_HIGH);
    EXPECT_EQ(last.y, KVP_GLASS_HIGH);
}

TEST(PanelGeometry, WiringMirrorsThenExchangesTheAxes) {
    // The bottom-left pixel: glass (32, 991) on a straight panel.
    const Raw expected[8] = {{32, 991}, {991, 991}, {32, 32},  {991, 32},
                             {991, 32}, {991, 991}, {32, 32},  {32, 991}};
    for (std::uint8_t wiring = 0; wiring < 8; ++wiring) {
        KvPanel panel{wiring, 0, 1024, 768};
        Raw raw = ScreenToRaw(panel, 0, 767);
        EXPECT_EQ(raw.x, expected[wiring].x) << "wiring " << int(wiring);
        EXPECT_EQ(raw.y, expected[wiring].y) << "wiring " << int(wiring);
    }
}

TEST(PanelGeometry, RotationSaysWhichScreenCornerTheGlassTopLeftShows) {
    const int corners[4][2] = {{0, 0}, {0, 767}, {1023, 0}, {1023, 767}};
    for (std::uint8_t rotation = 0; rotation < 4; ++rotation) {
        KvPanel panel{0, rotation, 1024, 768};
        Raw raw = ScreenToRaw(panel, corners[rotation][0], corners[rotation][1]);
        EXPECT_EQ(raw.x, KVP_GLASS_LOW) << "rotation " << int(rotation);
        EXPECT_EQ(raw.y, KVP_GLASS_LOW) << "rotation " << int(rotation);
    }
}

TEST(PanelGeometry, PointsOffTheScreenHaveNoRawPoint) {
    KvPanel panel{0, 0, 1024, 768};
    std::int16_t rx = 7, ry = 7;
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {1024, 0}, {0, 768}}) {
        EXPECT_FALSE(kvp_screen_to_raw(&panel, x, y, &rx, &ry)) << x << "," << y;
    }
    EXPECT_EQ(rx, 7);
}

TEST(PanelGeometry, RawPointsLeadBackToTheTouchedPixel) {
    for (std::uint8_t wiring = 0; wiring < 8; ++wiring) {
        for (std::uint8_t rotation = 0; rotation < 4; ++rotation) {
            KvPanel panel{wiring, rotation, 1024, 768};
            for (int x = 0; x < 1024; x += 93) {
                for (int y = 0; y < 768; y += 71) {
                    Raw raw = ScreenToRaw(panel, x, y);
                    std::int16_t sx, sy;
                    kvp_raw_to_screen(&panel, raw.x, raw.y, &sx, &sy);
                    ASSERT_LE(std::abs(sx - x), 1) << int(wiring) << "/" << int(rotation);
                    ASSERT_LE(std::abs(sy - y), 1) << int(wiring) << "/" << int(rotation);
                }
            }
        }
    }
}

// ---- calibration as the control panel computes it -------------------------

struct Sample {
    int x, y;
};

int Round(double v) { return static_cast<int>(std::nearbyint(v)); }  // halves to even

std::string Pattern(const Sample s[4], bool edges) {
    // Corners: X1 Y1 X2 Y2 X3 Y3 X4 Y4; edges: X8 Y5 X6 Y5 X6 Y7 X8 Y7
    // (positions 0..3 are TOP, RIGHT, DOWN, LEFT).
    int v[8];
    if (edges) {
        int l[8] = {s[3].x, s[0].y, s[1].x, s[0].y, s[1].x, s[2].y, s[3].x, s[2].y};
        std::copy(l, l + 8, v);
    } else {
        for (int i = 0; i < 4; ++i) {
            v[2 * i] = s[i].x;
            v[2 * i + 1] = s[i].y;
        }
    }
    std::string p;
    for (int b : v) p += b < 512 ? '0' : '1';
    return p;
}

int Classify(const std::string& p) {
    if (p == "00101101") return 0;
    if (p == "10000111") return 1;
    if (p == "01111000") return 2;
    if (p == "11010010") return 3;
    return 255;
}

struct Calibration {
    CalData cal;
    int flags;
};

// Samples taken at the four marks, re-ordered by rotation, direction
// detected, mirrored, extrapolated to the screen edges and clamped.
Calibration Calibrate(const KvPanel& panel, bool edges) {
    const int w = panel.width, h = panel.height, m = 16;
    const int cx = Round(w / 2.0 - 1), cy = Round(h / 2.0 - 1);
    const int corners[4][2] = {{15, 15}, {w - 18, 15}, {w - 18, h - 18}, {15, h - 18}};
    const int mids[4][2] = {{cx, 15}, {w - 18, cy}, {cx, h - 18}, {15, cy}};
    Sample captured[4], s[4];
    for (int i = 0; i < 4; ++i) {
        const int* at = edges ? mids[i] : corners[i];
        Raw raw = ScreenToRaw(panel, at[0], at[1]);
        captured[i] = {raw.x, raw.y};
    }
    const int shift[4] = {0, 3, 1, 2};
    for (int p = 0; p < 4; ++p) s[p] = captured[(p + shift[panel.rotation]) % 4];

    int flags = Classify(Pattern(s, edges));
    if (flags == 255) {
        for (auto& sample : s) std::swap(sample.x, sample.y);
        flags = Classify(Pattern(s, edges));
        EXPECT_NE(flags, 255) << "the panel direction is recognised";
        flags += 4;
    }
    for (auto& sample : s) {
        if (flags & 2) sample.y = 1023 - sample.y;
        if (flags & 1) sample.x = 1023 - sample.x;
    }
    int left, right, top, bottom, centerX, centerY;
    double extL, extR, extT, extB;
    if (edges) {
        left = s[3].x, right = s[1].x, top = s[0].y, bottom = s[2].y;
        centerX = (s[0].x + s[2].x) / 2;
        centerY = (s[1].y + s[3].y) / 2;
        double halfW = w / 2.0, halfH = h / 2.0;
        extL = (centerX - left + 1) / (halfW - 2 * m) * m;
        extR = (right - centerX + 1) / (halfW - 2 * m) * m;
        extT = (centerY - top + 1) / (halfH - 2 * m) * m;
        extB = (bottom - centerY + 1) / (halfH - 2 * m) * m;
    } else {
        left = (s[0].x + s[3].x) / 2, right = (s[1].x + s[2].x) / 2;
        top = (s[0].y + s[1].y) / 2, bottom = (s[2].y + s[3].y) / 2;
        centerX = left + (right - left) / 2;
        centerY = top + (bottom - top) / 2;
        extL = extR = (right - left + 1) / double(w - 2 * m) * m;
        extT = extB = (bottom - top + 1) / double(h - 2 * m) * m;
    }
    Calibration c;
    c.cal.LeftX = static_cast<std::int16_t>(std::max(0, Round(left - extL)));
    c.cal.RightX = static_cast<std::int16_t>(std::min(1023, Round(right + extR)));
    c.cal.TopY = static_cast<std::int16_t>(std::max(0, Round(top - extT)));
    c.cal.BottomY = static_cast<std::int16_t>(std::min(1023, Round(bottom + extB)));
    c.cal.CenterX = static_cast<std::int16_t>(centerX);
    c.cal.CenterY = static_cast<std::int16_t>(centerY);
    c.flags = flags;
    return c;
}

// Largest distance between a touched pixel and where the calibrated driver
// puts it, over a grid of the screen.
int WorstError(const KvPanel& panel, const Calibration& c) {
    int worst = 0;
    for (int x = 0; x < panel.width; x += panel.width / 16) {
        for (int y = 0; y < panel.height; y += panel.height / 16) {
            Raw raw = ScreenToRaw(panel, x, y);
            std::int16_t mx, my;
            kvp_calibrated_point(&c.cal, static_cast<std::uint8_t>(c.flags), panel.width,
                                 panel.height, panel.rotation, raw.x, raw.y, &mx, &my);
            worst = std::max({worst, std::abs(mx - x), std::abs(my - y)});
        }
    }
    return worst;
}

TEST(CalibratedMapping, TheControlPanelsExampleGivesItsCalibrationRecord) {
    // Corner samples (100,60) (902,64) (898,700) (104,704) on 1024 x 768.
    CalData cal{89, 501, 913, 48, 382, 716};
    std::int16_t x, y;
    kvp_calibrated_point(&cal, 0, 1024, 768, 0, 100, 60, &x, &y);
    EXPECT_NEAR(x, 15, 2);
    EXPECT_NEAR(y, 15, 2);
    kvp_calibrated_point(&cal, 0, 1024, 768, 0, 898, 700, &x, &y);
    EXPECT_NEAR(x, 1024 - 18, 2);
    EXPECT_NEAR(y, 768 - 18, 2);
}

TEST(CalibratedMapping, CalibratingOnEveryWiringAndRotationPutsTouchesBack) {
    struct Screen {
        int w, h;
        int tolerance;  // pixels
    };
    for (bool edges : {false, true}) {
        for (std::uint8_t wiring = 0; wiring < 8; ++wiring) {
            for (std::uint8_t rotation = 0; rotation < 4; ++rotation) {
                // The extrapolation to the edges takes ScreenWidth for the
                // raw X axis, which a quarter turn puts along the height:
                // on a screen that is not square the edges then drift a few
                // pixels, as with any driver fed by that calibration.
                bool quarter = rotation == 1 || rotation == 2;
                for (Screen screen : {Screen{1024, 768, quarter ? 8 : 2}, Screen{800, 800, 2}}) {
                    KvPanel panel{wiring, rotation, static_cast<std::int16_t>(screen.w),
                                  static_cast<std::int16_t>(screen.h)};
                    SCOPED_TRACE(std::string(edges ? "edges" : "corners") + " wiring " +
                                 std::to_string(wiring) + " rotation " + std::to_string(rotation) +
                                 " " + std::to_string(screen.w) + "x" + std::to_string(screen.h));
                    Calibration c = Calibrate(panel, edges);
                    EXPECT_EQ(c.flags, wiring) << "the calibration sees the wiring";
                    EXPECT_LE(WorstError(panel, c), screen.tolerance);
                }
            }
        }
    }
}

TEST(CalibratedMapping, DegenerateRecordsAndSizesStayOnTheScreen) {
    struct Case {
        CalData cal;
        int w, h;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0}, 1024, 768},               // nothing calibrated
        {{500, 500, 500, 500, 500, 500}, 1024, 768},   // one point for everything
        {{900, 500, 100, 900, 500, 100}, 1024, 768},   // reversed
        {{100, 950, 900, 100, 50, 900}, 1024, 768},    // centre outside the edges
        {{32, 511, 991, 32, 511, 991}, 0, 0},          // no screen size yet
        {{32, 511, 991, 32, 511, 991}, -5, 1},
        {{-1023, 0, 1023, -32768, 0, 32767}, 32767, 32767},
    };
    for (const auto& c : cases) {
        for (std::uint8_t flags = 0; flags < 8; ++flags) {
            for (int raw : {0, 1, 511, 1023}) {
                std::int16_t x = -99, y = -99;
                kvp_calibrated_point(&c.cal, flags, c.w, c.h, 1, raw, 1023 - raw, &x, &y);
                EXPECT_GE(x, 0);
                EXPECT_GE(y, 0);
                EXPECT_LE(x, std::max(0, c.w - 1));
                EXPECT_LE(y, std::max(0, c.h - 1));
            }
        }
    }
}

}  // namespace
