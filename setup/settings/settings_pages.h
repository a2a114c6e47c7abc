// The logic object of every settings page, by page. Each page's file
// defines its factory; settings_pages.cpp lists the pages that are built.
#pragma once

#include <memory>

#include "setup/settings/settings_framework.h"

namespace odc {

std::unique_ptr<SettingsPage> CreateMachineSettingPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreatePaperSourcePage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateCopySetting1Page(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateCopySetting2Page(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateFaxTxOperationPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateFaxRxOperationPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateScanSettingPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateReportSettingPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateAdministratorModePage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateNetworkSettingPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateEmailSetting1Page(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateEmailSetting2Page(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateLdapSettingPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateCommunicationSettingPage(SettingsContext& ctx);
std::unique_ptr<SettingsPage> CreateMachineInformationPage(SettingsContext& ctx);

}  // namespace odc
