// The resources of Setup.exe (linked into this test program), of the resource
// module Setup.dll and of the test language module SetupJapanese.dll, loaded
// the way the program loads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "setup/data/data_file.h"
#include "setup/res/resource.h"

namespace {

std::string ModuleDirectory() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  return dir.substr(0, dir.find_last_of("\\/") + 1);
}

// A module beside the test program wins over the one in the build tree.
HMODULE LoadModule(const char* file_name, const char* build_path) {
  std::string beside = ModuleDirectory() + file_name;
  if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return LoadLibraryA(beside.c_str());
  }
  return LoadLibraryA(build_path);
}

struct Module {
  const char* what;
  HMODULE handle;
  const char* language;
};

class ResourcesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setup_dll_ = LoadModule("Setup.dll", ODC_SETUP_DLL_PATH);
    japanese_dll_ = LoadModule("SetupJapanese.dll", ODC_SETUP_JAPANESE_DLL_PATH);
  }
  static void TearDownTestSuite() {
    if (setup_dll_) FreeLibrary(setup_dll_);
    if (japanese_dll_) FreeLibrary(japanese_dll_);
  }
  void SetUp() override {
    ASSERT_NE(setup_dll_, nullptr) << "Setup.dll did not load: " << GetLastError();
    ASSERT_NE(japanese_dll_, nullptr) << "SetupJapanese.dll did not load: " << GetLastError();
  }
  std::vector<Module> Modules() const {
    return {{"program", GetModuleHandleA(nullptr), "ENGLISH"},
            {"Setup.dll", setup_dll_, "ENGLISH"},
            {"SetupJapanese.dll", japanese_dll_, "JAPANESE"}};
  }

  static HMODULE setup_dll_;
  static HMODULE japanese_dll_;
};

HMODULE ResourcesTest::setup_dll_ = nullptr;
HMODULE ResourcesTest::japanese_dll_ = nullptr;

std::string LoadText(HMODULE module, UINT id) {
  char buffer[1024];
  int length = LoadStringA(module, id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

// Raw resource bytes, or an empty vector when the resource is missing.
std::vector<uint8_t> ResourceBytes(HMODULE module, int id, LPCSTR type) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const uint8_t* data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  if (!data) return {};
  return std::vector<uint8_t>(data, data + SizeofResource(module, info));
}

TEST_F(ResourcesTest, LanguageAndKeyStrings) {
  for (const Module& m : Modules()) {
    SCOPED_TRACE(m.what);
    EXPECT_EQ(LoadText(m.handle, IDS_LANGUAGE), m.language);
    EXPECT_EQ(LoadText(m.handle, 3590), "Device Configurator - ODC");
    EXPECT_EQ(LoadText(m.handle, 3405), "NewFile.Dat");
    EXPECT_EQ(LoadText(m.handle, 3596), "CMDCODE002|ODC|BRAMWYN|ALL");
    EXPECT_EQ(LoadText(m.handle, 3596), odc::kSignature);
    EXPECT_EQ(LoadText(m.handle, 3331), "Connect Status : ONLINE");
    EXPECT_EQ(LoadText(m.handle, 3332), "Connect Status : OFFLINE");
    EXPECT_EQ(LoadText(m.handle, 3468), "Is Change %s Saved ?");
    EXPECT_EQ(LoadText(m.handle, 3442), "E-Mail address  must be specified !");
    EXPECT_EQ(LoadText(m.handle, 3347),
              "This key is already used by Group,\nDo you want to overwrite it ?");
    EXPECT_EQ(LoadText(m.handle, IDS_EMPTY_INTEGER), "\"\" is not a valid integer value !");
    EXPECT_EQ(LoadText(m.handle, IDS_FILE_FORMAT_ERROR),
              "File format is error! Please select valid format!");
  }
}

TEST_F(ResourcesTest, StringsThatAreReadByOffset) {
  // Several texts are found as a base id plus a code; a gap would show the
  // wrong text or none.
  struct Case {
    UINT base;
    std::vector<const char*> texts;
  } cases[] = {
      {3469, {"9.6K", "14.4K", "33.6K"}},
      {3472, {"Basic", "Advanced"}},
      {3451, {"Ledger", "Fine", "S/F"}},
      {3454, {"MH", "MR", "MMR"}},
      {3447, {"A3", "B4", "A4", "Letter", "Ledger"}},
      {3001, {"Connect", "Disconnect", "Download", "Upload"}},
  };
  for (const Module& m : Modules()) {
    for (const Case& c : cases) {
      for (size_t i = 0; i < c.texts.size(); ++i) {
        EXPECT_EQ(LoadText(m.handle, c.base + static_cast<UINT>(i)), c.texts[i])
            << m.what << " " << c.base << "+" << i;
      }
    }
  }
}

TEST_F(ResourcesTest, LanguageModuleDiffersOnlyInLanguageAndPrintFont) {
  int compared = 0;
  for (UINT id = 3000; id < 4200; ++id) {
    std::string english = LoadText(setup_dll_, id);
    std::string japanese = LoadText(japanese_dll_, id);
    EXPECT_EQ(LoadText(GetModuleHandleA(nullptr), id), english) << id;
    if (id == IDS_LANGUAGE || id == IDS_PRINT_FONT_FACE) {
      EXPECT_NE(english, japanese) << id;
      continue;
    }
    EXPECT_EQ(english, japanese) << id;
    if (!english.empty()) ++compared;
  }
  EXPECT_GT(compared, 100);
}

TEST_F(ResourcesTest, DefaultDataSetMatchesTheCore) {
  const std::vector<uint8_t>& expected = odc::DefaultDataSetBytes();
  ASSERT_EQ(expected.size(), 2248u);
  for (const Module& m : Modules()) {
    std::vector<uint8_t> bytes = ResourceBytes(m.handle, IDR_DEFAULT_FILE, RT_DEFAULTFILE_NAME);
    ASSERT_EQ(bytes.size(), 2248u) << m.what;
    EXPECT_TRUE(bytes == expected) << m.what;
    EXPECT_EQ(std::memcmp(bytes.data(), "CMDCODE002|ODC|BRAMWYN|ALL\0", 27), 0) << m.what;
  }
}

std::vector<UINT> MenuIds(HMENU menu) {
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      std::vector<UINT> inner = MenuIds(sub);
      ids.insert(ids.end(), inner.begin(), inner.end());
    } else {
      ids.push_back(GetMenuItemID(menu, i));  // 0 for a separator
    }
  }
  return ids;
}

std::string MenuText(HMENU menu, UINT id) {
  char buffer[128];
  int length = GetMenuStringA(menu, id, buffer, sizeof buffer, MF_BYCOMMAND);
  return std::string(buffer, length > 0 ? length : 0);
}

TEST_F(ResourcesTest, MainMenuHoldsEveryCommandWithItsText) {
  struct Item {
    UINT id;
    const char* text;
  } items[] = {
      {102, "&New"},
      {103, "&Open Ctrl+O"},
      {104, "&Save  Ctrl+S"},
      {105, "Save &As..."},
      {106, "&Import Address Book"},
      {107, "&Print Ctrl+P"},
      {108, "E&xit"},
      {109, "Cu&t Ctrl+X"},
      {110, "&Copy Ctrl+C"},
      {111, "&Paste Ctrl+V"},
      {112, "&Delete Del"},
      {113, "&One Touch"},
      {114, "&Speed Dial"},
      {115, "&Group"},
      {116, "&Connect"},
      {117, "&Disconnect"},
      {118, "Down&load"},
      {119, "Uplo&ad"},
      {120, "&Utility Setting"},
      {121, "&Admin. Management"},
      {122, "&Total Counter"},
      {123, "C&onfiguration"},
      {124, "Help &Topics"},
      {125, "&About ODC"},
  };
  for (const Module& m : Modules()) {
    HMENU menu = LoadMenuA(m.handle, MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_NE(menu, nullptr) << m.what;
    std::vector<UINT> ids = MenuIds(menu);
    std::multiset<UINT> commands(ids.begin(), ids.end());
    commands.erase(0);
    std::multiset<UINT> expected;
    for (const Item& item : items) expected.insert(item.id);
    EXPECT_EQ(commands, expected) << m.what;
    for (const Item& item : items) EXPECT_EQ(MenuText(menu, item.id), item.text) << m.what;
    DestroyMenu(menu);
  }
}

TEST_F(ResourcesTest, ContextMenusHoldTheirItemsInOrder) {
  struct Popup {
    int id;
    const char* caption;
    std::vector<UINT> ids;
  } popups[] = {
      {126, "TREEROOT", {116, 117, 0, 127, 128}},
      {129, "TREEMEMBER", {103, 104}},
      {130, "LISTMEMBER", {131, 0, 109, 110, 111, 0, 112}},
  };
  for (const Module& m : Modules()) {
    for (const Popup& p : popups) {
      HMENU menu = LoadMenuA(m.handle, MAKEINTRESOURCEA(p.id));
      ASSERT_NE(menu, nullptr) << m.what << " " << p.id;
      ASSERT_EQ(GetMenuItemCount(menu), 1) << p.id;
      char caption[64];
      int length = GetMenuStringA(menu, 0, caption, sizeof caption, MF_BYPOSITION);
      EXPECT_EQ(std::string(caption, length > 0 ? length : 0), p.caption);
      EXPECT_EQ(MenuIds(GetSubMenu(menu, 0)), p.ids) << m.what << " " << p.id;
      DestroyMenu(menu);
    }
  }
}

TEST_F(ResourcesTest, AcceleratorTable) {
  struct Key {
    BYTE modifiers;
    WORD key;
    WORD command;
  } keys[] = {
      {FCONTROL, 'N', 102}, {FCONTROL, 'O', 103}, {FCONTROL, 'S', 104}, {FCONTROL, 'P', 107},
      {FCONTROL, 'X', 109}, {FCONTROL, 'C', 110}, {FCONTROL, 'V', 111}, {0, VK_DELETE, 112},
      {0, VK_F1, 124},      {0, VK_CAPITAL, 791}, {0, VK_NUMLOCK, 792}, {0, VK_SCROLL, 793},
  };
  for (const Module& m : Modules()) {
    HACCEL table = LoadAcceleratorsA(m.handle, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(table, nullptr) << m.what;
    ACCEL entries[32];
    int count = CopyAcceleratorTableA(table, entries, 32);
    ASSERT_EQ(count, 12) << m.what;
    for (int i = 0; i < count; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT),
                FVIRTKEY | keys[i].modifiers);
      EXPECT_EQ(entries[i].key, keys[i].key);
      EXPECT_EQ(entries[i].cmd, keys[i].command);
    }
    DestroyAcceleratorTable(table);
  }
}

TEST_F(ResourcesTest, BitmapsHaveTheirSizesAndColourDepths) {
  struct Case {
    int id;
    LONG width;
    LONG height;
    WORD bits;
  } cases[] = {
      {IDB_TREE_ICONS, 14 * 16, 18, 4},       {IDB_TOOLBAR, 8 * 55, 55, 4},
      {IDB_TOOLBAR_256, 8 * 55, 55, 8},       {IDB_TREE_ICONS_150, 14 * 24, 27, 4},
      {IDB_TREE_ICONS_200, 14 * 32, 36, 4},   {IDB_TOOLBAR_256_150, 8 * 83, 83, 8},
      {IDB_TOOLBAR_256_200, 8 * 110, 110, 8},
  };
  for (const Module& m : Modules()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(m.what) + " bitmap " + std::to_string(c.id));
      std::vector<uint8_t> bytes = ResourceBytes(m.handle, c.id, RT_BITMAP);
      ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
      BITMAPINFOHEADER header;
      std::memcpy(&header, bytes.data(), sizeof header);
      EXPECT_EQ(header.biWidth, c.width);
      EXPECT_EQ(header.biHeight, c.height);
      EXPECT_EQ(header.biBitCount, c.bits);
      HBITMAP bitmap = LoadBitmapA(m.handle, MAKEINTRESOURCEA(c.id));
      ASSERT_NE(bitmap, nullptr);
      BITMAP info;
      ASSERT_NE(GetObjectA(bitmap, sizeof info, &info), 0);
      EXPECT_EQ(info.bmWidth, c.width);
      EXPECT_EQ(info.bmHeight, c.height);
      DeleteObject(bitmap);
    }
  }
}

TEST_F(ResourcesTest, IconSizesAndSplitterCursorHotspot) {
  for (const Module& m : Modules()) {
    SCOPED_TRACE(m.what);
    std::vector<uint8_t> group = ResourceBytes(m.handle, IDI_SETUP, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u + 2 * 14u);
    EXPECT_EQ(group[4] | group[5] << 8, 2);  // two images
    std::set<int> sizes = {group[6], group[6 + 14]};
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));
    for (int size : {16, 32}) {
      HICON icon = static_cast<HICON>(
          LoadImageA(m.handle, MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON, size, size, 0));
      EXPECT_NE(icon, nullptr) << size;
      if (icon) DestroyIcon(icon);
    }
    HCURSOR cursor = LoadCursorA(m.handle, MAKEINTRESOURCEA(IDC_SPLITTER));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 16u);
    EXPECT_EQ(info.yHotspot, 16u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

std::string WindowText(HWND window) {
  char buffer[256];
  int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

TEST_F(ResourcesTest, ConnectionStatusPanelIsABorderlessChild) {
  HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  for (const Module& m : Modules()) {
    SCOPED_TRACE(m.what);
    HWND panel =
        CreateDialogParamA(m.handle, MAKEINTRESOURCEA(IDD_CONNECT_STATUS), parent, PlainDialog, 0);
    ASSERT_NE(panel, nullptr);
    LONG style = GetWindowLongA(panel, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME));
    HWND text = GetDlgItem(panel, IDC_CONNECT_STATUS_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(WindowText(text), "Connect Status : OFFLINE");
    DestroyWindow(panel);
  }
  DestroyWindow(parent);
}

TEST_F(ResourcesTest, AboutBoxHasItsControls) {
  for (const Module& m : Modules()) {
    SCOPED_TRACE(m.what);
    HWND about = CreateDialogParamA(m.handle, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, PlainDialog, 0);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(about), "About");
    for (int id :
         {IDC_ABOUT_PRODUCT, IDC_ABOUT_NOTICE, IDC_ABOUT_VERSION, IDC_ABOUT_DESCRIPTION, IDOK}) {
      EXPECT_NE(GetDlgItem(about, id), nullptr) << id;
    }
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_PRODUCT)), "VELMORA M40");
    DestroyWindow(about);
  }
}

TEST_F(ResourcesTest, OnlyTheProgramCarriesTheManifest) {
  std::vector<uint8_t> manifest = ResourceBytes(GetModuleHandleA(nullptr), 1, RT_MANIFEST);
  std::string text(manifest.begin(), manifest.end());
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("asInvoker"), std::string::npos);
  EXPECT_TRUE(ResourceBytes(setup_dll_, 1, RT_MANIFEST).empty());
}

}  // namespace
