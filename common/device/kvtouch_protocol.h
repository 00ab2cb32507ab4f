/* Wire contract between the programs and the KVTOUCH driver.
 *
 * Plain C so that the stand-in driver (a kernel-mode C module) and the
 * C++ programs share one definition. Every record is packed and
 * little-endian; both of our targets (x86_64 Linux for unit tests,
 * x86_64 Windows for the programs) are little-endian, so the structs are
 * the wire format byte for byte. The offsets are checked at compile time
 * below and against byte patterns in the unit tests. */
#ifndef KVTOUCH_PROTOCOL_H
#define KVTOUCH_PROTOCOL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Device name: programs open "\\.\KVTOUCH"; the message names the Win9x
 * driver file on every platform. */
#define KVTOUCH_DEVICE_PATH "\\\\.\\KVTOUCH"
#define KVTOUCH_DRIVER_FILE "KVTOUCH.vxd"

/* Request codes: device type 0x000F, METHOD_BUFFERED, FILE_ANY_ACCESS.
 * Input and output are always the same buffer of the same length. */
#define KV_IOCTL_GET_PARAMS 0xF2010u
#define KV_IOCTL_GET_TOUCH_STATE 0xF2030u
#define KV_IOCTL_CALIBRATION_SIGNAL 0xF2040u
#define KV_IOCTL_SET_TOUCH_MODE 0xF2060u
#define KV_IOCTL_SET_SOUND 0xF2070u
#define KV_IOCTL_SET_MOUSE_SPEED 0xF2090u
#define KV_IOCTL_SET_CALIBRATION 0xF20A0u
#define KV_IOCTL_SET_SCREEN_SIZE 0xF20B0u
#define KV_IOCTL_GET_AGENT_WINDOW 0xF3010u
#define KV_IOCTL_SET_AGENT_WINDOW 0xF3020u
#define KV_IOCTL_GET_ROTATOR_WINDOW 0xF4010u
#define KV_IOCTL_SOUND_TEST 0xF5010u

#define KV_TOUCH_PARAMS_SIZE 82
#define KV_TOUCH_STATE_SIZE 8
#define KV_AGENT_REGISTRATION_SIZE 8
#define KV_ROTATOR_REGISTRATION_SIZE 8
#define KV_SOUND_TEST_SIZE 4
#define KV_CALIBRATION_SIGNAL_SIZE 4

/* TouchState.Status bit: the panel is being touched. */
#define KV_STATUS_PEN_DOWN 0x08u

/* CalFlags bits. */
#define KV_CAL_MIRROR_X 1u
#define KV_CAL_MIRROR_Y 2u
#define KV_CAL_SWAP_XY 4u

#pragma pack(push, 1)

typedef struct ComPort {
    uint16_t BasePort; /* the port's I/O base address */
    uint16_t Irq;
} ComPort;

typedef struct CalData {
    int16_t LeftX;
    int16_t CenterX;
    int16_t RightX;
    int16_t TopY;
    int16_t CenterY;
    int16_t BottomY;
} CalData;

typedef struct TouchParams {
    uint8_t Unused0[3]; /* carried back to the driver untouched */
    uint8_t DetectedPort;
    ComPort ComPorts[9];
    uint8_t TouchMode;
    uint8_t SoundMode;
    int16_t SoundTone;
    int16_t SoundDuration;
    uint8_t Sensitivity;
    uint8_t Bypass;
    uint8_t MouseHSpeed;
    uint8_t MouseVSpeed;
    uint8_t Acceleration;
    uint8_t SleepTime;
    uint8_t Unused52;
    uint8_t RBFunction;
    uint8_t RBAutoMode;
    uint8_t RBAutoSTime;
    uint8_t RBAutoETime;
    uint8_t RBAutoBeep;
    CalData Cal;
    uint8_t CalFlags;
    uint8_t Unused71;
    int16_t ScreenWidth;
    int16_t ScreenHeight;
    uint8_t McuMode;
    uint8_t McuVersion;
    uint8_t McuCode[4];
} TouchParams;

typedef struct TouchState {
    int16_t X;
    int16_t Y;
    uint8_t Status;
    uint8_t Unused5;
    uint16_t ReportCount;
} TouchState;

typedef struct AgentRegistration {
    int32_t AgentWindow; /* -1: none registered */
    int16_t Armed;
    uint8_t Reserved[2]; /* kept as the driver last returned them */
} AgentRegistration;

typedef struct RotatorRegistration {
    int32_t RotatorWindow; /* -1: none running */
    int16_t Rotation;      /* display rotation 0..3 */
    uint8_t Reserved[2];
} RotatorRegistration;

typedef struct SoundTestRecord {
    int16_t Tone;
    int16_t Duration;
} SoundTestRecord;

#pragma pack(pop)

#define KV_STATIC_ASSERT(c, m) typedef char kv_static_assert_##m[(c) ? 1 : -1]
KV_STATIC_ASSERT(sizeof(TouchParams) == KV_TOUCH_PARAMS_SIZE, params_size);
KV_STATIC_ASSERT(offsetof(TouchParams, TouchMode) == 40, touch_mode_at_40);
KV_STATIC_ASSERT(offsetof(TouchParams, Cal) == 58, cal_at_58);
KV_STATIC_ASSERT(offsetof(TouchParams, ScreenWidth) == 72, screen_at_72);
KV_STATIC_ASSERT(offsetof(TouchParams, McuCode) == 78, mcu_code_at_78);
KV_STATIC_ASSERT(sizeof(TouchState) == KV_TOUCH_STATE_SIZE, state_size);
KV_STATIC_ASSERT(sizeof(AgentRegistration) == KV_AGENT_REGISTRATION_SIZE, agent_size);
KV_STATIC_ASSERT(sizeof(RotatorRegistration) == KV_ROTATOR_REGISTRATION_SIZE, rotator_size);
KV_STATIC_ASSERT(sizeof(SoundTestRecord) == KV_SOUND_TEST_SIZE, sound_size);

#ifdef __cplusplus
}
#endif

#endif
