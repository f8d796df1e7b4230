#pragma once

#include <span>
#include <vector>

class QShortcut;
class QWidget;

namespace tavik {

class CommandRoute;

struct Accelerator;

// An accelerator table turned into shortcuts of one window: Ctrl plus each letter
// runs its command while the window is active.
class Accelerators {
public:
    // The commands run through `route`, which must outlive the window's shortcuts.
    static std::vector<QShortcut*> install(QWidget& window, std::span<const Accelerator> table, CommandRoute& route);
};

}  // namespace tavik
