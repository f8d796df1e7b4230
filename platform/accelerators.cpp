#include "platform/accelerators.h"

#include "platform/command_route.h"
#include "platform/resource_types.h"

#include <QShortcut>
#include <QWidget>

namespace tavik {

namespace {

// Ctrl plus a letter or a digit; an empty combination for a key a table should not hold.
QKeyCombination KeyOf(char key)
{
    if (key >= 'a' && key <= 'z')
        key = static_cast<char>(key - 'a' + 'A');
    if (key >= 'A' && key <= 'Z')
        return Qt::ControlModifier | Qt::Key(Qt::Key_A + (key - 'A'));
    if (key >= '0' && key <= '9')
        return Qt::ControlModifier | Qt::Key(Qt::Key_0 + (key - '0'));
    return QKeyCombination();
}

}  // namespace

std::vector<QShortcut*> Accelerators::install(QWidget& window, std::span<const Accelerator> table, CommandRoute& route)
{
    std::vector<QShortcut*> shortcuts;
    for (const Accelerator& accelerator : table) {
        const QKeyCombination key = KeyOf(accelerator.key);
        if (key == QKeyCombination())
            continue;
        auto* shortcut = new QShortcut(QKeySequence(key), &window);
        shortcut->setContext(Qt::WindowShortcut);
        const int command = accelerator.command;
        QObject::connect(shortcut, &QShortcut::activated, &window, [&route, command] { route.execute(command); });
        shortcuts.push_back(shortcut);
    }
    return shortcuts;
}

}  // namespace tavik
