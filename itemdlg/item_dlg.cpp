#include "itemdlg/item_dlg.h"

#include "itemdlg/link_launcher.h"
#include "itemdlg/link_slots.h"
#include "platform/clipboard.h"
#include "platform/command_table.h"
#include "platform/edit_control.h"
#include "platform/file_open_dialog.h"
#include "platform/message_box.h"
#include "platform/owner_draw_button.h"
#include "platform/popup_menu.h"
#include "platform/tap_and_hold.h"
#include "res/resources.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tavik {

namespace {

// The files "ﾌｧｲﾙ名挿入" offers, the first one chosen.
const QString kInsertFileFilter = QStringLiteral("text file(*.txt)|*.txt|Bitmap(*.bmp)|*.bmp|AllFile(*.*)|*.*||");

// Puts a button out of sight and out of the way without hiding it.
void ShrinkToCorner(QWidget& control)
{
    control.setGeometry(0, 0, 1, 1);
}

}  // namespace

CItemDlg::CItemDlg(QWidget* owner)
    : ModalDialog(*res::FindDialog(res::IDD_ITEM), owner)
{
    m_btnPrev = findControl<QPushButton>(res::IDC_PREV);
    m_btnNext = findControl<QPushButton>(res::IDC_NEXT);
    m_btnLink = {findControl<OwnerDrawButton>(res::IDC_LINK4), findControl<OwnerDrawButton>(res::IDC_LINK3),
        findControl<OwnerDrawButton>(res::IDC_LINK2), findControl<OwnerDrawButton>(res::IDC_LINK1)};
    m_editItem = findControl<QLineEdit>(res::IDC_ITEM_TEXT);
    m_editComment = findControl<QPlainTextEdit>(res::IDC_COMMENT);
    for (QWidget* edit : {static_cast<QWidget*>(m_editItem), static_cast<QWidget*>(m_editComment)}) {
        TapAndHold::watch(
            *edit, [this, edit](const QPoint&, const QPoint& globalPos) { OnEditContextMenu(*edit, globalPos); });
    }
    m_popupRoute.append(*this);
}

const CommandMap& CItemDlg::commandMap() const
{
    static const CommandTable<CItemDlg> table{
        {res::IDC_NEXT, &CItemDlg::OnNext},
        {res::IDC_PREV, &CItemDlg::OnPrevious},
        {res::IDC_INSERT_FILE_NAME, &CItemDlg::OnInsertFileName},
        {res::ID_EDIT_UNDO, &CItemDlg::OnEditUndo},
        {res::ID_EDIT_UNDO, &CItemDlg::OnUpdateEditUndo},
        {res::ID_EDIT_COPY, &CItemDlg::OnEditCopy},
        {res::ID_EDIT_COPY, &CItemDlg::OnUpdateEditCopy},
        {res::ID_EDIT_PASTE, &CItemDlg::OnEditPaste},
        {res::ID_EDIT_PASTE, &CItemDlg::OnUpdateEditPaste},
        {res::ID_EDIT_CUT, &CItemDlg::OnEditCut},
        {res::ID_EDIT_CUT, &CItemDlg::OnUpdateEditCut},
        {res::ID_EDIT_OPEN_PAINT, &CItemDlg::OnEditOpenPaint},
        {res::ID_EDIT_OPEN_FILE, &CItemDlg::OnEditOpenFile},
        {res::ID_EDIT_RUN_PROGRAM, &CItemDlg::OnEditRunProgram},
    };
    return table;
}

void CItemDlg::OnInitDialog()
{
    EditControl::setText(*m_editItem, m_strItem);
    EditControl::setText(*m_editComment, m_strComment);

    if (m_bHideNavigation) {
        ShrinkToCorner(*m_btnNext);
        ShrinkToCorner(*m_btnPrev);
        m_btnNext->setEnabled(false);
        m_btnPrev->setEnabled(false);
    }
    widenComment();
    m_pActiveEdit = m_editItem;

    const LinkSlots found = LinkSlots::find(m_strComment);
    m_strLinkPath = found.paths;
    m_strLinkLabel = found.labels;
    for (int slot = 0; slot < LinkSlots::kCount; ++slot) {
        // A button without a label stays enabled, only out of sight.
        if (m_strLinkLabel[slot].isEmpty())
            ShrinkToCorner(*m_btnLink[3 - slot]);
    }
    m_editItem->setFocus();
}

void CItemDlg::resizeEvent(QResizeEvent* event)
{
    ModalDialog::resizeEvent(event);
    widenComment();
}

void CItemDlg::widenComment()
{
    // The comment reaches the right edge of the dialog, whatever its width.
    QRect rect = m_editComment->geometry();
    rect.setRight(width() - 1);
    m_editComment->setGeometry(rect);
}

bool CItemDlg::DoDataExchangeOut()
{
    const QString item = EditControl::text(*m_editItem);
    if (m_refuseItem) {
        if (const QString refusal = m_refuseItem(item); !refusal.isEmpty()) {
            MessageBox::show(this, refusal, MessageButtons::Ok, MessageIcon::Warning);
            m_editItem->setFocus();
            return false;
        }
    }
    m_strItem = item;
    m_strComment = EditControl::text(*m_editComment);
    return true;
}

void CItemDlg::OnOK()
{
    if (DoDataExchangeOut())
        endDialog(IDOK);
}

void CItemDlg::OnNext()
{
    if (DoDataExchangeOut())
        endDialog(kNext);
}

void CItemDlg::OnPrevious()
{
    if (DoDataExchangeOut())
        endDialog(kPrevious);
}

void CItemDlg::OnEditContextMenu(QWidget& edit, const QPoint& globalPos)
{
    m_pActiveEdit = &edit;
    PopupMenu::showOwnedByFrame(*res::FindMenu(res::IDM_EDIT_POPUP), globalPos, *this, m_popupRoute);
}

void CItemDlg::OnInsertFileName()
{
    const std::optional<QString> path = FileOpenDialog::getOpenFileName(this, kInsertFileFilter);
    if (!path)
        return;
    // Into the comment whichever edit is active; undoable like typing.
    EditControl::replaceSelection(*m_editComment, *path);
}

void CItemDlg::OnEditUndo()
{
    EditControl::undo(*m_pActiveEdit);
}

void CItemDlg::OnEditCopy()
{
    EditControl::copy(*m_pActiveEdit);
}

void CItemDlg::OnEditPaste()
{
    EditControl::paste(*m_pActiveEdit);
}

void CItemDlg::OnEditCut()
{
    EditControl::cut(*m_pActiveEdit);
}

void CItemDlg::OnEditOpenPaint()
{
    if (m_pView)
        m_pView->OpenInPaintProgram(m_pActiveEdit, QString());
}

void CItemDlg::OnEditOpenFile()
{
    if (m_pView)
        m_pView->OpenAsFileName(m_pActiveEdit, QString());
}

void CItemDlg::OnEditRunProgram()
{
    if (m_pView)
        m_pView->LaunchAsProgram(m_pActiveEdit, QString());
}

void CItemDlg::OnUpdateEditUndo(CommandUi& ui)
{
    ui.setEnabled(EditControl::canUndo(*m_pActiveEdit));
}

void CItemDlg::OnUpdateEditCopy(CommandUi& ui)
{
    ui.setEnabled(EditControl::hasSelection(*m_pActiveEdit));
}

void CItemDlg::OnUpdateEditPaste(CommandUi& ui)
{
    ui.setEnabled(Clipboard::hasText());
}

void CItemDlg::OnUpdateEditCut(CommandUi& ui)
{
    ui.setEnabled(EditControl::hasSelection(*m_pActiveEdit));
}

}  // namespace tavik
