#include "platform/owner_draw_button.h"

#include <QPainter>

namespace tavik {

OwnerDrawButton::OwnerDrawButton(int controlId, QWidget* parent)
    : QPushButton(parent)
    , m_controlId(controlId)
{
    // An owner-drawn button is never a dialog's default button.
    setAutoDefault(false);
}

void OwnerDrawButton::setDrawFunction(DrawFunction draw)
{
    m_draw = std::move(draw);
    update();
}

void OwnerDrawButton::paintEvent(QPaintEvent* event)
{
    if (!m_draw) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const DrawItem item{m_controlId, rect(), isDown(), hasFocus(), !isEnabled()};
    m_draw(painter, item);
}

}  // namespace tavik
