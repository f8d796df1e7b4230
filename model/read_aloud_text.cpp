#include "model/read_aloud_text.h"

#include "model/checklist.h"
#include "model/comment_text.h"

namespace tavik {

namespace {

constexpr char16_t kFullStop = u'\u3002';  // 。

}  // namespace

std::u16string ReadAloudText(const Checklist& checklist, std::optional<std::size_t> selectedRow)
{
    std::u16string text;
    if (selectedRow) {
        text.append(checklist.row(*selectedRow).text).push_back(kFullStop);
        AppendCommentText(checklist.comment(*selectedRow), CommentMode::Joined, text);
        return text;
    }
    for (std::size_t i = 0; i < checklist.rowCount(); ++i)
        text.append(checklist.row(i).text).push_back(kFullStop);
    return text;
}

}  // namespace tavik
