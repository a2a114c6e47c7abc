// The Paper Source page and its Inch/Metric Setting and Paper Type dialogs
// through the in-memory control surface: starting values to control states,
// the size edits' completion of typed digits, the size checks on leaving
// and applying, and the dialogs' private copies.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "setup/res/resource.h"
#include "setup/settings/settings_pages.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kInchMetric = 0x10100, kMedia = 0x10105, kMode = 0x10106, kSizeX = 0x10107,
                   kSizeY = 0x10108, kPaperType = 0x10109, kMemory1X = 0x10200, kMemory1Y = 0x10201,
                   kMemory2X = 0x10202, kMemory2Y = 0x10203;
constexpr std::array<uint32_t, 19> kBlock = {
    0x10100, 0x10101, 0x10102, 0x10103, 0x10104, 0x10105, 0x10106, 0x10107, 0x10108, 0x10109,
    0x1010A, 0x1010B, 0x1010C, 0x1010D, 0x1010E, 0x10200, 0x10201, 0x10202, 0x10203};
const std::vector<int> kModeButtons = {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI,
                                       IDC_PS_MEMORY1, IDC_PS_MEMORY2};
const std::vector<int> kMediaButtons = {IDC_PS_PLAIN, IDC_PS_TRANSPARENCY, IDC_PS_CARD,
                                        IDC_PS_ENVELOPE};
struct Edit {
  int edit, label, unit;
  uint32_t item;
};
const Edit kEdits[] = {
    {IDC_PS_X, IDC_PS_X_LABEL, IDC_PS_X_MM, kSizeX},
    {IDC_PS_Y, IDC_PS_Y_LABEL, IDC_PS_Y_MM, kSizeY},
    {IDC_PS_X3, IDC_PS_X3_LABEL, IDC_PS_X3_MM, kMemory1X},
    {IDC_PS_Y4, IDC_PS_Y4_LABEL, IDC_PS_Y4_MM, kMemory1Y},
    {IDC_PS_X5, IDC_PS_X5_LABEL, IDC_PS_X5_MM, kMemory2X},
    {IDC_PS_Y6, IDC_PS_Y6_LABEL, IDC_PS_Y6_MM, kMemory2Y},
};

class PaperSource : public ::testing::Test {
 protected:
  PaperSource() {
    BuildTransferImage(*set);
    for (int r = kFirstSettingRecord; r < kRecordCount; ++r) set->records[r].length = 4;
    UnpackTransferImage(*set);
    SetSetting(*set, kMode, 1);
    SetSetting(*set, kSizeX, 210);
    SetSetting(*set, kSizeY, 148);
    SetSetting(*set, kMemory1X, 182);
    SetSetting(*set, kMemory1Y, 128);
    SetSetting(*set, kMemory2X, 257);
    SetSetting(*set, kMemory2Y, 182);
    set->machineInfo[machine_info::kTrayCount] = 5;
    set->machineInfo[machine_info::kMultiBypass] = 2;
    set->machineInfo[machine_info::kDuplexUnit] = 1;
    PackTransferImage(*set);
    s.RadioGroup(kModeButtons);
    s.RadioGroup(kMediaButtons);
  }
  void Open() {
    s = MemorySurface();
    s.RadioGroup(kModeButtons);
    s.RadioGroup(kMediaButtons);
    page = CreatePaperSourcePage(ctx);
    driver = std::make_unique<PageDriver>(ctx, *page);
    driver->Init(s);
    driver->SetActive(s);
  }
  uint32_t Get(uint32_t id) { return GetSetting(*set, id); }
  uint32_t Packed(uint32_t id) {
    const uint8_t* data = set->records[FindRecord(*set, id)].data;
    return data[0] | data[1] << 8;
  }
  // Keys typed into an edit: each replaces the selection, leaves the caret
  // behind it and sends the change notification, as the edit control does.
  void Keys(int id, const std::string& keys) {
    for (char key : keys) {
      ControlState& c = s.At(id);
      c.text.replace(c.selStart, c.selEnd - c.selStart, 1, key);
      c.selStart = c.selEnd = c.selStart + 1;
      driver->Command(s, id, kEditChange);
    }
  }
  // The user selects the whole text of an edit and deletes it.
  void Clear(int id) {
    s.At(id).text.clear();
    s.At(id).selStart = s.At(id).selEnd = 0;
  }
  // Ends the dialog the page opens from `button` with OK or Cancel after
  // clicking `clicks` in it.
  int RunDialog(int button, int templateId, std::vector<int> clicks, int end) {
    s.dialogScripts[templateId] = [clicks, end](MemorySurface& d, DialogLogic& logic) {
      DialogTarget target{logic};
      for (int id : clicks) d.Click(target, id);
      logic.OnCommand(d, end, kButtonClicked);
    };
    s.Click(*driver, button);
    return s.lastDialog->endResult;
  }

  std::unique_ptr<DataSet> set = std::make_unique<DataSet>();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  MemorySurface s;
  std::unique_ptr<SettingsPage> page;
  std::unique_ptr<PageDriver> driver;
};

TEST_F(PaperSource, StartingValuesToControls) {
  struct Case {
    uint32_t region, mode, media;
    uint32_t storedMode;  // after the start
    int modeButton;       // 0: none selected
    bool hagaki;          // Hagaki shown
    int mediaButton;
    std::vector<int> enabled;  // enabled size edits
  } cases[] = {
      {0, 1, 0, 1, IDC_PS_SIZE_INPUT, false, IDC_PS_PLAIN, {IDC_PS_X, IDC_PS_Y}},
      {0, 2, 1, 0, IDC_PS_AUTO, false, IDC_PS_TRANSPARENCY, {}},  // no Hagaki outside region 3
      {3, 2, 2, 2, IDC_PS_HAGAKI, true, IDC_PS_CARD, {}},
      {3, 0, 3, 0, IDC_PS_AUTO, true, IDC_PS_ENVELOPE, {}},
      {1, 3, 0, 3, IDC_PS_MEMORY1, false, IDC_PS_PLAIN, {IDC_PS_X3, IDC_PS_Y4}},
      {0, 4, 0, 4, IDC_PS_MEMORY2, false, IDC_PS_PLAIN, {IDC_PS_X5, IDC_PS_Y6}},
      // Codes the page does not know select nothing and stay stored.
      {0, 7, 9, 7, 0, false, 0, {}},
  };
  for (const Case& c : cases) {
    SetSetting(*set, kRegionCodeId, c.region);
    SetSetting(*set, kMode, c.mode);
    SetSetting(*set, kMedia, c.media);
    Open();
    SCOPED_TRACE(testing::Message() << "region " << c.region << " mode " << c.mode);
    EXPECT_EQ(Get(kMode), c.storedMode);
    EXPECT_EQ(Get(kMedia), c.media);
    EXPECT_EQ(s.IsShown(IDC_PS_HAGAKI), c.hagaki);
    for (int b : kModeButtons) EXPECT_EQ(s.IsChecked(b), b == c.modeButton) << b;
    for (int b : kMediaButtons) EXPECT_EQ(s.IsChecked(b), b == c.mediaButton) << b;
    for (const Edit& e : kEdits) {
      const bool on = std::count(c.enabled.begin(), c.enabled.end(), e.edit) != 0;
      EXPECT_EQ(s.IsEnabled(e.edit), on) << e.edit;
      EXPECT_EQ(s.IsEnabled(e.label), on) << e.label;
      EXPECT_EQ(s.IsEnabled(e.unit), on) << e.unit;
    }
    EXPECT_FALSE(ui.IsChanged(PageId::PaperSource));
  }
  EXPECT_EQ(s.At(IDC_PS_X).text, "210");
  EXPECT_EQ(s.At(IDC_PS_Y4).text, "128");
  EXPECT_EQ(s.At(IDC_PS_Y6).text, "182");
  EXPECT_EQ(s.At(IDC_PS_INCH_METRIC).text, "&Inch/Metric Setting");
  EXPECT_EQ(s.At(IDC_PS_X5_LABEL).text, "X(&5) :");
  EXPECT_EQ(s.At(IDC_PS_Y_MM).text, "mm");
}

TEST_F(PaperSource, ModeButtonsStoreAndEnable) {
  SetSetting(*set, kRegionCodeId, 3);
  Open();
  s.Click(*driver, IDC_PS_MEMORY2);
  EXPECT_EQ(Get(kMode), 4u);
  EXPECT_TRUE(s.IsEnabled(IDC_PS_X5));
  EXPECT_TRUE(s.IsEnabled(IDC_PS_Y6_LABEL));
  EXPECT_FALSE(s.IsEnabled(IDC_PS_X));
  EXPECT_TRUE(ui.IsChanged(PageId::PaperSource));
  s.Click(*driver, IDC_PS_HAGAKI);
  EXPECT_EQ(Get(kMode), 2u);
  EXPECT_FALSE(s.IsEnabled(IDC_PS_X5));
  s.Click(*driver, IDC_PS_ENVELOPE);
  EXPECT_EQ(Get(kMedia), 3u);
  EXPECT_TRUE(s.IsChecked(IDC_PS_ENVELOPE));
  EXPECT_FALSE(s.IsChecked(IDC_PS_PLAIN));
}

TEST_F(PaperSource, TypedSizesAreCompleted) {
  struct Case {
    bool x;            // an X edit, else a Y edit
    const char* keys;  // typed into the emptied edit
    const char* shown;
    int selStart, selEnd;
  } cases[] = {
      // Width, 140-432.
      {true, "2", "200", 1, 3},
      {true, "25", "250", 2, 3},
      {true, "253", "253", 3, 3},
      {true, "1", "140", 1, 3},
      {true, "14", "140", 2, 3},
      {true, "15", "150", 2, 3},
      {true, "43", "430", 2, 3},
      {true, "44", "140", 0, 3},
      {true, "9", "140", 0, 3},
      {true, "0", "140", 0, 3},
      {true, "13", "140", 0, 3},
      {true, "8", "432", 1, 3},  // 800 is completed in turn to the largest width
      {true, "299", "299", 3, 3},
      {true, "4", "400", 1, 3},
      {true, "433", "432", 0, 3},
      {true, "a", "140", 0, 3},  // a letter is removed: nothing typed
      // Length, 90-297.
      {false, "1", "100", 1, 3},
      {false, "2", "200", 1, 3},
      {false, "4", "90", 1, 2},
      {false, "9", "90", 1, 2},
      {false, "45", "95", 2, 2},
      {false, "25", "250", 2, 3},
      {false, "10", "100", 2, 3},
      {false, "0", "90", 0, 2},
      {false, "29", "290", 2, 3},
      {false, "298", "297", 0, 3},
      {false, "148", "148", 3, 3},
  };
  for (const Case& c : cases) {
    Open();
    for (const Edit& e : kEdits) {
      const bool isX = e.item == kSizeX || e.item == kMemory1X || e.item == kMemory2X;
      if (isX != c.x) continue;
      SCOPED_TRACE(testing::Message() << "typed " << c.keys << " into " << e.edit);
      Clear(e.edit);
      Keys(e.edit, c.keys);
      const ControlState& state = s.At(e.edit);
      EXPECT_EQ(state.text, c.shown);
      EXPECT_EQ(state.selStart, c.selStart);
      EXPECT_EQ(state.selEnd, c.selEnd);
      EXPECT_EQ(Get(e.item), static_cast<uint32_t>(std::stoi(c.shown)));
    }
  }
  EXPECT_TRUE(ui.IsChanged(PageId::PaperSource));
}

TEST_F(PaperSource, EditsTakeThreeDigits) {
  Open();
  Clear(IDC_PS_Y);
  Keys(IDC_PS_Y, "1");
  EXPECT_EQ(s.At(IDC_PS_Y).limit, 3);
}

TEST_F(PaperSource, LeavingChecksTheSizesOfTheMode) {
  struct Case {
    uint32_t mode;
    const char* x;
    const char* y;
    int edit, yEdit;  // the mode's two edits
    const char* message;
    bool xFails;  // else Y fails, when there is a message
  } cases[] = {
      {4, "100", "182", IDC_PS_X5, IDC_PS_Y6, "Invalid value : must be within 140 to 432 !", true},
      {1, "433", "50", IDC_PS_X, IDC_PS_Y, "Invalid value : must be within 140 to 432 !", true},
      {3, "140", "298", IDC_PS_X3, IDC_PS_Y4, "Invalid value : must be within 90 to 297 !", false},
      {1, "210", "", IDC_PS_X, IDC_PS_Y, "\x22\x22 is not a valid integer value !", false},
      {3, "432", "90", IDC_PS_X3, IDC_PS_Y4, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " " << c.x << " x " << c.y);
    SetSetting(*set, kMode, c.mode);
    Open();
    s.At(c.edit).text = c.x;
    s.At(c.yEdit).text = c.y;
    if (!c.message) {
      EXPECT_TRUE(driver->KillActive(s));
      EXPECT_TRUE(s.messages.empty());
      continue;
    }
    EXPECT_FALSE(driver->KillActive(s));
    EXPECT_EQ(s.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(s.focus, c.xFails ? c.edit : c.yEdit);
    EXPECT_EQ(s.showPageCount, 1);
    // Showing the page asks it to leave once more: that passes, silently.
    EXPECT_TRUE(driver->KillActive(s));
    EXPECT_EQ(s.messages.size(), 1u);
    // The user's next attempt is checked again.
    EXPECT_FALSE(driver->KillActive(s));
    EXPECT_EQ(s.messages.size(), 2u);
  }
  // Modes without typed sizes check nothing.
  for (uint32_t mode : {0u, 2u}) {
    SetSetting(*set, kRegionCodeId, 3);
    SetSetting(*set, kMode, mode);
    Open();
    for (const Edit& e : kEdits) s.At(e.edit).text = "1";
    EXPECT_TRUE(driver->KillActive(s));
  }
}

TEST_F(PaperSource, ApplyRefusesASizeOutOfRange) {
  Open();
  s.Click(*driver, IDC_PS_MEMORY1);
  s.At(IDC_PS_Y4).text = "80";  // as a paste of two characters would leave it
  const uint32_t packedMode = Packed(kMode);
  EXPECT_FALSE(driver->Apply(s));
  EXPECT_EQ(s.messages, std::vector<std::string>{"Invalid value : must be within 90 to 297 !"});
  EXPECT_EQ(s.focus, IDC_PS_Y4);
  EXPECT_EQ(s.showPageCount, 1);
  EXPECT_EQ(Packed(kMode), packedMode);  // nothing packed
  EXPECT_TRUE(ui.IsChanged(PageId::PaperSource));

  Clear(IDC_PS_Y4);
  Keys(IDC_PS_Y4, "120");
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Packed(kMode), 3u);
  EXPECT_EQ(Packed(kMemory1Y), 120u);
  EXPECT_FALSE(ui.IsChanged(PageId::PaperSource));
}

TEST_F(PaperSource, InchMetricShowsTheInstalledTrays) {
  struct Case {
    uint8_t count;
    int shown;
  } cases[] = {{0, 1}, {1, 1}, {2, 2}, {4, 4}, {5, 5}};
  for (const Case& c : cases) {
    set->machineInfo[machine_info::kTrayCount] = c.count;
    Open();
    RunDialog(IDC_PS_INCH_METRIC, IDD_INCH_METRIC, {}, kIdCancel);
    const MemorySurface& d = *s.lastDialog;
    for (int t = 0; t < 5; ++t) {
      EXPECT_EQ(d.IsShown(IDC_IM_TRAY_GROUP + t), t < c.shown) << int(c.count) << " tray " << t;
      EXPECT_EQ(d.IsShown(IDC_IM_INCH + t), t < c.shown);
      EXPECT_EQ(d.IsShown(IDC_IM_METRIC + t), t < c.shown);
    }
  }
  EXPECT_EQ(s.lastDialog->caption, "Inch/Metric Setting");
  EXPECT_TRUE(s.lastDialog->centred);
  EXPECT_EQ(s.lastDialog->At(IDC_IM_INCH + 1).text, "Inch(&1)");
  EXPECT_EQ(s.lastDialog->At(IDC_IM_METRIC + 4).text, "Metric(&8)");
}

TEST_F(PaperSource, InchMetricOkKeepsAndMarksTheChoice) {
  SetSetting(*set, kInchMetric + 1, 1);
  Open();
  EXPECT_EQ(RunDialog(IDC_PS_INCH_METRIC, IDD_INCH_METRIC,
                      {IDC_IM_METRIC + 0, IDC_IM_INCH + 1, IDC_IM_METRIC + 4}, kIdOk),
            1);
  EXPECT_TRUE(s.lastDialog->IsChecked(IDC_IM_METRIC + 0));
  EXPECT_FALSE(s.lastDialog->IsChecked(IDC_IM_INCH + 0));
  EXPECT_EQ(Get(kInchMetric + 0), 1u);
  EXPECT_EQ(Get(kInchMetric + 1), 0u);
  EXPECT_EQ(Get(kInchMetric + 4), 1u);
  EXPECT_TRUE(ui.IsChanged(PageId::PaperSource));
  EXPECT_EQ(s.changedCount, 1);
}

TEST_F(PaperSource, EachDialogsCancelRestoresTheBlock) {
  struct Case {
    int button, templateId;
    std::vector<int> clicks;
  } cases[] = {
      {IDC_PS_INCH_METRIC,
       IDD_INCH_METRIC,
       {IDC_IM_METRIC + 0, IDC_IM_METRIC + 2, IDC_IM_INCH + 3}},
      {IDC_PS_PAPER_TYPE,
       IDD_PAPER_TYPE,
       {IDC_PT_SPECIAL + 0, IDC_PT_ONE_SIDE + 2, IDC_PT_RECYCLE + 5}},
  };
  for (const Case& c : cases) {
    for (bool changedBefore : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.templateId << " changed before " << changedBefore);
      SetSetting(*set, kInchMetric + 3, 1);
      SetSetting(*set, kPaperType + 2, 1);
      // A Hagaki size mode of region 3 and a paper type of another machine
      // are part of the block too.
      SetSetting(*set, kRegionCodeId, 3);
      SetSetting(*set, kMode, 2);
      SetSetting(*set, kPaperType + 4, 9);
      Open();
      if (changedBefore) s.Click(*driver, IDC_PS_CARD);
      std::array<uint32_t, 19> before{};
      for (size_t i = 0; i < kBlock.size(); ++i) before[i] = Get(kBlock[i]);
      const int marks = s.changedCount;
      EXPECT_EQ(RunDialog(c.button, c.templateId, c.clicks, kIdCancel), 0);
      for (size_t i = 0; i < kBlock.size(); ++i)
        EXPECT_EQ(Get(kBlock[i]), before[i]) << std::hex << kBlock[i];
      EXPECT_EQ(ui.IsChanged(PageId::PaperSource), changedBefore);
      EXPECT_EQ(s.changedCount, marks);
    }
  }
}

TEST_F(PaperSource, PaperTypeClicksStoreEachTraysType) {
  Open();
  RunDialog(IDC_PS_PAPER_TYPE, IDD_PAPER_TYPE,
            {IDC_PT_RECYCLE + 0, IDC_PT_SPECIAL + 1, IDC_PT_ONE_SIDE + 4, IDC_PT_SPECIAL + 5},
            kIdOk);
  const std::array<uint32_t, 6> expected = {1, 2, 0, 0, 3, 2};
  for (int t = 0; t < 6; ++t) EXPECT_EQ(Get(kPaperType + t), expected[t]) << t;
  const MemorySurface& d = *s.lastDialog;
  EXPECT_EQ(d.caption, "Paper Type");
  EXPECT_TRUE(d.IsChecked(IDC_PT_ONE_SIDE + 4));
  EXPECT_FALSE(d.IsChecked(IDC_PT_PLAIN + 4));
  EXPECT_EQ(d.At(IDC_PT_TRAY_GROUP + 5).text, "Multi-Bypass");
  EXPECT_EQ(d.At(IDC_PT_ONE_SIDE).text, "1-S&ide");
  EXPECT_TRUE(ui.IsChanged(PageId::PaperSource));
}

TEST_F(PaperSource, PaperTypeWithoutDuplexUnitHasNoOneSide) {
  set->machineInfo[machine_info::kDuplexUnit] = 0;
  SetSetting(*set, kPaperType + 0, 3);
  SetSetting(*set, kPaperType + 5, 3);
  SetSetting(*set, kPaperType + 1, 2);
  Open();
  EXPECT_EQ(Get(kPaperType), 3u);  // the page itself leaves it
  RunDialog(IDC_PS_PAPER_TYPE, IDD_PAPER_TYPE, {}, kIdOk);
  const MemorySurface& d = *s.lastDialog;
  for (int t = 0; t < 6; ++t) {
    EXPECT_FALSE(d.IsShown(IDC_PT_ONE_SIDE + t)) << t;
    EXPECT_TRUE(d.IsShown(IDC_PT_PLAIN + t)) << t;
  }
  EXPECT_TRUE(d.IsChecked(IDC_PT_PLAIN + 0));
  EXPECT_EQ(Get(kPaperType + 0), 0u);
  EXPECT_EQ(Get(kPaperType + 5), 0u);
  EXPECT_EQ(Get(kPaperType + 1), 2u);

  // Cancel puts the 1-Side types back as they were.
  SetSetting(*set, kPaperType + 0, 3);
  Open();
  RunDialog(IDC_PS_PAPER_TYPE, IDD_PAPER_TYPE, {}, kIdCancel);
  EXPECT_TRUE(s.lastDialog->IsChecked(IDC_PT_PLAIN + 0));
  EXPECT_EQ(Get(kPaperType + 0), 3u);
}

TEST_F(PaperSource, PaperTypeGroupsByTraysAndMultiBypass) {
  struct Case {
    uint8_t trays, bypass;
    int shownTrays;
    bool bypassShown;
  } cases[] = {{0, 1, 1, false}, {3, 2, 3, true}, {5, 0, 5, true}, {2, 1, 2, false}};
  for (const Case& c : cases) {
    set->machineInfo[machine_info::kTrayCount] = c.trays;
    set->machineInfo[machine_info::kMultiBypass] = c.bypass;
    Open();
    RunDialog(IDC_PS_PAPER_TYPE, IDD_PAPER_TYPE, {}, kIdCancel);
    const MemorySurface& d = *s.lastDialog;
    for (int t = 0; t < 6; ++t) {
      const bool shown = t < 5 ? t < c.shownTrays : c.bypassShown;
      SCOPED_TRACE(testing::Message() << int(c.trays) << " trays, group " << t);
      for (int id :
           {IDC_PT_TRAY_GROUP, IDC_PT_PLAIN, IDC_PT_RECYCLE, IDC_PT_SPECIAL, IDC_PT_ONE_SIDE})
        EXPECT_EQ(d.IsShown(id + t), shown) << id;
    }
  }
}

TEST_F(PaperSource, UnknownTypesSelectNothingAndStay) {
  SetSetting(*set, kPaperType + 2, 7);
  SetSetting(*set, kInchMetric + 0, 2);
  Open();
  RunDialog(IDC_PS_PAPER_TYPE, IDD_PAPER_TYPE, {}, kIdOk);
  for (int id : {IDC_PT_PLAIN, IDC_PT_RECYCLE, IDC_PT_SPECIAL, IDC_PT_ONE_SIDE})
    EXPECT_FALSE(s.lastDialog->IsChecked(id + 2));
  RunDialog(IDC_PS_INCH_METRIC, IDD_INCH_METRIC, {}, kIdOk);
  EXPECT_FALSE(s.lastDialog->IsChecked(IDC_IM_INCH));
  EXPECT_FALSE(s.lastDialog->IsChecked(IDC_IM_METRIC));
  EXPECT_EQ(Get(kPaperType + 2), 7u);
  EXPECT_EQ(Get(kInchMetric), 2u);
}

}  // namespace
}  // namespace test
}  // namespace odc
