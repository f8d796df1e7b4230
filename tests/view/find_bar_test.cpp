#include "view/find_bar.h"

#include <QAccessible>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tavik {
namespace {

// The field over a window's bottom bar, the window holding shortcuts on the keys the
// field answers, as the main window may.
TEST(FindBar, CoversTheBarShowsNoMatchAndItsKeysWinOverTheWindowsShortcuts)
{
    QWidget window;
    window.resize(240, 320);
    QWidget covered(&window);
    covered.setGeometry(0, 280, 240, 40);
    FindBar bar(covered);
    int shortcuts = 0;
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_F3)})
        QObject::connect(new QShortcut(key, &window), &QShortcut::activated, [&] { ++shortcuts; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QSignalSpy changed(&bar, &QLineEdit::textChanged);
    QSignalSpy next(&bar, &FindBar::nextRequested);
    QSignalSpy previous(&bar, &FindBar::previousRequested);
    QSignalSpy closed(&bar, &FindBar::closed);

    EXPECT_FALSE(bar.isVisible());
    bar.setText(QStringLiteral("牛乳"));
    bar.open();
    EXPECT_TRUE(bar.hasFocus());
    EXPECT_EQ(bar.selectedText(), QStringLiteral("牛乳"));
    EXPECT_EQ(bar.geometry(), covered.geometry());
    EXPECT_EQ(window.childAt(covered.geometry().center()), &bar);
    covered.setGeometry(0, 200, 300, 50);
    EXPECT_EQ(bar.geometry(), covered.geometry());
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&bar)->text(QAccessible::Name), QStringLiteral("検索"));
    const QColor normal = bar.palette().color(QPalette::Base);
    bar.showFound(false);
    EXPECT_GT(bar.palette().color(QPalette::Base).red(), bar.palette().color(QPalette::Base).green());
    EXPECT_NE(bar.palette().color(QPalette::Base), normal);
    bar.showFound(true);
    EXPECT_EQ(bar.palette().color(QPalette::Base), normal);

    QTest::keyClicks(&bar, QStringLiteral("ab"));
    EXPECT_EQ(changed.size(), 3);
    EXPECT_EQ(changed.last().at(0).toString(), QStringLiteral("ab"));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int next;
        int previous;
    } keys[] = {
        {Qt::Key_Return, Qt::NoModifier, 1, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, 2, 0},
        {Qt::Key_F3, Qt::NoModifier, 3, 0},
        {Qt::Key_Return, Qt::ShiftModifier, 3, 1},
        {Qt::Key_F3, Qt::ShiftModifier, 3, 2},
    };
    for (const auto& k : keys) {
        QTest::keyClick(&bar, k.key, k.modifiers);
        EXPECT_EQ(next.size(), k.next) << k.key;
        EXPECT_EQ(previous.size(), k.previous) << k.key;
    }
    EXPECT_EQ(shortcuts, 0);
    QTest::keyClick(&bar, Qt::Key_Escape);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_FALSE(bar.isVisible());
}

}  // namespace
}  // namespace tavik
