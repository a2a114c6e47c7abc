// What the Wine timing programs share: the clock (milliseconds), the median
// of a series of runs, and prompts that always say yes and pick one file.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "setup/shell/prompts_win32.h"

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

class FixedPrompts : public Prompts {
 public:
  std::string file;
  int Message(HWND, const std::string&, const std::string&, UINT type) override {
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDYES;
  }
  bool ChooseDataFile(HWND, std::string& path, FileDialogMode, const std::string&,
                      const std::string&) override {
    path = file;
    return true;
  }
};

}  // namespace bench
}  // namespace odc
