// Admin. Management and the Administrator sheet, run in-process under the
// null graphics driver: the administrator number dialog, the Administrator
// Mode page with Account Track and Change Admin No., and Machine
// Information, driven through a script as a user's clicks would arrive.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "setup/data/data_file.h"
#include "setup/settings/administrator_pages.h"
#include "setup/settings/english_strings.h"
#include "setup/settings/settings_framework.h"
#include "tests/win/settings_harness.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kMonitorId = 0x10304, kRemotePasswordId = 0x10305;
const char* const kAdminNumber = "112233";  // the demonstration machine's
const char* const kPasswordIncorrect = "Password is not correct !";

// A click that returns at once: the button opens a modal window whose loop
// must not run inside a script step.
void PostClick(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class AdministratorSheet : public SettingsWindow {
 protected:
  void SetUp() override {
    SettingsWindow::SetUp();
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    folder = std::string(dir) + "odc_admin_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }

  // The first steps of every run: the right number typed into the
  // administrator number dialog, then the sheet in front (kept in `sheet`).
  Script& OpenWithNumber(Script& script) {
    script
        .Then([this] {
          HWND dialog = FindDialog("Admin. Management");
          if (dialog == nullptr) return false;
          TypeText(dialog, IDC_AN_NUMBER, kAdminNumber);
          PostClick(dialog, IDC_AN_OK);
          return true;
        })
        .Then([this] {
          sheet = CurrentSettingsSheet();
          return sheet != nullptr;
        });
    return script;
  }
  // Ends the script with a sheet button and runs it from the menu command.
  void Finish(Script& script, int button) {
    script.Then([this, button] {
      PressSheetButton(sheet, button);
      return true;
    });
    script.Run([this] { Command(ID_MACHINE_ADMIN_MANAGEMENT); });
    EXPECT_EQ(CurrentSettingsSheet(), nullptr) << "the sheet is still open";
    EXPECT_EQ(FindDialog("Admin. Management"), nullptr) << "the number dialog is still open";
  }
  // A step that waits for a dialog and runs `body` on it.
  static Script::Step OnDialog(const char* caption, std::function<void(HWND)> body) {
    return [caption, body] {
      HWND dialog = FindDialog(caption);
      if (dialog == nullptr) return false;
      body(dialog);
      return true;
    };
  }
  // Waits until a dialog that was ended is gone: its window lives on until
  // its modal loop has returned.
  static Script::Step Gone(const char* caption) {
    return [caption] { return FindDialog(caption) == nullptr; };
  }
  // Brings the page with this caption to the front; its window.
  HWND ShowPage(const std::string& caption) {
    const std::vector<std::string> captions = PageCaptions(sheet);
    const auto it = std::find(captions.begin(), captions.end(), caption);
    if (it == captions.end()) return nullptr;
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(it - captions.begin()), 0);
    return CurrentPage(sheet);
  }
  std::vector<std::string> Built(std::vector<PageId> pages) {
    std::vector<std::string> captions;
    for (const PageEntry& e : SheetPageTable(SheetId::Administrator)) {
      if (std::count(pages.begin(), pages.end(), e.page) && PageIsBuilt(e.page))
        captions.push_back(EnglishString(e.captionId));
    }
    return captions;
  }
  uint32_t ImageValue(uint32_t id) {
    DataSet copy = *app.data;
    UnpackTransferImage(copy);
    return GetSetting(copy, id);
  }
  std::string TreeRootText() {
    char text[128] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(app.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // Save As into the test folder, then the file read back as a program
  // would open it.
  std::unique_ptr<DataSet> SaveAndReadBack(const std::string& name) {
    const std::string path = folder + name;
    prompts.files = {path};
    Command(ID_FILE_SAVE_AS);
    auto reread = std::make_unique<DataSet>();
    EXPECT_EQ(ReadDataFile(*reread, path), 1);
    UnpackTransferImage(*reread);
    return reread;
  }
  size_t MessagesSaying(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(prompts.messages.begin(), prompts.messages.end(),
                      [&](const ScriptedPrompts::Shown& m) { return m.text == text; }));
  }

  HWND sheet = nullptr;
  std::string folder;
};

TEST_F(AdministratorSheet, NumberDialogRefusesWrongAndShortNumbers) {
  Script script;
  bool openedEarly = false;
  script
      .Then(OnDialog("Admin. Management",
                     [&](HWND dialog) {
                       EXPECT_EQ(ItemText(dialog, IDC_AN_LABEL), "Admin. &No. :");
                       for (const char* wrong : {"999999", "11223", "1122334"}) {
                         TypeText(dialog, IDC_AN_NUMBER, wrong);
                         ClickButton(dialog, IDC_AN_OK);
                         openedEarly |= CurrentSettingsSheet() != nullptr;
                       }
                       // The filter takes letters out as they come.
                       TypeText(dialog, IDC_AN_NUMBER, "11a22");
                       EXPECT_EQ(ItemText(dialog, IDC_AN_NUMBER), "1122");
                       TypeText(dialog, IDC_AN_NUMBER, kAdminNumber);
                       PostClick(dialog, IDC_AN_OK);
                     }))
      .Then([&] {
        sheet = CurrentSettingsSheet();
        return sheet != nullptr;
      });
  Finish(script, PSBTN_CANCEL);
  EXPECT_FALSE(openedEarly);
  EXPECT_EQ(MessagesSaying(kPasswordIncorrect), 3u);
  ASSERT_FALSE(prompts.messages.empty());
  EXPECT_EQ(prompts.messages.front().caption, "Device Configurator - ODC");
  EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(AdministratorSheet, TheCloseBoxEndsTheNumberDialog) {
  Script script;
  script.Then(
      OnDialog("Admin. Management", [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }));
  script.Run([this] { Command(ID_MACHINE_ADMIN_MANAGEMENT); });
  EXPECT_EQ(FindDialog("Admin. Management"), nullptr);
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(AdministratorSheet, PagesFollowTheNicKitAndLdap) {
  using P = PageId;
  struct Case {
    uint8_t nic, ldap;
    std::vector<PageId> pages;
  };
  const std::vector<PageId> all = {P::AdministratorMode, P::NetworkSetting, P::EmailSetting1,
                                   P::EmailSetting2,     P::LdapSetting,    P::CommunicationSetting,
                                   P::MachineInformation};
  const Case cases[] = {
      {0, 1, {P::AdministratorMode, P::CommunicationSetting, P::MachineInformation}},
      {1, 1, all},
      {1,
       0,
       {P::AdministratorMode, P::NetworkSetting, P::EmailSetting1, P::EmailSetting2,
        P::CommunicationSetting, P::MachineInformation}},
  };
  for (const Case& c : cases) {
    app.data->machineInfo[machine_info::kNicKit] = c.nic;
    app.data->records[368].data[0] = c.ldap;
    std::vector<std::string> captions;
    Script script;
    OpenWithNumber(script).Then([&] {
      captions = PageCaptions(sheet);
      return true;
    });
    Finish(script, PSBTN_CANCEL);
    EXPECT_EQ(captions, Built(c.pages)) << "NIC kit " << int(c.nic) << ", LDAP " << int(c.ldap);
    ASSERT_GE(captions.size(), 2u);
    EXPECT_EQ(captions.front(), "Administrator Mode");
    EXPECT_EQ(captions.back(), "Machine Information");
  }
}

TEST_F(AdministratorSheet, AdministratorModeEditIsAppliedAndSaved) {
  ASSERT_EQ(ImageValue(kMonitorId), 0u);
  Script script;
  OpenWithNumber(script).Then([&] {
    HWND page = CurrentPage(sheet);
    EXPECT_EQ(ItemText(page, IDC_AM_REMOTE_GROUP), "Remote Monitor");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_AM_REMOTE_PASSWORD)));
    ClickButton(page, IDC_AM_FULL);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_AM_REMOTE_PASSWORD)));
    TypeText(page, IDC_AM_REMOTE_PASSWORD, "4321");
    EXPECT_EQ(ImageValue(kRemotePasswordId), 0u);  // not yet applied
    PressSheetButton(sheet, PSBTN_APPLYNOW);
    EXPECT_EQ(ImageValue(kMonitorId), 1u);
    EXPECT_EQ(ImageValue(kRemotePasswordId), 4321u);
    return true;
  });
  Finish(script, PSBTN_CANCEL);
  EXPECT_EQ(GetSetting(*app.data, kRemotePasswordId), 4321u);  // the cancel kept the apply
  auto reread = SaveAndReadBack("remote.DAT");
  EXPECT_EQ(GetSetting(*reread, kMonitorId), 1u);
  EXPECT_EQ(GetSetting(*reread, kRemotePasswordId), 4321u);
}

TEST_F(AdministratorSheet, AShortRemotePasswordKeepsThePageAndTheSheet) {
  Script script;
  HWND adminPage = nullptr;
  OpenWithNumber(script)
      .Then([&] {
        adminPage = CurrentPage(sheet);
        ClickButton(adminPage, IDC_AM_FULL);
        TypeText(adminPage, IDC_AM_REMOTE_PASSWORD, "12");
        // Leaving for another page is refused.
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        EXPECT_EQ(CurrentPage(sheet), adminPage);
        // So is OK: the sheet stays open and nothing is packed.
        PressSheetButton(sheet, PSBTN_OK);
        return true;
      })
      .Then([&] {
        EXPECT_NE(CurrentSettingsSheet(), nullptr);
        EXPECT_EQ(CurrentPage(sheet), adminPage);
        EXPECT_EQ(ImageValue(kMonitorId), 0u);
        EXPECT_EQ(GetFocus(), GetDlgItem(adminPage, IDC_AM_REMOTE_PASSWORD));
        TypeText(adminPage, IDC_AM_REMOTE_PASSWORD, "0012");
        return true;
      });
  Finish(script, PSBTN_OK);
  EXPECT_EQ(MessagesSaying("Invalid password : must be within 0000 to 9999 !"), 2u);
  EXPECT_EQ(ImageValue(kMonitorId), 1u);
  EXPECT_EQ(ImageValue(kRemotePasswordId), 12u);
}

TEST_F(AdministratorSheet, AccountTrackOkAndCancel) {
  // The demonstration machine's IDs 1-4 hold 1001-1004, beyond the three
  // digits the dialog takes: ID 5 is free.
  app.settingsUi.accountIndex = 4;
  Script script;
  std::string label, menuFirst, menuChosen;
  RECT selectButton = {};
  OpenWithNumber(script)
      .Then([&] {
        PostClick(CurrentPage(sheet), IDC_AM_ACCOUNT_TRACK);
        return true;
      })
      .Then(OnDialog("Account Track",
                     [&](HWND dialog) {
                       EXPECT_EQ(ItemText(dialog, IDC_AT_CURRENT_ID), "ID #05 : ");
                       TypeText(dialog, IDC_AT_ACCESS, "777");
                       prompts.menuChoices = {6};
                       // The mouse stands elsewhere, as after answering a
                       // question: the menu still opens at the button.
                       SetCursorPos(3, 3);
                       GetWindowRect(GetDlgItem(dialog, IDC_AT_SELECT_ID), &selectButton);
                       ClickButton(dialog, IDC_AT_SELECT_ID);
                       label = ItemText(dialog, IDC_AT_CURRENT_ID);
                       TypeText(dialog, IDC_AT_ACCESS, "778");
                       ClickButton(dialog, IDOK);
                     }))
      .Then(Gone("Account Track"))
      .Then([&] {
        PostClick(CurrentPage(sheet), IDC_AM_ACCOUNT_TRACK);
        return true;
      })
      .Then(OnDialog("Account Track",
                     [&](HWND dialog) {
                       EXPECT_EQ(ItemText(dialog, IDC_AT_ACCESS), "778");  // ID 7 kept
                       TypeText(dialog, IDC_AT_ACCESS, "");
                       ClickButton(dialog, IDC_AT_MODE);
                       ClickButton(dialog, IDCANCEL);
                     }))
      .Then(Gone("Account Track"))
      .Then([&] {
        PressSheetButton(sheet, PSBTN_APPLYNOW);
        return true;
      });
  Finish(script, PSBTN_OK);
  ASSERT_EQ(prompts.menus.size(), 1u);
  ASSERT_EQ(prompts.menus[0].size(), 50u);
  ASSERT_EQ(prompts.menuPoints.size(), 1u);
  EXPECT_NE(selectButton.bottom, 0);
  EXPECT_EQ(prompts.menuPoints[0].x, selectButton.left);
  EXPECT_EQ(prompts.menuPoints[0].y, selectButton.bottom);
  EXPECT_EQ(prompts.menus[0][4], "ID #05 : 777");
  EXPECT_EQ(label, "ID #07 : ");
  EXPECT_EQ(app.settingsUi.accountIndex, 6);
  auto reread = SaveAndReadBack("account.DAT");
  EXPECT_EQ(AccessNumber(*reread, 4), 777);
  EXPECT_EQ(AccessNumber(*reread, 6), 778);
  EXPECT_EQ(AccessNumber(*reread, 0), 1001);  // a stored value the dialog never touched
  EXPECT_EQ(GetSetting(*reread, 0x10301), GetSetting(*app.data, 0x10301));
}

TEST_F(AdministratorSheet, ChangeAdminNumberThenTheNewNumberOpensTheSheet) {
  Script script;
  OpenWithNumber(script)
      .Then([&] {
        PostClick(CurrentPage(sheet), IDC_AM_CHANGE_ADMIN);
        return true;
      })
      .Then(OnDialog("Change Admin No.",
                     [&](HWND dialog) {
                       TypeText(dialog, IDC_CA_CURRENT, "112234");
                       TypeText(dialog, IDC_CA_NEW, "654321");
                       TypeText(dialog, IDC_CA_CONFIRM, "654321");
                       ClickButton(dialog, IDOK);
                       EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CA_CURRENT));
                       TypeText(dialog, IDC_CA_CURRENT, kAdminNumber);
                       TypeText(dialog, IDC_CA_CONFIRM, "654320");
                       ClickButton(dialog, IDOK);
                       EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CA_CONFIRM));
                       TypeText(dialog, IDC_CA_CONFIRM, "654321");
                       ClickButton(dialog, IDOK);
                     }))
      .Then(Gone("Change Admin No."))
      .Then([&] {
        PostClick(CurrentPage(sheet), IDC_AM_CHANGE_ADMIN);
        return true;
      })
      .Then(OnDialog("Change Admin No.", [](HWND dialog) { ClickButton(dialog, IDCANCEL); }))
      .Then(Gone("Change Admin No."));
  Finish(script, PSBTN_OK);
  EXPECT_EQ(MessagesSaying(kPasswordIncorrect), 2u);
  EXPECT_EQ(ImageValue(kAdminNumberId), 654321u);

  // The old number is refused now, the new one opens the sheet.
  bool refused = false;
  Script again;
  again
      .Then(OnDialog("Admin. Management",
                     [&](HWND dialog) {
                       TypeText(dialog, IDC_AN_NUMBER, kAdminNumber);
                       ClickButton(dialog, IDC_AN_OK);
                       refused = CurrentSettingsSheet() == nullptr;
                       TypeText(dialog, IDC_AN_NUMBER, "654321");
                       PostClick(dialog, IDC_AN_OK);
                     }))
      .Then([&] {
        sheet = CurrentSettingsSheet();
        return sheet != nullptr;
      });
  Finish(again, PSBTN_CANCEL);
  EXPECT_TRUE(refused);
  EXPECT_EQ(MessagesSaying(kPasswordIncorrect), 3u);
}

TEST_F(AdministratorSheet, MachineInformationApplyRelabelsTheTreeRoot) {
  ASSERT_EQ(TreeRootText(), "M40 Front Office");
  Script script;
  std::string rootAfterApply;
  OpenWithNumber(script).Then([&] {
    HWND page = ShowPage("Machine Information");
    EXPECT_NE(page, nullptr);
    if (page == nullptr) return true;
    EXPECT_EQ(ItemText(page, IDC_MI_NAME), "M40 Front Office");
    EXPECT_EQ(ItemText(page, IDC_MI_PHONE), "0312340000");
    TypeText(page, IDC_MI_NAME, "Lab 7");
    TypeText(page, IDC_MI_PHONE, "030 555x");
    EXPECT_EQ(ItemText(page, IDC_MI_PHONE), "030 555");
    PressSheetButton(sheet, PSBTN_APPLYNOW);
    rootAfterApply = TreeRootText();
    TypeText(page, IDC_MI_NAME, "Not kept");
    return true;
  });
  Finish(script, PSBTN_CANCEL);
  EXPECT_EQ(rootAfterApply, "Lab 7");
  EXPECT_EQ(TreeRootText(), "Lab 7");
  EXPECT_EQ(std::string(SettingText(*app.data, kMachineNameId)), "Lab 7");
  EXPECT_EQ(ItemLength(*app.data, kMachineNameId), 5u);
  auto reread = SaveAndReadBack("name.DAT");
  EXPECT_EQ(std::string(SettingText(*reread, kMachineNameId)), "Lab 7");
  EXPECT_EQ(std::string(SettingText(*reread, 0x1051C)), "030 555");
}

// A paste with several refused characters, as Ctrl+V (EM_REPLACESEL) and a
// whole-text write (WM_SETTEXT) bring it: the edit, the stored value and the
// packed bytes agree, though the window answers the filter's own write with
// a change notification at once.
TEST_F(AdministratorSheet, APastedTelephoneIsPackedAsTheEditShowsIt) {
  struct Case {
    bool replaceSelection;
    const char* pasted;
    const char* shown;
  } cases[] = {
      {true, "(03) 1234-5678", "03 1234-5678"},
      {false, "(03) 1234-5678", "03 1234-5678"},
      {true, "((0))3--(55)", "03--55"},
  };
  for (const Case& c : cases) {
    Script script;
    std::string shown;
    OpenWithNumber(script).Then([&] {
      HWND page = ShowPage("Machine Information");
      EXPECT_NE(page, nullptr);
      if (page == nullptr) return true;
      HWND edit = GetDlgItem(page, IDC_MI_PHONE);
      if (c.replaceSelection) {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(c.pasted));
      } else {
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.pasted));
      }
      shown = ItemText(page, IDC_MI_PHONE);
      return true;
    });
    Finish(script, PSBTN_OK);
    EXPECT_EQ(shown, c.shown) << c.pasted;
    // The packed record: the text and its length.
    const ItemRecord& record = app.data->records[FindRecord(*app.data, 0x1051C)];
    EXPECT_EQ(record.length, std::string(c.shown).size()) << c.pasted;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data), record.length), c.shown);
    EXPECT_EQ(record.data[record.length], 0);
  }
}

TEST_F(AdministratorSheet, ARefusedOkPacksNothingAndACancelKeepsTheAppliedName) {
  // The Network page refuses OK, so no page packs (a pack would carry the
  // refused mask and the unapplied name), and the user cancels. The file
  // must hold the name last applied, whole.
  Script script;
  OpenWithNumber(script).Then([&] {
    // A short name applied first: its length is now the text's own.
    HWND info = ShowPage("Machine Information");
    TypeText(info, IDC_MI_NAME, "Lab");
    PressSheetButton(sheet, PSBTN_APPLYNOW);
    ClickButton(ShowPage("Administrator Mode"), IDC_AM_SHUT_OFF);
    HWND network = ShowPage("Network Setting");
    EXPECT_NE(network, nullptr);
    if (network == nullptr) return true;
    ClickButton(network, IDC_NET_SPECIFY);
    // A mask whose last field the user deleted: checked on apply only.
    SendDlgItemMessageA(network, IDC_NET_SUBNET, IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 255, 0, 9));
    std::vector<HWND> fields;
    EnumChildWindows(
        GetDlgItem(network, IDC_NET_SUBNET),
        [](HWND field, LPARAM list) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(field);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&fields));
    EXPECT_EQ(fields.size(), 4u);
    if (fields.size() == 4) SetWindowTextA(fields[3], "");
    ShowPage("Machine Information");
    TypeText(info, IDC_MI_NAME, "Second floor copier");
    const int mask = FindRecord(*app.data, 0x10309);
    const std::vector<uint8_t> maskBefore(app.data->records[mask].data,
                                          app.data->records[mask].data + 4);
    PressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(CurrentSettingsSheet(), sheet) << "the Network page refused";
    // Nothing the Network page refused was packed by another page's apply.
    EXPECT_EQ(std::vector<uint8_t>(app.data->records[mask].data, app.data->records[mask].data + 4),
              maskBefore);
    return true;
  });
  Finish(script, PSBTN_CANCEL);
  const std::string working = SettingText(*app.data, kMachineNameId);
  EXPECT_EQ(working, "Lab");
  auto reread = SaveAndReadBack("refused.DAT");
  EXPECT_EQ(std::string(SettingText(*reread, kMachineNameId)), working);
}

TEST_F(AdministratorSheet, LabelsComeFromTheResourceModule) {
  for (const char* module : {ODC_SETUP_DLL_PATH, ODC_SETUP_JAPANESE_DLL_PATH}) {
    HMODULE resources = LoadLibraryA(module);
    ASSERT_NE(resources, nullptr) << module;
    app.resources = resources;
    Script script;
    OpenWithNumber(script).Then([&] {
      EXPECT_EQ(WindowTextOf(sheet).find(ModuleText(resources, IDS_ADMINISTRATOR_SHEET)), 0u);
      HWND page = CurrentPage(sheet);
      EXPECT_EQ(ItemText(page, IDC_AM_ACCOUNT_TRACK), ModuleText(resources, IDS_AM_ACCOUNT_TRACK));
      EXPECT_EQ(ItemText(page, IDC_AM_REMOTE_PASSWORD_LABEL),
                ModuleText(resources, IDS_AM_REMOTE_PASSWORD));
      HWND info = ShowPage(ModuleText(resources, IDS_PAGE_MACHINE_INFORMATION));
      EXPECT_NE(info, nullptr);
      if (info != nullptr) {
        EXPECT_EQ(ItemText(info, IDC_MI_PHONE_LABEL), ModuleText(resources, IDS_MI_PHONE));
      }
      return true;
    });
    Finish(script, PSBTN_CANCEL);
    app.resources = app.instance;
    FreeLibrary(resources);
  }
}

}  // namespace
}  // namespace test
}  // namespace odc
