// Reading the initial settings of "setup.ini": a key's text, its leading
// number, and the range check that decides whether it is stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class IniPort;

// ReadSetupValue's answers besides the value itself.
inline constexpr std::int32_t kSetupValueMissing = -1;
inline constexpr std::int32_t kSetupValueBelow = -2;
inline constexpr std::int32_t kSetupValueAbove = -3;

// The numeric value of the number the text begins with: blanks are
// skipped, the number ends where a character could not belong to it, "&H" and "&O" introduce hexadecimal and octal digits, a decimal
// number may have a sign, a fraction and an exponent (E or D). No number
// gives 0. Never fails: a number too large for a double is infinite.
double LeadingNumber(std::string_view text);

// The leading number of `text` to the nearest integer (halves to even),
// checked against min..max: -1 for an empty text, -2 below min, -3 above
// max (a number too large for 32 bits is simply above max).
std::int32_t SetupValueOf(const std::string& text, std::int32_t min, std::int32_t max);

// SetupValueOf of key `key` in section "Settings" of
// "<installPath>\setup.ini".
std::int32_t ReadSetupValue(IniPort& ini, const std::string& installPath, const std::string& key,
                            std::int32_t min, std::int32_t max);

}  // namespace kv
