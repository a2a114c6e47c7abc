// The real settings sheets and the small dialogs of the Setting menu, run
// in-process under the null graphics driver and driven through a script.
#include <cstring>
#include <string>
#include <vector>

#include "setup/data/dial_codec.h"
#include "setup/settings/english_strings.h"
#include "setup/settings/settings_framework.h"
#include "tests/win/settings_harness.h"

namespace odc {
namespace test {
namespace {

constexpr uint32_t kBuzzerId = 0x10007;

class SettingsSheet : public SettingsWindow {
 protected:
  // Opens the Utility Setting sheet (command 120), runs `steps` on it and
  // ends it with `button`.
  void RunUtility(std::function<void(HWND sheet)> steps, int button) {
    Script script;
    script.Then([&] {
      HWND sheet = CurrentSettingsSheet();
      if (sheet == nullptr) return false;
      steps(sheet);
      PressSheetButton(sheet, button);
      return true;
    });
    script.Run([&] { Command(ID_MACHINE_UTILITY_SETTING); });
    EXPECT_EQ(CurrentSettingsSheet(), nullptr) << "the sheet is still open";
  }
  std::vector<std::string> ExpectedCaptions(SheetId sheet) {
    std::vector<std::string> captions;
    for (const PageEntry& e : SheetPages(sheet, *app.data))
      captions.push_back(EnglishString(e.captionId));
    return captions;
  }
  bool WorkingEqualsImage() {
    DataSet copy = *app.data;
    UnpackTransferImage(copy);
    return std::memcmp(copy.settings.bytes, app.data->settings.bytes, sizeof copy.settings.bytes) ==
           0;
  }
};

TEST_F(SettingsSheet, PagesFollowTheNicKit) {
  for (uint8_t nic : {0, 1}) {
    app.data->machineInfo[machine_info::kNicKit] = nic;
    std::vector<std::string> captions;
    RunUtility([&](HWND sheet) { captions = PageCaptions(sheet); }, PSBTN_CANCEL);
    EXPECT_EQ(captions, ExpectedCaptions(SheetId::Utility)) << "NIC kit " << int(nic);
    EXPECT_EQ(captions.front(), "Machine Setting");
    if (nic == 0) {
      EXPECT_EQ(std::count(captions.begin(), captions.end(), "Scan Setting"), 0);
    }
  }
}

TEST_F(SettingsSheet, ApplyPacksAndALaterCancelKeepsIt) {
  ASSERT_NE(ImageByte(kBuzzerId), 0x80u);
  RunUtility(
      [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        ClickButton(page, IDC_MS_BUZZER_OFF);
        EXPECT_EQ(ImageByte(kBuzzerId), ImageByte(kBuzzerId));  // not yet packed
        PressSheetButton(sheet, PSBTN_APPLYNOW);
        EXPECT_EQ(ImageByte(kBuzzerId), 0x80u);
        ClickButton(page, IDC_MS_BUZZER_HIGH);
        EXPECT_EQ(GetSetting(*app.data, kBuzzerId), 0u);
      },
      PSBTN_CANCEL);
  EXPECT_EQ(ImageByte(kBuzzerId), 0x80u);
  EXPECT_EQ(GetSetting(*app.data, kBuzzerId), 0x80u);
  EXPECT_TRUE(WorkingEqualsImage());
  EXPECT_TRUE(app.modified);
}

TEST_F(SettingsSheet, CancelLeavesImageAndWorkingValuesEqual) {
  const DataSet before = *app.data;
  app.modified = false;
  RunUtility(
      [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        ClickButton(page, IDC_MS_BUZZER_OFF);
        ClickButton(page, IDC_MS_INITIAL_FAX);
        MoveSlider(page, IDC_MS_ENERGY_SLIDER, 200);
        EXPECT_EQ(GetSetting(*app.data, 0x10001), 200u);
      },
      PSBTN_CANCEL);
  EXPECT_EQ(std::memcmp(before.records, app.data->records, sizeof before.records), 0);
  EXPECT_TRUE(WorkingEqualsImage());
  EXPECT_FALSE(app.modified);
}

// Home and End move a trackbar's thumb by themselves; they change no value,
// so the thumb and its label stay on the stored time.
TEST_F(SettingsSheet, HomeAndEndOnASliderKeepTheStoredValue) {
  SetSetting(*app.data, 0x10001, 30);  // energy save time, minutes
  PackTransferImage(*app.data);
  RunUtility(
      [&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        HWND slider = GetDlgItem(page, IDC_MS_ENERGY_SLIDER);
        const uint32_t stored = GetSetting(*app.data, 0x10001);
        ASSERT_EQ(stored, 30u);
        for (WPARAM key : {VK_HOME, VK_END}) {
          SendMessageA(slider, WM_KEYDOWN, key, 0);
          SendMessageA(slider, WM_KEYUP, key, 0);
          EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), static_cast<LRESULT>(stored));
          EXPECT_EQ(GetSetting(*app.data, 0x10001), stored);
          EXPECT_EQ(ItemText(page, IDC_MS_ENERGY_LABEL), std::to_string(stored) + " min");
        }
      },
      PSBTN_CANCEL);
}

TEST_F(SettingsSheet, OkPacksTheChangedPageAndCloses) {
  RunUtility([&](HWND sheet) { ClickButton(CurrentPage(sheet), IDC_MS_BUZZER_LOW); }, PSBTN_OK);
  EXPECT_EQ(ImageByte(kBuzzerId), 0x40u);
  EXPECT_TRUE(IsWindowEnabled(window));
}

TEST_F(SettingsSheet, AStaleChangedFlagDoesNotHoldTheSheetOpen) {
  app.settingsUi.Changed(PageId::ReportSetting) = 1;
  app.settingsUi.Changed(PageId::MachineInformation) = 1;
  RunUtility([&](HWND sheet) { ClickButton(CurrentPage(sheet), IDC_MS_BUZZER_OFF); }, PSBTN_OK);
  EXPECT_EQ(ImageByte(kBuzzerId), 0x80u);
}

TEST_F(SettingsSheet, LabelsComeFromTheResourceModule) {
  for (const char* module : {ODC_SETUP_DLL_PATH, ODC_SETUP_JAPANESE_DLL_PATH}) {
    HMODULE resources = LoadLibraryA(module);
    ASSERT_NE(resources, nullptr) << module;
    app.resources = resources;
    RunUtility(
        [&](HWND sheet) {
          EXPECT_EQ(WindowTextOf(sheet).find(ModuleText(resources, IDS_UTILITY_SETTING)), 0u);
          HWND page = CurrentPage(sheet);
          EXPECT_EQ(ItemText(page, IDC_MS_AUTO_PANEL_RESET),
                    ModuleText(resources, IDS_MS_AUTO_PANEL_RESET));
          EXPECT_EQ(ItemText(page, IDC_MS_KEY_GROUP), ModuleText(resources, IDS_MS_KEY_SPEED));
          EXPECT_EQ(ItemText(page, IDC_MS_LCD_DARKER), ModuleText(resources, IDS_DARKER));
        },
        PSBTN_CANCEL);
    app.resources = app.instance;
    FreeLibrary(resources);
  }
}

TEST_F(SettingsSheet, UtilitySettingFromSpeedDialViewSelectsTheRoot) {
  Command(ID_VIEW_SPEED_DIAL);
  ASSERT_EQ(app.columnLayout, 2);
  RunUtility([](HWND) {}, PSBTN_CANCEL);
  EXPECT_EQ(app.columnLayout, 1);
  const LPARAM root = SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  EXPECT_EQ(SendMessageA(app.tree, TVM_GETNEXTITEM, TVGN_CARET, 0), root);
}

// The counter and status dialogs, as the menus open them.
class InfoDialogs : public SettingsWindow {
 protected:
  std::vector<std::string> Texts(int command, const std::string& caption,
                                 const std::vector<int>& ids) {
    std::vector<std::string> texts;
    Script script;
    script.Then([&] {
      HWND dialog = FindDialog(caption);
      if (dialog == nullptr) return false;
      for (int id : ids)
        texts.push_back((GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE)
                            ? ItemText(dialog, id)
                            : "(hidden)");
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
      return true;
    });
    script.Run([&] { Command(command); });
    return texts;
  }
  void SetCounters(uint32_t value) {
    // The counters are the machine's: the dialog reads them from the image.
    for (uint32_t id = kFirstCounterId; id <= kLastCounterId; ++id) {
      uint8_t* data = app.data->records[FindRecord(*app.data, id)].data;
      for (int i = 0; i < 4; ++i) data[i] = static_cast<uint8_t>(value >> (8 * i));
    }
  }
};

TEST_F(InfoDialogs, CountersAreUnsigned) {
  SetCounters(0xFFFFFFFF);
  EXPECT_EQ(Texts(ID_MACHINE_TOTAL_COUNTER, "Total Counter",
                  {IDC_COUNTER_COPY, IDC_COUNTER_MAIL_TX, IDC_COUNTER_COPY_LABEL}),
            (std::vector<std::string>{"4294967295", "4294967295", "Copy Print :"}));
  SetCounters(0);
  EXPECT_EQ(Texts(ID_MACHINE_TOTAL_COUNTER, "Total Counter", {IDC_COUNTER_PC}),
            (std::vector<std::string>{"0"}));
}

TEST_F(InfoDialogs, MachineStatusOfAFullAndAnEmptyBlock) {
  const std::vector<int> ids = {IDC_STATUS_ADF_LABEL,   IDC_STATUS_ADF,          IDC_STATUS_TRAY,
                                IDC_STATUS_BYPASS,      IDC_STATUS_OUTPUT_LABEL, IDC_STATUS_OUTPUT,
                                IDC_STATUS_DUPLEX,      IDC_STATUS_NIC,          IDC_STATUS_MEMORY,
                                IDC_STATUS_MAIN_VERSION};
  uint8_t* info = app.data->machineInfo;
  std::memset(info, 0, kMachineInfoSize);
  std::vector<std::string> empty = Texts(ID_MACHINE_CONFIGURATION, "Machine Status", ids);
  EXPECT_EQ(empty[0].rfind("ADF unit", 0), 0u);
  EXPECT_EQ(empty[1], "Not Installed");
  EXPECT_EQ(empty[2], "Not Installed");
  EXPECT_EQ(empty[3], "Not Installed");
  EXPECT_EQ(empty[4].rfind("Output Tray", 0), 0u);
  EXPECT_EQ(empty[5], "Not Installed");
  EXPECT_EQ(empty[8], "0");
  EXPECT_EQ(empty[9], "");

  const uint8_t full[] = {1, 1, 5, 2, 0, 1, 1, 1, 1, 0x00, 0x01};
  std::memcpy(info, full, sizeof full);
  std::memset(info + machine_info::kFirstVersion, 'V', 12);  // no terminating zero
  std::vector<std::string> texts = Texts(ID_MACHINE_CONFIGURATION, "Machine Status", ids);
  EXPECT_EQ(texts[0].rfind("ADF(Duplex) unit", 0), 0u);
  EXPECT_EQ(texts[1], "Installed");
  EXPECT_EQ(texts[2], "2,3,4,5 Tray Installed");
  EXPECT_EQ(texts[3], "Installed");
  EXPECT_EQ(texts[4].rfind("Shifter", 0), 0u);
  EXPECT_EQ(texts[6], "Installed");
  EXPECT_EQ(texts[7], "Installed");
  EXPECT_EQ(texts[8], "256");
  EXPECT_EQ(texts[9], "VVVVVVVVVVVV");
}

// Download in the Group view takes out of every group the members whose
// Speed Dial the machine no longer holds. Opening Total Counter and then
// Utility Setting (which rebuild nothing, and rebuild the working values
// from the image) must not bring the member back into what Save writes.
TEST_F(InfoDialogs, DownloadsGroupCleanUpOutlivesCounterAndUtilitySetting) {
  DataSet& memory = machine->memory();
  int emptyDial = -1, usedDial = -1, freeKey = -1;
  for (int s = 0; s < kSpeedDialCount; ++s) {
    const ItemRecord& r = memory.records[kOneTouchCount + s];
    if (r.length == 0 && emptyDial < 0) emptyDial = s;
    if (r.length != 0 && r.data[0] != 0 && usedDial < 0) usedDial = s;
  }
  for (int k = 0; k < 28 && freeKey < 0; ++k)
    if (memory.records[k].length == 0) freeKey = k;
  ASSERT_GE(emptyDial, 0);
  ASSERT_GE(usedDial, 0);
  ASSERT_GE(freeKey, 0);
  // The machine's group: one Speed Dial it has, one it does not.
  auto scratch = std::make_unique<DataSet>();
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "Stale");
  PackGroup(*scratch, group, {},
            {{kMemberSpeedDial, static_cast<uint8_t>(usedDial), 0},
             {kMemberSpeedDial, static_cast<uint8_t>(emptyDial), 0}},
            freeKey);
  std::memcpy(memory.records[freeKey].data, scratch->OneTouchEntry(freeKey), kOneTouchEntrySize);
  memory.records[freeKey].length = kOneTouchEntrySize;

  Command(ID_VIEW_GROUP);
  ASSERT_EQ(app.words.view, 3);
  Command(ID_MACHINE_CONNECT);
  ASSERT_TRUE(app.link->connected);
  prompts.answers = {IDYES};
  Command(ID_MACHINE_DOWNLOAD);
  auto members = [](DataSet& set, int key) {
    DisplayRecord g{};
    UnpackGroup(g, set, key);
    std::vector<int> speedDials;
    for (int m = 0; m < g.memberCount; ++m) speedDials.push_back(g.members[m].index);
    return speedDials;
  };
  ASSERT_EQ(members(*app.data, freeKey), std::vector<int>{usedDial}) << "cleaned by Download";

  Texts(ID_MACHINE_TOTAL_COUNTER, "Total Counter", {IDC_COUNTER_COPY});
  EXPECT_EQ(members(*app.data, freeKey), std::vector<int>{usedDial}) << "after Total Counter";
  Script script;
  script.Then([&] {
    HWND sheet = CurrentSettingsSheet();
    if (sheet == nullptr) return false;
    PressSheetButton(sheet, PSBTN_CANCEL);
    return true;
  });
  script.Run([&] { Command(ID_MACHINE_UTILITY_SETTING); });
  EXPECT_EQ(members(*app.data, freeKey), std::vector<int>{usedDial}) << "after Utility Setting";

  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string path =
      std::string(dir) + "odc_clean_up_" + std::to_string(GetCurrentProcessId()) + ".DAT";
  prompts.files = {path};
  Command(ID_FILE_SAVE_AS);
  auto saved = std::make_unique<DataSet>();
  ASSERT_EQ(ReadDataFile(*saved, path), 1);
  DeleteFileA(path.c_str());
  UnpackTransferImage(*saved);
  EXPECT_EQ(members(*saved, freeKey), std::vector<int>{usedDial}) << "in the saved file";
}

}  // namespace
}  // namespace test
}  // namespace odc
