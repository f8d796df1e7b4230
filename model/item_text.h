#pragma once

#include <string>
#include <string_view>

// The text of one item, which a file holds on a single line, and the plain-text form
// in which an item travels over the clipboard.
namespace tavik {

// True when a file line beginning with `c` is read as a comment line, not as an item.
bool IsCommentLineStart(char16_t c);

// `text` as a single file line can carry it: each line break (CR LF, LF or CR) becomes
// one space, and the white space before the first visible character goes, since a
// line beginning with a blank is read back as a comment.
std::u16string OneLineItemText(std::u16string_view text);

// True when `text` written alone on a line would be read back as a comment line (it
// begins with a blank, "!", "！", "." or "．").
bool ReadsAsCommentLine(std::u16string_view text);

// The clipboard text of one item: its text and CR LF, then its comment's lines as a
// file holds them (each with a leading space and CR LF).
std::u16string ItemClipboardText(std::u16string_view itemText, std::u16string_view comment);

struct PastedItem {
    std::u16string text;  // one line, see OneLineItemText; empty when the text held nothing visible
    std::u16string comment;  // "!!"-joined
};

// Reads an item back from clipboard text. Leading white space and empty lines are
// skipped; the first line is the item text, the lines after it the comment (their
// leading blanks kept). Any line break counts: CR LF, and the LF or CR alone that text
// from other programs uses.
PastedItem ParsePastedItem(std::u16string_view clipboardText);

}  // namespace tavik
