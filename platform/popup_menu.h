#pragma once

#include <QPoint>
#include <QString>

#include <functional>
#include <string_view>

class QAction;
class QMenu;
class QWidget;

namespace tavik {

class CommandRoute;
class CommandTarget;

struct Menu;

// Popup menus built from the menu tables when they open. A menu shows its popup
// (`items`): commands, separators and submenus, with their texts exactly as given
// ("&" is shown, never taken as a mnemonic). Showing does not wait: the popup
// opens and the call returns; the chosen command runs once the popup has closed,
// after the current handler has returned, as a posted command does. Each popup is
// freed when it closes.
class PopupMenu {
public:
    // Builds the popup of `menu` as a child of `parent`. Each command entry carries
    // its id (commandOf()); every entry is enabled.
    static QMenu* build(const Menu& menu, QWidget* parent);

    // A popup owned by the main frame: just before the popup or one of its submenus
    // opens, every entry in it asks `route` for its state (an entry that nothing
    // handles is disabled), and the chosen command goes through `route`.
    static QMenu* showOwnedByFrame(const Menu& menu, const QPoint& globalPos, QWidget& frame, CommandRoute& route);

    // A popup owned by a view or dialog: the entries stay as defined, all enabled,
    // and the chosen command goes to `target`'s handlers (a command it does not
    // handle does nothing).
    static QMenu* showOwnedBy(const Menu& menu, const QPoint& globalPos, QWidget& owner, CommandTarget& target);
    // The same with a callback that receives the chosen command.
    static QMenu* showOwnedBy(
        const Menu& menu, const QPoint& globalPos, QWidget& owner, std::function<void(int id)> onChosen);

    // The screen position of a point the program names, such as the list popup's
    // (40, 45): those points are taken from the main window's client origin.
    static QPoint programPointToGlobal(const QWidget& mainWindow, const QPoint& point);

    // The popup shown last, while it is open; tests inspect and choose its entries.
    static QMenu* lastPopup();

    // The entry of command `id` in `menu` or in one of its submenus, or nullptr.
    static QAction* findEntry(const QMenu& menu, int id);
    // The command of an entry; 0 for a separator, a submenu or a foreign action.
    static int commandOf(const QAction& action);

    // A text as a menu shows it literally.
    static QString literalText(const QString& text);
};

}  // namespace tavik
