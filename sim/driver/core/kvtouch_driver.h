/* The stand-in KVTOUCH driver: its whole state and one entry point for
 * control requests, shared by the kernel-mode host and the unit tests'
 * fake device. Portable C11; the host supplies the time and the lock.
 *
 * Requests use one buffer for input and output (as buffered transfers
 * do): every length is checked before the buffer is touched, the input is
 * read completely before any reply is written, and a reply never exceeds
 * the output length.
 *
 * Settings at start (before the product key is read):
 *   TouchMode 4 (drag-drop), SoundMode 2 (touch down only), SoundTone 1000,
 *   SoundDuration 20, Sensitivity 5, Bypass 0, MouseHSpeed 10,
 *   MouseVSpeed 10, Acceleration 1, SleepTime 10, RBFunction 0,
 *   RBAutoMode 0, RBAutoSTime 1 (1 s), RBAutoETime 3 (2 s), RBAutoBeep 1,
 *   CalData 32,511,991,32,511,991 with CalFlags 0 (right for the simulated
 *   glass wired straight), screen 1024 x 768, DetectedPort 1, COM1..COM9
 *   filled with the usual base ports and IRQs, firmware mode 2, version
 *   0x17, code "KV72"; the bytes nobody uses hold 0x4B 0x56 0x54 (0..2),
 *   0x52 (52) and 0x71 (71), and the registrations' spare bytes 0xA6 0x5A,
 *   so that whoever sends them back can be checked. No agent or rotator
 *   is registered (-1), rotation 0, the simulated panel is wired straight
 *   over a 1024 x 768 display and reports 100 times a second. */
#ifndef KVTOUCH_DRIVER_H
#define KVTOUCH_DRIVER_H

#include <stdint.h>

#include "common/device/kvtouch_protocol.h"
#include "sim/driver/core/event_log.h"
#include "sim/driver/core/kvsim_protocol.h"
#include "sim/driver/core/panel_geometry.h"
#include "sim/driver/core/touch_sim.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Completion statuses, with the platform's values so the host passes them
 * on unchanged. */
#define KVD_STATUS_SUCCESS 0x00000000u
#define KVD_STATUS_INVALID_PARAMETER 0xC000000Du      /* bad input length or value */
#define KVD_STATUS_INVALID_DEVICE_REQUEST 0xC0000010u /* unknown code */
#define KVD_STATUS_BUFFER_TOO_SMALL 0xC0000023u       /* no room for the reply */
#define KVD_STATUS_INVALID_DEVICE_STATE 0xC0000184u   /* e.g. moving a lifted pen */

#define KVD_DEFAULT_REPORT_RATE 100
#define KVD_REG_BINARY 3u

/* Initial settings, by their product-key value names. */
enum {
    KVD_SETTING_VIRTUAL_BUTTON,        /* 1 byte: TouchMode 1..4 */
    KVD_SETTING_RIGHT_BUTTON_FUNCTION, /* 1 byte: RBFunction 0..1 */
    KVD_SETTING_RIGHT_BUTTON_AUTOMATIC, /* 4 bytes: mode 0..1, STime 0..9, ETime 0..9, beep 0..1 */
    KVD_SETTING_FEEDBACK_SOUND,        /* 1 byte: SoundMode 1..4 */
    KVD_SETTING_FEEDBACK_TONE,         /* 2 bytes LE: 200..5000 */
    KVD_SETTING_FEEDBACK_DURATION,     /* 2 bytes LE: 10..50 */
    KVD_SETTING_MOUSE_SPEED,           /* 4 bytes: H 1..20, V 1..20, accel 1..4, bypass 0..1 */
    KVD_SETTING_PANEL_DIRECTION,       /* 1 byte: CalFlags 0..7 */
    KVD_SETTING_COUNT
};
extern const char* const kvd_setting_names[KVD_SETTING_COUNT];

typedef struct KvDriver {
    uint64_t start_ms;
    TouchParams params;
    AgentRegistration agent;
    RotatorRegistration rotator;
    KvPanel panel; /* rotation here is the one GetRotatorWindow reports */
    KvTouchSim touch;
    KvEventLog log;
    uint32_t request_counts[KVSIM_REQ_COUNT];
    uint32_t failed_requests;
    uint32_t right_button_touches;
    uint32_t touches;          /* pen-downs, counted for the pointer bridge */
    uint8_t right_button_touch; /* the latest touch was the armed one */
} KvDriver;

void kvd_init(KvDriver* d, uint64_t now_ms);

/* One product-key value (REG_BINARY only). Returns 1 when taken, 0 when
 * malformed (wrong type or length, a byte out of range: the whole value is
 * ignored and the settings stay as they were), -1 for a name not listed.
 * Names compare without regard to case, as the registry does. */
int kvd_apply_setting(KvDriver* d, uint64_t now_ms, const char* name, uint32_t type,
                      const void* data, uint32_t length);

/* One control request. `buffer` holds in_length bytes of input and has
 * room for out_length bytes of output (it is max(in, out) long).
 * *bytes_returned is 0 unless the request succeeds. */
uint32_t kvd_dispatch(KvDriver* d, uint64_t now_ms, uint32_t code, void* buffer, uint32_t in_length,
                      uint32_t out_length, uint32_t* bytes_returned);

/* Touch injection, as the private requests do it. Coordinates are raw
 * (0..1023). A pen-down while the agent is armed is that touch. */
void kvd_pen_down(KvDriver* d, uint64_t now_ms, int16_t raw_x, int16_t raw_y, uint32_t hold_ms,
                  int open_ended);
int kvd_pen_move(KvDriver* d, uint64_t now_ms, int16_t raw_x, int16_t raw_y);
int kvd_pen_up(KvDriver* d, uint64_t now_ms);

/* The whole state as KVSIM_IOCTL_READ_STATE gives it. */
void kvd_read_state(KvDriver* d, uint64_t now_ms, KvSimState* state);

/* The latest report as mouse input (KVSIM_IOCTL_READ_POINTER). */
void kvd_read_pointer(KvDriver* d, uint64_t now_ms, KvSimPointer* pointer);

/* Private requests (kvsim_requests.c); codes of device type 0x8B4B. */
uint32_t kvd_dispatch_private(KvDriver* d, uint64_t now_ms, uint32_t code, void* buffer,
                              uint32_t in_length, uint32_t out_length, uint32_t* bytes_returned);
uint32_t kvd_time(const KvDriver* d, uint64_t now_ms);
void kvd_log(KvDriver* d, uint64_t now_ms, uint32_t kind, uint32_t code, const int32_t* args,
             uint32_t nargs);

#ifdef __cplusplus
}
#endif

#endif
