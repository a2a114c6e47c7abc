// The FAX TX Operation page.
#include "setup/res/resource.h"
#include "tests/ui/fax_scan_page_fixture.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kDensity = 0x10800, kQuality = 0x10801, kDefaultTx = 0x10802, kHeader = 0x10803;

class FaxTxPage : public PageFixture {
 protected:
  struct Start {
    uint8_t density, quality, defaultTx, header;
    uint8_t adf, adfDuplex;
    uint8_t machineValue;
  };
  void OpenWith(const Start& v) {
    s = MemorySurface{};
    s.RadioGroup({IDC_TX_MEMORY, IDC_TX_ADF});
    SetSetting(*data, kDensity, v.density);
    SetSetting(*data, kQuality, v.quality);
    SetSetting(*data, kDefaultTx, v.defaultTx);
    SetSetting(*data, kHeader, v.header);
    SetSetting(*data, kMachineValueId, v.machineValue);
    data->machineInfo[machine_info::kAdf] = v.adf;
    data->machineInfo[machine_info::kAdfDuplex] = v.adfDuplex;
    Open(PageId::FaxTxOperation);
  }
};

TEST_F(FaxTxPage, StartingValuesToControls) {
  const struct {
    Start start;
    int slider, quality;
    bool adfChecked, adfEnabled;
    uint8_t defaultTxAfter;
    bool header, headerEnabled;
  } cases[] = {
      {{0x18, 3, 4, 2, 1, 0, 0}, 3, 0, true, true, 4, true, true},
      {{0x00, 1, 0, 0, 0, 1, 3}, 0, 1, false, true, 0, false, true},
      // No ADF of either kind: Memory TX, and the stored value becomes 0.
      {{0x20, 6, 4, 2, 0, 0, 0}, 4, 5, false, false, 0, true, true},
      // Densities that are no level show clamped; qualities outside the
      // list show the first entry.
      {{0x0C, 4, 7, 1, 1, 1, 2}, 1, 3, false, true, 7, false, false},
      {{0x30, 5, 0, 2, 1, 1, 0x13}, 4, 4, false, true, 0, true, false},
      {{0xF8, 2, 0, 2, 1, 1, 0x18}, 0, 2, false, true, 0, true, false},
  };
  for (const auto& c : cases) {
    OpenWith(c.start);
    SCOPED_TRACE(testing::Message() << "density " << int(c.start.density));
    EXPECT_EQ(s.SliderPos(IDC_TX_DENSITY), c.slider);
    EXPECT_EQ(s.At(IDC_TX_DENSITY).low, 0);
    EXPECT_EQ(s.At(IDC_TX_DENSITY).high, 4);
    EXPECT_EQ(s.ListCount(IDC_TX_QUALITY), 6);
    EXPECT_EQ(s.ListSelection(IDC_TX_QUALITY), c.quality);
    EXPECT_EQ(s.IsChecked(IDC_TX_ADF), c.adfChecked);
    EXPECT_EQ(s.IsChecked(IDC_TX_MEMORY), !c.adfChecked);
    EXPECT_EQ(s.IsEnabled(IDC_TX_ADF), c.adfEnabled);
    EXPECT_EQ(Stored(kDefaultTx), c.defaultTxAfter);
    EXPECT_EQ(s.IsChecked(IDC_TX_HEADER), c.header);
    EXPECT_EQ(s.IsEnabled(IDC_TX_HEADER), c.headerEnabled);
    // The density and the quality are not rewritten by the start.
    EXPECT_EQ(Stored(kDensity), c.start.density);
    EXPECT_EQ(Stored(kQuality), c.start.quality);
  }
  EXPECT_EQ(s.At(IDC_TX_QUALITY).items.front(), "Standard / Text");
  EXPECT_EQ(s.At(IDC_TX_QUALITY).items.back(), "Super Fine / Photo");
  EXPECT_EQ(s.At(IDC_TX_DEFAULT_GROUP).text, "Default TX  ");
  EXPECT_EQ(s.At(IDC_TX_DARKER).text, "Darker");
}

TEST_F(FaxTxPage, TheSliderStoresEightTimesTheLevel) {
  OpenWith({0x18, 0, 0, 0, 1, 0, 0});
  s.Slide(*driver, IDC_TX_DENSITY, kLineDown);
  EXPECT_EQ(Stored(kDensity), 0x20u);
  s.Slide(*driver, IDC_TX_DENSITY, kLineDown);  // already at the darkest
  EXPECT_EQ(Stored(kDensity), 0x20u);
  s.Slide(*driver, IDC_TX_DENSITY, kThumbPosition, 1);
  EXPECT_EQ(Stored(kDensity), 0x08u);
  s.Slide(*driver, IDC_TX_DENSITY, kLineUp);
  EXPECT_EQ(Stored(kDensity), 0x00u);
  EXPECT_EQ(s.SliderPos(IDC_TX_DENSITY), 0);
  EXPECT_TRUE(Changed(PageId::FaxTxOperation));
}

TEST_F(FaxTxPage, AnUntouchedPageKeepsItsStoredForm) {
  OpenWith({0x0C, 3, 0, 0, 1, 0, 0});
  EXPECT_FALSE(Changed(PageId::FaxTxOperation));
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Image(kDensity), 0x0C);
  EXPECT_EQ(Image(kQuality), 3);
}

TEST_F(FaxTxPage, ClicksAndSelectionsStoreCodes) {
  OpenWith({0x10, 3, 0, 0, 1, 1, 0});
  const int codes[] = {0, 1, 2, 4, 5, 6};
  for (int i = 5; i >= 0; --i) {
    s.Choose(*driver, IDC_TX_QUALITY, i);
    EXPECT_EQ(Stored(kQuality), static_cast<uint32_t>(codes[i]));
  }
  s.Click(*driver, IDC_TX_ADF);
  EXPECT_EQ(Stored(kDefaultTx), 4u);
  s.Click(*driver, IDC_TX_MEMORY);
  EXPECT_EQ(Stored(kDefaultTx), 0u);
  s.Click(*driver, IDC_TX_HEADER);
  EXPECT_EQ(Stored(kHeader), 2u);
  s.Click(*driver, IDC_TX_HEADER);
  EXPECT_EQ(Stored(kHeader), 0u);
  s.Click(*driver, IDC_TX_ADF);
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Image(kDefaultTx), 4);
  EXPECT_EQ(Image(kQuality), 0);
}

}  // namespace
}  // namespace test
}  // namespace odc
