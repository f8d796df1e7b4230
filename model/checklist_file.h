#pragma once

#include "platform/codepage/cp932_codec.h"

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

enum class NoticeIcon { None, Information, Warning };

// Something the user must be told after reading a file, in the order given.
struct Notice {
    std::u16string text;
    NoticeIcon icon = NoticeIcon::None;
};

struct ChecklistReadResult {
    TextEncoding encoding = TextEncoding::Ansi;
    std::vector<Notice> notices;
    int deletedCount = 0;
    // False when the text of the file could not be read whole: a NUL before its end,
    // bytes that are not valid in its encoding, or an encoding not told at all.
    // Written back, such a file would lose what could not be read.
    bool wholeFileRead = true;
};

// The notices' texts.
namespace notices {
inline constexpr std::u16string_view kReadAsUnicode = u"ユニコードですが、書き戻すとASCIIになります。";
inline constexpr std::u16string_view kEmptyFile = u"ファイルが空です。";
inline constexpr std::u16string_view kUndeterminedEncoding = u"コード体系を確定できません。\n読取エラーです";
// The question to ask before a checklist read as Unicode is written in the ANSI code page.
inline constexpr std::u16string_view kWriteUnicodeAsAnsi = u"ユニコードデータにASCIIを書き戻します";
std::u16string DeletedLines(int count);  // "削除データが %d件ありました"
std::u16string NulAt(std::size_t line);  // "%d行目のNUL文字から後ろは読み込めませんでした。"
// "%d行目に%sとして読めないバイトがあります。"
std::u16string InvalidBytesAt(std::size_t line, std::u16string_view encodingName);
// The characters a write would replace with "?", as the user is shown them: "🍊、😀、…".
std::u16string UnencodableCharacters(const Cp932Codec::Unencodable& unencodable);
// "保存できない文字があります（🍊）。「?」に置き換えて書き込みますか？"
std::u16string ReplaceUnencodableQuestion(const Cp932Codec::Unencodable& unencodable);
}  // namespace notices

// Rebuilds `checklist` from the bytes of a file: detects the encoding, decodes up to
// the first NUL, and parses rows, comments and the header comment. Sets
// readAsUnicode for a UTF-16LE or UTF-8 file and clears it otherwise; clears
// modified. The file path and the fileUnread flag are left to the caller, which
// sets fileUnread when the result says the file was not read whole.
ChecklistReadResult ReadChecklist(std::string_view fileBytes, Checklist& checklist);

// Parses decoded text, which holds no NUL (the readers cut it there), into
// `checklist`; returns the number of deleted lines.
int ParseChecklistText(std::u16string_view text, Checklist& checklist);

// The bytes of the file that `checklist` is written as: the header comment, one CR LF,
// then each row line with its comment, all in the ANSI code page with CR LF. The
// header comment is trimmed and converted in place and keeps its written form
// until the next read, as files written by earlier versions expect. Characters the
// code page cannot hold are written as "?" and told to `unencodable` when given.
std::string WriteChecklist(Checklist& checklist, Cp932Codec::Unencodable* unencodable = nullptr);

// Gives every text of `checklist` the form a write has just given it in the file:
// characters CP932 cannot hold become "?", so that the screen shows what the file
// holds. Only the texts that held such characters change.
void TakeWrittenForm(Checklist& checklist);

// Where a checklist is written: its own file, or a name the user has just given it
// (Save As), which is written whatever is there.
enum class WriteTarget { OwnFile, NewName };

// The file at the checklist's path as it is now.
struct FileOnDisk {
    bool exists = false;
    bool changedSinceRead = false;  // not the file that was read or last written there
};

// What stands in the way of writing a checklist: each would lose something the user
// may want to keep, so the program asks first and tavik-lst refuses or warns.
enum class WriteObstacle {
    ReadAsUnicode,  // the file was read as Unicode and is written in CP932
    NotRead,  // the file exists but was not read whole, so what was not read would be lost
    ChangedOnDisk,  // another program changed the file since it was read or written
};

// The obstacles to writing `checklist`, in the order they are to be put to the user.
std::vector<WriteObstacle> WriteObstacles(const Checklist& checklist, WriteTarget target, FileOnDisk file);

std::string_view EncodingName(TextEncoding encoding);  // "ansi", "utf16le", "utf8", "undetermined"

}  // namespace tavik
