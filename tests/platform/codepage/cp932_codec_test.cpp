#include "platform/codepage/cp932_codec.h"

#include "platform/codepage/iconv_converter.h"

#include <gtest/gtest.h>

#include <random>

namespace tavik {
namespace {

// The codec's tables are built from iconv, so iconv's own conversion is the reference.
TEST(Cp932CodecTest, Decode_EveryByteAndEveryPair_EqualsIconv)
{
    ASSERT_TRUE(Cp932Codec::isAvailable());
    for (unsigned n = 0; n < 257 * 256; ++n) {  // every byte alone, then every pair
        const std::string bytes = n < 256 ? std::string(1, char(n)) : std::string{char(n / 256 - 1), char(n % 256)};
        ASSERT_EQ(Cp932Codec::decode(bytes), IconvConverter::decode(bytes)) << testing::PrintToString(bytes);
    }
}

TEST(Cp932CodecTest, Encode_EveryUtf16Unit_EqualsIconv)
{
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const std::u16string text(1, static_cast<char16_t>(unit));
        ASSERT_EQ(Cp932Codec::encode(text), IconvConverter::encode(text)) << std::hex << unit;
    }
}

// Short strings meet pairs, broken pairs and surrogates at every offset; the long
// ones cross the codec's output buffers many times.
TEST(Cp932CodecTest, RandomStrings_BothWays_EqualIconv)
{
    std::mt19937 random(932);
    // Surrogates (U+1F600, a tag character iconv drops), the wave dashes, yen sign, kana.
    const char16_t pool[] = {0xD83D, 0xDE00, 0xDB40, 0xDC41, 0xFF5E, 0x301C, 0x00A5, 0x3042, 0xFF71, u'\\'};
    for (int round = 0; round <= 3000; ++round) {
        const std::size_t length = round < 3000 ? random() % 40 : 1 << 18;
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

enum class Way { Both, DecodeOnly, EncodeOnly };

TEST(Cp932CodecTest, Cp932Specifics_ConvertAsOnWindows)
{
    const struct {
        std::string bytes;
        std::u16string text;
        Way way;
    } cases[] = {
        {"\x87\x40\x87\x8A", u"①㈱", Way::Both},  // NEC special characters
        {"\xB1\xDF", u"ｱﾟ", Way::Both},  // half-width katakana are single bytes
        {"\x81\x60", u"\uFF5E", Way::Both},  // the wave dash is the full-width tilde
        {"\\~", u"\\~", Way::Both},  // 0x5C and 0x7E stay ASCII
        {"caf?", u"caf\u00E9", Way::EncodeOnly},
        {"a?b", u"a😀b", Way::EncodeOnly},  // one "?" per character, not per unit
        {"\x80\x85\x40", u"\uFFFD\uFFFD@", Way::DecodeOnly},  // an undefined byte; a pair missing from the table
        {"abc\x82", u"abc\uFFFD", Way::DecodeOnly},  // lead byte at the end
    };
    for (const auto& c : cases) {
        if (c.way != Way::EncodeOnly) {
            EXPECT_EQ(Cp932Codec::decode(c.bytes), c.text);
        }
        if (c.way != Way::DecodeOnly) {
            EXPECT_EQ(Cp932Codec::encode(c.text), c.bytes);
        }
    }
}

}  // namespace
}  // namespace tavik
