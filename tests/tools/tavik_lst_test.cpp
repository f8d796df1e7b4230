#include <gtest/gtest.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "platform/codepage/cp932_codec.h"
#include "platform/codepage/unicode_codec.h"
#include "tool_process.h"

namespace tavik::test {
namespace {

const std::string kTool = TAVIK_LST_PATH;

std::string Cp932(std::string_view utf8) { return Cp932Codec::encode(UnicodeCodec::decodeUtf8(utf8)); }

const char kShopping[] = "!週末の買い物\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n\t2本\r\nパン\r\n×<02/12/22>卵\r\n削<02/12/20>\r\n";

TEST(TavikLst, Show_PrintsTheChecklistAsJson)
{
    TempFolder folder;
    WriteFile(folder.file("list.lst"), Cp932(kShopping));

    const ToolOutput result = RunTool(kTool, {"show", folder.file("list.lst")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const nlohmann::json json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["encoding"], "ansi");
    EXPECT_EQ(json["notices"], nlohmann::json::array({"削除データが 1件ありました"}));
    EXPECT_EQ(json["header"], "!週末の買い物");
    ASSERT_EQ(json["rows"].size(), 3u);
    EXPECT_EQ(json["rows"][0], (nlohmann::json{{"mark", "○"}, {"date", "02/12/23"}, {"text", "牛乳"},
                                               {"comment", "低脂肪!!2本"}}));
    EXPECT_EQ(json["rows"][2]["mark"], "×");
    EXPECT_EQ(json["comments"], nlohmann::json::array({"低脂肪!!2本", "", "", ""}));
}

TEST(TavikLst, Show_ReportsEncodingsAndNotices)
{
    TempFolder folder;
    WriteFile(folder.file("utf16.lst"), std::string("\xFF\xFE" "a\0", 4));
    WriteFile(folder.file("odd.lst"), std::string("a\0b\0", 4));
    WriteFile(folder.file("empty.lst"), "");

    const auto show = [&](const std::string& name) {
        const ToolOutput result = RunTool(kTool, {"show", folder.file(name)});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return nlohmann::json::parse(result.out);
    };
    EXPECT_EQ(show("utf16.lst")["encoding"], "utf16le");
    EXPECT_EQ(show("utf16.lst")["notices"][0], "ユニコードですが、書き戻すとASCIIになります。");
    EXPECT_EQ(show("odd.lst")["encoding"], "undetermined");
    EXPECT_EQ(show("odd.lst")["notices"][0], "コード体系を確定できません。\n読取エラーです");
    EXPECT_EQ(show("empty.lst")["notices"][0], "ファイルが空です。");
    EXPECT_EQ(show("empty.lst")["comments"], nlohmann::json::array({""}));
}

TEST(TavikLst, MissingFileOrBadUsage_ExitsWithTwoAndAMessage)
{
    TempFolder folder;
    const ToolOutput missing = RunTool(kTool, {"show", folder.file("none.lst")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.empty());
    EXPECT_NE(missing.err.find("none.lst"), std::string::npos) << missing.err;

    EXPECT_EQ(RunTool(kTool, {"frobnicate", folder.file("x")}).exitCode, 2);
    EXPECT_EQ(RunTool(kTool, {}).exitCode, 2);
}

TEST(TavikLst, Stats_PrintsTheCounterOrNothing)
{
    TempFolder folder;
    WriteFile(folder.file("list.lst"), Cp932("○<02/12/23>a\r\n○<02/12/23>b\r\nc\r\n削<02/12/20>\r\n"));
    WriteFile(folder.file("none.lst"), Cp932(" only a header\r\n"));

    const ToolOutput stats = RunTool(kTool, {"stats", folder.file("list.lst")});
    EXPECT_EQ(stats.exitCode, 0);
    EXPECT_EQ(stats.out, "2/3\n66%\n");
    const ToolOutput none = RunTool(kTool, {"stats", folder.file("none.lst")});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_EQ(none.out, "");
}

TEST(TavikLst, Rewrite_WritesWhatTheProgramWouldSave)
{
    TempFolder folder;
    const std::string original = Cp932(kShopping);
    WriteFile(folder.file("list.lst"), original);
    chmod(folder.file("list.lst").c_str(), 0640);

    const std::string expected = Cp932(" !週末の買い物\r\n\r\n○<02/12/23>牛乳\r\n 低脂肪\r\n 2本\r\nパン\r\n×<02/12/22>卵\r\n");
    ASSERT_EQ(RunTool(kTool, {"rewrite", folder.file("list.lst"), folder.file("out.lst")}).exitCode, 0);
    EXPECT_EQ(ReadFile(folder.file("out.lst")), expected);
    EXPECT_EQ(ReadFile(folder.file("list.lst")), original);

    ASSERT_EQ(RunTool(kTool, {"rewrite", folder.file("list.lst")}).exitCode, 0);
    EXPECT_EQ(ReadFile(folder.file("list.lst")), expected);
    struct stat info {};
    stat(folder.file("list.lst").c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(TavikLst, Rewrite_UnicodeInputIsWrittenInCp932AndSaysSo)
{
    TempFolder folder;
    WriteFile(folder.file("u8.lst"), "\xEF\xBB\xBF牛乳\n");
    const ToolOutput result = RunTool(kTool, {"rewrite", folder.file("u8.lst")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.err.find("CP932"), std::string::npos) << result.err;
    EXPECT_EQ(ReadFile(folder.file("u8.lst")), Cp932("\r\n牛乳\r\n"));
}

TEST(TavikLst, Rewrite_UndeterminedEncodingLeavesTheFileAlone)
{
    TempFolder folder;
    const std::string utf16WithoutMark("a\0b\0", 4);
    WriteFile(folder.file("odd.lst"), utf16WithoutMark);
    const ToolOutput result = RunTool(kTool, {"rewrite", folder.file("odd.lst")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.err.empty());
    EXPECT_EQ(ReadFile(folder.file("odd.lst")), utf16WithoutMark);
}

TEST(TavikLst, Rewrite_UnwritableFolderOrReadOnlyFile_FailsWithReasonAndKeepsTheFile)
{
    TempFolder folder;
    const std::string original = Cp932(kShopping);

    const std::string lockedFolder = folder.file("locked");
    mkdir(lockedFolder.c_str(), 0777);
    WriteFile(lockedFolder + "/list.lst", original);
    chmod((lockedFolder + "/list.lst").c_str(), 0666);
    chmod(lockedFolder.c_str(), 0555);
    const ToolOutput inLocked = RunTool(kTool, {"rewrite", lockedFolder + "/list.lst"}, RunAs::Unprivileged);
    EXPECT_EQ(inLocked.exitCode, 1);
    EXPECT_NE(inLocked.err.find("ermission denied"), std::string::npos) << inLocked.err;
    EXPECT_EQ(ReadFile(lockedFolder + "/list.lst"), original);

    WriteFile(folder.file("readonly.lst"), original);
    chmod(folder.file("readonly.lst").c_str(), 0444);
    const ToolOutput readOnly = RunTool(kTool, {"rewrite", folder.file("readonly.lst")}, RunAs::Unprivileged);
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_NE(readOnly.err.find("readonly.lst"), std::string::npos) << readOnly.err;
    EXPECT_EQ(ReadFile(folder.file("readonly.lst")), original);
}

}  // namespace
}  // namespace tavik::test
