#include "common/branding/vender_style.h"

#include <array>

namespace kv {

namespace {

// The standard palette, stored as the forms runtime holds colours
// (0x00BBGGRR): index 1 "blue" (RGB 000080) is 0x800000 here.
constexpr std::array<std::uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

}  // namespace

int ReadStyleNumber(std::string_view field) {
    int number = 0;
    for (char c : field) {
        if (c == ' ') continue;
        if (c < '0' || c > '9') break;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::optional<std::uint32_t> PaletteColor(int index) {
    // An index outside the palette has no colour: the caller keeps its own.
    if (index < 0 || index >= static_cast<int>(kPalette.size())) return std::nullopt;
    return kPalette[static_cast<std::size_t>(index)];
}

std::optional<TitleStyle> ParseVenderStyle(std::string_view style) {
    if (style.size() < 8) return std::nullopt;
    TitleStyle title;
    if (style[0] == '1') title.fontName = "Times New Roman";
    if (style[0] == '2') title.fontName = "Arial";

    const int styleDigit = ReadStyleNumber(style.substr(1, 1));
    title.bold = styleDigit == 1 || styleDigit == 3;
    title.italic = styleDigit == 2 || styleDigit == 3;

    const int size = ReadStyleNumber(style.substr(2, 2));
    if (size > 0) title.fontSize = size;

    title.titleColor = PaletteColor(ReadStyleNumber(style.substr(4, 2)));
    title.systemColor = PaletteColor(ReadStyleNumber(style.substr(6, 2)));
    return title;
}

}  // namespace kv
