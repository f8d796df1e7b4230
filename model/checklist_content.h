#pragma once

#include "model/item_row.h"
#include "model/text_buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavik {

// Lines joined by line breaks, like a comment: the comment lines before the first
// item of a file and the deletion records that deleting and cutting append. After a
// write it holds the lines as written until the next read (see WriteChecklist).
using HeaderComment = std::u16string;

// Where one row's texts lie. Rows as read point into the file's text; a text given
// later (an edit, an added item, a date stamped) lies in the edited text.
struct PackedRow {
    enum Flag : std::uint8_t {
        kTextEdited = 1,
        kCommentEdited = 2,
        kDateEdited = 4,
    };
    static constexpr std::uint32_t kNoDate = UINT32_MAX;
    // Every date is "YY/MM/DD" or empty.
    static constexpr std::size_t kDateLength = 8;

    std::uint32_t text = 0;
    std::uint32_t textSize = 0;
    std::uint32_t comment = 0;
    std::uint32_t commentSize = 0;
    std::uint32_t date = kNoDate;
    Mark mark = Mark::None;
    std::uint8_t flags = 0;
};

// The rows of a checklist as the reader builds them and the checklist keeps them.
struct ChecklistContent {
    // The decoded text of the file, with each row's comment lines joined by line breaks.
    TextBuffer fileText;
    TextBuffer editedText;
    // Units of editedText that no row uses any more.
    std::size_t editedGarbage = 0;
    std::vector<PackedRow> rows;
    HeaderComment headerComment;
    std::size_t doneCount = 0;
    std::size_t deletedCount = 0;
};

}  // namespace tavik
