#include "setup/addressbook/import_preview.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "setup/data/charset.h"
#include "setup/res/resource.h"

namespace odc {
namespace {

// A string-table text with one number or one text in it ("Speed Dial %03d").
std::string WithNumber(const std::string& format, int value) {
  char out[256];
  std::snprintf(out, sizeof out, format.c_str(), value);
  return out;
}
std::string WithText(const std::string& format, const std::string& value) {
  char out[1024];
  std::snprintf(out, sizeof out, format.c_str(), value.c_str());
  return out;
}

std::string FieldText(const char* field, size_t size) { return {field, strnlen(field, size)}; }

std::string PlaceText(const PlannedEntry& entry, const std::function<std::string(int)>& text) {
  return entry.speedDial ? WithNumber(text(IDS_PREVIEW_PLACE_SPEED_DIAL), entry.index + 1)
                         : WithNumber(text(IDS_PREVIEW_PLACE_ONE_TOUCH), entry.index + 1);
}

bool SameNote(const ImportNote& a, const ImportNote& b) {
  return a.kind == b.kind && a.line == b.line && a.card == b.card && a.field == b.field &&
         a.value == b.value && a.messageId == b.messageId && a.argument == b.argument;
}

// A string-table text in UTF-8.
std::function<std::string(int)> Utf8Texts(const DataSet& set,
                                          const std::function<std::string(int)>& text) {
  return [&set, &text](int id) { return AnsiToUtf8(set.language, text(id)); };
}

int ResultId(ImportNoteKind kind) {
  switch (kind) {
    case ImportNoteKind::Changed:
      return IDS_PREVIEW_RESULT_CHANGED;
    case ImportNoteKind::Skipped:
      return IDS_PREVIEW_RESULT_SKIPPED;
    case ImportNoteKind::Refused:
      return IDS_PREVIEW_RESULT_REFUSED;
  }
  return IDS_PREVIEW_RESULT_SKIPPED;
}

}  // namespace

TableRows PreviewEntryRows(const ContactImportPlan& replace, const ContactImportPlan& add,
                           const DataSet& set, const std::function<std::string(int)>& programText) {
  const auto text = Utf8Texts(set, programText);
  TableRows rows;
  std::vector<bool> addTaken(add.entries.size(), false);
  auto row = [&](const PlannedEntry& e, const std::string& replacePlace,
                 const std::string& addPlace) {
    const DisplayRecord& r = e.record;
    const std::string address = r.kind == kKindEmail ? FieldText(r.email, sizeof r.email)
                                                     : FieldText(r.number, sizeof r.number);
    rows.push_back({std::to_string(e.line), PlannedEntryName(e, set.language),
                    AnsiToUtf8(set.language, address), replacePlace, addPlace});
  };
  const std::string notAdded = text(IDS_PREVIEW_NOT_ADDED);
  for (const PlannedEntry& e : replace.entries) {
    std::string addPlace = notAdded;
    for (size_t a = 0; a < add.entries.size(); ++a) {
      if (addTaken[a] || add.entries[a].line != e.line || add.entries[a].card != e.card) continue;
      addTaken[a] = true;
      addPlace = PlaceText(add.entries[a], text);
      break;
    }
    row(e, PlaceText(e, text), addPlace);
  }
  // A contact only Add places (none today: Add takes a part of what Replace
  // takes) is still shown, where it stands in the file.
  for (size_t a = 0; a < add.entries.size(); ++a) {
    if (addTaken[a]) continue;
    const PlannedEntry& e = add.entries[a];
    auto at = std::find_if(rows.begin(), rows.end(), [&](const std::vector<std::string>& r) {
      return std::stoi(r[0]) > e.line;
    });
    const size_t position = static_cast<size_t>(at - rows.begin());
    row(e, notAdded, PlaceText(e, text));
    std::rotate(rows.begin() + static_cast<long>(position), rows.end() - 1, rows.end());
  }
  return rows;
}

TableRows PreviewProblemRows(const ContactImportPlan& replace, const ContactImportPlan& add,
                             const DataSet& set,
                             const std::function<std::string(int)>& programText) {
  const auto text = Utf8Texts(set, programText);
  enum Origin { Both, ReplaceOnly, AddOnly };
  struct Shown {
    const ImportNote* note;
    Origin origin;
  };
  std::vector<Shown> shown;
  std::vector<bool> addTaken(add.notes.size(), false);
  for (const ImportNote& n : replace.notes) {
    Origin origin = ReplaceOnly;
    for (size_t a = 0; a < add.notes.size(); ++a) {
      if (!addTaken[a] && SameNote(add.notes[a], n)) {
        addTaken[a] = true;
        origin = Both;
        break;
      }
    }
    shown.push_back({&n, origin});
  }
  for (size_t a = 0; a < add.notes.size(); ++a) {
    if (!addTaken[a]) shown.push_back({&add.notes[a], AddOnly});
  }
  // Each plan lists its notes in file order; merged, they keep it.
  std::stable_sort(shown.begin(), shown.end(),
                   [](const Shown& a, const Shown& b) { return a.note->line < b.note->line; });

  TableRows rows;
  for (const Shown& s : shown) {
    std::string result = text(ResultId(s.note->kind));
    if (s.origin == AddOnly) result = WithText(text(IDS_PREVIEW_ONLY_WITH_ADD), result);
    if (s.origin == ReplaceOnly) result = WithText(text(IDS_PREVIEW_ONLY_WITH_REPLACE), result);
    rows.push_back({result, DescribeImportNote(*s.note, text)});
  }
  return rows;
}

std::string ContactRefusalMessage(const ContactImportPlan& plan, const DataSet& set,
                                  const std::function<std::string(int)>& text) {
  const auto utf8 = Utf8Texts(set, text);
  std::string message = utf8(IDS_CONTACT_NOT_IMPORTED);
  bool first = true;
  for (const ImportNote& note : plan.notes) {
    if (note.kind != ImportNoteKind::Refused) continue;
    message += first ? "\n\n" : "\n";
    message += DescribeImportNote(note, utf8);
    first = false;
  }
  return message;
}

void ImportPreviewDialog::OnInit(ControlSurface& s) {
  ApplyLabels(s, {{IDC_PREVIEW_ENTRIES_LABEL, IDS_PREVIEW_ENTRIES},
                  {IDC_PREVIEW_PROBLEMS_LABEL, IDS_PREVIEW_PROBLEMS},
                  {IDC_PREVIEW_PREFIX_LABEL, IDS_PREVIEW_PREFIX},
                  {IDC_PREVIEW_REPLACE, IDS_PREVIEW_REPLACE},
                  {IDC_PREVIEW_ADD, IDS_PREVIEW_ADD},
                  {kIdCancel, IDS_PREVIEW_CANCEL}});
  s.SetCaption(s.String(IDS_PREVIEW_CAPTION));
  auto title = [&](int id) { return AnsiToUtf8(set_.language, s.String(id)); };
  s.SetTableColumns(IDC_PREVIEW_ENTRIES, {{title(IDS_PREVIEW_COLUMN_LINE), 28},
                                          {title(IDS_PREVIEW_COLUMN_NAME), 110},
                                          {title(IDS_PREVIEW_COLUMN_ADDRESS), 150},
                                          {title(IDS_PREVIEW_COLUMN_REPLACE), 80},
                                          {title(IDS_PREVIEW_COLUMN_ADD), 0}});
  s.SetTableColumns(IDC_PREVIEW_PROBLEMS, {{title(IDS_PREVIEW_COLUMN_RESULT), 76},
                                           {title(IDS_PREVIEW_COLUMN_PROBLEM), 0}});
  s.LimitText(IDC_PREVIEW_PREFIX, kPrefixLimit);
  s.SetText(IDC_PREVIEW_PREFIX, options_.internationalPrefix);
  Replan(s);
  // Enter takes the choice that keeps what the machine holds, when it can.
  const int first = addUsable_ ? IDC_PREVIEW_ADD : replaceUsable_ ? IDC_PREVIEW_REPLACE : kIdCancel;
  s.SetDefaultButton(first);
  s.Focus(first);
}

void ImportPreviewDialog::Replan(ControlSurface& s) {
  replace_ = ContactImportPlan();
  add_ = ContactImportPlan();
  const bool replaceRead = planner_(ImportMode::Replace, options_, replace_);
  const bool addRead = planner_(ImportMode::Add, options_, add_);
  replaceUsable_ = replaceRead && !replace_.entries.empty();
  addUsable_ = addRead && !add_.entries.empty();
  Show(s);
}

void ImportPreviewDialog::Show(ControlSurface& s) {
  auto text = [&s](int id) { return s.String(id); };
  s.SetTableRows(IDC_PREVIEW_ENTRIES, PreviewEntryRows(replace_, add_, set_, text));
  problemRows_ = PreviewProblemRows(replace_, add_, set_, text);
  s.SetTableRows(IDC_PREVIEW_PROBLEMS, problemRows_);
  // A problem is read whole in the box under the list, wrapped to its
  // width; the first one is there from the start.
  s.SelectTableRow(IDC_PREVIEW_PROBLEMS, problemRows_.empty() ? -1 : 0);
  ShowProblem(s);
  std::string summary;
  if (!replaceUsable_ && !addUsable_) {
    summary =
        s.String(replace_.format == 0 ? IDS_CONTACT_NOT_IMPORTED : IDS_PREVIEW_NOTHING_TO_IMPORT);
  } else {
    summary = FormatString(s.String(IDS_PREVIEW_SUMMARY), {replace_.imported(), add_.imported(),
                                                           replace_.skipped(), replace_.changed()});
  }
  s.SetText(IDC_PREVIEW_SUMMARY, summary);
  s.Enable(IDC_PREVIEW_REPLACE, replaceUsable_);
  s.Enable(IDC_PREVIEW_ADD, addUsable_);
}

void ImportPreviewDialog::ShowProblem(ControlSurface& s) {
  const int row = s.TableSelection(IDC_PREVIEW_PROBLEMS);
  if (row < 0 || row >= static_cast<int>(problemRows_.size())) {
    s.SetUtf8Text(IDC_PREVIEW_PROBLEM_TEXT, "");
    return;
  }
  const std::vector<std::string>& cells = problemRows_[static_cast<size_t>(row)];
  s.SetUtf8Text(IDC_PREVIEW_PROBLEM_TEXT, cells[0] + ": " + cells[1]);
}

void ImportPreviewDialog::OnCommand(ControlSurface& s, int id, int code) {
  switch (id) {
    case IDC_PREVIEW_PROBLEMS:
      if (code == kTableSelChange) ShowProblem(s);
      return;
    case IDC_PREVIEW_PREFIX: {
      if (code != kEditChange) return;
      std::string prefix = s.Text(IDC_PREVIEW_PREFIX, kPrefixLimit + 1);
      // A removed character is written back, and the edit reports that
      // change itself; whichever notification comes last plans.
      ApplyDigitFilter(s, prefix, IDC_PREVIEW_PREFIX, kPrefixLimit);
      prefix = prefix.substr(0, kPrefixLimit);
      if (prefix == options_.internationalPrefix) return;
      options_.internationalPrefix = prefix;
      Replan(s);
      return;
    }
    case IDC_PREVIEW_REPLACE:
      if (code != kButtonClicked || !replaceUsable_) return;
      chosen_ = replace_;
      s.EndDialog(kPreviewReplace);
      return;
    case IDC_PREVIEW_ADD:
      if (code != kButtonClicked || !addUsable_) return;
      chosen_ = add_;
      s.EndDialog(kPreviewAdd);
      return;
    case kIdCancel:
      s.EndDialog(0);
      return;
    default:
      return;
  }
}

}  // namespace odc
