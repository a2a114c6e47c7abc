#include "setup/settings/settings_pages.h"

namespace odc {
namespace {

using Factory = std::unique_ptr<SettingsPage> (*)(SettingsContext&);

// In PageId order; nullptr marks a page this build does not have yet.
// One entry per line, with room between them.
const Factory kFactories[kPageCount] = {
    CreateMachineSettingPage,

    CreatePaperSourcePage,

    CreateCopySetting1Page,

    CreateCopySetting2Page,

    CreateFaxTxOperationPage,

    CreateFaxRxOperationPage,

    CreateScanSettingPage,

    CreateReportSettingPage,

    CreateAdministratorModePage,

    CreateNetworkSettingPage,

    CreateEmailSetting1Page,

    CreateEmailSetting2Page,

    CreateLdapSettingPage,

    CreateCommunicationSettingPage,

    CreateMachineInformationPage,
};

}  // namespace

bool PageIsBuilt(PageId page) { return kFactories[static_cast<int>(page)] != nullptr; }

std::unique_ptr<SettingsPage> CreateSettingsPageLogic(PageId page, SettingsContext& context) {
  const Factory f = kFactories[static_cast<int>(page)];
  return f ? f(context) : nullptr;
}

}  // namespace odc
