#include "view/item_finder.h"

#include "model/checklist.h"

#include <QString>

#include <gtest/gtest.h>

#include <optional>

namespace tavik {
namespace {

void Append(Checklist& checklist, std::u16string_view text, std::u16string_view comment = {})
{
    checklist.appendRow(ItemRow{Mark::None, text, {}}, comment);
}

TEST(ItemFinder, FindsWhatDiffersOnlyInWidthKanaOrCase)
{
    const struct {
        std::u16string_view row;
        QString looked;
        bool found;
    } cases[] = {
        {u"ABC", "ａｂｃ", true},
        {u"ｶﾞｽ代", "ガス", true},
        {u"ｷﾞｭｳﾆｭｳ", "ぎゅうにゅう", true},
        {u"こゝろ", "コヽロ", true},
        {u"電池　２本", "電池 2本", true},
        {u"①番", "1番", true},
        {u"ÄBC", "äbc", true},
        {u"ｶﾀｶﾅとＡＢＣ", "かたかなとabc", true},
        {u"カ\u3099ス", "がす", true},  // a combining mark joins the kana before it
        {u"ガス", "カス", false},
        {u"ｶﾞｽ", "ｶｽ", false},
        {u"ぱん", "ばん", false},
    };
    for (const auto& c : cases) {
        Checklist checklist;
        Append(checklist, c.row);
        ItemFinder finder(checklist);
        finder.setText(c.looked);
        EXPECT_EQ(finder.find(0, 1).has_value(), c.found) << c.looked.toStdString();
    }
}

// Each character alone matches what Qt's normalisation and case folding make of it, with
// hiragana as katakana: the characters folded without Qt fold as Qt would.
TEST(ItemFinder, EveryCharacterMatchesItsFoldByQt)
{
    Checklist checklist;
    for (char32_t unit = 0x20; unit <= 0xFFFF; ++unit) {
        if (!QChar::isSurrogate(unit))
            Append(checklist, std::u16string(1, static_cast<char16_t>(unit)));
    }
    ItemFinder finder(checklist);
    for (std::size_t row = 0; row < checklist.rowCount(); ++row) {
        const QChar unit(checklist.row(row).text[0]);
        QString folded = QString(unit).normalized(QString::NormalizationForm_KC).toCaseFolded();
        for (QChar& c : folded) {
            if ((c >= u'\u3041' && c <= u'\u3096') || c == u'\u309D' || c == u'\u309E')
                c = QChar(c.unicode() + 0x60);
        }
        finder.setText(folded);
        ASSERT_EQ(finder.find(row, 1), row) << "U+" << QString::number(unit.unicode(), 16).toStdString();
    }
}

TEST(ItemFinder, LooksFromTheStartRowOnAndGoesRound)
{
    Checklist checklist;
    Append(checklist, u"牛乳");
    Append(checklist, u"パン", u"メモ\n牛乳も");
    Append(checklist, u"卵");
    Append(checklist, u"牛乳パック");
    const struct {
        QString looked;
        std::size_t start;
        int direction;
        std::optional<std::size_t> found;
    } cases[] = {
        {"牛乳", 0, 1, 0},  // the start row itself
        {"牛乳", 1, 1, 1},  // in the comment only
        {"牛乳", 2, 1, 3},
        {"卵", 3, 1, 2},  // round past the end
        {"牛乳", 2, -1, 1},
        {"パック", 2, -1, 3},  // round past the start
        {"卵", 4, -1, 2},  // one past the last row
        {"卵", 4, 1, 2},
        {"バター", 0, 1, std::nullopt},
        {"", 0, 1, std::nullopt},
    };
    ItemFinder finder(checklist);
    for (const auto& c : cases) {
        finder.setText(c.looked);
        EXPECT_EQ(finder.find(c.start, c.direction), c.found)
            << c.looked.toStdString() << " from " << c.start << " going " << c.direction;
    }
}

}  // namespace
}  // namespace tavik
