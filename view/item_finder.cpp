#include "view/item_finder.h"

#include "model/checklist.h"

#include <QString>

#include <algorithm>
#include <array>
#include <functional>

namespace tavik {

namespace {

// Hiragana and its iteration marks lie this far below their katakana.
constexpr char16_t kKatakanaDistance = 0x60;
// Full-width ASCII lies this far above ASCII.
constexpr char16_t kFullWidthDistance = 0xFEE0;
// What FoldAlone gives for a character it cannot fold alone.
constexpr char16_t kNeedsNormalising = 0;
// Runs folded through Qt that are remembered; a checklist repeats its words.
constexpr std::size_t kRememberedRuns = 1024;

bool Within(char16_t c, char16_t first, char16_t last)
{
    return c >= first && c <= last;
}

// The fold of a character that compatibility normalisation leaves alone or maps to one
// character by a fixed distance, and that is a starter no neighbour combines with:
// ASCII, kana, CJK ideographs, the CJK punctuation, arrows and shapes Japanese lists use,
// full-width ASCII and the ideographic space. Any other character, NUL included, gives
// kNeedsNormalising and goes through Qt's normalisation with its neighbours.
char16_t FoldAlone(char16_t c)
{
    if (Within(c, 0xFF01, 0xFF5E))
        c -= kFullWidthDistance;
    if (c < 0x80)
        return Within(c, u'A', u'Z') ? c - u'A' + u'a' : c;
    if (Within(c, 0x3400, 0x9FFF) || Within(c, 0x30A0, 0x30FE) || Within(c, 0x3001, 0x3029) || Within(c, 0x2190, 0x21FF)
        || Within(c, 0x2500, 0x27FF))
        return c;
    if (Within(c, 0x3041, 0x3096) || Within(c, 0x309D, 0x309E))
        return c + kKatakanaDistance;
    if (c == 0x3000)
        return u' ';
    return kNeedsNormalising;
}

using InlineFolds = std::array<char16_t, 0x10000>;

// FoldAlone for every UTF-16 unit, worked out once: Japanese text mixes ASCII, kana and
// ideographs too freely for the ranges' branches to be foreseen.
const InlineFolds& TheInlineFolds()
{
    static const std::unique_ptr<const InlineFolds> folds = [] {
        auto table = std::make_unique<InlineFolds>();
        for (std::size_t unit = 0; unit < table->size(); ++unit)
            (*table)[unit] = FoldAlone(static_cast<char16_t>(unit));
        return table;
    }();
    return *folds;
}

}  // namespace

// Folds texts as matching sees them into a buffer reused from row to row, remembering what
// Qt made of the runs it was last given.
class ItemFinder::Folder {
public:
    // The text folded; valid until the next call.
    std::u16string_view fold(std::u16string_view text);

private:
    struct Run {
        std::u16string text;
        std::u16string folded;
    };

    // Compatibility normalisation, which also joins a half-width voiced kana into one
    // character, then case folding, then hiragana to katakana.
    const std::u16string& normalised(std::u16string_view run);
    void reserve(std::size_t size);

    std::u16string m_folded;
    QString m_qtText;
    std::array<Run, kRememberedRuns> m_runs;
};

std::u16string_view ItemFinder::Folder::fold(std::u16string_view text)
{
    reserve(text.size());
    const InlineFolds& inlineFolds = TheInlineFolds();
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t inlineFold = inlineFolds[text[i]];
        if (inlineFold != kNeedsNormalising) {
            m_folded[length++] = inlineFold;
            ++i;
            continue;
        }
        // The run of characters that need Qt goes with the character before it, which a
        // combining mark in the run may join; that one was folded inline to one character.
        std::size_t from = i;
        if (from > 0) {
            --from;
            --length;
        }
        std::size_t to = i + 1;
        while (to < text.size() && inlineFolds[text[to]] == kNeedsNormalising)
            ++to;
        const std::u16string& run = normalised(text.substr(from, to - from));
        reserve(length + run.size() + text.size() - to);
        std::copy(run.begin(), run.end(), m_folded.begin() + static_cast<std::ptrdiff_t>(length));
        length += run.size();
        i = to;
    }
    return std::u16string_view(m_folded.data(), length);
}

const std::u16string& ItemFinder::Folder::normalised(std::u16string_view run)
{
    Run& remembered = m_runs[std::hash<std::u16string_view>()(run) % kRememberedRuns];
    if (remembered.text == run)
        return remembered.folded;
    m_qtText.setUnicode(reinterpret_cast<const QChar*>(run.data()), static_cast<qsizetype>(run.size()));
    const QString folded = m_qtText.normalized(QString::NormalizationForm_KC).toCaseFolded();
    remembered.text = run;
    remembered.folded.clear();
    for (const QChar c : folded) {
        const char16_t inlineFold = TheInlineFolds()[c.unicode()];
        remembered.folded.push_back(inlineFold == kNeedsNormalising ? c.unicode() : inlineFold);
    }
    return remembered.folded;
}

// The buffer only grows, so that folding a row allocates nothing.
void ItemFinder::Folder::reserve(std::size_t size)
{
    if (m_folded.size() < size)
        m_folded.resize(std::max(size, 2 * m_folded.size()));
}

ItemFinder::ItemFinder(const Checklist& checklist)
    : m_checklist(checklist)
    , m_folder(std::make_unique<Folder>())
{
}

ItemFinder::~ItemFinder() = default;

void ItemFinder::setText(QStringView text)
{
    m_needle = m_folder->fold(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

std::optional<std::size_t> ItemFinder::find(std::size_t start, int direction) const
{
    const std::size_t count = m_checklist.rowCount();
    if (m_needle.empty() || count == 0)
        return std::nullopt;
    std::size_t row = start < count ? start : (direction > 0 ? 0 : count - 1);
    for (std::size_t looked = 0; looked < count; ++looked) {
        if (holds(m_checklist.row(row).text) || holds(m_checklist.comment(row)))
            return row;
        if (direction > 0)
            row = row + 1 == count ? 0 : row + 1;
        else
            row = row == 0 ? count - 1 : row - 1;
    }
    return std::nullopt;
}

// Needle and rows go through the one folder, so that both sides always agree.
bool ItemFinder::holds(std::u16string_view text) const
{
    return m_folder->fold(text).find(m_needle) != std::u16string_view::npos;
}

}  // namespace tavik
