#pragma once

#include "platform/command_target.h"
#include "platform/dialog_builder.h"

#include <QWidget>

namespace tavik {

struct DialogTemplate;

// A child window built from a dialog template, such as the main view: the
// template's font, size and controls, without being a dialog. A click on one of
// its buttons is a command to the form itself (its handler table); controls keep
// their template geometry, and a subclass lays them out again on a resize.
class Form : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    explicit Form(const DialogTemplate& dialog, QWidget* parent = nullptr);

    template <class T = QWidget>
    T* findControl(int id) const
    {
        return DialogBuilder::findControl<T>(*this, id);
    }

protected:
    // Called when button `id` is clicked; the default runs the form's handler of `id`.
    virtual void buttonClicked(int id);
};

}  // namespace tavik
