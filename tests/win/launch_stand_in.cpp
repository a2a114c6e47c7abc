// Stands in for a model's Setup.exe in the launcher test: writes
// "started.txt" beside itself with its command line (as UTF-8), then ends.
// Wide functions throughout, so that it works in any folder.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::wstring marker(path, length);
  marker.erase(marker.find_last_of(L'\\') + 1);
  marker += L"started.txt";
  const wchar_t* command = GetCommandLineW();
  const int size = WideCharToMultiByte(CP_UTF8, 0, command, -1, nullptr, 0, nullptr, nullptr);
  std::string text(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, command, -1, &text[0], size, nullptr, nullptr);
  text.resize(text.size() - 1);  // the NUL
  // Written under another name and then renamed, so the test never reads
  // the marker before its text is in it.
  const std::wstring partial = marker + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
