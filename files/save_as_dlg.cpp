#include "files/save_as_dlg.h"

#include "res/resources.h"

#include <QLabel>
#include <QLineEdit>

namespace tavik {

CSaveAsDlg::CSaveAsDlg(QWidget* owner)
    : ModalDialog(*res::FindDialog(res::IDD_SAVE_AS), owner)
{
}

void CSaveAsDlg::OnInitDialog()
{
    if (auto* folder = findControl<QLabel>(res::IDC_CURRENT_FOLDER))
        folder->setText(m_strFolder);
    if (auto* name = findControl<QLineEdit>(res::IDC_ITEM_TEXT)) {
        name->setText(m_strFileName);
        name->setFocus();
    }
}

void CSaveAsDlg::OnOK()
{
    if (auto* name = findControl<QLineEdit>(res::IDC_ITEM_TEXT))
        m_strFileName = name->text();
    ModalDialog::OnOK();
}

}  // namespace tavik
