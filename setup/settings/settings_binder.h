// Most controls of the settings pages are plain pairs of a control group and
// one settings value: radio buttons that each store a code, a check box
// that stores one of two codes, a drop-down list whose entries store codes.
// A page lists those pairs in a table; BindingInit shows the stored values
// and BindingCommand stores a click. A page writes code only for its quirks.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/settings/settings_framework.h"

namespace odc {

struct Binding {
  enum class Kind { Radio, Check, List };
  Kind kind;
  uint32_t item;  // settings item (its width decides how the value is stored)

  // Radio: one control per code. Init selects the button whose code equals
  // the stored value; any other value selects `otherIndex` (-1: none, and
  // the value stays stored until a click).
  // Check: controls = {box}; codes = {off, on}. The box is checked when the
  // stored value equals `on` (or, with checkedUnlessOff, when it differs
  // from `off`).
  // List: controls = {list}; the entries are strings firstString..
  // lastString; codes hold the code of each entry (empty: the entry index
  // is the code). A stored value that is no entry's code selects
  // `otherIndex` (-1: nothing).
  std::vector<int> controls;
  std::vector<uint32_t> codes;
  int otherIndex = -1;
  bool checkedUnlessOff = false;
  int firstString = 0, lastString = 0;
};

Binding RadioBinding(uint32_t item, std::vector<int> buttons, std::vector<uint32_t> codes,
                     int otherIndex = -1);
Binding CheckBinding(uint32_t item, int box, uint32_t off, uint32_t on,
                     bool checkedUnlessOff = false);
Binding ListBinding(uint32_t item, int list, int firstString, int lastString,
                    std::vector<uint32_t> codes = {}, int otherIndex = -1);

// Shows every binding's stored value (and fills the lists).
void BindingInit(ControlSurface& s, const DataSet& set, const std::vector<Binding>& bindings);
// Stores a click or a list selection; Handled::No when no binding owns the
// control or the notification is not the one it takes.
SettingsPage::Handled BindingCommand(ControlSurface& s, DataSet& set,
                                     const std::vector<Binding>& bindings, int id, int code);

}  // namespace odc
