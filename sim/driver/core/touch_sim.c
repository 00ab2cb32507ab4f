#include "sim/driver/core/touch_sim.h"

#include <string.h>

void kvt_init(KvTouchSim* sim, uint16_t rate) {
    memset(sim, 0, sizeof *sim);
    sim->rate = rate;
}

static uint64_t elapsed(const KvTouchSim* sim, uint64_t now) {
    return now > sim->segment_start ? now - sim->segment_start : 0;
}

/* Reports of the current point observable `e` ms after reaching it. */
static uint32_t reports_within(const KvTouchSim* sim, uint64_t e) {
    return (uint32_t)(e * sim->rate / 1000u) + 1u;
}

/* Reports of a point held for d ms, all seen before the next point. */
static uint32_t reports_of_whole(const KvTouchSim* sim, uint32_t d) {
    return d == 0 ? 1u : reports_within(sim, (uint64_t)d - 1u);
}

static int last_point_is_open(const KvTouchSim* sim) {
    return sim->open_ended && sim->current + 1 == sim->point_count;
}

void kvt_advance(KvTouchSim* sim, uint64_t now) {
    while (sim->playing && !last_point_is_open(sim)) {
        const KvTouchPoint* p = &sim->points[sim->current];
        uint64_t end = sim->segment_start + p->duration_ms;
        if (now < end) break;
        sim->reports += reports_of_whole(sim, p->duration_ms);
        sim->segment_start = end;
        sim->current++;
        if (sim->current == sim->point_count) {
            sim->reports += 1; /* the lift report, at the last position */
            sim->playing = 0;
        }
    }
    if (sim->playing) {
        sim->x = sim->points[sim->current].x;
        sim->y = sim->points[sim->current].y;
    }
}

/* Ends the current point now, counting the reports already observable. */
static void cut_current(KvTouchSim* sim, uint64_t now) {
    sim->reports += reports_within(sim, elapsed(sim, now));
}

void kvt_press(KvTouchSim* sim, uint64_t now, int16_t x, int16_t y, uint32_t duration_ms,
               int open_ended) {
    kvt_release(sim, now);
    sim->points[0].x = x;
    sim->points[0].y = y;
    sim->points[0].duration_ms = duration_ms;
    sim->point_count = 1;
    sim->current = 0;
    sim->segment_start = now;
    sim->open_ended = open_ended ? 1 : 0;
    sim->playing = 1;
    sim->x = x;
    sim->y = y;
}

int kvt_append(KvTouchSim* sim, int16_t x, int16_t y, uint32_t duration_ms) {
    if (!sim->playing || sim->open_ended || sim->point_count >= KVSIM_MAX_STROKE_POINTS) return 0;
    KvTouchPoint* p = &sim->points[sim->point_count++];
    p->x = x;
    p->y = y;
    p->duration_ms = duration_ms;
    return 1;
}

int kvt_move(KvTouchSim* sim, uint64_t now, int16_t x, int16_t y) {
    kvt_advance(sim, now);
    if (!sim->playing) return 0;
    cut_current(sim, now);
    sim->points[0].x = x;
    sim->points[0].y = y;
    sim->points[0].duration_ms = 0;
    sim->point_count = 1;
    sim->current = 0;
    sim->segment_start = now;
    sim->open_ended = 1;
    sim->x = x;
    sim->y = y;
    return 1;
}

int kvt_release(KvTouchSim* sim, uint64_t now) {
    kvt_advance(sim, now);
    if (!sim->playing) return 0;
    cut_current(sim, now);
    sim->reports += 1;
    sim->playing = 0;
    return 1;
}

void kvt_set_rate(KvTouchSim* sim, uint64_t now, uint16_t rate) {
    kvt_advance(sim, now);
    if (sim->playing) {
        uint64_t e = elapsed(sim, now);
        cut_current(sim, now);
        KvTouchPoint* p = &sim->points[sim->current];
        if (!last_point_is_open(sim)) p->duration_ms -= (uint32_t)e; /* e < duration here */
        sim->segment_start = now;
    }
    sim->rate = rate;
}

uint32_t kvt_total_reports(KvTouchSim* sim, uint64_t now) {
    kvt_advance(sim, now);
    return sim->reports + (sim->playing ? reports_within(sim, elapsed(sim, now)) : 0u);
}

void kvt_touch_state(KvTouchSim* sim, uint64_t now, TouchState* state) {
    uint32_t total = kvt_total_reports(sim, now);
    state->X = sim->x;
    state->Y = sim->y;
    state->Status = sim->playing ? KV_STATUS_PEN_DOWN : 0;
    state->Unused5 = 0;
    state->ReportCount = (uint16_t)total;
}

uint64_t kvt_play_end(const KvTouchSim* sim) {
    if (!sim->playing || sim->open_ended) return 0;
    uint64_t end = sim->segment_start;
    for (uint32_t i = sim->current; i < sim->point_count; ++i) end += sim->points[i].duration_ms;
    return end;
}
