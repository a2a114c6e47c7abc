// The main window: creation, layout with its splitter, toolbar, status bar,
// connection status panel, the status poll timer and the close sequence.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "setup/data/file_io.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"

namespace odc {

App* g_app = nullptr;

namespace {

constexpr char kClassName[] = "ODC";
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 3000;

struct ToolButton {
  int image;  // -1 for a separator
  int command;
  UINT tip;
};

constexpr ToolButton kToolButtons[] = {
    {0, ID_MACHINE_CONNECT, IDS_TIP_CONNECT},
    {1, ID_MACHINE_DISCONNECT, IDS_TIP_DISCONNECT},
    {-1, 0, 0},
    {6, ID_MACHINE_UPLOAD, IDS_TIP_UPLOAD},
    {5, ID_MACHINE_DOWNLOAD, IDS_TIP_DOWNLOAD},
    {-1, 0, 0},
    {2, ID_FILE_OPEN, IDS_OPEN},
    {3, ID_FILE_SAVE, IDS_SAVE},
    {7, ID_FILE_NEW, IDS_NEW},
    {-1, 0, 0},
    {4, ID_MACHINE_UTILITY_SETTING, IDS_UTILITY_SETTING},
    {-1, 0, 0},
};

INT_PTR CALLBACK PanelProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  App* app = g_app;
  switch (message) {
    case WM_INITDIALOG:
      if (app != nullptr) {
        app->panel = dialog;
        RefreshConnectionStatus(*app);
      }
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      if (app == nullptr) return FALSE;
      if (app->panelBrush == nullptr) app->panelBrush = CreateSolidBrush(0xDFFFFF);
      SetBkMode(reinterpret_cast<HDC>(lParam), TRANSPARENT);
      return reinterpret_cast<INT_PTR>(app->panelBrush);
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
  }
  return FALSE;
}

// The toolbar strip's corner pixel is its background: it becomes the mask.
// Disabled buttons get a faded grey copy of their picture, so that what is
// unavailable reads at a glance.
void AddToolbarImages(App& app, HBITMAP strip) {
  BITMAP info = {};
  GetObjectA(strip, sizeof info, &info);
  const int width = info.bmWidth;
  const int height = info.bmHeight;
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, strip, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
  const uint32_t background = pixels.empty() ? 0 : pixels[0] & 0xFFFFFF;
  std::vector<uint32_t> faded(pixels);
  for (uint32_t& p : faded) {
    if ((p & 0xFFFFFF) == background) continue;
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    const int grey = 150 + (r * 30 + g * 59 + b * 11) / 100 * 35 / 100;
    p = static_cast<uint32_t>((grey << 16) | (grey << 8) | grey);
  }
  void* bits = nullptr;
  HBITMAP fadedStrip = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  const COLORREF mask = RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
  ImageList_AddMasked(app.toolbarImages, strip, mask);
  if (fadedStrip != nullptr && bits != nullptr) {
    std::memcpy(bits, faded.data(), faded.size() * sizeof(uint32_t));
    ImageList_AddMasked(app.disabledToolbarImages, fadedStrip, mask);
    DeleteObject(fadedStrip);
  }
}

// The toolbar's pictures from the set for the window's DPI; the lists they
// replace are destroyed.
void LoadToolbarImages(App& app) {
  const ImageSet& set = app.metrics.images;
  HIMAGELIST oldImages = app.toolbarImages;
  HIMAGELIST oldDisabled = app.disabledToolbarImages;
  const int size = set.toolbarImageSize;
  app.toolbarImages = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 8, 0);
  app.disabledToolbarImages = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 8, 0);
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(
      app.resources, MAKEINTRESOURCEA(set.toolbarBitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap != nullptr) {
    AddToolbarImages(app, bitmap);
    DeleteObject(bitmap);
  }
  SendMessageA(app.toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(app.toolbarImages));
  SendMessageA(app.toolbar, TB_SETDISABLEDIMAGELIST, 0,
               reinterpret_cast<LPARAM>(app.disabledToolbarImages));
  SendMessageA(app.toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  SendMessageA(app.toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(size, size));
  SendMessageA(app.toolbar, TB_AUTOSIZE, 0, 0);
  if (oldImages != nullptr) ImageList_Destroy(oldImages);
  if (oldDisabled != nullptr) ImageList_Destroy(oldDisabled);
}

// The tool tips follow the buttons when they change size.
void UpdateToolTipRects(App& app) {
  if (app.tooltip == nullptr) return;
  for (const ToolButton& b : kToolButtons) {
    if (b.image < 0) continue;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = app.toolbar;
    tool.uId = b.command;
    SendMessageA(app.toolbar, TB_GETRECT, b.command, reinterpret_cast<LPARAM>(&tool.rect));
    SendMessageA(app.tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CreateToolbar(App& app) {
  TBBUTTON buttons[12] = {};
  for (int i = 0; i < 12; ++i) {
    const ToolButton& b = kToolButtons[i];
    buttons[i].iBitmap = b.image < 0 ? 0 : b.image;
    buttons[i].idCommand = b.command;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = b.image < 0 ? BTNS_SEP : BTNS_BUTTON;
  }
  const int size = app.metrics.images.toolbarImageSize;
  app.toolbar = CreateToolbarEx(app.main, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, IDC_TOOLBAR, 8,
                                app.resources, IDB_TOOLBAR, buttons, 12, size, size, size, size,
                                sizeof(TBBUTTON));
  if (app.toolbar == nullptr) return;
  SendMessageA(app.toolbar, TB_AUTOSIZE, 0, 0);
  LoadToolbarImages(app);

  app.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                app.toolbar, nullptr, app.instance, nullptr);
  if (app.tooltip == nullptr) return;
  SendMessageA(app.toolbar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(app.tooltip), 0);
  for (int i = 0; i < 12; ++i) {
    const ToolButton& b = kToolButtons[i];
    if (b.image < 0) continue;
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS | TTF_CENTERTIP;
    tool.hwnd = app.toolbar;
    tool.uId = b.command;
    tool.hinst = app.resources;
    tool.lpszText = MAKEINTRESOURCEA(b.tip);
    SendMessageA(app.toolbar, TB_GETRECT, b.command, reinterpret_cast<LPARAM>(&tool.rect));
    SendMessageA(app.tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CreateStatusBar(App& app) {
  app.status =
      CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "", app.main, IDC_STATUS_BAR);
  if (app.status == nullptr) return;
  std::array<int, 6> edges = app.metrics.initialStatusEdges;
  SendMessageA(app.status, SB_SETPARTS, 6, reinterpret_cast<LPARAM>(edges.data()));
  SendMessageA(app.status, SB_SETTEXTA, 0 | SBT_NOBORDERS,
               reinterpret_cast<LPARAM>(app.Text(IDS_STATUS_HELP).c_str()));
  SetStatusText(app, 1, app.Text(IDS_STATUS_READY));
  for (int command : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
    RefreshLockIndicators(app, command);
  }
}

int ClientWidth(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  return r.right;
}

void DrawSplitterLine(App& app, int x) {
  RECT client;
  GetClientRect(app.main, &client);
  RECT bar = {};
  if (app.toolbar != nullptr) GetClientRect(app.toolbar, &bar);
  HDC dc = GetDC(app.main);
  const MainWindowMetrics& m = app.metrics;
  HPEN pen = CreatePen(PS_SOLID, m.dragLineWidth, RGB(0, 0, 0));
  HGDIOBJ old = SelectObject(dc, pen);
  const int oldMode = SetROP2(dc, R2_NOTXORPEN);
  MoveToEx(dc, x, bar.bottom + m.dragLineInset, nullptr);
  LineTo(dc, x, client.bottom - m.statusBarReserve);
  SetROP2(dc, oldMode);
  SelectObject(dc, old);
  DeleteObject(pen);
  ReleaseDC(app.main, dc);
}

// The ignore rules of a splitter drag; true when the move counts.
bool MoveSplitter(App& app, int x) {
  const int width = ClientWidth(app.main);
  const int margin = app.metrics.splitterMargin;
  if (app.splitter < margin && x <= margin) return false;
  if (width - app.splitter < margin && x >= app.splitter) return false;
  int position = x < margin ? margin : x;
  if (position > width - margin) position = width - margin;
  app.splitter = position;
  return true;
}

// The work area of the screen (0 x 0 when there is none to ask).
PixelSize WorkArea() {
  RECT area = {};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return {};
  return {area.right - area.left, area.bottom - area.top};
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

// The panes' fonts as created: the base from which they are scaled.
void RecordPaneFonts(App& app) {
  HWND panelText = app.panel != nullptr ? GetDlgItem(app.panel, IDC_CONNECT_STATUS_TEXT) : nullptr;
  const HWND panes[] = {app.tree, app.list, app.memberList, app.status, panelText};
  for (size_t i = 0; i < app.paneFonts.size(); ++i) {
    App::PaneFont& f = app.paneFonts[i];
    f.window = panes[i];
    f.created = f.window != nullptr
                    ? reinterpret_cast<HFONT>(SendMessageA(f.window, WM_GETFONT, 0, 0))
                    : nullptr;
    if (f.created == nullptr) f.created = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  app.fontDpi = app.metrics.dpi;
}

// Every pane gets its font as created, scaled from the DPI it was created at
// to the window's DPI now.
void ApplyPaneFonts(App& app) {
  for (App::PaneFont& f : app.paneFonts) {
    if (f.window == nullptr || !IsWindow(f.window)) continue;
    HFONT font = f.created;
    HFONT scaled = nullptr;
    if (app.metrics.dpi != app.fontDpi) {
      LOGFONTA logFont = {};
      if (GetObjectA(f.created, sizeof logFont, &logFont) != 0) {
        logFont.lfHeight = RescaleLength(logFont.lfHeight, app.fontDpi, app.metrics.dpi);
        logFont.lfWidth = RescaleLength(logFont.lfWidth, app.fontDpi, app.metrics.dpi);
        scaled = CreateFontIndirectA(&logFont);
        if (scaled != nullptr) font = scaled;
      }
    }
    SendMessageA(f.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (f.scaled != nullptr) DeleteObject(f.scaled);
    f.scaled = scaled;
  }
  if (app.status != nullptr) SendMessageA(app.status, WM_SIZE, 0, 0);
}

void ReleasePaneFonts(App& app) {
  for (App::PaneFont& f : app.paneFonts) {
    if (f.scaled != nullptr) DeleteObject(f.scaled);
    f = App::PaneFont();
  }
}

// The panel's text keeps the place it was laid out in (dialog units at the
// DPI the panel was created at): in proportion at another DPI.
void RescalePanelText(App& app, int fromDpi, int toDpi) {
  HWND text = app.panel != nullptr ? GetDlgItem(app.panel, IDC_CONNECT_STATUS_TEXT) : nullptr;
  if (text == nullptr) return;
  RECT r;
  GetWindowRect(text, &r);
  MapWindowPoints(nullptr, app.panel, reinterpret_cast<POINT*>(&r), 2);
  const auto scale = [&](int v) { return RescaleLength(v, fromDpi, toDpi); };
  MoveWindow(text, scale(r.left), scale(r.top), scale(r.right - r.left), scale(r.bottom - r.top),
             TRUE);
}

// Column widths of a list view, from one DPI to another.
void RescaleColumns(HWND list, int fromDpi, int toDpi) {
  if (list == nullptr) return;
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int count =
      header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int c = 0; c < count; ++c) {
    const int width = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, c, 0));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, c, RescaleLength(width, fromDpi, toDpi));
  }
}

void OnCreate(App& app, HWND window) {
  app.main = window;
  app.metrics = MainWindowMetricsForDpi(WindowDpi(window));
  BuildTransferImage(*app.data);
  {
    // Created at the screen's DPI; the monitor it landed on may have another.
    const PixelSize work = WorkArea();
    const PixelSize size = StartWindowSize(app.metrics, work.width, work.height);
    RECT r;
    GetWindowRect(window, &r);
    if (r.right - r.left != size.width || r.bottom - r.top != size.height) {
      SetWindowPos(window, nullptr, 0, 0, size.width, size.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  CentreWindow(window);
  app.words.dataLoaded = 0;
  app.splitter = 0;
  app.treeImages = CreateTreeImageList(app.resources, app.metrics.dpi);
  CreateToolbar(app);
  CreateStatusBar(app);
  app.tree = CreateNavigationTree(app.resources, window, app.treeImages);
  app.list = CreateMainList(app.resources, window, app.treeImages);
  app.memberList = CreateGroupMemberList(app.resources, window, app.treeImages);
  ResetNavigationTree(app);
  CreateDialogParamA(app.resources, MAKEINTRESOURCEA(IDD_CONNECT_STATUS), window, PanelProc, 0);
  // Panes overlap while no data set is loaded: each paints only its own
  // visible part.
  for (HWND pane : {app.tree, app.list, app.memberList, app.panel}) {
    if (pane != nullptr) {
      SetWindowLongPtrA(pane, GWL_STYLE, GetWindowLongPtrA(pane, GWL_STYLE) | WS_CLIPSIBLINGS);
    }
  }
  RecordPaneFonts(app);
  UpdateToolTipRects(app);
  SetFocus(app.tree);
  app.words.selected = -1;
  app.words.focus = 0;
  app.words.zero = 0;
  app.words.view = 0;
  SendMessageA(window, WM_INITMENU, 0, 0);
  SetTimer(window, kPollTimer, kPollPeriodMs, nullptr);
}

void DestroyChildren(App& app) {
  for (HWND* w : {&app.tooltip, &app.toolbar, &app.status, &app.panel}) {
    if (*w != nullptr) DestroyWindow(*w);
    *w = nullptr;
  }
  for (HIMAGELIST* images : {&app.treeImages, &app.toolbarImages, &app.disabledToolbarImages}) {
    if (*images != nullptr) ImageList_Destroy(*images);
    *images = nullptr;
  }
  ReleasePaneFonts(app);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  App* app = g_app;
  if (app == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      OnCreate(*app, window);
      return 0;
    case WM_SIZE:
      LayoutMainWindow(*app);
      return 0;
    case WM_DPICHANGED:
      ApplyWindowDpi(*app, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      if (app->words.dataLoaded == 0) return 0;
      SetCapture(window);
      app->dragging = true;
      DrawSplitterLine(*app, app->splitter);
      return 0;
    case WM_MOUSEMOVE:
      if (app->words.dataLoaded == 0) return 0;
      if (app->dragging && (wParam & MK_LBUTTON)) {
        const int x = static_cast<short>(LOWORD(lParam));
        const int old = app->splitter;
        if (MoveSplitter(*app, x)) {
          DrawSplitterLine(*app, old);
          DrawSplitterLine(*app, app->splitter);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (app->words.dataLoaded == 0 || !app->dragging) return 0;
      ReleaseCapture();
      app->dragging = false;
      {
        const int old = app->splitter;
        MoveSplitter(*app, static_cast<short>(LOWORD(lParam)));
        DrawSplitterLine(*app, old);
      }
      if (app->words.view != 0) {
        ShowWindow(app->list, SW_HIDE);
        ShowWindow(app->list, SW_SHOW);
      }
      if (app->words.view == 3) {
        ShowWindow(app->memberList, SW_HIDE);
        ShowWindow(app->memberList, SW_SHOW);
      }
      LayoutMainWindow(*app);
      return 0;
    case WM_COMMAND:
      return HandleCommand(window, wParam);
    case WM_TIMER:
      if (wParam == kPollTimer && app->link->poll) TickStatusPoll(*app->link, *app);
      break;
    case WM_INITMENU:
      UpdateMenuState(*app);
      return 0;
    case WM_NOTIFY: {
      NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
      switch (header->idFrom) {
        case IDC_NAVIGATION_TREE:
          app->words.focus = 1;
          return OnTreeSelectionChanged(*app, header);
        case IDC_MAIN_LIST:
          app->words.focus = 0;
          return OnMainListNotify(*app, header);
        case IDC_GROUP_MEMBER_LIST:
          app->words.focus = 0;
          return OnGroupMemberListNotify(*app, header);
      }
      return 0;
    }
    case WM_CONTEXTMENU: {
      POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      POINT client = screen;
      ScreenToClient(window, &client);
      HWND child = ChildWindowFromPoint(window, client);
      if (child == app->tree) {
        ShowTreeMenu(*app, screen);
      } else if (child == app->list) {
        ShowEntryMenu(*app, screen);
      }
      break;
    }
    case WM_SYSCOLORCHANGE: {
      HBRUSH fresh = GetSysColorBrush(COLOR_BTNFACE);
      SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(fresh));
      break;
    }
    case WM_CLOSE:
      CloseMainWindow(*app);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kPollTimer);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

App::App()
    : data(std::make_unique<DataSet>()),
      imports(std::make_unique<ImportBuffers>()),
      usb(MakeUsbPlatform()) {
  link = std::make_unique<MachineLink>(*usb);
}

App::~App() {
  if (panelBrush != nullptr) DeleteObject(panelBrush);
  if (g_app == this) g_app = nullptr;
}

std::string App::Text(UINT id) const {
  char buffer[1024];
  const int length = LoadStringA(resources, id, buffer, sizeof buffer);
  if (length <= 0 && resources != instance) {
    // A language module without the string: the program's own.
    return std::string(buffer, LoadStringA(instance, id, buffer, sizeof buffer));
  }
  return std::string(buffer, length > 0 ? length : 0);
}

std::string App::TextUtf8(UINT id) const {
  wchar_t buffer[1024];
  int length = LoadStringW(resources, id, buffer, 1024);
  if (length <= 0 && resources != instance) length = LoadStringW(instance, id, buffer, 1024);
  return Utf8FromWide(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

int App::Message(const std::string& text, UINT type) const {
  return prompts->Message(main, text, Text(IDS_APP_TITLE), type);
}

int App::MessageWithPath(UINT formatId, const std::string& path, UINT type) const {
  return prompts->MessageUtf8(main, InsertPath(TextUtf8(formatId), path), TextUtf8(IDS_APP_TITLE),
                              type);
}

void App::ShowLinkMessage(LinkMessage message) {
  UINT id = IDS_MACHINE_DATA_ERROR;
  switch (message) {
    case LinkMessage::ErrorOpeningPort:
      id = IDS_USB_PORT_ERROR;
      break;
    case LinkMessage::MachineOperating:
      id = IDS_MACHINE_OPERATING;
      break;
    case LinkMessage::DisconnectedByTimeout:
      id = IDS_DISCONNECTED_BY_TIMEOUT;
      break;
    case LinkMessage::DisconnectedByTrouble:
      id = IDS_DISCONNECTED_BY_TROUBLE;
      break;
    case LinkMessage::ConnectAgain:
      id = IDS_CONNECT_AGAIN;
      break;
    case LinkMessage::MachineDataError:
      id = IDS_MACHINE_DATA_ERROR;
      break;
  }
  Message(id, MB_OK);
}

void App::SendDisconnectCommand() { SendMessageA(main, WM_COMMAND, ID_MACHINE_DISCONNECT, 0); }

void App::ShowReadyStatus() { SetStatusText(*this, 1, Text(IDS_STATUS_READY)); }

void CentreWindow(HWND window) {
  HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (ic == nullptr) return;
  const int screenWidth = GetDeviceCaps(ic, HORZRES);
  const int screenHeight = GetDeviceCaps(ic, VERTRES);
  DeleteDC(ic);
  if (screenWidth <= 0 || screenHeight <= 0) return;  // no display to centre on
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  MoveWindow(window, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height, TRUE);
}

int WindowDpi(HWND window) {
  // Windows 10 (1607) and later know each monitor's DPI; older Windows and
  // Wine versions without the call have one DPI for the whole screen.
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const GetDpiForWindowCall getDpiForWindow = [] {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    FARPROC address = user32 != nullptr ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
    GetDpiForWindowCall call = nullptr;
    static_assert(sizeof call == sizeof address, "function pointers differ in size");
    std::memcpy(&call, &address, sizeof call);
    return call;
  }();
  if (getDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  HDC dc = GetDC(window);
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : kDefaultDpi;
  if (dc != nullptr) ReleaseDC(window, dc);
  return dpi > 0 ? dpi : kDefaultDpi;
}

HIMAGELIST CreateTreeImageList(HMODULE resources, int dpi) {
  const ImageSet set = ImageSetForDpi(dpi);
  HIMAGELIST images =
      ImageList_Create(set.treeIconWidth, set.treeIconHeight, ILC_COLOR4, ODC_TREE_ICON_COUNT, 0);
  HBITMAP icons = static_cast<HBITMAP>(
      LoadImageA(resources, MAKEINTRESOURCEA(set.treeBitmap), IMAGE_BITMAP, 0, 0, 0));
  if (icons != nullptr) {
    ImageList_Add(images, icons, nullptr);
    DeleteObject(icons);
  }
  return images;
}

void ApplyWindowDpi(App& app, int dpi, const RECT* suggested) {
  if (app.main == nullptr) return;
  const int oldDpi = app.metrics.dpi;
  app.metrics = MainWindowMetricsForDpi(dpi);
  const int newDpi = app.metrics.dpi;
  if (newDpi != oldDpi) {
    HIMAGELIST oldTree = app.treeImages;
    app.treeImages = CreateTreeImageList(app.resources, newDpi);
    if (app.tree != nullptr) {
      SendMessageA(app.tree, TVM_SETIMAGELIST, TVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(app.treeImages));
    }
    for (HWND list : {app.list, app.memberList}) {
      if (list != nullptr) {
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(app.treeImages));
      }
    }
    if (oldTree != nullptr) ImageList_Destroy(oldTree);
    if (app.toolbar != nullptr) {
      LoadToolbarImages(app);
      UpdateToolTipRects(app);
    }
    ApplyPaneFonts(app);
    RescalePanelText(app, oldDpi, newDpi);
    RescaleColumns(app.list, oldDpi, newDpi);
    RescaleColumns(app.memberList, oldDpi, newDpi);
    if (app.splitter != 0) app.splitter = RescaleLength(app.splitter, oldDpi, newDpi);
  }
  if (suggested != nullptr) {
    SetWindowPos(app.main, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  LayoutMainWindow(app);
  UpdateToolTipRects(app);
}

std::string ModuleFileName(HMODULE module) {
  // Long paths are allowed on today's Windows: grow until the name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) return Utf8FromWide(path.data(), length);
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
}

HMODULE LoadResourceModule(HINSTANCE instance) {
  // The module's path goes through UTF-16 all the way: a program installed
  // under a folder outside the code page still finds its DLL.
  std::string name = ModuleFileName(instance);
  if (name.empty()) return instance;
  const size_t slash = name.find_last_of("\\/");
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.erase(dot);
  name += ".DLL";
  const std::wstring wide = WideFromUtf8(name);
  HANDLE file =
      CreateFileW(wide.c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return instance;
  CloseHandle(file);
  HMODULE module = LoadLibraryW(wide.c_str());
  return module != nullptr ? module : instance;
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SETUP));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_SPLITTER));
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateMainWindow(App& app, int showCommand) {
  g_app = &app;
  if (app.prompts == nullptr) {
    static WindowsPrompts windowsPrompts;
    app.prompts = &windowsPrompts;
  }
  app.data->language = LanguageFromName(app.Text(IDS_LANGUAGE));
  app.document = Document();
  app.document.filePath = app.document.displayName = app.TextUtf8(IDS_DEFAULT_FILE_NAME);
  // Created with its whole title, as the code page has it, so that nobody
  // ever sees a title without the file name; then set again in full.
  const std::string title = app.Text(IDS_APP_TITLE) + " - " + app.Text(IDS_DEFAULT_FILE_NAME);
  // The start size at the screen's DPI; the window corrects it when its
  // monitor has another.
  const PixelSize work = WorkArea();
  const PixelSize size =
      StartWindowSize(MainWindowMetricsForDpi(SystemDpi()), work.width, work.height);
  HWND window = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, size.width, size.height, nullptr, nullptr,
                                app.instance, nullptr);
  if (window == nullptr) return nullptr;
  SetWindowTitle(app);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  app.menu = LoadMenuA(app.resources, MAKEINTRESOURCEA(IDR_MAIN_MENU));
  SetMenu(window, app.menu);
  app.accelerators = LoadAcceleratorsA(app.instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  UpdateMenuState(app);
  return window;
}

void SetWindowTitle(App& app) {
  // The file name is UTF-8 and may hold characters the code page lacks.
  // The main window is an ANSI window, so SetWindowTextW would hand the text
  // to its procedure through the code page; the wide default procedure
  // stores it as it is.
  const std::wstring title =
      WideFromUtf8(app.TextUtf8(IDS_APP_TITLE) + " - " + app.document.displayName);
  DefWindowProcW(app.main, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
}

void SetStatusText(App& app, int part, const std::string& text) {
  if (app.status != nullptr) {
    SendMessageA(app.status, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void RefreshLockIndicators(App& app, int command) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  struct Indicator {
    int command, part, key;
    UINT text;
  };
  const Indicator indicators[] = {{ID_INDICATOR_CAPS, 3, VK_CAPITAL, IDS_INDICATOR_CAPS},
                                  {ID_INDICATOR_NUM, 4, VK_NUMLOCK, IDS_INDICATOR_NUM},
                                  {ID_INDICATOR_SCRL, 5, VK_SCROLL, IDS_INDICATOR_SCRL}};
  for (const Indicator& i : indicators) {
    if (i.command != command) continue;
    SetStatusText(app, i.part, (keys[i.key] & 1) ? app.Text(i.text) : std::string(" "));
  }
}

void LayoutMainWindow(App& app) {
  if (app.main == nullptr) return;
  RECT client;
  GetClientRect(app.main, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (app.splitter == 0) app.splitter = width / 3;
  int top = 0;
  if (app.toolbar != nullptr) {
    SendMessageA(app.toolbar, TB_AUTOSIZE, 0, 0);
    RECT bar;
    GetClientRect(app.toolbar, &bar);
    top = bar.bottom;
  }
  const MainWindowMetrics& m = app.metrics;
  const int pane = height - top - m.statusBarReserve;
  const int s = app.splitter;
  if (app.tree != nullptr) MoveWindow(app.tree, 0, top, s - m.treeGap, pane, TRUE);
  if (app.words.dataLoaded == 0) {
    if (app.panel != nullptr) {
      MoveWindow(app.panel, 0, top, width, pane, TRUE);
      SetWindowPos(app.panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  } else if (app.words.view == 0) {
    if (app.panel != nullptr) {
      MoveWindow(app.panel, s, top, width - s, pane, TRUE);
      SetWindowPos(app.panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  } else if (app.words.view == 3) {
    const int listWidth = (width - s) * 4 / 7;
    MoveWindow(app.list, s, top, listWidth, pane, TRUE);
    SetWindowPos(app.list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MoveWindow(app.memberList, s + listWidth, top, width - s - listWidth, pane, TRUE);
  } else {
    MoveWindow(app.list, s, top, width - s, pane, TRUE);
    SetWindowPos(app.list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  if (app.status != nullptr) {
    std::array<int, 6> edges = StatusPartEdges(m, width);
    SendMessageA(app.status, SB_SETPARTS, 6, reinterpret_cast<LPARAM>(edges.data()));
    SendMessageA(app.status, WM_SIZE, 0, 0);
  }
}

bool CloseMainWindow(App& app) {
  if (app.modified) {
    const int answer =
        app.MessageWithPath(IDS_SAVE_CHANGES_PROMPT, app.document.filePath, MB_YESNOCANCEL);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) {
      SendMessageA(app.main, WM_COMMAND,
                   NeedsFileName(app.document) ? ID_FILE_SAVE_AS : ID_FILE_SAVE, 0);
      // A save that was cancelled or failed keeps the changes: closing now
      // would lose them.
      if (app.modified) return false;
    }
    app.modified = false;
  }
  app.words.dataLoaded = 0;
  DestroyChildren(app);
  if (app.link->poll) {
    if (OpenMachinePort(*app.link) == 0) {
      DisconnectRequest(*app.link, app);
      CloseMachinePort(*app.link);
    }
  }
  DestroyWindow(app.main);
  return true;
}

}  // namespace odc
