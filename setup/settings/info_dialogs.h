// The three small dialogs of the menus: Total Counter and Machine Status
// (read only) and Select Print Items (the print selection flags).
#pragma once

#include "setup/settings/settings_framework.h"

namespace odc {

// "Total Counter" (773): the six usage counters as unsigned numbers, read
// from the transfer image; the working tables are left as they are.
class CounterDialog : public DialogLogic {
 public:
  explicit CounterDialog(const DataSet& data) : data_(data) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  const DataSet& data_;
};

// "Machine Status" (745): installed options, memory and firmware versions.
class MachineStatusDialog : public DialogLogic {
 public:
  explicit MachineStatusDialog(const DataSet& data) : data_(data) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  const DataSet& data_;
};

// "Select Print Items" (648): OK stores the three boxes as the print
// selection flags and ends with 1; Cancel keeps the flags and ends with 0.
class SelectPrintItemsDialog : public DialogLogic {
 public:
  explicit SelectPrintItemsDialog(SettingsUiState& ui) : ui_(ui) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  SettingsUiState& ui_;
};

// A firmware version field of the machine information block as text: up to
// 12 characters, whether or not the field holds a terminating zero.
std::string VersionText(const uint8_t* field);

}  // namespace odc
