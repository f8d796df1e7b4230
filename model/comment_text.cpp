#include "model/comment_text.h"

namespace tavik {

namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr std::u16string_view kJoinMarker = u"!!";

}  // namespace

bool IsCommentSpace(char16_t c)
{
    // The ideographic space counts, as it does for wide-character classification
    // on the systems these files come from.
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}

std::u16string_view TrimCommentSpace(std::u16string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsCommentSpace(text[begin]))
        ++begin;
    while (end > begin && IsCommentSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool IsDroppedControl(char16_t c)
{
    // Dropped rather than stored: a NUL would end what is read of the file and lose
    // every row after it, and the other controls are no text a person means to keep
    // (those that count as white space would be trimmed off comment lines anyway).
    return c < u' ' && c != u'\t' && c != u'\r' && c != u'\n';
}

void AppendCommentText(std::u16string_view comment, CommentMode mode, std::u16string& result)
{
    for (;;) {
        const std::size_t lineBreak = comment.find(kCommentLineBreak);
        const bool last = lineBreak == std::u16string_view::npos;
        const std::u16string_view line = comment.substr(0, lineBreak);
        if (mode != CommentMode::File) {
            result.append(line);
            if (!last)
                result.append(mode == CommentMode::Display ? kLineEnd : kJoinMarker);
        } else if (!last || !line.empty()) {
            // An empty line stays empty, and only a plain space counts as the one a
            // comment line needs in front.
            if (!line.empty() && line.front() != u' ')
                result.push_back(u' ');
            result.append(line).append(kLineEnd);
        }
        if (last)
            return;
        comment.remove_prefix(lineBreak + 1);
    }
}

void TextToComment(std::u16string& text)
{
    std::u16string comment;
    comment.reserve(text.size() + 1);
    std::u16string line;
    // Since empty lines go, a CR LF may count as two line breaks.
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char16_t c = i < text.size() ? text[i] : u'\n';
        if (c != u'\r' && c != u'\n') {
            if (!IsDroppedControl(c))
                line.push_back(c);
            continue;
        }
        if (const std::u16string_view kept = TrimCommentSpace(line); !kept.empty())
            comment.append(kept).push_back(kCommentLineBreak);
        line.clear();
    }
    text = std::move(comment);
}

std::u16string DeletionRecord(const ItemRow& row, std::u16string_view comment)
{
    std::u16string record = u"\n\u524A\u9664\uFF1D\uFF1E\n";  // 削除＝＞
    record.append(row.text).append(u"<").append(row.date).append(u">").push_back(kCommentLineBreak);
    record.append(comment);
    record.append(u"\n\uFF1C\uFF1D\u524A\u9664\n");  // ＜＝削除
    return record;
}

std::optional<std::size_t> HeaderSizeWithoutRecord(std::u16string_view header, std::u16string_view record)
{
    if (header.ends_with(record))
        return header.size() - record.size();
    const std::u16string written = WrittenHeaderComment(HeaderBlockText(record));
    if (written.empty() || !header.ends_with(written))
        return std::nullopt;
    header.remove_suffix(written.size());
    // A write keeps one empty line between the record and the lines before it.
    return header.ends_with(u"\n\n") ? header.size() - 1 : header.size();
}

std::u16string HeaderBlockText(std::u16string_view header)
{
    // Line breaks at the ends are lines of their own: a deletion record appended to an
    // empty header comment begins with an empty line.
    const auto isBlank = [](char16_t c) { return c != kCommentLineBreak && IsCommentSpace(c); };
    while (!header.empty() && isBlank(header.front()))
        header.remove_prefix(1);
    while (!header.empty() && isBlank(header.back()))
        header.remove_suffix(1);
    std::u16string text;
    text.reserve(header.size() + 16);
    AppendCommentText(header, CommentMode::File, text);
    return text;
}

std::u16string WrittenHeaderComment(std::u16string_view blockText)
{
    std::u16string written;
    written.reserve(blockText.size());
    std::size_t emptyLines = 0;
    for (std::size_t end; (end = blockText.find(kLineEnd)) != std::u16string_view::npos;
         blockText.remove_prefix(end + kLineEnd.size())) {
        const std::u16string_view line = blockText.substr(0, end);
        if (line.empty()) {
            if (!written.empty())
                ++emptyLines;
            continue;
        }
        written.append(emptyLines, kCommentLineBreak).append(line).push_back(kCommentLineBreak);
        emptyLines = 0;
    }
    return written;
}

}  // namespace tavik
