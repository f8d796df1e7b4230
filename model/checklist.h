#pragma once

#include "model/checklist_change.h"
#include "model/checklist_content.h"
#include "model/item_row.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {

// The one open checklist: its rows, one comment per row (lines joined by LF), the
// header comment, the path of its file and its flags. Rows and their comments
// always move together. Every change to the rows is told to the observer; the
// counts of done and deleted rows are kept as the rows change.
class Checklist {
public:
    Checklist() = default;
    Checklist(const Checklist&) = delete;
    Checklist& operator=(const Checklist&) = delete;

    // No rows and an empty header comment. The path and the flags are left to the caller.
    void reset();
    // Takes the rows of a file just read in place of the present ones.
    void replaceContent(ChecklistContent content);

    std::size_t rowCount() const { return m_content.rows.size(); }
    ItemRow row(std::size_t index) const;
    // The comment of row `index`, empty past the last row.
    std::u16string_view comment(std::size_t index) const;

    // Rows marked done, and rows marked deleted (which the counter leaves out).
    std::size_t doneCount() const { return m_content.doneCount; }
    std::size_t deletedCount() const { return m_content.deletedCount; }

    // The parts of one row to replace; what is not given stays.
    struct RowUpdate {
        std::optional<Mark> mark{};
        std::optional<std::u16string_view> text{};
        std::optional<std::u16string_view> date{};  // "YY/MM/DD" or empty
        std::optional<std::u16string_view> comment{};
    };
    void updateRow(std::size_t index, const RowUpdate& update);
    // Adds a row after the last one, with its comment.
    void appendRow(const ItemRow& row, std::u16string_view comment);
    // Exchanges two rows together with their comments.
    void swapRows(std::size_t a, std::size_t b);
    // Every row that is not deleted loses its mark and its date.
    void clearMarksAndDates();
    // Takes the last row away with its comment.
    void removeLastRow();

    // One row's mark and date, kept so that they can be given back.
    struct MarkAndDate {
        std::uint32_t row = 0;
        Mark mark = Mark::None;
        bool dated = false;
        std::array<char16_t, PackedRow::kDateLength> date{};

        // "YY/MM/DD", or empty for an undated row.
        std::u16string_view dateText() const
        {
            return dated ? std::u16string_view(date.data(), date.size()) : std::u16string_view();
        }
    };
    // The mark and date of row `index`.
    MarkAndDate markAndDate(std::size_t index) const;
    // The marks and dates that clearMarksAndDates() would take away, row by row in order.
    std::vector<MarkAndDate> marksAndDates() const;
    // Gives each named row its mark and date back; the rows are in ascending order.
    void restoreMarksAndDates(const std::vector<MarkAndDate>& rows);

    const HeaderComment& headerComment() const { return m_content.headerComment; }
    void appendToHeaderComment(std::u16string_view text);
    // Takes `record`, the last deletion record appended, out of the header comment again,
    // as it was appended or as a write has left it; false when the header holds it in
    // neither form (characters a write replaced with "?").
    bool removeFromHeaderComment(std::u16string_view record);
    // The writer keeps the header comment in its written form until the next read.
    void setHeaderComment(HeaderComment text) { m_content.headerComment = std::move(text); }

    const std::u16string& filePath() const { return m_filePath; }
    void setFilePath(std::u16string path) { m_filePath = std::move(path); }
    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    bool readAsUnicode() const { return m_readAsUnicode; }
    void setReadAsUnicode(bool readAsUnicode) { m_readAsUnicode = readAsUnicode; }
    // The file at filePath exists but was not read whole (it could not be opened or
    // decoded, was refused, or held text that could not be read): writing to it would
    // lose what it holds.
    bool fileUnread() const { return m_fileUnread; }
    void setFileUnread(bool unread) { m_fileUnread = unread; }

    // Whoever shows the rows; nullptr for none.
    void setObserver(ChecklistObserver* observer) { m_observer = observer; }

private:
    std::u16string_view textOf(const PackedRow& row) const;
    std::u16string_view commentOf(const PackedRow& row) const;
    std::u16string_view dateOf(const PackedRow& row) const;
    // Copies `text` into the edited text and returns its offset.
    std::uint32_t storeEdited(std::u16string_view text);
    // Gives `row` a text or comment of its own: `offset` and `size` name which, `edited` its flag.
    void replaceEdited(PackedRow& row, std::uint32_t PackedRow::*offset, std::uint32_t PackedRow::*size,
        PackedRow::Flag edited, std::u16string_view text);
    void setDate(PackedRow& row, std::u16string_view date);
    void countMark(Mark mark, int step);
    // Copies the edited texts that rows still use into a fresh buffer once most of it is garbage.
    void collectEditedGarbage();
    void changing(const ChecklistChange& change);
    void changed(const ChecklistChange& change);

    ChecklistContent m_content;
    std::u16string m_filePath;
    bool m_modified = false;
    bool m_readAsUnicode = false;
    bool m_fileUnread = false;
    ChecklistObserver* m_observer = nullptr;
    // Where the last date given to a row lies in the edited text, so that a day's
    // stamps share one copy.
    std::optional<std::uint32_t> m_lastEditedDate;
};

}  // namespace tavik
