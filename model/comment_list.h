#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tavik {

// The comments of a checklist: entry k belongs to row k. Comments are lines joined
// by "!!". The list always has at least as many entries as there are rows; entries
// past the last row are spares and are never written.
class CommentList {
public:
    std::size_t size() const { return m_entries.size(); }

    // The comment at `index`, or an empty one past the end.
    const std::u16string& at(std::size_t index) const;

    // Sets entry `index`, growing the list with empty entries up to it.
    void set(std::size_t index, std::u16string comment);

    // Inserts at `index` (growing first when it lies past the end) and shifts the rest down.
    void insert(std::size_t index, std::u16string comment);
    void remove(std::size_t index);
    void swap(std::size_t a, std::size_t b);
    void append(std::u16string comment) { m_entries.push_back(std::move(comment)); }

    // Direct access for the reader, which appends lines to the comment being read.
    std::u16string& operator[](std::size_t index) { return m_entries[index]; }

    void clear() { m_entries.clear(); }
    void reserve(std::size_t count) { m_entries.reserve(count); }
    const std::vector<std::u16string>& entries() const { return m_entries; }

private:
    std::vector<std::u16string> m_entries;
};

}  // namespace tavik
