// SPDX-License-Identifier: MIT
#include "game/settings/decimal_text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace zelto {

// The standard library's conversions where it has them for floats (__cpp_lib_to_chars); the
// web's C++ library has them for integers only, and there the C library's, which the program
// runs in the "C" locale (it never sets another), after the text is checked for the plain form
// from_chars takes.
#if defined(__cpp_lib_to_chars)

std::string WrittenDecimal(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

bool ReadDecimal(std::string_view text, float& value) {
    float read = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
    value = read;
    return true;
}

#else

std::string WrittenDecimal(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) break;
    }
    return text;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Past the digits from position at; false when there are none.
bool SkipDigits(std::string_view text, std::size_t& at) {
    const std::size_t first = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at > first;
}

bool IsPlainDecimal(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && text[at] == '-') ++at;
    const bool whole = SkipDigits(text, at);
    bool fraction = false;
    if (at < text.size() && text[at] == '.') {
        ++at;
        fraction = SkipDigits(text, at);
    }
    if (!whole && !fraction) return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        if (!SkipDigits(text, at)) return false;
    }
    return at == text.size();
}

}  // namespace

bool ReadDecimal(std::string_view text, float& value) {
    if (!IsPlainDecimal(text)) return false;
    const std::string copy(text);
    value = std::strtof(copy.c_str(), nullptr);
    return true;
}

#endif

}  // namespace zelto
