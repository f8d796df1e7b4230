#pragma once

#include "itemdlg/dib_bitmap.h"

#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace tavik {

// Decodes JPEG files with libjpeg (the 6b interface) into DibBitmaps.
class JpegFileDecoder {
public:
    // Receives the library's formatted text of the first warning of a decode and of a
    // fatal error; called during decode() and expected to return.
    using MessageSink = std::function<void(const QString& text)>;

    // Decodes the regular file at host path `hostPath`. Nothing, and no message, when
    // it cannot be opened or is not a regular file. Nothing after a fatal decoder
    // error (reported first) or when the bitmap's memory cannot be had. With
    // `atLeast` empty the bitmap has the picture's full size; otherwise the decoder
    // scales by the smallest factor n/8 whose output still covers `atLeast`.
    static std::optional<DibBitmap> decode(const QString& hostPath, const MessageSink& report, QSize atLeast = QSize());
};

}  // namespace tavik
