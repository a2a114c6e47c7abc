#include "setup/settings/text_fields.h"

#include <cstring>
#include <string>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/res/resource.h"

namespace odc {

void InitTextFields(ControlSurface& s, const DataSet& set, const std::vector<TextField>& fields) {
  for (const TextField& f : fields) {
    const SettingItem* item = FindSettingItem(f.item);
    const char* text = SettingText(set, f.item);
    size_t n = item && text ? strnlen(text, item->width) : 0;
    if (n > static_cast<size_t>(f.limit)) n = static_cast<size_t>(f.limit);
    s.SetText(f.control, text ? std::string(text, n) : std::string());
    s.LimitText(f.control, f.limit);
  }
}

SettingsPage::Handled TextFieldCommand(ControlSurface& s, DataSet& set,
                                       const std::vector<TextField>& fields, int id, int code) {
  for (const TextField& f : fields) {
    if (f.control != id) continue;
    if (code != kEditChange) return SettingsPage::Handled::No;
    // A buffer of limit + 1 holds at most `limit` characters.
    std::string text = s.Text(id, f.limit + 1);
    switch (f.filter) {
      case TextField::Filter::Ascii:
        FilterAsciiText(s, text, id, f.limit);
        break;
      case TextField::Filter::Name:
        ApplyNameFilter(s, set, text, id, f.limit);
        break;
      case TextField::Filter::Mail:
        ApplyMailFilter(s, text, id, f.limit);
        break;
    }
    StoreTextSetting(set, f.item, text.substr(0, static_cast<size_t>(f.limit)));
    return SettingsPage::Handled::Changed;
  }
  return SettingsPage::Handled::No;
}

void KeptItemLengths::Take(const DataSet& set, const std::vector<TextField>& fields) {
  lengths_.clear();
  for (const TextField& f : fields)
    lengths_.push_back({f.item, ItemLength(set, f.item), SettingText(set, f.item)});
}

// A text that another page's pack carried into the image since it was kept
// (OK applied an earlier page, then this sheet was cancelled) keeps its own
// length: the kept one would cut it short in the next save or upload.
void KeptItemLengths::PutBack(DataSet& set) const {
  for (const Kept& k : lengths_) {
    const std::string text = SettingText(set, k.item);
    SetItemLength(set, k.item, text == k.text ? k.length : static_cast<uint32_t>(text.size()));
  }
}

SettingsPage::Handled PortCommand(ControlSurface& s, DataSet& set, uint32_t item, int id,
                                  int code) {
  if (code != kEditChange) return SettingsPage::Handled::No;
  std::string text = s.Text(id, 6);
  ApplyDigitFilter(s, text, id, 5);
  SetSetting(set, item, static_cast<uint32_t>(LeadingInteger(text)));
  return SettingsPage::Handled::Changed;
}

void ShowNumber(ControlSurface& s, int id, uint32_t value) { s.SetText(id, std::to_string(value)); }

bool CheckOptionalMailAddress(ControlSurface& s, int id) {
  const std::string text = s.Text(id, 128);
  if (text.empty() || IsMailAddress(text)) return true;
  ShowMessage(s, IDS_EMAIL_ADDRESS_INVALID);
  s.SelectText(id, 0, -1);
  s.Focus(id);
  return false;
}

}  // namespace odc
