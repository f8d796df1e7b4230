#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

class QImage;

namespace tavik {

// A device-independent bitmap of 24 bits per pixel as the decoder builds it: rows
// stored bottom-up, each row blue-green-red per pixel and padded to a multiple of
// four bytes.
struct DibBitmap {
    struct InfoHeader {
        std::uint32_t size = 40;
        std::int32_t width = 0;
        std::int32_t height = 0;  // positive: the first stored row is the picture's bottom row
        std::uint16_t planes = 1;
        std::uint16_t bitCount = 24;
        std::uint32_t compression = 0;
        std::uint32_t sizeImage = 0;  // stride × height
        std::int32_t xPelsPerMeter = 0;
        std::int32_t yPelsPerMeter = 0;
        std::uint32_t clrUsed = 0;
        std::uint32_t clrImportant = 0;
    };
    struct FreeDeleter {
        void operator()(std::uint8_t* bits) const { std::free(bits); }
    };

    InfoHeader header;
    std::unique_ptr<std::uint8_t[], FreeDeleter> bits;  // sizeImage bytes

    // Bytes per stored row: three per pixel, rounded up to a multiple of four.
    static std::int64_t strideFor(std::int64_t width) { return ((width * 24 + 31) / 8) & ~std::int64_t{3}; }
    std::int64_t stride() const { return strideFor(header.width); }

    // The picture top row first, for drawing.
    QImage toImage() const;
};

}  // namespace tavik
