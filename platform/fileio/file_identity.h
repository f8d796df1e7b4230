#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavik {

// What tells one state of a file from another: which file it is (device and inode)
// and its size and modification time to the nanosecond. A program that replaces or
// rewrites the file changes at least one of them.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;

    // The identity of the file `path` names, following symbolic links; nothing when
    // there is no such file or it cannot be examined.
    static std::optional<FileIdentity> of(const std::string& path);
};

}  // namespace tavik
