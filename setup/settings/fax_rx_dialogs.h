// The FAX RX Operation page's settings block and its two sub-dialogs: Select
// Tray (which trays print received faxes) and Forward Location (where
// received faxes are forwarded). Declared here so that the native tests can
// drive the dialogs on their own as well as through the page.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/settings/settings_framework.h"

namespace odc {

// The page's block is the items 0x10900-0x10911, one item per field in the
// order of the page's fields:
//   0x10900 Memory RX mode        0x10907 RX print
//   0x10901 Memory RX window      0x10908 RX mode
//   0x10902 reduction RX          0x10909 footer
//   0x10903 number of rings       0x1090A-0x1090E select tray, trays 1-5
//   0x10904 maximum rings         0x1090F closed network
//   0x10905 forward mode          0x10910 call transfer on
//   0x10906 forward location      0x10911 call transfer count
namespace fax_rx_items {
constexpr uint32_t kMemoryRxMode = 0x10900, kMemoryRxWindow = 0x10901, kReduction = 0x10902,
                   kRings = 0x10903, kMaximumRings = 0x10904, kForwardMode = 0x10905,
                   kForwardLocation = 0x10906, kRxPrint = 0x10907, kRxMode = 0x10908,
                   kFooter = 0x10909, kFirstTray = 0x1090A, kClosedNetwork = 0x1090F,
                   kCallTransferOn = 0x10910, kCallTransferCount = 0x10911;
constexpr uint32_t kFirstItem = 0x10900, kLastItem = 0x10911;
// The Memory RX window (12 bytes): two leading bytes the page does not
// edit, the on time (u16), the password (4 characters), the off time (u16),
// the time flags and one more byte the page does not edit.
constexpr int kOnTimeOffset = 2, kPasswordOffset = 4, kOffTimeOffset = 8, kTimeFlagsOffset = 10;
constexpr uint8_t kOnTimeSet = 0x80, kOffTimeSet = 0x40;
}  // namespace fax_rx_items

// Forward location record types.
constexpr uint8_t kForwardMail = 1, kForwardFax = 2;
constexpr uint8_t kForwardSpeedDialMail = 5, kForwardSpeedDialFax = 6;
constexpr uint8_t kForwardOneTouchMail = 9, kForwardOneTouchFax = 10;

// False when the record names no destination: nothing stored yet, an
// e-mail destination with an empty address or a fax destination without a
// number. Records of the reference types (and of types this program does
// not know) count as destinations.
bool ForwardHasDestination(const uint8_t* record);

// Copies of the settings values of a block of items, to put back on cancel.
class SettingsSnapshot {
 public:
  SettingsSnapshot(const DataSet& set, uint32_t first, uint32_t last);
  void Restore(DataSet& set) const;

 private:
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> values_;
};

// Select Tray: per tray "Enable" stores the tray's bit, "Disable" 0, at
// once; Cancel puts the whole block back. Ends with 1 for OK, 0 otherwise.
class SelectTrayDialog : public DialogLogic {
 public:
  explicit SelectTrayDialog(SettingsContext& context) : ctx_(context) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  SettingsContext& ctx_;
  std::unique_ptr<SettingsSnapshot> snapshot_;
};

// Forward Location: a fax number (with SUB and SID) or an e-mail address
// (with its e-mail mode options), typed under the entry dialog's rules. OK
// writes the 72-byte record and ends with 1; Cancel ends with 0 and leaves
// the record as it was. A record that refers to a One Touch key or a Speed
// Dial shows that entry's destination and is kept as it is unless the user
// changes something.
class ForwardLocationDialog : public DialogLogic {
 public:
  explicit ForwardLocationDialog(SettingsContext& context) : ctx_(context) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  void LoadRecord();
  void Refresh(ControlSurface& s);
  void SelectSize(ControlSurface& s);
  void OnEdit(ControlSurface& s, int id);
  void OnOk(ControlSurface& s);

  SettingsContext& ctx_;
  uint8_t kind_ = 0;  // 0 fax, 1 e-mail (the entry dialog's kinds)
  std::string number_, sub_, sid_, address_;
  std::array<uint8_t, 4> options_{};  // mode, max TX size, max quality, coding
  bool reference_ = false;
  bool edited_ = false;
};

}  // namespace odc
