#include "platform/modal_dialog.h"

#include "platform/owner_draw_button.h"
#include "res/resources.h"
#include "tests/support/scripted_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {

using enum ControlKind;
constexpr ControlTemplate kEditorControls[] = {
    {1, DefaultPushButton, "OK", 57, 0, 24, 10},
    {2, PushButton, "ｷｬﾝｾﾙ", 81, 0, 34, 10},
    {1010, Edit, "", 1, 11, 108, 12, kBorder},
};
constexpr DialogTemplate kEditor{731, "項目", "Sans Serif", 9, 115, 156, kModalFrame | kCaption, kEditorControls};
constexpr ControlTemplate kAboutControls[] = {{-1, Static, "tavik Version 1.28", 40, 10, 65, 8}};
constexpr DialogTemplate kAbout{
    700, "バージョン情報", "Sans Serif", 9, 139, 87, kModalFrame | kCaption | kCaptionOkButton, kAboutControls};

// Runs the real modal loop, with `key` pressed once the dialog is up.
static int RunPressing(ModalDialog& dialog, Qt::Key key)
{
    QTimer::singleShot(0, [key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
    return dialog.runModal();
}

TEST(ModalDialog, EscapeEndsWithCancel_ReturnWithOk_AndACaptionOkDialogEndsWithOkEitherWay)
{
    ModalDialog editor(kEditor), about(kAbout);
    EXPECT_EQ(RunPressing(editor, Qt::Key_Escape), 2);
    EXPECT_EQ(RunPressing(editor, Qt::Key_Return), 1);
    EXPECT_EQ(about.findControl<QPushButton>(1)->text(), QStringLiteral("OK"));
    EXPECT_EQ(RunPressing(about, Qt::Key_Escape), 1);
    EXPECT_EQ(RunPressing(about, Qt::Key_Return), 1);
}

// The live dialog is placed as a real one: before the main window is shown, in the middle of
// the screen rather than where that window will be, with no minimise or maximise button.
TEST(ModalDialog, StandIn_GetsTheLiveDialogOnEveryRun_InsteadOfAnEventLoop)
{
    QWidget owner;
    owner.resize(240, 320);
    ModalDialog editor(kEditor, &owner);
    ScriptedDialogs script;
    script.expect(kEditor.id, [](ModalDialog& live) {
        EXPECT_TRUE(live.isVisible());
        EXPECT_EQ(live.windowTitle(), QStringLiteral("項目"));
        const QPoint offCentre = live.frameGeometry().center() - live.screen()->availableGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 1);
        EXPECT_FALSE(live.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        return ScriptedDialogs::press(live, 2);
    });
    script.expectPress(kEditor.id, 1);
    EXPECT_EQ(editor.runModal(), 2);
    EXPECT_EQ(editor.runModal(), 1);
    EXPECT_EQ(script.shown(), QList<int>({731, 731}));
}

// Every text of the program's dialogs shows whole, in the fonts the program gives them: a
// button's inside its frame, a static's inside its place (wrapped where it may), and every
// control inside the dialog.
TEST(ModalDialog, ProgramDialogs_ShowEveryTextWhole)
{
    QFont::insertSubstitutions(QStringLiteral("System"), {QStringLiteral("IPAPGothic")});
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), {QStringLiteral("IPAPGothic")});
    for (const int id : {res::IDD_SAVE_AS, res::IDD_ITEM, res::IDD_ABOUTBOX}) {
        ModalDialog dialog(*res::FindDialog(id));
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
            const std::string name = button->text().toStdString();
            EXPECT_TRUE(dialog.rect().contains(button->geometry())) << id << " " << name;
            if (qobject_cast<const class OwnerDrawButton*>(button))
                continue;
            QStyleOptionButton option;
            option.initFrom(button);
            option.features = button->autoDefault() ? QStyleOptionButton::AutoDefaultButton : QStyleOptionButton::None;
            const QRect inside = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            EXPECT_GE(inside.width(), button->fontMetrics().horizontalAdvance(button->text())) << id << " " << name;
        }
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, label->width(), QWIDGETSIZE_MAX), Qt::TextWordWrap, label->text());
            const std::string name = label->text().toStdString();
            EXPECT_LE(needed.width(), label->width()) << id << " " << name;
            EXPECT_LE(needed.height(), label->height()) << id << " " << name;
            EXPECT_TRUE(dialog.rect().contains(label->geometry())) << id << " " << name;
        }
    }
}

}  // namespace tavik
