#include "model/item_text.h"

#include "model/comment_text.h"

namespace tavik {

namespace {

bool IsLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
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

std::u16string OneLineItemText(std::u16string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && IsCommentSpace(text[start]))
        ++start;
    std::u16string line;
    line.reserve(text.size() - start);
    for (std::size_t i = start; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (!IsLineBreak(c)) {
            line.push_back(c);
            continue;
        }
        line.push_back(u' ');
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
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
    while (start < clipboardText.size() && IsCommentSpace(clipboardText[start]))
        ++start;
    const std::u16string_view text = clipboardText.substr(start);

    std::size_t lineEnd = 0;
    while (lineEnd < text.size() && !IsLineBreak(text[lineEnd]))
        ++lineEnd;
    PastedItem item;
    item.text = OneLineItemText(text.substr(0, lineEnd));
    if (lineEnd < text.size()) {
        const std::size_t restStart = text.substr(lineEnd, 2) == u"\r\n" ? lineEnd + 2 : lineEnd + 1;
        item.comment = text.substr(restStart);
        TextToComment(item.comment);
    }
    return item;
}

}  // namespace tavik
