#include "platform/codepage/iconv_converter.h"

#include "platform/codepage/utf16.h"

#include <cerrno>

namespace tavik {

namespace {

constexpr const char* kCp932 = "CP932";
constexpr const char* kUtf16Le = "UTF-16LE";

std::u16string FromUtf16LeBytes(const std::string& bytes)
{
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(
            static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

std::string ToUtf16LeBytes(std::u16string_view text)
{
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return bytes;
}

}  // namespace

IconvConverter::IconvConverter(Direction direction)
{
    m_descriptor = direction == Direction::Cp932ToUtf16Le ? iconv_open(kUtf16Le, kCp932) : iconv_open(kCp932, kUtf16Le);
}

IconvConverter::~IconvConverter()
{
    if (isOpen())
        iconv_close(m_descriptor);
}

void IconvConverter::reset()
{
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);
}

int IconvConverter::convert(std::string_view input, std::size_t& consumed, std::string& output)
{
    char buffer[4096];
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(input.data()) + consumed;
    std::size_t inLeft = input.size() - consumed;
    for (;;) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(m_descriptor, &in, &inLeft, &out, &outLeft);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        output.append(buffer, static_cast<std::size_t>(out - buffer));
        consumed = input.size() - inLeft;
        if (error != E2BIG)
            return error;
    }
}

IconvConverter::Ending IconvConverter::convertWhole(std::string_view input, std::string& output)
{
    output.clear();
    if (!isOpen())
        return Ending::InvalidSequence;
    reset();
    std::size_t consumed = 0;
    switch (convert(input, consumed, output)) {
    case 0:
        return Ending::Complete;
    case EINVAL:
        return Ending::IncompleteSequence;
    default:
        return Ending::InvalidSequence;
    }
}

std::u16string IconvConverter::decode(std::string_view bytes)
{
    IconvConverter converter(Direction::Cp932ToUtf16Le);
    if (!converter.isOpen())
        return std::u16string(bytes.size(), u'\uFFFD');

    std::string utf16;
    utf16.reserve(bytes.size() * 2);
    std::size_t consumed = 0;
    while (converter.convert(bytes, consumed, utf16) != 0 && consumed < bytes.size()) {
        utf16 += "\xFD\xFF";
        ++consumed;
        converter.reset();
    }
    return FromUtf16LeBytes(utf16);
}

std::string IconvConverter::encode(std::u16string_view text)
{
    IconvConverter converter(Direction::Utf16LeToCp932);
    if (!converter.isOpen())
        return std::string(text.size(), '?');

    const std::string utf16 = ToUtf16LeBytes(text);
    std::string bytes;
    bytes.reserve(text.size() * 2);
    std::size_t consumed = 0;
    while (converter.convert(utf16, consumed, bytes) != 0 && consumed < utf16.size()) {
        // iconv stops at the start of a unit; a valid surrogate pair is one character.
        const std::size_t unit = consumed / 2;
        const bool pair
            = unit + 1 < text.size() && utf16::IsHighSurrogate(text[unit]) && utf16::IsLowSurrogate(text[unit + 1]);
        bytes += '?';
        consumed = (unit + (pair ? 2 : 1)) * 2;
        converter.reset();
    }
    return bytes;
}

}  // namespace tavik
