#include "model/comment_text.h"
#include "platform/clipboard.h"
#include "platform/edit_control.h"
#include "platform/qt_text.h"
#include "tests/support/popup_probe.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_launcher.h"
#include "tests/view/view_test_fixture.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QTest>

namespace tavik {
namespace {

class GestureTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        writeChecklist(QStringLiteral("a.lst"), u"milk\r\n 2 l\r\nbread\r\n rye\r\n \\My Documents\\x.exe\r\neggs\r\n");
        writeChecklist(QStringLiteral("b.lst"), u"tea\r\n green\r\ncoffee\r\n");
        remember(QString(), QStringLiteral("a.lst"));
        open();
    }

    QWidget* viewport() const { return m_view->list()->viewport(); }
    QPoint rowPoint(int row) const { return m_view->list()->visualRect(m_view->listModel()->index(row, 1)).center(); }
    void tap(int row) { QTest::mouseClick(viewport(), Qt::LeftButton, {}, rowPoint(row)); }
    void doubleTap(int row)
    {
        tap(row);
        QTest::mouseDClick(viewport(), Qt::LeftButton, {}, rowPoint(row));
    }
    QString paneText() const { return m_view->commentPane()->toPlainText(); }
    // The comment of `row` as the pane shows it.
    QString commentOf(int row) const
    {
        std::u16string text;
        AppendCommentText(m_view->checklist().comment(static_cast<std::size_t>(row)), CommentMode::Display, text);
        return EditControl::fromCrLf(ToQString(text));
    }
    bool paneShown() const { return m_view->commentPane()->isVisible(); }
    static void holdOn(QWidget& widget)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), widget.mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(&widget, &event);
    }
    void toggleSplitPane() { m_view->executeCommand(res::ID_SHOW_COMMENT); }
};

TEST_F(GestureTest, Pane_FollowsTheSelectedRowIndex)
{
    tap(1);
    EXPECT_EQ(paneText(), QStringLiteral("rye\n\\My Documents\\x.exe"));
    // The arrow keys move the selection, which is a change like a tap.
    QTest::keyClick(m_view->list(), Qt::Key_Up);
    EXPECT_EQ(paneText(), QStringLiteral("2 l"));

    // The same row again leaves the pane alone.
    m_view->commentPane()->setPlainText(QStringLiteral("typed over"));
    tap(0);
    EXPECT_EQ(paneText(), QStringLiteral("typed over"));

    // Another checklist empties the pane; its first selection fills it, whatever the row.
    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(paneText(), QString());
    tap(0);
    EXPECT_EQ(paneText(), QStringLiteral("green"));
}

// After a change the pane may show another row's comment (an added item's), but a tap on
// the row that was selected always brings that row's own comment.
TEST_F(GestureTest, Pane_ShowsTheCommentOfTheRowItNamesAfterEveryChange)
{
    ScriptedDialogs dialogs;
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"move down", [this] { m_view->executeCommand(res::ID_MOVE_DOWN); }},
        {"move up", [this] { m_view->executeCommand(res::ID_MOVE_UP); }},
        {"add",
            [this, &dialogs] {
                dialogs.expect(res::IDD_ITEM, [](ModalDialog& dialog) {
                    EditControl::setText(*dialog.findControl(res::IDC_ITEM_TEXT), QStringLiteral("tea"));
                    EditControl::setText(*dialog.findControl(res::IDC_COMMENT), QStringLiteral("hot"));
                    return ScriptedDialogs::press(dialog, IDOK);
                });
                m_view->executeCommand(res::IDC_ADD_ITEM);
            }},
        {"paste",
            [this] {
                Clipboard::setText(QStringLiteral("jam\r\n sweet\r\n"));
                m_view->executeCommand(res::ID_ITEM_PASTE_APPEND);
            }},
        {"cut", [this] { m_view->executeCommand(res::ID_ITEM_CUT); }},
    };
    for (const auto& change : changes) {
        tap(1);
        change.change();
        tap(1);
        EXPECT_EQ(paneText(), commentOf(1)) << change.what;
    }
}

TEST_F(GestureTest, DoubleTap_PopsTheCommentUpUntilItsTimeIsOver)
{
    // Where the list leaves room the pop-up takes its own place; elsewhere it stays inside
    // the list, so that neither the controls nor the frame's bar hide it.
    for (const QSize size : {QSize(240, 220), m_view->minimumSize(), QSize(640, 480), QSize(240, 296)}) {
        m_view->resize(size);
        doubleTap(0);
        EXPECT_TRUE(m_view->list()->geometry().contains(m_view->commentPane()->geometry()))
            << size.width() << "x" << size.height();
    }
    EXPECT_TRUE(paneShown());
    EXPECT_EQ(m_view->commentPane()->geometry(), QRect(15, 150, 195, 140));
    // Shrunk while it shows, the list keeps it inside.
    m_view->resize(m_view->minimumSize());
    EXPECT_TRUE(m_view->list()->geometry().contains(m_view->commentPane()->geometry()));
    m_view->resize(240, 296);
    EXPECT_EQ(paneText(), QStringLiteral("2 l"));
    // The real five seconds.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !paneShown(); }, 7000));
    EXPECT_EQ(m_view->commentPane()->geometry(), QRect(0, 0, 1, 1));
}

TEST_F(GestureTest, SplitPane_IsNeitherPoppedUpNorHiddenByThePopUpsTime)
{
    toggleSplitPane();
    const QRect split = m_view->commentPane()->geometry();
    doubleTap(1);
    EXPECT_EQ(m_view->commentPane()->geometry(), split);

    // Opened while the pop-up shows: the time running out leaves it in place.
    toggleSplitPane();
    doubleTap(1);
    toggleSplitPane();
    m_view->OnTimer(CTavikView::kCommentPopupTimer);
    EXPECT_TRUE(paneShown());
    EXPECT_EQ(m_view->commentPane()->geometry(), split);
}

TEST_F(GestureTest, HoldOnThePane_OffersPopup2OnItsSelection)
{
    ScriptedLauncher launcher;
    launcher.expectStart();
    tap(1);
    toggleSplitPane();
    QPlainTextEdit* pane = m_view->commentPane();
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(23, QTextCursor::KeepAnchor);  // "\My Documents\x.exe"
    pane->setTextCursor(cursor);

    holdOn(*pane);
    ASSERT_NE(PopupProbe::current(), nullptr);
    EXPECT_TRUE(PopupProbe::entry(res::ID_POPUP2_COPY)->isEnabled());
    PopupProbe::choose(res::ID_LIST_RUN_PROGRAM);
    ASSERT_EQ(launcher.starts().size(), 1);
    EXPECT_EQ(launcher.starts()[0].application, QStringLiteral("\\My Documents\\x.exe"));

    holdOn(*pane);
    PopupProbe::choose(res::ID_LIST_OPEN_FILE);
    EXPECT_EQ(launcher.opened(), QStringList(QStringLiteral("\\My Documents\\x.exe")));

    // "コピー" copies the selection.
    Clipboard::setText(QStringLiteral("replaced"));
    holdOn(*pane);
    PopupProbe::choose(res::ID_POPUP2_COPY);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("\\My Documents\\x.exe"));

    // "編集" edits the list's selected row.
    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ITEM, [](ModalDialog& d) {
        EXPECT_EQ(d.findControl<QLineEdit>(res::IDC_ITEM_TEXT)->text(), QStringLiteral("bread"));
        return ScriptedDialogs::press(d, IDCANCEL);
    });
    holdOn(*pane);
    PopupProbe::choose(res::IDC_EDIT_ITEM);
}

}  // namespace
}  // namespace tavik
