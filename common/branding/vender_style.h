// How the vendor's title is dressed, packed into the eight characters of
// `VenderStyle` (positions from 1):
//   1    typeface: "1" Times New Roman, "2" Arial, otherwise as designed
//   2    weight and slant: 1 bold, 2 italic, 3 both, other digits plain
//   3-4  point size; 0 or not a number leaves the designed size
//   5-6  lblOemTitle's colour, an index into the 16-colour palette
//   7-8  lblSystem's colour, likewise
// A string shorter than eight characters changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

struct TitleStyle {
    std::optional<std::string> fontName;  // nullopt: keep the design font
    bool bold = false;                    // always applied
    bool italic = false;                  // always applied
    std::optional<int> fontSize;          // points; nullopt: keep
    std::optional<std::uint32_t> titleColor;   // 0x00BBGGRR; nullopt: keep
    std::optional<std::uint32_t> systemColor;  // 0x00BBGGRR; nullopt: keep
};

// nullopt when the string is shorter than 8 characters.
std::optional<TitleStyle> ParseVenderStyle(std::string_view style);

// A numeric field: blanks are skipped, digits are read up to the first
// other character, no digits give 0.
int ReadStyleNumber(std::string_view field);

// Colour `index` of the standard 16-colour palette as 0x00BBGGRR;
// nullopt outside 0..15.
std::optional<std::uint32_t> PaletteColor(int index);

}  // namespace kv
