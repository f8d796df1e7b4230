#include "res/resources.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavik::res {
namespace {

// The expected values below are written with plain numbers, so that they check the
// identifier constants as well as the tables built from them.

// --- Rendering the data to short texts that read like the definition

// "追加 1002|-|>項目COPY(コピー 32805|...)"
std::string Render(std::span<const MenuItem> items) {
    std::string out;
    for (const MenuItem& item : items) {
        if (!out.empty()) {
            out += '|';
        }
        switch (item.kind) {
        case MenuItem::Kind::Command:
            out += std::string(item.text) + ' ' + std::to_string(item.id);
            break;
        case MenuItem::Kind::Separator:
            out += '-';
            break;
        case MenuItem::Kind::Submenu:
            out += '>' + std::string(item.text) + '(' + Render(item.children) + ')';
            break;
        }
    }
    return out;
}

std::string KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton: return "PushButton";
    case ControlKind::DefaultPushButton: return "DefaultPushButton";
    case ControlKind::OwnerDrawButton: return "OwnerDrawButton";
    case ControlKind::Static: return "Static";
    case ControlKind::Icon: return "Icon";
    case ControlKind::Edit: return "Edit";
    case ControlKind::ComboBox: return "ComboBox";
    case ControlKind::ListView: return "ListView";
    }
    return "?";
}

// Tab stops are left out here; TabStops_OnTheControlsThatTakeInput checks them.
std::string StyleNames(std::uint32_t styles) {
    static const std::pair<Style, const char*> kNames[] = {
        {kHidden, "Hidden"},
        {kAlignRight, "AlignRight"},
        {kAlignCenter, "AlignCenter"},
        {kNoPrefix, "NoPrefix"},
        {kMultiLine, "MultiLine"},
        {kReadOnly, "ReadOnly"},
        {kWantReturn, "WantReturn"},
        {kBorder, "Border"},
        {kVScroll, "VScroll"},
        {kAutoHScroll, "AutoHScroll"},
        {kDropDownList, "DropDownList"},
        {kSort, "Sort"},
        {kReportView, "ReportView"},
        {kSingleSelection, "SingleSelection"},
        {kShowSelectionAlways, "ShowSelectionAlways"},
        {kChild, "Child"},
        {kModalFrame, "ModalFrame"},
        {kCaption, "Caption"},
        {kSystemMenu, "SystemMenu"},
        {kCaptionOkButton, "CaptionOkButton"},
    };
    std::string out;
    for (const auto& [flag, name] : kNames) {
        if (styles & flag) {
            out += ' ';
            out += name;
        }
    }
    return out;
}

// "1004 PushButton '○' 0,0,20,13 Hidden" (icons add "icon=128")
std::string Render(const ControlTemplate& c) {
    std::string out = std::to_string(c.id) + ' ' + KindName(c.kind) + " '" + std::string(c.text) + "' " +
                      std::to_string(c.x) + ',' + std::to_string(c.y) + ',' + std::to_string(c.width) + ',' +
                      std::to_string(c.height) + StyleNames(c.styles);
    if (c.iconId != 0) {
        out += " icon=" + std::to_string(c.iconId);
    }
    return out;
}

// "101 '' ＭＳ Ｐゴシック 9pt 127x117 Child"
std::string RenderHeader(const DialogTemplate& d) {
    return std::to_string(d.id) + " '" + std::string(d.caption) + "' " + std::string(d.fontFace) + ' ' +
           std::to_string(d.fontPointSize) + "pt " + std::to_string(d.width) + 'x' + std::to_string(d.height) +
           StyleNames(d.styles);
}

std::vector<std::string> RenderControls(const DialogTemplate& d) {
    std::vector<std::string> out;
    for (const ControlTemplate& c : d.controls) {
        out.push_back(Render(c));
    }
    return out;
}

const std::vector<int> kMenuIds = {128, 130, 133, 134};
const std::vector<int> kDialogIds = {100, 101, 131, 132};

template <typename F>
void ForEachCommand(std::span<const MenuItem> items, F&& f) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command) {
            f(item);
        } else if (item.kind == MenuItem::Kind::Submenu) {
            ForEachCommand(item.children, f);
        }
    }
}

// --- Menus

TEST(Menus, EachMenu_HasItsEntriesInOrder) {
    struct Case {
        int id;
        std::string title;
        std::string entries;
    };
    const Case cases[] = {
        {128, "ツール", "読上（VELUN) 32804|tavik のバージョン情報... 57664|プログラムの終了 57665"},
        {130, "-popup-",
         "追加 1002|編集 1003|>項目COPY(コピー 32805|追加貼り付け 32807|切り取り 32808)|-|"
         ">ファイル(保存（上書き） 32779|名前を付けて保存 32786|新規ファイルを作成 32815|-|"
         "マークと日付をクリア 32780)|-|上へ移動 32781|下へ移動 32782|-|コメントを表示 32778|"
         ">文字サイズ(文字を小さく 32783|文字を標準に 32784|文字を大きく 32785)|-|読上（VELUN) 32804|閉じる 57665"},
        {133, "popup_edt",
         "元に戻す 57643|-|コピー 57634|貼り付け 57637|切り取り 57635|-|Drawboを開く 32796|-|"
         "ﾌｧｲﾙ名として開く 32798|-|プログラムとして起動 32799"},
        {134, "popup2",
         "編集 1003|-|コピー 32800|-|Drawboを開く 32801|ﾌｧｲﾙ名として開く 32802|プログラムとして起動 32803"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const Menu* menu = FindMenu(c.id);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->popupTitle, c.title);
        EXPECT_EQ(Render(menu->items), c.entries);
    }
}

TEST(Menus, EntriesOtherThanCommands_CarryNoCommandId) {
    for (int id : kMenuIds) {
        SCOPED_TRACE(id);
        std::vector<std::span<const MenuItem>> pending = {FindMenu(id)->items};
        while (!pending.empty()) {
            const auto items = pending.back();
            pending.pop_back();
            for (const MenuItem& item : items) {
                if (item.kind == MenuItem::Kind::Command) {
                    EXPECT_NE(item.id, 0) << item.text;
                    EXPECT_TRUE(item.children.empty()) << item.text;
                } else {
                    EXPECT_EQ(item.id, 0) << item.text;
                    pending.push_back(item.children);
                }
                if (item.kind == MenuItem::Kind::Submenu) {
                    EXPECT_FALSE(item.children.empty()) << item.text;
                }
            }
        }
    }
}

TEST(Menus, CommandsWithinOneMenu_AreUniqueAndNamed) {
    for (int id : kMenuIds) {
        SCOPED_TRACE(id);
        std::set<int> seen;
        ForEachCommand(FindMenu(id)->items, [&](const MenuItem& item) {
            EXPECT_TRUE(seen.insert(item.id).second) << "twice: " << item.id;
            EXPECT_FALSE(CommandNameOf(item.id).empty()) << "no name: " << item.id;
        });
    }
}

TEST(Menus, MenuBars_OpenTheirMenuUnderALabelThatIsTheMenusTitle) {
    struct Case {
        int bar, menu, button, labelString;
        std::string label;
    };
    const Case cases[] = {
        {128, 128, 106, 103, "ツール"},
        {130, 130, 32771, 32773, "-popup-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bar);
        const MenuBar* bar = FindMenuBar(c.bar);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->menuId, c.menu);
        EXPECT_EQ(bar->buttonCommand, c.button);
        EXPECT_EQ(bar->labelStringId, c.labelString);
        EXPECT_EQ(LoadString(bar->labelStringId), c.label);
        ASSERT_NE(FindMenu(bar->menuId), nullptr);
        EXPECT_EQ(FindMenu(bar->menuId)->popupTitle, c.label);
    }
}

// --- Commands

TEST(Commands, EveryCommand_HasItsNameAndExactlyItsMenuTexts) {
    struct Case {
        int id;
        std::string name;
        std::set<std::string> texts;  // every menu entry that sends it
    };
    const Case cases[] = {
        {1002, "IDC_ADD_ITEM", {"追加"}},
        {1003, "IDC_EDIT_ITEM", {"編集"}},
        {32778, "ID_SHOW_COMMENT", {"コメントを表示"}},
        {32779, "ID_FILE_OVERWRITE", {"保存（上書き）"}},
        {32780, "ID_CLEAR_MARKS", {"マークと日付をクリア"}},
        {32781, "ID_MOVE_UP", {"上へ移動"}},
        {32782, "ID_MOVE_DOWN", {"下へ移動"}},
        {32783, "ID_FONT_SMALLER", {"文字を小さく"}},
        {32784, "ID_FONT_STANDARD", {"文字を標準に"}},
        {32785, "ID_FONT_LARGER", {"文字を大きく"}},
        {32786, "ID_LIST_SAVE_AS", {"名前を付けて保存"}},
        {32796, "ID_EDIT_OPEN_PAINT", {"Drawboを開く"}},
        {32798, "ID_EDIT_OPEN_FILE", {"ﾌｧｲﾙ名として開く"}},
        {32799, "ID_EDIT_RUN_PROGRAM", {"プログラムとして起動"}},
        {32800, "ID_POPUP2_COPY", {"コピー"}},
        {32801, "ID_LIST_OPEN_PAINT", {"Drawboを開く"}},
        {32802, "ID_LIST_OPEN_FILE", {"ﾌｧｲﾙ名として開く"}},
        {32803, "ID_LIST_RUN_PROGRAM", {"プログラムとして起動"}},
        {32804, "ID_READ_ALOUD", {"読上（VELUN)"}},
        {32805, "ID_ITEM_COPY", {"コピー"}},
        {32807, "ID_ITEM_PASTE_APPEND", {"追加貼り付け"}},
        {32808, "ID_ITEM_CUT", {"切り取り"}},
        {32815, "ID_NEW_LIST", {"新規ファイルを作成"}},
        {57600, "ID_FILE_NEW", {}},
        {57601, "ID_FILE_OPEN", {}},
        {57603, "ID_FILE_SAVE", {}},
        {57634, "ID_EDIT_COPY", {"コピー"}},
        {57635, "ID_EDIT_CUT", {"切り取り"}},
        {57637, "ID_EDIT_PASTE", {"貼り付け"}},
        {57643, "ID_EDIT_UNDO", {"元に戻す"}},
        {57664, "ID_APP_ABOUT", {"tavik のバージョン情報..."}},
        {57665, "ID_APP_EXIT", {"プログラムの終了", "閉じる"}},
        // Commands without a menu entry
        {1017, "IDC_CLOSE_VIEW", {}},
        {1009, "IDC_SAVE_AND_EXIT", {}},
        {32771, "ID_POPUP_BUTTON", {}},
        {106, "ID_TOOLS_BUTTON", {}},
    };

    std::map<int, std::set<std::string>> textsInMenus;
    for (int id : kMenuIds) {
        ForEachCommand(FindMenu(id)->items,
                       [&](const MenuItem& item) { textsInMenus[item.id].insert(std::string(item.text)); });
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(CommandNameOf(c.id), c.name);
        const auto found = textsInMenus.find(c.id);
        EXPECT_EQ(found == textsInMenus.end() ? std::set<std::string>{} : found->second, c.texts);
        textsInMenus.erase(c.id);
    }
    for (const auto& [id, texts] : textsInMenus) {
        ADD_FAILURE() << "menu command " << id << " is not one of the program's commands";
    }
}

TEST(Commands, Names_AreUniqueIdentifiersForUniqueIds) {
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const CommandName& entry : CommandNames()) {
        SCOPED_TRACE(entry.name);
        EXPECT_TRUE(ids.insert(entry.id).second);
        EXPECT_TRUE(names.insert(entry.name).second);
        EXPECT_GT(entry.id, 0);
        ASSERT_FALSE(entry.name.empty());
        EXPECT_TRUE(entry.name.starts_with("ID"));
        EXPECT_EQ(entry.name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"), std::string_view::npos);
        EXPECT_EQ(CommandNameOf(entry.id), entry.name);
    }
}

TEST(Commands, UnknownIds_HaveNoName) {
    for (int id : {0, -1, 3, 128, 1001, 1018, 32806, 99999}) {
        EXPECT_TRUE(CommandNameOf(id).empty()) << id;
    }
}

TEST(Commands, Accelerators_AreCtrlLettersForTheirCommands) {
    std::string rendered;
    for (const Accelerator& a : Accelerators()) {
        rendered += std::string("Ctrl+") + a.key + ' ' + std::to_string(a.command) + '|';
        EXPECT_FALSE(CommandNameOf(a.command).empty()) << a.command;
    }
    EXPECT_EQ(rendered, "Ctrl+N 57600|Ctrl+O 57601|Ctrl+S 57603|Ctrl+Q 57665|Ctrl+Z 57643|Ctrl+X 57635|"
                        "Ctrl+C 57634|Ctrl+V 57637|");
}

TEST(Commands, Toolbar_HoldsItsFourButtonsInOrder) {
    const Toolbar* toolbar = FindToolbar(128);
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->buttonSize, 16);
    EXPECT_EQ(std::vector<int>(toolbar->commands.begin(), toolbar->commands.end()),
              (std::vector<int>{57635, 57634, 57637, 57664}));
}

// --- Dialog templates

TEST(Dialogs, EachTemplate_HasItsFrameFontAndSize) {
    const std::map<int, std::string> expected = {
        {100, "100 'tavik のバージョン情報' ＭＳ Ｐゴシック 9pt 139x87 ModalFrame Caption SystemMenu CaptionOkButton"},
        {101, "101 '' ＭＳ Ｐゴシック 9pt 127x117 Child"},
        {131, "131 '項目' System 9pt 115x156 ModalFrame Caption SystemMenu"},
        {132, "132 '名前を付けて保存' System 9pt 137x71 ModalFrame Caption SystemMenu"},
    };
    for (const auto& [id, header] : expected) {
        const DialogTemplate* dialog = FindDialog(id);
        ASSERT_NE(dialog, nullptr) << id;
        EXPECT_EQ(RenderHeader(*dialog), header);
    }
}

TEST(Dialogs, EachTemplate_HasItsControlsInOrder) {
    const std::map<int, std::vector<std::string>> expected = {
        {101,
         {
             "1004 PushButton '○' 0,0,20,13",
             "1008 PushButton '▼' 18,0,20,13",
             "1013 Static '1/25\n3%' 37,0,23,19 AlignRight",
             "1006 ComboBox '' 60,0,67,96 VScroll DropDownList Sort",
             "1005 ListView 'List3' 0,14,119,102 Border ReportView SingleSelection ShowSelectionAlways",
             "1012 Edit '' 102,4,17,13 Hidden MultiLine ReadOnly WantReturn Border VScroll",
         }},
        {131,
         {
             "1023 PushButton '前' 0,0,15,10",
             "1022 PushButton '次' 35,0,15,10",
             "-1 Static '項目' 16,1,17,9 AlignCenter",
             "1 DefaultPushButton 'OK' 57,0,24,10",
             "2 PushButton 'ｷｬﾝｾﾙ' 81,0,34,10",
             "1010 Edit '' 1,11,108,12 Border AutoHScroll",
             "-1 Static 'コメント' 1,24,31,9",
             "1015 PushButton 'ﾌｧｲﾙ名挿入' 73,24,41,10",
             "1011 Edit '' 0,35,109,68 MultiLine WantReturn Border VScroll",
             "1016 OwnerDrawButton 'LNK1' 1,105,27,39",
             "1019 OwnerDrawButton 'LNK2' 29,105,27,39",
             "1020 OwnerDrawButton 'LNK3' 57,105,27,39",
             "1021 OwnerDrawButton 'LNK4' 85,105,27,39",
         }},
        {132,
         {
             "-1 Static '現在のフォルダに保存します。' 0,0,105,10",
             "1014 Static '' 8,11,96,24 NoPrefix",
             "1010 Edit '' 5,41,101,12 Border AutoHScroll",
             "-1 Static '.lst' 106,41,30,11",
             "-1 Static 'ファイルの拡張子を付けないで！' 6,56,115,11",
             "1 DefaultPushButton 'OK' 107,0,27,14",
             "2 PushButton 'キャンセル' 107,19,30,14",
         }},
        {100,
         {
             "-1 Icon '' 11,17,20,20 icon=128",
             "-1 Static 'tavik Version 1.28' 40,10,65,8 NoPrefix",
             "-1 Static 'Copyright (C) 2026 Vantra\nAll rights reserved.\nUses Qt 6 and libjpeg.' 34,25,99,25",
             "-1 Icon '' 106,58,20,20 icon=130",
         }},
    };
    for (const auto& [id, controls] : expected) {
        SCOPED_TRACE(id);
        const DialogTemplate* dialog = FindDialog(id);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(RenderControls(*dialog), controls);
    }
}

TEST(Dialogs, ControlIds_AreUniqueWithinATemplateAndNamed) {
    for (int id : kDialogIds) {
        SCOPED_TRACE(id);
        const DialogTemplate& dialog = *FindDialog(id);
        std::set<int> seen;
        for (const ControlTemplate& control : dialog.controls) {
            if (control.id == -1) {
                continue;
            }
            EXPECT_TRUE(seen.insert(control.id).second) << "twice: " << control.id;
            EXPECT_FALSE(CommandNameOf(control.id).empty()) << "no name: " << control.id;
            EXPECT_EQ(FindControl(dialog, control.id), &control);
        }
    }
}

TEST(Dialogs, EveryControl_LiesInsideItsDialog) {
    for (int id : kDialogIds) {
        const DialogTemplate& dialog = *FindDialog(id);
        for (const ControlTemplate& c : dialog.controls) {
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.width > 0 && c.height > 0 && c.x + c.width <= dialog.width &&
                        c.y + c.height <= dialog.height)
                << id << ": " << Render(c);
        }
    }
}

TEST(Dialogs, TabStops_OnTheControlsThatTakeInput) {
    for (int id : kDialogIds) {
        for (const ControlTemplate& c : FindDialog(id)->controls) {
            const bool takesInput = c.kind != ControlKind::Static && c.kind != ControlKind::Icon;
            EXPECT_EQ((c.styles & kTabStop) != 0, takesInput) << id << ": " << Render(c);
            EXPECT_EQ(c.kind == ControlKind::Icon, c.iconId != 0) << id << ": " << Render(c);
        }
    }
}

TEST(Dialogs, Lookups_OfUnknownIds_FindNothing) {
    for (int id : {0, 102, 128, 130, 133}) {
        EXPECT_EQ(FindDialog(id), nullptr) << id;
    }
    for (int id : {0, 100, 129, 131, 132}) {
        EXPECT_EQ(FindMenu(id), nullptr) << id;
    }
    EXPECT_EQ(FindMenuBar(133), nullptr);
    EXPECT_EQ(FindToolbar(130), nullptr);
    const DialogTemplate& item = *FindDialog(131);
    EXPECT_EQ(FindControl(item, -1), nullptr);     // several statics, none of them addressable
    EXPECT_EQ(FindControl(item, 1014), nullptr);   // a control of another template
}

// --- Strings and version

TEST(Strings, Table_HoldsExactlyTheDefinedTexts) {
    const std::vector<std::pair<int, std::string>> expected = {
        {102, "編集"},
        {103, "ツール"},
        {128, "tavik\n\nTavik\n\n\nTavik.Document\nTavik Document"},
        {1017, "閉じる"},
        {32773, "-popup-"},
        {32813, "表示"},
        {57345, "レディ"},
        {57604, "作業中のファイルに名前を付けて保存\n名前を付けて保存"},
        {57632, "選択範囲を消去\n消去"},
        {57633, "すべて消去\nすべて消去"},
        {57634, "選択範囲をコピーしてクリップボードに保存\nコピー"},
        {57635, "選択範囲を切り取ってクリップボードに保存\n切り取り"},
        {57636, "指定した文字列の検索\n検索"},
        {57637, "クリップボードの内容を貼り付け\n貼り付け"},
        {57640, "直前に行った動作を繰り返す\n繰り返し"},
        {57641, "指定した文字列を他の文字列で置換\n置換"},
        {57642, "ファイル全体を選択\nすべて選択"},
        {57643, "直前に行った動作を元に戻す\n元に戻す"},
        {57644, "直前に元に戻した動作をやり直す\nやり直し"},
        {57653, "作業中のウィンドウを分割\n分割"},
        {57664, "プログラムの情報、バージョン番号そして著作権を表示\nバージョン情報"},
        {57665, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
        {57680, "次のウィンドウに切り替える\n次ページ"},
        {57681, "前のウィンドウに切り替える\n前ページ"},
        {59137, "CAP"},
        {61190, "作業中のウィンドウを閉じ、変更したファイルの保存を指示"},
        {61203, "アプリケーションの切り替え"},
        {65000, "新規作成"},
        {65001, "ファイル"},
        {65002, "ヘルプ"},
        {65003, "保存"},
        {65004, "切り取り"},
        {65005, "コピー"},
        {65006, "貼り付け"},
        {65007, "バージョン情報"},
    };
    std::vector<std::pair<int, std::string>> actual;
    for (const StringEntry& entry : Strings()) {
        actual.emplace_back(entry.id, std::string(entry.text));
    }
    EXPECT_EQ(actual, expected);
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(LoadString(id), text) << id;
    }
}

TEST(Strings, MissingIds_LoadAsEmptyText) {
    for (int id : {-1, 0, 101, 104, 1002, 57603, 65008, 99999}) {
        EXPECT_TRUE(LoadString(id).empty()) << id;
    }
}

TEST(Version, NumbersTextsAndAboutBox_Agree) {
    const VersionInfo& v = Version();
    const auto asText = [](const std::array<int, 4>& n) {
        return std::to_string(n[0]) + ", " + std::to_string(n[1]) + ", " + std::to_string(n[2]) + ", " +
               std::to_string(n[3]);
    };
    EXPECT_EQ(v.fileVersionText, "1, 2, 8, 14");
    EXPECT_EQ(asText(v.fileVersion), v.fileVersionText);
    EXPECT_EQ(asText(v.productVersion), v.productVersionText);
    EXPECT_EQ(v.languageId, 1041);
    EXPECT_EQ(v.originalFileName, "tavik.EXE");
    // The about box names the same release: 1,2,8 reads "1.28".
    const std::string release = std::to_string(v.fileVersion[0]) + '.' + std::to_string(v.fileVersion[1]) +
                                std::to_string(v.fileVersion[2]);
    EXPECT_EQ(FindDialog(100)->controls[1].text, "tavik Version " + release);
    // The about box's notice starts with the copyright line of the version block.
    EXPECT_TRUE(FindDialog(100)->controls[2].text.starts_with(v.legalCopyright));
}

}  // namespace
}  // namespace tavik::res
