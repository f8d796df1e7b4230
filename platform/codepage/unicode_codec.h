#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavik {

// UTF-16LE and UTF-8 conversions of the standard library only: files come in
// these encodings too, and the command-line tool prints UTF-8.
class UnicodeCodec {
public:
    // Little-endian 16-bit units; a final odd byte is ignored.
    static std::u16string decodeUtf16Le(std::string_view bytes);

    // The length of the longest start of `bytes` that is well-formed UTF-8 (no
    // overlongs, no surrogates, nothing above U+10FFFF): bytes.size() when all is.
    static std::size_t validUtf8Prefix(std::string_view bytes);

    // The length in bytes (1 to 4) of the longest character of well-formed UTF-8,
    // 0 for no bytes; std::nullopt when the bytes are not well-formed UTF-8. Both
    // come from one pass, so a file's encoding is told from its bytes quickly.
    static std::optional<std::size_t> longestUtf8Sequence(std::string_view bytes);

    // Ill-formed sequences become U+FFFD; characters above U+FFFF become surrogate pairs.
    static std::u16string decodeUtf8(std::string_view bytes);

    // Unpaired surrogates become U+FFFD.
    static std::string encodeUtf8(std::u16string_view text);
};

}  // namespace tavik
