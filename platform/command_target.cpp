#include "platform/command_target.h"

#include "platform/command_route.h"

#include <algorithm>

namespace tavik {

namespace {

class EmptyCommandMap final : public CommandMap {
public:
    bool execute(CommandTarget&, int) const override { return false; }
    bool update(CommandTarget&, CommandUi&) const override { return false; }
    bool hasHandler(int) const override { return false; }
};

}  // namespace

CommandTarget::~CommandTarget()
{
    // remove() edits m_routes, so walk a copy.
    const std::vector<CommandRoute*> routes = m_routes;
    for (CommandRoute* route : routes)
        route->remove(*this);
}

bool CommandTarget::executeCommand(int id)
{
    return commandMap().execute(*this, id);
}

bool CommandTarget::updateCommand(CommandUi& ui)
{
    return commandMap().update(*this, ui);
}

bool CommandTarget::handlesCommand(int id) const
{
    return commandMap().hasHandler(id);
}

const CommandMap& CommandTarget::commandMap() const
{
    static const EmptyCommandMap empty;
    return empty;
}

}  // namespace tavik
