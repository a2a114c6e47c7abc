#include "setup/shell/prompts_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace odc {

int WindowsPrompts::Message(HWND owner, const std::string& text, const std::string& caption,
                            UINT type) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

bool WindowsPrompts::ChooseDataFile(HWND owner, std::string& path, FileDialogMode mode,
                                    const std::string& title, const std::string& filter) {
  // The filter is "description", NUL, "*.DAT", NUL, NUL; a string-table
  // filter of several entries is written "description|pattern|...".
  std::string filters = filter;
  if (filter.find('|') == std::string::npos) {
    filters.push_back('\0');
    filters += "*.DAT";
  }
  std::replace(filters.begin(), filters.end(), '|', '\0');
  filters.push_back('\0');
  filters.push_back('\0');
  char file[MAX_PATH] = {};
  std::strncpy(file, path.c_str(), MAX_PATH - 1);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = "DAT";
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
  BOOL chosen;
  if (mode == FileDialogMode::Open) {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameA(&ofn);
  } else {
    // A file that must already exist would make saving under a new name
    // impossible.
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameA(&ofn);
  }
  if (!chosen) return false;
  path = file;
  return true;
}

bool Prompts::ShowHelpFile(HWND owner, const std::string& path) {
  return WinHelpA(owner, path.c_str(), HELP_CONTENTS, 0) != FALSE;
}

bool Prompts::OpenDocument(HWND owner, const std::string& path) {
  // ShellExecute reports success with a value above 32.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

HDC WindowsPrompts::ChoosePrinter(HWND owner) {
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = PD_RETURNDC | PD_COLLATE | PD_NOSELECTION | PD_DISABLEPRINTTOFILE;
  dialog.nCopies = 1;
  const BOOL chosen = PrintDlgA(&dialog);
  if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
  return chosen ? dialog.hDC : nullptr;
}

int Prompts::ChooseMenuItem(HWND owner, const std::vector<std::string>& items, POINT at) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return -1;
  constexpr UINT kFirstCommand = 200;
  for (size_t i = 0; i < items.size(); ++i)
    AppendMenuA(menu, MF_STRING, kFirstCommand + i, items[i].c_str());
  const BOOL chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x,
                     at.y, 0, owner, nullptr);
  DestroyMenu(menu);
  return chosen >= static_cast<BOOL>(kFirstCommand) ? static_cast<int>(chosen - kFirstCommand) : -1;
}

}  // namespace odc
