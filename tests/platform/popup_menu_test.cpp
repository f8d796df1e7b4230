#include "platform/command_callbacks.h"
#include "platform/command_route.h"
#include "platform/popup_menu.h"
#include "res/resources.h"
#include "tests/support/popup_probe.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tavik {
namespace {

using Kind = res::MenuItem::Kind;

constexpr int kAdd = 1;
constexpr int kEdit = 2;
constexpr int kCopy = 3;
constexpr int kPaste = 4;
constexpr int kUnhandled = 5;

constexpr res::MenuItem kSubItems[] = {
    {Kind::Command, kCopy, "コピー", {}},
    {Kind::Command, kPaste, "貼り付け", {}},
};

constexpr res::MenuItem kItems[] = {
    {Kind::Command, kAdd, "追加", {}},
    {Kind::Command, kEdit, "Save & Exit", {}},
    {Kind::Separator, 0, {}, {}},
    {Kind::Submenu, 0, "項目COPY", kSubItems},
    {Kind::Command, kUnhandled, "何もしない", {}},
};

constexpr res::Menu kMenu{500, "-popup-", kItems};

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame.setGeometry(100, 50, 240, 320);
        frame.show();
        view.addHandler(kAdd, [this] { chosen.push_back(kAdd); });
        view.addHandler(kEdit, [this] { chosen.push_back(kEdit); });
        view.addHandler(kCopy, [this] { chosen.push_back(kCopy); });
        view.addHandler(kPaste, [this] { chosen.push_back(kPaste); });
        view.addUpdateHandler(kPaste, [this](CommandUi& ui) { ui.setEnabled(pasteEnabled); });
        view.addUpdateHandler(kEdit, [](CommandUi& ui) {
            ui.setText(QStringLiteral("Edit & Save"));
            ui.setChecked(true);
        });
        route.append(view);
    }

    void TearDown() override { PopupProbe::dismiss(); }

    QWidget frame;
    CommandCallbacks view;
    CommandRoute route;
    std::vector<int> chosen;
    bool pasteEnabled = false;
};

TEST_F(PopupMenuTest, FrameOwned_EntriesTakeTheirStateFromTheRouteBeforeShowing) {
    PopupMenu::showOwnedByFrame(kMenu, PopupMenu::programPointToGlobal(frame, {40, 45}), frame, route);

    QMenu* popup = PopupProbe::current();
    ASSERT_TRUE(popup);
    EXPECT_EQ(QApplication::activePopupWidget(), popup);
    EXPECT_EQ(PopupProbe::entryTexts(*popup),
              (QStringList{"追加", "Edit & Save", "-", "項目COPY >", "何もしない"}));

    EXPECT_TRUE(PopupProbe::entry(kAdd)->isEnabled());
    EXPECT_FALSE(PopupProbe::entry(kAdd)->isChecked());
    EXPECT_TRUE(PopupProbe::entry(kEdit)->isChecked());
    EXPECT_FALSE(PopupProbe::entry(kUnhandled)->isEnabled()) << "nothing handles it";
    EXPECT_TRUE(PopupProbe::entry(kCopy)->isEnabled()) << "inside a submenu";
    EXPECT_FALSE(PopupProbe::entry(kPaste)->isEnabled()) << "inside a submenu";
    EXPECT_TRUE(chosen.empty());
}

TEST_F(PopupMenuTest, FrameOwned_SubmenuAsksAgainWhenItOpens) {
    PopupMenu::showOwnedByFrame(kMenu, QPoint(10, 10), frame, route);
    QAction* paste = PopupProbe::entry(kPaste);
    ASSERT_TRUE(paste);
    ASSERT_FALSE(paste->isEnabled());

    pasteEnabled = true;
    QMenu* submenu = PopupProbe::current()->actions().at(3)->menu();
    ASSERT_TRUE(submenu);
    submenu->popup(QPoint(50, 50));

    EXPECT_TRUE(paste->isEnabled());
}

TEST_F(PopupMenuTest, FrameOwned_ChosenEntryRunsItsCommandThroughTheRoute_AfterThePopupClosed) {
    PopupMenu::showOwnedByFrame(kMenu, QPoint(10, 10), frame, route);
    QPointer<QMenu> popup = PopupProbe::current();

    ASSERT_TRUE(PopupProbe::choose(kCopy));

    EXPECT_EQ(chosen, std::vector<int>{kCopy});
    EXPECT_TRUE(!popup || !popup->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(PopupMenuTest, ViewOwned_ShowsEntriesAsDefined_AndSendsTheChoiceToTheOwner) {
    QWidget owner;
    CommandCallbacks ownerHandlers;
    ownerHandlers.addHandler(kPaste, [this] { chosen.push_back(kPaste); });
    ownerHandlers.addUpdateHandler(kPaste, [](CommandUi& ui) { ui.setEnabled(false); });

    PopupMenu::showOwnedBy(kMenu, QPoint(10, 10), owner, ownerHandlers);

    for (const int id : {kAdd, kEdit, kCopy, kPaste, kUnhandled})
        EXPECT_TRUE(PopupProbe::entry(id)->isEnabled()) << "entry " << id;
    EXPECT_EQ(PopupProbe::entryTexts(*PopupProbe::current()),
              (QStringList{"追加", "Save & Exit", "-", "項目COPY >", "何もしない"}));
    EXPECT_TRUE(QKeySequence::mnemonic(PopupProbe::entry(kEdit)->text()).isEmpty()) << "\"&\" is no mnemonic";

    ASSERT_TRUE(PopupProbe::choose(kPaste));
    EXPECT_EQ(chosen, std::vector<int>{kPaste}) << "the owner's handler, not the route's";

    PopupMenu::showOwnedBy(kMenu, QPoint(10, 10), owner, ownerHandlers);
    ASSERT_TRUE(PopupProbe::choose(kUnhandled));
    EXPECT_EQ(chosen, std::vector<int>{kPaste}) << "an entry nobody handles does nothing";
}

TEST_F(PopupMenuTest, ClosedPopup_IsFreed) {
    PopupMenu::showOwnedBy(kMenu, QPoint(10, 10), frame, [](int) {});
    QPointer<QMenu> popup = PopupMenu::lastPopup();
    ASSERT_TRUE(popup);

    PopupProbe::dismiss();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_TRUE(popup.isNull());
    EXPECT_EQ(PopupMenu::lastPopup(), nullptr);
}

TEST(PopupMenuResources, ListPopup_HasTheEntriesOfMenu130) {
    const res::Menu* menu = res::FindMenu(res::IDM_LIST_POPUP);
    ASSERT_TRUE(menu);
    QWidget owner;
    std::unique_ptr<QMenu> popup(PopupMenu::build(*menu, &owner));

    EXPECT_EQ(PopupProbe::entryTexts(*popup),
              (QStringList{"追加", "編集", "項目COPY >", "-", "ファイル >", "-", "上へ移動", "下へ移動", "-",
                           "コメントを表示", "文字サイズ >", "-", "読上（VELUN)", "閉じる"}));
    EXPECT_EQ(PopupMenu::commandOf(*popup->actions().last()), res::ID_APP_EXIT);
    QMenu* files = popup->actions().at(4)->menu();
    ASSERT_TRUE(files);
    EXPECT_EQ(PopupProbe::entryTexts(*files),
              (QStringList{"保存（上書き）", "名前を付けて保存", "新規ファイルを作成", "-", "マークと日付をクリア"}));
    EXPECT_EQ(PopupMenu::findEntry(*popup, res::ID_FONT_LARGER)->text(), QStringLiteral("文字を大きく"));
}

}  // namespace
}  // namespace tavik
