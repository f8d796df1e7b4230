#include "platform/command_route.h"

#include "platform/command_target.h"

#include <QObject>

#include <algorithm>

namespace tavik {

CommandRoute::CommandRoute()
    : m_postQueue(std::make_unique<QObject>())
{
}

CommandRoute::~CommandRoute()
{
    for (CommandTarget* target : m_targets)
        std::erase(target->m_routes, this);
}

void CommandRoute::append(CommandTarget& target)
{
    if (contains(target))
        return;
    m_targets.push_back(&target);
    target.m_routes.push_back(this);
}

void CommandRoute::remove(CommandTarget& target)
{
    std::erase(m_targets, &target);
    std::erase(target.m_routes, this);
}

bool CommandRoute::contains(const CommandTarget& target) const
{
    return isOnChain(&target);
}

bool CommandRoute::isOnChain(const CommandTarget* target) const
{
    return std::find(m_targets.begin(), m_targets.end(), target) != m_targets.end();
}

bool CommandRoute::execute(int id) const
{
    // A handler may add or remove targets; walk the chain as it was when the command came.
    const std::vector<CommandTarget*> targets = m_targets;
    for (CommandTarget* target : targets) {
        if (isOnChain(target) && target->executeCommand(id))
            return true;
    }
    return false;
}

CommandUi CommandRoute::update(int id) const
{
    CommandUi ui(id);
    const std::vector<CommandTarget*> targets = m_targets;
    for (CommandTarget* target : targets) {
        if (isOnChain(target) && target->updateCommand(ui))
            return ui;
    }
    const bool handled = std::any_of(
        m_targets.begin(), m_targets.end(), [id](const CommandTarget* target) { return target->handlesCommand(id); });
    ui.setEnabled(handled);
    return ui;
}

void CommandRoute::post(int id)
{
    QMetaObject::invokeMethod(
        m_postQueue.get(), [this, id] { execute(id); }, Qt::QueuedConnection);
}

}  // namespace tavik
