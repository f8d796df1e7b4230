#pragma once

#include "platform/popup_menu.h"

#include <QCoreApplication>
#include <QMenu>

#include <gtest/gtest.h>

namespace tavik {

// Works the popup menu the program showed last as a user would. What a user could not do
// (no popup open, no such entry, a disabled entry) fails the running test.
struct PopupProbe {
    // The open popup, or nullptr.
    static QMenu* current()
    {
        QMenu* popup = PopupMenu::lastPopup();
        EXPECT_TRUE(popup && popup->isVisible()) << "no popup menu is open";
        return popup && popup->isVisible() ? popup : nullptr;
    }

    // The entry of command `id` in the open popup or its submenus, or nullptr.
    static QAction* entry(int id)
    {
        QMenu* popup = current();
        QAction* action = popup ? PopupMenu::findEntry(*popup, id) : nullptr;
        EXPECT_TRUE(!popup || action) << "the open popup has no entry for command " << id;
        return action;
    }

    // As a click: the popup closes, and the command has run when this returns.
    static bool choose(int id)
    {
        QAction* action = entry(id);
        EXPECT_TRUE(!action || action->isEnabled()) << "the entry for command " << id << " is disabled";
        if (!action || !action->isEnabled())
            return false;
        current()->hide();
        action->trigger();
        QCoreApplication::processEvents();
        return true;
    }

    static void dismiss()
    {
        if (QMenu* popup = PopupMenu::lastPopup())
            popup->hide();
        QCoreApplication::processEvents();
    }
};

}  // namespace tavik
