#pragma once

#include "platform/command_route.h"
#include "platform/modal_dialog.h"

#include <QString>

#include <array>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPoint;
class QPushButton;

namespace tavik {

class CommandUi;
class LinkLauncher;
class OwnerDrawButton;

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

    // The caption of a link slot found in the comment at initialisation (0 is "LNK1" ... 3 is "LNK4").
    const QString& linkLabel(int slot) const { return m_strLinkLabel.at(slot); }
    // The edit control the popup's commands work on.
    QWidget* activeEdit() const { return m_pActiveEdit; }

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

    void OnNext();
    void OnPrevious();
    void OnInsertFileName();
    void OnEditUndo();
    void OnEditCopy();
    void OnEditPaste();
    void OnEditCut();
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
};

}  // namespace tavik
