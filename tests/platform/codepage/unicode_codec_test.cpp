#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(UnicodeCodecTest, IllFormedInput_IsRejectedOrReplaced)
{
    // The longest character of well-formed bytes; std::nullopt for ill-formed ones.
    constexpr std::optional<std::size_t> kIllFormed;
    const std::pair<std::string, std::optional<std::size_t>> cases[] = {
        {"", 0}, {{"a\0b", 3}, 1}, {"caf\xC3\xA9", 2}, {"\xC3\xA8", 2},  // CP932 "ﾃｨ" is UTF-8 "è"
        {"\xC3\xA9\xE7\x89\x9B", 3}, {"a\xE3\x81\x82\xF0\x9F\x98\x80", 4}, {"\xF4\x8F\xBF\xBF", 4},
        {"\xC0\xAF", kIllFormed}, {"\xE0\x80\xAF", kIllFormed}, {"\xF0\x80\x80\xAF", kIllFormed},  // overlong
        {"\xED\xA0\x80", kIllFormed}, {"\xF4\x90\x80\x80", kIllFormed},  // surrogate, above U+10FFFF
        {"ok\xE3\x81", kIllFormed}, {"\xE3\x81x", kIllFormed}, {"\x80", kIllFormed},  // cut short, stray
        {"\x82\xA0", kIllFormed}, {"\xE7\x89\x9B\x93\xFB", kIllFormed},  // CP932 "あ", ill-formed after "牛"
    };
    for (const auto& [bytes, longest] : cases) {
        EXPECT_EQ(UnicodeCodec::longestUtf8Sequence(bytes), longest) << testing::PrintToString(bytes);
        EXPECT_EQ(UnicodeCodec::validUtf8Prefix(bytes) == bytes.size(), longest.has_value())
            << testing::PrintToString(bytes);
    }
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
        ASSERT_EQ(UnicodeCodec::longestUtf8Sequence(bytes), bytes.size()) << std::hex << +c;
        ASSERT_EQ(UnicodeCodec::decodeUtf8(bytes), text) << std::hex << +c;
    }
}

}  // namespace
}  // namespace tavik
