#pragma once

#include "platform/fileio/result.h"

#include <string>
#include <string_view>

namespace tavik {

// Whole-file reading and safe replacing of files named by host paths.
class FileIo {
public:
    // Reads the whole file into bytes. A failure's reason is the system's own
    // description of the error, with the path.
    static FileResult<std::string> readWholeFile(const std::string& path);

    // Replaces the file with `bytes` so that a crash at any moment leaves either
    // the old or the new content: a temporary file in the same folder is written,
    // flushed to disk and renamed over the target. The target's permissions are
    // kept; when the path is a symbolic link, the file it points to is replaced
    // and the link stays. A file we may not write, or one without any write
    // permission (even for root), is left alone. On failure the old file is left
    // as it was and no temporary file remains.
    static FileResult<> replaceFile(const std::string& path, std::string_view bytes);
};

}  // namespace tavik
