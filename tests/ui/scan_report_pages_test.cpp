// The Scan Setting and Report Setting pages.
#include <algorithm>

#include "setup/res/resource.h"
#include "tests/ui/fax_scan_page_fixture.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kResolution = 0x10B00, kImageFormat = 0x10B01, kCoding = 0x10B02;
constexpr uint32_t kActivity = 0x10A00, kReservation = 0x10A01, kTxResult = 0x10A02,
                   kRxResult = 0x10A03;

class ScanSettingPage : public PageFixture {
 protected:
  void OpenWith(uint8_t resolution, uint8_t format, uint8_t coding) {
    SetSetting(*data, kResolution, resolution);
    SetSetting(*data, kImageFormat, format);
    SetSetting(*data, kCoding, coding);
    s.RadioGroup({IDC_SCAN_150_DPI, IDC_SCAN_300_DPI, IDC_SCAN_600_DPI});
    s.RadioGroup({IDC_SCAN_TIFF, IDC_SCAN_PDF});
    s.RadioGroup({IDC_SCAN_MH, IDC_SCAN_MR, IDC_SCAN_MMR});
    Open(PageId::ScanSetting);
  }
  // The checked button of each group (0 for none).
  std::vector<int> Selected() {
    std::vector<int> out;
    for (std::vector<int> group : {std::vector<int>{605, 606, 607}, std::vector<int>{609, 610},
                                   std::vector<int>{612, 613, 614}}) {
      int chosen = 0;
      for (int id : group)
        if (s.IsChecked(id)) chosen = id;
      out.push_back(chosen);
    }
    return out;
  }
};

TEST_F(ScanSettingPage, StoredValuesSelectTheirButtons) {
  const struct {
    uint8_t resolution, format, coding;
    std::vector<int> selected;
  } cases[] = {
      {0, 0, 0, {605, 609, 612}},
      {8, 4, 1, {606, 610, 613}},
      {16, 0, 2, {607, 609, 614}},
      // Values outside the codes select nothing in their group.
      {4, 1, 3, {0, 0, 0}},
      {0xFF, 8, 0x80, {0, 0, 0}},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    OpenWith(c.resolution, c.format, c.coding);
    EXPECT_EQ(Selected(), c.selected) << int(c.resolution) << "/" << int(c.format);
    // Opening the page rewrites nothing.
    EXPECT_EQ(Stored(kResolution), c.resolution);
    EXPECT_EQ(Stored(kImageFormat), c.format);
    EXPECT_EQ(Stored(kCoding), c.coding);
  }
  EXPECT_EQ(s.At(IDC_SCAN_QUALITY_GROUP).text, "Quality Priority");
  EXPECT_EQ(s.At(IDC_SCAN_MMR).text, "&MMR");
}

TEST_F(ScanSettingPage, AnUnknownResolutionStaysUntilAClick) {
  OpenWith(4, 0, 0);
  s.Click(*driver, IDC_SCAN_PDF);
  EXPECT_EQ(Stored(kResolution), 4u);
  EXPECT_EQ(Stored(kImageFormat), 4u);
  s.Click(*driver, IDC_SCAN_600_DPI);
  EXPECT_EQ(Stored(kResolution), 16u);
  s.Click(*driver, IDC_SCAN_MMR);
  EXPECT_EQ(Stored(kCoding), 2u);
  EXPECT_EQ(Selected(), (std::vector<int>{607, 610, 614}));
  EXPECT_TRUE(Changed(PageId::ScanSetting));
  EXPECT_EQ(Image(kResolution), 4);  // not applied yet
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Image(kResolution), 16);
  EXPECT_EQ(Image(kImageFormat), 4);
  EXPECT_FALSE(Changed(PageId::ScanSetting));
}

TEST_F(ScanSettingPage, OnlyWithTheNicKit) {
  auto pages = [&] {
    std::vector<PageId> ids;
    for (const PageEntry& e : SheetPages(SheetId::Utility, *data)) ids.push_back(e.page);
    return ids;
  };
  auto has = [](const std::vector<PageId>& ids, PageId id) {
    return std::count(ids.begin(), ids.end(), id) == 1;
  };
  data->machineInfo[machine_info::kNicKit] = 1;
  const std::vector<PageId> with = pages();
  data->machineInfo[machine_info::kNicKit] = 0;
  const std::vector<PageId> without = pages();
  EXPECT_TRUE(has(with, PageId::ScanSetting));
  EXPECT_FALSE(has(without, PageId::ScanSetting));
  for (PageId id : {PageId::FaxTxOperation, PageId::FaxRxOperation, PageId::ReportSetting}) {
    EXPECT_TRUE(has(with, id));
    EXPECT_TRUE(has(without, id));
  }
  EXPECT_EQ(with.size(), without.size() + 1);
}

class ReportSettingPage : public PageFixture {};

TEST_F(ReportSettingPage, BoxesShowTheirExactBit) {
  const struct {
    uint8_t values[4];
    bool checked[4];
  } cases[] = {
      {{0x80, 0x40, 0x20, 0x10}, {true, true, true, true}},
      {{0, 0, 0, 0}, {false, false, false, false}},
      // Another bit, or the right bit with another, is not "on".
      {{0x81, 0x80, 0x10, 0x20}, {false, false, false, false}},
      {{0x80, 0x41, 0x20, 0xFF}, {true, false, true, false}},
  };
  const uint32_t ids[] = {kActivity, kReservation, kTxResult, kRxResult};
  const int boxes[] = {IDC_REPORT_ACTIVITY, IDC_REPORT_RESERVATION, IDC_REPORT_TX_RESULT,
                       IDC_REPORT_RX_RESULT};
  for (const auto& c : cases) {
    s = MemorySurface{};
    for (int i = 0; i < 4; ++i) SetSetting(*data, ids[i], c.values[i]);
    Open(PageId::ReportSetting);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(s.IsChecked(boxes[i]), c.checked[i]) << i;
      EXPECT_EQ(Stored(ids[i]), c.values[i]);
    }
  }
  EXPECT_EQ(s.At(IDC_REPORT_GROUP).text, "Report Setting");
  EXPECT_EQ(s.At(IDC_REPORT_TX_RESULT).text, "T&X Result Report");
}

TEST_F(ReportSettingPage, ClicksStoreTheBitOrZero) {
  SetSetting(*data, kActivity, 0x81);
  Open(PageId::ReportSetting);
  s.Click(*driver, IDC_REPORT_ACTIVITY);
  EXPECT_EQ(Stored(kActivity), 0x80u);
  s.Click(*driver, IDC_REPORT_ACTIVITY);
  EXPECT_EQ(Stored(kActivity), 0u);
  s.Click(*driver, IDC_REPORT_RESERVATION);
  s.Click(*driver, IDC_REPORT_TX_RESULT);
  s.Click(*driver, IDC_REPORT_RX_RESULT);
  EXPECT_EQ(Stored(kReservation), 0x40u);
  EXPECT_EQ(Stored(kTxResult), 0x20u);
  EXPECT_EQ(Stored(kRxResult), 0x10u);
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageBytes(kReservation, 1)[0], 0x40);
  EXPECT_EQ(Image(kActivity), 0);
}

}  // namespace
}  // namespace test
}  // namespace odc
