// The device channel against the stand-in driver under Wine: opened as the
// programs open it, shared between processes, fed by kvsim, and gone when
// its service stops.
#include <gtest/gtest.h>

#include <cstring>

#include "common/device/device_channel.h"
#include "harness/harness.h"
#include "sim/kvsim/kvsim_client.h"
#include "win32/ports_win32.h"

namespace {

using e2e::InstalledProgram;
using e2e::KeyValue;
using e2e::RunAndCapture;

std::string Kvsim(const std::string& args) {
    auto result = RunAndCapture(InstalledProgram("kvsim.exe"), args);
    EXPECT_EQ(result.exitCode, 0) << "kvsim " << args << "\n" << result.output;
    return result.output;
}

class DriverChannel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(channel.OpenDevice()) << "the driver is not running"; }
    void TearDown() override {
        channel.CloseDevice();
        Kvsim("up");
    }
    kv::win32::Win32DevicePort port;
    kv::DeviceChannel channel{port};
};

TEST_F(DriverChannel, ProbeReadsAControllerBlockAsTheProgramsDo) {
    channel.GetParams();
    EXPECT_EQ(channel.LastResult, 1);
    EXPECT_EQ(channel.BytesReturned, 82u);
    EXPECT_NE(channel.Params.DetectedPort, 0);
    EXPECT_NE(channel.Params.ComPorts[0].BasePort, 0);
}

TEST_F(DriverChannel, ASetFromThisProcessIsSeenByGetParamsInAnother) {
    channel.GetParams();
    const std::uint8_t untouched[5] = {channel.Params.Unused0[0], channel.Params.Unused0[1],
                                       channel.Params.Unused0[2], channel.Params.Unused52,
                                       channel.Params.Unused71};
    const int newSpeed = channel.Params.MouseHSpeed == 7 ? 8 : 7;
    channel.Params.MouseHSpeed = static_cast<std::uint8_t>(newSpeed);
    channel.Params.MouseVSpeed = 19;
    channel.Params.Acceleration = 3;
    channel.SetMouseSpeed();
    EXPECT_EQ(channel.LastResult, 1);

    const std::string state = Kvsim("state");
    EXPECT_EQ(KeyValue(state, "mouse_hspeed"), std::to_string(newSpeed));
    EXPECT_EQ(KeyValue(state, "mouse_vspeed"), "19");
    EXPECT_EQ(KeyValue(state, "acceleration"), "3");

    // A second program's GetParams sees the change and the untouched bytes.
    kv::win32::Win32DevicePort otherPort;
    kv::DeviceChannel other(otherPort);
    ASSERT_TRUE(other.OpenDevice());
    other.GetParams();
    EXPECT_EQ(other.Params.MouseHSpeed, newSpeed);
    EXPECT_EQ(other.Params.Unused0[0], untouched[0]);
    EXPECT_EQ(other.Params.Unused0[1], untouched[1]);
    EXPECT_EQ(other.Params.Unused0[2], untouched[2]);
    EXPECT_EQ(other.Params.Unused52, untouched[3]);
    EXPECT_EQ(other.Params.Unused71, untouched[4]);
    other.CloseDevice();
}

TEST_F(DriverChannel, TouchInjectedByKvsimIsReportedByGetTouchState) {
    channel.GetTouchState();
    const std::uint16_t before = channel.State.ReportCount;

    Kvsim("down raw 300 700");
    channel.GetTouchState();
    EXPECT_EQ(channel.State.X, 300);
    EXPECT_EQ(channel.State.Y, 700);
    EXPECT_TRUE(channel.State.Status & KV_STATUS_PEN_DOWN);
    const std::uint16_t first = channel.State.ReportCount;
    EXPECT_NE(first, before);

    // Reports keep coming while the pen is down.
    bool changed = e2e::WaitUntil([&] {
        channel.GetTouchState();
        return channel.State.ReportCount != first;
    }, 2000, 5);
    EXPECT_TRUE(changed);

    Kvsim("up");
    channel.GetTouchState();
    EXPECT_FALSE(channel.State.Status & KV_STATUS_PEN_DOWN);
}

TEST_F(DriverChannel, UnknownCodesAndWrongLengthsFailWithoutTouchingTheBuffer) {
    std::uint8_t buffer[100];
    std::memset(buffer, 0xCC, sizeof buffer);
    DWORD returned = 0;
    HANDLE device = reinterpret_cast<HANDLE>(channel.DeviceHandle);
    EXPECT_FALSE(DeviceIoControl(device, 0xF2FF0, buffer, 8, buffer, 8, &returned, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    EXPECT_FALSE(DeviceIoControl(device, KV_IOCTL_GET_PARAMS, buffer, 81, buffer, 81, &returned,
                                 nullptr));
    for (std::uint8_t b : buffer) ASSERT_EQ(b, 0xCC);
}

// Restarts the driver: keep these last in the run and leave it running.
class DriverService : public ::testing::Test {
protected:
    void TearDown() override {
        e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "VirtualButton");
        e2e::DeleteRegValue(HKEY_LOCAL_MACHINE, kProductKey, "MouseSpeed");
        if (!e2e::DriverServiceRunning()) {
            ASSERT_TRUE(e2e::StartDriverService());
        }
    }
    static constexpr const char* kProductKey = "SOFTWARE\\Halvane\\TouchScreen\\KV-PS2";
};

TEST_F(DriverService, OpenFailsWhileTheServiceIsStopped) {
    ASSERT_TRUE(e2e::StopDriverService());
    kv::win32::Win32DevicePort port;
    kv::DeviceChannel channel(port);
    EXPECT_FALSE(channel.OpenDevice());
    EXPECT_EQ(channel.DeviceHandle, -1);

    ASSERT_TRUE(e2e::StartDriverService());
    EXPECT_TRUE(channel.OpenDevice());
    channel.CloseDevice();
}

TEST_F(DriverService, InitialSettingsComeFromTheProductKey) {
    ASSERT_TRUE(e2e::WriteRegBinary(HKEY_LOCAL_MACHINE, kProductKey, "VirtualButton", {2}));
    ASSERT_TRUE(e2e::WriteRegBinary(HKEY_LOCAL_MACHINE, kProductKey, "MouseSpeed", {20, 10, 2, 0}));
    ASSERT_TRUE(e2e::StopDriverService());
    ASSERT_TRUE(e2e::StartDriverService());

    kv::win32::Win32DevicePort port;
    kv::DeviceChannel channel(port);
    ASSERT_TRUE(channel.OpenDevice());
    channel.GetParams();
    EXPECT_EQ(channel.Params.TouchMode, 2);
    EXPECT_EQ(channel.Params.MouseHSpeed, 20);
    EXPECT_EQ(channel.Params.MouseVSpeed, 10);
    EXPECT_EQ(channel.Params.Acceleration, 2);
    EXPECT_EQ(channel.Params.Bypass, 0);
    channel.CloseDevice();
}

}  // namespace
