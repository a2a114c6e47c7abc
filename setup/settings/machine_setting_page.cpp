// The Machine Setting page: panel reset and shut-off timers, energy saving,
// scan densities, buzzer, initial mode, display language, scan threshold,
// key speed, LCD contrast and print density.
//
// The page's block maps onto the items 0x10000-0x1000D in id order, the
// region code keeping its own item 0x10009. The two "on" bytes of the block
// are not items of their own: Auto Panel Reset is off while its time is 6,
// Auto Shut Off while its time is 0.
#include <array>

#include "setup/res/resource.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace machine_items {
constexpr uint32_t kPanelResetTime = 0x10000, kEnergySaveTime = 0x10001, kShutOffTime = 0x10002,
                   kAdfMode = 0x10003, kBookMode = 0x10004, kPrintDensity = 0x10005,
                   kLcdContrast = 0x10006, kBuzzer = 0x10007, kLanguage = 0x10008,
                   kRegion = 0x10009, kInitialMode = 0x1000A, kScanThreshold = 0x1000B,
                   kKeyStart = 0x1000C, kKeyInterval = 0x1000D;
constexpr uint32_t kShutOffPermission = 0x10300;
}  // namespace machine_items

namespace {

using namespace machine_items;

constexpr uint32_t kPanelResetOff = 6;

const std::vector<LabelPair>& MachineSettingLabels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_MS_AUTO_PANEL_RESET, IDS_MS_AUTO_PANEL_RESET},
      {IDC_MS_AUTO_SHUT_OFF, IDS_MS_AUTO_SHUT_OFF},
      {IDC_MS_ADF_GROUP, IDS_MS_DENSITY_ADF},
      {IDC_MS_ADF_MODE1, IDS_MS_ADF_MODE1},
      {IDC_MS_ADF_MODE2, IDS_MS_ADF_MODE2},
      {IDC_MS_BUZZER_GROUP, IDS_MS_BUZZER_VOLUME},
      {IDC_MS_BUZZER_HIGH, IDS_MS_BUZZER_HIGH},
      {IDC_MS_BUZZER_LOW, IDS_MS_BUZZER_LOW},
      {IDC_MS_BUZZER_OFF, IDS_MS_BUZZER_OFF},
      {IDC_MS_INITIAL_GROUP, IDS_MS_INITIAL_MODE},
      {IDC_MS_INITIAL_COPY, IDS_MS_INITIAL_COPY},
      {IDC_MS_INITIAL_FAX, IDS_MS_INITIAL_FAX},
      {IDC_MS_BOOK_GROUP, IDS_MS_DENSITY_BOOK},
      {IDC_MS_BOOK_MODE1, IDS_MS_BOOK_MODE1},
      {IDC_MS_BOOK_MODE2, IDS_MS_BOOK_MODE2},
      {IDC_MS_LANGUAGE_LABEL, IDS_MS_LANGUAGE},
      {IDC_MS_THRESHOLD_LABEL, IDS_MS_SCAN_THRESHOLD},
      {IDC_MS_ENERGY_TEXT, IDS_MS_ENERGY_SAVE},
      {IDC_MS_LCD_TEXT, IDS_MS_LCD_CONTRAST},
      {IDC_MS_LCD_LIGHTER, IDS_LIGHTER},
      {IDC_MS_LCD_DARKER, IDS_DARKER},
      {IDC_MS_DENSITY_TEXT, IDS_MS_PRINT_DENSITY},
      {IDC_MS_DENSITY_LIGHTER, IDS_LIGHTER},
      {IDC_MS_DENSITY_DARKER, IDS_DARKER},
      {IDC_MS_KEY_GROUP, IDS_MS_KEY_SPEED},
      {IDC_MS_KEY_START_LABEL, IDS_MS_TIME_TO_START},
      {IDC_MS_KEY_INTERVAL_LABEL, IDS_MS_INTERVAL},
  };
  return kLabels;
}

// The language list of a region code; empty for an unknown code.
std::vector<int> LanguageStrings(uint32_t region) {
  switch (region) {
    case 0:
    case 2:
      return {IDS_LANG_ENGLISH, IDS_LANG_GERMAN,  IDS_LANG_FRENCH,  IDS_LANG_ITALIAN,
              IDS_LANG_DANISH,  IDS_LANG_DUTCH,   IDS_LANG_SPANISH, IDS_LANG_NORWEGIAN,
              IDS_LANG_SWEDISH, IDS_LANG_FINNISH, IDS_LANG_TURKISH, IDS_LANG_PORTUGUESE};
    case 1:
      return {IDS_LANG_ENGLISH,  IDS_LANG_GERMAN,     IDS_LANG_FRENCH,
              IDS_LANG_CZECH,    IDS_LANG_HUNGARIAN,  IDS_LANG_POLISH,
              IDS_LANG_ROMANIAN, IDS_LANG_LITHUANIAN, IDS_LANG_SLOVAKIAN};
    case 3:
      return {IDS_LANG_ENGLISH, IDS_LANG_JAPANESE};
    case 4:
      return {IDS_LANG_ENGLISH, IDS_LANG_RUSSIAN};
    case 5:
    case 6:
      return {IDS_LANG_ENGLISH, IDS_LANG_CHINESE};
    default:
      return {};
  }
}

constexpr std::array<uint32_t, 14> kBlockItems = {
    kPanelResetTime, kEnergySaveTime, kShutOffTime, kAdfMode,    kBookMode,
    kPrintDensity,   kLcdContrast,    kBuzzer,      kLanguage,   kRegion,
    kInitialMode,    kScanThreshold,  kKeyStart,    kKeyInterval};

class MachineSettingPage : public SettingsPage {
 public:
  explicit MachineSettingPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::MachineSetting; }

  void OnInit(ControlSurface& s) override {
    ApplyLabels(s, MachineSettingLabels());
    ctx.ui.Changed(Id()) = 0;
    UnpackTransferImage(ctx.data);
    TakeCopy();
    DataSet& d = ctx.data;

    // Auto Panel Reset.
    FillPanelResetList(s, GetSetting(d, kPanelResetTime));

    // Energy save, LCD contrast, print density.
    InitSlider(s, IDC_MS_ENERGY_SLIDER);
    InitSlider(s, IDC_MS_LCD_SLIDER);
    InitSlider(s, IDC_MS_DENSITY_SLIDER);

    // Auto Shut Off.
    const SliderRule& shutOff = *FindSlider(IDC_MS_SHUT_OFF_SLIDER);
    s.SetSliderRange(IDC_MS_SHUT_OFF_SLIDER, shutOff.low, shutOff.high);
    s.SetSliderPos(IDC_MS_SHUT_OFF_SLIDER, SliderValue(ctx, shutOff));
    if (GetSetting(d, kShutOffPermission) == 0) {
      if (GetSetting(d, kShutOffTime) == 0) {
        shutOffOn_ = false;
        s.SetCheck(IDC_MS_AUTO_SHUT_OFF, false);
        SetControlText(s, IDC_MS_SHUT_OFF_LABEL, IDS_DISABLE);
        s.Enable(IDC_MS_SHUT_OFF_SLIDER, false);
        s.Enable(IDC_MS_SHUT_OFF_LABEL, false);
      } else {
        shutOffOn_ = true;
        s.SetCheck(IDC_MS_AUTO_SHUT_OFF, true);
        s.Enable(IDC_MS_SHUT_OFF_SLIDER, true);
        s.Enable(IDC_MS_SHUT_OFF_LABEL, true);
        ShowAutoShutOffTime(s);
      }
      s.Enable(IDC_MS_AUTO_SHUT_OFF, true);
    } else {
      shutOffOn_ = true;
      s.SetCheck(IDC_MS_AUTO_SHUT_OFF, true);
      if (GetSetting(d, kShutOffTime) == 0) SetSetting(d, kShutOffTime, 15);
      s.SetSliderPos(IDC_MS_SHUT_OFF_SLIDER, SliderValue(ctx, shutOff));
      ShowSliderLabel(s, ctx, shutOff, StoredSliderValue(ctx, shutOff));
      s.Enable(IDC_MS_SHUT_OFF_SLIDER, true);
    }

    BindingInit(s, d, Bindings());
    const bool anyAdf = ctx.data.machineInfo[machine_info::kAdf] != 0 ||
                        ctx.data.machineInfo[machine_info::kAdfDuplex] != 0;
    s.Enable(IDC_MS_ADF_MODE1, anyAdf);
    s.Enable(IDC_MS_ADF_MODE2, anyAdf);

    // Languages of the region; the stored index selected.
    s.ClearList(IDC_MS_LANGUAGE);
    for (int id : LanguageStrings(GetSetting(d, kRegion)))
      s.AddListItem(IDC_MS_LANGUAGE, s.String(id));
    const int language = static_cast<int>(GetSetting(d, kLanguage));
    s.SelectListItem(IDC_MS_LANGUAGE, language < s.ListCount(IDC_MS_LANGUAGE) ? language : -1);

    // Scan threshold: a code outside the four leaves the list unfilled.
    s.ClearList(IDC_MS_SCAN_THRESHOLD);
    const uint32_t threshold = GetSetting(d, kScanThreshold);
    if (threshold % 8 == 0 && threshold <= 0x18)
      FillComboFromStrings(s, IDC_MS_SCAN_THRESHOLD, IDS_MS_THRESHOLD_256K, IDS_MS_THRESHOLD_1536K,
                           static_cast<int>(threshold / 8));
  }

  void OnSetActive(ControlSurface& s) override {
    if (GetSetting(ctx.data, kShutOffPermission) == 0) return;
    if (!shutOffOn_) {
      shutOffOn_ = true;
      if (GetSetting(ctx.data, kShutOffTime) == 0) SetSetting(ctx.data, kShutOffTime, 30);
      s.SetCheck(IDC_MS_AUTO_SHUT_OFF, true);
      s.Enable(IDC_MS_SHUT_OFF_SLIDER, true);
      s.Enable(IDC_MS_SHUT_OFF_LABEL, true);
      ShowAutoShutOffTime(s);
    }
    s.Enable(IDC_MS_AUTO_SHUT_OFF, false);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    DataSet& d = ctx.data;
    switch (id) {
      case IDC_MS_AUTO_PANEL_RESET: {
        if (code != kButtonClicked) return Handled::No;
        const bool on = s.IsChecked(id);
        uint32_t time = GetSetting(d, kPanelResetTime);
        if (!on) {
          time = kPanelResetOff;
        } else if (time == kPanelResetOff) {
          time = 0;
        }
        SetSetting(d, kPanelResetTime, time);
        FillPanelResetList(s, time);
        return Handled::Changed;
      }
      case IDC_MS_PANEL_RESET_TIME: {
        if (code != kListSelChange) return Handled::No;
        // While Auto Panel Reset is off the list holds only "Disable": its
        // index 0 is not the time "30 Sec", and the time stays off.
        if (!s.IsChecked(IDC_MS_AUTO_PANEL_RESET)) return Handled::NoChange;
        const int index = s.ListSelection(id);
        if (index < 0) return Handled::No;
        SetSetting(d, kPanelResetTime, static_cast<uint32_t>(index));
        return Handled::Changed;
      }
      case IDC_MS_AUTO_SHUT_OFF: {
        if (code != kButtonClicked) return Handled::No;
        shutOffOn_ = s.IsChecked(id);
        if (!shutOffOn_) {
          SetSetting(d, kShutOffTime, 0);
          SetControlText(s, IDC_MS_SHUT_OFF_LABEL, IDS_DISABLE);
          s.Enable(IDC_MS_SHUT_OFF_SLIDER, false);
          s.Enable(IDC_MS_SHUT_OFF_LABEL, false);
        } else {
          if (GetSetting(d, kShutOffTime) == 0) SetSetting(d, kShutOffTime, 30);
          s.Enable(IDC_MS_SHUT_OFF_SLIDER, true);
          s.Enable(IDC_MS_SHUT_OFF_LABEL, true);
          ShowAutoShutOffTime(s);
        }
        return Handled::Changed;
      }
      case IDC_MS_LANGUAGE: {
        if (code != kListSelChange) return Handled::No;
        const int index = s.ListSelection(id);
        if (index < 0) return Handled::No;
        SetSetting(d, kLanguage, static_cast<uint32_t>(index));
        return Handled::Changed;
      }
      case IDC_MS_SCAN_THRESHOLD: {
        if (code != kListSelChange) return Handled::No;
        const int index = s.ListSelection(id);
        if (index < 0 || index > 3) return Handled::No;
        SetSetting(d, kScanThreshold, static_cast<uint32_t>(index * 8));
        return Handled::Changed;
      }
      default:
        return BindingCommand(s, d, Bindings(), id, code);
    }
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    switch (id) {
      case IDC_MS_SHUT_OFF_SLIDER:
      case IDC_MS_ENERGY_SLIDER:
      case IDC_MS_LCD_SLIDER:
      case IDC_MS_DENSITY_SLIDER:
        // A disabled Auto Shut Off keeps its time 0 whatever the keys do.
        if (id == IDC_MS_SHUT_OFF_SLIDER && !shutOffOn_) return Handled::No;
        HandleSettingsSlider(s, ctx, code, id);
        return Handled::Changed;
      default:
        return Handled::No;
    }
  }

  void OnApplied(ControlSurface&) override { TakeCopy(); }
  void OnReset(ControlSurface&) override { PutCopyBack(); }

 private:
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        RadioBinding(kAdfMode, {IDC_MS_ADF_MODE1, IDC_MS_ADF_MODE2}, {0, 1}),
        RadioBinding(kBookMode, {IDC_MS_BOOK_MODE1, IDC_MS_BOOK_MODE2}, {0, 1}),
        // Any buzzer value but High and Off shows Low.
        RadioBinding(kBuzzer, {IDC_MS_BUZZER_HIGH, IDC_MS_BUZZER_LOW, IDC_MS_BUZZER_OFF},
                     {0x00, 0x40, 0x80}, 1),
        RadioBinding(kInitialMode, {IDC_MS_INITIAL_COPY, IDC_MS_INITIAL_FAX}, {0, 1}),
        ListBinding(kKeyStart, IDC_MS_KEY_START, IDS_MS_KEY_0_1, IDS_MS_KEY_3_0),
        ListBinding(kKeyInterval, IDC_MS_KEY_INTERVAL, IDS_MS_KEY_0_1, IDS_MS_KEY_3_0),
    };
    return kBindings;
  }

  void InitSlider(ControlSurface& s, int id) { InitSettingsSlider(s, ctx, id); }

  void FillPanelResetList(ControlSurface& s, uint32_t time) {
    s.ClearList(IDC_MS_PANEL_RESET_TIME);
    if (time == kPanelResetOff) {
      s.SetCheck(IDC_MS_AUTO_PANEL_RESET, false);
      s.AddListItem(IDC_MS_PANEL_RESET_TIME, s.String(IDS_DISABLE));
      s.SelectListItem(IDC_MS_PANEL_RESET_TIME, 0);
    } else {
      s.SetCheck(IDC_MS_AUTO_PANEL_RESET, true);
      FillComboFromStrings(s, IDC_MS_PANEL_RESET_TIME, IDS_MS_RESET_30_SEC, IDS_MS_RESET_5_MIN,
                           time <= 5 ? static_cast<int>(time) : -1);
    }
  }

  // Clamps the Auto Shut Off time into 15-240 (stored), and shows it.
  void ShowAutoShutOffTime(ControlSurface& s) {
    // The time is unsigned: 0xFFFFFFFF is far above 240, not below 15.
    const SliderRule& rule = *FindSlider(IDC_MS_SHUT_OFF_SLIDER);
    const int time = SliderValue(ctx, rule);
    SetSetting(ctx.data, kShutOffTime, static_cast<uint32_t>(time));
    s.SetSliderPos(IDC_MS_SHUT_OFF_SLIDER, time);
    ShowSliderLabel(s, ctx, rule, time);
  }

  void TakeCopy() {
    for (size_t i = 0; i < kBlockItems.size(); ++i) copy_[i] = GetSetting(ctx.data, kBlockItems[i]);
    copyChanged_ = ctx.ui.Changed(Id());
  }
  void PutCopyBack() {
    for (size_t i = 0; i < kBlockItems.size(); ++i) SetSetting(ctx.data, kBlockItems[i], copy_[i]);
    ctx.ui.Changed(Id()) = copyChanged_;
  }

  bool shutOffOn_ = false;
  std::array<uint32_t, 14> copy_{};
  uint8_t copyChanged_ = 0;
};

}  // namespace

std::unique_ptr<SettingsPage> CreateMachineSettingPage(SettingsContext& ctx) {
  return std::make_unique<MachineSettingPage>(ctx);
}

}  // namespace odc
