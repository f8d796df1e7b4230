// Loads a checklist file as the program does and prints the process's peak
// resident memory: load_peak_memory FILE
#include "model/checklist.h"
#include "model/checklist_file.h"
#include "platform/fileio/file_io.h"

#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_peak_memory FILE\n");
        return 2;
    }
    const auto bytes = tavik::FileIo::readWholeFile(argv[1]);
    if (!bytes) {
        std::fprintf(stderr, "load_peak_memory: %s\n", bytes.reason().reason.c_str());
        return 2;
    }
    tavik::Checklist checklist;
    tavik::ReadChecklist(bytes->bytes, checklist);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("file %.1f MB, %zu rows, peak memory %.1f MB\n", static_cast<double>(bytes->bytes.size()) / 1e6,
        checklist.rowCount(), static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
