#pragma once

#include <QFont>
#include <QObject>

class QLabel;

namespace tavik {

// Draws the main screen's two-line counter, "done/total" over "percent%", into the form's
// static control, whose text stays the counter's text. The lines stand closer together than
// a label would set them, right-aligned, with a pixel of background all round, in the largest
// font up to the form's own that lets them fit the room they are given.
class ProgressCounter : public QObject {
public:
    explicit ProgressCounter(QLabel& label);

    // Places the counter at `left`, `top`, `height` pixels tall and between `minWidth` and
    // `maxWidth` pixels wide, as wide as its lines need; gives the width taken. Where even the
    // smallest font needs more than the room, the lines are drawn as far as the room goes.
    int fit(int left, int top, int height, int minWidth, int maxWidth);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel& m_label;
    QFont m_font;
};

}  // namespace tavik
