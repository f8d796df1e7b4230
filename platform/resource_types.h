#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The shapes of the data that windows and menus are built from: dialog templates,
// menus and accelerator tables. The program's resources fill them; the platform
// layer builds widgets and menus from them. Texts are UTF-8.
namespace tavik {

// The standard button ids: a button with one of these ids ends a modal dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

enum class ControlKind {
    PushButton,
    DefaultPushButton,
    OwnerDrawButton,
    Static,
    Icon,  // a static picture; `iconId` names the icon
    Edit,
    ComboBox,
    ListView,
};

// Window styles of a control or dialog, as independent flags.
enum Style : std::uint32_t {
    kNone = 0,
    kHidden = 1u << 0,  // created without the visible style
    kAlignRight = 1u << 1,
    kAlignCenter = 1u << 2,
    kNoPrefix = 1u << 3,  // "&" is shown, not taken as a mnemonic
    kMultiLine = 1u << 4,
    kReadOnly = 1u << 5,
    kWantReturn = 1u << 6,
    kBorder = 1u << 7,
    kVScroll = 1u << 8,
    kAutoHScroll = 1u << 9,
    kDropDownList = 1u << 10,
    kSort = 1u << 11,
    kReportView = 1u << 12,
    kSingleSelection = 1u << 13,
    kShowSelectionAlways = 1u << 14,
    kTabStop = 1u << 15,
    // Dialog styles
    kChild = 1u << 20,
    kModalFrame = 1u << 21,
    kCaption = 1u << 22,
    kSystemMenu = 1u << 23,
    kCaptionOkButton = 1u << 24,  // an OK button in the caption ends the dialog with IDOK
};

struct ControlTemplate {
    int id;  // -1 for a static without an id
    ControlKind kind;
    std::string_view text;
    int x, y, width, height;  // dialog units
    std::uint32_t styles = kNone;
    int iconId = 0;
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    std::string_view fontFace;
    int fontPointSize;
    int width, height;  // dialog units
    std::uint32_t styles;
    std::span<const ControlTemplate> controls;
};

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind;
    int id;  // the command; 0 for a separator or submenu
    std::string_view text;
    std::span<const MenuItem> children;  // the entries of a submenu
};

// A menu resource: its one top-level entry is a popup, and that popup is what the
// program shows.
struct Menu {
    int id;
    std::string_view popupTitle;
    std::span<const MenuItem> items;
};

// A menu-bar definition: one drop-down text button whose drop-down is the popup of `menuId`.
struct MenuBar {
    int id;
    int menuId;
    int buttonCommand;
    int labelStringId;
};

struct Accelerator {
    char key;  // an upper-case letter, pressed with Ctrl
    int command;
};

}  // namespace tavik
