#include "platform/command_callbacks.h"

#include "platform/command_ui.h"

namespace tavik {

void CommandCallbacks::addHandler(int id, std::function<void()> handler)
{
    m_handlers[id] = std::move(handler);
}

void CommandCallbacks::addUpdateHandler(int id, std::function<void(CommandUi&)> handler)
{
    m_updateHandlers[id] = std::move(handler);
}

bool CommandCallbacks::executeCommand(int id)
{
    const auto it = m_handlers.find(id);
    if (it == m_handlers.end() || !it->second)
        return false;
    // A handler may replace itself; run a copy.
    const std::function<void()> handler = it->second;
    handler();
    return true;
}

bool CommandCallbacks::updateCommand(CommandUi& ui)
{
    const auto it = m_updateHandlers.find(ui.id());
    if (it == m_updateHandlers.end() || !it->second)
        return false;
    const std::function<void(CommandUi&)> handler = it->second;
    handler(ui);
    return true;
}

bool CommandCallbacks::handlesCommand(int id) const
{
    const auto it = m_handlers.find(id);
    return it != m_handlers.end() && it->second;
}

}  // namespace tavik
