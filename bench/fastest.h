// The fastest of a benchmark's repetitions. On a shared machine other work
// only ever adds time, so with --benchmark_repetitions the "_fastest" row is
// the steadiest figure to compare two benchmarks by.
#pragma once

#include <algorithm>
#include <vector>

namespace bench {

inline double Fastest(const std::vector<double>& times) {
  return times.empty() ? 0.0 : *std::min_element(times.begin(), times.end());
}

}  // namespace bench
