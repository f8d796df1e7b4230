#include "platform/edit_control.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace tavik {

TEST(EditControl, MultiLineText_GoesInAndComesOutWithCrLf_SoDoesTheSelection)
{
    QPlainTextEdit edit;
    EditControl::setText(edit, QStringLiteral("一行目\r\n二行目\r\n"));
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("一行目\n二行目\n"));
    EXPECT_EQ(EditControl::text(edit), QStringLiteral("一行目\r\n二行目\r\n"));
    edit.selectAll();
    EXPECT_EQ(EditControl::selectedText(edit), QStringLiteral("一行目\r\n二行目\r\n"));
}

}  // namespace tavik
