// Total Counter, Machine Status and Select Print Items through the in-memory
// control surface.
#include "setup/settings/info_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "setup/res/resource.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

std::unique_ptr<DataSet> EmptySet() {
  auto set = std::make_unique<DataSet>();
  BuildTransferImage(*set);
  UnpackTransferImage(*set);
  return set;
}

TEST(CounterDialog, SixCountersFromTheImageAsUnsignedNumbers) {
  auto set = EmptySet();
  const uint32_t values[6] = {0xFFFFFFFF, 1, 0, 123456, 0x80000000, 42};
  for (int i = 0; i < 6; ++i) {
    uint8_t* data = set->records[FindRecord(*set, kFirstCounterId + i)].data;
    for (int b = 0; b < 4; ++b) data[b] = static_cast<uint8_t>(values[i] >> (8 * b));
  }
  CounterDialog dialog(*set);
  MemorySurface s;
  dialog.OnInit(s);
  EXPECT_EQ(s.caption, "Total Counter");
  EXPECT_EQ(s.At(IDC_COUNTER_COPY).text, "4294967295");
  EXPECT_EQ(s.At(IDC_COUNTER_FAX_RX).text, "1");
  EXPECT_EQ(s.At(IDC_COUNTER_REPORT).text, "0");
  EXPECT_EQ(s.At(IDC_COUNTER_PC).text, "123456");
  EXPECT_EQ(s.At(IDC_COUNTER_FAX_TX).text, "2147483648");
  EXPECT_EQ(s.At(IDC_COUNTER_MAIL_TX).text, "42");
  EXPECT_EQ(s.At(IDC_COUNTER_MAIL_TX_LABEL).text, "Mail TX Page :");
  EXPECT_EQ(s.focus, kIdOk);
  dialog.OnCommand(s, kIdOk, kButtonClicked);
  EXPECT_EQ(s.endResult, 1);
}

TEST(CounterDialog, LeavesTheWorkingTablesAsTheyAre) {
  // Edits in the tables that were not packed yet (a group cleaned after a
  // download, a settings value) outlive a look at the counters.
  auto set = EmptySet();
  set->OneTouchEntry(4)[0] = 5;
  set->SpeedDialEntry(9)[0] = 10;
  SetSetting(*set, 0x10007, 0x80);
  uint8_t* copyPrint = set->records[FindRecord(*set, kFirstCounterId)].data;
  copyPrint[0] = 7;
  const DataSet before = *set;
  CounterDialog dialog(*set);
  MemorySurface s;
  dialog.OnInit(s);
  EXPECT_EQ(s.At(IDC_COUNTER_COPY).text, "7");
  EXPECT_EQ(std::memcmp(before.oneTouch, set->oneTouch, sizeof set->oneTouch), 0);
  EXPECT_EQ(std::memcmp(before.speedDial, set->speedDial, sizeof set->speedDial), 0);
  EXPECT_EQ(std::memcmp(&before.settings, &set->settings, sizeof set->settings), 0);
}

struct StatusRows {
  std::string adfLabel, adf, trays, bypass, outputLabel, output, duplex, pcl, nic, memory;
  bool duplexShown;
  std::string mainVersion, adfVersion;
};

StatusRows ShowStatus(const uint8_t* info, size_t size, uint8_t region) {
  auto set = EmptySet();
  std::memcpy(set->machineInfo, info, size);
  SetSetting(*set, kRegionCodeId, region);
  MachineStatusDialog dialog(*set);
  MemorySurface s;
  dialog.OnInit(s);
  EXPECT_EQ(s.caption, "Machine Status");
  return {s.At(IDC_STATUS_ADF_LABEL).text,
          s.At(IDC_STATUS_ADF).text,
          s.At(IDC_STATUS_TRAY).text,
          s.At(IDC_STATUS_BYPASS).text,
          s.At(IDC_STATUS_OUTPUT_LABEL).text,
          s.At(IDC_STATUS_OUTPUT).text,
          s.At(IDC_STATUS_DUPLEX).text,
          s.At(IDC_STATUS_PCL).text,
          s.At(IDC_STATUS_NIC).text,
          s.At(IDC_STATUS_MEMORY).text,
          s.IsShown(IDC_STATUS_DUPLEX) && s.IsShown(IDC_STATUS_DUPLEX_LABEL),
          s.At(IDC_STATUS_MAIN_VERSION).text,
          s.At(IDC_STATUS_ADF_VERSION).text};
}

TEST(MachineStatusDialog, AllZeroBlock) {
  const uint8_t zeros[kMachineInfoSize] = {};
  const StatusRows r = ShowStatus(zeros, sizeof zeros, 0);
  EXPECT_EQ(r.adfLabel.rfind("ADF unit -", 0), 0u);
  EXPECT_EQ(r.adf, "Not Installed");
  EXPECT_EQ(r.trays, "Not Installed");
  EXPECT_EQ(r.bypass, "Not Installed");
  EXPECT_EQ(r.outputLabel.rfind("Output Tray", 0), 0u);
  EXPECT_EQ(r.output, "Not Installed");
  EXPECT_EQ(r.duplex, "Not Installed");
  EXPECT_TRUE(r.duplexShown);
  EXPECT_EQ(r.pcl, "Not Installed");
  EXPECT_EQ(r.nic, "Not Installed");
  EXPECT_EQ(r.memory, "0");
  EXPECT_EQ(r.mainVersion, "");
}

TEST(MachineStatusDialog, RowRules) {
  struct Case {
    uint8_t adf, adfDuplex, trays, bypass, separator, shifter, duplex;
    uint8_t region;
    const char* adfLabel;
    const char* trayText;
    const char* outputLabel;
    bool duplexShown;
  } cases[] = {
      {1, 0, 2, 2, 0, 0, 1, 0, "ADF unit", "2 Tray Installed", "Output Tray", true},
      {0, 1, 3, 1, 1, 1, 0, 0, "ADF(Duplex) unit", "2,3 Tray Installed", "Separator", true},
      {1, 1, 4, 2, 0, 1, 0, 3, "ADF(Duplex) unit", "2,3,4 Tray Installed", "Shifter", false},
      {0, 0, 5, 2, 0, 0, 1, 3, "ADF unit", "2,3,4,5 Tray Installed", "Output Tray", true},
      {0, 0, 1, 2, 0, 0, 0, 1, "ADF unit", "Not Installed", "Output Tray", true},
      {0, 0, 6, 2, 0, 0, 0, 1, "ADF unit", "Not Installed", "Output Tray", true},
  };
  for (const Case& c : cases) {
    uint8_t info[kMachineInfoSize] = {
        c.adf, c.adfDuplex, c.trays, c.bypass, c.separator, c.shifter, 1, 0, c.duplex, 0x34, 0x12};
    const StatusRows r = ShowStatus(info, sizeof info, c.region);
    EXPECT_EQ(r.adfLabel.rfind(c.adfLabel, 0), 0u) << r.adfLabel;
    EXPECT_EQ(r.adf, c.adf || c.adfDuplex ? "Installed" : "Not Installed") << r.adfLabel;
    EXPECT_EQ(r.trays, c.trayText);
    EXPECT_EQ(r.bypass, c.bypass == 2 ? "Installed" : "Not Installed");
    EXPECT_EQ(r.outputLabel.rfind(c.outputLabel, 0), 0u) << r.outputLabel;
    EXPECT_EQ(r.duplexShown, c.duplexShown);
    EXPECT_EQ(r.pcl, "Installed");
    EXPECT_EQ(r.nic, "Not Installed");
    EXPECT_EQ(r.memory, "4660");
  }
}

TEST(MachineStatusDialog, VersionsWithoutATerminatingZero) {
  uint8_t info[kMachineInfoSize] = {};
  std::memcpy(info + 11, "MAIN-1.02.03", 12);
  std::memcpy(info + 23, "ENGINE-9.9.9", 12);  // runs straight into the next field
  std::memcpy(info + 59, "ADF\0garbage!", 12);
  std::memset(info + 71, 'X', 9);
  const StatusRows r = ShowStatus(info, sizeof info, 0);
  EXPECT_EQ(r.mainVersion, "MAIN-1.02.03");
  EXPECT_EQ(r.adfVersion, "ADF");
}

TEST(SelectPrintItemsDialog, OkStoresTheBoxesCancelKeepsTheFlags) {
  SettingsUiState ui;
  ui.printSelection = {false, false, false};
  {
    SelectPrintItemsDialog dialog(ui);
    MemorySurface s;
    dialog.OnInit(s);
    EXPECT_EQ(s.caption, "Select Print Items");
    EXPECT_EQ(s.At(IDC_PRINT_GROUP).text, "Print &Group Dial List");
    EXPECT_TRUE(s.IsChecked(IDC_PRINT_ONE_TOUCH));
    EXPECT_TRUE(s.IsChecked(IDC_PRINT_SPEED_DIAL));
    EXPECT_TRUE(s.IsChecked(IDC_PRINT_GROUP));
    DialogTarget target{dialog};
    s.Click(target, IDC_PRINT_ONE_TOUCH);
    s.Click(target, IDC_PRINT_SPEED_DIAL);
    dialog.OnCommand(s, kIdCancel, kButtonClicked);
    EXPECT_EQ(s.endResult, 0);
    EXPECT_EQ(ui.printSelection, (std::array<bool, 3>{false, false, false}));
  }
  SelectPrintItemsDialog dialog(ui);
  MemorySurface s;
  dialog.OnInit(s);
  DialogTarget target{dialog};
  s.Click(target, IDC_PRINT_ONE_TOUCH);
  s.Click(target, IDC_PRINT_SPEED_DIAL);
  dialog.OnCommand(s, kIdOk, kButtonClicked);
  EXPECT_EQ(s.endResult, 1);
  EXPECT_EQ(ui.printSelection, (std::array<bool, 3>{false, false, true}));
}

}  // namespace
}  // namespace test
}  // namespace odc
