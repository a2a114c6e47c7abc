// Administrator access and the Administrator Mode page's dialogs: the
// administrator number dialog that guards the Administrator sheet, Account
// Track (access numbers and copy counters of the 50 user IDs) and Change
// Admin No. The Administrator Mode page itself is created through
// CreateAdministratorModePage (settings_pages.h).
#pragma once

#include <array>
#include <functional>
#include <string>

#include "setup/settings/settings_framework.h"

namespace odc {

// "Admin. Management": only the stored administrator number, typed as
// exactly six digits, opens the Administrator sheet. `openSheet` runs the
// sheet modally with this dialog (the surface given) as its owner; the
// dialog ends when the sheet has closed.
class AdministratorNumberDialog : public DialogLogic {
 public:
  using OpenSheet = std::function<void(ControlSurface& dialog)>;
  AdministratorNumberDialog(DataSet& data, OpenSheet openSheet)
      : data_(data), openSheet_(std::move(openSheet)) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  DataSet& data_;
  OpenSheet openSheet_;
};

// "Account Track": the mode, and the access number and counter of the
// current user ID (SettingsUiState::accountIndex, kept between openings).
// Cancel puts back every administrator value and the current ID as they
// were when the dialog started.
class AccountTrackDialog : public DialogLogic {
 public:
  explicit AccountTrackDialog(SettingsContext& ctx) : ctx_(ctx) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  void ShowCurrentId(ControlSurface& s);
  void TakeCopy();
  void PutCopyBack();

  SettingsContext& ctx_;
  struct Copy {
    uint32_t permission = 0, adminNumber = 0, mode = 0, remoteMonitor = 0, remotePassword = 0;
    std::array<uint8_t, 100> accessNumbers{};
    std::array<uint32_t, kAccountCount> counters{};
    uint8_t pageChanged = 0;
    int accountIndex = 0;
  } copy_;
};

// "Change Admin No.": the current number, then the new one twice.
class ChangeAdminNumberDialog : public DialogLogic {
 public:
  explicit ChangeAdminNumberDialog(DataSet& data) : data_(data) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

 private:
  DataSet& data_;
};

// Validates the access number typed in the Account Track dialog and stores
// it for user ID `index` (0-49): 1 stored, 0 refused (message shown, text
// selected and focused). Empty clears the ID's number and counter; a number
// other IDs hold is taken from them only when the user agrees for every one
// of them; a refusal changes nothing.
int CheckAccessNumber(ControlSurface& s, DataSet& data, int index);

// The access number of user ID `index` (0-49).
uint16_t AccessNumber(const DataSet& data, int index);
void SetAccessNumber(DataSet& data, int index, uint16_t number);

// The text of a user ID as the dialog and its menu show it: the format
// string ("ID #%02d : %s") with the ID's number and its access number as
// three digits, or nothing when it has none.
std::string AccountIdText(const std::string& format, const DataSet& data, int index);

}  // namespace odc
