// The Machine Information page: the machine name, which also labels the
// root of the navigation tree, and the machine's own telephone number.
//
// Each edit writes the text's length straight into its item's data length
// in the transfer image, so a cancel (which rebuilds only the values) puts
// the lengths of the last applied state back by hand. An earlier page's
// apply packs this page's edits too; when the cancel finds such a text in
// the image, the length that goes with it is the text's own.
#include <cstring>

#include "setup/res/resource.h"
#include "setup/settings/settings_pages.h"

namespace odc {
namespace {

constexpr uint32_t kTelephoneNumberId = 0x1051C;
constexpr int kNameLimit = 32;
constexpr int kPhoneLimit = 20;

std::string StoredText(const DataSet& data, uint32_t id) {
  const char* text = SettingText(data, id);
  return std::string(text, strnlen(text, FindSettingItem(id)->width));
}

class MachineInformationPage : public SettingsPage {
 public:
  explicit MachineInformationPage(SettingsContext& c) : SettingsPage(c) {}
  PageId Id() const override { return PageId::MachineInformation; }

  void OnInit(ControlSurface& s) override {
    KeepLengths();
    ApplyLabels(s, {{IDC_MI_GROUP, IDS_MI_GROUP},
                    {IDC_MI_NAME_LABEL, IDS_MI_NAME},
                    {IDC_MI_PHONE_LABEL, IDS_MI_PHONE}});
    s.SetText(IDC_MI_NAME, StoredText(ctx.data, kMachineNameId));
    s.LimitText(IDC_MI_NAME, kNameLimit);
    s.SetText(IDC_MI_PHONE, StoredText(ctx.data, kTelephoneNumberId));
    s.LimitText(IDC_MI_PHONE, kPhoneLimit);
  }

  Handled OnCommand(ControlSurface& s, int id, int code) override {
    if (code != kEditChange) return Handled::No;
    std::string text;
    if (id == IDC_MI_NAME) {
      text = s.Text(id, kNameLimit + 1);
      ApplyNameFilter(s, ctx.data, text, id, kNameLimit);
      StoreTextSetting(ctx.data, kMachineNameId, text);
      return Handled::Changed;
    }
    if (id == IDC_MI_PHONE) {
      text = s.Text(id, kPhoneLimit + 1);
      FilterPhoneText(s, text, id, kPhoneLimit);
      StoreTextSetting(ctx.data, kTelephoneNumberId, text);
      return Handled::Changed;
    }
    return Handled::No;
  }

  void OnApplied(ControlSurface&) override {
    ctx.host.SetTreeRootText(StoredText(ctx.data, kMachineNameId));
    // The applied lengths are now what a cancel must come back to.
    KeepLengths();
  }

  // The cancel reaches the page that is in front; the reset every page.
  void OnCancelled(ControlSurface&) override { PutLengthsBack(); }
  void OnReset(ControlSurface&) override { PutLengthsBack(); }

 private:
  struct Kept {
    uint32_t item;
    uint32_t length;
    std::string text;
  };
  void KeepLengths() {
    for (Kept& k : kept_) {
      k.length = ItemLength(ctx.data, k.item);
      k.text = StoredText(ctx.data, k.item);
    }
  }
  void PutLengthsBack() {
    for (const Kept& k : kept_) {
      const std::string text = StoredText(ctx.data, k.item);
      SetItemLength(ctx.data, k.item,
                    text == k.text ? k.length : static_cast<uint32_t>(text.size()));
    }
  }
  Kept kept_[2] = {{kMachineNameId, 0, {}}, {kTelephoneNumberId, 0, {}}};
};

}  // namespace

std::unique_ptr<SettingsPage> CreateMachineInformationPage(SettingsContext& ctx) {
  return std::make_unique<MachineInformationPage>(ctx);
}

}  // namespace odc
