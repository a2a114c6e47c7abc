// The Paper Source page: media type and paper size of tray 1, the size
// typed in millimetres or taken from two size memories; and its two
// dialogs, Inch/Metric Setting and Paper Type, for every tray.
//
// The size edits complete what is typed: a first digit that can only start
// one size becomes that size with its completed digits selected, so the
// next digit overwrites them.
#include "setup/settings/paper_source_page.h"

#include <algorithm>
#include <array>
#include <string>

#include "setup/res/resource.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace paper_items {
constexpr uint32_t kInchMetric = 0x10100;  // trays 1-5: 0x10100-0x10104
constexpr uint32_t kMediaType = 0x10105, kSizeMode = 0x10106;
constexpr uint32_t kPaperType = 0x10109;  // trays 1-5, Multi-Bypass: 0x10109-0x1010E
// The paper block, in its order.
constexpr std::array<uint32_t, 19> kBlock = {
    0x10100, 0x10101, 0x10102, 0x10103, 0x10104, 0x10105, 0x10106, 0x10107, 0x10108, 0x10109,
    0x1010A, 0x1010B, 0x1010C, 0x1010D, 0x1010E, 0x10200, 0x10201, 0x10202, 0x10203};
}  // namespace paper_items

namespace {

using namespace paper_items;

enum SizeMode : uint32_t {
  kAutomatic = 0,
  kSizeInput = 1,
  kHagaki = 2,
  kMemory1 = 3,
  kMemory2 = 4
};
constexpr int kTrays = 5;
constexpr int kPaperTypeGroups = 6;  // trays 1-5 and Multi-Bypass
constexpr uint32_t kOneSide = 3;

// One size field: its edit, its label and unit, the item it edits, and
// whether it is a width (X) or a length (Y).
struct SizeField {
  int edit, label, unit;
  uint32_t item;
  bool isX;
  uint32_t mode;  // the size mode that enables it
};
constexpr SizeField kSizeFields[] = {
    {IDC_PS_X, IDC_PS_X_LABEL, IDC_PS_X_MM, 0x10107, true, kSizeInput},
    {IDC_PS_Y, IDC_PS_Y_LABEL, IDC_PS_Y_MM, 0x10108, false, kSizeInput},
    {IDC_PS_X3, IDC_PS_X3_LABEL, IDC_PS_X3_MM, 0x10200, true, kMemory1},
    {IDC_PS_Y4, IDC_PS_Y4_LABEL, IDC_PS_Y4_MM, 0x10201, false, kMemory1},
    {IDC_PS_X5, IDC_PS_X5_LABEL, IDC_PS_X5_MM, 0x10202, true, kMemory2},
    {IDC_PS_Y6, IDC_PS_Y6_LABEL, IDC_PS_Y6_MM, 0x10203, false, kMemory2},
};
constexpr int kXLow = 140, kXHigh = 432, kYLow = 90, kYHigh = 297;

const PaperSizeField& RuleOf(const SizeField& f) {
  for (const PaperSizeField& r : PaperSizeFields()) {
    if (r.item == f.item) return r;
  }
  return PaperSizeFields().front();
}

const SizeField* FindSizeField(int edit) {
  for (const SizeField& f : kSizeFields) {
    if (f.edit == edit) return &f;
  }
  return nullptr;
}

// The completion of a typed size: the text that replaces it and the
// characters selected (end exclusive); no text when the value stands.
struct Completion {
  std::string text;
  int start = 0, end = 0;
};

Completion CompleteWidth(int v) {
  if (v > kXHigh) return {"432", 0, 3};
  if (v >= kXLow) return {};
  if (v == 1) return {"140", 1, 3};
  if (v >= 2 && v <= 8) return {std::to_string(v * 100), 1, 3};
  if (v == 14) return {"140", 2, 3};
  if (v >= 15 && v <= 43) return {std::to_string(v * 10), 2, 3};
  return {"140", 0, 3};  // 0, 9-13, 44-139
}

Completion CompleteLength(int v) {
  if (v > kYHigh) return {"297", 0, 3};
  if (v >= kYLow) return {};
  if (v == 1 || v == 2) return {std::to_string(v * 100), 1, 3};
  if (v >= 3 && v <= 9) return {"90", 1, 2};
  if (v >= 10 && v <= 29) return {std::to_string(v * 10), 2, 3};
  return {"90", 0, 2};  // 0, 30-89
}

const std::vector<LabelPair>& PaperSourceLabels() {
  static const std::vector<LabelPair> kLabels = [] {
    std::vector<LabelPair> l = {
        {IDC_PS_INCH_METRIC, IDS_PS_INCH_METRIC_BUTTON},
        {IDC_PS_PAPER_TYPE, IDS_PS_PAPER_TYPE_BUTTON},
        {IDC_PS_TRAY1_GROUP, IDS_PS_TRAY1_PAPER},
        {IDC_PS_MEDIA_GROUP, IDS_PS_MEDIA_TYPE},
        {IDC_PS_PLAIN, IDS_PS_PLAIN},
        {IDC_PS_TRANSPARENCY, IDS_PS_TRANSPARENCY},
        {IDC_PS_CARD, IDS_PS_CARD},
        {IDC_PS_ENVELOPE, IDS_PS_ENVELOPE},
        {IDC_PS_SIZE_GROUP, IDS_PS_PAPER_SIZE},
        {IDC_PS_AUTO, IDS_PS_AUTO},
        {IDC_PS_SIZE_INPUT, IDS_PS_SIZE_INPUT},
        {IDC_PS_HAGAKI, IDS_PS_HAGAKI},
        {IDC_PS_MEMORY1, IDS_PS_MEMORY1},
        {IDC_PS_MEMORY2, IDS_PS_MEMORY2},
        {IDC_PS_X_LABEL, IDS_PS_X},
        {IDC_PS_Y_LABEL, IDS_PS_Y},
        {IDC_PS_X3_LABEL, IDS_PS_X3},
        {IDC_PS_Y4_LABEL, IDS_PS_Y4},
        {IDC_PS_X5_LABEL, IDS_PS_X5},
        {IDC_PS_Y6_LABEL, IDS_PS_Y6},
    };
    for (const SizeField& f : kSizeFields) l.push_back({f.unit, IDS_UNIT_MM});
    // The two dialogs share the page's table.
    for (int t = 0; t < kTrays; ++t) {
      l.push_back({IDC_IM_TRAY_GROUP + t, IDS_PT_TRAY1 + t});
      l.push_back({IDC_IM_INCH + t, IDS_IM_INCH1 + 2 * t});
      l.push_back({IDC_IM_METRIC + t, IDS_IM_METRIC1 + 2 * t});
    }
    for (int t = 0; t < kPaperTypeGroups; ++t) {
      l.push_back({IDC_PT_TRAY_GROUP + t, IDS_PT_TRAY1 + t});
      l.push_back({IDC_PT_PLAIN + t, IDS_PT_PLAIN1 + 4 * t});
      l.push_back({IDC_PT_RECYCLE + t, IDS_PT_RECYCLE1 + 4 * t});
      l.push_back({IDC_PT_SPECIAL + t, IDS_PT_SPECIAL1 + 4 * t});
      l.push_back({IDC_PT_ONE_SIDE + t, IDS_PT_ONE_SIDE1 + 4 * t});
    }
    return l;
  }();
  return kLabels;
}

// The trays the dialogs show: the stored count, 0 counted as 1.
int DialogTrays(const DataSet& set) {
  const int n = set.machineInfo[machine_info::kTrayCount];
  return n == 0 ? 1 : std::min(n, kTrays);
}

// Selects the button of `value` among `buttons` (none for a value that is
// not one of them: it stays stored until a click).
void ShowChoice(ControlSurface& s, const std::vector<int>& buttons, uint32_t value) {
  for (size_t i = 0; i < buttons.size(); ++i) s.SetCheck(buttons[i], i == value);
}

// What both dialogs share: one row of buttons per tray, each row storing
// the index of its clicked button into the tray's item; the paper block
// (page changed flag included) copied aside at the start and put back on
// Cancel and close.
class PaperBlockDialog : public DialogLogic {
 public:
  using Buttons = std::vector<int> (*)(int tray);
  PaperBlockDialog(SettingsContext& c, int captionId, uint32_t firstItem, int rows, Buttons buttons)
      : ctx(c), captionId_(captionId), firstItem_(firstItem), rows_(rows), buttons_(buttons) {}

  void OnCommand(ControlSurface& s, int id, int code) override {
    if (id == kIdOk) {
      s.EndDialog(1);
    } else if (id == kIdCancel) {
      for (size_t i = 0; i < kBlock.size(); ++i) SetSetting(ctx.data, kBlock[i], copy_[i]);
      ctx.ui.Changed(PageId::PaperSource) = copyChanged_;
      s.EndDialog(0);
    } else if (code == kButtonClicked) {
      for (int t = 0; t < rows_; ++t) {
        const std::vector<int> buttons = buttons_(t);
        const auto it = std::find(buttons.begin(), buttons.end(), id);
        if (it == buttons.end()) continue;
        const auto index = static_cast<uint32_t>(it - buttons.begin());
        SetSetting(ctx.data, firstItem_ + t, index);
        ShowChoice(s, buttons, index);
      }
    }
  }

 protected:
  void Start(ControlSurface& s) {
    for (size_t i = 0; i < kBlock.size(); ++i) copy_[i] = GetSetting(ctx.data, kBlock[i]);
    copyChanged_ = ctx.ui.Changed(PageId::PaperSource);
    ApplyLabels(s, PaperSourceLabels());
    s.SetCaption(s.String(captionId_));
    s.CentreOnScreen();
  }
  // Shows the stored choice of every row.
  void ShowChoices(ControlSurface& s) {
    for (int t = 0; t < rows_; ++t)
      ShowChoice(s, buttons_(t), GetSetting(ctx.data, firstItem_ + t));
  }

  SettingsContext& ctx;

 private:
  int captionId_;
  uint32_t firstItem_;
  int rows_;
  Buttons buttons_;
  std::array<uint32_t, kBlock.size()> copy_{};
  uint8_t copyChanged_ = 0;
};

std::vector<int> InchMetricButtons(int t) { return {IDC_IM_INCH + t, IDC_IM_METRIC + t}; }
std::vector<int> PaperTypeButtons(int t) {
  return {IDC_PT_PLAIN + t, IDC_PT_RECYCLE + t, IDC_PT_SPECIAL + t, IDC_PT_ONE_SIDE + t};
}

class InchMetricDialog : public PaperBlockDialog {
 public:
  explicit InchMetricDialog(SettingsContext& c)
      : PaperBlockDialog(c, IDS_IM_CAPTION, kInchMetric, kTrays, InchMetricButtons) {}

  void OnInit(ControlSurface& s) override {
    Start(s);
    ShowChoices(s);
    const int trays = DialogTrays(ctx.data);
    for (int t = 0; t < kTrays; ++t) {
      for (int id : {IDC_IM_TRAY_GROUP + t, IDC_IM_INCH + t, IDC_IM_METRIC + t})
        s.Show(id, t < trays);
    }
    s.Focus(kIdOk);
  }
};

class PaperTypeDialog : public PaperBlockDialog {
 public:
  explicit PaperTypeDialog(SettingsContext& c)
      : PaperBlockDialog(c, IDS_PT_CAPTION, kPaperType, kPaperTypeGroups, PaperTypeButtons) {}

  void OnInit(ControlSurface& s) override {
    Start(s);
    const bool duplex = ctx.data.machineInfo[machine_info::kDuplexUnit] != 0;
    const bool bypass = ctx.data.machineInfo[machine_info::kMultiBypass] != 1;
    const int trays = DialogTrays(ctx.data);
    // Without a duplex unit there is no 1-Side paper.
    for (int t = 0; t < kPaperTypeGroups && !duplex; ++t) {
      if (GetSetting(ctx.data, kPaperType + t) == kOneSide) SetSetting(ctx.data, kPaperType + t, 0);
    }
    ShowChoices(s);
    for (int t = 0; t < kPaperTypeGroups; ++t) {
      const bool shown = t < kTrays ? t < trays : bypass;
      s.Show(IDC_PT_TRAY_GROUP + t, shown);
      for (int id : PaperTypeButtons(t)) s.Show(id, shown && (duplex || id != IDC_PT_ONE_SIDE + t));
    }
    s.Focus(kIdOk);
  }
};

class PaperSourcePage : public SettingsPage {
 public:
  explicit PaperSourcePage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::PaperSource; }

  void OnInit(ControlSurface& s) override {
    ApplyLabels(s, PaperSourceLabels());
    DataSet& d = ctx.data;
    // Hagaki exists only in region 3; elsewhere a stored Hagaki is Automatic.
    if (GetSetting(d, kRegionCodeId) != 3) {
      s.Show(IDC_PS_HAGAKI, false);
      if (GetSetting(d, kSizeMode) == kHagaki) SetSetting(d, kSizeMode, kAutomatic);
    }
    BindingInit(s, d, Bindings());
    for (const SizeField& f : kSizeFields) s.SetText(f.edit, std::to_string(GetSetting(d, f.item)));
    EnableSizeFields(s);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    if (const SizeField* field = FindSizeField(id)) {
      if (code != kEditChange || completing_) return Handled::No;
      completing_ = true;
      std::string text = s.Text(id, 5);
      ApplyDigitFilter(s, text, id, 3);
      Complete(s, *field, text);
      completing_ = false;
      return Handled::Changed;
    }
    if (id == IDC_PS_INCH_METRIC && code == kButtonClicked)
      return RunBlockDialog<InchMetricDialog>(s, IDD_INCH_METRIC);
    if (id == IDC_PS_PAPER_TYPE && code == kButtonClicked)
      return RunBlockDialog<PaperTypeDialog>(s, IDD_PAPER_TYPE);
    const Handled handled = BindingCommand(s, ctx.data, Bindings(), id, code);
    if (handled == Handled::Changed) EnableSizeFields(s);
    return handled;
  }

  bool OnKillActive(ControlSurface& s) override {
    return leave_.Leave(s, [&] { return CheckSizes(s); });
  }

  // A size out of its range is never packed: the apply is refused and the
  // page shown with the field focused.
  bool OnApply(ControlSurface& s) override { return CheckSizes(s) == 0; }

 private:
  static const std::vector<Binding>& Bindings() {
    static const std::vector<Binding> kBindings = {
        RadioBinding(kMediaType, {IDC_PS_PLAIN, IDC_PS_TRANSPARENCY, IDC_PS_CARD, IDC_PS_ENVELOPE},
                     {0, 1, 2, 3}),
        RadioBinding(
            kSizeMode,
            {IDC_PS_AUTO, IDC_PS_SIZE_INPUT, IDC_PS_HAGAKI, IDC_PS_MEMORY1, IDC_PS_MEMORY2},
            {kAutomatic, kSizeInput, kHagaki, kMemory1, kMemory2}),
    };
    return kBindings;
  }

  void EnableSizeFields(ControlSurface& s) {
    const uint32_t mode = GetSetting(ctx.data, kSizeMode);
    for (const SizeField& f : kSizeFields) {
      for (int id : {f.edit, f.label, f.unit}) s.Enable(id, f.mode == mode);
    }
  }

  // Stores the typed size and completes it. Writing the completion changes
  // the edit again, which completes the completed text in turn; the
  // selection of the outer completion is the one that stays.
  void Complete(ControlSurface& s, const SizeField& f, const std::string& text) {
    const int v = LeadingInteger(text);
    SetSetting(ctx.data, f.item, static_cast<uint32_t>(std::min(v, 0xFFFF)));
    const Completion c = f.isX ? CompleteWidth(v) : CompleteLength(v);
    if (c.text.empty()) return;
    s.SetText(f.edit, c.text);
    Complete(s, f, c.text);
    s.SelectText(f.edit, c.start, c.end);
  }

  // The fields of the selected size mode, X before Y; at the first out of
  // range the message is shown, the field focused and its id returned (0
  // when every field is within its range).
  int CheckSizes(ControlSurface& s) {
    const uint32_t mode = GetSetting(ctx.data, kSizeMode);
    for (const SizeField& f : kSizeFields) {
      const PaperSizeField& rule = RuleOf(f);
      if (rule.mode != mode) continue;
      if (!CheckIntegerField(s, f.edit, IDS_INTEGER_RANGE, rule.low, rule.high)) return f.edit;
    }
    return 0;
  }

  // A dialog ended with OK marks the page changed; Cancel has put the
  // block back and leaves the page as it was.
  template <typename Dialog>
  Handled RunBlockDialog(ControlSurface& s, int templateId) {
    Dialog dialog(ctx);
    return s.RunDialog(templateId, dialog) == 1 ? Handled::Changed : Handled::NoChange;
  }

  GuardedLeave leave_;
  // Set while the page writes into a size edit: the change notifications of
  // its own writes are not the user's typing.
  bool completing_ = false;
};

}  // namespace

const std::vector<PaperSizeField>& PaperSizeFields() {
  static const std::vector<PaperSizeField> kFields = [] {
    std::vector<PaperSizeField> fields;
    for (const SizeField& f : kSizeFields)
      fields.push_back({f.item, f.mode, f.isX ? kXLow : kYLow, f.isX ? kXHigh : kYHigh});
    return fields;
  }();
  return kFields;
}

const PaperSizeField* PaperSizeOutOfRange(const DataSet& set) {
  const uint32_t mode = GetSetting(set, kSizeMode);
  for (const PaperSizeField& f : PaperSizeFields()) {
    if (f.mode != mode) continue;
    const uint32_t value = GetSetting(set, f.item);
    if (value < static_cast<uint32_t>(f.low) || value > static_cast<uint32_t>(f.high)) return &f;
  }
  return nullptr;
}

std::unique_ptr<SettingsPage> CreatePaperSourcePage(SettingsContext& ctx) {
  return std::make_unique<PaperSourcePage>(ctx);
}

}  // namespace odc
