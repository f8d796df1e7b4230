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
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            caption = box->windowTitle();
            c.click == QMessageBox::NoButton ? QTest::keyClick(box, Qt::Key_Escape) : box->button(c.click)->click();
        });
        EXPECT_EQ(MessageBox::show(nullptr, QStringLiteral("保存しますか？"), c.buttons), c.answer);
        EXPECT_EQ(caption, QStringLiteral("tavik"));
    }
}

}  // namespace tavik
