#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

class QWidget;

namespace tavik {

// The tap-and-hold gesture of one widget: a right click, the context-menu key and
// a long press on a touch screen all become one callback with the point, in the
// widget's coordinates and on the screen. The widget's own context menu is not
// shown. For a scroll area (a list, a multi-line edit) its viewport is watched too.
class TapAndHold : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(const QPoint& localPos, const QPoint& globalPos)>;

    // Watches `widget` for as long as it exists (the watcher is its child).
    static TapAndHold* watch(QWidget& widget, Callback callback);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TapAndHold(QWidget& widget, Callback callback);
    void fire(const QPoint& globalPos);

    QWidget* m_widget;
    Callback m_callback;
    QTimer m_holdTimer;
    QPoint m_pressGlobal;
};

}  // namespace tavik
