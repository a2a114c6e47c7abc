// All that a settings page or settings dialog sees of its window: the
// controls by id, the sheet it sits in, the resource module's strings, the
// user's answers and the sub-dialogs it opens. The program implements it over
// a dialog window (settings_win32.cpp); the native tests over plain memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace odc {

class DialogLogic;

// Message box buttons and answers; the numbers are the platform's.
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
enum class MessageButtons { Ok, YesNo };

class ControlSurface {
 public:
  virtual ~ControlSurface() = default;

  // True while the surface writes a control for the page: the platform
  // answers some writes (an edit's text) with a change notification at once,
  // and that notification is the page's own write, not the user's edit.
  bool Writing() const { return writing_ > 0; }

  // Check boxes and radio buttons.
  virtual void SetCheck(int id, bool checked) = 0;
  virtual bool IsChecked(int id) const = 0;

  // Texts of edits, labels, buttons and group boxes. Text() reads at most
  // `limit` - 1 characters, as a read into a buffer of `limit` would.
  virtual void SetText(int id, const std::string& text) = 0;
  virtual std::string Text(int id, int limit = 128) const = 0;
  virtual void LimitText(int id, int characters) = 0;
  // Selects characters start..end (end exclusive) of an edit; the caret
  // stands at `end`. end = -1 selects to the end of the text.
  virtual void SelectText(int id, int start, int end) = 0;

  // Drop-down lists.
  virtual void ClearList(int id) = 0;
  virtual void AddListItem(int id, const std::string& text) = 0;
  virtual void SelectListItem(int id, int index) = 0;  // -1: none
  virtual int ListSelection(int id) const = 0;         // -1: none
  virtual int ListCount(int id) const = 0;

  // Sliders (trackbars).
  virtual void SetSliderRange(int id, int low, int high) = 0;
  virtual void SetSliderPos(int id, int position) = 0;
  virtual int SliderPos(int id) const = 0;

  // IP address controls. ReadAddress returns how many of the four fields
  // hold a number; the octets of empty fields read as 0.
  virtual void SetAddress(int id, const uint8_t octets[4]) = 0;
  virtual void ClearAddress(int id) = 0;
  virtual int ReadAddress(int id, uint8_t octets[4]) const = 0;
  virtual void SetAddressFieldRange(int id, int field, int low, int high) = 0;
  virtual void FocusAddressField(int id, int field) = 0;

  // Report-view lists (list views), whose titles and cells are UTF-8 (they
  // show the values of foreign files as written). A column's width is in
  // dialog units, so
  // it grows with the dialog's font; width 0 takes the rest of the list's
  // width or the width of its longest text, whichever is more. Rows replace
  // every row the list had; each holds the texts of its cells in column
  // order.
  struct TableColumn {
    std::string title;
    int width = 0;
  };
  virtual void SetTableColumns(int id, const std::vector<TableColumn>& columns) = 0;
  virtual void SetTableRows(int id, const std::vector<std::vector<std::string>>& rows) = 0;
  // The selected row of a list (-1: none). New rows leave none selected.
  // Selecting a row, by the user or by SelectTableRow, notifies the owner
  // with kTableSelChange.
  virtual void SelectTableRow(int id, int row) = 0;
  virtual int TableSelection(int id) const = 0;
  // The text of an edit or label given in UTF-8, shown with every letter it
  // holds whatever the program's code page (values of foreign files).
  virtual void SetUtf8Text(int id, const std::string& text) = 0;

  // The push button that Enter presses.
  virtual void SetDefaultButton(int id) = 0;

  // Any control.
  virtual void Enable(int id, bool enabled) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void Show(int id, bool shown) = 0;
  virtual bool IsShown(int id) const = 0;
  virtual void Focus(int id) = 0;

  // The window itself.
  virtual void SetCaption(const std::string& text) = 0;
  // Ends a modal dialog with this result (dialogs only).
  virtual void EndDialog(int result) = 0;
  // Centres the dialog on the screen.
  virtual void CentreOnScreen() = 0;

  // The property sheet around a page (pages only): bring this page to the
  // front, enable or disable the sheet's Apply button for it.
  virtual void ShowThisPage() = 0;
  virtual void MarkChanged() = 0;
  virtual void MarkUnchanged() = 0;

  // A string of the resource module ("" when it has none).
  virtual std::string String(int id) const = 0;
  // A message box with the program's caption; returns kAnswerOk, kAnswerYes
  // or kAnswerNo.
  virtual int Message(const std::string& text, MessageButtons buttons = MessageButtons::Ok) = 0;
  // Runs a modal sub-dialog of this window: the resource module's template
  // driven by `logic`. Returns the result the logic ended it with.
  virtual int RunDialog(int templateId, DialogLogic& logic) = 0;
  // A pop-up menu below control `anchor` (the button that opened it, not
  // wherever the mouse last was); returns the index of the chosen item or -1
  // when the menu was dismissed.
  virtual int PopupMenu(const std::vector<std::string>& items, int anchor) = 0;

 protected:
  // Marks a write of the surface for as long as it lives.
  class WriteScope {
   public:
    explicit WriteScope(ControlSurface& s) : s_(s) { ++s_.writing_; }
    ~WriteScope() { --s_.writing_; }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

   private:
    ControlSurface& s_;
  };

 private:
  int writing_ = 0;
};

}  // namespace odc
