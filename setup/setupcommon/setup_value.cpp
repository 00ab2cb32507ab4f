#include "setup/setupcommon/setup_value.h"

#include <cmath>
#include <string>

#include "setup/setupcommon/ini_strings.h"

namespace kv {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The text without blanks, which may stand anywhere in a number.
std::string WithoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (!Blank(c)) out += c;
    return out;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

double RadixNumber(std::string_view digits, int radix) {
    double value = 0;
    for (char c : digits) {
        const int d = DigitValue(c);
        if (d >= radix) break;
        value = value * radix + d;
    }
    return value;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double LeadingNumber(std::string_view text) {
    const std::string s = WithoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return RadixNumber(std::string_view(s).substr(2), 16);
        if (s[1] == 'O' || s[1] == 'o') return RadixNumber(std::string_view(s).substr(2), 8);
        return 0;
    }
    // Collect sign, digits, fraction and exponent, then let the library
    // convert exactly that much.
    std::string number;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool digits = false;
    while (i < s.size() && IsDigit(s[i])) number += s[i++], digits = true;
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && IsDigit(s[i])) number += s[i++], digits = true;
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        if (j < s.size() && IsDigit(s[j])) {
            // Enough of the exponent to overflow; more digits change nothing
            // but the time strtod takes.
            std::size_t taken = 0;
            while (j < s.size() && s[j] == '0') ++j;
            while (j < s.size() && IsDigit(s[j])) {
                if (taken++ < 6) exponent += s[j];
                ++j;
            }
            if (taken == 0) exponent += '0';
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::int32_t SetupValueOf(const std::string& text, std::int32_t min, std::int32_t max) {
    if (text.empty()) return kSetupValueMissing;
    const double v = std::nearbyint(LeadingNumber(text));  // the default mode rounds halves to even
    if (v < min) return kSetupValueBelow;
    if (v > max) return kSetupValueAbove;
    return static_cast<std::int32_t>(v);
}

std::int32_t ReadSetupValue(IniPort& ini, const std::string& installPath, const std::string& key,
                            std::int32_t min, std::int32_t max) {
    return SetupValueOf(ReadIniString(ini, installPath + "\\setup.ini", "Settings", key), min, max);
}

}  // namespace kv
