#pragma once

#include <optional>
#include <string>

namespace tavik {

class Checklist;

// How far a checklist is done, as the counter on the main screen shows it.
struct Progress {
    int done = 0;
    int total = 0;  // rows marked deleted are left out
    int percent = 0;

    // "done/total\npercent%"
    std::u16string counterText() const;
};

// nullopt when there is nothing to count (no rows, or only deleted ones).
std::optional<Progress> ComputeProgress(const Checklist& checklist);

}  // namespace tavik
