#include "common/winutil/centring.h"

#include <cmath>

namespace kv {

int RoundHalfEven(double x) {
    // Independent of the floating-point rounding mode in force.
    const double floor = std::floor(x);
    const double fraction = x - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded += 1.0;
    return static_cast<int>(rounded);
}

int HalfRoundedEven(double x) { return RoundHalfEven(x) / 2; }

WindowPlacement CentredPlacement(int screenWidth, int screenHeight, int windowWidth,
                                 int windowHeight) {
    WindowPlacement placement;
    placement.left = HalfRoundedEven(screenWidth) - HalfRoundedEven(windowWidth);
    placement.top = HalfRoundedEven(screenHeight * 0.85) - HalfRoundedEven(windowHeight);
    return placement;
}

WindowPlacement CentredIn(int innerWidth, int innerHeight, int itemWidth, int itemHeight) {
    // Halved in floating point, then stored as a whole number of twips.
    WindowPlacement placement;
    placement.left = RoundHalfEven((innerWidth - itemWidth) / 2.0);
    placement.top = RoundHalfEven((innerHeight - itemHeight) / 2.0);
    return placement;
}

}  // namespace kv
