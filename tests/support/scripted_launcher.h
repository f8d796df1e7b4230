#pragma once

#include "platform/process_launcher.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

namespace tavik {

// Stands in for starting programs and for the desktop's "open" while it lives. Every
// start is recorded and answered from the script (a start with nothing queued fails
// the running test); every name handed to the desktop is recorded, and opens unless
// the script says otherwise.
class ScriptedLauncher {
public:
    struct Start {
        QString application;
        QString commandLine;
    };
    // What becomes of a name handed to the desktop: it opens; no opener starts; or the
    // opener starts and later says that it could not open the name.
    enum class Open { Opens, FailsAtOnce, FailsLater };

    ScriptedLauncher()
    {
        ProcessLauncher::startStandIn.set([this](const QString& application, const QString& commandLine) {
            m_starts.append({application, commandLine});
            if (m_answers.isEmpty()) {
                ADD_FAILURE() << "unexpected start of \"" << application.toStdString() << "\"";
                return Outcome<>::failure(QStringLiteral("not scripted"));
            }
            return m_answers.takeFirst() ? Outcome<>::success() : Outcome<>::failure(QStringLiteral("scripted"));
        });
        ProcessLauncher::shellOpenStandIn.set(
            [this](const QString& name, QObject& context, const std::function<void()>& notOpened) {
                m_opened.append(name);
                const Open answer = m_openAnswers.isEmpty() ? Open::Opens : m_openAnswers.takeFirst();
                if (answer == Open::FailsLater)
                    QMetaObject::invokeMethod(&context, notOpened, Qt::QueuedConnection);
                if (answer == Open::FailsAtOnce)
                    return ShellOpenResult::failure(ShellOpenFailure::NotOpened);
                return ShellOpenResult::success();
            });
    }
    ~ScriptedLauncher()
    {
        ProcessLauncher::startStandIn.set(nullptr);
        ProcessLauncher::shellOpenStandIn.set(nullptr);
        EXPECT_TRUE(m_answers.isEmpty()) << "scripted program starts never came";
        EXPECT_TRUE(m_openAnswers.isEmpty()) << "scripted names for the desktop never came";
    }

    // The next start succeeds or fails.
    ScriptedLauncher& expectStart(bool succeeds = true)
    {
        m_answers.append(succeeds);
        return *this;
    }

    // The next name handed to the desktop meets `answer`.
    ScriptedLauncher& expectOpen(Open answer)
    {
        m_openAnswers.append(answer);
        return *this;
    }

    const QList<Start>& starts() const { return m_starts; }
    const QStringList& opened() const { return m_opened; }

private:
    QList<bool> m_answers;
    QList<Open> m_openAnswers;
    QList<Start> m_starts;
    QStringList m_opened;
};

}  // namespace tavik
