#include "platform/modal_dialog.h"

#include "platform/qt_text.h"
#include "platform/resource_types.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace tavik {

namespace {

bool IsReturnKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) && modifiers == Qt::NoModifier;
}

}  // namespace

ModalDialog::ModalDialog(const DialogTemplate& dialog, QWidget* owner)
    : QDialog(owner)
    , m_template(&dialog)
{
    DialogBuilder::build(dialog, *this, [this](int id) { dialogCommand(id); });
    setWindowTitle(ResourceText(dialog.caption));
    // A caption with a close button only: these dialogs are neither minimised nor maximised.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint);
    if ((dialog.styles & kCaptionOkButton) && !findControl(IDOK))
        addCaptionOkButton();
}

int ModalDialog::runModal()
{
    m_endResult.reset();
    OnInitDialog();
    // A dialog may decide during its initialisation that it has nothing to show.
    if (m_endResult)
        return *m_endResult;
    placeOverOwner(*this, parentWidget());
    if (standIn) {
        show();
        const int result = standIn(*this);
        hide();
        return result;
    }
    return exec();
}

void ModalDialog::endDialog(int result)
{
    done(result);
}

void ModalDialog::done(int result)
{
    m_endResult = result;
    QDialog::done(result);
}

int ModalDialog::templateId() const
{
    return m_template->id;
}

void ModalDialog::OnInitDialog()
{
}

void ModalDialog::OnOK()
{
    endDialog(IDOK);
}

void ModalDialog::OnCancel()
{
    endDialog(IDCANCEL);
}

void ModalDialog::accept()
{
    dialogCommand(IDOK);
}

void ModalDialog::reject()
{
    // Escape and the close button.
    dialogCommand(m_captionOk ? IDOK : IDCANCEL);
}

void ModalDialog::keyPressEvent(QKeyEvent* event)
{
    if (IsReturnKey(*event) && !hasDefaultButton()) {
        dialogCommand(IDOK);
        return;
    }
    QDialog::keyPressEvent(event);
}

void ModalDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeCaptionOkButton();
}

void ModalDialog::dialogCommand(int id)
{
    if (executeCommand(id))
        return;
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
}

void ModalDialog::addCaptionOkButton()
{
    m_captionOk = new QPushButton(QStringLiteral("OK"), this);
    DialogBuilder::setControlId(*m_captionOk, IDOK);
    m_captionOk->setDefault(true);
    const QFontMetrics metrics(font());
    m_captionOk->resize(metrics.horizontalAdvance(m_captionOk->text()) + 16, metrics.height() + 6);
    placeCaptionOkButton();
    connect(m_captionOk, &QPushButton::clicked, this, [this] { dialogCommand(IDOK); });
}

void ModalDialog::placeCaptionOkButton()
{
    if (m_captionOk)
        m_captionOk->move(width() - m_captionOk->width() - 2, 2);
}

void ModalDialog::placeOverOwner(QWidget& window, QWidget* owner)
{
    QWidget* over = owner ? owner->window() : QApplication::activeWindow();
    // A window not shown yet has no place on the screen: the main window, while the program starts.
    if (over == &window || (over && !over->isVisible()))
        over = nullptr;
    const QScreen* screen = over ? over->screen() : window.screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    const QRect area = over ? over->frameGeometry() : available;
    if (area.isEmpty())
        return;
    // The whole window, frame included, is centred, as Windows centres a dialog; the
    // frame is known once the window exists.
    window.winId();
    QRect placed(QPoint(0, 0), window.frameGeometry().size());
    placed.moveCenter(area.center());
    // Kept on the screen, as Windows keeps a centred dialog in the work area.
    if (!available.isEmpty()) {
        if (placed.right() > available.right())
            placed.moveRight(available.right());
        if (placed.bottom() > available.bottom())
            placed.moveBottom(available.bottom());
        if (placed.left() < available.left())
            placed.moveLeft(available.left());
        if (placed.top() < available.top())
            placed.moveTop(available.top());
    }
    window.move(placed.topLeft());
    if (over && !window.parentWidget()) {
        // Kept above the window it was centred over, though not its child.
        if (window.windowHandle() && over->windowHandle())
            window.windowHandle()->setTransientParent(over->windowHandle());
    }
}

bool ModalDialog::hasDefaultButton() const
{
    if (const auto* focused = qobject_cast<const QPushButton*>(focusWidget()); focused && focused->autoDefault())
        return true;
    const QList<QPushButton*> buttons = findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
    return std::any_of(buttons.begin(), buttons.end(),
        [](const QPushButton* button) { return button->isDefault() && button->isVisible(); });
}

}  // namespace tavik
