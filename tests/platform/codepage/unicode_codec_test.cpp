#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace tavik {
namespace {

TEST(UnicodeCodecTest, IsValidUtf8_TellsWellFormedFromIllFormed)
{
    const struct {
        const char* name;
        std::string bytes;
        bool valid;
    } cases[] = {
        {"empty", "", true},
        {"ascii", "tavik 1.28\r\n", true},
        {"japanese", "\xE3\x81\x82\xE6\xBC\xA2", true},  // あ漢
        {"four bytes", "\xF0\x9F\x98\x80", true},        // U+1F600
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"nul inside", std::string("a\0b", 3), true},
        {"overlong two bytes", "\xC0\xAF", false},
        {"overlong C1", "\xC1\xBF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"overlong four bytes", "\xF0\x80\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"truncated at end", "ok\xE3\x81", false},
        {"truncated before ascii", "\xE3\x81x", false},
        {"lone continuation", "\x80", false},
        {"FF byte", "\xFF", false},
        {"CP932 text", "\x82\xA0", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnicodeCodec::isValidUtf8(c.bytes), c.valid) << c.name;
}

TEST(UnicodeCodecTest, DecodeUtf8_IllFormed_GivesOneReplacementPerMaximalPrefix)
{
    const struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"\xE3\x81x", u"\uFFFDx"},                       // truncated sequence is one replacement
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},         // a surrogate is not even a valid prefix
        {"\xC0\xAF", u"\uFFFD\uFFFD"},
        {"\xF0\x9F\x98", u"\uFFFD"},
        {"a\x80" "b", u"a\uFFFDb"},
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnicodeCodec::decodeUtf8(c.bytes), c.text);
}

TEST(UnicodeCodecTest, Utf8_EveryCodePoint_RoundTripsThroughUtf16)
{
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            continue;
        std::u16string text;
        if (codePoint < 0x10000) {
            text = std::u16string(1, static_cast<char16_t>(codePoint));
        } else {
            text += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        }
        const std::string bytes = UnicodeCodec::encodeUtf8(text);
        ASSERT_EQ(bytes.size(), codePoint < 0x80 ? 1u : codePoint < 0x800 ? 2u : codePoint < 0x10000 ? 3u : 4u);
        ASSERT_TRUE(UnicodeCodec::isValidUtf8(bytes)) << std::hex << static_cast<unsigned>(codePoint);
        ASSERT_EQ(UnicodeCodec::decodeUtf8(bytes), text) << std::hex << static_cast<unsigned>(codePoint);
    }
}

TEST(UnicodeCodecTest, EncodeUtf8_Text_GivesUtf8AndReplacesUnpairedSurrogates)
{
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"○<2024/05/01>牛乳"), "○<2024/05/01>牛乳");
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"a😀"), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"\xD83Dx"), "\xEF\xBF\xBDx");
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"x\xDE00"), "x\xEF\xBF\xBD");
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"\xDE00\xD83D"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // reversed pair
}

TEST(UnicodeCodecTest, DecodeUtf16Le_Bytes_GivesUnitsAndIgnoresOddLastByte)
{
    EXPECT_EQ(UnicodeCodec::decodeUtf16Le(std::string("a\0B0", 4)), u"a\u3042");
    EXPECT_EQ(UnicodeCodec::decodeUtf16Le(std::string("=\xD8\x00\xDE", 4)), u"😀");
    EXPECT_EQ(UnicodeCodec::decodeUtf16Le(std::string("a\0b", 3)), u"a");
    EXPECT_EQ(UnicodeCodec::decodeUtf16Le(""), u"");
}

}  // namespace
}  // namespace tavik
