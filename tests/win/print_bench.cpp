// Timing of the Speed Dial list (240 entries, every one in use) laid out and
// drawn, every page, into an enhanced metafile: the work of one printed
// list without the spooler. Prints milliseconds; asserts nothing.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "setup/print/print_win32.h"
#include "tests/win/bench_clock.h"
#include "tests/win/print_fixture.h"

using odc::bench::Median;
using odc::bench::Now;

int main() {
  odc::printing::PrintWindow w;
  if (!w.Create(ODC_DEMO_MACHINE_PATH)) {
    std::printf("could not open the data set\n");
    return 1;
  }
  constexpr int kRuns = 25;
  std::vector<double> layout, total;
  int pages = 0;
  for (int run = 0; run < kRuns; ++run) {
    const double start = Now();
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    double laidOut = 0;
    {
      odc::ListPrinter printer(w.app, dc, odc::PrintedList::SpeedDial);
      laidOut = Now();
      pages = printer.PageCount();
      for (int page = 0; page < pages; ++page) printer.DrawPage(page);
    }
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    const double end = Now();
    layout.push_back(laidOut - start);
    total.push_back(end - start);
  }
  std::printf("Speed Dial list, 240 rows, %d pages into a metafile (median of %d runs):\n", pages,
              kRuns);
  std::printf("  lay out (fonts, table, widths)   %8.2f ms\n", Median(layout));
  std::printf("  lay out and draw every page      %8.2f ms\n", Median(total));
  return 0;
}
