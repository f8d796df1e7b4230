#include "itemdlg/jpeg_file_decoder.h"

#include "itemdlg/jpeg_handle_source.h"

#include <QFile>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavik {

namespace {

// A picture whose bitmap would need more than this is not decoded.
constexpr std::int64_t kMaxBitmapBytes = std::int64_t{512} * 1024 * 1024;

// The library's fatal-error routine longjmps back to GuardedDecode(). Every frame it
// can cross (GuardedDecode, the steps it calls, the callbacks) and the state below
// hold only trivially destructible objects, so nothing is left undestroyed.
struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that cinfo->err points at the whole record
    std::jmp_buf jumpBack;
    const JpegFileDecoder::MessageSink* sink;
};

struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    int fileHandle;
    int atLeastWidth;  // 0 and 0: full size
    int atLeastHeight;
    DibBitmap::InfoHeader header;
    std::uint8_t* bits;  // std::calloc'd, handed to the DibBitmap on success
};

// Opens a regular file for reading; -1 for anything else. O_NONBLOCK keeps a FIFO
// from blocking the open until a writer comes.
int OpenRegularFile(const QString& hostPath)
{
    const QByteArray name = QFile::encodeName(hostPath);
    int fileHandle;
    do {
        fileHandle = open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fileHandle < 0 && errno == EINTR);
    if (fileHandle < 0)
        return -1;
    struct stat info;
    if (fstat(fileHandle, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fileHandle);
        return -1;
    }
    return fileHandle;
}

void Report(const JpegFileDecoder::MessageSink& sink, const char* text)
{
    if (!sink)
        return;
    // An exception must not unwind through the library's C frames.
    try {
        sink(QString::fromLocal8Bit(text));
    } catch (...) {
    }
}

void OutputMessage(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    Report(*reinterpret_cast<ErrorManager*>(cinfo->err)->sink, text);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    ErrorManager* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->output_message)(cinfo);
    jpeg_destroy(cinfo);
    std::longjmp(error->jumpBack, 1);
}

// Reads the header and chooses blue-green-red output (CMYK for four-component files,
// converted line by line). Gives whether the lines need that conversion.
bool ReadHeader(DecodeState& state)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    jpeg_create_decompress(&cinfo);
    jpeg_handle_src(&cinfo, state.fileHandle);
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    return cmyk;
}

// Picks the smallest scale n/8 whose output covers the wanted size (full size when
// none is wanted or none smaller does) and computes the output size.
void ChooseScale(DecodeState& state)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    if (state.atLeastWidth <= 0 || state.atLeastHeight <= 0) {
        jpeg_calc_output_dimensions(&cinfo);
        return;
    }
    cinfo.scale_denom = 8;
    for (unsigned int n = 1; n <= 8; ++n) {
        cinfo.scale_num = n;
        jpeg_calc_output_dimensions(&cinfo);
        if (cinfo.output_width >= JDIMENSION(state.atLeastWidth)
            && cinfo.output_height >= JDIMENSION(state.atLeastHeight))
            return;
    }
}

std::int64_t BitmapBytes(const jpeg_decompress_struct& cinfo)
{
    return DibBitmap::strideFor(cinfo.output_width) * std::int64_t{cinfo.output_height};
}

// Starts the decompressor and allocates the bitmap for its output; false when the
// memory cannot be had.
bool StartOutput(DecodeState& state)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    jpeg_start_decompress(&cinfo);
    const std::int64_t size = BitmapBytes(cinfo);
    if (size > kMaxBitmapBytes)
        return false;
    DibBitmap::InfoHeader& header = state.header;
    header = DibBitmap::InfoHeader();
    header.width = static_cast<std::int32_t>(cinfo.output_width);
    header.height = static_cast<std::int32_t>(cinfo.output_height);
    header.sizeImage = static_cast<std::uint32_t>(size);
    // Zero-filled, so that the padding at the end of each row is defined.
    state.bits = static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(size), 1));
    return state.bits != nullptr;
}

// Photoshop writes CMYK inverted (0 is full ink) and marks its files with an Adobe
// marker; other writers use plain values.
void CmykToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (inverted) {
            bgr[0] = static_cast<std::uint8_t>(y * k / 255);
            bgr[1] = static_cast<std::uint8_t>(m * k / 255);
            bgr[2] = static_cast<std::uint8_t>(c * k / 255);
        } else {
            bgr[0] = static_cast<std::uint8_t>((255 - y) * (255 - k) / 255);
            bgr[1] = static_cast<std::uint8_t>((255 - m) * (255 - k) / 255);
            bgr[2] = static_cast<std::uint8_t>((255 - c) * (255 - k) / 255);
        }
    }
}

// Decodes the lines into the bitmap, the first (top) line into the last stored row.
void ReadLines(DecodeState& state, bool cmyk)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    const std::int64_t stride = DibBitmap::strideFor(cinfo.output_width);
    const bool inverted = cinfo.saw_Adobe_marker;
    JSAMPARRAY cmykLine = cmyk
        ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, cinfo.output_width * 4, 1)
        : nullptr;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = state.bits + (cinfo.output_height - 1 - cinfo.output_scanline) * stride;
        // The source never suspends, so each call delivers a line; stop rather than
        // spin if it does not (finishing then reports the missing lines).
        if (cmykLine) {
            if (jpeg_read_scanlines(&cinfo, cmykLine, 1) != 1)
                break;
            CmykToBgr(cmykLine[0], row, cinfo.output_width, inverted);
        } else if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
            break;
        }
    }
}

// Releases the decompression object and the bitmap; a second destroy is harmless.
void Abandon(DecodeState& state)
{
    jpeg_destroy_decompress(&state.cinfo);
    std::free(state.bits);
    state.bits = nullptr;
}

// Runs the whole decode; false after a fatal error (reported) or when the bitmap
// cannot be had (not reported). Everything is released then but the file handle.
bool GuardedDecode(DecodeState& state)
{
    state.cinfo.err = jpeg_std_error(&state.error.pub);
    // The standard emit_message stays: it passes on the first warning only.
    state.error.pub.output_message = OutputMessage;
    state.error.pub.error_exit = ErrorExit;
    if (setjmp(state.error.jumpBack)) {
        Abandon(state);
        return false;
    }
    const bool cmyk = ReadHeader(state);
    ChooseScale(state);
    // Sized before starting too: starting reads all of a progressive file into memory.
    if (BitmapBytes(state.cinfo) > kMaxBitmapBytes || !StartOutput(state)) {
        Abandon(state);
        return false;
    }
    ReadLines(state, cmyk);
    jpeg_finish_decompress(&state.cinfo);
    jpeg_destroy_decompress(&state.cinfo);
    return true;
}

}  // namespace

std::optional<DibBitmap> JpegFileDecoder::decode(const QString& hostPath, const MessageSink& report, QSize atLeast)
{
    const int fileHandle = OpenRegularFile(hostPath);
    if (fileHandle < 0)
        return std::nullopt;
    DecodeState state{};
    state.error.sink = &report;
    state.fileHandle = fileHandle;
    if (!atLeast.isEmpty()) {
        state.atLeastWidth = atLeast.width();
        state.atLeastHeight = atLeast.height();
    }
    const bool decoded = GuardedDecode(state);
    close(fileHandle);
    if (!decoded)
        return std::nullopt;
    DibBitmap bitmap;
    bitmap.header = state.header;
    bitmap.bits.reset(state.bits);
    return bitmap;
}

}  // namespace tavik
