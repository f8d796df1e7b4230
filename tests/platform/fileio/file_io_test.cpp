#include "platform/fileio/file_io.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

// The regular files the program flushed to disk before the name being replaced showed them:
// new bytes must be on disk before they take the name.
std::vector<ino_t> g_flushedUnnamed;
std::string g_replaced;

}  // namespace

// The program's fsync calls land here first; the flush itself still happens.
extern "C" int fsync(int fd)
{
    struct stat file = {}, named = {};
    if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode)
        && !(stat(g_replaced.c_str(), &named) == 0 && named.st_ino == file.st_ino))
        g_flushedUnnamed.push_back(file.st_ino);
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace tavik {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// Root passes every permission check, so a root run works with the rights of the
// ordinary user "nobody", in a folder of its own under /tmp.
class FileIoTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(!m_root || (setegid(kNobody) == 0 && seteuid(kNobody) == 0));
        m_dir = (m_root ? fs::path("/tmp") : fs::temp_directory_path()) / "tavik-file-io-XXXXXX";
        ASSERT_NE(mkdtemp(m_dir.data()), nullptr);
    }

    void TearDown() override
    {
        ASSERT_TRUE(!m_root || (seteuid(0) == 0 && setegid(0) == 0));
        chmod(Path("locked").c_str(), 0700);  // a test took away its write permission
        fs::remove_all(m_dir);
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    void Write(const std::string& name, const std::string& bytes, mode_t mode) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        ASSERT_EQ(chmod(Path(name).c_str(), mode), 0);
    }

    // The file's bytes as the program reads them, or the reason it cannot.
    std::string Read(const std::string& name) const
    {
        const auto read = FileIo::readWholeFile(Path(name));
        return read ? read->bytes : "failed: " + read.reason().reason;
    }

    ino_t Inode(const std::string& name) const
    {
        struct stat status { };
        return stat(Path(name).c_str(), &status) == 0 ? status.st_ino : 0;
    }

    // A temporary file left behind shows up here; a missing folder has none.
    static long Entries(const fs::path& dir)
    {
        std::error_code e;
        return std::distance(fs::directory_iterator(dir, e), {});
    }

    const bool m_root = geteuid() == 0;
    std::string m_dir;
};

// Replaced through a symbolic link, the file it names is replaced and the link stays; every
// name of a file with two shows the new bytes, longer or shorter than the old, and the file stays
// the same file. A new file gets the mode any program's new file gets, 0666 less the umask, not
// the private mode of the temporary file it was written as. Nothing is left beside the files,
// and a file renamed into place was on disk before it took the name.
TEST_F(FileIoTest, ReplaceFile_WritesEveryByteSafely_KeepingTheModeOrGivingANewOneTheUmasks)
{
    const std::string big = std::string(1 << 20, 'x') + std::string("\0\r\n\xFF", 4);  // larger than any buffer
    Write("kept.lst", "old", 0640);
    Write("linked.lst", "old", 0604);
    fs::create_symlink("linked.lst", Path("link"));
    Write("named.lst", "old", 0640);
    ASSERT_EQ(link(Path("named.lst").c_str(), Path("other.lst").c_str()), 0);
    const struct {
        const char* name;
        const char* file;  // where the bytes must be
        mode_t umask;
        int mode;
        bool inPlace;
        std::string bytes;
    } cases[] = {
        {"kept.lst", "kept.lst", 022, 0640, false, big},
        {"link", "linked.lst", 022, 0604, false, big},
        {"named.lst", "other.lst", 022, 0640, true, big},
        {"named.lst", "other.lst", 022, 0640, true, "new"},
        {"new.lst", "new.lst", 022, 0644, false, big},
        {"private.lst", "private.lst", 077, 0600, false, big},
    };
    for (const auto& c : cases) {
        const ino_t before = Inode(c.file);
        const long entries = Entries(m_dir) + (before ? 0 : 1);
        g_replaced = Path(c.file);
        g_flushedUnnamed.clear();
        const mode_t previous = umask(c.umask);
        const auto result = FileIo::replaceFile(Path(c.name), c.bytes);
        umask(previous);
        ASSERT_TRUE(bool(result)) << result.reason().reason;
        EXPECT_TRUE(Read(c.file) == c.bytes) << c.name;
        EXPECT_EQ(fs::status(Path(c.file)).permissions(), static_cast<fs::perms>(c.mode)) << c.name;
        EXPECT_EQ(Inode(c.file) == before, c.inPlace) << c.name;
        EXPECT_EQ(Entries(m_dir), entries) << c.name;
        EXPECT_EQ(FileIdentity::of(Path(c.file)), *result) << c.name;
        EXPECT_TRUE(c.inPlace || std::ranges::count(g_flushedUnnamed, Inode(c.file)) == 1) << c.name;
    }
    EXPECT_TRUE(fs::is_symlink(Path("link")));
}

TEST_F(FileIoTest, ReplaceFile_CannotReplace_FailsWithReasonAndKeepsOldFile)
{
    Write("readonly.lst", "old", 0444);
    Write("linked.lst", "old", 0444);
    ASSERT_EQ(link(Path("linked.lst").c_str(), Path("linked-too.lst").c_str()), 0);
    ASSERT_EQ(mkdir(Path("locked").c_str(), 0755), 0);
    Write("locked/list.lst", "old", 0644);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);
    // The errno goes with the reason, for a message in the user's words.
    const std::tuple<std::string, std::string, int> cases[] = {
        {"readonly.lst", "Permission denied", EACCES},
        {"linked.lst", "Permission denied", EACCES},  // rewritten in place, if at all
        {"locked/list.lst", "Permission denied", EACCES},  // an unwritable folder
        {"missing/list.lst", "No such file or directory", ENOENT},
    };
    for (const auto& [name, reason, error] : cases) {
        const fs::path dir = fs::path(Path(name)).parent_path();
        const long before = Entries(dir);
        const auto result = FileIo::replaceFile(Path(name), "new");
        ASSERT_FALSE(result) << name;
        EXPECT_EQ(result.reason().reason, Path(name) + ": " + reason);
        EXPECT_EQ(result.reason().error, error) << name;
        EXPECT_EQ(Entries(dir), before) << name;
        const std::string after = Read(name);
        EXPECT_TRUE(after.starts_with("failed: ") || after == "old") << name;
    }
    // Root could write them, but a file without any write permission is left as it is.
    if (m_root && seteuid(0) == 0) {
        for (const char* name : {"readonly.lst", "linked.lst"}) {
            EXPECT_EQ(FileIo::replaceFile(Path(name), "new").reason().error, EACCES) << name;
            EXPECT_EQ(Read(name), "old");
        }
    }
}

// A FIFO without a writer would block an ordinary open, and /dev/zero never ends. A sparse
// file of 300 MiB costs no disk and, refused by its size, no memory. Files under /proc
// report no size at all, so only reading shows them larger than the limit.
TEST_F(FileIoTest, ReadWholeFile_WhatCannotBeRead_IsRefusedWithItsReasonWithoutWaiting)
{
    using Kind = ReadFailure::Kind;
    constexpr std::int64_t kSparseSize = std::int64_t{300} << 20;
    constexpr std::int64_t kMax = FileIo::kMaxReadBytes;
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
    Write("sparse.lst", "", 0600);
    ASSERT_EQ(truncate(Path("sparse.lst").c_str(), kSparseSize), 0);
    Write("small.lst", "abcd", 0600);
    const std::tuple<std::string, std::int64_t, Kind, std::string, std::int64_t> cases[] = {
        {Path("missing.lst"), kMax, Kind::CannotOpen, "No such file or directory", 0},
        {Path("fifo"), kMax, Kind::NotRegularFile, "not a regular file", 0},
        {"/dev/zero", kMax, Kind::NotRegularFile, "not a regular file", 0},
        {Path("folder"), kMax, Kind::NotRegularFile, "Is a directory", 0},
        {Path("sparse.lst"), kMax, Kind::TooLarge, "File too large", kSparseSize},
        {Path("small.lst"), 3, Kind::TooLarge, "File too large", 4},
        {"/proc/self/status", 16, Kind::TooLarge, "File too large", 17},
    };
    for (const auto& [path, limit, kind, reason, size] : cases) {
        const auto result = FileIo::readWholeFile(path, limit);  // one that waits never ends the test
        ASSERT_FALSE(result) << path;
        EXPECT_EQ(result.reason().kind, kind) << path;
        EXPECT_EQ(result.reason().reason, path + ": " + reason);
        EXPECT_EQ(result.reason().size, size) << path;
    }
    EXPECT_EQ(FileIo::readWholeFile(Path("small.lst"), 4)->bytes, "abcd");
    EXPECT_TRUE(FileIo::readWholeFile("/proc/self/status")->bytes.starts_with("Name:"));
}

// A journal left by a crash halfway through an in-place write holds the new bytes in full;
// reading the file finishes the write. One named for another inode is not this file's.
TEST_F(FileIoTest, ReadWholeFile_JournalLeftBehind_FinishesTheWriteItBelongsTo)
{
    Write("list.lst", "old contents, half overwritten", 0600);
    ASSERT_EQ(link(Path("list.lst").c_str(), Path("other.lst").c_str()), 0);
    const std::string journal = ".list.lst.tavik-" + std::to_string(Inode("list.lst"));
    const std::string foreign = ".list.lst.tavik-" + std::to_string(Inode("list.lst") + 1);
    Write(journal, "new", 0600);
    Write(foreign, "not for this file", 0600);

    EXPECT_EQ(Read("list.lst"), "new");
    EXPECT_EQ(Read("other.lst"), "new");
    EXPECT_FALSE(fs::exists(Path(journal)));
    EXPECT_EQ(Read(foreign), "not for this file");

    // A read-only file is read as it is, and its journal kept for a later attempt.
    Write(journal, "newer", 0600);
    ASSERT_EQ(chmod(Path("list.lst").c_str(), 0400), 0);
    EXPECT_EQ(Read("list.lst"), "new");
    EXPECT_TRUE(fs::exists(Path(journal)));
}

}  // namespace
}  // namespace tavik
