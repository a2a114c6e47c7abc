// Stands in for a model's Setup.exe in the launcher test: writes
// "started.txt" beside itself with its command line, then ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string marker(path, length);
  marker.erase(marker.find_last_of('\\') + 1);
  marker += "started.txt";
  std::string text = GetCommandLineA();
  // Written under another name and then renamed, so the test never reads
  // the marker before its text is in it.
  const std::string partial = marker + ".part";
  HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExA(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
