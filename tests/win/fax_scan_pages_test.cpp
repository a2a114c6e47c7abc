// The FAX TX and FAX RX Operation, Scan Setting and Report Setting pages in
// the real Utility Setting sheet, with the Select Tray and Forward Location
// dialogs, run in-process under the null graphics driver.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "setup/settings/fax_rx_dialogs.h"
#include "setup/settings/settings_framework.h"
#include "tests/win/settings_harness.h"

namespace odc {
namespace test {
namespace {

using namespace fax_rx_items;

class FaxScanPages : public SettingsWindow {
 protected:
  // Opens the Utility Setting sheet (command 120) and runs the script's
  // steps in it; the last step must close the sheet.
  void RunSheet(Script& script) {
    script.Run([&] { Command(ID_MACHINE_UTILITY_SETTING); });
    EXPECT_EQ(CurrentSettingsSheet(), nullptr) << "the sheet is still open";
  }
  // Brings the page with this caption to the front and returns it.
  static HWND ShowPage(HWND sheet, const std::string& caption) {
    const std::vector<std::string> captions = PageCaptions(sheet);
    const auto it = std::find(captions.begin(), captions.end(), caption);
    if (it == captions.end()) return nullptr;
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(it - captions.begin()), 0);
    return CurrentPage(sheet);
  }
  static std::string CurrentCaption(HWND sheet) {
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int index = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    return index >= 0 ? PageCaptions(sheet)[static_cast<size_t>(index)] : "";
  }
  // A dialog once it is up on the screen (a click needs it visible).
  static HWND ShownDialog(const std::string& caption) {
    HWND dialog = FindDialog(caption);
    return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
  }
  // A user's click on a button that opens a modal dialog: posted, so that
  // the script's step ends before the dialog's loop starts.
  static void PostClick(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
  }
  // Puts a value into the working values and the transfer image, as a
  // loaded data set would hold it.
  void Load(uint32_t id, uint32_t value) {
    SetSetting(*app.data, id, value);
    PackTransferImage(*app.data);
  }
  std::string LastMessage() const {
    return prompts.messages.empty() ? "" : prompts.messages.back().text;
  }
  std::vector<uint8_t> ImageBytes(uint32_t id, size_t n) {
    const uint8_t* p = app.data->records[FindRecord(*app.data, id)].data;
    return std::vector<uint8_t>(p, p + n);
  }
  std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
  }
};

TEST_F(FaxScanPages, PagesFollowTheNicKit) {
  for (uint8_t nic : {1, 0}) {
    app.data->machineInfo[machine_info::kNicKit] = nic;
    std::vector<std::string> captions;
    Script script;
    script.Then([&] {
      HWND sheet = CurrentSettingsSheet();
      if (sheet == nullptr) return false;
      captions = PageCaptions(sheet);
      PressSheetButton(sheet, PSBTN_CANCEL);
      return true;
    });
    RunSheet(script);
    auto has = [&](const char* c) { return std::count(captions.begin(), captions.end(), c) == 1; };
    EXPECT_TRUE(has("FAX TX Operation"));
    EXPECT_TRUE(has("FAX RX Operation"));
    EXPECT_TRUE(has("Report Setting"));
    EXPECT_EQ(has("Scan Setting"), nic == 1) << "NIC kit " << int(nic);
    // Page order of the sheet: FAX TX, FAX RX, then Scan, then Report.
    const auto tx = std::find(captions.begin(), captions.end(), "FAX TX Operation");
    ASSERT_NE(tx, captions.end());
    ASSERT_LT(tx + 1, captions.end());
    EXPECT_EQ(*(tx + 1), "FAX RX Operation");
    EXPECT_EQ(captions.back(), "Report Setting");
  }
}

TEST_F(FaxScanPages, AnEditOfEachPageIsAppliedAndSaved) {
  app.data->machineInfo[machine_info::kNicKit] = 1;
  Load(0x10801, 0);
  Load(kReduction, 0);
  Load(0x10B00, 0);
  Load(0x10A01, 0);
  const struct {
    const char* page;
    int control;
    int listIndex;  // -1: a click
    uint32_t item;
    uint32_t value;
  } edits[] = {
      {"FAX TX Operation", IDC_TX_QUALITY, 4, 0x10801, 5},
      {"FAX RX Operation", IDC_RX_REDUCTION_CUT, -1, kReduction, 2},
      {"Scan Setting", IDC_SCAN_600_DPI, -1, 0x10B00, 16},
      {"Report Setting", IDC_REPORT_RESERVATION, -1, 0x10A01, 0x40},
  };
  for (const auto& e : edits) {
    SCOPED_TRACE(e.page);
    Script script;
    script.Then([&] {
      HWND sheet = CurrentSettingsSheet();
      if (sheet == nullptr) return false;
      HWND page = ShowPage(sheet, e.page);
      EXPECT_NE(page, nullptr);
      if (e.listIndex >= 0) {
        ChooseListItem(page, e.control, e.listIndex);
      } else {
        ClickButton(page, e.control);
      }
      EXPECT_EQ(GetSetting(*app.data, e.item), e.value);
      EXPECT_NE(ImageByte(e.item), e.value) << "packed before Apply";
      PressSheetButton(sheet, PSBTN_APPLYNOW);
      EXPECT_EQ(ImageByte(e.item), e.value);
      PressSheetButton(sheet, PSBTN_CANCEL);
      return true;
    });
    RunSheet(script);
    EXPECT_EQ(ImageByte(e.item), e.value);
  }

  const std::string path = TempPath("fax_scan_pages.DAT");
  prompts.files = {path};
  Command(ID_FILE_SAVE_AS);
  auto reread = std::make_unique<DataSet>();
  ASSERT_EQ(ReadDataFile(*reread, path), 1);
  UnpackTransferImage(*reread);
  for (const auto& e : edits) EXPECT_EQ(GetSetting(*reread, e.item), e.value) << e.page;
  DeleteFileA(path.c_str());
}

TEST_F(FaxScanPages, ARefusedPasswordKeepsThePage) {
  Load(kMemoryRxMode, 0);
  bool keptOnLeave = false, keptOnOk = false;
  Script script;
  script
      .Then([&] {
        HWND sheet = CurrentSettingsSheet();
        if (sheet == nullptr) return false;
        HWND page = ShowPage(sheet, "FAX RX Operation");
        ClickButton(page, IDC_RX_MEMORY_ON);
        TypeText(page, IDC_RX_PASSWORD, "12");
        // Another tab: the page refuses to be left.
        ShowPage(sheet, "Machine Setting");
        keptOnLeave = CurrentCaption(sheet) == "FAX RX Operation";
        EXPECT_EQ(LastMessage(), "Invalid password : must be within 0000 to 9999 !");
        PressSheetButton(sheet, PSBTN_OK);
        return true;
      })
      .Then([&] {
        HWND sheet = CurrentSettingsSheet();
        keptOnOk = sheet != nullptr;
        if (sheet == nullptr) return true;
        EXPECT_EQ(CurrentCaption(sheet), "FAX RX Operation");
        EXPECT_NE(ImageByte(kMemoryRxMode), 0x80u) << "a refused page was packed";
        TypeText(CurrentPage(sheet), IDC_RX_PASSWORD, "1234");
        PressSheetButton(sheet, PSBTN_OK);
        return true;
      });
  RunSheet(script);
  EXPECT_TRUE(keptOnLeave);
  EXPECT_TRUE(keptOnOk);
  EXPECT_EQ(ImageByte(kMemoryRxMode), 0x80u);
  EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12)[kPasswordOffset], '1');
  EXPECT_EQ(ImageBytes(kMemoryRxWindow, 12)[kPasswordOffset + 3], '4');
}

TEST_F(FaxScanPages, SelectTrayOkAndCancel) {
  app.data->machineInfo[machine_info::kTrayCount] = 3;
  for (int t = 0; t < 5; ++t) Load(kFirstTray + t, 1u << t);
  HWND page = nullptr;
  Script script;
  script
      .Then([&] {
        HWND sheet = CurrentSettingsSheet();
        if (sheet == nullptr) return false;
        page = ShowPage(sheet, "FAX RX Operation");
        PostClick(page, IDC_RX_SELECT_TRAY);
        return true;
      })
      .Then([&] {
        HWND dialog = ShownDialog("Select Tray");
        if (dialog == nullptr) return false;
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_TRAY_ENABLE_1 + 2)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_TRAY_ENABLE_1 + 3)));
        EXPECT_TRUE(Checked(dialog, IDC_TRAY_ENABLE_1 + 1));
        ClickButton(dialog, IDC_TRAY_DISABLE_1 + 1);
        EXPECT_EQ(GetSetting(*app.data, kFirstTray + 1), 0u);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
      })
      .Then([&] {
        if (FindDialog("Select Tray") != nullptr) return false;
        EXPECT_EQ(GetSetting(*app.data, kFirstTray + 1), 2u) << "Cancel puts the tray back";
        EXPECT_FALSE(app.settingsUi.IsChanged(PageId::FaxRxOperation));
        PostClick(page, IDC_RX_SELECT_TRAY);
        return true;
      })
      .Then([&] {
        HWND dialog = ShownDialog("Select Tray");
        if (dialog == nullptr) return false;
        ClickButton(dialog, IDC_TRAY_DISABLE_1);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
      })
      .Then([&] {
        if (FindDialog("Select Tray") != nullptr) return false;
        EXPECT_TRUE(app.settingsUi.IsChanged(PageId::FaxRxOperation));
        PressSheetButton(CurrentSettingsSheet(), PSBTN_OK);
        return true;
      });
  RunSheet(script);
  EXPECT_EQ(ImageByte(kFirstTray), 0u);
  EXPECT_EQ(ImageByte(kFirstTray + 1), 2u);
}

TEST_F(FaxScanPages, ForwardLocationOkAndCancel) {
  Load(kForwardMode, 0x40);
  std::memset(SettingBytes(*app.data, kForwardLocation), 0, 72);
  PackTransferImage(*app.data);
  HWND page = nullptr;
  std::vector<uint8_t> accepted;
  Script script;
  script
      .Then([&] {
        HWND sheet = CurrentSettingsSheet();
        if (sheet == nullptr) return false;
        page = ShowPage(sheet, "FAX RX Operation");
        PostClick(page, IDC_RX_FORWARD_ON);
        return true;
      })
      .Then([&] {
        HWND dialog = ShownDialog("Forward Location");
        if (dialog == nullptr) return false;
        EXPECT_EQ(ItemText(dialog, IDC_FWD_NUMBER_LABEL), "&Phone Number:");
        TypeText(dialog, IDC_FWD_NUMBER, "06-1234");
        TypeText(dialog, IDC_FWD_SUB, "5");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
      })
      .Then([&] {
        if (FindDialog("Forward Location") != nullptr) return false;
        const uint8_t* r = SettingBytes(*app.data, kForwardLocation);
        accepted.assign(r, r + 72);
        EXPECT_EQ(GetSetting(*app.data, kForwardMode), 0x00u);
        EXPECT_TRUE(Checked(page, IDC_RX_FORWARD_ON));
        PostClick(page, IDC_RX_FORWARD_PRINT);
        return true;
      })
      .Then([&] {
        HWND dialog = ShownDialog("Forward Location");
        if (dialog == nullptr) return false;
        EXPECT_EQ(ItemText(dialog, IDC_FWD_NUMBER), "06-1234");
        ClickButton(dialog, IDC_FWD_EMAIL);
        TypeText(dialog, IDC_FWD_ADDRESS, "desk@example.org");
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
      })
      .Then([&] {
        if (FindDialog("Forward Location") != nullptr) return false;
        EXPECT_EQ(GetSetting(*app.data, kForwardMode), 0x00u) << "back to ON(3)";
        EXPECT_TRUE(Checked(page, IDC_RX_FORWARD_ON));
        EXPECT_FALSE(Checked(page, IDC_RX_FORWARD_PRINT));
        PressSheetButton(CurrentSettingsSheet(), PSBTN_OK);
        return true;
      });
  RunSheet(script);
  std::vector<uint8_t> expected(72, 0);
  const uint8_t head[] = {2, 7, 0, 1, 0, 0x60, 0x1F, 0x32, 0x04};
  std::copy(std::begin(head), std::end(head), expected.begin());
  expected[30] = 0x05;
  EXPECT_EQ(accepted, expected);
  EXPECT_EQ(ImageBytes(kForwardLocation, 72), expected);
  EXPECT_EQ(ImageByte(kForwardMode), 0x00u);
}

}  // namespace
}  // namespace test
}  // namespace odc
