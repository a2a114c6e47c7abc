// The Win32 side of the settings sheets and dialogs: the control surface
// over a dialog window, the one page procedure every page shares, the two
// property sheets and the runner of settings dialogs.
#pragma once

#include <windows.h>

#include <map>

#include "setup/settings/control_surface.h"
#include "setup/settings/settings_framework.h"

namespace odc {

struct App;

// A ControlSurface over a page or dialog window.
class Win32Surface : public ControlSurface {
 public:
  Win32Surface(App& app, HWND window, bool isPage) : app_(app), window_(window), isPage_(isPage) {}
  HWND Window() const { return window_; }

  void SetCheck(int id, bool checked) override;
  bool IsChecked(int id) const override;
  void SetText(int id, const std::string& text) override;
  std::string Text(int id, int limit) const override;
  void LimitText(int id, int characters) override;
  void SelectText(int id, int start, int end) override;
  void ClearList(int id) override;
  void AddListItem(int id, const std::string& text) override;
  void SelectListItem(int id, int index) override;
  int ListSelection(int id) const override;
  int ListCount(int id) const override;
  void SetSliderRange(int id, int low, int high) override;
  void SetSliderPos(int id, int position) override;
  int SliderPos(int id) const override;
  void SetAddress(int id, const uint8_t octets[4]) override;
  void ClearAddress(int id) override;
  int ReadAddress(int id, uint8_t octets[4]) const override;
  void SetAddressFieldRange(int id, int field, int low, int high) override;
  void FocusAddressField(int id, int field) override;
  void SetTableColumns(int id, const std::vector<TableColumn>& columns) override;
  void SetTableRows(int id, const std::vector<std::vector<std::string>>& rows) override;
  void SelectTableRow(int id, int row) override;
  int TableSelection(int id) const override;
  void SetUtf8Text(int id, const std::string& text) override;
  void SetDefaultButton(int id) override;
  void Enable(int id, bool enabled) override;
  bool IsEnabled(int id) const override;
  void Show(int id, bool shown) override;
  bool IsShown(int id) const override;
  void Focus(int id) override;
  void SetCaption(const std::string& text) override;
  void EndDialog(int result) override;
  void CentreOnScreen() override;
  void ShowThisPage() override;
  void MarkChanged() override;
  void MarkUnchanged() override;
  std::string String(int id) const override;
  int Message(const std::string& text, MessageButtons buttons) override;
  int RunDialog(int templateId, DialogLogic& logic) override;
  int PopupMenu(const std::vector<std::string>& items, int anchor) override;

 private:
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  void FitFillColumn(int id);
  App& app_;
  // Lists whose column of width 0 takes the rest: list id -> column.
  std::map<int, int> fillColumns_;
  HWND window_;
  bool isPage_;
};

// Runs a settings dialog of the resource module modally with `logic`.
int RunSettingsDialog(App& app, HWND owner, int templateId, DialogLogic& logic);

// The two property sheets. Both run modally and return when closed; the
// owner is enabled and brought to the front afterwards.
void OpenUtilitySettingSheet(App& app, HWND owner);
void OpenAdministratorSheet(App& app, HWND owner);
// The sheet open right now (nullptr when none): the GUI tests drive it.
HWND CurrentSettingsSheet();

// The commands of the Setting menu and of Print's first step.
void OnUtilitySetting(App& app);
// "Admin. Management": the administrator number dialog, whose right number
// opens the Administrator sheet.
void OnAdminManagement(App& app);
void OnTotalCounter(App& app);
void OnConfiguration(App& app);
// Select Print Items: true when the user pressed OK (the print selection
// flags of the App then hold the choice).
bool AskPrintItems(App& app);

}  // namespace odc
