#include "tests/fakes/fake_device.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace kv {

namespace {

std::uint32_t ErrorOf(std::uint32_t status) {
    switch (status) {
    case KVD_STATUS_INVALID_DEVICE_REQUEST: return FakeDevice::kErrorInvalidFunction;
    case KVD_STATUS_INVALID_PARAMETER: return FakeDevice::kErrorInvalidParameter;
    case KVD_STATUS_BUFFER_TOO_SMALL: return FakeDevice::kErrorInsufficientBuffer;
    case KVD_STATUS_INVALID_DEVICE_STATE: return FakeDevice::kErrorBadCommand;
    default: return FakeDevice::kErrorGenFailure;
    }
}

}  // namespace

FakeDevice::FakeDevice() : driver_(std::make_unique<KvDriver>()) { kvd_init(driver_.get(), now_); }

FakeDevice::~FakeDevice() = default;

void FakeDevice::ResetDriver() { kvd_init(driver_.get(), now_); }

NativeHandle FakeDevice::CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                                     SecurityAttributesRecord* security, std::uint32_t disposition,
                                     std::uint32_t attributes, NativeHandle templateFile) {
    Open open;
    open.path = path ? path : "";
    open.access = access;
    open.share = share;
    open.securityGiven = security != nullptr;
    if (security) open.security = *security;
    open.disposition = disposition;
    open.attributes = attributes;
    open.templateFile = templateFile;
    // Device names compare without regard to case, as the object manager does.
    std::string upper = open.path;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (!loaded_ || upper != KVTOUCH_DEVICE_PATH) {
        lastError_ = kErrorFileNotFound;
        open.result = kInvalidHandle;
    } else {
        open.result = nextHandle_;
        nextHandle_ += 4;
        open_.insert(open.result);
    }
    opens_.push_back(open);
    return open.result;
}

bool FakeDevice::DeviceIoControl(NativeHandle device, std::uint32_t code, void* in,
                                 std::uint32_t inSize, void* out, std::uint32_t outSize,
                                 std::uint32_t* bytesReturned, OverlappedRecord* /*overlapped*/) {
    Request request;
    request.handle = device;
    request.code = code;
    request.inSize = inSize;
    request.outSize = outSize;
    if (in && inSize) request.input.assign(static_cast<std::uint8_t*>(in),
                                           static_cast<std::uint8_t*>(in) + inSize);
    if (bytesReturned) *bytesReturned = 0;

    auto fail = [&](std::uint32_t error) {
        lastError_ = error;
        request.timeMs = now_;
        requests_.push_back(std::move(request));
        return false;
    };
    if (open_.count(device) == 0) return fail(kErrorInvalidHandle);
    if ((in == nullptr && inSize) || (out == nullptr && outSize)) return fail(998);  // no access
    if (failRequests_) return fail(kErrorGenFailure);

    now_ += advancePerRequest_;
    if (beforeRequest) beforeRequest(*this, code, request.input);

    std::vector<std::uint8_t> system(std::max(inSize, outSize));
    if (inSize) std::memcpy(system.data(), in, inSize);
    std::uint32_t returned = 0;
    request.status = kvd_dispatch(driver_.get(), now_, code, system.empty() ? nullptr : system.data(),
                                  inSize, outSize, &returned);
    if (request.status != KVD_STATUS_SUCCESS) return fail(ErrorOf(request.status));
    returned = std::min(returned, outSize);
    if (returned) std::memcpy(out, system.data(), returned);
    request.output.assign(system.begin(), system.begin() + returned);
    request.succeeded = true;
    request.timeMs = now_;
    requests_.push_back(std::move(request));
    if (bytesReturned) *bytesReturned = returned;
    return true;
}

bool FakeDevice::CloseHandle(NativeHandle handle) {
    closes_.push_back(handle);
    if (open_.erase(handle) == 0) {
        lastError_ = kErrorInvalidHandle;
        return false;
    }
    return true;
}

KvSimState FakeDevice::State() {
    KvSimState state;
    kvd_read_state(driver_.get(), now_, &state);
    return state;
}

std::vector<KvSimLogEntry> FakeDevice::Log(std::uint32_t since) const {
    std::vector<KvSimLogEntry> entries(KVL_CAPACITY);
    KvSimLogHeader header;
    kvl_read(&driver_->log, since, entries.data(), KVL_CAPACITY, &header);
    entries.resize(header.Count);
    return entries;
}

void FakeDevice::Tap(int rawX, int rawY, std::uint32_t holdMs) {
    kvd_pen_down(driver_.get(), now_, static_cast<std::int16_t>(rawX), static_cast<std::int16_t>(rawY),
                 holdMs, 0);
}

void FakeDevice::TapScreen(int x, int y, std::uint32_t holdMs) {
    std::int16_t rx = 0, ry = 0;
    if (kvp_screen_to_raw(&driver_->panel, x, y, &rx, &ry)) Tap(rx, ry, holdMs);
}

void FakeDevice::PenDown(int rawX, int rawY) {
    kvd_pen_down(driver_.get(), now_, static_cast<std::int16_t>(rawX), static_cast<std::int16_t>(rawY),
                 0, 1);
}

bool FakeDevice::PenMove(int rawX, int rawY) {
    return kvd_pen_move(driver_.get(), now_, static_cast<std::int16_t>(rawX),
                        static_cast<std::int16_t>(rawY)) != 0;
}

void FakeDevice::PenUp() { kvd_pen_up(driver_.get(), now_); }

std::uint32_t FakeDevice::Private(std::uint32_t code, void* buffer, std::uint32_t inSize,
                                  std::uint32_t outSize, std::uint32_t* returned) {
    std::uint32_t ignored = 0;
    return kvd_dispatch(driver_.get(), now_, code, buffer, inSize, outSize,
                        returned ? returned : &ignored);
}

int FakeDevice::ApplySetting(const char* name, std::uint32_t type,
                             const std::vector<std::uint8_t>& data) {
    return kvd_apply_setting(driver_.get(), now_, name, type, data.empty() ? nullptr : data.data(),
                             static_cast<std::uint32_t>(data.size()));
}

std::vector<FakeDevice::Request> FakeDevice::RequestsWithCode(std::uint32_t code) const {
    std::vector<Request> found;
    for (const auto& r : requests_)
        if (r.code == code) found.push_back(r);
    return found;
}

}  // namespace kv
