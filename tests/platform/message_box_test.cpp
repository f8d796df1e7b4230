#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace tavik {
namespace {

struct SeenBox {
    bool found = false;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* parent = nullptr;
    QList<QMessageBox::StandardButton> buttons;
};

// Shows a real box and, once it is up, records what it shows and lets `act` end it.
MessageAnswer showAndAct(QWidget* owner, const QString& text, MessageButtons buttons, MessageIcon icon,
                         const std::function<void(QMessageBox*)>& act, SeenBox& seen) {
    auto* poll = new QTimer;
    int attempts = 0;
    QObject::connect(poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (++attempts > 500)
                poll->stop();
            return;
        }
        poll->stop();
        seen.found = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        seen.parent = box->parentWidget();
        for (QAbstractButton* button : box->buttons())
            seen.buttons.append(box->standardButton(button));
        act(box);
    });
    poll->start(10);
    const MessageAnswer answer = MessageBox::show(owner, text, buttons, icon);
    delete poll;
    return answer;
}

void click(QMessageBox* box, QMessageBox::StandardButton which) {
    QAbstractButton* button = box->button(which);
    ASSERT_NE(button, nullptr);
    button->click();
}

void pressEscape(QMessageBox* box) {
    QTest::keyClick(box, Qt::Key_Escape);
}

TEST(MessageBox, Show_ClickOrEscape_GivesTheChosenAnswer) {
    struct Case {
        MessageButtons buttons;
        std::function<void(QMessageBox*)> act;
        MessageAnswer expected;
        const char* what;
    };
    const Case cases[] = {
        {MessageButtons::Ok, [](QMessageBox* b) { click(b, QMessageBox::Ok); }, MessageAnswer::Ok, "OK clicked"},
        {MessageButtons::Ok, pressEscape, MessageAnswer::Ok, "OK box, Escape"},
        {MessageButtons::OkCancel, [](QMessageBox* b) { click(b, QMessageBox::Ok); }, MessageAnswer::Ok, "OK"},
        {MessageButtons::OkCancel, [](QMessageBox* b) { click(b, QMessageBox::Cancel); }, MessageAnswer::Cancel,
         "Cancel"},
        {MessageButtons::OkCancel, pressEscape, MessageAnswer::Cancel, "OK/Cancel, Escape"},
        {MessageButtons::YesNo, [](QMessageBox* b) { click(b, QMessageBox::Yes); }, MessageAnswer::Yes, "Yes"},
        {MessageButtons::YesNo, [](QMessageBox* b) { click(b, QMessageBox::No); }, MessageAnswer::No, "No"},
        {MessageButtons::YesNo, pressEscape, MessageAnswer::No, "Yes/No, Escape"},
        {MessageButtons::YesNo, [](QMessageBox* b) { b->close(); }, MessageAnswer::No, "Yes/No, closed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeenBox seen;
        EXPECT_EQ(showAndAct(nullptr, QStringLiteral("質問"), c.buttons, MessageIcon::Question, c.act, seen),
                  c.expected);
        EXPECT_TRUE(seen.found);
    }
}

TEST(MessageBox, Show_HasCaptionTavikPlainTextAndOnlyTheAskedButtons) {
    QWidget owner;
    owner.show();
    SeenBox seen;
    const QString text = QStringLiteral("<b>保存</b>しますか？\r\n二行目");
    showAndAct(&owner, text, MessageButtons::YesNo, MessageIcon::Information,
               [](QMessageBox* b) { click(b, QMessageBox::Yes); }, seen);

    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, QStringLiteral("tavik"));
    EXPECT_EQ(seen.text, QStringLiteral("<b>保存</b>しますか？\n二行目"));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.parent, &owner);
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_TRUE(seen.buttons.contains(QMessageBox::Yes));
    EXPECT_TRUE(seen.buttons.contains(QMessageBox::No));
}

}  // namespace
}  // namespace tavik
