#pragma once

#include <cstddef>
#include <string_view>

namespace tavik {

// A growable array of UTF-16 units that, unlike std::u16string, grows without
// writing to its new room: a large file's text is decoded straight into it, and
// room that is never written costs no memory. Large blocks are moved by the C
// library's realloc, which remaps pages instead of copying them.
class TextBuffer {
public:
    TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(TextBuffer&& other) noexcept;
    TextBuffer& operator=(TextBuffer&& other) noexcept;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    std::size_t size() const { return m_size; }
    const char16_t* data() const { return m_data; }
    char16_t* data() { return m_data; }
    std::u16string_view view(std::size_t offset, std::size_t count) const { return {m_data + offset, count}; }
    // True when `text` lies inside the buffer, where growing would move it.
    bool holds(std::u16string_view text) const;

    // Makes room for `count` units past the end and returns where they start. The
    // room is not initialised; resize() takes in what was written there.
    char16_t* reserveMore(std::size_t count);
    // Shrinks, or grows into room that reserveMore() made.
    void resize(std::size_t size) { m_size = size; }
    // Appends `text`, which must not lie inside the buffer.
    std::size_t append(std::u16string_view text);
    // Gives back the room past the end.
    void shrinkToFit();

private:
    void reallocate(std::size_t capacity);

    char16_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

}  // namespace tavik
