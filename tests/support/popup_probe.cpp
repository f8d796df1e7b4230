#include "tests/support/popup_probe.h"

#include "platform/popup_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>

#include <gtest/gtest.h>

namespace tavik {

QMenu* PopupProbe::current() {
    QMenu* popup = PopupMenu::lastPopup();
    if (!popup || !popup->isVisible()) {
        ADD_FAILURE() << "no popup menu is open";
        return nullptr;
    }
    return popup;
}

QAction* PopupProbe::entry(int id) {
    QMenu* popup = current();
    if (!popup)
        return nullptr;
    QAction* action = PopupMenu::findEntry(*popup, id);
    if (!action)
        ADD_FAILURE() << "the open popup has no entry for command " << id;
    return action;
}

bool PopupProbe::choose(int id) {
    QPointer<QAction> action = entry(id);
    if (!action)
        return false;
    if (!action->isEnabled()) {
        ADD_FAILURE() << "the entry for command " << id << " is disabled and cannot be chosen";
        return false;
    }
    // As a click does: the menu closes first, then the entry is activated.
    current()->hide();
    action->trigger();
    QCoreApplication::processEvents();
    return true;
}

void PopupProbe::dismiss() {
    if (QMenu* popup = PopupMenu::lastPopup())
        popup->hide();
    QCoreApplication::processEvents();
}

QStringList PopupProbe::entryTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        QString shown = action->text();
        shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (action->isSeparator())
            texts.append(QStringLiteral("-"));
        else if (action->menu())
            texts.append(shown + QStringLiteral(" >"));
        else
            texts.append(shown);
    }
    return texts;
}

}  // namespace tavik
