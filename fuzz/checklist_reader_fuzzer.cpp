// Feeds arbitrary bytes to the checklist reader. Reading must never crash, every
// written line must end in CR LF, and reading and writing again and again must
// settle on the same bytes.
#include "model/checklist.h"
#include "model/checklist_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

std::string ReadThenWrite(std::string_view bytes, tavik::TextEncoding* encoding = nullptr)
{
    tavik::Checklist checklist;
    const tavik::ChecklistReadResult result = tavik::ReadChecklist(bytes, checklist);
    if (encoding)
        *encoding = result.encoding;
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

    // Reading normalises: marks without dates and unmappable characters go at once,
    // but a blank line amid comment lines is kept as an empty line, which is written
    // as an empty line and only the next reading drops, so a file can take more than
    // one round to settle. Every round that still changes something must write fewer
    // bytes, which proves it settles. A written file that happens to be valid UTF-8
    // with a character of three or more bytes is read as UTF-8 and leaves the check.
    std::string previous = first;
    for (;;) {
        tavik::TextEncoding encoding{};
        std::string current = ReadThenWrite(previous, &encoding);
        CheckLineEnds(current);
        if (encoding != tavik::TextEncoding::Ansi || current == previous)
            break;
        if (current.size() >= previous.size())
            std::abort();
        previous = std::move(current);
    }
    return 0;
}
