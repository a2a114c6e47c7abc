// The page protocol, the sheets' page lists, the shared validators, edit
// filters and slider rules, through the in-memory control surface.
#include "setup/settings/settings_framework.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "setup/res/resource.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

// A data set whose settings records all carry data, as a downloaded one.
std::unique_ptr<DataSet> FullDataSet() {
  auto set = std::make_unique<DataSet>();
  BuildTransferImage(*set);
  for (int r = kFirstSettingRecord; r < kRecordCount; ++r) set->records[r].length = 4;
  UnpackTransferImage(*set);
  return set;
}

// What the slider handler works on: a full data set and an empty surface.
struct SliderBench {
  std::unique_ptr<DataSet> set = FullDataSet();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  MemorySurface s;
};

TEST(SheetPages, SkipListsFollowTheNicKitAndLdap) {
  auto set = FullDataSet();
  struct Case {
    uint8_t nic, ldap;
    size_t utility, administrator;
    bool scan, network, ldapPage;
  } cases[] = {
      {0, 0, 7, 3, false, false, false},
      {0, 1, 7, 3, false, false, false},
      {1, 0, 8, 6, true, true, false},
      {1, 1, 8, 7, true, true, true},
  };
  for (const Case& c : cases) {
    set->machineInfo[machine_info::kNicKit] = c.nic;
    set->records[368].data[0] = c.ldap;
    const auto utility = SheetPages(SheetId::Utility, *set, false);
    const auto admin = SheetPages(SheetId::Administrator, *set, false);
    EXPECT_EQ(utility.size(), c.utility) << int(c.nic) << int(c.ldap);
    EXPECT_EQ(admin.size(), c.administrator) << int(c.nic) << int(c.ldap);
    auto has = [](const std::vector<PageEntry>& pages, PageId id) {
      for (const PageEntry& p : pages)
        if (p.page == id) return true;
      return false;
    };
    EXPECT_EQ(has(utility, PageId::ScanSetting), c.scan);
    EXPECT_EQ(has(admin, PageId::NetworkSetting), c.network);
    EXPECT_EQ(has(admin, PageId::EmailSetting1), c.network);
    EXPECT_EQ(has(admin, PageId::LdapSetting), c.ldapPage);
    EXPECT_TRUE(has(admin, PageId::AdministratorMode));
    EXPECT_TRUE(has(admin, PageId::CommunicationSetting));
    EXPECT_TRUE(has(admin, PageId::MachineInformation));
  }
  // The tables keep their order and their template ids.
  const auto& table = SheetPageTable(SheetId::Utility);
  ASSERT_EQ(table.size(), 8u);
  EXPECT_EQ(table[0].templateId, 336);
  EXPECT_EQ(table[0].captionId, 3317);
  EXPECT_EQ(table[7].templateId, 642);
  EXPECT_EQ(SheetPageTable(SheetId::Administrator)[6].templateId, 786);
}

// A page that edits the buzzer byte, refuses to apply while asked to.
class FakePage : public SettingsPage {
 public:
  explicit FakePage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::ReportSetting; }
  void OnInit(ControlSurface&) override { ++inits; }
  Handled OnCommand(ControlSurface&, int id, int) override {
    if (id == 1000) {
      SetSetting(ctx.data, 0x10A00, 0x80);
      return Handled::Changed;
    }
    if (id == 1001) return Handled::NoChange;
    return Handled::No;
  }
  bool OnApply(ControlSurface& s) override {
    if (refuse) s.Focus(1000);
    return !refuse;
  }
  void OnReset(ControlSurface&) override { ++resets; }
  bool refuse = false;
  int inits = 0, resets = 0;
};

class Protocol : public ::testing::Test {
 protected:
  std::unique_ptr<DataSet> set = FullDataSet();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  FakePage page{ctx};
  PageDriver driver{ctx, page};
  MemorySurface s;
  uint8_t ImageByte() { return set->records[FindRecord(*set, 0x10A00)].data[0]; }
};

TEST_F(Protocol, AnEditMarksThePageAndAppliesOnce) {
  driver.Init(s);
  driver.Command(s, 999, kButtonClicked);  // not the page's control
  EXPECT_TRUE(ui.pendingChange);
  EXPECT_FALSE(ui.IsChanged(PageId::ReportSetting));
  driver.Command(s, 1001, kButtonClicked);  // handled without a change
  EXPECT_FALSE(ui.IsChanged(PageId::ReportSetting));
  EXPECT_EQ(s.changedCount, 0);

  driver.Command(s, 1000, kButtonClicked);
  EXPECT_FALSE(ui.pendingChange);
  EXPECT_TRUE(ui.IsChanged(PageId::ReportSetting));
  EXPECT_EQ(s.changedCount, 1);
  EXPECT_EQ(ImageByte(), 0);

  EXPECT_TRUE(driver.Apply(s));
  EXPECT_EQ(ImageByte(), 0x80);
  EXPECT_FALSE(ui.IsChanged(PageId::ReportSetting));
}

TEST_F(Protocol, AnUnchangedPageIsNotPacked) {
  driver.Init(s);
  SetSetting(*set, 0x10A00, 0x80);  // an edit that did not go through the page
  EXPECT_TRUE(driver.Apply(s));
  EXPECT_EQ(ImageByte(), 0);
}

TEST_F(Protocol, ARefusedApplyPacksNothingAndKeepsThePage) {
  driver.Init(s);
  driver.Command(s, 1000, kButtonClicked);
  page.refuse = true;
  EXPECT_FALSE(driver.Apply(s));
  EXPECT_EQ(ImageByte(), 0);
  EXPECT_TRUE(ui.IsChanged(PageId::ReportSetting));
  EXPECT_EQ(s.showPageCount, 1);
  EXPECT_EQ(s.focus, 1000);
  page.refuse = false;
  EXPECT_TRUE(driver.Apply(s));
  EXPECT_EQ(ImageByte(), 0x80);
}

TEST_F(Protocol, CancelThrowsAwayUnappliedEdits) {
  driver.Init(s);
  driver.Command(s, 1000, kButtonClicked);
  driver.QueryCancel(s);
  driver.Reset(s);
  EXPECT_EQ(GetSetting(*set, 0x10A00), 0u);
  EXPECT_EQ(page.resets, 1);
  EXPECT_FALSE(ui.IsChanged(PageId::ReportSetting));
}

TEST(SheetMayClose, OnlyOnOkWithNoPageChanged) {
  SettingsUiState ui;
  EXPECT_TRUE(SheetMayClose(ui, true));
  EXPECT_FALSE(SheetMayClose(ui, false));
  ui.Changed(PageId::LdapSetting) = 1;
  EXPECT_FALSE(SheetMayClose(ui, true));
}

TEST(CheckIntegerField, EmptyLeadingDigitsAndRange) {
  struct Case {
    const char* text;
    int result;
    const char* message;
    bool selected;
  } cases[] = {
      {"", 0, "\"\" is not a valid integer value !", false},
      {"12ab", 1, nullptr, false},
      {"20", 1, nullptr, false},
      {"21", 0, "Invalid value : must be within 5 to 20 !", true},
      {"4", 0, "Invalid value : must be within 5 to 20 !", true},
      {"abc", 0, "Invalid value : must be within 5 to 20 !", true},
  };
  for (const Case& c : cases) {
    MemorySurface s;
    s.At(445).text = c.text;
    EXPECT_EQ(CheckIntegerField(s, 445, IDS_INTEGER_RANGE, 5, 20), c.result) << c.text;
    if (c.message) {
      ASSERT_EQ(s.messages.size(), 1u) << c.text;
      EXPECT_EQ(s.messages[0], c.message);
      EXPECT_EQ(s.focus, 445);
      EXPECT_EQ(s.At(445).selEnd, c.selected ? static_cast<int>(std::strlen(c.text)) : 0);
    } else {
      EXPECT_TRUE(s.messages.empty()) << c.text;
    }
  }
}

TEST(CheckFourCharField, ExactlyFourCharacters) {
  for (const char* text : {"", "123", "12345"}) {
    MemorySurface s;
    s.At(415).text = text;
    EXPECT_EQ(CheckFourCharField(s, 415, IDS_PASSWORD_4_RANGE), 0) << text;
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0], "Invalid password : must be within 0000 to 9999 !");
    EXPECT_EQ(s.focus, 415);
  }
  MemorySurface s;
  s.At(415).text = "0042";
  EXPECT_EQ(CheckFourCharField(s, 415, IDS_PASSWORD_4_RANGE), 1);
}

TEST(EditFilters, RemoveEveryRefusedCharacterAndKeepTheCaret) {
  struct Case {
    bool phone;
    std::string typed, shown;
    int caret, result;
  } cases[] = {
      {false,
       "ab\xE9"
       "c",
       "abc", 2, 0},  // é in code page 1252
      {false, "a\tb", "ab", 1, 0},
      {false, "plain text~", "plain text~", 0, 1},
      {true, "+81 3-12a4", "+81 3-124", 8, 0},
      {true, "(03)", "03", 2, 0},  // both brackets in one pass
      {true, "(03) 1234-5678", "03 1234-5678", 2, 0},
      {false, "\tsmtp\t.x\x7F\x80", "smtp.x\x7F", 7, 0},
      {true, "+44 20", "+44 20", 0, 1},
  };
  for (const Case& c : cases) {
    MemorySurface s;
    std::string text = c.typed;
    s.At(7).text = text;
    const int r = c.phone ? FilterPhoneText(s, text, 7, 20) : FilterAsciiText(s, text, 7, 64);
    EXPECT_EQ(r, c.result) << c.typed;
    EXPECT_EQ(text, c.shown);
    if (c.result == 0) {
      EXPECT_EQ(s.At(7).text, c.shown);
      EXPECT_EQ(s.At(7).selStart, c.caret);
      EXPECT_EQ(s.At(7).selEnd, c.caret);
    } else {
      EXPECT_EQ(s.At(7).limit, c.phone ? 20 : 64);
    }
  }
}

// The control's text is what the filter reads and what it leaves for the
// page to store: a paste longer than the caller's buffer, or than the limit,
// is cut in the control too.
TEST(EditFilters, StoreTheTextTheControlHolds) {
  struct Case {
    std::string held;
    int limit;
    std::string after;
    int result;
  } cases[] = {
      {"1234567", 5, "12345", 0},      // all digits, too long
      {"5 8 7 0 0 0", 5, "58700", 0},  // refused and too long
      {"0020", 3, "002", 0},           // zero-padded width
      {"587", 5, "587", 1},            // nothing to mend
  };
  for (const Case& c : cases) {
    MemorySurface s;
    s.At(9).text = c.held;
    std::string text = c.held.substr(0, 2);  // a caller's short read
    EXPECT_EQ(ApplyDigitFilter(s, text, 9, c.limit), c.result) << c.held;
    EXPECT_EQ(text, c.after) << c.held;
    EXPECT_EQ(s.At(9).text, c.after) << c.held;
    EXPECT_EQ(s.At(9).limit, c.limit);
  }
}

// Numbers read whole at OK keep a too long text for the check to refuse;
// only the refused characters go.
TEST(EditFilters, NumbersCheckedWholeAreNotCutToTheLimit) {
  MemorySurface s;
  s.At(9).text = "1122334";
  std::string text;
  EXPECT_EQ(ApplyDigitFilterKeepingLength(s, text, 9, 6), 1);
  EXPECT_EQ(s.At(9).text, "1122334");
  s.At(9).text = "11-22-33-4";
  EXPECT_EQ(ApplyDigitFilterKeepingLength(s, text, 9, 6), 0);
  EXPECT_EQ(s.At(9).text, "1122334");
  EXPECT_EQ(text, "1122334");
}

// The platform answers the filter's write with EN_CHANGE before SetText
// returns; the page must not run inside itself, or the outer call stores
// an older copy of the text over the inner call's.
TEST(EditFilters, TheFiltersOwnWriteDoesNotReenterThePage) {
  MemorySurface s;
  s.edits = {9};
  int calls = 0, nested = 0;
  std::string stored;
  struct Counting : DialogLogic {
    std::function<void(ControlSurface&, int, int)> command;
    void OnInit(ControlSurface&) override {}
    void OnCommand(ControlSurface& cs, int id, int code) override { command(cs, id, code); }
  } logic;
  logic.command = [&](ControlSurface& cs, int id, int code) {
    if (id != 9 || code != kEditChange) return;
    ++calls;
    if (calls > 1) ++nested;
    std::string text = cs.Text(9, 6);
    ApplyDigitFilter(cs, text, 9, 5);
    stored = text;
  };
  s.notify = [&](int id, int code) { RouteDialogCommand(logic, s, id, code); };
  s.At(9).text = "5 8 7";
  s.notify(9, kEditChange);
  EXPECT_EQ(nested, 0);
  EXPECT_EQ(stored, "587");
  EXPECT_EQ(s.At(9).text, "587");
}

TEST(StepEditNumber, StepsAndClamps) {
  struct Case {
    const char* text;
    int code;
    const char* result;
  } cases[] = {
      {"10", kLineUp, "11"},    {"10", kLineDown, "9"}, {"60", kLineUp, "60"},
      {"1", kLineDown, "1"},    {"", kLineUp, "1"},     {"75", kPageUp, "60"},
      {"-3", kThumbTrack, "1"},
  };
  for (const Case& c : cases) {
    MemorySurface s;
    s.At(320).text = c.text;
    StepEditNumber(s, c.code, 320, 1, 60);
    EXPECT_EQ(s.At(320).text, c.result) << c.text << " " << c.code;
  }
}

TEST(HandleSettingsSlider, LinePageThumbAndClamping) {
  struct Case {
    int control;
    uint32_t stored;
    int code, thumb;
    uint32_t expected;
    const char* label;  // nullptr: the slider has no label
    uint8_t region;
  } cases[] = {
      {362, 1, kLineUp, 0, 1, "1 min", 0},          // clamped at the low end
      {362, 235, kPageDown, 0, 240, "240 min", 0},  // page step 10, clamped
      {362, 100, kPageUp, 0, 90, "90 min", 0},
      {343, 20, kThumbTrack, 200, 200, "200 min", 0},
      {366, 0xFF, kLineDown, 0, 0, nullptr, 0},  // a signed byte: -1 + 1
      {366, 0x7F, kLineUp, 0, 3, nullptr, 0},
      {370, 2, 8, 0, 2, nullptr, 0},                // TB_ENDTRACK changes nothing
      {478, 0x18, kLineDown, 0, 0x20, nullptr, 0},  // stored as 8 x level
      {556, 30, kPageDown, 0, 40, "40 sec", 0},
      {562, 58, kPageDown, 0, 60, "60 sec", 0},
      {725, 5, kLineDown, 0, 6, "6", 0},
      {509, 9, kLineDown, 0, 9, "9", 0},
      {505, 3, kLineDown, 0, 4, "5", 0},  // rings shown plus one
      {505, 3, kLineDown, 0, 4, "4", 3},  // but not in region code 3
  };
  for (const Case& c : cases) {
    auto set = FullDataSet();
    SettingsUiState ui;
    RecordingHost host;
    SettingsContext ctx{*set, ui, host};
    const SliderRule* rule = FindSlider(c.control);
    ASSERT_NE(rule, nullptr) << c.control;
    SetSetting(*set, rule->item, c.stored);
    SetSetting(*set, kRegionCodeId, c.region);
    SetSetting(*set, 0x10904, 15);  // maximum rings
    MemorySurface s;
    s.SetSliderRange(c.control, -300, 300);
    if (c.code == kThumbTrack) s.At(c.control).position = c.thumb;
    EXPECT_TRUE(HandleSettingsSlider(s, ctx, c.code, c.control));
    EXPECT_EQ(GetSetting(*set, rule->item), c.expected) << c.control << " " << c.stored;
    if (c.label) {
      EXPECT_EQ(s.At(rule->valueLabel).text, c.label) << c.control;
    }
  }
  SliderBench b;
  EXPECT_FALSE(HandleSettingsSlider(b.s, b.ctx, kLineUp, 999));
}

// Home and End move a slider's thumb before the page hears of it; they
// change no value, so the thumb and the label go back to the stored value.
TEST(HandleSettingsSlider, HomeAndEndPutTheThumbBackToTheValue) {
  struct Case {
    int control;
    uint32_t stored;
    int code;     // TB_TOP (6) or TB_BOTTOM (7)
    int movedTo;  // where the control put its thumb itself
    int shown;    // the thumb afterwards
    const char* label;
  } cases[] = {
      {362, 100, 6, 1, 100, "100 min"}, {343, 30, 7, 240, 30, "30 min"},
      {370, 2, 7, 4, 2, nullptr},       {478, 0x08, 6, 0, 1, nullptr},  // stored as 8 x level
      {556, 60, 6, 30, 60, "60 sec"},
  };
  for (const Case& c : cases) {
    SliderBench b;
    MemorySurface& s = b.s;
    const SliderRule* rule = FindSlider(c.control);
    ASSERT_NE(rule, nullptr);
    SetSetting(*b.set, rule->item, c.stored);
    s.SetSliderRange(c.control, rule->low, rule->high);
    s.At(c.control).position = c.movedTo;
    if (rule->valueLabel) s.At(rule->valueLabel).text = "stale";
    EXPECT_TRUE(HandleSettingsSlider(s, b.ctx, c.code, c.control));
    EXPECT_EQ(GetSetting(*b.set, rule->item), c.stored) << c.control;
    EXPECT_EQ(s.SliderPos(c.control), c.shown) << c.control;
    if (c.label) {
      EXPECT_EQ(s.At(rule->valueLabel).text, c.label) << c.control;
    }
  }
}

// A stored value outside the slider's range (the demonstration machine's
// energy-save time 0) stays stored until the slider is moved, and the label
// shows it: the page never shows a value that the upload does not carry.
TEST(HandleSettingsSlider, CodesWithoutARuleKeepShowingAnOutOfRangeValue) {
  struct Case {
    int control;
    uint32_t stored;
    int code;
    int thumb;  // the thumb afterwards: within the range
    const char* label;
  } cases[] = {
      {362, 0, 6, 1, "0 min"},  // Home
      {362, 0, 7, 1, "0 min"},  // End
      {362, 0, 8, 1, "0 min"},  // the end of a drag
      {343, 300, 8, 240, "300 min"}, {509, 12, 8, 9, "12"},
      {505, 5, 8, 3, "6"},  // rings shown plus one; maximum 3
  };
  for (const Case& c : cases) {
    SliderBench b;
    const SliderRule* rule = FindSlider(c.control);
    ASSERT_NE(rule, nullptr);
    SetSetting(*b.set, rule->item, c.stored);
    SetSetting(*b.set, 0x10904, 3);  // maximum rings
    SetSetting(*b.set, kRegionCodeId, 0);
    b.s.SetSliderRange(c.control, rule->low, SliderHigh(b.ctx, *rule));
    EXPECT_TRUE(HandleSettingsSlider(b.s, b.ctx, c.code, c.control));
    EXPECT_EQ(GetSetting(*b.set, rule->item), c.stored) << c.control << " " << c.code;
    EXPECT_EQ(b.s.SliderPos(c.control), c.thumb) << c.control;
    EXPECT_EQ(b.s.At(rule->valueLabel).text, c.label) << c.control << " " << c.code;
  }
}

// 32-bit slider values are unsigned: 0xFFFFFFFF is far above the range, and
// a step from 0x7FFFFFFF does not overflow.
TEST(HandleSettingsSlider, ThirtyTwoBitValuesAreUnsigned) {
  struct Case {
    int control;
    uint32_t stored;
    int code;
    uint32_t expected;
    int thumbAtStart;
  } cases[] = {
      {556, 0x7FFFFFFF, kPageDown, 300, 300}, {556, 0xFFFFFFFF, kLineUp, 300, 300},
      {562, 0xFFFFFFFF, kLineDown, 60, 60},   {343, 0xFFFFFFFF, kPageUp, 240, 240},
      {729, 0x80000000, kLineUp, 100, 100},   {362, 0xFFFFFFF6, kPageDown, 240, 240},
  };
  for (const Case& c : cases) {
    SliderBench b;
    const SliderRule* rule = FindSlider(c.control);
    ASSERT_NE(rule, nullptr);
    SetSetting(*b.set, rule->item, c.stored);
    EXPECT_EQ(SliderValue(b.ctx, *rule), c.thumbAtStart) << c.control;
    b.s.SetSliderRange(c.control, rule->low, rule->high);
    EXPECT_TRUE(HandleSettingsSlider(b.s, b.ctx, c.code, c.control));
    EXPECT_EQ(GetSetting(*b.set, rule->item), c.expected) << c.control << " " << c.stored;
  }
}

TEST(HandleSettingsSlider, RingsAreClampedToTheMaximumRings) {
  auto set = FullDataSet();
  SettingsUiState ui;
  RecordingHost host;
  SettingsContext ctx{*set, ui, host};
  SetSetting(*set, 0x10904, 5);
  SetSetting(*set, 0x10903, 5);
  MemorySurface s;
  HandleSettingsSlider(s, ctx, kPageDown, 505);
  EXPECT_EQ(GetSetting(*set, 0x10903), 5u);
}

TEST(FormatString, FillsEachPercentD) {
  EXPECT_EQ(
      FormatString("Invalid value : must be within %d to %d and %d to %d !", {1, 126, 128, 254}),
      "Invalid value : must be within 1 to 126 and 128 to 254 !");
  EXPECT_EQ(FormatString("ID%02d %d", {7}), "ID%02d 7");
  EXPECT_EQ(FormatString("100%%", {}), "100%");
}

TEST(StoreTextSetting, ClearsTheFieldAndSetsTheLength) {
  auto set = FullDataSet();
  StoreTextSetting(*set, 0x10405, "smtp.example.com");
  StoreTextSetting(*set, 0x10405, "mail");
  EXPECT_STREQ(SettingText(*set, 0x10405), "mail");
  EXPECT_EQ(SettingText(*set, 0x10405)[5], 0);
  EXPECT_EQ(ItemLength(*set, 0x10405), 4u);
}

TEST(UpdateInchPaperFlag, VariantsOneAndFive) {
  auto set = FullDataSet();
  for (uint32_t v = 0; v < 8; ++v) {
    SetSetting(*set, kMachineVariantId, v);
    EXPECT_EQ(UpdateInchPaperFlag(*set), v == 1 || v == 5) << v;
  }
}

}  // namespace
}  // namespace test
}  // namespace odc
