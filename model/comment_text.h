#pragma once

#include "model/item_row.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Conversions between the stored comment form (lines joined by LF) and CR LF text.
namespace tavik {

// What joins the lines of a stored comment and of the header comment. No file line
// holds an LF (lines are split there) and no item text does, so every line a file or
// a person gives is kept as it is, "!!" and a final "!" included.
inline constexpr char16_t kCommentLineBreak = u'\n';

enum class CommentMode {
    Display,  // every line break becomes CR LF, for showing a comment in a multi-line edit
    File,  // each line gets a leading space and CR LF, as the lines under an item in a file
    Joined,  // every line break becomes "!!", as earlier versions stored comments; the speech program pauses there
};

// Appends the text of a stored comment in `mode` to `out`.
void AppendCommentText(std::u16string_view comment, CommentMode mode, std::u16string& out);

// Rewrites multi-line text from an edit control or the clipboard in place into the
// stored form, as a file reads it back: each line trimmed of white space and followed
// by a line break, empty lines dropped. Line breaks are CR LF; a lone LF or CR (text
// from the system clipboard) counts as one too.
void TextToComment(std::u16string& text);

// What deleting or cutting a row appends to the header comment.
std::u16string DeletionRecord(const ItemRow& row, std::u16string_view comment);

// How much of `header` stays when `record`, the last deletion record appended to it, is
// taken out again: the record as appended, or in the form a write leaves (WrittenHeaderComment)
// with the empty line the write kept before it. Nothing when the header ends in neither.
std::optional<std::size_t> HeaderSizeWithoutRecord(std::u16string_view header, std::u16string_view record);

// The header block of a file as CR LF text: the header comment trimmed of blanks at
// both ends (line breaks stay) and converted in file mode.
std::u16string HeaderBlockText(std::u16string_view header);

// What the header comment keeps after a write until the next read: the lines of
// `blockText` as written, leading spaces and all, without the empty lines before the
// first line and after the last one that hold text. Written again it gives the same
// lines, and a deletion record appended to it gets one empty line before it.
std::u16string WrittenHeaderComment(std::u16string_view blockText);

// True for the characters trimmed from comment lines and the header comment.
bool IsCommentSpace(char16_t c);

// `text` without the white space at both ends.
std::u16string_view TrimCommentSpace(std::u16string_view text);

// True for the control characters that text loses on its way into an item or a
// comment: every C0 control but the tab and the line breaks, which keep their meaning.
bool IsDroppedControl(char16_t c);

}  // namespace tavik
