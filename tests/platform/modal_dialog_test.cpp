#include "platform/modal_dialog.h"

#include "res/resources.h"
#include "tests/support/scripted_dialogs.h"

#include <QApplication>
#include <QPushButton>
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

TEST(ModalDialog, StandIn_GetsTheLiveDialogOnEveryRun_InsteadOfAnEventLoop)
{
    ModalDialog editor(kEditor);
    ScriptedDialogs script;
    script.expect(kEditor.id, [](ModalDialog& live) {
        EXPECT_TRUE(live.isVisible());
        EXPECT_EQ(live.windowTitle(), QStringLiteral("項目"));
        return ScriptedDialogs::press(live, 2);
    });
    script.expectPress(kEditor.id, 1);
    EXPECT_EQ(editor.runModal(), 2);
    EXPECT_EQ(editor.runModal(), 1);
    EXPECT_EQ(script.shown(), QList<int>({731, 731}));
}

}  // namespace tavik
