#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(UnicodeCodecTest, IllFormedInput_IsRejectedOrReplaced)
{
    const std::pair<std::string, bool> cases[] = {
        {"", true}, {"a\xE3\x81\x82\xF0\x9F\x98\x80", true}, {"\xF4\x8F\xBF\xBF", true}, {{"a\0b", 3}, true},
        {"\xC0\xAF", false}, {"\xE0\x80\xAF", false}, {"\xF0\x80\x80\xAF", false},  // overlong
        {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},  // surrogate, above U+10FFFF
        {"ok\xE3\x81", false}, {"\xE3\x81x", false}, {"\x80", false}, {"\x82\xA0", false},  // cut short, stray
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(UnicodeCodec::isValidUtf8(bytes), valid) << testing::PrintToString(bytes);
    // One replacement per maximal ill-formed prefix; unpaired surrogates; an odd last byte is ignored.
    EXPECT_EQ(UnicodeCodec::decodeUtf8("\xE3\x81x\xED\xA0\x80"), u"\uFFFDx\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(UnicodeCodec::encodeUtf8(u"\xD83Dx\xDE00"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
    EXPECT_EQ(UnicodeCodec::decodeUtf16Le(std::string("a\0=\xD8\x00\xDE!", 7)), u"a😀");
}

TEST(UnicodeCodecTest, Utf8_EveryCodePoint_RoundTripsThroughUtf16)
{
    for (char32_t c = 0; c <= 0x10FFFF; c = c == 0xD7FF ? 0xE000 : c + 1) {
        std::u16string text(1, static_cast<char16_t>(c));
        if (c >= 0x10000)
            text = {static_cast<char16_t>(0xD7C0 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
        const std::string bytes = UnicodeCodec::encodeUtf8(text);
        ASSERT_EQ(bytes.size(), c < 0x80 ? 1u : c < 0x800 ? 2u : c < 0x10000 ? 3u : 4u) << std::hex << +c;
        ASSERT_TRUE(UnicodeCodec::isValidUtf8(bytes) && UnicodeCodec::decodeUtf8(bytes) == text) << std::hex << +c;
    }
}

}  // namespace
}  // namespace tavik
