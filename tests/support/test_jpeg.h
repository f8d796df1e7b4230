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
    int quality = 90;
    std::function<QColor(int x, int y)> pixel = {};  // empty: a fixed gradient
};

// The picture compressed by Qt's JPEG writer, which stores the colour at half resolution both
// ways, as cameras do; empty when that fails.
QByteArray TestJpegBytes(const TestJpeg& picture);

// Writes TestJpegBytes(picture) to the file; false when that fails.
bool WriteTestJpeg(const QString& hostPath, const TestJpeg& picture);

}  // namespace tavik
