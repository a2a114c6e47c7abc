// ModelLauncher.exe: the user picks a machine model and the launcher starts
// that model's Setup.exe from the sub-directory beside it, then ends.
#include <windows.h>

#include <string>

#include "launcher/launch_path.h"
#include "launcher/resource.h"

namespace {

// The launcher's own full file name, and the relative path of the model
// selected in the dialog.
std::string g_launcher_path;
std::string g_selected_path;

// The launcher's path is held as UTF-8, so that a folder whose name the ANSI
// code page cannot carry ("C:\Users\Łukasz\", a Japanese folder on an
// English Windows) still names the right program. In UTF-8 every byte of a
// non-ASCII character is 0x80 or above: none can be taken for a separator,
// and no byte is a lead byte in the code page's sense.
bool NoLeadByte(unsigned char) { return false; }

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string Utf8FromWide(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], size, nullptr, nullptr);
  return utf8;
}

void CentreDialog(HWND dialog) {
  RECT own;
  GetWindowRect(dialog, &own);
  int width = own.right - own.left;
  int height = own.bottom - own.top;
  HWND parent = GetParent(dialog);
  int x, y;
  if (parent) {
    RECT area;
    GetWindowRect(parent, &area);
    x = area.left + (area.right - area.left - width) / 2;
    y = area.top + (area.bottom - area.top - height) / 2;
  } else {
    HDC screen = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
    int screen_width = screen ? GetDeviceCaps(screen, HORZRES) : 0;
    int screen_height = screen ? GetDeviceCaps(screen, VERTRES) : 0;
    if (screen) DeleteDC(screen);
    x = (screen_width - width) / 2;
    y = (screen_height - height) / 2;
  }
  MoveWindow(dialog, x, y, width, height, TRUE);
}

// Takes the module's file name only when it fits whole: a cut-off path would
// point at some other folder.
std::string OwnFileName() {
  wchar_t buffer[512];
  DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), buffer, 512);
  if (length == 0 || length >= 512) return std::string();
  return Utf8FromWide(buffer, static_cast<int>(length));
}

// Starts the program by its full name with a quoted command line, so a folder
// with blanks can neither split the name nor start another program. Whether
// it started is not reported: the launcher closes either way.
void StartModelProgram(const std::string& program) {
  const std::wstring wide_program = WideFromUtf8(program);
  std::wstring command_line = WideFromUtf8(odc::QuotedCommandLine(program));
  if (wide_program.empty() || command_line.empty()) return;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process = {};
  if (CreateProcessW(wide_program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

INT_PTR CALLBACK ModelLauncherDialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      CentreDialog(dialog);
      g_launcher_path = OwnFileName();
      SendDlgItemMessageA(dialog, IDC_MODEL_M30, BM_SETCHECK, BST_CHECKED, 0);
      g_selected_path = odc::kLauncherModels[0].relative_path;
      return FALSE;
    case WM_COMMAND: {
      int id = LOWORD(wparam);
      if (const char* path = odc::ModelPathForRadio(id)) {
        g_selected_path = path;
        return 0;
      }
      if (id == IDOK) {
        if (!g_launcher_path.empty()) {
          StartModelProgram(odc::ModelProgramPath(g_launcher_path, g_selected_path, NoLeadByte));
        }
        EndDialog(dialog, 0);
        return 0;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MODEL_LAUNCHER), nullptr, ModelLauncherDialog, 0);
  return 0;
}
