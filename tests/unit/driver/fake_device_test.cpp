// The fake device behaves as the platform does around the driver: opening
// by name, buffered transfers, handles that stop working once closed.
#include <gtest/gtest.h>

#include <cstring>

#include "common/device/device_channel.h"
#include "tests/fakes/fake_device.h"

namespace kv {
namespace {

NativeHandle OpenKvtouch(FakeDevice& device, const char* path = KVTOUCH_DEVICE_PATH) {
    SecurityAttributesRecord security{};
    return device.CreateFileA(path, 0x80000000u, 3, &security, 3, 0x80, 0);
}

TEST(FakeDevice, OpensOnlyTheKvtouchDeviceAndOnlyWhileTheDriverIsLoaded) {
    FakeDevice device;
    EXPECT_NE(OpenKvtouch(device), kInvalidHandle);
    EXPECT_NE(OpenKvtouch(device, "\\\\.\\kvtouch"), kInvalidHandle);
    EXPECT_EQ(OpenKvtouch(device, "\\\\.\\KVTOUCH2"), kInvalidHandle);
    EXPECT_EQ(OpenKvtouch(device, "KVTOUCH"), kInvalidHandle);
    EXPECT_EQ(device.LastError(), FakeDevice::kErrorFileNotFound);
    device.SetLoaded(false);
    EXPECT_EQ(OpenKvtouch(device), kInvalidHandle);
    ASSERT_EQ(device.Opens().size(), 5u);
    EXPECT_EQ(device.Opens()[0].access, 0x80000000u);
    EXPECT_EQ(device.OpenHandleCount(), 2u);
}

TEST(FakeDevice, AClosedHandleReachesNoDriver) {
    FakeDevice device;
    NativeHandle h = OpenKvtouch(device);
    EXPECT_TRUE(device.CloseHandle(h));
    EXPECT_FALSE(device.CloseHandle(h));
    TouchParams p{};
    std::uint32_t returned = 7;
    EXPECT_FALSE(device.DeviceIoControl(h, KV_IOCTL_GET_PARAMS, &p, 82, &p, 82, &returned, nullptr));
    EXPECT_EQ(device.LastError(), FakeDevice::kErrorInvalidHandle);
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(p.DetectedPort, 0);
    EXPECT_EQ(+device.State().RequestCounts[KVSIM_REQ_GET_PARAMS], 0u);
}

TEST(FakeDevice, OnlyTheReturnedBytesReachTheOutputAndOnlyOnSuccess) {
    FakeDevice device;
    NativeHandle h = OpenKvtouch(device);
    // Separate input and output buffers: the output gets the reply, the
    // input stays as sent.
    std::int32_t signal = 3;
    std::uint8_t out[4] = {9, 9, 9, 9};
    std::uint32_t returned = 7;
    EXPECT_TRUE(device.DeviceIoControl(h, KV_IOCTL_CALIBRATION_SIGNAL, &signal, 4, out, 4, &returned,
                                       nullptr));
    EXPECT_EQ(returned, 0u);
    EXPECT_EQ(out[0], 9) << "a request that replies nothing leaves the output alone";

    std::uint8_t small[81];
    std::memset(small, 0x77, sizeof small);
    TouchParams in{};
    EXPECT_FALSE(device.DeviceIoControl(h, KV_IOCTL_GET_PARAMS, &in, 82, small, 81, &returned,
                                        nullptr));
    EXPECT_EQ(device.LastError(), FakeDevice::kErrorInsufficientBuffer);
    EXPECT_EQ(small[0], 0x77);

    TouchParams reply{};
    EXPECT_TRUE(device.DeviceIoControl(h, KV_IOCTL_GET_PARAMS, &in, 82, &reply, 82, &returned,
                                       nullptr));
    EXPECT_EQ(returned, 82u);
    EXPECT_EQ(reply.TouchMode, 4);
    EXPECT_EQ(in.TouchMode, 0);

    EXPECT_FALSE(device.DeviceIoControl(h, 0xF2020, &in, 82, &in, 82, &returned, nullptr));
    EXPECT_EQ(device.LastError(), FakeDevice::kErrorInvalidFunction);
}

TEST(FakeDevice, RecordsEachRequestWithItsBuffers) {
    FakeDevice device;
    DeviceChannel channel(device);
    ASSERT_TRUE(channel.OpenDevice());
    channel.GetParams();
    channel.Params.SoundTone = 4000;
    device.Advance(30);
    channel.SetSound();
    auto sets = device.RequestsWithCode(KV_IOCTL_SET_SOUND);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_TRUE(sets[0].succeeded);
    EXPECT_EQ(sets[0].timeMs, 30u);
    ASSERT_EQ(sets[0].input.size(), 82u);
    TouchParams sent;
    std::memcpy(&sent, sets[0].input.data(), 82);
    EXPECT_EQ(sent.SoundTone, 4000);
    EXPECT_EQ(sets[0].output.size(), 82u);
    EXPECT_EQ(device.Params().SoundTone, 4000);
}

// The channel and the driver together: what the programs rely on.
TEST(FakeDevice, TheChannelCarriesTheDriversSpareBytesBackUnchanged) {
    FakeDevice device;
    DeviceChannel channel(device);
    ASSERT_TRUE(channel.OpenDevice());
    channel.GetParams();
    channel.Params.Acceleration = 3;
    channel.SetMouseSpeed();
    auto log = device.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].Args[3], 3);
    EXPECT_EQ(log[0].Args[7], 1) << "bytes 0, 1, 2, 52 and 71 came back";

    channel.GetAgentWindow();
    EXPECT_EQ(channel.Agent.AgentWindow, -1);
    channel.Agent.AgentWindow = 0x4242;
    channel.SetAgentWindow();
    log = device.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].Args[2], 0xA6);
    EXPECT_EQ(log[1].Args[3], 0x5A);
}

TEST(FakeDevice, FailingRequestsLeaveTheProgramsCopyZero) {
    FakeDevice device;
    device.SetRequestsFail(true);
    DeviceChannel channel(device);
    ASSERT_TRUE(channel.OpenDevice());
    channel.GetParams();
    EXPECT_EQ(channel.LastResult, 0);
    EXPECT_EQ(channel.Params.DetectedPort, 0);
    EXPECT_EQ(+device.State().RequestCounts[KVSIM_REQ_GET_PARAMS], 0u);
}

TEST(FakeDevice, APollingLoopSeesTimePassWithAStepPerRequest) {
    FakeDevice device;
    device.SetAdvancePerRequest(1);
    DeviceChannel channel(device);
    ASSERT_TRUE(channel.OpenDevice());
    device.Tap(400, 300, 50);
    int changes = 0;
    std::uint16_t last = 0;
    for (int poll = 0; poll < 100; ++poll) {
        channel.GetTouchState();
        if (channel.State.ReportCount != last) ++changes;
        last = channel.State.ReportCount;
    }
    EXPECT_EQ(changes, 6) << "five reports while down at 100/s, then the lift";
    EXPECT_EQ(channel.State.Status & KV_STATUS_PEN_DOWN, 0);
}

TEST(FakeDevice, ATestCanActAtAGivenPointOfTheConversation) {
    FakeDevice device;
    DeviceChannel channel(device);
    ASSERT_TRUE(channel.OpenDevice());
    device.beforeRequest = [](FakeDevice& dev, std::uint32_t code,
                              const std::vector<std::uint8_t>& input) {
        std::int32_t signal = 0;
        if (code == KV_IOCTL_CALIBRATION_SIGNAL && input.size() == 4) {
            std::memcpy(&signal, input.data(), 4);
            if (signal == 5) dev.PenUp();
        }
    };
    device.PenDown(100, 100);
    channel.GetTouchState();
    EXPECT_TRUE(channel.State.Status & KV_STATUS_PEN_DOWN);
    channel.CalibrationSignal(5);
    channel.GetTouchState();
    EXPECT_FALSE(channel.State.Status & KV_STATUS_PEN_DOWN);
}

}  // namespace
}  // namespace kv
