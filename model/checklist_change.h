#pragma once

#include <cstddef>
#include <cstdint>

namespace tavik {

// The parts of a row a change can touch; the first three are the list's columns.
enum RowCell : std::uint8_t {
    kMarkCell = 1,
    kTextCell = 2,
    kDateCell = 4,
    kCommentCell = 8,
};

// What one change to a checklist did, told before and after it happens.
struct ChecklistChange {
    enum class Kind {
        Reset,  // every row replaced (a file read, the checklist emptied)
        RowsInserted,  // rows first..last are new
        RowsRemoved,  // rows first..last are gone (the last rows, an added item taken back)
        CellsChanged,  // `cells` of rows first..last hold new values
        HeaderChanged,  // a deletion record was added to the header comment or taken back out
    };
    Kind kind = Kind::Reset;
    std::size_t first = 0;
    std::size_t last = 0;
    std::uint8_t cells = 0;
};

// The one channel through which a checklist tells whoever shows it what changed.
class ChecklistObserver {
public:
    virtual ~ChecklistObserver() = default;
    virtual void checklistChanging(const ChecklistChange& change) = 0;
    virtual void checklistChanged(const ChecklistChange& change) = 0;
};

}  // namespace tavik
