// Feeds arbitrary bytes to the checklist reader. Reading must never crash, every
// written line must end in CR LF, and reading and writing again must settle on
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/checklist.h"
#include "model/checklist_file.h"

namespace {

std::string ReadThenWrite(std::string_view bytes, tavik::TextEncoding* encoding = nullptr)
{
    tavik::Checklist checklist;
    const tavik::ChecklistReadResult result = tavik::ReadChecklist(bytes, checklist);
    if (encoding)
        *encoding = result.encoding;
    if (checklist.comments().size() < checklist.rowCount() + 1)
        std::abort();
    return tavik::WriteChecklist(checklist);
}

// Every written line ends with CR LF, and nothing else holds a CR, an LF or a NUL.
void CheckLineEnds(const std::string& written)
{
    for (std::size_t i = 0; i < written.size(); ++i) {
        const char c = written[i];
        if (c == '\0')
            std::abort();
        if (c == '\r' && (i + 1 == written.size() || written[i + 1] != '\n'))
            std::abort();
        if (c == '\n' && (i == 0 || written[i - 1] != '\r'))
            std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string first = ReadThenWrite(input);
    CheckLineEnds(first);

    // Reading normalises: empty comment lines, marks without dates and unmappable
    // characters go at once; a comment piece of blanks alone is written as a blank
    // line, read back as an empty piece, written as an empty line and only then
    // dropped. After that the bytes must stay put. A written file that happens to be
    // valid UTF-8 is read as such, and is left out of the check.
    std::string previous = first;
    std::string current;
    bool allAnsi = true;
    for (int round = 0; round < 3; ++round) {
        tavik::TextEncoding encoding{};
        current = ReadThenWrite(previous, &encoding);
        CheckLineEnds(current);
        allAnsi = allAnsi && encoding == tavik::TextEncoding::Ansi;
        if (round < 2)
            previous = std::move(current);
    }
    if (allAnsi && current != previous)
        std::abort();
    return 0;
}
