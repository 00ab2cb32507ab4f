/* The simulated controller's reports. Time is an input: the host passes
 * "now" in milliseconds and the reports a touch has produced by then are
 * worked out on demand, so nothing runs between requests and a test
 * decides exactly what time it is.
 *
 * A touch is a list of points, each held for a duration; the pen lifts when
 * the last one ends (an open-ended touch keeps its last point until it is
 * moved or lifted). While the pen is down the controller reports at `rate`
 * reports per second, plus one report whenever the finger reaches a new
 * point; lifting produces one more report, then nothing until the next
 * touch. Reports are counted at whole milliseconds: a point entered at t
 * has its reports at t + k * 1000 / rate for every k whose time has been
 * reached by a whole millisecond before the point ends. */
#ifndef KV_TOUCH_SIM_H
#define KV_TOUCH_SIM_H

#include <stdint.h>

#include "common/device/kvtouch_protocol.h"
#include "sim/driver/core/kvsim_protocol.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct KvTouchPoint {
    int16_t x;
    int16_t y;
    uint32_t duration_ms;
} KvTouchPoint;

typedef struct KvTouchSim {
    uint16_t rate;          /* reports per second while the pen is down */
    uint8_t playing;        /* the pen is down */
    uint8_t open_ended;     /* the last point lasts until moved or lifted */
    uint32_t point_count;
    uint32_t current;       /* the point the finger is at */
    uint64_t segment_start; /* when it got there */
    uint32_t reports;       /* reports of the points already left, and of lifts */
    int16_t x;              /* position of the latest report */
    int16_t y;
    KvTouchPoint points[KVSIM_MAX_STROKE_POINTS];
} KvTouchSim;

void kvt_init(KvTouchSim* sim, uint16_t rate);
/* Brings the touch up to `now`: leaves the points that have ended, lifts
 * after the last. Every other call does this first. */
void kvt_advance(KvTouchSim* sim, uint64_t now);
/* A new touch at (x, y) held for duration_ms (open_ended: until moved or
 * lifted). A touch still in progress is lifted first. */
void kvt_press(KvTouchSim* sim, uint64_t now, int16_t x, int16_t y, uint32_t duration_ms,
               int open_ended);
/* Another point after the last one of the touch just pressed (not
 * open-ended). Returns 0 when the touch holds no more points. */
int kvt_append(KvTouchSim* sim, int16_t x, int16_t y, uint32_t duration_ms);
/* The finger slides to (x, y) and rests there until the next move or lift;
 * the rest of a playing stroke is dropped. Returns 0 when the pen is up. */
int kvt_move(KvTouchSim* sim, uint64_t now, int16_t x, int16_t y);
/* Lifts the pen now; returns 0 when it was up already. */
int kvt_release(KvTouchSim* sim, uint64_t now);
/* A new report rate; a touch in progress reports once at once and then at
 * the new rate. */
void kvt_set_rate(KvTouchSim* sim, uint64_t now, uint16_t rate);
/* Every report produced by `now`, without the 16-bit wrap of ReportCount. */
uint32_t kvt_total_reports(KvTouchSim* sim, uint64_t now);
/* The controller's latest report as GetTouchState gives it. */
void kvt_touch_state(KvTouchSim* sim, uint64_t now, TouchState* state);
/* When a playing finite touch lifts (0 when none is playing or it is
 * open-ended). */
uint64_t kvt_play_end(const KvTouchSim* sim);

#ifdef __cplusplus
}
#endif

#endif
