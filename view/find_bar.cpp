#include "view/find_bar.h"

#include "platform/qt_text.h"
#include "res/resources.h"

#include <QKeyEvent>

#include <algorithm>

namespace tavik {

namespace {

// As desktop find fields show a text that is not there: a light red behind dark text,
// readable in light and dark themes alike.
const QColor kNotFoundBase(0xff, 0xb0, 0xb0);
const QColor kNotFoundText(0x20, 0x00, 0x00);

bool IsFindKey(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F3:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

}  // namespace

FindBar::FindBar(QWidget& covered)
    : QLineEdit(covered.parentWidget())
    , m_covered(covered)
{
    // The short name of the find command, "検索".
    const QString name = ResourceText(res::LoadString(res::ID_EDIT_FIND)).section(QLatin1Char('\n'), 1);
    setPlaceholderText(name);
    setAccessibleName(name);
    hide();
    m_covered.installEventFilter(this);
}

void FindBar::open()
{
    cover();
    show();
    raise();
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

void FindBar::showFound(bool found)
{
    if (found) {
        // A palette that sets nothing gives the field its inherited colours back.
        setPalette(QPalette());
        return;
    }
    QPalette notFound = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        notFound.setColor(group, QPalette::Base, kNotFoundBase);
        notFound.setColor(group, QPalette::Text, kNotFoundText);
    }
    setPalette(notFound);
}

// The field's keys win over the main window's shortcuts while it has the focus.
bool FindBar::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsFindKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (!IsFindKey(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
    } else if (event->modifiers() & Qt::ShiftModifier) {
        emit previousRequested();
    } else {
        emit nextRequested();
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_covered && isVisible() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        cover();
    return QLineEdit::eventFilter(watched, event);
}

// Takes the covered widget's place, at least as tall as the field needs, its bottom edge
// kept where the covered widget's is.
void FindBar::cover()
{
    const QRect area = m_covered.geometry();
    const int height = std::max(area.height(), sizeHint().height());
    setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
}

}  // namespace tavik
