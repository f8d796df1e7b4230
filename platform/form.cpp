#include "platform/form.h"

#include "res/resource_types.h"

namespace tavik {

Form::Form(const res::DialogTemplate& dialog, QWidget* parent)
    : QWidget(parent)
    , m_template(&dialog)
    , m_units(DialogBuilder::build(dialog, *this, [this](int id) { buttonClicked(id); }))
{
}

void Form::buttonClicked(int id)
{
    executeCommand(id);
}

}  // namespace tavik
