#pragma once

#include <iconv.h>
#include <string>
#include <string_view>

namespace tavik {

// CP932 conversions made directly by glibc iconv. Slow next to the tables of
// Cp932Codec, but authoritative: the tables are built from it and the tests
// hold the tables against it.
class IconvConverter {
public:
    enum class Direction { Cp932ToUtf16Le, Utf16LeToCp932 };
    enum class Ending { Complete, InvalidSequence, IncompleteSequence };

    explicit IconvConverter(Direction direction);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    // False when glibc has no CP932 converter (its gconv modules are missing).
    bool isOpen() const { return m_descriptor != kClosed; }

    // Converts `input` as one complete piece and sets `output` to the result.
    // InvalidSequence: iconv stopped at a sequence it cannot convert; IncompleteSequence: the
    // input ends inside a sequence (for CP932 input, a lone lead byte).
    Ending convertWhole(std::string_view input, std::string& output);

    // Whole conversions with the codec's replacement rules, made as an ordinary
    // iconv loop: an input byte where iconv stops becomes U+FFFD and decoding
    // resumes at the next byte; a character iconv cannot encode, a surrogate pair
    // or an unpaired surrogate becomes "?".
    static std::u16string decode(std::string_view bytes);
    static std::string encode(std::u16string_view text);

private:
    // Runs iconv over `input` from `consumed` onwards, appending to `output` and
    // advancing `consumed`; returns 0 when all of it was converted, otherwise
    // the errno iconv stopped with.
    int convert(std::string_view input, std::size_t& consumed, std::string& output);
    void reset();

    static inline const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
    iconv_t m_descriptor = kClosed;
};

}  // namespace tavik
