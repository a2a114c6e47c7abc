// Address-book editing in the real main window, in this process: the views,
// the entry dialog and the Group dial dialog (run modeless with their own
// procedures), and Cut, Copy, Paste and Delete. Every test runs with the
// English resources and with the Japanese test module.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/data_file.h"
#include "setup/link/simulated_machine.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"
#include "tests/win/scripted_prompts.h"

namespace odc {
namespace {

std::string Text(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string CellOf(HWND list, int row, int column) {
  char text[256] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

int IconOf(HWND list, int row) {
  LVITEMA item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

std::string ColumnTitle(HWND list, int column) {
  char text[128] = {};
  LVCOLUMNA c = {};
  c.mask = LVCF_TEXT;
  c.pszText = text;
  c.cchTextMax = sizeof text;
  if (!SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&c))) return "-";
  return text;
}

int Rows(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

void Select(HWND list, int row, bool only = true) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (only)
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

// The row of a list whose item text (the entry number) is `number`.
int RowNumbered(HWND list, const char* number) {
  for (int row = 0; row < Rows(list); ++row) {
    if (CellOf(list, row, 0) == number) return row;
  }
  return -1;
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// A "CMC" address book of the earlier machines: key 1 fax "Legacy" 1234,
// key 2 fax "Second" 5555, key 3 a Group dial "Grp" of key 1 and Speed Dial
// 1, Speed Dial 1 fax "Old SD" 5678, Speed Dial 2 fax "Two" 9999.
std::vector<uint8_t> CmcAddressBook(int format) {
  const bool one = format == 1;
  std::vector<uint8_t> file(one ? kType1FileSize : kType2FileSize, 0);
  std::memcpy(file.data(), "CMC", 3);
  uint8_t* keys = file.data() + (one ? kType1HeaderSize : kType2HeaderSize);
  const size_t keySize = one ? kType1OneTouchRecordSize : kType2OneTouchRecordSize;
  uint8_t* speeds = keys + (one ? kType1OneTouchRecords : kType2OneTouchRecords) * keySize;
  const size_t speedSize = one ? kType1SpeedDialRecordSize : kType2SpeedDialRecordSize;
  struct Fax {
    const char* name;
    uint8_t digits[2];
  };
  const Fax keyFaxes[] = {{"Legacy", {0x21, 0x43}}, {"Second", {0x55, 0x55}}};
  const Fax speedFaxes[] = {{"Old SD", {0x65, 0x87}}, {"Two", {0x99, 0x99}}};
  for (int k = 0; k < 2; ++k) {
    uint8_t* r = keys + k * keySize;
    const size_t n = std::strlen(keyFaxes[k].name);
    if (one) {
      r[0] = kFlagFax | kFlagOneTouchEntry;
      r[1] = 4;
      r[3] = static_cast<uint8_t>(n);
      std::memcpy(r + 4, keyFaxes[k].name, n);
      std::memcpy(r + 31, keyFaxes[k].digits, 2);
    } else {
      r[0] = 4;
      r[1] = 0x42;  // fax, One Touch entry
      r[26] = static_cast<uint8_t>(n);
      std::memcpy(r + 27, keyFaxes[k].name, n);
      std::memcpy(r + 50, keyFaxes[k].digits, 2);
    }
  }
  uint8_t* group = keys + 2 * keySize;
  const uint8_t members[] = {kMemberOneTouch, 1, kMemberSpeedDial, 1};
  if (one) {
    group[0] = kFlagGroup;
    group[1] = 2;
    group[3] = 3;
    std::memcpy(group + 4, "Grp", 3);
    std::memcpy(group + 28, members, sizeof members);
  } else {
    group[0] = 2;
    group[1] = 0x80;
    group[26] = 3;
    std::memcpy(group + 27, "Grp", 3);
    std::memcpy(group + 47, members, sizeof members);
  }
  for (int s = 0; s < 2; ++s) {
    uint8_t* r = speeds + s * speedSize;
    const size_t n = std::strlen(speedFaxes[s].name);
    if (one) {
      r[0] = kFlagFax | kFlagSpeedDial;
      r[1] = 4;
      r[2] = static_cast<uint8_t>(n);
      std::memcpy(r + 3, speedFaxes[s].name, n);
      std::memcpy(r + 29, speedFaxes[s].digits, 2);
    } else {
      r[0] = 4;
      r[1] = 0x22;  // fax, Speed Dial
      r[24] = static_cast<uint8_t>(n);
      std::memcpy(r + 25, speedFaxes[s].name, n);
      std::memcpy(r + 48, speedFaxes[s].digits, 2);
    }
  }
  return file;
}

DisplayRecord Fax(const char* name, const char* number) {
  DisplayRecord r{};
  r.inUse = 1;
  std::strcpy(r.name, name);
  std::strcpy(r.name2, "N2");
  std::strcpy(r.number, number);
  r.speedIndex = 2;
  return r;
}

bool MainWindowClassRegistered() {
  static bool registered = [] {
    INITCOMMONCONTROLSEX controls = {8, 0x82F};
    InitCommonControlsEx(&controls);
    return RegisterMainWindowClass(GetModuleHandleA(nullptr));
  }();
  return registered;
}

class AddressBook : public ::testing::TestWithParam<bool> {
 protected:
  bool Japanese() const { return GetParam(); }

  void SetUp() override {
    ASSERT_TRUE(MainWindowClassRegistered());
    app.instance = GetModuleHandleA(nullptr);
    app.resources = app.instance;
    if (Japanese()) {
      japanese = LoadLibraryA(ODC_SETUP_JAPANESE_DLL_PATH);
      ASSERT_NE(japanese, nullptr);
      app.resources = japanese;
    }
    app.prompts = &prompts;
    window = CreateMainWindow(app, SW_HIDE);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(app.DoubleByteLanguage(), Japanese());
    SendMessageA(window, WM_COMMAND, ID_FILE_NEW, 0);
    ASSERT_EQ(app.words.dataLoaded, 1);
    BuildBook();
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    folder = std::string(dir) + "odc_book_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  void TearDown() override {
    if (dialog != nullptr && IsWindow(dialog)) DestroyWindow(dialog);
    app.modified = false;
    if (IsWindow(window)) DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    if (japanese != nullptr) FreeLibrary(japanese);
  }

  // Every kind of entry: key 1 fax with SUB, SID and batch time; key 2
  // e-mail (Advanced); key 3 a Group dial of key 1 and Speed Dial 6; key 4
  // a combination key; key 30 a program key; Speed Dial 1 fax, 2 e-mail,
  // 6 fax, 7 a program dial.
  void BuildBook() {
    DataSet& set = *app.data;
    DisplayRecord r = Fax("Office", "0123456");
    r.entryType = kEntryOneTouch;
    std::strcpy(r.sub, "11");
    std::strcpy(r.sid, "22");
    std::strcpy(r.batchHour, "14");
    std::strcpy(r.batchMinute, "05");
    r.speedIndex = 1;
    PackOneTouch(set, r, 0);
    r = Fax("Mail", "");
    r.kind = kKindEmail;
    r.entryType = kEntryOneTouch;
    std::strcpy(r.email, "desk@example.com");
    r.emailOptions[0] = 1;
    r.emailOptions[2] = 2;
    r.emailOptions[3] = 2;
    PackOneTouch(set, r, 1);
    DisplayRecord group{};
    group.inUse = 1;
    std::strcpy(group.name, "Team");
    std::strcpy(group.name2, "T2");
    PackGroup(set, group, {{kMemberOneTouch, 0, 0}}, {{kMemberSpeedDial, 5, 0}}, 2);
    r = Fax("", "555+");
    r.entryType = kEntryOneTouch;
    r.combination = 1;
    PackOneTouch(set, r, 3);
    set.OneTouchEntry(29)[2] = kFlagProgram;
    set.OneTouchEntry(29)[3] = 1;
    r = Fax("Branch", "777");
    r.entryType = kEntrySpeedDial;
    PackSpeedDial(set, r, 0);
    r = Fax("Help", "");
    r.kind = kKindEmail;
    r.entryType = kEntrySpeedDial;
    std::strcpy(r.email, "help@example.com");
    PackSpeedDial(set, r, 1);
    r = Fax("Depot", "888");
    r.entryType = kEntrySpeedDial;
    PackSpeedDial(set, r, 5);
    r = Fax("Prog", "999");
    r.entryType = kEntrySpeedDial;
    r.program = 1;
    PackSpeedDial(set, r, 6);
    PackTransferImage(set);
    CheckDialTables(set);
  }

  void View(int view) { SendMessageA(window, WM_COMMAND, ID_VIEW_ONE_TOUCH + view - 1, 0); }
  void Command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }

  // The entry or group dialog on row `row` of view `view`, modeless.
  HWND Open(int view, int row) {
    View(view);
    Select(app.list, row);
    app.words.selected = row;
    dialog = CreateDialogParamA(app.resources, MAKEINTRESOURCEA(view == 3 ? IDD_GROUP : IDD_ENTRY),
                                app.list, view == 3 ? GroupDialogProc : EntryDialogProc, 0);
    if (dialog != nullptr) ShowWindow(dialog, SW_SHOW);
    return dialog;
  }
  HWND Item(int id) { return GetDlgItem(dialog, id); }
  std::string ItemText(int id) { return Text(Item(id)); }
  void Type(int id, const char* text) { SetDlgItemTextA(dialog, id, text); }
  void Press(int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  bool Visible(int id) { return IsWindowVisible(Item(id)) != 0; }
  std::string LastMessage() { return prompts.messages.empty() ? "" : prompts.messages.back().text; }
  int NameColumn() const { return Japanese() ? 2 : 1; }  // where the name shows
  int Address() const { return Japanese() ? 3 : 2; }

  App app;
  ScriptedPrompts prompts;
  HWND window = nullptr;
  HWND dialog = nullptr;
  HMODULE japanese = nullptr;
  std::string folder;
};

TEST_P(AddressBook, ViewsShowEveryKindOfEntry) {
  const int f = Japanese() ? 0 : 1;
  View(1);
  ASSERT_EQ(Rows(app.list), 32);
  EXPECT_EQ(ColumnTitle(app.list, 0), "NO.");
  EXPECT_EQ(ColumnTitle(app.list, 2), Japanese() ? "Name2" : "Address");
  EXPECT_EQ(ColumnTitle(app.list, 11 - f), "Coding");
  EXPECT_EQ(CellOf(app.list, 0, 0), "01");
  EXPECT_EQ(CellOf(app.list, 0, 1), Japanese() ? "N2" : "Office");
  EXPECT_EQ(CellOf(app.list, 0, 3 - f), "0123456");
  EXPECT_EQ(CellOf(app.list, 0, 4 - f), "11");
  EXPECT_EQ(CellOf(app.list, 0, 6 - f), "14:05");
  EXPECT_EQ(CellOf(app.list, 0, 7 - f), "14.4K");
  EXPECT_EQ(CellOf(app.list, 1, 3 - f), "desk@example.com");
  EXPECT_EQ(CellOf(app.list, 1, 8 - f), "Advanced");
  EXPECT_EQ(CellOf(app.list, 1, 11 - f), "MMR");
  EXPECT_EQ(IconOf(app.list, 2), 5) << "a group key";
  EXPECT_EQ(CellOf(app.list, 2, NameColumn()), "Team");
  EXPECT_EQ(CellOf(app.list, 2, 3 - f), "");
  EXPECT_EQ(CellOf(app.list, 3, 1), "") << "a combination key has no name";
  EXPECT_EQ(CellOf(app.list, 3, 3 - f), "555+");
  EXPECT_EQ(CellOf(app.list, 29, 1), "PROGRAM DIAL");
  EXPECT_EQ(IconOf(app.list, 10), 12);

  View(2);
  ASSERT_EQ(Rows(app.list), 240);
  EXPECT_EQ(ColumnTitle(app.list, 6 - f), "Speed");
  EXPECT_EQ(CellOf(app.list, 0, 0), "001");
  EXPECT_EQ(CellOf(app.list, 0, 3 - f), "777");
  EXPECT_EQ(IconOf(app.list, 1), 8);
  EXPECT_EQ(CellOf(app.list, 6, 1), "PROGRAM DIAL");
  EXPECT_EQ(CellOf(app.list, 6, 3 - f), "999") << "a program Speed Dial shows its number";

  View(3);
  ASSERT_EQ(Rows(app.list), 32);
  EXPECT_EQ(ColumnTitle(app.list, 3 - f), "-") << "no address column";
  EXPECT_EQ(IconOf(app.list, 2), 9);
  EXPECT_EQ(IconOf(app.list, 0), 11);
  Select(app.list, 2);
  ASSERT_EQ(Rows(app.memberList), 2);
  EXPECT_EQ(CellOf(app.memberList, 0, 0), Japanese() ? "01  N2" : "01  Office");
  EXPECT_EQ(CellOf(app.memberList, 1, 0), Japanese() ? "06  N2" : "06  Depot");
}

TEST_P(AddressBook, EntryDialogLayoutAndFilters) {
  ASSERT_NE(Open(1, 10), nullptr);
  EXPECT_EQ(Text(dialog), "Register One Touch #11");
  EXPECT_EQ(ItemText(IDC_ENTRY_REGISTER_FRAME), "Register");
  EXPECT_EQ(ItemText(IDC_ENTRY_NAME2_LABEL), Japanese() ? "Name2" : "&Name:");
  EXPECT_EQ(Visible(IDC_ENTRY_NAME2_EDIT), Japanese());
  EXPECT_EQ(ItemText(IDC_ENTRY_NUMBER_LABEL), "&Phone Number:");
  EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ENTRY_SPEED_33600), BST_CHECKED) << "new entry";
  EXPECT_EQ(GetFocus(), Item(Japanese() ? IDC_ENTRY_NAME2_EDIT : IDC_ENTRY_NAME_EDIT));
  if (!Japanese()) {
    RECT r;
    GetWindowRect(Item(IDC_ENTRY_NAME_EDIT), &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 115);
    // The frame around the fields closes under SID, with no empty band.
    RECT frame, sid;
    GetWindowRect(Item(IDC_ENTRY_FIELDS_FRAME), &frame);
    GetWindowRect(Item(IDC_ENTRY_SID), &sid);
    EXPECT_LT(frame.bottom - sid.bottom, 30);
  }

  // A letter typed into the phone number goes, the caret stays where it was.
  Type(IDC_ENTRY_NUMBER, "12a34");
  EXPECT_EQ(ItemText(IDC_ENTRY_NUMBER), "1234");
  DWORD start = 0, end = 0;
  SendMessageA(Item(IDC_ENTRY_NUMBER), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 2u);
  EXPECT_STREQ(app.scratch.number, "1234");
  Type(IDC_ENTRY_NUMBER, "1P 2-3");
  EXPECT_EQ(ItemText(IDC_ENTRY_NUMBER), "1P 2-3");
  Type(IDC_ENTRY_SUB, "1P 2-3");
  EXPECT_EQ(ItemText(IDC_ENTRY_SUB), "123") << "each rewrite is filtered again";
  Type(IDC_ENTRY_SID, "9x");
  EXPECT_EQ(ItemText(IDC_ENTRY_SID), "9");
  Type(IDC_ENTRY_HOUR, "1:");
  EXPECT_EQ(ItemText(IDC_ENTRY_HOUR), "1");
  Type(IDC_ENTRY_NAME_EDIT, "Sa\\les");
  EXPECT_EQ(ItemText(IDC_ENTRY_NAME_EDIT), "Sales");
  EXPECT_STREQ(app.scratch.name, "Sales");

  // E-mail: the address field takes the number's place.
  Press(IDC_ENTRY_EMAIL);
  EXPECT_FALSE(Visible(IDC_ENTRY_NUMBER));
  EXPECT_TRUE(Visible(IDC_ENTRY_ADDRESS));
  EXPECT_EQ(ItemText(IDC_ENTRY_NUMBER_LABEL), " A&ddress:");
  EXPECT_STREQ(app.scratch.number, "");
  Type(IDC_ENTRY_ADDRESS, "a<b@c.d");
  EXPECT_EQ(ItemText(IDC_ENTRY_ADDRESS), "ab@c.d");
  EXPECT_FALSE(Visible(IDC_ENTRY_SIZE));
  Press(IDC_ENTRY_ADVANCED);
  EXPECT_TRUE(Visible(IDC_ENTRY_SIZE));
  EXPECT_EQ(SendMessageA(Item(IDC_ENTRY_SIZE), CB_GETCOUNT, 0, 0), 5) << "address book only";
  Press(IDC_ENTRY_FAX);
  EXPECT_STREQ(app.scratch.email, "") << "Fax -> E-Mail -> Fax clears both";
  EXPECT_EQ(ItemText(IDC_ENTRY_NUMBER), "");
}

TEST_P(AddressBook, OkChecksShowTheirMessageAndFocusTheField) {
  ASSERT_NE(Open(1, 10), nullptr);
  struct Step {
    const char *hour, *minute, *number;
    const char* message;
    int focus;
  };
  const Step steps[] = {
      {"7", "", "1", "Invalid value : must be within 0 to 59 !", IDC_ENTRY_MINUTE},
      {"", "5", "1", "Invalid value : must be within 0 to 23 !", IDC_ENTRY_HOUR},
      {"24", "00", "1", "Invalid value : must be within 0 to 23 !", IDC_ENTRY_HOUR},
      {"12", "60", "1", "Invalid value : must be within 0 to 59 !", IDC_ENTRY_MINUTE},
      {"", "", "", "Phone number must be specified !", IDC_ENTRY_NUMBER},
  };
  for (const Step& s : steps) {
    Type(IDC_ENTRY_HOUR, s.hour);
    Type(IDC_ENTRY_MINUTE, s.minute);
    Type(IDC_ENTRY_NUMBER, s.number);
    prompts.messages.clear();
    Press(IDOK);
    ASSERT_EQ(prompts.messages.size(), 1u) << s.message;
    EXPECT_EQ(LastMessage(), s.message);
    EXPECT_EQ(prompts.messages.back().caption, "Device Configurator - ODC");
    EXPECT_EQ(prompts.messages.back().owner, dialog);
    EXPECT_EQ(GetFocus(), Item(s.focus)) << s.message;
    EXPECT_EQ(app.data->OneTouchEntry(10)[2], 0) << "nothing written";
  }
  Type(IDC_ENTRY_HOUR, "");
  Type(IDC_ENTRY_MINUTE, "");
  Press(IDC_ENTRY_EMAIL);
  Press(IDOK);
  EXPECT_EQ(LastMessage(), "E-Mail address  must be specified !");
  EXPECT_EQ(GetFocus(), Item(IDC_ENTRY_ADDRESS));
  Type(IDC_ENTRY_ADDRESS, "a@b@c.d");
  Press(IDOK);
  EXPECT_EQ(LastMessage().rfind("E-Mail address is invalid !\n\nExample:", 0), 0u);
  EXPECT_EQ(app.data->OneTouchEntry(10)[2], 0);
}

TEST_P(AddressBook, RegisteringFaxAndEmailEntriesChangesRowsAndTheSavedFile) {
  ASSERT_NE(Open(1, 10), nullptr);
  Type(IDC_ENTRY_NAME_EDIT, "Sales");
  Type(IDC_ENTRY_NUMBER, "0612345");
  Type(IDC_ENTRY_SUB, "12");
  Type(IDC_ENTRY_HOUR, "9");
  Type(IDC_ENTRY_MINUTE, "30");
  Press(IDC_ENTRY_SPEED_9600);
  Press(IDOK);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  const int f = Japanese() ? 0 : 1;
  EXPECT_EQ(CellOf(app.list, 10, NameColumn()), "Sales");
  EXPECT_EQ(CellOf(app.list, 10, 3 - f), "0612345");
  EXPECT_EQ(CellOf(app.list, 10, 6 - f), "09:30");
  EXPECT_EQ(CellOf(app.list, 10, 7 - f), "9.6K");
  EXPECT_TRUE(app.modified);
  DisplayRecord stored;
  UnpackOneTouch(stored, *app.data, 10);
  EXPECT_STREQ(stored.number, "0612345");
  EXPECT_EQ(stored.speedIndex, 0);
  EXPECT_NE(stored.registrationDate, 0);
  DestroyWindow(dialog);

  // An e-mail Speed Dial.
  ASSERT_NE(Open(2, 99), nullptr);
  EXPECT_EQ(Text(dialog), "Register Speed Dial #100");
  EXPECT_FALSE(Visible(IDC_ENTRY_HOUR)) << "Speed Dials have no batch time";
  Press(IDC_ENTRY_EMAIL);
  Type(IDC_ENTRY_NAME_EDIT, "Desk");
  Type(IDC_ENTRY_ADDRESS, "desk@example.org");
  Press(IDOK);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_EQ(CellOf(app.list, 99, 3 - f), "desk@example.org");
  EXPECT_EQ(IconOf(app.list, 99), 8);

  const std::string path = folder + (Japanese() ? "book_ja.DAT" : "book.DAT");
  prompts.files = {path};
  Command(ID_FILE_SAVE_AS);
  auto reread = std::make_unique<DataSet>();
  ASSERT_EQ(ReadDataFile(*reread, path), 1);
  reread->language = app.data->language;
  UnpackTransferImage(*reread);
  UnpackSpeedDial(stored, *reread, 99);
  EXPECT_STREQ(stored.email, "desk@example.org");
  EXPECT_STREQ(stored.name, "Desk");
  UnpackOneTouch(stored, *reread, 10);
  EXPECT_STREQ(stored.number, "0612345");
}

TEST_P(AddressBook, EditingACombinationKeyTakesItOutOfEveryGroup) {
  // Key 4 joins the group first, as loaded data could have it.
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "Pair");
  PackGroup(*app.data, group, {{kMemberOneTouch, 3, 0}}, {}, 20);
  ASSERT_NE(Open(1, 3), nullptr);
  EXPECT_EQ(Text(dialog), "Register One Touch #04 (Combination Key)");
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_ENTRY_NAME_EDIT)));
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_ENTRY_NUMBER)));
  EXPECT_EQ(GetFocus(), Item(IDC_ENTRY_NUMBER));
  Press(IDOK);
  EXPECT_EQ(app.data->OneTouchEntry(20)[2], 0) << "its only group emptied";
  EXPECT_EQ(IconOf(app.list, 20), 12) << "and its row redrawn";
}

TEST_P(AddressBook, GroupDialogMovesMembersAndRegisters) {
  ASSERT_NE(Open(3, 12), nullptr);
  EXPECT_EQ(Text(dialog), "Register Group #013");
  EXPECT_EQ(ItemText(IDC_GROUP_NAME2_LABEL), Japanese() ? "&Group name2 :" : "&Group name :");
  HWND oneTouch = Item(IDC_GROUP_ONE_TOUCH_LIST);
  HWND members = Item(IDC_GROUP_MEMBERS);
  HWND speedDials = Item(IDC_GROUP_SPEED_DIAL_LIST);
  // Keys 1, 2 (e-mail) and 3 (group); not the combination key 4 nor the
  // program key 30.
  ASSERT_EQ(Rows(oneTouch), 3);
  EXPECT_EQ(CellOf(oneTouch, 2, 0), "003");
  EXPECT_EQ(IconOf(oneTouch, 2), 5);
  EXPECT_EQ(Rows(speedDials), 4) << "program Speed Dials are offered";
  EXPECT_EQ(CellOf(speedDials, 3, 1), "PROGRAM DIAL");
  // Choosing the group key brings its members.
  Select(oneTouch, 2);
  Press(IDC_GROUP_ADD_ONE_TOUCH);
  ASSERT_EQ(Rows(members), 2);
  EXPECT_EQ(CellOf(members, 0, 0), "001");
  EXPECT_EQ(CellOf(members, 1, 0), "006");
  EXPECT_EQ(Rows(oneTouch), 1) << "keys 1 and 3 left the candidates";
  EXPECT_EQ(Rows(speedDials), 3);
  // Two Speed Dials in one pass.
  Select(speedDials, 0);
  Select(speedDials, 1, false);
  Press(IDC_GROUP_ADD_SPEED_DIAL);
  EXPECT_EQ(Rows(members), 4);
  // A member back out reappears at its sorted place.
  Select(members, 0);
  Press(IDC_GROUP_DELETE_SELECTED);
  EXPECT_EQ(Rows(members), 3);
  ASSERT_EQ(Rows(oneTouch), 2);
  EXPECT_EQ(CellOf(oneTouch, 0, 0), "001");

  Press(IDOK);
  EXPECT_EQ(LastMessage(), Japanese() ? "Group name2 Required !" : "Group name Required !");
  Type(IDC_ENTRY_NAME_EDIT, "Night");
  prompts.messages.clear();
  Press(IDOK);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_EQ(IconOf(app.list, 12), 9);
  EXPECT_EQ(CellOf(app.list, 12, NameColumn()), "Night");
  DisplayRecord stored;
  UnpackGroup(stored, *app.data, 12);
  ASSERT_EQ(stored.memberCount, 3);
  EXPECT_EQ(stored.members[0].kind, kMemberSpeedDial);
}

TEST_P(AddressBook, GroupDialogStopsAtFiftyMembers) {
  for (int s = 10; s < 70; ++s) {
    DisplayRecord r = Fax("Many", "123");
    r.entryType = kEntrySpeedDial;
    PackSpeedDial(*app.data, r, s);
  }
  ASSERT_NE(Open(3, 12), nullptr);
  HWND speedDials = Item(IDC_GROUP_SPEED_DIAL_LIST);
  HWND members = Item(IDC_GROUP_MEMBERS);
  ASSERT_EQ(Rows(speedDials), 64);
  for (int row = 0; row < 52; ++row) Select(speedDials, row, row == 0);
  Press(IDC_GROUP_ADD_SPEED_DIAL);
  EXPECT_EQ(Rows(members), 50);
  EXPECT_EQ(Rows(speedDials), 14);
  Select(speedDials, 0);
  Press(IDC_GROUP_ADD_SPEED_DIAL);
  EXPECT_EQ(Rows(members), 50) << "full";
  Select(Item(IDC_GROUP_ONE_TOUCH_LIST), 0);
  Press(IDC_GROUP_ADD_ONE_TOUCH);
  EXPECT_EQ(Rows(members), 50);
  Press(IDOK);  // no name
  Press(IDCANCEL);
  EXPECT_EQ(app.data->OneTouchEntry(12)[2], 0) << "cancelled";
}

TEST_P(AddressBook, CutCopyPasteDeleteWithTheGroupCleanUp) {
  View(1);
  // Copy key 1, paste it on key 21.
  Select(app.list, 0);
  Command(ID_EDIT_COPY);
  EXPECT_EQ(app.clipboardSlots[0], 0);
  Select(app.list, 20);
  Command(ID_EDIT_PASTE);
  EXPECT_EQ(CellOf(app.list, 20, Address()), "0123456");
  EXPECT_TRUE(app.pasteMarker);
  // Refused on the program key and on the group key.
  Select(app.list, 29);
  Command(ID_EDIT_PASTE);
  EXPECT_EQ(app.data->OneTouchEntry(29)[2], kFlagProgram);
  EXPECT_EQ(CellOf(app.list, 29, 1), "PROGRAM DIAL");
  Select(app.list, 2);
  Command(ID_EDIT_PASTE);
  EXPECT_EQ(IconOf(app.list, 2), 5) << "the group stays";

  // Deleting Speed Dial 6 takes it out of the group on key 3.
  View(2);
  Select(app.list, 5);
  Command(ID_EDIT_DELETE);
  EXPECT_EQ(IconOf(app.list, 5), 12);
  DisplayRecord group;
  UnpackGroup(group, *app.data, 2);
  ASSERT_EQ(group.memberCount, 1);
  EXPECT_EQ(group.members[0].kind, kMemberOneTouch);

  // Cutting key 1, the group's only member now, empties the group and
  // redraws its row.
  View(1);
  Select(app.list, 0);
  Command(ID_EDIT_CUT);
  EXPECT_EQ(app.clipboardSlots[0], 0);
  EXPECT_EQ(IconOf(app.list, 0), 12);
  EXPECT_EQ(app.data->OneTouchEntry(2)[2], 0);
  EXPECT_EQ(IconOf(app.list, 2), 12);
  EXPECT_EQ(CellOf(app.list, 2, NameColumn()), "");
  // The transfer image follows.
  EXPECT_EQ(app.data->records[2].data[2], 0);
}

TEST_P(AddressBook, OpeningAnIndividualKeyInTheGroupViewAsksFirst) {
  View(3);
  Select(app.list, 0);
  prompts.answers = {IDNO};
  OpenSelectedEntry(app);
  EXPECT_EQ(LastMessage(), "This key is already used by One Touch,\nDo you want to overwrite it ?");
  EXPECT_EQ(prompts.messages.back().caption, "Warning");
  EXPECT_NE(app.data->OneTouchEntry(0)[2], 0);
}

// After an import of either earlier format every kind of edit stays made:
// in the lists after switching views, in the saved file and in the upload.
// (Paste and the entry dialog's OK come last: each also switches the lists
// to the tables for good, which would hide a fault of the edits after it.)
TEST_P(AddressBook, EditsAfterAForeignImportStayMade) {
  auto* machine = new SimulatedMachine(0);
  app.usb.reset(machine);
  app.link = std::make_unique<MachineLink>(*app.usb);
  const int f = Japanese() ? 0 : 1;

  struct Edit {
    const char* name;
    std::function<void()> make;
    // What the lists show afterwards: view, row, column, text.
    int view, row, column;
    std::string text;
    std::function<void(DataSet&, const std::string&)> check;
  };
  const Edit edits[] = {
      {"Delete with the group clean-up",
       [&] {
         View(2);
         Select(app.list, 0);
         Command(ID_EDIT_DELETE);
       },
       2, 0, 3 - f, "",
       [](DataSet& set, const std::string& where) {
         DisplayRecord r;
         UnpackSpeedDial(r, set, 0);
         EXPECT_EQ(r.inUse, 0) << where;
         UnpackGroup(r, set, 2);
         ASSERT_EQ(r.memberCount, 1) << where;
         EXPECT_EQ(r.members[0].kind, kMemberOneTouch) << where;
       }},
      {"Cut",
       [&] {
         View(1);
         Select(app.list, 0);
         Command(ID_EDIT_CUT);
       },
       1, 0, 3 - f, "",
       [](DataSet& set, const std::string& where) {
         DisplayRecord r;
         UnpackOneTouch(r, set, 0);
         EXPECT_EQ(r.inUse, 0) << where;
         UnpackGroup(r, set, 2);
         ASSERT_EQ(r.memberCount, 1) << where;
         EXPECT_EQ(r.members[0].kind, kMemberSpeedDial) << where;
       }},
      {"Group dialog OK",
       [&] {
         ASSERT_NE(Open(3, 11), nullptr);
         HWND candidates = Item(IDC_GROUP_ONE_TOUCH_LIST);
         Select(candidates, RowNumbered(candidates, "002"));
         Press(IDC_GROUP_ADD_ONE_TOUCH);
         Type(IDC_ENTRY_NAME_EDIT, "Night");
         Press(IDOK);
         DestroyWindow(dialog);
       },
       3, 11, NameColumn(), "Night",
       [](DataSet& set, const std::string& where) {
         DisplayRecord r;
         UnpackGroup(r, set, 11);
         EXPECT_EQ(r.entryType, kEntryGroup) << where;
         EXPECT_STREQ(r.name, "Night") << where;
         ASSERT_EQ(r.memberCount, 1) << where;
         EXPECT_EQ(r.members[0].index, 1) << where;
       }},
      {"Paste",
       [&] {
         View(1);
         Select(app.list, 1);
         Command(ID_EDIT_COPY);
         Select(app.list, 9);
         Command(ID_EDIT_PASTE);
       },
       1, 9, 3 - f, "5555",
       [](DataSet& set, const std::string& where) {
         DisplayRecord r;
         UnpackOneTouch(r, set, 9);
         EXPECT_STREQ(r.number, "5555") << where;
       }},
      {"Entry dialog OK",
       [&] {
         ASSERT_NE(Open(1, 1), nullptr);
         Type(IDC_ENTRY_NAME_EDIT, "Renamed");
         Press(IDOK);
         DestroyWindow(dialog);
       },
       1, 1, NameColumn(), "Renamed",
       [](DataSet& set, const std::string& where) {
         DisplayRecord r;
         UnpackOneTouch(r, set, 1);
         EXPECT_STREQ(r.name, "Renamed") << where;
         EXPECT_STREQ(r.number, "5555") << where;
       }},
  };

  for (int format : {1, 2}) {
    WriteAll(folder + "book" + std::to_string(format) + ".CMC", CmcAddressBook(format));
  }
  for (const Edit& edit : edits) {
    for (int format : {1, 2}) {
      const std::string source = folder + "book" + std::to_string(format) + ".CMC";
      const std::string what = std::string(edit.name) + ", format " + std::to_string(format);
      prompts.files = {source};
      prompts.answers = {IDYES};
      Command(ID_FILE_IMPORT);
      ASSERT_EQ(app.document.dataOrigin, format) << what;
      View(1);
      ASSERT_EQ(CellOf(app.list, 0, NameColumn()), "Legacy") << what;
      prompts.messages.clear();
      edit.make();
      EXPECT_TRUE(prompts.messages.empty()) << what << ": " << LastMessage();

      // Every view refilled, then the edited one shown again.
      for (int view : {1, 2, 3, 1, 2, 3}) View(view);
      View(edit.view);
      EXPECT_EQ(CellOf(app.list, edit.row, edit.column), edit.text) << what << ", list";
      edit.check(*app.data, what + ", tables");
      DisplayRecord untouched;
      UnpackSpeedDial(untouched, *app.data, 1);
      EXPECT_STREQ(untouched.name, "Two") << what;

      const std::string saved = folder + "saved" + std::to_string(format) + ".DAT";
      prompts.files = {saved};
      Command(ID_FILE_SAVE_AS);
      auto reread = std::make_unique<DataSet>();
      ASSERT_EQ(ReadDataFile(*reread, saved), 1) << what;
      reread->language = app.data->language;
      UnpackTransferImage(*reread);
      edit.check(*reread, what + ", saved file");

      prompts.answers = {IDYES};
      const int uploads = machine->uploads();
      Command(ID_MACHINE_UPLOAD);
      ASSERT_EQ(machine->uploads(), uploads + 1) << what;
      auto uploaded = std::make_unique<DataSet>();
      std::memcpy(uploaded->records, machine->memory().records, sizeof uploaded->records);
      uploaded->language = app.data->language;
      UnpackTransferImage(*uploaded);
      edit.check(*uploaded, what + ", upload");
    }
  }
}

// In a double-byte language the name check's corrected Name2 is what is
// stored: a two-byte character starts on an even byte, so "a" + "あ" is kept
// as "a", a space and the character, and reads back the same.
TEST_P(AddressBook, Name2IsStoredAsTheCheckCorrectedIt) {
  if (!Japanese()) GTEST_SKIP() << "Name2 exists in double-byte languages only";
  const char typed[] = "a\x82\xa0";
  const char corrected[] = "a \x82\xa0";
  ASSERT_NE(Open(1, 10), nullptr);
  Type(IDC_ENTRY_NAME2_EDIT, typed);
  Type(IDC_ENTRY_NAME_EDIT, "N");
  Type(IDC_ENTRY_NUMBER, "1");
  Press(IDOK);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  DisplayRecord stored;
  UnpackOneTouch(stored, *app.data, 10);
  EXPECT_STREQ(stored.name2, corrected);
  DestroyWindow(dialog);

  ASSERT_NE(Open(3, 12), nullptr);
  Select(Item(IDC_GROUP_ONE_TOUCH_LIST), 0);
  Press(IDC_GROUP_ADD_ONE_TOUCH);
  Type(IDC_ENTRY_NAME2_EDIT, typed);
  Type(IDC_ENTRY_NAME_EDIT, "G");
  Press(IDOK);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  UnpackGroup(stored, *app.data, 12);
  EXPECT_EQ(stored.entryType, kEntryGroup);
  EXPECT_STREQ(stored.name2, corrected);
}

// Enter in one of the Group dial dialog's lists does what a double-click
// there does; it neither registers the group nor closes the dialog.
TEST_P(AddressBook, EnterInAGroupListRunsItsButton) {
  ASSERT_NE(Open(3, 12), nullptr);
  Type(IDC_ENTRY_NAME_EDIT, "Night");
  auto enter = [this](int listId) {
    HWND list = Item(listId);
    SetFocus(list);
    MSG key = {};
    key.hwnd = list;
    key.message = WM_KEYDOWN;
    key.wParam = VK_RETURN;
    IsDialogMessageA(dialog, &key);
  };
  HWND members = Item(IDC_GROUP_MEMBERS);
  Select(Item(IDC_GROUP_ONE_TOUCH_LIST), 0);
  enter(IDC_GROUP_ONE_TOUCH_LIST);
  ASSERT_EQ(Rows(members), 1) << ">>";
  Select(Item(IDC_GROUP_SPEED_DIAL_LIST), 0);
  enter(IDC_GROUP_SPEED_DIAL_LIST);
  ASSERT_EQ(Rows(members), 2) << "<<";
  Select(members, 1);
  enter(IDC_GROUP_MEMBERS);
  EXPECT_EQ(Rows(members), 1) << "Delete Selected";
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_TRUE(IsWindowVisible(dialog)) << "still open";
  EXPECT_EQ(app.data->OneTouchEntry(12)[2], 0) << "nothing registered";
  // Enter on the name edit is still OK.
  SetFocus(Item(IDC_ENTRY_NAME_EDIT));
  MSG key = {};
  key.hwnd = Item(IDC_ENTRY_NAME_EDIT);
  key.message = WM_KEYDOWN;
  key.wParam = VK_RETURN;
  IsDialogMessageA(dialog, &key);
  EXPECT_EQ(app.data->OneTouchEntry(12)[2], kFlagGroup) << "registered";
}

// A language module that translates the default file name and brings its
// own default data set.
class TranslatedModule : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MainWindowClassRegistered());
    app.instance = GetModuleHandleA(nullptr);
    module = LoadLibraryA(ODC_SETUP_TRANSLATED_DLL_PATH);
    ASSERT_NE(module, nullptr);
    app.resources = module;
    app.prompts = &prompts;
    window = CreateMainWindow(app, SW_HIDE);
    ASSERT_NE(window, nullptr);
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    folder = std::string(dir) + "odc_translated_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, previousDir);
    SetCurrentDirectoryA(folder.c_str());
  }
  void TearDown() override {
    SetCurrentDirectoryA(previousDir);
    app.modified = false;
    if (IsWindow(window)) DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    if (module != nullptr) FreeLibrary(module);
  }
  void Command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }

  App app;
  ScriptedPrompts prompts;
  HWND window = nullptr;
  HMODULE module = nullptr;
  std::string folder;
  char previousDir[MAX_PATH] = {};
};

TEST_F(TranslatedModule, NewReadsTheModulesDefaultDataSet) {
  Command(ID_FILE_NEW);
  ASSERT_EQ(app.words.dataLoaded, 1);
  EXPECT_EQ(Text(window), "Device Configurator - ODC - NouveauFichier.Dat");
  Command(ID_VIEW_ONE_TOUCH);
  EXPECT_EQ(CellOf(app.list, 0, 1), "Maison");
  EXPECT_EQ(CellOf(app.list, 0, 2), "1234");
  EXPECT_EQ(IconOf(app.list, 1), 12);
}

TEST_F(TranslatedModule, SaveOfANewDataSetAsksForAName) {
  Command(ID_FILE_NEW);
  ASSERT_TRUE(app.modified);
  prompts.files = {""};  // the user cancels the file dialog
  Command(ID_FILE_SAVE);
  ASSERT_EQ(prompts.dialogs.size(), 1u);
  EXPECT_EQ(prompts.dialogs[0].mode, FileDialogMode::Save);
  EXPECT_EQ(GetFileAttributesA((folder + "\\NouveauFichier.Dat").c_str()), INVALID_FILE_ATTRIBUTES)
      << "nothing written without asking";
  EXPECT_TRUE(app.modified);
}

INSTANTIATE_TEST_SUITE_P(Languages, AddressBook, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Japanese" : "English";
                         });

}  // namespace
}  // namespace odc
