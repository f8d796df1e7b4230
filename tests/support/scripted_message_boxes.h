#pragma once

#include "platform/message_box.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>

namespace tavik {

// Answers the program's message boxes from a script while it lives: each box takes the next
// queued answer. A box with nothing queued or a text other than the one expected fails the
// running test, as do answers left over at the end.
class ScriptedMessageBoxes {
public:
    ScriptedMessageBoxes()
    {
        MessageBox::standIn.set([this](const MessageRequest& request) {
            m_shown.append(request);
            m_texts.append(request.text);
            EXPECT_FALSE(m_queue.isEmpty()) << "unexpected message box \"" << request.text.toStdString() << "\"";
            if (m_queue.isEmpty())
                return MessageBox::escapeAnswer(request.buttons);
            const auto [answer, text] = m_queue.takeFirst();
            EXPECT_EQ(request.text.toStdString(), text.value_or(request.text).toStdString()) << "a message box's text";
            return answer;
        });
    }
    ~ScriptedMessageBoxes()
    {
        MessageBox::standIn.set(nullptr);
        EXPECT_EQ(pending(), 0) << "scripted message boxes never came";
    }

    ScriptedMessageBoxes& expect(MessageAnswer answer, std::optional<QString> text = std::nullopt)
    {
        m_queue.append({answer, std::move(text)});
        return *this;
    }

    // Every box asked for so far, in order.
    const QList<MessageRequest>& shown() const { return m_shown; }
    const QStringList& texts() const { return m_texts; }
    qsizetype pending() const { return m_queue.size(); }

private:
    QList<std::pair<MessageAnswer, std::optional<QString>>> m_queue;
    QList<MessageRequest> m_shown;
    QStringList m_texts;
};

}  // namespace tavik
