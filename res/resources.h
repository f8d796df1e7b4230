#pragma once

#include "platform/resource_types.h"
#include "res/command_ids.h"

#include <span>
#include <string_view>

// The program's resources as data: menus, menu bars, dialog templates, accelerators,
// strings and the names of all commands and controls. Everything
// returned lives for the whole program; lookups give nullptr or an empty text for an
// id that does not exist.
namespace tavik::res {

struct StringEntry {
    int id;
    std::string_view text;
};

struct CommandName {
    int id;
    std::string_view name;  // the identifier's symbolic name, e.g. "IDC_ADD_ITEM"
};

const DialogTemplate* FindDialog(int id);
const ControlTemplate* FindControl(const DialogTemplate& dialog, int controlId);
const Menu* FindMenu(int id);
const MenuBar* FindMenuBar(int id);

// The text of string `id`, or an empty text when there is none.
std::string_view LoadString(int id);
std::span<const StringEntry> Strings();  // ordered by id

// Table IDR_MAINFRAME: Ctrl plus a letter.
std::span<const Accelerator> Accelerators();

// Every command and control id with its symbolic name, ordered by id, each id once.
std::span<const CommandName> CommandNames();
// The symbolic name of a command or control, or an empty text when it has none.
std::string_view CommandNameOf(int id);

}  // namespace tavik::res
