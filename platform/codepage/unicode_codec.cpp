#include "platform/codepage/unicode_codec.h"

#include "platform/codepage/utf16.h"

#include <algorithm>
#include <cstdint>

namespace tavik {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kInvalid = 0xFFFFFFFF;

struct Utf8Step {
    char32_t codePoint = kInvalid;  // kInvalid for an ill-formed sequence
    std::size_t length = 1;  // bytes taken; for an ill-formed one, its maximal valid prefix
};

// Reads one sequence at `pos`. The allowed range of the second byte excludes
// overlong forms, surrogates and code points above U+10FFFF, so an ill-formed
// sequence stops at the first byte that cannot continue it.
Utf8Step ReadUtf8(std::string_view bytes, std::size_t pos)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80)
        return {lead, 1};

    std::size_t continuations = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        continuations = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        continuations = 2;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        continuations = 3;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return {kInvalid, 1};
    }

    std::size_t length = 1;
    for (std::size_t i = 0; i < continuations; ++i) {
        if (pos + length >= bytes.size())
            return {kInvalid, length};
        const auto next = static_cast<unsigned char>(bytes[pos + length]);
        if (next < low || next > high)
            return {kInvalid, length};
        codePoint = codePoint << 6 | (next & 0x3F);
        ++length;
        low = 0x80;
        high = 0xBF;
    }
    return {codePoint, length};
}

void AppendUtf8(char32_t codePoint, std::string& out)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

struct Utf8Scan {
    std::size_t validPrefix = 0;  // bytes up to the first ill-formed sequence
    std::size_t longest = 0;  // the longest character before it, in bytes
};

// One pass over the well-formed start of `bytes`.
Utf8Scan ScanUtf8(std::string_view bytes)
{
    Utf8Scan scan;
    std::size_t& pos = scan.validPrefix;
    while (pos < bytes.size()) {
        // ASCII bytes, most of a file, are passed over without decoding.
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            scan.longest = std::max<std::size_t>(scan.longest, 1);
            ++pos;
            continue;
        }
        const Utf8Step step = ReadUtf8(bytes, pos);
        if (step.codePoint == kInvalid)
            break;
        scan.longest = std::max(scan.longest, step.length);
        pos += step.length;
    }
    return scan;
}

}  // namespace

std::u16string UnicodeCodec::decodeUtf16Le(std::string_view bytes)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(
            static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

std::size_t UnicodeCodec::validUtf8Prefix(std::string_view bytes)
{
    return ScanUtf8(bytes).validPrefix;
}

std::optional<std::size_t> UnicodeCodec::longestUtf8Sequence(std::string_view bytes)
{
    const Utf8Scan scan = ScanUtf8(bytes);
    if (scan.validPrefix < bytes.size())
        return std::nullopt;
    return scan.longest;
}

std::u16string UnicodeCodec::decodeUtf8(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        // One U+FFFD per maximal ill-formed prefix, as Unicode recommends.
        const Utf8Step step = ReadUtf8(bytes, pos);
        utf16::AppendCodePoint(step.codePoint == kInvalid ? kReplacement : step.codePoint, text);
        pos += step.length;
    }
    return text;
}

std::string UnicodeCodec::encodeUtf8(std::u16string_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (utf16::IsHighSurrogate(unit) && i + 1 < text.size() && utf16::IsLowSurrogate(text[i + 1])) {
            AppendUtf8(utf16::CombineSurrogates(unit, text[i + 1]), bytes);
            ++i;
        } else if (utf16::IsHighSurrogate(unit) || utf16::IsLowSurrogate(unit)) {
            AppendUtf8(kReplacement, bytes);
        } else {
            AppendUtf8(unit, bytes);
        }
    }
    return bytes;
}

}  // namespace tavik
