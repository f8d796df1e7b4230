#pragma once

#include "platform/fileio/file_identity.h"
#include "platform/fileio/result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavik {

// A file's whole content and the identity of the file it was read from.
struct FileContents {
    std::string bytes;
    FileIdentity identity;
};

// Why a file was not read.
struct ReadFailure {
    enum class Kind {
        CannotOpen,  // missing, no permission, or any other failure to open
        NotRegularFile,  // a folder, FIFO, device or socket
        TooLarge,  // larger than the limit: refused before anything is allocated
        ReadError,  // opened, but reading failed
    };
    Kind kind = Kind::CannotOpen;
    std::string reason;  // the system's own description, with the path
    std::int64_t size = 0;  // for TooLarge: the file's size in bytes
};

// Whole-file reading and safe replacing of files named by host paths.
class FileIo {
public:
    // Checklists larger than this are not read (256 MiB).
    static constexpr std::int64_t kMaxReadBytes = std::int64_t{256} * 1024 * 1024;

    // Reads the whole of a regular file, at most `maxBytes` of it: a larger file (or one
    // that grows past the limit while it is read) is refused. Special files are refused
    // without waiting on them. Finishes an interrupted in-place write first (see
    // replaceFile). The identity is the file's as it was opened, before reading, so that
    // a change made while it was read shows as a difference afterwards.
    static Result<FileContents, ReadFailure> readWholeFile(
        const std::string& path, std::int64_t maxBytes = kMaxReadBytes);

    // Replaces the file with `bytes` so that a crash at any moment leaves either the old
    // or the new content: a temporary file in the same folder is written, flushed to disk
    // and renamed over the target. The target's permissions are kept; when the path is a
    // symbolic link, the file it points to is replaced and the link stays. A file we may
    // not write, or one without any write permission (even for root), is left alone. On
    // failure the old file is left as it was and no temporary file remains. A file with
    // more than one hard link is rewritten in place, so every name keeps showing the same
    // file, through a journal beside it that the next read or write completes after a
    // crash; once that journal is in place, a failure leaves it to be completed later.
    // Gives the identity of the file as written.
    static FileResult<FileIdentity> replaceFile(const std::string& path, std::string_view bytes);
};

}  // namespace tavik
