#pragma once

#include <cstdio>
#include <jpeglib.h>

namespace tavik {

// Makes `cinfo` read its compressed data from the open file descriptor `fileHandle`,
// 4096 bytes at a time, the way jpeg_stdio_src reads a FILE. The source record lives
// in the object's permanent pool and is reused when called again on the same object.
// The caller keeps the descriptor open until the decode is over and closes it.
// An empty file is a fatal "Empty input file"; a file that ends early gives the
// warning "Premature end of JPEG file" and an end-of-image marker in place of the rest.
void jpeg_handle_src(j_decompress_ptr cinfo, int fileHandle);

}  // namespace tavik
