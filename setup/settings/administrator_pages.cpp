#include "setup/settings/administrator_pages.h"

#include <cstring>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/res/resource.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace admin_items {
constexpr uint32_t kShutOffPermission = 0x10300, kAccountTrackMode = 0x10301,
                   kRemoteMonitor = 0x10304, kRemotePassword = 0x10305;
}  // namespace admin_items

namespace {

using namespace admin_items;

constexpr uint32_t kRemoteFull = 1, kRemoteOff = 2;
constexpr size_t kAdminDigits = 6;

// One table for the page and its two dialogs that share it: applied whole
// to each, pairs whose control a window lacks change nothing.
const std::vector<LabelPair>& AdministratorLabels() {
  static const std::vector<LabelPair> kLabels = {
      // Administrator Mode page.
      {IDC_AM_SHUT_OFF, IDS_AM_SHUT_OFF},
      {IDC_AM_ACCOUNT_TRACK, IDS_AM_ACCOUNT_TRACK},
      {IDC_AM_REMOTE_GROUP, IDS_AM_REMOTE_MONITOR},
      {IDC_AM_LIMITED, IDS_AM_LIMITED},
      {IDC_AM_FULL, IDS_AM_FULL},
      {IDC_AM_OFF, IDS_AM_OFF},
      {IDC_AM_REMOTE_PASSWORD_LABEL, IDS_AM_REMOTE_PASSWORD},
      {IDC_AM_CHANGE_ADMIN, IDS_AM_CHANGE_ADMIN},
      // Administrator number dialog.
      {IDC_AN_GROUP, IDS_PAGE_ADMINISTRATOR_MODE},
      {IDC_AN_LABEL, IDS_AN_NUMBER},
      {IDC_AN_OK, IDS_OK},
      // Account Track.
      {IDC_AT_MODE, IDS_AT_MODE},
      {IDC_AT_SELECT_ID, IDS_AT_SELECT_ID},
      {IDC_AT_GROUP, IDS_AT_GROUP},
      {IDC_AT_ACCESS_LABEL, IDS_AT_ACCESS},
      {IDC_AT_DATA_LABEL, IDS_AT_DATA},
      {IDC_AT_CLEAR, IDS_AT_CLEAR},
      {kIdOk, IDS_OK},
      {kIdCancel, IDS_CANCEL},
  };
  return kLabels;
}

// printf-style formatting of resource strings with one number and one text:
// "%d", "%0Nd" and "%Nd" take the number, "%s" the text, "%%" is a percent
// sign. The string comes from a resource module, so it is interpreted here
// rather than handed to printf.
std::string FormatNumberText(const std::string& format, long long number, const std::string& text) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    size_t j = i + 1;
    const bool zeros = format[j] == '0';
    if (zeros) ++j;
    size_t width = 0;
    while (j < format.size() && format[j] >= '1' && format[j] <= '9' && width < 10) {
      width = width * 10 + static_cast<size_t>(format[j] - '0');
      ++j;
    }
    if (j >= format.size()) {
      out += format.substr(i);
      break;
    }
    std::string cell;
    if (format[j] == 'd') {
      cell = std::to_string(number);
    } else if (format[j] == 's') {
      cell = text;
    } else if (format[j] == '%') {
      cell = "%";
    } else {
      out += format.substr(i, j - i + 1);
      i = j;
      continue;
    }
    if (cell.size() < width) cell.insert(0, width - cell.size(), zeros ? '0' : ' ');
    out += cell;
    i = j;
  }
  return out;
}

std::string ThreeDigits(unsigned number) {
  std::string text = std::to_string(number);
  if (text.size() < 3) text.insert(0, 3 - text.size(), '0');
  return text;
}

// ---------------------------------------------------------------------------
// Administrator Mode page

class AdministratorModePage : public SettingsPage {
 public:
  explicit AdministratorModePage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::AdministratorMode; }

  void OnInit(ControlSurface& s) override {
    ApplyLabels(s, AdministratorLabels());
    UnpackTransferImage(ctx.data);
    s.SetCheck(IDC_AM_SHUT_OFF, GetSetting(ctx.data, kShutOffPermission) == 0);
    // A monitor code the page does not know selects no button and stays
    // stored until the user picks one.
    const uint32_t monitor = GetSetting(ctx.data, kRemoteMonitor);
    SelectRadio(s, {IDC_AM_LIMITED, IDC_AM_FULL, IDC_AM_OFF},
                monitor <= kRemoteOff ? IDC_AM_LIMITED + static_cast<int>(monitor) : 0);
    s.SetText(IDC_AM_REMOTE_PASSWORD,
              FormatNumberText("%04d", GetSetting(ctx.data, kRemotePassword), ""));
    s.LimitText(IDC_AM_REMOTE_PASSWORD, 4);
    EnablePassword(s);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    switch (id) {
      case IDC_AM_LIMITED:
      case IDC_AM_FULL:
      case IDC_AM_OFF:
        if (code != kButtonClicked) return Handled::No;
        SetSetting(ctx.data, kRemoteMonitor, static_cast<uint32_t>(id - IDC_AM_LIMITED));
        SelectRadio(s, {IDC_AM_LIMITED, IDC_AM_FULL, IDC_AM_OFF}, id);
        EnablePassword(s);
        return Handled::Changed;
      case IDC_AM_REMOTE_PASSWORD: {
        if (code != kEditChange) return Handled::No;
        std::string text = s.Text(id, 5);
        ApplyDigitFilter(s, text, id, 4);
        SetSetting(ctx.data, kRemotePassword, static_cast<uint32_t>(LeadingInteger(text)));
        return Handled::Changed;
      }
      case IDC_AM_SHUT_OFF:
        if (code != kButtonClicked) return Handled::No;
        SetSetting(ctx.data, kShutOffPermission, s.IsChecked(id) ? 0 : 1);
        return Handled::Changed;
      case IDC_AM_ACCOUNT_TRACK: {
        if (code != kButtonClicked) return Handled::No;
        AccountTrackDialog dialog(ctx);
        return s.RunDialog(IDD_ACCOUNT_TRACK, dialog) == 1 ? Handled::Changed : Handled::NoChange;
      }
      case IDC_AM_CHANGE_ADMIN: {
        if (code != kButtonClicked) return Handled::No;
        ChangeAdminNumberDialog dialog(ctx.data);
        return s.RunDialog(IDD_CHANGE_ADMIN, dialog) == 1 ? Handled::Changed : Handled::NoChange;
      }
      default:
        return Handled::No;
    }
  }

  bool OnKillActive(ControlSurface& s) override { return PasswordAccepted(s); }
  bool OnApply(ControlSurface& s) override { return PasswordAccepted(s); }

 private:
  bool Full() const { return GetSetting(ctx.data, kRemoteMonitor) == kRemoteFull; }

  void EnablePassword(ControlSurface& s) { s.Enable(IDC_AM_REMOTE_PASSWORD, Full()); }

  // The remote password counts only while the monitor is Full; a refusal
  // leaves the page marked changed so its edit is not lost.
  bool PasswordAccepted(ControlSurface& s) {
    if (!Full()) return true;
    if (CheckFourCharField(s, IDC_AM_REMOTE_PASSWORD, IDS_PASSWORD_4_RANGE)) return true;
    s.MarkChanged();
    return false;
  }
};

}  // namespace

std::unique_ptr<SettingsPage> CreateAdministratorModePage(SettingsContext& ctx) {
  return std::make_unique<AdministratorModePage>(ctx);
}

// ---------------------------------------------------------------------------
// Administrator number dialog

void AdministratorNumberDialog::OnInit(ControlSurface& s) {
  s.SetCaption(s.String(IDS_AN_CAPTION));
  ApplyLabels(s, AdministratorLabels());
  s.LimitText(IDC_AN_NUMBER, static_cast<int>(kAdminDigits));
  s.SelectText(IDC_AN_NUMBER, 0, -1);
  s.Focus(IDC_AN_NUMBER);
}

void AdministratorNumberDialog::OnCommand(ControlSurface& s, int id, int code) {
  if (id == IDC_AN_NUMBER && code == kEditChange) {
    std::string text = s.Text(id, 7);
    ApplyDigitFilterKeepingLength(s, text, id, static_cast<int>(kAdminDigits));
    return;
  }
  if (id == kIdCancel) {
    s.EndDialog(0);
    return;
  }
  // The OK button, or Enter.
  if (id != IDC_AN_OK && id != kIdOk) return;
  const std::string text = s.Text(IDC_AN_NUMBER, 128);
  const uint32_t typed = static_cast<uint32_t>(LeadingInteger(text));
  if (text.size() == kAdminDigits && typed == GetSetting(data_, kAdminNumberId)) {
    s.SetText(IDC_AN_NUMBER, "");
    if (openSheet_) openSheet_(s);
    s.EndDialog(1);
    return;
  }
  ShowMessage(s, IDS_PASSWORD_INCORRECT);
  s.SelectText(IDC_AN_NUMBER, 0, -1);
  s.Focus(IDC_AN_NUMBER);
}

// ---------------------------------------------------------------------------
// Account Track

uint16_t AccessNumber(const DataSet& data, int index) {
  return GetU16(SettingBytes(data, kAccessNumbersId) + 2 * index);
}

void SetAccessNumber(DataSet& data, int index, uint16_t number) {
  PutU16(SettingBytes(data, kAccessNumbersId) + 2 * index, number);
}

std::string AccountIdText(const std::string& format, const DataSet& data, int index) {
  const uint16_t number = AccessNumber(data, index);
  return FormatNumberText(format, index + 1, number ? ThreeDigits(number) : std::string());
}

int CheckAccessNumber(ControlSurface& s, DataSet& data, int index) {
  auto refuse = [&] {
    s.SelectText(IDC_AT_ACCESS, 0, -1);
    s.Focus(IDC_AT_ACCESS);
    return 0;
  };
  const std::string text = s.Text(IDC_AT_ACCESS, 5);
  const int value = LeadingInteger(text);
  const bool digits = text.find_first_not_of("0123456789") == std::string::npos;
  if (!text.empty() && (text.size() != 3 || !digits || value == 0)) {
    ShowMessage(s, IDS_ACCESS_NUMBER_RANGE);
    return refuse();
  }
  if (text.empty()) {
    SetAccessNumber(data, index, 0);
    data.settings.accountCounters[index] = 0;
    return 1;
  }
  // Every other ID holding the number is asked about first: a No for any of
  // them refuses the registration, and a refused registration must not
  // have cleared the IDs answered Yes before it.
  std::vector<int> overwritten;
  for (int other = 0; other < kAccountCount; ++other) {
    if (other == index || ThreeDigits(AccessNumber(data, other)) != text) continue;
    const std::string question =
        FormatNumberText(s.String(IDS_ACCESS_NUMBER_EXISTS), other + 1, std::string());
    if (s.Message(question, MessageButtons::YesNo) != kAnswerYes) return refuse();
    overwritten.push_back(other);
  }
  for (int other : overwritten) {
    SetAccessNumber(data, other, 0);
    data.settings.accountCounters[other] = 0;
  }
  SetAccessNumber(data, index, static_cast<uint16_t>(value));
  return 1;
}

void AccountTrackDialog::OnInit(ControlSurface& s) {
  s.SetCaption(s.String(IDS_AT_CAPTION));
  ApplyLabels(s, AdministratorLabels());
  if (ctx_.ui.accountIndex < 0 || ctx_.ui.accountIndex >= kAccountCount) ctx_.ui.accountIndex = 0;
  s.SetCheck(IDC_AT_MODE, GetSetting(ctx_.data, kAccountTrackMode) == 0);
  ShowCurrentId(s);
  TakeCopy();
  s.Focus(IDC_AT_ACCESS);
}

void AccountTrackDialog::ShowCurrentId(ControlSurface& s) {
  const int index = ctx_.ui.accountIndex;
  const uint16_t number = AccessNumber(ctx_.data, index);
  s.SetText(IDC_AT_ACCESS, number ? ThreeDigits(number) : std::string());
  s.LimitText(IDC_AT_ACCESS, 3);
  s.SetText(IDC_AT_CURRENT_ID, AccountIdText(s.String(IDS_AT_ID_FORMAT), ctx_.data, index));
  s.SetText(IDC_AT_COUNTER, std::to_string(ctx_.data.settings.accountCounters[index]));
}

void AccountTrackDialog::OnCommand(ControlSurface& s, int id, int code) {
  DataSet& d = ctx_.data;
  const int index = ctx_.ui.accountIndex;
  switch (id) {
    case IDC_AT_MODE:
      if (code == kButtonClicked) SetSetting(d, kAccountTrackMode, s.IsChecked(id) ? 0 : 1);
      break;
    case IDC_AT_ACCESS:
      if (code == kEditChange) {
        std::string text = s.Text(id, 5);
        ApplyDigitFilterKeepingLength(s, text, id, 3);
      }
      break;
    case IDC_AT_CLEAR:
      if (code != kButtonClicked) break;
      d.settings.accountCounters[index] = 0;
      s.SetText(IDC_AT_COUNTER, "0");
      break;
    case IDC_AT_SELECT_ID: {
      if (code != kButtonClicked || !CheckAccessNumber(s, d, index)) break;
      const std::string format = s.String(IDS_AT_ID_FORMAT);
      std::vector<std::string> items;
      for (int i = 0; i < kAccountCount; ++i) items.push_back(AccountIdText(format, d, i));
      const int chosen = s.PopupMenu(items, IDC_AT_SELECT_ID);
      if (chosen >= 0 && chosen < kAccountCount) {
        ctx_.ui.accountIndex = chosen;
        ShowCurrentId(s);
      }
      break;
    }
    case kIdOk:
      if (CheckAccessNumber(s, d, index)) s.EndDialog(1);
      break;
    case kIdCancel:
      PutCopyBack();
      s.EndDialog(0);
      break;
    default:
      break;
  }
}

void AccountTrackDialog::TakeCopy() {
  const DataSet& d = ctx_.data;
  copy_.permission = GetSetting(d, kShutOffPermission);
  copy_.adminNumber = GetSetting(d, kAdminNumberId);
  copy_.mode = GetSetting(d, kAccountTrackMode);
  copy_.remoteMonitor = GetSetting(d, kRemoteMonitor);
  copy_.remotePassword = GetSetting(d, kRemotePassword);
  std::memcpy(copy_.accessNumbers.data(), SettingBytes(d, kAccessNumbersId),
              copy_.accessNumbers.size());
  std::memcpy(copy_.counters.data(), d.settings.accountCounters, sizeof d.settings.accountCounters);
  copy_.pageChanged = ctx_.ui.Changed(PageId::AdministratorMode);
  copy_.accountIndex = ctx_.ui.accountIndex;
}

void AccountTrackDialog::PutCopyBack() {
  DataSet& d = ctx_.data;
  SetSetting(d, kShutOffPermission, copy_.permission);
  SetSetting(d, kAdminNumberId, copy_.adminNumber);
  SetSetting(d, kAccountTrackMode, copy_.mode);
  SetSetting(d, kRemoteMonitor, copy_.remoteMonitor);
  SetSetting(d, kRemotePassword, copy_.remotePassword);
  std::memcpy(SettingBytes(d, kAccessNumbersId), copy_.accessNumbers.data(),
              copy_.accessNumbers.size());
  std::memcpy(d.settings.accountCounters, copy_.counters.data(), sizeof d.settings.accountCounters);
  ctx_.ui.Changed(PageId::AdministratorMode) = copy_.pageChanged;
  ctx_.ui.accountIndex = copy_.accountIndex;
}

// ---------------------------------------------------------------------------
// Change Admin No.

void ChangeAdminNumberDialog::OnInit(ControlSurface& s) {
  s.SetCaption(s.String(IDS_CA_CAPTION));
  ApplyLabels(s, {{IDC_CA_CURRENT_LABEL, IDS_CA_CURRENT},
                  {IDC_CA_NEW_LABEL, IDS_CA_NEW},
                  {IDC_CA_CONFIRM_LABEL, IDS_CA_CONFIRM},
                  {kIdOk, IDS_OK},
                  {kIdCancel, IDS_CANCEL}});
  for (int id : {IDC_CA_CURRENT, IDC_CA_NEW, IDC_CA_CONFIRM})
    s.LimitText(id, static_cast<int>(kAdminDigits));
  s.Focus(IDC_CA_CURRENT);
}

void ChangeAdminNumberDialog::OnCommand(ControlSurface& s, int id, int code) {
  switch (id) {
    case IDC_CA_CURRENT:
    case IDC_CA_NEW:
    case IDC_CA_CONFIRM:
      if (code == kEditChange) {
        std::string text = s.Text(id, 7);
        ApplyDigitFilterKeepingLength(s, text, id, static_cast<int>(kAdminDigits));
      }
      return;
    case kIdCancel:
      s.EndDialog(0);
      return;
    case kIdOk:
      break;
    default:
      return;
  }
  auto refuse = [&](int field, int message) {
    ShowMessage(s, message);
    s.SelectText(field, 0, -1);
    s.Focus(field);
  };
  const std::string current = s.Text(IDC_CA_CURRENT, 128);
  const std::string typedNew = s.Text(IDC_CA_NEW, 128);
  const std::string confirm = s.Text(IDC_CA_CONFIRM, 128);
  if (current.size() != kAdminDigits ||
      static_cast<uint32_t>(LeadingInteger(current)) != GetSetting(data_, kAdminNumberId)) {
    refuse(IDC_CA_CURRENT, IDS_PASSWORD_INCORRECT);
    return;
  }
  if (typedNew.size() != kAdminDigits) {
    refuse(IDC_CA_NEW, IDS_PASSWORD_6_RANGE);
    return;
  }
  if (confirm.size() != kAdminDigits || LeadingInteger(confirm) != LeadingInteger(typedNew)) {
    refuse(IDC_CA_CONFIRM, IDS_PASSWORD_INCORRECT);
    return;
  }
  SetSetting(data_, kAdminNumberId, static_cast<uint32_t>(LeadingInteger(typedNew)));
  s.SetText(IDC_CA_CURRENT, "");
  s.EndDialog(1);
}

}  // namespace odc
