#include "platform/combo_box.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace tavik {

TEST(ComboBox, SortedIgnoringCase_SelectStringIsAPrefixSearchAfterTheStartThatWraps)
{
    ComboBox combo(ComboBox::Order::Sorted);
    const char* added[] = {"∇[d]", " b.txt", " ab.lst", " A.lst"};
    for (std::uint32_t i = 0; i < 4; ++i)
        combo.addString(QString::fromUtf8(added[i]), i);
    const char* sorted[] = {" A.lst", " ab.lst", " b.txt", "∇[d]"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(combo.itemText(i), QString::fromUtf8(sorted[i]));
        EXPECT_EQ(combo.itemValue(i), 3u - i) << "each entry keeps its value";
    }

    QSignalSpy chosen(&combo, &QComboBox::activated);
    const struct {
        int startAfter;
        const char* prefix;
        int expected;
    } cases[] = {{-1, " a", 0}, {0, " A", 1}, {1, " a", 0} /* wraps */, {2, "∇", 3}, {17, " B", 2} /* from the top */,
        {0, "a.lst", -1}, {0, " abc", -1}};
    for (const auto& c : cases) {
        const int before = combo.currentIndex();
        EXPECT_EQ(combo.selectString(c.startAfter, QString::fromUtf8(c.prefix)), c.expected) << c.prefix;
        EXPECT_EQ(combo.currentIndex(), c.expected < 0 ? before : c.expected) << c.prefix;
    }
    EXPECT_EQ(chosen.count(), 0) << "selecting from the program is not the user's choice";
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
