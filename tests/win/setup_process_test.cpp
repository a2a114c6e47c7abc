// Setup.exe as a process: the main window comes up, a second start ends at
// once with exit code 0, and closing the window ends the program with 0.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>

namespace {

PROCESS_INFORMATION Start(const std::string& program) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string commandLine = "\"" + program + "\"";
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    process.hProcess = nullptr;
  }
  return process;
}

HWND WaitForMainWindow(int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    HWND window = FindWindowA("ODC", nullptr);
    if (window != nullptr) return window;
    Sleep(50);
  }
  return nullptr;
}

TEST(SetupProcess, SingleInstanceAndCleanExit) {
  PROCESS_INFORMATION first = Start(ODC_SETUP_EXE_PATH);
  ASSERT_NE(first.hProcess, nullptr);
  HWND window = WaitForMainWindow(20000);
  ASSERT_NE(window, nullptr);
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Device Configurator - ODC - NewFile.Dat");

  PROCESS_INFORMATION second = Start(ODC_SETUP_EXE_PATH);
  ASSERT_NE(second.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0)
      << "the second copy must end at once";
  DWORD code = 1;
  GetExitCodeProcess(second.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(FindWindowExA(nullptr, window, "ODC", nullptr), nullptr) << "one main window only";

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(first.hProcess, 10000), WAIT_OBJECT_0);
  code = 1;
  GetExitCodeProcess(first.hProcess, &code);
  EXPECT_EQ(code, 0u);
  for (HANDLE h : {first.hProcess, first.hThread, second.hProcess, second.hThread}) CloseHandle(h);
}

// Whether a running process has loaded a module of this file name.
bool HasModule(DWORD processId, const char* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32 module = {};
  module.dwSize = sizeof module;
  bool found = false;
  for (BOOL more = Module32First(snapshot, &module); more && !found;
       more = Module32Next(snapshot, &module)) {
    found = lstrcmpiA(module.szModule, name) == 0;
  }
  CloseHandle(snapshot);
  return found;
}

TEST(SetupProcess, LoadsTheResourceModuleBesideIt) {
  // As shipped: VM40\Setup.exe with Setup.dll beside it.
  PROCESS_INFORMATION process = Start(ODC_RELEASE_SETUP_EXE_PATH);
  ASSERT_NE(process.hProcess, nullptr);
  HWND window = WaitForMainWindow(20000);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(HasModule(process.dwProcessId, "Setup.dll"));
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Device Configurator - ODC - NewFile.Dat");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

}  // namespace
