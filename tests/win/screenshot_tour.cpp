// Runs Setup's main window on a real display through its main states and
// saves a picture of each: start-up, New, Download, the three views and the
// entry and Group dial dialogs, the settings sheets and the preview of an
// address-book import. A second argument names a language module
// to load instead of the program's own resources (the pictures then start
// with "ja-"). scripts/screenshots.sh runs it under Xvfb and turns the
// pictures into PNGs.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "setup/res/resource.h"
#include "setup/settings/settings_framework.h"
#include "setup/settings/settings_win32.h"
#include "setup/shell/app_win32.h"

namespace {

class YesPrompts : public odc::Prompts {
 public:
  int Message(HWND, const std::string&, const std::string&, UINT type) override {
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDYES;
  }
  // The file the next open dialog picks ("" cancels it).
  std::string nextFile;
  bool ChooseDataFile(HWND, std::string& path, odc::FileDialogMode, const std::string&,
                      const std::string&) override {
    if (nextFile.empty()) return false;
    path = nextFile;
    return true;
  }
};

// A phone's export: cards with fax numbers written the international way,
// e-mail only, a name the machine cannot show as it is, a long name, a card
// without fax number or e-mail address and a group card.
const char kTourContacts[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Berg\r\nN:Berg;Anna;;;\r\n"
    "TEL;TYPE=WORK,FAX:+46 8 123 456\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xC5\x81ukasz W\xC3\xB3jcik\r\n"
    "TEL;TYPE=FAX:+48 22 555 01 02\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Front Desk\r\n"
    "EMAIL;TYPE=INTERNET:frontdesk@example.com\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Voice Only\r\nTEL;TYPE=CELL:0170 1234567\r\n"
    "END:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Sales Team\r\n"
    "MEMBER:urn:uuid:03a0e51f-d1aa-4385-8a53-e29025acd8af\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bartholomew Fitzgerald-Montgomery\r\n"
    "EMAIL;TYPE=INTERNET:bart@example.com\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Accounts\r\nTEL;WORK;FAX:030 555-123\r\n"
    "END:VCARD\r\n";

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(20);
  }
}

bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + stride * height;
  FILE* out = std::fopen(path.c_str(), "wb");
  bool ok = false;
  if (out != nullptr) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
         std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out) == 1 &&
         std::fwrite(bits, stride, height, out) == static_cast<size_t>(height);
    std::fclose(out);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

// The picture a timer takes of the modal dialog that is up, which it then
// cancels.
std::string g_dialogPicture;

void CALLBACK ShootDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = FindWindowA("#32770", nullptr);
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, id);
  Pump(600);
  std::printf("%s %s\n", SaveWindowPicture(dialog, g_dialogPicture) ? "saved" : "FAILED",
              g_dialogPicture.c_str());
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Pictures of every page of the settings sheet that is up, page by page;
// then the sheet is cancelled.
std::string g_sheetPrefix;

std::string FileNameOf(std::string caption) {
  std::string name;
  for (char c : caption) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    } else if (!name.empty() && name.back() != '-') {
      name += '-';
    }
  }
  while (!name.empty() && name.back() == '-') name.pop_back();
  return name;
}

// The tab captions of a sheet, in order.
std::vector<std::string> TabCaptions(HWND sheet) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  const int n = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> captions;
  for (int i = 0; i < n; ++i) {
    char text[128] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    captions.push_back(text);
  }
  return captions;
}

// Brings the sheet's page with this tab caption to the front; false when
// the sheet has no such page.
bool SelectSheetPage(HWND sheet, const std::string& caption) {
  const std::vector<std::string> captions = TabCaptions(sheet);
  for (size_t i = 0; i < captions.size(); ++i) {
    if (captions[i] != caption) continue;
    SendMessageA(sheet, PSM_SETCURSEL, i, 0);
    return true;
  }
  return false;
}

void CALLBACK ShootSheet(HWND, UINT, UINT_PTR id, DWORD) {
  HWND sheet = odc::CurrentSettingsSheet();
  if (sheet == nullptr || !IsWindowVisible(sheet)) return;
  KillTimer(nullptr, id);
  const std::vector<std::string> captions = TabCaptions(sheet);
  for (size_t i = 0; i < captions.size(); ++i) {
    SendMessageA(sheet, PSM_SETCURSEL, i, 0);
    Pump(400);
    const std::string path =
        g_sheetPrefix + std::to_string(i + 1) + "-" + FileNameOf(captions[i]) + ".bmp";
    std::printf("%s %s\n", SaveWindowPicture(sheet, path) ? "saved" : "FAILED", path.c_str());
  }
  SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// Steps run from a timer inside the modal loops of the settings sheet and
// its dialogs; each returns false while what it waits for is not up yet.
std::deque<std::function<bool()>> g_steps;
bool g_stepping = false;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR id, DWORD) {
  if (g_stepping) return;
  g_stepping = true;
  while (!g_steps.empty() && g_steps.front()()) g_steps.pop_front();
  if (g_steps.empty()) KillTimer(nullptr, id);
  g_stepping = false;
}

// A page of the Utility Setting sheet, or a dialog that a button of the
// page opens (the dialog is known by its caption).
struct SheetShot {
  const char* page;
  int button;
  const char* dialog;
  const char* name;
};
const SheetShot kUtilityShots[] = {
    {"Paper Source", IDC_PS_INCH_METRIC, "Inch/Metric Setting", "20-inch-metric"},
    {"Paper Source", IDC_PS_PAPER_TYPE, "Paper Type", "21-paper-type"},
};

// Brings the sheet's page with this tab caption to the front.
HWND ShowSheetPage(HWND sheet, const std::string& caption) {
  SelectSheetPage(sheet, caption);
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Pictures of the Utility Setting sheet's pages and dialogs.
void ShootUtilitySheet(HWND window, const std::string& folder, const std::string& prefix) {
  auto save = [&](HWND w, const char* name) {
    Pump(600);
    const std::string path = folder + "\\" + prefix + name + ".bmp";
    std::printf("%s %s\n", SaveWindowPicture(w, path) ? "saved" : "FAILED", path.c_str());
  };
  for (const SheetShot& shot : kUtilityShots) {
    g_steps.push_back([=] {
      HWND sheet = odc::CurrentSettingsSheet();
      if (sheet == nullptr || !IsWindowVisible(sheet)) return false;
      HWND page = ShowSheetPage(sheet, shot.page);
      if (shot.button == 0)
        save(sheet, shot.name);
      else
        PostMessageA(GetDlgItem(page, shot.button), BM_CLICK, 0, 0);
      return true;
    });
    if (shot.dialog == nullptr) continue;
    g_steps.push_back([=] {
      HWND dialog = FindWindowA("#32770", shot.dialog);
      if (dialog == nullptr || !IsWindowVisible(dialog)) return false;
      save(dialog, shot.name);
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    g_steps.push_back([=] { return FindWindowA("#32770", shot.dialog) == nullptr; });
  }
  g_steps.push_back([] {
    PostMessageA(odc::CurrentSettingsSheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return true;
  });
  SetTimer(nullptr, 0, 100, RunSteps);
  SendMessageA(window, WM_COMMAND, ID_MACHINE_UTILITY_SETTING, 0);
}

HWND VisibleWindow(const char* caption) {
  HWND window = FindWindowA("#32770", caption);
  return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window) ? window : nullptr;
}

// Admin. Management with the number typed, the Administrator sheet on its
// first and last page, and the Account Track and Change Admin No. dialogs.
void AdministratorShots(HWND window, const std::string& base) {
  auto shoot = [&base](HWND target, const char* name) {
    Pump(600);
    const std::string path = base + name + ".bmp";
    std::printf("%s %s\n", SaveWindowPicture(target, path) ? "saved" : "FAILED", path.c_str());
  };
  auto page = [] {
    return reinterpret_cast<HWND>(
        SendMessageA(VisibleWindow("Administrator Mode"), PSM_GETCURRENTPAGEHWND, 0, 0));
  };
  auto click = [](HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
  };
  auto subDialog = [&](const char* caption, const char* name) {
    g_steps.push_back([=] {
      HWND dialog = VisibleWindow(caption);
      if (dialog == nullptr) return false;
      shoot(dialog, name);
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    g_steps.push_back([=] { return FindWindowA("#32770", caption) == nullptr; });
  };
  g_steps.push_back([=] {
    HWND dialog = VisibleWindow("Admin. Management");
    if (dialog == nullptr) return false;
    SetDlgItemTextA(dialog, IDC_AN_NUMBER, "112233");  // the demonstration machine's
    shoot(dialog, "30-admin-number");
    click(dialog, IDC_AN_OK);
    return true;
  });
  g_steps.push_back([=] {
    HWND sheet = VisibleWindow("Administrator Mode");
    if (sheet == nullptr) return false;
    shoot(sheet, "31-administrator-mode");
    click(page(), IDC_AM_ACCOUNT_TRACK);
    return true;
  });
  subDialog("Account Track", "32-account-track");
  g_steps.push_back([=] {
    click(page(), IDC_AM_CHANGE_ADMIN);
    return true;
  });
  subDialog("Change Admin No.", "33-change-admin-no");
  g_steps.push_back([=] {
    HWND sheet = VisibleWindow("Administrator Mode");
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const LRESULT last = SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) - 1;
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(last), 0);
    shoot(sheet, "34-machine-information");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return true;
  });
  SetTimer(nullptr, 0, 100, RunSteps);
  SendMessageA(window, WM_COMMAND, ID_MACHINE_ADMIN_MANAGEMENT, 0);
}

// Pictures of Administrator sheet pages: a timer brings each page to the
// front in turn, saves the sheet and finally cancels it.
struct SheetShots {
  std::vector<std::pair<std::string, std::string>> pages;  // caption, file
};
SheetShots g_sheetShots;

void CALLBACK ShootSheetPages(HWND, UINT, UINT_PTR id, DWORD) {
  HWND sheet = odc::CurrentSettingsSheet();
  if (sheet == nullptr || !IsWindowVisible(sheet)) return;
  KillTimer(nullptr, id);
  for (const auto& [caption, path] : g_sheetShots.pages) {
    if (!SelectSheetPage(sheet, caption)) continue;
    Pump(500);
    std::printf("%s %s\n", SaveWindowPicture(sheet, path) ? "saved" : "FAILED", path.c_str());
  }
  SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// The Network, E-Mail, LDAP and Communication pages, with the NIC kit and
// LDAP present, the e-mail mode Advanced and region code 3, so that every
// control of the pages shows.
void ShootNetworkEmailPages(odc::App& app, HWND window, const std::string& folder,
                            const std::string& prefix) {
  odc::DataSet& d = *app.data;
  d.machineInfo[odc::machine_info::kNicKit] = 1;
  d.records[368].data[0] = 1;
  odc::SetSetting(d, 0x1040D, 1);
  odc::SetSetting(d, odc::kRegionCodeId, 3);
  odc::PackTransferImage(d);
  const std::pair<int, const char*> pages[] = {
      {IDS_PAGE_NETWORK_SETTING, "40-network-setting"},
      {IDS_PAGE_EMAIL_SETTING_1, "41-email-setting-1"},
      {IDS_PAGE_EMAIL_SETTING_2, "42-email-setting-2"},
      {IDS_PAGE_LDAP_SETTING, "43-ldap-setting"},
      {IDS_PAGE_COMMUNICATION_SETTING, "44-communication-setting"},
  };
  g_sheetShots.pages.clear();
  for (const auto& [caption, name] : pages)
    g_sheetShots.pages.emplace_back(app.Text(caption), folder + "\\" + prefix + name + ".bmp");
  SetTimer(nullptr, 0, 100, ShootSheetPages);
  odc::OpenAdministratorSheet(app, window);
}

// The FAX TX and RX Operation, Scan Setting and Report Setting pages of the
// Utility Setting sheet, and the Select Tray and Forward Location dialogs.
void ShootFaxScanPages(HWND window, const std::string& folder, const std::string& prefix) {
  auto path = [&](const char* name) { return folder + "\\" + prefix + name + ".bmp"; };
  auto save = [](HWND w, const std::string& file) {
    Pump(600);
    std::printf("%s %s\n", SaveWindowPicture(w, file) ? "saved" : "FAILED", file.c_str());
  };
  auto page = [&](const char* caption, const char* name) {
    g_steps.push_back([=] {
      HWND sheet = odc::CurrentSettingsSheet();
      if (sheet == nullptr || !IsWindowVisible(sheet)) return false;
      if (SelectSheetPage(sheet, caption)) save(sheet, path(name));
      return true;
    });
  };
  // A dialog opened by a button of the FAX RX page; `inside` runs before a
  // second picture when it is given.
  auto dialog = [&](int button, const char* caption, const char* name,
                    std::function<void(HWND)> inside, const char* secondName) {
    g_steps.push_back([=] {
      HWND sheet = odc::CurrentSettingsSheet();
      HWND rx = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
      PostMessageA(GetDlgItem(rx, button), BM_CLICK, 0, 0);
      return true;
    });
    g_steps.push_back([=] {
      HWND d = VisibleWindow(caption);
      if (d == nullptr) return false;
      save(d, path(name));
      if (inside) {
        inside(d);
        save(d, path(secondName));
      }
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    g_steps.push_back([=] { return VisibleWindow(caption) == nullptr; });
  };
  page("FAX TX Operation", "50-fax-tx-operation");
  page("FAX RX Operation", "51-fax-rx-operation");
  dialog(IDC_RX_SELECT_TRAY, "Select Tray", "52-select-tray", nullptr, nullptr);
  dialog(
      IDC_RX_FORWARD_ON, "Forward Location", "53-forward-location-fax",
      [](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_FWD_EMAIL), BM_CLICK, 0, 0);
        SetDlgItemTextA(d, IDC_FWD_ADDRESS, "frontoffice@example.com");
        SendMessageA(GetDlgItem(d, IDC_FWD_ADVANCED), BM_CLICK, 0, 0);
      },
      "54-forward-location-email");
  page("Scan Setting", "55-scan-setting");
  page("Report Setting", "56-report-setting");
  g_steps.push_back([] {
    PostMessageA(odc::CurrentSettingsSheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return true;
  });
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, RunSteps);
  SendMessageA(window, WM_COMMAND, ID_MACHINE_UTILITY_SETTING, 0);
  KillTimer(nullptr, timer);
  g_steps.clear();
}

}  // namespace

// The short tour of one display scale (scripts/dpi_screenshots.sh): the main
// window at its own start size, the One Touch view after a download, the
// entry and Group dial dialogs and the first page of the Utility Setting
// sheet, named "<prefix>main-window" and so on.
int DisplayScaleTour(odc::App& app, const std::string& folder, const std::string& prefix) {
  HWND window = odc::CreateMainWindow(app, SW_SHOW);
  if (window == nullptr) return 1;
  RECT r;
  GetWindowRect(window, &r);
  MoveWindow(window, 0, 0, r.right - r.left, r.bottom - r.top, TRUE);
  auto shot = [&](const char* name) {
    Pump(600);
    const std::string path = folder + "\\" + prefix + name + ".bmp";
    std::printf("%s %s\n", SaveWindowPicture(window, path) ? "saved" : "FAILED", path.c_str());
  };
  auto command = [&](int id) { SendMessageA(window, WM_COMMAND, id, 0); };
  shot("main-window");
  command(ID_MACHINE_CONNECT);
  command(ID_MACHINE_DOWNLOAD);
  command(ID_VIEW_ONE_TOUCH);
  shot("one-touch");
  // The entry dialog of the first key and the Group dial dialog of key 11.
  LVITEMA select = {};
  select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(app.list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
  g_dialogPicture = folder + "\\" + prefix + "one-touch-entry.bmp";
  SetTimer(nullptr, 0, 100, ShootDialog);
  command(ID_ENTRY_PROPERTY);
  command(ID_VIEW_GROUP);
  Pump(200);
  SendMessageA(app.list, LVM_SETITEMSTATE, 10, reinterpret_cast<LPARAM>(&select));
  g_dialogPicture = folder + "\\" + prefix + "group-dial.bmp";
  SetTimer(nullptr, 0, 100, ShootDialog);
  command(ID_ENTRY_PROPERTY);
  g_dialogPicture = folder + "\\" + prefix + "utility-setting.bmp";
  SetTimer(nullptr, 0, 100, ShootDialog);
  command(ID_MACHINE_UTILITY_SETTING);
  app.modified = false;
  command(ID_MACHINE_DISCONNECT);
  DestroyWindow(window);
  return 0;
}

// odc_screenshot_tour FOLDER [RESOURCE_MODULE] [--brief]: --brief stops after
// the main window's states and the pages of the Utility Setting sheet (what
// ./run shows a newcomer without a display).
int main(int argc, char** argv) {
  std::vector<std::string> args;
  bool brief = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--brief") {
      brief = true;
    } else {
      args.emplace_back(argv[i]);
    }
  }
  const std::string folder = !args.empty() ? args[0] : ".";
  INITCOMMONCONTROLSEX controls = {8, 0x82F};
  InitCommonControlsEx(&controls);
  odc::App app;
  app.instance = GetModuleHandleA(nullptr);
  app.resources = app.instance;
  std::string prefix;
  if (args.size() > 1 && args[1].compare(0, 4, "dpi-") == 0) {
    YesPrompts prompts;
    app.prompts = &prompts;
    if (!odc::RegisterMainWindowClass(app.instance)) return 1;
    return DisplayScaleTour(app, folder, args[1] + "-");
  }
  if (args.size() > 1) {
    app.resources = LoadLibraryA(args[1].c_str());
    if (app.resources == nullptr) return 1;
    prefix = "ja-";
  }
  YesPrompts prompts;
  app.prompts = &prompts;
  if (!odc::RegisterMainWindowClass(app.instance)) return 1;
  HWND window = odc::CreateMainWindow(app, SW_SHOW);
  if (window == nullptr) return 1;
  MoveWindow(window, 40, 40, 900, 560, TRUE);
  auto shot = [&](const char* name) {
    Pump(600);
    const std::string path = folder + "\\" + prefix + name + ".bmp";
    std::printf("%s %s\n", SaveWindowPicture(window, path) ? "saved" : "FAILED", path.c_str());
  };
  auto command = [&](int id) { SendMessageA(window, WM_COMMAND, id, 0); };
  shot("01-start-up");
  command(ID_FILE_NEW);
  command(ID_VIEW_ONE_TOUCH);
  shot("02-new-one-touch");
  command(ID_MACHINE_CONNECT);
  command(ID_MACHINE_DOWNLOAD);
  shot("03-downloaded");
  command(ID_VIEW_ONE_TOUCH);
  shot("04-one-touch");
  command(ID_VIEW_SPEED_DIAL);
  shot("05-speed-dial");
  command(ID_VIEW_GROUP);
  // Key 11 of the demonstration machine holds a Group dial: show its members.
  LVITEMA select = {};
  select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  select.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(app.list, LVM_SETITEMSTATE, 10, reinterpret_cast<LPARAM>(&select));
  shot("06-group");
  // The dialogs, on the demonstration machine's first key and its group.
  auto dialogShot = [&](int view, int row, const char* name) {
    command(ID_VIEW_ONE_TOUCH + view - 1);
    Pump(200);
    SendMessageA(app.list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&select));
    g_dialogPicture = folder + "\\" + prefix + name + ".bmp";
    SetTimer(nullptr, 0, 100, ShootDialog);
    command(ID_ENTRY_PROPERTY);
  };
  dialogShot(1, 0, "07-one-touch-entry");
  dialogShot(2, 1, "08-speed-dial-entry");
  dialogShot(3, 10, "09-group-dial");

  // The settings sheets, page by page, and the dialogs of the Setting menu.
  g_sheetPrefix = folder + "\\" + prefix + "10-utility-";
  SetTimer(nullptr, 0, 100, ShootSheet);
  command(ID_MACHINE_UTILITY_SETTING);
  if (brief) {
    app.modified = false;
    command(ID_MACHINE_DISCONNECT);
    DestroyWindow(window);
    return 0;
  }
  g_sheetPrefix = folder + "\\" + prefix + "11-administrator-";
  SetTimer(nullptr, 0, 100, ShootSheet);
  odc::OpenAdministratorSheet(app, window);
  auto menuDialogShot = [&](int id, const char* name) {
    g_dialogPicture = folder + "\\" + prefix + name + ".bmp";
    SetTimer(nullptr, 0, 100, ShootDialog);
    command(id);
  };
  menuDialogShot(ID_MACHINE_TOTAL_COUNTER, "12-total-counter");
  menuDialogShot(ID_MACHINE_CONFIGURATION, "13-machine-status");
  g_dialogPicture = folder + "\\" + prefix + "14-select-print-items.bmp";
  SetTimer(nullptr, 0, 100, ShootDialog);
  odc::AskPrintItems(app);
  ShootUtilitySheet(window, folder, prefix);
  AdministratorShots(window, folder + "\\" + prefix);
  // The FAX pages with a destination to forward to and a machine that
  // answers after up to 15 rings.
  odc::SetSetting(*app.data, 0x10904, 15);
  odc::SetSetting(*app.data, 0x10903, 2);
  odc::SetSetting(*app.data, 0x10905, 0x00);
  const uint8_t forward[] = {2, 10, 0, 2, 0, 0x60, 0x21, 0x43, 0x65, 0x87};
  std::memcpy(odc::SettingBytes(*app.data, 0x10906), forward, sizeof forward);
  odc::SettingBytes(*app.data, 0x10906)[30] = 0x21;
  odc::PackTransferImage(*app.data);
  ShootFaxScanPages(window, folder, prefix);
  ShootNetworkEmailPages(app, window, folder, prefix);
  // The preview of importing a phone's contacts over the downloaded book.
  const std::string contacts = folder + "\\" + prefix + "contacts.vcf";
  if (FILE* out = std::fopen(contacts.c_str(), "wb")) {
    std::fputs(kTourContacts, out);
    std::fclose(out);
  }
  prompts.nextFile = contacts;
  g_dialogPicture = folder + "\\" + prefix + "60-import-preview.bmp";
  SetTimer(nullptr, 0, 100, ShootDialog);
  command(ID_FILE_IMPORT);
  prompts.nextFile.clear();
  app.modified = false;
  command(ID_MACHINE_DISCONNECT);
  DestroyWindow(window);
  return 0;
}
