// The mapping and placing stages of the contact import, shared by the
// foreign readers and our own CSV: a contact's values -> a candidate entry
// with the entry dialog's rules, and candidates -> places in the dial tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/addressbook/contact_import.h"
#include "setup/data/charset.h"

namespace odc {

struct MappingContext {
  Language language = Language::SingleByte;
  uint32_t variant = 0;  // machine variant code: which letters a name may hold
  std::string internationalPrefix = "00";
};
MappingContext MappingContextOf(const DataSet& set, const ImportOptions& options);

// A UTF-8 name -> the program's name text: letters the machine shows kept,
// others spelled in plain Latin letters where they can be. False when a
// letter is left that the machine cannot show. `ansi` is not shortened.
bool MachineName(const MappingContext& m, std::string_view utf8, std::string& ansi,
                 bool& transliterated);

// The name of an entry from the name sources in order: the first the
// machine can show, transliterated and shortened to the field as needed;
// each change is noted against (line, card). Fills record.name (and name2 in
// double-byte languages).
void MapName(const MappingContext& m, const std::vector<ContactValue>& names, int line, int card,
             DisplayRecord& record, std::vector<ImportNote>& notes);

// A fax number as people write it -> the dialable text: "tel:" and URI
// parameters dropped, a leading '+' turned into the international prefix
// (a "(0)" trunk digit after it dropped), brackets, dots and slashes removed.
// Returns 0, or the string id of why the number cannot be dialled.
// `changeId` is set to the note the change needs (0 for none).
int NormaliseFaxNumber(const MappingContext& m, std::string_view text, std::string& number,
                       int& changeId);

// An e-mail address ("mailto:" dropped) -> 0, or why it cannot be used.
int NormaliseEmailAddress(std::string_view text, std::string& address);

// An entry waiting for its place.
struct Candidate {
  int line = 0;
  int card = 0;
  int oneTouchKey = 0;  // 1-32: Replace puts it on this key
  int speedDial = 0;    // 1-240: Replace puts it on this Speed Dial
  DisplayRecord record{};
};

// Places candidates (in file order) into plan.entries: Replace fills the
// named places, then the Speed Dials from the first; Add fills only free
// Speed Dials and leaves out addresses the address book already has. A
// candidate without a place gets a Skipped note.
void PlaceCandidates(const DataSet& set, ImportMode mode, std::vector<Candidate>& candidates,
                     ContactImportPlan& plan);

// Our own CSV (`odctool export --csv`): rows checked with the entry
// dialog's rules, placed at the entries they name. Fills plan.format (0 when
// the file is refused as a whole).
void PlanOwnCsv(const DataSet& set, std::string_view text, ImportMode mode,
                const ImportOptions& options, ContactImportPlan& plan);

ImportNote MakeNote(ImportNoteKind kind, int line, int card, std::string field, std::string value,
                    int messageId, std::string argument = {});

}  // namespace odc
