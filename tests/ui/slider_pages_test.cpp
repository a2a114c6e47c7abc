// Sliders on their pages: a stored value the slider cannot reach shows as
// stored until the user moves the slider, and what the slider shows after a
// move is what is packed.
#include <gtest/gtest.h>

#include "setup/res/resource.h"
#include "setup/settings/fax_rx_dialogs.h"
#include "tests/ui/settings_page_fixture.h"

namespace odc {
namespace test {
namespace {

using namespace fax_rx_items;

constexpr uint32_t kEnergySaveTime = 0x10001, kShutOffTime = 0x10002, kShutOffPermission = 0x10300;

class SliderPage : public SettingsPageTest {
 protected:
  uint32_t Applied(uint32_t id) {
    DataSet copy = *data;
    UnpackTransferImage(copy);
    return GetSetting(copy, id);
  }
};

TEST_F(SliderPage, RingsBeyondTheMaximumShowAsStoredUntilMoved) {
  SetSetting(*data, kRegionCodeId, 0);
  SetSetting(*data, kMaximumRings, 3);
  SetSetting(*data, kRings, 5);
  Open(PageId::FaxRxOperation);
  EXPECT_EQ(s.At(IDC_RX_RINGS_VALUE).text, "6");  // 5 rings stored, shown plus one
  EXPECT_EQ(s.SliderPos(IDC_RX_RINGS), 3);
  EXPECT_EQ(s.At(IDC_RX_RINGS).high, 3);
  s.Slide(*driver, IDC_RX_RINGS, 8);  // the end of a drag that moved nothing
  EXPECT_EQ(s.At(IDC_RX_RINGS_VALUE).text, "6");
  EXPECT_EQ(GetSetting(*data, kRings), 5u);

  // Moved: what it shows is what is stored and packed.
  s.Slide(*driver, IDC_RX_RINGS, kLineUp);
  EXPECT_EQ(GetSetting(*data, kRings), 3u);
  EXPECT_EQ(s.At(IDC_RX_RINGS_VALUE).text, "4");
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(Applied(kRings), 3u);
}

TEST_F(SliderPage, ACallTransferCountBeyondNineShowsAsStored) {
  SetSetting(*data, kRegionCodeId, 3);
  SetSetting(*data, kCallTransferOn, 0x10);
  SetSetting(*data, kCallTransferCount, 12);
  SetSetting(*data, kMaximumRings, 15);
  Open(PageId::FaxRxOperation);
  EXPECT_EQ(s.At(IDC_RX_TRANSFER_VALUE).text, "12");
  EXPECT_EQ(s.SliderPos(IDC_RX_TRANSFER_COUNT), 9);
  s.Slide(*driver, IDC_RX_TRANSFER_COUNT, kThumbPosition, 9);
  EXPECT_EQ(GetSetting(*data, kCallTransferCount), 9u);
  EXPECT_EQ(s.At(IDC_RX_TRANSFER_VALUE).text, "9");
}

// The demonstration machine's energy-save time 0: Home, End and the end of
// a drag leave it stored, and the label keeps saying so.
TEST_F(SliderPage, AnEnergySaveTimeOfZeroIsShownAndUploadedAsZero) {
  SetSetting(*data, kEnergySaveTime, 0);
  Open(PageId::MachineSetting);
  const int label = FindSlider(IDC_MS_ENERGY_SLIDER)->valueLabel;
  EXPECT_EQ(s.At(label).text, "0 min");
  for (int code : {6, 7, 8}) {
    s.At(IDC_MS_ENERGY_SLIDER).position = code == 7 ? 240 : 1;  // the control moved itself
    s.Slide(*driver, IDC_MS_ENERGY_SLIDER, code);
    EXPECT_EQ(s.At(label).text, "0 min") << code;
    EXPECT_EQ(s.SliderPos(IDC_MS_ENERGY_SLIDER), 1) << code;
  }
  driver->Apply(s);
  EXPECT_EQ(Applied(kEnergySaveTime), 0u);

  s.Slide(*driver, IDC_MS_ENERGY_SLIDER, kLineDown);
  EXPECT_EQ(s.At(label).text, "1 min");
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(Applied(kEnergySaveTime), 1u);
}

// An Auto Shut Off time of 0xFFFFFFFF is above 240, not below 15.
TEST_F(SliderPage, AnAutoShutOffTimeBeyondTheRangeIsClampedUnsigned) {
  SetSetting(*data, kShutOffPermission, 0);
  SetSetting(*data, kShutOffTime, 0xFFFFFFFF);
  Open(PageId::MachineSetting);
  EXPECT_EQ(GetSetting(*data, kShutOffTime), 240u);
  EXPECT_EQ(s.SliderPos(IDC_MS_SHUT_OFF_SLIDER), 240);
  EXPECT_EQ(s.At(FindSlider(IDC_MS_SHUT_OFF_SLIDER)->valueLabel).text, "240 min");
}

}  // namespace
}  // namespace test
}  // namespace odc
