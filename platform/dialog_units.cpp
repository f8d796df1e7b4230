#include "platform/dialog_units.h"

#include <QFontMetrics>

#include <algorithm>

namespace tavik {

namespace {

// a * b / c rounded to the nearest integer, halves away from zero (Windows' MulDiv).
int MulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long twice = 2 * product;
    return static_cast<int>(product >= 0 ? (twice + c) / (2LL * c) : (twice - c) / (2LL * c));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The width of 52 letters over 26 is twice the average; halving after adding one rounds it.
    m_baseX = std::max(1, (alphabetWidth / 26 + 1) / 2);
    m_baseY = std::max(1, metrics.height());
}

int DialogUnits::toPixelsX(int units) const
{
    return MulDiv(units, m_baseX, 4);
}

int DialogUnits::toPixelsY(int units) const
{
    return MulDiv(units, m_baseY, 8);
}

QRect DialogUnits::toPixels(int x, int y, int width, int height) const
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
}

}  // namespace tavik
