#include "common/device/device_channel.h"

#include "common/ports/desktop_port.h"

namespace kv {

namespace {
constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kShareReadWrite = 3;
constexpr std::uint32_t kOpenExisting = 3;
constexpr std::uint32_t kFileAttributeNormal = 0x80;
}  // namespace

DeviceChannel::DeviceChannel(DevicePort& port) : port_(port) {}

bool DeviceChannel::OpenDevice() {
    SecurityAttributesRecord security{};
    DeviceHandle = port_.CreateFileA(KVTOUCH_DEVICE_PATH, kGenericRead, kShareReadWrite, &security,
                                     kOpenExisting, kFileAttributeNormal, 0);
    return DeviceHandle != kInvalidHandle;
}

void DeviceChannel::CloseDevice() {
    port_.CloseHandle(DeviceHandle);
}

std::string OpenFailureText() {
    return std::string("Fail to open ") + KVTOUCH_DRIVER_FILE + "!";
}

void DeviceChannel::ReportOpenFailure(DesktopPort& desktop, const std::string& programTitle) {
    desktop.MessageBeep();
    desktop.MessageBoxA(0, OpenFailureText(), programTitle, kMbSystemModal | kMbIconStop | kMbOk);
}

void DeviceChannel::Request(std::uint32_t code, void* record, std::uint32_t size) {
    LastResult = port_.DeviceIoControl(DeviceHandle, code, record, size, record, size,
                                       &BytesReturned, &Overlapped)
                     ? 1
                     : 0;
}

void DeviceChannel::GetParams() { Request(KV_IOCTL_GET_PARAMS, &Params, sizeof Params); }
void DeviceChannel::GetTouchState() { Request(KV_IOCTL_GET_TOUCH_STATE, &State, sizeof State); }
void DeviceChannel::CalibrationSignal(std::int32_t code) {
    CalibrationSignalWord = code;
    Request(KV_IOCTL_CALIBRATION_SIGNAL, &CalibrationSignalWord, sizeof CalibrationSignalWord);
}
void DeviceChannel::SetTouchMode() { Request(KV_IOCTL_SET_TOUCH_MODE, &Params, sizeof Params); }
void DeviceChannel::SetSound() { Request(KV_IOCTL_SET_SOUND, &Params, sizeof Params); }
void DeviceChannel::SetMouseSpeed() { Request(KV_IOCTL_SET_MOUSE_SPEED, &Params, sizeof Params); }
void DeviceChannel::SetCalibration() { Request(KV_IOCTL_SET_CALIBRATION, &Params, sizeof Params); }
void DeviceChannel::SetScreenSize() { Request(KV_IOCTL_SET_SCREEN_SIZE, &Params, sizeof Params); }
void DeviceChannel::GetAgentWindow() { Request(KV_IOCTL_GET_AGENT_WINDOW, &Agent, sizeof Agent); }
void DeviceChannel::SetAgentWindow() { Request(KV_IOCTL_SET_AGENT_WINDOW, &Agent, sizeof Agent); }
void DeviceChannel::GetRotatorWindow() {
    Request(KV_IOCTL_GET_ROTATOR_WINDOW, &Rotator, sizeof Rotator);
}
void DeviceChannel::SoundTest() { Request(KV_IOCTL_SOUND_TEST, &Sound, sizeof Sound); }

}  // namespace kv
