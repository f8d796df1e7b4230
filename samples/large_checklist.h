#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavik {

// A large, realistic checklist file in CP932 for measuring and stress tests: items
// of Japanese and ASCII words, about half marked with dates, about a quarter with
// a comment line. The same seed always gives the same bytes.
std::string MakeLargeChecklistFile(std::size_t items, std::uint32_t seed = 2026);

}  // namespace tavik
