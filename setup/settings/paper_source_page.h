// What the Paper Source page lends to the other pages with typed numbers:
// the leave check with its repeat guard.
#pragma once

#include "setup/settings/control_surface.h"

namespace odc {

// Leaving a page whose typed fields are checked. A refusal shows the page,
// and showing it asks the page to leave once more: that one request passes
// and clears the guard, so the user sees one message per attempt.
class GuardedLeave {
 public:
  // `check` returns 0 when every field is valid, else the id of the field
  // that failed (its message already shown). True lets the user leave.
  template <typename Check>
  bool Leave(ControlSurface& s, Check check) {
    if (guard_) {
      guard_ = false;
      return true;
    }
    const int failed = check();
    if (failed == 0) return true;
    guard_ = true;
    s.ShowThisPage();
    s.Focus(failed);
    return false;
  }

 private:
  bool guard_ = false;
};

}  // namespace odc
