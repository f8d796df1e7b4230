#pragma once

#include "platform/modal_dialog.h"
#include "res/command_ids.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace tavik {

// Works the program's modal dialogs from a script while it lives, without an event loop.
// Each dialog takes the next entry of the script, which must be for its template: a function
// that gets the live, initialised dialog and returns the result. A dialog the script does not
// expect fails the running test and ends with IDCANCEL; entries left over at the end fail it too.
class ScriptedDialogs {
public:
    ScriptedDialogs()
    {
        ModalDialog::standIn.set([this](ModalDialog& dialog) {
            if (pending() > 0 && m_script.first().first == dialog.templateId())
                return m_script.takeFirst().second(dialog);
            ADD_FAILURE() << "unexpected dialog on template " << dialog.templateId();
            return int(IDCANCEL);
        });
    }
    ~ScriptedDialogs()
    {
        ModalDialog::standIn.set(nullptr);
        EXPECT_EQ(pending(), 0) << "scripted dialogs never came";
    }

    ScriptedDialogs& expect(int templateId, std::function<int(ModalDialog& dialog)> script)
    {
        m_script.append({templateId, std::move(script)});
        return *this;
    }
    // Clicks button `buttonId` of a running dialog and gives the result it ended with. A button
    // the user could not press, or one that does not end the dialog, fails the test and gives -1.
    static int press(ModalDialog& dialog, int buttonId)
    {
        auto* button = dialog.findControl<QAbstractButton>(buttonId);
        if (button && !button->isHidden() && button->isEnabled())
            button->click();
        EXPECT_TRUE(dialog.endResult()) << "button " << buttonId << " of dialog " << dialog.templateId()
                                        << " is missing, hidden or disabled, or does not end the dialog";
        return dialog.endResult().value_or(-1);
    }

    int pending() const { return int(m_script.size()); }

private:
    QList<std::pair<int, std::function<int(ModalDialog&)>>> m_script;
};

}  // namespace tavik
