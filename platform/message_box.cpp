#include "platform/message_box.h"

#include "platform/modal_dialog.h"

#include <QMessageBox>

namespace tavik {

namespace {

// A message box placed as the program's dialogs are, over its owner while that is shown and
// over the screen before, once its size is known: QMessageBox settles it as it is shown.
class PlacedMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        ModalDialog::placeOverOwner(*this, parentWidget());
    }
};

QMessageBox::Icon QtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None:
        return QMessageBox::NoIcon;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer AnswerFor(int clicked, MessageButtons buttons)
{
    switch (clicked) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageBox::escapeAnswer(buttons);
    }
}

}  // namespace

MessageAnswer MessageBox::show(QWidget* owner, const QString& text, MessageButtons buttons, MessageIcon icon)
{
    return showCaptioned(owner, QStringLiteral("tavik"), text, buttons, icon);
}

MessageAnswer MessageBox::showCaptioned(
    QWidget* owner, const QString& caption, const QString& text, MessageButtons buttons, MessageIcon icon)
{
    if (standIn)
        return standIn(MessageRequest{owner, text, buttons, icon, caption});

    // Texts come from the checklist side with CR LF line ends; a plain-text label breaks at LF.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));

    PlacedMessageBox box(QtIcon(icon), caption, shown, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == MessageButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    }
    return AnswerFor(box.exec(), buttons);
}

MessageAnswer MessageBox::escapeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}

}  // namespace tavik
