#pragma once

#include "platform/command_target.h"
#include "platform/command_ui.h"

#include <functional>
#include <map>

namespace tavik {

// A command target whose handlers are functions given by the test, standing for a
// view, a frame or a popup's owner.
class CommandCallbacks : public CommandTarget {
public:
    void addHandler(int id, std::function<void()> handler) { m_handlers[id] = std::move(handler); }
    void addUpdateHandler(int id, std::function<void(CommandUi&)> handler)
    {
        m_updateHandlers[id] = std::move(handler);
    }

    bool executeCommand(int id) override
    {
        const auto it = m_handlers.find(id);
        if (it == m_handlers.end())
            return false;
        // A handler may replace itself; run a copy.
        const std::function<void()> handler = it->second;
        handler();
        return true;
    }

    bool updateCommand(CommandUi& ui) override
    {
        const auto it = m_updateHandlers.find(ui.id());
        if (it == m_updateHandlers.end())
            return false;
        const std::function<void(CommandUi&)> handler = it->second;
        handler(ui);
        return true;
    }

    bool handlesCommand(int id) const override { return m_handlers.contains(id); }

private:
    std::map<int, std::function<void()>> m_handlers;
    std::map<int, std::function<void(CommandUi&)>> m_updateHandlers;
};

}  // namespace tavik
