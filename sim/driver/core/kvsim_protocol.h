/* Private control requests of the stand-in KVTOUCH driver, used by kvsim
 * and the end-to-end tests only.
 *
 * They live under their own device type (0x8B4B) so that no code can ever
 * equal one of the product's requests (device type 0x000F). Layout as the
 * platform's CTL_CODE: METHOD_BUFFERED, FILE_ANY_ACCESS, so a handle opened
 * GENERIC_READ (as the programs open it) may send them too.
 *
 * Records are packed and little-endian, like the product's. A request that
 * reads a record requires exactly that input length; a request that writes
 * one requires room for it. */
#ifndef KVSIM_PROTOCOL_H
#define KVSIM_PROTOCOL_H

#include <stdint.h>

#include "common/device/kvtouch_protocol.h"

#ifdef __cplusplus
extern "C" {
#endif

#define KVSIM_DEVICE_TYPE 0x8B4Bu
#define KVSIM_CTL_CODE(function) ((KVSIM_DEVICE_TYPE << 16) | ((uint32_t)(function) << 2))

#define KVSIM_IOCTL_READ_STATE KVSIM_CTL_CODE(0x801)       /* out KvSimState */
#define KVSIM_IOCTL_READ_LOG KVSIM_CTL_CODE(0x802)         /* in KvSimLogQuery, out header + entries */
#define KVSIM_IOCTL_PEN KVSIM_CTL_CODE(0x803)              /* in KvSimPen */
#define KVSIM_IOCTL_STROKE KVSIM_CTL_CODE(0x804)           /* in KvSimStroke */
#define KVSIM_IOCTL_SET_PORT KVSIM_CTL_CODE(0x805)         /* in KvSimValue: DetectedPort 0..255 */
#define KVSIM_IOCTL_SET_WIRING KVSIM_CTL_CODE(0x806)       /* in KvSimValue: wiring flags 0..7 */
#define KVSIM_IOCTL_SET_ROTATION KVSIM_CTL_CODE(0x807)     /* in KvSimValue: rotation 0..3 */
#define KVSIM_IOCTL_SET_RATE KVSIM_CTL_CODE(0x808)         /* in KvSimValue: reports/s 0..KVSIM_MAX_RATE */
#define KVSIM_IOCTL_SET_SCREEN KVSIM_CTL_CODE(0x809)       /* in KvSimScreen */
#define KVSIM_IOCTL_REGISTER_ROTATOR KVSIM_CTL_CODE(0x80A) /* in KvSimRotator */
#define KVSIM_IOCTL_CLEAR_LOG KVSIM_CTL_CODE(0x80B)        /* no buffers */
#define KVSIM_IOCTL_READ_POINTER KVSIM_CTL_CODE(0x80C)     /* out KvSimPointer */

#define KVSIM_PROTOCOL_VERSION 1u
#define KVSIM_MAX_STROKE_POINTS 256
#define KVSIM_MAX_RATE 1000
#define KVSIM_RAW_MAX 1023

/* Where an injected point is given. */
#define KVSIM_SPACE_RAW 0u    /* raw controller coordinates 0..1023 */
#define KVSIM_SPACE_SCREEN 1u /* a pixel of the simulated display */

/* KvSimPen.Action */
#define KVSIM_PEN_DOWN 1u /* a new touch (a touch in progress is lifted first) */
#define KVSIM_PEN_MOVE 2u /* the finger slides; fails while the pen is up */
#define KVSIM_PEN_UP 3u   /* lift; nothing happens while the pen is up */

/* KvSimScreen.Flags */
#define KVSIM_SCREEN_ALSO_DRIVER 1u /* also store it as the driver's ScreenWidth/Height */

/* Product requests, in the order of KvSimState.RequestCounts. */
enum {
    KVSIM_REQ_GET_PARAMS,
    KVSIM_REQ_GET_TOUCH_STATE,
    KVSIM_REQ_CALIBRATION_SIGNAL,
    KVSIM_REQ_SET_TOUCH_MODE,
    KVSIM_REQ_SET_SOUND,
    KVSIM_REQ_SET_MOUSE_SPEED,
    KVSIM_REQ_SET_CALIBRATION,
    KVSIM_REQ_SET_SCREEN_SIZE,
    KVSIM_REQ_GET_AGENT_WINDOW,
    KVSIM_REQ_SET_AGENT_WINDOW,
    KVSIM_REQ_GET_ROTATOR_WINDOW,
    KVSIM_REQ_SOUND_TEST,
    KVSIM_REQ_COUNT
};

/* Event log kinds and the meaning of their Args. */
#define KVSIM_LOG_SET_REQUEST 1
/* Code = the request. Block requests: Args[7] = 1 when bytes 0,1,2,52,71
 * came back as the driver returned them, else 0.
 *   SetTouchMode:   TouchMode RBFunction RBAutoMode RBAutoSTime RBAutoETime RBAutoBeep
 *   SetSound:       SoundMode SoundTone SoundDuration
 *   SetMouseSpeed:  Bypass MouseHSpeed MouseVSpeed Acceleration
 *   SetCalibration: LeftX CenterX RightX TopY CenterY BottomY CalFlags
 *   SetScreenSize:  ScreenWidth ScreenHeight
 *   SetAgentWindow: AgentWindow Armed Reserved[0] Reserved[1] (as received) */
#define KVSIM_LOG_CALIBRATION_SIGNAL 2 /* Args[0] = code */
#define KVSIM_LOG_SOUND_TEST 3         /* Args[0] = tone, Args[1] = duration */
#define KVSIM_LOG_RIGHT_BUTTON 4       /* raw X, raw Y, mapped X, mapped Y, AgentWindow */
#define KVSIM_LOG_ROTATOR 5            /* RotatorWindow, Rotation */
#define KVSIM_LOG_INITIAL_SETTING 6    /* Code = setting index; accepted 0/1, type, length */

#pragma pack(push, 1)

typedef struct KvSimValue {
    int32_t Value;
} KvSimValue;

typedef struct KvSimPen {
    uint32_t Action; /* KVSIM_PEN_* */
    uint32_t Space;  /* KVSIM_SPACE_*; ignored by KVSIM_PEN_UP */
    int32_t X;
    int32_t Y;
} KvSimPen;

typedef struct KvSimStrokePoint {
    int32_t X;
    int32_t Y;
    uint32_t DurationMs; /* how long the finger rests here; the pen lifts after the last point */
} KvSimStrokePoint;

/* A whole touch played by the driver's clock: down at the first point now,
 * through every point, then up. A one-point stroke is a tap. */
typedef struct KvSimStroke {
    uint32_t Space;
    uint32_t PointCount; /* 1..KVSIM_MAX_STROKE_POINTS */
    KvSimStrokePoint Points[KVSIM_MAX_STROKE_POINTS];
} KvSimStroke;

typedef struct KvSimScreen {
    int32_t Width;  /* 2..32767 */
    int32_t Height; /* 2..32767 */
    uint32_t Flags; /* KVSIM_SCREEN_* */
} KvSimScreen;

typedef struct KvSimRotator {
    int32_t Window;   /* -1 unregisters */
    int32_t Rotation; /* 0..3, or -1 to keep the current rotation */
} KvSimRotator;

/* Fields in natural alignment, widest first, although the record is packed. */
typedef struct KvSimState {
    uint32_t Version;      /* KVSIM_PROTOCOL_VERSION */
    uint32_t StateSize;    /* sizeof(KvSimState) */
    uint32_t NowMs;        /* driver clock: ms since the driver started */
    uint32_t ReportsTotal; /* ReportCount without the 16-bit wrap */
    uint32_t PlayEndsMs;   /* when a playing touch lifts (driver clock) */
    uint32_t RequestCounts[KVSIM_REQ_COUNT]; /* product requests answered */
    uint32_t FailedRequests;                 /* product requests refused */
    uint32_t RightButtonTouches;
    uint32_t LogNextSequence;
    AgentRegistration Agent;
    RotatorRegistration Rotator;
    TouchState Touch;
    uint16_t ReportRate; /* reports per second while the pen is down */
    int16_t SimScreenWidth;
    int16_t SimScreenHeight;
    int16_t TouchScreenX; /* where the latest raw point lies on the simulated display */
    int16_t TouchScreenY;
    int16_t MappedX; /* where the driver's calibration puts it */
    int16_t MappedY;
    uint8_t Wiring;       /* the simulated panel's wiring, CalFlags bits */
    uint8_t TouchPlaying; /* a timed touch or stroke is still running */
    TouchParams Params;
    uint8_t Reserved[2];
} KvSimState;

/* What the driver would make of the controller's latest report as mouse
 * input: small, so that the pointer bridge can poll it often. */
typedef struct KvSimPointer {
    uint32_t Touches;      /* touches begun since the driver started (wraps) */
    uint32_t ReportsTotal; /* as in KvSimState */
    int16_t MappedX;       /* where the driver's calibration puts the latest report */
    int16_t MappedY;
    int16_t ScreenWidth;   /* the screen the driver maps onto (TouchParams) */
    int16_t ScreenHeight;
    uint8_t PenDown;       /* 1 while the panel is touched */
    uint8_t RightButton;   /* 1 when the latest touch is a right-button touch */
    uint8_t Reserved[2];
} KvSimPointer;

typedef struct KvSimLogQuery {
    uint32_t Since; /* first sequence number wanted (0 or 1: everything held) */
} KvSimLogQuery;

typedef struct KvSimLogEntry {
    uint32_t Sequence; /* 1, 2, 3 ... never reused, not even after a clear */
    uint32_t TimeMs;   /* driver clock */
    uint32_t Kind;     /* KVSIM_LOG_* */
    uint32_t Code;
    int32_t Args[8];
} KvSimLogEntry;

/* Reply of KVSIM_IOCTL_READ_LOG: this header, then Count entries. */
typedef struct KvSimLogHeader {
    uint32_t NextSequence;   /* the sequence the next entry will get */
    uint32_t OldestSequence; /* the oldest entry still held (== NextSequence when empty) */
    uint32_t Count;          /* entries that follow */
    uint32_t More;           /* 1 when more entries matched than fitted */
} KvSimLogHeader;

#pragma pack(pop)

KV_STATIC_ASSERT(sizeof(KvSimPen) == 16, kvsim_pen_size);
KV_STATIC_ASSERT(sizeof(KvSimStrokePoint) == 12, kvsim_stroke_point_size);
KV_STATIC_ASSERT(sizeof(KvSimLogEntry) == 48, kvsim_log_entry_size);
KV_STATIC_ASSERT(sizeof(KvSimPointer) == 20, kvsim_pointer_size);
KV_STATIC_ASSERT(sizeof(KvSimLogHeader) == 16, kvsim_log_header_size);
KV_STATIC_ASSERT(offsetof(KvSimState, Agent) == 80, kvsim_state_agent_at_80);
KV_STATIC_ASSERT(offsetof(KvSimState, Params) == 120, kvsim_state_params_at_120);
KV_STATIC_ASSERT(sizeof(KvSimState) == 204, kvsim_state_size);
KV_STATIC_ASSERT((KVSIM_IOCTL_READ_STATE >> 16) == 0x8B4B, kvsim_device_type);

#ifdef __cplusplus
}
#endif

#endif
