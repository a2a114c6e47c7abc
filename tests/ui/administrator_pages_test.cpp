// The Administrator Mode page and its dialogs driven through the in-memory
// surface: starting values, edits, every refusal with its message and focus.
#include "setup/settings/administrator_pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "setup/res/resource.h"
#include "tests/ui/page_test_fixture.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kPermission = 0x10300, kTrackMode = 0x10301, kMonitor = 0x10304,
                   kRemotePassword = 0x10305;
const char* const kPasswordRange = "Invalid password : must be within 0000 to 9999 !";
const char* const kPasswordIncorrect = "Password is not correct !";
const char* const kAccessRange = "Invalid access number : must be within 001 to 999 !";

class AdministratorTest : public PageTest {
 protected:
  void OpenPage() {
    s.RadioGroup({IDC_AM_LIMITED, IDC_AM_FULL, IDC_AM_OFF});
    PageTest::OpenPage(CreateAdministratorModePage);
  }
};

TEST_F(AdministratorTest, PageShowsTheStoredValues) {
  struct Case {
    uint32_t permission, monitor, password;
    bool shutOffChecked;
    int selected;  // 0: no button
    const char* passwordText;
    bool passwordEnabled;
  };
  const Case cases[] = {
      {0, 0, 42, true, IDC_AM_LIMITED, "0042", false},
      {1, 1, 9999, false, IDC_AM_FULL, "9999", true},
      {0, 2, 0, true, IDC_AM_OFF, "0000", false},
      {5, 7, 12, false, 0, "0012", false},  // codes the page does not know
      {0, 1, 0xFFFFFFFF, true, IDC_AM_FULL, "4294967295", true},
  };
  for (const Case& c : cases) {
    Stored(kPermission, c.permission);
    Stored(kMonitor, c.monitor);
    Stored(kRemotePassword, c.password);
    s = MemorySurface();
    OpenPage();
    SCOPED_TRACE(c.monitor);
    EXPECT_EQ(s.IsChecked(IDC_AM_SHUT_OFF), c.shutOffChecked);
    for (int id : {IDC_AM_LIMITED, IDC_AM_FULL, IDC_AM_OFF})
      EXPECT_EQ(s.IsChecked(id), id == c.selected) << id;
    EXPECT_EQ(s.At(IDC_AM_REMOTE_PASSWORD).text, c.passwordText);
    EXPECT_EQ(s.IsEnabled(IDC_AM_REMOTE_PASSWORD), c.passwordEnabled);
    // Nothing is rewritten by opening the page.
    EXPECT_EQ(GetSetting(data, kMonitor), c.monitor);
    EXPECT_EQ(GetSetting(data, kPermission), c.permission);
    EXPECT_EQ(s.At(IDC_AM_REMOTE_GROUP).text, "Remote Monitor");
    EXPECT_EQ(s.At(IDC_AM_CHANGE_ADMIN).text, "Change Admin &No.");
    EXPECT_FALSE(ui.IsChanged(PageId::AdministratorMode));
  }
}

TEST_F(AdministratorTest, EditsAreStoredAtOnce) {
  Stored(kMonitor, 0);
  OpenPage();
  s.Click(*driver, IDC_AM_SHUT_OFF);  // checked -> unchecked
  EXPECT_EQ(GetSetting(data, kPermission), 1u);
  s.Click(*driver, IDC_AM_SHUT_OFF);
  EXPECT_EQ(GetSetting(data, kPermission), 0u);
  EXPECT_TRUE(ui.IsChanged(PageId::AdministratorMode));

  s.Click(*driver, IDC_AM_FULL);
  EXPECT_EQ(GetSetting(data, kMonitor), 1u);
  EXPECT_TRUE(s.IsEnabled(IDC_AM_REMOTE_PASSWORD));
  s.Type(*driver, IDC_AM_REMOTE_PASSWORD, "12a");
  EXPECT_EQ(s.At(IDC_AM_REMOTE_PASSWORD).text, "12");
  EXPECT_EQ(s.At(IDC_AM_REMOTE_PASSWORD).selStart, 2);
  EXPECT_EQ(GetSetting(data, kRemotePassword), 12u);
  s.Type(*driver, IDC_AM_REMOTE_PASSWORD, "0815");
  EXPECT_EQ(GetSetting(data, kRemotePassword), 815u);
  EXPECT_EQ(s.At(IDC_AM_REMOTE_PASSWORD).limit, 4);
  s.Click(*driver, IDC_AM_OFF);
  EXPECT_EQ(GetSetting(data, kMonitor), 2u);
  EXPECT_FALSE(s.IsEnabled(IDC_AM_REMOTE_PASSWORD));

  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Image(kMonitor), 2u);
  EXPECT_EQ(Image(kRemotePassword), 815u);
  EXPECT_FALSE(ui.IsChanged(PageId::AdministratorMode));
}

TEST_F(AdministratorTest, ShortRemotePasswordIsRefusedOnlyWhenFull) {
  Stored(kMonitor, 1);
  Stored(kRemotePassword, 1234);
  OpenPage();
  s.Type(*driver, IDC_AM_REMOTE_PASSWORD, "12");
  const int marked = s.changedCount;
  EXPECT_FALSE(driver->KillActive(s));
  EXPECT_EQ(s.messages, std::vector<std::string>{kPasswordRange});
  EXPECT_EQ(s.focus, IDC_AM_REMOTE_PASSWORD);
  EXPECT_EQ(s.At(IDC_AM_REMOTE_PASSWORD).selEnd, 2);
  EXPECT_GT(s.changedCount, marked);

  // A refused apply packs nothing and keeps the sheet on the page.
  EXPECT_FALSE(driver->Apply(s));
  EXPECT_EQ(Image(kRemotePassword), 1234u);
  EXPECT_EQ(s.showPageCount, 1);
  EXPECT_TRUE(ui.IsChanged(PageId::AdministratorMode));

  // Limited or Off: the password is not looked at.
  for (int button : {IDC_AM_LIMITED, IDC_AM_OFF}) {
    s.Click(*driver, button);
    s.messages.clear();
    EXPECT_TRUE(driver->KillActive(s));
    EXPECT_TRUE(s.messages.empty());
  }
  EXPECT_TRUE(driver->Apply(s));
  EXPECT_EQ(Image(kRemotePassword), 12u);
}

TEST_F(AdministratorTest, SubDialogsMarkThePageOnlyWhenEndedWithOk) {
  OpenPage();
  s.Click(*driver, IDC_AM_ACCOUNT_TRACK);  // no script: cancelled
  s.Click(*driver, IDC_AM_CHANGE_ADMIN);
  EXPECT_EQ(s.dialogsRun, (std::vector<int>{IDD_ACCOUNT_TRACK, IDD_CHANGE_ADMIN}));
  EXPECT_FALSE(ui.IsChanged(PageId::AdministratorMode));
  EXPECT_EQ(s.changedCount, 0);

  s.dialogScripts[IDD_ACCOUNT_TRACK] = [](MemorySurface& d, DialogLogic& logic) {
    DialogTarget t{logic};
    d.Click(t, IDC_AT_MODE);
    d.Click(t, kIdOk);
  };
  s.Click(*driver, IDC_AM_ACCOUNT_TRACK);
  EXPECT_EQ(s.lastDialog->endResult, 1);
  EXPECT_TRUE(ui.IsChanged(PageId::AdministratorMode));
}

// ---------------------------------------------------------------------------
// Account Track

class AccountTrackTest : public AdministratorTest {
 protected:
  void Open(int index) {
    ui.accountIndex = index;
    dialog = std::make_unique<AccountTrackDialog>(ctx);
    d = MemorySurface();
    dialog->OnInit(d);
  }
  void Press(int id) {
    DialogTarget t{*dialog};
    d.Click(t, id);
  }
  void TypeAccess(const std::string& text) {
    DialogTarget t{*dialog};
    d.Type(t, IDC_AT_ACCESS, text);
  }
  std::unique_ptr<AccountTrackDialog> dialog;
  MemorySurface d;
};

TEST_F(AccountTrackTest, ShowsTheCurrentId) {
  SetAccessNumber(data, 4, 7);
  data.settings.accountCounters[4] = 4000000000u;
  SetSetting(data, kTrackMode, 0);
  Open(4);
  EXPECT_EQ(d.caption, "Account Track");
  EXPECT_TRUE(d.IsChecked(IDC_AT_MODE));
  EXPECT_EQ(d.At(IDC_AT_ACCESS).text, "007");
  EXPECT_EQ(d.At(IDC_AT_CURRENT_ID).text, "ID #05 : 007");
  EXPECT_EQ(d.At(IDC_AT_COUNTER).text, "4000000000");
  EXPECT_EQ(d.At(IDC_AT_GROUP).text, "Access No. Registration && Account Track Data");

  Open(0);  // an ID without a number
  EXPECT_EQ(d.At(IDC_AT_ACCESS).text, "");
  EXPECT_EQ(d.At(IDC_AT_CURRENT_ID).text, "ID #01 : ");
}

TEST_F(AccountTrackTest, AccessNumberChecks) {
  struct Case {
    const char* typed;
    bool accepted;
    uint16_t stored;  // when accepted
  };
  const Case cases[] = {
      {"", true, 0},     {"123", true, 123}, {"001", true, 1}, {"999", true, 999},
      {"000", false, 0}, {"7", false, 0},    {"42", false, 0}, {"12a", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetAccessNumber(data, 2, 555);
    data.settings.accountCounters[2] = 31;
    Open(2);
    d.At(IDC_AT_ACCESS).text = c.typed;  // as it stands in the edit
    EXPECT_EQ(CheckAccessNumber(d, data, 2), c.accepted ? 1 : 0);
    if (c.accepted) {
      EXPECT_TRUE(d.messages.empty());
      EXPECT_EQ(AccessNumber(data, 2), c.stored);
      // Only an emptied number takes the counter with it.
      EXPECT_EQ(data.settings.accountCounters[2], c.stored ? 31u : 0u);
    } else {
      EXPECT_EQ(d.messages, std::vector<std::string>{kAccessRange});
      EXPECT_EQ(AccessNumber(data, 2), 555);
      EXPECT_EQ(d.focus, IDC_AT_ACCESS);
      EXPECT_EQ(d.At(IDC_AT_ACCESS).selEnd, static_cast<int>(std::strlen(c.typed)));
    }
  }
}

TEST_F(AccountTrackTest, OverwriteQuestionNamesTheOtherId) {
  for (int answer : {kAnswerYes, kAnswerNo}) {
    SCOPED_TRACE(answer);
    SetAccessNumber(data, 0, 100);
    SetAccessNumber(data, 11, 555);
    data.settings.accountCounters[11] = 9;
    Open(0);
    TypeAccess("555");
    d.answers = {answer};
    Press(kIdOk);
    EXPECT_EQ(d.messages, std::vector<std::string>{
                              "This Access No. is exist(ID12), Do you want overwrite it ?"});
    if (answer == kAnswerYes) {
      EXPECT_EQ(d.endResult, 1);
      EXPECT_EQ(AccessNumber(data, 0), 555);
      EXPECT_EQ(AccessNumber(data, 11), 0);
      EXPECT_EQ(data.settings.accountCounters[11], 0u);
    } else {
      EXPECT_EQ(d.endResult, -999);  // still open
      EXPECT_EQ(AccessNumber(data, 0), 100);
      EXPECT_EQ(AccessNumber(data, 11), 555);
      EXPECT_EQ(data.settings.accountCounters[11], 9u);
      EXPECT_EQ(d.focus, IDC_AT_ACCESS);
      EXPECT_EQ(d.At(IDC_AT_ACCESS).selEnd, 3);
    }
  }
}

TEST_F(AccountTrackTest, ARefusedRegistrationClearsNoOtherId) {
  // Two other IDs hold the typed number (a file can bring that). Only Yes
  // for both takes it from them; a No for either changes nothing, whichever
  // was answered first.
  struct Case {
    std::deque<int> answers;
    bool registered;
  };
  const Case cases[] = {
      {{kAnswerYes, kAnswerNo}, false},
      {{kAnswerNo}, false},
      {{kAnswerYes, kAnswerYes}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers.size() * 10 + c.answers.back());
    SetAccessNumber(data, 0, 100);
    data.settings.accountCounters[0] = 5;
    SetAccessNumber(data, 3, 555);
    data.settings.accountCounters[3] = 40;
    SetAccessNumber(data, 7, 555);
    data.settings.accountCounters[7] = 70;
    Open(0);
    TypeAccess("555");
    d.answers = c.answers;
    Press(kIdOk);
    const std::vector<std::string> asked = {
        "This Access No. is exist(ID04), Do you want overwrite it ?",
        "This Access No. is exist(ID08), Do you want overwrite it ?"};
    EXPECT_EQ(d.messages,
              std::vector<std::string>(asked.begin(), asked.begin() + c.answers.size()));
    if (c.registered) {
      EXPECT_EQ(d.endResult, 1);
      EXPECT_EQ(AccessNumber(data, 0), 555);
      EXPECT_EQ(data.settings.accountCounters[0], 5u);
      for (int other : {3, 7}) {
        EXPECT_EQ(AccessNumber(data, other), 0);
        EXPECT_EQ(data.settings.accountCounters[other], 0u);
      }
    } else {
      EXPECT_EQ(d.endResult, -999);
      EXPECT_EQ(AccessNumber(data, 0), 100);
      EXPECT_EQ(AccessNumber(data, 3), 555);
      EXPECT_EQ(data.settings.accountCounters[3], 40u);
      EXPECT_EQ(AccessNumber(data, 7), 555);
      EXPECT_EQ(data.settings.accountCounters[7], 70u);
      EXPECT_EQ(d.focus, IDC_AT_ACCESS);
    }
  }
}

TEST_F(AccountTrackTest, SelectIdStoresThenOffersFiftyIds) {
  SetAccessNumber(data, 49, 42);
  Open(0);
  TypeAccess("321");
  d.menuChoices = {9};
  Press(IDC_AT_SELECT_ID);
  ASSERT_EQ(d.menusShown.size(), 1u);
  EXPECT_EQ(d.menuAnchors, std::vector<int>{IDC_AT_SELECT_ID}) << "shown at the button";
  const std::vector<std::string>& menu = d.menusShown[0];
  ASSERT_EQ(menu.size(), 50u);
  EXPECT_EQ(menu[0], "ID #01 : 321");
  EXPECT_EQ(menu[1], "ID #02 : ");
  EXPECT_EQ(menu[49], "ID #50 : 042");
  EXPECT_EQ(ui.accountIndex, 9);
  EXPECT_EQ(d.At(IDC_AT_CURRENT_ID).text, "ID #10 : ");
  EXPECT_EQ(AccessNumber(data, 0), 321);

  // A refused number shows no menu and keeps the ID.
  TypeAccess("12");
  Press(IDC_AT_SELECT_ID);
  EXPECT_EQ(d.menusShown.size(), 1u);
  EXPECT_EQ(ui.accountIndex, 9);
  EXPECT_EQ(d.messages.back(), kAccessRange);

  // A dismissed menu keeps the ID.
  TypeAccess("");
  Press(IDC_AT_SELECT_ID);
  EXPECT_EQ(d.menusShown.size(), 2u);
  EXPECT_EQ(ui.accountIndex, 9);
}

TEST_F(AccountTrackTest, ClearAndModeAndCancelRestoringEverything) {
  SetAccessNumber(data, 3, 77);
  data.settings.accountCounters[3] = 1234;
  SetSetting(data, kTrackMode, 1);
  SetSetting(data, kAdminNumberId, 123456);
  ui.Changed(PageId::AdministratorMode) = 0;
  const DataSet before = data;
  Open(3);
  EXPECT_FALSE(d.IsChecked(IDC_AT_MODE));
  Press(IDC_AT_MODE);
  EXPECT_EQ(GetSetting(data, kTrackMode), 0u);
  Press(IDC_AT_CLEAR);
  EXPECT_EQ(data.settings.accountCounters[3], 0u);
  EXPECT_EQ(d.At(IDC_AT_COUNTER).text, "0");
  TypeAccess("888");
  d.menuChoices = {20};
  Press(IDC_AT_SELECT_ID);
  EXPECT_EQ(ui.accountIndex, 20);
  ui.Changed(PageId::AdministratorMode) = 1;

  Press(kIdCancel);
  EXPECT_EQ(d.endResult, 0);
  EXPECT_EQ(ui.accountIndex, 3);
  EXPECT_FALSE(ui.IsChanged(PageId::AdministratorMode));
  EXPECT_EQ(std::memcmp(&before.settings, &data.settings, sizeof data.settings), 0);
}

// ---------------------------------------------------------------------------
// Change Admin No.

TEST_F(AdministratorTest, ChangeAdminNumberRefusesInOrder) {
  struct Case {
    const char *current, *typedNew, *confirm;
    const char* message;
    int field;
  };
  const Case cases[] = {
      {"12345", "654321", "654321", kPasswordIncorrect, IDC_CA_CURRENT},  // no leading zero
      {"999999", "654321", "654321", kPasswordIncorrect, IDC_CA_CURRENT},
      {"012345", "65432", "65432", "Invalid password : must be within 000000 to 999999 !",
       IDC_CA_NEW},
      {"012345", "654321", "654320", kPasswordIncorrect, IDC_CA_CONFIRM},
      {"012345", "654321", "", kPasswordIncorrect, IDC_CA_CONFIRM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.current) + "/" + c.typedNew + "/" + c.confirm);
    SetSetting(data, kAdminNumberId, 12345);
    ChangeAdminNumberDialog dialog(data);
    MemorySurface d;
    DialogTarget t{dialog};
    dialog.OnInit(d);
    d.Type(t, IDC_CA_CURRENT, c.current);
    d.Type(t, IDC_CA_NEW, c.typedNew);
    d.Type(t, IDC_CA_CONFIRM, c.confirm);
    d.Click(t, kIdOk);
    EXPECT_EQ(d.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(d.focus, c.field);
    EXPECT_EQ(d.At(c.field).selEnd, static_cast<int>(d.At(c.field).text.size()));
    EXPECT_EQ(d.endResult, -999);
    EXPECT_EQ(GetSetting(data, kAdminNumberId), 12345u);
  }
}

TEST_F(AdministratorTest, ChangeAdminNumberStoresTheNewNumber) {
  SetSetting(data, kAdminNumberId, 12345);
  ChangeAdminNumberDialog dialog(data);
  MemorySurface d;
  DialogTarget t{dialog};
  dialog.OnInit(d);
  EXPECT_EQ(d.caption, "Change Admin No.");
  EXPECT_EQ(d.At(IDC_CA_CONFIRM_LABEL).text, "Conf&irm No.");
  d.Type(t, IDC_CA_CURRENT, "01x234");
  EXPECT_EQ(d.At(IDC_CA_CURRENT).text, "01234");  // the letter is removed
  d.Type(t, IDC_CA_CURRENT, "012345");
  d.Type(t, IDC_CA_NEW, "000042");
  d.Type(t, IDC_CA_CONFIRM, "000042");
  d.Click(t, kIdOk);
  EXPECT_TRUE(d.messages.empty());
  EXPECT_EQ(d.endResult, 1);
  EXPECT_EQ(GetSetting(data, kAdminNumberId), 42u);
  EXPECT_EQ(d.At(IDC_CA_CURRENT).text, "");

  ChangeAdminNumberDialog again(data);
  MemorySurface e;
  again.OnInit(e);
  DialogTarget u{again};
  e.Click(u, kIdCancel);
  EXPECT_EQ(e.endResult, 0);
}

// ---------------------------------------------------------------------------
// Administrator number dialog

TEST_F(AdministratorTest, AdministratorNumberOpensTheSheetOnlyForSixRightDigits) {
  struct Case {
    const char* typed;
    bool opens;
  };
  const Case cases[] = {
      {"012345", true}, {"12345", false}, {"999999", false}, {"", false}, {"0123456", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetSetting(data, kAdminNumberId, 12345);
    int opened = 0;
    std::string textWhileOpen = "?";
    AdministratorNumberDialog dialog(data, [&](ControlSurface& owner) {
      ++opened;
      textWhileOpen = owner.Text(IDC_AN_NUMBER, 128);
    });
    MemorySurface d;
    DialogTarget t{dialog};
    dialog.OnInit(d);
    EXPECT_EQ(d.caption, "Admin. Management");
    EXPECT_EQ(d.At(IDC_AN_LABEL).text, "Admin. &No. :");
    EXPECT_EQ(d.focus, IDC_AN_NUMBER);
    d.At(IDC_AN_NUMBER).text = c.typed;  // as it stands in the edit
    d.Click(t, IDC_AN_OK);
    EXPECT_EQ(opened, c.opens ? 1 : 0);
    if (c.opens) {
      EXPECT_EQ(textWhileOpen, "");
      EXPECT_EQ(d.endResult, 1);
      EXPECT_TRUE(d.messages.empty());
    } else {
      EXPECT_EQ(d.endResult, -999);
      EXPECT_EQ(d.messages, std::vector<std::string>{kPasswordIncorrect});
      EXPECT_EQ(d.focus, IDC_AN_NUMBER);
      EXPECT_EQ(d.At(IDC_AN_NUMBER).selEnd, static_cast<int>(std::strlen(c.typed)));
    }
  }
}

TEST_F(AdministratorTest, AdministratorNumberFiltersAndCloses) {
  int opened = 0;
  AdministratorNumberDialog dialog(data, [&](ControlSurface&) { ++opened; });
  MemorySurface d;
  DialogTarget t{dialog};
  dialog.OnInit(d);
  d.Type(t, IDC_AN_NUMBER, "12-3");
  EXPECT_EQ(d.At(IDC_AN_NUMBER).text, "123");
  EXPECT_EQ(d.At(IDC_AN_NUMBER).selStart, 2);
  d.Click(t, kIdCancel);  // the close box
  EXPECT_EQ(d.endResult, 0);
  EXPECT_EQ(opened, 0);
}

}  // namespace
}  // namespace test
}  // namespace odc
