#include "app/about_dlg.h"

#include "res/resources.h"

namespace tavik {

CAboutDlg::CAboutDlg(QWidget* owner)
    : ModalDialog(*res::FindDialog(res::IDD_ABOUTBOX), owner)
{
}

}  // namespace tavik
