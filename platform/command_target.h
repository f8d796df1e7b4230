#pragma once

#include <vector>

namespace tavik {

class CommandRoute;
class CommandTarget;
class CommandUi;

// One class's command handlers and update handlers, looked up by command id.
// CommandTable<T> is the usual implementation; a class returns its table from
// CommandTarget::commandMap().
class CommandMap {
public:
    virtual ~CommandMap() = default;

    // Runs the handler of `id` on `target`; false when the table has none.
    virtual bool execute(CommandTarget& target, int id) const = 0;
    // Runs the update handler of `ui.id()` on `target`; false when the table has none.
    virtual bool update(CommandTarget& target, CommandUi& ui) const = 0;
    virtual bool hasHandler(int id) const = 0;
};

// A class that handles commands: a view, a document, a frame, the application, a
// dialog. It may be a QObject or a plain class. Removing itself from every route
// it belongs to when destroyed, a target never leaves a dangling entry behind.
class CommandTarget {
public:
    CommandTarget() = default;
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;
    virtual ~CommandTarget();

    // Runs this target's handler of `id`; false when it has none.
    virtual bool executeCommand(int id);
    // Lets this target's update handler of `ui.id()` fill `ui`; false when it has none.
    virtual bool updateCommand(CommandUi& ui);
    // Whether this target has a command handler (not an update handler) for `id`.
    virtual bool handlesCommand(int id) const;

protected:
    // The class's one table of handlers; the default table is empty.
    virtual const CommandMap& commandMap() const;

private:
    friend class CommandRoute;
    std::vector<CommandRoute*> m_routes;
};

}  // namespace tavik
