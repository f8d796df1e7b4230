#pragma once

#include "platform/file_open_dialog.h"

#include <QList>

#include <gtest/gtest.h>

#include <optional>

namespace tavik {

// Answers the program's file-open dialogs from a script while it lives: each dialog takes
// the next queued answer, a device path or nothing (cancelled). A dialog with nothing
// queued fails the running test and is cancelled; answers left over at the end fail it too.
class ScriptedFileNames {
public:
    ScriptedFileNames()
    {
        FileOpenDialog::standIn.set([this](const FileOpenRequest& request) -> std::optional<QString> {
            m_requests.append(request);
            if (m_queue.isEmpty()) {
                ADD_FAILURE() << "unexpected file-open dialog with filter \"" << request.filter.toStdString() << "\"";
                return std::nullopt;
            }
            return m_queue.takeFirst();
        });
    }
    ~ScriptedFileNames()
    {
        FileOpenDialog::standIn.set(nullptr);
        EXPECT_EQ(pending(), 0) << "scripted file-open dialogs never came";
    }

    ScriptedFileNames& expect(std::optional<QString> devicePath)
    {
        m_queue.append(std::move(devicePath));
        return *this;
    }

    // Every dialog asked for so far, in order.
    const QList<FileOpenRequest>& requests() const { return m_requests; }
    qsizetype pending() const { return m_queue.size(); }

private:
    QList<std::optional<QString>> m_queue;
    QList<FileOpenRequest> m_requests;
};

}  // namespace tavik
