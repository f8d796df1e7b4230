#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavik {

class Checklist;

// Builds a checklist from the lines of a file, one line at a time, so that a large
// file never has to be held as decoded text in full.
class ChecklistParser {
public:
    // Resets the checklist's rows, comments and header comment; `expectedLines`
    // reserves room.
    ChecklistParser(Checklist& checklist, std::size_t expectedLines);

    // One line without its LF. CRs anywhere in it are dropped.
    void addLine(std::u16string_view line);

    // The number of deleted lines ("削<" ...) read so far.
    int deletedCount() const { return m_deletedCount; }

private:
    void addClassifiedLine(std::u16string_view line);
    void addCommentLine(std::u16string_view line);

    Checklist& m_checklist;
    std::u16string m_scratch;
    int m_deletedCount = 0;
    // Comment lines under a deleted line belonged to the deleted row (its deletion
    // record holds them); they are dropped until the next line that makes a row.
    bool m_inDeletedRowComment = false;
};

}  // namespace tavik
