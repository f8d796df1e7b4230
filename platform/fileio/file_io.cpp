#include "platform/fileio/file_io.h"

#include "platform/fileio/stat_identity.h"
#include "platform/memory/huge_pages.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tavik {

namespace {

// Symbolic links that refer to each other end here, as the kernel's own limit does.
constexpr int kMaxLinkHops = 40;
// Keeps ".<name>.XXXXXX" and ".<name>.tavik-<inode>" within the 255 bytes a file name may have.
constexpr std::size_t kMaxNameInTemporary = 220;
// Files that report no size (those under /proc) are read in steps of at least this much.
constexpr std::int64_t kMinReadBuffer = 4096;

// A special file is never replaced by a checklist: the errno of that refusal.
constexpr int kNotRegularFile = ENOTSUP;

std::string Reason(const std::string& path, int error)
{
    // The standard library's message is strerror's text, without its thread-safety caveats.
    return path + ": " + std::generic_category().message(error);
}

FileResult<FileIdentity> WriteFailed(const std::string& path, int error)
{
    return FileResult<FileIdentity>::failure({Reason(path, error), error});
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

// Where the new bytes of an in-place write of `file` wait until they are in place. The inode
// number ties the journal to the file, so a journal meant for another file of the same name
// is left alone.
std::string JournalOf(const std::string& file, ino_t inode)
{
    return DirectoryOf(file) + "/." + NameOf(file).substr(0, kMaxNameInTemporary) + ".tavik-" + std::to_string(inode);
}

// Closes a descriptor when it goes out of scope; close errors matter only where
// the caller checks them itself through release().
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

    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
};

int Open(const std::string& path, int flags)
{
    int fd = -1;
    do {
        fd = open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

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

// Reads from `fd` to its end, but no more than `limit` + 1 bytes: a result longer than
// `limit` means the file is larger than that. `sizeHint` is what fstat said.
bool ReadAll(int fd, std::int64_t sizeHint, std::int64_t limit, std::string& bytes, int& error)
{
    const auto most = static_cast<std::size_t>(limit) + 1;
    const auto first = static_cast<std::size_t>(std::min(std::max(sizeHint, kMinReadBuffer), limit)) + 1;
    bytes.reserve(first);
    AdviseHugePages(bytes.data(), bytes.capacity());
    bytes.resize(first);
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size >= most)
                break;
            bytes.resize(std::min(bytes.size() * 2, most));
        }
        const ssize_t got = read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return true;
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

// Writes `bytes` over a file just opened for writing, from its start, cuts it to their
// length and flushes it to disk.
bool Overwrite(int fd, std::string_view bytes, int& error)
{
    if (!WriteAll(fd, bytes, error))
        return false;
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || fsync(fd) != 0) {
        error = errno;
        return false;
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

// Renaming needs only the folder to be writable, but a user who made the file read-only expects
// it to stay as it is. A file without any write permission counts as read-only even for root.
bool MayWrite(const std::string& file, const struct stat& status, int& error)
{
    if (access(file.c_str(), W_OK) != 0) {
        error = errno;
        return false;
    }
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        error = EACCES;
        return false;
    }
    return true;
}

bool SyncDirectory(const std::string& directory, int& error)
{
    const Descriptor fd(Open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || fsync(fd.get()) != 0) {
        error = errno;
        return false;
    }
    return true;
}

// Writes `bytes` to a new temporary file beside `target`, with the attributes of the file it
// stands in for (a new file's when there is none), flushes it to disk and describes it in
// `written`. On failure nothing is left behind.
bool WriteTemporary(const std::string& target, std::string_view bytes, const struct stat* attributes,
    std::string& temporary, struct stat& written, int& error)
{
    temporary = DirectoryOf(target) + "/." + NameOf(target).substr(0, kMaxNameInTemporary) + ".XXXXXX";
    Descriptor file(mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0) {
        error = errno;
        return false;
    }
    const auto discard = [&](int code) {
        unlink(temporary.c_str());
        error = code;
        return false;
    };
    if (!WriteAll(file.get(), bytes, error))
        return discard(error);
    if (!CopyAttributes(file.get(), attributes, error))
        return discard(error);
    if (fsync(file.get()) != 0 || fstat(file.get(), &written) != 0)
        return discard(errno);
    // Some file systems report a failed write only when the file is closed.
    if (close(file.release()) != 0 && errno != EINTR)
        return discard(errno);
    return true;
}

// The identity of the file just written, as the file system reports it now. When the name
// already shows another file (a program replaced it right away) or cannot be examined, the
// identity of what was written is given, which differs from whatever is there.
FileIdentity IdentityAfterWrite(const std::string& file, const struct stat& written)
{
    struct stat now { };
    if (stat(file.c_str(), &now) == 0 && now.st_dev == written.st_dev && now.st_ino == written.st_ino)
        return IdentityOf(now);
    return IdentityOf(written);
}

// Completes an in-place write that a crash cut short: its journal beside the file holds the
// new bytes in full, so they are written over the file again and the journal removed. When
// that fails, the journal stays for a later attempt.
void FinishInterruptedWrite(const std::string& target)
{
    struct stat status { };
    if (stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return;
    const std::string journal = JournalOf(target, status.st_ino);
    const Descriptor source(Open(journal, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
    if (source.get() < 0)
        return;
    struct stat journalStatus { };
    std::string bytes;
    int error = 0;
    if (fstat(source.get(), &journalStatus) != 0 || !S_ISREG(journalStatus.st_mode)
        || !ReadAll(source.get(), journalStatus.st_size, journalStatus.st_size, bytes, error)
        || static_cast<std::int64_t>(bytes.size()) != journalStatus.st_size)
        return;
    if (!MayWrite(target, status, error))
        return;
    Descriptor file(Open(target, O_WRONLY | O_CLOEXEC));
    struct stat opened { };
    // The name may show another file by now, which the journal is not meant for.
    if (file.get() < 0 || fstat(file.get(), &opened) != 0 || opened.st_dev != status.st_dev
        || opened.st_ino != status.st_ino)
        return;
    if (!Overwrite(file.get(), bytes, error) || (close(file.release()) != 0 && errno != EINTR))
        return;
    if (unlink(journal.c_str()) == 0)
        SyncDirectory(DirectoryOf(target), error);
}

// Rewrites a file that has more than one name in place, so that every name keeps showing it.
// The new bytes first go to a journal beside it, complete on disk before the file is touched,
// from which FinishInterruptedWrite redoes a write that a crash cut short.
FileResult<FileIdentity> RewriteInPlace(const std::string& path, const std::string& target, std::string_view bytes)
{
    const auto fail = [&](int code) { return WriteFailed(path, code); };
    Descriptor file(Open(target, O_WRONLY | O_CLOEXEC));
    if (file.get() < 0)
        return fail(errno);
    // The journal is named after the file opened, whatever the name shows by now.
    struct stat status { };
    if (fstat(file.get(), &status) != 0)
        return fail(errno);

    int error = 0;
    std::string temporary;
    struct stat written { };
    if (!WriteTemporary(target, bytes, &status, temporary, written, error))
        return fail(error);
    const std::string journal = JournalOf(target, status.st_ino);
    if (rename(temporary.c_str(), journal.c_str()) != 0) {
        error = errno;
        unlink(temporary.c_str());
        return fail(error);
    }
    const std::string directory = DirectoryOf(target);
    const auto dropJournal = [&](int code) {
        unlink(journal.c_str());
        return fail(code);
    };
    // Until the journal's name is on disk, a crash could leave a half-written file with nothing to finish it.
    if (!SyncDirectory(directory, error))
        return dropJournal(error);
    // A full disk is the likeliest failure halfway through; reserving the space first turns it into one before
    // the file is touched, where the file systems allow it.
    if (fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0
        && (errno == ENOSPC || errno == EDQUOT))
        return dropJournal(errno);

    // From here on the file may be half written, and a failure leaves the journal to finish it.
    if (!Overwrite(file.get(), bytes, error))
        return fail(error);
    if (fstat(file.get(), &written) != 0)
        return fail(errno);
    if (close(file.release()) != 0 && errno != EINTR)
        return fail(errno);
    // The file is complete; a journal that stays would only write the same bytes again.
    if (unlink(journal.c_str()) == 0)
        SyncDirectory(directory, error);
    return IdentityAfterWrite(target, written);
}

}  // namespace

Result<FileContents, ReadFailure> FileIo::readWholeFile(const std::string& path, std::int64_t maxBytes)
{
    using Kind = ReadFailure::Kind;
    const auto fail = [&](Kind kind, std::string reason, std::int64_t size = 0) {
        return Result<FileContents, ReadFailure>::failure({kind, std::move(reason), size});
    };
    const auto notRegular = [&](const struct stat& status) {
        return fail(
            Kind::NotRegularFile, S_ISDIR(status.st_mode) ? Reason(path, EISDIR) : path + ": not a regular file");
    };
    maxBytes = std::max<std::int64_t>(maxBytes, 0);

    int error = 0;
    if (const std::optional<std::string> target = FollowLinks(path, error))
        FinishInterruptedWrite(*target);

    // Special files are refused before they are opened: opening one can wait for a writer or set a device going.
    struct stat status { };
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return notRegular(status);
    // Without blocking, in case the name shows a FIFO by now.
    const Descriptor file(Open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        return fail(Kind::CannotOpen, Reason(path, errno));
    if (fstat(file.get(), &status) != 0)
        return fail(Kind::ReadError, Reason(path, errno));
    if (!S_ISREG(status.st_mode))
        return notRegular(status);
    if (status.st_size > maxBytes)
        return fail(Kind::TooLarge, Reason(path, EFBIG), status.st_size);

    FileContents contents{.bytes = {}, .identity = IdentityOf(status)};
    if (!ReadAll(file.get(), status.st_size, maxBytes, contents.bytes, error))
        return fail(Kind::ReadError, Reason(path, error));
    // It grew while it was read.
    if (static_cast<std::int64_t>(contents.bytes.size()) > maxBytes)
        return fail(Kind::TooLarge, Reason(path, EFBIG), static_cast<std::int64_t>(contents.bytes.size()));
    return contents;
}

FileResult<FileIdentity> FileIo::replaceFile(const std::string& path, std::string_view bytes)
{
    const auto fail = [&](int code) { return WriteFailed(path, code); };
    if (path.empty())
        return fail(ENOENT);

    int error = 0;
    const std::optional<std::string> target = FollowLinks(path, error);
    if (!target)
        return fail(error);
    FinishInterruptedWrite(*target);

    struct stat status { };
    const bool exists = stat(target->c_str(), &status) == 0;
    if (!exists && errno != ENOENT)
        return fail(errno);
    if (exists) {
        if (S_ISDIR(status.st_mode))
            return fail(EISDIR);
        if (!S_ISREG(status.st_mode))
            return FileResult<FileIdentity>::failure({path + ": not a regular file", kNotRegularFile});
        if (!MayWrite(*target, status, error))
            return fail(error);
        // A rename would give this name a new file and leave the other names showing the old one.
        if (status.st_nlink > 1)
            return RewriteInPlace(path, *target, bytes);
    }

    std::string temporary;
    struct stat written { };
    if (!WriteTemporary(*target, bytes, exists ? &status : nullptr, temporary, written, error))
        return fail(error);
    if (rename(temporary.c_str(), target->c_str()) != 0) {
        error = errno;
        unlink(temporary.c_str());
        return fail(error);
    }
    // The new content is in place from here on; making the rename itself durable is best effort, since
    // reporting a failure now would tell the user the old file was kept when it was not.
    SyncDirectory(DirectoryOf(*target), error);
    return IdentityAfterWrite(*target, written);
}

}  // namespace tavik
