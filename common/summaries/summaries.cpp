#include "common/summaries/summaries.h"

#include "common/summaries/name_lists.h"

namespace kv {

namespace {

std::string Invalid(unsigned value) { return "Invalid#" + std::to_string(value); }

std::string NameOrInvalid(const NameList& list, std::uint8_t value) {
    if (!IsListed(value)) return Invalid(value);
    return std::string(NameAt(list, value));
}

}  // namespace

std::string TouchModeSummary(std::uint8_t mode, std::uint8_t rbFunction, std::uint8_t rbAutoMode) {
    if (!IsListed(mode)) {
        return Invalid(mode) + "," + std::to_string(rbFunction) + "," + std::to_string(rbAutoMode);
    }
    std::string text = std::string(NameAt(kTouchModeNames, mode)) + ", RBF ";
    if (rbFunction == 0) return text + "Disable";
    text += "Enable";
    // Only the drag-drop mode has an automatic right button.
    if (mode == 4) text += rbAutoMode == 1 ? " ( Automatic Mode )" : " ( Manual Mode )";
    return text;
}

std::string SoundModeName(std::uint8_t value) { return NameOrInvalid(kSoundModeNames, value); }

std::string AccelerationName(std::uint8_t value) { return NameOrInvalid(kAccelerationNames, value); }

std::string MouseSpeedSummary(std::uint8_t hSpeed, std::uint8_t vSpeed, std::uint8_t acceleration,
                              std::uint8_t bypass) {
    if (bypass != 0) return "Enable Bypass Mode";
    // Speeds are in steps of 5 %.
    return "HS=" + std::to_string(hSpeed * 5) + "%, VS=" + std::to_string(vSpeed * 5) +
           "%, Acceleration=" + AccelerationName(acceleration);
}

}  // namespace kv
