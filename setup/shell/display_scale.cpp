#include "setup/shell/display_scale.h"

#include <algorithm>
#include <cstdint>

#include "setup/res/resource.h"

namespace odc {

namespace {

int KnownDpi(int dpi) { return dpi > 0 ? dpi : kDefaultDpi; }

}  // namespace

int RescaleLength(int value, int fromDpi, int toDpi) {
  fromDpi = KnownDpi(fromDpi);
  toDpi = KnownDpi(toDpi);
  const int64_t product = static_cast<int64_t>(value) * toDpi;
  const int64_t half = fromDpi / 2;
  const int64_t rounded =
      product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
  return static_cast<int>(rounded);
}

int ScaleToDpi(int value, int dpi) { return RescaleLength(value, kDefaultDpi, dpi); }

ImageSet ImageSetForDpi(int dpi) {
  dpi = KnownDpi(dpi);
  ImageSet set;
  // Halfway between the sets' DPIs: 120 between 96 and 144, 168 between 144
  // and 192.
  if (dpi >= 168) {
    set.percent = 200;
    set.treeBitmap = IDB_TREE_ICONS_200;
    set.toolbarBitmap = IDB_TOOLBAR_256_200;
  } else if (dpi >= 120) {
    set.percent = 150;
    set.treeBitmap = IDB_TREE_ICONS_150;
    set.toolbarBitmap = IDB_TOOLBAR_256_150;
  } else {
    set.percent = 100;
    set.treeBitmap = IDB_TREE_ICONS;
    set.toolbarBitmap = IDB_TOOLBAR_256;
  }
  const int setDpi = kDefaultDpi * set.percent / 100;
  set.treeIconWidth = ScaleToDpi(ODC_TREE_ICON_WIDTH, setDpi);
  set.treeIconHeight = ScaleToDpi(ODC_TREE_ICON_HEIGHT, setDpi);
  set.toolbarImageSize = ScaleToDpi(55, setDpi);
  return set;
}

MainWindowMetrics MainWindowMetricsForDpi(int dpi) {
  const MainWindowMetrics base;
  MainWindowMetrics m;
  m.dpi = KnownDpi(dpi);
  const auto scale = [&](int value) { return ScaleToDpi(value, m.dpi); };
  m.windowWidth = scale(base.windowWidth);
  m.windowHeight = scale(base.windowHeight);
  m.statusBarReserve = scale(base.statusBarReserve);
  m.splitterMargin = scale(base.splitterMargin);
  m.treeGap = scale(base.treeGap);
  m.dragLineWidth = scale(base.dragLineWidth);
  m.dragLineInset = scale(base.dragLineInset);
  for (size_t i = 0; i < m.initialStatusEdges.size(); ++i) {
    m.initialStatusEdges[i] = scale(base.initialStatusEdges[i]);
  }
  for (size_t i = 0; i < m.statusEdgeOffsets.size(); ++i) {
    m.statusEdgeOffsets[i] = scale(base.statusEdgeOffsets[i]);
  }
  m.groupMemberColumnWidth = scale(base.groupMemberColumnWidth);
  m.images = ImageSetForDpi(m.dpi);
  return m;
}

std::array<int, 6> StatusPartEdges(const MainWindowMetrics& metrics, int clientWidth) {
  std::array<int, 6> edges{};
  for (size_t i = 0; i < metrics.statusEdgeOffsets.size(); ++i) {
    edges[i] = clientWidth - metrics.statusEdgeOffsets[i];
  }
  edges[5] = clientWidth;
  return edges;
}

PixelSize StartWindowSize(const MainWindowMetrics& metrics, int workWidth, int workHeight) {
  PixelSize size{metrics.windowWidth, metrics.windowHeight};
  if (workWidth > 0) size.width = std::min(size.width, workWidth);
  if (workHeight > 0) size.height = std::min(size.height, workHeight);
  return size;
}

}  // namespace odc
