#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
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

// A box asked for before the main window is shown stands in the middle of the screen, not
// where that window will be; once the window is shown, in the middle of it. Like every dialog
// it has no minimise or maximise button.
TEST(MessageBox, RealBox_IsCentredOverItsOwnerOnceShown_ElseOverTheScreen)
{
    QWidget owner;
    owner.setGeometry(0, 0, 240, 320);
    for (const bool shown : {false, true}) {
        if (shown) {
            owner.move(40, 60);
            owner.show();
        }
        const QPoint centre = shown ? owner.frameGeometry().center() : owner.screen()->availableGeometry().center();
        QRect placed;
        Qt::WindowFlags flags;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            placed = box->frameGeometry();
            flags = box->windowFlags();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        MessageBox::show(&owner, QStringLiteral("牛乳"));
        EXPECT_LE((placed.center() - centre).manhattanLength(), 1) << shown;
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    }
}

}  // namespace tavik
