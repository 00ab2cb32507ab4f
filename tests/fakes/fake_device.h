// The KVTOUCH device for unit tests: a DevicePort backed by the stand-in
// driver's own core, so a program under test talks to the same logic it
// meets under Wine.
//
// It behaves as the platform does: CreateFileA gives a handle only for
// "\\.\KVTOUCH" while the driver is loaded (else -1); DeviceIoControl
// copies the input into one system buffer of max(in, out) bytes, lets the
// driver answer, and copies back only the bytes the driver returned, and
// only on success; a closed or unknown handle fails. The clock is the
// test's: it moves only when the test moves it (or by a fixed step per
// request). Every request is recorded with copies of its buffers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/ports/device_port.h"
#include "sim/driver/core/kvtouch_driver.h"

namespace kv {

class FakeDevice : public DevicePort {
public:
    struct Open {
        std::string path;
        std::uint32_t access = 0, share = 0, disposition = 0, attributes = 0;
        bool securityGiven = false;
        SecurityAttributesRecord security{};
        NativeHandle templateFile = 0;
        NativeHandle result = kInvalidHandle;
    };

    struct Request {
        NativeHandle handle = 0;
        std::uint32_t code = 0;
        std::uint32_t inSize = 0, outSize = 0;
        std::vector<std::uint8_t> input;  // the caller's input as sent
        std::vector<std::uint8_t> output; // what was copied back (empty on failure)
        bool succeeded = false;
        std::uint32_t status = 0; // the driver's completion status
        std::uint64_t timeMs = 0;
    };

    // Win32 error codes as DeviceIoControl would leave them.
    static constexpr std::uint32_t kErrorInvalidFunction = 1;
    static constexpr std::uint32_t kErrorFileNotFound = 2;
    static constexpr std::uint32_t kErrorInvalidHandle = 6;
    static constexpr std::uint32_t kErrorBadCommand = 22;
    static constexpr std::uint32_t kErrorGenFailure = 31;
    static constexpr std::uint32_t kErrorInvalidParameter = 87;
    static constexpr std::uint32_t kErrorInsufficientBuffer = 122;

    FakeDevice();
    ~FakeDevice() override;

    // DevicePort.
    NativeHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                             SecurityAttributesRecord* security, std::uint32_t disposition,
                             std::uint32_t attributes, NativeHandle templateFile) override;
    bool DeviceIoControl(NativeHandle device, std::uint32_t code, void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* bytesReturned,
                         OverlappedRecord* overlapped) override;
    bool CloseHandle(NativeHandle handle) override;

    // The world.
    void SetLoaded(bool loaded) { loaded_ = loaded; }  // not loaded: opens fail
    void SetRequestsFail(bool fail) { failRequests_ = fail; }  // every request fails, driver untouched
    std::uint32_t LastError() const { return lastError_; }
    // A fresh driver, as after a restart (settings from the product key are
    // not re-read: apply them again with ApplySetting).
    void ResetDriver();

    // The clock, in ms; the driver is started at 0.
    std::uint64_t Now() const { return now_; }
    void SetNow(std::uint64_t ms) { now_ = ms; }
    void Advance(std::uint64_t ms) { now_ += ms; }
    // Moves the clock by `ms` before each request is answered (0: off), so a
    // polling loop sees time pass.
    void SetAdvancePerRequest(std::uint64_t ms) { advancePerRequest_ = ms; }
    // Called before each request reaches the driver (after the clock step):
    // a test can inject or lift a touch at a given point of a conversation.
    std::function<void(FakeDevice&, std::uint32_t code, const std::vector<std::uint8_t>& input)>
        beforeRequest;

    // The driver's state, to read or to set up directly.
    KvDriver& Driver() { return *driver_; }
    TouchParams& Params() { return driver_->params; }
    KvSimState State();
    std::vector<KvSimLogEntry> Log(std::uint32_t since = 0) const;

    // Touches, in raw coordinates (0..1023) or screen pixels of the
    // simulated display.
    void Tap(int rawX, int rawY, std::uint32_t holdMs);
    void TapScreen(int x, int y, std::uint32_t holdMs);
    void PenDown(int rawX, int rawY);
    bool PenMove(int rawX, int rawY);
    void PenUp();
    // A private request straight to the driver (no handle needed).
    std::uint32_t Private(std::uint32_t code, void* buffer, std::uint32_t inSize,
                          std::uint32_t outSize, std::uint32_t* returned = nullptr);
    // One product-key value as the kernel host feeds it.
    int ApplySetting(const char* name, std::uint32_t type, const std::vector<std::uint8_t>& data);

    // What happened.
    const std::vector<Open>& Opens() const { return opens_; }
    const std::vector<Request>& Requests() const { return requests_; }
    std::vector<Request> RequestsWithCode(std::uint32_t code) const;
    void ClearRequests() { requests_.clear(); }
    std::size_t OpenHandleCount() const { return open_.size(); }
    const std::vector<NativeHandle>& Closes() const { return closes_; }

private:
    std::unique_ptr<KvDriver> driver_;
    bool loaded_ = true;
    bool failRequests_ = false;
    std::uint32_t lastError_ = 0;
    std::uint64_t now_ = 0;
    std::uint64_t advancePerRequest_ = 0;
    NativeHandle nextHandle_ = 0x104;
    std::set<NativeHandle> open_;
    std::vector<Open> opens_;
    std::vector<Request> requests_;
    std::vector<NativeHandle> closes_;
};

}  // namespace kv
