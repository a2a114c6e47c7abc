// The Import Address Book preview for text address books (vCard, CSV): what
// Replace and what Add would write, and every problem and change in file
// order, before anything changes. The dialog plans both ways at once and
// again whenever the international dialling prefix is edited; the command
// applies the plan of the button pressed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "setup/addressbook/contact_import.h"
#include "setup/settings/settings_framework.h"

namespace odc {

// Plans the file chosen for the import in one mode with these options;
// false when the file is refused as a whole (the plan's notes say why).
using ContactPlanner =
    std::function<bool(ImportMode mode, const ImportOptions& options, ContactImportPlan& plan)>;

// Dialog results besides 0 (Cancel, Esc, the close box).
constexpr int kPreviewReplace = 1;
constexpr int kPreviewAdd = 2;

// The longest international dialling prefix the edit takes.
constexpr int kPrefixLimit = 6;

using TableRows = std::vector<std::vector<std::string>>;

class ImportPreviewDialog : public DialogLogic {
 public:
  // `set` is read for its language (the code page of the string table and
  // of the names), never written.
  ImportPreviewDialog(const DataSet& set, ContactPlanner planner)
      : set_(set), planner_(std::move(planner)) {}
  void OnInit(ControlSurface& s) override;
  void OnCommand(ControlSurface& s, int id, int code) override;

  // The plan of the button that ended the dialog (after kPreviewReplace or
  // kPreviewAdd), made with the prefix the edit held.
  const ContactImportPlan& Chosen() const { return chosen_; }
  // The plans the lists show now.
  const ContactImportPlan& ReplacePlan() const { return replace_; }
  const ContactImportPlan& AddPlan() const { return add_; }

 private:
  void Replan(ControlSurface& s);
  void Show(ControlSurface& s);
  void ShowProblem(ControlSurface& s);

  const DataSet& set_;
  ContactPlanner planner_;
  ImportOptions options_;
  ContactImportPlan replace_, add_, chosen_;
  TableRows problemRows_;
  bool replaceUsable_ = false, addUsable_ = false;
};

// The rows of the two lists, in UTF-8, so that a value of the file shows as
// the file has it even where the program's code page has no such letter
// ("Łukasz" beside the "Lukasz" the machine gets). Entries: line,
// name, fax number or e-mail address, the place Replace gives it, the place
// Add gives it (or "not added"). Problems: the result ("Skipped",
// "Changed", "Skipped with Add", ...) and the note as the user reads it;
// notes of both plans, each once, in file order.
TableRows PreviewEntryRows(const ContactImportPlan& replace, const ContactImportPlan& add,
                           const DataSet& set, const std::function<std::string(int)>& text);
TableRows PreviewProblemRows(const ContactImportPlan& replace, const ContactImportPlan& add,
                             const DataSet& set, const std::function<std::string(int)>& text);

// The message of a file refused as a whole: the heading, then every note of
// the refusal as the user reads it, in UTF-8: a refused value (a heading, a
// name) may hold letters outside the program's code page.
std::string ContactRefusalMessage(const ContactImportPlan& plan, const DataSet& set,
                                  const std::function<std::string(int)>& text);

}  // namespace odc
