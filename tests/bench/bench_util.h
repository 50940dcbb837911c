// What the benches share: a stopwatch and the median of their timings.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace veldra_bench {

// Wall time of op() in milliseconds.
template <class Op>
double TimeMs(Op op) {
  const auto start = std::chrono::steady_clock::now();
  op();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace veldra_bench
