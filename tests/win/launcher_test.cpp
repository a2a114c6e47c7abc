// ModelLauncher.exe run as it ships, in a folder with blanks in its name,
// with stand-in Setup.exe programs in the model folders. The test clicks the
// dialog's buttons from outside and looks at which stand-in wrote its marker.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kModelFolders[] = {"VM30", "VM35", "VM40", "VM45"};

// Paths are UTF-8 here and go to the wide functions: the launcher must
// work in folders that the ANSI code page cannot name.
std::wstring W(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 3 + 1, '\0');
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(length > 0 ? length : 0);
  return utf8;
}

std::string ModuleDirectory() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string dir = Utf8(std::wstring(path, length));
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Built(const char* file_name, const char* build_path) {
  std::string beside = ModuleDirectory() + file_name;
  if (Exists(beside)) return beside;
  return build_path;
}

std::string ReadAll(const std::string& path) {
  HANDLE file = CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[2048];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(W(dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = Utf8(found.cFileName);
      if (name == "." || name == "..") continue;
      std::string path = dir + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(W(path).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(W(dir).c_str());
}

bool MakeFolder(const std::string& path) { return CreateDirectoryW(W(path).c_str(), nullptr); }

bool Copy(const std::string& from, const std::string& to) {
  return CopyFileW(W(from).c_str(), W(to).c_str(), FALSE);
}

struct FindDialog {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  FindDialog* search = reinterpret_cast<FindDialog*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[16];
  // The dialog counts once it is shown: before that its controls may not
  // exist yet and WM_INITDIALOG may not have run.
  if (owner == search->process_id && GetClassNameA(window, class_name, sizeof class_name) &&
      std::string(class_name) == "#32770" && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

class LauncherTest : public ::testing::Test {
 protected:
  // The blank in "ODC Setup" is what an unquoted command line trips over:
  // it would start root\ODC.exe, the decoy, instead of the model.
  virtual std::string FolderName() const { return "ODC Setup"; }

  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    root_ = Utf8(temp) + "odc-launcher-" + std::to_string(GetCurrentProcessId());
    RemoveTree(root_);
    ASSERT_TRUE(MakeFolder(root_));
    folder_ = root_ + "\\" + FolderName();
    ASSERT_TRUE(MakeFolder(folder_));
    std::string launcher = Built("ModelLauncher.exe", ODC_MODEL_LAUNCHER_PATH);
    std::string stand_in = Built("odc_launch_stand_in.exe", ODC_LAUNCH_STAND_IN_PATH);
    ASSERT_TRUE(Copy(launcher, folder_ + "\\ModelLauncher.exe")) << launcher;
    for (const char* model : kModelFolders) {
      std::string dir = folder_ + "\\" + model;
      ASSERT_TRUE(MakeFolder(dir));
      ASSERT_TRUE(Copy(stand_in, dir + "\\Setup.exe")) << stand_in;
    }
    ASSERT_TRUE(Copy(stand_in, root_ + "\\ODC.exe"));
  }

  void TearDown() override { RemoveTree(root_); }

  // Starts the launcher, runs `drive` on its dialog, and waits for the
  // launcher to end. Returns its exit code, or -1 when it never ended.
  template <typename Drive>
  long RunLauncher(Drive drive) {
    std::wstring program = W(folder_ + "\\ModelLauncher.exe");
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        W(folder_).c_str(), &startup, &process)) {
      ADD_FAILURE() << "launcher did not start: " << GetLastError();
      return -1;
    }
    FindDialog search = {process.dwProcessId, nullptr};
    for (int i = 0; i < 400 && !search.found; ++i) {
      EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
      if (!search.found) Sleep(50);
    }
    long exit_code = -1;
    if (search.found) {
      drive(search.found);
    } else {
      ADD_FAILURE() << "the launcher's dialog never appeared";
      TerminateProcess(process.hProcess, 99);
    }
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      exit_code = static_cast<long>(code);
    } else {
      TerminateProcess(process.hProcess, 98);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exit_code;
  }

  std::string Marker(const std::string& dir) const { return dir + "\\started.txt"; }

  // Waits for the started program's marker; the launcher does not wait for
  // the program it starts.
  bool WaitForMarker(const std::string& model) const {
    for (int i = 0; i < 400; ++i) {
      if (Exists(Marker(folder_ + "\\" + model))) return true;
      Sleep(50);
    }
    return false;
  }

  std::vector<std::string> StartedPrograms() const {
    std::vector<std::string> started;
    for (const char* model : kModelFolders) {
      if (Exists(Marker(folder_ + "\\" + model))) started.push_back(model);
    }
    if (Exists(Marker(root_))) started.push_back("decoy ODC.exe");
    return started;
  }

  std::string root_;
  std::string folder_;
};

void Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  ASSERT_NE(button, nullptr) << id;
  SendMessageA(button, BM_CLICK, 0, 0);
}

TEST_F(LauncherTest, OkWithoutChoosingStartsM30BesideTheLauncher) {
  bool first_checked = false;
  long exit_code = RunLauncher([&](HWND dialog) {
    first_checked = SendDlgItemMessageA(dialog, 1001, BM_GETCHECK, 0, 0) == BST_CHECKED;
    Click(dialog, IDOK);
  });
  EXPECT_TRUE(first_checked);
  EXPECT_EQ(exit_code, 0);
  ASSERT_TRUE(WaitForMarker("VM30"));
  std::string command_line = ReadAll(Marker(folder_ + "\\VM30"));
  EXPECT_EQ(command_line, "\"" + folder_ + "\\VM30\\Setup.exe\"");
  EXPECT_EQ(StartedPrograms(), std::vector<std::string>{"VM30"});
}

TEST_F(LauncherTest, LastModelClickedIsStarted) {
  long exit_code = RunLauncher([](HWND dialog) {
    Click(dialog, 1003);
    Click(dialog, 1002);
    Click(dialog, IDOK);
  });
  EXPECT_EQ(exit_code, 0);
  ASSERT_TRUE(WaitForMarker("VM35"));
  EXPECT_EQ(StartedPrograms(), std::vector<std::string>{"VM35"});
}

TEST_F(LauncherTest, CancelStartsNothing) {
  long exit_code = RunLauncher([](HWND dialog) {
    Click(dialog, 1004);
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(exit_code, 0);
  Sleep(1500);  // time enough for a wrongly started program to write its marker
  EXPECT_TRUE(StartedPrograms().empty());
}

// Installed under "Łukasz 日本": "Ł" is outside Wine's ANSI code page here
// (cp1252), the Japanese outside every Western one. A path taken through
// the code page would lose them and start nothing.
class UnicodeFolderLauncherTest : public LauncherTest {
 protected:
  std::string FolderName() const override { return "\xC5\x81ukasz \xE6\x97\xA5\xE6\x9C\xAC"; }
};

TEST_F(UnicodeFolderLauncherTest, StartsTheChosenModelThere) {
  long exit_code = RunLauncher([](HWND dialog) {
    Click(dialog, 1003);
    Click(dialog, IDOK);
  });
  EXPECT_EQ(exit_code, 0);
  ASSERT_TRUE(WaitForMarker("VM40"));
  EXPECT_EQ(ReadAll(Marker(folder_ + "\\VM40")), "\"" + folder_ + "\\VM40\\Setup.exe\"");
  EXPECT_EQ(StartedPrograms(), std::vector<std::string>{"VM40"});
}

struct FindMainWindow {
  DWORD process_id;
  std::wstring title;
  HWND window;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param) {
  FindMainWindow* search = reinterpret_cast<FindMainWindow*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[16];
  if (owner == search->process_id && GetClassNameA(window, class_name, sizeof class_name) &&
      std::string(class_name) == "ODC") {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    search->title = title;
    search->window = window;
    return FALSE;
  }
  return TRUE;
}

// The real Setup.exe in the Unicode folder, with a language module beside
// it: the title shows the module's own default file name only when the
// program found its DLL through the full path.
TEST_F(UnicodeFolderLauncherTest, SetupThereLoadsItsResourceModule) {
  const std::string program = folder_ + "\\VM40\\Setup.exe";
  ASSERT_TRUE(Copy(Built("Setup.exe", ODC_SETUP_EXE_PATH), program));
  ASSERT_TRUE(Copy(Built("SetupTranslated.dll", ODC_SETUP_TRANSLATED_DLL_PATH),
                   folder_ + "\\VM40\\Setup.dll"));
  std::wstring command_line = L"\"" + W(program) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(W(program).c_str(), &command_line[0], nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &startup, &process));
  // The window is created with the program's title, and the file name is
  // added right after: wait for it.
  FindMainWindow search = {process.dwProcessId, L"", nullptr};
  for (int i = 0; i < 400 && search.title.find(L".Dat") == std::wstring::npos; ++i) {
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    if (search.title.find(L".Dat") == std::wstring::npos) Sleep(50);
  }
  EXPECT_EQ(Utf8(search.title), "Device Configurator - ODC - NouveauFichier.Dat");
  if (search.window != nullptr) PostMessageW(search.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "Setup.exe did not close";
    TerminateProcess(process.hProcess, 97);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace
