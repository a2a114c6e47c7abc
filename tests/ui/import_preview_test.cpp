// The Import Address Book preview through the in-memory control surface,
// with plans made by hand: what the lists show, how the prefix edit
// re-plans, which buttons can be pressed and what each one chooses.
#include "setup/addressbook/import_preview.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "setup/res/resource.h"
#include "tests/ui/memory_surface.h"

namespace odc {
namespace test {
namespace {

// Whether `text` holds `part`, saying what it holds when not.
::testing::AssertionResult Holds(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << text << "\" lacks \"" << part << "\"";
}

// An edit sends EN_CHANGE as soon as its text is set, from the program or
// from the user, and the dialog procedure hands it to the logic at once
// (after WM_INITDIALOG: the glue drops the notifications of the start).
struct EditingSurface : MemorySurface {
  DialogLogic* logic = nullptr;
  std::set<int> edits;
  bool started = false;
  void SetText(int id, const std::string& text) override {
    MemorySurface::SetText(id, text);
    if (started && logic && edits.count(id)) logic->OnCommand(*this, id, kEditChange);
  }
  void NotifyTableSelection(int id) override {
    if (started && logic) logic->OnCommand(*this, id, kTableSelChange);
  }
  // A paste: the edit keeps what its limit lets in, then reports the change.
  void Paste(int id, const std::string& text) {
    ControlState& c = At(id);
    c.text = c.limit >= 0 ? text.substr(0, static_cast<size_t>(c.limit)) : text;
    logic->OnCommand(*this, id, kEditChange);
  }
};

struct Contact {
  int line, card;
  const char* name;
  const char* address;  // a '+' at the start takes the prefix
  bool email;
};

PlannedEntry Entry(const Contact& c, bool speedDial, int index, const std::string& prefix) {
  PlannedEntry e;
  e.line = c.line;
  e.card = c.card;
  e.speedDial = speedDial;
  e.index = index;
  e.record.inUse = 1;
  e.record.kind = c.email ? kKindEmail : kKindFax;
  std::strncpy(e.record.name, c.name, sizeof e.record.name - 1);
  std::string address = c.address;
  if (!c.email && address[0] == '+') address = prefix + address.substr(1);
  std::strncpy(c.email ? e.record.email : e.record.number, address.c_str(),
               c.email ? sizeof e.record.email - 1 : sizeof e.record.number - 1);
  return e;
}

ImportNote Note(ImportNoteKind kind, int line, int card, const char* field, const char* value,
                int messageId, const char* argument = "") {
  return {kind, line, card, field, value, messageId, argument};
}

// A vCard of four usable cards, one without a fax number or e-mail address,
// one group card; with Add, Bob is already present and the address book
// has room for two more.
struct FakeFile {
  std::vector<std::pair<ImportMode, std::string>> calls;
  bool refused = false;
  bool bookFull = false;
  bool emptyFile = false;

  bool Plan(ImportMode mode, const ImportOptions& options, ContactImportPlan& plan) {
    calls.push_back({mode, options.internationalPrefix});
    const std::string& prefix = options.internationalPrefix;
    plan.format = kImportFormatVcard;
    plan.mode = mode;
    if (refused) {
      plan.format = 0;
      plan.notes.push_back(
          Note(ImportNoteKind::Refused, 1, 0, "BEGIN", "BEGIN:VCARX", IDS_CONTACT_NOT_TEXT));
      return false;
    }
    if (emptyFile) return true;
    const Contact anna{1, 1, "Anna Berg", "+46 8 123 456", false};
    const Contact bob{6, 2, "Bob Stone", "bob@example.com", true};
    const Contact carl{15, 4, "Carl Ohlsson Lundqvi", "030 555", false};
    const Contact dora{26, 6, "Dora", "+1 212 555 0100", false};
    const ImportNote prefixed =
        Note(ImportNoteKind::Changed, 3, 1, "TEL", "+46 8 123 456", IDS_CONTACT_PREFIX, "");
    const ImportNote noDestination =
        Note(ImportNoteKind::Skipped, 10, 3, "FN", "Eve", IDS_CONTACT_NO_DESTINATION);
    const ImportNote shortened = Note(ImportNoteKind::Changed, 17, 4, "FN",
                                      "Carl Ohlsson Lundqvist", IDS_CONTACT_SHORTENED, "");
    const ImportNote group =
        Note(ImportNoteKind::Skipped, 21, 5, "KIND", "group", IDS_CONTACT_GROUP_CARD);
    const ImportNote dorasPrefix =
        Note(ImportNoteKind::Changed, 28, 6, "TEL", "+1 212 555 0100", IDS_CONTACT_PREFIX, "");
    if (mode == ImportMode::Replace) {
      plan.entries = {Entry(anna, true, 0, prefix), Entry(bob, true, 1, prefix),
                      Entry(carl, true, 2, prefix), Entry(dora, true, 3, prefix)};
      plan.notes = {prefixed, noDestination, shortened, group, dorasPrefix};
      return true;
    }
    if (bookFull) {
      plan.notes = {prefixed, Note(ImportNoteKind::Skipped, 1, 1, "TEL", "+46 8 123 456",
                                   IDS_CONTACT_NO_FREE_PLACE)};
      return true;
    }
    plan.entries = {Entry(anna, true, 7, prefix), Entry(carl, true, 9, prefix)};
    plan.notes = {
        prefixed,
        Note(ImportNoteKind::Skipped, 8, 2, "EMAIL", "bob@example.com", IDS_CONTACT_ALREADY_PRESENT,
             "Speed Dial 004"),
        noDestination,
        shortened,
        group,
        dorasPrefix,
        Note(ImportNoteKind::Skipped, 28, 6, "TEL", "+1 212 555 0100", IDS_CONTACT_NO_FREE_PLACE)};
    return true;
  }
};

class ImportPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    set = std::make_unique<DataSet>();
    BuildTransferImage(*set);
    UnpackTransferImage(*set);
  }
  void Open() {
    dialog = std::make_unique<ImportPreviewDialog>(
        *set, [this](ImportMode mode, const ImportOptions& options, ContactImportPlan& plan) {
          return file.Plan(mode, options, plan);
        });
    s.logic = dialog.get();
    s.edits = {IDC_PREVIEW_PREFIX};
    dialog->OnInit(s);
    s.started = true;
  }
  const std::vector<std::vector<std::string>>& Entries() { return s.At(IDC_PREVIEW_ENTRIES).rows; }
  const std::vector<std::vector<std::string>>& Problems() {
    return s.At(IDC_PREVIEW_PROBLEMS).rows;
  }
  void Press(int id) { dialog->OnCommand(s, id, kButtonClicked); }

  std::unique_ptr<DataSet> set;
  FakeFile file;
  EditingSurface s;
  std::unique_ptr<ImportPreviewDialog> dialog;
};

TEST_F(ImportPreview, ShowsEveryEntryWithItsPlaceForReplaceAndForAdd) {
  Open();
  EXPECT_EQ(s.caption, "Import Address Book");
  EXPECT_EQ(s.At(IDC_PREVIEW_REPLACE).text, "&Replace the address book");
  EXPECT_EQ(s.At(IDC_PREVIEW_ADD).text, "&Add to free Speed Dials");
  EXPECT_EQ(s.At(kIdCancel).text, "Cancel");
  EXPECT_EQ(s.At(IDC_PREVIEW_PREFIX).text, "00");
  EXPECT_EQ(s.At(IDC_PREVIEW_PREFIX).limit, kPrefixLimit);
  ASSERT_EQ(s.At(IDC_PREVIEW_ENTRIES).columns.size(), 5u);
  EXPECT_EQ(s.At(IDC_PREVIEW_ENTRIES).columns[2].title, "Fax number or e-mail");
  ASSERT_EQ(s.At(IDC_PREVIEW_PROBLEMS).columns.size(), 2u);

  const std::vector<std::vector<std::string>> expected = {
      {"1", "Anna Berg", "0046 8 123 456", "Speed Dial 001", "Speed Dial 008"},
      {"6", "Bob Stone", "bob@example.com", "Speed Dial 002", "not added"},
      {"15", "Carl Ohlsson Lundqvi", "030 555", "Speed Dial 003", "Speed Dial 010"},
      {"26", "Dora", "001 212 555 0100", "Speed Dial 004", "not added"},
  };
  EXPECT_EQ(Entries(), expected);
  EXPECT_EQ(s.At(IDC_PREVIEW_SUMMARY).text,
            "Replace imports 4 entries, Add 2; 2 contacts are skipped, 3 entries changed.");
  // Both plans were made once, with the default prefix.
  const std::vector<std::pair<ImportMode, std::string>> calls = {{ImportMode::Replace, "00"},
                                                                 {ImportMode::Add, "00"}};
  EXPECT_EQ(file.calls, calls);
  EXPECT_TRUE(s.IsEnabled(IDC_PREVIEW_REPLACE));
  EXPECT_TRUE(s.IsEnabled(IDC_PREVIEW_ADD));
  EXPECT_EQ(s.defaultButton, IDC_PREVIEW_ADD) << "Enter keeps what the machine holds";
  EXPECT_EQ(s.focus, IDC_PREVIEW_ADD);
}

TEST_F(ImportPreview, ProblemsOfBothPlansEachOnceInFileOrder) {
  Open();
  const auto& rows = Problems();
  ASSERT_EQ(rows.size(), 7u);
  const char* results[] = {"Changed", "Skipped with Add", "Skipped",         "Changed",
                           "Skipped", "Changed",          "Skipped with Add"};
  const char* values[] = {"+46 8 123 456",          "bob@example.com", "Eve",
                          "Carl Ohlsson Lundqvist", "group",           "+1 212 555 0100",
                          "+1 212 555 0100"};
  const char* places[] = {"line 3",  "line 8",  "line 10", "line 17",
                          "line 21", "line 28", "line 28"};
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(rows[i].size(), 2u);
    EXPECT_EQ(rows[i][0], results[i]);
    EXPECT_TRUE(Holds(rows[i][1], values[i]));
    EXPECT_TRUE(Holds(rows[i][1], places[i]));
  }
  EXPECT_TRUE(Holds(rows[1][1], "already in the address book (Speed Dial 004)"));
  EXPECT_TRUE(Holds(rows[6][1], "no free Speed Dial is left"));
}

// A problem's text is longer than the list is wide; the box under the list
// shows the selected one whole, the first from the start.
TEST_F(ImportPreview, TheSelectedProblemIsShownWholeUnderTheList) {
  Open();
  const std::string& box = s.At(IDC_PREVIEW_PROBLEM_TEXT).text;
  ASSERT_EQ(s.TableSelection(IDC_PREVIEW_PROBLEMS), 0);
  EXPECT_TRUE(Holds(box, "Changed: ")) << box;
  EXPECT_TRUE(Holds(box, "line 3")) << box;
  EXPECT_TRUE(Holds(box, "+46 8 123 456")) << box;
  // The user picks the shortened name: its whole note, to the last word.
  s.SelectTableRow(IDC_PREVIEW_PROBLEMS, 3);
  EXPECT_EQ(box, "Changed: " + Problems()[3][1]);
  EXPECT_TRUE(Holds(box, "Carl Ohlsson Lundqvist")) << box;
  // A new prefix plans again: the list is new, and so is the box.
  s.SetText(IDC_PREVIEW_PREFIX, "011");
  EXPECT_EQ(s.TableSelection(IDC_PREVIEW_PROBLEMS), 0);
  EXPECT_TRUE(Holds(box, "line 3")) << box;
}

TEST_F(ImportPreview, AFileWithoutProblemsLeavesTheBoxEmpty) {
  file.emptyFile = true;
  s.At(IDC_PREVIEW_PROBLEM_TEXT).text = "left over";
  Open();
  EXPECT_TRUE(Problems().empty());
  EXPECT_EQ(s.TableSelection(IDC_PREVIEW_PROBLEMS), -1);
  EXPECT_EQ(s.At(IDC_PREVIEW_PROBLEM_TEXT).text, "");
}

TEST_F(ImportPreview, AnEditedPrefixPlansBothWaysAgainOnce) {
  Open();
  file.calls.clear();
  // A letter typed into the prefix is taken out again by the filter; the
  // text it writes back reports its own change.
  s.At(IDC_PREVIEW_PREFIX).text = "0x11";
  dialog->OnCommand(s, IDC_PREVIEW_PREFIX, kEditChange);
  EXPECT_EQ(s.At(IDC_PREVIEW_PREFIX).text, "011");
  const std::vector<std::pair<ImportMode, std::string>> calls = {{ImportMode::Replace, "011"},
                                                                 {ImportMode::Add, "011"}};
  EXPECT_EQ(file.calls, calls) << "never planned with the letter, never twice";
  EXPECT_EQ(Entries()[0][2], "01146 8 123 456");
  EXPECT_EQ(Entries()[3][2], "0111 212 555 0100");

  // A paste longer than the edit takes is cut by the edit's limit.
  file.calls.clear();
  s.Paste(IDC_PREVIEW_PREFIX, "00000000009");
  ASSERT_FALSE(file.calls.empty());
  EXPECT_EQ(file.calls.back().second, "000000");
  // The same text again plans nothing.
  file.calls.clear();
  s.Paste(IDC_PREVIEW_PREFIX, "000000");
  EXPECT_TRUE(file.calls.empty());

  Press(IDC_PREVIEW_REPLACE);
  EXPECT_EQ(s.endResult, kPreviewReplace);
  EXPECT_EQ(dialog->Chosen().mode, ImportMode::Replace);
  ASSERT_EQ(dialog->Chosen().entries.size(), 4u);
  EXPECT_STREQ(dialog->Chosen().entries[0].record.number, "00000046 8 123 456")
      << "the plan of the prefix shown";
}

TEST_F(ImportPreview, EachButtonEndsWithItsOwnPlan) {
  struct Case {
    int button;
    int result;
    size_t entries;
  };
  for (const Case c : {Case{IDC_PREVIEW_ADD, kPreviewAdd, 2},
                       Case{IDC_PREVIEW_REPLACE, kPreviewReplace, 4}, Case{kIdCancel, 0, 0}}) {
    SCOPED_TRACE(c.button);
    s = EditingSurface();
    Open();
    Press(c.button);
    EXPECT_EQ(s.endResult, c.result);
    EXPECT_EQ(dialog->Chosen().entries.size(), c.entries);
    if (c.button == IDC_PREVIEW_ADD) {
      EXPECT_EQ(dialog->Chosen().mode, ImportMode::Add);
      EXPECT_EQ(dialog->Chosen().entries[1].index, 9);
    }
  }
}

TEST_F(ImportPreview, AButtonThatWouldWriteNothingCannotBePressed) {
  // No free place for any contact: Add is grey, Replace is what Enter does.
  file.bookFull = true;
  Open();
  EXPECT_FALSE(s.IsEnabled(IDC_PREVIEW_ADD));
  EXPECT_TRUE(s.IsEnabled(IDC_PREVIEW_REPLACE));
  EXPECT_EQ(s.defaultButton, IDC_PREVIEW_REPLACE);
  Press(IDC_PREVIEW_ADD);
  EXPECT_EQ(s.endResult, -999) << "a click that reaches a grey button does nothing";
  for (const auto& row : Entries()) EXPECT_EQ(row[4], "not added");

  // Nothing usable at all: Replace would empty the address book.
  s = EditingSurface();
  file = FakeFile();
  file.emptyFile = true;
  Open();
  EXPECT_TRUE(Entries().empty());
  EXPECT_FALSE(s.IsEnabled(IDC_PREVIEW_REPLACE));
  EXPECT_FALSE(s.IsEnabled(IDC_PREVIEW_ADD));
  EXPECT_EQ(s.defaultButton, kIdCancel);
  EXPECT_EQ(s.At(IDC_PREVIEW_SUMMARY).text,
            "The file holds no contact with a fax number or an e-mail address that can be "
            "imported.");
  Press(IDC_PREVIEW_REPLACE);
  EXPECT_EQ(s.endResult, -999);
  Press(kIdCancel);
  EXPECT_EQ(s.endResult, 0);
}

TEST_F(ImportPreview, ListsShowNamesAndValuesAsWritten) {
  Open();
  ContactImportPlan replace, add;
  PlannedEntry e = Entry({4, 1, "Zo\xEB Petit", "zoe@example.com", true}, true, 0, "00");
  replace.entries = {e};
  replace.notes = {Note(ImportNoteKind::Changed, 5, 1, "FN", "Zo\xC3\xAB \xC5\x81\xC3\xB3",
                        IDS_CONTACT_TRANSLITERATED, "Zo\xC3\xAB Lo")};
  const auto text = [](int id) { return EnglishString(id); };
  const auto entries = PreviewEntryRows(replace, add, *set, text);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0][1], "Zo\xC3\xAB Petit") << "the record's name, from the code page";
  const auto problems = PreviewProblemRows(replace, add, *set, text);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0][0], "Changed with Replace");
  EXPECT_TRUE(Holds(problems[0][1], "Zo\xC3\xAB \xC5\x81\xC3\xB3")) << "as the file has it";
  EXPECT_TRUE(Holds(problems[0][1], "Zo\xC3\xAB Lo"));
}

// The dialog over the program's own planner and a real file: a configured
// Speed Dial 1 already holds Desk's number.
TEST_F(ImportPreview, RealPlansOfAMixedVcard) {
  DisplayRecord desk{};
  desk.inUse = 1;
  desk.kind = kKindFax;
  desk.entryType = kEntrySpeedDial;
  std::strcpy(desk.name, "Desk");
  std::strcpy(desk.number, "030 555-123");
  PackSpeedDial(*set, desk, 0);
  PackTransferImage(*set);
  const std::string cards =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Anna Berg\r\nTEL;TYPE=FAX:+46 8 123 456\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Voice Only\r\nTEL;TYPE=CELL:0170 1234567\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Desk\r\nTEL;FAX:030 555-123\r\nEND:VCARD\r\n";
  dialog = std::make_unique<ImportPreviewDialog>(
      *set, [&](ImportMode mode, const ImportOptions& options, ContactImportPlan& plan) {
        return PlanContactImport(reinterpret_cast<const uint8_t*>(cards.data()), cards.size(), *set,
                                 mode, options, plan);
      });
  s.logic = dialog.get();
  s.edits = {IDC_PREVIEW_PREFIX};
  dialog->OnInit(s);
  s.started = true;
  ASSERT_EQ(Entries().size(), 2u);
  EXPECT_EQ(Entries()[0][2].rfind("0046", 0), 0u) << Entries()[0][2];
  EXPECT_EQ(Entries()[0][3], "Speed Dial 001");
  EXPECT_EQ(Entries()[0][4], "Speed Dial 002");
  EXPECT_EQ(Entries()[1][1], "Desk");
  EXPECT_EQ(Entries()[1][4], "not added") << "its address is there already";
  std::string all;
  for (const auto& row : Problems()) all += row[0] + ": " + row[1] + "\n";
  EXPECT_TRUE(Holds(all, "Skipped: Card 2")) << "the card without a fax number, for both";
  EXPECT_TRUE(Holds(all, "Skipped with Add: Card 3")) << "Desk, for Add only";
  s.SetText(IDC_PREVIEW_PREFIX, "011");
  EXPECT_EQ(Entries()[0][2].rfind("01146", 0), 0u) << Entries()[0][2];
  Press(IDC_PREVIEW_ADD);
  ASSERT_EQ(s.endResult, kPreviewAdd);
  ApplyContactImportPlan(*set, dialog->Chosen());
  DisplayRecord r;
  UnpackSpeedDial(r, *set, 0);
  EXPECT_STREQ(r.name, "Desk");
  UnpackSpeedDial(r, *set, 1);
  EXPECT_STREQ(r.name, "Anna Berg");
  EXPECT_EQ(std::string(r.number).rfind("01146", 0), 0u) << r.number;
}

TEST(ContactRefusal, NamesWhyAndSaysNothingChanged) {
  DataSet set;
  BuildTransferImage(set);
  ContactImportPlan plan;
  plan.notes = {Note(ImportNoteKind::Refused, 1, 0, "header", "Vorname;Nachname;Telefon",
                     IDS_CONTACT_UNKNOWN_HEADER)};
  const std::string message =
      ContactRefusalMessage(plan, set, [](int id) { return EnglishString(id); });
  EXPECT_EQ(message.rfind("The address book was not imported; nothing was changed.\n\n", 0), 0u)
      << message;
  EXPECT_TRUE(Holds(message, "Vorname;Nachname;Telefon"));
  EXPECT_TRUE(Holds(message, "It needs a name column"));
}

// The message is shown as UTF-8: a heading outside the code page is named as
// the file holds it, not as question marks.
TEST(ContactRefusal, ValuesOutsideTheCodePageKeepTheirLetters) {
  DataSet set;
  BuildTransferImage(set);
  ContactImportPlan plan;
  plan.notes = {Note(ImportNoteKind::Refused, 1, 0, "header",
                     "\xD0\x98\xD0\xBC\xD1\x8F;\xE5\x90\x8D\xE5\x89\x8D",
                     IDS_CONTACT_UNKNOWN_HEADER)};
  const std::string message =
      ContactRefusalMessage(plan, set, [](int id) { return EnglishString(id); });
  EXPECT_TRUE(Holds(message, "\xD0\x98\xD0\xBC\xD1\x8F;\xE5\x90\x8D\xE5\x89\x8D")) << message;
}

}  // namespace
}  // namespace test
}  // namespace odc
