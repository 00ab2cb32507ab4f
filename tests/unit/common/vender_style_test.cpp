// Reading the vendor's title style string.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/branding/vender_style.h"
#include "ui/ui_types.h"

namespace kv {
namespace {

using ui::Rgb;

TEST(VenderStyle, TheDocumentedExamples) {
    // 1 3 20 09 12: Times New Roman, bold italic, 20 pt, light blue, light red.
    const auto full = ParseVenderStyle("13200912");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->fontName, "Times New Roman");
    EXPECT_TRUE(full->bold);
    EXPECT_TRUE(full->italic);
    EXPECT_EQ(full->fontSize, 20);
    EXPECT_EQ(full->titleColor, Rgb(0x00, 0x00, 0xFF));
    EXPECT_EQ(full->systemColor, Rgb(0xFF, 0x00, 0x00));

    // Too short: no style at all.
    EXPECT_FALSE(ParseVenderStyle("2"));
    EXPECT_FALSE(ParseVenderStyle("1320091"));

    // 9 0 00 "  " 00: design font, regular, design size, both black.
    const auto plain = ParseVenderStyle("9000  00");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->fontName);
    EXPECT_FALSE(plain->bold);
    EXPECT_FALSE(plain->italic);
    EXPECT_FALSE(plain->fontSize);
    EXPECT_EQ(plain->titleColor, 0u);
    EXPECT_EQ(plain->systemColor, 0u);
}

TEST(VenderStyle, FontAndStyleDigits) {
    struct Case {
        const char* style;
        std::optional<std::string> font;
        bool bold, italic;
    };
    const Case cases[] = {
        {"10120000", "Times New Roman", false, false},
        {"21120000", "Arial", true, false},
        {"32120000", std::nullopt, false, true},
        {"03120000", std::nullopt, true, true},
        {" 4120000", std::nullopt, false, false},  // 4..9: regular
        {"1x120000", "Times New Roman", false, false},
        {"2 120000", "Arial", false, false},
    };
    for (const auto& c : cases) {
        const auto style = ParseVenderStyle(c.style);
        ASSERT_TRUE(style) << c.style;
        EXPECT_EQ(style->fontName, c.font) << c.style;
        EXPECT_EQ(style->bold, c.bold) << c.style;
        EXPECT_EQ(style->italic, c.italic) << c.style;
    }
}

TEST(VenderStyle, NumbersSkipBlanksAndStopAtTheFirstOtherCharacter) {
    struct Case {
        const char* field;
        int value;
    };
    const Case cases[] = {
        {"20", 20}, {"09", 9}, {" 9", 9}, {"9 ", 9}, {"  ", 0}, {"", 0},
        {"x5", 0},  {"5x", 5}, {"-5", 0}, {"1.", 1}, {"+3", 0}, {"99", 99},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadStyleNumber(c.field), c.value) << '"' << c.field << '"';
}

TEST(VenderStyle, SizeKeepsTheDesignWhenZeroOrNotANumber) {
    EXPECT_EQ(ParseVenderStyle("11 80000")->fontSize, 8);
    EXPECT_EQ(ParseVenderStyle("1136 000")->fontSize, 36);
    EXPECT_FALSE(ParseVenderStyle("11000000")->fontSize);
    EXPECT_FALSE(ParseVenderStyle("11ab0000")->fontSize);
}

TEST(VenderStyle, ColourIndicesOutsideThePaletteKeepTheDesignColour) {
    const auto style = ParseVenderStyle("11201699");
    ASSERT_TRUE(style);
    EXPECT_FALSE(style->titleColor);
    EXPECT_FALSE(style->systemColor);
    const auto edge = ParseVenderStyle("11201500");
    EXPECT_EQ(edge->titleColor, Rgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(edge->systemColor, Rgb(0, 0, 0));
    // Only the first 8 characters count.
    EXPECT_EQ(ParseVenderStyle("1120040499")->systemColor, Rgb(0x80, 0, 0));
}

TEST(VenderStyle, ThePaletteInTheRuntimesByteOrder) {
    // Index -> RGB as the palette lists it; the runtime keeps 0x00BBGGRR.
    const unsigned rgb[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                              0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                              0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(PaletteColor(i), Rgb(rgb[i] >> 16, (rgb[i] >> 8) & 0xFF, rgb[i] & 0xFF)) << i;
    EXPECT_FALSE(PaletteColor(-1));
    EXPECT_FALSE(PaletteColor(16));
}

}  // namespace
}  // namespace kv
