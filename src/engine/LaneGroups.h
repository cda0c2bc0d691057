#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace velo {

// Runs a SIMD row kernel, kernel(from, to, n) with n a multiple of lanes, over
// a row of width pixels: whole groups of lanes straight from the row, the
// last few pixels through a padded copy (its extra pixels are computed and
// dropped).
template <class In, class Out, class Kernel>
void inLaneGroups(const In* from, int inSamples, Out* to, int outSamples, std::size_t width,
                  std::size_t lanes, Kernel kernel) {
    std::size_t whole = width - width % lanes;
    if (whole > 0) {
        kernel(from, to, whole);
    }
    std::size_t rest = width - whole;
    if (rest == 0) {
        return;
    }
    std::vector<In> in(lanes * static_cast<std::size_t>(inSamples), 0);
    std::vector<Out> out(lanes * static_cast<std::size_t>(outSamples), 0);
    std::copy_n(from + whole * inSamples, rest * inSamples, in.begin());
    kernel(in.data(), out.data(), lanes);
    std::copy_n(out.begin(), rest * outSamples, to + whole * outSamples);
}

} // namespace velo
