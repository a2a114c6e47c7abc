// A ControlSurface in plain memory for the native tests of the settings
// pages and dialogs: every control is a record of its state, the strings
// are the program's English table, messages are recorded and answered from
// a script, and sub-dialogs run against a surface of their own.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "setup/settings/control_surface.h"
#include "setup/settings/english_strings.h"
#include "setup/settings/settings_framework.h"
#include "tests/ui/dialog_templates.h"

namespace odc {
namespace test {

struct ControlState {
  bool checked = false;
  std::string text;
  int limit = -1;
  int selStart = 0, selEnd = 0;
  std::vector<std::string> items;
  int selection = -1;
  int low = 0, high = 100, position = 0;
  uint8_t octets[4] = {0, 0, 0, 0};
  int filledFields = 0;
  int focusedField = -1;
  bool enabled = true;
  bool shown = true;
  std::vector<ControlSurface::TableColumn> columns;
  std::vector<std::vector<std::string>> rows;
};

class MemorySurface : public ControlSurface {
 public:
  std::map<int, ControlState> controls;
  std::string caption;
  int focus = 0;
  int defaultButton = 0;
  int endResult = -999;  // EndDialog's result; -999 while the dialog runs
  bool centred = false;
  int showPageCount = 0;
  int changedCount = 0, unchangedCount = 0;
  std::vector<std::string> messages;
  std::deque<int> answers;  // for Yes/No questions; kAnswerNo when empty
  // Sub-dialogs: what the test does inside them, by template id. Without a
  // script the dialog is initialised and then cancelled.
  std::map<int, std::function<void(MemorySurface&, DialogLogic&)>> dialogScripts;
  std::vector<int> dialogsRun;
  std::deque<int> menuChoices;  // -1 dismisses
  std::vector<std::vector<std::string>> menusShown;
  std::vector<int> menuAnchors;  // the control each menu was shown at

  ControlState& At(int id) { return controls[id]; }
  const ControlState& At(int id) const {
    static const ControlState kNone;
    auto it = controls.find(id);
    return it == controls.end() ? kNone : it->second;
  }

  void SetCheck(int id, bool checked) override { At(id).checked = checked; }
  bool IsChecked(int id) const override { return At(id).checked; }
  // As WM_SETTEXT: the text is set whole (a text limit holds only what the
  // user types or pastes), and an edit tells its window at once, before this
  // returns, with the surface still writing.
  void SetText(int id, const std::string& text) override {
    ControlState& c = At(id);
    c.text = text;
    c.selStart = c.selEnd = 0;
    if (edits.count(id) && notify) {
      WriteScope writing(*this);
      notify(id, kEditChange);
    }
  }
  std::string Text(int id, int limit) const override {
    const std::string& t = At(id).text;
    return t.substr(0, std::max(0, limit - 1));
  }
  void LimitText(int id, int characters) override { At(id).limit = characters; }
  void SelectText(int id, int start, int end) override {
    ControlState& c = At(id);
    const int size = static_cast<int>(c.text.size());
    c.selStart = std::min(start, size);
    c.selEnd = end < 0 ? size : std::min(end, size);
  }
  void ClearList(int id) override {
    At(id).items.clear();
    At(id).selection = -1;
  }
  void AddListItem(int id, const std::string& text) override { At(id).items.push_back(text); }
  void SelectListItem(int id, int index) override {
    ControlState& c = At(id);
    c.selection = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
  }
  int ListSelection(int id) const override { return At(id).selection; }
  int ListCount(int id) const override { return static_cast<int>(At(id).items.size()); }
  void SetSliderRange(int id, int low, int high) override {
    At(id).low = low;
    At(id).high = high;
  }
  void SetSliderPos(int id, int position) override {
    ControlState& c = At(id);
    c.position = std::clamp(position, c.low, std::max(c.low, c.high));
  }
  int SliderPos(int id) const override { return At(id).position; }
  void SetAddress(int id, const uint8_t octets[4]) override {
    std::copy(octets, octets + 4, At(id).octets);
    At(id).filledFields = 4;
  }
  void ClearAddress(int id) override {
    std::fill(At(id).octets, At(id).octets + 4, 0);
    At(id).filledFields = 0;
  }
  int ReadAddress(int id, uint8_t octets[4]) const override {
    std::copy(At(id).octets, At(id).octets + 4, octets);
    return At(id).filledFields;
  }
  void SetAddressFieldRange(int, int, int, int) override {}
  void FocusAddressField(int id, int field) override {
    focus = id;
    At(id).focusedField = field;
  }
  void SetTableColumns(int id, const std::vector<TableColumn>& columns) override {
    At(id).columns = columns;
  }
  // As a list view does: a cell beyond the columns is not kept.
  void SetTableRows(int id, const std::vector<std::vector<std::string>>& rows) override {
    ControlState& c = At(id);
    c.rows = rows;
    c.selection = -1;
    for (auto& row : c.rows) {
      if (row.size() > c.columns.size()) row.resize(c.columns.size());
    }
  }
  // A list view loses its selection with its rows; a row it selects is
  // reported to the owner at once, as the platform's LVN_ITEMCHANGED is
  // (once `logic` is set and the dialog has started).
  void SelectTableRow(int id, int row) override {
    ControlState& c = At(id);
    const int selected = row >= 0 && row < static_cast<int>(c.rows.size()) ? row : -1;
    const bool changed = selected != c.selection;
    c.selection = selected;
    if (changed && selected >= 0) NotifyTableSelection(id);
  }
  int TableSelection(int id) const override { return At(id).selection; }
  void SetUtf8Text(int id, const std::string& text) override { At(id).text = text; }
  virtual void NotifyTableSelection(int) {}
  void SetDefaultButton(int id) override { defaultButton = id; }
  void Enable(int id, bool enabled) override { At(id).enabled = enabled; }
  bool IsEnabled(int id) const override { return At(id).enabled; }
  void Show(int id, bool shown) override { At(id).shown = shown; }
  bool IsShown(int id) const override { return At(id).shown; }
  void Focus(int id) override { focus = id; }
  void SetCaption(const std::string& text) override { caption = text; }
  void EndDialog(int result) override { endResult = result; }
  void CentreOnScreen() override { centred = true; }
  void ShowThisPage() override { ++showPageCount; }
  void MarkChanged() override { ++changedCount; }
  void MarkUnchanged() override { ++unchangedCount; }
  std::string String(int id) const override { return EnglishString(id); }
  int Message(const std::string& text, MessageButtons buttons) override {
    messages.push_back(text);
    if (buttons == MessageButtons::Ok) return kAnswerOk;
    if (answers.empty()) return kAnswerNo;
    const int a = answers.front();
    answers.pop_front();
    return a;
  }
  int RunDialog(int templateId, DialogLogic& logic) override {
    dialogsRun.push_back(templateId);
    MemorySurface inner;
    inner.answers = answers;
    inner.UseTemplate(templateId);
    logic.OnInit(inner);
    // From now on the dialog's window hands its commands to the logic
    // (those of the start are not the user's).
    inner.notify = [&inner, &logic](int id, int code) {
      RouteDialogCommand(logic, inner, id, code);
    };
    auto it = dialogScripts.find(templateId);
    if (it != dialogScripts.end()) {
      it->second(inner, logic);
    } else {
      logic.OnCommand(inner, kIdCancel, kButtonClicked);
    }
    messages.insert(messages.end(), inner.messages.begin(), inner.messages.end());
    inner.notify = nullptr;  // the window is gone
    lastDialog = std::make_shared<MemorySurface>(std::move(inner));
    return lastDialog->endResult;
  }
  int PopupMenu(const std::vector<std::string>& items, int anchor) override {
    menusShown.push_back(items);
    menuAnchors.push_back(anchor);
    if (menuChoices.empty()) return -1;
    const int c = menuChoices.front();
    menuChoices.pop_front();
    return c;
  }
  std::shared_ptr<MemorySurface> lastDialog;

  // What a user does: these change the control as the platform would and
  // send the notification the window would send.
  template <typename Target>
  void Click(Target& target, int id) {
    ControlState& c = At(id);
    if (!radios.count(id))
      c.checked = !c.checked;
    else {
      for (int other : radios[id]) At(other).checked = false;
      c.checked = true;
    }
    target.Command(*this, id, kButtonClicked);
  }
  template <typename Target>
  void Type(Target& target, int id, const std::string& text) {
    At(id).text = text;
    At(id).selStart = At(id).selEnd = static_cast<int>(text.size());
    target.Command(*this, id, kEditChange);
  }
  // Ctrl+V (or EM_REPLACESEL): the selection is replaced by as much of the
  // text as the text limit leaves room for; the caret follows it.
  template <typename Target>
  void Paste(Target& target, int id, const std::string& text) {
    ControlState& c = At(id);
    const size_t start = static_cast<size_t>(std::min(c.selStart, c.selEnd));
    const size_t end = static_cast<size_t>(std::max(c.selStart, c.selEnd));
    std::string kept = c.text.substr(0, start) + c.text.substr(std::min(end, c.text.size()));
    std::string inserted = text;
    if (c.limit >= 0) {
      const size_t room = kept.size() < static_cast<size_t>(c.limit)
                              ? static_cast<size_t>(c.limit) - kept.size()
                              : 0;
      if (inserted.size() > room) inserted.resize(room);
    }
    c.text = kept.substr(0, start) + inserted + kept.substr(start);
    c.selStart = c.selEnd = static_cast<int>(start + inserted.size());
    target.Command(*this, id, kEditChange);
  }
  // Selects the whole text of an edit, as Ctrl+A does.
  void SelectAll(int id) {
    At(id).selStart = 0;
    At(id).selEnd = static_cast<int>(At(id).text.size());
  }
  // The edits of a dialog template: writes to them notify the window.
  void UseTemplate(int templateId) { edits = EditsOf(templateId); }
  std::set<int> edits;
  // The window's WM_COMMAND to its page or dialog (set by the fixture).
  std::function<void(int id, int code)> notify;
  template <typename Target>
  void Choose(Target& target, int id, int index) {
    At(id).selection = index;
    target.Command(*this, id, kListSelChange);
  }
  template <typename Target>
  void Slide(Target& target, int id, int code, int thumb = 0) {
    if (code == kThumbPosition || code == kThumbTrack) At(id).position = thumb;
    target.Scroll(*this, id, code);
  }
  // Radio groups, so a click unchecks the others (BS_AUTORADIOBUTTON).
  void RadioGroup(std::vector<int> ids) {
    for (int id : ids) radios[id] = ids;
  }
  std::map<int, std::vector<int>> radios;
};

// The dialog template of a settings page.
inline int PageTemplate(PageId page) {
  for (SheetId sheet : {SheetId::Utility, SheetId::Administrator})
    for (const PageEntry& e : SheetPageTable(sheet))
      if (e.page == page) return e.templateId;
  return -1;
}

// Connects a surface to a page's driver as the page's window is: the
// template's edits notify, their notifications reach the driver.
inline void ConnectPage(MemorySurface& s, PageDriver& driver, PageId page) {
  s.UseTemplate(PageTemplate(page));
  s.notify = [&s, &driver](int id, int code) { driver.Command(s, id, code); };
}

// Adapts a DialogLogic to the Click/Type/Choose helpers.
struct DialogTarget {
  DialogLogic& logic;
  void Command(ControlSurface& s, int id, int code) { logic.OnCommand(s, id, code); }
  void Scroll(ControlSurface& s, int id, int code) { logic.OnScroll(s, id, code); }
};

// A SettingsHost that records what the pages asked of the program.
struct RecordingHost : SettingsHost {
  bool networkChanged = false;
  std::string treeRoot;
  bool inchPaper = false;
  uint32_t machineProductId = 0;
  void SetNetworkChanged() override { networkChanged = true; }
  void SetTreeRootText(const std::string& text) override { treeRoot = text; }
  bool InchPaper() const override { return inchPaper; }
  uint32_t MachineProductId() const override { return machineProductId; }
};

}  // namespace test
}  // namespace odc
