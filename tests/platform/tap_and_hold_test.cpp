#include "platform/tap_and_hold.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QStyleHints>
#include <QTableView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {
namespace {

using Points = std::vector<std::pair<QPoint, QPoint>>;

TEST(TapAndHold, RightClickOnAListsViewport_GivesThePointInTheListAndOnTheScreen)
{
    QTableView list;
    list.show();
    Points points;
    TapAndHold::watch(list, [&](const QPoint& local, const QPoint& global) { points.push_back({local, global}); });

    const QPoint global = list.viewport()->mapToGlobal(QPoint(30, 20));
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(30, 20), global);
    QApplication::sendEvent(list.viewport(), &click);
    EXPECT_EQ(points, (Points{{list.mapFromGlobal(global), global}}));
}

// A finger held still for the press-and-hold interval is a tap-and-hold; one lifted
// earlier, or one that moves away, is not.
TEST(TapAndHold, LongPressOfAFinger_FiresOnceAfterTheHoldInterval)
{
    QWidget pane;
    pane.resize(100, 100);
    pane.show();
    Points points;
    TapAndHold::watch(pane, [&](const QPoint& local, const QPoint& global) { points.push_back({local, global}); });
    const QPointingDevice finger(QStringLiteral("finger"), 7, QInputDevice::DeviceType::TouchScreen,
        QPointingDevice::PointerType::Finger, QInputDevice::Capability::Position, 1, 0);
    const auto send = [&](QEvent::Type type, QPoint local) {
        QMouseEvent event(type, local, local, pane.mapToGlobal(local), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier, &finger);
        QApplication::sendEvent(&pane, &event);
    };
    const int hold = QGuiApplication::styleHints()->mousePressAndHoldInterval();

    send(QEvent::MouseButtonPress, QPoint(10, 10));
    QTest::qWait(hold / 2);
    send(QEvent::MouseButtonRelease, QPoint(10, 10));
    send(QEvent::MouseButtonPress, QPoint(10, 10));
    send(QEvent::MouseMove, QPoint(60, 60));
    QTest::qWait(hold + 200);
    EXPECT_TRUE(points.empty());

    send(QEvent::MouseButtonPress, QPoint(20, 30));
    QTest::qWait(hold / 2);
    EXPECT_TRUE(points.empty()) << "fired before the hold interval";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !points.empty(); }, hold * 2));
    QTest::qWait(hold + 100);
    EXPECT_EQ(points, (Points{{QPoint(20, 30), pane.mapToGlobal(QPoint(20, 30))}}));
}

}  // namespace
}  // namespace tavik
