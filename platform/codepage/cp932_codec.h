#pragma once

#include <string>
#include <string_view>

namespace tavik {

// The program's ANSI code page: CP932 (Windows' Shift_JIS), converted exactly as
// glibc iconv converts it. Conversion runs over tables built once from iconv, so
// results equal iconv's while large files convert faster than through iconv.
class Cp932Codec {
public:
    // Bytes that are not CP932 (an unknown lead/trail pair, a lone lead byte at the
    // end, an undefined single byte) become U+FFFD, one per byte that is skipped.
    static void appendDecoded(std::string_view bytes, std::u16string& out);
    static std::u16string decode(std::string_view bytes);
    // Decodes into `out`, which has room for bytes.size() units (never more are
    // written), and returns the number of units written; adds the number of bytes
    // that were not CP932 to `invalidBytes`.
    static std::size_t decodeInto(std::string_view bytes, char16_t* out, std::size_t& invalidBytes);

    // The characters an encoding replaced with "?".
    struct Unencodable {
        static constexpr std::size_t kKept = 5;
        std::u32string first;  // the first kKept different ones (U+FFFD for an unpaired surrogate)
        bool more = false;  // others than those in `first`
        std::size_t count = 0;  // all of them
    };

    // Characters CP932 cannot hold (and unpaired surrogates) become "?" (0x3F),
    // one per character, and are added to `unencodable` when given; the invisible
    // tag characters U+E0000..U+E007F are dropped, as iconv drops them. Never
    // fails for lack of room.
    static void appendEncoded(std::u16string_view text, std::string& out, Unencodable* unencodable = nullptr);
    static std::string encode(std::u16string_view text);
};

}  // namespace tavik
