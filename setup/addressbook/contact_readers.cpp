// The readers of the contact import: bytes -> neutral Contacts. They know
// the file formats (vCard 2.1/3.0/4.0, the CSV of mail programs) and nothing
// of the machine.
#include "setup/addressbook/contact_readers.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "setup/addressbook/contact_text.h"
#include "setup/res/resource.h"

namespace odc {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return lower;
}

std::string_view Trim(std::string_view text) {
  auto space = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

ImportNote Note(ImportNoteKind kind, int line, int card, std::string field, std::string value,
                int messageId) {
  ImportNote note;
  note.kind = kind;
  note.line = line;
  note.card = card;
  note.field = std::move(field);
  note.value = std::move(value);
  note.messageId = messageId;
  return note;
}

// Physical lines of a text, with their 1-based numbers. A line ends at CR LF,
// at LF, at CR alone, and at CR CR LF (what some phones write): one line end
// each.
size_t LineEndLength(std::string_view text, size_t at) {
  if (at >= text.size()) return 0;
  if (text[at] == '\n') return 1;
  if (text[at] != '\r') return 0;
  if (at + 2 < text.size() + 0 && text[at + 1] == '\r' && text[at + 2] == '\n') return 3;
  if (at + 1 < text.size() && text[at + 1] == '\n') return 2;
  return 1;
}

struct PhysicalLine {
  int number;
  std::string_view text;
};
std::vector<PhysicalLine> SplitLines(std::string_view text) {
  std::vector<PhysicalLine> lines;
  size_t i = 0;
  int number = 1;
  while (i < text.size()) {
    size_t end = i;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.push_back({number++, text.substr(i, end - i)});
    end += LineEndLength(text, end);
    i = end;
  }
  return lines;
}

// ---- vCard ----

struct Property {
  int line = 0;
  std::string name;                 // upper case, group prefix removed
  std::string group;                // the group prefix ("item1"), lower case; "" for none
  std::vector<std::string> params;  // as written
  std::string raw;                  // the value before decoding
  bool hasColon = true;
};

// Parameter values of a property, lower case: TYPE=work,fax;PREF -> work,
// fax, pref. Bare 2.1 parameters (FAX, QUOTED-PRINTABLE) count as values.
std::vector<std::string> ParamValues(const Property& p, std::string_view name) {
  std::vector<std::string> values;
  for (const std::string& param : p.params) {
    const size_t equals = param.find('=');
    std::string key = equals == std::string::npos ? "type" : Lower(Trim(param.substr(0, equals)));
    if (key != name) continue;
    std::string value = equals == std::string::npos ? param : param.substr(equals + 1);
    value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
    size_t start = 0;
    for (;;) {
      const size_t comma = value.find(',', start);
      values.push_back(Lower(Trim(std::string_view(value).substr(start, comma - start))));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return values;
}

bool HasParam(const Property& p, std::string_view key, std::string_view value) {
  const auto values = ParamValues(p, key);
  return std::find(values.begin(), values.end(), value) != values.end();
}

std::string ParamValue(const Property& p, std::string_view key) {
  const auto values = ParamValues(p, key);
  return values.empty() ? std::string() : values.front();
}

bool IsQuotedPrintable(const Property& p) {
  return HasParam(p, "encoding", "quoted-printable") || HasParam(p, "type", "quoted-printable");
}

bool IsBase64(const Property& p) {
  return HasParam(p, "encoding", "base64") || HasParam(p, "encoding", "b") ||
         HasParam(p, "type", "base64");
}

// "\n", "\,", "\;" and "\\" of vCard texts (3.0 and 4.0; 2.1 escapes only
// ';', which the same rule reads correctly).
std::string Unescape(std::string_view value) {
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char next = value[++i];
      text += next == 'n' || next == 'N' ? ' ' : next;
    } else {
      text += value[i];
    }
  }
  return text;
}

// Components of a structured value (N, ORG): split at ';' not escaped.
std::vector<std::string> Components(std::string_view value) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      parts.back() += value[i];
      parts.back() += value[++i];
    } else if (value[i] == ';') {
      parts.emplace_back();
    } else {
      parts.back() += value[i];
    }
  }
  for (std::string& part : parts) part = std::string(Trim(Unescape(part)));
  return parts;
}

// The value of a property as UTF-8 text: quoted-printable and CHARSET
// applied (the file itself is already UTF-8).
std::string ValueText(const Property& p) {
  if (!IsQuotedPrintable(p)) return p.raw;
  // The file was decoded to UTF-8 before: the escapes hold the bytes in the
  // property's own character set.
  return DecodeCharset(DecodeQuotedPrintable(p.raw), ParamValue(p, "charset"));
}

Property ParseProperty(int line, const std::string& content) {
  Property p;
  p.line = line;
  size_t colon = std::string::npos;
  bool quoted = false;
  for (size_t k = 0; k < content.size(); ++k) {
    if (content[k] == '"') quoted = !quoted;
    if (content[k] == ':' && !quoted) {
      colon = k;
      break;
    }
  }
  if (colon == std::string::npos) {
    p.hasColon = false;
    p.raw = content;
    return p;
  }
  p.raw = content.substr(colon + 1);
  const std::string head = content.substr(0, colon);
  size_t semi = head.find(';');
  p.name = std::string(Trim(head.substr(0, semi)));
  const size_t dot = p.name.find('.');
  if (dot != std::string::npos) {
    p.group = Lower(p.name.substr(0, dot));
    p.name = p.name.substr(dot + 1);
  }
  for (char& ch : p.name) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  while (semi != std::string::npos) {
    const size_t next = head.find(';', semi + 1);
    p.params.push_back(head.substr(semi + 1, next - semi - 1));
    semi = next;
  }
  return p;
}

// Logical lines: folded lines joined (a line that begins with a space or a
// tab continues the one before), and the soft line breaks of
// quoted-printable values (a value ending in '=') joined too.
std::vector<Property> ReadProperties(std::string_view text) {
  const std::vector<PhysicalLine> lines = SplitLines(text);
  std::vector<Property> properties;
  std::string content;
  int start = 0;
  bool open = false;
  auto flush = [&]() {
    if (open && !Trim(content).empty()) properties.push_back(ParseProperty(start, content));
    open = false;
    content.clear();
  };
  for (size_t n = 0; n < lines.size(); ++n) {
    const std::string_view line = lines[n].text;
    if (open && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      content += line.substr(1);
      continue;
    }
    if (open && line.empty()) continue;  // CR CR LF and blank lines inside folding
    flush();
    start = lines[n].number;
    content = std::string(line);
    open = true;
    // Quoted-printable: "=" at the end of a line joins the next line as it
    // stands.
    const std::string upperHead = Lower(content.substr(0, content.find(':')));
    if (upperHead.find("quoted-printable") != std::string::npos) {
      while (!content.empty() && content.back() == '=' && n + 1 < lines.size()) {
        content.pop_back();
        content += lines[++n].text;
      }
    }
  }
  flush();
  return properties;
}

bool IsFax(const Property& p) { return HasParam(p, "type", "fax"); }

bool IsPreferred(const Property& p) {
  if (HasParam(p, "type", "pref")) return true;
  for (const std::string& param : p.params) {
    if (Lower(Trim(param)).rfind("pref=", 0) == 0) return true;
  }
  return false;
}

// A number of Apple's and Google's exports says its kind in a label of its
// group (item1.TEL:... with item1.X-ABLabel:homeFax), before or after it.
struct LabelledNumbers {
  std::vector<std::pair<std::string, ContactValue>> numbers;  // group, number
  std::vector<std::pair<std::string, std::string>> labels;    // group, label (lower case)
  void Clear() {
    numbers.clear();
    labels.clear();
  }
  // Numbers whose label names a fax ("homeFax", "_$!<WorkFAX>!$_") join the
  // card's faxes in file order.
  void AddFaxesTo(Contact& contact) const {
    bool added = false;
    for (const auto& number : numbers) {
      const std::string& group = number.first;
      const bool fax = std::any_of(labels.begin(), labels.end(), [&group](const auto& label) {
        return label.first == group && label.second.find("fax") != std::string::npos;
      });
      if (fax) {
        contact.faxes.push_back(number.second);
        added = true;
      }
    }
    if (added) {
      std::stable_sort(
          contact.faxes.begin(), contact.faxes.end(),
          [](const ContactValue& a, const ContactValue& b) { return a.line < b.line; });
    }
  }
};

// Evolution keeps the order its editor shows the e-mail addresses in
// (X-EVOLUTION-UI-SLOT=1 is the first), whatever their order in the file.
int EvolutionSlot(const Property& p) {
  const std::string slot = ParamValue(p, "x-evolution-ui-slot");
  int number = 0;
  for (char ch : slot) {
    if (ch < '0' || ch > '9' || number > 1000) return 0;
    number = number * 10 + (ch - '0');
  }
  return number;
}

void OrderBySlot(std::vector<ContactValue>& values, const std::vector<int>& slots) {
  if (slots.size() != values.size() ||
      std::all_of(slots.begin(), slots.end(), [](int slot) { return slot == 0; })) {
    return;
  }
  std::vector<size_t> order(values.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  // Addresses without a slot keep their place after those with one.
  auto key = [&](size_t k) { return slots[k] == 0 ? 1 << 20 : slots[k]; };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return key(a) < key(b); });
  std::vector<ContactValue> sorted;
  for (size_t k : order) sorted.push_back(values[k]);
  values = std::move(sorted);
}

int ReadVcard(std::string_view text, std::vector<Contact>& contacts,
              std::vector<ImportNote>& notes) {
  const std::vector<Property> properties = ReadProperties(text);
  bool inCard = false;
  int depth = 0;  // cards nested in a 2.1 AGENT property
  int cardCount = 0;
  Contact contact;
  std::string fn, n, org;
  bool afterBase64 = false;
  std::string lastName;
  LabelledNumbers labelled;
  std::vector<int> emailSlots;
  for (const Property& p : properties) {
    const std::string value(Trim(ValueText(p)));
    if (!inCard) {
      if (p.hasColon && p.name == "BEGIN" && Lower(value) == "vcard") {
        inCard = true;
        depth = 0;
        afterBase64 = false;
        contact = Contact{};
        contact.line = p.line;
        contact.card = ++cardCount;
        lastName.clear();
        labelled.Clear();
        emailSlots.clear();
      } else {
        notes.push_back(Note(ImportNoteKind::Changed, p.line, 0, p.name, std::string(Trim(p.raw)),
                             IDS_CONTACT_LINE_LEFT_OUT));
      }
      continue;
    }
    if (!p.hasColon) {
      // Base64 data of a photo in 2.1 files need not be indented.
      if (!afterBase64) {
        notes.push_back(Note(ImportNoteKind::Changed, p.line, contact.card, "",
                             std::string(Trim(p.raw)).substr(0, 40), IDS_CONTACT_LINE_LEFT_OUT));
      }
      continue;
    }
    afterBase64 = IsBase64(p);
    if (p.name == "BEGIN" && Lower(value) == "vcard") {
      if (lastName == "AGENT") {
        ++depth;
        continue;
      }
      // The card before was never closed: report it and start the next.
      notes.push_back(Note(ImportNoteKind::Skipped, contact.line, contact.card, "END:VCARD", "",
                           IDS_CONTACT_CARD_NOT_CLOSED));
      contact = Contact{};
      contact.line = p.line;
      contact.card = ++cardCount;
      lastName.clear();
      labelled.Clear();
      emailSlots.clear();
      continue;
    }
    lastName = p.name;
    if (depth > 0) {
      if (p.name == "END") --depth;
      continue;
    }
    if (p.name == "END") {
      labelled.AddFaxesTo(contact);
      OrderBySlot(contact.emails, emailSlots);
      contacts.push_back(std::move(contact));
      contact = Contact{};
      inCard = false;
    } else if (p.name == "FN") {
      if (!value.empty()) contact.names.push_back({Unescape(value), p.line, "FN"});
    } else if (p.name == "N") {
      // Family; Given; Additional; Prefixes; Suffixes -> "Given Family".
      const auto parts = Components(value);
      std::string name;
      for (size_t k : {size_t{1}, size_t{2}, size_t{0}}) {
        if (k < parts.size() && !parts[k].empty()) name += (name.empty() ? "" : " ") + parts[k];
      }
      if (!name.empty()) contact.names.push_back({name, p.line, "N"});
    } else if (p.name == "ORG") {
      const auto parts = Components(value);
      if (!parts.empty() && !parts[0].empty()) contact.names.push_back({parts[0], p.line, "ORG"});
    } else if (p.name == "TEL" && IsFax(p)) {
      // An empty fax line does not hide a good one after it.
      if (!value.empty()) contact.faxes.push_back({Unescape(value), p.line, "TEL", IsPreferred(p)});
    } else if (p.name == "TEL" && !p.group.empty()) {
      if (!value.empty()) {
        labelled.numbers.push_back({p.group, {Unescape(value), p.line, "TEL", IsPreferred(p)}});
      }
    } else if (p.name == "X-ABLABEL" && !p.group.empty()) {
      labelled.labels.push_back({p.group, Lower(value)});
    } else if (p.name == "EMAIL") {
      if (!value.empty()) {
        contact.emails.push_back({Unescape(value), p.line, "EMAIL", IsPreferred(p)});
        emailSlots.push_back(EvolutionSlot(p));
      }
    } else if ((p.name == "KIND" || p.name == "X-ADDRESSBOOKSERVER-KIND") &&
               Lower(value) == "group") {
      contact.group = true;
    } else if (p.name == "X-ODC-ENTRY") {
      const size_t space = value.find(' ');
      const std::string table = Lower(value.substr(0, space));
      const std::string number =
          space == std::string::npos ? "" : std::string(Trim(value.substr(space)));
      int place = 0;
      for (char ch : number)
        place = ch >= '0' && ch <= '9' && place < 1000 ? place * 10 + (ch - '0') : 1000;
      if (table == "one-touch" && place >= 1 && place <= kOneTouchCount)
        contact.oneTouchKey = place;
      if (table == "speed-dial" && place >= 1 && place <= kSpeedDialCount)
        contact.speedDial = place;
    }
  }
  // Names in the order the mapping tries them: every FN, then N, then ORG.
  if (inCard) {
    notes.push_back(Note(ImportNoteKind::Skipped, contact.line, contact.card, "END:VCARD", "",
                         IDS_CONTACT_CARD_NOT_CLOSED));
  }
  for (Contact& c : contacts) {
    std::stable_sort(
        c.names.begin(), c.names.end(), [](const ContactValue& a, const ContactValue& b) {
          auto rank = [](const std::string& f) { return f == "FN" ? 0 : f == "N" ? 1 : 2; };
          return rank(a.field) < rank(b.field);
        });
  }
  return kImportFormatVcard;
}

// ---- CSV of mail programs ----

// RFC 4180 with the separator of the file; lenient where spreadsheets are
// (a quote inside an unquoted field is kept as a character). `lines` gets the
// line each record starts on; false when a quoted field is never closed (at
// `badLine`).
bool SplitCsv(std::string_view text, char separator, std::vector<std::vector<std::string>>& records,
              std::vector<int>& lines, int& badLine) {
  size_t i = 0;
  int line = 1;
  auto lineEnd = [&](size_t at) { return text[at] == '\r' || text[at] == '\n'; };
  auto skipLineEnd = [&]() {
    i += LineEndLength(text, i);
    ++line;
  };
  while (i < text.size()) {
    std::vector<std::string> fields;
    const int start = line;
    for (;;) {
      std::string field;
      while (i < text.size() && (text[i] == ' ') && separator != ' ') field += text[i++];
      if (i < text.size() && text[i] == '"') {
        field.clear();
        ++i;
        for (;;) {
          if (i >= text.size()) {
            badLine = start;
            return false;
          }
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n' ||
              (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++line;
          }
          field += text[i++];
        }
      }
      while (i < text.size() && text[i] != separator && !lineEnd(i)) field += text[i++];
      fields.push_back(std::move(field));
      if (i < text.size() && text[i] == separator) {
        ++i;
        continue;
      }
      break;
    }
    skipLineEnd();
    bool empty = true;
    for (const std::string& f : fields) empty = empty && Trim(f).empty();
    if (empty) continue;
    records.push_back(std::move(fields));
    lines.push_back(start);
  }
  return true;
}

// What a column of a mail program's CSV holds.
enum class Role {
  None,
  DisplayName,
  First,
  Middle,
  Last,
  Company,
  Fax,
  Email,
  PhoneType,
  PhoneValue
};

struct Heading {
  const char* text;
  Role role;
};
// Outlook (desktop, web, 365; English and German), Google Contacts (old and
// new), Thunderbird (English and German), Windows Live Mail.
constexpr Heading kHeadings[] = {
    {"display name", Role::DisplayName},
    {"name", Role::DisplayName},
    {"full name", Role::DisplayName},
    {"anzeigename", Role::DisplayName},
    {"first name", Role::First},
    {"given name", Role::First},
    {"vorname", Role::First},
    {"middle name", Role::Middle},
    {"additional name", Role::Middle},
    {"weitere vornamen", Role::Middle},
    {"last name", Role::Last},
    {"family name", Role::Last},
    {"nachname", Role::Last},
    {"company", Role::Company},
    {"organization 1 - name", Role::Company},
    {"organization name", Role::Company},
    {"organization", Role::Company},
    {"firma", Role::Company},
    {"organisation", Role::Company},
    {"business fax", Role::Fax},
    {"home fax", Role::Fax},
    {"other fax", Role::Fax},
    {"fax number", Role::Fax},
    {"fax", Role::Fax},
    {"work fax", Role::Fax},
    {"fax-nummer", Role::Fax},
    {"faxnummer", Role::Fax},
    {"fax geschäftlich", Role::Fax},
    {"fax privat", Role::Fax},
    {"weiteres fax", Role::Fax},
    {"e-mail address", Role::Email},
    {"e-mail 2 address", Role::Email},
    {"e-mail 3 address", Role::Email},
    {"email address", Role::Email},
    {"e-mail", Role::Email},
    {"email", Role::Email},
    {"primary email", Role::Email},
    {"secondary email", Role::Email},
    {"primäre e-mail-adresse", Role::Email},
    {"sekundäre e-mail-adresse", Role::Email},
    {"e-mail-adresse", Role::Email},
    {"e-mail 2: adresse", Role::Email},
    {"e-mail 3: adresse", Role::Email},
};

// Google's numbered columns: "Phone 2 - Type" / "Phone 2 - Label",
// "Phone 2 - Value", "E-mail 1 - Value".
Role GoogleRole(const std::string& heading, int& number) {
  auto numbered = [&](std::string_view prefix, std::string_view suffix) {
    if (heading.size() <= prefix.size() + suffix.size() || heading.rfind(prefix, 0) != 0 ||
        heading.compare(heading.size() - suffix.size(), suffix.size(), suffix) != 0) {
      return false;
    }
    const std::string_view digits = std::string_view(heading).substr(
        prefix.size(), heading.size() - prefix.size() - suffix.size());
    if (digits.empty() || digits.size() > 3) return false;
    number = 0;
    for (char ch : digits) {
      if (ch < '0' || ch > '9') return false;
      number = number * 10 + (ch - '0');
    }
    return true;
  };
  if (numbered("phone ", " - type") || numbered("phone ", " - label")) return Role::PhoneType;
  if (numbered("phone ", " - value")) return Role::PhoneValue;
  if (numbered("e-mail ", " - value") || numbered("email ", " - value")) return Role::Email;
  return Role::None;
}

// Google joins several values of one field with " ::: ".
std::vector<std::string> SplitValues(const std::string& value) {
  std::vector<std::string> values;
  size_t start = 0;
  for (;;) {
    const size_t at = value.find(":::", start);
    const std::string one(Trim(std::string_view(value).substr(start, at - start)));
    if (!one.empty()) values.push_back(one);
    if (at == std::string::npos) break;
    start = at + 3;
  }
  return values;
}

int ReadMailProgramCsv(std::string_view file, std::vector<Contact>& contacts,
                       std::vector<ImportNote>& notes) {
  std::string text(file);
  const char named = TakeSeparatorLine(text);
  const char separator = named != 0 ? named : CsvSeparator(SkipBlankLines(text));
  std::vector<std::vector<std::string>> records;
  std::vector<int> lines;
  int badLine = 0;
  const bool closed = SplitCsv(text, separator, records, lines, badLine);
  if (records.empty()) return kImportFormatCsv;

  std::vector<Role> roles;
  std::vector<int> numbers;
  bool destination = false;
  for (const std::string& heading : records[0]) {
    const std::string name = Lower(Trim(heading));
    Role role = Role::None;
    int number = 0;
    for (const Heading& h : kHeadings) {
      if (name == h.text) role = h.role;
    }
    if (role == Role::None) role = GoogleRole(name, number);
    destination =
        destination || role == Role::Fax || role == Role::Email || role == Role::PhoneValue;
    roles.push_back(role);
    numbers.push_back(number);
  }
  if (!destination) {
    std::string header;
    for (const std::string& h : records[0]) header += (header.empty() ? "" : ", ") + h;
    if (header.size() > 120) header = header.substr(0, 117) + "...";
    notes.push_back(
        Note(ImportNoteKind::Refused, lines[0], 0, "header", header, IDS_CONTACT_UNKNOWN_HEADER));
    return 0;
  }
  for (size_t r = 1; r < records.size(); ++r) {
    const std::vector<std::string>& fields = records[r];
    Contact c;
    c.line = lines[r];
    auto field = [&](size_t k) { return k < fields.size() ? std::string(Trim(fields[k])) : ""; };
    std::string display, first, middle, last, company;
    std::string displayHeading, companyHeading;
    for (size_t k = 0; k < roles.size(); ++k) {
      const std::string value = field(k);
      if (value.empty()) continue;
      const std::string& heading = records[0][k];
      switch (roles[k]) {
        case Role::DisplayName:
          if (display.empty()) {
            display = value;
            displayHeading = heading;
          }
          break;
        case Role::First:
          if (first.empty()) first = value;
          break;
        case Role::Middle:
          if (middle.empty()) middle = value;
          break;
        case Role::Last:
          if (last.empty()) last = value;
          break;
        case Role::Company:
          if (company.empty()) {
            company = value;
            companyHeading = heading;
          }
          break;
        case Role::Fax:
          for (const std::string& v : SplitValues(value)) c.faxes.push_back({v, c.line, heading});
          break;
        case Role::Email:
          for (const std::string& v : SplitValues(value)) c.emails.push_back({v, c.line, heading});
          break;
        case Role::PhoneType: {
          // The value column of the same number holds the phone.
          if (Lower(value).find("fax") == std::string::npos) break;
          for (size_t v = 0; v < roles.size(); ++v) {
            if (roles[v] != Role::PhoneValue || numbers[v] != numbers[k]) continue;
            for (const std::string& one : SplitValues(field(v))) {
              c.faxes.push_back({one, c.line, records[0][v], value.rfind('*', 0) == 0});
            }
          }
          break;
        }
        default:
          break;
      }
    }
    if (!display.empty()) c.names.push_back({display, c.line, displayHeading});
    std::string whole = first;
    for (const std::string* part : {&middle, &last}) {
      if (!part->empty()) whole += (whole.empty() ? "" : " ") + *part;
    }
    if (!whole.empty()) c.names.push_back({whole, c.line, "First Name + Last Name"});
    if (!company.empty()) c.names.push_back({company, c.line, companyHeading});
    contacts.push_back(std::move(c));
  }
  if (!closed) {
    notes.push_back(Note(ImportNoteKind::Skipped, badLine, 0, "\"", "", IDS_TEXT_BAD_QUOTING));
  }
  return kImportFormatCsv;
}

}  // namespace

char CsvSeparator(std::string_view text) {
  std::array<int, 3> count{};
  const char separators[3] = {',', ';', '\t'};
  bool quoted = false;
  for (char ch : text) {
    if (ch == '"') quoted = !quoted;
    if (!quoted && (ch == '\n' || ch == '\r')) break;
    for (int k = 0; k < 3; ++k) count[k] += !quoted && ch == separators[k];
  }
  int best = 0;
  for (int k = 1; k < 3; ++k) {
    if (count[k] > count[best]) best = k;
  }
  return separators[best];
}

bool IsOwnCsvHeader(std::string_view firstLine) {
  bool type = false, address = false;
  const char separator = CsvSeparator(firstLine);
  size_t start = 0;
  for (;;) {
    const size_t at = firstLine.find(separator, start);
    std::string name = Lower(Trim(firstLine.substr(start, at - start)));
    name.erase(std::remove(name.begin(), name.end(), '"'), name.end());
    type = type || name == "type";
    address = address || name == "address";
    if (at == std::string_view::npos) break;
    start = at + 1;
  }
  return type && address;
}

std::string_view FirstLine(std::string_view text) {
  size_t end = 0;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  return text.substr(0, end);
}

std::string_view SkipBlankLines(std::string_view text) {
  size_t skip = 0;
  while (skip < text.size() && (text[skip] == '\r' || text[skip] == '\n')) ++skip;
  return text.substr(skip);
}

namespace {

// The separator a "sep=" line names, or 0 when `line` is none.
char NamedSeparator(std::string_view line) {
  if (line.size() != 5 || Lower(line.substr(0, 4)) != "sep=") return 0;
  const char separator = line[4];
  return separator == ',' || separator == ';' || separator == '\t' ? separator : 0;
}

}  // namespace

char TakeSeparatorLine(std::string& text) {
  const size_t start = text.size() - SkipBlankLines(text).size();
  const std::string_view line = FirstLine(std::string_view(text).substr(start));
  const char separator = NamedSeparator(line);
  if (separator != 0) text.erase(start, line.size());
  return separator;
}

std::string_view HeaderLine(std::string_view text) {
  text = SkipBlankLines(text);
  const std::string_view first = FirstLine(text);
  if (NamedSeparator(first) == 0) return first;
  return FirstLine(SkipBlankLines(text.substr(first.size())));
}

int ContactTextFormat(std::string_view text) {
  // Blank lines before the first card or the headings say nothing.
  text = SkipBlankLines(text);
  const std::string_view first =
      Trim(FirstLine(text.substr(0, std::min<size_t>(text.size(), 65536))));
  if (first.empty()) return 0;
  if (Lower(first) == "begin:vcard") return kImportFormatVcard;
  if (NamedSeparator(FirstLine(text)) != 0) return kImportFormatCsv;
  // A header row: printable text with at least one separator.
  for (char ch : first) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x20 && ch != '\t') return 0;
  }
  if (first.find(',') == std::string_view::npos && first.find(';') == std::string_view::npos &&
      first.find('\t') == std::string_view::npos) {
    return 0;
  }
  return kImportFormatCsv;
}

int ReadForeignContacts(std::string_view text, std::vector<Contact>& contacts,
                        std::vector<ImportNote>& notes) {
  const int format = ContactTextFormat(text);
  if (format == kImportFormatVcard) return ReadVcard(text, contacts, notes);
  if (format == kImportFormatCsv) return ReadMailProgramCsv(text, contacts, notes);
  notes.push_back(Note(ImportNoteKind::Refused, 1, 0, "", "", IDS_CONTACT_NOT_TEXT));
  return 0;
}

}  // namespace odc
