// The vendor's title style, from the 8-character `VenderStyle` string:
//   1    font: "1" Times New Roman, "2" Arial, else the design font
//   2    style digit: 1 bold, 2 italic, 3 bold italic, anything else regular
//   3-4  size in points; 0 or no number keeps the design size
//   5-6  colour index 0..15 of the title (lblOemTitle)
//   7-8  colour index 0..15 of the system line (lblSystem)
// Shorter strings carry no style at all.
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
