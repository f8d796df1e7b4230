#pragma once

#include "model/checklist.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavik::test {

// Tests write their texts in UTF-8 and compare in UTF-8, so failures print readably.
inline std::u16string U16(std::string_view utf8)
{
    return UnicodeCodec::decodeUtf8(utf8);
}
inline std::string U8(std::u16string_view text)
{
    return UnicodeCodec::encodeUtf8(text);
}

// The CP932 bytes of a file whose lines are given in UTF-8.
inline std::string AnsiFile(std::string_view utf8)
{
    return Cp932Codec::encode(U16(utf8));
}

// "mark|text|date|comment" of every row.
inline std::vector<std::string> RowTexts(const Checklist& checklist)
{
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
        const ItemRow row = checklist.row(i);
        rows.push_back(
            U8(MarkText(row.mark)) + "|" + U8(row.text) + "|" + U8(row.date) + "|" + U8(checklist.comment(i)));
    }
    return rows;
}

// A change as "Cells 2-3 MTDC", "Inserted 5-5", "Removed 5-5", "Header" or "Reset".
inline std::string Describe(const ChecklistChange& change)
{
    const std::string rows = " " + std::to_string(change.first) + "-" + std::to_string(change.last);
    switch (change.kind) {
    case ChecklistChange::Kind::Reset:
        return "Reset";
    case ChecklistChange::Kind::HeaderChanged:
        return "Header";
    case ChecklistChange::Kind::RowsInserted:
        return "Inserted" + rows;
    case ChecklistChange::Kind::RowsRemoved:
        return "Removed" + rows;
    case ChecklistChange::Kind::CellsChanged:
        break;
    }
    std::string cells;
    const std::pair<std::uint8_t, char> letters[]
        = {{kMarkCell, 'M'}, {kTextCell, 'T'}, {kDateCell, 'D'}, {kCommentCell, 'C'}};
    for (const auto& [cell, letter] : letters)
        if (change.cells & cell)
            cells.push_back(letter);
    return "Cells" + rows + " " + cells;
}

// Records what a checklist tells its observer, and checks each change against the
// checklist as it was when told before and as it is when told after: every change is
// told before and after, not nested, and touches nothing outside the rows and cells
// it names.
class ChangeRecorder : public ChecklistObserver {
public:
    void attach(Checklist& checklist)
    {
        m_checklist = &checklist;
        checklist.setObserver(this);
    }
    // The changes told so far, as Describe() gives them; clears the record.
    std::vector<std::string> take() { return std::exchange(m_told, {}); }

    void checklistChanging(const ChecklistChange& change) override
    {
        EXPECT_FALSE(m_pending) << "told of " << Describe(change) << " inside " << Describe(*m_pending);
        m_pending = change;
        m_before = StateOf(*m_checklist);
    }
    void checklistChanged(const ChecklistChange& change) override
    {
        ASSERT_TRUE(m_pending) << "told after " << Describe(change) << " without before";
        EXPECT_EQ(Describe(change), Describe(*m_pending));
        m_pending.reset();
        Check(change, m_before, StateOf(*m_checklist));
        m_told.push_back(Describe(change));
    }

private:
    struct Row {
        Mark mark;
        std::u16string text, date, comment;
    };
    struct State {
        std::vector<Row> rows;
        std::u16string header;
    };
    static State StateOf(const Checklist& checklist)
    {
        State state{{}, checklist.headerComment()};
        for (std::size_t i = 0; i < checklist.rowCount(); ++i) {
            const ItemRow row = checklist.row(i);
            state.rows.push_back(
                {row.mark, std::u16string(row.text), std::u16string(row.date), std::u16string(checklist.comment(i))});
        }
        return state;
    }
    // The cells of `a` and `b` that differ.
    static std::uint8_t Differing(const Row& a, const Row& b)
    {
        return (a.mark != b.mark ? kMarkCell : 0) | (a.text != b.text ? kTextCell : 0)
            | (a.date != b.date ? kDateCell : 0) | (a.comment != b.comment ? kCommentCell : 0);
    }
    static void Check(const ChecklistChange& change, const State& before, const State& after)
    {
        using Kind = ChecklistChange::Kind;
        const std::string what = Describe(change);
        if (change.kind == Kind::Reset)
            return;
        if (change.kind == Kind::HeaderChanged) {
            EXPECT_NE(U8(after.header), U8(before.header)) << what;
        } else {
            EXPECT_EQ(U8(after.header), U8(before.header)) << what;
        }
        if (change.kind == Kind::RowsInserted) {
            EXPECT_EQ(before.rows.size(), change.first) << what;
            EXPECT_EQ(after.rows.size(), change.last + 1) << what;
        } else if (change.kind == Kind::RowsRemoved) {
            EXPECT_EQ(after.rows.size(), change.first) << what;
            EXPECT_EQ(before.rows.size(), change.last + 1) << what;
        } else {
            ASSERT_EQ(after.rows.size(), before.rows.size()) << what;
        }
        const bool cellsChanged = change.kind == Kind::CellsChanged;
        if (cellsChanged) {
            EXPECT_LE(change.last, after.rows.size() - 1) << what;
        }
        for (std::size_t i = 0; i < std::min(before.rows.size(), after.rows.size()); ++i) {
            const bool named = cellsChanged && i >= change.first && i <= change.last;
            const std::uint8_t untouched = named ? ~change.cells : 0xFF;
            EXPECT_EQ(Differing(before.rows[i], after.rows[i]) & untouched, 0) << what << ", row " << i;
        }
    }

    Checklist* m_checklist = nullptr;
    std::optional<ChecklistChange> m_pending;
    State m_before;
    std::vector<std::string> m_told;
};

}  // namespace tavik::test
