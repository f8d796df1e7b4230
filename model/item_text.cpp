#include "model/item_text.h"

#include "model/comment_text.h"

namespace tavik {

namespace {

bool IsLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

// Nothing that shows before an item's text.
bool IsLeadingFill(char16_t c)
{
    return IsCommentSpace(c) || IsDroppedControl(c);
}

}  // namespace

bool IsCommentLineStart(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
    case u'\u3000':  // ideographic space
    case u'!':
    case u'\uFF01':  // ！
    case u'.':
    case u'\uFF0E':  // ．
        return true;
    default:
        return false;
    }
}

std::optional<Mark> LineMark(std::u16string_view line)
{
    if (line.size() < 2 || line[1] != u'<')
        return std::nullopt;
    switch (line[0]) {
    case u'\u25CB':  // ○
        return Mark::Done;
    case u'\u00D7':  // ×
        return Mark::Cross;
    case u'\uFF1F':  // ？
        return Mark::Query;
    case u'\u524A':  // 削
        return Mark::Deleted;
    default:
        return std::nullopt;
    }
}

std::u16string OneLineItemText(std::u16string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && IsLeadingFill(text[start]))
        ++start;
    std::u16string line;
    line.reserve(text.size() - start);
    for (std::size_t i = start; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsLineBreak(c)) {
            line.push_back(u' ');
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (!IsDroppedControl(c)) {
            line.push_back(c);
        }
    }
    return line;
}

bool ReadsAsCommentLine(std::u16string_view text)
{
    return !text.empty() && IsCommentLineStart(text.front());
}

std::u16string ItemClipboardText(std::u16string_view itemText, std::u16string_view comment)
{
    std::u16string text(itemText);
    text.append(u"\r\n");
    AppendCommentText(comment, CommentMode::File, text);
    return text;
}

PastedItem ParsePastedItem(std::u16string_view clipboardText)
{
    std::size_t start = 0;
    while (start < clipboardText.size() && IsLeadingFill(clipboardText[start]))
        ++start;
    const std::u16string_view text = clipboardText.substr(start);

    std::size_t lineEnd = 0;
    while (lineEnd < text.size() && !IsLineBreak(text[lineEnd]))
        ++lineEnd;
    PastedItem item;
    item.text = OneLineItemText(text.substr(0, lineEnd));
    item.comment = text.substr(lineEnd);
    TextToComment(item.comment);
    return item;
}

}  // namespace tavik
