#pragma once

#include <QStringList>

class QAction;
class QMenu;

namespace tavik {

// Works the popup menu the program showed last (PopupMenu::lastPopup()) as a user
// would, for GUI tests.
class PopupProbe {
public:
    // The open popup; fails the running test and gives nullptr when none is open.
    static QMenu* current();

    // The entry of command `id` in the open popup or its submenus; fails the running
    // test and gives nullptr when there is none.
    static QAction* entry(int id);

    // Chooses command `id` as a click would: the entry must be there and enabled
    // (otherwise the running test fails and nothing is chosen). The popup closes, and
    // the chosen command has run when this returns.
    static bool choose(int id);

    // Closes the open popup without a choice.
    static void dismiss();

    // The entries of a menu as the user reads them ("&&" as "&"): "-" for a separator,
    // a submenu as its text followed by " >".
    static QStringList entryTexts(const QMenu& menu);
};

}  // namespace tavik
