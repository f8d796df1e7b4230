#include "tool_process.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavik::test {

namespace {

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

ToolOutput RunTool(
    const std::string& program, const std::vector<std::string>& args, RunAs runAs, std::chrono::seconds limit)
{
    TempFolder capture;
    std::string command
        = limit > std::chrono::seconds::zero() ? "timeout --signal=KILL " + std::to_string(limit.count()) + " " : "";
    if (runAs == RunAs::Unprivileged && geteuid() == 0)
        command += "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    command += Quoted(program);
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    command += " >" + capture.file("out") + " 2>" + capture.file("err");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(capture.file("out")), ReadFile(capture.file("err"))};
}

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavik-test-XXXXXX").string();
    m_path = mkdtemp(pattern.data());
    chmod(m_path.c_str(), 0777);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::all, ignored);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace tavik::test
