#include "sim/driver/core/panel_geometry.h"

/* Nearest integer of num / den (den > 0), halves away from zero. */
static int64_t div_round(int64_t num, int64_t den) {
    if (num >= 0) return (num + den / 2) / den;
    return -((-num + den / 2) / den);
}

static int64_t clamp64(int64_t v, int64_t lo, int64_t hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return v;
}

static int quarter_turned(uint8_t rotation) { return rotation == 1 || rotation == 2; }

static uint8_t sane_rotation(uint8_t rotation) { return rotation <= 3 ? rotation : 0; }

/* Screen pixel -> pixel of the physical display. */
static void screen_to_physical(uint8_t rotation, int64_t w, int64_t h, int64_t sx, int64_t sy,
                               int64_t* px, int64_t* py) {
    switch (rotation) {
    case 1: *px = (h - 1) - sy; *py = sx; break;
    case 2: *px = sy; *py = (w - 1) - sx; break;
    case 3: *px = (w - 1) - sx; *py = (h - 1) - sy; break;
    default: *px = sx; *py = sy; break;
    }
}

/* Pixel of the physical display -> screen pixel. */
static void physical_to_screen(uint8_t rotation, int64_t w, int64_t h, int64_t px, int64_t py,
                               int64_t* sx, int64_t* sy) {
    switch (rotation) {
    case 1: *sx = py; *sy = (h - 1) - px; break;
    case 2: *sx = (w - 1) - py; *sy = px; break;
    case 3: *sx = (w - 1) - px; *sy = (h - 1) - py; break;
    default: *sx = px; *sy = py; break;
    }
}

static int64_t pixel_to_glass(int64_t pixel, int64_t pixels) {
    if (pixels < 2) return KVP_GLASS_LOW;
    return KVP_GLASS_LOW + div_round(pixel * (KVP_GLASS_HIGH - KVP_GLASS_LOW), pixels - 1);
}

static int64_t glass_to_pixel(int64_t glass, int64_t pixels) {
    if (pixels < 2) return 0;
    int64_t p = div_round((glass - KVP_GLASS_LOW) * (pixels - 1), KVP_GLASS_HIGH - KVP_GLASS_LOW);
    return clamp64(p, 0, pixels - 1);
}

int kvp_screen_to_raw(const KvPanel* panel, int32_t x, int32_t y, int16_t* raw_x, int16_t* raw_y) {
    int64_t w = panel->width, h = panel->height;
    if (w < 1 || h < 1 || x < 0 || y < 0 || x >= w || y >= h) return 0;
    uint8_t rotation = sane_rotation(panel->rotation);
    int64_t px, py;
    screen_to_physical(rotation, w, h, x, y, &px, &py);
    int64_t pw = quarter_turned(rotation) ? h : w;
    int64_t ph = quarter_turned(rotation) ? w : h;
    int64_t gx = pixel_to_glass(px, pw);
    int64_t gy = pixel_to_glass(py, ph);
    if (panel->wiring & KV_CAL_MIRROR_X) gx = KVP_RAW_MAX - gx;
    if (panel->wiring & KV_CAL_MIRROR_Y) gy = KVP_RAW_MAX - gy;
    if (panel->wiring & KV_CAL_SWAP_XY) {
        int64_t t = gx;
        gx = gy;
        gy = t;
    }
    *raw_x = (int16_t)gx;
    *raw_y = (int16_t)gy;
    return 1;
}

void kvp_raw_to_screen(const KvPanel* panel, int32_t raw_x, int32_t raw_y, int16_t* x, int16_t* y) {
    int64_t w = panel->width, h = panel->height;
    uint8_t rotation = sane_rotation(panel->rotation);
    int64_t gx = raw_x, gy = raw_y;
    if (panel->wiring & KV_CAL_SWAP_XY) {
        int64_t t = gx;
        gx = gy;
        gy = t;
    }
    if (panel->wiring & KV_CAL_MIRROR_X) gx = KVP_RAW_MAX - gx;
    if (panel->wiring & KV_CAL_MIRROR_Y) gy = KVP_RAW_MAX - gy;
    int64_t pw = quarter_turned(rotation) ? h : w;
    int64_t ph = quarter_turned(rotation) ? w : h;
    int64_t sx, sy;
    physical_to_screen(rotation, w, h, glass_to_pixel(gx, pw), glass_to_pixel(gy, ph), &sx, &sy);
    *x = (int16_t)clamp64(sx, 0, w > 0 ? w - 1 : 0);
    *y = (int16_t)clamp64(sy, 0, h > 0 ? h - 1 : 0);
}

/* Position of raw value v on an axis of `pixels` pixels whose calibration
 * puts lo on the first pixel, mid in the middle and hi on the last. */
static int64_t calibrated_axis(int64_t v, int64_t lo, int64_t mid, int64_t hi, int64_t pixels) {
    if (pixels < 2 || hi == lo) return 0;
    int64_t last = pixels - 1;
    int64_t p;
    int mid_between = (lo < mid && mid < hi) || (lo > mid && mid > hi);
    if (mid_between) {
        int on_lo_side = hi > lo ? v <= mid : v >= mid;
        int64_t num, den;
        if (on_lo_side) {
            num = (v - lo) * last;
            den = 2 * (mid - lo);
        } else {
            num = ((hi - mid) + (v - mid)) * last;
            den = 2 * (hi - mid);
        }
        if (den < 0) {
            num = -num;
            den = -den;
        }
        p = div_round(num, den);
    } else {
        int64_t num = (v - lo) * last, den = hi - lo;
        if (den < 0) {
            num = -num;
            den = -den;
        }
        p = div_round(num, den);
    }
    return clamp64(p, 0, last);
}

void kvp_calibrated_point(const CalData* cal, uint8_t cal_flags, int32_t width, int32_t height,
                          uint8_t rotation, int32_t raw_x, int32_t raw_y, int16_t* x, int16_t* y) {
    int64_t w = width, h = height;
    rotation = sane_rotation(rotation);
    int64_t vx = raw_x, vy = raw_y;
    if (cal_flags & KV_CAL_SWAP_XY) {
        int64_t t = vx;
        vx = vy;
        vy = t;
    }
    if (cal_flags & KV_CAL_MIRROR_Y) vy = KVP_RAW_MAX - vy;
    if (cal_flags & KV_CAL_MIRROR_X) vx = KVP_RAW_MAX - vx;
    int64_t pw = quarter_turned(rotation) ? h : w;
    int64_t ph = quarter_turned(rotation) ? w : h;
    int64_t px = calibrated_axis(vx, cal->LeftX, cal->CenterX, cal->RightX, pw);
    int64_t py = calibrated_axis(vy, cal->TopY, cal->CenterY, cal->BottomY, ph);
    int64_t sx, sy;
    physical_to_screen(rotation, w, h, px, py, &sx, &sy);
    *x = (int16_t)clamp64(sx, 0, w > 0 ? w - 1 : 0);
    *y = (int16_t)clamp64(sy, 0, h > 0 ? h - 1 : 0);
}
