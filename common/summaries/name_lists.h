// The three name lists of the control panel. Entries are numbered from 1,
// as the driver stores the values; index 0 and anything above the last
// entry have no name. The fourth sound mode keeps its "&&" as written: a
// caption shows it as one "&".
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kv {

using NameList = std::array<std::string_view, 4>;

inline constexpr NameList kTouchModeNames = {
    "Stream Mode", "Lift Off Mode", "Touch Down Mode", "Drag Drop Mode"};

inline constexpr NameList kSoundModeNames = {
    "Silence ( No Sound )", "Touch Down Only", "Lift Off Only", "Both Touch Down && Lift Off"};

inline constexpr NameList kAccelerationNames = {"Slow", "Medium", "Fast", "Off"};

// True when `value` (1-based) names an entry of a list.
constexpr bool IsListed(unsigned value) { return value >= 1 && value <= NameList{}.size(); }

// The 1-based entry `value`; call only when IsListed(value).
constexpr std::string_view NameAt(const NameList& list, unsigned value) { return list[value - 1]; }

}  // namespace kv
