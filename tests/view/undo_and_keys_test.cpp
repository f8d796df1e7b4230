#include "platform/clipboard.h"
#include "platform/command_route.h"
#include "platform/edit_control.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/view/view_test_fixture.h"
#include "view/find_bar.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest/QTest>

namespace tavik {
namespace {

// "○<02/12/23>卵" and friends, a header comment, and a comment under "牛乳".
constexpr std::u16string_view kFile = u" 買い物\r\n牛乳\r\n 2 l\r\n○<02/12/23>卵\r\nパン\r\n";

class UndoAndKeysTest : public ViewTest {
protected:
    CTavikView& openList()
    {
        writeChecklist(QStringLiteral("a.lst"), kFile);
        remember(QString(), QStringLiteral("a.lst"));
        open();
        m_view->list()->setFocus();
        return *m_view;
    }
    void key(QKeyCombination key) { QTest::keyClick(m_view->list(), key.key(), key.keyboardModifiers()); }
    // Every row as "mark|text|date", the counter's first line after a colon.
    std::string rows() const
    {
        QStringList rows;
        for (int row = 0; row < m_view->listModel()->rowCount(); ++row)
            rows << cell(row, ChecklistTableModel::kMarkColumn) + "|" + cell(row, ChecklistTableModel::kTextColumn)
                    + "|" + cell(row, ChecklistTableModel::kDateColumn);
        return (rows.join(QLatin1Char(' ')) + " : " + counterText().section(QLatin1Char('\n'), 0, 0)).toStdString();
    }
    std::optional<int> selected() const { return m_view->GetSelectedRow(); }
    // Types `text` a character at a time, as an input method hands it over.
    static void type(QWidget* widget, const QString& text)
    {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    FixedClock m_clock{QDate(2003, 3, 5)};
    ScriptedDialogs m_dialogs;
};

// Each kind of step goes back with Ctrl+Z and comes again with Ctrl+Y: the rows, the
// counter, the deletion records in the file, the selected row and `modified`. A step that
// wrote at once writes its undo too, and the file is then again what it was, byte for byte.
TEST_F(UndoAndKeysTest, EveryStepUndoesAndRedoesWithTheFileFollowing)
{
    openList();
    const std::string start = rows();
    ASSERT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    const QByteArray original = fileBytes(QStringLiteral("a.lst"));
    // After the undo, the row the step changed is selected, or the selection stays.
    const auto undoRedo = [&](const std::string& done, int selectedAfter) {
        SCOPED_TRACE(done);
        EXPECT_EQ(rows(), done);
        key(Qt::ControlModifier | Qt::Key_Z);
        EXPECT_EQ(rows(), start);
        EXPECT_EQ(selected(), selectedAfter);
        key(Qt::ControlModifier | Qt::Key_Y);
        EXPECT_EQ(rows(), done);
        key(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);  // nothing left to redo
        key(Qt::ControlModifier | Qt::Key_Z);
        EXPECT_EQ(rows(), start);
    };

    selectRow(0);
    key(Qt::Key_Space);
    undoRedo("○|牛乳|03/03/05 ○|卵|02/12/23 |パン| : 2/3", 0);
    EXPECT_FALSE(m_view->checklist().modified()) << "back where the file is";

    // Delete asks as the editor does, writes at once, and so does its undo.
    selectRow(0);
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("データが削除されます"));
    key(Qt::Key_Delete);
    const QByteArray deleted = fileBytes(QStringLiteral("a.lst"));
    EXPECT_TRUE(deleted.contains(Cp932(u" 牛乳<>\r\n 2 l\r\n")));
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_EQ(fileBytes(QStringLiteral("a.lst")), original);
    EXPECT_EQ(m_view->commentPane()->toPlainText(), QStringLiteral("2 l"));
    key(Qt::ControlModifier | Qt::Key_Y);
    EXPECT_EQ(fileBytes(QStringLiteral("a.lst")), deleted);
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_EQ(fileBytes(QStringLiteral("a.lst")), original);

    selectRow(1);
    Clipboard::setText(QString());
    key(Qt::ControlModifier | Qt::Key_X);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("卵\r\n"));
    undoRedo("|牛乳| 削||03/03/05 |パン| : 0/2", 1);

    key(Qt::ControlModifier | Qt::Key_V);
    undoRedo("|牛乳| ○|卵|02/12/23 |パン| |卵| : 1/4", 1);

    selectRow(1);
    key(Qt::AltModifier | Qt::Key_Down);
    EXPECT_EQ(selected(), 2) << "the moved row stays selected";
    undoRedo("|牛乳| |パン| ○|卵|02/12/23 : 1/3", 1);

    m_boxes.expect(MessageAnswer::Yes, QStringLiteral("マークと日付をクリアします"));
    m_view->executeCommand(res::ID_CLEAR_MARKS);
    undoRedo("|牛乳| |卵| |パン| : 0/3", 1);

    m_dialogs.expect(res::IDD_ITEM, [](ModalDialog& dialog) {
        EditControl::setText(*dialog.findControl(res::IDC_ITEM_TEXT), QStringLiteral("バター"));
        return ScriptedDialogs::press(dialog, IDOK);
    });
    key(Qt::Key_Insert);
    EXPECT_TRUE(fileBytes(QStringLiteral("a.lst")).endsWith(Cp932(u"バター\r\n")));
    undoRedo("|牛乳| ○|卵|02/12/23 |パン| |バター| : 1/4", 1);
    EXPECT_EQ(fileBytes(QStringLiteral("a.lst")), original);
    EXPECT_FALSE(m_view->checklist().modified());
}

// `modified` says whether the screen differs from the file, across saves; another file,
// or the same one read again after another program changed it, starts a new history.
TEST_F(UndoAndKeysTest, ModifiedFollowsTheFileAndTheHistoryBelongsToTheFileRead)
{
    writeChecklist(QStringLiteral("b.lst"), u"x\r\n");
    openList();
    Checklist& checklist = m_view->checklist();
    selectRow(2);
    key(Qt::Key_Space);
    ASSERT_EQ(m_view->SaveCurrentFile(), SaveResult::Written);
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_TRUE(checklist.modified()) << "the file holds the mark";
    key(Qt::ControlModifier | Qt::Key_Y);
    EXPECT_FALSE(checklist.modified());

    choose(QStringLiteral(" b.lst"));
    EXPECT_EQ(m_view->history().count(), 0);
    key(Qt::ControlModifier | Qt::Key_Z);
    EXPECT_EQ(rows(), "|x| : 0/1");
}

// Each key of the list with and without a selected row, and where its command is disabled.
TEST_F(UndoAndKeysTest, KeysRunTheirCommandsOnlyWhereTheCommandCan)
{
    openList();
    const std::string start = rows();
    // Without a selection, the mark and edit keys say what to do, as their buttons do; the
    // others do nothing.
    m_boxes.expect(MessageAnswer::Ok, QStringLiteral("マークしたいデータを選択してください。"));
    key(Qt::Key_Space);
    for (const Qt::Key edit : {Qt::Key_Return, Qt::Key_F2}) {
        m_boxes.expect(MessageAnswer::Ok, QStringLiteral("編集データを選択してください。"));
        key(edit);
    }
    Clipboard::setText(QStringLiteral("kept"));
    for (const QKeyCombination other : {QKeyCombination(Qt::Key_Delete), Qt::ControlModifier | Qt::Key_C,
             Qt::ControlModifier | Qt::Key_X, Qt::AltModifier | Qt::Key_Up, Qt::AltModifier | Qt::Key_Down})
        key(other);
    EXPECT_EQ(rows(), start);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("kept"));

    // At the ends, and on a deleted row, the keys whose commands are disabled do nothing.
    selectRow(0);
    key(Qt::AltModifier | Qt::Key_Up);
    selectRow(2);
    key(Qt::AltModifier | Qt::Key_Down);
    EXPECT_EQ(rows(), start);
    m_boxes.expect(MessageAnswer::Cancel, QStringLiteral("データが削除されます"));
    key(Qt::Key_Delete);
    EXPECT_EQ(rows(), start);
    key(Qt::ControlModifier | Qt::Key_X);
    key(Qt::ControlModifier | Qt::Key_X);
    key(Qt::Key_Delete);
    EXPECT_EQ(rows(), "|牛乳| ○|卵|02/12/23 削|| : 1/2");

    selectRow(1);
    key(Qt::ControlModifier | Qt::Key_C);
    EXPECT_EQ(Clipboard::text(), QStringLiteral("卵\r\n"));
    m_dialogs.expect(res::IDD_ITEM, [](ModalDialog& dialog) {
        EXPECT_EQ(EditControl::text(*dialog.findControl(res::IDC_ITEM_TEXT)), QStringLiteral("卵"));
        return ScriptedDialogs::press(dialog, IDCANCEL);
    });
    key(Qt::Key_Enter);
    m_dialogs.expectPress(res::IDD_ITEM, IDCANCEL);
    key(Qt::Key_Insert);
}

// Ctrl+F: typing selects the first row at or after the selected one whose text or comment
// holds the text; Return and Shift+Return go round; Escape gives the list the keyboard.
TEST_F(UndoAndKeysTest, FindSelectsMatchingRowsAndGoesRound)
{
    writeChecklist(QStringLiteral("a.lst"), u"ミルク\r\nパン\r\n 牛乳と\r\nみるく\r\n");
    remember(QString(), QStringLiteral("a.lst"));
    open();
    QWidget frame;
    QWidget bar(&frame);
    frame.resize(240, 320);
    bar.setGeometry(0, 296, 240, 24);
    frame.show();
    CommandRoute route;
    m_view->attachFrame(frame, route, bar);
    selectRow(1);
    QTest::keyClick(m_view->list(), Qt::Key_F, Qt::ControlModifier);
    FindBar* find = m_view->findBar();
    ASSERT_TRUE(find && find->isVisible());
    type(find, QStringLiteral("ミル"));
    EXPECT_EQ(selected(), 2) << "from the selected row on, hiragana for katakana";
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_EQ(selected(), 0);
    QTest::keyClick(find, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(selected(), 2);
    find->clear();
    type(find, QStringLiteral("牛乳"));
    EXPECT_EQ(selected(), 1) << "in a comment";
    type(find, QStringLiteral("x"));
    EXPECT_EQ(selected(), 1) << "no match leaves the selection";
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
}

// What a screen reader speaks for each control of the main screen.
TEST_F(UndoAndKeysTest, EveryControlHasASpokenName)
{
    openList();
    const auto spoken
        = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name); };
    EXPECT_EQ(spoken(m_view->findControl(res::IDC_MARK_BUTTON)), QStringLiteral("マーク"));
    EXPECT_EQ(spoken(m_view->findControl(res::IDC_MENU_BUTTON)), QStringLiteral("メニュー"));
    // The chooser is spoken as its entry, labelled "ファイル".
    const auto labels = QAccessible::queryAccessibleInterface(m_view->fileCombo())->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->text(QAccessible::Name), QStringLiteral("ファイル"));
    EXPECT_EQ(spoken(m_view->list()), QStringLiteral("チェックリスト"));
    EXPECT_EQ(spoken(m_view->commentPane()), QStringLiteral("コメント"));
    EXPECT_EQ(spoken(m_view->counter()), QStringLiteral("1/3\n33%"));
}

}  // namespace
}  // namespace tavik
