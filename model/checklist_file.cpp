#include "model/checklist_file.h"

#include "model/checklist.h"
#include "model/checklist_parser.h"
#include "model/comment_text.h"
#include "platform/codepage/unicode_codec.h"
#include "platform/codepage/utf16.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace tavik {

namespace {

// The start of a text that can be read: up to its first NUL. `cut` tells that
// something other than NULs follows, which the reading loses; NULs alone at the
// end, as some programs pad files, lose nothing.
template <class Char>
struct ReadableText {
    std::basic_string_view<Char> text;
    bool cut = false;
};

template <class Char>
ReadableText<Char> UpToFirstNul(std::basic_string_view<Char> text)
{
    const std::size_t nul = text.find(Char(0));
    if (nul == std::basic_string_view<Char>::npos)
        return {text, false};
    const bool cut = text.find_first_not_of(Char(0), nul) != std::basic_string_view<Char>::npos;
    return {text.substr(0, nul), cut};
}

// The number of the line (from 1) that holds the character at `offset`.
template <class Char>
std::size_t LineAt(std::basic_string_view<Char> text, std::size_t offset)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, Char('\n'))) + 1;
}

void AddUnreadNotice(ChecklistReadResult& result, std::u16string text)
{
    result.notices.push_back({std::move(text), NoticeIcon::Warning});
    result.wholeFileRead = false;
}

template <class Char>
void AddNulNotice(ChecklistReadResult& result, const ReadableText<Char>& readable)
{
    if (readable.cut)
        AddUnreadNotice(result, notices::NulAt(LineAt(readable.text, readable.text.size())));
}

std::u16string DecimalText(std::size_t number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

// A file without byte-order mark is read as UTF-8 when it is well-formed UTF-8 and
// holds a character of three or four bytes, as all Japanese UTF-8 text does. One
// whose only non-ASCII characters take two bytes is read as CP932: half-width
// katakana in CP932 often form such bytes ("ﾃｨ" is C3 A8, UTF-8 "è"), and read as
// CP932 a file is written back with its bytes unchanged.
bool LooksLikeUtf8(std::string_view bytes)
{
    return UnicodeCodec::longestUtf8Sequence(bytes).value_or(0) >= 3;
}

// Calls `addLine` with each line of `text`, without its LF; the text after the last
// LF is a line too when it is not empty.
template <class Char, class AddLine>
void ForEachLine(std::basic_string_view<Char> text, AddLine addLine)
{
    while (!text.empty()) {
        const std::size_t lf = text.find(Char('\n'));
        addLine(text.substr(0, lf));
        if (lf == std::basic_string_view<Char>::npos)
            break;
        text.remove_prefix(lf + 1);
    }
}

template <class Char>
std::size_t CountLines(std::basic_string_view<Char> text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), Char('\n'))) + 1;
}

// The ANSI text is decoded line by line straight into the checklist's text: LF, CR
// and NUL are never part of a CP932 double-byte character, so splitting the bytes
// first gives the same lines as decoding the whole text first.
int ParseAnsiText(std::string_view text, Checklist& checklist, std::size_t& firstInvalidLine)
{
    const std::size_t lines = CountLines(text);
    // A byte never decodes to more than one unit; each line may add a line break.
    ChecklistParser parser(lines, text.size() + lines);
    std::size_t line = 0;
    std::size_t invalidBytes = 0;
    ForEachLine(text, [&](std::string_view lineBytes) {
        ++line;
        if (!lineBytes.empty() && lineBytes.back() == '\r')
            lineBytes.remove_suffix(1);
        const bool mayHoldCr = std::memchr(lineBytes.data(), '\r', lineBytes.size()) != nullptr;
        const std::size_t units = Cp932Codec::decodeInto(lineBytes, parser.lineSpace(lineBytes.size()), invalidBytes);
        if (invalidBytes != 0 && firstInvalidLine == 0)
            firstInvalidLine = line;
        parser.addDecodedLine(units, mayHoldCr);
    });
    checklist.replaceContent(parser.finish());
    return parser.deletedCount();
}

void AddDeletedNotice(ChecklistReadResult& result, int deletedCount)
{
    result.deletedCount = deletedCount;
    if (deletedCount > 0)
        result.notices.push_back({notices::DeletedLines(deletedCount), NoticeIcon::Information});
}

void ReadUnicodeText(std::u16string_view text, Checklist& checklist, ChecklistReadResult& result)
{
    AddDeletedNotice(result, ParseChecklistText(text, checklist));
    result.notices.push_back({std::u16string(notices::kReadAsUnicode), NoticeIcon::None});
    checklist.setReadAsUnicode(true);
}

// `knownValid`: the bytes were found well-formed already.
void ReadUtf8Text(std::string_view bytes, bool knownValid, Checklist& checklist, ChecklistReadResult& result)
{
    const ReadableText<char> readable = UpToFirstNul(bytes);
    ReadUnicodeText(UnicodeCodec::decodeUtf8(readable.text), checklist, result);
    if (!knownValid) {
        const std::size_t valid = UnicodeCodec::validUtf8Prefix(readable.text);
        if (valid < readable.text.size())
            AddUnreadNotice(result, notices::InvalidBytesAt(LineAt(readable.text, valid), u"UTF-8"));
    }
    AddNulNotice(result, readable);
}

void ReadUtf16LeText(std::string_view bytes, Checklist& checklist, ChecklistReadResult& result)
{
    const std::u16string text = UnicodeCodec::decodeUtf16Le(bytes);
    const ReadableText<char16_t> readable = UpToFirstNul(std::u16string_view(text));
    ReadUnicodeText(readable.text, checklist, result);
    // Half a unit at the end is a byte that cannot be read.
    if (bytes.size() % 2 != 0 && !readable.cut)
        AddUnreadNotice(result, notices::InvalidBytesAt(LineAt(readable.text, readable.text.size()), u"UTF-16"));
    AddNulNotice(result, readable);
}

void ReadAnsiText(std::string_view bytes, Checklist& checklist, ChecklistReadResult& result)
{
    if (bytes.empty())
        result.notices.push_back({std::u16string(notices::kEmptyFile), NoticeIcon::None});
    const ReadableText<char> readable = UpToFirstNul(bytes);
    std::size_t firstInvalidLine = 0;
    AddDeletedNotice(result, ParseAnsiText(readable.text, checklist, firstInvalidLine));
    if (firstInvalidLine != 0)
        AddUnreadNotice(result, notices::InvalidBytesAt(firstInvalidLine, u"CP932"));
    AddNulNotice(result, readable);
}

void AppendRowLine(const ItemRow& row, std::u16string& line)
{
    if (!row.date.empty())
        line.append(MarkText(row.mark)).append(u"<").append(row.date).append(u">");
    line.append(row.text);
}

}  // namespace

std::u16string notices::DeletedLines(int count)
{
    return u"削除データが " + DecimalText(static_cast<std::size_t>(count)) + u"件ありました";
}

std::u16string notices::NulAt(std::size_t line)
{
    return DecimalText(line) + u"行目のNUL文字から後ろは読み込めませんでした。";
}

std::u16string notices::UnencodableCharacters(const Cp932Codec::Unencodable& unencodable)
{
    std::u16string text;
    for (const char32_t character : unencodable.first) {
        if (!text.empty())
            text.append(u"、");
        utf16::AppendCodePoint(character, text);
    }
    if (unencodable.more)
        text.append(u"、…");
    return text;
}

std::u16string notices::ReplaceUnencodableQuestion(const Cp932Codec::Unencodable& unencodable)
{
    return u"保存できない文字があります（" + UnencodableCharacters(unencodable)
        + u"）。「?」に置き換えて書き込みますか？";
}

std::u16string notices::InvalidBytesAt(std::size_t line, std::u16string_view encodingName)
{
    std::u16string text = DecimalText(line) + u"行目に";
    text.append(encodingName).append(u"として読めないバイトがあります。");
    return text;
}

int ParseChecklistText(std::u16string_view text, Checklist& checklist)
{
    const std::size_t lines = CountLines(text);
    ChecklistParser parser(lines, text.size() + lines);
    ForEachLine(text, [&](std::u16string_view line) { parser.addLine(line); });
    checklist.replaceContent(parser.finish());
    return parser.deletedCount();
}

ChecklistReadResult ReadChecklist(std::string_view bytes, Checklist& checklist)
{
    ChecklistReadResult result;
    // The rows of the last file go before the new ones are read.
    checklist.reset();
    checklist.setModified(false);
    checklist.setReadAsUnicode(false);

    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };

    if (bytes.size() >= 3 && byteAt(0) == 0xEF && byteAt(1) == 0xBB && byteAt(2) == 0xBF) {
        result.encoding = TextEncoding::Utf8;
        ReadUtf8Text(bytes.substr(3), false, checklist, result);
    } else if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        result.encoding = TextEncoding::Utf16Le;
        ReadUtf16LeText(bytes.substr(2), checklist, result);
    } else if (bytes.size() >= 2 && byteAt(1) == 0x00) {
        result.encoding = TextEncoding::Undetermined;
        result.notices.push_back({std::u16string(notices::kUndeterminedEncoding), NoticeIcon::None});
        result.wholeFileRead = false;
    } else if (LooksLikeUtf8(bytes)) {
        // Most text files on this system are UTF-8; read as CP932 they would be
        // garbled, and the next write would destroy them.
        result.encoding = TextEncoding::Utf8;
        ReadUtf8Text(bytes, true, checklist, result);
    } else {
        // A UTF-16LE file without byte-order mark lands here unless its second byte is
        // 00; its line ends hold NULs, so it is still told as not read whole.
        result.encoding = TextEncoding::Ansi;
        ReadAnsiText(bytes, checklist, result);
    }
    return result;
}

std::string WriteChecklist(Checklist& checklist, Cp932Codec::Unencodable* unencodable)
{
    std::string out;
    // Room for two bytes a character, with the spaces and line ends the lines get,
    // so the output is never copied while it grows.
    std::size_t estimate = checklist.headerComment().size() * 2 + 2;
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const ItemRow row = checklist.row(i);
        estimate += row.text.size() + row.date.size() + 9 + checklist.comment(i).size() * 2;
    }
    out.reserve(estimate * 2);

    const std::u16string header = HeaderBlockText(checklist.headerComment());
    Cp932Codec::appendEncoded(header, out, unencodable);
    out.append("\r\n");
    checklist.setHeaderComment(WrittenHeaderComment(header));

    // Rows and comments are gathered as text and encoded a block at a time.
    constexpr std::size_t kBlock = 1 << 16;
    std::u16string text;
    text.reserve(kBlock + 1024);
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const ItemRow row = checklist.row(i);
        // The item text is written unchanged on one line, even when it holds "!!".
        AppendRowLine(row, text);
        text.append(u"\r\n");

        // A deleted row's comment already stands in its deletion record; written
        // under the row it would join the comment of the row above when read again.
        if (!row.isDeleted())
            AppendCommentText(checklist.comment(i), CommentMode::File, text);
        if (text.size() >= kBlock) {
            Cp932Codec::appendEncoded(text, out, unencodable);
            text.clear();
        }
    }
    Cp932Codec::appendEncoded(text, out, unencodable);
    return out;
}

namespace {

// `text` as the file holds it, when that differs by characters CP932 cannot hold.
std::optional<std::u16string> WrittenForm(std::u16string_view text)
{
    Cp932Codec::Unencodable unencodable;
    std::string bytes;
    Cp932Codec::appendEncoded(text, bytes, &unencodable);
    if (unencodable.count == 0)
        return std::nullopt;
    return Cp932Codec::decode(bytes);
}

}  // namespace

void TakeWrittenForm(Checklist& checklist)
{
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const std::optional<std::u16string> text = WrittenForm(checklist.row(i).text);
        const std::optional<std::u16string> comment = WrittenForm(checklist.comment(i));
        Checklist::RowUpdate update;
        if (text)
            update.text = *text;
        if (comment)
            update.comment = *comment;
        if (text || comment)
            checklist.updateRow(i, update);
    }
    if (std::optional<std::u16string> header = WrittenForm(checklist.headerComment()))
        checklist.setHeaderComment(std::move(*header));
}

std::vector<WriteObstacle> WriteObstacles(const Checklist& checklist, WriteTarget target, FileOnDisk file)
{
    std::vector<WriteObstacle> obstacles;
    if (checklist.readAsUnicode())
        obstacles.push_back(WriteObstacle::ReadAsUnicode);
    // A file that is not there (any more) loses nothing, and a new name is the user's choice.
    if (!file.exists || target == WriteTarget::NewName)
        return obstacles;
    if (checklist.fileUnread())
        obstacles.push_back(WriteObstacle::NotRead);
    else if (file.changedSinceRead)
        obstacles.push_back(WriteObstacle::ChangedOnDisk);
    return obstacles;
}

std::string_view EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ansi:
        return "ansi";
    case TextEncoding::Utf16Le:
        return "utf16le";
    case TextEncoding::Utf8:
        return "utf8";
    case TextEncoding::Undetermined:
        return "undetermined";
    }
    return "ansi";
}

}  // namespace tavik
