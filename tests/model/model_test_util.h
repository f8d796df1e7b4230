#pragma once

#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"

#include <string>
#include <string_view>

namespace tavik::test {

// Tests write their texts in UTF-8 and compare in UTF-8, so failures print readably.
inline std::u16string U16(std::string_view utf8)
{
    return UnicodeCodec::decodeUtf8(utf8);
}
inline std::string U8(std::u16string_view text)
{
    return UnicodeCodec::encodeUtf8(text);
}

// The CP932 bytes of a file whose lines are given in UTF-8.
inline std::string AnsiFile(std::string_view utf8)
{
    return Cp932Codec::encode(U16(utf8));
}

}  // namespace tavik::test
