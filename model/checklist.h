#pragma once

#include "model/comment_list.h"
#include "model/item_row.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {

// Lines joined by "!!", like a comment: the comment lines before the first item of
// a file and the deletion records that deleting and cutting append.
using HeaderComment = std::u16string;

// The one open checklist: its rows, one comment per row, the header comment, the
// path of its file and two flags. Rows and their comments always move together.
class Checklist {
public:
    Checklist() { reset(); }

    // No rows; a comment list with one empty entry; an empty header comment. The
    // path and the flags are left to the caller.
    void reset();

    std::size_t rowCount() const { return m_rows.size(); }
    const ItemRow& row(std::size_t index) const { return m_rows[index]; }
    const std::vector<ItemRow>& rows() const { return m_rows; }
    void setMark(std::size_t index, std::u16string mark) { m_rows[index].mark = std::move(mark); }
    void setText(std::size_t index, std::u16string text) { m_rows[index].text = std::move(text); }
    void setDate(std::size_t index, std::u16string date) { m_rows[index].date = std::move(date); }

    // Adds a row at the end while a file is read; keeps one spare comment entry after it.
    void appendReadRow(std::u16string_view mark, std::u16string_view text, std::u16string_view date);

    // Adds a row at the end with its comment (replacing whatever spare entry stood there).
    void appendRow(ItemRow row, std::u16string comment);
    // Inserts a row before `index` (at most rowCount()) with its comment.
    void insertRow(std::size_t index, ItemRow row, std::u16string comment);
    void removeRow(std::size_t index);
    // Exchanges two rows together with their comments (moving a row up or down).
    void swapRows(std::size_t a, std::size_t b);

    const std::u16string& comment(std::size_t index) const { return m_comments.at(index); }
    void setComment(std::size_t index, std::u16string comment) { m_comments.set(index, std::move(comment)); }
    const CommentList& comments() const { return m_comments; }
    CommentList& comments() { return m_comments; }

    const HeaderComment& headerComment() const { return m_headerComment; }
    HeaderComment& headerComment() { return m_headerComment; }
    void appendToHeaderComment(std::u16string_view text) { m_headerComment.append(text); }

    const std::u16string& filePath() const { return m_filePath; }
    void setFilePath(std::u16string path) { m_filePath = std::move(path); }
    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }
    bool readAsUnicode() const { return m_readAsUnicode; }
    void setReadAsUnicode(bool readAsUnicode) { m_readAsUnicode = readAsUnicode; }
    // The file at filePath exists but was not read (it could not be opened or decoded,
    // or was refused): writing to it would lose what it holds.
    bool fileUnread() const { return m_fileUnread; }
    void setFileUnread(bool unread) { m_fileUnread = unread; }

    void reserveRows(std::size_t count);

private:
    std::vector<ItemRow> m_rows;
    HeaderComment m_headerComment;
    bool m_readAsUnicode = false;
    std::u16string m_filePath;
    bool m_modified = false;
    bool m_fileUnread = false;
    CommentList m_comments;
};

}  // namespace tavik
