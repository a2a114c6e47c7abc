// Starts a program, waits until it shows a top-level window, closes that
// window as a user would and waits for the program to end. Used by the
// installer test on the installed programs. Exit code 0 when the window
// appeared and the program ended by itself; the window title is printed.
// Usage: odc_start_probe PROGRAM [SECONDS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process && IsWindowVisible(window) &&
      GetWindow(window, GW_OWNER) == nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: odc_start_probe PROGRAM [SECONDS]\n");
    return 2;
  }
  const std::string program = argv[1];
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 20;
  std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
  std::string command = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    std::printf("cannot start %s (error %lu)\n", program.c_str(), GetLastError());
    return 1;
  }
  Search search = {process.dwProcessId, nullptr};
  for (int waited = 0; waited < seconds * 10 && search.found == nullptr; ++waited) {
    if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
  }
  int result = 1;
  if (search.found != nullptr) {
    char title[256] = {};
    GetWindowTextA(search.found, title, sizeof title);
    std::printf("window: %s\n", title);
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      std::printf("ended with exit code %lu\n", code);
      result = 0;
    } else {
      std::printf("did not end after WM_CLOSE\n");
    }
  } else {
    std::printf("no window appeared\n");
  }
  if (result != 0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}
