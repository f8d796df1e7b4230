// Cold start of the program to its main window shown, on each Qt platform given:
//
//   startup_bench PROBE [--runs N] PLATFORM...     e.g. startup_bench bench/startup_probe offscreen xcb
//
// Each run starts a fresh process of PROBE (startup_probe) with QT_QPA_PLATFORM set to
// the platform and its own device root, settings and runtime folders, so no run finds
// another's lock or settings. As at a user's start, the root holds a small checklist
// that the settings remember as the last one open. PROBE prints CLOCK_REALTIME when
// the window is shown; the time from just before the fork to that moment is one sample.
// Prints min, median and max per platform; exits 1 when a run fails or takes longer
// than 30 s.
#include "bench/median.h"
#include "samples/large_checklist.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tavik {
namespace {

constexpr int kDefaultRuns = 10;
constexpr int kRunTimeoutMs = 30'000;
// A checklist of a size a person keeps, at the top of the device root.
constexpr size_t kChecklistItems = 30;
constexpr char kChecklistName[] = "bench.lst";

long long RealtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// A folder made for one run and removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavik-startup.XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempFolder()
    {
        if (!m_path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool valid() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

struct RunResult {
    std::optional<double> ms;
    std::string error;
};

// Reads the child's whole output, or gives up at the deadline.
bool ReadAll(int fd, std::string& out, long long deadlineNs)
{
    char buffer[256];
    for (;;) {
        const long long leftMs = (deadlineNs - RealtimeNs()) / 1'000'000;
        if (leftMs <= 0)
            return false;
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(leftMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return true;
        out.append(buffer, static_cast<size_t>(n));
    }
}

bool WriteText(const std::string& path, const std::string& text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

// The checklist in the root, and the profile (QSettings' INI file) naming it as the
// file last open; "Folder" empty is the root itself.
bool PlaceRememberedChecklist(const std::string& root, const std::string& config, const std::string& checklist)
{
    const std::string profileFolder = config + "/Vantra";
    return WriteText(root + "/" + kChecklistName, checklist) && mkdir(profileFolder.c_str(), 0700) == 0
        && WriteText(profileFolder + "/tavik.conf", std::string("[MRU]\nFolder=\nFileName=") + kChecklistName + "\n");
}

// Waits for the child to end until the deadline; false when it has not.
bool WaitForExit(pid_t pid, int& status, long long deadlineNs)
{
    for (;;) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid)
            return true;
        if ((ended < 0 && errno != EINTR) || RealtimeNs() >= deadlineNs)
            return false;
        usleep(1000);
    }
}

std::string ReadText(const std::string& path)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

RunResult RunOnce(const std::string& probe, const std::string& platform, const std::string& checklist)
{
    TempFolder root;
    TempFolder config;
    TempFolder runtime;
    TempFolder logs;
    if (!root.valid() || !config.valid() || !runtime.valid() || !logs.valid())
        return {std::nullopt, std::string("cannot make temporary folders: ") + std::strerror(errno)};
    if (!PlaceRememberedChecklist(root.path(), config.path(), checklist))
        return {std::nullopt, std::string("cannot write the checklist and the profile: ") + std::strerror(errno)};

    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {std::nullopt, std::string("pipe: ") + std::strerror(errno)};

    // The probe's own messages (Qt's notes about the platform) are shown only when a run fails.
    const std::string logFile = logs.path() + "/stderr.log";

    const long long started = RealtimeNs();
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeFds[0]);
        close(pipeFds[1]);
        return {std::nullopt, std::string("fork: ") + std::strerror(errno)};
    }
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        if (FILE* log = std::fopen(logFile.c_str(), "w"))
            dup2(fileno(log), STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
        setenv("TAVIK_ROOT", root.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        execl(probe.c_str(), probe.c_str(), static_cast<char*>(nullptr));
        std::fprintf(stderr, "startup_bench: cannot run %s: %s\n", probe.c_str(), std::strerror(errno));
        _exit(127);
    }
    close(pipeFds[1]);

    const long long deadline = started + kRunTimeoutMs * 1'000'000LL;
    std::string out;
    const bool complete = ReadAll(pipeFds[0], out, deadline);
    close(pipeFds[0]);
    int status = 0;
    const bool ended = complete && WaitForExit(pid, status, deadline);
    if (!ended) {
        kill(pid, SIGKILL);
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }

    char* end = nullptr;
    const long long shown = std::strtoll(out.c_str(), &end, 10);
    std::string failure;
    if (!complete)
        failure = "the probe did not show its window within 30 s";
    else if (!ended)
        failure = "the probe did not end within 30 s";
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        failure = "the probe failed (status "
            + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)) + ")";
    else if (end == out.c_str() || shown < started)
        failure = "the probe printed no time: \"" + out + "\"";
    if (!failure.empty())
        return {std::nullopt, failure + "\n" + ReadText(logFile)};
    return {static_cast<double>(shown - started) / 1e6, {}};
}

int Usage()
{
    std::fprintf(stderr, "usage: startup_bench PROBE [--runs N] PLATFORM...\n");
    return 2;
}

}  // namespace
}  // namespace tavik

int main(int argc, char** argv)
{
    using namespace tavik;
    if (argc < 3)
        return Usage();
    const std::string probe = argv[1];
    int runs = kDefaultRuns;
    std::vector<std::string> platforms;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            if (runs < 1)
                return Usage();
        } else {
            platforms.push_back(arg);
        }
    }
    if (platforms.empty())
        return Usage();

    const std::string checklist = MakeLargeChecklistFile(kChecklistItems);
    for (const std::string& platform : platforms) {
        std::vector<double> samples;
        for (int run = 0; run < runs; ++run) {
            const RunResult result = RunOnce(probe, platform, checklist);
            if (!result.ms) {
                std::fprintf(
                    stderr, "startup_bench: %s, run %d: %s\n", platform.c_str(), run + 1, result.error.c_str());
                return 1;
            }
            samples.push_back(*result.ms);
        }
        std::printf("%-10s %d runs, start to main window shown: min %.1f ms, median %.1f ms, max %.1f ms\n",
            platform.c_str(), runs, *std::min_element(samples.begin(), samples.end()), Median(samples),
            *std::max_element(samples.begin(), samples.end()));
        std::fflush(stdout);
    }
    return 0;
}
