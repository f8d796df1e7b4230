#include "platform/fileio/error_reason.h"

#include <cerrno>
#include <locale.h>
#include <string.h>

namespace tavik {

namespace {

struct OwnReason {
    int error;
    const char* text;
};

// For a system without the Japanese locale: the failures of reading and writing a checklist.
constexpr OwnReason kOwnReasons[] = {
    {EACCES, "アクセスが許可されていません"},
    {EPERM, "操作が許可されていません"},
    {ENOENT, "ファイルまたはフォルダがありません"},
    {ENOTDIR, "フォルダではありません"},
    {EISDIR, "フォルダです"},
    {EEXIST, "同じ名前のファイルがあります"},
    {ENOSPC, "ディスクに空きがありません"},
    {EDQUOT, "ディスクの使用量が上限を超えています"},
    {EROFS, "読み取り専用のファイルシステムです"},
    {ENAMETOOLONG, "ファイル名が長すぎます"},
    {ELOOP, "シンボリックリンクが多すぎます"},
    {EFBIG, "ファイルが大きすぎます"},
    {EBUSY, "使用中です"},
    {ENOTSUP, "この操作には対応していません"},
    {EIO, "入出力エラーです"},
};

// The C library's text of `error` in `locale`, copied at once: the library may reuse its buffer.
std::string Describe(int error, locale_t locale)
{
    return strerror_l(error, locale);
}

}  // namespace

std::string ErrorReason(int error, const char* localeName)
{
    static const locale_t untranslatedLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string untranslated = Describe(error, untranslatedLocale);
    // With the locale's character set too: a translation comes converted to the character set in effect.
    if (const locale_t locale = newlocale(LC_CTYPE_MASK | LC_MESSAGES_MASK, localeName, locale_t{})) {
        std::string translated = Describe(error, locale);
        freelocale(locale);
        // The same text means no translation, or LANGUAGE asks for English.
        if (translated != untranslated)
            return translated;
    }
    for (const OwnReason& own : kOwnReasons) {
        if (own.error == error)
            return own.text;
    }
    return untranslated;
}

}  // namespace tavik
