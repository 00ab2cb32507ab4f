/* The private requests of kvsim: read the state and the log, inject
 * touches, change the simulated world. */
#include <string.h>

#include "sim/driver/core/kvtouch_driver.h"

/* A point of an injection in raw coordinates, or 0 when it lies outside
 * the raw range or the simulated screen. */
static int to_raw(const KvDriver* d, uint32_t space, int32_t x, int32_t y, int16_t* rx, int16_t* ry) {
    if (space == KVSIM_SPACE_RAW) {
        if (x < 0 || y < 0 || x > KVSIM_RAW_MAX || y > KVSIM_RAW_MAX) return 0;
        *rx = (int16_t)x;
        *ry = (int16_t)y;
        return 1;
    }
    if (space == KVSIM_SPACE_SCREEN) return kvp_screen_to_raw(&d->panel, x, y, rx, ry);
    return 0;
}

static uint32_t read_log(KvDriver* d, uint8_t* buffer, uint32_t in_length, uint32_t out_length,
                         uint32_t* returned) {
    if (in_length != sizeof(KvSimLogQuery)) return KVD_STATUS_INVALID_PARAMETER;
    if (out_length < sizeof(KvSimLogHeader)) return KVD_STATUS_BUFFER_TOO_SMALL;
    KvSimLogQuery query;
    memcpy(&query, buffer, sizeof query);
    uint32_t room = (out_length - (uint32_t)sizeof(KvSimLogHeader)) / (uint32_t)sizeof(KvSimLogEntry);
    KvSimLogHeader header;
    kvl_read(&d->log, query.Since, buffer + sizeof header, room, &header);
    memcpy(buffer, &header, sizeof header);
    *returned = (uint32_t)(sizeof header + header.Count * sizeof(KvSimLogEntry));
    return KVD_STATUS_SUCCESS;
}

static uint32_t pen(KvDriver* d, uint64_t now_ms, const uint8_t* buffer, uint32_t in_length) {
    if (in_length != sizeof(KvSimPen)) return KVD_STATUS_INVALID_PARAMETER;
    KvSimPen request;
    memcpy(&request, buffer, sizeof request);
    if (request.Action == KVSIM_PEN_UP) {
        kvd_pen_up(d, now_ms);
        return KVD_STATUS_SUCCESS;
    }
    int16_t rx, ry;
    if (request.Action != KVSIM_PEN_DOWN && request.Action != KVSIM_PEN_MOVE)
        return KVD_STATUS_INVALID_PARAMETER;
    if (!to_raw(d, request.Space, request.X, request.Y, &rx, &ry)) return KVD_STATUS_INVALID_PARAMETER;
    if (request.Action == KVSIM_PEN_DOWN) {
        kvd_pen_down(d, now_ms, rx, ry, 0, 1);
        return KVD_STATUS_SUCCESS;
    }
    return kvd_pen_move(d, now_ms, rx, ry) ? KVD_STATUS_SUCCESS : KVD_STATUS_INVALID_DEVICE_STATE;
}

static uint32_t stroke(KvDriver* d, uint64_t now_ms, const uint8_t* buffer, uint32_t in_length) {
    if (in_length != sizeof(KvSimStroke)) return KVD_STATUS_INVALID_PARAMETER;
    uint32_t space, count;
    memcpy(&space, buffer + offsetof(KvSimStroke, Space), sizeof space);
    memcpy(&count, buffer + offsetof(KvSimStroke, PointCount), sizeof count);
    if (count < 1 || count > KVSIM_MAX_STROKE_POINTS) return KVD_STATUS_INVALID_PARAMETER;
    const uint8_t* points = buffer + offsetof(KvSimStroke, Points);
    /* Every point is checked before the pen goes down: a bad stroke
     * changes nothing. */
    for (uint32_t i = 0; i < count; ++i) {
        KvSimStrokePoint p;
        int16_t rx, ry;
        memcpy(&p, points + i * sizeof p, sizeof p);
        if (!to_raw(d, space, p.X, p.Y, &rx, &ry)) return KVD_STATUS_INVALID_PARAMETER;
    }
    for (uint32_t i = 0; i < count; ++i) {
        KvSimStrokePoint p;
        int16_t rx, ry;
        memcpy(&p, points + i * sizeof p, sizeof p);
        to_raw(d, space, p.X, p.Y, &rx, &ry);
        if (i == 0)
            kvd_pen_down(d, now_ms, rx, ry, p.DurationMs, 0);
        else
            kvt_append(&d->touch, rx, ry, p.DurationMs);
    }
    return KVD_STATUS_SUCCESS;
}

static int read_value(const uint8_t* buffer, uint32_t in_length, int32_t lo, int32_t hi, int32_t* v) {
    if (in_length != sizeof(KvSimValue)) return 0;
    KvSimValue value;
    memcpy(&value, buffer, sizeof value);
    if (value.Value < lo || value.Value > hi) return 0;
    *v = value.Value;
    return 1;
}

static uint32_t set_screen(KvDriver* d, const uint8_t* buffer, uint32_t in_length) {
    if (in_length != sizeof(KvSimScreen)) return KVD_STATUS_INVALID_PARAMETER;
    KvSimScreen screen;
    memcpy(&screen, buffer, sizeof screen);
    if (screen.Width < 2 || screen.Width > 32767 || screen.Height < 2 || screen.Height > 32767 ||
        (screen.Flags & ~KVSIM_SCREEN_ALSO_DRIVER) != 0)
        return KVD_STATUS_INVALID_PARAMETER;
    d->panel.width = (int16_t)screen.Width;
    d->panel.height = (int16_t)screen.Height;
    if (screen.Flags & KVSIM_SCREEN_ALSO_DRIVER) {
        d->params.ScreenWidth = (int16_t)screen.Width;
        d->params.ScreenHeight = (int16_t)screen.Height;
    }
    return KVD_STATUS_SUCCESS;
}

static uint32_t register_rotator(KvDriver* d, uint64_t now_ms, const uint8_t* buffer,
                                 uint32_t in_length) {
    if (in_length != sizeof(KvSimRotator)) return KVD_STATUS_INVALID_PARAMETER;
    KvSimRotator r;
    memcpy(&r, buffer, sizeof r);
    if (r.Rotation < -1 || r.Rotation > 3) return KVD_STATUS_INVALID_PARAMETER;
    d->rotator.RotatorWindow = r.Window;
    if (r.Rotation >= 0) d->panel.rotation = (uint8_t)r.Rotation;
    int32_t args[2] = {r.Window, d->panel.rotation};
    kvd_log(d, now_ms, KVSIM_LOG_ROTATOR, 0, args, 2);
    return KVD_STATUS_SUCCESS;
}

uint32_t kvd_dispatch_private(KvDriver* d, uint64_t now_ms, uint32_t code, void* buffer,
                              uint32_t in_length, uint32_t out_length, uint32_t* returned) {
    uint8_t* b = (uint8_t*)buffer;
    int32_t v;
    switch (code) {
    case KVSIM_IOCTL_READ_STATE: {
        if (out_length < sizeof(KvSimState)) return KVD_STATUS_BUFFER_TOO_SMALL;
        KvSimState state;
        kvd_read_state(d, now_ms, &state);
        memcpy(b, &state, sizeof state);
        *returned = sizeof state;
        return KVD_STATUS_SUCCESS;
    }
    case KVSIM_IOCTL_READ_POINTER: {
        if (out_length < sizeof(KvSimPointer)) return KVD_STATUS_BUFFER_TOO_SMALL;
        KvSimPointer pointer;
        kvd_read_pointer(d, now_ms, &pointer);
        memcpy(b, &pointer, sizeof pointer);
        *returned = sizeof pointer;
        return KVD_STATUS_SUCCESS;
    }
    case KVSIM_IOCTL_READ_LOG:
        return read_log(d, b, in_length, out_length, returned);
    case KVSIM_IOCTL_PEN:
        return pen(d, now_ms, b, in_length);
    case KVSIM_IOCTL_STROKE:
        return stroke(d, now_ms, b, in_length);
    case KVSIM_IOCTL_SET_PORT:
        if (!read_value(b, in_length, 0, 255, &v)) return KVD_STATUS_INVALID_PARAMETER;
        d->params.DetectedPort = (uint8_t)v;
        return KVD_STATUS_SUCCESS;
    case KVSIM_IOCTL_SET_WIRING:
        if (!read_value(b, in_length, 0, 7, &v)) return KVD_STATUS_INVALID_PARAMETER;
        d->panel.wiring = (uint8_t)v;
        return KVD_STATUS_SUCCESS;
    case KVSIM_IOCTL_SET_ROTATION:
        if (!read_value(b, in_length, 0, 3, &v)) return KVD_STATUS_INVALID_PARAMETER;
        d->panel.rotation = (uint8_t)v;
        return KVD_STATUS_SUCCESS;
    case KVSIM_IOCTL_SET_RATE:
        if (!read_value(b, in_length, 0, KVSIM_MAX_RATE, &v)) return KVD_STATUS_INVALID_PARAMETER;
        kvt_set_rate(&d->touch, now_ms, (uint16_t)v);
        return KVD_STATUS_SUCCESS;
    case KVSIM_IOCTL_SET_SCREEN:
        return set_screen(d, b, in_length);
    case KVSIM_IOCTL_REGISTER_ROTATOR:
        return register_rotator(d, now_ms, b, in_length);
    case KVSIM_IOCTL_CLEAR_LOG:
        if (in_length != 0) return KVD_STATUS_INVALID_PARAMETER;
        kvl_clear(&d->log);
        return KVD_STATUS_SUCCESS;
    default:
        return KVD_STATUS_INVALID_DEVICE_REQUEST;
    }
}
