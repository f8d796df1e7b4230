#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"
#include "tool_process.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

namespace tavik::test {
namespace {

const std::string kTool = TAVIK_LST_PATH;

std::string Cp932(std::string_view utf8)
{
    return Cp932Codec::encode(UnicodeCodec::decodeUtf8(utf8));
}

const char kShopping[]
    = "!週末の買い物\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n\t2本\r\nパン\r\n×<02/12/22>卵\r\n削<02/12/20>\r\n";

TEST(TavikLst, Show_PrintsTheChecklistAsJson)
{
    TempFolder folder;
    WriteFile(folder.file("list.lst"), Cp932(kShopping));
    WriteFile(folder.file("utf16.lst"),
        std::string("\xFF\xFE"
                    "a\0",
            4));
    WriteFile(folder.file("odd.lst"), std::string("a\0b\0", 4));

    const ToolOutput result = RunTool(kTool, {"show", folder.file("list.lst")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const nlohmann::json json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["encoding"], "ansi");
    EXPECT_EQ(json["notices"], nlohmann::json::array({"削除データが 1件ありました"}));
    EXPECT_EQ(json["header"], "!週末の買い物");
    ASSERT_EQ(json["rows"].size(), 3u);
    EXPECT_EQ(json["rows"][0],
        (nlohmann::json{{"mark", "○"}, {"date", "02/12/23"}, {"text", "牛乳"}, {"comment", "低脂肪\n2本"}}));
    EXPECT_EQ(json["comments"], nlohmann::json::array({"低脂肪!!2本", "", "", ""}));

    const auto encodingOf = [&](const char* name) {
        return nlohmann::json::parse(RunTool(kTool, {"show", folder.file(name)}).out)["encoding"];
    };
    EXPECT_EQ(encodingOf("utf16.lst"), "utf16le");
    EXPECT_EQ(encodingOf("odd.lst"), "undetermined");
}

TEST(TavikLst, StatsAndErrors)
{
    TempFolder folder;
    WriteFile(folder.file("list.lst"), Cp932("○<02/12/23>a\r\n○<02/12/23>b\r\nc\r\n削<02/12/20>\r\n"));
    WriteFile(folder.file("none.lst"), Cp932(" only a header\r\n"));
    EXPECT_EQ(RunTool(kTool, {"stats", folder.file("list.lst")}).out, "2/3\n66%\n");
    EXPECT_EQ(RunTool(kTool, {"stats", folder.file("none.lst")}).out, "");

    const ToolOutput missing = RunTool(kTool, {"show", folder.file("none-such.lst")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("none-such.lst"), std::string::npos) << missing.err;
    EXPECT_EQ(RunTool(kTool, {"frobnicate", folder.file("list.lst")}).exitCode, 2);
}

// A FIFO without a writer, an endless device and a file over the limit are refused at
// once, without reading them.
TEST(TavikLst, SpecialAndOversizedFiles_AreRefusedWithoutReading)
{
    TempFolder folder;
    ASSERT_EQ(mkfifo(folder.file("fifo").c_str(), 0600), 0);
    WriteFile(folder.file("sparse.lst"), "");
    ASSERT_EQ(truncate(folder.file("sparse.lst").c_str(), 300 << 20), 0);
    const std::pair<std::string, std::string> cases[] = {
        {folder.file("fifo"), ": not a regular file; nothing read\n"},
        {"/dev/zero", ": not a regular file; nothing read\n"},
        {folder.file("sparse.lst"),
            ": 314572800 bytes is larger than the 268435456 bytes a checklist may have; nothing read\n"},
    };
    for (const auto& [path, message] : cases) {
        const ToolOutput result = RunTool(kTool, {"stats", path}, RunAs::CurrentUser, std::chrono::seconds(10));
        EXPECT_EQ(result.exitCode, 2) << path;
        EXPECT_EQ(result.err, "tavik-lst: " + path + message);
    }
}

TEST(TavikLst, Rewrite_WritesWhatTheProgramWouldSave)
{
    TempFolder folder;
    const std::string original = Cp932(kShopping);
    WriteFile(folder.file("list.lst"), original);
    chmod(folder.file("list.lst").c_str(), 0640);
    WriteFile(folder.file("u8.lst"), "\xEF\xBB\xBF牛乳\n");

    const std::string expected
        = Cp932(" !週末の買い物\r\n\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n 2本\r\nパン\r\n×<02/12/22>卵\r\n");
    ASSERT_EQ(RunTool(kTool, {"rewrite", folder.file("list.lst"), folder.file("out.lst")}).exitCode, 0);
    EXPECT_EQ(ReadFile(folder.file("out.lst")), expected);
    EXPECT_EQ(ReadFile(folder.file("list.lst")), original);

    ASSERT_EQ(RunTool(kTool, {"rewrite", folder.file("list.lst")}).exitCode, 0);
    EXPECT_EQ(ReadFile(folder.file("list.lst")), expected);
    struct stat info { };
    stat(folder.file("list.lst").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const ToolOutput unicode = RunTool(kTool, {"rewrite", folder.file("u8.lst")});
    EXPECT_EQ(unicode.exitCode, 0);
    EXPECT_NE(unicode.err.find("CP932"), std::string::npos) << unicode.err;
    EXPECT_EQ(ReadFile(folder.file("u8.lst")), Cp932("\r\n牛乳\r\n"));
}

// Nothing is written over a file whose encoding is unknown, in a folder the user
// cannot write, or that is read-only; each says why.
TEST(TavikLst, Rewrite_RefusalsKeepTheFile)
{
    TempFolder folder;
    const std::string original = Cp932(kShopping);
    mkdir(folder.file("locked").c_str(), 0777);
    WriteFile(folder.file("locked/list.lst"), original);
    chmod(folder.file("locked/list.lst").c_str(), 0666);
    chmod(folder.file("locked").c_str(), 0555);
    WriteFile(folder.file("readonly.lst"), original);
    chmod(folder.file("readonly.lst").c_str(), 0444);
    WriteFile(folder.file("odd.lst"), std::string("a\0b\0", 4));
    WriteFile(folder.file("partly.lst"), original + std::string("\0", 1) + Cp932("パン\r\n"));
    WriteFile(folder.file("emoji.lst"), "\xEF\xBB\xBFみかん🍊\r\n");

    const std::pair<const char*, const char*> cases[] = {{"locked/list.lst", ""}, {"readonly.lst", ""},
        {"odd.lst", "cannot be determined"}, {"partly.lst", "NUL"}, {"emoji.lst", "cannot be written in CP932 (🍊)"}};
    for (const auto& [name, reason] : cases) {
        const std::string before = ReadFile(folder.file(name));
        const ToolOutput result = RunTool(kTool, {"rewrite", folder.file(name)}, RunAs::Unprivileged);
        EXPECT_EQ(result.exitCode, 1) << name;
        EXPECT_NE(result.err.find(name), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(ReadFile(folder.file(name)), before) << name;
    }
}

}  // namespace
}  // namespace tavik::test
