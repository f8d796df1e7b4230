#include "itemdlg/item_dlg.h"

#include "itemdlg/jpeg_file_decoder.h"
#include "itemdlg/link_launcher.h"
#include "itemdlg/link_slots.h"
#include "platform/clipboard.h"
#include "platform/command_table.h"
#include "platform/device_path.h"
#include "platform/edit_control.h"
#include "platform/file_open_dialog.h"
#include "platform/message_box.h"
#include "platform/owner_draw_button.h"
#include "platform/popup_menu.h"
#include "platform/tap_and_hold.h"
#include "res/resources.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextOption>

namespace tavik {

namespace {

// The files "ﾌｧｲﾙ名挿入" offers, the first one chosen.
const QString kInsertFileFilter = QStringLiteral("text file(*.txt)|*.txt|Bitmap(*.bmp)|*.bmp|AllFile(*.*)|*.*||");

// Whether a link names a file of the kind `extension` stands for. Case decides the kind
// only: the name itself is shown and opened as written.
bool IsKind(const QString& path, QLatin1String extension)
{
    return path.endsWith(extension, Qt::CaseInsensitive);
}

// The link kinds whose buttons show the file's picture.
bool IsPictureFile(const QString& path)
{
    return IsKind(path, QLatin1String(".bmp")) || IsKind(path, QLatin1String(".jpg"));
}

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
    m_editItem->setAccessibleName(QStringLiteral("項目"));
    m_editComment->setAccessibleName(QStringLiteral("コメント"));
    for (QWidget* edit : {static_cast<QWidget*>(m_editItem), static_cast<QWidget*>(m_editComment)}) {
        TapAndHold::watch(
            *edit, [this, edit](const QPoint&, const QPoint& globalPos) { OnEditContextMenu(*edit, globalPos); });
    }
    // Tab leads from the item text to the comment, then on to the buttons: the comment is
    // what one writes next, and a blank typed on a focused button would press it.
    QWidget* const tabOrder[] = {m_editItem, m_editComment, findControl(res::IDC_INSERT_FILE_NAME), m_btnLink[3],
        m_btnLink[2], m_btnLink[1], m_btnLink[0], m_btnPrev, m_btnNext, findControl(IDOK), findControl(IDCANCEL)};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_popupRoute.append(*this);
    for (int slot = 0; slot < LinkSlots::kCount; ++slot) {
        m_btnLink[3 - slot]->setDrawFunction([this, slot](QPainter& painter, const OwnerDrawButton::DrawItem& item) {
            DrawLinkButton(slot, painter, item);
        });
    }
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
        {res::IDC_LINK1, &CItemDlg::OnLinkButton<0>},
        {res::IDC_LINK2, &CItemDlg::OnLinkButton<1>},
        {res::IDC_LINK3, &CItemDlg::OnLinkButton<2>},
        {res::IDC_LINK4, &CItemDlg::OnLinkButton<3>},
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
    m_linkPictures.clear();
    for (int slot = 0; slot < LinkSlots::kCount; ++slot) {
        if (IsPictureFile(m_strLinkPath[slot])) {
            const QSize face = m_btnLink[3 - slot]->size() - QSize(4, 4);
            m_linkPictures.start(slot, m_strLinkPath[slot], face.expandedTo(QSize(1, 1)), &CItemDlg::ReadLinkPicture);
        }
        // A screen reader names the button by the file it opens.
        m_btnLink[3 - slot]->setAccessibleName(m_strLinkLabel[slot]);
        // A button without a label stays enabled, only out of sight and out of the Tab order.
        if (m_strLinkLabel[slot].isEmpty()) {
            ShrinkToCorner(*m_btnLink[3 - slot]);
            m_btnLink[3 - slot]->setFocusPolicy(Qt::NoFocus);
        }
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

void CItemDlg::DrawLinkButton(int slot, QPainter& painter, const OwnerDrawButton::DrawItem& item)
{
    const QString& path = m_strLinkPath.at(slot);
    if (path.isEmpty())
        return;
    QPushButton* button = m_btnLink[3 - slot];

    // The push-button frame in its normal look, whatever the button's state.
    QStyleOptionButton frame;
    frame.initFrom(button);
    frame.rect = item.rect;
    frame.state
        = (frame.state & ~(QStyle::State_Sunken | QStyle::State_On | QStyle::State_HasFocus)) | QStyle::State_Raised;
    button->style()->drawControl(QStyle::CE_PushButtonBevel, &frame, &painter, button);

    const QRect inner = item.rect.adjusted(2, 2, -2, -2);
    const bool isBitmap = IsKind(path, QLatin1String(".bmp"));
    if (IsPictureFile(path)) {
        const QPixmap& picture = m_linkPictures.picture(
            slot, inner.size(), [this](const QStringList& messages) { ShowJpegMessages(messages); });
        if (!picture.isNull()) {
            painter.drawPixmap(inner.topLeft(), picture);
            return;
        }
        if (!isBitmap)
            return;
    }
    const QColor field = isBitmap             ? QColor(255, 0, 255)
        : IsKind(path, QLatin1String(".exe")) ? QColor(255, 255, 0)
                                              : QColor(0, 255, 255);
    painter.fillRect(inner, field);
    painter.save();
    painter.setClipRect(inner);
    painter.setFont(button->font());
    // The bright fields take dark text whatever the desktop's colours.
    painter.setPen(Qt::black);
    // Lines break between words; a name longer than the button breaks inside it rather
    // than running out of sight.
    QTextOption layout(Qt::AlignLeft | Qt::AlignTop);
    layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.drawText(QRectF(inner), m_strLinkLabel.at(slot), layout);
    painter.restore();
}

LinkPictureCache::Reading CItemDlg::ReadLinkPicture(const QString& path, QSize atLeast)
{
    LinkPictureCache::Reading reading;
    if (IsKind(path, QLatin1String(".jpg"))) {
        if (const std::optional<DibBitmap> bitmap = LoadJpegBitmap(path, reading.messages, atLeast))
            reading.image = bitmap->toImage();
        return reading;
    }
    const std::optional<QString> host = DevicePath::toHost(path);
    if (host && QFileInfo(*host).isFile()) {
        QImageReader reader(*host, "bmp");
        reader.setDecideFormatFromContent(false);
        reading.image = reader.read();
    }
    return reading;
}

std::optional<DibBitmap> CItemDlg::LoadJpegBitmap(const QString& path, QStringList& messages, QSize atLeast)
{
    const std::optional<QString> host = DevicePath::toHost(path);
    if (!host)
        return std::nullopt;
    return JpegFileDecoder::decode(
        *host, [&messages](const QString& text) { messages << text; }, atLeast);
}

void CItemDlg::ShowJpegMessages(const QStringList& messages)
{
    // Several pictures may fail at once: their messages wait in one queue and come one
    // box at a time, each after the one before was answered.
    m_jpegMessages += messages;
    if (m_showingJpegMessages)
        return;
    m_showingJpegMessages = true;
    // A modal box inside a paint would run the event loop in the middle of painting.
    QMetaObject::invokeMethod(
        this,
        [this] {
            while (!m_jpegMessages.isEmpty()) {
                MessageBox::showCaptioned(this, QStringLiteral("JPEG Library Error"), m_jpegMessages.takeFirst(),
                    MessageButtons::Ok, MessageIcon::Error);
            }
            m_showingJpegMessages = false;
        },
        Qt::QueuedConnection);
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

void CItemDlg::OnLinkClicked(int slot)
{
    if (!m_pView)
        return;
    const QString& name = m_strLinkPath.at(slot);
    if (IsKind(name, QLatin1String(".exe"))) {
        m_pView->LaunchAsProgram(nullptr, name);
        return;
    }
    if (IsKind(name, QLatin1String(".bmp"))) {
        const std::optional<QString> paintProgram = DevicePath::toHost(LinkLauncher::kPaintProgram);
        if (paintProgram && QFileInfo::exists(*paintProgram)) {
            m_pView->OpenInPaintProgram(nullptr, name);
            return;
        }
    }
    m_pView->OpenAsFileName(nullptr, name);
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
