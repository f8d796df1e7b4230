#include "itemdlg/item_dlg.h"

#include "itemdlg/link_launcher.h"
#include "itemdlg/link_slots.h"
#include "platform/clipboard.h"
#include "platform/edit_control.h"
#include "res/command_ids.h"
#include "tests/support/popup_probe.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_file_names.h"
#include "tests/support/temporary_device_root.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(LinkSlots, TheFirstFourLinkLinesFillTheSlotsInOrder)
{
    const struct {
        QString comment;
        QStringList paths;
        QStringList labels;
    } cases[] = {
        // Case decides whether a line is a link; the name is kept as written.
        {"\\My Documents\\Photo.JPG\r\nnext", {"\\My Documents\\Photo.JPG"}, {"Photo.JPG"}},
        {"  \\windows\\calc.exe und mehr\r\n", {"\\windows\\calc.exe und mehr"}, {"calc.exe und mehr"}},
        {"see HTTP://Example.com/A/b", {"see HTTP://Example.com/A/b"}, {"see HTTP://Example.com/A/b"}},
        // The last line without a line break; a line naming no known place takes no slot.
        {"C:\\data\\list.txt\r\nplain\r\n\\Program Files\\App.exe", {"\\Program Files\\App.exe"}, {"App.exe"}},
        // An empty label still takes its slot.
        {"\\windows\\\r\n\\windows\\a.bmp", {"\\windows\\", "\\windows\\a.bmp"}, {"", "a.bmp"}},
        {"\\windows\\1\n\\windows\\2\n\\windows\\3\n\\windows\\4\n\\windows\\5\n\\windows\\6",
            {"\\windows\\1", "\\windows\\2", "\\windows\\3", "\\windows\\4"}, {"1", "2", "3", "4"}},
    };
    for (const auto& c : cases) {
        const LinkSlots found = LinkSlots::find(c.comment);
        for (int slot = 0; slot < LinkSlots::kCount; ++slot) {
            EXPECT_EQ(found.paths[slot], c.paths.value(slot)) << c.comment.toStdString() << " slot " << slot;
            EXPECT_EQ(found.labels[slot], c.labels.value(slot)) << c.comment.toStdString() << " slot " << slot;
        }
    }
    EXPECT_EQ(SanitizeText(QStringLiteral("\t a\x01z \r")), QStringLiteral("a z"));
}

// Opens a fresh editor with the given texts and hands the live dialog to `work`.
int RunEditor(CItemDlg& dialog, std::function<int(ModalDialog&)> work)
{
    ScriptedDialogs dialogs;
    dialogs.expect(res::IDD_ITEM, std::move(work));
    return dialog.runModal();
}

TEST(ItemEditor, Initialisation_HidesWhatIsNotInUse)
{
    CItemDlg dialog;
    dialog.m_bHideNavigation = true;
    dialog.m_strItem = QStringLiteral("項目");
    dialog.m_strComment = QStringLiteral("\\windows\\\r\n\\My Documents\\a.bmp\r\n");
    const int result = RunEditor(dialog, [](ModalDialog& d) {
        for (int id : {res::IDC_NEXT, res::IDC_PREV}) {
            EXPECT_EQ(d.findControl(id)->geometry(), QRect(0, 0, 1, 1)) << id;
            EXPECT_FALSE(d.findControl(id)->isEnabled()) << id;
        }
        // "LNK1" has an empty label: out of sight but enabled. "LNK2" names a.bmp and stays.
        EXPECT_EQ(d.findControl(res::IDC_LINK1)->geometry(), QRect(0, 0, 1, 1));
        EXPECT_TRUE(d.findControl(res::IDC_LINK1)->isEnabled());
        EXPECT_GT(d.findControl(res::IDC_LINK2)->width(), 1);
        EXPECT_EQ(d.findControl(res::IDC_LINK3)->geometry(), QRect(0, 0, 1, 1));
        // A screen reader speaks the link button by its file name, and the edits by what they hold.
        const auto spoken
            = [&](int id) { return QAccessible::queryAccessibleInterface(d.findControl(id))->text(QAccessible::Name); };
        EXPECT_EQ(spoken(res::IDC_LINK2), QStringLiteral("a.bmp"));
        EXPECT_EQ(spoken(res::IDC_ITEM_TEXT), QStringLiteral("項目"));
        EXPECT_EQ(spoken(res::IDC_COMMENT), QStringLiteral("コメント"));
        EXPECT_EQ(d.findControl(res::IDC_COMMENT)->geometry().right(), d.width() - 1);
        EditControl::setText(*d.findControl(res::IDC_ITEM_TEXT), QStringLiteral("changed"));
        return ScriptedDialogs::press(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_strItem, QStringLiteral("項目"));
    EXPECT_EQ(dialog.linkLabel(1), QStringLiteral("a.bmp"));
}

TEST(ItemEditor, Buttons_ReturnTheTextsWithCrLfLineEnds)
{
    for (const int button : {int(IDOK), int(CItemDlg::kNext), int(CItemDlg::kPrevious)}) {
        CItemDlg dialog;
        dialog.m_strComment = QStringLiteral("一\r\n二\r\n");
        const int result = RunEditor(dialog, [button](ModalDialog& d) {
            EditControl::setText(*d.findControl(res::IDC_ITEM_TEXT), QStringLiteral("新"));
            d.findControl<QPlainTextEdit>(res::IDC_COMMENT)->appendPlainText(QStringLiteral("三"));
            const int id = button == IDOK ? IDOK : button == CItemDlg::kNext ? res::IDC_NEXT : res::IDC_PREV;
            return ScriptedDialogs::press(d, id);
        });
        EXPECT_EQ(result, button);
        EXPECT_EQ(dialog.m_strItem, QStringLiteral("新"));
        EXPECT_EQ(dialog.m_strComment, QStringLiteral("一\r\n二\r\n\r\n三"));
    }
}

TEST(ItemEditor, Tab_LeadsFromTheItemToTheCommentThenToTheButtonsThatShow)
{
    CItemDlg dialog;
    dialog.m_bHideNavigation = true;
    // "LNK1", "LNK3" and "LNK4" show nothing; "LNK2" names a.txt.
    dialog.m_strComment = QStringLiteral("\\windows\\\r\n\\My Documents\\a.txt");
    ScriptedFileNames fileNames;  // "ﾌｧｲﾙ名挿入" pressed by a blank would fail the test
    RunEditor(dialog, [&](ModalDialog& d) {
        QApplication::setActiveWindow(&d);
        const auto tab = [] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        QWidget* item = d.findControl(res::IDC_ITEM_TEXT);
        EXPECT_EQ(QApplication::focusWidget(), item);
        QList<QWidget*> order;
        for (QWidget* next = tab(); next && next != item && order.size() < 12; next = tab())
            order << next;
        EXPECT_EQ(order,
            QList<QWidget*>({d.findControl(res::IDC_COMMENT), d.findControl(res::IDC_INSERT_FILE_NAME),
                d.findControl(res::IDC_LINK2), d.findControl(IDOK), d.findControl(IDCANCEL)}));

        // A comment typed straight after Tab lands in the comment.
        EXPECT_EQ(QApplication::focusWidget(), item);
        tab();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" x"));
        EXPECT_EQ(EditControl::text(*d.findControl(res::IDC_COMMENT)), QStringLiteral(" x") + dialog.m_strComment);
        return ScriptedDialogs::press(d, IDCANCEL);
    });
}

void HoldOn(QWidget& edit)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), edit.mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(&edit, &event);
}

TEST(ItemEditor, EditPopup_WorksOnTheEditLastHeldAndFileNamesGoIntoTheComment)
{
    CItemDlg dialog;
    dialog.m_strItem = QStringLiteral("牛乳");
    dialog.m_strComment = QStringLiteral("2 l\r\nlow fat");
    ScriptedFileNames fileNames;
    RunEditor(dialog, [&](ModalDialog& d) {
        auto* item = d.findControl<QLineEdit>(res::IDC_ITEM_TEXT);
        auto* comment = d.findControl<QPlainTextEdit>(res::IDC_COMMENT);
        EXPECT_EQ(dialog.activeEdit(), item);

        Clipboard::setText(QStringLiteral("old"));
        item->setSelection(0, 1);
        HoldOn(*item);
        EXPECT_EQ(dialog.activeEdit(), item);
        EXPECT_FALSE(PopupProbe::entry(res::ID_EDIT_UNDO)->isEnabled());
        EXPECT_TRUE(PopupProbe::entry(res::ID_EDIT_PASTE)->isEnabled());
        PopupProbe::choose(res::ID_EDIT_COPY);
        EXPECT_EQ(Clipboard::text(), QStringLiteral("牛"));

        // The comment has no selection: copy and cut are not offered there.
        HoldOn(*comment);
        EXPECT_EQ(dialog.activeEdit(), comment);
        EXPECT_FALSE(PopupProbe::entry(res::ID_EDIT_COPY)->isEnabled());
        EXPECT_FALSE(PopupProbe::entry(res::ID_EDIT_CUT)->isEnabled());
        PopupProbe::choose(res::ID_EDIT_PASTE);
        EXPECT_EQ(EditControl::text(*comment), QStringLiteral("牛2 l\r\nlow fat"));
        EXPECT_EQ(EditControl::text(*item), QStringLiteral("牛乳"));

        // The chosen path replaces the comment's selection even while the item edit is active.
        HoldOn(*item);
        PopupProbe::dismiss();
        QTextCursor cursor = comment->textCursor();
        cursor.setPosition(1);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        comment->setTextCursor(cursor);
        fileNames.expect(std::nullopt).expect(QStringLiteral("\\My Documents\\メモ.txt"));
        d.findControl<QAbstractButton>(res::IDC_INSERT_FILE_NAME)->click();
        EXPECT_EQ(EditControl::text(*comment), QStringLiteral("牛2 l\r\nlow fat"));
        d.findControl<QAbstractButton>(res::IDC_INSERT_FILE_NAME)->click();
        EXPECT_EQ(EditControl::text(*comment), QStringLiteral("牛\\My Documents\\メモ.txt\r\nlow fat"));
        comment->undo();
        EXPECT_EQ(EditControl::text(*comment), QStringLiteral("牛2 l\r\nlow fat"));
        return ScriptedDialogs::press(d, IDCANCEL);
    });
    ASSERT_EQ(fileNames.requests().size(), 2);
    EXPECT_EQ(fileNames.requests().first().filter,
        QStringLiteral("text file(*.txt)|*.txt|Bitmap(*.bmp)|*.bmp|AllFile(*.*)|*.*||"));
}

// Records what the editor asks the main screen to open.
class RecordingLauncher : public LinkLauncher {
public:
    void OpenInPaintProgram(QWidget* edit, const QString& name) override { record("paint", edit, name); }
    void OpenAsFileName(QWidget* edit, const QString& name) override { record("open", edit, name); }
    void LaunchAsProgram(QWidget* edit, const QString& name) override { record("run", edit, name); }

    QStringList calls;

private:
    void record(const char* how, QWidget* edit, const QString& name)
    {
        calls << QStringLiteral("%1 %2%3").arg(QLatin1String(how), edit ? QStringLiteral("[edit] ") : QString(), name);
    }
};

TEST(ItemEditor, LinkButtonsAndPopup_OpenWhatTheyNameTheWayItsKindAsks)
{
    TemporaryDeviceRoot root;
    RecordingLauncher launcher;
    CItemDlg dialog;
    dialog.m_pView = &launcher;
    dialog.m_strComment = QStringLiteral(
        "\\My Documents\\Tool.EXE\r\n\\My Documents\\Photo.BMP\r\n\\my documents\\a.jpg\r\nsee http://Example.com/x");
    RunEditor(dialog, [&](ModalDialog& d) {
        for (int id : {res::IDC_LINK1, res::IDC_LINK2, res::IDC_LINK3, res::IDC_LINK4})
            d.findControl<QAbstractButton>(id)->click();
        // With the paint program in place a bitmap opens there.
        root.writeFile(QStringLiteral("Program Files/Vantra/Drawbo.exe"), "");
        d.findControl<QAbstractButton>(res::IDC_LINK2)->click();

        auto* comment = d.findControl<QPlainTextEdit>(res::IDC_COMMENT);
        for (int entry : {res::ID_EDIT_OPEN_PAINT, res::ID_EDIT_OPEN_FILE, res::ID_EDIT_RUN_PROGRAM}) {
            HoldOn(*comment);
            PopupProbe::choose(entry);
        }
        return ScriptedDialogs::press(d, IDCANCEL);
    });
    // Each name reaches the main screen as written.
    EXPECT_EQ(launcher.calls.join(QLatin1Char('|')).toStdString(),
        QStringList({QStringLiteral("run \\My Documents\\Tool.EXE"), QStringLiteral("open \\My Documents\\Photo.BMP"),
                        QStringLiteral("open \\my documents\\a.jpg"), QStringLiteral("open see http://Example.com/x"),
                        QStringLiteral("paint \\My Documents\\Photo.BMP"), QStringLiteral("paint [edit] "),
                        QStringLiteral("open [edit] "), QStringLiteral("run [edit] ")})
            .join(QLatin1Char('|'))
            .toStdString());
}

}  // namespace
}  // namespace tavik
