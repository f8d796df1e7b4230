#include "model/text_buffer.h"

#include "platform/memory/huge_pages.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace tavik {

TextBuffer::~TextBuffer()
{
    std::free(m_data);
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
    , m_capacity(std::exchange(other.m_capacity, 0))
{
}

TextBuffer& TextBuffer::operator=(TextBuffer&& other) noexcept
{
    if (this != &other) {
        std::free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

bool TextBuffer::holds(std::u16string_view text) const
{
    // Compared as integers: pointers into different blocks have no order of their own.
    const auto begin = reinterpret_cast<std::uintptr_t>(m_data);
    const auto at = reinterpret_cast<std::uintptr_t>(text.data());
    return m_data && at >= begin && at < begin + m_capacity * sizeof(char16_t);
}

char16_t* TextBuffer::reserveMore(std::size_t count)
{
    if (m_capacity - m_size < count) {
        // Growing by half keeps appends amortised constant without doubling a large block.
        const std::size_t needed = m_size + count;
        reallocate(needed > m_capacity + m_capacity / 2 ? needed : m_capacity + m_capacity / 2);
    }
    return m_data + m_size;
}

std::size_t TextBuffer::append(std::u16string_view text)
{
    const std::size_t offset = m_size;
    if (!text.empty()) {
        std::memcpy(reserveMore(text.size()), text.data(), text.size() * sizeof(char16_t));
        m_size += text.size();
    }
    return offset;
}

void TextBuffer::shrinkToFit()
{
    if (m_capacity > m_size)
        reallocate(m_size);
}

void TextBuffer::reallocate(std::size_t capacity)
{
    if (capacity == 0) {
        std::free(m_data);
        m_data = nullptr;
        m_capacity = 0;
        return;
    }
    void* moved = std::realloc(m_data, capacity * sizeof(char16_t));
    if (!moved)
        throw std::bad_alloc();
    m_data = static_cast<char16_t*>(moved);
    if (capacity > m_capacity)
        AdviseHugePages(m_data + m_size, (capacity - m_size) * sizeof(char16_t));
    m_capacity = capacity;
}

}  // namespace tavik
