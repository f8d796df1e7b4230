#include "model/checklist_parser.h"

#include "model/checklist.h"
#include "model/comment_text.h"
#include "model/item_text.h"

namespace tavik {

namespace {

bool IsMarkedItemPrefix(std::u16string_view line)
{
    if (line.size() < 2 || line[1] != u'<')
        return false;
    const char16_t mark = line[0];
    return mark == marks::kDone || mark == marks::kCross || mark == marks::kQuery;
}

constexpr std::size_t kDateIndex = 2;
constexpr std::size_t kDateLength = 8;
constexpr std::size_t kDateEndIndex = kDateIndex + kDateLength;

}  // namespace

ChecklistParser::ChecklistParser(Checklist& checklist, std::size_t expectedLines)
    : m_checklist(checklist)
{
    m_checklist.reset();
    m_checklist.reserveRows(expectedLines);
}

void ChecklistParser::addLine(std::u16string_view line)
{
    if (line.find(u'\r') == std::u16string_view::npos) {
        addClassifiedLine(line);
        return;
    }
    m_scratch.clear();
    for (char16_t c : line) {
        if (c != u'\r')
            m_scratch.push_back(c);
    }
    addClassifiedLine(m_scratch);
}

void ChecklistParser::addClassifiedLine(std::u16string_view line)
{
    if (line.empty())
        return;

    std::u16string_view mark;
    std::u16string_view text;
    std::u16string_view date;
    if (IsMarkedItemPrefix(line)) {
        mark = line.substr(0, 1);
        if (line.find(u'>') == kDateEndIndex) {
            date = line.substr(kDateIndex, kDateLength);
            text = line.substr(kDateEndIndex + 1);
        } else {
            text = line.substr(1);
        }
    } else if (IsCommentLineStart(line.front())) {
        addCommentLine(line);
        return;
    } else if (line.size() >= 2 && line[0] == marks::kDeleted && line[1] == u'<') {
        ++m_deletedCount;
        m_inDeletedRowComment = true;
        return;
    } else {
        text = line;
    }

    if (text.empty())
        return;
    m_checklist.appendReadRow(mark, text, date);
    m_inDeletedRowComment = false;
}

void ChecklistParser::addCommentLine(std::u16string_view line)
{
    if (m_inDeletedRowComment)
        return;
    const std::size_t rows = m_checklist.rowCount();
    std::u16string& target = rows == 0 ? m_checklist.headerComment() : m_checklist.comments()[rows - 1];
    if (!target.empty())
        target.append(u"!!");
    target.append(TrimCommentSpace(line));
}

}  // namespace tavik
