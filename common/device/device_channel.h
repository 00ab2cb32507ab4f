// The channel to the KVTOUCH driver: one open handle, one copy of each
// record, one wrapper per request. Every wrapper passes its record as both
// input and output buffer, with the record's length for both sizes, the
// bytes-returned count and a zeroed overlapped record; the reply lands in
// the same record. Results are stored, never examined: the callers treat
// every request as answered.
#pragma once

#include <cstdint>
#include <string>

#include "common/device/kvtouch_protocol.h"
#include "common/ports/device_port.h"

namespace kv {

class DesktopPort;

class DeviceChannel {
public:
    explicit DeviceChannel(DevicePort& port);

    // Opens "\\.\KVTOUCH"; true when the handle is valid.
    bool OpenDevice();
    // Closes the handle; DeviceHandle keeps its old value.
    void CloseDevice();
    // Beep, then the system-modal stop box "Fail to open KVTOUCH.vxd!".
    static void ReportOpenFailure(DesktopPort& desktop, const std::string& programTitle);

    void GetParams();
    void GetTouchState();
    void CalibrationSignal(std::int32_t code);
    void SetTouchMode();
    void SetSound();
    void SetMouseSpeed();
    void SetCalibration();
    void SetScreenSize();
    void GetAgentWindow();
    void SetAgentWindow();
    void GetRotatorWindow();
    void SoundTest();

    NativeHandle DeviceHandle = kInvalidHandle;
    TouchParams Params{};
    TouchState State{};
    std::int32_t CalibrationSignalWord = 0;
    AgentRegistration Agent{};
    RotatorRegistration Rotator{};
    SoundTestRecord Sound{};
    std::uint32_t BytesReturned = 0;
    OverlappedRecord Overlapped{};
    std::int32_t LastResult = 0;

private:
    void Request(std::uint32_t code, void* record, std::uint32_t size);

    DevicePort& port_;
};

std::string OpenFailureText();

}  // namespace kv
