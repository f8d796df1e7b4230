#include "model/checklist_parser.h"

#include "model/comment_text.h"
#include "model/item_text.h"
#include "platform/memory/huge_pages.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace tavik {

namespace {

constexpr std::size_t kDateIndex = 2;
constexpr std::size_t kDateEndIndex = kDateIndex + PackedRow::kDateLength;
// Room for the line break that joins a comment line to the one before it.
constexpr std::size_t kJoinRoom = 1;

}  // namespace

ChecklistParser::ChecklistParser(std::size_t expectedLines, std::size_t expectedUnits)
{
    m_content.rows.reserve(expectedLines);
    AdviseHugePages(m_content.rows.data(), m_content.rows.capacity() * sizeof(PackedRow));
    m_content.fileText.reserveMore(expectedUnits + kJoinRoom);
}

char16_t* ChecklistParser::lineSpace(std::size_t maxUnits)
{
    return m_content.fileText.reserveMore(maxUnits + kJoinRoom);
}

void ChecklistParser::addLine(std::u16string_view line)
{
    std::memcpy(lineSpace(line.size()), line.data(), line.size() * sizeof(char16_t));
    addDecodedLine(line.size());
}

void ChecklistParser::addDecodedLine(std::size_t units, bool mayHoldCr)
{
    TextBuffer& buffer = m_content.fileText;
    const std::size_t start = buffer.size();
    char16_t* const line = buffer.data() + start;
    if (mayHoldCr)
        units = static_cast<std::size_t>(std::remove(line, line + units, u'\r') - line);
    if (units == 0)
        return;
    const std::size_t end = start + units;

    if (const std::optional<Mark> mark = LineMark({line, units})) {
        if (*mark == Mark::Deleted) {
            ++m_deletedCount;
            m_inDeletedRowComment = true;
            return;
        }
        // Dated only when the first ">" stands right after the eight date characters.
        const bool dated = units > kDateEndIndex && line[kDateEndIndex] == u'>'
            && std::find(line + kDateIndex, line + kDateEndIndex, u'>') == line + kDateEndIndex;
        if (dated)
            addRow(end, *mark, start + kDateEndIndex + 1, start + kDateIndex);
        else
            addRow(end, *mark, start + 1, PackedRow::kNoDate);
        return;
    }
    if (IsCommentLineStart(line[0])) {
        addCommentLine(start, end);
        return;
    }
    addRow(end, Mark::None, start, PackedRow::kNoDate);
}

void ChecklistParser::addRow(std::size_t lineEnd, Mark mark, std::size_t textStart, std::size_t dateStart)
{
    // A marked line with nothing after its date makes no row.
    if (textStart == lineEnd)
        return;
    PackedRow& row = m_content.rows.emplace_back();
    row.text = static_cast<std::uint32_t>(textStart);
    row.textSize = static_cast<std::uint32_t>(lineEnd - textStart);
    row.date = dateStart == PackedRow::kNoDate ? PackedRow::kNoDate : static_cast<std::uint32_t>(dateStart);
    row.mark = mark;
    if (mark == Mark::Done)
        ++m_content.doneCount;
    m_content.fileText.resize(lineEnd);
    m_inDeletedRowComment = false;
}

void ChecklistParser::addCommentLine(std::size_t lineStart, std::size_t lineEnd)
{
    if (m_inDeletedRowComment)
        return;
    TextBuffer& buffer = m_content.fileText;
    const std::u16string_view trimmed = TrimCommentSpace(buffer.view(lineStart, lineEnd - lineStart));
    if (m_content.rows.empty()) {
        HeaderComment& header = m_content.headerComment;
        if (!header.empty())
            header.push_back(kCommentLineBreak);
        header.append(trimmed);
        return;
    }

    // A row's comment is kept whole right after what was read before it: the lines
    // that made no row in between have been dropped, so a comment that is not
    // empty ends where this line starts.
    PackedRow& row = m_content.rows.back();
    const std::size_t trimmedStart = static_cast<std::size_t>(trimmed.data() - buffer.data());
    if (row.commentSize == 0) {
        row.comment = static_cast<std::uint32_t>(trimmedStart);
        row.commentSize = static_cast<std::uint32_t>(trimmed.size());
        buffer.resize(trimmedStart + trimmed.size());
        return;
    }
    char16_t* const at = buffer.data() + lineStart;
    std::memmove(at + kJoinRoom, buffer.data() + trimmedStart, trimmed.size() * sizeof(char16_t));
    at[0] = kCommentLineBreak;
    row.commentSize += static_cast<std::uint32_t>(kJoinRoom + trimmed.size());
    buffer.resize(lineStart + kJoinRoom + trimmed.size());
}

ChecklistContent ChecklistParser::finish()
{
    m_content.fileText.shrinkToFit();
    return std::move(m_content);
}

}  // namespace tavik
