#include "res/resources.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tavik::res {
namespace {

// A command id that has no name in the table of names shows up as "id?".
std::string Id(int id)
{
    return std::to_string(id) + (id > 0 && CommandNameOf(id).empty() ? "?" : "");
}

// Commands as "text id", separators as "-", submenus as ">text(entries)".
std::string Render(std::span<const MenuItem> items)
{
    std::string out;
    for (const MenuItem& item : items) {
        const std::string text(item.text);
        out += out.empty() ? "" : "|";
        out += item.kind == MenuItem::Kind::Separator ? "-"
            : item.kind == MenuItem::Kind::Submenu    ? '>' + text + '(' + Render(item.children) + ')'
                                                      : text + ' ' + Id(item.id);
    }
    return out;
}

std::string Styles(std::uint32_t styles)
{
    static const std::pair<std::uint32_t, const char*> kNames[] = {{kHidden, "hidden"}, {kAlignRight, "right"},
        {kAlignCenter, "center"}, {kNoPrefix, "noprefix"}, {kMultiLine, "multiline"}, {kReadOnly, "readonly"},
        {kWantReturn, "wantreturn"}, {kBorder, "border"}, {kVScroll, "vscroll"}, {kAutoHScroll, "autohscroll"},
        {kDropDownList, "droplist"}, {kSort, "sort"}, {kReportView, "report"}, {kSingleSelection, "single"},
        {kShowSelectionAlways, "showsel"}, {kTabStop, "tab"}, {kChild, "child"}, {kModalFrame, "modal"},
        {kCaption, "caption"}, {kSystemMenu, "sysmenu"}, {kCaptionOkButton, "okbutton"}};
    std::string out;
    for (const auto& [flag, name] : kNames)
        out += (styles & flag) ? std::string(" ") + name : "";
    return out;
}

// "id 'caption' font size WxH styles", then per control "id kind 'text' x,y,w,h styles [icon id]".
std::string Render(const DialogTemplate& d)
{
    static const char* const kKinds[] = {"button", "default", "ownerdraw", "static", "icon", "edit", "combo", "list"};
    std::ostringstream out;
    out << d.id << " '" << d.caption << "' " << d.fontFace << ' ' << d.fontPointSize << "pt " << d.width << 'x'
        << d.height << Styles(d.styles);
    for (const ControlTemplate& c : d.controls) {
        out << " | " << Id(c.id) << ' ' << kKinds[static_cast<int>(c.kind)] << " '" << c.text << "' " << c.x << ','
            << c.y << ',' << c.width << ',' << c.height << Styles(c.styles);
        out << (c.iconId ? " " + std::to_string(c.iconId) : "");
    }
    return out.str();
}

TEST(Resources, Menus_HaveTheirEntriesInOrder)
{
    const std::pair<int, std::string> expected[] = {
        {128, "ツール: 読上（VELUN) 32804|tavik のバージョン情報... 57664|プログラムの終了 57665"},
        {130,
            "-popup-: 追加 1002|編集 1003|>項目COPY(コピー 32805|追加貼り付け 32807|切り取り "
            "32808)|-|>ファイル(保存（上書き） 32779|名前を付けて保存 32786|新規ファイルを作成 "
            "32815|-|マークと日付をクリア 32780)|-|上へ移動 32781|下へ移動 32782|-|コメントを表示 "
            "32778|>文字サイズ(文字を小さく 32783|文字を標準に 32784|文字を大きく 32785)|-|読上（VELUN) 32804|閉じる "
            "57665"},
        {133,
            "popup_edt: 元に戻す 57643|-|コピー 57634|貼り付け 57637|切り取り 57635|-|Drawboを開く "
            "32796|-|ﾌｧｲﾙ名として開く 32798|-|プログラムとして起動 32799"},
        {134,
            "popup2: 編集 1003|-|コピー 32800|-|Drawboを開く 32801|ﾌｧｲﾙ名として開く 32802|プログラムとして起動 32803"},
    };
    for (const auto& [id, entries] : expected) {
        ASSERT_NE(FindMenu(id), nullptr) << id;
        EXPECT_EQ(std::string(FindMenu(id)->popupTitle) + ": " + Render(FindMenu(id)->items), entries);
    }
}

TEST(Resources, MenuBarsToolbarAndAccelerators_SendTheirCommands)
{
    std::ostringstream out;
    for (int id : {128, 130}) {
        ASSERT_NE(FindMenuBar(id), nullptr) << id;
        const MenuBar& bar = *FindMenuBar(id);
        out << id << ':' << bar.menuId << ' ' << Id(bar.buttonCommand) << " '" << LoadString(bar.labelStringId) << "' ";
    }
    ASSERT_NE(FindToolbar(128), nullptr);
    out << "toolbar " << FindToolbar(128)->buttonSize << "px:";
    for (int command : FindToolbar(128)->commands)
        out << ' ' << Id(command);
    for (const Accelerator& a : Accelerators())
        out << "; Ctrl+" << a.key << ' ' << Id(a.command);
    EXPECT_EQ(out.str(),
        "128:128 106 'ツール' 130:130 32771 '-popup-' toolbar 16px: 57635 57634 57637 57664; Ctrl+N 57600; Ctrl+O "
        "57601; Ctrl+S 57603; Ctrl+Q 57665; Ctrl+Z 57643; Ctrl+X 57635; Ctrl+C 57634; Ctrl+V 57637");
}

// The renderings of menus, bars, keys and dialogs mark an id that has no name with "?"; here the names themselves.
TEST(Resources, CommandNames_NameEachIdOnce)
{
    const auto names = CommandNames();
    EXPECT_EQ(names.size(), 54u);
    for (const CommandName& entry : names)
        EXPECT_EQ(CommandNameOf(entry.id), entry.name);
    std::string sample;
    for (int id : {1002, 1009, 1017, 32800, 57600, 57665})
        sample += std::string(CommandNameOf(id)) + ' ';
    EXPECT_EQ(sample, "IDC_ADD_ITEM IDC_SAVE_AND_EXIT IDC_CLOSE_VIEW ID_POPUP2_COPY ID_FILE_NEW ID_APP_EXIT ");
    EXPECT_EQ(CommandNameOf(32806), "");
}

TEST(Resources, DialogTemplates_HaveTheirFrameAndControlsInOrder)
{
    const std::pair<int, std::string> expected[] = {
        {100,
            "100 'tavik のバージョン情報' ＭＳ Ｐゴシック 9pt 139x87 modal caption sysmenu okbutton | -1 icon '' "
            "11,17,20,20 128 | -1 static 'tavik Version 1.28' 40,10,65,8 noprefix | -1 static 'Copyright (C) 2026 "
            "Vantra\nAll rights reserved.\nUses Qt 6 and libjpeg.' 34,25,99,25 | -1 icon '' 106,58,20,20 130"},
        {101,
            "101 '' ＭＳ Ｐゴシック 9pt 127x117 child | 1004 button '○' 0,0,20,13 tab | 1008 button '▼' 18,0,20,13 tab "
            "| 1013 static '1/25\n3%' 37,0,23,19 right | 1006 combo '' 60,0,67,96 vscroll droplist sort tab | 1005 "
            "list 'List3' 0,14,119,102 border report single showsel tab | 1012 edit '' 102,4,17,13 hidden multiline "
            "readonly wantreturn border vscroll tab"},
        {131,
            "131 '項目' System 9pt 115x156 modal caption sysmenu | 1023 button '前' 0,0,15,10 tab | 1022 button '次' "
            "35,0,15,10 tab | -1 static '項目' 16,1,17,9 center | 1 default 'OK' 57,0,24,10 tab | 2 button 'ｷｬﾝｾﾙ' "
            "81,0,34,10 tab | 1010 edit '' 1,11,108,12 border autohscroll tab | -1 static 'コメント' 1,24,31,9 | 1015 "
            "button 'ﾌｧｲﾙ名挿入' 73,24,41,10 tab | 1011 edit '' 0,35,109,68 multiline wantreturn border vscroll tab | "
            "1016 ownerdraw 'LNK1' 1,105,27,39 tab | 1019 ownerdraw 'LNK2' 29,105,27,39 tab | 1020 ownerdraw 'LNK3' "
            "57,105,27,39 tab | 1021 ownerdraw 'LNK4' 85,105,27,39 tab"},
        {132,
            "132 '名前を付けて保存' System 9pt 137x71 modal caption sysmenu | -1 static '現在のフォルダに保存します。' "
            "0,0,105,10 | 1014 static '' 8,11,96,24 noprefix | 1010 edit '' 5,41,101,12 border autohscroll tab | -1 "
            "static '.lst' 106,41,30,11 | -1 static 'ファイルの拡張子を付けないで！' 6,56,115,11 | 1 default 'OK' "
            "107,0,27,14 tab | 2 button 'キャンセル' 107,19,30,14 tab"},
    };
    for (const auto& [id, dialog] : expected) {
        ASSERT_NE(FindDialog(id), nullptr) << id;
        EXPECT_EQ(Render(*FindDialog(id)), dialog);
    }
    // Controls are found by id within their own template only.
    EXPECT_EQ(FindControl(*FindDialog(132), 1014), &FindDialog(132)->controls[1]);
    EXPECT_EQ(FindControl(*FindDialog(131), 1014), nullptr);
}

TEST(Resources, Strings_AreOrderedByIdAndLoadByIt)
{
    EXPECT_EQ(Strings().size(), 35u);
    EXPECT_TRUE(std::ranges::adjacent_find(Strings(), std::greater_equal<>(), &StringEntry::id) == Strings().end());
    const std::pair<int, std::string_view> samples[]
        = {{102, "編集"}, {128, "tavik\n\nTavik\n\n\nTavik.Document\nTavik Document"}, {1017, "閉じる"},
            {32773, "-popup-"}, {57665, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
            {65007, "バージョン情報"}, {104, ""}, {65008, ""}};
    for (const auto& [id, text] : samples)
        EXPECT_EQ(LoadString(id), text) << id;
}

// Linking tavik_res_icons alone must be enough for the icons to be found.
TEST(Resources, Icons_LoadAtTheirSizeWithTransparentCorners)
{
    const std::pair<const char*, int> icons[] = {{"128", 32}, {"128-16", 16}, {"130", 32}, {"tavik-256", 256}};
    for (const auto& [name, px] : icons) {
        const QImage icon(QStringLiteral(":/icons/%1.png").arg(name));
        EXPECT_TRUE(icon.size() == QSize(px, px) && icon.hasAlphaChannel() && qAlpha(icon.pixel(0, 0)) == 0) << name;
    }
}

}  // namespace
}  // namespace tavik::res
