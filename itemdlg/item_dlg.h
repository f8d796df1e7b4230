#pragma once

#include "itemdlg/dib_bitmap.h"
#include "itemdlg/link_picture_cache.h"
#include "platform/command_route.h"
#include "platform/modal_dialog.h"
#include "platform/owner_draw_button.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QLineEdit;
class QPlainTextEdit;
class QPoint;
class QPushButton;

namespace tavik {

class CommandUi;
class LinkLauncher;

// The item editor: one item's text (one line) and its comment (several lines). The
// caller fills m_strItem and m_strComment (lines broken by CR LF), runs it and reads
// them back. It ends with IDOK, IDCANCEL, kNext ("次") or kPrevious ("前"); after all but
// IDCANCEL the two strings hold what the user left in the controls. Reopening the
// editor on the neighbouring item is the caller's work.
class CItemDlg : public ModalDialog {
    Q_OBJECT
public:
    enum Result { kNext = 6, kPrevious = 7 };

    explicit CItemDlg(QWidget* owner = nullptr);

    // Set by the caller before the run.
    bool m_bHideNavigation = false;  // a new item: "前" and "次" are put out of use
    LinkLauncher* m_pView = nullptr;
    QString m_strItem;
    QString m_strComment;
    // When set, OK, "次" and "前" first ask it about the item text: a message it returns
    // is shown and the dialog stays open.
    std::function<QString(const QString& item)> m_refuseItem;

    // Decodes the JPEG file at device path `path`: at full size, or shrunk while
    // decoding to no less than `atLeast`. Nothing when the file cannot be opened or does
    // not decode. The decoder's messages are added to `messages`. Safe on any thread.
    static std::optional<DibBitmap> LoadJpegBitmap(const QString& path, QStringList& messages, QSize atLeast = QSize());

protected:
    const CommandMap& commandMap() const override;
    void OnInitDialog() override;
    void OnOK() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The tap-and-hold gesture on either edit control.
    void OnEditContextMenu(QWidget& edit, const QPoint& globalPos);
    // Takes the controls' texts into m_strItem and m_strComment; false when the item
    // text is refused.
    bool DoDataExchangeOut();
    void widenComment();
    // The face of the link button of slot `slot`: nothing for an empty slot, else a
    // button frame around the file's picture or its label on a field of its kind's colour.
    void DrawLinkButton(int slot, QPainter& painter, const OwnerDrawButton::DrawItem& item);
    // The picture of a ".bmp" or ".jpg" file, read for a face of `atLeast`; null when none.
    static LinkPictureCache::Reading ReadLinkPicture(const QString& path, QSize atLeast);
    // Shows the decoder's messages once the current paint is over, one box at a time.
    void ShowJpegMessages(const QStringList& messages);

    void OnNext();
    void OnPrevious();
    void OnInsertFileName();
    void OnEditUndo();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditCut();
    // A tap on a link button: opens what slot `slot` names in the way its kind asks for.
    void OnLinkClicked(int slot);
    template <int Slot>
    void OnLinkButton()
    {
        OnLinkClicked(Slot);
    }
    void OnEditOpenPaint();
    void OnEditOpenFile();
    void OnEditRunProgram();
    void OnUpdateEditUndo(CommandUi& ui);
    void OnUpdateEditCopy(CommandUi& ui);
    void OnUpdateEditPaste(CommandUi& ui);
    void OnUpdateEditCut(CommandUi& ui);

    std::array<QString, 4> m_strLinkPath;
    std::array<QString, 4> m_strLinkLabel;
    QWidget* m_pActiveEdit = nullptr;
    QPushButton* m_btnPrev = nullptr;
    QPushButton* m_btnNext = nullptr;
    // "LNK4", "LNK3", "LNK2", "LNK1": slot k belongs to m_btnLink[3 - k].
    std::array<OwnerDrawButton*, 4> m_btnLink{};
    QLineEdit* m_editItem = nullptr;
    QPlainTextEdit* m_editComment = nullptr;
    // The popup's entries ask the dialog alone for their state.
    CommandRoute m_popupRoute;
    LinkPictureCache m_linkPictures;
    // The decoder's messages not yet shown, and whether they are being shown.
    QStringList m_jpegMessages;
    bool m_showingJpegMessages = false;
};

}  // namespace tavik
