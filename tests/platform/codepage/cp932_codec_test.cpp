#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/iconv_converter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tavik {
namespace {

std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
        hex += ' ';
    }
    return hex;
}

std::string Units(std::u16string_view text)
{
    std::string hex;
    for (const char16_t unit : text) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(unit));
        hex += buffer;
    }
    return hex;
}

TEST(Cp932CodecTest, IsAvailable_GlibcHasCp932_ReturnsTrue)
{
    EXPECT_TRUE(Cp932Codec::isAvailable());
}

TEST(Cp932CodecTest, Decode_EveryByteAndEveryPair_EqualsIconv)
{
    std::string bytes;
    for (unsigned first = 0; first < 256; ++first) {
        bytes.assign(1, static_cast<char>(first));
        ASSERT_EQ(Units(Cp932Codec::decode(bytes)), Units(IconvConverter::decode(bytes))) << Hex(bytes);
        bytes.resize(2);
        for (unsigned second = 0; second < 256; ++second) {
            bytes[1] = static_cast<char>(second);
            ASSERT_EQ(Units(Cp932Codec::decode(bytes)), Units(IconvConverter::decode(bytes))) << Hex(bytes);
        }
    }
}

TEST(Cp932CodecTest, Encode_EveryUtf16Unit_EqualsIconv)
{
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const std::u16string text(1, static_cast<char16_t>(unit));
        ASSERT_EQ(Hex(Cp932Codec::encode(text)), Hex(IconvConverter::encode(text))) << "U+" << std::hex << unit;
    }
}

// Every high surrogate with the ends of the low range, and all of plane 14's
// first block, where iconv drops the tag characters. (All million characters
// would take iconv tens of seconds: it rescans its buffer after each one it
// cannot encode.)
TEST(Cp932CodecTest, Encode_CharactersOutsideTheBmp_EqualsIconv)
{
    std::u16string text;
    const auto append = [&](char32_t codePoint) {
        text += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
        text += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    };
    for (char32_t block = 0x10000; block <= 0x10FFFF; block += 0x400) {
        for (const char32_t low : {0x000, 0x07F, 0x080, 0x3FF})
            append(block + low);
    }
    for (char32_t codePoint = 0xDFF00; codePoint <= 0xE0200; ++codePoint)
        append(codePoint);
    EXPECT_TRUE(Cp932Codec::encode(text) == IconvConverter::encode(text));
}

// Lead bytes, trail bytes, invalid bytes and ASCII, so that pairs and broken pairs
// meet at every offset, including runs long enough for the ASCII fast path.
TEST(Cp932CodecTest, Decode_RandomByteStrings_EqualsIconv)
{
    std::mt19937 random(932);
    const std::vector<unsigned char> interesting = {0x00, 0x20, 0x41, 0x5C, 0x7E, 0x7F, 0x80, 0x81, 0x82, 0x87,
                                                    0x9F, 0xA0, 0xA1, 0xDF, 0xE0, 0xEA, 0xED, 0xEE, 0xFA, 0xFC,
                                                    0xFD, 0xFF, 0x40, 0x9E, 0x9D, 0xF0};
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = random() % 40;
        std::string bytes(length, '\0');
        for (char& byte : bytes) {
            switch (random() % 3) {
            case 0: byte = static_cast<char>(random() % 256); break;
            case 1: byte = static_cast<char>(interesting[random() % interesting.size()]); break;
            default: byte = static_cast<char>('a' + random() % 26); break;
            }
        }
        ASSERT_EQ(Units(Cp932Codec::decode(bytes)), Units(IconvConverter::decode(bytes))) << Hex(bytes);
    }

    std::string large(1 << 20, '\0');
    for (char& byte : large)
        byte = static_cast<char>(random() % 2 ? random() % 256 : 'x');
    EXPECT_TRUE(Cp932Codec::decode(large) == IconvConverter::decode(large));
}

TEST(Cp932CodecTest, Encode_RandomTextWithSurrogates_EqualsIconv)
{
    std::mt19937 random(65001);
    const std::vector<char16_t> interesting = {u'a', u'\\', u'~', 0x00A5, 0x203E, 0x3042, 0x4E9C, 0xFF71, 0x00E9,
                                               0xD83D, 0xDE00, 0xDBFF, 0xDC00, 0xE000, 0xFFFD, 0xFF5E, 0x301C};
    for (int round = 0; round < 3000; ++round) {
        std::u16string text(random() % 40, u'\0');
        for (char16_t& unit : text)
            unit = random() % 2 ? static_cast<char16_t>(random() % 0x10000) : interesting[random() % interesting.size()];
        ASSERT_EQ(Hex(Cp932Codec::encode(text)), Hex(IconvConverter::encode(text))) << Units(text);
    }

    // Long enough to cross the encoder's buffer many times, with a character
    // that needs "?" now and then.
    std::u16string large;
    while (large.size() < 200000) {
        const unsigned pick = random() % 100;
        if (pick < 40)
            large += static_cast<char16_t>(0x20 + random() % 0x5F);
        else if (pick < 70)
            large += static_cast<char16_t>(0x4E00 + random() % 0x5000);
        else if (pick < 90)
            large += static_cast<char16_t>(0x3041 + random() % 0x56);
        else if (pick < 99)
            large += static_cast<char16_t>(0xFF61 + random() % 0x3F);
        else
            large += u"é😀";
    }
    EXPECT_TRUE(Cp932Codec::encode(large) == IconvConverter::encode(large));
}

TEST(Cp932CodecTest, Decode_Cp932Characters_GivesTheirUnicode)
{
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\x87\x40", u"①"},           // NEC special characters
        {"\x87\x8A", u"㈱"},
        {"\xB1", u"ｱ"},               // half-width katakana, one byte
        {"\x81\x60", u"\uFF5E"},      // CP932's wave dash is the full-width tilde
        {"\\~", u"\\~"},              // glibc keeps backslash and tilde as in ASCII
        {"\x82\xA0\x8A\xBF\x8E\x9A", u"あ漢字"},
        {"a\x82\xA0" "b", u"aあb"},
        {"\xF0\x40", u"\uE000"},      // user-defined area maps to private use
    };
    for (const auto& c : cases)
        EXPECT_EQ(Units(Cp932Codec::decode(c.bytes)), Units(c.text)) << Hex(c.bytes);
}

TEST(Cp932CodecTest, Decode_BytesThatAreNotCp932_GiveOneReplacementPerSkippedByte)
{
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\x80", u"\uFFFD"},
        {"\xA0", u"\uFFFD"},
        {"\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"abc\x82", u"abc\uFFFD"},              // lead byte at the very end
        {"\x82\x20x", u"\uFFFD x"},             // lead byte with a byte that cannot follow it
        {"\x85\x81\x40", u"\uFFFD\u3000"},      // after the skip, the second lead starts a valid pair
        {"\x85\x40", u"\uFFFD@"},               // a gap in the table
    };
    for (const auto& c : cases)
        EXPECT_EQ(Units(Cp932Codec::decode(c.bytes)), Units(c.text)) << Hex(c.bytes);
}

TEST(Cp932CodecTest, Encode_Characters_GivesCp932OrQuestionMark)
{
    const struct {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"①㈱", "\x87\x40\x87\x8A"},
        {u"ｱ", "\xB1"},
        {u"\uFF5E", "\x81\x60"},
        {u"\u301C", "\x81\x60"},          // the JIS wave dash is encoded as CP932's too
        {u"\\~", "\\~"},
        {u"\u00A5", "\\"},                // glibc maps the yen sign onto 0x5C
        {u"caf\u00E9", "caf?"},
        {u"a😀b", "a?b"},                 // a character outside CP932 is one "?", not two
        {u"a\U000E0041b", "ab"},          // iconv drops tag characters
        {u"\xD83Dx", "?x"},               // unpaired high surrogate
        {u"x\xDE00", "x?"},               // unpaired low surrogate
        {u"x\xD83D", "x?"},               // high surrogate at the end
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(Cp932Codec::encode(c.text)), Hex(c.bytes)) << Units(c.text);
}

TEST(Cp932CodecTest, AppendDecodedAndAppendEncoded_KeepWhatIsAlreadyThere)
{
    std::u16string text = u"前";
    Cp932Codec::appendDecoded("\x8C\xE3", text);
    EXPECT_EQ(text, u"前後");

    std::string bytes = "x";
    Cp932Codec::appendEncoded(u"後", bytes);
    EXPECT_EQ(bytes, "x\x8C\xE3");
}

}  // namespace
}  // namespace tavik
