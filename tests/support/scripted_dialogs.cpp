#include "tests/support/scripted_dialogs.h"

#include "platform/modal_dialog.h"
#include "res/command_ids.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace tavik {

ScriptedDialogs::ScriptedDialogs() {
    ModalDialog::setStandIn([this](ModalDialog& dialog) { return run(dialog); });
}

ScriptedDialogs::~ScriptedDialogs() {
    ModalDialog::setStandIn(nullptr);
    for (const auto& [templateId, queue] : m_queues) {
        if (!queue.empty())
            ADD_FAILURE() << queue.size() << " scripted dialog(s) on template " << templateId << " never came";
    }
}

ScriptedDialogs& ScriptedDialogs::expect(int templateId, Script script) {
    m_queues[templateId].push_back(std::move(script));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::expectAnswer(int templateId, int result) {
    return expect(templateId, [result](ModalDialog&) { return result; });
}

ScriptedDialogs& ScriptedDialogs::expectPress(int templateId, int buttonId) {
    return expect(templateId, [buttonId](ModalDialog& dialog) { return press(dialog, buttonId); });
}

int ScriptedDialogs::press(ModalDialog& dialog, int buttonId) {
    auto* button = dialog.findControl<QAbstractButton>(buttonId);
    if (!button) {
        ADD_FAILURE() << "dialog " << dialog.templateId() << " has no button " << buttonId;
        return -1;
    }
    if (button->isHidden() || !button->isEnabled()) {
        ADD_FAILURE() << "button " << buttonId << " of dialog " << dialog.templateId()
                      << " cannot be pressed: it is hidden or disabled";
        return -1;
    }
    button->click();
    if (!dialog.endResult()) {
        ADD_FAILURE() << "pressing button " << buttonId << " did not end dialog " << dialog.templateId();
        return -1;
    }
    return *dialog.endResult();
}

int ScriptedDialogs::pending() const {
    int count = 0;
    for (const auto& [templateId, queue] : m_queues)
        count += static_cast<int>(queue.size());
    return count;
}

int ScriptedDialogs::run(ModalDialog& dialog) {
    m_shown.append(dialog.templateId());
    std::deque<Script>& queue = m_queues[dialog.templateId()];
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected dialog on template " << dialog.templateId();
        return res::IDCANCEL;
    }
    const Script script = std::move(queue.front());
    queue.pop_front();
    return script(dialog);
}

}  // namespace tavik
