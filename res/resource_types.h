#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The shapes of the program's resources. Every window, menu and command is data
// of these types (resources.h holds the data itself); the platform layer builds
// widgets and menus from them. Texts are UTF-8.
namespace tavik::res {

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

struct StringEntry {
    int id;
    std::string_view text;
};

struct CommandName {
    int id;
    std::string_view name;  // the identifier's symbolic name, e.g. "IDC_ADD_ITEM"
};

// A toolbar definition: square buttons of `buttonSize` pixels, one per command, whose
// pictures are cut in order from one bitmap strip.
struct Toolbar {
    int id;
    int buttonSize;
    std::span<const int> commands;
};

// The version block of the program file.
struct VersionInfo {
    std::array<int, 4> fileVersion;
    std::array<int, 4> productVersion;
    std::string_view fileVersionText;
    std::string_view productVersionText;
    std::string_view companyName;
    std::string_view fileDescription;
    std::string_view internalName;
    std::string_view legalCopyright;
    std::string_view legalTrademarks;
    std::string_view originalFileName;
    std::string_view productName;
    int languageId;  // 1041, Japanese
};

}  // namespace tavik::res
