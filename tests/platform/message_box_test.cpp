#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace tavik {

TEST(MessageBox, RealBox_IsCaptionedTavik_AndGivesTheAnswerChosen)
{
    const struct {
        MessageButtons buttons;
        QMessageBox::StandardButton click;  // NoButton: Escape
        MessageAnswer answer;
    } cases[] = {{MessageButtons::YesNo, QMessageBox::Yes, MessageAnswer::Yes},
        {MessageButtons::YesNo, QMessageBox::NoButton, MessageAnswer::No},
        {MessageButtons::OkCancel, QMessageBox::NoButton, MessageAnswer::Cancel},
        {MessageButtons::Ok, QMessageBox::NoButton, MessageAnswer::Ok}};
    for (const auto& c : cases) {
        QString caption, text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            caption = box->windowTitle();
            text = box->text();
            c.click == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Escape) : box->button(c.click)->click();
        });
        // Texts from the checklist side break their lines with CR LF; the box shows each line once.
        EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("牛乳\r\n低脂肪"), c.buttons), c.answer);
        EXPECT_EQ(caption, QStringLiteral("tavik"));
        EXPECT_EQ(text, QStringLiteral("牛乳\n低脂肪"));
    }
}

}  // namespace tavik
