#include "model/comment_list.h"

#include <utility>

namespace tavik {

const std::u16string& CommentList::at(std::size_t index) const
{
    static const std::u16string empty;
    return index < m_entries.size() ? m_entries[index] : empty;
}

void CommentList::set(std::size_t index, std::u16string comment)
{
    if (index >= m_entries.size())
        m_entries.resize(index + 1);
    m_entries[index] = std::move(comment);
}

void CommentList::insert(std::size_t index, std::u16string comment)
{
    if (index > m_entries.size())
        m_entries.resize(index);
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(index), std::move(comment));
}

void CommentList::remove(std::size_t index)
{
    if (index < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
}

void CommentList::swap(std::size_t a, std::size_t b)
{
    const std::size_t needed = std::max(a, b) + 1;
    if (needed > m_entries.size())
        m_entries.resize(needed);
    std::swap(m_entries[a], m_entries[b]);
}

}  // namespace tavik
