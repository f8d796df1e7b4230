// Kills `tavik-lst rewrite` of a large checklist at random moments: the file must
// always hold either the old or the new bytes in full, never a mix or a part.
#include "samples/large_checklist.h"
#include "tool_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <signal.h>
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

}  // namespace
}  // namespace tavik::test
