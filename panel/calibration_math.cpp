#include "panel/calibration_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kv::panel {

namespace {

constexpr const char* kTargetNames[] = {"",    "TOP-LEFT", "TOP-RIGHT", "DOWN-RIGHT", "DOWN-LEFT",
                                        "TOP", "RIGHT",    "DOWN",      "LEFT"};

struct Pattern {
    const char* text;
    int code;
};
constexpr Pattern kPatterns[] = {
    {"00101101", 0},  // raw axes run like the screen's
    {"10000111", KV_CAL_MIRROR_X},
    {"01111000", KV_CAL_MIRROR_Y},
    {"11010010", KV_CAL_MIRROR_X | KV_CAL_MIRROR_Y},
};

// A value the block's 16-bit fields can hold; out-of-range results (only
// possible from a driver reporting nonsense) stop at the limits.
std::int16_t ToInt16(double v) {
    constexpr double lo = std::numeric_limits<std::int16_t>::min();
    constexpr double hi = std::numeric_limits<std::int16_t>::max();
    if (!(v >= lo)) return static_cast<std::int16_t>(lo);  // NaN too
    if (v > hi) return static_cast<std::int16_t>(hi);
    return static_cast<std::int16_t>(v);
}

int Sample(const std::array<std::int16_t, 26>& table, int index) {
    return table[static_cast<std::size_t>(index)];
}

char Bit(int sample) { return sample < 512 ? '0' : '1'; }

// What the extrapolation divides by: the driver's size if it leaves a
// positive span between the margins, else the surface's; 0 when neither
// does (no extrapolation then).
double Span(double driverSize, double surfaceSize, bool half) {
    const double driverSpan = (half ? driverSize / 2 : driverSize) - 2.0 * kMarkMargin;
    if (driverSpan > 0) return driverSpan;
    const double surfaceSpan = (half ? surfaceSize / 2 : surfaceSize) - 2.0 * kMarkMargin;
    return surfaceSpan > 0 ? surfaceSpan : 0;
}

double Extension(int rawSpan, double span) {
    return span > 0 ? (rawSpan + 1) / span * kMarkMargin : 0;
}

struct Edges {
    int leftX, centerX, rightX, topY, centerY, bottomY;
    double extLeft, extRight, extTop, extBottom;
};

// Extrapolation, rounding and the four clamps (only these four).
CalData Finish(const Edges& e) {
    double left = RoundHalfEven(e.leftX - e.extLeft);
    double right = RoundHalfEven(e.rightX + e.extRight);
    double top = RoundHalfEven(e.topY - e.extTop);
    double bottom = RoundHalfEven(e.bottomY + e.extBottom);
    if (left < 0) left = 0;
    if (right > kRawMax) right = kRawMax;
    if (top < 0) top = 0;
    if (bottom > kRawMax) bottom = kRawMax;
    CalData cal{};
    cal.LeftX = ToInt16(left);
    cal.CenterX = ToInt16(e.centerX);
    cal.RightX = ToInt16(right);
    cal.TopY = ToInt16(top);
    cal.CenterY = ToInt16(e.centerY);
    cal.BottomY = ToInt16(bottom);
    return cal;
}

}  // namespace

const char* TargetName(int index) {
    return index >= kFirstTarget && index <= kLastTarget ? kTargetNames[index] : "";
}

double RoundHalfEven(double v) {
    const double floor = std::floor(v);
    const double diff = v - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

MarkGeometry ComputeMarkGeometry(double scaleWidth, double scaleHeight) {
    // Single precision, as the surface reports its scale, then to 16 bits.
    auto toInt = [](float v) { return static_cast<int>(ToInt16(RoundHalfEven(v))); };
    MarkGeometry g;
    g.right = toInt(static_cast<float>(scaleWidth) - 1.0f);
    g.bottom = toInt(static_cast<float>(scaleHeight) - 1.0f);
    g.centreX = toInt(static_cast<float>(scaleWidth) / 2.0f - 1.0f);
    g.centreY = toInt(static_cast<float>(scaleHeight) / 2.0f - 1.0f);
    return g;
}

std::optional<CrossMark> MarkOf(int index, const MarkGeometry& g) {
    // Near the left/top edge: 2M wide, line M-1 in. Near the right/bottom
    // edge: from Right-2M-1, line M+1 in from the last pixel. Mid-edge:
    // Centre-M-1 .. Centre+M-1 with the line on the centre.
    struct Span1 {
        int lo, hi, line;
    };
    auto nearStart = [](int start, int m) { return Span1{start, start + 2 * m - 1, start + m - 1}; };
    auto nearEnd = [](int end, int m) { return Span1{end - 2 * m - 1, end, end - m - 1}; };
    auto middle = [](int centre, int m) { return Span1{centre - m - 1, centre + m - 1, centre}; };
    const int mx = g.marginX, my = g.marginY;
    Span1 h{}, v{};
    switch (index) {
        case 1: h = nearStart(g.left, mx); v = nearStart(g.top, my); break;
        case 2: h = nearEnd(g.right, mx); v = nearStart(g.top, my); break;
        case 3: h = nearEnd(g.right, mx); v = nearEnd(g.bottom, my); break;
        case 4: h = nearStart(g.left, mx); v = nearEnd(g.bottom, my); break;
        case 5: h = middle(g.centreX, mx); v = nearStart(g.top, my); break;
        case 6: h = nearEnd(g.right, mx); v = middle(g.centreY, my); break;
        case 7: h = middle(g.centreX, mx); v = nearEnd(g.bottom, my); break;
        case 8: h = nearStart(g.left, mx); v = middle(g.centreY, my); break;
        default: return std::nullopt;
    }
    return CrossMark{h.lo, v.lo, h.hi, v.hi, h.line, v.line};
}

std::string DirectionPattern(const RawSamples& s, int mode) {
    // In edge mode each corner is made up from two edge samples: the
    // pairs below take X from the left or right mark and Y from the top
    // or bottom one, corner by corner.
    static constexpr int kEdgeOrder[8] = {8, 5, 6, 5, 6, 7, 8, 7};
    std::string pattern;
    for (int k = 0; k < 8; ++k) {
        const bool isX = k % 2 == 0;
        const int target = mode == kEdgeMode ? kEdgeOrder[k] : k / 2 + 1;
        pattern += Bit(isX ? Sample(s.x, target) : Sample(s.y, target));
    }
    return pattern;
}

int ClassifyDirectionPattern(const std::string& pattern) {
    for (const Pattern& p : kPatterns)
        if (pattern == p.text) return p.code;
    return kUnknownDirection;
}

int SaneRotation(int rotation) { return rotation >= 0 && rotation <= 3 ? rotation : 0; }

void ReorderByRotation(RawSamples& s, int mode, int rotation) {
    static constexpr int kShift[4] = {0, 3, 1, 2};
    const int shift = kShift[SaneRotation(rotation)];
    if (shift == 0) return;
    const int first = FirstTargetOf(mode);
    const RawSamples before = s;
    for (int p = 0; p < 4; ++p) {
        const auto to = static_cast<std::size_t>(first + p);
        const auto from = static_cast<std::size_t>(first + (p + shift) % 4);
        s.x[to] = before.x[from];
        s.y[to] = before.y[from];
    }
}

void ExchangeAxes(RawSamples& s, int mode) {
    const int first = FirstTargetOf(mode);
    for (int i = first; i < first + 4; ++i)
        std::swap(s.x[static_cast<std::size_t>(i)], s.y[static_cast<std::size_t>(i)]);
}

void MirrorSamples(RawSamples& s, int mode, std::uint8_t flags) {
    const int first = FirstTargetOf(mode);
    for (int i = first; i < first + 4; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (flags & KV_CAL_MIRROR_Y) s.y[k] = static_cast<std::int16_t>(kRawMax - s.y[k]);
        if (flags & KV_CAL_MIRROR_X) s.x[k] = static_cast<std::int16_t>(kRawMax - s.x[k]);
    }
}

DirectionResult DetectPanelDirection(RawSamples& s, int mode) {
    DirectionResult r;
    r.firstPattern = DirectionPattern(s, mode);
    int code = ClassifyDirectionPattern(r.firstPattern);
    if (code != kUnknownDirection) {
        r.recognised = true;
        r.flags = static_cast<std::uint8_t>(code);
        return r;
    }
    ExchangeAxes(s, mode);
    r.secondPattern = DirectionPattern(s, mode);
    code = ClassifyDirectionPattern(r.secondPattern);
    if (code != kUnknownDirection) {
        r.recognised = true;
        r.flags = static_cast<std::uint8_t>(code + KV_CAL_SWAP_XY);
    }
    return r;
}

CalData CalibrateCornerSamples(const RawSamples& s, const ScreenSizes& sizes) {
    auto x = [&](int i) { return Sample(s.x, i); };
    auto y = [&](int i) { return Sample(s.y, i); };
    Edges e{};
    e.leftX = (x(1) + x(4)) / 2;
    e.rightX = (x(2) + x(3)) / 2;
    e.topY = (y(1) + y(2)) / 2;
    e.bottomY = (y(3) + y(4)) / 2;
    e.centerX = e.leftX + (e.rightX - e.leftX) / 2;
    e.centerY = e.topY + (e.bottomY - e.topY) / 2;
    const double spanX = Span(sizes.driverWidth, sizes.surfaceWidth, false);
    const double spanY = Span(sizes.driverHeight, sizes.surfaceHeight, false);
    e.extLeft = e.extRight = Extension(e.rightX - e.leftX, spanX);
    e.extTop = e.extBottom = Extension(e.bottomY - e.topY, spanY);
    return Finish(e);
}

CalData CalibrateEdgeSamples(const RawSamples& s, const ScreenSizes& sizes) {
    auto x = [&](int i) { return Sample(s.x, i); };
    auto y = [&](int i) { return Sample(s.y, i); };
    Edges e{};
    e.leftX = x(8);
    e.rightX = x(6);
    e.topY = y(5);
    e.bottomY = y(7);
    e.centerX = (x(5) + x(7)) / 2;
    e.centerY = (y(6) + y(8)) / 2;
    const double spanX = Span(sizes.driverWidth, sizes.surfaceWidth, true);
    const double spanY = Span(sizes.driverHeight, sizes.surfaceHeight, true);
    e.extLeft = Extension(e.centerX - e.leftX, spanX);
    e.extRight = Extension(e.rightX - e.centerX, spanX);
    e.extTop = Extension(e.centerY - e.topY, spanY);
    e.extBottom = Extension(e.bottomY - e.centerY, spanY);
    return Finish(e);
}

}  // namespace kv::panel
