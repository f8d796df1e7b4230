#pragma once

#include "platform/modal_dialog.h"

namespace tavik {

// The about box: the program's name, version and legal notice.
class CAboutDlg : public ModalDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* owner);
};

}  // namespace tavik
