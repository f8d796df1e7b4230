#include "platform/fileio/file_io.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

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
    static long Entries(fs::path dir)
    {
        std::error_code e;
        return std::distance(fs::directory_iterator(dir, e), {});
    }

    const bool m_root = geteuid() == 0;
    std::string m_dir;
};

TEST_F(FileIoTest, ReplaceFile_FileOrLinkToIt_ReplacesEveryByteKeepsModeAndLinkLeavesNoTemporary)
{
    const std::string bytes = std::string(1 << 20, 'x') + std::string("\0\r\n\xFF", 4);  // larger than any buffer
    fs::create_symlink("list.lst", Path("link"));
    for (const auto& [name, mode] : {std::pair{"list.lst", 0640}, std::pair{"link", 0604}}) {
        Write("list.lst", "old", mode);
        const auto result = FileIo::replaceFile(Path(name), bytes);
        ASSERT_TRUE(bool(result)) << result.reason().reason;
        EXPECT_TRUE(Read("list.lst") == bytes) << name;
        EXPECT_EQ(fs::status(Path("list.lst")).permissions(), static_cast<fs::perms>(mode)) << name;
        EXPECT_TRUE(fs::is_symlink(Path("link")) && Entries(m_dir) == 2) << name;
    }
}

// A new file gets the mode any program's new file gets, 0666 less the umask, not the
// private mode of the temporary file it was written as.
TEST_F(FileIoTest, ReplaceFile_NewFile_GetsTheModeTheUmaskLeaves)
{
    for (const mode_t mask : {022, 027, 077}) {
        const mode_t previous = umask(mask);
        const std::string name = "new" + std::to_string(mask) + ".lst";
        const auto result = FileIo::replaceFile(Path(name), "x");
        umask(previous);
        ASSERT_TRUE(bool(result)) << result.reason().reason;
        EXPECT_EQ(fs::status(Path(name)).permissions(), static_cast<fs::perms>(0666 & ~mask)) << name;
    }
}

// Every name of a file with several shows the new bytes, longer or shorter than the old,
// through a symbolic link too; the file stays the same file and nothing is left beside it.
TEST_F(FileIoTest, ReplaceFile_FileWithSeveralNames_RewritesItInPlace)
{
    Write("list.lst", "old", 0640);
    ASSERT_EQ(link(Path("list.lst").c_str(), Path("other.lst").c_str()), 0);
    fs::create_symlink("list.lst", Path("link"));
    const ino_t inode = Inode("list.lst");
    for (const std::string& bytes : {std::string(1 << 20, 'y'), std::string("new")}) {
        const auto result = FileIo::replaceFile(Path("link"), bytes);
        ASSERT_TRUE(bool(result)) << result.reason().reason;
        EXPECT_TRUE(Read("list.lst") == bytes && Read("other.lst") == bytes) << bytes.size();
        EXPECT_EQ(Inode("other.lst"), inode);
        EXPECT_EQ(result->inode, inode);
        EXPECT_EQ(fs::status(Path("other.lst")).permissions(), static_cast<fs::perms>(0640));
        EXPECT_EQ(Entries(m_dir), 3);
    }
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

TEST_F(FileIoTest, ReadWholeFile_MissingFile_GivesReasonWithPath)
{
    const auto read = FileIo::readWholeFile(Path("missing.lst"));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.reason().kind, ReadFailure::Kind::CannotOpen);
    EXPECT_EQ(read.reason().reason, Path("missing.lst") + ": No such file or directory");
}

// A FIFO without a writer would block an ordinary open, and /dev/zero never ends.
TEST_F(FileIoTest, ReadWholeFile_SpecialFiles_AreRefusedWithoutWaiting)
{
    ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
    const std::pair<std::string, std::string> cases[] = {
        {Path("fifo"), Path("fifo") + ": not a regular file"},
        {"/dev/zero", "/dev/zero: not a regular file"},
        {Path("folder"), Path("folder") + ": Is a directory"},
    };
    for (const auto& [path, reason] : cases) {
        auto read = std::async(std::launch::async, [file = path] { return FileIo::readWholeFile(file); });
        if (read.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << path << " is waited on";
            close(open(path.c_str(), O_WRONLY | O_NONBLOCK));  // lets a reader blocked on the FIFO go
        }
        const auto result = read.get();
        ASSERT_FALSE(result) << path;
        EXPECT_EQ(result.reason().kind, ReadFailure::Kind::NotRegularFile) << path;
        EXPECT_EQ(result.reason().reason, reason);
    }
}

// A sparse file of 300 MiB costs no disk and, refused by its size, no memory. Files under
// /proc report no size at all, so only reading shows them larger than the limit.
TEST_F(FileIoTest, ReadWholeFile_LargerThanTheLimit_IsRefusedWithItsSize)
{
    constexpr std::int64_t kSparseSize = std::int64_t{300} << 20;
    Write("sparse.lst", "", 0600);
    ASSERT_EQ(truncate(Path("sparse.lst").c_str(), kSparseSize), 0);
    Write("small.lst", "abcd", 0600);
    const std::tuple<std::string, std::int64_t, std::int64_t> cases[] = {
        {Path("sparse.lst"), FileIo::kMaxReadBytes, kSparseSize},
        {Path("small.lst"), 3, 4},
        {"/proc/self/status", 16, 17},
    };
    for (const auto& [path, limit, size] : cases) {
        const auto read = FileIo::readWholeFile(path, limit);
        ASSERT_FALSE(read) << path;
        EXPECT_EQ(read.reason().kind, ReadFailure::Kind::TooLarge) << path;
        EXPECT_EQ(read.reason().size, size) << path;
    }
    EXPECT_EQ(FileIo::readWholeFile(Path("small.lst"), 4)->bytes, "abcd");
    EXPECT_TRUE(FileIo::readWholeFile("/proc/self/status")->bytes.starts_with("Name:"));
}

TEST_F(FileIoTest, Identity_StaysUntilTheFileIsWrittenAndIsTheOneWritten)
{
    Write("list.lst", "old", 0600);
    const FileIdentity first = FileIo::readWholeFile(Path("list.lst"))->identity;
    EXPECT_EQ(FileIo::readWholeFile(Path("list.lst"))->identity, first);
    EXPECT_EQ(FileIdentity::of(Path("list.lst")), first);
    EXPECT_EQ(first.size, 3);
    EXPECT_FALSE(FileIdentity::of(Path("missing.lst")));

    const auto replaced = FileIo::replaceFile(Path("list.lst"), "newer");
    ASSERT_TRUE(bool(replaced)) << replaced.reason().reason;
    EXPECT_NE(replaced->inode, first.inode);
    EXPECT_EQ(FileIdentity::of(Path("list.lst")), *replaced);
    EXPECT_EQ(FileIo::readWholeFile(Path("list.lst"))->identity, *replaced);

    // Rewritten in place, the file keeps its inode but not its size and time.
    ASSERT_EQ(link(Path("list.lst").c_str(), Path("other.lst").c_str()), 0);
    const FileIdentity linked = *FileIdentity::of(Path("list.lst"));
    const auto rewritten = FileIo::replaceFile(Path("list.lst"), "newest");
    ASSERT_TRUE(bool(rewritten)) << rewritten.reason().reason;
    EXPECT_EQ(rewritten->inode, linked.inode);
    EXPECT_NE(*rewritten, linked);
    EXPECT_EQ(FileIdentity::of(Path("other.lst")), *rewritten);
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
