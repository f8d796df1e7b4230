#pragma once

#include <algorithm>
#include <vector>

namespace tavik {

// The middle of the samples (the mean of the two middle ones for an even count), 0 for none.
inline double Median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

}  // namespace tavik
