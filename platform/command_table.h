#pragma once

#include "platform/command_target.h"
#include "platform/command_ui.h"

#include <initializer_list>
#include <vector>

namespace tavik {

// The table of command handlers and update handlers of class T, written in one
// place like a message map:
//
//   const CommandMap& CTavikView::commandMap() const {
//       static const CommandTable<CTavikView> table{
//           {res::ID_MOVE_UP, &CTavikView::OnMoveUp},
//           {res::ID_MOVE_UP, &CTavikView::OnUpdateMoveUp},
//       };
//       return table;
//   }
//
// A command handler is `void On...()`, an update handler `void OnUpdate...(CommandUi&)`.
// When an id appears twice for the same kind of handler, the first entry counts.
template <class T>
class CommandTable final : public CommandMap {
public:
    using Handler = void (T::*)();
    using UpdateHandler = void (T::*)(CommandUi&);

    struct Entry {
        Entry(int commandId, Handler onCommand)
            : id(commandId)
            , handler(onCommand)
        {
        }
        Entry(int commandId, UpdateHandler onUpdate)
            : id(commandId)
            , updateHandler(onUpdate)
        {
        }

        int id = 0;
        Handler handler = nullptr;
        UpdateHandler updateHandler = nullptr;
    };

    CommandTable(std::initializer_list<Entry> entries)
        : m_entries(entries)
    {
    }

    bool execute(CommandTarget& target, int id) const override
    {
        for (const Entry& entry : m_entries) {
            if (entry.id == id && entry.handler) {
                (static_cast<T&>(target).*entry.handler)();
                return true;
            }
        }
        return false;
    }

    bool update(CommandTarget& target, CommandUi& ui) const override
    {
        for (const Entry& entry : m_entries) {
            if (entry.id == ui.id() && entry.updateHandler) {
                (static_cast<T&>(target).*entry.updateHandler)(ui);
                return true;
            }
        }
        return false;
    }

    bool hasHandler(int id) const override
    {
        for (const Entry& entry : m_entries) {
            if (entry.id == id && entry.handler)
                return true;
        }
        return false;
    }

private:
    std::vector<Entry> m_entries;
};

}  // namespace tavik
