#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tavik {

class Checklist;

// What the speech program is given to read: with no row selected every item text in
// list order, each followed by "。" (marks, dates and comments are not read); with a
// row selected its item text, "。" and its comment with its lines joined by "!!", at
// which the speech program pauses.
std::u16string ReadAloudText(const Checklist& checklist, std::optional<std::size_t> selectedRow);

}  // namespace tavik
