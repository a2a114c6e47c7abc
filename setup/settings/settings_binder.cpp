#include "setup/settings/settings_binder.h"

#include <algorithm>

namespace odc {

Binding RadioBinding(uint32_t item, std::vector<int> buttons, std::vector<uint32_t> codes,
                     int otherIndex) {
  Binding b{Binding::Kind::Radio, item, std::move(buttons), std::move(codes)};
  b.otherIndex = otherIndex;
  return b;
}

Binding CheckBinding(uint32_t item, int box, uint32_t off, uint32_t on, bool checkedUnlessOff) {
  Binding b{Binding::Kind::Check, item, {box}, {off, on}};
  b.checkedUnlessOff = checkedUnlessOff;
  return b;
}

Binding ListBinding(uint32_t item, int list, int firstString, int lastString,
                    std::vector<uint32_t> codes, int otherIndex) {
  Binding b{Binding::Kind::List, item, {list}, std::move(codes)};
  b.firstString = firstString;
  b.lastString = lastString;
  b.otherIndex = otherIndex;
  return b;
}

namespace {

int IndexOfCode(const Binding& b, uint32_t value) {
  if (b.kind == Binding::Kind::List && b.codes.empty()) {
    const int entries = b.lastString - b.firstString + 1;
    return value < static_cast<uint32_t>(entries) ? static_cast<int>(value) : b.otherIndex;
  }
  const auto it = std::find(b.codes.begin(), b.codes.end(), value);
  return it == b.codes.end() ? b.otherIndex : static_cast<int>(it - b.codes.begin());
}

}  // namespace

void BindingInit(ControlSurface& s, const DataSet& set, const std::vector<Binding>& bindings) {
  for (const Binding& b : bindings) {
    const uint32_t value = GetSetting(set, b.item);
    switch (b.kind) {
      case Binding::Kind::Radio: {
        const int index = IndexOfCode(b, value);
        for (size_t i = 0; i < b.controls.size(); ++i)
          s.SetCheck(b.controls[i], static_cast<int>(i) == index);
        break;
      }
      case Binding::Kind::Check:
        s.SetCheck(b.controls[0], b.checkedUnlessOff ? value != b.codes[0] : value == b.codes[1]);
        break;
      case Binding::Kind::List:
        s.ClearList(b.controls[0]);
        FillComboFromStrings(s, b.controls[0], b.firstString, b.lastString, IndexOfCode(b, value));
        break;
    }
  }
}

SettingsPage::Handled BindingCommand(ControlSurface& s, DataSet& set,
                                     const std::vector<Binding>& bindings, int id, int code) {
  for (const Binding& b : bindings) {
    const auto it = std::find(b.controls.begin(), b.controls.end(), id);
    if (it == b.controls.end()) continue;
    switch (b.kind) {
      case Binding::Kind::Radio: {
        if (code != kButtonClicked) return SettingsPage::Handled::No;
        const size_t i = static_cast<size_t>(it - b.controls.begin());
        SetSetting(set, b.item, b.codes[i]);
        for (size_t k = 0; k < b.controls.size(); ++k) s.SetCheck(b.controls[k], k == i);
        return SettingsPage::Handled::Changed;
      }
      case Binding::Kind::Check:
        if (code != kButtonClicked) return SettingsPage::Handled::No;
        SetSetting(set, b.item, s.IsChecked(id) ? b.codes[1] : b.codes[0]);
        return SettingsPage::Handled::Changed;
      case Binding::Kind::List: {
        if (code != kListSelChange) return SettingsPage::Handled::No;
        const int index = s.ListSelection(id);
        if (index < 0) return SettingsPage::Handled::No;
        SetSetting(set, b.item,
                   b.codes.empty() ? static_cast<uint32_t>(index)
                                   : b.codes[std::min<size_t>(index, b.codes.size() - 1)]);
        return SettingsPage::Handled::Changed;
      }
    }
  }
  return SettingsPage::Handled::No;
}

}  // namespace odc
