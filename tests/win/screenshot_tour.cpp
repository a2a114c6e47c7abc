// Runs Setup's main window on a real display through its main states and
// saves a picture of each: start-up, New, Download, the three views and the
// entry and Group dial dialogs. A second argument names a language module
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
#include <vector>

#include "setup/res/resource.h"
#include "setup/settings/settings_win32.h"
#include "setup/shell/app_win32.h"

namespace {

class YesPrompts : public odc::Prompts {
 public:
  int Message(HWND, const std::string&, const std::string&, UINT type) override {
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDYES;
  }
  bool ChooseDataFile(HWND, std::string&, odc::FileDialogMode, const std::string&,
                      const std::string&) override {
    return false;
  }
};

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

// Steps run from a timer inside the modal loops of a settings sheet and its
// dialogs; each returns false while what it waits for is not up yet.
std::deque<std::function<bool()>> g_sheetSteps;
bool g_sheetBusy = false;

void CALLBACK RunSheetStep(HWND, UINT, UINT_PTR, DWORD) {
  if (g_sheetBusy) return;
  g_sheetBusy = true;
  while (!g_sheetSteps.empty() && g_sheetSteps.front()()) g_sheetSteps.pop_front();
  g_sheetBusy = false;
}

HWND ShownDialog(const char* caption) {
  HWND dialog = FindWindowA("#32770", caption);
  return dialog != nullptr && IsWindowVisible(dialog) ? dialog : nullptr;
}

bool ShowSheetPage(HWND sheet, const char* caption) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  const int n = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[128] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
    if (std::strcmp(text, caption) == 0) {
      SendMessageA(sheet, PSM_SETCURSEL, i, 0);
      return true;
    }
  }
  return false;
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
    g_sheetSteps.push_back([=] {
      HWND sheet = odc::CurrentSettingsSheet();
      if (sheet == nullptr || !IsWindowVisible(sheet)) return false;
      if (ShowSheetPage(sheet, caption)) save(sheet, path(name));
      return true;
    });
  };
  // A dialog opened by a button of the FAX RX page; `inside` runs before a
  // second picture when it is given.
  auto dialog = [&](int button, const char* caption, const char* name,
                    std::function<void(HWND)> inside, const char* secondName) {
    g_sheetSteps.push_back([=] {
      HWND sheet = odc::CurrentSettingsSheet();
      HWND rx = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
      PostMessageA(GetDlgItem(rx, button), BM_CLICK, 0, 0);
      return true;
    });
    g_sheetSteps.push_back([=] {
      HWND d = ShownDialog(caption);
      if (d == nullptr) return false;
      save(d, path(name));
      if (inside) {
        inside(d);
        save(d, path(secondName));
      }
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    g_sheetSteps.push_back([=] { return ShownDialog(caption) == nullptr; });
  };
  page("FAX TX Operation", "30-fax-tx-operation");
  page("FAX RX Operation", "31-fax-rx-operation");
  dialog(IDC_RX_SELECT_TRAY, "Select Tray", "32-select-tray", nullptr, nullptr);
  dialog(
      IDC_RX_FORWARD_ON, "Forward Location", "33-forward-location-fax",
      [](HWND d) {
        SendMessageA(GetDlgItem(d, IDC_FWD_EMAIL), BM_CLICK, 0, 0);
        SetDlgItemTextA(d, IDC_FWD_ADDRESS, "frontoffice@example.com");
        SendMessageA(GetDlgItem(d, IDC_FWD_ADVANCED), BM_CLICK, 0, 0);
      },
      "34-forward-location-email");
  page("Scan Setting", "35-scan-setting");
  page("Report Setting", "36-report-setting");
  g_sheetSteps.push_back([] {
    PostMessageA(odc::CurrentSettingsSheet(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    return true;
  });
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, RunSheetStep);
  SendMessageA(window, WM_COMMAND, ID_MACHINE_UTILITY_SETTING, 0);
  KillTimer(nullptr, timer);
  g_sheetSteps.clear();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  INITCOMMONCONTROLSEX controls = {8, 0x82F};
  InitCommonControlsEx(&controls);
  odc::App app;
  app.instance = GetModuleHandleA(nullptr);
  app.resources = app.instance;
  std::string prefix;
  if (argc > 2) {
    app.resources = LoadLibraryA(argv[2]);
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
  app.modified = false;
  command(ID_MACHINE_DISCONNECT);
  DestroyWindow(window);
  return 0;
}
