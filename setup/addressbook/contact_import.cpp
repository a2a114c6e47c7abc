#include "setup/addressbook/contact_import.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

#include "setup/addressbook/contact_mapping.h"
#include "setup/addressbook/contact_readers.h"
#include "setup/addressbook/contact_text.h"
#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/data/charset.h"
#include "setup/res/resource.h"

namespace odc {
namespace {

constexpr size_t kMaxName = 20;
constexpr size_t kMaxNumber = 30;
constexpr size_t kMaxAddress = 64;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

void CopyText(char* field, size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

// Unicode spaces -> ' ', so that a number or a name copied from a word
// processor reads as typed.
std::string PlainSpaces(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const size_t start = i;
    const char32_t cp = NextCodePoint(utf8, i);
    if (cp == 0x00A0 || (cp >= 0x2000 && cp <= 0x200A) || cp == 0x202F || cp == 0x3000 ||
        cp == '\t' || cp == '\r' || cp == '\n') {
      out += ' ';
    } else if (cp == 0x200B || cp == 0x200E || cp == 0x200F || cp == 0xFEFF || cp == 0x2060) {
      // Zero-width marks that phones put around numbers.
    } else {
      out.append(utf8.substr(start, i - start));
    }
  }
  return out;
}

// Fax digits as the machine dials them, for "already present".
std::string DialKey(std::string_view number) {
  std::string key;
  for (char ch : number) {
    if ((ch >= '0' && ch <= '9') || ch == '*' || ch == '#' || ch == 'P') key += ch;
  }
  return key;
}

std::string FieldText(const char* field, size_t size) {
  return std::string(field, strnlen(field, size));
}

// The text of an address-book place for messages.
std::string PlaceText(bool speedDial, int index) {
  return (speedDial ? "Speed Dial " : "One Touch ") + std::to_string(index + 1);
}

// Whether a Speed Dial is free for Add: nothing the codec would show is
// stored there, and no bytes that a later edit could need.
bool SpeedDialFree(const DataSet& set, int index) {
  const uint8_t* entry = set.SpeedDialEntry(index);
  for (size_t k = 0; k < kSpeedDialEntrySize; ++k) {
    if (entry[k] != 0) return false;
  }
  return true;
}

// Cuts a single-byte name to the machine's 20 characters, without the
// spaces the cut leaves at its end; true when it was longer.
bool ShortenName(std::string& name) {
  if (name.size() <= kMaxName) return false;
  name.resize(kMaxName);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return true;
}

}  // namespace

ImportNote MakeNote(ImportNoteKind kind, int line, int card, std::string field, std::string value,
                    int messageId, std::string argument) {
  ImportNote note;
  note.kind = kind;
  note.line = line;
  note.card = card;
  note.field = std::move(field);
  note.value = std::move(value);
  note.messageId = messageId;
  note.argument = std::move(argument);
  return note;
}

MappingContext MappingContextOf(const DataSet& set, const ImportOptions& options) {
  MappingContext m;
  m.language = set.language;
  m.variant = GetSetting(set, kMachineVariantId);
  m.internationalPrefix = options.internationalPrefix;
  return m;
}

bool MachineName(const MappingContext& m, std::string_view utf8, std::string& ansi,
                 bool& transliterated) {
  ansi.clear();
  transliterated = false;
  const std::string text = PlainSpaces(utf8);
  size_t i = 0;
  while (i < text.size()) {
    const size_t start = i;
    const char32_t cp = NextCodePoint(text, i);
    const std::string_view one(text.data() + start, i - start);
    std::string bytes;
    if (cp >= 0x20 && cp < 0x7F) {
      bytes = std::string(one);
    } else if (cp >= 0x80) {
      bytes = Utf8ToAnsi(m.language, one);
      if (AnsiToUtf8(m.language, bytes) != one) bytes.clear();
    }
    if (!bytes.empty() && FilterNameText(bytes, m.language, m.variant).accepted) {
      ansi += bytes;
      continue;
    }
    const std::string plain = TransliterateLetter(cp);
    if (!plain.empty() && FilterNameText(plain, m.language, m.variant).accepted) {
      ansi += plain;
      transliterated = true;
      continue;
    }
    return false;
  }
  // Spaces left by the conversion at either end, and runs of them, say
  // nothing.
  std::string squeezed;
  for (char ch : ansi) {
    if (ch == ' ' && (squeezed.empty() || squeezed.back() == ' ')) continue;
    squeezed += ch;
  }
  while (!squeezed.empty() && squeezed.back() == ' ') squeezed.pop_back();
  ansi = squeezed;
  return !ansi.empty();
}

void MapName(const MappingContext& m, const std::vector<ContactValue>& names, int line, int card,
             DisplayRecord& record, std::vector<ImportNote>& notes) {
  std::memset(record.name, 0, sizeof record.name);
  std::memset(record.name2, 0, sizeof record.name2);
  const ContactValue* unshowable = nullptr;
  const bool doubleByte = !IsSingleByteLanguage(m.language);
  for (const ContactValue& source : names) {
    std::string ansi;
    bool transliterated = false;
    const bool latin = MachineName(m, source.text, ansi, transliterated);
    // The double-byte languages show the name from name2: the source in the
    // language's own characters, when all of it converts and the language's
    // check keeps it (a kanji or hanzi name has no other form).
    std::string native;
    bool nativeShortened = false;
    if (doubleByte) {
      const std::string text = PlainSpaces(source.text);
      const std::string bytes = Utf8ToAnsi(m.language, text);
      if (!bytes.empty() && AnsiToUtf8(m.language, bytes) == text) {
        const NameCheck check = ValidateName(m.language, bytes);
        if (!check.rejected && !check.text.empty()) {
          native = check.text;
          while (!native.empty() && native.back() == ' ') native.pop_back();
          nativeShortened = bytes.size() > kMaxName;
        }
      }
    }
    if (!latin && native.empty()) {
      if (!unshowable) unshowable = &source;
      continue;
    }
    const int at = source.line != 0 ? source.line : line;
    if (unshowable) {
      notes.push_back(MakeNote(ImportNoteKind::Changed, unshowable->line ? unshowable->line : line,
                               card, unshowable->field, unshowable->text, IDS_CONTACT_NAME_FALLBACK,
                               source.field));
    }
    const bool latinShortened = latin && ShortenName(ansi);
    // What the lists show is reported: the name in the single-byte
    // languages, name2 in the others (the name when name2 has no form).
    if (native.empty()) {
      if (transliterated) {
        notes.push_back(MakeNote(ImportNoteKind::Changed, at, card, source.field, source.text,
                                 IDS_CONTACT_TRANSLITERATED, AnsiToUtf8(m.language, ansi)));
      }
      if (latinShortened) {
        notes.push_back(MakeNote(ImportNoteKind::Changed, at, card, source.field, source.text,
                                 IDS_CONTACT_SHORTENED, AnsiToUtf8(m.language, ansi)));
      }
    } else if (nativeShortened) {
      notes.push_back(MakeNote(ImportNoteKind::Changed, at, card, source.field, source.text,
                               IDS_CONTACT_SHORTENED, AnsiToUtf8(m.language, native)));
    }
    if (latin) CopyText(record.name, sizeof record.name, ansi);
    if (doubleByte) CopyText(record.name2, sizeof record.name2, native.empty() ? ansi : native);
    if (!latin) {
      // A kanji name has no single-byte form; the contact's next name that
      // has one (N in Latin letters, the company) fills the other field.
      for (const ContactValue* other = &source + 1; other != names.data() + names.size(); ++other) {
        std::string plain;
        bool unused = false;
        if (!MachineName(m, other->text, plain, unused)) continue;
        ShortenName(plain);
        CopyText(record.name, sizeof record.name, plain);
        break;
      }
    }
    return;
  }
  if (unshowable) {
    notes.push_back(MakeNote(ImportNoteKind::Changed, unshowable->line ? unshowable->line : line,
                             card, unshowable->field, unshowable->text, IDS_CONTACT_NO_NAME));
  }
}

int NormaliseFaxNumber(const MappingContext& m, std::string_view text, std::string& number,
                       int& changeId) {
  changeId = 0;
  std::string t(Trim(PlainSpaces(text)));
  if (Lower(t.substr(0, 4)) == "tel:") {
    t = t.substr(4);
    // tel: URIs may carry parameters (";ext=12", ";phone-context=...").
    const size_t semi = t.find(';');
    if (semi != std::string::npos) {
      t.resize(semi);
      changeId = IDS_CONTACT_NUMBER_CHANGED;
    }
  }
  t = std::string(Trim(t));
  std::string digits;
  for (char ch : t) {
    if (ch != '(' && ch != ')' && ch != '.' && ch != '/') digits += ch;
  }
  if (!t.empty() && t[0] == '+') {
    // "+49 (0)30 ..." dials without the trunk 0 from abroad.
    std::string rest = t.substr(1);
    if (Trim(rest).empty()) return IDS_CONTACT_NUMBER_CHARACTER;
    const size_t trunk = rest.find("(0)");
    if (trunk != std::string::npos) rest.erase(trunk, 3);
    digits.clear();
    for (char ch : rest) {
      if (ch != '(' && ch != ')' && ch != '.' && ch != '/') digits += ch;
    }
    digits = m.internationalPrefix + std::string(Trim(digits));
    changeId =
        changeId == IDS_CONTACT_NUMBER_CHANGED ? IDS_CONTACT_PREFIX_EXTENSION : IDS_CONTACT_PREFIX;
  }
  number = std::string(Trim(digits));
  // A number that ends in '+' is a combination key (our own exports write
  // them so).
  const std::string_view dialled = IsCombinationNumber(number)
                                       ? std::string_view(number).substr(0, number.size() - 1)
                                       : std::string_view(number);
  if (dialled.empty() || !FilterDialText(dialled, DialField::Number).accepted) {
    changeId = 0;
    return IDS_CONTACT_NUMBER_CHARACTER;
  }
  if (number.size() > kMaxNumber) {
    changeId = 0;
    return IDS_CONTACT_NUMBER_TOO_LONG;
  }
  return 0;
}

int NormaliseEmailAddress(std::string_view text, std::string& address) {
  address = std::string(Trim(PlainSpaces(text)));
  if (Lower(address.substr(0, 7)) == "mailto:") address = std::string(Trim(address.substr(7)));
  if (address.size() > kMaxAddress || !FilterMailText(address).accepted ||
      CheckDestination(kKindEmail, address, "").failed()) {
    return IDS_CONTACT_ADDRESS_INVALID;
  }
  return 0;
}

namespace {

// One contact -> a candidate, or a Skipped note.
bool MapContact(const MappingContext& m, const Contact& c, int format, Candidate& candidate,
                std::vector<ImportNote>& notes) {
  const std::string firstName = c.names.empty() ? std::string() : c.names.front().text;
  if (c.group) {
    notes.push_back(MakeNote(ImportNoteKind::Skipped, c.line, c.card,
                             format == kImportFormatVcard ? "KIND" : "", firstName,
                             IDS_CONTACT_GROUP_CARD));
    return false;
  }
  std::vector<ImportNote> own;
  DisplayRecord& r = candidate.record;
  r = DisplayRecord{};
  candidate.line = c.line;
  candidate.card = c.card;
  candidate.oneTouchKey = c.oneTouchKey;
  candidate.speedDial = c.speedDial;

  // Fax: a preferred one first; a number that cannot be dialled gives way
  // to the next.
  std::vector<const ContactValue*> faxes;
  for (const ContactValue& v : c.faxes) {
    if (v.preferred) faxes.push_back(&v);
  }
  for (const ContactValue& v : c.faxes) {
    if (!v.preferred) faxes.push_back(&v);
  }
  std::vector<ImportNote> passedOver;
  bool found = false;
  for (const ContactValue* v : faxes) {
    std::string number;
    int changeId = 0;
    const int problem = NormaliseFaxNumber(m, v->text, number, changeId);
    if (problem != 0) {
      passedOver.push_back(
          MakeNote(ImportNoteKind::Changed, v->line, c.card, v->field, v->text, problem));
      continue;
    }
    if (changeId != 0) {
      own.push_back(
          MakeNote(ImportNoteKind::Changed, v->line, c.card, v->field, v->text, changeId, number));
    }
    r.kind = kKindFax;
    CopyText(r.number, sizeof r.number, number);
    found = true;
    break;
  }
  if (!found) {
    // E-mail: the same order, a preferred address first.
    std::vector<const ContactValue*> emails;
    for (const ContactValue& v : c.emails) {
      if (v.preferred) emails.push_back(&v);
    }
    for (const ContactValue& v : c.emails) {
      if (!v.preferred) emails.push_back(&v);
    }
    for (const ContactValue* e : emails) {
      const ContactValue& v = *e;
      std::string address;
      const int problem = NormaliseEmailAddress(v.text, address);
      if (problem != 0) {
        passedOver.push_back(
            MakeNote(ImportNoteKind::Changed, v.line, c.card, v.field, v.text, problem));
        continue;
      }
      r.kind = kKindEmail;
      CopyText(r.email, sizeof r.email, address);
      found = true;
      break;
    }
  }
  if (!found) {
    if (!passedOver.empty()) {
      ImportNote note = passedOver.front();
      note.kind = ImportNoteKind::Skipped;
      notes.push_back(note);
    } else {
      notes.push_back(
          MakeNote(ImportNoteKind::Skipped, c.line, c.card,
                   format == kImportFormatVcard ? "TEL;TYPE=FAX / EMAIL" : "fax / e-mail",
                   firstName, IDS_CONTACT_NO_DESTINATION));
    }
    return false;
  }
  r.inUse = 1;
  r.entryType = kEntrySpeedDial;
  r.speedIndex = 2;  // 33.6K, what a new entry starts with
  if (r.kind == kKindFax && IsCombinationNumber(r.number)) {
    // A combination key keeps only its number, as the entry dialog does.
    r.combination = 1;
  } else if (c.names.empty()) {
    // The entry dialog takes an entry without a name, and so does the
    // import; the report says so, with the address that names the entry.
    const bool fax = r.kind == kKindFax;
    own.push_back(
        MakeNote(ImportNoteKind::Changed, c.line, c.card,
                 format == kImportFormatVcard ? "FN / N / ORG" : "name",
                 fax ? FieldText(r.number, sizeof r.number) : FieldText(r.email, sizeof r.email),
                 IDS_CONTACT_NAMELESS));
  } else {
    MapName(m, c.names, c.line, c.card, r, own);
  }
  notes.insert(notes.end(), passedOver.begin(), passedOver.end());
  notes.insert(notes.end(), own.begin(), own.end());
  return true;
}

struct NoteOrder {
  bool operator()(const ImportNote& a, const ImportNote& b) const { return a.line < b.line; }
};

}  // namespace

void PlaceCandidates(const DataSet& set, ImportMode mode, std::vector<Candidate>& candidates,
                     ContactImportPlan& plan) {
  std::vector<bool> keyTaken(kOneTouchCount, false), dialTaken(kSpeedDialCount, false);
  auto skip = [&](const Candidate& c, int messageId, std::string argument) {
    const DisplayRecord& r = c.record;
    const bool fax = r.kind == kKindFax;
    plan.notes.push_back(
        MakeNote(ImportNoteKind::Skipped, c.line, c.card, fax ? "fax" : "e-mail",
                 fax ? FieldText(r.number, sizeof r.number) : FieldText(r.email, sizeof r.email),
                 messageId, std::move(argument)));
  };
  auto put = [&](Candidate& c, bool speedDial, int index) {
    PlannedEntry e;
    e.line = c.line;
    e.card = c.card;
    e.speedDial = speedDial;
    e.index = index;
    e.record = c.record;
    e.record.index = static_cast<uint8_t>(index);
    e.record.entryType = speedDial ? kEntrySpeedDial : kEntryOneTouch;
    plan.entries.push_back(e);
  };
  std::vector<std::pair<bool, int>> placeOf(candidates.size(), {true, -1});

  if (mode == ImportMode::Replace) {
    // Places the file names itself (our own vCard export) first.
    for (size_t k = 0; k < candidates.size(); ++k) {
      const Candidate& c = candidates[k];
      if (c.oneTouchKey > 0 && !keyTaken[c.oneTouchKey - 1]) {
        keyTaken[c.oneTouchKey - 1] = true;
        placeOf[k] = {false, c.oneTouchKey - 1};
      } else if (c.speedDial > 0 && !dialTaken[c.speedDial - 1]) {
        dialTaken[c.speedDial - 1] = true;
        placeOf[k] = {true, c.speedDial - 1};
      }
    }
    int next = 0;
    for (size_t k = 0; k < candidates.size(); ++k) {
      if (placeOf[k].second < 0) {
        while (next < kSpeedDialCount && dialTaken[next]) ++next;
        if (next < kSpeedDialCount) {
          dialTaken[next] = true;
          placeOf[k] = {true, next};
        }
      }
    }
    for (size_t k = 0; k < candidates.size(); ++k) {
      if (placeOf[k].second < 0) {
        skip(candidates[k], IDS_CONTACT_NO_PLACE_LEFT, "");
      } else {
        put(candidates[k], placeOf[k].first, placeOf[k].second);
      }
    }
    return;
  }

  // Add: what the address book already holds, by address.
  std::vector<std::pair<std::string, std::string>> present;  // key, place
  auto keyOf = [](const DisplayRecord& r) {
    return r.kind == kKindEmail ? "@" + Lower(FieldText(r.email, sizeof r.email))
                                : "#" + DialKey(FieldText(r.number, sizeof r.number));
  };
  {
    // Unpacking reads the tables only; a copy keeps the caller's set
    // untouched (unpacking may repair broken e-mail entries).
    auto copy = std::make_unique<DataSet>(set);
    DisplayRecord r;
    for (int key = 0; key < kOneTouchCount; ++key) {
      UnpackOneTouch(r, *copy, key);
      if (r.inUse && !r.program && r.entryType != kEntryGroup) {
        present.push_back({keyOf(r), PlaceText(false, key)});
      }
    }
    for (int index = 0; index < kSpeedDialCount; ++index) {
      UnpackSpeedDial(r, *copy, index);
      if (r.inUse && !r.program) present.push_back({keyOf(r), PlaceText(true, index)});
    }
  }
  int next = 0;
  for (Candidate& c : candidates) {
    const std::string key = keyOf(c.record);
    const auto found =
        std::find_if(present.begin(), present.end(), [&](const auto& p) { return p.first == key; });
    if (found != present.end()) {
      skip(c, IDS_CONTACT_ALREADY_PRESENT, found->second);
      continue;
    }
    while (next < kSpeedDialCount && !SpeedDialFree(set, next)) ++next;
    if (next >= kSpeedDialCount) {
      skip(c, IDS_CONTACT_NO_FREE_PLACE, "");
      continue;
    }
    put(c, true, next);
    present.push_back({key, PlaceText(true, next)});
    ++next;
  }
}

int ContactFileFormat(const uint8_t* data, size_t size) {
  if (size >= 3 && std::memcmp(data, "CMC", 3) == 0) return 0;
  std::string text;
  if (!DecodeContactText(data, size, text)) {
    // A byte-order mark says text: the plan refuses it with a message that
    // says how to save it, instead of the format error of the data files.
    const bool bom = (size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) ||
                                    (data[0] == 0xFE && data[1] == 0xFF))) ||
                     (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF);
    return bom ? kImportFormatCsv : 0;
  }
  return ContactTextFormat(text);
}

int ReadContacts(const uint8_t* data, size_t size, std::vector<Contact>& contacts,
                 std::vector<ImportNote>& notes) {
  std::string text;
  if (!DecodeContactText(data, size, text)) {
    notes.push_back(MakeNote(ImportNoteKind::Refused, 1, 0, "file", "", IDS_CONTACT_NOT_TEXT));
    return 0;
  }
  return ReadForeignContacts(text, contacts, notes);
}

int ContactImportPlan::skipped() const {
  return static_cast<int>(std::count_if(notes.begin(), notes.end(), [](const ImportNote& n) {
    return n.kind == ImportNoteKind::Skipped;
  }));
}

int ContactImportPlan::changed() const {
  // A card is known by its number; a CSV row by its line.
  std::set<std::pair<int, int>> touched;
  for (const ImportNote& n : notes) {
    if (n.kind == ImportNoteKind::Changed) touched.insert({n.card, n.card != 0 ? 0 : n.line});
  }
  int count = 0;
  for (const PlannedEntry& e : entries) {
    count += touched.count({e.card, e.card != 0 ? 0 : e.line}) != 0;
  }
  return count;
}

std::vector<ImportNote> ContactImportPlan::Problems() const {
  std::vector<ImportNote> problems;
  for (const ImportNote& n : notes) {
    if (n.kind == ImportNoteKind::Changed) continue;
    // Contacts left out by the placing are no fault of the file: one that
    // Add finds already in the address book (the same export added again adds
    // only its new contacts), and those beyond the last place (the first ones
    // are taken).
    const bool placing = n.messageId == IDS_CONTACT_ALREADY_PRESENT ||
                         n.messageId == IDS_CONTACT_NO_FREE_PLACE ||
                         n.messageId == IDS_CONTACT_NO_PLACE_LEFT;
    if (n.kind == ImportNoteKind::Skipped && placing) continue;
    problems.push_back(n);
  }
  return problems;
}

bool PlanContactImport(const uint8_t* data, size_t size, const DataSet& set, ImportMode mode,
                       const ImportOptions& options, ContactImportPlan& plan) {
  plan = ContactImportPlan{};
  plan.mode = mode;
  std::string text;
  // Text that is not UTF-8 is read in the code page of the data set's
  // language first: a Japanese office's spreadsheet writes Shift_JIS.
  if (!DecodeContactText(data, size, text, AnsiCodePage(set.language)) ||
      ContactTextFormat(text) == 0) {
    plan.notes.push_back(MakeNote(ImportNoteKind::Refused, 1, 0, "file", "", IDS_CONTACT_NOT_TEXT));
    return false;
  }
  if (ContactTextFormat(text) == kImportFormatCsv && IsOwnCsvHeader(HeaderLine(text))) {
    PlanOwnCsv(set, text, mode, options, plan);
  } else {
    std::vector<Contact> contacts;
    std::vector<ImportNote> notes;
    plan.format = ReadForeignContacts(text, contacts, notes);
    if (plan.format != 0) {
      const MappingContext m = MappingContextOf(set, options);
      std::vector<Candidate> candidates;
      for (const Contact& c : contacts) {
        Candidate candidate;
        if (MapContact(m, c, plan.format, candidate, notes)) {
          candidates.push_back(std::move(candidate));
        }
      }
      PlaceCandidates(set, mode, candidates, plan);
    }
    plan.notes.insert(plan.notes.begin(), notes.begin(), notes.end());
  }
  std::stable_sort(plan.notes.begin(), plan.notes.end(), NoteOrder());
  if (plan.format == 0) plan.entries.clear();
  return plan.format != 0;
}

// What packing a display record cannot give: names and an e-mail address in
// the machine's own bytes, flags and a speed byte the dialog would not store,
// and a SID the machine holds without a SUB (packing drops it).
static void LayStoredFields(uint8_t* entry, bool speedDial, const PlannedEntry& e) {
  const size_t nameLength = speedDial ? 4 : 5, nameAt = speedDial ? 5 : 6;
  const size_t name2Length = speedDial ? 96 : 130, name2At = speedDial ? 97 : 131;
  if (e.machineName) {
    const size_t n = std::min<size_t>(e.machineName->size(), 20);
    std::memset(entry + nameAt, 0, 20);
    std::memcpy(entry + nameAt, e.machineName->data(), n);
    entry[nameLength] = static_cast<uint8_t>(n);
  }
  if (e.machineName2) {
    const size_t n = std::min<size_t>(e.machineName2->size(), 20);
    std::memset(entry + name2At, 0, 21);
    std::memcpy(entry + name2At, e.machineName2->data(), n);
    entry[name2Length] = static_cast<uint8_t>(n);
  }
  if (e.flags) entry[2] = *e.flags;
  const DisplayRecord& r = e.record;
  if (r.kind == kKindEmail && e.machineAddress) {
    const size_t n = std::min<size_t>(e.machineAddress->size(), 64);
    const size_t addressAt = speedDial ? 32 : 34;
    std::memset(entry + addressAt, 0, 64);
    std::memcpy(entry + addressAt, e.machineAddress->data(), n);
    entry[3] = static_cast<uint8_t>(n);
  }
  const bool fax = r.kind == kKindFax && r.entryType != kEntryGroup;
  if (fax && e.speed) entry[speedDial ? 28 : 30] = *e.speed;
  if (fax && r.sub[0] == '\0' && r.sid[0] != '\0') {
    const size_t count = strnlen(r.sid, sizeof r.sid);
    const size_t countAt = speedDial ? 30 : 32, sidAt = speedDial ? 66 : 68;
    std::memset(entry + sidAt, 0, 10);
    PackDigits(entry + sidAt, r.sid, static_cast<int>(std::min<size_t>(count, 20)));
    entry[countAt] = static_cast<uint8_t>(std::min<size_t>(count, 20));
  }
}

void ApplyContactImportPlan(DataSet& set, const ContactImportPlan& plan) {
  if (plan.format == 0) return;
  auto staging = std::make_unique<DataSet>(set);
  if (plan.mode == ImportMode::Replace) {
    for (int key = 0; key < kOneTouchCount; ++key) {
      uint8_t* entry = staging->OneTouchEntry(key);
      if (!(entry[2] & kFlagProgram)) std::memset(entry, 0, kOneTouchEntrySize);
    }
    std::memset(staging->speedDial, 0, sizeof staging->speedDial);
  }
  for (const PlannedEntry& e : plan.entries) {
    DisplayRecord record = e.record;
    record.index = static_cast<uint8_t>(e.index);
    uint8_t* to = e.speedDial ? staging->SpeedDialEntry(e.index) : staging->OneTouchEntry(e.index);
    const size_t size = e.speedDial ? kSpeedDialEntrySize : kOneTouchEntrySize;
    if (record.program) {
      // A program key of our own CSV: the entry the file carries, else the
      // program entry the data set has there.
      const uint8_t* from = e.speedDial ? set.SpeedDialEntry(e.index) : set.OneTouchEntry(e.index);
      if (e.programEntry.size() == size) {
        std::memcpy(to, e.programEntry.data(), size);
      } else if (from[2] & kFlagProgram) {
        std::memcpy(to, from, size);
      }
      continue;
    }
    if (e.speedDial) {
      PackSpeedDial(*staging, record, e.index);
    } else if (record.entryType == kEntryGroup) {
      PackGroupMembers(*staging, record, e.index);
    } else {
      PackOneTouch(*staging, record, e.index);
    }
    LayStoredFields(to, e.speedDial, e);
  }
  std::memcpy(set.oneTouch, staging->oneTouch, sizeof set.oneTouch);
  std::memcpy(set.speedDial, staging->speedDial, sizeof set.speedDial);
  PackTransferImage(set);
  CheckDialTables(set);
}

std::string PlannedEntryName(const PlannedEntry& e, Language language) {
  const DisplayRecord& r = e.record;
  return IsSingleByteLanguage(language) ? AnsiToUtf8(language, FieldText(r.name, sizeof r.name))
                                        : AnsiToUtf8(language, FieldText(r.name2, sizeof r.name2));
}

std::string DescribeImportNote(const ImportNote& note,
                               const std::function<std::string(int)>& text) {
  std::string reason = text(note.messageId);
  const size_t at = reason.find("%s");
  if (at != std::string::npos) reason.replace(at, 2, note.argument);
  std::string value = note.value;
  if (value.size() > 80) {
    size_t cut = 77;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    value = value.substr(0, cut) + "...";
  }
  const std::string field = note.field.empty() ? "line" : note.field;
  char message[2048];
  if (note.card > 0) {
    std::snprintf(message, sizeof message,
                  text(value.empty() ? IDS_CONTACT_NOTE_CARD_EMPTY : IDS_CONTACT_NOTE_CARD).c_str(),
                  note.card, note.line, field.c_str(),
                  value.empty() ? reason.c_str() : value.c_str(), reason.c_str());
  } else {
    std::snprintf(message, sizeof message,
                  text(value.empty() ? IDS_CONTACT_NOTE_LINE_EMPTY : IDS_CONTACT_NOTE_LINE).c_str(),
                  note.line, field.c_str(), value.empty() ? reason.c_str() : value.c_str(),
                  reason.c_str());
  }
  return message;
}

std::string DescribeImportSummary(const ContactImportPlan& plan,
                                  const std::function<std::string(int)>& text) {
  char message[256];
  std::snprintf(message, sizeof message, text(IDS_CONTACT_SUMMARY).c_str(), plan.imported(),
                plan.skipped(), plan.changed());
  return message;
}

}  // namespace odc
