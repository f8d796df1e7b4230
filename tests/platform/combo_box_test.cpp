#include "platform/combo_box.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tavik {
namespace {

QStringList entries(const ComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.append(combo.itemText(i));
    return texts;
}

TEST(ComboBox, Sorted_KeepsEntriesInCaseInsensitiveOrderOfTheWholeText_WithTheirValues) {
    ComboBox combo(ComboBox::Order::Sorted);
    EXPECT_EQ(combo.addString(QStringLiteral("△[上のフォルダへ]"), 2), 0);
    EXPECT_EQ(combo.addString(QStringLiteral(" b.txt"), 0), 0);
    EXPECT_EQ(combo.addString(QStringLiteral("∇[d]"), 1), 1);
    EXPECT_EQ(combo.addString(QStringLiteral(" A.lst"), 0), 0);
    EXPECT_EQ(combo.addString(QStringLiteral(" a.LST"), 7), 1) << "after the entry it equals ignoring case";
    EXPECT_EQ(combo.addString(QStringLiteral(" Zeta.lst"), 0), 3);

    EXPECT_EQ(entries(combo), (QStringList{" A.lst", " a.LST", " b.txt", " Zeta.lst", "∇[d]", "△[上のフォルダへ]"}));
    EXPECT_EQ(combo.itemValue(1), 7u);
    EXPECT_EQ(combo.itemValue(4), 1u);
    EXPECT_EQ(combo.itemValue(5), 2u);
}

TEST(ComboBox, SelectString_IsAPrefixSearchIgnoringCaseFromTheEntryAfterTheStart_Wrapping) {
    struct Case {
        int startAfter;
        const char* prefix;
        int expected;
        const char* why;
    };
    // Entries: 0 " a.lst", 1 " ab.lst", 2 " B.txt", 3 "∇[ab]"
    const Case cases[] = {
        {-1, " a", 0, "the whole list from the top"},
        {0, " a", 1, "the search begins after the start index"},
        {1, " a", 0, "past the end it wraps to the top"},
        {0, " A", 1, "case is ignored"},
        {0, " b.TXT", 2, "a whole text is a prefix of itself"},
        {0, " ", 1, "the first file entry after the start"},
        {2, "∇", 3, "non-Latin prefixes"},
        {0, "a.lst", -1, "a prefix must start at the first character"},
        {-1, " abc", -1, "longer than every entry"},
        {17, " B", 2, "a start outside the list searches from the top"},
    };
    for (const Case& c : cases) {
        ComboBox combo(ComboBox::Order::Sorted);
        for (const char* text : {" ab.lst", "∇[ab]", " B.txt", " a.lst"})
            combo.addString(QString::fromUtf8(text));
        combo.setCurrentIndex(3);

        EXPECT_EQ(combo.selectString(c.startAfter, QString::fromUtf8(c.prefix)), c.expected) << c.why;
        EXPECT_EQ(combo.currentIndex(), c.expected >= 0 ? c.expected : 3)
            << c.why << ": a failed search leaves the selection as it was";
    }
}

TEST(ComboBox, SelectingFromTheProgram_IsNotReportedAsTheUsersChoice) {
    ComboBox combo(ComboBox::Order::Sorted);
    combo.addString(QStringLiteral(" a.lst"));
    combo.addString(QStringLiteral(" b.lst"));
    QSignalSpy chosen(&combo, &QComboBox::activated);

    combo.selectString(0, QStringLiteral(" b"));

    EXPECT_EQ(combo.currentIndex(), 1);
    EXPECT_EQ(chosen.count(), 0);
}

}  // namespace
}  // namespace tavik
