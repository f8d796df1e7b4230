#include "platform/tap_and_hold.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QTreeView>

#include <gtest/gtest.h>

namespace tavik {

TEST(TapAndHold, RightClickOnAListsViewport_GivesThePointInTheListAndOnTheScreen)
{
    QTreeView list;
    list.show();
    std::vector<std::pair<QPoint, QPoint>> points;
    TapAndHold::watch(list, [&](const QPoint& local, const QPoint& global) { points.push_back({local, global}); });

    const QPoint global = list.viewport()->mapToGlobal(QPoint(30, 20));
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(30, 20), global);
    QApplication::sendEvent(list.viewport(), &click);
    EXPECT_EQ(points, (std::vector<std::pair<QPoint, QPoint>>{{list.mapFromGlobal(global), global}}));
}

}  // namespace tavik
