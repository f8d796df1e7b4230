#pragma once

#include "model/checklist_content.h"

#include <cstddef>
#include <string_view>

namespace tavik {

// Builds the rows of a checklist from the lines of a file, one line at a time, into
// one text: each line is decoded at the end of that text and left there as far as
// it holds an item or a comment, so rows point into it and nothing is copied twice.
class ChecklistParser {
public:
    // `expectedLines` and `expectedUnits` reserve room; they need not be exact.
    ChecklistParser(std::size_t expectedLines, std::size_t expectedUnits);

    // Room for one line of at most `maxUnits` units; decode it there and hand it
    // over with addDecodedLine().
    char16_t* lineSpace(std::size_t maxUnits);
    // The line of `units` units just decoded into lineSpace(), without its LF. CRs
    // in it are dropped; `mayHoldCr` false says it holds none.
    void addDecodedLine(std::size_t units, bool mayHoldCr = true);
    // One line without its LF.
    void addLine(std::u16string_view line);

    // The number of deleted lines ("削<" ...) read so far.
    int deletedCount() const { return m_deletedCount; }
    // The rows read, with their texts; the parser is done with them.
    ChecklistContent finish();

private:
    void addRow(std::size_t lineEnd, Mark mark, std::size_t textStart, std::size_t dateStart);
    void addCommentLine(std::size_t lineStart, std::size_t lineEnd);

    ChecklistContent m_content;
    int m_deletedCount = 0;
    // Comment lines under a deleted line belonged to the deleted row (its deletion
    // record holds them); they are dropped until the next line that makes a row.
    bool m_inDeletedRowComment = false;
};

}  // namespace tavik
