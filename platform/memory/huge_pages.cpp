#include "platform/memory/huge_pages.h"

#include <cstdint>
#include <sys/mman.h>

namespace tavik {

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;

}  // namespace

void AdviseHugePages(void* data, std::size_t bytes)
{
    // Only whole huge pages inside the block can be backed by one.
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace tavik
