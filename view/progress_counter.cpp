#include "view/progress_counter.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace tavik {

namespace {

// Background left around the figures on every side, in pixels.
constexpr int kMargin = 1;
// Below this size, in pixels, the figures would no longer read well.
constexpr int kSmallestPixels = 8;

// The lines of a counter text in one font, each with the box of its ink around the pen's
// starting point on the baseline.
struct Lines {
    QStringList texts;
    QList<QRect> inks;
    int gap = 0;

    // The room the lines take with their margins.
    QSize size() const
    {
        int width = 0;
        int height = gap * static_cast<int>(inks.size() - 1);
        for (const QRect& ink : inks) {
            width = std::max(width, ink.width());
            height += ink.height();
        }
        return QSize(width + 2 * kMargin, height + 2 * kMargin);
    }
};

// The digits need a gap of about a sixth of their size to read as two lines.
Lines Measure(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    Lines lines{text.split(QLatin1Char('\n')), {}, std::max(1, QFontInfo(font).pixelSize() / 6)};
    for (const QString& line : lines.texts)
        lines.inks.append(metrics.tightBoundingRect(line));
    return lines;
}

}  // namespace

ProgressCounter::ProgressCounter(QLabel& label)
    : QObject(&label)
    , m_label(label)
    , m_font(label.font())
{
    m_label.installEventFilter(this);
}

int ProgressCounter::fit(int left, int top, int height, int minWidth, int maxWidth)
{
    // The form's font, which the label keeps, where the lines fit, else the largest smaller
    // one that does.
    QFont font = m_label.font();
    QSize needed;
    for (int pixels = QFontInfo(font).pixelSize();; --pixels) {
        font.setPixelSize(pixels);
        needed = Measure(font, m_label.text()).size();
        if (pixels <= kSmallestPixels || (needed.width() <= maxWidth && needed.height() <= height))
            break;
    }
    m_font = font;
    const int width = std::clamp(needed.width(), minWidth, std::max(minWidth, maxWidth));
    m_label.setGeometry(left, top, width, height);
    m_label.update();
    return width;
}

bool ProgressCounter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_label || event->type() != QEvent::Paint)
        return false;
    // Each line is placed by its ink: its right edge a margin from the counter's, its top
    // a gap below the line above.
    const Lines lines = Measure(m_font, m_label.text());
    QPainter painter(&m_label);
    painter.setFont(m_font);
    painter.setPen(m_label.palette().color(QPalette::WindowText));
    int top = kMargin;
    for (qsizetype i = 0; i < lines.texts.size(); ++i) {
        const QRect& ink = lines.inks[i];
        painter.drawText(QPoint(m_label.width() - kMargin - 1 - ink.right(), top - ink.top()), lines.texts[i]);
        top += ink.height() + lines.gap;
    }
    return true;
}

}  // namespace tavik
