#include "setup/shell/display_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup/res/resource.h"

namespace odc {
namespace {

// The main window at 96 DPI keeps the sizes it has always had.
TEST(DisplayScale, At96DpiEverySizeIsTheUnscaledOne) {
  for (int dpi : {96, 0, -1}) {
    SCOPED_TRACE(dpi);
    const MainWindowMetrics m = MainWindowMetricsForDpi(dpi);
    EXPECT_EQ(m.dpi, 96);
    EXPECT_EQ(m.windowWidth, 600);
    EXPECT_EQ(m.windowHeight, 400);
    EXPECT_EQ(m.statusBarReserve, 24);
    EXPECT_EQ(m.splitterMargin, 50);
    EXPECT_EQ(m.treeGap, 2);
    EXPECT_EQ(m.dragLineWidth, 2);
    EXPECT_EQ(m.dragLineInset, 2);
    EXPECT_EQ(m.initialStatusEdges, (std::array<int, 6>{60, 120, 180, 240, 300, 0}));
    EXPECT_EQ(StatusPartEdges(m, 592), (std::array<int, 6>{142, 312, 412, 472, 532, 592}));
    EXPECT_EQ(m.groupMemberColumnWidth, 150);
    EXPECT_EQ(m.images.percent, 100);
    EXPECT_EQ(m.images.treeBitmap, IDB_TREE_ICONS);
    EXPECT_EQ(m.images.toolbarBitmap, IDB_TOOLBAR_256);
    EXPECT_EQ(m.images.treeIconWidth, 16);
    EXPECT_EQ(m.images.treeIconHeight, 18);
    EXPECT_EQ(m.images.toolbarImageSize, 55);
  }
}

TEST(DisplayScale, SizesGrowWithTheDisplayScale) {
  struct Case {
    int dpi;
    int width, height, reserve, margin;
    std::array<int, 6> edgesAt1000;
    int memberColumn;
  } cases[] = {
      {120, 750, 500, 30, 63, {437, 650, 775, 850, 925, 1000}, 188},
      {144, 900, 600, 36, 75, {325, 580, 730, 820, 910, 1000}, 225},
      {192, 1200, 800, 48, 100, {100, 440, 640, 760, 880, 1000}, 300},
      {288, 1800, 1200, 72, 150, {-350, 160, 460, 640, 820, 1000}, 450},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const MainWindowMetrics m = MainWindowMetricsForDpi(c.dpi);
    EXPECT_EQ(m.windowWidth, c.width);
    EXPECT_EQ(m.windowHeight, c.height);
    EXPECT_EQ(m.statusBarReserve, c.reserve);
    EXPECT_EQ(m.splitterMargin, c.margin);
    EXPECT_EQ(StatusPartEdges(m, 1000), c.edgesAt1000);
    EXPECT_EQ(m.groupMemberColumnWidth, c.memberColumn);
  }
}

TEST(DisplayScale, TheNearestPictureSetIsChosenTiesGoingToTheLarger) {
  struct Case {
    int dpi, percent, treeBitmap, treeWidth, treeHeight, toolbarBitmap, toolbarSize;
  } cases[] = {
      {72, 100, IDB_TREE_ICONS, 16, 18, IDB_TOOLBAR_256, 55},
      {96, 100, IDB_TREE_ICONS, 16, 18, IDB_TOOLBAR_256, 55},
      {119, 100, IDB_TREE_ICONS, 16, 18, IDB_TOOLBAR_256, 55},
      {120, 150, IDB_TREE_ICONS_150, 24, 27, IDB_TOOLBAR_256_150, 83},
      {144, 150, IDB_TREE_ICONS_150, 24, 27, IDB_TOOLBAR_256_150, 83},
      {167, 150, IDB_TREE_ICONS_150, 24, 27, IDB_TOOLBAR_256_150, 83},
      {168, 200, IDB_TREE_ICONS_200, 32, 36, IDB_TOOLBAR_256_200, 110},
      {192, 200, IDB_TREE_ICONS_200, 32, 36, IDB_TOOLBAR_256_200, 110},
      {480, 200, IDB_TREE_ICONS_200, 32, 36, IDB_TOOLBAR_256_200, 110},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const ImageSet set = ImageSetForDpi(c.dpi);
    EXPECT_EQ(set.percent, c.percent);
    EXPECT_EQ(set.treeBitmap, c.treeBitmap);
    EXPECT_EQ(set.treeIconWidth, c.treeWidth);
    EXPECT_EQ(set.treeIconHeight, c.treeHeight);
    EXPECT_EQ(set.toolbarBitmap, c.toolbarBitmap);
    EXPECT_EQ(set.toolbarImageSize, c.toolbarSize);
  }
}

TEST(DisplayScale, RoundsToTheNearestPixelHalvesAwayFromZero) {
  EXPECT_EQ(ScaleToDpi(55, 144), 83);  // 82.5
  EXPECT_EQ(ScaleToDpi(1, 144), 2);    // 1.5
  EXPECT_EQ(ScaleToDpi(50, 120), 63);  // 62.5
  EXPECT_EQ(ScaleToDpi(-3, 144), -5);  // -4.5
  EXPECT_EQ(ScaleToDpi(10, 100), 10);  // 10.42
  EXPECT_EQ(ScaleToDpi(0, 192), 0);
  EXPECT_EQ(RescaleLength(83, 144, 96), 55);  // 55.33
  EXPECT_EQ(RescaleLength(100, 0, 192), 200);
}

// A column the user widened keeps its width, as seen, when the window goes to
// another monitor and back.
TEST(DisplayScale, LengthsSurviveAMoveToAnotherScaleAndBack) {
  for (int width : {1, 37, 50, 80, 100, 140, 151, 333}) {
    for (int other : {120, 144, 168, 192, 240}) {
      SCOPED_TRACE(std::to_string(width) + " via " + std::to_string(other));
      EXPECT_EQ(RescaleLength(RescaleLength(width, 96, other), other, 96), width);
    }
  }
}

TEST(DisplayScale, StartSizeFitsTheWorkArea) {
  const MainWindowMetrics m = MainWindowMetricsForDpi(192);
  const PixelSize unlimited = StartWindowSize(m, 0, 0);
  EXPECT_EQ(unlimited.width, 1200);
  EXPECT_EQ(unlimited.height, 800);
  const PixelSize small = StartWindowSize(m, 1024, 738);
  EXPECT_EQ(small.width, 1024);
  EXPECT_EQ(small.height, 738);
  const PixelSize roomy = StartWindowSize(MainWindowMetricsForDpi(96), 1024, 738);
  EXPECT_EQ(roomy.width, 600);
  EXPECT_EQ(roomy.height, 400);
}

// The bitmap files the resources are built from hold the sizes the program
// makes its image lists with: 14 tree icons and 8 toolbar pictures a strip.
struct BitmapHeader {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bits = 0;
};

BitmapHeader ReadBitmapHeader(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  BitmapHeader h;
  if (bytes.size() < 30 || bytes[0] != 'B' || bytes[1] != 'M') return h;
  const auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                 static_cast<uint32_t>(bytes[at + 3]) << 24);
  };
  h.width = static_cast<int32_t>(u32(18));
  h.height = static_cast<int32_t>(u32(22));
  h.bits = static_cast<uint16_t>(bytes[28] | bytes[29] << 8);
  return h;
}

TEST(DisplayScale, EachPictureSetMatchesItsBitmapFiles) {
  const std::string res = std::string(ODC_TEST_DATA_DIR) + "/../../setup/res/";
  struct Case {
    int dpi;
    const char* tree;
    const char* toolbar;
  } cases[] = {{96, "tree_icons.bmp", "toolbar256.bmp"},
               {144, "tree_icons_150.bmp", "toolbar256_150.bmp"},
               {192, "tree_icons_200.bmp", "toolbar256_200.bmp"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tree);
    const ImageSet set = ImageSetForDpi(c.dpi);
    const BitmapHeader tree = ReadBitmapHeader(res + c.tree);
    EXPECT_EQ(tree.width, ODC_TREE_ICON_COUNT * set.treeIconWidth);
    EXPECT_EQ(tree.height, set.treeIconHeight);
    EXPECT_EQ(tree.bits, 4);
    const BitmapHeader toolbar = ReadBitmapHeader(res + c.toolbar);
    EXPECT_EQ(toolbar.width, 8 * set.toolbarImageSize);
    EXPECT_EQ(toolbar.height, set.toolbarImageSize);
    EXPECT_EQ(toolbar.bits, 8);
  }
}

}  // namespace
}  // namespace odc
