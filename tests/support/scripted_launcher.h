#pragma once

#include "platform/process_launcher.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

namespace tavik {

// Stands in for starting programs and for the desktop's "open" while it lives. Every
// start is recorded and answered from the script (a start with nothing queued fails
// the running test); every name handed to the desktop is recorded.
class ScriptedLauncher {
public:
    struct Start {
        QString application;
        QString commandLine;
    };

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
        ProcessLauncher::shellOpenStandIn.set([this](const QString& name) {
            m_opened.append(name);
            return Outcome<>::success();
        });
    }
    ~ScriptedLauncher()
    {
        ProcessLauncher::startStandIn.set(nullptr);
        ProcessLauncher::shellOpenStandIn.set(nullptr);
        EXPECT_TRUE(m_answers.isEmpty()) << "scripted program starts never came";
    }

    // The next start succeeds or fails.
    ScriptedLauncher& expectStart(bool succeeds = true)
    {
        m_answers.append(succeeds);
        return *this;
    }

    const QList<Start>& starts() const { return m_starts; }
    const QStringList& opened() const { return m_opened; }

private:
    QList<bool> m_answers;
    QList<Start> m_starts;
    QStringList m_opened;
};

}  // namespace tavik
