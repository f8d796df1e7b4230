#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

class Checklist;

// How the text of a checklist file was decoded.
enum class TextEncoding {
    Ansi,  // the ANSI code page, CP932
    Utf16Le,  // UTF-16LE with byte-order mark
    Utf8,  // UTF-8 with byte-order mark, or without one when well-formed and holding a character of 3 or 4 bytes
    Undetermined,  // the second byte is 00 without a UTF-16LE mark: nothing was read
};

enum class NoticeIcon { None, Information };

// Something the user must be told after reading a file, in the order given.
struct Notice {
    std::u16string text;
    NoticeIcon icon = NoticeIcon::None;
};

struct ChecklistReadResult {
    TextEncoding encoding = TextEncoding::Ansi;
    std::vector<Notice> notices;
    int deletedCount = 0;
};

// The notices' texts.
namespace notices {
inline constexpr std::u16string_view kReadAsUnicode = u"ユニコードですが、書き戻すとASCIIになります。";
inline constexpr std::u16string_view kEmptyFile = u"ファイルが空です。";
inline constexpr std::u16string_view kUndeterminedEncoding = u"コード体系を確定できません。\n読取エラーです";
// The question to ask before a checklist read as Unicode is written in the ANSI code page.
inline constexpr std::u16string_view kWriteUnicodeAsAnsi = u"ユニコードデータにASCIIを書き戻します";
std::u16string DeletedLines(int count);  // "削除データが %d件ありました"
}  // namespace notices

// Rebuilds `checklist` from the bytes of a file: detects the encoding, decodes up to
// the first NUL, and parses rows, comments and the header comment. Sets
// readAsUnicode for a UTF-16LE or UTF-8 file and clears it otherwise; clears
// modified. The file path is left as it is.
ChecklistReadResult ReadChecklist(std::string_view fileBytes, Checklist& checklist);

// Parses decoded text (up to its first NUL) into `checklist`; returns the number of
// deleted lines.
int ParseChecklistText(std::u16string_view text, Checklist& checklist);

// The bytes of the file that `checklist` is written as: the header comment, one CR LF,
// then each row line with its comment, all in the ANSI code page with CR LF. The
// header comment is trimmed and converted in place and keeps its written form
// until the next read, as files written by earlier versions expect.
std::string WriteChecklist(Checklist& checklist);

std::string_view EncodingName(TextEncoding encoding);  // "ansi", "utf16le", "utf8", "undetermined"

}  // namespace tavik
