#pragma once

#include <string>

namespace tavik {

// The locale whose language failure reasons are given in: that of the program's messages.
inline constexpr const char* kReasonLocale = "ja_JP.UTF-8";

// Why a system call failed with `error` (an errno value), in words for the detail line of a
// message: the C library's own description in the language of the locale `localeName`, in
// its character set. Where that locale is not installed or has no translation of it, a
// Japanese text of our own for the failures a user meets with files, else the English text.
std::string ErrorReason(int error, const char* localeName = kReasonLocale);

}  // namespace tavik
