// The Copy Setting(1) and (2) pages through the in-memory control surface:
// starting values to control states, the quality and density coupling,
// typed widths, the checks on leaving and applying, and the inverted on/off
// bytes of the second page.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/res/resource.h"
#include "setup/settings/settings_pages.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kPaper = 0x10600, kQuality = 0x10601, kDensity = 0x10602, kBinding = 0x10603,
                   kLevelAuto = 0x10604, kLevelManual = 0x10605, kMargin = 0x10606,
                   kEraseLeft = 0x10607, kEraseUpper = 0x10608, kEraseFrame = 0x10609,
                   kSmall = 0x1060A;
constexpr uint32_t kCopyPriority = 0x10700, kOutput = 0x10701, kOrder = 0x10702, kMixed = 0x10703,
                   kDuplex = 0x10704, kCrisscross = 0x10705;

class CopyPages : public ::testing::Test {
 protected:
  CopyPages() {
    BuildTransferImage(*set);
    for (int r = kFirstSettingRecord; r < kRecordCount; ++r) set->records[r].length = 4;
    UnpackTransferImage(*set);
    SetSetting(*set, kMargin, 5);
    SetSetting(*set, kEraseLeft, 10);
    SetSetting(*set, kEraseUpper, 10);
    SetSetting(*set, kEraseFrame, 10);
    SetSetting(*set, kLevelManual, 4);
    set->machineInfo[machine_info::kTrayCount] = 3;
    set->machineInfo[machine_info::kMultiBypass] = 2;
    set->machineInfo[machine_info::kDuplexUnit] = 1;
    PackTransferImage(*set);
  }
  void Open(std::unique_ptr<SettingsPage> (*factory)(SettingsContext&)) {
    s = MemorySurface();
    s.RadioGroup({IDC_C1_TEXT_PHOTO, IDC_C1_TEXT, IDC_C1_PHOTO});
    s.RadioGroup({IDC_C1_DENSITY_AUTO, IDC_C1_DENSITY_MANUAL});
    s.RadioGroup({IDC_C1_LIGHT, IDC_C1_NORMAL, IDC_C1_DARK});
    s.RadioGroup({IDC_C1_BIND_LEFT, IDC_C1_BIND_RIGHT});
    s.RadioGroup({IDC_C2_AUTO_PAPER, IDC_C2_AUTO_ZOOM, IDC_C2_MANUAL});
    s.RadioGroup({IDC_C2_NON_SORT, IDC_C2_SORT, IDC_C2_GROUP});
    s.RadioGroup({IDC_C2_PATTERN1, IDC_C2_PATTERN2});
    page = factory(ctx);
    driver = std::make_unique<PageDriver>(ctx, *page);
    driver->Init(s);
    driver->SetActive(s);
  }
  void Open1() { Open(CreateCopySetting1Page); }
  void Open2() { Open(CreateCopySetting2Page); }
  uint32_t Get(uint32_t id) { return GetSetting(*set, id); }
  uint8_t Packed(uint32_t id) { return set->records[FindRecord(*set, id)].data[0]; }

  std::unique_ptr<DataSet> set = std::make_unique<DataSet>();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

TEST_F(CopyPages, PaperListByTraysAndMultiBypass) {
  struct Case {
    uint8_t trays, bypass;
    uint32_t stored;
    std::vector<std::string> items;
    int selected;
    uint32_t storedAfter;
  } cases[] = {
      {3, 2, 3, {"Tray 1", "Tray 2", "Tray 3", "Multi-Bypass"}, 3, 3},
      {3, 2, 4, {"Tray 1", "Tray 2", "Tray 3", "Multi-Bypass"}, 0, 0},
      {3, 1, 3, {"Tray 1", "Tray 2", "Tray 3"}, 0, 0},
      {3, 1, 2, {"Tray 1", "Tray 2", "Tray 3"}, 2, 2},
      {5, 0, 4, {"Tray 1", "Tray 2", "Tray 3", "Tray 4", "Tray 5"}, 4, 4},
      {0, 1, 0, {"Tray 1"}, 0, 0},
      {7, 2, 1, {"Tray 1", "Multi-Bypass"}, 1, 1},
      {1, 2, 2, {"Tray 1", "Multi-Bypass"}, 0, 0},
  };
  for (const Case& c : cases) {
    set->machineInfo[machine_info::kTrayCount] = c.trays;
    set->machineInfo[machine_info::kMultiBypass] = c.bypass;
    SetSetting(*set, kPaper, c.stored);
    Open1();
    SCOPED_TRACE(testing::Message() << int(c.trays) << " trays, bypass " << int(c.bypass));
    EXPECT_EQ(s.At(IDC_C1_PAPER_PRIORITY).items, c.items);
    EXPECT_EQ(s.ListSelection(IDC_C1_PAPER_PRIORITY), c.selected);
    EXPECT_EQ(Get(kPaper), c.storedAfter);
  }
  s.Choose(*driver, IDC_C1_PAPER_PRIORITY, 1);
  EXPECT_EQ(Get(kPaper), 1u);
  EXPECT_TRUE(ui.IsChanged(PageId::CopySetting1));
}

TEST_F(CopyPages, QualityAndDensityAtStart) {
  struct Case {
    uint32_t quality, density;
    int qualityButton, densityButton;  // 0: none
    bool photoEnabled, autoEnabled;
    uint32_t qualityAfter, densityAfter;
  } cases[] = {
      {0, 0, IDC_C1_TEXT_PHOTO, IDC_C1_DENSITY_AUTO, false, true, 0, 0},
      {1, 1, IDC_C1_TEXT, IDC_C1_DENSITY_MANUAL, true, true, 1, 1},
      {2, 1, IDC_C1_PHOTO, IDC_C1_DENSITY_MANUAL, true, false, 2, 1},
      {2, 0, IDC_C1_PHOTO, IDC_C1_DENSITY_AUTO, false, false, 2, 0},
      {4, 1, IDC_C1_TEXT_PHOTO, IDC_C1_DENSITY_MANUAL, true, true, 0, 1},
      {3, 2, 0, 0, true, true, 3, 2},  // kept: no button
      {1, 9, IDC_C1_TEXT, IDC_C1_DENSITY_AUTO, false, true, 1, 0},
  };
  for (const Case& c : cases) {
    SetSetting(*set, kQuality, c.quality);
    SetSetting(*set, kDensity, c.density);
    Open1();
    SCOPED_TRACE(testing::Message() << "quality " << c.quality << " density " << c.density);
    for (int b : {IDC_C1_TEXT_PHOTO, IDC_C1_TEXT, IDC_C1_PHOTO})
      EXPECT_EQ(s.IsChecked(b), b == c.qualityButton) << b;
    for (int b : {IDC_C1_DENSITY_AUTO, IDC_C1_DENSITY_MANUAL})
      EXPECT_EQ(s.IsChecked(b), b == c.densityButton) << b;
    EXPECT_EQ(s.IsEnabled(IDC_C1_PHOTO), c.photoEnabled);
    EXPECT_EQ(s.IsEnabled(IDC_C1_DENSITY_AUTO), c.autoEnabled);
    EXPECT_EQ(Get(kQuality), c.qualityAfter);
    EXPECT_EQ(Get(kDensity), c.densityAfter);
  }
}

TEST_F(CopyPages, PhotoGoesWithManualDensityTextWithAuto) {
  SetSetting(*set, kDensity, 1);
  Open1();
  s.Click(*driver, IDC_C1_PHOTO);
  EXPECT_EQ(Get(kQuality), 2u);
  EXPECT_EQ(Get(kDensity), 1u);
  EXPECT_TRUE(s.IsChecked(IDC_C1_DENSITY_MANUAL));
  EXPECT_FALSE(s.IsEnabled(IDC_C1_DENSITY_AUTO));
  EXPECT_TRUE(s.IsEnabled(IDC_C1_PHOTO));

  for (int text : {IDC_C1_TEXT, IDC_C1_TEXT_PHOTO}) {
    s.Click(*driver, IDC_C1_PHOTO);
    s.Click(*driver, text);
    EXPECT_EQ(Get(kQuality), text == IDC_C1_TEXT ? 1u : 0u);
    EXPECT_EQ(Get(kDensity), 0u);
    EXPECT_TRUE(s.IsChecked(IDC_C1_DENSITY_AUTO));
    EXPECT_FALSE(s.IsChecked(IDC_C1_DENSITY_MANUAL));
    EXPECT_TRUE(s.IsEnabled(IDC_C1_DENSITY_AUTO));
    EXPECT_FALSE(s.IsEnabled(IDC_C1_PHOTO));
  }
  s.Click(*driver, IDC_C1_DENSITY_MANUAL);
  EXPECT_EQ(Get(kDensity), 1u);
  EXPECT_TRUE(s.IsEnabled(IDC_C1_PHOTO));
  s.Click(*driver, IDC_C1_DENSITY_AUTO);
  EXPECT_EQ(Get(kDensity), 0u);
  EXPECT_FALSE(s.IsEnabled(IDC_C1_PHOTO));
  EXPECT_TRUE(ui.IsChanged(PageId::CopySetting1));
}

TEST_F(CopyPages, EraseWidthsStartWithinTheirRange) {
  SetSetting(*set, kEraseLeft, 30);
  SetSetting(*set, kEraseUpper, 0);
  SetSetting(*set, kEraseFrame, 12);
  SetSetting(*set, kMargin, 25);
  Open1();
  EXPECT_EQ(s.At(IDC_C1_ERASE_LEFT).text, "20");
  EXPECT_EQ(s.At(IDC_C1_ERASE_UPPER).text, "5");
  EXPECT_EQ(s.At(IDC_C1_ERASE_FRAME).text, "12");
  EXPECT_EQ(Get(kEraseLeft), 20u);
  EXPECT_EQ(Get(kEraseUpper), 5u);
  EXPECT_EQ(Get(kEraseFrame), 12u);
  // The margin is shown as it is stored; leaving checks it.
  EXPECT_EQ(s.At(IDC_C1_MARGIN).text, "25");
  EXPECT_EQ(Get(kMargin), 25u);
}

TEST_F(CopyPages, OtherStartingValues) {
  SetSetting(*set, kLevelAuto, 2);
  SetSetting(*set, kBinding, 1);
  SetSetting(*set, kSmall, 1);
  SetSetting(*set, kLevelManual, 7);
  Open1();
  EXPECT_TRUE(s.IsChecked(IDC_C1_DARK));
  EXPECT_TRUE(s.IsChecked(IDC_C1_BIND_RIGHT));
  EXPECT_TRUE(s.IsChecked(IDC_C1_SMALL_ORIGINAL));
  EXPECT_EQ(s.SliderPos(IDC_C1_DENSITY_SLIDER), 7);
  EXPECT_EQ(s.At(IDC_C1_DENSITY_SLIDER).high, 8);
  EXPECT_EQ(s.At(IDC_C1_PAPER_LABEL).text, "Paper Pri&ority :");
  EXPECT_EQ(s.At(IDC_C1_ERASE_UPPER_LABEL).text, "Upper(&1)");
  EXPECT_EQ(s.At(IDC_C1_DARKER).text, "Darker");

  SetSetting(*set, kBinding, 2);
  SetSetting(*set, kLevelAuto, 5);
  Open1();
  for (int b : {IDC_C1_BIND_LEFT, IDC_C1_BIND_RIGHT, IDC_C1_LIGHT, IDC_C1_NORMAL, IDC_C1_DARK})
    EXPECT_FALSE(s.IsChecked(b)) << b;
  EXPECT_EQ(Get(kBinding), 2u);
  EXPECT_EQ(Get(kLevelAuto), 5u);
}

TEST_F(CopyPages, ClicksTypingAndSliderStore) {
  Open1();
  struct Step {
    int control;
    uint32_t item, value;
  } steps[] = {
      {IDC_C1_LIGHT, kLevelAuto, 0},      {IDC_C1_NORMAL, kLevelAuto, 1},
      {IDC_C1_BIND_RIGHT, kBinding, 1},   {IDC_C1_BIND_LEFT, kBinding, 0},
      {IDC_C1_SMALL_ORIGINAL, kSmall, 1}, {IDC_C1_SMALL_ORIGINAL, kSmall, 0},
  };
  for (const Step& step : steps) {
    s.Click(*driver, step.control);
    EXPECT_EQ(Get(step.item), step.value) << step.control;
  }
  struct Typed {
    int edit;
    uint32_t item;
    const char* text;
    const char* shown;
    uint32_t value;
  } typed[] = {
      {IDC_C1_MARGIN, kMargin, "12", "12", 12},
      {IDC_C1_ERASE_LEFT, kEraseLeft, "7x", "7", 7},  // a letter is removed
      {IDC_C1_ERASE_UPPER, kEraseUpper, "18", "18", 18},
      {IDC_C1_ERASE_FRAME, kEraseFrame, "999", "999", 255},  // the byte holds no more
      {IDC_C1_MARGIN, kMargin, "", "", 0},
  };
  for (const Typed& t : typed) {
    s.Type(*driver, t.edit, t.text);
    EXPECT_EQ(s.At(t.edit).text, t.shown) << t.edit;
    EXPECT_EQ(Get(t.item), t.value) << t.edit;
  }
  s.Slide(*driver, IDC_C1_DENSITY_SLIDER, kLineDown);
  EXPECT_EQ(Get(kLevelManual), 5u);
  s.Slide(*driver, IDC_C1_DENSITY_SLIDER, kThumbPosition, 8);
  EXPECT_EQ(Get(kLevelManual), 8u);
  s.Slide(*driver, IDC_C1_DENSITY_SLIDER, kLineDown);
  EXPECT_EQ(Get(kLevelManual), 8u);
  EXPECT_TRUE(ui.IsChanged(PageId::CopySetting1));
}

TEST_F(CopyPages, LeavingChecksMarginThenErase) {
  struct Case {
    const char *margin, *left, *upper, *frame;
    int focus;  // 0: the page may be left
    const char* message;
  } cases[] = {
      {"25", "3", "5", "5", IDC_C1_MARGIN, "Invalid value : must be within 0 to 20 !"},
      {"20", "4", "30", "5", IDC_C1_ERASE_LEFT, "Invalid value : must be within 5 to 20 !"},
      {"0", "5", "21", "1", IDC_C1_ERASE_UPPER, "Invalid value : must be within 5 to 20 !"},
      {"0", "5", "20", "", IDC_C1_ERASE_FRAME, "\x22\x22 is not a valid integer value !"},
      {"0", "5", "20", "20", 0, nullptr},
  };
  for (const Case& c : cases) {
    Open1();
    s.At(IDC_C1_MARGIN).text = c.margin;
    s.At(IDC_C1_ERASE_LEFT).text = c.left;
    s.At(IDC_C1_ERASE_UPPER).text = c.upper;
    s.At(IDC_C1_ERASE_FRAME).text = c.frame;
    SCOPED_TRACE(testing::Message()
                 << c.margin << " " << c.left << " " << c.upper << " " << c.frame);
    if (c.focus == 0) {
      EXPECT_TRUE(driver->KillActive(s));
      EXPECT_TRUE(s.messages.empty());
      continue;
    }
    EXPECT_FALSE(driver->KillActive(s));
    EXPECT_EQ(s.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(s.focus, c.focus);
    EXPECT_EQ(s.showPageCount, 1);
    // The request that showing the page makes passes; the next is checked.
    EXPECT_TRUE(driver->KillActive(s));
    EXPECT_FALSE(driver->KillActive(s));
    EXPECT_EQ(s.messages.size(), 2u);
  }
}

TEST_F(CopyPages, ARefusedApplyKeepsThePageAndPacksNothing) {
  Open1();
  s.Type(*driver, IDC_C1_MARGIN, "25");
  s.Type(*driver, IDC_C1_ERASE_FRAME, "3");
  s.Click(*driver, IDC_C1_BIND_RIGHT);
  // The erase widths are checked before the margin, the frame first.
  EXPECT_FALSE(driver->Apply(s));
  EXPECT_EQ(s.messages, std::vector<std::string>{"Invalid value : must be within 5 to 20 !"});
  EXPECT_EQ(s.focus, IDC_C1_ERASE_FRAME);
  EXPECT_EQ(s.showPageCount, 1);
  EXPECT_EQ(s.unchangedCount, 0);
  EXPECT_TRUE(ui.IsChanged(PageId::CopySetting1));
  EXPECT_EQ(Packed(kBinding), 0);
  EXPECT_EQ(Packed(kEraseFrame), 10);

  s.Type(*driver, IDC_C1_ERASE_FRAME, "8");
  EXPECT_FALSE(driver->Apply(s));
  EXPECT_EQ(s.messages.back(), "Invalid value : must be within 0 to 20 !");
  EXPECT_EQ(s.focus, IDC_C1_MARGIN);
  EXPECT_EQ(Packed(kBinding), 0);

  s.Type(*driver, IDC_C1_MARGIN, "20");
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Packed(kBinding), 1);
  EXPECT_EQ(Packed(kEraseFrame), 8);
  EXPECT_EQ(Packed(kMargin), 20);
  EXPECT_FALSE(ui.IsChanged(PageId::CopySetting1));
}

TEST_F(CopyPages, SecondPageOnOffBytesAreInverted) {
  struct Case {
    uint32_t stored;
    bool checked;
  } cases[] = {{0, true}, {1, false}, {5, false}};
  for (const Case& c : cases) {
    SetSetting(*set, kMixed, c.stored);
    SetSetting(*set, kCrisscross, c.stored);
    SetSetting(*set, kDuplex, c.stored);
    Open2();
    for (int box : {IDC_C2_MIXED_ORIGINAL, IDC_C2_CRISSCROSS, IDC_C2_DUPLEX})
      EXPECT_EQ(s.IsChecked(box), c.checked) << c.stored << " " << box;
    EXPECT_EQ(Get(kMixed), c.stored);
  }
  struct Click {
    int box;
    uint32_t item, value;
  } clicks[] = {
      {IDC_C2_MIXED_ORIGINAL, kMixed, 0},  {IDC_C2_MIXED_ORIGINAL, kMixed, 1},
      {IDC_C2_CRISSCROSS, kCrisscross, 0}, {IDC_C2_DUPLEX, kDuplex, 0},
      {IDC_C2_DUPLEX, kDuplex, 1},
  };
  for (const Click& c : clicks) {
    s.Click(*driver, c.box);
    EXPECT_EQ(Get(c.item), c.value) << c.box;
  }
  EXPECT_EQ(Get(kMixed), 1u);  // untouched by the other boxes
  EXPECT_TRUE(ui.IsChanged(PageId::CopySetting2));
}

TEST_F(CopyPages, SecondPageRadiosStoreTheirIndex) {
  SetSetting(*set, kCopyPriority, 1);
  SetSetting(*set, kOutput, 2);
  SetSetting(*set, kOrder, 1);
  Open2();
  EXPECT_TRUE(s.IsChecked(IDC_C2_AUTO_ZOOM));
  EXPECT_TRUE(s.IsChecked(IDC_C2_GROUP));
  EXPECT_TRUE(s.IsChecked(IDC_C2_PATTERN2));
  EXPECT_EQ(s.At(IDC_C2_ORDER_GROUP).text, "4-IN1 Copy Order");
  struct Step {
    int control;
    uint32_t item, value;
  } steps[] = {
      {IDC_C2_MANUAL, kCopyPriority, 2}, {IDC_C2_AUTO_PAPER, kCopyPriority, 0},
      {IDC_C2_SORT, kOutput, 1},         {IDC_C2_NON_SORT, kOutput, 0},
      {IDC_C2_PATTERN1, kOrder, 0},
  };
  for (const Step& step : steps) {
    s.Click(*driver, step.control);
    EXPECT_EQ(Get(step.item), step.value) << step.control;
  }
  ASSERT_TRUE(driver->Apply(s));
  EXPECT_EQ(Packed(kOutput), 0);
  EXPECT_EQ(Packed(kCopyPriority), 0);
}

TEST_F(CopyPages, CrisscrossNeedsNoShifterDuplexCopyNeedsTheUnit) {
  struct Case {
    uint32_t product;
    uint8_t duplexUnit;
    uint32_t region;
    bool duplexShown, duplexEnabled;
  } cases[] = {
      {0x4010, 1, 0, true, true}, {0x4010, 0, 0, true, false}, {0x4010, 0, 3, false, false},
      {0x4010, 1, 3, true, true}, {0x400F, 1, 0, false, true}, {0x400F, 0, 1, false, false},
      {0, 1, 0, true, true},
  };
  for (const Case& c : cases) {
    host.machineProductId = c.product;
    set->machineInfo[machine_info::kDuplexUnit] = c.duplexUnit;
    SetSetting(*set, kRegionCodeId, c.region);
    Open2();
    SCOPED_TRACE(testing::Message() << std::hex << c.product << " unit " << int(c.duplexUnit)
                                    << " region " << c.region);
    EXPECT_EQ(s.IsShown(IDC_C2_DUPLEX), c.duplexShown);
    EXPECT_EQ(s.IsEnabled(IDC_C2_DUPLEX), c.duplexEnabled);
  }
  for (uint8_t shifter : {0, 1, 2}) {
    set->machineInfo[machine_info::kShifter] = shifter;
    Open2();
    EXPECT_EQ(s.IsEnabled(IDC_C2_CRISSCROSS), shifter == 0) << int(shifter);
  }
}

}  // namespace
}  // namespace test
}  // namespace odc
