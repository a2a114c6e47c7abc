// Which menu items and toolbar buttons are enabled, and which of the main
// window's panes show, for a given program state. Computed here as plain
// data; the Win32 side only applies it.
#pragma once

#include <array>
#include <cstdint>

namespace odc {

// Commands whose enabling the menu update decides.
enum MenuCommand : int {
  kCmdNew = 102,
  kCmdOpen = 103,
  kCmdSave = 104,
  kCmdSaveAs = 105,
  kCmdImport = 106,
  kCmdPrint = 107,
  kCmdExit = 108,
  kCmdCut = 109,
  kCmdCopy = 110,
  kCmdPaste = 111,
  kCmdDelete = 112,
  kCmdViewOneTouch = 113,
  kCmdViewSpeedDial = 114,
  kCmdViewGroup = 115,
  kCmdConnect = 116,
  kCmdDisconnect = 117,
  kCmdDownload = 118,
  kCmdUpload = 119,
  kCmdUtilitySetting = 120,
  kCmdAdminManagement = 121,
  kCmdTotalCounter = 122,
  kCmdConfiguration = 123,
  kCmdHelpTopics = 124,
  kCmdAbout = 125,
  kCmdTreeDownload = 127,
  kCmdTreeUpload = 128,
  kCmdProperty = 131,
  kCmdDownloadTransfer = 250,
  kCmdCapsLock = 791,
  kCmdNumLock = 792,
  kCmdScrollLock = 793,
};

// The six menu-state words, in the order they are always passed.
struct MenuWords {
  int dataLoaded = 0;
  int connected = 0;
  int focus = 0;  // 1: the tree sent the last notification; 0: a list did
  int zero = 0;
  int view = 0;  // 0 root, 1 One Touch, 2 Speed Dial, 3 Group
  int selected = -1;
};

enum class Visibility : uint8_t { Unchanged, Show, Hide };

struct MenuInputs {
  MenuWords words;
  bool addressBookOnly = false;
  // Views 1 and 2: the selected row's Address column is not empty.
  // View 3: the group member list has at least one line.
  bool selectionHasContent = false;
  // Clipboard slots: One Touch, Speed Dial, Group; -1 when empty.
  std::array<int, 3> clipboardSlots{-1, -1, -1};
  // Entry flags of the selected entry: of the Speed Dial entry in view 2,
  // of the One Touch entry otherwise.
  uint8_t selectedFlags = 0;
};

// Menu items the update decides, in menu order.
constexpr std::array<int, 20> kManagedMenuCommands = {
    kCmdNew,          kCmdSave,           kCmdSaveAs,
    kCmdImport,       kCmdPrint,          kCmdCut,
    kCmdCopy,         kCmdPaste,          kCmdDelete,
    kCmdViewOneTouch, kCmdViewSpeedDial,  kCmdViewGroup,
    kCmdConnect,      kCmdDisconnect,     kCmdDownload,
    kCmdUpload,       kCmdUtilitySetting, kCmdAdminManagement,
    kCmdTotalCounter, kCmdConfiguration};
// Toolbar buttons the update decides (Open stays enabled).
constexpr std::array<int, 7> kManagedToolbarCommands = {
    kCmdConnect, kCmdDisconnect, kCmdUpload, kCmdDownload, kCmdSave, kCmdNew, kCmdUtilitySetting};

struct MenuState {
  std::array<bool, kManagedMenuCommands.size()> menuEnabled{};
  std::array<bool, kManagedToolbarCommands.size()> toolbarEnabled{};
  int panelTextId = 0;  // string id for the connection panel; 0 = unchanged
  bool enableTreeAndList = false;
  Visibility tree = Visibility::Unchanged;
  Visibility mainList = Visibility::Unchanged;
  Visibility memberList = Visibility::Unchanged;
  Visibility panel = Visibility::Unchanged;

  bool MenuEnabled(int command) const;
  bool ToolbarEnabled(int command) const;
};

MenuState ComputeMenuState(const MenuInputs& in);

}  // namespace odc
