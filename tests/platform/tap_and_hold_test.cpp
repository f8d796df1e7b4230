#include "platform/tap_and_hold.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointingDevice>
#include <QStyleHints>
#include <QTreeView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <vector>

namespace tavik {
namespace {

class TapAndHoldTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.setGeometry(50, 40, 200, 150);
        list.show();
        TapAndHold::watch(list, [this](const QPoint& local, const QPoint& global) {
            localPoints.push_back(local);
            globalPoints.push_back(global);
        });
    }

    void touchPress(const QPoint& at, QPointingDevice* device) {
        QMouseEvent press(QEvent::MouseButtonPress, at, list.viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier, device);
        QApplication::sendEvent(list.viewport(), &press);
    }

    void release(const QPoint& at, QPointingDevice* device) {
        QMouseEvent up(QEvent::MouseButtonRelease, at, list.viewport()->mapToGlobal(at), Qt::LeftButton,
                       Qt::NoButton, Qt::NoModifier, device);
        QApplication::sendEvent(list.viewport(), &up);
    }

    QTreeView list;
    std::vector<QPoint> localPoints;
    std::vector<QPoint> globalPoints;
};

TEST_F(TapAndHoldTest, RightClickOnTheViewport_GivesThePointInTheWidgetsCoordinates) {
    const QPoint inViewport(30, 20);
    QContextMenuEvent click(QContextMenuEvent::Mouse, inViewport, list.viewport()->mapToGlobal(inViewport));
    QApplication::sendEvent(list.viewport(), &click);

    ASSERT_EQ(localPoints.size(), 1u);
    EXPECT_EQ(globalPoints[0], list.viewport()->mapToGlobal(inViewport));
    EXPECT_EQ(localPoints[0], list.mapFromGlobal(globalPoints[0]));
    EXPECT_TRUE(click.isAccepted());
}

TEST_F(TapAndHoldTest, ContextMenuKey_GivesItsPoint) {
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), list.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&list, &key);

    ASSERT_EQ(localPoints.size(), 1u);
    EXPECT_EQ(localPoints[0], QPoint(5, 5));
}

TEST_F(TapAndHoldTest, LongTouchPress_FiresOnce_ShortOneOrMouseDoesNot) {
    QPointingDevice* touch = QTest::createTouchDevice();
    const int hold = QGuiApplication::styleHints()->mousePressAndHoldInterval();

    touchPress(QPoint(10, 10), touch);
    release(QPoint(10, 10), touch);
    QTest::qWait(hold + 200);
    EXPECT_TRUE(localPoints.empty()) << "a tap";

    auto* mouse = const_cast<QPointingDevice*>(QPointingDevice::primaryPointingDevice());
    touchPress(QPoint(10, 10), mouse);
    QTest::qWait(hold + 200);
    release(QPoint(10, 10), mouse);
    EXPECT_TRUE(localPoints.empty()) << "a mouse button held down";

    touchPress(QPoint(12, 14), touch);
    QTRY_COMPARE_WITH_TIMEOUT(localPoints.size(), size_t(1), hold + 3000);
    release(QPoint(12, 14), touch);
    EXPECT_EQ(globalPoints[0], list.viewport()->mapToGlobal(QPoint(12, 14)));
}

TEST(TapAndHold, EditControl_DoesNotShowItsOwnMenu) {
    QPlainTextEdit edit;
    edit.show();
    int gestures = 0;
    TapAndHold::watch(edit, [&gestures](const QPoint&, const QPoint&) { ++gestures; });

    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), edit.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit.viewport(), &click);

    EXPECT_EQ(gestures, 1);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

}  // namespace
}  // namespace tavik
