// The real main window, created in this process (Wine's null graphics driver
// needs no display), driven by WM_COMMAND as menus and buttons would drive
// it, with every prompt answered by the test.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/address_import.h"
#include "setup/data/data_file.h"
#include "setup/link/simulated_machine.h"
#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"
#include "tests/win/demo_machine_window.h"
#include "tests/win/scripted_prompts.h"

namespace odc {
namespace {

std::string TempDir() {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return dir;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string WindowText(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string StatusText(HWND status, int part) {
  char text[256] = {};
  SendMessageA(status, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
  return text;
}

bool MenuEnabled(HMENU menu, UINT id) {
  return (GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
}

// Visible as a pane of the main window (which the tests keep hidden).
bool Shown(HWND window) { return (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

bool ButtonEnabled(HWND toolbar, int id) {
  return SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0;
}

class MainWindow : public DemoMachineWindow {
 protected:
  void SetUp() override {
    dir = TempDir() + "odc_shell_" + std::to_string(GetCurrentProcessId()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    DemoMachineWindow::SetUp();
  }
  std::string PanelText() {
    char text[128] = {};
    GetDlgItemTextA(app.panel, IDC_CONNECT_STATUS_TEXT, text, sizeof text);
    return text;
  }
  std::string LastMessage() { return prompts.messages.empty() ? "" : prompts.messages.back().text; }
  int ListRows() { return static_cast<int>(SendMessageA(app.list, LVM_GETITEMCOUNT, 0, 0)); }
  std::string Cell(int row, int column) {
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(app.list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
  }

  std::string dir;
};

TEST_F(MainWindow, StartsWithNothingLoaded) {
  EXPECT_EQ(WindowText(window), "Device Configurator - ODC - NewFile.Dat");
  EXPECT_EQ(StatusText(app.status, 0), "For Help, Press F1");
  EXPECT_EQ(StatusText(app.status, 1), "Device Configurator");
  EXPECT_EQ(PanelText(), "Connect Status : OFFLINE");
  EXPECT_TRUE(MenuEnabled(app.menu, ID_FILE_NEW));
  EXPECT_TRUE(MenuEnabled(app.menu, ID_MACHINE_CONNECT));
  EXPECT_TRUE(MenuEnabled(app.menu, ID_HELP_TOPICS));
  EXPECT_FALSE(MenuEnabled(app.menu, ID_FILE_SAVE));
  EXPECT_FALSE(MenuEnabled(app.menu, ID_MACHINE_ADMIN_MANAGEMENT));
  EXPECT_FALSE(MenuEnabled(app.menu, ID_MACHINE_DISCONNECT));
  EXPECT_TRUE(ButtonEnabled(app.toolbar, ID_MACHINE_CONNECT));
  EXPECT_FALSE(ButtonEnabled(app.toolbar, ID_MACHINE_UPLOAD));
  EXPECT_EQ(SendMessageA(app.toolbar, TB_BUTTONCOUNT, 0, 0), 12);
  EXPECT_TRUE(Shown(app.panel));
  EXPECT_FALSE(Shown(app.list));
}

TEST_F(MainWindow, NewThenSaveAsksForANameAndSaveAgainDoesNot) {
  Command(ID_FILE_NEW);
  EXPECT_EQ(app.words.dataLoaded, 1);
  EXPECT_TRUE(app.modified);
  EXPECT_TRUE(MenuEnabled(app.menu, ID_FILE_SAVE));
  EXPECT_FALSE(MenuEnabled(app.menu, ID_MACHINE_UTILITY_SETTING)) << "address book only";
  const std::string path = dir + "book.DAT";
  prompts.files = {path};
  Command(ID_FILE_SAVE);
  ASSERT_EQ(prompts.dialogs.size(), 1u);
  EXPECT_EQ(prompts.dialogs[0].mode, FileDialogMode::Save);
  EXPECT_EQ(prompts.dialogs[0].title, "Save");
  EXPECT_EQ(ReadAll(path), DefaultDataSetBytes());
  EXPECT_FALSE(app.modified);
  Command(ID_FILE_SAVE);
  EXPECT_EQ(prompts.dialogs.size(), 1u) << "the file has a name now";

  Command(ID_FILE_NEW);
  Command(ID_FILE_SAVE);
  EXPECT_EQ(prompts.dialogs.size(), 2u) << "New forgets the file name";
}

TEST_F(MainWindow, OpenShowsTheFileAndSaveWritesBackWithoutADialog) {
  const std::string path = dir + "demo.DAT";
  WriteAll(path, ReadAll(ODC_DEMO_MACHINE_PATH));
  prompts.files = {path};
  Command(ID_FILE_OPEN);
  ASSERT_EQ(app.words.dataLoaded, 1);
  EXPECT_EQ(WindowText(window), "Device Configurator - ODC - demo.DAT");
  EXPECT_FALSE(app.modified);
  EXPECT_TRUE(MenuEnabled(app.menu, ID_MACHINE_UTILITY_SETTING)) << "a full data set";
  Command(ID_VIEW_SPEED_DIAL);
  EXPECT_EQ(app.words.view, 2);
  EXPECT_EQ(ListRows(), 240);
  EXPECT_TRUE(Shown(app.list));
  Command(ID_FILE_SAVE);
  EXPECT_EQ(prompts.dialogs.size(), 1u);
  // Written back in place, without the machine's read-only counters.
  EXPECT_EQ(ReadAll(path).size(), ReadAll(ODC_DEMO_MACHINE_PATH).size() - 6 * 12);
  auto reread = std::make_unique<DataSet>();
  ASSERT_EQ(ReadDataFile(*reread, path), 1);
  for (int r = 0; r < kRecordCount; ++r) {
    if (reread->records[r].id >= kFirstCounterId && reread->records[r].id <= kLastCounterId)
      continue;
    ASSERT_EQ(reread->records[r].length, app.data->records[r].length) << r;
    ASSERT_EQ(0, std::memcmp(reread->records[r].data, app.data->records[r].data,
                             std::min<uint32_t>(reread->records[r].length, 256)))
        << r;
  }

  const std::string copy = dir + "copy.DAT";
  prompts.files = {copy};
  Command(ID_FILE_SAVE_AS);
  EXPECT_EQ(WindowText(window), "Device Configurator - ODC - copy.DAT");
  EXPECT_FALSE(app.modified);
  EXPECT_EQ(ReadAll(copy), ReadAll(path));
}

TEST_F(MainWindow, OpenOfABadFileChangesNothing) {
  Command(ID_FILE_NEW);
  app.data->OneTouchEntry(0)[0] = 1;  // an edit not yet saved
  const std::string bad = dir + "bad.DAT";
  WriteAll(bad, {'C', 'M', 'C', 1, 2, 3});
  prompts.files = {bad};
  Command(ID_FILE_OPEN);
  EXPECT_EQ(LastMessage(), "File format is error! Please select valid format!");
  EXPECT_EQ(prompts.messages.back().caption, "Device Configurator - ODC");
  EXPECT_EQ(app.words.dataLoaded, 1) << "the open data set stays";
  EXPECT_EQ(app.data->OneTouchEntry(0)[0], 1);
  EXPECT_EQ(WindowText(window), "Device Configurator - ODC - NewFile.Dat");
}

TEST_F(MainWindow, ImportTakesTheDialTablesAndAsksFirst) {
  Command(ID_FILE_NEW);
  const std::string source = dir + "source.DAT";
  WriteAll(source, ReadAll(ODC_DEMO_MACHINE_PATH));
  prompts.files = {source};
  prompts.answers = {IDNO};
  Command(ID_FILE_IMPORT);
  EXPECT_EQ(LastMessage(),
            "The original dial register will be overwrited by import Data, are you sure?");
  EXPECT_EQ(app.data->OneTouchEntry(0)[0], 0) << "declined";
  prompts.files = {source};
  prompts.answers = {IDYES};
  Command(ID_FILE_IMPORT);
  EXPECT_EQ(app.document.dataOrigin, 3);
  EXPECT_NE(app.data->OneTouchEntry(0)[0], 0) << "the demo's first key arrived";
  EXPECT_TRUE(app.data->addressBookOnly) << "settings are not imported";
  EXPECT_EQ(WindowText(window), "Device Configurator - ODC - NewFile.Dat");

  const std::string bad = dir + "short.DAT";
  WriteAll(bad, {'C', 'M', 'C'});
  prompts.files = {bad};
  prompts.answers = {IDYES};
  Command(ID_FILE_IMPORT);
  EXPECT_EQ(LastMessage(), "File format is error! Please select valid format!");
  EXPECT_NE(app.data->OneTouchEntry(0)[0], 0) << "a bad file changes no entry";
}

TEST_F(MainWindow, ClosePromptCancelKeepsTheWindow) {
  Command(ID_FILE_NEW);
  prompts.answers = {IDCANCEL};
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(LastMessage(), "Is Change NewFile.Dat Saved ?");
  EXPECT_EQ(prompts.messages.back().type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
  EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindow, ClosePromptNoClosesWithoutSaving) {
  Command(ID_FILE_NEW);
  prompts.answers = {IDNO};
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(prompts.dialogs.empty());
}

TEST_F(MainWindow, ClosePromptYesOnANewDataSetRunsSaveAs) {
  Command(ID_FILE_NEW);
  // Save As cancelled: the changes would be lost, so the window stays.
  prompts.answers = {IDYES};
  prompts.files = {""};
  SendMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(prompts.dialogs.size(), 1u);
  EXPECT_EQ(prompts.dialogs[0].mode, FileDialogMode::SaveAs);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(app.modified);
  // Saved: the window closes.
  const std::string path = dir + "closing.DAT";
  prompts.answers = {IDYES};
  prompts.files = {path};
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(ReadAll(path), DefaultDataSetBytes());
}

TEST_F(MainWindow, AFailedSaveIsReportedAndKeepsTheChanges) {
  Command(ID_FILE_NEW);
  const std::string path = dir + "no such folder\\book.DAT";
  prompts.files = {path};
  Command(ID_FILE_SAVE);
  EXPECT_NE(LastMessage().find(path), std::string::npos) << LastMessage();
  EXPECT_EQ(prompts.messages.back().caption, "Device Configurator - ODC");
  EXPECT_TRUE(app.modified);
  prompts.answers = {IDYES};
  prompts.files = {path};
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window)) << "closing must not lose what could not be saved";
}

// UTF-8 and UTF-16 of the same text, converted by the system here so that
// the test does not lean on the program's own conversion.
std::wstring Wide(const std::string& utf8) {
  std::wstring wide(utf8.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length : 0);
  return wide;
}

std::vector<uint8_t> ReadAllWide(const std::string& utf8Path) {
  std::vector<uint8_t> bytes;
  FILE* file = _wfopen(Wide(utf8Path).c_str(), L"rb");
  if (file == nullptr) return bytes;
  uint8_t chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

// The caption as the frame draws it. GetWindowTextW would ask the ANSI
// window procedure and so get the text back through the code page.
std::wstring WindowTextWide(HWND window) {
  wchar_t text[512] = {};
  InternalGetWindowText(window, text, 512);
  return text;
}

// The names of the files in a folder, as UTF-16.
std::vector<std::wstring> FolderContents(const std::string& utf8Folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Wide(utf8Folder) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

// "Łukasz 日本": "Ł" is outside cp1252, Wine's ANSI code page here, and the
// Japanese outside every Western one.
const char kUnicodeFolderName[] = "\xC5\x81ukasz \xE6\x97\xA5\xE6\x9C\xAC";
const char kMachineFileName[] = "machine \xE6\x97\xA5.DAT";       // "machine 日.DAT"
const char kBookFileName[] = "\xC5\x81\xC3\xB3\x64\xC5\xBA.DAT";  // "Łódź.DAT"

// Deletes the files of a folder and the folder itself.
void RemoveFolder(const std::string& utf8Folder) {
  for (const std::wstring& name : FolderContents(utf8Folder))
    DeleteFileW((Wide(utf8Folder) + name).c_str());
  RemoveDirectoryW(Wide(utf8Folder).c_str());
}

class UnicodeFolder : public MainWindow {
 protected:
  void SetUp() override {
    MainWindow::SetUp();
    folder = dir + kUnicodeFolderName + "\\";
    RemoveFolder(folder);  // left by an earlier run under the same process id
    ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
    const std::vector<uint8_t> demo = ReadAll(ODC_DEMO_MACHINE_PATH);
    ASSERT_FALSE(demo.empty());
    FILE* file = _wfopen(Wide(folder + kMachineFileName).c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(demo.data(), 1, demo.size(), file);
    std::fclose(file);
  }
  void TearDown() override {
    MainWindow::TearDown();
    if (app.resources != app.instance) FreeLibrary(app.resources);
    RemoveFolder(folder);
  }
  std::string folder;  // UTF-8, with its trailing separator
};

TEST_F(UnicodeFolder, OpenSaveAndSaveAsKeepTheFolder) {
  const std::string machinePath = folder + kMachineFileName;
  prompts.files = {machinePath};
  Command(ID_FILE_OPEN);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  ASSERT_EQ(app.words.dataLoaded, 1);
  EXPECT_FALSE(app.data->addressBookOnly) << "the whole machine file was read";
  EXPECT_EQ(WindowTextWide(window), L"Device Configurator - ODC - " + Wide(kMachineFileName));

  // Save writes back in place, through the temporary file beside it.
  Command(ID_FILE_SAVE);
  EXPECT_EQ(prompts.dialogs.size(), 1u) << "no dialog: the file has its name";
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_EQ(ReadAllWide(machinePath).size(), ReadAll(ODC_DEMO_MACHINE_PATH).size() - 6 * 12)
      << "rewritten without the machine's counters";

  const std::string bookPath = folder + kBookFileName;
  prompts.files = {bookPath};
  Command(ID_FILE_SAVE_AS);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_EQ(WindowTextWide(window), L"Device Configurator - ODC - " + Wide(kBookFileName));
  EXPECT_EQ(ReadAllWide(bookPath), ReadAllWide(machinePath));
  // Exactly the two files, under their own names: nothing under a name
  // that lost its letters, no temporary file left.
  EXPECT_EQ(FolderContents(folder),
            (std::vector<std::wstring>{Wide(kMachineFileName), Wide(kBookFileName)}));

  // And the saved copy opens again.
  Command(ID_FILE_NEW);
  prompts.files = {bookPath};
  Command(ID_FILE_OPEN);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  EXPECT_FALSE(app.data->addressBookOnly);
  EXPECT_EQ(app.document.filePath, bookPath);
}

TEST_F(UnicodeFolder, ImportReadsAFileThere) {
  Command(ID_FILE_NEW);
  ASSERT_EQ(app.data->OneTouchEntry(0)[0], 0);
  prompts.files = {folder + kMachineFileName};
  prompts.answers = {IDYES};
  Command(ID_FILE_IMPORT);
  ASSERT_EQ(prompts.messages.size(), 1u) << "only the overwrite question";
  EXPECT_NE(app.data->OneTouchEntry(0)[0], 0) << "the demo's first key arrived";
}

TEST_F(UnicodeFolder, AFileThatCannotBeOpenedIsNamedInFull) {
  Command(ID_FILE_NEW);
  app.data->OneTouchEntry(0)[0] = 1;  // an edit not yet saved
  const std::string missing = folder + "gone \xE6\x97\xA5.DAT";
  prompts.files = {missing};
  Command(ID_FILE_OPEN);
  EXPECT_EQ(LastMessage(), "The file " + missing + " cannot be opened.");
  EXPECT_EQ(prompts.messages.back().caption, "Device Configurator - ODC");
  EXPECT_EQ(app.data->OneTouchEntry(0)[0], 1) << "nothing changed";

  // A folder chosen as a file: cannot be opened either.
  prompts.files = {folder};
  prompts.answers = {IDYES};
  Command(ID_FILE_IMPORT);
  EXPECT_EQ(LastMessage(), "The file " + folder + " cannot be opened.");
  EXPECT_EQ(app.data->OneTouchEntry(0)[0], 1);

  // A file that opens but is no data set is still blamed for its format.
  const std::string foreign = folder + "foreign \xC5\x81.DAT";
  FILE* file = _wfopen(Wide(foreign).c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fputs("CMC", file);
  std::fclose(file);
  prompts.files = {foreign};
  Command(ID_FILE_OPEN);
  EXPECT_EQ(LastMessage(), "File format is error! Please select valid format!");
}

TEST_F(UnicodeFolder, MessagesAboutTheFileNameItInFull) {
  Command(ID_FILE_NEW);
  const std::string nowhere = folder + "\xE6\x9C\xAC\\book.DAT";  // a folder that does not exist
  prompts.files = {nowhere};
  Command(ID_FILE_SAVE);
  EXPECT_EQ(LastMessage().find("The file " + nowhere + " could not be saved."), 0u)
      << LastMessage();
  EXPECT_TRUE(app.modified);

  const std::string bookPath = folder + kBookFileName;
  prompts.files = {bookPath};
  Command(ID_FILE_SAVE_AS);
  app.modified = true;
  prompts.answers = {IDCANCEL};
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(LastMessage(), "Is Change " + bookPath + " Saved ?");
  EXPECT_TRUE(IsWindow(window));
}

// Help looks beside the resource module; a module in the Unicode folder
// must find its help there.
TEST_F(UnicodeFolder, HelpIsFoundBesideAResourceModuleThere) {
  const std::string module = folder + "Setup.dll";
  ASSERT_TRUE(CopyFileW(Wide(ODC_SETUP_DLL_PATH).c_str(), Wide(module).c_str(), FALSE));
  HMODULE resources = LoadLibraryW(Wide(module).c_str());
  ASSERT_NE(resources, nullptr);
  app.resources = resources;
  const std::string guide = folder + "UserGuide.html";
  FILE* file = _wfopen(Wide(guide).c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fputs("<p>", file);
  std::fclose(file);
  Command(ID_HELP_TOPICS);
  EXPECT_TRUE(prompts.messages.empty()) << LastMessage();
  ASSERT_EQ(prompts.documents.size(), 1u);
  EXPECT_EQ(prompts.documents[0], guide);

  const std::string helpFile = folder + "VM40HELP.HLP";
  file = _wfopen(Wide(helpFile).c_str(), L"wb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  Command(ID_HELP_TOPICS);
  ASSERT_EQ(prompts.helpFiles.size(), 1u);
  EXPECT_EQ(prompts.helpFiles[0], helpFile);
}

TEST_F(MainWindow, ConnectDownloadUploadDisconnect) {
  Command(ID_MACHINE_CONNECT);
  EXPECT_TRUE(app.link->connected);
  EXPECT_TRUE(app.link->poll);
  EXPECT_TRUE(machine->connected());
  EXPECT_FALSE(ButtonEnabled(app.toolbar, ID_MACHINE_CONNECT));
  EXPECT_TRUE(ButtonEnabled(app.toolbar, ID_MACHINE_DOWNLOAD));
  EXPECT_FALSE(MenuEnabled(app.menu, ID_FILE_NEW));

  Command(ID_MACHINE_DOWNLOAD);
  EXPECT_TRUE(prompts.messages.empty()) << "nothing loaded: no question";
  ASSERT_EQ(app.words.dataLoaded, 1);
  EXPECT_FALSE(app.data->addressBookOnly);
  EXPECT_TRUE(app.modified);
  EXPECT_EQ(PanelText(), "Connect Status : ONLINE");
  EXPECT_TRUE(ButtonEnabled(app.toolbar, ID_MACHINE_UPLOAD));
  EXPECT_TRUE(MenuEnabled(app.menu, ID_MACHINE_UTILITY_SETTING));
  Command(ID_VIEW_ONE_TOUCH);
  EXPECT_EQ(ListRows(), 32);
  EXPECT_FALSE(Cell(0, 1).empty()) << "the demo machine's first key has a name";

  // Upload: the machine's memory takes an edited name.
  std::strcpy(SettingText(*app.data, kMachineNameId), "Edited");
  prompts.answers = {IDYES};
  Command(ID_MACHINE_UPLOAD);
  EXPECT_EQ(LastMessage(),
            "This setting data by PC overwrite to the machine's setting.\nOverwrite?");
  EXPECT_EQ(machine->uploads(), 1);
  const ItemRecord& name = machine->memory().records[FindRecord(machine->memory(), kMachineNameId)];
  EXPECT_STREQ(reinterpret_cast<const char*>(name.data), "Edited");

  // A second download asks first; No keeps the data set.
  prompts.answers = {IDNO};
  const int gets = machine->getRequests();
  Command(ID_MACHINE_DOWNLOAD);
  EXPECT_EQ(LastMessage(),
            "The setting data of ODC is overwritten by the machine's data.\nAre you sure?");
  EXPECT_EQ(machine->getRequests(), gets);

  Command(ID_MACHINE_DISCONNECT);
  EXPECT_FALSE(app.link->connected);
  EXPECT_FALSE(app.link->poll);
  EXPECT_FALSE(machine->connected());
  EXPECT_EQ(PanelText(), "Connect Status : OFFLINE");
  EXPECT_TRUE(ButtonEnabled(app.toolbar, ID_MACHINE_CONNECT));
  EXPECT_FALSE(ButtonEnabled(app.toolbar, ID_MACHINE_UPLOAD));
}

TEST_F(MainWindow, PollingDisconnectsOnTimeoutAndOnALostMachine) {
  Command(ID_MACHINE_CONNECT);
  ASSERT_TRUE(app.link->poll);
  SendMessageA(window, WM_TIMER, 1, 0);
  EXPECT_TRUE(app.link->connected) << "a healthy poll changes nothing";
  machine->SetStatus(2);
  SendMessageA(window, WM_TIMER, 1, 0);
  EXPECT_FALSE(app.link->connected);
  EXPECT_FALSE(app.link->poll);
  EXPECT_EQ(LastMessage(), "Disconnected from machine by timeout !");
  EXPECT_EQ(PanelText(), "Connect Status : OFFLINE");

  machine->SetStatus(0);
  Command(ID_MACHINE_CONNECT);
  ASSERT_TRUE(app.link->poll);
  machine->SetProductId(0x1234);  // the cable is pulled
  SendMessageA(window, WM_TIMER, 1, 0);
  EXPECT_FALSE(app.link->connected);
  EXPECT_FALSE(app.link->poll);
  EXPECT_TRUE(ButtonEnabled(app.toolbar, ID_MACHINE_CONNECT));
}

TEST_F(MainWindow, NoMachineMeansAMessageAndNoConnection) {
  machine->SetProductId(0x1234);
  Command(ID_MACHINE_CONNECT);
  EXPECT_FALSE(app.link->connected);
  EXPECT_EQ(LastMessage(), "Error opening USB Port !");
}

// A "CMC" address book of the earlier machines with One Touch key 1 a fax
// entry "Legacy" 1234 and Speed Dial 1 a fax entry "Old SD" 5678.
std::vector<uint8_t> CmcAddressBook(int format) {
  const bool one = format == 1;
  std::vector<uint8_t> file(one ? kType1FileSize : kType2FileSize, 0);
  std::memcpy(file.data(), "CMC", 3);
  uint8_t* key = file.data() + (one ? kType1HeaderSize : kType2HeaderSize);
  uint8_t* speed = key + (one ? kType1OneTouchRecords * kType1OneTouchRecordSize
                              : kType2OneTouchRecords * kType2OneTouchRecordSize);
  if (one) {
    key[0] = kFlagFax | kFlagOneTouchEntry;
    key[1] = 4;
    key[3] = 6;
    std::memcpy(key + 4, "Legacy", 6);
    key[31] = 0x21;
    key[32] = 0x43;
    speed[0] = kFlagFax | kFlagSpeedDial;
    speed[1] = 4;
    speed[2] = 6;
    std::memcpy(speed + 3, "Old SD", 6);
    speed[29] = 0x65;
    speed[30] = 0x87;
  } else {
    key[0] = 4;
    key[1] = 0x42;  // fax, One Touch entry
    key[26] = 6;
    std::memcpy(key + 27, "Legacy", 6);
    key[50] = 0x21;
    key[51] = 0x43;
    speed[0] = 4;
    speed[1] = 0x22;  // fax, Speed Dial
    speed[24] = 6;
    std::memcpy(speed + 25, "Old SD", 6);
    speed[48] = 0x65;
    speed[49] = 0x87;
  }
  return file;
}

TEST_F(MainWindow, ImportOfBothEarlierAddressBookFormats) {
  for (int format : {1, 2}) {
    Command(ID_FILE_NEW);
    const std::string source = dir + "book" + std::to_string(format) + ".CMC";
    WriteAll(source, CmcAddressBook(format));
    prompts.files = {source};
    prompts.answers = {IDYES};
    Command(ID_FILE_IMPORT);
    EXPECT_EQ(app.document.dataOrigin, format);
    Command(ID_VIEW_ONE_TOUCH);
    EXPECT_EQ(Cell(0, 1), "Legacy") << "format " << format;
    EXPECT_EQ(Cell(0, 2), "1234") << "format " << format;
    Command(ID_VIEW_SPEED_DIAL);
    EXPECT_EQ(Cell(0, 1), "Old SD") << "format " << format;
    EXPECT_EQ(Cell(0, 2), "5678") << "format " << format;
    EXPECT_EQ(Cell(239, 1), "") << "beyond the file's block";
    EXPECT_TRUE(app.modified);
    EXPECT_EQ(WindowText(window), "Device Configurator - ODC - NewFile.Dat");
  }
}

TEST_F(MainWindow, LockKeyIndicatorsFollowTheKeyboard) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const std::string numBefore = StatusText(app.status, 4);
  keys[VK_CAPITAL] |= 1;
  SetKeyboardState(keys);
  Command(ID_INDICATOR_CAPS);
  EXPECT_EQ(StatusText(app.status, 3), "CAPS");
  keys[VK_CAPITAL] &= ~1;
  SetKeyboardState(keys);
  Command(ID_INDICATOR_CAPS);
  EXPECT_EQ(StatusText(app.status, 3), " ");
  EXPECT_EQ(StatusText(app.status, 4), numBefore) << "the other parts keep their text";
  EXPECT_EQ(StatusText(app.status, 1), "Device Configurator");
}

std::string g_aboutProduct;

TEST_F(MainWindow, AboutShowsTheProduct) {
  // A modal dialog: read it and close it from a timer once it is up.
  g_aboutProduct.clear();
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND about = FindWindowA(nullptr, "About");
    if (about == nullptr) return;
    KillTimer(nullptr, id);
    char product[64] = {};
    GetDlgItemTextA(about, IDC_ABOUT_PRODUCT, product, sizeof product);
    g_aboutProduct = product;
    PostMessageA(about, WM_COMMAND, IDOK, 0);
  });
  Command(ID_HELP_ABOUT);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(g_aboutProduct, "VELMORA M40");
}

// The import preview of a text address book, answered from a timer once it
// is up: `button` is pressed after the first cell of each problem row was
// read into g_previewProblems.
int g_previewButton = 0;
std::vector<std::string> g_previewProblems;
BOOL CALLBACK FindPreview(HWND window, LPARAM found) {
  if (GetDlgItem(window, IDC_PREVIEW_PROBLEMS) == nullptr) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}
void CALLBACK AnswerPreview(HWND, UINT, UINT_PTR id, DWORD) {
  HWND preview = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindPreview, reinterpret_cast<LPARAM>(&preview));
  if (preview == nullptr) return;
  KillTimer(nullptr, id);
  HWND problems = GetDlgItem(preview, IDC_PREVIEW_PROBLEMS);
  g_previewProblems.clear();
  for (int row = 0; row < SendMessageA(problems, LVM_GETITEMCOUNT, 0, 0); ++row) {
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(problems, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    g_previewProblems.push_back(text);
  }
  PostMessageA(preview, WM_COMMAND, MAKEWPARAM(g_previewButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(preview, g_previewButton)));
}

TEST_F(MainWindow, ImportOfAVcardFillsTheSpeedDialView) {
  Command(ID_FILE_NEW);
  const std::string source = dir + "contacts.vcf";
  const std::string cards =
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:M\xC3\xBCller Anna\r\n"
      "TEL;TYPE=\"work,fax\":030 555-123\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:John Doe\r\nEMAIL;TYPE=INTERNET:john@example.com\r\n"
      "END:VCARD\r\n";
  WriteAll(source, std::vector<uint8_t>(cards.begin(), cards.end()));
  prompts.files = {source};
  g_previewButton = IDC_PREVIEW_REPLACE;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerPreview);
  Command(ID_FILE_IMPORT);
  KillTimer(nullptr, timer);
  ASSERT_FALSE(prompts.filters.empty());
  EXPECT_NE(prompts.filters.back().find("*.VCF"), std::string::npos);
  EXPECT_NE(prompts.filters.back().find("*.CSV"), std::string::npos);
  EXPECT_TRUE(prompts.messages.empty()) << "the preview stands in for the question";
  EXPECT_EQ(app.document.dataOrigin, 3);
  Command(ID_VIEW_SPEED_DIAL);
  EXPECT_EQ(Cell(0, 1), "M\xFCller Anna");
  EXPECT_EQ(Cell(0, 2), "030 555-123");
  EXPECT_EQ(Cell(1, 1), "John Doe");
  EXPECT_EQ(Cell(1, 2), "john@example.com");
  EXPECT_EQ(Cell(2, 1), "");
  EXPECT_TRUE(app.modified);

  // A card the entry dialog would refuse is listed with its card, line and
  // value; cancelled, the view keeps what it had.
  const std::string bad = dir + "bad.vcf";
  const std::string badCards =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ok\r\nEMAIL:ok@example.com\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Voice\r\nTEL;TYPE=fax:0800-CALL\r\nEND:VCARD\r\n";
  WriteAll(bad, std::vector<uint8_t>(badCards.begin(), badCards.end()));
  prompts.files = {bad};
  g_previewButton = IDCANCEL;
  timer = SetTimer(nullptr, 0, 50, AnswerPreview);
  Command(ID_FILE_IMPORT);
  KillTimer(nullptr, timer);
  ASSERT_EQ(g_previewProblems.size(), 1u);
  EXPECT_NE(g_previewProblems[0].find("Card 2 (line 9)"), std::string::npos)
      << g_previewProblems[0];
  EXPECT_NE(g_previewProblems[0].find("0800-CALL"), std::string::npos) << g_previewProblems[0];
  Command(ID_VIEW_SPEED_DIAL);
  EXPECT_EQ(Cell(0, 1), "M\xFCller Anna");
  EXPECT_EQ(Cell(1, 1), "John Doe");
}

TEST_F(MainWindow, HelpOpensTheHelpFileElseTheUserGuideElseSaysSo) {
  char module[MAX_PATH] = {};
  GetModuleFileNameA(app.resources, module, MAX_PATH);
  std::string folder = module;
  folder = folder.substr(0, folder.find_last_of("\\/") + 1);
  const std::string helpFile = folder + "VM40HELP.HLP";
  const std::string guide = folder + "UserGuide.html";
  DeleteFileA(helpFile.c_str());
  DeleteFileA(guide.c_str());

  Command(ID_HELP_TOPICS);
  EXPECT_TRUE(prompts.helpFiles.empty());
  EXPECT_TRUE(prompts.documents.empty());
  EXPECT_NE(LastMessage().find("No help is installed"), std::string::npos) << LastMessage();

  WriteAll(guide, {'<', 'p', '>'});
  Command(ID_HELP_TOPICS);
  ASSERT_EQ(prompts.documents.size(), 1u);
  EXPECT_EQ(prompts.documents[0], guide);
  EXPECT_TRUE(prompts.helpFiles.empty());

  WriteAll(helpFile, {'?', '_'});
  Command(ID_HELP_TOPICS);
  ASSERT_EQ(prompts.helpFiles.size(), 1u);
  EXPECT_EQ(prompts.helpFiles[0], helpFile);
  EXPECT_EQ(prompts.documents.size(), 1u) << "the help file comes first";
  DeleteFileA(helpFile.c_str());
  DeleteFileA(guide.c_str());
}

}  // namespace
}  // namespace odc
