// A paste with several refused characters into every edit of every settings
// page and settings dialog: the edit, the value the page stored and the
// packed image must agree. The surface answers the filter's own write with
// a change notification, as the window does, so a filter that is run again
// inside itself shows here.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "setup/data/document.h"
#include "setup/res/resource.h"
#include "setup/settings/administrator_pages.h"
#include "setup/settings/fax_rx_dialogs.h"
#include "tests/ui/dialog_templates.h"
#include "tests/ui/settings_page_fixture.h"

namespace odc {
namespace test {
namespace {

using namespace fax_rx_items;

constexpr uint32_t kRemoteMonitor = 0x10515;

// The stored form of a value, read from a data set unpacked from the image.
using StoredReader = std::function<std::string(const DataSet&)>;

struct PasteCase {
  const char* name;
  PageId page;
  int dialog;  // 0: the edit is on the page; otherwise the sub-dialog's template
  int control;
  std::string dirty;
  std::string shown;              // the edit's text after the paste
  std::string reopened;           // the edit's text when the page is opened on the applied image
  uint32_t textItem;              // a text setting whose data length is the text's (0: none)
  StoredReader stored = nullptr;  // the applied value where the page does not show it again
  std::string storedText = {};
};

std::string Window(const DataSet& d, int offset, int n) {
  return std::string(reinterpret_cast<const char*>(SettingBytes(d, kMemoryRxWindow) + offset),
                     static_cast<size_t>(n));
}

// The forward record's number as the dialog shows it is checked by opening
// the dialog again; the record itself is checked byte for byte elsewhere.
const std::vector<PasteCase>& Cases() {
  using P = PageId;
  static const std::vector<PasteCase> cases = {
      // Copy Setting(1): the widths take three digits.
      {"CopyMargin", P::CopySetting1, 0, IDC_C1_MARGIN, "1 5", "15", "15", 0},
      {"CopyEraseLeft", P::CopySetting1, 0, IDC_C1_ERASE_LEFT, "1x0", "10", "10", 0},
      {"CopyEraseUpper", P::CopySetting1, 0, IDC_C1_ERASE_UPPER, "+8 ", "8", "8", 0},
      {"CopyEraseFrame", P::CopySetting1, 0, IDC_C1_ERASE_FRAME, "2.0", "20", "20", 0},
      {"CopyMarginZeroPadded", P::CopySetting1, 0, IDC_C1_MARGIN, "0020", "002", "2", 0},
      // Paper Source: the memory sizes (completed as they are typed).
      {"PaperX", P::PaperSource, 0, IDC_PS_X, "2 1 0", "210", "210", 0},
      {"PaperY", P::PaperSource, 0, IDC_PS_Y, "2-9-7", "297", "297", 0},
      {"PaperX3", P::PaperSource, 0, IDC_PS_X3, "1.4.8", "148", "148", 0},
      {"PaperY4", P::PaperSource, 0, IDC_PS_Y4, "2 1 0", "210", "210", 0},
      {"PaperX5", P::PaperSource, 0, IDC_PS_X5, "1,8,2", "182", "182", 0},
      {"PaperY6", P::PaperSource, 0, IDC_PS_Y6, "2 5 7", "257", "257", 0},
      // FAX RX Operation: the Memory RX password and window.
      {"RxPassword", P::FaxRxOperation, 0, IDC_RX_PASSWORD, "4-3-2-1", "4321", "", 0,
       [](const DataSet& d) { return Window(d, kPasswordOffset, 4); }, "4321"},
      {"RxOnHour", P::FaxRxOperation, 0, IDC_RX_ON_HOUR, "0 8", "08", "08", 0},
      {"RxOnMinute", P::FaxRxOperation, 0, IDC_RX_ON_MINUTE, "3:0", "30", "30", 0},
      {"RxOffHour", P::FaxRxOperation, 0, IDC_RX_OFF_HOUR, "1 7", "17", "17", 0},
      {"RxOffMinute", P::FaxRxOperation, 0, IDC_RX_OFF_MINUTE, "0.5", "05", "05", 0},
      // Forward Location, from FAX RX Operation.
      {"ForwardNumber", P::FaxRxOperation, IDD_FORWARD_LOCATION, IDC_FWD_NUMBER, "(03) 1234-5678",
       "03 1234-5678", "03 1234-5678", 0},
      {"ForwardSub", P::FaxRxOperation, IDD_FORWARD_LOCATION, IDC_FWD_SUB, "1-2-3", "123", "123",
       0},
      {"ForwardSid", P::FaxRxOperation, IDD_FORWARD_LOCATION, IDC_FWD_SID, "4 5 6", "456", "456",
       0},
      {"ForwardAddress", P::FaxRxOperation, IDD_FORWARD_LOCATION, IDC_FWD_ADDRESS, "a<b>@x.org",
       "ab@x.org", "ab@x.org", 0},
      // Administrator Mode and its dialogs.
      {"RemotePassword", P::AdministratorMode, 0, IDC_AM_REMOTE_PASSWORD, "1 2-3 4", "1234", "1234",
       0},
      {"AccountAccess", P::AdministratorMode, IDD_ACCOUNT_TRACK, IDC_AT_ACCESS, "0-4-2", "042",
       "042", 0},
      {"ChangeAdminCurrent", P::AdministratorMode, IDD_CHANGE_ADMIN, IDC_CA_CURRENT, "0 0-0 0-0 0",
       "000000", "", 0},
      {"ChangeAdminNew", P::AdministratorMode, IDD_CHANGE_ADMIN, IDC_CA_NEW, "6 5-4 3-2 1",
       "654321", "", 0,
       [](const DataSet& d) { return std::to_string(GetSetting(d, kAdminNumberId)); }, "654321"},
      {"ChangeAdminConfirm", P::AdministratorMode, IDD_CHANGE_ADMIN, IDC_CA_CONFIRM, "6.5.4.3.2.1",
       "654321", "", 0,
       [](const DataSet& d) { return std::to_string(GetSetting(d, kAdminNumberId)); }, "654321"},
      // E-Mail Setting(1) and (2).
      {"SenderName", P::EmailSetting1, 0, IDC_EM1_SENDER_NAME, "Front\tDesk\t", "FrontDesk",
       "FrontDesk", kSenderNameId},
      {"MailAddress", P::EmailSetting1, 0, IDC_EM1_ADDRESS, "of\tfice@x\x01.org", "office@x.org",
       "office@x.org", 0x10403},
      {"SmtpServer", P::EmailSetting1, 0, IDC_EM1_SMTP_SERVER, "smtp\t.x\t.org", "smtp.x.org",
       "smtp.x.org", 0x10405},
      {"SmtpPort", P::EmailSetting1, 0, IDC_EM1_SMTP_PORT, "5 8 7", "587", "587", 0},
      {"Subject", P::EmailSetting1, 0, IDC_EM1_SUBJECT,
       "Sc\x01"
       "an\x02",
       "Scan", "Scan", kDefaultSubjectId},
      {"Pop3Server", P::EmailSetting2, 0, IDC_EM2_POP3_SERVER, "pop\t.x.org\t", "pop.x.org",
       "pop.x.org", 0x10412},
      {"Pop3Account", P::EmailSetting2, 0, IDC_EM2_POP3_ACCOUNT, "us\xe9r\xe8", "usr", "usr",
       0x10416},
      {"Pop3Password", P::EmailSetting2, 0, IDC_EM2_POP3_PASSWORD, "pa\tss\x1b", "pass", "pass",
       0x10418},
      {"Pop3Port", P::EmailSetting2, 0, IDC_EM2_POP3_PORT, "1 1 0", "110", "110", 0},
      {"Interval", P::EmailSetting2, 0, IDC_EM2_INTERVAL, "1 5", "15", "15", 0},
      {"ReplyAddress", P::EmailSetting2, 0, IDC_EM2_REPLY_ADDRESS, "a<b>@x.org", "ab@x.org",
       "ab@x.org", 0x1041C},
      // LDAP Setting.
      {"LdapServer", P::LdapSetting, 0, IDC_LDAP_SERVER, "ldap\t.x\t.org", "ldap.x.org",
       "ldap.x.org", 0x10501},
      {"LdapPort", P::LdapSetting, 0, IDC_LDAP_PORT, "3 8 9", "389", "389", 0},
      {"LdapSearchBase", P::LdapSetting, 0, IDC_LDAP_SEARCH_BASE, "dc=x,\tdc=org\t", "dc=x,dc=org",
       "dc=x,dc=org", 0x1050A},
      {"LdapAccount", P::LdapSetting, 0, IDC_LDAP_ACCOUNT, "j\xf6rg\xe9", "jrg", "jrg", 0x10503},
      {"LdapPassword", P::LdapSetting, 0, IDC_LDAP_PASSWORD, "se\tcr\x7f\x80t", "secr\x7ft",
       "secr\x7ft", 0x10505},
      {"LdapDomain", P::LdapSetting, 0, IDC_LDAP_DOMAIN, "x\t.org\n", "x.org", "x.org", 0x1050E},
      // Communication Setting and Machine Information.
      {"PbxPrefix", P::CommunicationSetting, 0, IDC_COM_PREFIX, "9-0-", "90", "90", 0},
      {"MachineName", P::MachineInformation, 0, IDC_MI_NAME, "Front\tDesk\t", "FrontDesk",
       "FrontDesk", kMachineNameId},
      {"Telephone", P::MachineInformation, 0, IDC_MI_PHONE, "(03) 1234-5678", "03 1234-5678",
       "03 1234-5678", 0x1051C},
  };
  return cases;
}

class FilteredEditPaste : public SettingsPageTest, public ::testing::WithParamInterface<PasteCase> {
 protected:
  void SetUp() override {
    SettingsPageTest::SetUp();
    // The program's default data set: ports, servers and the rest as a new
    // file has them.
    Document document;
    ASSERT_EQ(NewDataSet(*data, document), 1);
    data->addressBookOnly = false;
    // Memory RX off, so that switching it on opens the password and times;
    // forwarding off; remote monitoring on (the password is open).
    SetSetting(*data, kMemoryRxMode, 0);
    SetSetting(*data, kForwardMode, 0x40);
    SetSetting(*data, kMaximumRings, 15);
    SetSetting(*data, kRemoteMonitor, 0);
    SetSetting(*data, kAdminNumberId, 0);
    // Ports the e-mail and LDAP pages accept on apply.
    SetSetting(*data, 0x10406, 25);
    SetSetting(*data, 0x10413, 110);
    SetSetting(*data, 0x10506, 389);
    // Paper Source: a memory size mode, so that the sizes are open.
    RadioGroups(s);
  }
  static void RadioGroups(MemorySurface& surface) {
    surface.RadioGroup({IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF});
    surface.RadioGroup({IDC_RX_FORWARD_ON, IDC_RX_FORWARD_PRINT, IDC_RX_FORWARD_OFF});
  }

  // What the page needs besides the pasted field for its apply to pass.
  void BeforePaste(const PasteCase& c) {
    if (c.page == PageId::FaxRxOperation && c.dialog == 0) {
      s.Click(*driver, IDC_RX_MEMORY_ON);
      for (auto [id, text] : {std::pair{IDC_RX_PASSWORD, "1111"},
                              {IDC_RX_ON_HOUR, "01"},
                              {IDC_RX_ON_MINUTE, "02"},
                              {IDC_RX_OFF_HOUR, "03"},
                              {IDC_RX_OFF_MINUTE, "04"}})
        s.Type(*driver, id, text);
    }
  }

  // Fills the dialog's other fields so that its OK is taken.
  static void FillDialog(const PasteCase& c, MemorySurface& d, DialogTarget& t) {
    if (c.dialog == IDD_FORWARD_LOCATION) {
      d.RadioGroup({IDC_FWD_FAX, IDC_FWD_EMAIL});
      d.RadioGroup({IDC_FWD_BASIC, IDC_FWD_ADVANCED});
      if (c.control == IDC_FWD_ADDRESS)
        d.Click(t, IDC_FWD_EMAIL);
      else if (c.control != IDC_FWD_NUMBER)
        d.Type(t, IDC_FWD_NUMBER, "5");
    } else if (c.dialog == IDD_CHANGE_ADMIN) {
      if (c.control != IDC_CA_CURRENT) d.Type(t, IDC_CA_CURRENT, "000000");
      if (c.control != IDC_CA_NEW) d.Type(t, IDC_CA_NEW, "654321");
      if (c.control != IDC_CA_CONFIRM) d.Type(t, IDC_CA_CONFIRM, "654321");
    }
  }

  // Ctrl+V over the whole text when the dirty text fits the edit's limit;
  // otherwise the text is set whole, as WM_SETTEXT sets it past the limit.
  template <typename Target>
  static void Put(MemorySurface& surface, Target& target, int id, const std::string& dirty) {
    const int limit = surface.At(id).limit;
    if (limit >= 0 && dirty.size() > static_cast<size_t>(limit)) {
      surface.Type(target, id, dirty);
    } else {
      surface.SelectAll(id);
      surface.Paste(target, id, dirty);
    }
  }

  static int Opener(const PasteCase& c) {
    switch (c.dialog) {
      case IDD_FORWARD_LOCATION:
        return IDC_RX_FORWARD_ON;
      case IDD_ACCOUNT_TRACK:
        return IDC_AM_ACCOUNT_TRACK;
      case IDD_CHANGE_ADMIN:
        return IDC_AM_CHANGE_ADMIN;
      default:
        return 0;
    }
  }
};

TEST_P(FilteredEditPaste, TheEditTheStoredValueAndTheImageAgree) {
  const PasteCase& c = GetParam();
  Open(c.page);
  BeforePaste(c);

  std::string shown;
  if (c.dialog == 0) {
    Put(s, *driver, c.control, c.dirty);
    shown = s.At(c.control).text;
  } else {
    s.dialogScripts[c.dialog] = [&](MemorySurface& d, DialogLogic& logic) {
      DialogTarget t{logic};
      FillDialog(c, d, t);
      Put(d, t, c.control, c.dirty);
      shown = d.At(c.control).text;
      logic.OnCommand(d, kIdOk, kButtonClicked);
    };
    s.Click(*driver, Opener(c));
    ASSERT_EQ(s.lastDialog->endResult, 1) << (s.messages.empty() ? "" : s.messages.back());
  }
  EXPECT_EQ(shown, c.shown);
  ASSERT_TRUE(driver->Apply(s)) << (s.messages.empty() ? "" : s.messages.back());

  // The page opened again on the image shows what the edit showed.
  UnpackTransferImage(*data);
  DataSet applied = *data;
  if (c.textItem) {
    EXPECT_EQ(ItemLength(*data, c.textItem), c.shown.size());
  }
  if (c.stored) {
    EXPECT_EQ(c.stored(applied), c.storedText);
  }

  MemorySurface again;
  RadioGroups(again);
  std::unique_ptr<SettingsPage> reopened = CreateSettingsPageLogic(c.page, ctx);
  PageDriver reopenedDriver(ctx, *reopened);
  ConnectPage(again, reopenedDriver, c.page);
  reopenedDriver.Init(again);
  std::string reshown;
  if (c.dialog == 0) {
    reshown = again.At(c.control).text;
  } else {
    again.dialogScripts[c.dialog] = [&](MemorySurface& d, DialogLogic& logic) {
      reshown = d.At(c.control).text;
      logic.OnCommand(d, kIdCancel, kButtonClicked);
    };
    again.Click(reopenedDriver, Opener(c));
  }
  EXPECT_EQ(reshown, c.reopened);
}

INSTANTIATE_TEST_SUITE_P(EveryFilteredEdit, FilteredEditPaste, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<PasteCase>& info) {
                           return std::string(info.param.name);
                         });

// The table above reaches every edit of the settings pages and of the
// dialogs they open; an edit added to a template without a row here fails.
TEST(FilteredEditPasteTable, CoversEveryEditOfEverySettingsPageAndItsDialogs) {
  std::set<int> templates = {IDD_FORWARD_LOCATION, IDD_SELECT_TRAY, IDD_ACCOUNT_TRACK,
                             IDD_CHANGE_ADMIN,     IDD_INCH_METRIC, IDD_PAPER_TYPE};
  for (SheetId sheet : {SheetId::Utility, SheetId::Administrator})
    for (const PageEntry& e : SheetPageTable(sheet)) templates.insert(e.templateId);
  std::set<std::pair<int, int>> covered;
  for (const PasteCase& c : Cases())
    covered.insert({c.dialog ? c.dialog : PageTemplate(c.page), c.control});
  int edits = 0;
  for (int t : templates) {
    for (int id : EditsOf(t)) {
      ++edits;
      EXPECT_TRUE(covered.count({t, id})) << "template " << t << ", edit " << id;
    }
  }
  // The resource scripts were found and read.
  EXPECT_GE(edits, 40);
}

}  // namespace
}  // namespace test
}  // namespace odc
