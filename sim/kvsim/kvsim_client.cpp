#include "sim/kvsim/kvsim_client.h"

#include <windows.h>

#include <cstring>

namespace kvsim {

Client::~Client() { Close(); }

bool Client::Open() {
    Close();
    handle_ = CreateFileA(KVTOUCH_DEVICE_PATH, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        lastError_ = GetLastError();
        return false;
    }
    return true;
}

void Client::Close() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool Client::IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

bool Client::Control(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                     std::uint32_t outSize, std::uint32_t* returned) {
    DWORD bytes = 0;
    BOOL ok = DeviceIoControl(handle_, code, const_cast<void*>(in), inSize, out, outSize, &bytes,
                              nullptr);
    if (returned) *returned = bytes;
    lastError_ = ok ? 0 : GetLastError();
    return ok != FALSE;
}

bool Client::ReadState(KvSimState& state) {
    std::uint32_t bytes = 0;
    if (!Control(KVSIM_IOCTL_READ_STATE, nullptr, 0, &state, sizeof state, &bytes)) return false;
    if (bytes != sizeof state || state.Version != KVSIM_PROTOCOL_VERSION ||
        state.StateSize != sizeof state) {
        lastError_ = ERROR_REVISION_MISMATCH;  // a driver of another build
        return false;
    }
    return true;
}

bool Client::ReadPointer(KvSimPointer& pointer) {
    std::uint32_t bytes = 0;
    if (!Control(KVSIM_IOCTL_READ_POINTER, nullptr, 0, &pointer, sizeof pointer, &bytes))
        return false;
    if (bytes != sizeof pointer) {
        lastError_ = ERROR_REVISION_MISMATCH;
        return false;
    }
    return true;
}

bool Client::ReadLog(std::uint32_t since, std::vector<KvSimLogEntry>& entries,
                     KvSimLogHeader* header) {
    entries.clear();
    constexpr std::uint32_t kBatch = 64;
    std::vector<std::uint8_t> buffer(sizeof(KvSimLogHeader) + kBatch * sizeof(KvSimLogEntry));
    KvSimLogHeader h{};
    for (;;) {
        KvSimLogQuery query{since};
        std::uint32_t bytes = 0;
        if (!Control(KVSIM_IOCTL_READ_LOG, &query, sizeof query, buffer.data(),
                     static_cast<std::uint32_t>(buffer.size()), &bytes))
            return false;
        std::memcpy(&h, buffer.data(), sizeof h);
        for (std::uint32_t i = 0; i < h.Count; ++i) {
            KvSimLogEntry e;
            std::memcpy(&e, buffer.data() + sizeof h + i * sizeof e, sizeof e);
            entries.push_back(e);
            since = e.Sequence + 1;
        }
        if (!h.More || h.Count == 0) break;
    }
    if (header) *header = h;
    return true;
}

bool Client::PenDown(std::uint32_t space, std::int32_t x, std::int32_t y) {
    KvSimPen pen{KVSIM_PEN_DOWN, space, x, y};
    return Control(KVSIM_IOCTL_PEN, &pen, sizeof pen, nullptr, 0);
}

bool Client::PenMove(std::uint32_t space, std::int32_t x, std::int32_t y) {
    KvSimPen pen{KVSIM_PEN_MOVE, space, x, y};
    return Control(KVSIM_IOCTL_PEN, &pen, sizeof pen, nullptr, 0);
}

bool Client::PenUp() {
    KvSimPen pen{KVSIM_PEN_UP, KVSIM_SPACE_RAW, 0, 0};
    return Control(KVSIM_IOCTL_PEN, &pen, sizeof pen, nullptr, 0);
}

bool Client::Touch(std::uint32_t space, std::int32_t x, std::int32_t y, std::uint32_t holdMs) {
    return Stroke(space, {KvSimStrokePoint{x, y, holdMs}});
}

bool Client::Stroke(std::uint32_t space, const std::vector<KvSimStrokePoint>& points) {
    if (points.empty() || points.size() > KVSIM_MAX_STROKE_POINTS) {
        lastError_ = ERROR_INVALID_PARAMETER;
        return false;
    }
    KvSimStroke stroke{};
    stroke.Space = space;
    stroke.PointCount = static_cast<std::uint32_t>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) stroke.Points[i] = points[i];
    return Control(KVSIM_IOCTL_STROKE, &stroke, sizeof stroke, nullptr, 0);
}

bool Client::WaitUntilLifted(std::uint32_t timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        KvSimState state;
        if (!ReadState(state)) return false;
        if (!state.TouchPlaying) return true;
        if (GetTickCount() - start >= timeoutMs) {
            lastError_ = WAIT_TIMEOUT;
            return false;
        }
        Sleep(5);
    }
}

bool Client::SetValue(std::uint32_t code, std::int32_t value) {
    KvSimValue v{value};
    return Control(code, &v, sizeof v, nullptr, 0);
}

bool Client::SetDetectedPort(std::int32_t port) { return SetValue(KVSIM_IOCTL_SET_PORT, port); }
bool Client::SetWiring(std::int32_t flags) { return SetValue(KVSIM_IOCTL_SET_WIRING, flags); }
bool Client::SetRotation(std::int32_t rotation) {
    return SetValue(KVSIM_IOCTL_SET_ROTATION, rotation);
}
bool Client::SetRate(std::int32_t reportsPerSecond) {
    return SetValue(KVSIM_IOCTL_SET_RATE, reportsPerSecond);
}

bool Client::SetScreen(std::int32_t width, std::int32_t height, bool alsoDriver) {
    KvSimScreen screen{width, height, alsoDriver ? KVSIM_SCREEN_ALSO_DRIVER : 0u};
    return Control(KVSIM_IOCTL_SET_SCREEN, &screen, sizeof screen, nullptr, 0);
}

bool Client::RegisterRotator(std::int32_t window, std::int32_t rotation) {
    KvSimRotator rotator{window, rotation};
    return Control(KVSIM_IOCTL_REGISTER_ROTATOR, &rotator, sizeof rotator, nullptr, 0);
}

bool Client::ClearLog() { return Control(KVSIM_IOCTL_CLEAR_LOG, nullptr, 0, nullptr, 0); }

bool Client::SetCalibration(const CalData& cal, std::uint8_t flags) {
    TouchParams p{};
    if (!Control(KV_IOCTL_GET_PARAMS, &p, sizeof p, &p, sizeof p)) return false;
    p.Cal = cal;
    p.CalFlags = flags;
    return Control(KV_IOCTL_SET_CALIBRATION, &p, sizeof p, &p, sizeof p);
}

std::string DescribeError(std::uint32_t error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return "the KVTOUCH device does not exist (driver not started?)";
    case ERROR_INVALID_FUNCTION: return "the driver does not know this request";
    case ERROR_INVALID_PARAMETER: return "the driver refused the values or the buffer length";
    case ERROR_INSUFFICIENT_BUFFER: return "the reply buffer is too small";
    case ERROR_BAD_COMMAND: return "not possible in the current state (is the pen up?)";
    case ERROR_REVISION_MISMATCH: return "the driver is of another build than this kvsim";
    case WAIT_TIMEOUT: return "timed out";
    default: return "error " + std::to_string(error);
    }
}

}  // namespace kvsim
