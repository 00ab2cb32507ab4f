// The device channel against a recording port: what each wrapper sends,
// and that the reply lands in the record it sent.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/device/device_channel.h"
#include "common/ports/desktop_port.h"

namespace kv {
namespace {

struct Call {
    NativeHandle handle;
    std::uint32_t code;
    void* in;
    std::uint32_t inSize;
    void* out;
    std::uint32_t outSize;
    std::uint32_t* returned;
    OverlappedRecord overlapped;
    bool overlappedGiven;
};

class RecordingDevicePort : public DevicePort {
public:
    NativeHandle CreateFileA(const char* path, std::uint32_t access, std::uint32_t share,
                             SecurityAttributesRecord* security, std::uint32_t disposition,
                             std::uint32_t attributes, NativeHandle templateFile) override {
        openPath = path;
        openAccess = access;
        openShare = share;
        securityGiven = security != nullptr;
        if (security) securityCopy = *security;
        openDisposition = disposition;
        openAttributes = attributes;
        openTemplate = templateFile;
        return openResult;
    }
    bool DeviceIoControl(NativeHandle device, std::uint32_t code, void* in, std::uint32_t inSize,
                         void* out, std::uint32_t outSize, std::uint32_t* returned,
                         OverlappedRecord* overlapped) override {
        calls.push_back({device, code, in, inSize, out, outSize, returned,
                         overlapped ? *overlapped : OverlappedRecord{}, overlapped != nullptr});
        // The reply: a recognisable pattern over the whole record.
        for (std::uint32_t i = 0; i < outSize; ++i)
            static_cast<std::uint8_t*>(out)[i] = static_cast<std::uint8_t>(0xA0 + i);
        if (returned) *returned = outSize;
        return succeed;
    }
    bool CloseHandle(NativeHandle handle) override {
        closed.push_back(handle);
        return true;
    }

    std::string openPath;
    std::uint32_t openAccess = 0, openShare = 0, openDisposition = 0, openAttributes = 0;
    bool securityGiven = false;
    SecurityAttributesRecord securityCopy{};
    NativeHandle openTemplate = 99;
    NativeHandle openResult = 0x1234;
    bool succeed = true;
    std::vector<Call> calls;
    std::vector<NativeHandle> closed;
};

TEST(DeviceChannel, OpensTheDeviceWithExactlyTheListedArguments) {
    RecordingDevicePort port;
    DeviceChannel channel(port);
    EXPECT_TRUE(channel.OpenDevice());
    EXPECT_EQ(port.openPath, "\\\\.\\KVTOUCH");
    EXPECT_EQ(port.openAccess, 0x80000000u);
    EXPECT_EQ(port.openShare, 3u);
    ASSERT_TRUE(port.securityGiven);
    EXPECT_EQ(port.securityCopy.length, 0u);
    EXPECT_EQ(port.securityCopy.descriptor, nullptr);
    EXPECT_EQ(port.securityCopy.inherit, 0);
    EXPECT_EQ(port.openDisposition, 3u);
    EXPECT_EQ(port.openAttributes, 0x80u);
    EXPECT_EQ(port.openTemplate, 0);
    EXPECT_EQ(channel.DeviceHandle, 0x1234);
}

TEST(DeviceChannel, FailedOpenLeavesInvalidHandleAndCloseKeepsTheOldValue) {
    RecordingDevicePort port;
    port.openResult = kInvalidHandle;
    DeviceChannel channel(port);
    EXPECT_FALSE(channel.OpenDevice());
    EXPECT_EQ(channel.DeviceHandle, -1);

    port.openResult = 77;
    ASSERT_TRUE(channel.OpenDevice());
    channel.CloseDevice();
    ASSERT_EQ(port.closed.size(), 1u);
    EXPECT_EQ(port.closed[0], 77);
    EXPECT_EQ(channel.DeviceHandle, 77);
}

struct WrapperCase {
    const char* name;
    void (*send)(DeviceChannel&);
    std::uint32_t code;
    std::uint32_t size;
    void* (*record)(DeviceChannel&);
};

const WrapperCase kWrappers[] = {
    {"GetParams", [](DeviceChannel& c) { c.GetParams(); }, 0xF2010, 82,
     [](DeviceChannel& c) -> void* { return &c.Params; }},
    {"GetTouchState", [](DeviceChannel& c) { c.GetTouchState(); }, 0xF2030, 8,
     [](DeviceChannel& c) -> void* { return &c.State; }},
    {"CalibrationSignal", [](DeviceChannel& c) { c.CalibrationSignal(5); }, 0xF2040, 4,
     [](DeviceChannel& c) -> void* { return &c.CalibrationSignalWord; }},
    {"SetTouchMode", [](DeviceChannel& c) { c.SetTouchMode(); }, 0xF2060, 82,
     [](DeviceChannel& c) -> void* { return &c.Params; }},
    {"SetSound", [](DeviceChannel& c) { c.SetSound(); }, 0xF2070, 82,
     [](DeviceChannel& c) -> void* { return &c.Params; }},
    {"SetMouseSpeed", [](DeviceChannel& c) { c.SetMouseSpeed(); }, 0xF2090, 82,
     [](DeviceChannel& c) -> void* { return &c.Params; }},
    {"SetCalibration", [](DeviceChannel& c) { c.SetCalibration(); }, 0xF20A0, 82,
     [](DeviceChannel& c) -> void* { return &c.Params; }},
    {"SetScreenSize", [](DeviceChannel& c) { c.SetScreenSize(); }, 0xF20B0, 82,
     [](DeviceChannel& c) -> void* { return &c.Params; }},
    {"GetAgentWindow", [](DeviceChannel& c) { c.GetAgentWindow(); }, 0xF3010, 8,
     [](DeviceChannel& c) -> void* { return &c.Agent; }},
    {"SetAgentWindow", [](DeviceChannel& c) { c.SetAgentWindow(); }, 0xF3020, 8,
     [](DeviceChannel& c) -> void* { return &c.Agent; }},
    {"GetRotatorWindow", [](DeviceChannel& c) { c.GetRotatorWindow(); }, 0xF4010, 8,
     [](DeviceChannel& c) -> void* { return &c.Rotator; }},
    {"SoundTest", [](DeviceChannel& c) { c.SoundTest(); }, 0xF5010, 4,
     [](DeviceChannel& c) -> void* { return &c.Sound; }},
};

TEST(DeviceChannel, EachWrapperSendsItsCodeWithOneRecordAsInputAndOutput) {
    for (const auto& w : kWrappers) {
        SCOPED_TRACE(w.name);
        RecordingDevicePort port;
        DeviceChannel channel(port);
        ASSERT_TRUE(channel.OpenDevice());
        w.send(channel);
        ASSERT_EQ(port.calls.size(), 1u);
        const Call& call = port.calls[0];
        EXPECT_EQ(call.handle, 0x1234);
        EXPECT_EQ(call.code, w.code);
        EXPECT_EQ(call.in, w.record(channel));
        EXPECT_EQ(call.out, w.record(channel));
        EXPECT_EQ(call.inSize, w.size);
        EXPECT_EQ(call.outSize, w.size);
        EXPECT_EQ(call.returned, &channel.BytesReturned);
        ASSERT_TRUE(call.overlappedGiven);
        OverlappedRecord zero{};
        EXPECT_EQ(std::memcmp(&call.overlapped, &zero, sizeof zero), 0);
        EXPECT_EQ(channel.LastResult, 1);
        // The reply is in the same record.
        EXPECT_EQ(static_cast<std::uint8_t*>(w.record(channel))[0], 0xA0);
        EXPECT_EQ(static_cast<std::uint8_t*>(w.record(channel))[w.size - 1], 0xA0 + w.size - 1);
    }
}

TEST(DeviceChannel, FailureIsStoredAndTheRecordStillHoldsWhatWasSent) {
    class FailingPort : public RecordingDevicePort {
    public:
        bool DeviceIoControl(NativeHandle, std::uint32_t, void*, std::uint32_t, void*,
                             std::uint32_t, std::uint32_t*, OverlappedRecord*) override {
            ++calls;
            return false;  // the platform leaves the buffer alone on failure
        }
        int calls = 0;
    } port;
    DeviceChannel channel(port);
    channel.OpenDevice();
    channel.Params.SoundTone = 1234;
    channel.SetSound();
    EXPECT_EQ(port.calls, 1);
    EXPECT_EQ(channel.LastResult, 0);
    EXPECT_EQ(channel.Params.SoundTone, 1234);
    channel.GetParams();
    EXPECT_EQ(channel.LastResult, 0);
    EXPECT_EQ(channel.Params.DetectedPort, 0);  // a failed GetParams leaves the zero copy
}

TEST(DeviceChannel, CalibrationSignalSendsTheGivenCode) {
    class CodePort : public RecordingDevicePort {
    public:
        bool DeviceIoControl(NativeHandle, std::uint32_t, void* in, std::uint32_t, void*,
                             std::uint32_t, std::uint32_t*, OverlappedRecord*) override {
            std::memcpy(&seen, in, 4);
            return true;
        }
        std::int32_t seen = -1;
    } port;
    DeviceChannel channel(port);
    channel.CalibrationSignal(4);
    EXPECT_EQ(port.seen, 4);
    channel.CalibrationSignal(0);
    EXPECT_EQ(port.seen, 0);
}

class BoxDesktop : public DesktopPort {
public:
    void MessageBeep() override { events.push_back("beep"); }
    int MessageBoxA(WindowHandle, const std::string& t, const std::string& c, unsigned f) override {
        events.push_back("box");
        text = t;
        caption = c;
        flags = f;
        return kIdOk;
    }
    int ShowCursor(bool) override { return 0; }
    WindowHandle FindWindowA(const char*, const char*) override { return 0; }
    WindowHandle GetWindow(WindowHandle, unsigned) override { return 0; }
    WindowHandle GetParent(WindowHandle) override { return 0; }
    std::uint16_t GetWindowWord(WindowHandle, int) override { return 0; }
    int GetWindowTextA(WindowHandle, char*, int) override { return 0; }
    int GetWindowTextLengthA(WindowHandle) override { return 0; }
    bool IsWindow(WindowHandle) override { return false; }
    bool SetForegroundWindow(WindowHandle) override { return false; }
    bool BringWindowToTop(WindowHandle) override { return false; }
    std::intptr_t SendMessageA(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override {
        return 0;
    }
    int ScreenWidthTwips() override { return 0; }
    int ScreenHeightTwips() override { return 0; }
    int TwipsPerPixelX() override { return 15; }
    int TwipsPerPixelY() override { return 15; }
    PixelRect WorkArea() override { return {}; }

    std::vector<std::string> events;
    std::string text, caption;
    unsigned flags = 0;
};

TEST(DeviceChannel, OpenFailureBeepsThenShowsTheStopBoxWithTheProgramTitle) {
    BoxDesktop desktop;
    DeviceChannel::ReportOpenFailure(desktop, " TouchScreen Right-Button #KV-PS2");
    ASSERT_EQ(desktop.events, (std::vector<std::string>{"beep", "box"}));
    EXPECT_EQ(desktop.text, "Fail to open KVTOUCH.vxd!");
    EXPECT_EQ(desktop.caption, " TouchScreen Right-Button #KV-PS2");
    EXPECT_EQ(desktop.flags, 0x1010u);
}

}  // namespace
}  // namespace kv
