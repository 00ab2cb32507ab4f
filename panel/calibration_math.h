// The arithmetic of the four-point calibration, free of any window: where
// the eight cross marks lie, how the raw samples reveal the panel's wiring,
// and how the samples are extrapolated from the marks out to the screen's
// edges. Raw coordinates run 0..1023 on both axes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/device/kvtouch_protocol.h"

namespace kv::panel {

inline constexpr int kCornerMode = 0;
inline constexpr int kEdgeMode = 1;
inline constexpr int kMarkMargin = 16;
inline constexpr int kRawMax = 1023;
inline constexpr int kUnknownDirection = 255;

// Targets 1..8; 1..4 are the corners (mode 0), 5..8 the edge midpoints.
inline constexpr int kFirstTarget = 1;
inline constexpr int kLastTarget = 8;
const char* TargetName(int index);  // "" outside 1..8
// The first of the four targets of a mode (1 or 5).
constexpr int FirstTargetOf(int mode) { return mode == kEdgeMode ? 5 : 1; }

// Nearest integer, halves to the even neighbour.
double RoundHalfEven(double v);

// Mark geometry in pixels of the drawing surface, from its scale size.
struct MarkGeometry {
    int left = 0, top = 0, right = 0, bottom = 0;
    int marginX = kMarkMargin, marginY = kMarkMargin;
    int centreX = 0, centreY = 0;
};
MarkGeometry ComputeMarkGeometry(double scaleWidth, double scaleHeight);

// One cross mark: the outline (x1, y1)-(x2, y2) with its lines at cx, cy.
struct CrossMark {
    int x1, y1, x2, y2, cx, cy;
    bool operator==(const CrossMark&) const = default;
};
std::optional<CrossMark> MarkOf(int index, const MarkGeometry& g);

// Raw samples by target index (entries 0 and 9..25 are never used).
struct RawSamples {
    std::array<std::int16_t, 26> x{};
    std::array<std::int16_t, 26> y{};
};

// Eight "0"/"1" characters: each sample below 512 or not, in the mode's order.
std::string DirectionPattern(const RawSamples& s, int mode);
// 0..3 (the mirror flags) for a known pattern, else kUnknownDirection.
int ClassifyDirectionPattern(const std::string& pattern);

// A display rotation outside 0..3 counts as 0.
int SaneRotation(int rotation);
// Each of the mode's four positions takes the pair of position (p + s) mod 4.
void ReorderByRotation(RawSamples& s, int mode, int rotation);
void ExchangeAxes(RawSamples& s, int mode);
void MirrorSamples(RawSamples& s, int mode, std::uint8_t flags);

// The result of the wiring detection.
struct DirectionResult {
    bool recognised = false;
    std::uint8_t flags = 0;
    std::string firstPattern, secondPattern;  // the second only when tried
};
// Tries the samples as they are, then with X and Y exchanged (in place).
DirectionResult DetectPanelDirection(RawSamples& s, int mode);

// What the extrapolation divides by. The driver's screen size may be
// unknown (0) or nonsense; then the drawing surface's own size stands in.
struct ScreenSizes {
    double driverWidth = 0, driverHeight = 0;    // ScreenWidth/ScreenHeight of the block
    double surfaceWidth = 0, surfaceHeight = 0;  // the calibration surface, pixels
};

// CalData from the (re-ordered, mirrored) samples of the mode.
CalData CalibrateCornerSamples(const RawSamples& s, const ScreenSizes& sizes);
CalData CalibrateEdgeSamples(const RawSamples& s, const ScreenSizes& sizes);

}  // namespace kv::panel
