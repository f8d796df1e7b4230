#include "platform/fileio/error_reason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

namespace tavik {
namespace {

// The C library's own Japanese where the locale is installed (the setup makes ja_JP.UTF-8);
// without it, or where it gives English, our own Japanese for the failures a user meets with
// files, and English for the rest.
TEST(ErrorReason, IsTheCLibrarysJapanese_ElseOurOwn_ElseEnglish)
{
    const std::tuple<const char*, int, std::string> cases[] = {
        {kReasonLocale, EACCES, "許可がありません"},
        {kReasonLocale, ENAMETOOLONG, "ファイル名が長すぎます"},
        {"xx_XX.UTF-8", EACCES, "アクセスが許可されていません"},
        {"xx_XX.UTF-8", ENOSPC, "ディスクに空きがありません"},
        {"C.UTF-8", EROFS, "読み取り専用のファイルシステムです"},
        {"xx_XX.UTF-8", ECHILD, "No child processes"},
    };
    for (const auto& [locale, error, reason] : cases)
        EXPECT_EQ(ErrorReason(error, locale), reason) << locale << " " << error;
}

}  // namespace
}  // namespace tavik
