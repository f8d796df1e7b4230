#include "platform/accelerators.h"

#include "platform/command_route.h"
#include "res/resource_types.h"

#include <QShortcut>
#include <QWidget>

namespace tavik {

namespace {

// Ctrl plus a letter or a digit; an empty combination for a key a table should not hold.
QKeyCombination keyOf(char key)
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

std::vector<QShortcut*> Accelerators::install(
    QWidget& window, std::span<const res::Accelerator> table, CommandRoute& route)
{
    return install(window, table, [&route](int command) { route.execute(command); });
}

std::vector<QShortcut*> Accelerators::install(
    QWidget& window, std::span<const res::Accelerator> table, std::function<void(int command)> execute)
{
    std::vector<QShortcut*> shortcuts;
    for (const res::Accelerator& accelerator : table) {
        const QKeyCombination key = keyOf(accelerator.key);
        if (key == QKeyCombination())
            continue;
        auto* shortcut = new QShortcut(QKeySequence(key), &window);
        shortcut->setContext(Qt::WindowShortcut);
        const int command = accelerator.command;
        QObject::connect(shortcut, &QShortcut::activated, &window, [execute, command] { execute(command); });
        shortcuts.push_back(shortcut);
    }
    return shortcuts;
}

}  // namespace tavik
