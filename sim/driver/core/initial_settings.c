/* Initial settings from the product key: the values the installer writes,
 * taken only when their type, length and every byte are right. */
#include <string.h>

#include "sim/driver/core/kvtouch_driver.h"

const char* const kvd_setting_names[KVD_SETTING_COUNT] = {
    "VirtualButton", "RightButtonFunction", "RightButtonAutomatic", "FeedbackSound",
    "FeedbackTone",  "FeedbackDuration",    "MouseSpeed",           "PanelDirection",
};

static const uint32_t kLengths[KVD_SETTING_COUNT] = {1, 1, 4, 1, 2, 2, 4, 1};

static int same_name(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'a' && ca <= 'z') ca = (char)(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z') cb = (char)(cb - 'a' + 'A');
        if (ca != cb) return 0;
        if (ca == 0) return 1;
    }
}

static int in(int v, int lo, int hi) { return v >= lo && v <= hi; }

static int le16(const uint8_t* b) { return b[0] | b[1] << 8; }

/* Takes a well-formed value; 0 when a field is out of range. */
static int apply(TouchParams* p, int index, const uint8_t* b) {
    switch (index) {
    case KVD_SETTING_VIRTUAL_BUTTON:
        if (!in(b[0], 1, 4)) return 0;
        p->TouchMode = b[0];
        return 1;
    case KVD_SETTING_RIGHT_BUTTON_FUNCTION:
        if (!in(b[0], 0, 1)) return 0;
        p->RBFunction = b[0];
        return 1;
    case KVD_SETTING_RIGHT_BUTTON_AUTOMATIC:
        if (!in(b[0], 0, 1) || !in(b[1], 0, 9) || !in(b[2], 0, 9) || !in(b[3], 0, 1)) return 0;
        p->RBAutoMode = b[0];
        p->RBAutoSTime = b[1];
        p->RBAutoETime = b[2];
        p->RBAutoBeep = b[3];
        return 1;
    case KVD_SETTING_FEEDBACK_SOUND:
        if (!in(b[0], 1, 4)) return 0;
        p->SoundMode = b[0];
        return 1;
    case KVD_SETTING_FEEDBACK_TONE:
        if (!in(le16(b), 200, 5000)) return 0;
        p->SoundTone = (int16_t)le16(b);
        return 1;
    case KVD_SETTING_FEEDBACK_DURATION:
        if (!in(le16(b), 10, 50)) return 0;
        p->SoundDuration = (int16_t)le16(b);
        return 1;
    case KVD_SETTING_MOUSE_SPEED:
        if (!in(b[0], 1, 20) || !in(b[1], 1, 20) || !in(b[2], 1, 4) || !in(b[3], 0, 1)) return 0;
        p->MouseHSpeed = b[0];
        p->MouseVSpeed = b[1];
        p->Acceleration = b[2];
        p->Bypass = b[3];
        return 1;
    case KVD_SETTING_PANEL_DIRECTION:
        if (!in(b[0], 0, 7)) return 0;
        p->CalFlags = b[0];
        return 1;
    default:
        return 0;
    }
}

int kvd_apply_setting(KvDriver* d, uint64_t now_ms, const char* name, uint32_t type,
                      const void* data, uint32_t length) {
    int index = -1;
    for (int i = 0; i < KVD_SETTING_COUNT; ++i)
        if (name && same_name(name, kvd_setting_names[i])) index = i;
    if (index < 0) return -1;
    int accepted = type == KVD_REG_BINARY && length == kLengths[index] && data != NULL &&
                   apply(&d->params, index, (const uint8_t*)data);
    int32_t args[3] = {accepted, (int32_t)type, (int32_t)length};
    kvd_log(d, now_ms, KVSIM_LOG_INITIAL_SETTING, (uint32_t)index, args, 3);
    return accepted;
}
