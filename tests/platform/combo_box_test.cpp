#include "platform/combo_box.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace tavik {

TEST(ComboBox, SortedIgnoringCase_SelectsNothingWhenFilled_FindsWholeTextsSameCaseFirst)
{
    ComboBox combo(ComboBox::Order::Sorted);
    const char* added[] = {"∇[d]", " b.txt", " A.lst.lst", " a.lst", " A.lst"};
    for (std::uint32_t i = 0; i < 5; ++i)
        combo.addString(QString::fromUtf8(added[i]), i);
    // Texts equal but for case keep the order they came in.
    const char* sorted[] = {" a.lst", " A.lst", " A.lst.lst", " b.txt", "∇[d]"};
    const std::uint32_t values[] = {3, 4, 2, 1, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(combo.itemText(i), QString::fromUtf8(sorted[i]));
        EXPECT_EQ(combo.itemValue(i), values[i]) << "each entry keeps its value";
    }
    EXPECT_EQ(combo.currentIndex(), -1) << "no entry is selected until the program selects one";

    const struct {
        const char* text;
        int expected;
    } cases[] = {{" A.lst", 1}, {" a.lst", 0}, {" a.lst.lst", 2} /* another case */, {" B.TXT", 3}, {" a", -1},
        {"a.lst", -1}, {" ", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(combo.findStringExact(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(ComboBox, WheelOverTheClosedBox_ChoosesNothing_TheOpenListStillScrolls)
{
    ComboBox combo(ComboBox::Order::AsAdded);
    for (int i = 0; i < 40; ++i)
        combo.addString(QStringLiteral("entry %1").arg(i));
    combo.setCurrentIndex(5);
    combo.show();
    QSignalSpy chosen(&combo, &QComboBox::activated);
    const auto turn = [](QWidget& widget, int notches) {
        const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
        QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&widget, &event);
    };
    for (const int notches : {-1, 1, -3}) {
        turn(combo, notches);
        EXPECT_EQ(combo.currentIndex(), 5) << notches;
    }
    EXPECT_EQ(chosen.count(), 0);

    combo.showPopup();
    QScrollBar* bar = combo.view()->verticalScrollBar();
    ASSERT_TRUE(combo.view()->isVisible());
    const int top = bar->value();
    turn(*combo.view()->viewport(), -3);
    EXPECT_GT(bar->value(), top) << "the open list scrolls";
    combo.hidePopup();
    EXPECT_EQ(chosen.count(), 0);
}

}  // namespace tavik
