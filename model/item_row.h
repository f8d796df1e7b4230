#pragma once

#include <cstdint>
#include <string_view>

namespace tavik {

// The marks a row can carry. A file holds a mark only before a date.
enum class Mark : std::uint8_t {
    None,  // an unmarked item
    Done,  // ○
    Cross,  // ×
    Query,  // ？
    Deleted,  // 削: deleted, kept until the file is written and read again
};

// The mark as the list shows it and a file holds it: "", "○", "×", "？" or "削".
std::u16string_view MarkText(Mark mark);

// One item of a checklist as its readers see it: its mark, its one-line text and its
// date "YY/MM/DD" (or empty). The texts point into the checklist and stay valid
// until it changes.
struct ItemRow {
    Mark mark = Mark::None;
    std::u16string_view text;
    std::u16string_view date;

    bool isDeleted() const { return mark == Mark::Deleted; }
    friend bool operator==(const ItemRow&, const ItemRow&) = default;
};

}  // namespace tavik
