/* Geometry of the simulated touch screen: how a point on the display
 * becomes the raw coordinates a panel reports, and how the driver's
 * calibration turns raw coordinates back into a screen point.
 *
 * The simulated glass reports KVP_GLASS_LOW at the first pixel of the
 * display and KVP_GLASS_HIGH at the last, on both axes, before its wiring
 * is applied. Wiring uses the CalFlags bits: mirrored X, mirrored Y and
 * exchanged axes (mirroring first, then the exchange; the calibration
 * undoes them in the reverse order).
 *
 * The display rotation says which corner of the screen the top-left corner
 * of the physical display (and its glass) shows:
 *   0: top-left    1: bottom-left    2: top-right    3: bottom-right
 * so that, with the glass corners TL, TR, BR, BL at positions p = 0..3,
 * glass position p shows screen position (p + s) mod 4 with s = 0, 3, 1, 2
 * for rotations 0..3: the order the calibration re-arranges its samples
 * in. Under rotations 1 and 2 the physical display is the screen turned by
 * a quarter: its width is the screen's height. */
#ifndef KV_PANEL_GEOMETRY_H
#define KV_PANEL_GEOMETRY_H

#include <stdint.h>

#include "common/device/kvtouch_protocol.h"

#ifdef __cplusplus
extern "C" {
#endif

#define KVP_RAW_MAX 1023
#define KVP_GLASS_LOW 32
#define KVP_GLASS_HIGH 991

typedef struct KvPanel {
    uint8_t wiring;   /* KV_CAL_* bits */
    uint8_t rotation; /* 0..3 */
    int16_t width;    /* the screen as the desktop sees it, pixels */
    int16_t height;
} KvPanel;

/* The raw point the panel reports for a touch at screen pixel (x, y).
 * Returns 0 (and leaves the outputs alone) when the pixel is off screen. */
int kvp_screen_to_raw(const KvPanel* panel, int32_t x, int32_t y, int16_t* raw_x, int16_t* raw_y);

/* The screen pixel the raw point was touched at (the inverse of the
 * above, clamped to the screen). */
void kvp_raw_to_screen(const KvPanel* panel, int32_t raw_x, int32_t raw_y, int16_t* x, int16_t* y);

/* Where the driver puts a raw point: CalFlags undone (exchange, then
 * mirrors), CalData mapped piecewise (left..centre..right onto the first,
 * middle and last pixel) onto the display, turned by the rotation onto a
 * screen of width x height, clamped to it. Degenerate calibration records
 * and sizes give a point on the screen's edge, never a fault. */
void kvp_calibrated_point(const CalData* cal, uint8_t cal_flags, int32_t width, int32_t height,
                          uint8_t rotation, int32_t raw_x, int32_t raw_y, int16_t* x, int16_t* y);

#ifdef __cplusplus
}
#endif

#endif
