#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include <functional>

namespace tavik {

// A picture for the JPEG writer below.
struct TestJpeg {
    int width = 0;
    int height = 0;
    // Grey stores qGray() of the colours. The CMYK kinds take the black out of the
    // colours (K = 255 - max(R, G, B)); Cmyk has plain ink values (255 is full ink) and
    // no Adobe marker, AdobeCmyk is stored as Photoshop does: inverted values, as YCCK,
    // under an Adobe APP14 marker.
    enum class Colour { Rgb, Grey, Cmyk, AdobeCmyk } colour = Colour::Rgb;
    bool progressive = false;
    int restartRows = 0;  // restart interval in MCU rows, 0 = none
    int quality = 90;
    bool subsampled = false;  // colour at half resolution both ways, as cameras store it
    std::function<QColor(int x, int y)> pixel = {};  // empty: a fixed gradient
};

// The picture compressed by libjpeg; empty when the library refuses it (zero size).
QByteArray TestJpegBytes(const TestJpeg& picture);

// Writes TestJpegBytes(picture) to the file; false when that fails.
bool WriteTestJpeg(const QString& hostPath, const TestJpeg& picture);

}  // namespace tavik
