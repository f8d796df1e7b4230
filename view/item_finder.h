#pragma once

#include <QStringView>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tavik {

class Checklist;

// Finds the rows of a checklist whose item text or comment holds a text, ignoring what a
// Japanese user does not mean by a difference: full-width and half-width forms, hiragana
// and katakana, and Latin case.
class ItemFinder {
public:
    explicit ItemFinder(const Checklist& checklist);
    ~ItemFinder();

    // The text to look for; one that is empty once folded finds nothing.
    void setText(QStringView text);
    // The first row whose text or comment holds the text, from `start` on in `direction`
    // (1 forward, -1 back), going round past the end (or the start); nullopt when no row
    // holds it. `start` itself is looked at first; one past the last row starts at the
    // first row going forward and at the last going back.
    std::optional<std::size_t> find(std::size_t start, int direction) const;

private:
    class Folder;

    bool holds(std::u16string_view text) const;

    const Checklist& m_checklist;
    std::unique_ptr<Folder> m_folder;
    std::u16string m_needle;
};

}  // namespace tavik
