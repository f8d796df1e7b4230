#include "model/checklist.h"

#include <utility>

namespace tavik {

void Checklist::reset()
{
    m_rows.clear();
    m_comments.clear();
    m_comments.append({});
    m_headerComment.clear();
}

void Checklist::reserveRows(std::size_t count)
{
    m_rows.reserve(count);
    // Comments are reserved in steps of 50, with room for the spare entry.
    m_comments.reserve((count / 50 + 1) * 50);
}

void Checklist::appendReadRow(std::u16string_view mark, std::u16string_view text, std::u16string_view date)
{
    // Built in place: a large file has a million of these.
    ItemRow& row = m_rows.emplace_back();
    row.mark.assign(mark);
    row.text.assign(text);
    row.date.assign(date);
    if (m_comments.size() <= m_rows.size())
        m_comments.append({});
}

void Checklist::appendRow(ItemRow row, std::u16string comment)
{
    m_rows.push_back(std::move(row));
    m_comments.set(m_rows.size() - 1, std::move(comment));
}

void Checklist::insertRow(std::size_t index, ItemRow row, std::u16string comment)
{
    if (index > m_rows.size())
        index = m_rows.size();
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(index), std::move(row));
    m_comments.insert(index, std::move(comment));
}

void Checklist::removeRow(std::size_t index)
{
    if (index >= m_rows.size())
        return;
    m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(index));
    m_comments.remove(index);
}

void Checklist::swapRows(std::size_t a, std::size_t b)
{
    if (a >= m_rows.size() || b >= m_rows.size() || a == b)
        return;
    std::swap(m_rows[a], m_rows[b]);
    m_comments.swap(a, b);
}

}  // namespace tavik
