#include "setup/settings/info_dialogs.h"

#include <cstring>

#include "setup/data/bytes.h"
#include "setup/res/resource.h"

namespace odc {

void CounterDialog::OnInit(ControlSurface& s) {
  ApplyLabels(s, {{IDC_COUNTER_COPY_LABEL, IDS_COUNTER_COPY},
                  {IDC_COUNTER_FAX_RX_LABEL, IDS_COUNTER_FAX_RX},
                  {IDC_COUNTER_REPORT_LABEL, IDS_COUNTER_REPORT},
                  {IDC_COUNTER_PC_LABEL, IDS_COUNTER_PC},
                  {IDC_COUNTER_FAX_TX_LABEL, IDS_COUNTER_FAX_TX},
                  {IDC_COUNTER_MAIL_TX_LABEL, IDS_COUNTER_MAIL_TX},
                  {kIdOk, IDS_OK}});
  s.SetCaption(s.String(IDS_COUNTER_CAPTION));
  // The counters are read from the image, where the machine put them:
  // unpacking it here would throw away whatever the working tables hold
  // that was not packed yet, from a dialog that only shows numbers.
  const int values[] = {IDC_COUNTER_COPY, IDC_COUNTER_FAX_RX, IDC_COUNTER_REPORT,
                        IDC_COUNTER_PC,   IDC_COUNTER_FAX_TX, IDC_COUNTER_MAIL_TX};
  for (int i = 0; i < 6; ++i) {
    const int r = FindRecord(data_, kFirstCounterId + i);
    s.SetText(values[i], std::to_string(r < 0 ? 0u : GetU32(data_.records[r].data)));
  }
  s.Focus(kIdOk);
}

void CounterDialog::OnCommand(ControlSurface& s, int id, int) {
  if (id == kIdOk) s.EndDialog(1);
  if (id == kIdCancel) s.EndDialog(0);
}

std::string VersionText(const uint8_t* field) {
  char buffer[machine_info::kVersionSize + 1] = {};
  std::memcpy(buffer, field, machine_info::kVersionSize);
  return buffer;
}

void MachineStatusDialog::OnInit(ControlSurface& s) {
  namespace mi = machine_info;
  const uint8_t* info = data_.machineInfo;
  ApplyLabels(s, {{IDC_STATUS_ADF_LABEL, IDS_STATUS_ADF},
                  {IDC_STATUS_TRAY_LABEL, IDS_STATUS_OPTION_TRAY},
                  {IDC_STATUS_BYPASS_LABEL, IDS_STATUS_BYPASS},
                  {IDC_STATUS_OUTPUT_LABEL, IDS_STATUS_OUTPUT_TRAY},
                  {IDC_STATUS_DUPLEX_LABEL, IDS_STATUS_DUPLEX},
                  {IDC_STATUS_PCL_LABEL, IDS_STATUS_PCL},
                  {IDC_STATUS_NIC_LABEL, IDS_STATUS_NIC},
                  {IDC_STATUS_MEMORY_LABEL, IDS_STATUS_MEMORY},
                  {IDC_STATUS_MBYTES, IDS_STATUS_MBYTES},
                  {IDC_STATUS_MAIN_VERSION_LABEL, IDS_STATUS_MAIN_VERSION},
                  {IDC_STATUS_ENGINE_VERSION_LABEL, IDS_STATUS_ENGINE_VERSION},
                  {IDC_STATUS_PCL_VERSION_LABEL, IDS_STATUS_PCL_VERSION},
                  {IDC_STATUS_NIC_VERSION_LABEL, IDS_STATUS_NIC_VERSION},
                  {IDC_STATUS_ADF_VERSION_LABEL, IDS_STATUS_ADF_VERSION},
                  {kIdOk, IDS_OK}});
  s.SetCaption(s.String(IDS_STATUS_CAPTION));
  const std::string installed = s.String(IDS_INSTALLED);
  const std::string notInstalled = s.String(IDS_NOT_INSTALLED);
  auto state = [&](uint8_t b) { return b ? installed : notInstalled; };

  if (info[mi::kAdfDuplex]) {
    SetControlText(s, IDC_STATUS_ADF_LABEL, IDS_STATUS_ADF_DUPLEX);
    s.SetText(IDC_STATUS_ADF, state(info[mi::kAdfDuplex]));
  } else {
    s.SetText(IDC_STATUS_ADF, state(info[mi::kAdf]));
  }

  switch (info[mi::kTrayCount]) {
    case 5:
      SetControlText(s, IDC_STATUS_TRAY, IDS_STATUS_TRAYS_2345);
      break;
    case 4:
      SetControlText(s, IDC_STATUS_TRAY, IDS_STATUS_TRAYS_234);
      break;
    case 3:
      SetControlText(s, IDC_STATUS_TRAY, IDS_STATUS_TRAYS_23);
      break;
    case 2:
      SetControlText(s, IDC_STATUS_TRAY, IDS_STATUS_TRAYS_2);
      break;
    default:
      s.SetText(IDC_STATUS_TRAY, notInstalled);
      break;
  }

  s.SetText(IDC_STATUS_BYPASS, info[mi::kMultiBypass] == 2 ? installed : notInstalled);

  if (info[mi::kSeparator]) {
    SetControlText(s, IDC_STATUS_OUTPUT_LABEL, IDS_STATUS_SEPARATOR);
    s.SetText(IDC_STATUS_OUTPUT, installed);
  } else if (info[mi::kShifter]) {
    SetControlText(s, IDC_STATUS_OUTPUT_LABEL, IDS_STATUS_SHIFTER);
    s.SetText(IDC_STATUS_OUTPUT, installed);
  } else {
    s.SetText(IDC_STATUS_OUTPUT, notInstalled);
  }

  if (info[mi::kDuplexUnit]) {
    s.SetText(IDC_STATUS_DUPLEX, installed);
  } else if (GetSetting(data_, kRegionCodeId) == 3) {
    s.Show(IDC_STATUS_DUPLEX_LABEL, false);
    s.Show(IDC_STATUS_DUPLEX, false);
  } else {
    s.SetText(IDC_STATUS_DUPLEX, notInstalled);
  }

  s.SetText(IDC_STATUS_PCL, state(info[mi::kPclKit]));
  s.SetText(IDC_STATUS_NIC, state(info[mi::kNicKit]));
  s.SetText(IDC_STATUS_MEMORY, std::to_string(GetU16(info + mi::kMainMemory)));

  const int versions[] = {IDC_STATUS_MAIN_VERSION, IDC_STATUS_ENGINE_VERSION,
                          IDC_STATUS_PCL_VERSION, IDC_STATUS_NIC_VERSION, IDC_STATUS_ADF_VERSION};
  for (int i = 0; i < mi::kVersionCount; ++i)
    s.SetText(versions[i], VersionText(info + mi::kFirstVersion + i * mi::kVersionSize));
  s.Focus(kIdOk);
}

void MachineStatusDialog::OnCommand(ControlSurface& s, int id, int) {
  if (id == kIdOk || id == kIdCancel) s.EndDialog(id == kIdOk ? 1 : 0);
}

void SelectPrintItemsDialog::OnInit(ControlSurface& s) {
  ApplyLabels(s, {{IDC_PRINT_ONE_TOUCH, IDS_PRINT_ONE_TOUCH_LIST},
                  {IDC_PRINT_SPEED_DIAL, IDS_PRINT_SPEED_DIAL_LIST},
                  {IDC_PRINT_GROUP, IDS_PRINT_GROUP_LIST},
                  {kIdOk, IDS_OK},
                  {kIdCancel, IDS_CANCEL}});
  s.SetCaption(s.String(IDS_PRINT_ITEMS_CAPTION));
  s.SetCheck(IDC_PRINT_ONE_TOUCH, true);
  s.SetCheck(IDC_PRINT_SPEED_DIAL, true);
  s.SetCheck(IDC_PRINT_GROUP, true);
  s.Focus(kIdOk);
}

void SelectPrintItemsDialog::OnCommand(ControlSurface& s, int id, int) {
  if (id == kIdOk) {
    ui_.printSelection = {s.IsChecked(IDC_PRINT_ONE_TOUCH), s.IsChecked(IDC_PRINT_SPEED_DIAL),
                          s.IsChecked(IDC_PRINT_GROUP)};
    s.EndDialog(1);
  } else if (id == kIdCancel) {
    s.EndDialog(0);
  }
}

}  // namespace odc
