#include "platform/fileio/file_identity.h"

#include "platform/fileio/stat_identity.h"

namespace tavik {

std::optional<FileIdentity> FileIdentity::of(const std::string& path)
{
    struct stat status { };
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return IdentityOf(status);
}

}  // namespace tavik
