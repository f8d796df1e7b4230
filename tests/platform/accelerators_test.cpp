#include "platform/accelerators.h"
#include "platform/command_callbacks.h"
#include "platform/command_route.h"
#include "res/resources.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <vector>

namespace tavik {
namespace {

TEST(Accelerators, CtrlLetterOnTheWindow_RunsItsCommandThroughTheRoute) {
    QMainWindow window;
    auto* edit = new QLineEdit(&window);
    window.setCentralWidget(edit);
    CommandRoute route;
    CommandCallbacks frame;
    std::vector<int> ran;
    for (const int id : {res::ID_APP_EXIT, res::ID_FILE_SAVE})
        frame.addHandler(id, [&ran, id] { ran.push_back(id); });
    route.append(frame);

    const auto shortcuts = Accelerators::install(window, res::Accelerators(), route);
    EXPECT_EQ(shortcuts.size(), res::Accelerators().size());

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Q);  // without Ctrl it is only a letter

    EXPECT_EQ(ran, (std::vector<int>{res::ID_APP_EXIT, res::ID_FILE_SAVE}));
    EXPECT_EQ(edit->text(), QStringLiteral("q"));
}

}  // namespace
}  // namespace tavik
