#pragma once

#include "platform/outcome.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <mutex>

namespace tavik {

struct StartCall {
    QString application;
    QString commandLine;
};

// Stands in for program starts and shell opens while it lives. Every call must
// match the next one expected of its kind; a call nothing was expected for, a
// different call, or an expectation left over at the end fails the running test.
// Starts may come from another thread (the speech worker).
class ScriptedLauncher {
public:
    ScriptedLauncher();
    ~ScriptedLauncher();
    ScriptedLauncher(const ScriptedLauncher&) = delete;
    ScriptedLauncher& operator=(const ScriptedLauncher&) = delete;

    // The next start must ask for exactly this; it then answers `answer`.
    ScriptedLauncher& expectStart(const QString& application, const QString& commandLine = QString(),
                                  Outcome answer = Outcome::success());
    ScriptedLauncher& expectShellOpen(const QString& name);

    // Every call asked for so far, in order.
    QList<StartCall> starts() const;
    QStringList shellOpens() const;

private:
    struct ExpectedStart {
        StartCall call;
        Outcome answer;
    };

    Outcome onStart(const QString& application, const QString& commandLine);
    void onShellOpen(const QString& name);

    mutable std::mutex m_mutex;
    QList<ExpectedStart> m_expectedStarts;
    QStringList m_expectedShellOpens;
    QList<StartCall> m_starts;
    QStringList m_shellOpens;
};

}  // namespace tavik
