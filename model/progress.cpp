#include "model/progress.h"

#include "model/checklist.h"

namespace tavik {

std::optional<Progress> ComputeProgress(const Checklist& checklist)
{
    Progress progress;
    progress.done = static_cast<int>(checklist.doneCount());
    progress.total = static_cast<int>(checklist.rowCount() - checklist.deletedCount());
    if (progress.total <= 0)
        return std::nullopt;

    // Rounded to the nearest tenth, then truncated; never 100% unless all is done,
    // never 0% once something is.
    progress.percent = static_cast<int>(((1000LL * progress.done + 5) / progress.total) / 10);
    if (progress.percent == 100 && progress.done != progress.total)
        progress.percent = 99;
    else if (progress.percent == 0 && progress.done > 0)
        progress.percent = 1;
    return progress;
}

std::u16string Progress::counterText() const
{
    std::string ascii = std::to_string(done) + "/" + std::to_string(total) + "\n" + std::to_string(percent) + "%";
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace tavik
