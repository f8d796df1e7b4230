// Loading and saving a large checklist, each beside plain iconv on the same bytes.
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/codepage/cp932_codec.h"
#include "platform/fileio/file_io.h"
#include "samples/large_checklist.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace tavik {
namespace {

// The file named by TAVIK_BENCH_FILE (as bench/run.sh makes it), else one made in memory.
const std::string& FileBytes()
{
    static const std::string bytes = [] {
        if (const char* path = std::getenv("TAVIK_BENCH_FILE")) {
            if (auto read = FileIo::readWholeFile(path))
                return std::move((*read).bytes);
        }
        return MakeLargeChecklistFile(1000000);
    }();
    return bytes;
}

// Plain iconv: one call over the whole input into a fresh buffer that is large
// enough, as a program that only decodes or encodes a file would do.
std::size_t IconvOnce(iconv_t cd, const std::string& input, std::size_t maxOutput)
{
    std::unique_ptr<char[]> output(new char[maxOutput]);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = output.get();
    std::size_t outLeft = maxOutput;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1))
        return 0;
    benchmark::DoNotOptimize(output.get());
    return maxOutput - outLeft;
}

void BM_Load(benchmark::State& state)
{
    const std::string& bytes = FileBytes();
    for (auto _ : state) {
        Checklist checklist;
        benchmark::DoNotOptimize(ReadChecklist(bytes, checklist));
        benchmark::DoNotOptimize(checklist.rowCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_IconvDecodeOnly(benchmark::State& state)
{
    const std::string& bytes = FileBytes();
    iconv_t cd = iconv_open("UTF-16LE", "CP932");
    for (auto _ : state) {
        if (IconvOnce(cd, bytes, bytes.size() * 2) == 0)
            state.SkipWithError("iconv could not decode the file");
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Save(benchmark::State& state)
{
    Checklist checklist;
    ReadChecklist(FileBytes(), checklist);
    std::size_t written = 0;
    for (auto _ : state) {
        const std::string out = WriteChecklist(checklist);
        written = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}

// The text that saving encodes, as one UTF-16LE buffer for iconv.
std::string SavedTextAsUtf16Le()
{
    Checklist checklist;
    ReadChecklist(FileBytes(), checklist);
    const std::u16string text = Cp932Codec::decode(WriteChecklist(checklist));
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

void BM_IconvEncodeOnly(benchmark::State& state)
{
    const std::string utf16 = SavedTextAsUtf16Le();
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    std::size_t written = 0;
    for (auto _ : state) {
        written = IconvOnce(cd, utf16, utf16.size());
        if (written == 0)
            state.SkipWithError("iconv could not encode the text");
    }
    iconv_close(cd);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_IconvDecodeOnly)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_IconvEncodeOnly)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
}  // namespace tavik

BENCHMARK_MAIN();
