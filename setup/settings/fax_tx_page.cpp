// The FAX TX Operation page: the defaults for sending faxes. The density is
// stored as 8 x level and stays in its stored form until the slider moves;
// a quality code outside the list shows the first entry and stays stored
// until a selection.
#include "setup/res/resource.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace {

constexpr uint32_t kTxQualityId = 0x10801, kDefaultTxId = 0x10802, kHeaderId = 0x10803;
constexpr uint32_t kMemoryTx = 0, kAdfTx = 4;

const std::vector<LabelPair>& FaxTxLabels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_TX_DENSITY_LABEL, IDS_TX_DENSITY_LEVEL},
      {IDC_TX_LIGHTER, IDS_LIGHTER},
      {IDC_TX_DARKER, IDS_DARKER},
      {IDC_TX_QUALITY_GROUP, IDS_TX_QUALITY_PRIORITY},
      {IDC_TX_DEFAULT_GROUP, IDS_TX_DEFAULT_TX},
      {IDC_TX_MEMORY, IDS_TX_MEMORY_TX},
      {IDC_TX_ADF, IDS_TX_ADF_TX},
      {IDC_TX_HEADER, IDS_TX_HEADER},
  };
  return kLabels;
}

const std::vector<Binding>& FaxTxBindings() {
  static const std::vector<Binding> kBindings = {
      ListBinding(kTxQualityId, IDC_TX_QUALITY, IDS_TX_STANDARD_TEXT, IDS_TX_SUPER_FINE_PHOTO,
                  {0, 1, 2, 4, 5, 6}, 0),
      // Anything but ADF TX shows Memory TX.
      RadioBinding(kDefaultTxId, {IDC_TX_MEMORY, IDC_TX_ADF}, {kMemoryTx, kAdfTx}, 0),
      CheckBinding(kHeaderId, IDC_TX_HEADER, 0, 2),
  };
  return kBindings;
}

// Machines that print no header of their own choosing.
bool HeaderFixed(uint32_t machineValue) {
  return machineValue == 2 || machineValue == 0x13 || machineValue == 0x18;
}

class FaxTxOperationPage : public SettingsPage {
 public:
  explicit FaxTxOperationPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::FaxTxOperation; }

  void OnInit(ControlSurface& s) override {
    DataSet& d = ctx.data;
    ApplyLabels(s, FaxTxLabels());
    const SliderRule& density = *FindSlider(IDC_TX_DENSITY);
    s.SetSliderRange(IDC_TX_DENSITY, density.low, density.high);
    s.SetSliderPos(IDC_TX_DENSITY, SliderValue(ctx, density));

    // Without an ADF of either kind only Memory TX is possible.
    const bool anyAdf =
        d.machineInfo[machine_info::kAdf] != 0 || d.machineInfo[machine_info::kAdfDuplex] != 0;
    if (!anyAdf) SetSetting(d, kDefaultTxId, kMemoryTx);
    BindingInit(s, d, FaxTxBindings());
    s.Enable(IDC_TX_ADF, anyAdf);
    s.Enable(IDC_TX_HEADER, !HeaderFixed(GetSetting(d, kMachineValueId)));
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    return BindingCommand(s, ctx.data, FaxTxBindings(), id, code);
  }

  Handled OnScroll(ControlSurface& s, int id, int code) override {
    if (id != IDC_TX_DENSITY) return Handled::No;
    HandleSettingsSlider(s, ctx, code, id);
    return Handled::Changed;
  }
};

}  // namespace

std::unique_ptr<SettingsPage> CreateFaxTxOperationPage(SettingsContext& ctx) {
  return std::make_unique<FaxTxOperationPage>(ctx);
}

}  // namespace odc
