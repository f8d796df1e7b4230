#include "platform/fileio/file_io.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tavik {

namespace {

// Symbolic links that refer to each other end here, as the kernel's own limit does.
constexpr int kMaxLinkHops = 40;
// Keeps ".<name>.XXXXXX" within the 255 bytes a file name may have.
constexpr std::size_t kMaxNameInTemporary = 240;

std::string Reason(const std::string& path, int error)
{
    // The standard library's message is strerror's text, without its thread-safety caveats.
    return path + ": " + std::generic_category().message(error);
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Closes a descriptor when it goes out of scope; close errors matter only where
// the caller checks them itself through Release().
class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

std::optional<std::string> ReadLink(const std::string& path, int& error)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            error = errno;
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// Follows a chain of symbolic links to the file it ends at, which need not exist
// yet (a link to a file still to be made).
std::optional<std::string> FollowLinks(const std::string& path, int& error)
{
    std::string current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat status { };
        if (lstat(current.c_str(), &status) != 0) {
            if (errno == ENOENT)
                return current;
            error = errno;
            return std::nullopt;
        }
        if (!S_ISLNK(status.st_mode))
            return current;
        std::optional<std::string> target = ReadLink(current, error);
        if (!target)
            return std::nullopt;
        current = target->starts_with('/') ? *target : DirectoryOf(current) + "/" + *target;
    }
    error = ELOOP;
    return std::nullopt;
}

mode_t CurrentUmask()
{
    // Reading the mask from the kernel avoids setting it, which would race with other threads creating files.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:"))
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
    }
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

bool WriteAll(int fd, std::string_view bytes, int& error)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (written == 0) {
            error = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Only root may give a file away; an ordinary user can still keep the group when
// a member of it. Returns whether owner or group could be kept.
bool KeepOwner(int fd, const struct stat& target)
{
    if (target.st_uid == geteuid() && target.st_gid == getegid())
        return true;
    return fchown(fd, target.st_uid, target.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), target.st_gid) == 0;
}

// Gives the new file the target's owner, group and permission bits, or for a new
// target the permissions any newly created file gets.
bool CopyAttributes(int fd, const struct stat* target, int& error)
{
    mode_t mode = 0;
    if (target) {
        // Best effort: when it fails the new file is ours, with the target's content and permissions.
        KeepOwner(fd, *target);
        // Set after the owner, since changing the owner clears the set-user-ID bits.
        mode = target->st_mode & 07777;
    } else {
        mode = 0666 & ~CurrentUmask();
    }
    if (fchmod(fd, mode) == 0)
        return true;
    error = errno;
    return false;
}

void SyncDirectory(const std::string& directory)
{
    const Descriptor fd(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        fsync(fd.Get());
}

}  // namespace

FileResult<std::string> FileIo::readWholeFile(const std::string& path)
{
    const auto fail = [&](int code) { return FileResult<std::string>::failure(Reason(path, code)); };

    int fd = -1;
    do {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(errno);
    const Descriptor file(fd);

    struct stat status { };
    if (fstat(fd, &status) != 0)
        return fail(errno);
    if (S_ISDIR(status.st_mode))
        return fail(EISDIR);

    // The size is a hint only: the file may change while it is read, and special files report none.
    std::string bytes(S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) + 1 : 65536, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return bytes;
}

FileResult<> FileIo::replaceFile(const std::string& path, std::string_view bytes)
{
    const auto fail = [&](int code) { return FileResult<>::failure(Reason(path, code)); };
    if (path.empty())
        return fail(ENOENT);

    int error = 0;
    const std::optional<std::string> target = FollowLinks(path, error);
    if (!target)
        return fail(error);

    struct stat status { };
    const bool exists = stat(target->c_str(), &status) == 0;
    if (!exists && errno != ENOENT)
        return fail(errno);
    if (exists) {
        if (S_ISDIR(status.st_mode))
            return fail(EISDIR);
        if (!S_ISREG(status.st_mode))
            return FileResult<>::failure(path + ": not a regular file");
        // Renaming needs only the folder to be writable, but a user who made the file read-only expects it
        // to stay as it is. A file without any write permission counts as read-only even for root.
        if (access(target->c_str(), W_OK) != 0)
            return fail(errno);
        if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return fail(EACCES);
    }

    const std::string directory = DirectoryOf(*target);
    std::string temporary = directory + "/." + NameOf(*target).substr(0, kMaxNameInTemporary) + ".XXXXXX";
    Descriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0)
        return fail(errno);

    const auto discard = [&](int code) {
        unlink(temporary.c_str());
        return fail(code);
    };
    if (!WriteAll(file.Get(), bytes, error))
        return discard(error);
    if (!CopyAttributes(file.Get(), exists ? &status : nullptr, error))
        return discard(error);
    if (fsync(file.Get()) != 0)
        return discard(errno);
    // Some file systems report a failed write only when the file is closed.
    if (close(file.Release()) != 0 && errno != EINTR)
        return discard(errno);
    if (rename(temporary.c_str(), target->c_str()) != 0)
        return discard(errno);

    // The new content is in place from here on; making the rename itself durable is best effort, since
    // reporting a failure now would tell the user the old file was kept when it was not.
    SyncDirectory(directory);
    return FileResult<>::success();
}

}  // namespace tavik
