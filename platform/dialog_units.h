#pragma once

#include <QRect>

class QFont;

namespace tavik {

// Dialog units of one font, converted to pixels as Windows converts them: a
// horizontal unit is a quarter of the font's average character width (that of
// "A".."Z" and "a".."z", rounded), a vertical unit an eighth of its character
// height; each conversion rounds to the nearest pixel.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int toPixelsX(int units) const;
    int toPixelsY(int units) const;
    QRect toPixels(int x, int y, int width, int height) const;

private:
    int m_baseX = 1;
    int m_baseY = 1;
};

}  // namespace tavik
