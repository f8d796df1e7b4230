#pragma once

#include "platform/process_launcher.h"

#include <gtest/gtest.h>

namespace tavik {

// Stands in for program starts and shell opens while it lives. Every call must be the next
// one expected; any other call, and expectations left over at the end, fail the running test.
class ScriptedLauncher {
public:
    ScriptedLauncher()
    {
        ProcessLauncher::startStandIn.set([this](const QString& app, const QString& line) {
            return take({app, line});
        });
        ProcessLauncher::shellOpenStandIn.set([this](const QString& name) { take({name}); });
    }
    ~ScriptedLauncher()
    {
        ProcessLauncher::startStandIn.set(nullptr);
        ProcessLauncher::shellOpenStandIn.set(nullptr);
        EXPECT_EQ(m_expected.size(), 0) << "expected program starts or shell opens never came";
    }

    // The next call must start exactly this; it then answers `answer`.
    ScriptedLauncher& expectStart(
        const QString& application, const QString& commandLine = QString(), Outcome<> answer = Outcome<>::success())
    {
        return expectCall({application, commandLine}, std::move(answer));
    }
    ScriptedLauncher& expectShellOpen(const QString& name) { return expectCall({name}, Outcome<>::success()); }

private:
    ScriptedLauncher& expectCall(const QStringList& call, Outcome<> answer)
    {
        m_expected.append({call, std::move(answer)});
        return *this;
    }
    Outcome<> take(const QStringList& call)
    {
        if (!m_expected.isEmpty() && m_expected.first().first == call)
            return m_expected.takeFirst().second;
        ADD_FAILURE() << "unexpected start or shell open: " << call.join(QStringLiteral(" | ")).toStdString();
        return Outcome<>::failure(QStringLiteral("unexpected start"));
    }

    QList<std::pair<QStringList, Outcome<>>> m_expected;
};

}  // namespace tavik
