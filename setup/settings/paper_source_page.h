// What the Paper Source page lends to the other pages with typed numbers:
// the leave check with its repeat guard.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/data/data_set.h"
#include "setup/settings/control_surface.h"

namespace odc {

// The typed paper sizes: the item each edits, the size mode that uses it
// and the range it must hold while that mode is chosen. Leaving or applying
// the page with a size of the chosen mode outside its range is refused;
// odctool set checks the same table.
struct PaperSizeField {
  uint32_t item;
  uint32_t mode;  // 1 Size Input, 3 Memory 1, 4 Memory 2
  int low, high;
};
const std::vector<PaperSizeField>& PaperSizeFields();
// The first stored size of the chosen size mode (X before Y) that is out of
// its range; nullptr when the mode may be applied as the sizes stand.
const PaperSizeField* PaperSizeOutOfRange(const DataSet& set);

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
