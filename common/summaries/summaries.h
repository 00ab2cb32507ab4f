// One line of text per setting group, as the main window shows it and the
// settings dialogs refresh it. Pure functions of the driver's bytes.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

// "Drag Drop Mode, RBF Enable ( Automatic Mode )", "Touch Down Mode, RBF
// Disable"...; an unknown mode gives "Invalid#<mode>,<rbf>,<auto>".
std::string TouchModeSummary(std::uint8_t mode, std::uint8_t rbFunction, std::uint8_t rbAutoMode);

// The sound-mode name, or "Invalid#<value>".
std::string SoundModeName(std::uint8_t value);

// The acceleration name, or "Invalid#<value>".
std::string AccelerationName(std::uint8_t value);

// "HS=50%, VS=100%, Acceleration=Slow", or "Enable Bypass Mode" when
// bypass is set (speeds and acceleration are then not looked at).
std::string MouseSpeedSummary(std::uint8_t hSpeed, std::uint8_t vSpeed, std::uint8_t acceleration,
                              std::uint8_t bypass);

}  // namespace kv
