// tavik-lst as scripts run it: what each command prints and exits with, what a rewrite leaves on
// disk, and that a rewrite killed at any moment or raced by another program loses nothing.
#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"
#include "samples/large_checklist.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sstream>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavik {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;

std::string Cp932(std::string_view utf8)
{
    return Cp932Codec::encode(UnicodeCodec::decodeUtf8(utf8));
}

std::string ReadFile(const fs::path& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ino_t Inode(const fs::path& path)
{
    struct stat status { };
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

struct ToolOutput {
    int exitCode = -1;
    std::string out, err;
};

// Each test runs tavik-lst in a temporary folder that everybody may write to.
class TavikLst : public testing::Test {
protected:
    TavikLst() { fs::permissions(m_folder, fs::perms::all); }
    ~TavikLst() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(m_folder))
            fs::permissions(entry.path(), fs::perms::all);
        fs::remove_all(m_folder);
    }
    fs::path path(const std::string& name) const { return m_folder / name; }

    // Unprivileged, it runs as "nobody" when the tests run as root, so that permissions apply to
    // it as to any user; a run still going after ten seconds is killed.
    ToolOutput run(const std::vector<std::string>& args, bool unprivileged = false) const
    {
        std::string command = "cd " + m_folder.string() + " && timeout -s KILL 10 "
            + (unprivileged && geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "")
            + TAVIK_LST_PATH;
        for (const std::string& arg : args)
            command += " '" + arg + "'";
        const int status = std::system((command + " >.out 2>.err").c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(path(".out")), ReadFile(path(".err"))};
    }

    const fs::path m_folder = [] {
        std::string pattern = (fs::temp_directory_path() / "tavik-lst-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    const fs::path m_file = m_folder / "list.lst";
};

const char kShopping[]
    = "!週末の買い物\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n\t2本\r\nパン\r\n×<02/12/22>卵\r\n削<02/12/20>\r\n";

TEST_F(TavikLst, CommandsPrintExitAndWriteAsScriptsExpect)
{
    const std::string shopping = Cp932(kShopping);
    const std::string written
        = Cp932(" !週末の買い物\r\n\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n 2本\r\nパン\r\n×<02/12/22>卵\r\n");
    fs::create_directory(path("locked"));
    // The files and the modes they start with.
    const std::tuple<std::string, std::string, fs::perms> files[] = {{"list.lst", shopping, fs::perms(0640)},
        {"linked.lst", shopping, fs::perms(0644)}, {"u8.lst", "\xEF\xBB\xBF牛乳\n", fs::perms(0644)},
        {"counted.lst", Cp932("○<02/12/23>a\r\n○<02/12/23>b\r\nc\r\n削<02/12/20>\r\n"), fs::perms(0644)},
        {"header.lst", " only a header\r\n", fs::perms(0644)}, {"locked/list.lst", shopping, fs::perms(0666)},
        {"readonly.lst", shopping, fs::perms(0444)}, {"odd.lst", "a\0b\0"s, fs::perms(0644)},
        {"partly.lst", shopping + '\0' + Cp932("パン\r\n"), fs::perms(0644)},
        {"emoji.lst", "\xEF\xBB\xBFみかん🍊\r\n", fs::perms(0644)}};
    for (const auto& [name, bytes, mode] : files) {
        WriteFile(path(name), bytes);
        fs::permissions(path(name), mode);
    }
    ASSERT_EQ(link(path("linked.lst").c_str(), path("other.lst").c_str()), 0);
    fs::permissions(path("locked"), fs::perms(0555));
    std::ofstream(path("sparse.lst")).close();
    fs::resize_file(path("sparse.lst"), 300 << 20);
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0666), 0);
    // A new file gets what the umask leaves of 0666.
    const mode_t umaskBefore = umask(022);

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out, err;  // `err`: a part of what it says on stderr
        bool unprivileged = false;
    };
    const Case cases[] = {
        {{"show", "list.lst"}, 0,
            R"({"encoding": "ansi", "notices": ["削除データが 1件ありました"], "whole": true, "header": "!週末の買い物",
                "rows": [{"mark": "○", "date": "02/12/23", "text": "牛乳", "comment": "低脂肪\n2本"},
                    {"mark": "", "date": "", "text": "パン", "comment": ""},
                    {"mark": "×", "date": "02/12/22", "text": "卵", "comment": ""}],
                "comments": ["低脂肪!!2本", "", "", ""]})"},
        {{"stats", "counted.lst"}, 0, "2/3\n66%\n"},
        {{"stats", "header.lst"}, 0, ""},
        {{"show", "none-such.lst"}, 2, "", "cannot open none-such.lst"},
        {{"frobnicate", "list.lst"}, 2, "", "usage: tavik-lst"},
        // Special and oversized files are refused at once, without reading them.
        {{"stats", "fifo"}, 2, "", "tavik-lst: fifo: not a regular file; nothing read\n"},
        {{"stats", "/dev/zero"}, 2, "", "tavik-lst: /dev/zero: not a regular file; nothing read\n"},
        {{"stats", "sparse.lst"}, 2, "",
            "sparse.lst: 314572800 bytes is larger than the 268435456 bytes a checklist may have; nothing read\n"},
        {{"rewrite", "list.lst", "new.lst"}, 0},
        {{"rewrite", "list.lst"}, 0},
        {{"rewrite", "linked.lst"}, 0},
        {{"rewrite", "u8.lst"}, 0, "", "u8.lst was read as Unicode (utf8); it is written in CP932\n"},
        // Refusals leave the file as it was, and say why. A read-only file stays so even for root.
        {{"rewrite", "locked/list.lst"}, 1, "", "cannot write locked/list.lst", true},
        {{"rewrite", "readonly.lst"}, 1, "", "cannot write readonly.lst"},
        {{"rewrite", "odd.lst"}, 1, "", "odd.lst: the encoding cannot be determined; nothing written\n"},
        {{"rewrite", "partly.lst"}, 1, "",
            "partly.lst was not read whole: 8行目のNUL文字から後ろは読み込めませんでした。"},
        {{"rewrite", "emoji.lst"}, 1, "", "emoji.lst: 1 characters cannot be written in CP932 (🍊); nothing written\n"},
    };
    for (const Case& c : cases) {
        const ToolOutput result = run(c.args, c.unprivileged);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args[0] << " " << c.args[1] << ": " << result.err;
        if (c.args[0] == "show" && c.exitCode == 0)
            EXPECT_EQ(nlohmann::json::parse(result.out), nlohmann::json::parse(c.out)) << c.args[1];
        else
            EXPECT_EQ(result.out, c.out) << c.args[1];
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        EXPECT_EQ(result.err.empty(), c.err.empty()) << result.err;
    }
    umask(umaskBefore);

    // What the program would save, with every mode kept and a new file's from the umask; a file
    // with a second name stays one file. Refused files keep their bytes.
    for (const auto& [name, bytes, mode] : files) {
        const bool rewritten = name == "list.lst" || name == "linked.lst";
        EXPECT_EQ(ReadFile(path(name)), rewritten ? written : name == "u8.lst" ? Cp932("\r\n牛乳\r\n") : bytes) << name;
        EXPECT_EQ(fs::status(path(name)).permissions(), mode) << name;
    }
    EXPECT_EQ(ReadFile(path("new.lst")), written);
    EXPECT_EQ(fs::status(path("new.lst")).permissions(), fs::perms(0644));
    EXPECT_EQ(Inode(path("linked.lst")), Inode(path("other.lst")));
}

pid_t StartRewrite(const fs::path& file)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execl(TAVIK_LST_PATH, TAVIK_LST_PATH, "rewrite", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// One undisturbed rewrite of `file`, started as the disturbed ones are: the new bytes, and how long it took.
std::pair<std::string, std::chrono::microseconds> Rewrite(const fs::path& file)
{
    const auto started = std::chrono::steady_clock::now();
    int status = -1;
    waitpid(StartRewrite(file), &status, 0);
    EXPECT_EQ(status, 0);
    return {ReadFile(file),
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)};
}

// Killed at random moments, the file always holds the old or the new bytes in full. A replace
// that truncates the file and writes it in place shows a torn file after 13 kills in the median
// and 65 at the worst over 40 runs on a file of this size: 130 kills catch it with room to spare.
TEST_F(TavikLst, RewriteKilledAtAnyMoment_LeavesTheOldOrTheNewFile)
{
    const fs::path& file = m_file;
    const std::string oldBytes = MakeLargeChecklistFile(2000);
    WriteFile(file, oldBytes);
    const auto [newBytes, duration] = Rewrite(file);
    ASSERT_NE(newBytes, oldBytes);

    std::mt19937 random(50);
    std::uniform_int_distribution<long long> moment(0, duration.count() * 11 / 10);
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < 130; ++attempt) {
        WriteFile(file, oldBytes);
        const pid_t pid = StartRewrite(file);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string now = ReadFile(file);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "attempt " << attempt << ": " << now.size() << " bytes";
        sawOld += now == oldBytes;
        sawNew += now == newBytes;
    }
    // Both outcomes happen, so the kills did land at different stages.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

// Waits until a journal is renamed into the folder `watch` watches, at most ten seconds.
bool WaitForJournal(int watch)
{
    alignas(inotify_event) char events[4096];
    pollfd ready{watch, POLLIN, 0};
    while (poll(&ready, 1, 10000) == 1) {
        const ssize_t length = read(watch, events, sizeof events);
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + offset);
            if (event->len > 0 && std::string_view(event->name).find(".tavik-") != std::string_view::npos)
                return true;
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}

// A file with a second name is rewritten in place through a journal. After a kill the next
// read finishes the write, and then both names show the old or the new bytes in full.
TEST_F(TavikLst, RewriteOfAFileWithTwoNames_KilledAtAnyMoment_IsFinishedByTheNextRead)
{
    const fs::path& file = m_file;
    const fs::path other = path("other.lst");
    const std::string oldBytes = MakeLargeChecklistFile(2000);
    WriteFile(file, oldBytes);
    ASSERT_EQ(link(file.c_str(), other.c_str()), 0);
    const ino_t inode = Inode(file);
    const auto [newBytes, duration] = Rewrite(file);
    ASSERT_EQ(ReadFile(other), newBytes);

    // Each random kill lands in its own share of the run or a little beyond, so that the kills
    // cover every stage however few they are. The in-place write itself is over too soon to be
    // hit often that way, so the last attempts kill just as the journal is in place.
    constexpr int kRandomKills = 20;
    constexpr int kKillsOnJournal = 3;
    const long long span = duration.count() * 12 / 10;
    std::mt19937 random(20);
    std::uniform_int_distribution<long long> withinShare(0, span / kRandomKills);
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < kRandomKills + kKillsOnJournal; ++attempt) {
        WriteFile(file, oldBytes);
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, file.parent_path().c_str(), IN_MOVED_TO);
        const pid_t pid = StartRewrite(file);
        const bool onJournal = attempt >= kRandomKills;
        if (onJournal)
            EXPECT_TRUE(WaitForJournal(watch)) << "attempt " << attempt;
        else
            std::this_thread::sleep_for(std::chrono::microseconds(span * attempt / kRandomKills + withinShare(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        close(watch);

        ASSERT_EQ(run({"stats", "list.lst"}).exitCode, 0) << "attempt " << attempt;
        const std::string now = ReadFile(other);
        ASSERT_TRUE(now == newBytes || (now == oldBytes && !onJournal)) << "attempt " << attempt << ": " << now.size();
        ASSERT_TRUE(Inode(file) == inode && Inode(other) == inode) << "attempt " << attempt;
        sawOld += now == oldBytes;
        sawNew += now == newBytes;
        // The journal is gone; the temporary files of kills before it was made are cleared away.
        for (const auto& entry : fs::directory_iterator(file.parent_path())) {
            const std::string name = entry.path().filename().string();
            ASSERT_EQ(name.find(".tavik-"), std::string::npos) << "attempt " << attempt;
            if (name.starts_with(".") && name != ".out" && name != ".err")
                fs::remove(entry.path());
        }
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

// Another program appends an item as soon as the tool has read the file and closed it, while
// it is still parsing. The tool notices and writes nothing; had it somehow finished first, the
// item is in the file it wrote. Either way the item is never lost under a rewritten file.
TEST_F(TavikLst, RewriteRacedByAnotherProgram_LosesNothingItWrote)
{
    const fs::path& file = m_file;
    const std::string oldBytes = MakeLargeChecklistFile(200000);
    WriteFile(file, oldBytes);
    const std::string item = "written by another program\r\n";

    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, file.c_str(), IN_CLOSE_NOWRITE), 0);
    auto rewrite = std::async(std::launch::async, [&] { return run({"rewrite", "list.lst"}); });
    pollfd event{watch, POLLIN, 0};
    const bool wasClosed = poll(&event, 1, 10000) == 1;
    std::ofstream(file, std::ios::binary | std::ios::app) << item;
    close(watch);
    const ToolOutput result = rewrite.get();
    ASSERT_TRUE(wasClosed);

    const std::string now = ReadFile(file);
    if (result.exitCode == 0) {
        EXPECT_NE(now.find("written by another program"), std::string::npos);
    } else {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err,
            "tavik-lst: list.lst was changed by another program while it was being rewritten; nothing written\n");
        EXPECT_TRUE(now == oldBytes + item);
    }
}

}  // namespace
}  // namespace tavik
