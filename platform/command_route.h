#pragma once

#include "platform/command_ui.h"

#include <memory>
#include <vector>

class QObject;

namespace tavik {

class CommandTarget;

// The ordered chain of targets a command travels: view, document, frame,
// application. The first target with a handler takes the command.
class CommandRoute {
public:
    CommandRoute();
    CommandRoute(const CommandRoute&) = delete;
    CommandRoute& operator=(const CommandRoute&) = delete;
    ~CommandRoute();

    // Adds `target` at the end of the chain; a target already on it stays where it is.
    void append(CommandTarget& target);
    void remove(CommandTarget& target);
    bool contains(const CommandTarget& target) const;

    // Runs the first handler of `id` along the chain; false when nothing handles it.
    bool execute(int id) const;

    // The state of `id` as a menu entry shows it: the first update handler along the
    // chain decides; without one the entry is enabled when some target handles the
    // command and disabled when nothing does.
    CommandUi update(int id) const;

    // Runs `id` through the chain after the current handler has returned, as a posted
    // message does; posted commands run in the order they were posted. Commands still
    // queued when the route is destroyed are dropped.
    void post(int id);

private:
    // Pointer test: a target destroyed by an earlier handler is only compared, never touched.
    bool isOnChain(const CommandTarget* target) const;

    std::vector<CommandTarget*> m_targets;
    std::unique_ptr<QObject> m_postQueue;
};

}  // namespace tavik
