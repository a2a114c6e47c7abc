#include "setup/addressbook/entry_dialog_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "setup/res/resource.h"

namespace odc {
namespace {

TEST(EntryDialogRules, FiltersRemoveTheFirstRefusedCharacterAndKeepTheCaretThere) {
  struct Case {
    const char* name;
    FilterResult result;
    const char* text;
    int caret;
    bool accepted;
  };
  const Case cases[] = {
      {"letter in a number", FilterDialText("12a34", DialField::Number), "1234", 2, false},
      {"P space minus in a number", FilterDialText("1P 2-3*#", DialField::Number), "1P 2-3*#", 8,
       true},
      {"P in a SUB", FilterDialText("12P3", DialField::SubOrSid), "123", 2, false},
      {"space in a SID", FilterDialText("1 2", DialField::SubOrSid), "12", 1, false},
      {"minus in a SID", FilterDialText("-", DialField::SubOrSid), "", 0, false},
      {"only the first one goes", FilterDigits("1x2y"), "12y", 1, false},
      {"digits", FilterDigits("0923"), "0923", 4, true},
      {"comma in an address", FilterMailText("a,b@c.d"), "ab@c.d", 1, false},
      {"backslash in an address", FilterMailText("a\\b"), "ab", 1, false},
      {"tab in an address", FilterMailText("a\tb"), "ab", 1, false},
      {"address", FilterMailText("first.last@example.com"), "first.last@example.com", 22, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.text, c.text) << c.name;
    EXPECT_EQ(c.result.caret, c.caret) << c.name;
    EXPECT_EQ(c.result.accepted, c.accepted) << c.name;
  }
}

TEST(EntryDialogRules, NameFilterByLanguageAndMachineVariant) {
  // English, variant 0: the machine's Latin letters stay, others go.
  EXPECT_TRUE(FilterNameText("Caf\xE9 M\xFCller", Language::SingleByte, 0).accepted);
  FilterResult f = FilterNameText(
      "a\xA7"
      "b",
      Language::SingleByte, 0);  // section sign
  EXPECT_EQ(f.text, "ab");
  EXPECT_EQ(f.caret, 1);
  f = FilterNameText("a\\b", Language::SingleByte, 0);
  EXPECT_EQ(f.text, "ab");
  // Variant 1: ASCII only.
  f = FilterNameText("Caf\xE9", Language::SingleByte, 1);
  EXPECT_EQ(f.text, "Caf");
  EXPECT_FALSE(f.accepted);
  // The euro sign of code page 1252 is U+20AC: it ends the text.
  f = FilterNameText(
      "ab\x80"
      "cd",
      Language::SingleByte, 0);
  EXPECT_EQ(f.text, "ab");
  EXPECT_EQ(f.caret, 2);
  // Japanese: half-width katakana stays; a two-byte character ends the
  // text; a backslash is removed.
  EXPECT_TRUE(FilterNameText("A\xB1\xB2", Language::Japanese, 0).accepted);
  f = FilterNameText(
      "AB\x82\xA0"
      "C",
      Language::Japanese, 0);  // hiragana A
  EXPECT_EQ(f.text, "AB");
  f = FilterNameText("A\\B", Language::Japanese, 0);
  EXPECT_EQ(f.text, "AB");
}

TEST(EntryDialogRules, MailAddressCheck) {
  EXPECT_TRUE(IsMailAddress("user@example.com"));
  EXPECT_TRUE(IsMailAddress(".@"));
  EXPECT_FALSE(IsMailAddress("user@example"));
  EXPECT_FALSE(IsMailAddress("a@b@c.d"));
  EXPECT_FALSE(IsMailAddress(""));
}

TEST(EntryDialogRules, OkChecksInOrderWithMessageAndFocus) {
  struct Case {
    const char *hour, *minute;
    uint8_t kind;
    const char *address, *number;
    int message, control, low, high;
  };
  const Case cases[] = {
      {"7", "", kKindFax, "", "1", IDS_MINUTE_RANGE, IDC_ENTRY_MINUTE, 0, 59},
      {"", "5", kKindFax, "", "1", IDS_HOUR_RANGE, IDC_ENTRY_HOUR, 0, 23},
      {"24", "00", kKindFax, "", "1", IDS_HOUR_RANGE, IDC_ENTRY_HOUR, 0, 23},
      {"23", "60", kKindFax, "", "1", IDS_MINUTE_RANGE, IDC_ENTRY_MINUTE, 0, 59},
      {"", "", kKindFax, "", "", IDS_PHONE_NUMBER_REQUIRED, IDC_ENTRY_NUMBER, 0, 0},
      {"", "", kKindEmail, "", "", IDS_EMAIL_ADDRESS_REQUIRED, IDC_ENTRY_ADDRESS, 0, 0},
      {"", "", kKindEmail, "a@b", "", IDS_EMAIL_ADDRESS_INVALID, IDC_ENTRY_ADDRESS, 0, 0},
      {"23", "59", kKindFax, "", "5", 0, 0, 0, 0},
      {"", "", kKindEmail, "a@b.c", "", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    CheckFailure failure = CheckBatchTime(c.hour, c.minute);
    if (!failure.failed()) failure = CheckDestination(c.kind, c.address, c.number);
    EXPECT_EQ(failure.messageId, c.message) << c.hour << ":" << c.minute << " " << c.address;
    EXPECT_EQ(failure.controlId, c.control);
    EXPECT_EQ(failure.low, c.low);
    EXPECT_EQ(failure.high, c.high);
  }
}

TEST(EntryDialogRules, MaxTxSizeListsAndSelections) {
  const SizeList metric = MaxTxSizeList(false, false);
  EXPECT_EQ(metric.stringIds, (std::vector<int>{IDS_SIZE_A3, IDS_SIZE_B4, IDS_SIZE_A4}));
  const SizeList book = MaxTxSizeList(true, true);
  EXPECT_EQ(book.codes, (std::vector<uint8_t>{0, 1, 2, 12, 9}));
  const SizeList inch = MaxTxSizeList(true, false);
  EXPECT_EQ(inch.stringIds, (std::vector<int>{IDS_SIZE_LETTER, IDS_SIZE_LEDGER}));
  EXPECT_EQ(inch.codes[1], 9) << "Ledger stores 9";
  struct Case {
    uint8_t code;
    bool inch, book;
    int index;
  };
  const Case cases[] = {{0, false, false, 0},  {9, false, false, 0}, {1, false, false, 1},
                        {12, false, false, 2}, {12, false, true, 3}, {9, false, true, 4},
                        {1, true, false, 1},   {2, true, false, 0},  {0, true, false, 1},
                        {7, false, false, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(MaxTxSizeIndex(c.code, c.inch, c.book), c.index) << int(c.code) << c.inch << c.book;
  }
  EXPECT_EQ(DefaultMaxTxSize(true, false), 1) << "shows as Ledger";
  EXPECT_EQ(DefaultMaxTxSize(true, true), 0);
}

TEST(EntryDialogRules, TitlesAndDate) {
  EXPECT_EQ(EntryDialogTitle(1, 4, "Register One Touch #", false, " (Combination Key)"),
            "Register One Touch #05");
  EXPECT_EQ(EntryDialogTitle(2, 122, "Register Speed Dial #", true, " (Combination Key)"),
            "Register Speed Dial #123 (Combination Key)");
  EXPECT_EQ(GroupDialogTitle(0, "Register Group #"), "Register Group #001");
  EXPECT_EQ(RegistrationDateOf(2026, 12, 9), ((26 << 9) | (12 << 5) | 9));
  EXPECT_EQ(RegistrationDateOf(2100, 1, 1) >> 9, (2100 + 48) % 128);
}

// The visible and enabled state of every control after the refresh steps.
struct ControlState {
  bool enabled = true, shown = true;
};
std::map<int, ControlState> Apply(const EntryControls& controls, bool nicKit = true) {
  std::map<int, ControlState> state;
  // The start disables the e-mail side when the NIC kit is missing.
  if (!nicKit) {
    for (int id : ControlsWithoutNicKit()) state[id].enabled = false;
  }
  for (const ControlAction& a : controls.actions) {
    ControlState& s = state[a.id];
    if (a.step == ControlStep::Enable) s.enabled = true;
    if (a.step == ControlStep::Disable) s.enabled = false;
    if (a.step == ControlStep::Show) s.shown = true;
    if (a.step == ControlStep::Hide) s.shown = false;
  }
  return state;
}

TEST(EntryDialogRules, RefreshShowsTheFieldsOfTheKind) {
  auto fax = Apply(RefreshEntryControls(kKindFax, false, 0, 1, true));
  EXPECT_TRUE(fax[IDC_ENTRY_NUMBER].shown && fax[IDC_ENTRY_NUMBER].enabled);
  EXPECT_FALSE(fax[IDC_ENTRY_ADDRESS].shown);
  EXPECT_TRUE(fax[IDC_ENTRY_HOUR].shown && fax[IDC_ENTRY_SUB].enabled);
  EXPECT_FALSE(fax[IDC_ENTRY_MODE_FRAME].shown);

  auto speedDial = Apply(RefreshEntryControls(kKindFax, false, 0, 2, true));
  for (int id = IDC_ENTRY_BATCH_LABEL; id <= IDC_ENTRY_MINUTE; ++id) {
    EXPECT_FALSE(speedDial[id].shown) << id;
  }
  EXPECT_TRUE(speedDial[IDC_ENTRY_SPEED_33600].shown);

  auto combination = Apply(RefreshEntryControls(kKindFax, true, 0, 1, true));
  EXPECT_TRUE(combination[IDC_ENTRY_NUMBER].enabled);
  EXPECT_FALSE(combination[IDC_ENTRY_NAME_EDIT].enabled);
  EXPECT_FALSE(combination[IDC_ENTRY_SUB].enabled);

  const EntryControls basic = RefreshEntryControls(kKindEmail, false, 0, 1, true);
  EXPECT_EQ(basic.numberLabelId, IDS_LABEL_ADDRESS);
  auto email = Apply(basic);
  EXPECT_TRUE(email[IDC_ENTRY_ADDRESS].shown && email[IDC_ENTRY_ADDRESS].enabled);
  EXPECT_FALSE(email[IDC_ENTRY_NUMBER].shown);
  EXPECT_FALSE(email[IDC_ENTRY_SIZE].shown);
  EXPECT_TRUE(email[IDC_ENTRY_NAME_EDIT].enabled);
  auto advanced = Apply(RefreshEntryControls(kKindEmail, false, 1, 1, true));
  EXPECT_TRUE(advanced[IDC_ENTRY_SIZE].shown && advanced[IDC_ENTRY_SIZE].enabled);
  auto noKit = Apply(RefreshEntryControls(kKindEmail, false, 1, 1, false), false);
  EXPECT_FALSE(noKit[IDC_ENTRY_ADDRESS].enabled)
      << "without the NIC kit nothing e-mail is editable";
  EXPECT_FALSE(noKit[IDC_ENTRY_NAME_EDIT].enabled);
  EXPECT_FALSE(noKit[IDC_ENTRY_SIZE].enabled);
  auto noKitFax = Apply(RefreshEntryControls(kKindFax, false, 0, 1, false), false);
  EXPECT_TRUE(noKitFax[IDC_ENTRY_NAME_EDIT].enabled) << "the fax side comes back";
  EXPECT_FALSE(noKitFax[IDC_ENTRY_EMAIL].enabled);
}

TEST(EntryDialogRules, ForwardDestinationFollowsTheEntryOfItsOwnKind) {
  DisplayRecord fax{};
  fax.kind = kKindFax;
  fax.speedIndex = 1;
  std::strcpy(fax.number, "0123456789");
  std::strcpy(fax.sub, "12345678901234567890");
  std::strcpy(fax.sid, "98765");
  uint8_t forward[kForwardRecordSize] = {9, 4};
  EXPECT_FALSE(RefreshForwardDestination(forward, 2, 4, fax)) << "Speed Dial 4 is not key 4";
  EXPECT_FALSE(RefreshForwardDestination(forward, 1, 5, fax));
  ASSERT_TRUE(RefreshForwardDestination(forward, 1, 4, fax));
  EXPECT_EQ(forward[0], 10) << "fax of the One Touch pair";
  EXPECT_EQ(forward[2], 1);
  EXPECT_EQ(forward[3], 20);
  EXPECT_EQ(forward[4], 5);
  EXPECT_STREQ(reinterpret_cast<char*>(forward + 5), "0123456789");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(forward + 30), 20), fax.sub)
      << "the SID does not overwrite the SUB";
  EXPECT_STREQ(reinterpret_cast<char*>(forward + 51), "98765");
  EXPECT_EQ(forward[70], 10);

  DisplayRecord mail{};
  mail.kind = kKindEmail;
  std::memset(mail.email, 'a', 64);
  mail.emailOptions[0] = 1;
  mail.emailOptions[1] = 9;
  uint8_t typed[kForwardRecordSize] = {6, 7};
  ASSERT_TRUE(RefreshForwardDestination(typed, 2, 7, mail));
  EXPECT_EQ(typed[0], 5);
  EXPECT_EQ(typed[3], 9);
  EXPECT_EQ(typed[70], 64) << "a full address stops before the length byte";
  uint8_t own[kForwardRecordSize] = {2, 7};
  EXPECT_FALSE(RefreshForwardDestination(own, 2, 7, mail)) << "typed destinations stay";
}

TEST(EntryDialogRules, EntryMenuEnabling) {
  EntryMenuInputs in;
  in.view = 1;
  in.flags = kFlagFax | kFlagOneTouchEntry;
  in.addressEmpty = false;
  EntryMenuState m = ComputeEntryMenu(in);
  EXPECT_TRUE(m.cut && m.copy && m.remove && m.property);
  EXPECT_FALSE(m.paste) << "empty clipboard";
  in.clipboardSlots = {3, -1, -1};
  EXPECT_TRUE(ComputeEntryMenu(in).paste);
  in.addressEmpty = true;
  in.flags = kFlagGroup;  // a group key in the One Touch view
  m = ComputeEntryMenu(in);
  EXPECT_FALSE(m.paste || m.cut || m.copy || m.remove);
  in.flags = kFlagProgram | kFlagOneTouchEntry;
  m = ComputeEntryMenu(in);
  EXPECT_FALSE(m.property);
  EXPECT_FALSE(m.paste);
  in.view = 3;
  in.flags = kFlagFax | kFlagOneTouchEntry;
  in.clipboardSlots = {-1, -1, 2};
  EXPECT_FALSE(ComputeEntryMenu(in).paste) << "no group over an individual key";
  in.flags = 0;
  EXPECT_TRUE(ComputeEntryMenu(in).paste);
  in.holdsGroup = true;
  in.flags = kFlagGroup;
  m = ComputeEntryMenu(in);
  EXPECT_TRUE(m.cut && m.copy && m.remove && m.paste);
}

TEST(EntryDialogRules, PasteRefusals) {
  const uint8_t none[4] = {0, 0, 0, 0};
  const uint8_t programs[4] = {0, 1, 0, 0};
  DisplayRecord empty{};
  EXPECT_TRUE(PasteAllowed(1, 3, 0, none, empty));
  EXPECT_FALSE(PasteAllowed(1, 3, kFlagGroup, none, empty)) << "group key";
  EXPECT_FALSE(PasteAllowed(1, 29, 0, programs, empty)) << "program key state";
  EXPECT_TRUE(PasteAllowed(1, 28, 0, programs, empty));
  EXPECT_FALSE(PasteAllowed(2, 5, kFlagProgram | kFlagSpeedDial, none, empty));
  DisplayRecord individual{};
  individual.entryType = kEntryOneTouch;
  EXPECT_FALSE(PasteAllowed(3, 3, kFlagOneTouchEntry, none, individual));
  DisplayRecord group{};
  group.entryType = kEntryGroup;
  group.groupMarker = 1;
  EXPECT_TRUE(PasteAllowed(3, 3, kFlagGroup, none, group));
  EXPECT_FALSE(PasteAllowed(3, 29, 0, programs, empty));
}

// A data set with fax keys 0-5, a group on key 6 of keys 0 and 1 and Speed
// Dial 3, and Speed Dials 0-59.
std::unique_ptr<DataSet> GroupData() {
  auto set = std::make_unique<DataSet>();
  DisplayRecord r{};
  for (int k = 0; k < 6; ++k) {
    r = DisplayRecord{};
    r.inUse = 1;
    r.entryType = kEntryOneTouch;
    std::snprintf(r.number, sizeof r.number, "10%d", k);
    PackOneTouch(*set, r, k);
  }
  for (int s = 0; s < 60; ++s) {
    r = DisplayRecord{};
    r.inUse = 1;
    r.entryType = kEntrySpeedDial;
    std::snprintf(r.number, sizeof r.number, "20%d", s);
    PackSpeedDial(*set, r, s);
  }
  DisplayRecord g{};
  g.inUse = 1;
  std::strcpy(g.name, "Team");
  PackGroup(*set, g, {{kMemberOneTouch, 0, 0}, {kMemberOneTouch, 1, 0}}, {{kMemberSpeedDial, 3, 0}},
            6);
  return set;
}

TEST(EntryDialogRules, ExpandingAGroupBringsOnlyMembersThatExist) {
  auto set = GroupData();
  // Key 7's group: key 1, a Speed Dial byte of 250 and a member index byte
  // of 0, as a damaged or foreign data set can hold them.
  uint8_t* e = set->OneTouchEntry(6);
  e[3] = 3;
  const uint8_t members[] = {kMemberOneTouch, 1, kMemberSpeedDial, 250, kMemberSpeedDial, 0};
  std::memcpy(e + 30, members, sizeof members);
  GroupEditor editor;
  const GroupEditor::Moved moved = editor.AddOneTouch(*set, 6);
  EXPECT_TRUE(moved.moved);
  ASSERT_EQ(editor.oneTouch.size(), 1u);
  EXPECT_EQ(editor.oneTouch[0].index, 0);
  EXPECT_TRUE(editor.speedDial.empty());
  EXPECT_EQ(moved.speedDialRows, std::vector<int>{});
  // Registered, the new group holds the one real member.
  DisplayRecord g{};
  g.inUse = 1;
  std::strcpy(g.name, "New");
  PackGroup(*set, g, editor.oneTouch, editor.speedDial, 12);
  EXPECT_EQ(set->OneTouchEntry(12)[3], 1);
}

// Paste, the menus and the row menu read the flags of the table the view
// shows: in the Speed Dial view the index runs to 239, far past the 32 One
// Touch keys.
TEST(EntryDialogRules, EntryFlagsComeFromTheViewsOwnTable) {
  auto set = std::make_unique<DataSet>();
  set->OneTouchEntry(5)[2] = kFlagFax | kFlagOneTouchEntry;
  set->OneTouchEntry(31)[2] = kFlagGroup;
  set->SpeedDialEntry(5)[2] = kFlagFax | kFlagSpeedDial | kFlagProgram;
  set->SpeedDialEntry(239)[2] = kFlagEmail | kFlagSpeedDial;
  struct Case {
    int view, index;
    uint8_t flags;
  };
  const Case cases[] = {
      {1, 5, kFlagFax | kFlagOneTouchEntry},
      {3, 5, kFlagFax | kFlagOneTouchEntry},
      {3, 31, kFlagGroup},
      {2, 5, kFlagFax | kFlagSpeedDial | kFlagProgram},
      {2, 239, kFlagEmail | kFlagSpeedDial},
      {1, 32, 0},
      {3, 239, 0},
      {2, 240, 0},
      {2, -1, 0},
      {0, 5, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EntryFlagsOf(*set, c.view, c.index), c.flags) << c.view << " " << c.index;
  }
}

TEST(EntryDialogRules, AGroupKeyBringsItsMembersAndTheLimitIsFifty) {
  auto set = GroupData();
  GroupEditor editor;
  EXPECT_EQ(OneTouchCandidates(*set, 7, editor), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(OneTouchCandidates(*set, 6, editor).size(), 6u) << "never the group's own key";
  editor.oneTouch.push_back({kMemberOneTouch, 1, 0});
  const GroupEditor::Moved moved = editor.AddOneTouch(*set, 6);
  EXPECT_TRUE(moved.moved);
  EXPECT_EQ(moved.oneTouchRows, (std::vector<int>{6, 0, 1}));
  EXPECT_EQ(moved.speedDialRows, (std::vector<int>{3}));
  ASSERT_EQ(editor.oneTouch.size(), 2u) << "key 1 was there already";
  EXPECT_EQ(editor.oneTouch[1].index, 0);
  EXPECT_EQ(editor.speedDial.size(), 1u);
  EXPECT_FALSE(editor.HasOneTouch(6)) << "a group is never a member";

  // 49 members, three Speed Dials chosen: only the first joins.
  GroupEditor full;
  for (int s = 0; s < 49; ++s) full.speedDial.push_back({kMemberSpeedDial, uint8_t(s), 0});
  EXPECT_EQ(full.AddSpeedDials({50, 51, 52}), (std::vector<int>{50}));
  EXPECT_EQ(full.Count(), 50);
  EXPECT_TRUE(full.AddSpeedDials({53}).empty());
  EXPECT_FALSE(full.AddOneTouch(*set, 2).moved);

  // An expansion that fills the group stops at the member that filled it,
  // whose row stays among the candidates.
  GroupEditor almost;
  for (int s = 10; s < 58; ++s) almost.speedDial.push_back({kMemberSpeedDial, uint8_t(s), 0});
  const GroupEditor::Moved partial = almost.AddOneTouch(*set, 6);
  EXPECT_EQ(almost.Count(), 50);
  EXPECT_EQ(partial.oneTouchRows, (std::vector<int>{6, 0}));
  EXPECT_TRUE(almost.HasOneTouch(1));

  // Delete Selected: rows of One Touch members first.
  const std::vector<GroupMemberRow> removed = editor.RemoveRows({0, 2});
  ASSERT_EQ(removed.size(), 2u);
  EXPECT_EQ(removed[0].index, 1);
  EXPECT_EQ(removed[1].kind, kMemberSpeedDial);
  ASSERT_EQ(editor.oneTouch.size(), 1u);
  EXPECT_TRUE(editor.speedDial.empty());
}

TEST(EntryDialogRules, RemovingTheOnlyMemberEmptiesTheGroup) {
  auto set = GroupData();
  DisplayRecord speedDial3{};
  speedDial3.index = 3;
  speedDial3.entryType = kEntrySpeedDial;
  EXPECT_TRUE(RemoveFromGroupDials(*set, speedDial3).empty());
  DisplayRecord g;
  UnpackGroup(g, *set, 6);
  ASSERT_EQ(g.memberCount, 2);
  EXPECT_EQ(g.members[1].index, 1);
  DisplayRecord key0{};
  key0.entryType = kEntryOneTouch;
  EXPECT_TRUE(RemoveFromGroupDials(*set, key0).empty());
  DisplayRecord key1{};
  key1.index = 1;
  key1.entryType = kEntryOneTouch;
  EXPECT_EQ(RemoveFromGroupDials(*set, key1), (std::vector<int>{6}));
  EXPECT_EQ(set->OneTouchEntry(6)[2], 0) << "the key is empty";
  DisplayRecord group{};
  group.memberCount = 3;
  group.entryType = kEntryOneTouch;
  EXPECT_TRUE(RemoveFromGroupDials(*set, group).empty());
}

TEST(EntryDialogRules, GroupOkChecks) {
  EXPECT_EQ(CheckGroup("", 3, true), IDS_GROUP_NAME_REQUIRED);
  EXPECT_EQ(CheckGroup("", 3, false), IDS_GROUP_NAME2_REQUIRED);
  EXPECT_EQ(CheckGroup("Team", 0, true), IDS_DATA_LIST_EMPTY);
  EXPECT_EQ(CheckGroup("Team", 1, true), 0);
}

}  // namespace
}  // namespace odc
