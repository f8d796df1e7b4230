#pragma once

#include "model/item_row.h"

#include <string>
#include <string_view>

// Conversions between the stored comment form (lines joined by "!!") and CR LF text.
namespace tavik {

enum class CommentMode {
    Display,  // every "!!" becomes a line break, for showing a comment in a multi-line edit
    File,  // each line gets a leading space and CR LF, as the lines under an item in a file
};

// Rewrites a "!!"-joined comment in place into CR LF text.
void CommentToText(std::u16string& comment, CommentMode mode);

// Appends the CR LF text of a "!!"-joined comment to `out`.
void AppendCommentText(std::u16string_view comment, CommentMode mode, std::u16string& out);

// Rewrites multi-line text in place into the "!!"-joined form: each line followed by
// "!!". Text ending with a line break gets no extra "!!". Line breaks are CR LF; a
// lone LF or CR (text from the system clipboard) counts as one too.
void TextToComment(std::u16string& text);

// What deleting or cutting a row appends to the header comment.
std::u16string DeletionRecord(const ItemRow& row, std::u16string_view comment);

// True for the characters trimmed from comment lines and the header comment.
bool IsCommentSpace(char16_t c);

// `text` without the white space at both ends.
std::u16string_view TrimCommentSpace(std::u16string_view text);

}  // namespace tavik
