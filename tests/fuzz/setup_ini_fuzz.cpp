// libFuzzer target: any bytes as "setup.ini", read the way the installer
// reads it. The read must never crash, and every answer must be one the
// import can act on: -1, -2, -3 or a value inside the range asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/setupcommon/ini_strings.h"
#include "setup/setupcommon/setup_value.h"
#include "tests/fakes/fake_ini.h"

namespace {

constexpr const char* kFolder = "C:\\Program Files\\TouchScreen";
constexpr const char* kKeys[] = {"VirtualButton", "FeedbackTone", "DoubleClickSpeed", "MouseHSpeed"};

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckAnswer(std::int32_t v, std::int32_t min, std::int32_t max) {
    Check(v == -1 || v == -2 || v == -3 || (v >= min && v <= max));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks a range, the rest is the file.
    const std::int32_t min = data[0] % 8 == 0 ? 200 : data[0] % 4;
    const std::int32_t max = min + (data[0] >> 2) * 37;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    CheckAnswer(kv::SetupValueOf(text, min, max), min, max);

    kv::FakeIni ini;
    ini.SetFile(std::string(kFolder) + "\\setup.ini", text);
    for (const char* key : kKeys) {
        CheckAnswer(kv::ReadSetupValue(ini, kFolder, key, min, max), min, max);
        const std::string value = kv::ReadIniString(ini, std::string(kFolder) + "\\setup.ini", "Settings", key);
        Check(value.size() <= 254);
        Check(value.find('\0') == std::string::npos);
        Check(value.empty() || value.back() != ' ');
    }
    return 0;
}
