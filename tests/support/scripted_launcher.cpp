#include "tests/support/scripted_launcher.h"

#include "platform/process_launcher.h"

#include <gtest/gtest.h>

namespace tavik {

namespace {

std::string describe(const StartCall& call) {
    return "start \"" + call.application.toStdString() + "\" with \"" + call.commandLine.toStdString() + "\"";
}

}  // namespace

ScriptedLauncher::ScriptedLauncher() {
    ProcessLauncher::setStartStandIn(
        [this](const QString& application, const QString& commandLine) { return onStart(application, commandLine); });
    ProcessLauncher::setShellOpenStandIn([this](const QString& name) { onShellOpen(name); });
}

ScriptedLauncher::~ScriptedLauncher() {
    ProcessLauncher::setStartStandIn(nullptr);
    ProcessLauncher::setShellOpenStandIn(nullptr);
    for (const ExpectedStart& expected : m_expectedStarts)
        ADD_FAILURE() << "an expected program start never came: " << describe(expected.call);
    for (const QString& name : m_expectedShellOpens)
        ADD_FAILURE() << "an expected shell open never came: \"" << name.toStdString() << "\"";
}

ScriptedLauncher& ScriptedLauncher::expectStart(const QString& application, const QString& commandLine,
                                                Outcome answer) {
    const std::lock_guard lock(m_mutex);
    m_expectedStarts.append({{application, commandLine}, std::move(answer)});
    return *this;
}

ScriptedLauncher& ScriptedLauncher::expectShellOpen(const QString& name) {
    const std::lock_guard lock(m_mutex);
    m_expectedShellOpens.append(name);
    return *this;
}

QList<StartCall> ScriptedLauncher::starts() const {
    const std::lock_guard lock(m_mutex);
    return m_starts;
}

QStringList ScriptedLauncher::shellOpens() const {
    const std::lock_guard lock(m_mutex);
    return m_shellOpens;
}

Outcome ScriptedLauncher::onStart(const QString& application, const QString& commandLine) {
    const std::lock_guard lock(m_mutex);
    const StartCall call{application, commandLine};
    m_starts.append(call);
    if (m_expectedStarts.isEmpty()) {
        ADD_FAILURE() << "unexpected program " << describe(call);
        return Outcome::failure(QStringLiteral("unexpected start"));
    }
    const ExpectedStart expected = m_expectedStarts.takeFirst();
    if (expected.call.application != application || expected.call.commandLine != commandLine) {
        ADD_FAILURE() << "program " << describe(call) << ", expected " << describe(expected.call);
    }
    return expected.answer;
}

void ScriptedLauncher::onShellOpen(const QString& name) {
    const std::lock_guard lock(m_mutex);
    m_shellOpens.append(name);
    if (m_expectedShellOpens.isEmpty()) {
        ADD_FAILURE() << "unexpected shell open: \"" << name.toStdString() << "\"";
        return;
    }
    const QString expected = m_expectedShellOpens.takeFirst();
    if (expected != name)
        ADD_FAILURE() << "shell open \"" << name.toStdString() << "\", expected \"" << expected.toStdString() << "\"";
}

}  // namespace tavik
