#include "setup/shell/menu_state.h"

#include <gtest/gtest.h>

#include <string>

namespace odc {
namespace {

MenuInputs Inputs(int loaded, int connected, int view, int selected, bool addressBookOnly = false) {
  MenuInputs in;
  in.words.dataLoaded = loaded;
  in.words.connected = connected;
  in.words.view = view;
  in.words.selected = selected;
  in.addressBookOnly = addressBookOnly;
  return in;
}

// Enabled commands spelled as a string of ids, for readable failures.
std::string Enabled(const MenuState& s, bool toolbar) {
  std::string out;
  if (toolbar) {
    for (size_t i = 0; i < kManagedToolbarCommands.size(); ++i) {
      if (s.toolbarEnabled[i]) out += std::to_string(kManagedToolbarCommands[i]) + " ";
    }
  } else {
    for (size_t i = 0; i < kManagedMenuCommands.size(); ++i) {
      if (s.menuEnabled[i]) out += std::to_string(kManagedMenuCommands[i]) + " ";
    }
  }
  return out;
}

TEST(MenuState, StatesOfTheDataAndTheLink) {
  struct Case {
    const char* what;
    MenuInputs in;
    const char* menu;
    const char* toolbar;
    int panelText;
  };
  const Case cases[] = {
      {"start-up: nothing loaded, offline", Inputs(0, 0, 0, -1), "102 116 ", "116 102 ", 0},
      {"nothing loaded, connected", Inputs(0, 1, 0, -1), "117 118 ", "117 118 ", 0},
      {"full data set, offline", Inputs(1, 0, 0, -1),
       "102 104 105 106 107 113 114 115 116 120 121 122 123 ", "116 104 102 120 ", 3332},
      {"address book, offline", Inputs(1, 0, 0, -1, true), "102 104 105 106 107 113 114 115 116 ",
       "116 104 102 ", 3332},
      {"full data set, online", Inputs(1, 1, 0, -1),
       "104 105 106 107 113 114 115 117 118 119 120 121 122 123 ", "117 119 118 104 120 ", 3331},
      {"address book, online", Inputs(1, 1, 0, -1, true),
       "104 105 106 107 113 114 115 117 118 119 ", "117 119 118 104 ", 3331},
  };
  for (const Case& c : cases) {
    const MenuState s = ComputeMenuState(c.in);
    EXPECT_EQ(Enabled(s, false), c.menu) << c.what;
    EXPECT_EQ(Enabled(s, true), c.toolbar) << c.what;
    EXPECT_EQ(s.panelTextId, c.panelText) << c.what;
  }
}

TEST(MenuState, PanesFollowTheView) {
  MenuState s = ComputeMenuState(Inputs(0, 0, 0, -1));
  EXPECT_EQ(s.panel, Visibility::Show);
  EXPECT_EQ(s.mainList, Visibility::Hide);
  EXPECT_EQ(s.tree, Visibility::Show);
  s = ComputeMenuState(Inputs(1, 0, 2, -1));
  EXPECT_EQ(s.panel, Visibility::Hide);
  EXPECT_EQ(s.mainList, Visibility::Show);
  EXPECT_EQ(s.memberList, Visibility::Hide);
  s = ComputeMenuState(Inputs(1, 0, 3, -1));
  EXPECT_EQ(s.memberList, Visibility::Show);
  EXPECT_FALSE(ComputeMenuState(Inputs(1, 0, 0, -1)).enableTreeAndList);
  EXPECT_TRUE(ComputeMenuState(Inputs(1, 1, 0, -1)).enableTreeAndList);
}

TEST(MenuState, EditingCommandsNeedASelectedEntryWithContent) {
  MenuInputs in = Inputs(1, 0, 1, 4);
  EXPECT_FALSE(ComputeMenuState(in).MenuEnabled(kCmdCopy)) << "empty row";
  in.selectionHasContent = true;
  MenuState s = ComputeMenuState(in);
  EXPECT_TRUE(s.MenuEnabled(kCmdCut));
  EXPECT_TRUE(s.MenuEnabled(kCmdCopy));
  EXPECT_TRUE(s.MenuEnabled(kCmdDelete));
  EXPECT_FALSE(s.MenuEnabled(kCmdPaste)) << "clipboard empty";
  in.words.selected = -1;
  EXPECT_FALSE(ComputeMenuState(in).MenuEnabled(kCmdCopy));
  in.words.view = 0;
  in.words.selected = 4;
  EXPECT_FALSE(ComputeMenuState(in).MenuEnabled(kCmdCopy)) << "root view";
}

TEST(MenuState, PasteRules) {
  struct Case {
    int view;
    std::array<int, 3> slots;
    uint8_t flags;
    bool paste;
  };
  const Case cases[] = {
      {1, {3, -1, -1}, 0x00, true},   // empty key
      {1, {3, -1, -1}, 0x0A, true},   // One Touch fax entry
      {1, {3, -1, -1}, 0x80, false},  // a Group dial: not in the One Touch view
      {1, {3, -1, -1}, 0x4A, false},  // program key
      {1, {-1, 3, -1}, 0x00, false},  // the clipboard holds a Speed Dial
      {2, {-1, 7, -1}, 0x06, true},  {2, {-1, 7, -1}, 0x46, false},  // program-flagged Speed Dial
      {2, {7, -1, -1}, 0x00, false}, {3, {-1, -1, 2}, 0x80, true},   // a Group dial
      {3, {-1, -1, 2}, 0x00, true},                                  // empty key
      {3, {-1, -1, 2}, 0x0A, false},  // an individual One Touch entry
      {3, {-1, -1, 2}, 0xC0, false},  // program
  };
  for (const Case& c : cases) {
    MenuInputs in = Inputs(1, 0, c.view, 5);
    in.clipboardSlots = c.slots;
    in.selectedFlags = c.flags;
    EXPECT_EQ(ComputeMenuState(in).MenuEnabled(kCmdPaste), c.paste)
        << "view " << c.view << " flags " << int(c.flags);
  }
}

}  // namespace
}  // namespace odc
