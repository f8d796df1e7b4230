#include "tests/support/test_jpeg.h"

#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace tavik {

namespace {

// The library's fatal errors longjmp back to GuardedWrite(); the frames between hold
// only trivially destructible objects.
struct WriterError {
    jpeg_error_mgr pub;
    std::jmp_buf jumpBack;
};

struct WriteState {
    jpeg_compress_struct cinfo;
    WriterError error;
    const TestJpeg* picture;
    JSAMPLE* line;  // width × 4 samples
    std::FILE* stream;  // writes into `output`, malloc'd
    char* output;
    std::size_t outputSize;
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    WriterError* error = reinterpret_cast<WriterError*>(cinfo->err);
    (*cinfo->err->output_message)(cinfo);
    std::longjmp(error->jumpBack, 1);
}

QColor Gradient(int x, int y, int width, int height)
{
    return QColor(
        x * 255 / std::max(1, width - 1), y * 255 / std::max(1, height - 1), 255 - x * 128 / std::max(1, width));
}

// One line of samples in the input colour space.
void FillLine(const TestJpeg& picture, int y, JSAMPLE* line)
{
    for (int x = 0; x < picture.width; ++x) {
        const QColor colour = picture.pixel ? picture.pixel(x, y) : Gradient(x, y, picture.width, picture.height);
        const int r = colour.red(), g = colour.green(), b = colour.blue();
        switch (picture.colour) {
        case TestJpeg::Colour::Rgb:
            line[3 * x] = JSAMPLE(r);
            line[3 * x + 1] = JSAMPLE(g);
            line[3 * x + 2] = JSAMPLE(b);
            break;
        case TestJpeg::Colour::Grey:
            line[x] = JSAMPLE(qGray(r, g, b));
            break;
        case TestJpeg::Colour::Cmyk:
        case TestJpeg::Colour::AdobeCmyk: {
            // The black is taken out of the colours, so that the black channel matters.
            const int k = 255 - std::max({r, g, b});
            const int rest = 255 - k;
            int ink[4] = {k, k, k, k};
            if (rest > 0) {
                ink[0] = (rest - r) * 255 / rest;
                ink[1] = (rest - g) * 255 / rest;
                ink[2] = (rest - b) * 255 / rest;
            }
            for (int i = 0; i < 4; ++i)
                line[4 * x + i] = JSAMPLE(picture.colour == TestJpeg::Colour::AdobeCmyk ? 255 - ink[i] : ink[i]);
            break;
        }
        }
    }
}

void Compress(WriteState& state)
{
    jpeg_compress_struct& cinfo = state.cinfo;
    const TestJpeg& picture = *state.picture;
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, state.stream);
    cinfo.image_width = JDIMENSION(std::max(0, picture.width));
    cinfo.image_height = JDIMENSION(std::max(0, picture.height));
    switch (picture.colour) {
    case TestJpeg::Colour::Rgb:
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        break;
    case TestJpeg::Colour::Grey:
        cinfo.input_components = 1;
        cinfo.in_color_space = JCS_GRAYSCALE;
        break;
    case TestJpeg::Colour::Cmyk:
    case TestJpeg::Colour::AdobeCmyk:
        cinfo.input_components = 4;
        cinfo.in_color_space = JCS_CMYK;
        break;
    }
    jpeg_set_defaults(&cinfo);
    if (picture.colour == TestJpeg::Colour::Cmyk) {
        // Without the Adobe marker a reader takes four components for plain CMYK.
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = FALSE;
    } else if (picture.colour == TestJpeg::Colour::AdobeCmyk) {
        jpeg_set_colorspace(&cinfo, JCS_YCCK);  // writes the Adobe marker with transform 2
    }
    jpeg_set_quality(&cinfo, picture.quality, TRUE);
    // jpeg_set_defaults halves the resolution of Cb and Cr; a test that compares single
    // pixels wants them at full resolution.
    if (!picture.subsampled) {
        for (int i = 0; i < cinfo.num_components; ++i)
            cinfo.comp_info[i].h_samp_factor = cinfo.comp_info[i].v_samp_factor = 1;
    }
    if (picture.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = std::max(0, picture.restartRows);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        FillLine(picture, int(cinfo.next_scanline), state.line);
        JSAMPROW row = state.line;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
}

bool GuardedWrite(WriteState& state)
{
    state.cinfo.err = jpeg_std_error(&state.error.pub);
    state.error.pub.error_exit = ErrorExit;
    if (setjmp(state.error.jumpBack)) {
        jpeg_destroy_compress(&state.cinfo);
        return false;
    }
    Compress(state);
    jpeg_destroy_compress(&state.cinfo);
    return true;
}

}  // namespace

QByteArray TestJpegBytes(const TestJpeg& picture)
{
    std::vector<JSAMPLE> line(std::size_t(std::max(1, picture.width)) * 4);
    WriteState state{};
    state.picture = &picture;
    state.line = line.data();
    state.stream = open_memstream(&state.output, &state.outputSize);
    if (!state.stream)
        return QByteArray();
    const bool written = GuardedWrite(state);
    const bool closed = std::fclose(state.stream) == 0;
    QByteArray bytes;
    if (written && closed)
        bytes = QByteArray(state.output, qsizetype(state.outputSize));
    std::free(state.output);
    return bytes;
}

bool WriteTestJpeg(const QString& hostPath, const TestJpeg& picture)
{
    const QByteArray bytes = TestJpegBytes(picture);
    QFile file(hostPath);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace tavik
