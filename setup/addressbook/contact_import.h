// Address books that mail programs and phones export (vCard 2.1, 3.0 and
// 4.0; CSV of Outlook, Google Contacts, Thunderbird, Windows Live Mail and
// our own export), in stages that know nothing of each other:
//   1. a reader per format turns the bytes into neutral Contacts;
//   2. the mapping turns one Contact into a candidate machine entry with the
//      entry dialog's own rules, and notes every change it made (prefix for a
//      leading '+', transliteration, shortening) and every reason to skip;
//   3. the plan places the candidates: Replace the address book, or Add to the
//      free Speed Dials. The preview dialog shows a plan and `odctool import
//      --dry-run` prints one;
//   4. only ApplyContactImportPlan touches the data set, all at once.
// The settings data file and the two CMC formats keep their own import.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "setup/addressbook/address_text_import.h"
#include "setup/data/data_set.h"
#include "setup/data/dial_codec.h"

namespace odc {

// One value of a contact, as read (UTF-8), with where it stands in the file.
struct ContactValue {
  std::string text;
  int line = 0;            // 1-based line of the file
  std::string field;       // the property or column it came from: "FN", "TEL", "Business Fax"
  bool preferred = false;  // vCard PREF / pref=1
};

// A contact as a reader hands it on, before any machine rule applies.
struct Contact {
  int line = 0;                      // first line of the card or of the CSV row
  int card = 0;                      // vCard: 1-based number of the card; CSV: 0
  bool group = false;                // a group card (KIND:group, Apple's group cards)
  std::vector<ContactValue> names;   // name sources in order of preference
  std::vector<ContactValue> faxes;   // fax numbers in file order (empty values left out)
  std::vector<ContactValue> emails;  // e-mail addresses in the order their program shows them
  // Our own vCard export names the entry a card came from (X-ODC-ENTRY);
  // Replace puts the card back there. 0: no place named.
  int oneTouchKey = 0;  // 1-32
  int speedDial = 0;    // 1-240
};

// Something the import changed or could not do, tied to its place in the
// file. `value` is the offending value (UTF-8, never a secret); the message is
// a string-table id formatted by DescribeImportNote.
enum class ImportNoteKind : uint8_t {
  Changed,  // imported, with a value changed (prefix, transliteration, shortening, ...)
  Skipped,  // this contact is not imported
  Refused,  // the whole file cannot be read (unknown header, not a text address book, ...)
};
struct ImportNote {
  ImportNoteKind kind = ImportNoteKind::Skipped;
  int line = 0;
  int card = 0;
  std::string field;
  std::string value;
  int messageId = 0;
  std::string argument;  // a second value for the message (the new value, the needed columns)
};

enum class ImportMode : uint8_t { Replace, Add };

struct ImportOptions {
  std::string internationalPrefix = "00";  // what a leading '+' of a fax number becomes
};

// One entry the plan will write.
struct PlannedEntry {
  int line = 0;
  int card = 0;
  bool speedDial = true;   // false: One Touch key (our own CSV can place entries there)
  int index = 0;           // 0-based key or Speed Dial index
  DisplayRecord record{};  // what will be packed there; name in the program's code page
  // Bytes our own CSV carries beside its readable columns, laid into the
  // entry as they stand after it is packed: the name and name2 in the
  // machine's form, an e-mail address, the flags byte and the speed byte
  // where packing the record would not give them, and a program key's whole
  // entry.
  std::optional<std::string> machineName;
  std::optional<std::string> machineName2;
  std::optional<std::string> machineAddress;
  std::optional<uint8_t> flags;
  std::optional<uint8_t> speed;
  std::vector<uint8_t> programEntry;
};

struct ContactImportPlan {
  int format = 0;  // kImportFormatCsv or kImportFormatVcard; 0 when the file is refused
  ImportMode mode = ImportMode::Replace;
  std::vector<PlannedEntry> entries;  // in file order
  std::vector<ImportNote> notes;      // in file order
  int imported() const { return static_cast<int>(entries.size()); }
  int skipped() const;  // contacts that are not imported
  int changed() const;  // imported entries with at least one Changed note
  // Every note that stands between the file and an import without
  // --skip-invalid: a skipped contact or a refused file. Contacts the
  // placing leaves out (already there with Add, or beyond the last place)
  // are no problem.
  std::vector<ImportNote> Problems() const;
};

// The text address book the bytes hold, by content (never by file name):
// kImportFormatVcard for a file whose first line is BEGIN:VCARD (in UTF-8,
// UTF-16 or Windows-1252), kImportFormatCsv for a text file whose first line
// is a row of column headings; 0 for anything else (settings data files and
// the CMC formats go on to DetectImportFile). A CSV whose headings are not
// ones the import knows is still kImportFormatCsv: the plan refuses it with a
// message that names the columns it needs.
int ContactFileFormat(const uint8_t* data, size_t size);

// Stage 1 alone: the contacts of a foreign text address book (vCard, or CSV
// of a mail program). Returns the format, or 0 with a Refused note when the
// file cannot be read as a whole. Notes about single contacts (a card not
// closed, a stray line) are added in file order.
int ReadContacts(const uint8_t* data, size_t size, std::vector<Contact>& contacts,
                 std::vector<ImportNote>& notes);

// Reads, maps and places the contacts of a text address book against the
// current data set (read, never written). Returns false when the file is
// refused as a whole (plan.notes then says why); a file with no usable contact
// still returns true with no entries.
bool PlanContactImport(const uint8_t* data, size_t size, const DataSet& set, ImportMode mode,
                       const ImportOptions& options, ContactImportPlan& plan);

// Writes the plan's entries into the dial tables and packs the transfer image.
// Replace clears every One Touch key and Speed Dial first (program keys keep
// theirs); Add keeps every existing entry.
void ApplyContactImportPlan(DataSet& set, const ContactImportPlan& plan);

// The name of a planned entry as the lists will show it, in UTF-8: name2 in
// the double-byte languages, the name in the others.
std::string PlannedEntryName(const PlannedEntry& e, Language language);

// "Card 3 (line 12), field "TEL" (+46 8 1): the + at the start became ..." as
// the user reads it, with the string table `text` (the resource module's, or
// EnglishString). The value is the file's own text, so the result is UTF-8:
// the window side converts it (Utf8ToAnsi) before it shows it.
std::string DescribeImportNote(const ImportNote& note, const std::function<std::string(int)>& text);

// "3 imported, 1 skipped, 2 changed".
std::string DescribeImportSummary(const ContactImportPlan& plan,
                                  const std::function<std::string(int)>& text);

}  // namespace odc
