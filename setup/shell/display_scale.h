// The main window's pixel sizes at a display scale. Every size of the main
// window is given for 96 DPI (100 %) and scaled from there, so that at 96
// DPI the window is exactly what it always was and at 144 or 192 DPI it is
// the same window, larger. The tree icons and toolbar pictures come in three
// sets, drawn for 100 %, 150 % and 200 %; the set nearest the display scale
// is used.
#pragma once

#include <array>

namespace odc {

constexpr int kDefaultDpi = 96;

// A length given for 96 DPI, at `dpi`: rounded to the nearest pixel, halves
// away from zero (as MulDiv rounds). An unknown DPI (0 or less) counts as 96.
int ScaleToDpi(int value, int dpi);
// A length measured at `fromDpi`, at `toDpi` (a splitter position or a column
// width the user may have changed, when the window moves to another monitor).
int RescaleLength(int value, int fromDpi, int toDpi);

// One set of the tree/list icon strip and the toolbar strip.
struct ImageSet {
  int percent = 100;  // 100, 150 or 200
  int treeBitmap = 0;
  int treeIconWidth = 16;
  int treeIconHeight = 18;
  int toolbarBitmap = 0;  // the 8-bit strip
  int toolbarImageSize = 55;
};

// The set drawn for the scale nearest `dpi` (a tie goes to the larger set:
// 125 % takes the 150 % pictures, 175 % the 200 % ones).
ImageSet ImageSetForDpi(int dpi);

// The main window's layout constants at one DPI.
struct MainWindowMetrics {
  int dpi = kDefaultDpi;
  int windowWidth = 600;  // start size of the window
  int windowHeight = 400;
  int statusBarReserve = 24;  // height kept free under the panes
  int splitterMargin = 50;    // nearest the splitter comes to either side
  int treeGap = 2;            // tree ends this far left of the splitter
  int dragLineWidth = 2;      // the splitter's drag line
  int dragLineInset = 2;      // the drag line starts this far below the toolbar
  // Status-bar part right edges before the first layout, and their distances
  // from the right edge of the client area afterwards (the last part ends at
  // the edge).
  std::array<int, 6> initialStatusEdges{60, 120, 180, 240, 300, 0};
  std::array<int, 5> statusEdgeOffsets{450, 280, 180, 120, 60};
  int groupMemberColumnWidth = 150;
  ImageSet images;
};

MainWindowMetrics MainWindowMetricsForDpi(int dpi);

// Status-bar part right edges for a client area `clientWidth` wide.
std::array<int, 6> StatusPartEdges(const MainWindowMetrics& metrics, int clientWidth);

struct PixelSize {
  int width = 0;
  int height = 0;
};

// The window's start size, no larger than the work area of the screen (a
// work area of 0 or less is unknown and limits nothing).
PixelSize StartWindowSize(const MainWindowMetrics& metrics, int workWidth, int workHeight);

}  // namespace odc
