// Import Address Book of a text address book in the real main window: the
// file is chosen through the prompts, the preview runs modally and is read
// and answered from a timer, as a user would see and press it.
#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "setup/res/resource.h"
#include "setup/shell/app_win32.h"
#include "tests/win/demo_machine_window.h"
#include "tests/win/scripted_prompts.h"

namespace odc {
namespace {

std::string CellOf(HWND list, int row, int column) {
  char text[1024] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

using Rows = std::vector<std::vector<std::string>>;

Rows RowsOf(HWND list) {
  Rows rows;
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < count; ++r) {
    rows.emplace_back();
    for (int c = 0; c < columns; ++c) rows.back().push_back(CellOf(list, r, c));
  }
  return rows;
}

std::wstring WideText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::string Joined(const Rows& rows) {
  std::string out;
  for (const auto& row : rows) {
    for (const auto& cell : row) out += cell + " | ";
    out += "\n";
  }
  return out;
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Good cards, a card without fax number or e-mail address, a group card, a
// number with '+', a name longer than the machine's 20 characters.
const char kMixedCards[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Berg\r\nN:Berg;Anna;;;\r\n"
    "TEL;TYPE=WORK,FAX:+46 8 123 456\r\nEND:VCARD\r\n"  // lines 1-6
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Voice Only\r\n"
    "TEL;TYPE=CELL:0170 1234567\r\nEND:VCARD\r\n"  // lines 7-11
    "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Sales Team\r\n"
    "MEMBER:urn:uuid:03a0e51f-d1aa-4385-8a53-e29025acd8af\r\nEND:VCARD\r\n"  // lines 12-17
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bartholomew Fitzgerald-Montgomery\r\n"
    "EMAIL;TYPE=INTERNET:bart@example.com\r\nEND:VCARD\r\n"                           // lines 18-22
    "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Desk\r\nTEL;FAX:030 555-123\r\nEND:VCARD\r\n";  // 23-27

// What the timer does once the preview is up.
struct PreviewScript {
  std::function<void(HWND)> act;
  HWND seen = nullptr;
};
PreviewScript* g_script = nullptr;

BOOL CALLBACK FindPreview(HWND window, LPARAM found) {
  if (GetDlgItem(window, IDC_PREVIEW_ENTRIES) != nullptr && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK DrivePreview(HWND, UINT, UINT_PTR id, DWORD) {
  HWND preview = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindPreview, reinterpret_cast<LPARAM>(&preview));
  if (preview == nullptr || g_script == nullptr) return;
  KillTimer(nullptr, id);
  g_script->seen = preview;
  g_script->act(preview);
}

void Click(HWND dialog, int button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

class ImportPreviewWindow : public DemoMachineWindow {
 protected:
  void SetUp() override {
    DemoMachineWindow::SetUp();
    if (HasFatalFailure()) return;
    Command(ID_FILE_NEW);
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    folder = std::string(dir) + "odc_preview_" + std::to_string(GetCurrentProcessId()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    cards = folder + "contacts.vcf";
    WriteAll(cards, kMixedCards);

    // A configured machine: One Touch key 1, Speed Dial 1, saved.
    DisplayRecord r{};
    r.inUse = 1;
    r.kind = kKindFax;
    r.entryType = kEntryOneTouch;
    std::strcpy(r.name, "Office");
    std::strcpy(r.number, "0123456");
    PackOneTouch(*app.data, r, 0);
    r.entryType = kEntrySpeedDial;
    std::strcpy(r.name, "Branch");
    std::strcpy(r.number, "777");
    PackSpeedDial(*app.data, r, 0);
    PackTransferImage(*app.data);
    saved = folder + "office.DAT";
    prompts.files = {saved};
    Command(ID_FILE_SAVE_AS);
    Command(ID_FILE_SAVE);
    ASSERT_FALSE(app.modified);
  }
  void TearDown() override {
    g_script = nullptr;
    DemoMachineWindow::TearDown();
  }

  // Import of `file` with the preview answered by `act`; the preview's
  // lists as they were when it came up.
  void Import(const std::string& file, std::function<void(HWND)> act) {
    script.act = [this, act](HWND preview) {
      entries = RowsOf(GetDlgItem(preview, IDC_PREVIEW_ENTRIES));
      problems = RowsOf(GetDlgItem(preview, IDC_PREVIEW_PROBLEMS));
      problemBox = WideText(GetDlgItem(preview, IDC_PREVIEW_PROBLEM_TEXT));
      act(preview);
    };
    script.seen = nullptr;
    g_script = &script;
    prompts.files = {file};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, DrivePreview);
    Command(ID_FILE_IMPORT);
    KillTimer(nullptr, timer);
    g_script = nullptr;
  }
  std::vector<uint8_t> Tables() {
    std::vector<uint8_t> bytes;
    for (int k = 0; k < kOneTouchCount; ++k)
      bytes.insert(bytes.end(), app.data->OneTouchEntry(k), app.data->OneTouchEntry(k) + 152);
    for (int s = 0; s < kSpeedDialCount; ++s)
      bytes.insert(bytes.end(), app.data->SpeedDialEntry(s), app.data->SpeedDialEntry(s) + 118);
    return bytes;
  }
  // A cell of the entry numbered `number` ("01", "001") in a view.
  std::string ListCell(int view, const char* number, int column) {
    Command(ID_VIEW_ONE_TOUCH + view - 1);
    for (int r = 0; r < static_cast<int>(SendMessageA(app.list, LVM_GETITEMCOUNT, 0, 0)); ++r)
      if (CellOf(app.list, r, 0) == number) return CellOf(app.list, r, column);
    return "(no entry " + std::string(number) + ")";
  }

  std::string folder, cards, saved;
  PreviewScript script;
  Rows entries, problems;
  std::wstring problemBox;  // the box under the problems list, as first shown
};

TEST_F(ImportPreviewWindow, ShowsEntriesAndEveryProblemThenAddKeepsTheKeys) {
  std::string prefixRow;
  std::wstring longBox;
  int longBoxLines = 0;
  LONG_PTR longBoxStyle = 0;
  Import(cards, [&](HWND preview) {
    // The user clicks the row of the shortened name (the longest problem).
    HWND list = GetDlgItem(preview, IDC_PREVIEW_PROBLEMS);
    HWND box = GetDlgItem(preview, IDC_PREVIEW_PROBLEM_TEXT);
    for (int r = 0; r < static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); ++r) {
      if (CellOf(list, r, 1).find("Bartholomew Fitzgerald-Montgomery") == std::string::npos)
        continue;
      LVITEMA state = {};
      state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      state.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(r),
                   reinterpret_cast<LPARAM>(&state));
      break;
    }
    longBox = WideText(box);
    longBoxLines = static_cast<int>(SendMessageA(box, EM_GETLINECOUNT, 0, 0));
    longBoxStyle = GetWindowLongPtrA(box, GWL_STYLE);
    // A new prefix plans again at once.
    SetDlgItemTextA(preview, IDC_PREVIEW_PREFIX, "011");
    prefixRow = CellOf(GetDlgItem(preview, IDC_PREVIEW_ENTRIES), 0, 2);
    SetDlgItemTextA(preview, IDC_PREVIEW_PREFIX, "00");
    Click(preview, IDC_PREVIEW_ADD);
  });
  ASSERT_NE(script.seen, nullptr) << "no preview came up";
  EXPECT_TRUE(prompts.messages.empty())
      << "the preview asks instead of the overwrite question: " << prompts.messages[0].text;

  // The three usable cards, in file order, each with its place both ways.
  ASSERT_EQ(entries.size(), 3u) << Joined(entries);
  EXPECT_EQ(entries[0][1], "Anna Berg");
  EXPECT_EQ(entries[0][2].rfind("0046", 0), 0u) << entries[0][2];
  EXPECT_EQ(prefixRow.rfind("01146", 0), 0u) << prefixRow;
  EXPECT_EQ(entries[1][1].size(), 20u) << entries[1][1];
  EXPECT_EQ(entries[1][1].rfind("Bartholomew", 0), 0u) << entries[1][1];
  EXPECT_EQ(entries[1][2], "bart@example.com");
  EXPECT_EQ(entries[2][1], "Desk");
  EXPECT_EQ(entries[0][3], "Speed Dial 001") << "Replace starts at the first Speed Dial";
  EXPECT_EQ(entries[0][4], "Speed Dial 002") << "Add takes the first free one";

  // The problems, in file order: the prefix, the card without a
  // destination, the group card, the shortened name.
  const std::string all = Joined(problems);
  auto rowHolding = [this](std::initializer_list<const char*> tokens) {
    for (size_t r = 0; r < problems.size(); ++r) {
      for (const char* token : tokens)
        if (problems[r][1].find(token) != std::string::npos) return static_cast<int>(r);
    }
    return -1;
  };
  const int plus = rowHolding({"+46 8 123 456"});
  const int voice = rowHolding({"Voice Only", "0170 1234567"});
  const int group = rowHolding({"Sales Team", "KIND"});
  const int name = rowHolding({"Bartholomew Fitzgerald-Montgomery"});
  EXPECT_GE(plus, 0) << all;
  EXPECT_GT(voice, plus) << all;
  EXPECT_GT(group, voice) << all;
  EXPECT_GT(name, group) << all;
  for (const auto& row : problems) {
    ASSERT_EQ(row.size(), 2u);
    EXPECT_TRUE(row[0] == "Changed" || row[0] == "Skipped") << row[0] << " | " << row[1];
  }
  // The first problem is shown whole in the box under the list, wrapped to
  // its width: the longest of them (the shortened name) is read without
  // scrolling sideways once selected.
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(Narrow(problemBox), problems[0][0] + ": " + problems[0][1]);
  ASSERT_GE(name, 0);
  EXPECT_EQ(Narrow(longBox),
            problems[static_cast<size_t>(name)][0] + ": " + problems[static_cast<size_t>(name)][1]);
  EXPECT_GT(longBoxLines, 1) << "the long problem is wrapped, not cut or scrolled";
  EXPECT_EQ(longBoxStyle & ES_AUTOHSCROLL, 0);

  // Add kept the key and the Speed Dial, and the lists show the new entries.
  EXPECT_EQ(ListCell(1, "01", 1), "Office");
  EXPECT_EQ(ListCell(2, "001", 1), "Branch");
  EXPECT_EQ(ListCell(2, "002", 1), "Anna Berg");
  EXPECT_EQ(ListCell(2, "002", 2).rfind("0046", 0), 0u);
  EXPECT_EQ(ListCell(2, "004", 1), "Desk");
  EXPECT_TRUE(app.modified);
  EXPECT_EQ(app.document.dataOrigin, 3);
}

TEST_F(ImportPreviewWindow, CancelChangesNothing) {
  const std::vector<uint8_t> tables = Tables();
  const std::vector<uint8_t> file = ReadAll(saved);
  ASSERT_FALSE(file.empty());
  app.document.dataOrigin = 2;  // as after an earlier CMC import
  Import(cards, [](HWND preview) { Click(preview, IDCANCEL); });
  ASSERT_NE(script.seen, nullptr);
  EXPECT_FALSE(entries.empty());
  EXPECT_EQ(Tables(), tables);
  EXPECT_FALSE(app.modified);
  EXPECT_EQ(app.document.dataOrigin, 2);
  app.document.dataOrigin = 3;
  Command(ID_FILE_SAVE);
  EXPECT_EQ(ReadAll(saved), file);

  // Esc is Cancel too.
  Import(cards, [](HWND preview) { PostMessageA(preview, WM_COMMAND, IDCANCEL, 0); });
  ASSERT_NE(script.seen, nullptr);
  EXPECT_EQ(Tables(), tables);
  EXPECT_FALSE(app.modified);
}

TEST_F(ImportPreviewWindow, ReplaceTakesTheFileAlone) {
  Import(cards, [](HWND preview) { Click(preview, IDC_PREVIEW_REPLACE); });
  ASSERT_NE(script.seen, nullptr);
  EXPECT_EQ(ListCell(1, "01", 1), "");
  EXPECT_EQ(ListCell(2, "001", 1), "Anna Berg");
  EXPECT_EQ(ListCell(2, "003", 1), "Desk");
  EXPECT_EQ(ListCell(2, "004", 1), "");
  EXPECT_TRUE(app.modified);
}

TEST_F(ImportPreviewWindow, AFileRefusedAsAWholeSaysWhyAndChangesNothing) {
  const std::vector<uint8_t> tables = Tables();
  const std::string csv = folder + "export.csv";
  // A heading outside the code page is named as the file holds it.
  WriteAll(csv, "Alpha;\xD0\x98\xD0\xBC\xD1\x8F;Gamma\r\nAnna;Berg;0301234\r\n");
  Import(csv, [](HWND preview) { Click(preview, IDCANCEL); });
  EXPECT_EQ(script.seen, nullptr) << "no preview for a refused file";
  ASSERT_EQ(prompts.messages.size(), 1u);
  const std::string& message = prompts.messages[0].text;
  EXPECT_EQ(message.rfind("The address book was not imported; nothing was changed.", 0), 0u)
      << message;
  EXPECT_NE(message.find("Alpha, \xD0\x98\xD0\xBC\xD1\x8F, Gamma"), std::string::npos) << message;
  EXPECT_EQ(prompts.messages[0].caption, "Device Configurator - ODC");
  EXPECT_EQ(Tables(), tables);
  EXPECT_FALSE(app.modified);
}

}  // namespace
}  // namespace odc
