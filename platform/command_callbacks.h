#pragma once

#include "platform/command_target.h"

#include <functional>
#include <map>

namespace tavik {

class CommandUi;

// A command target whose handlers are functions given at run time, for a class
// that has no table of its own or for a popup's owner that only wants a callback.
class CommandCallbacks : public CommandTarget {
public:
    void addHandler(int id, std::function<void()> handler);
    void addUpdateHandler(int id, std::function<void(CommandUi&)> handler);

    bool executeCommand(int id) override;
    bool updateCommand(CommandUi& ui) override;
    bool handlesCommand(int id) const override;

private:
    std::map<int, std::function<void()>> m_handlers;
    std::map<int, std::function<void(CommandUi&)>> m_updateHandlers;
};

}  // namespace tavik
