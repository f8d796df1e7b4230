#pragma once

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
// drops to the "nobody" user when the tests run as root, so that file permissions
// apply to the program as they do to an ordinary user.
ToolOutput RunTool(const std::string& program, const std::vector<std::string>& args,
                   RunAs runAs = RunAs::CurrentUser);

// A temporary folder, removed with everything in it at the end of the test. It is
// readable by everybody, so an unprivileged program can reach files in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace tavik::test
