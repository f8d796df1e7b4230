#pragma once

#include <string>

// The UTF-16 facts every conversion needs: surrogates and the code points they pair into.
namespace tavik::utf16 {

constexpr bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point of a high and a low surrogate.
constexpr char32_t CombineSurrogates(char16_t high, char16_t low)
{
    return 0x10000 + ((high - 0xD800u) << 10) + (low - 0xDC00u);
}

// Appends one code point (at most U+10FFFF) as one unit or a surrogate pair.
inline void AppendCodePoint(char32_t codePoint, std::u16string& out)
{
    if (codePoint < 0x10000) {
        out += static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

}  // namespace tavik::utf16
