#include "platform/tap_and_hold.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QInputDevice>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QStyleHints>
#include <QWidget>

namespace tavik {

namespace {

// A press made by a finger: Qt turns touches the widget does not take itself into
// mouse events that name the touch screen as their device.
bool IsTouchPress(const QMouseEvent& event)
{
    const QPointingDevice* device = event.pointingDevice();
    return event.button() == Qt::LeftButton && device && device->type() == QInputDevice::DeviceType::TouchScreen;
}

}  // namespace

TapAndHold* TapAndHold::watch(QWidget& widget, Callback callback)
{
    return new TapAndHold(widget, std::move(callback));
}

TapAndHold::TapAndHold(QWidget& widget, Callback callback)
    : QObject(&widget)
    , m_widget(&widget)
    , m_callback(std::move(callback))
{
    m_holdTimer.setSingleShot(true);
    connect(&m_holdTimer, &QTimer::timeout, this, [this] { fire(m_pressGlobal); });

    widget.setContextMenuPolicy(Qt::DefaultContextMenu);
    widget.installEventFilter(this);
    // A scroll area's mouse events, and the context-menu events made from them, go to its viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(&widget)) {
        area->viewport()->setContextMenuPolicy(Qt::DefaultContextMenu);
        area->viewport()->installEventFilter(this);
    }
}

bool TapAndHold::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ContextMenu:
        m_holdTimer.stop();
        fire(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (IsTouchPress(*mouse)) {
            m_pressGlobal = mouse->globalPosition().toPoint();
            m_holdTimer.start(QGuiApplication::styleHints()->mousePressAndHoldInterval());
        }
        break;
    }
    case QEvent::MouseMove:
        if (m_holdTimer.isActive()) {
            const QPoint moved = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_pressGlobal;
            if (moved.manhattanLength() > QApplication::startDragDistance())
                m_holdTimer.stop();
        }
        break;
    case QEvent::MouseButtonRelease:
    case QEvent::Hide:
        m_holdTimer.stop();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TapAndHold::fire(const QPoint& globalPos)
{
    if (m_callback)
        m_callback(m_widget->mapFromGlobal(globalPos), globalPos);
}

}  // namespace tavik
