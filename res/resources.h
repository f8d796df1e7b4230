#pragma once

#include "platform/resource_types.h"
#include "res/command_ids.h"

#include <span>
#include <string_view>

// The program's resources as data: menus, menu bars, dialog templates, accelerators and
// strings. Everything returned lives for the whole program; lookups give nullptr or an
// empty text for an id that does not exist.
namespace tavik::res {

struct StringEntry {
    int id;
    std::string_view text;
};

const DialogTemplate* FindDialog(int id);
const Menu* FindMenu(int id);
const MenuBar* FindMenuBar(int id);

// The text of string `id`, or an empty text when there is none.
std::string_view LoadString(int id);

// Table IDR_MAINFRAME: Ctrl plus a letter.
std::span<const Accelerator> Accelerators();

}  // namespace tavik::res
