#include "platform/fileio/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
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
        const FileResult<> result = FileIo::replaceFile(Path(name), bytes);
        ASSERT_TRUE(bool(result)) << result.reason();
        EXPECT_TRUE(*FileIo::readWholeFile(Path("list.lst")) == bytes) << name;
        EXPECT_EQ(fs::status(Path("list.lst")).permissions(), static_cast<fs::perms>(mode)) << name;
        EXPECT_TRUE(fs::is_symlink(Path("link")) && Entries(m_dir) == 2) << name;
    }
}

TEST_F(FileIoTest, ReplaceFile_CannotReplace_FailsWithReasonAndKeepsOldFile)
{
    Write("readonly.lst", "old", 0444);
    ASSERT_EQ(mkdir(Path("locked").c_str(), 0755), 0);
    Write("locked/list.lst", "old", 0644);
    ASSERT_EQ(chmod(Path("locked").c_str(), 0555), 0);
    const std::pair<std::string, std::string> cases[] = {
        {"readonly.lst", "Permission denied"},
        {"locked/list.lst", "Permission denied"},  // an unwritable folder
        {"missing/list.lst", "No such file or directory"},
    };
    for (const auto& [name, reason] : cases) {
        const fs::path dir = fs::path(Path(name)).parent_path();
        const long before = Entries(dir);
        const FileResult<> result = FileIo::replaceFile(Path(name), "new");
        EXPECT_TRUE(!bool(result) && result.reason() == Path(name) + ": " + reason) << result.reason();
        EXPECT_EQ(Entries(dir), before) << name;
        const FileResult<std::string> after = FileIo::readWholeFile(Path(name));
        EXPECT_TRUE(!after || *after == "old") << name;
    }
    // Root could write it, but a file without any write permission is left as it is.
    if (m_root && seteuid(0) == 0) {
        EXPECT_EQ(
            FileIo::replaceFile(Path("readonly.lst"), "new").reason(), Path("readonly.lst") + ": Permission denied");
        EXPECT_EQ(*FileIo::readWholeFile(Path("readonly.lst")), "old");
    }
}

TEST_F(FileIoTest, ReadWholeFile_MissingFile_GivesReasonWithPath)
{
    const FileResult<std::string> read = FileIo::readWholeFile(Path("missing.lst"));
    EXPECT_FALSE(read);
    EXPECT_EQ(read.reason(), Path("missing.lst") + ": No such file or directory");
}

}  // namespace
}  // namespace tavik
