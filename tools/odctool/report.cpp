#include "tools/odctool/report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup/addressbook/address_text_import.h"
#include "setup/data/charset.h"

namespace odc {
namespace tool {
namespace {

constexpr const char* kProgramDial = "PROGRAM DIAL";

// A display record's text field as UTF-8; the field need not hold a NUL.
template <size_t N>
std::string FieldText(const DataSet& set, const char (&field)[N]) {
  const size_t length = strnlen(field, N);
  return AnsiToUtf8(set.language, std::string_view(field, length));
}

template <size_t N>
std::string DigitsText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// A code with no text of its own keeps its number, so nothing is hidden.
std::string UnknownCode(unsigned code) { return "(" + std::to_string(code) + ")"; }

}  // namespace

bool EntryReport::operator==(const EntryReport& o) const {
  return number == o.number && type == o.type && name == o.name && name2 == o.name2 &&
         address == o.address && sub == o.sub && sid == o.sid && batchTime == o.batchTime &&
         speed == o.speed && combination == o.combination && emailMode == o.emailMode &&
         maxTxSizeCode == o.maxTxSizeCode && maxTxSize == o.maxTxSize &&
         maxQuality == o.maxQuality && coding == o.coding && registered == o.registered &&
         groupMark == o.groupMark && nameBytes == o.nameBytes && name2Bytes == o.name2Bytes &&
         addressBytes == o.addressBytes && flagsByte == o.flagsByte && speedByte == o.speedByte &&
         programEntry == o.programEntry && hiddenSpeed == o.hiddenSpeed &&
         hiddenSub == o.hiddenSub && hiddenSid == o.hiddenSid &&
         hiddenBatchTime == o.hiddenBatchTime;
}

std::string BatchTimeText(const char* hour, const char* minute) {
  if (hour[0] == '\0' || minute[0] == '\0') return "";
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", std::atoi(hour), std::atoi(minute));
  return text;
}

std::string RegistrationDateText(uint16_t date) {
  if (date == 0) return "";
  int year = 0, month = 0, day = 0;
  DecodeRegistrationDate(date, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

std::string SpeedText(uint8_t speedIndex) {
  static const char* const kTexts[] = {"9.6K", "14.4K", "33.6K"};
  return speedIndex < 3 ? kTexts[speedIndex] : UnknownCode(speedIndex);
}

std::string EmailModeText(uint8_t mode) {
  if (mode == 0) return "Basic";
  if (mode == 1) return "Advanced";
  return UnknownCode(mode);
}

std::string MaxTxSizeText(uint8_t code, bool addressBookOnly, bool inchPaper) {
  switch (code) {
    case 0:
      return !addressBookOnly && inchPaper ? "Ledger" : "A3";
    case 1:
      return !addressBookOnly && inchPaper ? "Ledger" : "B4";
    case 2:
      return !addressBookOnly && inchPaper ? "Letter" : "A4";
    case 9:
      return addressBookOnly || inchPaper ? "Ledger" : "A3";
    case 12:
      return addressBookOnly || inchPaper ? "Letter" : "A4";
    default:
      return UnknownCode(code);
  }
}

std::string MaxQualityText(uint8_t code) {
  if (code == 1) return "Fine";
  if (code == 2) return "S/F";
  return UnknownCode(code);
}

std::string CodingText(uint8_t code) {
  static const char* const kTexts[] = {"MH", "MR", "MMR"};
  return code < 3 ? kTexts[code] : UnknownCode(code);
}

EntryReport ReportEntry(const DisplayRecord& record, int number, const DataSet& set) {
  EntryReport entry;
  entry.number = number;
  entry.registered = RegistrationDateText(record.registrationDate);
  const bool doubleByte = IsSingleByteLanguage(set.language) == 0;
  const bool email = record.kind == kKindEmail;
  const bool speedDial = record.entryType == kEntrySpeedDial;
  entry.type = record.program ? "program" : email ? "email" : "fax";
  entry.combination = record.combination != 0;
  entry.groupMark = !email && !record.program && record.groupMarker != 0;

  // A program key on a One Touch key is kept as the machine set it: the
  // list shows only its marker.
  if (record.program && !speedDial) {
    entry.name = kProgramDial;
    if (doubleByte) entry.name2 = kProgramDial;
    return entry;
  }
  if (record.program) {
    entry.name = kProgramDial;
    if (doubleByte) entry.name2 = kProgramDial;
  } else if (!record.combination) {
    entry.name = FieldText(set, record.name);
    entry.name2 = FieldText(set, record.name2);
  }

  if (!email) {
    entry.address = DigitsText(record.number);
    if (!record.combination) {
      entry.sub = DigitsText(record.sub);
      entry.sid = DigitsText(record.sid);
      if (!speedDial) entry.batchTime = BatchTimeText(record.batchHour, record.batchMinute);
      entry.speed = SpeedText(record.speedIndex);
    }
    return entry;
  }

  entry.address = FieldText(set, record.email);
  if (!speedDial) entry.batchTime = BatchTimeText(record.batchHour, record.batchMinute);
  const bool inchPaper = [&] {
    const uint32_t variant = GetSetting(set, kMachineVariantId);
    return variant == 1 || variant == 5;
  }();
  entry.emailMode = EmailModeText(record.emailOptions[0]);
  entry.maxTxSizeCode = record.emailOptions[1];
  entry.maxTxSize = MaxTxSizeText(record.emailOptions[1], set.addressBookOnly, inchPaper);
  entry.maxQuality = MaxQualityText(record.emailOptions[2]);
  entry.coding = CodingText(record.emailOptions[3]);
  return entry;
}

GroupReport ReportGroup(const DisplayRecord& record, int number, const DataSet& set) {
  GroupReport group;
  group.number = number;
  group.name = FieldText(set, record.name);
  group.name2 = FieldText(set, record.name2);
  group.registered = RegistrationDateText(record.registrationDate);
  const int count = std::min<int>(record.memberCount, kMaxGroupMembers);
  for (int j = 0; j < count; ++j) {
    const GroupMember& member = record.members[j];
    // The member list reads bit 8 of the kind: One Touch, else Speed Dial.
    group.members.push_back(
        {(member.kind & kMemberOneTouch) ? "one-touch" : "speed-dial", member.index + 1});
  }
  return group;
}

namespace {

// The hex of a stored name when its readable text does not give the same
// bytes back.
std::string NameBytesWhereNeeded(const DataSet& set, const uint8_t* field, size_t length,
                                 const std::string& shown, bool name2) {
  const std::string stored(reinterpret_cast<const char*>(field),
                           strnlen(reinterpret_cast<const char*>(field), length));
  const std::optional<std::string> back = NameBytesOfText(set.language, shown, name2);
  return back && *back == stored ? "" : HexBytes(stored);
}

void AddStoredBytes(const DataSet& set, const uint8_t* entry, bool speedDial, std::string name,
                    std::string name2, std::string& nameHex, std::string& name2Hex) {
  const size_t nameLength = speedDial ? 4 : 5, nameAt = speedDial ? 5 : 6;
  const size_t name2At = speedDial ? 97 : 131;
  nameHex = NameBytesWhereNeeded(set, entry + nameAt, std::min<size_t>(entry[nameLength], 20), name,
                                 false);
  name2Hex = NameBytesWhereNeeded(set, entry + name2At, 20, name2, true);
}

std::string ByteHex(uint8_t byte) { return HexBytes(std::string(1, static_cast<char>(byte))); }

// A stored SUB or SID (the count bounded by its field, as the codec reads it).
std::string StoredDigits(const uint8_t* packed, uint8_t count) {
  constexpr int kMaxSubSidDigits = 20;
  char text[kMaxSubSidDigits + 1];
  UnpackDigits(text, packed, std::min<int>(count, kMaxSubSidDigits));
  return text;
}

// The bytes of a fax or e-mail entry that its list row does not show: what
// a combination key holds behind its number, a speed byte the dialog cannot
// show, flags the dialog would not store, an address whose text does not
// give its bytes back.
void AddEntryBytes(const DataSet& set, const uint8_t* stored, bool speedDial, EntryReport& entry) {
  const bool fax = entry.type == "fax";
  if (!fax) {
    const char* at = reinterpret_cast<const char*>(stored + (speedDial ? 32 : 34));
    const std::string address(at, strnlen(at, std::min<size_t>(stored[3], 64)));
    const std::optional<std::string> back =
        AddressBytesOfText(set.language, entry.address, speedDial);
    if (!back || *back != address) entry.addressBytes = HexBytes(address);
  }
  const size_t speedAt = speedDial ? 28 : 30;
  if (fax && entry.combination) {
    entry.hiddenSpeed = SpeedColumnText(stored[speedAt], true);
    entry.hiddenSub = StoredDigits(stored + (speedDial ? 56 : 58), stored[speedDial ? 29 : 31]);
    entry.hiddenSid = StoredDigits(stored + (speedDial ? 66 : 68), stored[speedDial ? 30 : 32]);
    if (!speedDial && (stored[2] & kFlagBatchTime)) {
      const unsigned time = stored[28] | (stored[29] << 8);
      char text[16];
      std::snprintf(text, sizeof text, "%02u:%02u", (time >> 11) & 0x1F, (time >> 5) & 0x3F);
      entry.hiddenBatchTime = text;
    }
  }
  // The dialog stores 2-4 for its three speed buttons.
  if (fax && (stored[speedAt] < 2 || stored[speedAt] > 4)) {
    entry.speedByte = ByteHex(stored[speedAt]);
  }
  const bool batchTime = !(entry.combination ? entry.hiddenBatchTime : entry.batchTime).empty();
  const uint8_t own =
      OwnCsvFlags(speedDial, false, !fax, entry.combination, entry.groupMark, batchTime);
  if (stored[2] != own) entry.flagsByte = ByteHex(stored[2]);
}

}  // namespace

AddressBookReport ReportAddressBook(DataSet& set) {
  AddressBookReport book;
  book.kind = set.addressBookOnly ? "address-book" : "full";
  if (const char* name = SettingText(set, kMachineNameId)) {
    const SettingItem* item = FindSettingItem(kMachineNameId);
    book.machineName = AnsiToUtf8(set.language, std::string_view(name, strnlen(name, item->width)));
  }
  DisplayRecord record;
  for (int key = 0; key < kOneTouchCount; ++key) {
    UnpackOneTouch(record, set, key);
    if (!record.inUse) continue;
    if (record.groupMarker && record.entryType == kEntryGroup) continue;  // a Group dial
    EntryReport entry = ReportEntry(record, key + 1, set);
    const uint8_t* stored = set.OneTouchEntry(key);
    if (record.program) {
      entry.programEntry =
          HexBytes(std::string_view(reinterpret_cast<const char*>(stored), kOneTouchEntrySize));
    } else {
      AddStoredBytes(set, stored, false, entry.name, entry.name2, entry.nameBytes,
                     entry.name2Bytes);
      // The One Touch view does not show the mark; the entry holds it.
      entry.groupMark = entry.type == "fax" && (stored[2] & kFlagGroup) != 0;
      AddEntryBytes(set, stored, false, entry);
    }
    book.oneTouch.push_back(entry);
  }
  for (int index = 0; index < kSpeedDialCount; ++index) {
    UnpackSpeedDial(record, set, index);
    if (!record.inUse) continue;
    EntryReport entry = ReportEntry(record, index + 1, set);
    const uint8_t* stored = set.SpeedDialEntry(index);
    if (record.program) {
      entry.programEntry =
          HexBytes(std::string_view(reinterpret_cast<const char*>(stored), kSpeedDialEntrySize));
    } else {
      AddStoredBytes(set, stored, true, entry.name, entry.name2, entry.nameBytes, entry.name2Bytes);
      AddEntryBytes(set, stored, true, entry);
    }
    book.speedDial.push_back(entry);
  }
  for (int key = 0; key < kOneTouchCount; ++key) {
    UnpackGroup(record, set, key);
    if (!record.inUse || record.entryType != kEntryGroup || record.program) continue;
    GroupReport group = ReportGroup(record, key + 1, set);
    const uint8_t* stored = set.OneTouchEntry(key);
    AddStoredBytes(set, stored, false, group.name, group.name2, group.nameBytes, group.name2Bytes);
    if (stored[2] != OwnCsvFlags(false, true, false, false, false, false)) {
      group.flagsByte = ByteHex(stored[2]);
    }
    book.groups.push_back(group);
  }
  return book;
}

namespace {

nlohmann::ordered_json EntryJson(const EntryReport& e) {
  nlohmann::ordered_json j;
  j["number"] = e.number;
  j["type"] = e.type;
  j["name"] = e.name;
  j["name2"] = e.name2;
  j["address"] = e.address;
  j["sub"] = e.sub;
  j["sid"] = e.sid;
  j["batch_time"] = e.batchTime;
  j["speed"] = e.speed;
  j["combination"] = e.combination;
  j["email_mode"] = e.emailMode;
  if (e.maxTxSizeCode) {
    j["max_tx_size_code"] = *e.maxTxSizeCode;
  } else {
    j["max_tx_size_code"] = nullptr;
  }
  j["max_quality"] = e.maxQuality;
  j["coding"] = e.coding;
  j["registered"] = e.registered;
  return j;
}

std::string MembersText(const std::vector<GroupMemberReport>& members) {
  std::string text;
  for (const GroupMemberReport& m : members) {
    if (!text.empty()) text += ' ';
    text += m.kind + ' ' + std::to_string(m.number);
  }
  return text;
}

}  // namespace

nlohmann::ordered_json AddressBookJson(const AddressBookReport& book) {
  nlohmann::ordered_json j;
  j["kind"] = book.kind;
  j["machine_name"] = book.machineName;
  j["one_touch"] = nlohmann::ordered_json::array();
  for (const EntryReport& e : book.oneTouch) j["one_touch"].push_back(EntryJson(e));
  j["speed_dial"] = nlohmann::ordered_json::array();
  for (const EntryReport& e : book.speedDial) j["speed_dial"].push_back(EntryJson(e));
  j["groups"] = nlohmann::ordered_json::array();
  for (const GroupReport& g : book.groups) {
    nlohmann::ordered_json group;
    group["number"] = g.number;
    group["name"] = g.name;
    group["name2"] = g.name2;
    group["members"] = nlohmann::ordered_json::array();
    for (const GroupMemberReport& m : g.members) {
      group["members"].push_back({{"kind", m.kind}, {"number", m.number}});
    }
    j["groups"].push_back(group);
  }
  return j;
}

std::string CsvField(const std::string& field) {
  const bool edgeSpace = !field.empty() && (field.front() == ' ' || field.front() == '\t' ||
                                            field.back() == ' ' || field.back() == '\t');
  if (!edgeSpace && field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string AddressBookCsv(const AddressBookReport& book) {
  using Row = std::array<std::string, csv::kColumnCount>;
  std::string out;
  auto write = [&out](const auto& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
      if (i != 0) out += ',';
      out += CsvField(fields[i]);
    }
    out += "\r\n";
  };
  write(csv::kColumnNames);
  auto entryRow = [&write](const char* table, const EntryReport& e) {
    Row row;
    row[csv::kTable] = table;
    row[csv::kNumber] = std::to_string(e.number);
    row[csv::kType] = e.type;
    row[csv::kName] = e.name;
    row[csv::kName2] = e.name2;
    row[csv::kAddress] = e.address;
    // A combination key's row carries what the entry holds behind the
    // number in the columns a fax entry shows them in.
    row[csv::kSub] = e.combination ? e.hiddenSub : e.sub;
    row[csv::kSid] = e.combination ? e.hiddenSid : e.sid;
    row[csv::kBatchTime] = e.combination ? e.hiddenBatchTime : e.batchTime;
    row[csv::kSpeed] = e.combination ? e.hiddenSpeed : e.speed;
    row[csv::kCombination] = e.combination ? "yes" : "no";
    row[csv::kEmailMode] = e.emailMode;
    row[csv::kMaxTxSizeCode] = e.maxTxSizeCode ? std::to_string(*e.maxTxSizeCode) : "";
    row[csv::kMaxTxSize] = e.maxTxSize;
    row[csv::kMaxQuality] = e.maxQuality;
    row[csv::kCoding] = e.coding;
    row[csv::kRegistered] = e.registered;
    row[csv::kNameBytes] = e.nameBytes;
    row[csv::kName2Bytes] = e.name2Bytes;
    row[csv::kGroupMark] = e.groupMark ? "yes" : "";
    row[csv::kProgramEntry] = e.programEntry;
    row[csv::kFlagsByte] = e.flagsByte;
    row[csv::kSpeedByte] = e.speedByte;
    row[csv::kAddressBytes] = e.addressBytes;
    write(row);
  };
  for (const EntryReport& e : book.oneTouch) entryRow("one-touch", e);
  for (const EntryReport& e : book.speedDial) entryRow("speed-dial", e);
  for (const GroupReport& g : book.groups) {
    Row row;
    row[csv::kTable] = "group";
    row[csv::kNumber] = std::to_string(g.number);
    row[csv::kType] = "group";
    row[csv::kName] = g.name;
    row[csv::kName2] = g.name2;
    row[csv::kCombination] = "no";
    row[csv::kRegistered] = g.registered;
    row[csv::kMembers] = MembersText(g.members);
    row[csv::kNameBytes] = g.nameBytes;
    row[csv::kName2Bytes] = g.name2Bytes;
    row[csv::kFlagsByte] = g.flagsByte;
    write(row);
  }
  return out;
}

namespace {

// Display width in characters (UTF-8 lead bytes).
size_t TextWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++width;
  }
  return width;
}

std::string Table(const std::vector<std::string>& header,
                  const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths(header.size());
  for (size_t i = 0; i < header.size(); ++i) widths[i] = TextWidth(header[i]);
  for (const auto& r : rows) {
    for (size_t i = 0; i < r.size(); ++i) widths[i] = std::max(widths[i], TextWidth(r[i]));
  }
  std::string out;
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i != 0) text += "  ";
      text += cells[i];
      if (i + 1 < cells.size()) text.append(widths[i] - TextWidth(cells[i]), ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text + '\n';
  };
  line(header);
  std::vector<std::string> rule;
  for (size_t w : widths) rule.push_back(std::string(w, '-'));
  line(rule);
  for (const auto& r : rows) line(r);
  return out;
}

}  // namespace

std::string AddressBookTable(const AddressBookReport& book) {
  std::string out;
  out += "Kind:         " + book.kind + "\n";
  out += "Machine name: " + book.machineName + "\n";

  auto entryRows = [](const std::vector<EntryReport>& entries, const char* numberFormat,
                      bool batchColumn) {
    std::vector<std::vector<std::string>> rows;
    for (const EntryReport& e : entries) {
      char number[16];
      std::snprintf(number, sizeof number, numberFormat, e.number);
      const bool advanced = e.emailMode == "Advanced";
      std::vector<std::string> r = {number, e.name, e.name2, e.address, e.sub, e.sid};
      if (batchColumn) r.push_back(e.batchTime);
      r.push_back(e.speed);
      r.push_back(e.emailMode);
      r.push_back(advanced ? e.maxTxSize : "");
      r.push_back(advanced ? e.maxQuality : "");
      r.push_back(advanced ? e.coding : "");
      rows.push_back(r);
    }
    return rows;
  };

  out += "\nOne Touch (" + std::to_string(book.oneTouch.size()) + " in use)\n";
  out += Table({"NO.", "Name", "Name2", "Address", "SUB", "SID", "Batch Time", "Speed",
                "E-Mail Mode", "Max. TX Size", "Max. Quality", "Coding"},
               entryRows(book.oneTouch, "%02d", true));
  out += "\nSpeed Dial (" + std::to_string(book.speedDial.size()) + " in use)\n";
  out += Table({"NO.", "Name", "Name2", "Address", "SUB", "SID", "Speed", "E-Mail Mode",
                "Max. TX Size", "Max. Quality", "Coding"},
               entryRows(book.speedDial, "%03d", false));
  out += "\nGroup (" + std::to_string(book.groups.size()) + " in use)\n";
  std::vector<std::vector<std::string>> groupRows;
  for (const GroupReport& g : book.groups) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", g.number);
    std::string members;
    for (const GroupMemberReport& m : g.members) {
      char text[32];
      std::snprintf(text, sizeof text, m.kind == "one-touch" ? "OT %02d" : "SD %03d", m.number);
      if (!members.empty()) members += ", ";
      members += text;
    }
    groupRows.push_back({number, g.name, g.name2, members});
  }
  out += Table({"NO.", "Name", "Name2", "Group Item(s)"}, groupRows);
  return out;
}

}  // namespace tool
}  // namespace odc
