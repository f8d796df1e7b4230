#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/iconv_converter.h"
#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

#include <random>

namespace tavik {
namespace {

// The codec's tables are built from iconv, so iconv's own conversion is the reference: for
// every byte and pair, every UTF-16 unit, and random strings that meet pairs, broken pairs
// and surrogates at every offset, the last of them crossing the codec's buffers many times.
TEST(Cp932Codec, EveryCharacterAndRandomStrings_ConvertAsIconvDoes)
{
    ASSERT_EQ(Cp932Codec::decode("\x82\xA0"), u"あ") << "glibc has no CP932 converter";
    for (unsigned n = 0; n < 257 * 256; ++n) {  // every byte alone, then every pair
        const std::string bytes = n < 256 ? std::string(1, char(n)) : std::string{char(n / 256 - 1), char(n % 256)};
        ASSERT_EQ(Cp932Codec::decode(bytes), IconvConverter::decode(bytes)) << testing::PrintToString(bytes);
    }
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const std::u16string text(1, static_cast<char16_t>(unit));
        ASSERT_EQ(Cp932Codec::encode(text), IconvConverter::encode(text)) << std::hex << unit;
    }
    std::mt19937 random(932);
    // Surrogates (U+1F600, a tag character iconv drops), the wave dashes, yen sign, kana.
    const char16_t pool[] = {0xD83D, 0xDE00, 0xDB40, 0xDC41, 0xFF5E, 0x301C, 0x00A5, 0x3042, 0xFF71, u'\\'};
    for (int round = 0; round <= 2000; ++round) {
        const std::size_t length = round < 2000 ? random() % 40 : 1 << 18;
        std::string bytes(length * 4, '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(random() % 3 ? random() : 'a');
        std::u16string text(length, u'\0');
        for (char16_t& unit : text)
            unit = random() % 2 ? static_cast<char16_t>(random()) : pool[random() % std::size(pool)];
        ASSERT_TRUE(Cp932Codec::decode(bytes) == IconvConverter::decode(bytes)) << "round " << round;
        ASSERT_TRUE(Cp932Codec::encode(text) == IconvConverter::encode(text)) << "round " << round;
    }
}

TEST(Cp932Codec, TheCharactersUsersMeet_ConvertAsOnWindows)
{
    const std::tuple<std::string, std::u16string, bool> both[] = {
        {"\x87\x40\x87\x8A", u"①㈱", true},  // NEC special characters
        {"\xB1\xDF", u"ｱﾟ", true},  // half-width katakana are single bytes
        {"\x81\x60", u"\uFF5E", true},  // the wave dash is the full-width tilde
        {"\\~", u"\\~", true},  // 0x5C and 0x7E stay ASCII
        {"caf?", u"caf\u00E9", false},  // written only
        {"a?b", u"a😀b", false},  // one "?" per character, not per unit
    };
    for (const auto& [bytes, text, decodes] : both) {
        EXPECT_EQ(Cp932Codec::encode(text), bytes);
        if (decodes) {
            EXPECT_EQ(Cp932Codec::decode(bytes), text);
        }
    }
    // An undefined byte, a pair missing from the table, a lead byte at the end.
    EXPECT_EQ(Cp932Codec::decode("\x80\x85\x40"), u"\uFFFD\uFFFD@");
    EXPECT_EQ(Cp932Codec::decode("abc\x82"), u"abc\uFFFD");
}

TEST(UnicodeCodec, Utf8_EveryCodePointRoundTrips_IllFormedInputIsRejectedOrReplaced)
{
    for (char32_t c = 0; c <= 0x10FFFF; c = c == 0xD7FF ? 0xE000 : c + 1) {
        std::u16string text(1, static_cast<char16_t>(c));
        if (c >= 0x10000)
            text = {static_cast<char16_t>(0xD7C0 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
        const std::string bytes = UnicodeCodec::encodeUtf8(text);
        ASSERT_EQ(bytes.size(), c < 0x80 ? 1u : c < 0x800 ? 2u : c < 0x10000 ? 3u : 4u) << std::hex << +c;
        ASSERT_EQ(UnicodeCodec::longestUtf8Sequence(bytes), bytes.size()) << std::hex << +c;
        ASSERT_EQ(UnicodeCodec::decodeUtf8(bytes), text) << std::hex << +c;
    }
    // Overlong forms, a surrogate, beyond U+10FFFF, cut short, stray; CP932 "あ", and CP932
    // that is ill-formed UTF-8 only after the well-formed "牛".
    for (const char* bytes : {"\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
             "ok\xE3\x81", "\xE3\x81x", "\x80", "\x82\xA0", "\xE7\x89\x9B\x93\xFB"})
        EXPECT_EQ(UnicodeCodec::longestUtf8Sequence(bytes), std::nullopt) << testing::PrintToString(bytes);
    EXPECT_EQ(UnicodeCodec::longestUtf8Sequence("\xC3\xA8"), 2u);  // CP932 "ﾃｨ" is UTF-8 "è"
    // One replacement per maximal ill-formed prefix; unpaired surrogates; an odd last byte is ignored.
    EXPECT_EQ(UnicodeCodec::decodeUtf8("\xE3\x81x\xED\xA0\x80"), u"\uFFFDx\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"\xD83Dx\xDE00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(UnicodeCodec::decodeUtf16Le(std::string("a\0=\xD8\x00\xDE!", 7)), u"a😀");
}

}  // namespace
}  // namespace tavik
