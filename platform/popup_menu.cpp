#include "platform/popup_menu.h"

#include "platform/command_route.h"
#include "platform/command_target.h"
#include "platform/qt_text.h"
#include "platform/resource_types.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace tavik {

namespace {

const char* const kCommandProperty = "tavikCommand";

QPointer<QMenu>& LastPopupSlot()
{
    static QPointer<QMenu> popup;
    return popup;
}

void AddItems(QMenu& menu, std::span<const MenuItem> items)
{
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            menu.addSeparator();
            break;
        case MenuItem::Kind::Submenu: {
            QMenu* submenu = menu.addMenu(PopupMenu::literalText(ResourceText(item.text)));
            AddItems(*submenu, item.children);
            break;
        }
        case MenuItem::Kind::Command: {
            QAction* action = menu.addAction(PopupMenu::literalText(ResourceText(item.text)));
            action->setProperty(kCommandProperty, item.id);
            break;
        }
        }
    }
}

// Every command entry of `menu` and its submenus.
template <class F>
void ForEachCommand(const QMenu& menu, F&& f)
{
    for (QAction* action : menu.actions()) {
        if (QMenu* submenu = action->menu())
            ForEachCommand(*submenu, f);
        else if (const int id = PopupMenu::commandOf(*action))
            f(*action, id);
    }
}

template <class F>
void ForEachSubmenu(const QMenu& menu, F&& f)
{
    for (QAction* action : menu.actions()) {
        if (QMenu* submenu = action->menu()) {
            f(*submenu);
            ForEachSubmenu(*submenu, f);
        }
    }
}

void UpdateEntries(const QMenu& menu, const CommandRoute& route)
{
    ForEachCommand(menu, [&route](QAction& action, int id) {
        const CommandUi ui = route.update(id);
        action.setEnabled(ui.isEnabled());
        action.setCheckable(ui.isChecked());
        action.setChecked(ui.isChecked());
        if (ui.hasText())
            action.setText(PopupMenu::literalText(ui.text()));
    });
}

// Connects every command entry to `choose`, which receives the command id.
template <class F>
void WhenChosen(QMenu& popup, F choose)
{
    ForEachCommand(popup, [&popup, &choose](QAction& action, int id) {
        QObject::connect(&action, &QAction::triggered, &popup, [choose, id] { choose(id); });
    });
}

QMenu* ShowPopup(QMenu* popup, const QPoint& globalPos)
{
    // Freed once it has closed; deferred, because the chosen entry is activated after
    // the menu has hidden itself.
    QObject::connect(popup, &QMenu::aboutToHide, popup, &QObject::deleteLater);
    LastPopupSlot() = popup;
    popup->popup(globalPos);
    return popup;
}

}  // namespace

QMenu* PopupMenu::build(const Menu& menu, QWidget* parent)
{
    auto* popup = new QMenu(literalText(ResourceText(menu.popupTitle)), parent);
    AddItems(*popup, menu.items);
    return popup;
}

QMenu* PopupMenu::showOwnedByFrame(const Menu& menu, const QPoint& globalPos, QWidget& frame, CommandRoute& route)
{
    QMenu* popup = build(menu, &frame);
    // The whole tree is brought up to date when the popup opens, and each submenu
    // again when it opens, so that a state that changed meanwhile is shown.
    QObject::connect(popup, &QMenu::aboutToShow, popup, [popup, &route] { UpdateEntries(*popup, route); });
    ForEachSubmenu(*popup, [&route](QMenu& submenu) {
        QMenu* sub = &submenu;
        QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, &route] { UpdateEntries(*sub, route); });
    });
    WhenChosen(*popup, [&route](int id) { route.post(id); });
    return ShowPopup(popup, globalPos);
}

QMenu* PopupMenu::showOwnedBy(const Menu& menu, const QPoint& globalPos, QWidget& owner, CommandTarget& target)
{
    return showOwnedBy(menu, globalPos, owner, [&target](int id) { target.executeCommand(id); });
}

QMenu* PopupMenu::showOwnedBy(
    const Menu& menu, const QPoint& globalPos, QWidget& owner, std::function<void(int id)> onChosenCallback)
{
    QMenu* popup = build(menu, &owner);
    QWidget* ownerWidget = &owner;
    WhenChosen(*popup, [ownerWidget, onChosenCallback](int id) {
        // Queued on the owner: a command for an owner that is gone by then is dropped.
        QMetaObject::invokeMethod(
            ownerWidget, [onChosenCallback, id] { onChosenCallback(id); }, Qt::QueuedConnection);
    });
    return ShowPopup(popup, globalPos);
}

QPoint PopupMenu::programPointToGlobal(const QWidget& mainWindow, const QPoint& point)
{
    return mainWindow.mapToGlobal(point);
}

QMenu* PopupMenu::lastPopup()
{
    return LastPopupSlot().data();
}

QAction* PopupMenu::findEntry(const QMenu& menu, int id)
{
    QAction* found = nullptr;
    ForEachCommand(menu, [&found, id](QAction& action, int actionId) {
        if (!found && actionId == id)
            found = &action;
    });
    return found;
}

int PopupMenu::commandOf(const QAction& action)
{
    return action.property(kCommandProperty).toInt();
}

QString PopupMenu::literalText(const QString& text)
{
    QString literal = text;
    literal.replace(QLatin1Char('&'), QLatin1String("&&"));
    return literal;
}

}  // namespace tavik
