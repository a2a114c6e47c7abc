// The two Copy Setting pages. Copy Setting(1): the copier's default paper
// source, image quality and density, page margin and erase widths. Copy
// Setting(2): copy and output priority, the 4-in-1 order and three on/off
// functions whose bytes store 0 for "on".
#include <algorithm>
#include <array>
#include <string>

#include "setup/res/resource.h"
#include "setup/settings/paper_source_page.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace copy_items {
// The manual density level (0x10605) belongs to the slider table.
constexpr uint32_t kPaperPriority = 0x10600, kQuality = 0x10601, kDensityPriority = 0x10602,
                   kBinding = 0x10603, kDensityAuto = 0x10604, kMargin = 0x10606,
                   kEraseLeft = 0x10607, kEraseUpper = 0x10608, kEraseFrame = 0x10609,
                   kSmallOriginal = 0x1060A;
constexpr uint32_t kCopyPriority = 0x10700, kOutputPriority = 0x10701, kOrder = 0x10702,
                   kMixedOriginal = 0x10703, kDuplex = 0x10704, kCrisscross = 0x10705;
}  // namespace copy_items

namespace {

using namespace copy_items;

// Quality priority: Text/Photo 0, Text 1, Photo 2.
constexpr uint32_t kQualityTextPhoto = 0, kQualityPhoto = 2;
constexpr uint32_t kDensityAutoMode = 0, kDensityManualMode = 1;
constexpr int kEraseLow = 5, kEraseHigh = 20, kMarginLow = 0, kMarginHigh = 20;
constexpr int kWidthDigits = 3;
// The product whose machines have no duplex copy.
constexpr uint32_t kNoDuplexCopyProduct = 0x400F;

// A typed width: its edit, the item it edits and its range.
struct WidthField {
  int edit;
  uint32_t item;
  int low, high;
};
constexpr WidthField kMarginField = {IDC_C1_MARGIN, kMargin, kMarginLow, kMarginHigh};
constexpr WidthField kEraseLeftField = {IDC_C1_ERASE_LEFT, kEraseLeft, kEraseLow, kEraseHigh};
constexpr WidthField kEraseUpperField = {IDC_C1_ERASE_UPPER, kEraseUpper, kEraseLow, kEraseHigh};
constexpr WidthField kEraseFrameField = {IDC_C1_ERASE_FRAME, kEraseFrame, kEraseLow, kEraseHigh};
// The order of the checks when leaving the page, and when applying it.
constexpr std::array<WidthField, 4> kLeaveChecks = {kMarginField, kEraseLeftField, kEraseUpperField,
                                                    kEraseFrameField};
constexpr std::array<WidthField, 4> kApplyChecks = {kEraseFrameField, kEraseLeftField,
                                                    kEraseUpperField, kMarginField};

// The id of the first field out of its range (its message shown, the field
// focused), or 0.
template <size_t N>
int CheckWidths(ControlSurface& s, const std::array<WidthField, N>& fields) {
  for (const WidthField& f : fields) {
    if (!CheckIntegerField(s, f.edit, IDS_INTEGER_RANGE, f.low, f.high)) return f.edit;
  }
  return 0;
}

const std::vector<LabelPair>& CopySetting1Labels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_C1_PAPER_LABEL, IDS_C1_PAPER_PRIORITY},
      {IDC_C1_QUALITY_GROUP, IDS_C1_QUALITY_PRIORITY},
      {IDC_C1_TEXT_PHOTO, IDS_C1_TEXT_PHOTO},
      {IDC_C1_TEXT, IDS_C1_TEXT},
      {IDC_C1_PHOTO, IDS_C1_PHOTO},
      {IDC_C1_DENSITY_GROUP, IDS_C1_DENSITY_PRIORITY},
      {IDC_C1_DENSITY_AUTO, IDS_C1_AUTO},
      {IDC_C1_DENSITY_MANUAL, IDS_C1_MANUAL},
      {IDC_C1_LEVEL_GROUP, IDS_C1_DENSITY_LEVEL_A},
      {IDC_C1_LIGHT, IDS_C1_LIGHT},
      {IDC_C1_NORMAL, IDS_C1_NORMAL},
      {IDC_C1_DARK, IDS_C1_DARK},
      {IDC_C1_SLIDER_LABEL, IDS_C1_DENSITY_LEVEL_M},
      {IDC_C1_LIGHTER, IDS_LIGHTER},
      {IDC_C1_DARKER, IDS_DARKER},
      {IDC_C1_MARGIN_LABEL, IDS_C1_PAGE_MARGIN},
      {IDC_C1_MARGIN_MM, IDS_UNIT_MM},
      {IDC_C1_SMALL_ORIGINAL, IDS_C1_SMALL_ORIGINAL},
      {IDC_C1_BINDING_GROUP, IDS_C1_BINDING_POSITION},
      {IDC_C1_BIND_LEFT, IDS_C1_LEFT},
      {IDC_C1_BIND_RIGHT, IDS_C1_RIGHT},
      {IDC_C1_ERASE_GROUP, IDS_C1_ERASE_SETTING},
      {IDC_C1_ERASE_LEFT_LABEL, IDS_C1_ERASE_LEFT},
      {IDC_C1_ERASE_LEFT_MM, IDS_UNIT_MM},
      {IDC_C1_ERASE_UPPER_LABEL, IDS_C1_ERASE_UPPER},
      {IDC_C1_ERASE_UPPER_MM, IDS_UNIT_MM},
      {IDC_C1_ERASE_FRAME_LABEL, IDS_C1_ERASE_FRAME},
      {IDC_C1_ERASE_FRAME_MM, IDS_UNIT_MM},
  };
  return kLabels;
}

const std::vector<LabelPair>& CopySetting2Labels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_C2_COPY_GROUP, IDS_C2_COPY_PRIORITY},
      {IDC_C2_AUTO_PAPER, IDS_C2_AUTO_PAPER},
      {IDC_C2_AUTO_ZOOM, IDS_C2_AUTO_ZOOM},
      {IDC_C2_MANUAL, IDS_C2_MANUAL},
      {IDC_C2_OUTPUT_GROUP, IDS_C2_OUTPUT_PRIORITY},
      {IDC_C2_NON_SORT, IDS_C2_NON_SORT},
      {IDC_C2_SORT, IDS_C2_SORT},
      {IDC_C2_GROUP, IDS_C2_GROUP},
      {IDC_C2_ORDER_GROUP, IDS_C2_ORDER},
      {IDC_C2_PATTERN1, IDS_C2_PATTERN1},
      {IDC_C2_PATTERN2, IDS_C2_PATTERN2},
      {IDC_C2_MIXED_ORIGINAL, IDS_C2_MIXED_ORIGINAL},
      {IDC_C2_CRISSCROSS, IDS_C2_CRISSCROSS},
      {IDC_C2_DUPLEX, IDS_C2_DUPLEX},
  };
  return kLabels;
}

class CopySetting1Page : public SettingsPage {
 public:
  explicit CopySetting1Page(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::CopySetting1; }

  void OnInit(ControlSurface& s) override {
    ApplyLabels(s, CopySetting1Labels());
    DataSet& d = ctx.data;

    // The paper list: the installed trays, then Multi-Bypass when it is
    // installed. An index beyond the list becomes the first tray.
    const int trays = InstalledTrays(d);
    const bool bypass = d.machineInfo[machine_info::kMultiBypass] == 2;
    s.ClearList(IDC_C1_PAPER_PRIORITY);
    for (int t = 0; t < trays; ++t)
      s.AddListItem(IDC_C1_PAPER_PRIORITY, s.String(IDS_C1_TRAY1 + t));
    if (bypass) s.AddListItem(IDC_C1_PAPER_PRIORITY, s.String(IDS_C1_MULTI_BYPASS));
    if (GetSetting(d, kPaperPriority) > static_cast<uint32_t>(bypass ? trays : trays - 1))
      SetSetting(d, kPaperPriority, 0);
    s.SelectListItem(IDC_C1_PAPER_PRIORITY, static_cast<int>(GetSetting(d, kPaperPriority)));

    // Quality and density priority; codes beyond the machine's become the
    // first (3 and 2 are kept and select no button).
    if (GetSetting(d, kQuality) > 3) SetSetting(d, kQuality, kQualityTextPhoto);
    if (GetSetting(d, kDensityPriority) > 2) SetSetting(d, kDensityPriority, kDensityAutoMode);
    BindingInit(s, d, Bindings());
    s.Enable(IDC_C1_PHOTO, GetSetting(d, kDensityPriority) != kDensityAutoMode);
    s.Enable(IDC_C1_DENSITY_AUTO, GetSetting(d, kQuality) != kQualityPhoto);

    const SliderRule& slider = *FindSlider(IDC_C1_DENSITY_SLIDER);
    s.SetSliderRange(IDC_C1_DENSITY_SLIDER, slider.low, slider.high);
    s.SetSliderPos(IDC_C1_DENSITY_SLIDER, SliderValue(ctx, slider));

    // A width takes three digits, so that a paste is cut as typing is and
    // the checks read the number that is stored.
    for (const WidthField& f : kLeaveChecks) s.LimitText(f.edit, kWidthDigits);
    s.SetText(IDC_C1_MARGIN, std::to_string(GetSetting(d, kMargin)));
    // The erase widths start within their range, and are stored so.
    for (const WidthField& f : {kEraseLeftField, kEraseUpperField, kEraseFrameField}) {
      const uint32_t width = std::clamp<uint32_t>(GetSetting(d, f.item), kEraseLow, kEraseHigh);
      SetSetting(d, f.item, width);
      s.SetText(f.edit, std::to_string(width));
    }
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    DataSet& d = ctx.data;
    switch (id) {
      case IDC_C1_PAPER_PRIORITY: {
        if (code != kListSelChange) return Handled::No;
        const int index = s.ListSelection(id);
        if (index < 0) return Handled::No;
        SetSetting(d, kPaperPriority, static_cast<uint32_t>(index));
        return Handled::Changed;
      }
      // Text and Text/Photo go with automatic density, Photo with manual.
      case IDC_C1_TEXT_PHOTO:
      case IDC_C1_TEXT:
      case IDC_C1_PHOTO: {
        if (code != kButtonClicked) return Handled::No;
        const uint32_t quality = static_cast<uint32_t>(id - IDC_C1_TEXT_PHOTO);
        SetSetting(d, kQuality, quality);
        SelectRadio(s, {IDC_C1_TEXT_PHOTO, IDC_C1_TEXT, IDC_C1_PHOTO}, id);
        SetDensityPriority(s, quality == kQualityPhoto ? kDensityManualMode : kDensityAutoMode);
        s.Enable(IDC_C1_DENSITY_AUTO, quality != kQualityPhoto);
        return Handled::Changed;
      }
      case IDC_C1_DENSITY_AUTO:
      case IDC_C1_DENSITY_MANUAL:
        if (code != kButtonClicked) return Handled::No;
        SetDensityPriority(s, id == IDC_C1_DENSITY_AUTO ? kDensityAutoMode : kDensityManualMode);
        return Handled::Changed;
      case IDC_C1_MARGIN:
      case IDC_C1_ERASE_LEFT:
      case IDC_C1_ERASE_UPPER:
      case IDC_C1_ERASE_FRAME: {
        if (code != kEditChange) return Handled::No;
        std::string text;
        ApplyDigitFilter(s, text, id, kWidthDigits);
        // Three digits may exceed the byte: the stored value stops at 255
        // (the checks refuse it before it is packed).
        const uint32_t value = static_cast<uint32_t>(std::min(LeadingInteger(text), 255));
        for (const WidthField& f : kLeaveChecks) {
          if (f.edit == id) SetSetting(d, f.item, value);
        }
        return Handled::Changed;
      }
      default:
        return BindingCommand(s, d, Bindings(), id, code);
    }
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    if (id != IDC_C1_DENSITY_SLIDER) return Handled::No;
    HandleSettingsSlider(s, ctx, code, id);
    return Handled::Changed;
  }

  // Leaving is checked with the Paper Source page's repeat guard.
  bool OnKillActive(ControlSurface& s) override {
    return leave_.Leave(s, [&] { return CheckWidths(s, kLeaveChecks); });
  }

  // A width out of its range is never packed: the apply is refused and the
  // sheet stays open on the page with the field focused.
  bool OnApply(ControlSurface& s) override { return CheckWidths(s, kApplyChecks) == 0; }

 private:
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        RadioBinding(kQuality, {IDC_C1_TEXT_PHOTO, IDC_C1_TEXT, IDC_C1_PHOTO}, {0, 1, 2}),
        RadioBinding(kDensityPriority, {IDC_C1_DENSITY_AUTO, IDC_C1_DENSITY_MANUAL}, {0, 1}),
        RadioBinding(kDensityAuto, {IDC_C1_LIGHT, IDC_C1_NORMAL, IDC_C1_DARK}, {0, 1, 2}),
        RadioBinding(kBinding, {IDC_C1_BIND_LEFT, IDC_C1_BIND_RIGHT}, {0, 1}),
        CheckBinding(kSmallOriginal, IDC_C1_SMALL_ORIGINAL, 0, 1, true),
    };
    return kBindings;
  }

  // Photo can be chosen only with manual density.
  void SetDensityPriority(ControlSurface& s, uint32_t priority) {
    SetSetting(ctx.data, kDensityPriority, priority);
    SelectRadio(s, {IDC_C1_DENSITY_AUTO, IDC_C1_DENSITY_MANUAL},
                priority == kDensityAutoMode ? IDC_C1_DENSITY_AUTO : IDC_C1_DENSITY_MANUAL);
    s.Enable(IDC_C1_PHOTO, priority != kDensityAutoMode);
  }

  GuardedLeave leave_;
};

class CopySetting2Page : public SettingsPage {
 public:
  explicit CopySetting2Page(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::CopySetting2; }

  void OnInit(ControlSurface& s) override {
    ApplyLabels(s, CopySetting2Labels());
    const DataSet& d = ctx.data;
    BindingInit(s, d, Bindings());
    s.Enable(IDC_C2_CRISSCROSS, d.machineInfo[machine_info::kShifter] == 0);
    // Duplex copy needs the duplex unit; region 3 does not show it without
    // one, and one product has none at all.
    const bool duplexUnit = d.machineInfo[machine_info::kDuplexUnit] != 0;
    const bool region3 = GetSetting(d, kRegionCodeId) == 3;
    s.Show(IDC_C2_DUPLEX,
           ctx.host.MachineProductId() != kNoDuplexCopyProduct && (duplexUnit || !region3));
    s.Enable(IDC_C2_DUPLEX, duplexUnit);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    return BindingCommand(s, ctx.data, Bindings(), id, code);
  }

 private:
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        RadioBinding(kCopyPriority, {IDC_C2_AUTO_PAPER, IDC_C2_AUTO_ZOOM, IDC_C2_MANUAL},
                     {0, 1, 2}),
        RadioBinding(kOutputPriority, {IDC_C2_NON_SORT, IDC_C2_SORT, IDC_C2_GROUP}, {0, 1, 2}),
        RadioBinding(kOrder, {IDC_C2_PATTERN1, IDC_C2_PATTERN2}, {0, 1}),
        // Checked ("on") when the byte is 0.
        CheckBinding(kMixedOriginal, IDC_C2_MIXED_ORIGINAL, 1, 0),
        CheckBinding(kCrisscross, IDC_C2_CRISSCROSS, 1, 0),
        CheckBinding(kDuplex, IDC_C2_DUPLEX, 1, 0),
    };
    return kBindings;
  }
};

}  // namespace

std::unique_ptr<SettingsPage> CreateCopySetting1Page(SettingsContext& ctx) {
  return std::make_unique<CopySetting1Page>(ctx);
}

std::unique_ptr<SettingsPage> CreateCopySetting2Page(SettingsContext& ctx) {
  return std::make_unique<CopySetting2Page>(ctx);
}

}  // namespace odc
