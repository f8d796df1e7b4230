#pragma once

#include "platform/fileio/file_identity.h"

#include <sys/stat.h>

namespace tavik {

// The identity of the file stat(2) or fstat(2) described.
inline FileIdentity IdentityOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
        static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
        static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

}  // namespace tavik
