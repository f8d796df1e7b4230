// Disturbs `tavik-lst rewrite` of a large checklist: killed at random moments, the file
// must always hold either the old or the new bytes in full, never a mix or a part; and
// what another program writes meanwhile must never be lost silently.
#include "samples/large_checklist.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <poll.h>
#include <random>
#include <signal.h>
#include <string_view>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavik::test {
namespace {

const std::string kTool = TAVIK_LST_PATH;

pid_t StartRewrite(const std::string& file)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execl(kTool.c_str(), kTool.c_str(), "rewrite", file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

TEST(RewriteCrash, KilledAtAnyMoment_LeavesTheOldOrTheNewFile)
{
    TempFolder folder;
    const std::string file = folder.file("large.lst");
    const std::string oldBytes = MakeLargeChecklistFile(1000000);
    WriteFile(file, oldBytes);

    // One undisturbed run gives the new bytes and how long a rewrite takes.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunTool(kTool, {"rewrite", file}).exitCode, 0);
    const auto duration = std::chrono::steady_clock::now() - started;
    const std::string newBytes = ReadFile(file);
    ASSERT_NE(newBytes, oldBytes);

    std::mt19937 random(50);
    std::uniform_int_distribution<long long> moment(
        0, std::chrono::duration_cast<std::chrono::microseconds>(duration).count() * 11 / 10);
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        WriteFile(file, oldBytes);
        const pid_t pid = StartRewrite(file);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        const std::string now = ReadFile(file);
        const bool isOld = now == oldBytes;
        const bool isNew = now == newBytes;
        ASSERT_TRUE(isOld || isNew) << "attempt " << attempt << ": " << now.size() << " bytes";
        sawOld += isOld;
        sawNew += isNew;
    }
    // Both outcomes happen, so the kills did land at different stages.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

ino_t Inode(const std::string& file)
{
    struct stat status { };
    return stat(file.c_str(), &status) == 0 ? status.st_ino : 0;
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
TEST(RewriteCrash, FileWithTwoNames_KilledAtAnyMoment_IsFinishedByTheNextRead)
{
    TempFolder folder;
    const std::string file = folder.file("large.lst");
    const std::string other = folder.file("other.lst");
    const std::filesystem::path directory = std::filesystem::path(file).parent_path();
    const std::string oldBytes = MakeLargeChecklistFile(1000000);
    WriteFile(file, oldBytes);
    ASSERT_EQ(link(file.c_str(), other.c_str()), 0);
    const ino_t inode = Inode(file);

    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunTool(kTool, {"rewrite", file}).exitCode, 0);
    const auto duration = std::chrono::steady_clock::now() - started;
    const std::string newBytes = ReadFile(other);
    ASSERT_TRUE(newBytes != oldBytes);

    // Each random kill lands in its own share of the run or a little beyond, so that the kills
    // cover every stage however few they are. The in-place write itself is over too soon to be
    // hit often that way, so the last attempts kill just as the journal is in place.
    constexpr int kRandomKills = 20;
    constexpr int kKillsOnJournal = 3;
    const long long span = std::chrono::duration_cast<std::chrono::microseconds>(duration).count() * 12 / 10;
    std::mt19937 random(20);
    std::uniform_int_distribution<long long> withinShare(0, span / kRandomKills);
    int sawOld = 0;
    int sawNew = 0;
    for (int attempt = 0; attempt < kRandomKills + kKillsOnJournal; ++attempt) {
        WriteFile(file, oldBytes);
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, directory.c_str(), IN_MOVED_TO);
        const pid_t pid = StartRewrite(file);
        const bool onJournal = attempt >= kRandomKills;
        if (onJournal)
            EXPECT_TRUE(WaitForJournal(watch)) << "attempt " << attempt;
        else
            std::this_thread::sleep_for(std::chrono::microseconds(span * attempt / kRandomKills + withinShare(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        close(watch);

        ASSERT_EQ(RunTool(kTool, {"stats", file}).exitCode, 0) << "attempt " << attempt;
        const std::string now = ReadFile(other);
        const bool isOld = now == oldBytes;
        const bool isNew = now == newBytes;
        ASSERT_TRUE(isNew || (isOld && !onJournal)) << "attempt " << attempt << ": " << now.size() << " bytes";
        ASSERT_TRUE(Inode(file) == inode && Inode(other) == inode) << "attempt " << attempt;
        sawOld += isOld;
        sawNew += isNew;
        // The journal is gone; the temporary files of kills before it was made are cleared away.
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            const std::string name = entry.path().filename().string();
            ASSERT_EQ(name.find(".tavik-"), std::string::npos) << "attempt " << attempt;
            if (name.starts_with("."))
                std::filesystem::remove(entry.path());
        }
    }
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
}

// Another program appends an item as soon as the tool has read the file and closed it, while
// it is still parsing. The tool notices and writes nothing; had it somehow finished first, the
// item is in the file it wrote. Either way the item is never lost under a rewritten file.
TEST(RewriteRace, AnotherProgramWritesDuringTheRewrite_ItsChangeIsNeverLost)
{
    TempFolder folder;
    const std::string file = folder.file("large.lst");
    const std::string oldBytes = MakeLargeChecklistFile(1000000);
    WriteFile(file, oldBytes);
    const std::string item = "written by another program\r\n";

    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(inotify_add_watch(watch, file.c_str(), IN_CLOSE_NOWRITE), 0);
    auto rewrite = std::async(std::launch::async, [&] { return RunTool(kTool, {"rewrite", file}); });
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
            "tavik-lst: " + file + " was changed by another program while it was being rewritten; nothing written\n");
        EXPECT_TRUE(now == oldBytes + item);
    }
}

}  // namespace
}  // namespace tavik::test
