#include "tests/support/scripted_message_boxes.h"

#include <gtest/gtest.h>

namespace tavik {

namespace {

const char* answerName(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok: return "OK";
    case MessageAnswer::Cancel: return "Cancel";
    case MessageAnswer::Yes: return "Yes";
    case MessageAnswer::No: return "No";
    }
    return "?";
}

bool boxHasButton(MessageButtons buttons, MessageAnswer answer) {
    switch (buttons) {
    case MessageButtons::Ok: return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel: return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo: return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    }
    return false;
}

}  // namespace

ScriptedMessageBoxes::ScriptedMessageBoxes() {
    MessageBox::setStandIn([this](const MessageRequest& request) { return answer(request); });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    MessageBox::setStandIn(nullptr);
    for (const Expected& expected : m_queue) {
        ADD_FAILURE() << "a scripted message box never came: answer " << answerName(expected.answer)
                      << (expected.text ? ", text \"" + expected.text->toStdString() + "\"" : std::string());
    }
}

ScriptedMessageBoxes& ScriptedMessageBoxes::expect(MessageAnswer answer) {
    m_queue.append({answer, std::nullopt});
    return *this;
}

ScriptedMessageBoxes& ScriptedMessageBoxes::expect(MessageAnswer answer, const QString& text) {
    m_queue.append({answer, text});
    return *this;
}

QStringList ScriptedMessageBoxes::texts() const {
    QStringList texts;
    for (const MessageRequest& request : m_shown)
        texts.append(request.text);
    return texts;
}

MessageAnswer ScriptedMessageBoxes::answer(const MessageRequest& request) {
    m_shown.append(request);
    if (m_queue.isEmpty()) {
        ADD_FAILURE() << "unexpected message box: \"" << request.text.toStdString() << "\"";
        return MessageBox::escapeAnswer(request.buttons);
    }
    const Expected expected = m_queue.takeFirst();
    if (expected.text && *expected.text != request.text) {
        ADD_FAILURE() << "message box shows \"" << request.text.toStdString() << "\", expected \""
                      << expected.text->toStdString() << "\"";
    }
    if (!boxHasButton(request.buttons, expected.answer)) {
        ADD_FAILURE() << "message box \"" << request.text.toStdString() << "\" has no button "
                      << answerName(expected.answer);
        return MessageBox::escapeAnswer(request.buttons);
    }
    return expected.answer;
}

}  // namespace tavik
