#include "setup/settings/settings_framework.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/data/address_import.h"
#include "setup/res/resource.h"

namespace odc {

int InstalledTrays(const DataSet& set) {
  const int n = set.machineInfo[machine_info::kTrayCount];
  return n >= 2 && n <= 5 ? n : 1;
}

const std::vector<PageEntry>& SheetPageTable(SheetId sheet) {
  static const std::vector<PageEntry> kUtility = {
      {PageId::MachineSetting, IDS_PAGE_MACHINE_SETTING, IDD_MACHINE_SETTING},
      {PageId::PaperSource, IDS_PAGE_PAPER_SOURCE, IDD_PAPER_SOURCE},
      {PageId::CopySetting1, IDS_PAGE_COPY_SETTING_1, IDD_COPY_SETTING_1},
      {PageId::CopySetting2, IDS_PAGE_COPY_SETTING_2, IDD_COPY_SETTING_2},
      {PageId::FaxTxOperation, IDS_PAGE_FAX_TX_OPERATION, IDD_FAX_TX_OPERATION},
      {PageId::FaxRxOperation, IDS_PAGE_FAX_RX_OPERATION, IDD_FAX_RX_OPERATION},
      {PageId::ScanSetting, IDS_PAGE_SCAN_SETTING, IDD_SCAN_SETTING},
      {PageId::ReportSetting, IDS_PAGE_REPORT_SETTING, IDD_REPORT_SETTING},
  };
  static const std::vector<PageEntry> kAdministrator = {
      {PageId::AdministratorMode, IDS_PAGE_ADMINISTRATOR_MODE, IDD_ADMINISTRATOR_MODE},
      {PageId::NetworkSetting, IDS_PAGE_NETWORK_SETTING, IDD_NETWORK_SETTING},
      {PageId::EmailSetting1, IDS_PAGE_EMAIL_SETTING_1, IDD_EMAIL_SETTING_1},
      {PageId::EmailSetting2, IDS_PAGE_EMAIL_SETTING_2, IDD_EMAIL_SETTING_2},
      {PageId::LdapSetting, IDS_PAGE_LDAP_SETTING, IDD_LDAP_SETTING},
      {PageId::CommunicationSetting, IDS_PAGE_COMMUNICATION_SETTING, IDD_COMMUNICATION_SETTING},
      {PageId::MachineInformation, IDS_PAGE_MACHINE_INFORMATION, IDD_MACHINE_INFORMATION},
  };
  return sheet == SheetId::Utility ? kUtility : kAdministrator;
}

std::vector<PageEntry> SheetPages(SheetId sheet, const DataSet& set, bool onlyBuilt) {
  const bool nic = set.machineInfo[machine_info::kNicKit] != 0;
  // The LDAP-available setting is the byte carried by record 368.
  const bool ldap = set.records[368].data[0] != 0;
  struct Skip {
    int templateId;
    bool condition;
  };
  const std::vector<Skip> skips = sheet == SheetId::Utility
                                      ? std::vector<Skip>{{IDD_SCAN_SETTING, !nic}}
                                      : std::vector<Skip>{{IDD_NETWORK_SETTING, !nic},
                                                          {IDD_EMAIL_SETTING_1, !nic},
                                                          {IDD_EMAIL_SETTING_2, !nic},
                                                          {IDD_LDAP_SETTING, !nic || !ldap}};
  std::vector<PageEntry> pages;
  size_t cursor = 0;
  for (const PageEntry& entry : SheetPageTable(sheet)) {
    bool skipped = false;
    if (cursor < skips.size() && skips[cursor].templateId == entry.templateId) {
      skipped = skips[cursor].condition;
      ++cursor;
    }
    if (!skipped && (!onlyBuilt || PageIsBuilt(entry.page))) pages.push_back(entry);
  }
  return pages;
}

// ---------------------------------------------------------------------------
// Page protocol

void PageDriver::Init(ControlSurface& s) {
  ctx_.ui.Changed(page_.Id()) = 0;
  // Texts set while the page starts send change notifications; they are not
  // the user's edits.
  initialising_ = true;
  page_.OnInit(s);
  initialising_ = false;
}

void PageDriver::AfterEdit(ControlSurface& s, SettingsPage::Handled handled) {
  // A command the page does not take leaves the pending-change flag set.
  if (handled == SettingsPage::Handled::No) return;
  if (handled == SettingsPage::Handled::Changed && ctx_.ui.pendingChange) {
    ctx_.ui.pendingChange = false;
    ctx_.ui.Changed(page_.Id()) = 1;
    s.MarkChanged();
  }
}

void PageDriver::Command(ControlSurface& s, int id, int code) {
  // A filter that writes back a mended text would otherwise be run again
  // inside itself, and the outer call would store its older copy over the
  // inner one's.
  if (initialising_ || s.Writing()) return;
  ctx_.ui.pendingChange = true;
  AfterEdit(s, page_.OnCommand(s, id, code));
}

void PageDriver::Scroll(ControlSurface& s, int id, int code) {
  if (initialising_ || s.Writing()) return;
  ctx_.ui.pendingChange = true;
  AfterEdit(s, page_.OnScroll(s, id, code));
}

bool PageDriver::Apply(ControlSurface& s) {
  if (!ctx_.ui.IsChanged(page_.Id())) return true;
  if (!page_.OnApply(s)) {
    s.ShowThisPage();
    return false;
  }
  ctx_.ui.Changed(page_.Id()) = 0;
  PackTransferImage(ctx_.data);
  page_.OnApplied(s);
  return true;
}

void PageDriver::QueryCancel(ControlSurface& s) {
  UnpackTransferImage(ctx_.data);
  page_.OnCancelled(s);
}

void PageDriver::Reset(ControlSurface& s) {
  page_.OnReset(s);
  ctx_.ui.Changed(page_.Id()) = 0;
}

bool RouteDialogCommand(DialogLogic& logic, ControlSurface& s, int id, int code) {
  if (s.Writing()) return false;
  logic.OnCommand(s, id, code);
  return true;
}

bool SheetMayClose(const SettingsUiState& ui, bool closing) {
  if (!closing) return false;
  for (uint8_t flag : ui.pageChanged) {
    if (flag) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Labels, messages, validators, filters

void SetControlText(ControlSurface& s, int id, int stringId) { s.SetText(id, s.String(stringId)); }

void ApplyLabels(ControlSurface& s, const std::vector<LabelPair>& labels) {
  for (const LabelPair& l : labels) SetControlText(s, l.control, l.stringId);
}

std::string FormatString(const std::string& format, const std::vector<int>& values) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd') {
      out += next < values.size() ? std::to_string(values[next]) : std::string();
      ++next;
      ++i;
    } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

int ShowMessage(ControlSurface& s, int stringId, std::vector<int> values, MessageButtons buttons) {
  return s.Message(FormatString(s.String(stringId), values), buttons);
}

int LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;  // saturate instead of overflowing
  }
  return static_cast<int>(negative ? -value : value);
}

int CheckIntegerField(ControlSurface& s, int id, int messageId, int low, int high) {
  const std::string text = s.Text(id, 128);
  if (text.empty()) {
    ShowMessage(s, IDS_EMPTY_INTEGER);
    s.Focus(id);
    return 0;
  }
  const int value = LeadingInteger(text);
  if (value >= low && value <= high) return 1;
  ShowMessage(s, messageId, {low, high});
  s.SelectText(id, 0, -1);
  s.Focus(id);
  return 0;
}

int CheckFourCharField(ControlSurface& s, int id, int messageId) {
  if (s.Text(id, 128).size() == 4) return 1;
  ShowMessage(s, messageId);
  s.SelectText(id, 0, -1);
  s.Focus(id);
  return 0;
}

namespace {

// Longest text a filter reads from its control: more than any edit's limit,
// so that a paste made before the limit was set is read whole and cut.
constexpr int kFilterReadLimit = 1024;

// One step of a filter that tests each character on its own: the first
// refused character removed.
template <typename Allowed>
FilterResult RemoveFirst(std::string_view text, Allowed allowed) {
  FilterResult r;
  r.text.assign(text);
  for (size_t i = 0; i < text.size(); ++i) {
    if (!allowed(static_cast<unsigned char>(text[i]))) {
      r.text.erase(i, 1);
      r.caret = static_cast<int>(i);
      r.accepted = false;
      return r;
    }
  }
  r.caret = static_cast<int>(text.size());
  return r;
}

}  // namespace

int ApplyTextFilter(ControlSurface& s, std::string& text, int id, int limit,
                    const std::function<FilterResult(std::string_view)>& step, bool cutToLimit) {
  // The control's own text, not the caller's copy: the caller may have read
  // it into a buffer too short for a paste.
  const std::string held = s.Text(id, kFilterReadLimit);
  std::string mended = held;
  int caret = -1;
  // Every step removes at least one character, so this ends.
  for (;;) {
    FilterResult r = step(mended);
    if (r.accepted) break;
    if (r.text.size() >= mended.size()) break;  // a step that mends nothing
    mended = std::move(r.text);
    caret = r.caret;
  }
  if (cutToLimit && limit > 0 && mended.size() > static_cast<size_t>(limit)) {
    mended.resize(static_cast<size_t>(limit));
    if (caret < 0 || caret > limit) caret = limit;
  }
  const bool accepted = mended == held;
  if (!accepted) {
    s.SetText(id, mended);
    s.SelectText(id, caret, caret);
  }
  if (limit > 0) s.LimitText(id, limit);
  // What the control holds now is what the page stores.
  text = accepted ? held : s.Text(id, kFilterReadLimit);
  return accepted ? 1 : 0;
}

bool IsPhoneTextChar(unsigned char c) {
  return c == '+' || c == '-' || c == ' ' || (c >= '0' && c <= '9');
}

bool IsAsciiTextChar(unsigned char c) { return c >= 0x20 && c <= 0x7F; }

int FilterPhoneText(ControlSurface& s, std::string& text, int id, int limit) {
  return ApplyTextFilter(s, text, id, limit,
                         [](std::string_view t) { return RemoveFirst(t, IsPhoneTextChar); });
}

int FilterAsciiText(ControlSurface& s, std::string& text, int id, int limit) {
  return ApplyTextFilter(s, text, id, limit,
                         [](std::string_view t) { return RemoveFirst(t, IsAsciiTextChar); });
}

int ApplyDigitFilter(ControlSurface& s, std::string& text, int id, int limit) {
  return ApplyTextFilter(s, text, id, limit, FilterDigits);
}

int ApplyDigitFilterKeepingLength(ControlSurface& s, std::string& text, int id, int limit) {
  return ApplyTextFilter(s, text, id, limit, FilterDigits, false);
}

int ApplyMailFilter(ControlSurface& s, std::string& text, int id, int limit) {
  return ApplyTextFilter(s, text, id, limit, FilterMailText);
}

int ApplyNameFilter(ControlSurface& s, const DataSet& set, std::string& text, int id, int limit) {
  const Language language = set.language;
  const uint32_t variant = GetSetting(set, kMachineVariantId);
  return ApplyTextFilter(s, text, id, limit, [language, variant](std::string_view t) {
    return FilterNameText(t, language, variant);
  });
}

void FillComboFromStrings(ControlSurface& s, int id, int firstString, int lastString,
                          int selection) {
  for (int sid = firstString; sid <= lastString; ++sid) s.AddListItem(id, s.String(sid));
  s.SelectListItem(id, selection);
}

void StepEditNumber(ControlSurface& s, int code, int id, int low, int high) {
  int value = LeadingInteger(s.Text(id, 128));
  if (code == kLineUp) ++value;
  if (code == kLineDown) --value;
  value = std::clamp(value, low, high);
  s.SetText(id, std::to_string(value));
}

void SelectRadio(ControlSurface& s, std::initializer_list<int> ids, int chosen) {
  for (int id : ids) s.SetCheck(id, id == chosen);
}

// ---------------------------------------------------------------------------
// Sliders

namespace {

// Items 0x10900-0x10911 follow the fields of the FAX RX Operation page in
// order (see fax_rx_dialogs.h): the maximum rings is the fifth.
constexpr uint32_t kMaximumRingsId = 0x10904;

const SliderRule kSliders[] = {
    {343, 0x10002, 4, 15, 240, 10, 342, IDS_UNIT_MIN},  // Auto Shut Off
    {362, 0x10001, 4, 1, 240, 10, 363, IDS_UNIT_MIN},   // Energy Save Mode
    {366, 0x10006, 1, 0, 3, 1, 0, 0},                   // LCD Contrast
    {370, 0x10005, 1, 0, 4, 1, 0, 0},                   // Print Density
    {443, 0x10605, 1, 0, 8, 1, 0, 0},                   // Copy Density Level(M)
    {478, 0x10800, 1, 0, 4, 1, 0, 0},                   // FAX TX Density Level (8 x level)
    {505, 0x10903, 1, 0, 15, 1, 506, 0},                // No. of rings
    {509, 0x10911, 1, 0, 9, 1, 510, 0},                 // Call Transfer count
    {556, 0x10407, 4, 30, 300, 10, 557, IDS_UNIT_SEC},  // SMTP Timeout
    {562, 0x1040C, 4, 0, 60, 5, 563, IDS_UNIT_SEC},     // POP Before SMTP wait
    {572, 0x10414, 4, 30, 300, 10, 557, IDS_UNIT_SEC},  // POP3 Timeout
    {725, 0x10507, 4, 5, 300, 10, 726, 0},              // LDAP Timeout
    {729, 0x10508, 4, 5, 100, 10, 730, 0},              // Max. Search Results
};

}  // namespace

const SliderRule* FindSlider(int control) {
  for (const SliderRule& s : kSliders) {
    if (s.control == control) return &s;
  }
  return nullptr;
}

int64_t StoredSliderValue(const SettingsContext& ctx, const SliderRule& rule) {
  const uint32_t raw = GetSetting(ctx.data, rule.item);
  // Bytes are signed for the clamp; the 32-bit times and counts are not.
  int64_t value = rule.width == 1 ? static_cast<int8_t>(raw & 0xFF) : static_cast<int64_t>(raw);
  if (rule.control == 478) value /= 8;  // the TX density is stored as 8 x level
  return value;
}

int SliderHigh(const SettingsContext& ctx, const SliderRule& rule) {
  if (rule.control == 505) return static_cast<int8_t>(GetSetting(ctx.data, kMaximumRingsId) & 0xFF);
  return rule.high;
}

int ClampSliderValue(const SettingsContext& ctx, const SliderRule& rule, int64_t value) {
  const int64_t high = std::max(rule.low, SliderHigh(ctx, rule));
  return static_cast<int>(std::clamp<int64_t>(value, rule.low, high));
}

int SliderValue(const SettingsContext& ctx, const SliderRule& rule) {
  return ClampSliderValue(ctx, rule, StoredSliderValue(ctx, rule));
}

void ShowSliderLabel(ControlSurface& s, const SettingsContext& ctx, const SliderRule& rule,
                     int64_t value) {
  if (!rule.valueLabel) return;
  if (rule.control == 505) {
    // The rings label shows the value plus one, except in region code 3.
    const bool region3 = GetSetting(ctx.data, kRegionCodeId) == 3;
    s.SetText(rule.valueLabel, std::to_string(region3 ? value : value + 1));
  } else if (rule.unitString) {
    s.SetText(rule.valueLabel, std::to_string(value) + " " + s.String(rule.unitString));
  } else {
    s.SetText(rule.valueLabel, std::to_string(value));
  }
}

void InitSettingsSlider(ControlSurface& s, const SettingsContext& ctx, int id) {
  const SliderRule* rule = FindSlider(id);
  if (!rule) return;
  s.SetSliderRange(id, rule->low, SliderHigh(ctx, *rule));
  // A stored value outside the range puts the thumb at the end of the range
  // but stays stored until the slider is moved, and the label shows what is
  // stored: the page never shows a value that a save or upload would not
  // carry.
  s.SetSliderPos(id, SliderValue(ctx, *rule));
  ShowSliderLabel(s, ctx, *rule, StoredSliderValue(ctx, *rule));
}

bool HandleSettingsSlider(ControlSurface& s, SettingsContext& ctx, int code, int control) {
  const SliderRule* rule = FindSlider(control);
  if (!rule) return false;
  const int64_t stored = StoredSliderValue(ctx, *rule);
  // 64 bits: a stored 0x7FFFFFFF plus a page step does not overflow.
  int64_t value = stored;
  switch (code) {
    case kLineUp:
      value -= 1;
      break;
    case kLineDown:
      value += 1;
      break;
    case kPageUp:
      value -= rule->pageStep;
      break;
    case kPageDown:
      value += rule->pageStep;
      break;
    case kThumbPosition:
    case kThumbTrack:
      value = s.SliderPos(control);
      break;
    default:
      // Codes without a rule (Home, End, the end of a drag) change no value;
      // the slider, which may have moved itself (Home, End), is put back to
      // it, and the label keeps showing what is stored.
      s.SetSliderPos(control, SliderValue(ctx, *rule));
      ShowSliderLabel(s, ctx, *rule, stored);
      return true;
  }
  const int shown = ClampSliderValue(ctx, *rule, value);
  const uint32_t store =
      rule->control == 478 ? static_cast<uint32_t>(shown * 8) : static_cast<uint32_t>(shown);
  SetSetting(ctx.data, rule->item, rule->width == 1 ? (store & 0xFF) : store);
  s.SetSliderPos(control, shown);
  ShowSliderLabel(s, ctx, *rule, shown);
  return true;
}

bool UpdateInchPaperFlag(const DataSet& set) {
  return InchPaperVariant(GetSetting(set, kMachineVariantId));
}

// ---------------------------------------------------------------------------
// Item lengths and texts

void SetItemLength(DataSet& set, uint32_t id, uint32_t length) {
  const int r = FindRecord(set, id);
  if (r >= 0) set.records[r].length = length;
}

uint32_t ItemLength(const DataSet& set, uint32_t id) {
  const int r = FindRecord(set, id);
  return r >= 0 ? set.records[r].length : 0;
}

void StoreTextSetting(DataSet& set, uint32_t id, const std::string& text) {
  const SettingItem* item = FindSettingItem(id);
  if (!item) return;
  char* field = SettingText(set, id);
  std::memset(field, 0, item->width);
  const size_t n = std::min<size_t>(text.size(), item->width);
  std::memcpy(field, text.data(), n);
  SetItemLength(set, id, static_cast<uint32_t>(n));
}

}  // namespace odc
