#include "sim/driver/core/kvtouch_driver.h"

#include <string.h>

static const uint8_t kUntouched0[3] = {0x4B, 0x56, 0x54};
static const uint8_t kUntouched52 = 0x52;
static const uint8_t kUntouched71 = 0x71;
static const uint8_t kRegistrationSpare[2] = {0xA6, 0x5A};

static const ComPort kComPorts[9] = {
    {0x3F8, 4}, {0x2F8, 3}, {0x3E8, 4}, {0x2E8, 3}, {0x3E0, 5},
    {0x2E0, 5}, {0x338, 10}, {0x238, 11}, {0x2F0, 12},
};

void kvd_init(KvDriver* d, uint64_t now_ms) {
    memset(d, 0, sizeof *d);
    d->start_ms = now_ms;

    TouchParams* p = &d->params;
    memcpy(p->Unused0, kUntouched0, sizeof kUntouched0);
    p->DetectedPort = 1;
    memcpy(p->ComPorts, kComPorts, sizeof kComPorts);
    p->TouchMode = 4;
    p->SoundMode = 2;
    p->SoundTone = 1000;
    p->SoundDuration = 20;
    p->Sensitivity = 5;
    p->Bypass = 0;
    p->MouseHSpeed = 10;
    p->MouseVSpeed = 10;
    p->Acceleration = 1;
    p->SleepTime = 10;
    p->Unused52 = kUntouched52;
    p->RBFunction = 0;
    p->RBAutoMode = 0;
    p->RBAutoSTime = 1;
    p->RBAutoETime = 3;
    p->RBAutoBeep = 1;
    p->Cal.LeftX = KVP_GLASS_LOW;
    p->Cal.CenterX = (KVP_GLASS_LOW + KVP_GLASS_HIGH) / 2;
    p->Cal.RightX = KVP_GLASS_HIGH;
    p->Cal.TopY = KVP_GLASS_LOW;
    p->Cal.CenterY = (KVP_GLASS_LOW + KVP_GLASS_HIGH) / 2;
    p->Cal.BottomY = KVP_GLASS_HIGH;
    p->CalFlags = 0;
    p->Unused71 = kUntouched71;
    p->ScreenWidth = 1024;
    p->ScreenHeight = 768;
    p->McuMode = 2;
    p->McuVersion = 0x17;
    memcpy(p->McuCode, "KV72", 4);

    d->agent.AgentWindow = -1;
    d->agent.Armed = 0;
    memcpy(d->agent.Reserved, kRegistrationSpare, 2);
    d->rotator.RotatorWindow = -1;
    d->rotator.Rotation = 0;
    memcpy(d->rotator.Reserved, kRegistrationSpare, 2);

    d->panel.wiring = 0;
    d->panel.rotation = 0;
    d->panel.width = 1024;
    d->panel.height = 768;
    kvt_init(&d->touch, KVD_DEFAULT_REPORT_RATE);
    kvl_init(&d->log);
}

uint32_t kvd_time(const KvDriver* d, uint64_t now_ms) {
    return (uint32_t)(now_ms > d->start_ms ? now_ms - d->start_ms : 0);
}

void kvd_log(KvDriver* d, uint64_t now_ms, uint32_t kind, uint32_t code, const int32_t* args,
             uint32_t nargs) {
    kvl_add(&d->log, kvd_time(d, now_ms), kind, code, args, nargs);
}

static void mapped_point(const KvDriver* d, int32_t raw_x, int32_t raw_y, int16_t* x, int16_t* y) {
    kvp_calibrated_point(&d->params.Cal, d->params.CalFlags, d->params.ScreenWidth,
                         d->params.ScreenHeight, d->panel.rotation, raw_x, raw_y, x, y);
}

/* ---- touches ---------------------------------------------------------- */

void kvd_pen_down(KvDriver* d, uint64_t now_ms, int16_t raw_x, int16_t raw_y, uint32_t hold_ms,
                  int open_ended) {
    kvt_press(&d->touch, now_ms, raw_x, raw_y, hold_ms, open_ended);
    d->touches++;
    d->right_button_touch = d->agent.Armed == 1;
    if (d->agent.Armed == 1) {
        /* An armed touch goes out with the right button held; clearing
         * Armed is how the agent learns its job is done. */
        int16_t mx, my;
        mapped_point(d, raw_x, raw_y, &mx, &my);
        int32_t args[5] = {raw_x, raw_y, mx, my, d->agent.AgentWindow};
        kvd_log(d, now_ms, KVSIM_LOG_RIGHT_BUTTON, 0, args, 5);
        d->agent.Armed = 0;
        d->right_button_touches++;
    }
}

int kvd_pen_move(KvDriver* d, uint64_t now_ms, int16_t raw_x, int16_t raw_y) {
    return kvt_move(&d->touch, now_ms, raw_x, raw_y);
}

int kvd_pen_up(KvDriver* d, uint64_t now_ms) { return kvt_release(&d->touch, now_ms); }

void kvd_read_pointer(KvDriver* d, uint64_t now_ms, KvSimPointer* p) {
    TouchState touch;
    memset(p, 0, sizeof *p);
    kvt_touch_state(&d->touch, now_ms, &touch);
    p->Touches = d->touches;
    p->ReportsTotal = kvt_total_reports(&d->touch, now_ms);
    mapped_point(d, touch.X, touch.Y, &p->MappedX, &p->MappedY);
    p->ScreenWidth = d->params.ScreenWidth;
    p->ScreenHeight = d->params.ScreenHeight;
    p->PenDown = (touch.Status & KV_STATUS_PEN_DOWN) ? 1 : 0;
    p->RightButton = d->right_button_touch;
}

void kvd_read_state(KvDriver* d, uint64_t now_ms, KvSimState* s) {
    memset(s, 0, sizeof *s);
    s->Version = KVSIM_PROTOCOL_VERSION;
    s->StateSize = (uint32_t)sizeof *s;
    s->NowMs = kvd_time(d, now_ms);
    s->Params = d->params;
    kvt_touch_state(&d->touch, now_ms, &s->Touch);
    s->Agent = d->agent;
    s->Rotator = d->rotator;
    s->Rotator.Rotation = d->panel.rotation;
    s->Wiring = d->panel.wiring;
    s->TouchPlaying = d->touch.playing;
    s->ReportRate = d->touch.rate;
    s->SimScreenWidth = d->panel.width;
    s->SimScreenHeight = d->panel.height;
    kvp_raw_to_screen(&d->panel, s->Touch.X, s->Touch.Y, &s->TouchScreenX, &s->TouchScreenY);
    mapped_point(d, s->Touch.X, s->Touch.Y, &s->MappedX, &s->MappedY);
    s->ReportsTotal = kvt_total_reports(&d->touch, now_ms);
    uint64_t end = kvt_play_end(&d->touch);
    s->PlayEndsMs = end ? kvd_time(d, end) : 0;
    memcpy(s->RequestCounts, d->request_counts, sizeof s->RequestCounts);
    s->FailedRequests = d->failed_requests;
    s->RightButtonTouches = d->right_button_touches;
    s->LogNextSequence = d->log.next_sequence;
}

/* ---- product requests --------------------------------------------------- */

static int32_t untouched_intact(const TouchParams* in) {
    return memcmp(in->Unused0, kUntouched0, 3) == 0 && in->Unused52 == kUntouched52 &&
           in->Unused71 == kUntouched71;
}

static void log_set(KvDriver* d, uint64_t now_ms, uint32_t code, int32_t* args, uint32_t nargs) {
    kvd_log(d, now_ms, KVSIM_LOG_SET_REQUEST, code, args, nargs);
}

/* A Set request of the parameter block: take its group from `in`. */
static void apply_group(KvDriver* d, uint64_t now_ms, uint32_t code, const TouchParams* in) {
    TouchParams* p = &d->params;
    int32_t a[8] = {0};
    a[7] = untouched_intact(in);
    switch (code) {
    case KV_IOCTL_SET_TOUCH_MODE:
        p->TouchMode = in->TouchMode;
        p->RBFunction = in->RBFunction;
        p->RBAutoMode = in->RBAutoMode;
        p->RBAutoSTime = in->RBAutoSTime;
        p->RBAutoETime = in->RBAutoETime;
        p->RBAutoBeep = in->RBAutoBeep;
        a[0] = p->TouchMode;
        a[1] = p->RBFunction;
        a[2] = p->RBAutoMode;
        a[3] = p->RBAutoSTime;
        a[4] = p->RBAutoETime;
        a[5] = p->RBAutoBeep;
        break;
    case KV_IOCTL_SET_SOUND:
        p->SoundMode = in->SoundMode;
        p->SoundTone = in->SoundTone;
        p->SoundDuration = in->SoundDuration;
        a[0] = p->SoundMode;
        a[1] = p->SoundTone;
        a[2] = p->SoundDuration;
        break;
    case KV_IOCTL_SET_MOUSE_SPEED:
        p->Bypass = in->Bypass;
        p->MouseHSpeed = in->MouseHSpeed;
        p->MouseVSpeed = in->MouseVSpeed;
        p->Acceleration = in->Acceleration;
        a[0] = p->Bypass;
        a[1] = p->MouseHSpeed;
        a[2] = p->MouseVSpeed;
        a[3] = p->Acceleration;
        break;
    case KV_IOCTL_SET_CALIBRATION:
        p->Cal = in->Cal;
        p->CalFlags = in->CalFlags;
        a[0] = p->Cal.LeftX;
        a[1] = p->Cal.CenterX;
        a[2] = p->Cal.RightX;
        a[3] = p->Cal.TopY;
        a[4] = p->Cal.CenterY;
        a[5] = p->Cal.BottomY;
        a[6] = p->CalFlags;
        break;
    case KV_IOCTL_SET_SCREEN_SIZE:
        p->ScreenWidth = in->ScreenWidth;
        p->ScreenHeight = in->ScreenHeight;
        a[0] = p->ScreenWidth;
        a[1] = p->ScreenHeight;
        break;
    default:
        return;
    }
    log_set(d, now_ms, code, a, 8);
}

typedef struct ProductRequest {
    uint32_t code;
    uint32_t size;
} ProductRequest;

/* In the order of KVSIM_REQ_*. */
static const ProductRequest kProductRequests[KVSIM_REQ_COUNT] = {
    {KV_IOCTL_GET_PARAMS, KV_TOUCH_PARAMS_SIZE},
    {KV_IOCTL_GET_TOUCH_STATE, KV_TOUCH_STATE_SIZE},
    {KV_IOCTL_CALIBRATION_SIGNAL, KV_CALIBRATION_SIGNAL_SIZE},
    {KV_IOCTL_SET_TOUCH_MODE, KV_TOUCH_PARAMS_SIZE},
    {KV_IOCTL_SET_SOUND, KV_TOUCH_PARAMS_SIZE},
    {KV_IOCTL_SET_MOUSE_SPEED, KV_TOUCH_PARAMS_SIZE},
    {KV_IOCTL_SET_CALIBRATION, KV_TOUCH_PARAMS_SIZE},
    {KV_IOCTL_SET_SCREEN_SIZE, KV_TOUCH_PARAMS_SIZE},
    {KV_IOCTL_GET_AGENT_WINDOW, KV_AGENT_REGISTRATION_SIZE},
    {KV_IOCTL_SET_AGENT_WINDOW, KV_AGENT_REGISTRATION_SIZE},
    {KV_IOCTL_GET_ROTATOR_WINDOW, KV_ROTATOR_REGISTRATION_SIZE},
    {KV_IOCTL_SOUND_TEST, KV_SOUND_TEST_SIZE},
};

static int product_index(uint32_t code) {
    for (int i = 0; i < KVSIM_REQ_COUNT; ++i)
        if (kProductRequests[i].code == code) return i;
    return -1;
}

/* Lengths already checked: exactly `size` bytes in and out. */
static uint32_t product_request(KvDriver* d, uint64_t now_ms, uint32_t code, uint8_t* buffer,
                                uint32_t* returned) {
    switch (code) {
    case KV_IOCTL_GET_PARAMS:
        memcpy(buffer, &d->params, sizeof d->params);
        *returned = sizeof d->params;
        return KVD_STATUS_SUCCESS;
    case KV_IOCTL_SET_TOUCH_MODE:
    case KV_IOCTL_SET_SOUND:
    case KV_IOCTL_SET_MOUSE_SPEED:
    case KV_IOCTL_SET_CALIBRATION:
    case KV_IOCTL_SET_SCREEN_SIZE: {
        TouchParams in;
        memcpy(&in, buffer, sizeof in);
        apply_group(d, now_ms, code, &in);
        memcpy(buffer, &d->params, sizeof d->params);
        *returned = sizeof d->params;
        return KVD_STATUS_SUCCESS;
    }
    case KV_IOCTL_GET_TOUCH_STATE: {
        TouchState state;
        kvt_touch_state(&d->touch, now_ms, &state);
        memcpy(buffer, &state, sizeof state);
        *returned = sizeof state;
        return KVD_STATUS_SUCCESS;
    }
    case KV_IOCTL_CALIBRATION_SIGNAL: {
        int32_t signal;
        memcpy(&signal, buffer, sizeof signal);
        kvd_log(d, now_ms, KVSIM_LOG_CALIBRATION_SIGNAL, code, &signal, 1);
        return KVD_STATUS_SUCCESS;
    }
    case KV_IOCTL_SOUND_TEST: {
        SoundTestRecord sound;
        memcpy(&sound, buffer, sizeof sound);
        int32_t args[2] = {sound.Tone, sound.Duration};
        kvd_log(d, now_ms, KVSIM_LOG_SOUND_TEST, code, args, 2);
        return KVD_STATUS_SUCCESS;
    }
    case KV_IOCTL_GET_AGENT_WINDOW:
        memcpy(buffer, &d->agent, sizeof d->agent);
        *returned = sizeof d->agent;
        return KVD_STATUS_SUCCESS;
    case KV_IOCTL_SET_AGENT_WINDOW: {
        AgentRegistration in;
        memcpy(&in, buffer, sizeof in);
        /* The spare bytes stay the driver's own. */
        d->agent.AgentWindow = in.AgentWindow;
        d->agent.Armed = in.Armed;
        int32_t args[4] = {in.AgentWindow, in.Armed, in.Reserved[0], in.Reserved[1]};
        log_set(d, now_ms, code, args, 4);
        memcpy(buffer, &d->agent, sizeof d->agent);
        *returned = sizeof d->agent;
        return KVD_STATUS_SUCCESS;
    }
    case KV_IOCTL_GET_ROTATOR_WINDOW: {
        RotatorRegistration reply = d->rotator;
        reply.Rotation = d->panel.rotation;
        memcpy(buffer, &reply, sizeof reply);
        *returned = sizeof reply;
        return KVD_STATUS_SUCCESS;
    }
    default:
        return KVD_STATUS_INVALID_DEVICE_REQUEST;
    }
}

uint32_t kvd_dispatch(KvDriver* d, uint64_t now_ms, uint32_t code, void* buffer, uint32_t in_length,
                      uint32_t out_length, uint32_t* bytes_returned) {
    uint32_t returned = 0;
    uint32_t status;
    int is_private = (code >> 16) == KVSIM_DEVICE_TYPE;
    if (buffer == NULL && (in_length != 0 || out_length != 0)) {
        status = KVD_STATUS_INVALID_PARAMETER;
    } else if (is_private) {
        status = kvd_dispatch_private(d, now_ms, code, buffer, in_length, out_length, &returned);
    } else {
        int index = product_index(code);
        if (index < 0) {
            status = KVD_STATUS_INVALID_DEVICE_REQUEST;
        } else {
            /* Both directions carry exactly the record, as the programs send it. */
            uint32_t size = kProductRequests[index].size;
            if (out_length < size)
                status = KVD_STATUS_BUFFER_TOO_SMALL;
            else if (in_length != size || out_length != size)
                status = KVD_STATUS_INVALID_PARAMETER;
            else
                status = product_request(d, now_ms, code, (uint8_t*)buffer, &returned);
            if (status == KVD_STATUS_SUCCESS) d->request_counts[index]++;
        }
    }
    if (status != KVD_STATUS_SUCCESS) {
        returned = 0;
        if (!is_private) d->failed_requests++; /* kvsim sees its own failures */
    }
    if (bytes_returned) *bytes_returned = returned;
    return status;
}
