// The FAX RX Operation page: Memory RX with its password and time window,
// print, reduction and answer modes, rings, call transfer, footer, closed
// network, and the Select Tray and Forward Location dialogs.
//
// Memory RX password rules: switching Memory RX off needs the password that
// was stored when the page started; a password typed while Memory RX is on
// must be empty or four digits, both to leave the page and to apply it. The
// password state says whether Memory RX was switched in this page (0 no,
// 1 off, 2 on); only a page that switched it on stores a new password and
// time window.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/res/resource.h"
#include "setup/settings/fax_rx_dialogs.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"

namespace odc {

using namespace fax_rx_items;

namespace {

constexpr uint8_t kMemoryRxOn = 0x80, kMemoryRxOff = 0x00;
constexpr uint8_t kForwardOn = 0x00, kForwardOnPrint = 0x20, kForwardOff = 0x40;
constexpr uint32_t kRegionWithCallTransfer = 3;
constexpr int kTrayCount = 5;

// One label table serves the page and both of its dialogs.
const std::vector<LabelPair>& FaxRxLabels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_RX_MEMORY_GROUP, IDS_RX_MEMORY_RX_MODE},
      {IDC_RX_MEMORY_ON, IDS_RX_ON},
      {IDC_RX_MEMORY_OFF, IDS_RX_OFF},
      {IDC_RX_PASSWORD_LABEL, IDS_RX_PASSWORD},
      {IDC_RX_ON_TIME_LABEL, IDS_RX_ON_TIME},
      {IDC_RX_ON_SEPARATOR, IDS_RX_TIME_SEPARATOR},
      {IDC_RX_OFF_TIME_LABEL, IDS_RX_OFF_TIME},
      {IDC_RX_OFF_SEPARATOR, IDS_RX_TIME_SEPARATOR},
      {IDC_RX_PRINT_GROUP, IDS_RX_PRINT},
      {IDC_RX_PRINT_MEMORY, IDS_RX_PRINT_MEMORY},
      {IDC_RX_PRINT_PRINT, IDS_RX_PRINT_PRINT},
      {IDC_RX_MODE_GROUP, IDS_RX_MODE},
      {IDC_RX_MODE_AUTO, IDS_RX_MODE_AUTO},
      {IDC_RX_MODE_MANUAL, IDS_RX_MODE_MANUAL},
      {IDC_RX_RINGS_LABEL, IDS_RX_RINGS},
      {IDC_RX_RINGS_UNIT, IDS_RX_RINGS_UNIT},
      {IDC_RX_CALL_TRANSFER, IDS_RX_CALL_TRANSFER},
      {IDC_RX_SELECT_TRAY, IDS_RX_SELECT_TRAY},
      {IDC_RX_REDUCTION_GROUP, IDS_RX_REDUCTION},
      {IDC_RX_REDUCTION_ON, IDS_RX_REDUCTION_ON},
      {IDC_RX_REDUCTION_OFF, IDS_RX_REDUCTION_OFF},
      {IDC_RX_REDUCTION_CUT, IDS_RX_REDUCTION_CUT},
      {IDC_RX_FORWARD_GROUP, IDS_RX_FORWARD_MODE},
      {IDC_RX_FORWARD_ON, IDS_RX_FORWARD_ON},
      {IDC_RX_FORWARD_PRINT, IDS_RX_FORWARD_PRINT},
      {IDC_RX_FORWARD_OFF, IDS_RX_FORWARD_OFF},
      {IDC_RX_FOOTER, IDS_RX_FOOTER},
      {IDC_RX_CLOSED_NETWORK, IDS_RX_CLOSED_NETWORK},
      // Forward Location.
      {IDC_FWD_FAX, IDS_LABEL_FAX},
      {IDC_FWD_EMAIL, IDS_LABEL_EMAIL},
      {IDC_FWD_NUMBER_LABEL, IDS_LABEL_PHONE_NUMBER},
      {IDC_FWD_SUB_LABEL, IDS_LABEL_SUB},
      {IDC_FWD_SID_LABEL, IDS_LABEL_SID},
      {IDC_FWD_MODE_GROUP, IDS_EMAIL_MODE},
      {IDC_FWD_BASIC, IDS_LABEL_BASIC},
      {IDC_FWD_ADVANCED, IDS_LABEL_ADVANCED},
      {IDC_FWD_SIZE_LABEL, IDS_LABEL_MAX_TX_SIZE},
      {IDC_FWD_QUALITY_LABEL, IDS_LABEL_MAX_QUALITY},
      {IDC_FWD_CODING_LABEL, IDS_LABEL_CODING},
      {kIdOk, IDS_OK},
      {kIdCancel, IDS_CANCEL},
      // Select Tray.
      {IDC_TRAY_GROUP_1, IDS_TRAY_1},
      {IDC_TRAY_GROUP_1 + 1, IDS_TRAY_2},
      {IDC_TRAY_GROUP_1 + 2, IDS_TRAY_3},
      {IDC_TRAY_GROUP_1 + 3, IDS_TRAY_4},
      {IDC_TRAY_GROUP_1 + 4, IDS_TRAY_5},
      {IDC_TRAY_ENABLE_1, IDS_TRAY_ENABLE},
      {IDC_TRAY_ENABLE_1 + 1, IDS_TRAY_ENABLE},
      {IDC_TRAY_ENABLE_1 + 2, IDS_TRAY_ENABLE},
      {IDC_TRAY_ENABLE_1 + 3, IDS_TRAY_ENABLE},
      {IDC_TRAY_ENABLE_1 + 4, IDS_TRAY_ENABLE},
      {IDC_TRAY_DISABLE_1, IDS_DISABLE},
      {IDC_TRAY_DISABLE_1 + 1, IDS_DISABLE},
      {IDC_TRAY_DISABLE_1 + 2, IDS_DISABLE},
      {IDC_TRAY_DISABLE_1 + 3, IDS_DISABLE},
      {IDC_TRAY_DISABLE_1 + 4, IDS_DISABLE},
  };
  return kLabels;
}

const std::vector<Binding>& FaxRxBindings() {
  static const std::vector<Binding> kBindings = {
      RadioBinding(kReduction, {IDC_RX_REDUCTION_ON, IDC_RX_REDUCTION_OFF, IDC_RX_REDUCTION_CUT},
                   {0, 1, 2}),
      RadioBinding(kRxPrint, {IDC_RX_PRINT_MEMORY, IDC_RX_PRINT_PRINT}, {8, 0}),
      RadioBinding(kRxMode, {IDC_RX_MODE_AUTO, IDC_RX_MODE_MANUAL}, {0, 0x20}),
      RadioBinding(kForwardMode, {IDC_RX_FORWARD_ON, IDC_RX_FORWARD_PRINT, IDC_RX_FORWARD_OFF},
                   {kForwardOn, kForwardOnPrint, kForwardOff}),
      CheckBinding(kFooter, IDC_RX_FOOTER, 0, 0x10),
      CheckBinding(kClosedNetwork, IDC_RX_CLOSED_NETWORK, 0, 0x20),
  };
  return kBindings;
}

const int kTimeEdits[] = {IDC_RX_ON_HOUR, IDC_RX_ON_MINUTE, IDC_RX_OFF_HOUR, IDC_RX_OFF_MINUTE};
// The time edits with their labels.
const int kTimeControls[] = {IDC_RX_ON_TIME_LABEL, IDC_RX_ON_HOUR,        IDC_RX_ON_SEPARATOR,
                             IDC_RX_ON_MINUTE,     IDC_RX_OFF_TIME_LABEL, IDC_RX_OFF_HOUR,
                             IDC_RX_OFF_SEPARATOR, IDC_RX_OFF_MINUTE};

uint16_t GetU16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void PutU16At(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v & 0xFF);
  p[1] = static_cast<uint8_t>(v >> 8);
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// A window time: hour in bits 11-15, minute in bits 5-10.
uint16_t ComposeTime(int hour, int minute) {
  return static_cast<uint16_t>(((hour * 64) + minute) * 32);
}

class FaxRxOperationPage : public SettingsPage {
 public:
  explicit FaxRxOperationPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::FaxRxOperation; }

  void OnInit(ControlSurface& s) override {
    DataSet& d = ctx.data;
    ApplyLabels(s, FaxRxLabels());
    storedCopy_ = StoredPassword();
    typed_.clear();
    pwState_ = 0;
    s.LimitText(IDC_RX_PASSWORD, 4);
    for (int id : kTimeEdits) s.LimitText(id, 2);

    const uint32_t mode = GetSetting(d, kMemoryRxMode);
    startFlag_ = mode == kMemoryRxOn;
    SelectRadio(s, {IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF},
                mode == kMemoryRxOn    ? IDC_RX_MEMORY_ON
                : mode == kMemoryRxOff ? IDC_RX_MEMORY_OFF
                                       : 0);
    if (mode == kMemoryRxOff) EnablePassword(s, false);
    EnableTimes(s, false);
    if (mode != kMemoryRxOff) ShowSetTimes(s);

    BindingInit(s, d, FaxRxBindings());

    // Call transfer exists in region 3 only.
    const bool region3 = GetSetting(d, kRegionCodeId) == kRegionWithCallTransfer;
    for (int id : {IDC_RX_CALL_TRANSFER, IDC_RX_TRANSFER_COUNT, IDC_RX_TRANSFER_VALUE})
      s.Show(id, region3);
    if (region3) {
      const bool on = GetSetting(d, kCallTransferOn) != 0;
      s.SetCheck(IDC_RX_CALL_TRANSFER, on);
      ShowTransferCount(s);
      s.Enable(IDC_RX_TRANSFER_COUNT, on);
    }

    // The stored rings show until the slider is moved, also beyond the
    // maximum-rings setting.
    InitSettingsSlider(s, ctx, IDC_RX_RINGS);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    DataSet& d = ctx.data;
    switch (id) {
      case IDC_RX_MEMORY_ON:
        if (code != kButtonClicked) return Handled::No;
        if (GetSetting(d, kMemoryRxMode) != kMemoryRxOn) {
          SetSetting(d, kMemoryRxMode, kMemoryRxOn);
          startFlag_ = true;
          pwState_ = 2;
          EnablePassword(s, true);
          EnableTimes(s, true);
        }
        SelectRadio(s, {IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF}, IDC_RX_MEMORY_ON);
        return Handled::Changed;
      case IDC_RX_MEMORY_OFF:
        if (code != kButtonClicked) return Handled::No;
        SwitchMemoryRxOff(s);
        return Handled::Changed;
      case IDC_RX_PASSWORD: {
        if (code != kEditChange) return Handled::No;
        std::string text = s.Text(id, 6);
        ApplyDigitFilter(s, text, id, 4);
        typed_ = text;
        return Handled::Changed;
      }
      case IDC_RX_ON_HOUR:
      case IDC_RX_ON_MINUTE:
      case IDC_RX_OFF_HOUR:
      case IDC_RX_OFF_MINUTE: {
        // The numbers are read again when the page is left or applied.
        if (code != kEditChange) return Handled::No;
        std::string text = s.Text(id, 4);
        ApplyDigitFilter(s, text, id, 2);
        return Handled::Changed;
      }
      case IDC_RX_CALL_TRANSFER: {
        if (code != kButtonClicked) return Handled::No;
        const bool on = s.IsChecked(id);
        SetSetting(d, kCallTransferOn, on ? 0x10 : 0);
        s.Enable(IDC_RX_TRANSFER_COUNT, on);
        if (on) ShowTransferCount(s);
        return Handled::Changed;
      }
      case IDC_RX_SELECT_TRAY: {
        if (code != kButtonClicked) return Handled::No;
        SelectTrayDialog dialog(ctx);
        return s.RunDialog(IDD_SELECT_TRAY, dialog) == 1 ? Handled::Changed : Handled::NoChange;
      }
      case IDC_RX_FORWARD_ON:
      case IDC_RX_FORWARD_PRINT:
        if (code != kButtonClicked) return Handled::No;
        ChooseForwarding(s, id);
        return Handled::Changed;
      default:
        return BindingCommand(s, d, FaxRxBindings(), id, code);
    }
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    if (id != IDC_RX_RINGS && id != IDC_RX_TRANSFER_COUNT) return Handled::No;
    HandleSettingsSlider(s, ctx, code, id);
    return Handled::Changed;
  }

  bool OnKillActive(ControlSurface& s) override {
    if (GetSetting(ctx.data, kMemoryRxMode) != kMemoryRxOn) return true;
    if (!PasswordWellFormed(s)) return false;
    if (typed_.size() == 4 && typed_ != storedCopy_ && startFlag_ && pwState_ == 0) {
      Refuse(s, IDS_PASSWORD_INCORRECT, IDC_RX_PASSWORD);
      return false;
    }
    bool anyTime = false;
    for (int id : kTimeEdits) anyTime = anyTime || !s.Text(id).empty();
    return !anyTime || TimesValid(s);
  }

  bool OnApply(ControlSurface& s) override {
    DataSet& d = ctx.data;
    uint8_t* window = SettingBytes(d, kMemoryRxWindow);
    const uint32_t mode = GetSetting(d, kMemoryRxMode);
    if (mode == kMemoryRxOn && pwState_ != 0) {
      // Everything is checked before anything is written: a refused apply
      // leaves the values as they were.
      if (!PasswordWellFormed(s)) return false;
      uint8_t flags = 0;
      if (!s.Text(IDC_RX_ON_HOUR).empty() || !s.Text(IDC_RX_ON_MINUTE).empty()) flags |= kOnTimeSet;
      if (!s.Text(IDC_RX_OFF_HOUR).empty() || !s.Text(IDC_RX_OFF_MINUTE).empty())
        flags |= kOffTimeSet;
      if (flags != 0 && !TimesValid(s)) return false;
      std::memset(window + kPasswordOffset, 0, 4);
      std::memcpy(window + kPasswordOffset, typed_.data(), typed_.size());
      storedCopy_ = typed_;
      if (flags != 0) {
        PutU16At(window + kOnTimeOffset,
                 ComposeTime(Number(s, IDC_RX_ON_HOUR), Number(s, IDC_RX_ON_MINUTE)));
        PutU16At(window + kOffTimeOffset,
                 ComposeTime(Number(s, IDC_RX_OFF_HOUR), Number(s, IDC_RX_OFF_MINUTE)));
      }
      window[kTimeFlagsOffset] = flags;
      pwState_ = 0;
    }
    if (mode == kMemoryRxOff) {
      EnableTimes(s, false);
      EnablePassword(s, false);
      std::memset(window + kPasswordOffset, 0, 4);
      storedCopy_.clear();
    } else if (mode == kMemoryRxOn) {
      EnableTimes(s, false);
      ShowSetTimes(s);
    }
    if (GetSetting(d, kForwardMode) == kForwardOff)
      std::memset(SettingBytes(d, kForwardLocation), 0, kForwardRecordSize);
    startFlag_ = mode == kMemoryRxOn;
    return true;
  }

 private:
  std::string StoredPassword() const {
    const uint8_t* p = SettingBytes(ctx.data, kMemoryRxWindow) + kPasswordOffset;
    size_t n = 0;
    while (n < 4 && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
  }

  void EnablePassword(ControlSurface& s, bool enabled) {
    s.Enable(IDC_RX_PASSWORD, enabled);
    s.Enable(IDC_RX_PASSWORD_LABEL, enabled);
  }
  void EnableTimes(ControlSurface& s, bool enabled) {
    for (int id : kTimeControls) s.Enable(id, enabled);
  }

  // The stored window times, when both are set.
  void ShowSetTimes(ControlSurface& s) {
    const uint8_t* window = SettingBytes(ctx.data, kMemoryRxWindow);
    if (window[kTimeFlagsOffset] != (kOnTimeSet | kOffTimeSet)) return;
    const uint16_t on = GetU16At(window + kOnTimeOffset);
    const uint16_t off = GetU16At(window + kOffTimeOffset);
    s.SetText(IDC_RX_ON_HOUR, TwoDigits(on >> 11));
    s.SetText(IDC_RX_ON_MINUTE, TwoDigits((on >> 5) & 0x3F));
    s.SetText(IDC_RX_OFF_HOUR, TwoDigits(off >> 11));
    s.SetText(IDC_RX_OFF_MINUTE, TwoDigits((off >> 5) & 0x3F));
  }

  void ShowTransferCount(ControlSurface& s) { InitSettingsSlider(s, ctx, IDC_RX_TRANSFER_COUNT); }

  void SwitchMemoryRxOff(ControlSurface& s) {
    DataSet& d = ctx.data;
    const uint32_t mode = GetSetting(d, kMemoryRxMode);
    if (mode == kMemoryRxOff) {
      SelectRadio(s, {IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF}, IDC_RX_MEMORY_OFF);
      return;
    }
    if (mode == kMemoryRxOn && typed_ != storedCopy_) {
      ShowMessage(s, IDS_PASSWORD_INCORRECT);
      SelectRadio(s, {IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF}, IDC_RX_MEMORY_ON);
      s.Focus(IDC_RX_PASSWORD);
      return;
    }
    SelectRadio(s, {IDC_RX_MEMORY_ON, IDC_RX_MEMORY_OFF}, IDC_RX_MEMORY_OFF);
    startFlag_ = false;
    SetSetting(d, kMemoryRxMode, kMemoryRxOff);
    SettingBytes(d, kMemoryRxWindow)[kTimeFlagsOffset] = 0;
    storedCopy_.clear();
    typed_.clear();
    s.SetText(IDC_RX_PASSWORD, "");
    for (int id : kTimeEdits) s.SetText(id, "");
    EnablePassword(s, false);
    EnableTimes(s, false);
    pwState_ = 1;
  }

  // ON(3) and ON(Print) ask for the destination first.
  void ChooseForwarding(ControlSurface& s, int button) {
    DataSet& d = ctx.data;
    const uint32_t previous = GetSetting(d, kForwardMode);
    const uint32_t chosen = button == IDC_RX_FORWARD_ON ? kForwardOn : kForwardOnPrint;
    const std::initializer_list<int> buttons = {IDC_RX_FORWARD_ON, IDC_RX_FORWARD_PRINT,
                                                IDC_RX_FORWARD_OFF};
    SelectRadio(s, buttons, button);
    ForwardLocationDialog dialog(ctx);
    const bool accepted = s.RunDialog(IDD_FORWARD_LOCATION, dialog) == 1;
    if (!accepted && previous != chosen) {
      // Cancelled: the mode the page had before, whatever it was.
      SetSetting(d, kForwardMode, previous);
      const int back = previous == kForwardOn        ? IDC_RX_FORWARD_ON
                       : previous == kForwardOnPrint ? IDC_RX_FORWARD_PRINT
                       : previous == kForwardOff     ? IDC_RX_FORWARD_OFF
                                                     : 0;
      SelectRadio(s, buttons, back);
      if (back != 0) s.Focus(back);
    } else if (!ForwardHasDestination(SettingBytes(d, kForwardLocation))) {
      SetSetting(d, kForwardMode, kForwardOff);
      SelectRadio(s, buttons, IDC_RX_FORWARD_OFF);
      s.Focus(IDC_RX_FORWARD_OFF);
    } else {
      SetSetting(d, kForwardMode, chosen);
    }
  }

  void Refuse(ControlSurface& s, int messageId, int control) {
    ShowMessage(s, messageId);
    s.SelectText(control, 0, -1);
    s.Focus(control);
  }

  // A typed password is empty or four digits.
  bool PasswordWellFormed(ControlSurface& s) {
    if (typed_.empty() || typed_.size() == 4) return true;
    Refuse(s, IDS_PASSWORD_4_RANGE, IDC_RX_PASSWORD);
    return false;
  }

  bool TimesValid(ControlSurface& s) {
    return CheckIntegerField(s, IDC_RX_ON_HOUR, IDS_INTEGER_RANGE, 0, 23) &&
           CheckIntegerField(s, IDC_RX_ON_MINUTE, IDS_INTEGER_RANGE, 0, 59) &&
           CheckIntegerField(s, IDC_RX_OFF_HOUR, IDS_INTEGER_RANGE, 0, 23) &&
           CheckIntegerField(s, IDC_RX_OFF_MINUTE, IDS_INTEGER_RANGE, 0, 59);
  }

  static int Number(ControlSurface& s, int id) { return LeadingInteger(s.Text(id)); }

  std::string storedCopy_;  // the stored password when the page started
  std::string typed_;       // the password edit's digits
  bool startFlag_ = false;  // Memory RX was on at start or has been switched on
  int pwState_ = 0;         // 0 not switched here, 1 switched off, 2 switched on
};

}  // namespace

// ---------------------------------------------------------------------------
// Settings block copies

SettingsSnapshot::SettingsSnapshot(const DataSet& set, uint32_t first, uint32_t last) {
  for (uint32_t id = first; id <= last; ++id) {
    const SettingItem* item = FindSettingItem(id);
    if (item == nullptr) continue;
    const uint8_t* p = SettingBytes(set, id);
    values_.emplace_back(id, std::vector<uint8_t>(p, p + item->width));
  }
}

void SettingsSnapshot::Restore(DataSet& set) const {
  for (const auto& [id, bytes] : values_)
    std::memcpy(SettingBytes(set, id), bytes.data(), bytes.size());
}

// ---------------------------------------------------------------------------
// Select Tray

void SelectTrayDialog::OnInit(ControlSurface& s) {
  s.SetCaption(s.String(IDS_SELECT_TRAY));
  ApplyLabels(s, FaxRxLabels());
  s.CentreOnScreen();
  snapshot_ = std::make_unique<SettingsSnapshot>(ctx_.data, kFirstItem, kLastItem);
  const int installed = InstalledTrays(ctx_.data);
  for (int t = 0; t < kTrayCount; ++t) {
    const bool enabled = GetSetting(ctx_.data, kFirstTray + t) == (1u << t);
    s.SetCheck(IDC_TRAY_ENABLE_1 + t, enabled);
    s.SetCheck(IDC_TRAY_DISABLE_1 + t, !enabled);
    for (int id : {IDC_TRAY_GROUP_1 + t, IDC_TRAY_ENABLE_1 + t, IDC_TRAY_DISABLE_1 + t})
      s.Show(id, t < installed);
  }
}

void SelectTrayDialog::OnCommand(ControlSurface& s, int id, int code) {
  if (id == kIdOk) {
    s.EndDialog(1);
  } else if (id == kIdCancel) {
    snapshot_->Restore(ctx_.data);
    s.EndDialog(0);
  } else if (code == kButtonClicked && id >= IDC_TRAY_ENABLE_1 &&
             id < IDC_TRAY_ENABLE_1 + kTrayCount) {
    const int t = id - IDC_TRAY_ENABLE_1;
    SetSetting(ctx_.data, kFirstTray + t, 1u << t);
    SelectRadio(s, {id, IDC_TRAY_DISABLE_1 + t}, id);
  } else if (code == kButtonClicked && id >= IDC_TRAY_DISABLE_1 &&
             id < IDC_TRAY_DISABLE_1 + kTrayCount) {
    const int t = id - IDC_TRAY_DISABLE_1;
    SetSetting(ctx_.data, kFirstTray + t, 0);
    SelectRadio(s, {IDC_TRAY_ENABLE_1 + t, id}, id);
  }
}

// ---------------------------------------------------------------------------
// Forward Location

bool ForwardHasDestination(const uint8_t* record) {
  switch (record[0]) {
    case 0:
      return false;
    case kForwardMail:
      return record[1] != 0 && record[6] != 0;
    case kForwardFax:
      return record[1] != 0;
    default:
      return true;
  }
}

namespace {

// Record layout of a typed destination.
constexpr int kFaxNumberOffset = 5, kFaxSubOffset = 30, kFaxSidOffset = 40;
constexpr int kMailAddressOffset = 6, kMaxMailAddress = 64;
constexpr int kMaxFaxDigits = 50;  // 25 packed bytes up to the SUB
constexpr int kMaxSubSidDigits = 20;

std::string UnpackedDigits(const uint8_t* packed, int count, int most) {
  const int n = std::min(count, most);
  std::vector<char> text(static_cast<size_t>(n) + 1);
  UnpackDigits(text.data(), packed, n);
  return std::string(text.data(), static_cast<size_t>(n));
}

int FieldLength(const std::string& text, int most) {
  return static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(most)));
}

}  // namespace

void ForwardLocationDialog::LoadRecord() {
  const uint8_t* r = SettingBytes(ctx_.data, kForwardLocation);
  const bool abo = ctx_.data.addressBookOnly;
  options_ = {0, DefaultMaxTxSize(ctx_.host.InchPaper(), abo), 2, 0};
  kind_ = kKindFax;
  switch (r[0]) {
    case kForwardFax:
      number_ = UnpackedDigits(r + kFaxNumberOffset, r[1], kMaxFaxDigits);
      sub_ = UnpackedDigits(r + kFaxSubOffset, r[3], kMaxSubSidDigits);
      sid_ = UnpackedDigits(r + kFaxSidOffset, r[4], kMaxSubSidDigits);
      break;
    case kForwardMail: {
      kind_ = kKindEmail;
      const char* text = reinterpret_cast<const char*>(r + kMailAddressOffset);
      address_.assign(text, strnlen(text, kMaxMailAddress));
      std::copy(r + 2, r + 6, options_.begin());
      break;
    }
    case kForwardSpeedDialMail:
    case kForwardSpeedDialFax:
    case kForwardOneTouchMail:
    case kForwardOneTouchFax: {
      reference_ = true;
      const bool oneTouch = r[0] == kForwardOneTouchMail || r[0] == kForwardOneTouchFax;
      kind_ = r[0] == kForwardOneTouchMail || r[0] == kForwardSpeedDialMail ? kKindEmail : kKindFax;
      const int number = r[1];
      const int count = oneTouch ? kOneTouchCount : kSpeedDialCount;
      if (number < 1 || number > count) break;
      DisplayRecord entry{};
      if (oneTouch)
        UnpackOneTouch(entry, ctx_.data, number - 1);
      else
        UnpackSpeedDial(entry, ctx_.data, number - 1);
      if (!entry.inUse || entry.groupMarker) break;
      kind_ = entry.kind == kKindEmail ? kKindEmail : kKindFax;
      if (kind_ == kKindEmail) {
        address_ = entry.email;
        std::copy(entry.emailOptions, entry.emailOptions + 4, options_.begin());
      } else {
        number_ = entry.number;
        sub_ = entry.sub;
        sid_ = entry.sid;
      }
      break;
    }
    default:
      break;
  }
}

void ForwardLocationDialog::OnInit(ControlSurface& s) {
  s.SetCaption(s.String(IDS_FORWARD_LOCATION));
  ApplyLabels(s, FaxRxLabels());
  s.LimitText(IDC_FWD_NUMBER, 30);
  s.LimitText(IDC_FWD_SUB, 20);
  s.LimitText(IDC_FWD_SID, 20);
  s.LimitText(IDC_FWD_ADDRESS, kMaxMailAddress);
  s.Enable(IDC_FWD_EMAIL, ctx_.data.machineInfo[machine_info::kNicKit] != 0);
  LoadRecord();
  s.SetText(IDC_FWD_NUMBER, number_);
  s.SetText(IDC_FWD_SUB, sub_);
  s.SetText(IDC_FWD_SID, sid_);
  s.SetText(IDC_FWD_ADDRESS, address_);
  SelectRadio(s, {IDC_FWD_FAX, IDC_FWD_EMAIL}, IDC_FWD_FAX + kind_);
  SelectRadio(s, {IDC_FWD_BASIC, IDC_FWD_ADVANCED},
              options_[0] == 1 ? IDC_FWD_ADVANCED : IDC_FWD_BASIC);
  const SizeList sizes = MaxTxSizeList(ctx_.host.InchPaper(), ctx_.data.addressBookOnly);
  s.ClearList(IDC_FWD_SIZE);
  for (int id : sizes.stringIds) s.AddListItem(IDC_FWD_SIZE, s.String(id));
  SelectSize(s);
  s.ClearList(IDC_FWD_QUALITY);
  FillComboFromStrings(s, IDC_FWD_QUALITY, IDS_QUALITY_FINE, IDS_QUALITY_SF,
                       options_[2] == 1 || options_[2] == 2 ? options_[2] - 1 : -1);
  s.ClearList(IDC_FWD_CODING);
  FillComboFromStrings(s, IDC_FWD_CODING, IDS_CODING_MH, IDS_CODING_MMR,
                       options_[3] <= 2 ? options_[3] : -1);
  Refresh(s);
  const int first = kind_ == kKindEmail ? IDC_FWD_ADDRESS : IDC_FWD_NUMBER;
  s.SelectText(first, 0, -1);
  s.Focus(first);
}

void ForwardLocationDialog::SelectSize(ControlSurface& s) {
  s.SelectListItem(IDC_FWD_SIZE,
                   MaxTxSizeIndex(options_[1], ctx_.host.InchPaper(), ctx_.data.addressBookOnly));
}

void ForwardLocationDialog::Refresh(ControlSurface& s) {
  const bool fax = kind_ == kKindFax;
  const bool advanced = options_[0] == 1;
  SetControlText(s, IDC_FWD_NUMBER_LABEL, fax ? IDS_LABEL_PHONE_NUMBER : IDS_LABEL_ADDRESS);
  const struct {
    int id;
    bool shown;
  } controls[] = {
      {IDC_FWD_NUMBER, fax},
      {IDC_FWD_SUB_LABEL, fax},
      {IDC_FWD_SUB, fax},
      {IDC_FWD_SID_LABEL, fax},
      {IDC_FWD_SID, fax},
      {IDC_FWD_ADDRESS, !fax},
      {IDC_FWD_MODE_GROUP, !fax},
      {IDC_FWD_BASIC, !fax},
      {IDC_FWD_ADVANCED, !fax},
      {IDC_FWD_SIZE_LABEL, !fax && advanced},
      {IDC_FWD_SIZE, !fax && advanced},
      {IDC_FWD_QUALITY_LABEL, !fax && advanced},
      {IDC_FWD_QUALITY, !fax && advanced},
      {IDC_FWD_CODING_LABEL, !fax && advanced},
      {IDC_FWD_CODING, !fax && advanced},
  };
  for (const auto& c : controls) {
    s.Show(c.id, c.shown);
    s.Enable(c.id, c.shown);
  }
}

void ForwardLocationDialog::OnEdit(ControlSurface& s, int id) {
  switch (id) {
    case IDC_FWD_NUMBER: {
      std::string text;
      ApplyTextFilter(s, text, id, 30,
                      [](std::string_view t) { return FilterDialText(t, DialField::Number); });
      number_ = text;
      break;
    }
    case IDC_FWD_SUB:
    case IDC_FWD_SID: {
      std::string text;
      ApplyTextFilter(s, text, id, 20,
                      [](std::string_view t) { return FilterDialText(t, DialField::SubOrSid); });
      (id == IDC_FWD_SUB ? sub_ : sid_) = text;
      break;
    }
    case IDC_FWD_ADDRESS: {
      std::string text;
      ApplyTextFilter(s, text, id, kMaxMailAddress, FilterMailText);
      address_ = text;
      break;
    }
    default:
      return;
  }
  edited_ = true;
}

void ForwardLocationDialog::OnCommand(ControlSurface& s, int id, int code) {
  switch (id) {
    case kIdOk:
      OnOk(s);
      return;
    case kIdCancel:
      s.EndDialog(0);
      return;
    case IDC_FWD_FAX:
    case IDC_FWD_EMAIL:
      if (code != kButtonClicked) return;
      kind_ = static_cast<uint8_t>(id - IDC_FWD_FAX);
      SelectRadio(s, {IDC_FWD_FAX, IDC_FWD_EMAIL}, id);
      // The other kind's field is emptied, as in the entry dialog.
      if (kind_ == kKindEmail) {
        number_.clear();
        s.SetText(IDC_FWD_NUMBER, "");
      } else {
        address_.clear();
        s.SetText(IDC_FWD_ADDRESS, "");
      }
      edited_ = true;
      Refresh(s);
      return;
    case IDC_FWD_BASIC:
    case IDC_FWD_ADVANCED:
      if (code != kButtonClicked) return;
      options_[0] = static_cast<uint8_t>(id - IDC_FWD_BASIC);
      SelectRadio(s, {IDC_FWD_BASIC, IDC_FWD_ADVANCED}, id);
      if (options_[0] == 1) {
        options_[1] = DefaultMaxTxSize(ctx_.host.InchPaper(), ctx_.data.addressBookOnly);
        SelectSize(s);
        options_[2] = 2;
        s.SelectListItem(IDC_FWD_QUALITY, 1);
        options_[3] = 0;
        s.SelectListItem(IDC_FWD_CODING, 0);
      }
      edited_ = true;
      Refresh(s);
      return;
    case IDC_FWD_SIZE:
    case IDC_FWD_QUALITY:
    case IDC_FWD_CODING: {
      if (code != kListSelChange) return;
      const int index = s.ListSelection(id);
      if (index < 0) return;
      if (id == IDC_FWD_SIZE) {
        const SizeList sizes = MaxTxSizeList(ctx_.host.InchPaper(), ctx_.data.addressBookOnly);
        if (static_cast<size_t>(index) >= sizes.codes.size()) return;
        options_[1] = sizes.codes[static_cast<size_t>(index)];
      } else if (id == IDC_FWD_QUALITY) {
        options_[2] = static_cast<uint8_t>(index + 1);
      } else {
        options_[3] = static_cast<uint8_t>(index);
      }
      edited_ = true;
      return;
    }
    default:
      if (code == kEditChange) OnEdit(s, id);
      return;
  }
}

void ForwardLocationDialog::OnOk(ControlSurface& s) {
  uint8_t* stored = SettingBytes(ctx_.data, kForwardLocation);
  // A reference to a One Touch key or Speed Dial stays one until the user
  // types a destination of his own.
  if (reference_ && !edited_) {
    s.EndDialog(1);
    return;
  }
  const CheckFailure failure = CheckDestination(kind_, address_, number_);
  if (failure.failed()) {
    ShowMessage(s, failure.messageId);
    s.SelectText(failure.controlId, 0, -1);
    s.Focus(failure.controlId);
    return;
  }
  uint8_t r[kForwardRecordSize] = {};
  if (kind_ == kKindEmail) {
    const int n = FieldLength(address_, kMaxMailAddress);
    r[0] = kForwardMail;
    r[1] = static_cast<uint8_t>(n);
    std::copy(options_.begin(), options_.end(), r + 2);
    std::memcpy(r + kMailAddressOffset, address_.data(), static_cast<size_t>(n));
  } else {
    const int n = FieldLength(number_, kMaxFaxDigits);
    const int sub = FieldLength(sub_, kMaxSubSidDigits);
    const int sid = FieldLength(sid_, kMaxSubSidDigits);
    r[0] = kForwardFax;
    r[1] = static_cast<uint8_t>(n);
    r[3] = static_cast<uint8_t>(sub);
    r[4] = static_cast<uint8_t>(sid);
    PackDigits(r + kFaxNumberOffset, number_.c_str(), n);
    PackDigits(r + kFaxSubOffset, sub_.c_str(), sub);
    PackDigits(r + kFaxSidOffset, sid_.c_str(), sid);
  }
  std::memcpy(stored, r, kForwardRecordSize);
  s.EndDialog(1);
}

std::unique_ptr<SettingsPage> CreateFaxRxOperationPage(SettingsContext& ctx) {
  return std::make_unique<FaxRxOperationPage>(ctx);
}

}  // namespace odc
