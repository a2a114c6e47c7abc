// The typed texts of the LDAP and e-mail pages: each edit is one text
// setting, filtered as it is typed, stored at once with its item's data
// length, and its item's length is put back when the sheet is cancelled.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "setup/settings/settings_framework.h"

namespace odc {

struct TextField {
  enum class Filter { Ascii, Name, Mail };
  int control;
  uint32_t item;
  int limit;  // characters the edit takes (the item's width less its zero)
  Filter filter;
};

// Shows each field's stored text (at most `limit` characters, also when the
// stored field has no zero in it) and limits the edit to `limit`.
void InitTextFields(ControlSurface& s, const DataSet& set, const std::vector<TextField>& fields);
// EN_CHANGE of one of the fields: filter the text, store it and its
// length. Handled::No for any other control or notification.
SettingsPage::Handled TextFieldCommand(ControlSurface& s, DataSet& set,
                                       const std::vector<TextField>& fields, int id, int code);

// The data lengths of a page's text items as the transfer image holds them
// while it matches the working values (page start, after an apply); put
// back when the sheet is cancelled, since typing changes them at once and
// the cancel's unpack does not.
class KeptItemLengths {
 public:
  void Take(const DataSet& set, const std::vector<TextField>& fields);
  void PutBack(DataSet& set) const;

 private:
  struct Kept {
    uint32_t item;
    uint32_t length;
    std::string text;
  };
  std::vector<Kept> lengths_;
};

// A typed port number: digits only, five at most, stored as a number.
SettingsPage::Handled PortCommand(ControlSurface& s, DataSet& set, uint32_t item, int id, int code);
// Shows a stored number (unsigned decimal) in an edit.
void ShowNumber(ControlSurface& s, int id, uint32_t value);

// The leave-page check's repeat guard: asking the sheet to show the page
// from inside a leave request makes the sheet ask again; that nested
// request passes.
class LeaveGuard {
 public:
  bool Passing() const { return showing_; }
  void ShowPage(ControlSurface& s) {
    showing_ = true;
    s.ShowThisPage();
    showing_ = false;
  }

 private:
  bool showing_ = false;
};

// A page with typed texts and checks: the checks run when the page is
// left and when it is applied; the texts' item lengths are kept at start
// and after each apply, and put back when the sheet is cancelled.
class CheckedTextPage : public SettingsPage {
 public:
  bool OnKillActive(ControlSurface& s) override {
    if (guard_.Passing() || Valid(s)) return true;
    guard_.ShowPage(s);
    return false;
  }
  bool OnApply(ControlSurface& s) override { return Valid(s); }
  void OnApplied(ControlSurface&) override { lengths_.Take(ctx.data, texts_); }
  void OnReset(ControlSurface&) override { lengths_.PutBack(ctx.data); }

 protected:
  CheckedTextPage(SettingsContext& c, const std::vector<TextField>& texts)
      : SettingsPage(c), texts_(texts) {}
  // Shows the texts and keeps their lengths (at init).
  void InitTexts(ControlSurface& s) {
    lengths_.Take(ctx.data, texts_);
    InitTextFields(s, ctx.data, texts_);
  }
  Handled TextCommand(ControlSurface& s, int id, int code) {
    return TextFieldCommand(s, ctx.data, texts_, id, code);
  }
  // The page's checks in order; a failing one shows its message and
  // focuses its field.
  virtual bool Valid(ControlSurface& s) = 0;

 private:
  const std::vector<TextField>& texts_;
  KeptItemLengths lengths_;
  LeaveGuard guard_;
};

// A non-empty address that is not an e-mail address: the message, the
// text selected and the edit focused; false. An empty one passes.
bool CheckOptionalMailAddress(ControlSurface& s, int id);

}  // namespace odc
