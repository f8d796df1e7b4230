#pragma once

#include "platform/resource_types.h"

// Every identifier of the program: commands, controls, menus, dialogs, icons and
// strings. Identifiers from 57344 up are the framework's standard ones and keep
// their standard names. One number may name several resources of different kinds
// (IDR_MAINFRAME is the main menu, its menu bar, the accelerators, the program
// icon and the document string at once).
namespace tavik::res {

// --- Commands of the program's own
inline constexpr int ID_TOOLS_BUTTON = 106;  // the "ツール" button of the menu bar
inline constexpr int IDC_ADD_ITEM = 1002;
inline constexpr int IDC_EDIT_ITEM = 1003;
inline constexpr int IDC_SAVE_AND_EXIT = 1009;  // no sender; the view handles it if it comes
inline constexpr int IDC_CLOSE_VIEW = 1017;  // no sender; the view handles it if it comes
inline constexpr int ID_POPUP_BUTTON = 32771;  // the button of the unused second menu bar
inline constexpr int ID_SHOW_COMMENT = 32778;
inline constexpr int ID_FILE_OVERWRITE = 32779;
inline constexpr int ID_CLEAR_MARKS = 32780;
inline constexpr int ID_MOVE_UP = 32781;
inline constexpr int ID_MOVE_DOWN = 32782;
inline constexpr int ID_FONT_SMALLER = 32783;
inline constexpr int ID_FONT_STANDARD = 32784;
inline constexpr int ID_FONT_LARGER = 32785;
inline constexpr int ID_LIST_SAVE_AS = 32786;
inline constexpr int ID_EDIT_OPEN_PAINT = 32796;
inline constexpr int ID_EDIT_OPEN_FILE = 32798;
inline constexpr int ID_EDIT_RUN_PROGRAM = 32799;
inline constexpr int ID_POPUP2_COPY = 32800;  // "コピー" of "popup2": copies the comment pane's selection
inline constexpr int ID_LIST_OPEN_PAINT = 32801;
inline constexpr int ID_LIST_OPEN_FILE = 32802;
inline constexpr int ID_LIST_RUN_PROGRAM = 32803;
inline constexpr int ID_READ_ALOUD = 32804;
inline constexpr int ID_ITEM_COPY = 32805;
inline constexpr int ID_ITEM_PASTE_APPEND = 32807;
inline constexpr int ID_ITEM_CUT = 32808;
inline constexpr int ID_NEW_LIST = 32815;

// --- Framework commands the program uses
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;  // Ctrl+Y and Ctrl+Shift+Z, the view's own keys
inline constexpr int ID_EDIT_FIND = 57636;  // Ctrl+F, the view's own key
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

// --- Framework commands that appear only as ids of prompt strings
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_EDIT_CLEAR = 57632;
inline constexpr int ID_EDIT_CLEAR_ALL = 57633;
inline constexpr int ID_EDIT_REPEAT = 57640;
inline constexpr int ID_EDIT_REPLACE = 57641;
inline constexpr int ID_EDIT_SELECT_ALL = 57642;
inline constexpr int ID_WINDOW_SPLIT = 57653;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_INDICATOR_CAPS = 59137;

// --- Controls. Buttons report their clicks as commands with these ids.
inline constexpr int IDC_STATIC = -1;  // a control nobody looks up
// Main form (IDD_TAVIK_FORM)
inline constexpr int IDC_MARK_BUTTON = 1004;  // "○"
inline constexpr int IDC_LIST = 1005;
inline constexpr int IDC_FILE_COMBO = 1006;
inline constexpr int IDC_MENU_BUTTON = 1008;  // "▼"
inline constexpr int IDC_COMMENT_PANE = 1012;
inline constexpr int IDC_COUNTER = 1013;
// Item editor (IDD_ITEM); IDC_ITEM_TEXT is also the file name edit of IDD_SAVE_AS
inline constexpr int IDC_ITEM_TEXT = 1010;
inline constexpr int IDC_COMMENT = 1011;
inline constexpr int IDC_INSERT_FILE_NAME = 1015;
inline constexpr int IDC_LINK1 = 1016;
inline constexpr int IDC_LINK2 = 1019;
inline constexpr int IDC_LINK3 = 1020;
inline constexpr int IDC_LINK4 = 1021;
inline constexpr int IDC_NEXT = 1022;
inline constexpr int IDC_PREV = 1023;
// Save-as dialog (IDD_SAVE_AS)
inline constexpr int IDC_CURRENT_FOLDER = 1014;

// --- Menus, menu bars, accelerators, icons, toolbar and the document string
inline constexpr int IDR_MAINFRAME = 128;  // menu "ツール", menu bar, accelerators, icon, toolbar, string
inline constexpr int IDM_LIST_POPUP = 130;  // menu "-popup-" and the unused second menu bar
inline constexpr int IDM_EDIT_POPUP = 133;  // menu "popup_edt" of the item editor's edits
inline constexpr int IDM_POPUP2 = 134;  // menu "popup2" of the comment pane
inline constexpr int IDI_ABOUT_SECOND = 130;  // the about box's second picture

// --- Dialog templates
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_TAVIK_FORM = 101;
inline constexpr int IDD_ITEM = 131;
inline constexpr int IDD_SAVE_AS = 132;

// --- Strings (besides those whose id is a command: IDR_MAINFRAME, IDC_CLOSE_VIEW,
// and the framework commands' prompts)
inline constexpr int IDS_EDIT_LABEL = 102;  // "編集", a menu-bar label nobody uses
inline constexpr int IDS_TOOLS_LABEL = 103;  // "ツール", label of ID_TOOLS_BUTTON
inline constexpr int IDS_POPUP_LABEL = 32773;  // "-popup-", label of ID_POPUP_BUTTON
inline constexpr int IDS_VIEW_LABEL = 32813;  // "表示"
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;  // "レディ"
inline constexpr int AFX_IDS_SCCLOSE = 61190;
inline constexpr int AFX_IDS_SCTASKLIST = 61203;
inline constexpr int IDS_NEW = 65000;
inline constexpr int IDS_FILE = 65001;
inline constexpr int IDS_HELP = 65002;
inline constexpr int IDS_SAVE = 65003;
inline constexpr int IDS_CUT = 65004;
inline constexpr int IDS_COPY = 65005;
inline constexpr int IDS_PASTE = 65006;
inline constexpr int IDS_ABOUT = 65007;

}  // namespace tavik::res
