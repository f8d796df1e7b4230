#pragma once

#include <cstddef>

namespace tavik {

// Asks the kernel to back the block at `data` with huge pages where it can. A large
// file and its decoded rows take some hundred megabytes that are written once, at
// once; in pages of 4 KB the faults cost more than the decoding itself. Call it
// before the block is first written. Small blocks and kernels without transparent
// huge pages are left as they are.
void AdviseHugePages(void* data, std::size_t bytes);

}  // namespace tavik
