// Timings of the main window under Wine, in milliseconds: start of Setup.exe
// to its main window, New, Open of a full file, Download from the simulated
// machine. Prints figures; asserts nothing (speed is measured, not tested).
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "setup/link/simulated_machine.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"
#include "tests/win/bench_clock.h"

namespace {

using odc::bench::FixedPrompts;
using odc::bench::Median;
using odc::bench::Now;

double StartUp(const char* program) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string commandLine = std::string("\"") + program + "\"";
  const double start = Now();
  if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  HWND window = nullptr;
  while ((window = FindWindowA("ODC", nullptr)) == nullptr && Now() - start < 30000) Sleep(1);
  const double elapsed = Now() - start;
  if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return window != nullptr ? elapsed : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: odc_shell_bench SETUP.EXE FULL.DAT\n");
    return 2;
  }
  std::vector<double> startUps;
  for (int i = 0; i < 5; ++i) startUps.push_back(StartUp(argv[1]));

  INITCOMMONCONTROLSEX controls = {8, 0x82F};
  InitCommonControlsEx(&controls);
  odc::App app;
  app.instance = GetModuleHandleA(nullptr);
  app.resources = app.instance;
  FixedPrompts prompts;
  prompts.file = argv[2];
  app.prompts = &prompts;
  auto* machine = new odc::SimulatedMachine(0);
  machine->LoadMemoryFile(argv[2]);
  app.usb.reset(machine);
  app.link = std::make_unique<odc::MachineLink>(*app.usb);
  odc::RegisterMainWindowClass(app.instance);
  HWND window = odc::CreateMainWindow(app, SW_HIDE);
  auto time = [&](int command) {
    const double start = Now();
    SendMessageA(window, WM_COMMAND, command, 0);
    return Now() - start;
  };
  std::vector<double> news, opens, downloads;
  for (int i = 0; i < 20; ++i) {
    news.push_back(time(ID_FILE_NEW));
    opens.push_back(time(ID_FILE_OPEN));
    time(ID_MACHINE_CONNECT);
    downloads.push_back(time(ID_MACHINE_DOWNLOAD));
    time(ID_MACHINE_DISCONNECT);
  }
  std::printf("Setup.exe start to main window: %.1f ms (median of 5)\n", Median(startUps));
  std::printf("New:                            %.2f ms (median of 20)\n", Median(news));
  std::printf("Open of a full file:            %.2f ms (median of 20)\n", Median(opens));
  std::printf("Download from simulated machine: %.2f ms (median of 20)\n", Median(downloads));
  app.modified = false;
  DestroyWindow(window);
  return 0;
}
