#include "model/checklist_file.h"

#include "model/checklist.h"
#include "model/checklist_parser.h"
#include "model/comment_text.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"

#include <algorithm>
#include <cstring>

namespace tavik {

namespace {

std::string_view UpToFirstNul(std::string_view bytes)
{
    const void* nul = std::memchr(bytes.data(), 0, bytes.size());
    return nul ? bytes.substr(0, static_cast<const char*>(nul) - bytes.data()) : bytes;
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
int ParseAnsiText(std::string_view text, Checklist& checklist)
{
    const std::size_t lines = CountLines(text);
    // A byte never decodes to more than one unit; each line may add a "!!".
    ChecklistParser parser(lines, text.size() + 2 * lines);
    ForEachLine(text, [&](std::string_view lineBytes) {
        if (!lineBytes.empty() && lineBytes.back() == '\r')
            lineBytes.remove_suffix(1);
        const bool mayHoldCr = std::memchr(lineBytes.data(), '\r', lineBytes.size()) != nullptr;
        const std::size_t units = Cp932Codec::decodeInto(lineBytes, parser.lineSpace(lineBytes.size()));
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

void AppendRowLine(const ItemRow& row, std::u16string& line)
{
    if (!row.date.empty())
        line.append(MarkText(row.mark)).append(u"<").append(row.date).append(u">");
    line.append(row.text);
}

}  // namespace

std::u16string notices::DeletedLines(int count)
{
    std::u16string text = u"削除データが ";
    for (char c : std::to_string(count))
        text.push_back(static_cast<char16_t>(c));
    text.append(u"件ありました");
    return text;
}

int ParseChecklistText(std::u16string_view text, Checklist& checklist)
{
    const std::size_t nul = text.find(u'\0');
    if (nul != std::u16string_view::npos)
        text = text.substr(0, nul);
    const std::size_t lines = CountLines(text);
    ChecklistParser parser(lines, text.size() + 2 * lines);
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
        ReadUnicodeText(UnicodeCodec::decodeUtf8(UpToFirstNul(bytes.substr(3))), checklist, result);
    } else if (bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE) {
        result.encoding = TextEncoding::Utf16Le;
        ReadUnicodeText(UnicodeCodec::decodeUtf16Le(bytes.substr(2)), checklist, result);
    } else if (bytes.size() >= 2 && byteAt(1) == 0x00) {
        result.encoding = TextEncoding::Undetermined;
        result.notices.push_back({std::u16string(notices::kUndeterminedEncoding), NoticeIcon::None});
    } else if (LooksLikeUtf8(bytes)) {
        // Most text files on this system are UTF-8; read as CP932 they would be
        // garbled, and the next write would destroy them.
        result.encoding = TextEncoding::Utf8;
        ReadUnicodeText(UnicodeCodec::decodeUtf8(UpToFirstNul(bytes)), checklist, result);
    } else {
        result.encoding = TextEncoding::Ansi;
        if (bytes.empty())
            result.notices.push_back({std::u16string(notices::kEmptyFile), NoticeIcon::None});
        AddDeletedNotice(result, ParseAnsiText(UpToFirstNul(bytes), checklist));
    }
    return result;
}

std::string WriteChecklist(Checklist& checklist)
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

    std::u16string header(TrimCommentSpace(checklist.headerComment()));
    CommentToText(header, CommentMode::File);
    Cp932Codec::appendEncoded(header, out);
    out.append("\r\n");
    checklist.setHeaderComment(std::move(header));

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
            Cp932Codec::appendEncoded(text, out);
            text.clear();
        }
    }
    Cp932Codec::appendEncoded(text, out);
    return out;
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
