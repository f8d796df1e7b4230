#include "platform/edit_control.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(EditControl, MultiLineText_GoesInAndComesOutWithCrLf) {
    QPlainTextEdit edit;
    const QString stored = QStringLiteral("一行目\r\n二行目\r\n");
    EditControl::setText(edit, stored);

    EXPECT_EQ(edit.toPlainText(), QStringLiteral("一行目\n二行目\n"));
    EXPECT_EQ(EditControl::text(edit), stored);
}

TEST(EditControl, SelectedLinesOfAMultiLineEdit_ComeOutWithCrLf) {
    QPlainTextEdit edit;
    EditControl::setText(edit, QStringLiteral("ab\r\ncd"));
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(1);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);

    EXPECT_TRUE(EditControl::hasSelection(edit));
    EXPECT_EQ(EditControl::selectedText(edit), QStringLiteral("b\r\nc"));
}

TEST(EditControl, ReplaceSelection_ReplacesOrInsertsAtTheCaret_AndCanBeUndone) {
    for (QWidget* edit : {static_cast<QWidget*>(new QLineEdit), static_cast<QWidget*>(new QPlainTextEdit)}) {
        const char* kind = edit->metaObject()->className();
        EditControl::setText(*edit, QStringLiteral("abc"));
        if (auto* line = qobject_cast<QLineEdit*>(edit)) {
            line->setSelection(1, 1);
        } else {
            auto* plain = static_cast<QPlainTextEdit*>(edit);
            QTextCursor cursor = plain->textCursor();
            cursor.setPosition(1);
            cursor.setPosition(2, QTextCursor::KeepAnchor);
            plain->setTextCursor(cursor);
        }

        EditControl::replaceSelection(*edit, QStringLiteral("\\My Documents\\a.bmp"));
        EXPECT_EQ(EditControl::text(*edit), QStringLiteral("a\\My Documents\\a.bmpc")) << kind;
        EXPECT_FALSE(EditControl::hasSelection(*edit)) << kind;

        EditControl::replaceSelection(*edit, QStringLiteral("!"));
        EXPECT_EQ(EditControl::text(*edit), QStringLiteral("a\\My Documents\\a.bmp!c")) << kind;

        ASSERT_TRUE(EditControl::canUndo(*edit)) << kind;
        EditControl::undo(*edit);
        EditControl::undo(*edit);
        EXPECT_EQ(EditControl::text(*edit), QStringLiteral("abc")) << kind;
        delete edit;
    }
}

}  // namespace
}  // namespace tavik
