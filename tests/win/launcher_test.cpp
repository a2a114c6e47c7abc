// ModelLauncher.exe run as it ships, in a folder with blanks in its name,
// with stand-in Setup.exe programs in the model folders. The test clicks the
// dialog's buttons from outside and looks at which stand-in wrote its marker.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kModelFolders[] = {"VM30", "VM35", "VM40", "VM45"};

std::string ModuleDirectory() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string Built(const char* file_name, const char* build_path) {
  std::string beside = ModuleDirectory() + file_name;
  if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) return beside;
  return build_path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::string& path) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  char buffer[2048];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer, &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
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
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    root_ = std::string(temp) + "odc-launcher-" + std::to_string(GetCurrentProcessId());
    RemoveTree(root_);
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    // The blank in "ODC Setup" is what an unquoted command line trips over:
    // it would start root\ODC.exe, the decoy, instead of the model.
    folder_ = root_ + "\\ODC Setup";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    std::string launcher = Built("ModelLauncher.exe", ODC_MODEL_LAUNCHER_PATH);
    std::string stand_in = Built("odc_launch_stand_in.exe", ODC_LAUNCH_STAND_IN_PATH);
    ASSERT_TRUE(CopyFileA(launcher.c_str(), (folder_ + "\\ModelLauncher.exe").c_str(), FALSE))
        << launcher;
    for (const char* model : kModelFolders) {
      std::string dir = folder_ + "\\" + model;
      ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
      ASSERT_TRUE(CopyFileA(stand_in.c_str(), (dir + "\\Setup.exe").c_str(), FALSE)) << stand_in;
    }
    ASSERT_TRUE(CopyFileA(stand_in.c_str(), (root_ + "\\ODC.exe").c_str(), FALSE));
  }

  void TearDown() override { RemoveTree(root_); }

  // Starts the launcher, runs `drive` on its dialog, and waits for the
  // launcher to end. Returns its exit code, or -1 when it never ended.
  template <typename Drive>
  long RunLauncher(Drive drive) {
    std::string program = folder_ + "\\ModelLauncher.exe";
    std::string command_line = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &command_line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &process)) {
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

}  // namespace
