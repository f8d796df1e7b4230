#include "platform/form.h"

#include "platform/resource_types.h"

namespace tavik {

Form::Form(const DialogTemplate& dialog, QWidget* parent)
    : QWidget(parent)
{
    DialogBuilder::build(dialog, *this, [this](int id) { buttonClicked(id); });
}

void Form::buttonClicked(int id)
{
    executeCommand(id);
}

}  // namespace tavik
