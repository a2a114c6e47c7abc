// Program entry of Setup.exe.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "setup/shell/app_win32.h"

namespace {

// 1 while a copy of the program runs: the section is shared by every
// process started from this program file.
volatile LONG g_instanceFlag __attribute__((section(".shared"), shared)) = 0;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (InterlockedCompareExchange(&g_instanceFlag, 1, 0) != 0) return 0;
  odc::App app;
  app.instance = instance;
  app.resources = odc::LoadResourceModule(instance);
  auto release = [&app, instance]() {
    if (app.resources != instance) FreeLibrary(app.resources);
    InterlockedExchange(&g_instanceFlag, 0);
  };
  if (!odc::RegisterMainWindowClass(instance)) {
    release();
    return 0;
  }
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {8, 0x82F};
  InitCommonControlsEx(&controls);
  HWND window = odc::CreateMainWindow(app, showCommand);
  if (window == nullptr) {
    CoUninitialize();
    release();
    return 0;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorA(window, app.accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  CoUninitialize();
  if (app.menu != nullptr) DestroyMenu(app.menu);
  release();
  return static_cast<int>(message.wParam);
}
