// Find across the large checklist: from row 0 to a row near the end whose text only
// matches once folded (katakana looked for in hiragana, half-width in full-width), and
// a text no row holds, which looks at every row. Reads the file named by
// TAVIK_BENCH_FILE, else a 1,000,000-item checklist made on the fly.
#include "bench/median.h"
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/fileio/file_io.h"
#include "samples/large_checklist.h"
#include "view/item_finder.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tavik {
namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kItems = 1'000'000;
constexpr int kRuns = 5;
constexpr double kGoalMs = 100;

struct Search {
    const char* what;
    QString text;
    std::optional<std::size_t> expected;
};

std::optional<std::string> FileBytes()
{
    const char* path = std::getenv("TAVIK_BENCH_FILE");
    if (!path || !*path)
        return MakeLargeChecklistFile(kItems);
    auto read = FileIo::readWholeFile(path);
    if (!read) {
        std::fprintf(stderr, "find_bench: %s\n", read.reason().reason.c_str());
        return std::nullopt;
    }
    return std::move(read->bytes);
}

int Run()
{
    const std::optional<std::string> bytes = FileBytes();
    if (!bytes)
        return 2;
    Checklist checklist;
    ReadChecklist(*bytes, checklist);
    const std::size_t rows = checklist.rowCount();
    if (rows < 100) {
        std::fprintf(stderr, "find_bench: the checklist holds %zu rows\n", rows);
        return 2;
    }
    const std::size_t katakanaRow = rows - 20;
    const std::size_t halfWidthRow = rows - 10;
    checklist.updateRow(katakanaRow, {.text = u"ギュウニュウを買う"});
    checklist.updateRow(halfWidthRow, {.text = u"ｼｮｳﾕ 1L ﾎﾞﾄﾙ"});

    const Search searches[] = {
        {"katakana row looked for in hiragana", QStringLiteral("ぎゅうにゅう"), katakanaRow},
        {"half-width row looked for in full-width", QStringLiteral("しょうゆ　１ｌ　ボトル"), halfWidthRow},
        {"a text no row holds (every row)", QStringLiteral("見つからない項目"), std::nullopt},
    };
    std::printf("find_bench on %zu rows, from row 0, median of %d\n", rows, kRuns);
    ItemFinder finder(checklist);
    for (const Search& search : searches) {
        finder.setText(search.text);
        std::vector<double> samples;
        for (int run = 0; run < kRuns; ++run) {
            const auto started = SteadyClock::now();
            const std::optional<std::size_t> found = finder.find(0, 1);
            samples.push_back(std::chrono::duration<double, std::milli>(SteadyClock::now() - started).count());
            if (found != search.expected) {
                std::fprintf(stderr, "find_bench: %s: found row %lld\n", search.what,
                    found ? static_cast<long long>(*found) : -1LL);
                return 1;
            }
        }
        const double ms = Median(samples);
        std::printf("%-42s %8.1f ms   goal <= %.0f ms: %s\n", search.what, ms, kGoalMs,
            ms <= kGoalMs ? "reached" : "NOT reached");
    }
    return 0;
}

}  // namespace
}  // namespace tavik

int main()
{
    return tavik::Run();
}
