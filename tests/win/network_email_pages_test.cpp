// The Network Setting, LDAP Setting, E-Mail Setting(1)/(2) and
// Communication Setting pages in the real Administrator sheet, run
// in-process under the null graphics driver and driven through a script.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/settings/english_strings.h"
#include "setup/settings/settings_framework.h"
#include "tests/win/settings_harness.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kIpMode = 0x10306, kIpAddress = 0x10308, kSubnetMask = 0x10309,
                   kGateway = 0x1030A, kWeb = 0x1030F;
constexpr uint32_t kSmtpServer = 0x10405, kPop3Port = 0x10413, kInterval = 0x1041A,
                   kAutoReception = 0x10419, kLdapServer = 0x10501, kLine = 0x10512;
constexpr int kLdapRecord = 368;

class AdministratorPages : public SettingsWindow {
 protected:
  void SetUp() override {
    SettingsWindow::SetUp();
    app.data->machineInfo[machine_info::kNicKit] = 1;
    app.data->records[kLdapRecord].data[0] = 1;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    folder = std::string(dir) + "odc_admin_pages_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  // Opens the Administrator sheet, runs `steps` on it and, when they return
  // true, ends it with `button`.
  void RunSheet(const std::function<void(HWND sheet)>& steps, int button) {
    Script script;
    script.Then([&] {
      HWND sheet = CurrentSettingsSheet();
      if (sheet == nullptr) return false;
      steps(sheet);
      if (button) PressSheetButton(sheet, button);
      return true;
    });
    script.Run([&] { OpenAdministratorSheet(app, app.main); });
  }
  // Brings the page with this caption to the front; its window.
  HWND ShowPage(HWND sheet, const std::string& caption) {
    const std::vector<std::string> captions = PageCaptions(sheet);
    for (size_t i = 0; i < captions.size(); ++i) {
      if (captions[i] != caption) continue;
      SendMessageA(sheet, PSM_SETCURSEL, i, 0);
      return CurrentPage(sheet);
    }
    ADD_FAILURE() << "no page " << caption;
    return nullptr;
  }
  void TypeAddress(HWND page, int id, int a, int b, int c, int d) {
    SendDlgItemMessageA(page, id, IPM_SETADDRESS, 0, MAKEIPADDRESS(a, b, c, d));
  }
  // The four field edits of an address control.
  std::vector<HWND> Fields(HWND page, int id) {
    std::vector<HWND> fields;
    EnumChildWindows(
        GetDlgItem(page, id),
        [](HWND field, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(field);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&fields));
    return fields;
  }
  HWND FieldOf(HWND page, int id, int field) {
    const std::vector<HWND> fields = Fields(page, id);
    return fields.size() == 4 ? fields[static_cast<size_t>(field)] : nullptr;
  }
  // Blanks the last field of an address control, as a user deleting it.
  void BlankLastField(HWND page, int id) { SetWindowTextA(FieldOf(page, id, 3), ""); }
  std::vector<std::string> ExpectedCaptions() {
    std::vector<std::string> captions;
    for (const PageEntry& e : SheetPages(SheetId::Administrator, *app.data))
      captions.push_back(EnglishString(e.captionId));
    return captions;
  }
  uint32_t Length(const DataSet& set, uint32_t id) {
    return set.records[FindRecord(set, id)].length;
  }
  // Save As into a new file, read back.
  std::unique_ptr<DataSet> SaveAndRead(const std::string& name) {
    const std::string path = folder + name;
    prompts.files = {path};
    Command(ID_FILE_SAVE_AS);
    auto reread = std::make_unique<DataSet>();
    EXPECT_EQ(ReadDataFile(*reread, path), 1) << path;
    UnpackTransferImage(*reread);
    return reread;
  }
  std::string LastMessage() { return prompts.messages.empty() ? "" : prompts.messages.back().text; }
  // Connect and upload; the trailer's request flag the machine received.
  int Upload() {
    Command(ID_MACHINE_CONNECT);
    EXPECT_TRUE(app.link->connected);
    prompts.answers = {IDYES};
    Command(ID_MACHINE_UPLOAD);
    return machine->lastRequestFlag();
  }

  std::string folder;
};

TEST_F(AdministratorPages, PagesFollowTheNicKitAndLdap) {
  struct Row {
    uint8_t nic, ldap;
    std::vector<std::string> mine;  // this branch's pages expected in the sheet
  };
  const Row rows[] = {
      {0, 1, {"Communication Setting"}},
      {1,
       0,
       {"Network Setting", "E-Mail Setting(1)", "E-Mail Setting(2)", "Communication Setting"}},
      {1,
       1,
       {"Network Setting", "E-Mail Setting(1)", "E-Mail Setting(2)", "LDAP Setting",
        "Communication Setting"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "NIC " << int(r.nic) << " LDAP " << int(r.ldap));
    app.data->machineInfo[machine_info::kNicKit] = r.nic;
    app.data->records[kLdapRecord].data[0] = r.ldap;
    std::vector<std::string> captions;
    RunSheet([&](HWND sheet) { captions = PageCaptions(sheet); }, PSBTN_CANCEL);
    EXPECT_EQ(captions, ExpectedCaptions());
    std::vector<std::string> mine;
    for (const std::string& c : captions) {
      if (std::find(r.mine.begin(), r.mine.end(), c) != r.mine.end()) mine.push_back(c);
    }
    EXPECT_EQ(mine, r.mine);
  }
}

TEST_F(AdministratorPages, AnAppliedAddressReachesTheFileAndTheMachine) {
  RunSheet(
      [&](HWND sheet) {
        HWND page = ShowPage(sheet, "Network Setting");
        ClickButton(page, IDC_NET_SPECIFY);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_NET_GATEWAY)));
        TypeAddress(page, IDC_NET_IP, 192, 168, 7, 20);
        TypeAddress(page, IDC_NET_SUBNET, 255, 255, 255, 0);
        TypeAddress(page, IDC_NET_GATEWAY, 192, 168, 7, 1);
        EXPECT_EQ(SettingBytes(*app.data, kIpAddress)[2], 7) << "stored as typed";
      },
      PSBTN_OK);
  EXPECT_EQ(CurrentSettingsSheet(), nullptr);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_EQ(ImageByte(kIpMode), 1u);
  EXPECT_EQ(app.link->requestFlag, 1) << "the next upload tells the machine";

  auto reread = SaveAndRead("network.DAT");
  const uint8_t ip[4] = {192, 168, 7, 20};
  EXPECT_EQ(GetSetting(*reread, kIpMode), 1u);
  EXPECT_EQ(std::memcmp(SettingBytes(*reread, kIpAddress), ip, 4), 0);
  EXPECT_EQ(SettingBytes(*reread, kGateway)[3], 1);

  EXPECT_EQ(Upload(), 1) << "the upload trailer carries the network-changed byte";
  EXPECT_EQ(app.link->requestFlag, 0) << "and clears it";
  const DataSet& memory = machine->memory();
  EXPECT_EQ(std::memcmp(memory.records[FindRecord(memory, kIpAddress)].data, ip, 4), 0);
}

TEST_F(AdministratorPages, ACheckBoxAloneDoesNotTellTheMachine) {
  const uint32_t web = GetSetting(*app.data, kWeb);
  RunSheet([&](HWND sheet) { ClickButton(ShowPage(sheet, "Network Setting"), IDC_NET_WEB); },
           PSBTN_OK);
  EXPECT_EQ(ImageByte(kWeb), web ? 0u : 1u);
  EXPECT_EQ(app.link->requestFlag, 0);
  EXPECT_EQ(Upload(), 0);
}

TEST_F(AdministratorPages, ARefusedApplyKeepsTheSheetOnThePageAndTellsNothing) {
  const DataSet before = *app.data;
  RunSheet(
      [&](HWND sheet) {
        HWND page = ShowPage(sheet, "Network Setting");
        ClickButton(page, IDC_NET_SPECIFY);
        TypeAddress(page, IDC_NET_IP, 10, 1, 1, 5);
        TypeAddress(page, IDC_NET_GATEWAY, 10, 1, 1, 1);
        TypeAddress(page, IDC_NET_SUBNET, 255, 255, 0, 9);
        BlankLastField(page, IDC_NET_SUBNET);
        // Leaving is allowed (the mask is checked on apply only); OK is not.
        ShowPage(sheet, "Communication Setting");
        PressSheetButton(sheet, PSBTN_OK);
        EXPECT_EQ(CurrentSettingsSheet(), sheet) << "the sheet stays open";
        EXPECT_EQ(CurrentPage(sheet), page) << "on the refusing page";
        EXPECT_EQ(LastMessage(), "Invalid value : must be within 0 to 255 !");
        EXPECT_EQ(GetParent(GetFocus()), GetDlgItem(page, IDC_NET_SUBNET))
            << "the focus is in one of the mask's fields";
        EXPECT_EQ(app.link->requestFlag, 0);
        EXPECT_EQ(ImageByte(kIpMode), GetSetting(before, kIpMode)) << "nothing packed";
        // Mended, OK closes the sheet.
        TypeAddress(page, IDC_NET_SUBNET, 255, 255, 0, 0);
        PressSheetButton(sheet, PSBTN_OK);
      },
      0);
  EXPECT_EQ(CurrentSettingsSheet(), nullptr);
  EXPECT_EQ(ImageByte(kSubnetMask, 1), 255u);
  EXPECT_EQ(app.link->requestFlag, 1);
}

TEST_F(AdministratorPages, ARefusedLeaveKeepsThePage) {
  RunSheet(
      [&](HWND sheet) {
        HWND page = ShowPage(sheet, "Network Setting");
        ClickButton(page, IDC_NET_SPECIFY);
        TypeAddress(page, IDC_NET_IP, 127, 0, 0, 5);
        const size_t shown = prompts.messages.size();
        EXPECT_FALSE(SendMessageA(sheet, PSM_SETCURSEL, 0, 0));
        EXPECT_EQ(CurrentPage(sheet), page);
        EXPECT_EQ(prompts.messages.size(), shown + 1) << "one message";
        EXPECT_EQ(LastMessage(), "Invalid value : must be within 1 to 126 and 128 to 254 !");
        EXPECT_EQ(GetFocus(), FieldOf(page, IDC_NET_IP, 0)) << "in the first field";
        EXPECT_FALSE(SendMessageA(sheet, PSM_SETCURSEL, 0, 0)) << "and again";
        TypeAddress(page, IDC_NET_IP, 10, 0, 0, 0);
        EXPECT_FALSE(SendMessageA(sheet, PSM_SETCURSEL, 0, 0));
        EXPECT_EQ(LastMessage(), "Invalid value : must be within 1 to 255 !");
        EXPECT_EQ(GetFocus(), FieldOf(page, IDC_NET_IP, 3)) << "in the last field";
      },
      PSBTN_CANCEL);
  EXPECT_EQ(app.link->requestFlag, 0);
}

TEST_F(AdministratorPages, EachPageAppliesOneEditIntoTheFile) {
  RunSheet(
      [&](HWND sheet) {
        TypeText(ShowPage(sheet, "E-Mail Setting(1)"), IDC_EM1_SMTP_SERVER, "smtp.example.net");
        TypeText(ShowPage(sheet, "E-Mail Setting(2)"), IDC_EM2_POP3_PORT, "995");
        TypeText(ShowPage(sheet, "LDAP Setting"), IDC_LDAP_SERVER, "ldap.example.net");
        ClickButton(ShowPage(sheet, "Communication Setting"), IDC_COM_PBX);
        PressSheetButton(sheet, PSBTN_APPLYNOW);
        EXPECT_EQ(CurrentSettingsSheet(), sheet) << "Apply keeps the sheet";
      },
      PSBTN_CANCEL);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  auto reread = SaveAndRead("pages.DAT");
  EXPECT_STREQ(SettingText(*reread, kSmtpServer), "smtp.example.net");
  EXPECT_EQ(Length(*reread, kSmtpServer), 16u);
  EXPECT_EQ(GetSetting(*reread, kPop3Port), 995u);
  EXPECT_STREQ(SettingText(*reread, kLdapServer), "ldap.example.net");
  EXPECT_EQ(GetSetting(*reread, kLine), 0x40u);
}

TEST_F(AdministratorPages, CancelPutsTheTextLengthsBack) {
  const uint32_t smtp = Length(*app.data, kSmtpServer);
  const uint32_t ldap = Length(*app.data, kLdapServer);
  const std::string server = SettingText(*app.data, kSmtpServer);
  RunSheet(
      [&](HWND sheet) {
        TypeText(ShowPage(sheet, "E-Mail Setting(1)"), IDC_EM1_SMTP_SERVER,
                 "a-longer-server-name.example.com");
        TypeText(ShowPage(sheet, "LDAP Setting"), IDC_LDAP_SERVER, "x");
        EXPECT_EQ(Length(*app.data, kSmtpServer), 32u);
        EXPECT_EQ(Length(*app.data, kLdapServer), 1u);
        // Cancelled from another page: every page puts its lengths back.
        ShowPage(sheet, "Communication Setting");
      },
      PSBTN_CANCEL);
  EXPECT_EQ(SettingText(*app.data, kSmtpServer), server);
  EXPECT_EQ(Length(*app.data, kSmtpServer), smtp);
  EXPECT_EQ(Length(*app.data, kLdapServer), ldap);
}

TEST_F(AdministratorPages, TheIntervalArrowsStepTheMinutes) {
  SetSetting(*app.data, kAutoReception, 1);
  SetSetting(*app.data, kInterval, 59);
  PackTransferImage(*app.data);
  RunSheet(
      [&](HWND sheet) {
        HWND page = ShowPage(sheet, "E-Mail Setting(2)");
        HWND arrows = GetDlgItem(page, IDC_EM2_INTERVAL_SCROLL);
        EXPECT_TRUE(IsWindowEnabled(arrows));
        for (int i = 0; i < 3; ++i)
          SendMessageA(page, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(arrows));
        EXPECT_EQ(ItemText(page, IDC_EM2_INTERVAL), "60");
        SendMessageA(page, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(arrows));
        EXPECT_EQ(ItemText(page, IDC_EM2_INTERVAL), "59");
        TypeText(page, IDC_EM2_INTERVAL, "0");
        PressSheetButton(sheet, PSBTN_APPLYNOW);
        EXPECT_EQ(LastMessage(), "Invalid value : must be within 1 to 60 !");
        EXPECT_EQ(CurrentSettingsSheet(), sheet);
        SendMessageA(page, WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(arrows));
        EXPECT_EQ(ItemText(page, IDC_EM2_INTERVAL), "1");
      },
      PSBTN_OK);
  EXPECT_EQ(ImageByte(kInterval), 1u);
}

TEST_F(AdministratorPages, LabelsComeFromTheResourceModule) {
  for (const char* module : {ODC_SETUP_DLL_PATH, ODC_SETUP_JAPANESE_DLL_PATH}) {
    HMODULE resources = LoadLibraryA(module);
    ASSERT_NE(resources, nullptr) << module;
    app.resources = resources;
    RunSheet(
        [&](HWND sheet) {
          HWND network = ShowPage(sheet, "Network Setting");
          EXPECT_EQ(ItemText(network, IDC_NET_DNS_GROUP),
                    ModuleText(resources, IDS_NET_DNS_CONFIGURATION));
          HWND mail = ShowPage(sheet, "E-Mail Setting(1)");
          EXPECT_EQ(ItemText(mail, IDC_EM1_SMTP_TIMEOUT_LABEL),
                    ModuleText(resources, IDS_EM1_SMTP_TIMEOUT));
          HWND communication = ShowPage(sheet, "Communication Setting");
          EXPECT_EQ(ItemText(communication, IDC_COM_PREFIX_LABEL),
                    ModuleText(resources, IDS_COM_PREFIX));
        },
        PSBTN_CANCEL);
    app.resources = app.instance;
    FreeLibrary(resources);
  }
}

}  // namespace
}  // namespace test
}  // namespace odc
