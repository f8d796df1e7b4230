#include "itemdlg/jpeg_handle_source.h"

#include <cerrno>
#include <jerror.h>
#include <unistd.h>

// The callbacks below may leave through the library's fatal-error routine, which
// longjmps past them: they hold nothing with a destructor.

namespace tavik {

namespace {

constexpr size_t kBufferSize = 4096;

struct HandleSource {
    jpeg_source_mgr pub;  // first, so that cinfo->src points at the whole record
    int fileHandle;
    JOCTET* buffer;  // kBufferSize bytes
    boolean startOfFile;  // nothing read yet since init_source
};

HandleSource* SourceOf(j_decompress_ptr cinfo)
{
    return reinterpret_cast<HandleSource*>(cinfo->src);
}

void init_source(j_decompress_ptr cinfo)
{
    SourceOf(cinfo)->startOfFile = TRUE;
}

boolean fill_input_buffer(j_decompress_ptr cinfo)
{
    HandleSource* source = SourceOf(cinfo);
    ssize_t count;
    do {
        count = read(source->fileHandle, source->buffer, kBufferSize);
    } while (count < 0 && errno == EINTR);
    if (count <= 0) {
        if (source->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // An end-of-image marker lets the decoder finish with what it has.
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        count = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = static_cast<size_t>(count);
    source->startOfFile = FALSE;
    return TRUE;
}

void skip_input_data(j_decompress_ptr cinfo, long numBytes)
{
    if (numBytes <= 0)
        return;
    jpeg_source_mgr* source = cinfo->src;
    while (numBytes > static_cast<long>(source->bytes_in_buffer)) {
        numBytes -= static_cast<long>(source->bytes_in_buffer);
        // Never suspends: at the end of the file it delivers the fake end-of-image marker.
        fill_input_buffer(cinfo);
    }
    source->next_input_byte += numBytes;
    source->bytes_in_buffer -= static_cast<size_t>(numBytes);
}

void term_source(j_decompress_ptr)
{
}

}  // namespace

void jpeg_handle_src(j_decompress_ptr cinfo, int fileHandle)
{
    // A record left by another kind of source is not reused: its layout differs.
    if (cinfo->src == nullptr || cinfo->src->init_source != init_source) {
        const j_common_ptr common = reinterpret_cast<j_common_ptr>(cinfo);
        auto* source
            = static_cast<HandleSource*>((*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, sizeof(HandleSource)));
        source->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(common, JPOOL_PERMANENT, kBufferSize));
        cinfo->src = &source->pub;
    }
    HandleSource* source = SourceOf(cinfo);
    source->pub.init_source = init_source;
    source->pub.fill_input_buffer = fill_input_buffer;
    source->pub.skip_input_data = skip_input_data;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = term_source;
    source->fileHandle = fileHandle;
    source->startOfFile = TRUE;
    source->pub.bytes_in_buffer = 0;  // the first read fills the buffer
    source->pub.next_input_byte = nullptr;
}

}  // namespace tavik
