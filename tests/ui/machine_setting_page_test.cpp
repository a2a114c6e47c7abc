// The Machine Setting page through the in-memory control surface: starting
// values to control states, clicks to stored bytes, cancel restoring the
// page's private copy.
#include <gtest/gtest.h>

#include <memory>

#include "setup/res/resource.h"
#include "setup/settings/settings_pages.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kPanelReset = 0x10000, kEnergy = 0x10001, kShutOff = 0x10002, kAdf = 0x10003,
                   kBook = 0x10004, kDensity = 0x10005, kLcd = 0x10006, kBuzzer = 0x10007,
                   kLanguage = 0x10008, kRegion = 0x10009, kInitial = 0x1000A, kThreshold = 0x1000B,
                   kKeyStart = 0x1000C, kKeyInterval = 0x1000D, kPermission = 0x10300;

class MachineSetting : public ::testing::Test {
 protected:
  MachineSetting() {
    BuildTransferImage(*set);
    for (int r = kFirstSettingRecord; r < kRecordCount; ++r) set->records[r].length = 4;
    UnpackTransferImage(*set);
    Store(kPanelReset, 2);
    Store(kEnergy, 30);
    Store(kShutOff, 60);
    Store(kDensity, 2);
    Store(kLcd, 1);
    Store(kKeyStart, 3);
    Store(kKeyInterval, 1);
    set->machineInfo[machine_info::kAdf] = 1;
    s.RadioGroup({IDC_MS_ADF_MODE1, IDC_MS_ADF_MODE2});
    s.RadioGroup({IDC_MS_BOOK_MODE1, IDC_MS_BOOK_MODE2});
    s.RadioGroup({IDC_MS_BUZZER_HIGH, IDC_MS_BUZZER_LOW, IDC_MS_BUZZER_OFF});
    s.RadioGroup({IDC_MS_INITIAL_COPY, IDC_MS_INITIAL_FAX});
  }
  // Stores a value as the last applied state (the page unpacks at start).
  void Store(uint32_t id, uint32_t value) {
    SetSetting(*set, id, value);
    PackTransferImage(*set);
  }
  void Open() {
    page = CreateMachineSettingPage(ctx);
    driver = std::make_unique<PageDriver>(ctx, *page);
    ConnectPage(s, *driver, page->Id());
    driver->Init(s);
    driver->SetActive(s);
  }
  uint32_t Get(uint32_t id) { return GetSetting(*set, id); }
  std::string Text(int id) { return s.At(id).text; }

  std::unique_ptr<DataSet> set = std::make_unique<DataSet>();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

TEST_F(MachineSetting, ShowsTheStoredValues) {
  Store(kBuzzer, 0x40);
  Store(kInitial, 1);
  Store(kBook, 1);
  Store(kRegion, 0);
  Store(kLanguage, 3);
  Store(kThreshold, 0x10);
  Open();
  EXPECT_EQ(Text(IDC_MS_AUTO_PANEL_RESET), "A&uto Panel Reset");
  EXPECT_EQ(Text(IDC_MS_KEY_GROUP), "Key Speed Setting");
  EXPECT_EQ(Text(IDC_MS_LCD_LIGHTER), "Lighter");
  EXPECT_TRUE(s.IsChecked(IDC_MS_AUTO_PANEL_RESET));
  EXPECT_EQ(s.At(IDC_MS_PANEL_RESET_TIME).items.size(), 6u);
  EXPECT_EQ(s.ListSelection(IDC_MS_PANEL_RESET_TIME), 2);
  EXPECT_EQ(s.At(IDC_MS_PANEL_RESET_TIME).items[0], "30 Sec");
  EXPECT_EQ(s.SliderPos(IDC_MS_ENERGY_SLIDER), 30);
  EXPECT_EQ(s.At(IDC_MS_ENERGY_SLIDER).low, 1);
  EXPECT_EQ(s.At(IDC_MS_ENERGY_SLIDER).high, 240);
  EXPECT_EQ(Text(IDC_MS_ENERGY_LABEL), "30 min");
  EXPECT_EQ(s.SliderPos(IDC_MS_SHUT_OFF_SLIDER), 60);
  EXPECT_EQ(Text(IDC_MS_SHUT_OFF_LABEL), "60 min");
  EXPECT_TRUE(s.IsChecked(IDC_MS_AUTO_SHUT_OFF));
  EXPECT_TRUE(s.IsEnabled(IDC_MS_AUTO_SHUT_OFF));
  EXPECT_EQ(s.SliderPos(IDC_MS_LCD_SLIDER), 1);
  EXPECT_EQ(s.At(IDC_MS_LCD_SLIDER).high, 3);
  EXPECT_EQ(s.SliderPos(IDC_MS_DENSITY_SLIDER), 2);
  EXPECT_EQ(s.At(IDC_MS_DENSITY_SLIDER).high, 4);
  EXPECT_TRUE(s.IsChecked(IDC_MS_BUZZER_LOW));
  EXPECT_TRUE(s.IsChecked(IDC_MS_INITIAL_FAX));
  EXPECT_TRUE(s.IsChecked(IDC_MS_BOOK_MODE2));
  EXPECT_TRUE(s.IsChecked(IDC_MS_ADF_MODE1));
  EXPECT_EQ(s.At(IDC_MS_LANGUAGE).items.size(), 12u);
  EXPECT_EQ(s.At(IDC_MS_LANGUAGE).items[3], "ITALIAN");
  EXPECT_EQ(s.ListSelection(IDC_MS_LANGUAGE), 3);
  EXPECT_EQ(s.ListSelection(IDC_MS_SCAN_THRESHOLD), 2);
  EXPECT_EQ(s.At(IDC_MS_SCAN_THRESHOLD).items[3], "1536 Kbytes");
  EXPECT_EQ(s.ListSelection(IDC_MS_KEY_START), 3);
  EXPECT_EQ(s.At(IDC_MS_KEY_START).items[7], "3.0 sec");
  EXPECT_EQ(s.ListSelection(IDC_MS_KEY_INTERVAL), 1);
  EXPECT_FALSE(ui.IsChanged(PageId::MachineSetting));
}

TEST_F(MachineSetting, LanguageListsByRegion) {
  struct Case {
    uint32_t region;
    size_t count;
    const char* last;
  } cases[] = {{0, 12, "PORTUGUESE"}, {1, 9, "SLOVAKIAN"}, {2, 12, "PORTUGUESE"},
               {3, 2, "JAPANESE"},    {4, 2, "RUSSIAN"},   {5, 2, "CHINESE"},
               {6, 2, "CHINESE"},     {7, 0, nullptr}};
  for (const Case& c : cases) {
    Store(kRegion, c.region);
    Store(kLanguage, 1);
    s = MemorySurface();
    Open();
    ASSERT_EQ(s.At(IDC_MS_LANGUAGE).items.size(), c.count) << c.region;
    if (c.last) {
      EXPECT_EQ(s.At(IDC_MS_LANGUAGE).items.back(), c.last);
      EXPECT_EQ(s.ListSelection(IDC_MS_LANGUAGE), 1);
    }
    EXPECT_EQ(Get(kLanguage), 1u);
  }
}

TEST_F(MachineSetting, PanelResetOffAndOn) {
  Store(kPanelReset, 6);
  Open();
  EXPECT_FALSE(s.IsChecked(IDC_MS_AUTO_PANEL_RESET));
  EXPECT_EQ(s.At(IDC_MS_PANEL_RESET_TIME).items, std::vector<std::string>{"Disable"});
  EXPECT_EQ(s.ListSelection(IDC_MS_PANEL_RESET_TIME), 0);

  s.Click(*driver, IDC_MS_AUTO_PANEL_RESET);
  EXPECT_EQ(Get(kPanelReset), 0u);
  EXPECT_EQ(s.At(IDC_MS_PANEL_RESET_TIME).items.size(), 6u);
  EXPECT_EQ(s.ListSelection(IDC_MS_PANEL_RESET_TIME), 0);
  EXPECT_TRUE(ui.IsChanged(PageId::MachineSetting));
  EXPECT_EQ(s.changedCount, 1);

  s.Choose(*driver, IDC_MS_PANEL_RESET_TIME, 4);
  EXPECT_EQ(Get(kPanelReset), 4u);
  s.Click(*driver, IDC_MS_AUTO_PANEL_RESET);
  EXPECT_EQ(Get(kPanelReset), 6u);
  EXPECT_EQ(s.At(IDC_MS_PANEL_RESET_TIME).items, std::vector<std::string>{"Disable"});
}

// Choosing "Disable", the only entry while the box is unchecked, keeps Auto
// Panel Reset off instead of storing index 0, "30 Sec".
TEST_F(MachineSetting, ChoosingDisableKeepsPanelResetOff) {
  for (uint32_t stored : {2u, 6u}) {
    Store(kPanelReset, stored);
    Open();
    if (stored != 6) s.Click(*driver, IDC_MS_AUTO_PANEL_RESET);
    ASSERT_EQ(s.At(IDC_MS_PANEL_RESET_TIME).items, std::vector<std::string>{"Disable"});
    ASSERT_EQ(Get(kPanelReset), 6u);
    s.Choose(*driver, IDC_MS_PANEL_RESET_TIME, 0);
    EXPECT_EQ(Get(kPanelReset), 6u) << "stored " << stored;
    EXPECT_FALSE(s.IsChecked(IDC_MS_AUTO_PANEL_RESET));
    EXPECT_EQ(ui.IsChanged(PageId::MachineSetting), stored != 6) << "stored " << stored;
  }
}

TEST_F(MachineSetting, AutoShutOffWhenTheUserMaySwitchItOff) {
  Store(kShutOff, 0);
  Open();
  EXPECT_FALSE(s.IsChecked(IDC_MS_AUTO_SHUT_OFF));
  EXPECT_EQ(Text(IDC_MS_SHUT_OFF_LABEL), "Disable");
  EXPECT_FALSE(s.IsEnabled(IDC_MS_SHUT_OFF_SLIDER));
  EXPECT_FALSE(s.IsEnabled(IDC_MS_SHUT_OFF_LABEL));

  s.Click(*driver, IDC_MS_AUTO_SHUT_OFF);
  EXPECT_EQ(Get(kShutOff), 30u);
  EXPECT_EQ(Text(IDC_MS_SHUT_OFF_LABEL), "30 min");
  EXPECT_EQ(s.SliderPos(IDC_MS_SHUT_OFF_SLIDER), 30);
  EXPECT_TRUE(s.IsEnabled(IDC_MS_SHUT_OFF_SLIDER));

  s.Slide(*driver, IDC_MS_SHUT_OFF_SLIDER, kPageDown);
  EXPECT_EQ(Get(kShutOff), 40u);
  s.Click(*driver, IDC_MS_AUTO_SHUT_OFF);
  EXPECT_EQ(Get(kShutOff), 0u);
  EXPECT_EQ(Text(IDC_MS_SHUT_OFF_LABEL), "Disable");
  // Keys on the disabled slider do not bring a time back.
  s.Slide(*driver, IDC_MS_SHUT_OFF_SLIDER, kLineDown);
  EXPECT_EQ(Get(kShutOff), 0u);
}

TEST_F(MachineSetting, AutoShutOffForcedOnByTheAdministrator) {
  Store(kPermission, 1);
  Store(kShutOff, 0);
  Open();
  EXPECT_TRUE(s.IsChecked(IDC_MS_AUTO_SHUT_OFF));
  EXPECT_FALSE(s.IsEnabled(IDC_MS_AUTO_SHUT_OFF));  // disabled when the page became active
  EXPECT_EQ(Get(kShutOff), 15u);
  EXPECT_EQ(Text(IDC_MS_SHUT_OFF_LABEL), "15 min");
  EXPECT_TRUE(s.IsEnabled(IDC_MS_SHUT_OFF_SLIDER));
}

TEST_F(MachineSetting, ShortShutOffTimeIsRaisedAtStart) {
  Store(kShutOff, 10);
  Open();
  EXPECT_EQ(Get(kShutOff), 15u);
  EXPECT_EQ(s.SliderPos(IDC_MS_SHUT_OFF_SLIDER), 15);
  Store(kShutOff, 1000);
  s = MemorySurface();
  Open();
  EXPECT_EQ(Get(kShutOff), 240u);
}

TEST_F(MachineSetting, ClicksStoreTheMachinesCodes) {
  Open();
  struct Step {
    int control;
    uint32_t item, value;
  } steps[] = {
      {IDC_MS_BUZZER_OFF, kBuzzer, 0x80},  {IDC_MS_BUZZER_LOW, kBuzzer, 0x40},
      {IDC_MS_BUZZER_HIGH, kBuzzer, 0x00}, {IDC_MS_ADF_MODE2, kAdf, 1},
      {IDC_MS_BOOK_MODE2, kBook, 1},       {IDC_MS_INITIAL_FAX, kInitial, 1},
      {IDC_MS_INITIAL_COPY, kInitial, 0},
  };
  for (const Step& step : steps) {
    s.Click(*driver, step.control);
    EXPECT_EQ(Get(step.item), step.value) << step.control;
    EXPECT_TRUE(s.IsChecked(step.control));
  }
  s.Choose(*driver, IDC_MS_SCAN_THRESHOLD, 3);
  EXPECT_EQ(Get(kThreshold), 0x18u);
  s.Choose(*driver, IDC_MS_KEY_START, 7);
  EXPECT_EQ(Get(kKeyStart), 7u);
  s.Choose(*driver, IDC_MS_KEY_INTERVAL, 0);
  EXPECT_EQ(Get(kKeyInterval), 0u);
  s.Choose(*driver, IDC_MS_LANGUAGE, 5);
  EXPECT_EQ(Get(kLanguage), 5u);
  s.Slide(*driver, IDC_MS_LCD_SLIDER, kLineDown);
  EXPECT_EQ(Get(kLcd), 2u);
  s.Slide(*driver, IDC_MS_DENSITY_SLIDER, kThumbPosition, 4);
  EXPECT_EQ(Get(kDensity), 4u);
  // A radio that is already selected still marks the page changed.
  ui.Changed(PageId::MachineSetting) = 0;
  s.Click(*driver, IDC_MS_INITIAL_COPY);
  EXPECT_TRUE(ui.IsChanged(PageId::MachineSetting));
  // Nothing reached the transfer image before Apply.
  EXPECT_EQ(set->records[FindRecord(*set, kBuzzer)].data[0], 0);
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(set->records[FindRecord(*set, kThreshold)].data[0], 0x18);
}

TEST_F(MachineSetting, UnknownCodesShowNothingAndStay) {
  Store(kThreshold, 0x04);
  Store(kBuzzer, 0x41);
  Open();
  EXPECT_TRUE(s.At(IDC_MS_SCAN_THRESHOLD).items.empty());
  EXPECT_TRUE(s.IsChecked(IDC_MS_BUZZER_LOW));
  EXPECT_EQ(Get(kThreshold), 0x04u);
  EXPECT_EQ(Get(kBuzzer), 0x41u);
}

TEST_F(MachineSetting, NoAdfDisablesButStillShowsTheMode) {
  set->machineInfo[machine_info::kAdf] = 0;
  set->machineInfo[machine_info::kAdfDuplex] = 0;
  Store(kAdf, 1);
  Open();
  EXPECT_FALSE(s.IsEnabled(IDC_MS_ADF_MODE1));
  EXPECT_FALSE(s.IsEnabled(IDC_MS_ADF_MODE2));
  EXPECT_TRUE(s.IsChecked(IDC_MS_ADF_MODE2));
  set->machineInfo[machine_info::kAdfDuplex] = 1;
  s = MemorySurface();
  Open();
  EXPECT_TRUE(s.IsEnabled(IDC_MS_ADF_MODE1));
}

TEST_F(MachineSetting, ResetPutsThePrivateCopyBack) {
  Open();
  s.Click(*driver, IDC_MS_BUZZER_OFF);
  s.Slide(*driver, IDC_MS_ENERGY_SLIDER, kPageDown);
  driver->Reset(s);
  EXPECT_EQ(Get(kBuzzer), 0u);
  EXPECT_EQ(Get(kEnergy), 30u);
}

TEST_F(MachineSetting, ResetAfterApplyKeepsWhatWasApplied) {
  Open();
  s.Click(*driver, IDC_MS_BUZZER_OFF);
  ASSERT_TRUE(driver->Apply(s));
  s.Click(*driver, IDC_MS_BUZZER_HIGH);
  driver->QueryCancel(s);
  driver->Reset(s);
  EXPECT_EQ(Get(kBuzzer), 0x80u);
  EXPECT_EQ(set->records[FindRecord(*set, kBuzzer)].data[0], 0x80);
}

}  // namespace
}  // namespace test
}  // namespace odc
