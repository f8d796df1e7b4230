#include "model/comment_text.h"

namespace tavik {

namespace {

constexpr std::u16string_view kSeparator = u"!!";
constexpr std::u16string_view kLineEnd = u"\r\n";

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

void CommentToText(std::u16string& comment, CommentMode mode)
{
    std::u16string result;
    result.reserve(comment.size() + 8);
    AppendCommentText(comment, mode, result);
    comment = std::move(result);
}

void AppendCommentText(std::u16string_view comment, CommentMode mode, std::u16string& result)
{
    std::u16string_view rest = comment;

    if (mode == CommentMode::Display) {
        // Replacing the first "!!" again and again never forms a new "!!", so one
        // scan from the left gives the same result.
        for (std::size_t pos; (pos = rest.find(kSeparator)) != std::u16string_view::npos;) {
            result.append(rest.substr(0, pos)).append(kLineEnd);
            rest.remove_prefix(pos + kSeparator.size());
        }
        result.append(rest);
    } else {
        for (std::size_t pos; (pos = rest.find(kSeparator)) != std::u16string_view::npos;) {
            const std::u16string_view piece = rest.substr(0, pos);
            if (!piece.empty() && piece.front() != u' ')
                result.push_back(u' ');
            result.append(piece).append(kLineEnd);
            rest.remove_prefix(pos + kSeparator.size());
        }
        // The last piece always gets a space, even when it starts with one.
        if (!rest.empty())
            result.append(u" ").append(rest).append(kLineEnd);
    }
}

void TextToComment(std::u16string& text)
{
    std::u16string result;
    result.reserve(text.size() + 8);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        result.append(text, lineStart, i - lineStart).append(kSeparator);
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < text.size())
        result.append(text, lineStart).append(kSeparator);
    text = std::move(result);
}

std::u16string DeletionRecord(const ItemRow& row, std::u16string_view comment)
{
    std::u16string record = u"!!\u524A\u9664\uFF1D\uFF1E!!";  // !!削除＝＞!!
    record.append(row.text).append(u"<").append(row.date).append(u">").append(kSeparator);
    record.append(comment);
    record.append(u"!!\uFF1C\uFF1D\u524A\u9664!!");  // !!＜＝削除!!
    return record;
}

}  // namespace tavik
