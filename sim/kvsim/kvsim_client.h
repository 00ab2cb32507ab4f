// A client of the stand-in KVTOUCH driver's private requests, for kvsim
// and the end-to-end tests: one open handle, one call per request. Every
// call returns false when the driver refused or could not be reached;
// LastError() then holds the platform's error code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/driver/core/kvsim_protocol.h"

namespace kvsim {

class Client {
public:
    Client() = default;
    ~Client();
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Opens "\\.\KVTOUCH" as the programs do (GENERIC_READ, shared).
    bool Open();
    void Close();
    bool IsOpen() const;
    std::uint32_t LastError() const { return lastError_; }

    // Any request, product or private.
    bool Control(std::uint32_t code, const void* in, std::uint32_t inSize, void* out,
                 std::uint32_t outSize, std::uint32_t* returned = nullptr);

    bool ReadState(KvSimState& state);
    // The latest report as mouse input (what the pointer bridge follows).
    bool ReadPointer(KvSimPointer& pointer);
    // Every entry held with Sequence >= since, oldest first.
    bool ReadLog(std::uint32_t since, std::vector<KvSimLogEntry>& entries,
                 KvSimLogHeader* header = nullptr);

    bool PenDown(std::uint32_t space, std::int32_t x, std::int32_t y);
    bool PenMove(std::uint32_t space, std::int32_t x, std::int32_t y);
    bool PenUp();
    // A tap held for holdMs, played by the driver; returns at once.
    bool Touch(std::uint32_t space, std::int32_t x, std::int32_t y, std::uint32_t holdMs);
    bool Stroke(std::uint32_t space, const std::vector<KvSimStrokePoint>& points);
    // Waits (polling, at most timeoutMs) until no played touch is running.
    bool WaitUntilLifted(std::uint32_t timeoutMs);

    bool SetDetectedPort(std::int32_t port);
    bool SetWiring(std::int32_t flags);
    bool SetRotation(std::int32_t rotation);
    bool SetRate(std::int32_t reportsPerSecond);
    bool SetScreen(std::int32_t width, std::int32_t height, bool alsoDriver);
    bool RegisterRotator(std::int32_t window, std::int32_t rotation = -1);
    bool ClearLog();
    // The driver's calibration record and CalFlags, sent with the product's
    // own SetCalibration over the block the driver holds.
    bool SetCalibration(const CalData& cal, std::uint8_t flags);

private:
    bool SetValue(std::uint32_t code, std::int32_t value);

    void* handle_ = reinterpret_cast<void*>(static_cast<std::intptr_t>(-1));
    std::uint32_t lastError_ = 0;
};

// The platform's text for an error code of a request, in plain words.
std::string DescribeError(std::uint32_t error);

}  // namespace kvsim
