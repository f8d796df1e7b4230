#include "itemdlg/dib_bitmap.h"

#include <QImage>

#include <cstring>

namespace tavik {

QImage DibBitmap::toImage() const
{
    if (!bits || header.width <= 0 || header.height == 0)
        return QImage();
    // A negative height marks rows stored top row first.
    const bool bottomUp = header.height > 0;
    const int rows = bottomUp ? header.height : -header.height;
    QImage image(header.width, rows, QImage::Format_BGR888);
    if (image.isNull())
        return image;
    const std::size_t rowBytes = std::size_t(header.width) * 3;
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* stored = bits.get() + (bottomUp ? rows - 1 - y : y) * stride();
        std::memcpy(image.scanLine(y), stored, rowBytes);
    }
    return image;
}

}  // namespace tavik
