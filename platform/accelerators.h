#pragma once

#include <functional>
#include <span>
#include <vector>

class QShortcut;
class QWidget;

namespace tavik {

class CommandRoute;

namespace res {
struct Accelerator;
}

// An accelerator table turned into shortcuts of one window: Ctrl plus each letter
// runs its command while the window is active.
class Accelerators {
public:
    // The commands run through `route`, which must outlive the window's shortcuts.
    static std::vector<QShortcut*> install(
        QWidget& window, std::span<const res::Accelerator> table, CommandRoute& route);
    static std::vector<QShortcut*> install(
        QWidget& window, std::span<const res::Accelerator> table, std::function<void(int command)> execute);
};

}  // namespace tavik
