#include "setup/shell/prompts_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "setup/data/file_io.h"

namespace odc {
namespace {

// UTF-8 to the ANSI code page, for windows that take ANSI text; characters
// the code page lacks become its default character.
std::string AnsiFromUtf8(const std::string& text) {
  const std::wstring wide = WideFromUtf8(text);
  if (wide.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], size,
                      nullptr, nullptr);
  return ansi;
}

}  // namespace

int Prompts::MessageUtf8(HWND owner, const std::string& text, const std::string& caption,
                         UINT type) {
  return Message(owner, AnsiFromUtf8(text), AnsiFromUtf8(caption), type);
}

int WindowsPrompts::Message(HWND owner, const std::string& text, const std::string& caption,
                            UINT type) {
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

int WindowsPrompts::MessageUtf8(HWND owner, const std::string& text, const std::string& caption,
                                UINT type) {
  return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
}

bool WindowsPrompts::ChooseDataFile(HWND owner, std::string& path, FileDialogMode mode,
                                    const std::string& title, const std::string& filter) {
  // The filter is "description", NUL, "*.DAT", NUL, NUL; a string-table
  // filter of several entries is written "description|pattern|...".
  std::wstring filters = WideFromUtf8(filter);
  if (filters.find(L'|') == std::wstring::npos) {
    filters.push_back(L'\0');
    filters += L"*.DAT";
  }
  std::replace(filters.begin(), filters.end(), L'|', L'\0');
  filters.push_back(L'\0');
  filters.push_back(L'\0');
  // The dialog's buffer: MAX_PATH characters, as the dialog has always
  // offered; the initial name is cut to fit.
  wchar_t file[MAX_PATH] = {};
  const std::wstring initial = WideFromUtf8(path);
  std::wcsncpy(file, initial.c_str(), MAX_PATH - 1);
  const std::wstring wideTitle = WideFromUtf8(title);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = wideTitle.c_str();
  ofn.lpstrDefExt = L"DAT";
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES;
  BOOL chosen;
  if (mode == FileDialogMode::Open) {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    chosen = GetOpenFileNameW(&ofn);
  } else {
    // A file that must already exist would make saving under a new name
    // impossible.
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameW(&ofn);
  }
  if (!chosen) return false;
  path = Utf8FromWide(std::wstring(file));
  return true;
}

bool Prompts::ShowHelpFile(HWND owner, const std::string& path) {
  return WinHelpW(owner, WideFromUtf8(path).c_str(), HELP_CONTENTS, 0) != FALSE;
}

bool Prompts::OpenDocument(HWND owner, const std::string& path) {
  // ShellExecute reports success with a value above 32.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner, L"open", WideFromUtf8(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
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
