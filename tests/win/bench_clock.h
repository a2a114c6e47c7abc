// The clock of the Wine timing programs: milliseconds, and the median of a
// series of runs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace odc {
namespace bench {

inline double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * counter.QuadPart / frequency.QuadPart;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
}  // namespace odc
