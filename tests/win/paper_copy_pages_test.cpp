// The Paper Source and the two Copy Setting pages in the real Utility
// Setting sheet, run in-process under Wine and driven through a script:
// present in the sheet, an edit applied into the transfer image and saved
// into a settings data file, a refused leave, the size completion in a real
// edit control, and the Inch/Metric Setting and Paper Type dialogs' OK and
// Cancel.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/data_file.h"
#include "setup/settings/settings_framework.h"
#include "tests/win/settings_harness.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kInchMetric = 0x10100, kMedia = 0x10105, kSizeMode = 0x10106, kSizeX = 0x10107,
                   kSizeY = 0x10108, kPaperType = 0x10109, kMemory2X = 0x10202, kMemory2Y = 0x10203;
constexpr uint32_t kPaperPriority = 0x10600, kMargin = 0x10606, kErase = 0x10607;
constexpr uint32_t kOutputPriority = 0x10701, kMixedOriginal = 0x10703;

class PaperCopyPages : public SettingsWindow {
 protected:
  // Opens the Utility Setting sheet and runs the steps in it; the last step
  // ends the sheet.
  void RunUtility(Script& script) {
    script.Run([&] { Command(ID_MACHINE_UTILITY_SETTING); });
    EXPECT_EQ(CurrentSettingsSheet(), nullptr) << "the sheet is still open";
  }
  // Brings the page with this caption to the front; its window, or nullptr
  // when the current page refused to be left.
  static HWND ShowPage(HWND sheet, const std::string& caption) {
    const std::vector<std::string> captions = PageCaptions(sheet);
    const auto it = std::find(captions.begin(), captions.end(), caption);
    if (it == captions.end()) return nullptr;
    if (!SendMessageA(sheet, PSM_SETCURSEL, it - captions.begin(), 0)) return nullptr;
    return CurrentPage(sheet);
  }
  // Shown by the dialog (the dialog itself may not be on screen yet).
  static bool Visible(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
  }
  static std::pair<int, int> Selection(HWND page, int id) {
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(page, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
  // File > Save As into a fresh file, read back into a data set of its own.
  std::unique_ptr<DataSet> SaveAndReadBack() {
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "paper_copy_pages_test.dat";
    DeleteFileA(path.c_str());
    prompts.files.push_back(path);
    Command(ID_FILE_SAVE_AS);
    auto read = std::make_unique<DataSet>();
    BuildTransferImage(*read);
    EXPECT_EQ(ReadDataFile(*read, path), 1) << path;
    UnpackTransferImage(*read);
    DeleteFileA(path.c_str());
    return read;
  }
  uint32_t ImageValue(uint32_t id) {
    const uint8_t* data = app.data->records[FindRecord(*app.data, id)].data;
    return data[0] | data[1] << 8;
  }
  // A step that presses a button of the page without waiting for the modal
  // dialog it opens (the next steps run inside that dialog).
  static void PressLater(HWND page, int id) { PostMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0); }
};

TEST_F(PaperCopyPages, PresentWithAndWithoutTheNicKit) {
  for (uint8_t nic : {0, 1}) {
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
    RunUtility(script);
    ASSERT_GE(captions.size(), 4u) << "NIC kit " << int(nic);
    EXPECT_EQ(captions[1], "Paper Source");
    EXPECT_EQ(captions[2], "Copy Setting(1)");
    EXPECT_EQ(captions[3], "Copy Setting(2)");
  }
}

TEST_F(PaperCopyPages, PaperSourceEditIsAppliedAndSaved) {
  SetSetting(*app.data, kSizeMode, 0);
  SetSetting(*app.data, kSizeY, 297);
  PackTransferImage(*app.data);
  Script script;
  script.Then([&] {
    HWND sheet = CurrentSettingsSheet();
    if (sheet == nullptr) return false;
    HWND page = ShowPage(sheet, "Paper Source");
    EXPECT_NE(page, nullptr);
    EXPECT_EQ(ItemText(page, IDC_PS_SIZE_INPUT), "&Size Input");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PS_X)));
    ClickButton(page, IDC_PS_SIZE_INPUT);
    ClickButton(page, IDC_PS_CARD);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PS_X)));
    // The real edit completes a first digit, and a completion in turn.
    TypeText(page, IDC_PS_X, "2");
    EXPECT_EQ(ItemText(page, IDC_PS_X), "200");
    EXPECT_EQ(Selection(page, IDC_PS_X), std::make_pair(1, 3));
    TypeText(page, IDC_PS_X, "6");
    EXPECT_EQ(ItemText(page, IDC_PS_X), "432");
    EXPECT_EQ(Selection(page, IDC_PS_X), std::make_pair(1, 3));
    TypeText(page, IDC_PS_X, "25");
    EXPECT_EQ(ItemText(page, IDC_PS_X), "250");
    EXPECT_EQ(Selection(page, IDC_PS_X), std::make_pair(2, 3));
    TypeText(page, IDC_PS_X, "257");
    EXPECT_EQ(GetSetting(*app.data, kSizeX), 257u);
    EXPECT_NE(ImageValue(kSizeX), 257u);  // not packed before Apply
    PressSheetButton(sheet, PSBTN_APPLYNOW);
    EXPECT_EQ(ImageValue(kSizeX), 257u);
    PressSheetButton(sheet, PSBTN_CANCEL);
    return true;
  });
  RunUtility(script);
  const std::unique_ptr<DataSet> saved = SaveAndReadBack();
  EXPECT_EQ(GetSetting(*saved, kSizeX), 257u);
  EXPECT_EQ(GetSetting(*saved, kSizeMode), 1u);
  EXPECT_EQ(GetSetting(*saved, kMedia), 2u);
}

TEST_F(PaperCopyPages, CopySettingEditsAreAppliedAndSaved) {
  SetSetting(*app.data, kMixedOriginal, 1);
  SetSetting(*app.data, kOutputPriority, 0);
  SetSetting(*app.data, kPaperPriority, 0);
  PackTransferImage(*app.data);
  Script script;
  script.Then([&] {
    HWND sheet = CurrentSettingsSheet();
    if (sheet == nullptr) return false;
    HWND page = ShowPage(sheet, "Copy Setting(1)");
    EXPECT_NE(page, nullptr);
    EXPECT_EQ(ItemText(page, IDC_C1_ERASE_UPPER_LABEL), "Upper(&1)");
    TypeText(page, IDC_C1_MARGIN, "17");
    ChooseListItem(page, IDC_C1_PAPER_PRIORITY, 1);
    page = ShowPage(sheet, "Copy Setting(2)");
    EXPECT_NE(page, nullptr);
    EXPECT_FALSE(Checked(page, IDC_C2_MIXED_ORIGINAL));
    ClickButton(page, IDC_C2_MIXED_ORIGINAL);
    ClickButton(page, IDC_C2_GROUP);
    PressSheetButton(sheet, PSBTN_OK);
    return true;
  });
  RunUtility(script);
  EXPECT_EQ(ImageValue(kMargin), 17u);
  EXPECT_EQ(ImageValue(kMixedOriginal), 0u);
  const std::unique_ptr<DataSet> saved = SaveAndReadBack();
  EXPECT_EQ(GetSetting(*saved, kMargin), 17u);
  EXPECT_EQ(GetSetting(*saved, kPaperPriority), 1u);
  EXPECT_EQ(GetSetting(*saved, kMixedOriginal), 0u);  // checked: "on" is 0
  EXPECT_EQ(GetSetting(*saved, kOutputPriority), 2u);
}

TEST_F(PaperCopyPages, ARefusedLeaveKeepsThePage) {
  // A stored size of another machine: the page shows it as it is.
  SetSetting(*app.data, kSizeMode, 4);
  SetSetting(*app.data, kMemory2X, 100);
  SetSetting(*app.data, kMemory2Y, 200);
  PackTransferImage(*app.data);
  const size_t before = prompts.messages.size();
  Script script;
  script.Then([&] {
    HWND sheet = CurrentSettingsSheet();
    if (sheet == nullptr) return false;
    HWND page = ShowPage(sheet, "Paper Source");
    EXPECT_EQ(ItemText(page, IDC_PS_X5), "100");
    // Leaving is refused with one message, the field focused, every time.
    for (int attempt = 1; attempt <= 2; ++attempt) {
      EXPECT_EQ(ShowPage(sheet, "Machine Setting"), nullptr) << attempt;
      EXPECT_EQ(CurrentPage(sheet), page);
      EXPECT_EQ(prompts.messages.size(), before + attempt);
      EXPECT_EQ(prompts.messages.back().text, "Invalid value : must be within 140 to 432 !");
      EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_PS_X5));
    }
    TypeText(page, IDC_PS_X5, "297");
    EXPECT_NE(ShowPage(sheet, "Copy Setting(1)"), nullptr);

    // OK on a page that refuses to be left keeps the sheet open.
    page = CurrentPage(sheet);
    TypeText(page, IDC_C1_MARGIN, "25");
    PressSheetButton(sheet, PSBTN_OK);
    EXPECT_EQ(CurrentSettingsSheet(), sheet);
    EXPECT_EQ(CurrentPage(sheet), page);
    EXPECT_EQ(prompts.messages.back().text, "Invalid value : must be within 0 to 20 !");
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_C1_MARGIN));
    EXPECT_NE(ImageValue(kMargin), 25u);
    PressSheetButton(sheet, PSBTN_CANCEL);
    return true;
  });
  RunUtility(script);
  EXPECT_EQ(prompts.messages.size(), before + 3);
  EXPECT_EQ(GetSetting(*app.data, kMemory2X), 100u);  // the cancel threw the edits away
}

TEST_F(PaperCopyPages, InchMetricOkAndCancel) {
  app.data->machineInfo[machine_info::kTrayCount] = 2;
  SetSetting(*app.data, kInchMetric, 0);
  SetSetting(*app.data, kInchMetric + 1, 0);
  PackTransferImage(*app.data);
  HWND page = nullptr;
  Script script;
  for (int end : {IDCANCEL, IDOK}) {
    script
        .Then([&] {
          HWND sheet = CurrentSettingsSheet();
          if (sheet == nullptr) return false;
          page = ShowPage(sheet, "Paper Source");
          PressLater(page, IDC_PS_INCH_METRIC);
          return true;
        })
        .Then([&, end] {
          HWND dialog = FindDialog("Inch/Metric Setting");
          if (dialog == nullptr) return false;
          EXPECT_TRUE(Visible(GetDlgItem(dialog, IDC_IM_METRIC + 1)));
          EXPECT_FALSE(Visible(GetDlgItem(dialog, IDC_IM_METRIC + 2)));
          EXPECT_FALSE(Visible(GetDlgItem(dialog, IDC_IM_TRAY_GROUP + 4)));
          EXPECT_EQ(ItemText(dialog, IDC_IM_INCH + 1), "Inch(&1)");
          ClickButton(dialog, IDC_IM_METRIC);
          ClickButton(dialog, IDC_IM_METRIC + 1);
          EXPECT_EQ(GetSetting(*app.data, kInchMetric + 1), 1u);
          SendMessageA(dialog, WM_COMMAND, end, 0);
          return true;
        })
        .Then([&, end] {
          if (FindDialog("Inch/Metric Setting") != nullptr) return false;
          const uint32_t expected = end == IDOK ? 1u : 0u;
          EXPECT_EQ(GetSetting(*app.data, kInchMetric), expected);
          EXPECT_EQ(GetSetting(*app.data, kInchMetric + 1), expected);
          EXPECT_EQ(app.settingsUi.IsChanged(PageId::PaperSource), end == IDOK);
          if (end == IDOK) PressSheetButton(CurrentSettingsSheet(), PSBTN_OK);
          return true;
        });
  }
  RunUtility(script);
  EXPECT_EQ(ImageValue(kInchMetric), 1u);
  EXPECT_EQ(ImageValue(kInchMetric + 1), 1u);
}

TEST_F(PaperCopyPages, PaperTypeOkAndCancel) {
  app.data->machineInfo[machine_info::kTrayCount] = 3;
  app.data->machineInfo[machine_info::kMultiBypass] = 1;
  app.data->machineInfo[machine_info::kDuplexUnit] = 0;
  SetSetting(*app.data, kPaperType, 3);  // 1-Side, but there is no duplex unit
  SetSetting(*app.data, kPaperType + 2, 1);
  PackTransferImage(*app.data);
  Script script;
  for (int end : {IDCANCEL, IDOK}) {
    script
        .Then([&] {
          HWND sheet = CurrentSettingsSheet();
          if (sheet == nullptr) return false;
          PressLater(ShowPage(sheet, "Paper Source"), IDC_PS_PAPER_TYPE);
          return true;
        })
        .Then([&, end] {
          HWND dialog = FindDialog("Paper Type");
          if (dialog == nullptr) return false;
          EXPECT_TRUE(Checked(dialog, IDC_PT_PLAIN));
          EXPECT_EQ(GetSetting(*app.data, kPaperType), 0u);
          EXPECT_FALSE(Visible(GetDlgItem(dialog, IDC_PT_ONE_SIDE)));
          EXPECT_TRUE(Visible(GetDlgItem(dialog, IDC_PT_SPECIAL + 2)));
          EXPECT_FALSE(Visible(GetDlgItem(dialog, IDC_PT_SPECIAL + 3)));
          EXPECT_FALSE(Visible(GetDlgItem(dialog, IDC_PT_TRAY_GROUP + 5)));
          ClickButton(dialog, IDC_PT_SPECIAL + 2);
          SendMessageA(dialog, WM_COMMAND, end, 0);
          return true;
        })
        .Then([&, end] {
          if (FindDialog("Paper Type") != nullptr) return false;
          EXPECT_EQ(GetSetting(*app.data, kPaperType), end == IDOK ? 0u : 3u);
          EXPECT_EQ(GetSetting(*app.data, kPaperType + 2), end == IDOK ? 2u : 1u);
          if (end == IDOK) PressSheetButton(CurrentSettingsSheet(), PSBTN_OK);
          return true;
        });
  }
  RunUtility(script);
  EXPECT_EQ(ImageValue(kPaperType), 0u);
  EXPECT_EQ(ImageValue(kPaperType + 2), 2u);
}

TEST_F(PaperCopyPages, EraseWidthsAreClampedWhenThePageOpens) {
  SetSetting(*app.data, kErase, 30);
  PackTransferImage(*app.data);
  Script script;
  script.Then([&] {
    HWND sheet = CurrentSettingsSheet();
    if (sheet == nullptr) return false;
    HWND page = ShowPage(sheet, "Copy Setting(1)");
    EXPECT_EQ(ItemText(page, IDC_C1_ERASE_LEFT), "20");
    EXPECT_EQ(GetSetting(*app.data, kErase), 20u);
    PressSheetButton(sheet, PSBTN_CANCEL);
    return true;
  });
  RunUtility(script);
}

}  // namespace
}  // namespace test
}  // namespace odc
