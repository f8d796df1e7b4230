// Runs commands again and again, each in a fresh process, as a user starts them:
//
//   process_bench [--runs N] COMMAND [ARG...] [-- COMMAND [ARG...]]
//
// Each run starts the command (looked up on PATH) with its stdout going to /dev/null
// and waits for it with wait4: the time from just before the start to its end is one
// sample, the child's ru_maxrss its peak memory (which counts, from before the exec,
// this program's own few MB as well). Prints the best and median time and the
// largest peak per command; with two commands their runs alternate, so that both meet
// the machine in the same state, and the ratio of their best times follows. Exits 1
// when a run fails or does not end within two minutes.
#include "bench/median.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tavik {
namespace {

constexpr int kDefaultRuns = 5;
constexpr int kRunTimeoutMs = 120'000;

struct Command {
    std::vector<char*> argv;  // ends with a null pointer, as exec wants it
    std::vector<double> ms;
    long peakKb = 0;
};

struct RunResult {
    std::optional<double> ms;
    long peakKb = 0;
    std::string error;
};

RunResult RunOnce(char* const* argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto started = std::chrono::steady_clock::now();
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return {std::nullopt, 0, std::string("cannot run ") + argv[0] + ": " + std::strerror(spawned)};

    // A pidfd turns readable the moment the child ends, which gives the wait its time
    // limit without adding a polling delay to the time measured. (The system call itself:
    // glibc 2.36's <sys/pidfd.h> declares pidfd_open without C linkage.)
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) {
        const std::string error = std::string("pidfd_open: ") + std::strerror(errno);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return {std::nullopt, 0, error};
    }
    pollfd pfd{pidfd, POLLIN, 0};
    int ready = 0;
    while ((ready = poll(&pfd, 1, kRunTimeoutMs)) < 0 && errno == EINTR) {
    }
    close(pidfd);
    const bool ended = ready > 0;
    if (!ended)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - started;

    if (!ended)
        return {std::nullopt, 0, "did not end within 120 s"};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {std::nullopt, 0,
            "failed (status " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)) + ")"};
    return {elapsed.count(), usage.ru_maxrss, {}};
}

double Best(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

std::string ProgramOf(const Command& command)
{
    const std::string program = command.argv[0];
    return program.substr(program.rfind('/') + 1);
}

// The command as typed, its program without the folder.
std::string LabelOf(const Command& command)
{
    std::string label = ProgramOf(command);
    for (size_t i = 1; command.argv[i]; ++i)
        label += std::string(" ") + command.argv[i];
    return label;
}

int Usage()
{
    std::fprintf(stderr, "usage: process_bench [--runs N] COMMAND [ARG...] [-- COMMAND [ARG...]]\n");
    return 2;
}

}  // namespace
}  // namespace tavik

int main(int argc, char** argv)
{
    using namespace tavik;
    int first = 1;
    int runs = kDefaultRuns;
    if (argc > 2 && std::strcmp(argv[1], "--runs") == 0) {
        runs = std::atoi(argv[2]);
        first = 3;
    }
    std::vector<Command> commands(1);
    for (int i = first; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            commands.back().argv.push_back(nullptr);
            commands.emplace_back();
        } else {
            commands.back().argv.push_back(argv[i]);
        }
    }
    commands.back().argv.push_back(nullptr);
    const bool wellFormed
        = std::all_of(commands.begin(), commands.end(), [](const Command& command) { return command.argv.size() > 1; });
    if (runs < 1 || commands.size() > 2 || !wellFormed)
        return Usage();

    for (int run = 0; run < runs; ++run) {
        for (Command& command : commands) {
            const RunResult result = RunOnce(command.argv.data());
            if (!result.ms) {
                std::fprintf(
                    stderr, "process_bench: %s, run %d: %s\n", LabelOf(command).c_str(), run + 1, result.error.c_str());
                return 1;
            }
            command.ms.push_back(*result.ms);
            command.peakKb = std::max(command.peakKb, result.peakKb);
        }
    }
    for (const Command& command : commands)
        std::printf("%s\n  %d runs: best %.1f ms, median %.1f ms, peak memory %.1f MB\n", LabelOf(command).c_str(),
            runs, Best(command.ms), Median(command.ms), static_cast<double>(command.peakKb) / 1024.0);
    if (commands.size() == 2)
        std::printf("%s against %s, best against best: %.2f x\n", ProgramOf(commands[0]).c_str(),
            ProgramOf(commands[1]).c_str(), Best(commands[0].ms) / Best(commands[1].ms));
    return 0;
}
