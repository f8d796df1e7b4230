#include "tests/support/test_jpeg.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>

namespace tavik {

QByteArray TestJpegBytes(const TestJpeg& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y,
                picture.pixel ? picture.pixel(x, y).rgb()
                              : qRgb(x * 255 / picture.width, y * 255 / picture.height, 128));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(picture.quality);
    return buffer.open(QIODevice::WriteOnly) && writer.write(image) ? bytes : QByteArray();
}

bool WriteTestJpeg(const QString& hostPath, const TestJpeg& picture)
{
    const QByteArray bytes = TestJpegBytes(picture);
    QFile file(hostPath);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace tavik
