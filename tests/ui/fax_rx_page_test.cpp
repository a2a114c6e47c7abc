// The FAX RX Operation page with its Select Tray and Forward Location
// dialogs.
#include <cstring>
#include <string>

#include "setup/data/dial_codec.h"
#include "setup/res/resource.h"
#include "setup/settings/fax_rx_dialogs.h"
#include "tests/ui/fax_scan_page_fixture.h"

namespace odc {
namespace test {
namespace {

using namespace fax_rx_items;

const char kIncorrect[] = "Password is not correct !";
const char kPasswordRange[] = "Invalid password : must be within 0000 to 9999 !";

class FaxRxPage : public PageFixture {
 protected:
  FaxRxPage() {
    // A window with bytes the page does not edit around its fields.
    uint8_t* w = SettingBytes(*data, kMemoryRxWindow);
    w[0] = 0xA1;
    w[1] = 0xA2;
    w[11] = 0xA3;
    SetSetting(*data, kMaximumRings, 15);
    SetSetting(*data, kForwardMode, 0x40);
  }
  void SetWindow(const char* password, uint16_t on, uint16_t off, uint8_t flags) {
    uint8_t* w = SettingBytes(*data, kMemoryRxWindow);
    std::memset(w + kPasswordOffset, 0, 4);
    std::memcpy(w + kPasswordOffset, password, std::strlen(password));
    w[kOnTimeOffset] = on & 0xFF;
    w[kOnTimeOffset + 1] = on >> 8;
    w[kOffTimeOffset] = off & 0xFF;
    w[kOffTimeOffset + 1] = off >> 8;
    w[kTimeFlagsOffset] = flags;
  }
  void OpenPage() {
    s.RadioGroup({IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF});
    s.RadioGroup({IDC_RX_PRINT_MEMORY, IDC_RX_PRINT_PRINT});
    s.RadioGroup({IDC_RX_MODE_AUTO, IDC_RX_MODE_MANUAL});
    s.RadioGroup({IDC_RX_REDUCTION_ON, IDC_RX_REDUCTION_OFF, IDC_RX_REDUCTION_CUT});
    s.RadioGroup({IDC_RX_FORWARD_ON, IDC_RX_FORWARD_PRINT, IDC_RX_FORWARD_OFF});
    Open(PageId::FaxRxOperation);
  }
  std::vector<uint8_t> Window() const { return WorkingBytes(kMemoryRxWindow, 12); }
  std::vector<uint8_t> Record() const { return WorkingBytes(kForwardLocation, 72); }
  bool TimesEnabled() const {
    for (int id : {IDC_RX_ON_HOUR, IDC_RX_ON_MINUTE, IDC_RX_OFF_HOUR, IDC_RX_OFF_MINUTE,
                   IDC_RX_ON_TIME_LABEL, IDC_RX_OFF_TIME_LABEL})
      if (!s.IsEnabled(id)) return false;
    return true;
  }
  bool TimesDisabled() const {
    for (int id : {IDC_RX_ON_HOUR, IDC_RX_ON_MINUTE, IDC_RX_OFF_HOUR, IDC_RX_OFF_MINUTE,
                   IDC_RX_ON_TIME_LABEL, IDC_RX_OFF_TIME_LABEL})
      if (s.IsEnabled(id)) return false;
    return true;
  }
  void TypeTimes(const char* onHour, const char* onMinute, const char* offHour,
                 const char* offMinute) {
    s.Type(*driver, IDC_RX_ON_HOUR, onHour);
    s.Type(*driver, IDC_RX_ON_MINUTE, onMinute);
    s.Type(*driver, IDC_RX_OFF_HOUR, offHour);
    s.Type(*driver, IDC_RX_OFF_MINUTE, offMinute);
  }
};

// ---------------------------------------------------------------------------
// Start

TEST_F(FaxRxPage, MemoryRxAtStart) {
  const uint16_t t0830 = (8 * 64 + 30) * 32, t1705 = (17 * 64 + 5) * 32;
  const struct {
    uint8_t mode, flags;
    bool on, off, passwordEnabled;
    const char* onHour;
    const char* offMinute;
  } cases[] = {
      {0x80, 0xC0, true, false, true, "08", "05"},
      {0x80, 0x80, true, false, true, "", ""},  // both times are needed to show them
      {0x80, 0x00, true, false, true, "", ""},
      {0x00, 0xC0, false, true, false, "", ""},
      // A mode the page does not know selects nothing and shows the times.
      {0x40, 0xC0, false, false, true, "08", "05"},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    SetSetting(*data, kMemoryRxMode, c.mode);
    SetWindow("1234", t0830, t1705, c.flags);
    OpenPage();
    SCOPED_TRACE(testing::Message() << "mode " << int(c.mode) << " flags " << int(c.flags));
    EXPECT_EQ(s.IsChecked(IDC_RX_MEMORY_ON), c.on);
    EXPECT_EQ(s.IsChecked(IDC_RX_MEMORY_OFF), c.off);
    EXPECT_EQ(s.IsEnabled(IDC_RX_PASSWORD), c.passwordEnabled);
    EXPECT_EQ(s.IsEnabled(IDC_RX_PASSWORD_LABEL), c.passwordEnabled);
    EXPECT_EQ(s.At(IDC_RX_PASSWORD).limit, 4);
    EXPECT_EQ(s.Text(IDC_RX_PASSWORD, 128), "");
    EXPECT_TRUE(TimesDisabled());
    EXPECT_EQ(s.Text(IDC_RX_ON_HOUR, 128), c.onHour);
    EXPECT_EQ(s.Text(IDC_RX_OFF_MINUTE, 128), c.offMinute);
    EXPECT_EQ(Stored(kMemoryRxMode), c.mode);
  }
  EXPECT_EQ(s.At(IDC_RX_ON_TIME_LABEL).text, "On T&ime : (HH : MM)");
  EXPECT_EQ(s.At(IDC_RX_FOOTER).text, "Footer(&5)\t");
}

TEST_F(FaxRxPage, RadioGroupsAndBoxesAtStart) {
  const struct {
    uint8_t reduction, print, mode, forward, footer, closed;
    int reductionButton, printButton, modeButton, forwardButton;
    bool footerChecked, closedChecked;
  } cases[] = {
      {0, 0, 0, 0x00, 0x10, 0x20, 512, 500, 502, 516, true, true},
      {1, 8, 0x20, 0x20, 0, 0, 514, 499, 503, 517, false, false},
      {2, 0, 0, 0x40, 0x11, 0x10, 513, 500, 502, 518, false, false},
      {3, 4, 0x10, 0x60, 0, 0, 0, 0, 0, 0, false, false},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    SetSetting(*data, kReduction, c.reduction);
    SetSetting(*data, kRxPrint, c.print);
    SetSetting(*data, kRxMode, c.mode);
    SetSetting(*data, kForwardMode, c.forward);
    SetSetting(*data, kFooter, c.footer);
    SetSetting(*data, kClosedNetwork, c.closed);
    OpenPage();
    auto checked = [&](std::initializer_list<int> ids) {
      for (int id : ids)
        if (s.IsChecked(id)) return id;
      return 0;
    };
    EXPECT_EQ(checked({512, 513, 514}), c.reductionButton);
    EXPECT_EQ(checked({499, 500}), c.printButton);
    EXPECT_EQ(checked({502, 503}), c.modeButton);
    EXPECT_EQ(checked({516, 517, 518}), c.forwardButton);
    EXPECT_EQ(s.IsChecked(IDC_RX_FOOTER), c.footerChecked);
    EXPECT_EQ(s.IsChecked(IDC_RX_CLOSED_NETWORK), c.closedChecked);
    EXPECT_EQ(Stored(kForwardMode), c.forward);
  }
}

TEST_F(FaxRxPage, RingsAndCallTransferByRegion) {
  const struct {
    uint8_t region, rings, maximum, transferOn, count;
    int position;
    const char* label;
    bool transferShown, transferChecked, sliderEnabled;
    const char* countLabel;
  } cases[] = {
      {0, 3, 15, 0x10, 5, 3, "4", false, false, false, ""},
      {3, 3, 15, 0x10, 5, 3, "3", true, true, true, "5"},
      // Values beyond the slider: the thumb at the end, the label as stored.
      {3, 0, 15, 0, 12, 0, "0", true, false, false, "12"},
      {1, 9, 5, 0, 0, 5, "10", false, false, false, ""},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    SetSetting(*data, kRegionCodeId, c.region);
    SetSetting(*data, kRings, c.rings);
    SetSetting(*data, kMaximumRings, c.maximum);
    SetSetting(*data, kCallTransferOn, c.transferOn);
    SetSetting(*data, kCallTransferCount, c.count);
    OpenPage();
    SCOPED_TRACE(testing::Message() << "region " << int(c.region));
    EXPECT_EQ(s.At(IDC_RX_RINGS).high, c.maximum);  // up to the maximum-rings setting
    EXPECT_EQ(s.SliderPos(IDC_RX_RINGS), c.position);
    EXPECT_EQ(s.Text(IDC_RX_RINGS_VALUE, 128), c.label);
    for (int id : {IDC_RX_CALL_TRANSFER, IDC_RX_TRANSFER_COUNT, IDC_RX_TRANSFER_VALUE})
      EXPECT_EQ(s.IsShown(id), c.transferShown);
    if (c.transferShown) {
      EXPECT_EQ(s.IsChecked(IDC_RX_CALL_TRANSFER), c.transferChecked);
      EXPECT_EQ(s.IsEnabled(IDC_RX_TRANSFER_COUNT), c.sliderEnabled);
      EXPECT_EQ(s.Text(IDC_RX_TRANSFER_VALUE, 128), c.countLabel);
    }
    EXPECT_EQ(Stored(kRings), c.rings);
    EXPECT_EQ(Stored(kCallTransferCount), c.count);
  }
}

// ---------------------------------------------------------------------------
// Edits

// Five digits cannot stay in the four-digit edit: they are cut to four in
// the edit itself, and the four are what the page keeps.
TEST_F(FaxRxPage, AFiveDigitPasswordIsCutToFourInTheEdit) {
  SetSetting(*data, kMemoryRxMode, 0);
  SetWindow("", 0, 0, 0);
  OpenPage();
  s.Click(*driver, IDC_RX_MEMORY_ON);
  s.Type(*driver, IDC_RX_PASSWORD, "12345");
  EXPECT_EQ(s.Text(IDC_RX_PASSWORD, 128), "1234");
  TypeTimes("8", "30", "17", "05");
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12)[kPasswordOffset], '1');
  EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12)[kPasswordOffset + 3], '4');
}

TEST_F(FaxRxPage, RingsSliderStoresClampedToTheMaximum) {
  SetSetting(*data, kRings, 3);
  SetSetting(*data, kMaximumRings, 10);
  OpenPage();
  s.Slide(*driver, IDC_RX_RINGS, kLineDown);
  EXPECT_EQ(Stored(kRings), 4u);
  EXPECT_EQ(s.Text(IDC_RX_RINGS_VALUE, 128), "5");
  s.Slide(*driver, IDC_RX_RINGS, kThumbPosition, 15);
  EXPECT_EQ(Stored(kRings), 10u);
  EXPECT_EQ(s.Text(IDC_RX_RINGS_VALUE, 128), "11");
  EXPECT_TRUE(Changed(PageId::FaxRxOperation));
}

TEST_F(FaxRxPage, CallTransferBoxDrivesItsSlider) {
  SetSetting(*data, kRegionCodeId, 3);
  SetSetting(*data, kCallTransferOn, 0x10);
  SetSetting(*data, kCallTransferCount, 4);
  OpenPage();
  s.Click(*driver, IDC_RX_CALL_TRANSFER);
  EXPECT_EQ(Stored(kCallTransferOn), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_RX_TRANSFER_COUNT));
  s.Click(*driver, IDC_RX_CALL_TRANSFER);
  EXPECT_EQ(Stored(kCallTransferOn), 0x10u);
  EXPECT_TRUE(s.IsEnabled(IDC_RX_TRANSFER_COUNT));
  s.Slide(*driver, IDC_RX_TRANSFER_COUNT, kPageDown);
  EXPECT_EQ(Stored(kCallTransferCount), 5u);
  EXPECT_EQ(s.Text(IDC_RX_TRANSFER_VALUE, 128), "5");
  s.Slide(*driver, IDC_RX_TRANSFER_COUNT, kThumbTrack, 9);
  EXPECT_EQ(Stored(kCallTransferCount), 9u);
}

TEST_F(FaxRxPage, ButtonsAndBoxesStoreTheirCodes) {
  SetSetting(*data, kReduction, 7);
  OpenPage();
  const struct {
    int control;
    uint32_t item, value;
  } clicks[] = {
      {IDC_RX_REDUCTION_CUT, kReduction, 2},
      {IDC_RX_REDUCTION_OFF, kReduction, 1},
      {IDC_RX_REDUCTION_ON, kReduction, 0},
      {IDC_RX_PRINT_MEMORY, kRxPrint, 8},
      {IDC_RX_PRINT_PRINT, kRxPrint, 0},
      {IDC_RX_MODE_MANUAL, kRxMode, 0x20},
      {IDC_RX_MODE_AUTO, kRxMode, 0},
      {IDC_RX_FOOTER, kFooter, 0x10},
      {IDC_RX_FOOTER, kFooter, 0},
      {IDC_RX_CLOSED_NETWORK, kClosedNetwork, 0x20},
      {IDC_RX_FORWARD_OFF, kForwardMode, 0x40},
  };
  for (const auto& c : clicks) {
    s.Click(*driver, c.control);
    EXPECT_EQ(Stored(c.item), c.value) << c.control;
  }
}

TEST_F(FaxRxPage, TypedDigitsOnly) {
  SetSetting(*data, kMemoryRxMode, 0);
  OpenPage();
  s.Click(*driver, IDC_RX_MEMORY_ON);
  s.Type(*driver, IDC_RX_PASSWORD, "12a4");
  EXPECT_EQ(s.Text(IDC_RX_PASSWORD, 128), "124");
  EXPECT_EQ(s.At(IDC_RX_PASSWORD).selEnd, 2);
  s.Type(*driver, IDC_RX_ON_HOUR, "0x");
  EXPECT_EQ(s.Text(IDC_RX_ON_HOUR, 128), "0");
  s.Type(*driver, IDC_RX_ON_HOUR, "08");
  EXPECT_EQ(s.At(IDC_RX_ON_HOUR).limit, 2);
}

// ---------------------------------------------------------------------------
// Memory RX password and window

TEST_F(FaxRxPage, SwitchingOffNeedsTheStoredPassword) {
  SetSetting(*data, kMemoryRxMode, 0x80);
  SetWindow("1234", 0x43C0, 0x88A0, 0xC0);
  OpenPage();
  s.Click(*driver, IDC_RX_MEMORY_OFF);
  EXPECT_EQ(s.messages, (std::vector<std::string>{kIncorrect}));
  EXPECT_TRUE(s.IsChecked(IDC_RX_MEMORY_ON));
  EXPECT_FALSE(s.IsChecked(IDC_RX_MEMORY_OFF));
  EXPECT_EQ(s.focus, IDC_RX_PASSWORD);
  EXPECT_EQ(Stored(kMemoryRxMode), 0x80u);

  s.Type(*driver, IDC_RX_PASSWORD, "1234");
  s.Click(*driver, IDC_RX_MEMORY_OFF);
  EXPECT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(Stored(kMemoryRxMode), 0u);
  EXPECT_TRUE(s.IsChecked(IDC_RX_MEMORY_OFF));
  EXPECT_EQ(s.Text(IDC_RX_PASSWORD, 128), "");
  EXPECT_EQ(s.Text(IDC_RX_ON_HOUR, 128), "");
  EXPECT_FALSE(s.IsEnabled(IDC_RX_PASSWORD));
  EXPECT_TRUE(TimesDisabled());
  EXPECT_EQ(Window()[kTimeFlagsOffset], 0);

  ASSERT_TRUE(driver->Apply(s));
  // Off: the stored password is cleared; the times stay but are not set.
  EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12),
            (std::vector<uint8_t>{0xA1, 0xA2, 0xC0, 0x43, 0, 0, 0, 0, 0xA0, 0x88, 0, 0xA3}));
  EXPECT_EQ(Image(kMemoryRxMode), 0);
}

TEST_F(FaxRxPage, SwitchingOnStoresPasswordAndWindow) {
  SetSetting(*data, kMemoryRxMode, 0);
  OpenPage();
  s.Click(*driver, IDC_RX_MEMORY_ON);
  EXPECT_EQ(Stored(kMemoryRxMode), 0x80u);
  EXPECT_TRUE(s.IsEnabled(IDC_RX_PASSWORD));
  EXPECT_TRUE(TimesEnabled());
  s.Type(*driver, IDC_RX_PASSWORD, "4321");
  TypeTimes("8", "30", "17", "05");
  ASSERT_TRUE(driver->Apply(s));
  // On 08:30 = (8 x 64 + 30) x 32 = 0x43C0; off 17:05 = 0x88A0.
  EXPECT_EQ(
      ImageBytes(kMemoryRxWindow, 12),
      (std::vector<uint8_t>{0xA1, 0xA2, 0xC0, 0x43, '4', '3', '2', '1', 0xA0, 0x88, 0xC0, 0xA3}));
  EXPECT_EQ(Image(kMemoryRxMode), 0x80);
  // The applied times are shown again in their stored form, not editable.
  EXPECT_EQ(s.Text(IDC_RX_ON_HOUR, 128), "08");
  EXPECT_TRUE(TimesDisabled());

  // Applied: the new password is the one switching off now needs.
  s.Click(*driver, IDC_RX_MEMORY_OFF);
  EXPECT_EQ(Stored(kMemoryRxMode), 0u);
  EXPECT_TRUE(s.messages.empty());
}

TEST_F(FaxRxPage, EmptyTimesClearTheFlags) {
  SetSetting(*data, kMemoryRxMode, 0);
  SetWindow("", 0x43C0, 0x88A0, 0xC0);
  OpenPage();
  s.Click(*driver, IDC_RX_MEMORY_ON);
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12),
            (std::vector<uint8_t>{0xA1, 0xA2, 0xC0, 0x43, 0, 0, 0, 0, 0xA0, 0x88, 0, 0xA3}));
}

TEST_F(FaxRxPage, ApplyRefusesAShortOrLongPassword) {
  for (const char* typed : {"12", "1", "123"}) {
    s = MemorySurface{};
    SetSetting(*data, kMemoryRxMode, 0);
    SetWindow("", 0, 0, 0);
    OpenPage();
    const std::vector<uint8_t> image = ImageBytes(kMemoryRxWindow, 12);
    s.Click(*driver, IDC_RX_MEMORY_ON);
    s.Type(*driver, IDC_RX_PASSWORD, typed);
    TypeTimes("8", "30", "17", "05");
    EXPECT_FALSE(driver->Apply(s)) << typed;
    EXPECT_EQ(s.messages, (std::vector<std::string>{kPasswordRange}));
    EXPECT_EQ(s.focus, IDC_RX_PASSWORD);
    EXPECT_EQ(s.showPageCount, 1);
    EXPECT_TRUE(Changed(PageId::FaxRxOperation));
    // Nothing was packed and nothing of the window was written.
    EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12), image);
    EXPECT_EQ(Image(kMemoryRxMode), 0);
    EXPECT_EQ(Window(), image);
    // Leaving is refused the same way.
    EXPECT_FALSE(driver->KillActive(s));
    EXPECT_EQ(s.messages.size(), 2u);
  }
}

TEST_F(FaxRxPage, LeavingWithAWrongPasswordWhileOn) {
  SetSetting(*data, kMemoryRxMode, 0x80);
  SetWindow("1234", 0, 0, 0);
  OpenPage();
  s.Type(*driver, IDC_RX_PASSWORD, "9999");
  EXPECT_FALSE(driver->KillActive(s));
  EXPECT_EQ(s.messages, (std::vector<std::string>{kIncorrect}));
  EXPECT_EQ(s.focus, IDC_RX_PASSWORD);
  EXPECT_EQ(s.At(IDC_RX_PASSWORD).selEnd, 4);
  // Every attempt is checked again.
  EXPECT_FALSE(driver->KillActive(s));
  s.Type(*driver, IDC_RX_PASSWORD, "1234");
  EXPECT_TRUE(driver->KillActive(s));
  s.Type(*driver, IDC_RX_PASSWORD, "");
  EXPECT_TRUE(driver->KillActive(s));
  // With Memory RX off nothing is checked.
  s.Type(*driver, IDC_RX_PASSWORD, "1234");
  s.Click(*driver, IDC_RX_MEMORY_OFF);
  s.At(IDC_RX_PASSWORD).text = "12";
  EXPECT_TRUE(driver->KillActive(s));
}

TEST_F(FaxRxPage, TimeChecksOnLeaveAndApply) {
  const struct {
    const char* fields[4];
    const char* message;
    int focus;
  } cases[] = {
      {{"8", "", "", ""}, "\"\" is not a valid integer value !", IDC_RX_ON_MINUTE},
      {{"24", "00", "17", "00"}, "Invalid value : must be within 0 to 23 !", IDC_RX_ON_HOUR},
      {{"8", "60", "17", "00"}, "Invalid value : must be within 0 to 59 !", IDC_RX_ON_MINUTE},
      {{"8", "0", "99", "00"}, "Invalid value : must be within 0 to 23 !", IDC_RX_OFF_HOUR},
      {{"", "", "", "75"}, "\"\" is not a valid integer value !", IDC_RX_ON_HOUR},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    SetSetting(*data, kMemoryRxMode, 0);
    OpenPage();
    s.Click(*driver, IDC_RX_MEMORY_ON);
    TypeTimes(c.fields[0], c.fields[1], c.fields[2], c.fields[3]);
    EXPECT_FALSE(driver->KillActive(s));
    EXPECT_FALSE(driver->Apply(s));
    EXPECT_EQ(s.messages, (std::vector<std::string>{c.message, c.message}));
    EXPECT_EQ(s.focus, c.focus);
    EXPECT_EQ(Image(kMemoryRxMode), 0);
  }
  // 23:59 is the last time of the day.
  s = MemorySurface{};
  SetSetting(*data, kMemoryRxMode, 0);
  OpenPage();
  s.Click(*driver, IDC_RX_MEMORY_ON);
  TypeTimes("23", "59", "0", "0");
  EXPECT_TRUE(driver->KillActive(s));
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(Image(kMemoryRxWindow, kOnTimeOffset), 0x60);
  EXPECT_EQ(Image(kMemoryRxWindow, kOnTimeOffset + 1), 0xBF);
}

// ---------------------------------------------------------------------------
// Select Tray

class SelectTray : public FaxRxPage {
 protected:
  void SetTrays(std::initializer_list<uint8_t> values) {
    uint32_t id = kFirstTray;
    for (uint8_t v : values) SetSetting(*data, id++, v);
  }
  std::vector<uint32_t> Trays() const {
    std::vector<uint32_t> out;
    for (uint32_t id = kFirstTray; id < kFirstTray + 5; ++id) out.push_back(Stored(id));
    return out;
  }
};

TEST_F(SelectTray, ShowsInstalledTraysAndTheirState) {
  const struct {
    uint8_t trayCount;
    int shown;
  } counts[] = {{0, 1}, {1, 1}, {3, 3}, {5, 5}, {9, 1}};
  for (const auto& c : counts) {
    data->machineInfo[machine_info::kTrayCount] = c.trayCount;
    // Tray 1 holds a value that is not its bit: it shows Disable and keeps it.
    SetTrays({0x03, 0x02, 0x00, 0x08, 0x10});
    s = MemorySurface{};
    OpenPage();
    s.dialogScripts[IDD_SELECT_TRAY] = [&](MemorySurface& d, DialogLogic&) {
      EXPECT_EQ(d.caption, "Select Tray");
      EXPECT_TRUE(d.centred);
      for (int t = 0; t < 5; ++t) {
        const bool shown = t < c.shown;
        EXPECT_EQ(d.IsShown(IDC_TRAY_GROUP_1 + t), shown) << t;
        EXPECT_EQ(d.IsShown(IDC_TRAY_ENABLE_1 + t), shown);
        EXPECT_EQ(d.IsShown(IDC_TRAY_DISABLE_1 + t), shown);
      }
      const bool enabled[] = {false, true, false, true, true};
      for (int t = 0; t < 5; ++t) {
        EXPECT_EQ(d.IsChecked(IDC_TRAY_ENABLE_1 + t), enabled[t]) << t;
        EXPECT_EQ(d.IsChecked(IDC_TRAY_DISABLE_1 + t), !enabled[t]) << t;
      }
      EXPECT_EQ(d.At(IDC_TRAY_GROUP_1 + 2).text, "Tray3");
      EXPECT_EQ(d.At(IDC_TRAY_DISABLE_1).text, "Disable");
    };
    s.Click(*driver, IDC_RX_SELECT_TRAY);
    EXPECT_EQ(Trays(), (std::vector<uint32_t>{0x03, 0x02, 0x00, 0x08, 0x10}));
  }
}

TEST_F(SelectTray, OkKeepsTheClicksAndMarksThePage) {
  data->machineInfo[machine_info::kTrayCount] = 5;
  SetTrays({0x03, 0x02, 0x00, 0x08, 0x10});
  OpenPage();
  s.dialogScripts[IDD_SELECT_TRAY] = [](MemorySurface& d, DialogLogic& logic) {
    d.RadioGroup({IDC_TRAY_ENABLE_1, IDC_TRAY_DISABLE_1});
    d.RadioGroup({IDC_TRAY_ENABLE_1 + 2, IDC_TRAY_DISABLE_1 + 2});
    d.RadioGroup({IDC_TRAY_ENABLE_1 + 4, IDC_TRAY_DISABLE_1 + 4});
    DialogTarget target{logic};
    d.Click(target, IDC_TRAY_ENABLE_1);
    d.Click(target, IDC_TRAY_ENABLE_1 + 2);
    d.Click(target, IDC_TRAY_DISABLE_1 + 4);
    EXPECT_TRUE(d.IsChecked(IDC_TRAY_DISABLE_1 + 4));
    EXPECT_FALSE(d.IsChecked(IDC_TRAY_ENABLE_1 + 4));
    logic.OnCommand(d, kIdOk, kButtonClicked);
  };
  s.Click(*driver, IDC_RX_SELECT_TRAY);
  EXPECT_EQ(s.lastDialog->endResult, 1);
  EXPECT_EQ(Trays(), (std::vector<uint32_t>{0x01, 0x02, 0x04, 0x08, 0x00}));
  EXPECT_TRUE(Changed(PageId::FaxRxOperation));
  EXPECT_EQ(s.changedCount, 1);
}

TEST_F(SelectTray, CancelPutsTheBlockBack) {
  data->machineInfo[machine_info::kTrayCount] = 5;
  SetTrays({0x03, 0x02, 0x00, 0x08, 0x10});
  OpenPage();
  // Cancel and the close box (which arrives as Cancel) end it the same way.
  s.dialogScripts[IDD_SELECT_TRAY] = [](MemorySurface& d, DialogLogic& logic) {
    DialogTarget target{logic};
    d.Click(target, IDC_TRAY_ENABLE_1 + 2);
    d.Click(target, IDC_TRAY_DISABLE_1 + 1);
    logic.OnCommand(d, kIdCancel, kButtonClicked);
  };
  s.Click(*driver, IDC_RX_SELECT_TRAY);
  EXPECT_EQ(s.lastDialog->endResult, 0);
  EXPECT_EQ(Trays(), (std::vector<uint32_t>{0x03, 0x02, 0x00, 0x08, 0x10}));
  EXPECT_FALSE(Changed(PageId::FaxRxOperation));
  EXPECT_EQ(s.changedCount, 0);
}

// ---------------------------------------------------------------------------
// Forward Location

class ForwardLocation : public FaxRxPage {
 protected:
  // Runs the dialog from a click on `button` with `script` inside it.
  void Forward(int button, std::function<void(MemorySurface&, DialogTarget&)> script) {
    s.dialogScripts[IDD_FORWARD_LOCATION] = [script](MemorySurface& d, DialogLogic& logic) {
      d.RadioGroup({IDC_FWD_FAX, IDC_FWD_EMAIL});
      d.RadioGroup({IDC_FWD_BASIC, IDC_FWD_ADVANCED});
      DialogTarget target{logic};
      script(d, target);
    };
    s.Click(*driver, button);
  }
  static void Ok(MemorySurface& d, DialogTarget& t) { t.logic.OnCommand(d, kIdOk, kButtonClicked); }
  static void Cancel(MemorySurface& d, DialogTarget& t) {
    t.logic.OnCommand(d, kIdCancel, kButtonClicked);
  }
};

TEST_F(ForwardLocation, AFaxDestinationByteForByte) {
  OpenPage();
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_EQ(d.caption, "Forward Location");
    EXPECT_TRUE(d.IsChecked(IDC_FWD_FAX));
    EXPECT_EQ(d.At(IDC_FWD_NUMBER_LABEL).text, "&Phone Number:");
    EXPECT_TRUE(d.IsShown(IDC_FWD_NUMBER));
    EXPECT_FALSE(d.IsShown(IDC_FWD_ADDRESS));
    EXPECT_FALSE(d.IsShown(IDC_FWD_MODE_GROUP));
    EXPECT_EQ(d.At(IDC_FWD_SUB).limit, 20);
    EXPECT_EQ(d.At(IDC_FWD_SID).limit, 20);
    EXPECT_EQ(d.At(IDC_FWD_ADDRESS).limit, 64);
    d.Type(t, IDC_FWD_NUMBER, "0123456789*#P -");
    d.Type(t, IDC_FWD_SUB, "12P");  // P is not allowed in SUB
    EXPECT_EQ(d.Text(IDC_FWD_SUB, 128), "12");
    d.Type(t, IDC_FWD_SID, "345");
    Ok(d, t);
    EXPECT_EQ(d.endResult, 1);
  });
  std::vector<uint8_t> expected(72, 0);
  const uint8_t head[] = {2, 15, 0, 2, 3, 0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0x0F};
  std::copy(std::begin(head), std::end(head), expected.begin());
  expected[30] = 0x21;
  expected[40] = 0x43;
  expected[41] = 0x05;
  EXPECT_EQ(Record(), expected);
  EXPECT_EQ(Stored(kForwardMode), 0x00u);
  EXPECT_TRUE(s.IsChecked(IDC_RX_FORWARD_ON));
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageBytes(kForwardLocation, 72), expected);
  EXPECT_EQ(data->records[FindRecord(*data, kForwardLocation)].length, 72u);
}

TEST_F(ForwardLocation, AnEmailDestinationByteForByte) {
  OpenPage();
  Forward(IDC_RX_FORWARD_PRINT, [](MemorySurface& d, DialogTarget& t) {
    d.Type(t, IDC_FWD_NUMBER, "555");
    d.Click(t, IDC_FWD_EMAIL);
    EXPECT_EQ(d.Text(IDC_FWD_NUMBER, 128), "");
    EXPECT_EQ(d.At(IDC_FWD_NUMBER_LABEL).text, " A&ddress:");
    EXPECT_TRUE(d.IsShown(IDC_FWD_ADDRESS));
    EXPECT_TRUE(d.IsShown(IDC_FWD_MODE_GROUP));
    EXPECT_FALSE(d.IsShown(IDC_FWD_SIZE));  // Basic
    d.Type(t, IDC_FWD_ADDRESS, "fax;@example.com");
    EXPECT_EQ(d.Text(IDC_FWD_ADDRESS, 128), "fax@example.com");
    d.Click(t, IDC_FWD_ADVANCED);
    EXPECT_TRUE(d.IsShown(IDC_FWD_SIZE));
    EXPECT_EQ(d.ListSelection(IDC_FWD_QUALITY), 1);
    EXPECT_EQ(d.At(IDC_FWD_SIZE).items, (std::vector<std::string>{"A3", "B4", "A4"}));
    d.Choose(t, IDC_FWD_SIZE, 1);
    d.Choose(t, IDC_FWD_CODING, 2);
    Ok(d, t);
    EXPECT_EQ(d.endResult, 1);
  });
  std::vector<uint8_t> expected(72, 0);
  const uint8_t head[] = {1, 15, 1, 1, 2, 2};
  std::copy(std::begin(head), std::end(head), expected.begin());
  std::memcpy(expected.data() + 6, "fax@example.com", 15);
  EXPECT_EQ(Record(), expected);
  EXPECT_EQ(Stored(kForwardMode), 0x20u);
  EXPECT_TRUE(s.IsChecked(IDC_RX_FORWARD_PRINT));
}

TEST_F(ForwardLocation, TheDialogShowsAStoredDestination) {
  uint8_t* r = SettingBytes(*data, kForwardLocation);
  const uint8_t fax[] = {2, 5, 0, 1, 0, 0x21, 0x43, 0x05};
  std::memcpy(r, fax, sizeof fax);
  r[30] = 0x09;
  OpenPage();
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_EQ(d.Text(IDC_FWD_NUMBER, 128), "12345");
    EXPECT_EQ(d.Text(IDC_FWD_SUB, 128), "9");
    EXPECT_EQ(d.Text(IDC_FWD_SID, 128), "");
    EXPECT_EQ(d.focus, IDC_FWD_NUMBER);
    Cancel(d, t);
  });

  std::memset(r, 0, 72);
  const uint8_t mail[] = {1, 7, 1, 2, 1, 1, 'a', '@', 'b', '.', 'c', 'o', 'm'};
  std::memcpy(r, mail, sizeof mail);
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_TRUE(d.IsChecked(IDC_FWD_EMAIL));
    EXPECT_EQ(d.Text(IDC_FWD_ADDRESS, 128), "a@b.com");
    EXPECT_TRUE(d.IsChecked(IDC_FWD_ADVANCED));
    EXPECT_EQ(d.ListSelection(IDC_FWD_SIZE), 2);
    EXPECT_EQ(d.ListSelection(IDC_FWD_QUALITY), 0);
    EXPECT_EQ(d.ListSelection(IDC_FWD_CODING), 1);
    Cancel(d, t);
  });
}

TEST_F(ForwardLocation, RefusalsKeepTheDialogOpen) {
  const struct {
    bool email;
    const char* text;
    const char* message;
    int focus;
  } cases[] = {
      {false, "", "Phone number must be specified !", IDC_FWD_NUMBER},
      {true, "", "E-Mail address  must be specified !", IDC_FWD_ADDRESS},
      {true, "no-at.example.com", "E-Mail address is invalid !\n\nExample: user@example.com",
       IDC_FWD_ADDRESS},
      {true, "two@@example.com", "E-Mail address is invalid !\n\nExample: user@example.com",
       IDC_FWD_ADDRESS},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    OpenPage();
    const std::vector<uint8_t> before = Record();
    Forward(IDC_RX_FORWARD_ON, [&](MemorySurface& d, DialogTarget& t) {
      if (c.email) d.Click(t, IDC_FWD_EMAIL);
      d.Type(t, c.email ? IDC_FWD_ADDRESS : IDC_FWD_NUMBER, c.text);
      Ok(d, t);
      EXPECT_EQ(d.endResult, -999) << "the dialog closed";
      EXPECT_EQ(d.messages, (std::vector<std::string>{c.message}));
      EXPECT_EQ(d.focus, c.focus);
      Cancel(d, t);
    });
    EXPECT_EQ(Record(), before);
    EXPECT_EQ(Stored(kForwardMode), 0x40u);
  }
}

TEST_F(ForwardLocation, CancelReturnsToThePreviousMode) {
  const struct {
    uint8_t previous;
    int button;
    uint8_t after;
    int selected;
  } cases[] = {
      {0x40, IDC_RX_FORWARD_ON, 0x40, IDC_RX_FORWARD_OFF},
      {0x40, IDC_RX_FORWARD_PRINT, 0x40, IDC_RX_FORWARD_OFF},
      {0x00, IDC_RX_FORWARD_PRINT, 0x00, IDC_RX_FORWARD_ON},
      {0x20, IDC_RX_FORWARD_ON, 0x20, IDC_RX_FORWARD_PRINT},
      // Cancelled on the mode it had: it stays, having a destination.
      {0x00, IDC_RX_FORWARD_ON, 0x00, IDC_RX_FORWARD_ON},
      // A mode this program does not know comes back as it was.
      {0x60, IDC_RX_FORWARD_ON, 0x60, 0},
  };
  for (const auto& c : cases) {
    s = MemorySurface{};
    SetSetting(*data, kForwardMode, c.previous);
    uint8_t* r = SettingBytes(*data, kForwardLocation);
    std::memset(r, 0, 72);
    r[0] = 2;
    r[1] = 1;
    r[5] = 7;
    const std::vector<uint8_t> before = Record();
    OpenPage();
    Forward(c.button, Cancel);
    SCOPED_TRACE(testing::Message() << "from " << int(c.previous));
    EXPECT_EQ(s.lastDialog->endResult, 0);
    EXPECT_EQ(Stored(kForwardMode), c.after);
    for (int id : {IDC_RX_FORWARD_ON, IDC_RX_FORWARD_PRINT, IDC_RX_FORWARD_OFF})
      EXPECT_EQ(s.IsChecked(id), id == c.selected) << id;
    if (c.selected != 0 && c.previous != (c.button == IDC_RX_FORWARD_ON ? 0x00 : 0x20)) {
      EXPECT_EQ(s.focus, c.selected);
    }
    EXPECT_EQ(Record(), before);
  }
}

TEST_F(ForwardLocation, NoDestinationTurnsForwardingOff) {
  // ON(3) with an e-mail destination whose address is empty.
  SetSetting(*data, kForwardMode, 0x00);
  uint8_t* r = SettingBytes(*data, kForwardLocation);
  r[0] = 1;
  OpenPage();
  Forward(IDC_RX_FORWARD_ON, Cancel);
  EXPECT_EQ(Stored(kForwardMode), 0x40u);
  EXPECT_TRUE(s.IsChecked(IDC_RX_FORWARD_OFF));
  EXPECT_FALSE(s.IsChecked(IDC_RX_FORWARD_ON));
  EXPECT_EQ(s.focus, IDC_RX_FORWARD_OFF);
}

TEST_F(ForwardLocation, ApplyingOffZeroesTheRecord) {
  SetSetting(*data, kForwardMode, 0x00);
  uint8_t* r = SettingBytes(*data, kForwardLocation);
  r[0] = 2;
  r[1] = 1;
  r[5] = 7;
  OpenPage();
  s.Click(*driver, IDC_RX_FORWARD_OFF);
  EXPECT_EQ(Record()[0], 2);  // kept until applied
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(ImageBytes(kForwardLocation, 72), std::vector<uint8_t>(72, 0));
  EXPECT_EQ(Image(kForwardMode), 0x40);
}

TEST_F(ForwardLocation, AReferenceShowsItsEntryAndIsKeptUnlessEdited) {
  DisplayRecord fax{};
  fax.inUse = 1;
  fax.kind = kKindFax;
  fax.entryType = kEntryOneTouch;
  std::strcpy(fax.name, "Branch");
  std::strcpy(fax.number, "5551234");
  std::strcpy(fax.sub, "77");
  PackOneTouch(*data, fax, 2);
  DisplayRecord mail{};
  mail.inUse = 1;
  mail.kind = kKindEmail;
  mail.entryType = kEntrySpeedDial;
  std::strcpy(mail.name, "Office");
  std::strcpy(mail.email, "office@example.com");
  PackSpeedDial(*data, mail, 199);

  uint8_t* r = SettingBytes(*data, kForwardLocation);
  // A One Touch reference as the entry dialog keeps it: type 10, key 3.
  r[0] = 10;
  r[1] = 3;
  std::memcpy(r + 5, "5551234", 7);
  r[70] = 7;
  const std::vector<uint8_t> reference = Record();
  SetSetting(*data, kForwardMode, 0x00);
  OpenPage();
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_TRUE(d.IsChecked(IDC_FWD_FAX));
    EXPECT_EQ(d.Text(IDC_FWD_NUMBER, 128), "5551234");
    EXPECT_EQ(d.Text(IDC_FWD_SUB, 128), "77");
    Ok(d, t);
    EXPECT_EQ(d.endResult, 1);
  });
  EXPECT_EQ(Record(), reference);
  EXPECT_EQ(Stored(kForwardMode), 0x00u);

  // Edited, it becomes a typed destination.
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    d.Type(t, IDC_FWD_SID, "1");
    Ok(d, t);
  });
  const std::vector<uint8_t> typed = Record();
  EXPECT_EQ(typed[0], 2);
  EXPECT_EQ(typed[1], 7);
  EXPECT_EQ(typed[3], 2);
  EXPECT_EQ(typed[4], 1);
  EXPECT_EQ(typed[40], 1);

  // A Speed Dial e-mail reference: type 5, Speed Dial 200.
  std::memset(r, 0, 72);
  r[0] = 5;
  r[1] = 200;
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_TRUE(d.IsChecked(IDC_FWD_EMAIL));
    EXPECT_EQ(d.Text(IDC_FWD_ADDRESS, 128), "office@example.com");
    Cancel(d, t);
  });
  // A reference to an entry that is not there shows nothing and is kept.
  r[1] = 241;
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_EQ(d.Text(IDC_FWD_ADDRESS, 128), "");
    Ok(d, t);
  });
  EXPECT_EQ(Record()[1], 241);
}

TEST_F(ForwardLocation, EmailNeedsTheNicKit) {
  data->machineInfo[machine_info::kNicKit] = 0;
  OpenPage();
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    EXPECT_FALSE(d.IsEnabled(IDC_FWD_EMAIL));
    EXPECT_TRUE(d.IsEnabled(IDC_FWD_FAX));
    Cancel(d, t);
  });
}

TEST_F(ForwardLocation, InchPaperOffersLetterAndLedger) {
  host.inchPaper = true;
  OpenPage();
  Forward(IDC_RX_FORWARD_ON, [](MemorySurface& d, DialogTarget& t) {
    d.Click(t, IDC_FWD_EMAIL);
    d.Type(t, IDC_FWD_ADDRESS, "a@b.c");
    d.Click(t, IDC_FWD_ADVANCED);
    EXPECT_EQ(d.At(IDC_FWD_SIZE).items, (std::vector<std::string>{"Letter", "Ledger"}));
    EXPECT_EQ(d.ListSelection(IDC_FWD_SIZE), 1);  // code 1 shows as Ledger
    d.Choose(t, IDC_FWD_SIZE, 0);
    Ok(d, t);
  });
  EXPECT_EQ(Record()[3], 12);
}

}  // namespace
}  // namespace test
}  // namespace odc
