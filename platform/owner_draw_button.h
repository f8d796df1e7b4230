#pragma once

#include <QPushButton>
#include <QRect>

#include <functional>

class QPainter;

namespace tavik {

// A push button whose face its owner draws. Without a draw function it paints as a
// plain push button.
class OwnerDrawButton : public QPushButton {
    Q_OBJECT
public:
    // What the owner's draw function is told about the button at each paint.
    struct DrawItem {
        int controlId = 0;
        QRect rect;
        bool pressed = false;
        bool focused = false;
        bool disabled = false;
    };
    using DrawFunction = std::function<void(QPainter& painter, const DrawItem& item)>;

    explicit OwnerDrawButton(int controlId, QWidget* parent = nullptr);

    void setDrawFunction(DrawFunction draw);
    int controlId() const { return m_controlId; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_controlId = 0;
    DrawFunction m_draw;
};

}  // namespace tavik
