#pragma once

#include "platform/modal_dialog.h"

namespace tavik {

// Asks for the name of a checklist file to write in the current folder, for Save As
// and New file alike. The name is typed without its extension.
class CSaveAsDlg : public ModalDialog {
    Q_OBJECT
public:
    explicit CSaveAsDlg(QWidget* owner = nullptr);

    QString m_strFileName;  // read back when the dialog ends with OK
    QString m_strFolder;  // shown to the user

protected:
    void OnInitDialog() override;
    void OnOK() override;
};

}  // namespace tavik
