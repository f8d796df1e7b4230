#pragma once

#include "model/item_row.h"

#include <optional>
#include <string>
#include <string_view>

// The text of one item, which a file holds on a single line, and the plain-text form
// in which an item travels over the clipboard.
namespace tavik {

// True when a file line beginning with `c` is read as a comment line, not as an item.
bool IsCommentLineStart(char16_t c);

// The mark a file line is read with when it begins with a mark and "<": "○<", "×<"
// and "？<" make a marked item, "削<" a deleted line. Nothing for any other line.
std::optional<Mark> LineMark(std::u16string_view line);

// `text` as a single file line can carry it: each line break (CR LF, LF or CR) becomes
// one space, the control characters that IsDroppedControl() names go, and so does the
// white space before the first visible character, since a line beginning with a blank
// is read back as a comment.
std::u16string OneLineItemText(std::u16string_view text);

// True when `text` written alone on a line would be read back as a comment line (it
// begins with a blank, "!", "！", "." or "．").
bool ReadsAsCommentLine(std::u16string_view text);

// The clipboard text of one item: its text and CR LF, then its comment's lines as a
// file holds them (each with a leading space and CR LF).
std::u16string ItemClipboardText(std::u16string_view itemText, std::u16string_view comment);

struct PastedItem {
    std::u16string text;  // one line, see OneLineItemText; empty when the text held nothing visible
    std::u16string comment;  // stored form, see TextToComment
};

// Reads an item back from clipboard text. White space, control characters and empty
// lines before the item are skipped; the first line is the item text, the lines after
// it the comment. Any line break counts: CR LF, and the LF or CR alone that text from
// other programs uses.
PastedItem ParsePastedItem(std::u16string_view clipboardText);

}  // namespace tavik
