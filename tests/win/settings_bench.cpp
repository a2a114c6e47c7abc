// Timings of the Utility Setting sheet under Wine, in milliseconds: from the
// menu command to the sheet with its first page up (the first message its
// modal loop takes), and OK with the Machine Setting page changed, to the
// sheet gone. Prints medians; asserts nothing (speed is measured, not
// tested). Argument: a settings data file to open first.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "setup/link/simulated_machine.h"
#include "setup/res/resource.h"
#include "setup/settings/settings_win32.h"
#include "setup/shell/app_win32.h"
#include "tests/win/bench_clock.h"

namespace {

using odc::bench::FixedPrompts;
using odc::bench::Median;
using odc::bench::Now;

double g_shown = 0, g_okPressed = 0;
bool g_done = false;
int g_buzzer = IDC_MS_BUZZER_OFF;

LRESULT CALLBACK FirstMessage(int code, WPARAM wParam, LPARAM lParam) {
  HWND sheet = odc::CurrentSettingsSheet();
  if (code >= 0 && !g_done && sheet != nullptr) {
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (page != nullptr) {
      g_done = true;
      g_shown = Now();
      SendDlgItemMessageA(page, g_buzzer, BM_CLICK, 0, 0);
      g_okPressed = Now();
      PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: odc_settings_bench FILE.DAT\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {8, 0x3FFF};
  InitCommonControlsEx(&controls);
  odc::App app;
  app.instance = GetModuleHandleA(nullptr);
  app.resources = app.instance;
  FixedPrompts prompts;
  prompts.file = argv[1];
  app.prompts = &prompts;
  app.usb.reset(new odc::SimulatedMachine(0));
  app.link = std::make_unique<odc::MachineLink>(*app.usb);
  if (!odc::RegisterMainWindowClass(app.instance)) return 1;
  HWND window = odc::CreateMainWindow(app, SW_HIDE);
  if (window == nullptr) return 1;
  SendMessageA(window, WM_COMMAND, ID_FILE_OPEN, 0);
  if (app.words.dataLoaded == 0) {
    std::fprintf(stderr, "could not open %s\n", argv[1]);
    return 1;
  }
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, FirstMessage, nullptr, GetCurrentThreadId());
  std::vector<double> open, ok;
  for (int run = 0; run < 21; ++run) {
    g_done = false;
    g_buzzer = run % 2 ? IDC_MS_BUZZER_HIGH : IDC_MS_BUZZER_OFF;
    // A message waiting in the queue: the sheet's modal loop takes it first,
    // as soon as the sheet and its first page are up.
    PostMessageA(window, WM_NULL, 0, 0);
    const double start = Now();
    SendMessageA(window, WM_COMMAND, ID_MACHINE_UTILITY_SETTING, 0);
    const double end = Now();
    if (!g_done) {
      std::fprintf(stderr, "the sheet did not come up\n");
      return 1;
    }
    open.push_back(g_shown - start);
    ok.push_back(end - g_okPressed);
  }
  UnhookWindowsHookEx(hook);
  std::printf("Utility Setting sheet, command to first page shown: %.1f ms (median of %zu)\n",
              Median(open), open.size());
  std::printf("OK with Machine Setting changed, to the sheet closed: %.1f ms (median of %zu)\n",
              Median(ok), ok.size());
  app.modified = false;
  DestroyWindow(window);
  return 0;
}
