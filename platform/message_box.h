#pragma once

#include "platform/stand_in.h"

#include <QString>

class QWidget;

namespace tavik {

enum class MessageButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoDefaultNo,  // for a question whose "Yes" loses something: Return answers "No"
};
enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Everything a message box is asked to show; what a stand-in receives.
struct MessageRequest {
    QWidget* owner = nullptr;
    QString text;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    QString caption = QStringLiteral("tavik");
};

// The program's modal message box, captioned "tavik" unless told otherwise.
class MessageBox {
public:
    // Shows the box modally over `owner` (or over the whole program when null), centred
    // as a dialog is (ModalDialog::placeOverOwner), and returns the button chosen. Escape and the close button give
    // Cancel or No where the box has one, OK on a box with OK alone.
    static MessageAnswer show(QWidget* owner, const QString& text, MessageButtons buttons = MessageButtons::Ok,
        MessageIcon icon = MessageIcon::None);
    // The same with a caption of its own, for messages that come from a library.
    static MessageAnswer showCaptioned(QWidget* owner, const QString& caption, const QString& text,
        MessageButtons buttons = MessageButtons::Ok, MessageIcon icon = MessageIcon::None);

    // While set, every show() is answered by the stand-in instead of a real box.
    static inline StandIn<MessageAnswer(const MessageRequest&)> standIn;

    // The answer Escape gives on a box with these buttons.
    static MessageAnswer escapeAnswer(MessageButtons buttons);
};

}  // namespace tavik
