// Times Open of a full settings data file up to the filled Speed Dial view
// (240 rows) in the real main window, under Wine with the null graphics
// driver. Prints the figures; asserts nothing. Argument: the data file.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"

namespace {

class FilePrompts : public odc::Prompts {
 public:
  std::string file;
  int Message(HWND, const std::string&, const std::string&, UINT) override { return IDOK; }
  bool ChooseDataFile(HWND, std::string& path, odc::FileDialogMode, const std::string&,
                      const std::string&) override {
    path = file;
    return true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: odc_open_timing DATAFILE\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {8, 0x82F};
  InitCommonControlsEx(&controls);
  odc::App app;
  app.instance = GetModuleHandleA(nullptr);
  app.resources = app.instance;
  FilePrompts prompts;
  prompts.file = argv[1];
  app.prompts = &prompts;
  if (!odc::RegisterMainWindowClass(app.instance)) return 1;
  HWND window = odc::CreateMainWindow(app, SW_HIDE);
  if (window == nullptr) return 1;
  std::vector<double> times;
  for (int run = 0; run < 21; ++run) {
    // From the root, so that every Open refills the Speed Dial view.
    SendMessageA(window, WM_COMMAND, ID_VIEW_ONE_TOUCH, 0);
    const auto start = std::chrono::steady_clock::now();
    SendMessageA(window, WM_COMMAND, ID_FILE_OPEN, 0);
    SendMessageA(window, WM_COMMAND, ID_VIEW_SPEED_DIAL, 0);
    const auto end = std::chrono::steady_clock::now();
    const int rows = static_cast<int>(SendMessageA(app.list, LVM_GETITEMCOUNT, 0, 0));
    if (app.words.dataLoaded != 1 || rows != 240) {
      std::fprintf(stderr, "not loaded (%d rows)\n", rows);
      return 1;
    }
    times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "Open to the filled Speed Dial view (240 rows), %zu runs: median %.2f ms, min %.2f ms, max "
      "%.2f ms\n",
      times.size(), times[times.size() / 2], times.front(), times.back());
  app.modified = false;
  DestroyWindow(window);
  return 0;
}
