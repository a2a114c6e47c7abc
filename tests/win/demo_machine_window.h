// The hidden main window of a test, talking to the simulated demonstration
// machine: the set-up and tear-down that the window tests share.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "setup/link/simulated_machine.h"
#include "setup/shell/app_win32.h"
#include "tests/win/scripted_prompts.h"

namespace odc {

class DemoMachineWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = [] {
      INITCOMMONCONTROLSEX controls = {8, 0x3FFF};
      InitCommonControlsEx(&controls);
      return RegisterMainWindowClass(GetModuleHandleA(nullptr));
    }();
    ASSERT_TRUE(registered);
    app.instance = GetModuleHandleA(nullptr);
    app.resources = app.instance;
    app.prompts = &prompts;
    machine = new SimulatedMachine(0);
    ASSERT_EQ(machine->LoadMemoryFile(ODC_DEMO_MACHINE_PATH), 1);
    app.usb.reset(machine);
    app.link = std::make_unique<MachineLink>(*app.usb);
    window = CreateMainWindow(app, SW_HIDE);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (IsWindow(window)) {
      app.modified = false;
      DestroyWindow(window);
    }
    // A closed main window posts WM_QUIT; left in the queue it would end the
    // next test's modal dialogs at once.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  void Command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }

  App app;
  ScriptedPrompts prompts;
  SimulatedMachine* machine = nullptr;
  HWND window = nullptr;
};

}  // namespace odc
