#include "platform/fileio/file_io.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>

namespace tavik {
namespace {

namespace fs = std::filesystem;

// Root passes every permission check, so when the tests run as root the cases
// about permissions run in a child process that has become this ordinary user.
constexpr uid_t kOrdinaryUser = 65534;  // nobody
constexpr gid_t kOrdinaryGroup = 65534;

bool RunningAsRoot() { return geteuid() == 0; }

enum class RunAs { Us, OrdinaryUser };

class FileIoTest : public testing::Test {
protected:
    void SetUp() override
    {
        // A root test hands its folder to the ordinary user, who must be able to reach it.
        const std::string base = RunningAsRoot() ? "/tmp" : fs::temp_directory_path().string();
        std::string pattern = base + "/tavik-file-io-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        Own(m_dir);
    }

    void TearDown() override
    {
        // Folders made unwritable by a test must be opened again before they can be removed.
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(m_dir, error)) {
            if (entry.is_directory(error) && !entry.is_symlink(error))
                chmod(entry.path().c_str(), 0700);
        }
        fs::remove_all(m_dir, error);
    }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    // Files of the test belong to whoever the operation runs as.
    static void Own(const std::string& path)
    {
        if (RunningAsRoot()) {
            ASSERT_EQ(lchown(path.c_str(), kOrdinaryUser, kOrdinaryGroup), 0) << path;
        }
    }

    static void Write(const std::string& path, const std::string& bytes, mode_t mode = 0644)
    {
        std::ofstream(path, std::ios::binary) << bytes;
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        Own(path);
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    static mode_t Mode(const std::string& path)
    {
        struct stat status {};
        EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
        return status.st_mode & 07777;
    }

    std::set<std::string> Names(const std::string& dir) const
    {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Runs `operation` as us, or with an ordinary user's rights. Empty when this
    // process cannot become that user.
    static std::optional<FileResult> Run(RunAs who, const std::function<FileResult()>& operation)
    {
        if (who == RunAs::Us || !RunningAsRoot())
            return operation();

        int channel[2];
        if (pipe(channel) != 0)
            return std::nullopt;
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            std::string report = "-";
            if (setgroups(0, nullptr) == 0 && setgid(kOrdinaryGroup) == 0 && setuid(kOrdinaryUser) == 0) {
                const FileResult result = operation();
                report = (result.ok ? "1" : "0") + result.error;
            }
            [[maybe_unused]] const ssize_t written = write(channel[1], report.data(), report.size());
            _exit(0);
        }
        close(channel[1]);
        std::string report;
        char buffer[256];
        for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
            report.append(buffer, static_cast<std::size_t>(got));
        close(channel[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (report.empty() || report[0] == '-')
            return std::nullopt;
        return report[0] == '1' ? FileResult::success() : FileResult::failure(report.substr(1));
    }

    std::string m_dir;
};

TEST_F(FileIoTest, ReadWholeFile_File_GivesEveryByte)
{
    std::string bytes(3 << 20, '\0');
    std::mt19937 random(7);
    for (char& byte : bytes)
        byte = static_cast<char>(random());
    Write(Path("big.lst"), bytes);
    Write(Path("empty.lst"), "");

    EXPECT_EQ(FileIo::readWholeFile(Path("big.lst")), bytes);
    EXPECT_EQ(FileIo::readWholeFile(Path("empty.lst")), "");
}

TEST_F(FileIoTest, ReadWholeFile_Unreadable_GivesReasonWithPath)
{
    Write(Path("secret.lst"), "x", 0200);
    const struct {
        std::string path;
        RunAs who;
        std::string reason;
    } cases[] = {
        {Path("missing.lst"), RunAs::Us, "No such file or directory"},
        {m_dir, RunAs::Us, "Is a directory"},
        {Path("secret.lst"), RunAs::OrdinaryUser, "Permission denied"},
    };
    for (const auto& c : cases) {
        const std::optional<FileResult> result = Run(c.who, [&] {
            std::string error;
            return FileIo::readWholeFile(c.path, &error) ? FileResult::success() : FileResult::failure(error);
        });
        if (!result)
            GTEST_SKIP() << "cannot drop root rights to test permissions";
        EXPECT_FALSE(result->ok) << c.path;
        EXPECT_EQ(result->error, c.path + ": " + c.reason);
    }
}

TEST_F(FileIoTest, ReplaceFile_ExistingFile_ReplacesContentKeepsPermissionsLeavesNoTemporary)
{
    for (const mode_t mode : {0640, 0600, 0755, 0604}) {
        const std::string path = Path("list.lst");
        Write(path, "old content that is longer than the new", mode);

        const FileResult result = FileIo::replaceFile(path, "new\r\n");

        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(Read(path), "new\r\n");
        EXPECT_EQ(Mode(path), mode) << std::oct << mode;
        EXPECT_EQ(Names(m_dir), std::set<std::string>{"list.lst"});
    }
}

TEST_F(FileIoTest, ReplaceFile_ThroughLinkChain_ChangesTargetAndKeepsLinks)
{
    ASSERT_EQ(mkdir(Path("real").c_str(), 0755), 0);
    Own(Path("real"));
    Write(Path("real/list.lst"), "old", 0640);
    ASSERT_EQ(symlink("real/list.lst", Path("second").c_str()), 0);
    ASSERT_EQ(symlink("second", Path("first").c_str()), 0);

    const FileResult result = FileIo::replaceFile(Path("first"), "new");

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(Read(Path("real/list.lst")), "new");
    EXPECT_EQ(Mode(Path("real/list.lst")), 0640u);
    EXPECT_EQ(fs::read_symlink(Path("first")), "second");
    EXPECT_EQ(fs::read_symlink(Path("second")), "real/list.lst");
    EXPECT_EQ(Names(Path("real")), std::set<std::string>{"list.lst"});
}

TEST_F(FileIoTest, ReplaceFile_LinkToMissingFile_CreatesTheFileItNames)
{
    ASSERT_EQ(symlink("later.lst", Path("link").c_str()), 0);

    const FileResult result = FileIo::replaceFile(Path("link"), "made");

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_EQ(Read(Path("later.lst")), "made");
}

TEST_F(FileIoTest, ReplaceFile_NewFile_IsCreatedWithUmaskPermissions)
{
    const mode_t previous = umask(027);
    const FileResult result = FileIo::replaceFile(Path("new.lst"), "");
    umask(previous);

    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(Read(Path("new.lst")), "");
    EXPECT_EQ(Mode(Path("new.lst")), 0640u);
    EXPECT_EQ(Names(m_dir), std::set<std::string>{"new.lst"});
}

TEST_F(FileIoTest, ReplaceFile_CannotReplace_FailsWithReasonAndKeepsOldFile)
{
    const struct {
        const char* name;
        std::function<std::string()> setUp;  // gives the path to replace
        RunAs who;
        std::string reason;
    } cases[] = {
        {"read-only file, even for root",
         [&] { Write(Path("ro.lst"), "old", 0444); return Path("ro.lst"); }, RunAs::Us, "Permission denied"},
        {"folder without write permission",
         [&] {
             mkdir(Path("locked").c_str(), 0755);
             Own(Path("locked"));
             Write(Path("locked/list.lst"), "old", 0644);
             chmod(Path("locked").c_str(), 0555);
             return Path("locked/list.lst");
         },
         RunAs::OrdinaryUser, "Permission denied"},
        {"file of another user in an open folder: rename alone would replace it",
         [&] {
             mkdir(Path("shared").c_str(), 0777);
             chmod(Path("shared").c_str(), 0777);
             Own(Path("shared"));
             Write(Path("shared/list.lst"), "old", 0644);
             // Only root can make a file that belongs to someone else.
             if (!RunningAsRoot())
                 return std::string();
             lchown(Path("shared/list.lst").c_str(), 0, 0);
             return Path("shared/list.lst");
         },
         RunAs::OrdinaryUser, "Permission denied"},
        {"missing folder", [&] { return Path("gone/list.lst"); }, RunAs::Us, "No such file or directory"},
        {"folder", [&] { mkdir(Path("dir.lst").c_str(), 0755); return Path("dir.lst"); }, RunAs::Us, "Is a directory"},
        {"link loop",
         [&] {
             symlink("loop-b", Path("loop-a").c_str());
             symlink("loop-a", Path("loop-b").c_str());
             return Path("loop-a");
         },
         RunAs::Us, "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.setUp();
        if (path.empty())
            continue;
        const std::string dir = fs::path(path).parent_path().string();
        std::error_code error;
        const bool dirExists = fs::exists(dir, error);
        const bool fileExists = fs::is_regular_file(path, error);
        const std::set<std::string> before = dirExists ? Names(dir) : std::set<std::string>{};
        const std::string oldContent = fileExists ? Read(path) : "";

        const std::optional<FileResult> result = Run(c.who, [&] { return FileIo::replaceFile(path, "new"); });
        if (!result)
            GTEST_SKIP() << "cannot drop root rights to test permissions";

        EXPECT_FALSE(result->ok);
        EXPECT_EQ(result->error, path + ": " + c.reason);
        if (fileExists) {
            EXPECT_EQ(Read(path), oldContent);
        }
        if (dirExists) {
            EXPECT_EQ(Names(dir), before);
        }
    }
}

}  // namespace
}  // namespace tavik
