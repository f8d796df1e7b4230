#include "res/resources.h"

#include <algorithm>

namespace tavik::res {
namespace {

using enum ControlKind;

// --- Menus

constexpr MenuItem Command(int id, std::string_view text)
{
    return {MenuItem::Kind::Command, id, text, {}};
}

constexpr MenuItem Submenu(std::string_view text, std::span<const MenuItem> children)
{
    return {MenuItem::Kind::Submenu, 0, text, children};
}

constexpr MenuItem kSeparator{MenuItem::Kind::Separator, 0, {}, {}};

constexpr MenuItem kToolsItems[] = {
    Command(ID_READ_ALOUD, "読上（VELUN)"),
    Command(ID_APP_ABOUT, "tavik のバージョン情報..."),
    Command(ID_APP_EXIT, "プログラムの終了"),
};

constexpr MenuItem kItemCopyItems[] = {
    Command(ID_ITEM_COPY, "コピー"),
    Command(ID_ITEM_PASTE_APPEND, "追加貼り付け"),
    Command(ID_ITEM_CUT, "切り取り"),
};

constexpr MenuItem kFileItems[] = {
    Command(ID_FILE_OVERWRITE, "保存（上書き）"),
    Command(ID_LIST_SAVE_AS, "名前を付けて保存"),
    Command(ID_NEW_LIST, "新規ファイルを作成"),
    kSeparator,
    Command(ID_CLEAR_MARKS, "マークと日付をクリア"),
};

constexpr MenuItem kFontSizeItems[] = {
    Command(ID_FONT_SMALLER, "文字を小さく"),
    Command(ID_FONT_STANDARD, "文字を標準に"),
    Command(ID_FONT_LARGER, "文字を大きく"),
};

constexpr MenuItem kListPopupItems[] = {
    Command(IDC_ADD_ITEM, "追加"),
    Command(IDC_EDIT_ITEM, "編集"),
    Submenu("項目COPY", kItemCopyItems),
    kSeparator,
    Submenu("ファイル", kFileItems),
    kSeparator,
    Command(ID_MOVE_UP, "上へ移動"),
    Command(ID_MOVE_DOWN, "下へ移動"),
    kSeparator,
    Command(ID_SHOW_COMMENT, "コメントを表示"),
    Submenu("文字サイズ", kFontSizeItems),
    kSeparator,
    Command(ID_READ_ALOUD, "読上（VELUN)"),
    Command(ID_APP_EXIT, "閉じる"),
};

constexpr MenuItem kEditPopupItems[] = {
    Command(ID_EDIT_UNDO, "元に戻す"),
    kSeparator,
    Command(ID_EDIT_COPY, "コピー"),
    Command(ID_EDIT_PASTE, "貼り付け"),
    Command(ID_EDIT_CUT, "切り取り"),
    kSeparator,
    Command(ID_EDIT_OPEN_PAINT, "Drawboを開く"),
    kSeparator,
    Command(ID_EDIT_OPEN_FILE, "ﾌｧｲﾙ名として開く"),
    kSeparator,
    Command(ID_EDIT_RUN_PROGRAM, "プログラムとして起動"),
};

constexpr MenuItem kPopup2Items[] = {
    Command(IDC_EDIT_ITEM, "編集"),
    kSeparator,
    Command(ID_POPUP2_COPY, "コピー"),
    kSeparator,
    Command(ID_LIST_OPEN_PAINT, "Drawboを開く"),
    Command(ID_LIST_OPEN_FILE, "ﾌｧｲﾙ名として開く"),
    Command(ID_LIST_RUN_PROGRAM, "プログラムとして起動"),
};

constexpr Menu kMenus[] = {
    {IDR_MAINFRAME, "ツール", kToolsItems},
    {IDM_LIST_POPUP, "-popup-", kListPopupItems},
    {IDM_EDIT_POPUP, "popup_edt", kEditPopupItems},
    {IDM_POPUP2, "popup2", kPopup2Items},
};

constexpr MenuBar kMenuBars[] = {
    {IDR_MAINFRAME, IDR_MAINFRAME, ID_TOOLS_BUTTON, IDS_TOOLS_LABEL},
    {IDM_LIST_POPUP, IDM_LIST_POPUP, ID_POPUP_BUTTON, IDS_POPUP_LABEL},
};

// --- Dialog templates

constexpr std::string_view kProportionalGothic = "ＭＳ Ｐゴシック";
constexpr std::string_view kSystemFont = "System";

constexpr ControlTemplate kFormControls[] = {
    {IDC_MARK_BUTTON, PushButton, "○", 0, 0, 20, 13, kTabStop},
    {IDC_MENU_BUTTON, PushButton, "▼", 18, 0, 20, 13, kTabStop},
    {IDC_COUNTER, Static, "1/25\n3%", 37, 0, 23, 19, kAlignRight},
    {IDC_FILE_COMBO, ComboBox, "", 60, 0, 67, 96, kDropDownList | kSort | kVScroll | kTabStop},
    {IDC_LIST, ListView, "List3", 0, 14, 119, 102,
        kReportView | kSingleSelection | kShowSelectionAlways | kBorder | kTabStop},
    {IDC_COMMENT_PANE, Edit, "", 102, 4, 17, 13,
        kMultiLine | kReadOnly | kWantReturn | kBorder | kVScroll | kHidden | kTabStop},
};

constexpr ControlTemplate kItemControls[] = {
    {IDC_PREV, PushButton, "前", 0, 0, 15, 10, kTabStop},
    {IDC_NEXT, PushButton, "次", 35, 0, 15, 10, kTabStop},
    {IDC_STATIC, Static, "項目", 16, 1, 17, 9, kAlignCenter},
    {IDOK, DefaultPushButton, "OK", 57, 0, 24, 10, kTabStop},
    {IDCANCEL, PushButton, "ｷｬﾝｾﾙ", 81, 0, 34, 10, kTabStop},
    {IDC_ITEM_TEXT, Edit, "", 1, 11, 108, 12, kAutoHScroll | kBorder | kTabStop},
    {IDC_STATIC, Static, "コメント", 1, 24, 31, 9},
    {IDC_INSERT_FILE_NAME, PushButton, "ﾌｧｲﾙ名挿入", 73, 24, 41, 10, kTabStop},
    {IDC_COMMENT, Edit, "", 0, 35, 109, 68, kMultiLine | kWantReturn | kBorder | kVScroll | kTabStop},
    {IDC_LINK1, OwnerDrawButton, "LNK1", 1, 105, 27, 39, kTabStop},
    {IDC_LINK2, OwnerDrawButton, "LNK2", 29, 105, 27, 39, kTabStop},
    {IDC_LINK3, OwnerDrawButton, "LNK3", 57, 105, 27, 39, kTabStop},
    {IDC_LINK4, OwnerDrawButton, "LNK4", 85, 105, 27, 39, kTabStop},
};

constexpr ControlTemplate kSaveAsControls[] = {
    {IDC_STATIC, Static, "現在のフォルダに保存します。", 0, 0, 105, 10},
    // A folder name is shown as it is: an "&" in it is no mnemonic.
    {IDC_CURRENT_FOLDER, Static, "", 8, 11, 96, 24, kNoPrefix},
    {IDC_ITEM_TEXT, Edit, "", 5, 41, 101, 12, kAutoHScroll | kBorder | kTabStop},
    {IDC_STATIC, Static, ".lst", 106, 41, 30, 11},
    {IDC_STATIC, Static, "ファイルの拡張子を付けないで！", 6, 56, 115, 11},
    {IDOK, DefaultPushButton, "OK", 107, 0, 27, 14, kTabStop},
    {IDCANCEL, PushButton, "キャンセル", 107, 19, 30, 14, kTabStop},
};

constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, Icon, "", 11, 17, 20, 20, kNone, IDR_MAINFRAME},
    {IDC_STATIC, Static, "tavik Version 1.28", 40, 10, 65, 8, kNoPrefix},
    {IDC_STATIC, Static,
        "Copyright (C) 2026 Vantra\n"
        "All rights reserved.\n"
        "Uses Qt 6 and libjpeg.",
        34, 25, 99, 25},
    {IDC_STATIC, Icon, "", 106, 58, 20, 20, kNone, IDI_ABOUT_SECOND},
};

constexpr std::uint32_t kModalDialog = kModalFrame | kCaption | kSystemMenu;

constexpr DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, "tavik のバージョン情報", kProportionalGothic, 9, 139, 87, kModalDialog | kCaptionOkButton,
        kAboutControls},
    {IDD_TAVIK_FORM, "", kProportionalGothic, 9, 127, 117, kChild, kFormControls},
    {IDD_ITEM, "項目", kSystemFont, 9, 115, 156, kModalDialog, kItemControls},
    {IDD_SAVE_AS, "名前を付けて保存", kSystemFont, 9, 137, 71, kModalDialog, kSaveAsControls},
};

// --- Accelerators, strings, names

constexpr Accelerator kAccelerators[] = {
    {'N', ID_FILE_NEW},
    {'O', ID_FILE_OPEN},
    {'S', ID_FILE_SAVE},
    {'Q', ID_APP_EXIT},
    {'Z', ID_EDIT_UNDO},
    {'X', ID_EDIT_CUT},
    {'C', ID_EDIT_COPY},
    {'V', ID_EDIT_PASTE},
};

constexpr StringEntry kStrings[] = {
    {IDS_EDIT_LABEL, "編集"},
    {IDS_TOOLS_LABEL, "ツール"},
    {IDR_MAINFRAME, "tavik\n\nTavik\n\n\nTavik.Document\nTavik Document"},
    {IDC_CLOSE_VIEW, "閉じる"},
    {IDS_POPUP_LABEL, "-popup-"},
    {IDS_VIEW_LABEL, "表示"},
    {AFX_IDS_IDLEMESSAGE, "レディ"},
    {ID_FILE_SAVE_AS, "作業中のファイルに名前を付けて保存\n名前を付けて保存"},
    {ID_EDIT_CLEAR, "選択範囲を消去\n消去"},
    {ID_EDIT_CLEAR_ALL, "すべて消去\nすべて消去"},
    {ID_EDIT_COPY, "選択範囲をコピーしてクリップボードに保存\nコピー"},
    {ID_EDIT_CUT, "選択範囲を切り取ってクリップボードに保存\n切り取り"},
    {ID_EDIT_FIND, "指定した文字列の検索\n検索"},
    {ID_EDIT_PASTE, "クリップボードの内容を貼り付け\n貼り付け"},
    {ID_EDIT_REPEAT, "直前に行った動作を繰り返す\n繰り返し"},
    {ID_EDIT_REPLACE, "指定した文字列を他の文字列で置換\n置換"},
    {ID_EDIT_SELECT_ALL, "ファイル全体を選択\nすべて選択"},
    {ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す"},
    {ID_EDIT_REDO, "直前に元に戻した動作をやり直す\nやり直し"},
    {ID_WINDOW_SPLIT, "作業中のウィンドウを分割\n分割"},
    {ID_APP_ABOUT, "プログラムの情報、バージョン番号そして著作権を表示\nバージョン情報"},
    {ID_APP_EXIT, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
    {ID_NEXT_PANE, "次のウィンドウに切り替える\n次ページ"},
    {ID_PREV_PANE, "前のウィンドウに切り替える\n前ページ"},
    {ID_INDICATOR_CAPS, "CAP"},
    {AFX_IDS_SCCLOSE, "作業中のウィンドウを閉じ、変更したファイルの保存を指示"},
    {AFX_IDS_SCTASKLIST, "アプリケーションの切り替え"},
    {IDS_NEW, "新規作成"},
    {IDS_FILE, "ファイル"},
    {IDS_HELP, "ヘルプ"},
    {IDS_SAVE, "保存"},
    {IDS_CUT, "切り取り"},
    {IDS_COPY, "コピー"},
    {IDS_PASTE, "貼り付け"},
    {IDS_ABOUT, "バージョン情報"},
};

// Lookups by id rely on this order; a table edited out of order fails the build.
template <typename T>
constexpr bool StrictlyAscending(std::span<const T> table)
{
    return std::ranges::adjacent_find(table, [](const T& a, const T& b) { return a.id >= b.id; }) == table.end();
}
static_assert(StrictlyAscending<StringEntry>(kStrings));

template <typename T>
const T* FindById(std::span<const T> table, int id)
{
    const auto it = std::ranges::find(table, id, &T::id);
    return it == table.end() ? nullptr : &*it;
}

template <typename T>
const T* FindInAscending(std::span<const T> table, int id)
{
    const auto it = std::ranges::lower_bound(table, id, {}, &T::id);
    return it == table.end() || it->id != id ? nullptr : &*it;
}

}  // namespace

const DialogTemplate* FindDialog(int id)
{
    return FindById<DialogTemplate>(kDialogs, id);
}

const Menu* FindMenu(int id)
{
    return FindById<Menu>(kMenus, id);
}

const MenuBar* FindMenuBar(int id)
{
    return FindById<MenuBar>(kMenuBars, id);
}

std::string_view LoadString(int id)
{
    const StringEntry* entry = FindInAscending<StringEntry>(kStrings, id);
    return entry ? entry->text : std::string_view{};
}

std::span<const Accelerator> Accelerators()
{
    return kAccelerators;
}

}  // namespace tavik::res
