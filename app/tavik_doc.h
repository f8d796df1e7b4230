#pragma once

#include "platform/command_target.h"

namespace tavik {

class CTavikView;

// The document holds no data of its own: the checklist lives in the view. Its one
// task is the exit hook, which writes a modified checklist back before the main
// window closes.
class CTavikDoc : public CommandTarget {
public:
    void setView(CTavikView* view) { m_view = view; }
    CTavikView* firstView() const { return m_view; }

    bool OnNewDocument() { return true; }

    // Asked before the main window closes; false keeps it open.
    bool CanCloseFrame();

private:
    CTavikView* m_view = nullptr;
};

}  // namespace tavik
