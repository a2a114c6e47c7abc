// The program-wide state of the Win32 side: window handles, menu-state
// words, the document, the clipboard, and the data set and link it works on.
// The program holds one App; GUI tests build their own.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "setup/addressbook/entry_rows.h"
#include "setup/data/address_import.h"
#include "setup/data/data_set.h"
#include "setup/data/dial_codec.h"
#include "setup/data/document.h"
#include "setup/link/machine_link.h"
#include "setup/settings/settings_framework.h"
#include "setup/shell/display_scale.h"
#include "setup/shell/menu_state.h"
#include "setup/shell/prompts_win32.h"

namespace odc {

struct App : public LinkUi {
  App();
  ~App() override;

  // Modules: the program itself (class icon, cursor, accelerators) and the
  // resource module (strings, menus, dialogs, bitmaps).
  HINSTANCE instance = nullptr;
  HMODULE resources = nullptr;

  HWND main = nullptr;
  HWND toolbar = nullptr;
  HWND tooltip = nullptr;
  HWND status = nullptr;
  HWND tree = nullptr;
  HWND list = nullptr;
  HWND memberList = nullptr;
  HWND panel = nullptr;
  HMENU menu = nullptr;
  HACCEL accelerators = nullptr;
  HIMAGELIST treeImages = nullptr;
  HIMAGELIST toolbarImages = nullptr;
  HIMAGELIST disabledToolbarImages = nullptr;
  HBRUSH panelBrush = nullptr;

  // The main window's pixel sizes at the DPI of the monitor it is on, and the
  // fonts its panes had when created (at `fontDpi`), scaled when the window
  // moves to a monitor of another scale.
  MainWindowMetrics metrics;
  struct PaneFont {
    HWND window = nullptr;
    HFONT created = nullptr;  // the pane's own font at creation
    HFONT scaled = nullptr;   // ours, deleted when replaced
  };
  std::array<PaneFont, 5> paneFonts{};
  int fontDpi = kDefaultDpi;

  int splitter = 0;  // x of the border between tree and right pane
  bool dragging = false;
  MenuWords words;
  bool modified = false;
  Document document;
  std::string importPath;
  bool inchPaper = false;
  bool normaliseAfterDownload = false;
  int columnLayout = 1;  // the view whose columns the main list shows

  // Clipboard: One Touch, Speed Dial, Group.
  std::array<int, 3> clipboardSlots{-1, -1, -1};
  std::array<DisplayRecord, 3> clipboard{};
  DisplayRecord scratch{};
  bool pasteMarker = false;

  // Page changed flags, print selection flags, Account Track's current ID.
  SettingsUiState settingsUi;

  std::unique_ptr<DataSet> data;
  std::unique_ptr<ImportBuffers> imports;
  std::unique_ptr<UsbPlatform> usb;
  std::unique_ptr<MachineLink> link;
  Prompts* prompts = nullptr;

  // Strings of the resource module.
  std::string Text(UINT id) const;
  // The same string as UTF-8, for texts that hold or are paths (file
  // names, the window title, messages that name a file).
  std::string TextUtf8(UINT id) const;
  bool DoubleByteLanguage() const { return data->language != Language::SingleByte; }
  int Message(const std::string& text, UINT type) const;
  int Message(UINT stringId, UINT type) const { return Message(Text(stringId), type); }
  // Message `formatId` with its "%s" replaced by the UTF-8 `path`.
  int MessageWithPath(UINT formatId, const std::string& path, UINT type) const;

  // LinkUi
  void ShowLinkMessage(LinkMessage message) override;
  void SendDisconnectCommand() override;
  void ShowReadyStatus() override;
};

// The one App of the running program, used by the window and dialog
// procedures.
extern App* g_app;

// A module's full file name as UTF-8; empty when it cannot be read.
std::string ModuleFileName(HMODULE module);

// Main window (main_window_win32.cpp).
bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(App& app, int showCommand);
void LayoutMainWindow(App& app);
void SetWindowTitle(App& app);
// Centres a window on the screen (the main window and the entry dialogs).
void CentreWindow(HWND window);
// The DPI a window is drawn at: that of its monitor where Windows tells it,
// else that of the screen.
int WindowDpi(HWND window);
// The tree/list icons for `dpi`, as a new image list (the caller owns it).
HIMAGELIST CreateTreeImageList(HMODULE resources, int dpi);
// Applies a change of display scale to the main window (WM_DPICHANGED):
// pictures, fonts, columns and splitter at the new DPI, then `suggested`
// (screen coordinates) as the window's rectangle, then the layout.
void ApplyWindowDpi(App& app, int dpi, const RECT* suggested);
void SetStatusText(App& app, int part, const std::string& text);
void RefreshLockIndicators(App& app, int command);
// The close sequence (save prompt, clean-up, disconnect); false when the
// user cancelled or the changes could not be saved.
bool CloseMainWindow(App& app);
// Loads the resource module beside the program, or returns the program.
HMODULE LoadResourceModule(HINSTANCE instance);

// Commands (commands_win32.cpp).
LRESULT HandleCommand(HWND window, WPARAM wParam);
void UpdateMenuState(App& app);
void RefreshConnectionStatus(App& app);
void RemoveFromGroups(App& app, DisplayRecord removed);

// Tree and lists (setup/addressbook/entry_views_win32.cpp).
HWND CreateNavigationTree(HINSTANCE instance, HWND parent, HIMAGELIST images);
HWND CreateMainList(HINSTANCE instance, HWND parent, HIMAGELIST images);
HWND CreateGroupMemberList(HINSTANCE instance, HWND parent, HIMAGELIST images);
void ResetNavigationTree(App& app);
void SelectTreeItem(App& app, int view);
void SetTreeRootText(App& app);
LRESULT OnTreeSelectionChanged(App& app, NMHDR* notification);
LRESULT OnMainListNotify(App& app, NMHDR* notification);
LRESULT OnGroupMemberListNotify(App& app, NMHDR* notification);
void ShowTreeMenu(App& app, POINT screen);
void ShowEntryMenu(App& app, POINT screen);
void FillCurrentList(App& app);
void OpenSelectedEntry(App& app);
// The Address column text of row `index` (empty when out of range).
std::string ListAddressText(App& app, int index);
// Inserts a row at the top; a sorted list puts it in its place.
void InsertListRow(HWND list, const ListRow& row);
// One centred column of a list view, titled from the string table.
void AddListColumn(App& app, HWND list, int column, int width, UINT titleId);
// The text of a dialog control, at most `atMost` characters.
std::string ControlText(HWND dialog, int id, int atMost);
// The display record of entry `index` as the views show it, from the
// working tables.
void LoadEntryRecord(App& app, int view, int index, DisplayRecord& record);
// Where LoadEntryRecord reads from, and the row texts' context.
RecordSource EntryRecordSource(App& app);
RowContext MakeRowContext(App& app);
// One row of the main list, inserted (the sorted list places it).
void AddOneTouchRow(App& app, const DisplayRecord& record, int index);
void AddSpeedDialRow(App& app, const DisplayRecord& record, int index);
void AddGroupRow(App& app, const DisplayRecord& record, int index);
void FillGroupList(App& app);
// Row `row` of the main list selected and focused.
void SelectMainListRow(App& app, int row);

// Dialog helpers shared by the address-book dialogs and the settings pages.
void SetControlText(App& app, HWND dialog, int controlId, UINT stringId);
void FillComboFromStrings(App& app, HWND dialog, int controlId, UINT first, UINT last,
                          int selection);
// Moves a control to (x, y) in dialog client pixels, keeping its size.
void MoveControl(HWND dialog, int controlId, int x, int y);

// Address-book dialogs (entry_dialog_win32.cpp, group_dialog_win32.cpp),
// run modally with the main list as parent on the selected entry.
void RunEntryDialog(App& app);
void RunGroupDialog(App& app);
INT_PTR CALLBACK EntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GroupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace odc
