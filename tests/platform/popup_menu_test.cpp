#include "platform/popup_menu.h"

#include "platform/command_route.h"
#include "res/resources.h"
#include "tests/support/command_callbacks.h"
#include "tests/support/popup_probe.h"

#include <QKeySequence>

#include <gtest/gtest.h>

namespace tavik {

using Kind = MenuItem::Kind;
constexpr MenuItem kSubmenu[] = {{Kind::Command, 3, "貼り付け", {}}};
constexpr MenuItem kItems[] = {{Kind::Command, 1, "Save & Exit", {}}, {Kind::Separator, 0, {}, {}},
    {Kind::Submenu, 0, "項目COPY", kSubmenu}, {Kind::Command, 2, "何もしない", {}}};

TEST(PopupMenu, FrameOwned_EntriesAskTheRouteEachTimeTheyOpen_AndShowAmpersandLiterally)
{
    QWidget frame;
    frame.show();
    CommandCallbacks view;
    CommandRoute route;
    route.append(view);
    bool pasteEnabled = false;
    int pasted = 0;
    view.addHandler(1, [] {});
    view.addHandler(3, [&] { ++pasted; });
    view.addUpdateHandler(3, [&](CommandUi& ui) { ui.setEnabled(pasteEnabled); });

    PopupMenu::showOwnedByFrame({500, "-popup-", kItems}, QPoint(10, 10), frame, route);
    EXPECT_EQ(
        PopupProbe::entryTexts(*PopupProbe::current()), QStringList({"Save & Exit", "-", "項目COPY >", "何もしない"}));
    EXPECT_TRUE(QKeySequence::mnemonic(PopupProbe::entry(1)->text()).isEmpty()) << "\"&\" is no mnemonic";
    EXPECT_FALSE(PopupProbe::entry(2)->isEnabled()) << "nothing handles it";
    EXPECT_FALSE(PopupProbe::entry(3)->isEnabled());

    pasteEnabled = true;
    PopupProbe::current()->actions().at(2)->menu()->popup(QPoint(50, 50));
    EXPECT_TRUE(PopupProbe::entry(3)->isEnabled()) << "the submenu asked again as it opened";
    EXPECT_TRUE(PopupProbe::choose(3));
    EXPECT_EQ(pasted, 1);
}

}  // namespace tavik
