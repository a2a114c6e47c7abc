#include "setup/settings/settings_win32.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/res/resource.h"
#include "setup/settings/administrator_pages.h"
#include "setup/settings/info_dialogs.h"
#include "setup/shell/app_win32.h"

namespace odc {

// ---------------------------------------------------------------------------
// Control surface over a window

void Win32Surface::SetCheck(int id, bool checked) {
  SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool Win32Surface::IsChecked(int id) const {
  return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void Win32Surface::SetText(int id, const std::string& text) {
  // An edit answers with EN_CHANGE before this returns; the page does not
  // take that as the user's edit.
  WriteScope writing(*this);
  SetDlgItemTextA(window_, id, text.c_str());
}
std::string Win32Surface::Text(int id, int limit) const {
  std::vector<char> buffer(static_cast<size_t>(limit > 1 ? limit : 1), '\0');
  const UINT n = GetDlgItemTextA(window_, id, buffer.data(), limit > 1 ? limit : 1);
  return std::string(buffer.data(), n);
}
void Win32Surface::LimitText(int id, int characters) {
  SendMessageA(Item(id), EM_LIMITTEXT, static_cast<WPARAM>(characters), 0);
}
void Win32Surface::SelectText(int id, int start, int end) {
  SendMessageA(Item(id), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}
void Win32Surface::ClearList(int id) { SendMessageA(Item(id), CB_RESETCONTENT, 0, 0); }
void Win32Surface::AddListItem(int id, const std::string& text) {
  SendMessageA(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void Win32Surface::SelectListItem(int id, int index) {
  SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
int Win32Surface::ListSelection(int id) const {
  return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
}
int Win32Surface::ListCount(int id) const {
  const LRESULT n = SendMessageA(Item(id), CB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}
void Win32Surface::SetSliderRange(int id, int low, int high) {
  SendMessageA(Item(id), TBM_SETRANGE, TRUE, MAKELONG(low, high));
}
void Win32Surface::SetSliderPos(int id, int position) {
  SendMessageA(Item(id), TBM_SETPOS, TRUE, position);
}
int Win32Surface::SliderPos(int id) const {
  return static_cast<int>(SendMessageA(Item(id), TBM_GETPOS, 0, 0));
}
void Win32Surface::SetAddress(int id, const uint8_t o[4]) {
  SendMessageA(Item(id), IPM_SETADDRESS, 0, MAKEIPADDRESS(o[0], o[1], o[2], o[3]));
}
void Win32Surface::ClearAddress(int id) { SendMessageA(Item(id), IPM_CLEARADDRESS, 0, 0); }
int Win32Surface::ReadAddress(int id, uint8_t o[4]) const {
  DWORD address = 0;
  const int filled = static_cast<int>(
      SendMessageA(Item(id), IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
  o[0] = static_cast<uint8_t>(FIRST_IPADDRESS(address));
  o[1] = static_cast<uint8_t>(SECOND_IPADDRESS(address));
  o[2] = static_cast<uint8_t>(THIRD_IPADDRESS(address));
  o[3] = static_cast<uint8_t>(FOURTH_IPADDRESS(address));
  return filled;
}
void Win32Surface::SetAddressFieldRange(int id, int field, int low, int high) {
  SendMessageA(Item(id), IPM_SETRANGE, static_cast<WPARAM>(field), MAKEIPRANGE(low, high));
}
void Win32Surface::FocusAddressField(int id, int field) {
  SendMessageA(Item(id), IPM_SETFOCUS, static_cast<WPARAM>(field), 0);
}
namespace {

// List texts are UTF-8; the list views take them as UTF-16.
std::wstring Widened(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

}  // namespace

void Win32Surface::SetTableColumns(int id, const std::vector<TableColumn>& columns) {
  HWND list = Item(id);
  if (list == nullptr) return;
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  while (SendMessageA(list, LVM_DELETECOLUMN, 0, 0)) {
  }
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  fillColumns_.erase(id);
  for (size_t c = 0; c < columns.size(); ++c) {
    RECT width = {0, 0, columns[c].width, 8};
    MapDialogRect(window_, &width);
    std::wstring title = Widened(columns[c].title);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width.right;
    column.pszText = title.data();
    column.iSubItem = static_cast<int>(c);
    SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    if (columns[c].width == 0) fillColumns_[id] = static_cast<int>(c);
  }
  FitFillColumn(id);
}

void Win32Surface::SetTableRows(int id, const std::vector<std::vector<std::string>>& rows) {
  HWND list = Item(id);
  if (list == nullptr) return;
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      std::wstring cell = Widened(rows[r][c]);
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = static_cast<int>(c);
      item.pszText = cell.data();
      if (c == 0) {
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      } else {
        SendMessageW(list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
      }
    }
  }
  FitFillColumn(id);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void Win32Surface::SelectTableRow(int id, int row) {
  HWND list = Item(id);
  if (list == nullptr) return;
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (row < 0 || row >= static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0))) return;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int Win32Surface::TableSelection(int id) const {
  HWND list = Item(id);
  if (list == nullptr) return -1;
  return static_cast<int>(
      SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Win32Surface::SetUtf8Text(int id, const std::string& text) {
  SetWindowTextW(Item(id), Widened(text).c_str());
}

// The fill column reaches the list's right edge, or further (with a scroll
// bar) when one of its texts is longer: a problem is read whole.
void Win32Surface::FitFillColumn(int id) {
  auto found = fillColumns_.find(id);
  if (found == fillColumns_.end()) return;
  HWND list = Item(id);
  const int column = found->second;
  SendMessageA(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
  const int content = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
  SendMessageA(list, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
  const int header = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
  RECT client = {};
  GetClientRect(list, &client);
  int others = 0;
  HWND headerWindow = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int count = static_cast<int>(SendMessageA(headerWindow, HDM_GETITEMCOUNT, 0, 0));
  for (int c = 0; c < count; ++c) {
    if (c != column) others += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
  }
  int width = client.right - others - GetSystemMetrics(SM_CXVSCROLL);
  if (width < content) width = content;
  if (width < header) width = header;
  SendMessageA(list, LVM_SETCOLUMNWIDTH, column, width);
}

void Win32Surface::SetDefaultButton(int id) {
  const LRESULT previous = SendMessageA(window_, DM_GETDEFID, 0, 0);
  if (HIWORD(previous) == DC_HASDEFID && LOWORD(previous) != id) {
    SendMessageA(Item(LOWORD(previous)), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  }
  SendMessageA(window_, DM_SETDEFID, static_cast<WPARAM>(id), 0);
  SendMessageA(Item(id), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Win32Surface::Enable(int id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }
bool Win32Surface::IsEnabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
void Win32Surface::Show(int id, bool shown) { ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }
bool Win32Surface::IsShown(int id) const {
  return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
}
void Win32Surface::Focus(int id) { SetFocus(Item(id)); }
void Win32Surface::SetCaption(const std::string& text) { SetWindowTextA(window_, text.c_str()); }
void Win32Surface::EndDialog(int result) { ::EndDialog(window_, result); }
void Win32Surface::CentreOnScreen() { CentreWindow(window_); }
void Win32Surface::ShowThisPage() {
  if (!isPage_) return;
  HWND sheet = GetParent(window_);
  const LRESULT index = SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(window_), 0);
  if (index >= 0) SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}
void Win32Surface::MarkChanged() {
  if (isPage_) SendMessageA(GetParent(window_), PSM_CHANGED, reinterpret_cast<WPARAM>(window_), 0);
}
void Win32Surface::MarkUnchanged() {
  if (isPage_)
    SendMessageA(GetParent(window_), PSM_UNCHANGED, reinterpret_cast<WPARAM>(window_), 0);
}
std::string Win32Surface::String(int id) const { return app_.Text(static_cast<UINT>(id)); }
int Win32Surface::Message(const std::string& text, MessageButtons buttons) {
  const UINT type =
      buttons == MessageButtons::YesNo ? MB_YESNO | MB_ICONQUESTION : MB_OK | MB_ICONEXCLAMATION;
  return app_.prompts->Message(GetAncestor(window_, GA_ROOT), text, app_.Text(IDS_APP_TITLE), type);
}
int Win32Surface::RunDialog(int templateId, DialogLogic& logic) {
  return RunSettingsDialog(app_, GetAncestor(window_, GA_ROOT), templateId, logic);
}
int Win32Surface::PopupMenu(const std::vector<std::string>& items, int anchor) {
  // Below the button's left edge: a question answered before the menu
  // opens has moved the mouse to its own button.
  RECT rect = {};
  POINT at = {};
  if (GetWindowRect(GetDlgItem(window_, anchor), &rect)) {
    at = {rect.left, rect.bottom};
  } else {
    GetCursorPos(&at);
  }
  return app_.prompts->ChooseMenuItem(window_, items, at);
}

// ---------------------------------------------------------------------------
// Settings dialogs

namespace {

struct DialogRun {
  App* app;
  DialogLogic* logic;
  std::unique_ptr<Win32Surface> surface;
  bool initialising = true;
};

INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrA(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      run = reinterpret_cast<DialogRun*>(lParam);
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      run->surface = std::make_unique<Win32Surface>(*run->app, window, false);
      run->logic->OnInit(*run->surface);
      run->initialising = false;
      return FALSE;  // the logic has set the focus
    }
    case WM_COMMAND:
      if (run == nullptr || run->initialising) return FALSE;
      RouteDialogCommand(*run->logic, *run->surface, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      if (run == nullptr || run->initialising) return FALSE;
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != LVN_ITEMCHANGED) return FALSE;
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
      // Only a row that becomes selected: the row losing the selection
      // reports too, and so does every change of an item's text.
      if ((change->uChanged & LVIF_STATE) == 0 || (change->uNewState & LVIS_SELECTED) == 0 ||
          (change->uOldState & LVIS_SELECTED) != 0)
        return FALSE;
      run->logic->OnCommand(*run->surface, static_cast<int>(header->idFrom), kTableSelChange);
      return TRUE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (run == nullptr || run->initialising) return FALSE;
      run->logic->OnScroll(*run->surface, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)),
                           LOWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      if (run != nullptr) run->logic->OnCommand(*run->surface, kIdCancel, BN_CLICKED);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunSettingsDialog(App& app, HWND owner, int templateId, DialogLogic& logic) {
  DialogRun run{&app, &logic, nullptr};
  const INT_PTR result = DialogBoxParamA(app.resources, MAKEINTRESOURCEA(templateId), owner,
                                         SettingsDialogProc, reinterpret_cast<LPARAM>(&run));
  return static_cast<int>(result);
}

// ---------------------------------------------------------------------------
// Property sheets

namespace {

// What the pages change outside the data set.
class AppSettingsHost : public SettingsHost {
 public:
  explicit AppSettingsHost(App& app) : app_(app) {}
  void SetNetworkChanged() override { app_.link->requestFlag = 1; }
  void SetTreeRootText(const std::string&) override { odc::SetTreeRootText(app_); }
  bool InchPaper() const override { return app_.inchPaper; }
  uint32_t MachineProductId() const override { return app_.link ? app_.link->machineProductId : 0; }

 private:
  App& app_;
};

struct PageHost {
  App* app = nullptr;
  // Every page of the sheet, this one among them.
  const std::vector<std::unique_ptr<PageHost>>* sheetPages = nullptr;
  std::unique_ptr<SettingsPage> logic;
  std::unique_ptr<PageDriver> driver;
  std::unique_ptr<Win32Surface> surface;
  bool initialising = false;
};

HWND g_sheet = nullptr;

void SetResult(HWND page, LONG_PTR result) { SetWindowLongPtrA(page, DWLP_MSGRESULT, result); }

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<PageHost*>(GetWindowLongPtrA(page, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
      host = reinterpret_cast<PageHost*>(sheetPage->lParam);
      SetWindowLongPtrA(page, DWLP_USER, reinterpret_cast<LONG_PTR>(host));
      host->surface = std::make_unique<Win32Surface>(*host->app, page, true);
      host->initialising = true;
      host->driver->Init(*host->surface);
      host->initialising = false;
      return TRUE;
    }
    case WM_COMMAND:
      // Texts set while the page starts send change notifications; they
      // are not the user's edits.
      if (host == nullptr || host->initialising) return FALSE;
      host->driver->Command(*host->surface, LOWORD(wParam), HIWORD(wParam));
      return FALSE;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (host == nullptr || host->initialising) return FALSE;
      host->driver->Scroll(*host->surface, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)),
                           LOWORD(wParam));
      return FALSE;
    case WM_NOTIFY: {
      if (host == nullptr) return FALSE;
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      switch (header->code) {
        case PSN_SETACTIVE:
          host->driver->SetActive(*host->surface);
          SetResult(page, 0);
          return TRUE;
        case PSN_KILLACTIVE:
          SetResult(page, host->driver->KillActive(*host->surface) ? FALSE : TRUE);
          return TRUE;
        case PSN_APPLY: {
          SettingsUiState& ui = host->app->settingsUi;
          const bool hadChanges = ui.IsChanged(host->logic->Id());
          // A pack writes the working values of every page: before this page
          // packs, no other changed page may hold values it would refuse, or
          // they would reach the transfer image all the same.
          if (hadChanges && host->sheetPages != nullptr) {
            for (const auto& other : *host->sheetPages) {
              if (other.get() == host || !other->surface) continue;
              if (!ui.IsChanged(other->logic->Id())) continue;
              if (!other->logic->OnApply(*other->surface)) {
                other->surface->ShowThisPage();
                SetResult(page, PSNRET_INVALID_NOCHANGEPAGE);
                return TRUE;
              }
            }
          }
          const bool applied = host->driver->Apply(*host->surface);
          // Applied settings are unsaved changes of the data set.
          if (applied && hadChanges) host->app->modified = true;
          SetResult(page, applied ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
          return TRUE;
        }
        case PSN_QUERYCANCEL:
          host->driver->QueryCancel(*host->surface);
          SetResult(page, FALSE);
          return TRUE;
        case PSN_RESET:
          host->driver->Reset(*host->surface);
          return TRUE;
        default:
          return FALSE;
      }
    }
    default:
      return FALSE;
  }
}

// A property sheet page of the resource module's template, titled with the
// caption string, run by the shared page procedure for `host`.
HPROPSHEETPAGE CreateSettingsPage(App& app, int templateId, int captionId, PageHost* host) {
  const std::string title = app.Text(static_cast<UINT>(captionId));
  PROPSHEETPAGEA page = {};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_USETITLE;
  page.hInstance = app.resources;
  page.pszTemplate = MAKEINTRESOURCEA(templateId);
  page.pszTitle = title.c_str();  // copied by the property sheet
  page.pfnDlgProc = SettingsPageProc;
  page.lParam = reinterpret_cast<LPARAM>(host);
  return CreatePropertySheetPageA(&page);
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) g_sheet = sheet;
  return 0;
}

void RunSheet(App& app, HWND owner, SheetId sheet) {
  AppSettingsHost settingsHost(app);
  SettingsContext context{*app.data, app.settingsUi, settingsHost};
  std::vector<std::unique_ptr<PageHost>> hosts;
  std::vector<HPROPSHEETPAGE> handles;
  for (const PageEntry& entry : SheetPages(sheet, *app.data)) {
    auto host = std::make_unique<PageHost>();
    host->app = &app;
    host->sheetPages = &hosts;
    host->logic = CreateSettingsPageLogic(entry.page, context);
    if (!host->logic) continue;
    host->driver = std::make_unique<PageDriver>(context, *host->logic);
    HPROPSHEETPAGE handle = CreateSettingsPage(app, entry.templateId, entry.captionId, host.get());
    if (handle == nullptr) continue;
    handles.push_back(handle);
    hosts.push_back(std::move(host));
  }
  if (handles.empty()) return;

  const std::string caption =
      app.Text(sheet == SheetId::Utility ? IDS_UTILITY_SETTING : IDS_ADMINISTRATOR_SHEET);
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_NOCONTEXTHELP | PSH_USECALLBACK;
  header.hwndParent = owner;
  header.hInstance = app.resources;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(handles.size());
  header.phpage = handles.data();
  header.pfnCallback = SheetCallback;
  PropertySheetA(&header);
  g_sheet = nullptr;
  // Pages whose edits were not applied are not changed any more: the
  // working values were rebuilt from the transfer image by the cancel.
  app.settingsUi.pageChanged.fill(0);

  EnableWindow(app.main, TRUE);
  SetForegroundWindow(app.main);
}

}  // namespace

void OpenUtilitySettingSheet(App& app, HWND owner) {
  app.settingsUi.pageChanged.fill(0);
  RunSheet(app, owner, SheetId::Utility);
}

void OpenAdministratorSheet(App& app, HWND owner) {
  app.settingsUi.pageChanged.fill(0);
  RunSheet(app, owner, SheetId::Administrator);
}

HWND CurrentSettingsSheet() { return g_sheet; }

// ---------------------------------------------------------------------------
// Commands

void OnUtilitySetting(App& app) {
  if (app.words.view != 0) {
    if (app.words.view == 2) SendMessageA(app.main, WM_COMMAND, ID_VIEW_ONE_TOUCH, 0);
    SelectTreeItem(app, 0);
  }
  OpenUtilitySettingSheet(app, app.main);
}

void OnAdminManagement(App& app) {
  // The sheet is owned by the number dialog, which ends once it has closed.
  AdministratorNumberDialog dialog(*app.data, [&app](ControlSurface& owner) {
    OpenAdministratorSheet(app, static_cast<Win32Surface&>(owner).Window());
  });
  RunSettingsDialog(app, app.main, IDD_ADMIN_NUMBER, dialog);
}

void OnTotalCounter(App& app) {
  CounterDialog dialog(*app.data);
  RunSettingsDialog(app, app.main, IDD_COUNTER, dialog);
}

void OnConfiguration(App& app) {
  MachineStatusDialog dialog(*app.data);
  RunSettingsDialog(app, app.main, IDD_MACHINE_STATUS, dialog);
}

bool AskPrintItems(App& app) {
  SelectPrintItemsDialog dialog(app.settingsUi);
  return RunSettingsDialog(app, app.main, IDD_SELECT_PRINT_ITEMS, dialog) == 1;
}

}  // namespace odc
