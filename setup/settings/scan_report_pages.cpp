// The Scan Setting page (the scanner's default resolution, file format and
// coding; present only with the NIC kit) and the Report Setting page (the
// four automatic reports). Both are plain control <-> setting pairs: a
// stored value outside a group's codes selects nothing and stays stored
// until a button of the group is clicked.
#include "setup/res/resource.h"
#include "setup/settings/settings_binder.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace {

constexpr uint32_t kResolutionId = 0x10B00, kImageFormatId = 0x10B01, kCodingMethodId = 0x10B02;
constexpr uint32_t kActivityReportId = 0x10A00, kReservationReportId = 0x10A01,
                   kTxResultReportId = 0x10A02, kRxResultReportId = 0x10A03;

// A page that is nothing but its labels and bindings.
class BoundPage : public SettingsPage {
 public:
  BoundPage(SettingsContext& c, PageId id, const std::vector<LabelPair>& labels,
            const std::vector<Binding>& bindings)
      : SettingsPage(c), id_(id), labels_(labels), bindings_(bindings) {}
  PageId Id() const override { return id_; }
  void OnInit(ControlSurface& s) override {
    ApplyLabels(s, labels_);
    BindingInit(s, ctx.data, bindings_);
  }
  Handled OnCommand(ControlSurface& s, int id, int code) override {
    return BindingCommand(s, ctx.data, bindings_, id, code);
  }

 private:
  PageId id_;
  const std::vector<LabelPair>& labels_;
  const std::vector<Binding>& bindings_;
};

const std::vector<LabelPair>& ScanSettingLabels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_SCAN_QUALITY_GROUP, IDS_SCAN_QUALITY_PRIORITY},
      {IDC_SCAN_150_DPI, IDS_SCAN_150_DPI},
      {IDC_SCAN_300_DPI, IDS_SCAN_300_DPI},
      {IDC_SCAN_600_DPI, IDS_SCAN_600_DPI},
      {IDC_SCAN_FORMAT_GROUP, IDS_SCAN_IMAGE_FORMAT},
      {IDC_SCAN_TIFF, IDS_SCAN_TIFF},
      {IDC_SCAN_PDF, IDS_SCAN_PDF},
      {IDC_SCAN_CODING_GROUP, IDS_SCAN_CODING_METHOD},
      {IDC_SCAN_MH, IDS_SCAN_MH},
      {IDC_SCAN_MR, IDS_SCAN_MR},
      {IDC_SCAN_MMR, IDS_SCAN_MMR},
  };
  return kLabels;
}

const std::vector<Binding>& ScanSettingBindings() {
  static const std::vector<Binding> kBindings = {
      RadioBinding(kResolutionId, {IDC_SCAN_150_DPI, IDC_SCAN_300_DPI, IDC_SCAN_600_DPI},
                   {0, 8, 16}),
      RadioBinding(kImageFormatId, {IDC_SCAN_TIFF, IDC_SCAN_PDF}, {0, 4}),
      RadioBinding(kCodingMethodId, {IDC_SCAN_MH, IDC_SCAN_MR, IDC_SCAN_MMR}, {0, 1, 2}),
  };
  return kBindings;
}

const std::vector<LabelPair>& ReportSettingLabels() {
  static const std::vector<LabelPair> kLabels = {
      {IDC_REPORT_GROUP, IDS_REPORT_SETTING},
      {IDC_REPORT_ACTIVITY, IDS_REPORT_ACTIVITY},
      {IDC_REPORT_RESERVATION, IDS_REPORT_RESERVATION},
      {IDC_REPORT_TX_RESULT, IDS_REPORT_TX_RESULT},
      {IDC_REPORT_RX_RESULT, IDS_REPORT_RX_RESULT},
  };
  return kLabels;
}

// Each report is one bit of its own byte; a box is checked only when its
// byte is exactly that bit.
const std::vector<Binding>& ReportSettingBindings() {
  static const std::vector<Binding> kBindings = {
      CheckBinding(kActivityReportId, IDC_REPORT_ACTIVITY, 0, 0x80),
      CheckBinding(kReservationReportId, IDC_REPORT_RESERVATION, 0, 0x40),
      CheckBinding(kTxResultReportId, IDC_REPORT_TX_RESULT, 0, 0x20),
      CheckBinding(kRxResultReportId, IDC_REPORT_RX_RESULT, 0, 0x10),
  };
  return kBindings;
}

}  // namespace

std::unique_ptr<SettingsPage> CreateScanSettingPage(SettingsContext& ctx) {
  return std::make_unique<BoundPage>(ctx, PageId::ScanSetting, ScanSettingLabels(),
                                     ScanSettingBindings());
}

std::unique_ptr<SettingsPage> CreateReportSettingPage(SettingsContext& ctx) {
  return std::make_unique<BoundPage>(ctx, PageId::ReportSetting, ReportSettingLabels(),
                                     ReportSettingBindings());
}

}  // namespace odc
