#pragma once

#include <QLineEdit>

namespace tavik {

// A one-line find field that lies over another widget while it is open: the same place
// and width, kept so as that widget moves or is resized. Return and F3 ask for the next
// match, with Shift the previous one; Escape closes it.
class FindBar : public QLineEdit {
    Q_OBJECT
public:
    // Lies over `covered` while open, as a child of covered's parent. Hidden until opened.
    explicit FindBar(QWidget& covered);

    // Shows the field over the covered widget, focused, with its text selected.
    void open();
    // Colours the field for "no row holds the text" (false), or back to normal (true).
    void showFound(bool found);

signals:
    void nextRequested();
    void previousRequested();
    // Escape hid the field.
    void closed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cover();

    QWidget& m_covered;
};

}  // namespace tavik
