#include "platform/codepage/cp932_codec.h"

#include "platform/codepage/iconv_converter.h"
#include "platform/codepage/utf16.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

namespace tavik {

namespace {

// No CP932 byte or pair decodes to U+FFFF, so it marks "no character here".
constexpr char16_t kNoCharacter = 0xFFFF;
constexpr char16_t kReplacement = 0xFFFD;
// Encoded forms are packed as one byte (below 0x100) or lead << 8 | trail;
// CP932 has no lead byte 0xFF, so 0xFFFF marks "cannot encode".
constexpr std::uint16_t kCannotEncode = 0xFFFF;
constexpr char kDefaultCharacter = '?';
constexpr char32_t kFirstTag = 0xE0000;
constexpr char32_t kLastTag = 0xE007F;

struct DecodeTable {
    bool asciiUnchanged = false;
    std::array<char16_t, 256> single{};
    // 0 for a byte that starts no pair, otherwise 1 + its row in `pairs`.
    std::array<std::uint8_t, 256> leadRow{};
    // One row of 256 entries (indexed by the second byte) per lead byte.
    std::vector<char16_t> pairs;
};

struct EncodeTable {
    bool asciiUnchanged = false;
    std::vector<std::uint16_t> codes = std::vector<std::uint16_t>(0x10000, kCannotEncode);
};

// The UTF-16LE output of a decoded piece as one unit, or kNoCharacter when it is
// not exactly one unit.
char16_t SingleUnit(const std::string& utf16)
{
    if (utf16.size() != 2)
        return kNoCharacter;
    return static_cast<char16_t>(static_cast<unsigned char>(utf16[0]) | static_cast<unsigned char>(utf16[1]) << 8);
}

DecodeTable BuildDecodeTable()
{
    DecodeTable table;
    table.single.fill(kNoCharacter);
    IconvConverter converter(IconvConverter::Direction::Cp932ToUtf16Le);
    if (!converter.isOpen()) {
        for (unsigned byte = 0; byte < 0x80; ++byte)
            table.single[byte] = static_cast<char16_t>(byte);
        table.asciiUnchanged = true;
        return table;
    }

    std::string input(1, '\0');
    std::string output;
    std::vector<unsigned> leads;
    for (unsigned byte = 0; byte < 256; ++byte) {
        input[0] = static_cast<char>(byte);
        const IconvConverter::Ending ending = converter.convertWhole(input, output);
        if (ending == IconvConverter::Ending::Complete)
            table.single[byte] = SingleUnit(output);
        else if (ending == IconvConverter::Ending::IncompleteSequence)
            leads.push_back(byte);
    }

    table.pairs.assign(leads.size() * 256, kNoCharacter);
    input.resize(2);
    for (std::size_t row = 0; row < leads.size(); ++row) {
        table.leadRow[leads[row]] = static_cast<std::uint8_t>(row + 1);
        input[0] = static_cast<char>(leads[row]);
        for (unsigned trail = 0; trail < 256; ++trail) {
            input[1] = static_cast<char>(trail);
            if (converter.convertWhole(input, output) == IconvConverter::Ending::Complete)
                table.pairs[row * 256 + trail] = SingleUnit(output);
        }
    }

    table.asciiUnchanged = true;
    for (unsigned byte = 0; byte < 0x80; ++byte)
        table.asciiUnchanged = table.asciiUnchanged && table.single[byte] == byte;
    return table;
}

EncodeTable BuildEncodeTable()
{
    EncodeTable table;
    IconvConverter converter(IconvConverter::Direction::Utf16LeToCp932);
    if (!converter.isOpen()) {
        for (unsigned unit = 0; unit < 0x80; ++unit)
            table.codes[unit] = static_cast<std::uint16_t>(unit);
        table.asciiUnchanged = true;
        return table;
    }

    std::string input(2, '\0');
    std::string output;
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        input[0] = static_cast<char>(unit & 0xFF);
        input[1] = static_cast<char>(unit >> 8);
        if (converter.convertWhole(input, output) != IconvConverter::Ending::Complete)
            continue;
        const auto first = static_cast<unsigned char>(output.empty() ? 0 : output[0]);
        if (output.size() == 1)
            table.codes[unit] = first;
        else if (output.size() == 2 && first != 0 && first != 0xFF)
            table.codes[unit] = static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(output[1]));
    }

    table.asciiUnchanged = true;
    for (unsigned unit = 0; unit < 0x80; ++unit)
        table.asciiUnchanged = table.asciiUnchanged && table.codes[unit] == unit;
    return table;
}

// Built on first use; the start-up path needs only the decode table.
const DecodeTable& GetDecodeTable()
{
    static const DecodeTable table = BuildDecodeTable();
    return table;
}

const EncodeTable& GetEncodeTable()
{
    static const EncodeTable table = BuildEncodeTable();
    return table;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Decodes from `in` until `end`, or until `dest` reaches `full`; returns where it
// stopped. Counts the bytes that are not CP932 in `invalid`.
const unsigned char* DecodeSome(
    const unsigned char* in, const unsigned char* end, char16_t*& dest, char16_t* full, std::size_t& invalid)
{
    const DecodeTable& table = GetDecodeTable();
    while (in < end && dest < full) {
        const unsigned char byte = *in;
        if (byte < 0x80 && table.asciiUnchanged) {
            // Runs of ASCII (dates, marks, Latin text) are copied eight bytes at a time.
            while (end - in >= 8 && dest < full) {
                std::uint64_t word = 0;
                std::memcpy(&word, in, 8);
                if ((word & kHighBits) != 0)
                    break;
                for (int i = 0; i < 8; ++i)
                    dest[i] = in[i];
                in += 8;
                dest += 8;
            }
            while (in < end && *in < 0x80 && dest < full)
                *dest++ = *in++;
            continue;
        }
        const char16_t single = table.single[byte];
        if (single != kNoCharacter) {
            *dest++ = single;
            ++in;
            continue;
        }
        const unsigned row = table.leadRow[byte];
        if (row != 0 && end - in >= 2) {
            const char16_t pair = table.pairs[(row - 1) * 256 + in[1]];
            if (pair != kNoCharacter) {
                *dest++ = pair;
                in += 2;
                continue;
            }
        }
        *dest++ = kReplacement;
        ++invalid;
        ++in;
    }
    return in;
}

}  // namespace

void Cp932Codec::appendDecoded(std::string_view bytes, std::u16string& out)
{
    // Never more units than bytes. Reserving without resizing leaves the unused
    // part untouched, and for a large file touching fresh memory costs more than
    // the conversion itself; the output goes through a small buffer instead.
    out.reserve(out.size() + bytes.size());
    char16_t chunk[4096];
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = in + bytes.size();
    std::size_t invalid = 0;
    while (in < end) {
        char16_t* dest = chunk;
        // Room for one ASCII block of eight after every check.
        in = DecodeSome(in, end, dest, chunk + std::size(chunk) - 8, invalid);
        out.append(chunk, static_cast<std::size_t>(dest - chunk));
    }
}

std::size_t Cp932Codec::decodeInto(std::string_view bytes, char16_t* out, std::size_t& invalidBytes)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char16_t* dest = out;
    // A byte never gives more than one unit, so the room never runs out first.
    DecodeSome(in, in + bytes.size(), dest, out + bytes.size(), invalidBytes);
    return static_cast<std::size_t>(dest - out);
}

std::u16string Cp932Codec::decode(std::string_view bytes)
{
    std::u16string text;
    appendDecoded(bytes, text);
    return text;
}

namespace {

void NoteUnencodable(char32_t character, Cp932Codec::Unencodable* unencodable)
{
    if (!unencodable)
        return;
    ++unencodable->count;
    std::u32string& first = unencodable->first;
    if (first.find(character) != std::u32string::npos)
        return;
    if (first.size() < Cp932Codec::Unencodable::kKept)
        first.push_back(character);
    else
        unencodable->more = true;
}

}  // namespace

void Cp932Codec::appendEncoded(std::u16string_view text, std::string& out, Unencodable* unencodable)
{
    const EncodeTable& table = GetEncodeTable();
    // Never more than two bytes per unit, so one reservation covers the whole text.
    out.reserve(out.size() + 2 * text.size());
    char chunk[8192];
    const char16_t* in = text.data();
    const char16_t* const end = in + text.size();

    while (in < end) {
        char* dest = chunk;
        char* const full = chunk + std::size(chunk) - 2;
        while (in < end && dest < full) {
            const char16_t unit = *in;
            if (unit < 0x80 && table.asciiUnchanged) {
                *dest++ = static_cast<char>(unit);
                ++in;
                continue;
            }
            // Everything CP932 holds lies in the Basic Multilingual Plane. Like iconv, drop the invisible
            // tag characters U+E0000..U+E007F rather than turn them into "?".
            if (utf16::IsHighSurrogate(unit) && end - in >= 2 && utf16::IsLowSurrogate(in[1])) {
                const char32_t codePoint = utf16::CombineSurrogates(unit, in[1]);
                if (codePoint < kFirstTag || codePoint > kLastTag) {
                    *dest++ = kDefaultCharacter;
                    NoteUnencodable(codePoint, unencodable);
                }
                in += 2;
                continue;
            }
            const std::uint16_t code = table.codes[unit];
            if (code == kCannotEncode) {
                *dest++ = kDefaultCharacter;
                const bool surrogate = utf16::IsHighSurrogate(unit) || utf16::IsLowSurrogate(unit);
                NoteUnencodable(surrogate ? kReplacement : unit, unencodable);
            } else if (code < 0x100) {
                *dest++ = static_cast<char>(code);
            } else {
                *dest++ = static_cast<char>(code >> 8);
                *dest++ = static_cast<char>(code & 0xFF);
            }
            ++in;
        }
        out.append(chunk, static_cast<std::size_t>(dest - chunk));
    }
}

std::string Cp932Codec::encode(std::u16string_view text)
{
    std::string bytes;
    appendEncoded(text, bytes);
    return bytes;
}

}  // namespace tavik
