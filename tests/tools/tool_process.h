#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace tavik::test {

struct ToolOutput {
    int exitCode = -1;
    std::string out;
    std::string err;
};

enum class RunAs { CurrentUser, Unprivileged };

// Runs a program to completion and collects what it printed. RunAs::Unprivileged
// runs it as "nobody" when the tests run as root, so that file permissions apply to
// it as they do to an ordinary user. A program still running after `limit` (when
// given) is killed, and its exit code is that of timeout(1) for a kill: 137.
ToolOutput RunTool(const std::string& program, const std::vector<std::string>& args, RunAs runAs = RunAs::CurrentUser,
    std::chrono::seconds limit = std::chrono::seconds::zero());

// A temporary folder that everybody can reach, removed at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace tavik::test
