// Where a window goes when it is centred: horizontally in the middle of the
// screen, vertically a little above the middle. All in twips.
#pragma once

namespace kv {

struct WindowPlacement {
    int left = 0;
    int top = 0;
};

// x to the nearest whole number (a half to the even neighbour), then
// halved with the remainder dropped.
int HalfRoundedEven(double x);

// x to the nearest whole number, a half to the even neighbour.
int RoundHalfEven(double x);

// Horizontally centred; vertically centred on a line at 85 % of the
// screen's height, so the window sits a little above the middle. Halves
// are taken with HalfRoundedEven.
WindowPlacement CentredPlacement(int screenWidth, int screenHeight, int windowWidth,
                                 int windowHeight);

// Left/top that centre an item of the given size in an inner area.
WindowPlacement CentredIn(int innerWidth, int innerHeight, int itemWidth, int itemHeight);

}  // namespace kv
