#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavik {

// The outcome of a file operation: ok, or the reason it failed in words a user
// can act on (the system's own description of the error, with the path).
struct FileResult {
    bool ok = true;
    std::string error;

    static FileResult success() { return {}; }
    static FileResult failure(std::string reason) { return {false, std::move(reason)}; }
    explicit operator bool() const { return ok; }
};

// Whole-file reading and safe replacing of files named by host paths.
class FileIo {
public:
    // Reads the whole file into bytes, or gives the reason it could not.
    static std::optional<std::string> readWholeFile(const std::string& path, std::string* error = nullptr);

    // Replaces the file with `bytes` so that a crash at any moment leaves either
    // the old or the new content: a temporary file in the same folder is written,
    // flushed to disk and renamed over the target. The target's permissions are
    // kept; when the path is a symbolic link, the file it points to is replaced
    // and the link stays. A file we may not write, or one without any write
    // permission (even for root), is left alone. On failure the old file is left
    // as it was and no temporary file remains.
    static FileResult replaceFile(const std::string& path, std::string_view bytes);
};

}  // namespace tavik
