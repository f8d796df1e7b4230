#pragma once

#include <string>

namespace tavik {

// The marks a row can carry. The empty mark is an unmarked item.
namespace marks {
inline constexpr char16_t kDone = u'\u25CB';  // ○
inline constexpr char16_t kCross = u'\u00D7';  // ×
inline constexpr char16_t kQuery = u'\uFF1F';  // ？
inline constexpr char16_t kDeleted = u'\u524A';  // 削: deleted, kept until the file is written and read again
}  // namespace marks

// One item of a checklist: its mark, its one-line text and its date "YY/MM/DD" (or empty).
struct ItemRow {
    std::u16string mark;
    std::u16string text;
    std::u16string date;

    bool isDeleted() const { return !mark.empty() && mark.front() == marks::kDeleted; }
    friend bool operator==(const ItemRow&, const ItemRow&) = default;
};

}  // namespace tavik
