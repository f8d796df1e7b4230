// Writes the large benchmark checklist: make_large_checklist OUT [ITEMS]
#include "platform/fileio/file_io.h"
#include "samples/large_checklist.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_large_checklist OUT [ITEMS]\n");
        return 2;
    }
    const std::size_t items = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000000;
    const auto written = tavik::FileIo::replaceFile(argv[1], tavik::MakeLargeChecklistFile(items));
    if (!written) {
        std::fprintf(stderr, "make_large_checklist: %s\n", written.reason().reason.c_str());
        return 1;
    }
    return 0;
}
