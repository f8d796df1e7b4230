#include "platform/command_route.h"

#include "tests/support/command_callbacks.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace tavik {

TEST(CommandRoute, FirstHandlerAlongTheRouteRuns_FirstUpdateHandlerDecides_PostedCommandsRunLaterInOrder)
{
    QStringList log;
    CommandCallbacks view, frame;
    CommandRoute route;
    route.append(view);
    route.append(frame);
    view.addHandler(1, [&] { log << "view 1"; });
    frame.addHandler(1, [&] { log << "frame 1"; });
    frame.addHandler(2, [&] { log << "frame 2"; });
    frame.addUpdateHandler(1, [](CommandUi& ui) { ui.setEnabled(false); });
    view.addUpdateHandler(2, [](CommandUi& ui) {
        ui.setText(QStringLiteral("保存 & 終了"));
        ui.setChecked(true);
    });

    EXPECT_TRUE(route.execute(1));
    EXPECT_TRUE(route.execute(2));
    EXPECT_FALSE(route.execute(3));
    EXPECT_EQ(log, QStringList({"view 1", "frame 2"}));

    EXPECT_FALSE(route.update(1).isEnabled()) << "an update handler further down decides over a handler up front";
    EXPECT_TRUE(route.update(2).isEnabled() && route.update(2).isChecked());
    EXPECT_EQ(route.update(2).text(), QStringLiteral("保存 & 終了"));
    EXPECT_FALSE(route.update(3).isEnabled()) << "nothing handles it";

    view.addHandler(4, [&] {
        route.post(2);
        route.post(1);
        log << "4 returns";
    });
    route.execute(4);
    QCoreApplication::processEvents();
    EXPECT_EQ(log, QStringList({"view 1", "frame 2", "4 returns", "frame 2", "view 1"}));
}

TEST(CommandRoute, ATargetDestroyedLeavesTheRoute)
{
    CommandRoute route;
    {
        CommandCallbacks shortLived;
        shortLived.addHandler(1, [] {});
        route.append(shortLived);
    }
    EXPECT_FALSE(route.execute(1));
    EXPECT_FALSE(route.update(1).isEnabled());
}

}  // namespace tavik
