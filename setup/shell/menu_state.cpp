#include "setup/shell/menu_state.h"

#include "setup/data/data_set.h"

namespace odc {
namespace {

constexpr int kStringOnline = 3331;
constexpr int kStringOffline = 3332;

template <size_t N>
int IndexOf(const std::array<int, N>& ids, int command) {
  for (size_t i = 0; i < N; ++i) {
    if (ids[i] == command) return static_cast<int>(i);
  }
  return -1;
}

class Builder {
 public:
  explicit Builder(MenuState& state) : state_(state) {}
  void Menu(int command, bool enabled) {
    state_.menuEnabled[IndexOf(kManagedMenuCommands, command)] = enabled;
  }
  void Menu(std::initializer_list<int> commands, bool enabled) {
    for (int c : commands) Menu(c, enabled);
  }
  void Tool(int command, bool enabled) {
    state_.toolbarEnabled[IndexOf(kManagedToolbarCommands, command)] = enabled;
  }

 private:
  MenuState& state_;
};

// Whether the clipboard can go onto the selected entry of the view.
bool PasteAllowed(const MenuInputs& in) {
  const int view = in.words.view;
  const uint8_t f = in.selectedFlags;
  if (in.words.selected < 0) return false;
  bool allowed = false;
  if (view == 1) {
    allowed = in.clipboardSlots[0] != -1 && ((f & kFlagOneTouchEntry) || !(f & kFlagGroup));
  } else if (view == 2) {
    allowed = in.clipboardSlots[1] != -1;
  } else if (view == 3) {
    allowed = in.clipboardSlots[2] != -1 && ((f & kFlagGroup) || !(f & kFlagOneTouchEntry));
  }
  // Nothing is pasted over a program set on the machine.
  if (in.clipboardSlots[view - 1] == -1 || (f & kFlagProgram)) allowed = false;
  return allowed;
}

}  // namespace

bool MenuState::MenuEnabled(int command) const {
  const int i = IndexOf(kManagedMenuCommands, command);
  return i >= 0 && menuEnabled[i];
}

bool MenuState::ToolbarEnabled(int command) const {
  const int i = IndexOf(kManagedToolbarCommands, command);
  return i >= 0 && toolbarEnabled[i];
}

MenuState ComputeMenuState(const MenuInputs& in) {
  MenuState state;
  Builder b(state);
  const MenuWords& w = in.words;
  const bool settings = !in.addressBookOnly;
  const std::initializer_list<int> machineSettings = {kCmdUtilitySetting, kCmdAdminManagement,
                                                      kCmdTotalCounter, kCmdConfiguration};
  if (w.dataLoaded != 0) {
    const bool online = w.connected == 1;
    b.Tool(kCmdConnect, !online);
    b.Tool(kCmdDisconnect, online);
    b.Tool(kCmdNew, !online);
    b.Tool(kCmdUtilitySetting, settings);
    b.Tool(kCmdUpload, online);
    b.Tool(kCmdDownload, online);
    b.Tool(kCmdSave, true);
    b.Menu({kCmdPrint, kCmdSave, kCmdSaveAs, kCmdImport, kCmdViewOneTouch, kCmdViewSpeedDial,
            kCmdViewGroup},
           true);
    b.Menu({kCmdConnect, kCmdNew}, !online);
    b.Menu({kCmdDisconnect, kCmdDownload, kCmdUpload}, online);
    b.Menu(machineSettings, settings);
    state.panelTextId = online ? kStringOnline : kStringOffline;
    state.enableTreeAndList = online;
  } else {
    state.tree = Visibility::Hide;
    state.mainList = Visibility::Hide;
    state.panel = Visibility::Show;
    const bool linked = w.connected != 0;
    b.Tool(kCmdDisconnect, linked);
    b.Tool(kCmdConnect, !linked);
    b.Tool(kCmdDownload, linked);
    b.Tool(kCmdNew, !linked);
    b.Menu({kCmdNew, kCmdConnect}, !linked);
    b.Menu({kCmdDisconnect, kCmdDownload}, linked);
    b.Tool(kCmdUpload, false);
    b.Tool(kCmdSave, false);
    b.Tool(kCmdUtilitySetting, false);
    b.Menu({kCmdUpload, kCmdPrint, kCmdViewOneTouch, kCmdViewSpeedDial, kCmdViewGroup, kCmdSave,
            kCmdSaveAs, kCmdImport},
           false);
    b.Menu(machineSettings, false);
  }
  state.tree = Visibility::Show;

  if (w.view != 0) {
    state.panel = Visibility::Hide;
    state.mainList = Visibility::Show;
    state.memberList = w.view == 3 ? Visibility::Show : Visibility::Hide;
    const bool editable = w.selected >= 0 && in.selectionHasContent;
    b.Menu({kCmdCut, kCmdCopy, kCmdDelete}, editable);
    b.Menu(kCmdPaste, w.view >= 1 && w.view <= 3 && PasteAllowed(in));
  } else {
    state.panel = Visibility::Show;
    state.mainList = Visibility::Hide;
    state.memberList = Visibility::Hide;
    b.Menu({kCmdCut, kCmdCopy, kCmdPaste, kCmdDelete}, false);
  }
  return state;
}

}  // namespace odc
