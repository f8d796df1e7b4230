#pragma once

#include "platform/message_box.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavik {

// Answers the program's message boxes from a script while it lives. Each box
// takes the next queued answer; a box with nothing queued, a text other than the
// one expected or an answer the box has no button for fails the running test.
// Answers still queued at the end fail it too.
class ScriptedMessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    ScriptedMessageBoxes& expect(MessageAnswer answer);
    ScriptedMessageBoxes& expect(MessageAnswer answer, const QString& text);

    // Every box asked for so far, in order.
    const QList<MessageRequest>& shown() const { return m_shown; }
    QStringList texts() const;
    qsizetype pending() const { return m_queue.size(); }

private:
    struct Expected {
        MessageAnswer answer;
        std::optional<QString> text;
    };

    MessageAnswer answer(const MessageRequest& request);

    QList<Expected> m_queue;
    QList<MessageRequest> m_shown;
};

}  // namespace tavik
