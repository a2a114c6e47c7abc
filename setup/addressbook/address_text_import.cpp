#include "setup/addressbook/address_text_import.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "setup/addressbook/contact_import.h"
#include "setup/addressbook/contact_mapping.h"
#include "setup/addressbook/contact_readers.h"
#include "setup/addressbook/contact_text.h"
#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/data/charset.h"
#include "setup/data/dial_codec.h"
#include "setup/data/file_io.h"
#include "setup/res/resource.h"

namespace odc {
namespace {

constexpr size_t kMaxName = 20;
constexpr size_t kMaxNumber = 30;
constexpr size_t kMaxSubSid = 20;
constexpr size_t kMaxAddress = 64;

using namespace csv;  // the columns of our own CSV

// One entry of the file before it is checked: its texts (UTF-8) and where
// each came from, so a refusal can name the line and the field.
struct Row {
  int line = 0;  // where the row (or card) starts
  int card = 0;
  std::array<std::string, kColumnCount> value;
  std::array<int, kColumnCount> lineOf{};
  std::array<std::string, kColumnCount> label;  // vCard property names
  // The field was quoted: a name or an address keeps its spaces at either
  // end (export quotes such a field), everything else is trimmed.
  std::array<bool, kColumnCount> quoted{};
};

// A refusal travels up as an exception: the file is read in one go and the
// data set is touched only after the last row has passed.
struct Refusal {
  TextImportProblem problem;
};

[[noreturn]] void Refuse(int format, int line, int card, std::string field, int reason,
                         std::string value = {}) {
  throw Refusal{{format, line, card, std::move(field), reason, std::move(value)}};
}

struct Context {
  int format;
  Language language;
  uint32_t variant;
  bool inchPaper;
  bool addressBookOnly;
  MappingContext mapping;
  std::vector<ImportNote>* notes;  // what a row had changed
};

[[noreturn]] void Refuse(const Context& c, const Row& row, int column, int reason) {
  const int line = row.lineOf[column] != 0 ? row.lineOf[column] : row.line;
  const std::string field = !row.label[column].empty() ? row.label[column] : kColumnNames[column];
  Refuse(c.format, line, row.card, field, reason, row.value[column]);
}

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

// A decimal number of at most `digits` digits; -1 otherwise.
int Decimal(std::string_view text, size_t digits = 4) {
  if (text.empty() || text.size() > digits) return -1;
  int value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return -1;
    value = value * 10 + (ch - '0');
  }
  return value;
}

// ---- Checks shared by both formats: the entry dialog's rules ----

enum class Table { Any, OneTouch, SpeedDial, Group };

// One row on its way into the tables.
struct Pending {
  const Row* row;
  Table table;
  int index;  // 0-based, -1 until placed
  bool program = false;
  DisplayRecord record{};
  std::optional<std::string> machineName;     // stored bytes of the name, when the file has them
  std::optional<std::string> machineName2;    // and of name2
  std::vector<uint8_t> programEntry;          // a program key's whole entry
  std::optional<uint8_t> flags;               // stored flags the columns cannot say
  std::optional<uint8_t> speed;               // a stored speed byte the dialog cannot show
  std::optional<std::string> machineAddress;  // stored bytes of an e-mail address
};

// UTF-8 text -> the program's ANSI text, refusing what the code page cannot
// hold (the conversion would turn it into '?').
std::string AnsiText(const Context& c, const Row& row, int column) {
  const std::string& utf8 = row.value[column];
  const std::string ansi = Utf8ToAnsi(c.language, utf8);
  if (AnsiToUtf8(c.language, ansi) != utf8) Refuse(c, row, column, IDS_TEXT_NOT_IN_CHARSET);
  return ansi;
}

void CopyText(char* field, size_t size, const std::string& text) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

// A name column with its bytes column: the stored bytes when the readable
// text is still the one export wrote for them (a user who edited the name
// gets the edit), else nothing.
std::optional<std::string> StoredBytes(const Context& c, const Row& row, int column,
                                       int bytesColumn, bool name2) {
  const std::string& hex = row.value[bytesColumn];
  if (hex.empty()) return std::nullopt;
  const std::optional<std::string> bytes = BytesOfHex(hex);
  if (!bytes || bytes->size() > kMaxName || bytes->find('\0') != std::string::npos) {
    Refuse(c, row, bytesColumn, IDS_TEXT_BAD_VALUE);
  }
  // Behind a combination key the lists show no name, and export writes none.
  const bool hidden = Lower(row.value[kCombination]) == "yes";
  const std::string shown = hidden ? std::string() : StoredNameText(c.language, *bytes, name2);
  // A name with a space at either end is quoted by export; a reader that
  // lost the quotes (or a file of an earlier export) has it trimmed.
  if (row.value[column] != shown && row.value[column] != Trim(shown)) return std::nullopt;
  return bytes;
}

void ReadNames(const Context& c, const Row& row, Pending& p) {
  DisplayRecord& record = p.record;
  p.machineName = StoredBytes(c, row, kName, kNameBytes, false);
  if (p.machineName) {
    // The record holds the PC text for the checks and the preview; the entry
    // gets the bytes.
    char text[kMaxName + 1] = {};
    std::memcpy(text, p.machineName->data(), p.machineName->size());
    ToPcCharset(c.language, text);
    CopyText(record.name, sizeof record.name, text);
  } else {
    // A name our own export wrote holds bytes the machine stores: taken back
    // as they are, even letters the name field would not let a user type.
    const std::string& utf8 = row.value[kName];
    const std::string ansi = Utf8ToAnsi(c.language, utf8);
    if (AnsiToUtf8(c.language, ansi) == utf8 && ansi.size() <= kMaxName &&
        ansi.find('\0') == std::string::npos) {
      CopyText(record.name, sizeof record.name, ansi);
    } else {
      // Written by hand or by another program: the contact import's rules.
      const int line = row.lineOf[kName] != 0 ? row.lineOf[kName] : row.line;
      MapName(c.mapping, {{utf8, line, "name"}}, line, row.card, record, *c.notes);
    }
  }
  p.machineName2 = StoredBytes(c, row, kName2, kName2Bytes, true);
  if (p.machineName2) {
    char pc[256];
    Name2ToPc(c.language, p.machineName2->c_str(), pc);
    CopyText(record.name2, sizeof record.name2, std::string(pc, strnlen(pc, sizeof pc)));
    return;
  }
  const std::string name2 = AnsiText(c, row, kName2);
  if (name2.size() > kMaxName) Refuse(c, row, kName2, IDS_TEXT_NAME_TOO_LONG);
  if (ValidateName(c.language, name2).rejected) Refuse(c, row, kName2, IDS_TEXT_NAME_CHARACTER);
  CopyText(record.name2, sizeof record.name2, name2);
}

uint16_t ReadDate(const Context& c, const Row& row) {
  const std::string& text = row.value[kRegistered];
  if (text.empty()) return 0;
  const int year = text.size() == 10 && text[4] == '-' && text[7] == '-'
                       ? Decimal(std::string_view(text).substr(0, 4))
                       : -1;
  const int month = year >= 0 ? Decimal(std::string_view(text).substr(5, 2)) : -1;
  const int day = year >= 0 ? Decimal(std::string_view(text).substr(8, 2)) : -1;
  if (year < 2000 || year > 2127 || month < 1 || month > 12 || day < 1 || day > 31) {
    Refuse(c, row, kRegistered, IDS_TEXT_BAD_DATE);
  }
  return EncodeRegistrationDate(year, month, day);
}

// A code column: its text, "(N)" for a code without a text, or empty.
int OptionCode(const Context& c, const Row& row, int column,
               std::initializer_list<std::pair<const char*, int>> texts, int empty) {
  const std::string& text = row.value[column];
  if (text.empty()) return empty;
  for (const auto& [name, code] : texts) {
    if (Lower(text) == Lower(name)) return code;
  }
  std::string_view digits = text;
  if (digits.size() > 2 && digits.front() == '(' && digits.back() == ')') {
    digits = digits.substr(1, digits.size() - 2);
  }
  const int code = Decimal(digits, 3);
  if (code < 0 || code > 255) Refuse(c, row, column, IDS_TEXT_BAD_VALUE);
  return code;
}

// One byte in hex (a stored byte column); nullopt when the column is empty.
std::optional<uint8_t> StoredByte(const Context& c, const Row& row, int column) {
  const std::string& hex = row.value[column];
  if (hex.empty()) return std::nullopt;
  const std::optional<std::string> bytes = BytesOfHex(hex);
  if (!bytes || bytes->size() != 1) Refuse(c, row, column, IDS_TEXT_BAD_VALUE);
  return static_cast<uint8_t>((*bytes)[0]);
}

// The speed of a fax entry: the stored byte while the speed column is still
// the text export wrote for it (an edited speed wins), else the column.
void ReadSpeed(const Context& c, const Row& row, Pending& p, bool combination) {
  const std::optional<uint8_t> stored = StoredByte(c, row, kSpeedByte);
  if (stored && Lower(row.value[kSpeed]) == Lower(SpeedColumnText(*stored, combination))) {
    p.speed = stored;
    // The record gets the speed the dialog shows for the byte.
    p.record.speedIndex = static_cast<uint8_t>(*stored >= 2 ? *stored - 2 : 2);
    return;
  }
  // A combination key without a speed in its row gets the first button's
  // byte, as files of the earlier columns have always imported.
  const int index =
      OptionCode(c, row, kSpeed, {{"9.6K", 0}, {"14.4K", 1}, {"33.6K", 2}}, combination ? 0 : 2);
  if (index > 2) Refuse(c, row, kSpeed, IDS_TEXT_BAD_VALUE);
  p.record.speedIndex = static_cast<uint8_t>(index);
}

void ReadFax(const Context& c, const Row& row, Pending& p, bool speedDial) {
  DisplayRecord& record = p.record;
  std::string number;
  // Spaces and '-' are dialable; brackets, dots and slashes only lay a
  // number out, as the filter removes them when typed.
  for (char ch : row.value[kAddress]) {
    if (ch != '(' && ch != ')' && ch != '.' && ch != '/') number += ch;
  }
  // A quoted number keeps the spaces at its ends: the dial filter lets a
  // user type them, and export quotes them.
  if (!row.quoted[kAddress]) number = std::string(Trim(number));
  if (!number.empty() && number[0] == '+') {
    // Phones and mail programs write numbers in the international form.
    number = c.mapping.internationalPrefix + std::string(Trim(number.substr(1)));
    const int line = row.lineOf[kAddress] != 0 ? row.lineOf[kAddress] : row.line;
    c.notes->push_back(MakeNote(ImportNoteKind::Changed, line, row.card, "address",
                                row.value[kAddress], IDS_CONTACT_PREFIX, number));
  }
  const bool combination = IsCombinationNumber(number);
  const std::string_view digits =
      combination ? std::string_view(number).substr(0, number.size() - 1) : number;
  if (!FilterDialText(digits, DialField::Number).accepted) {
    Refuse(c, row, kAddress, IDS_TEXT_NUMBER_CHARACTER);
  }
  if (number.size() > kMaxNumber) Refuse(c, row, kAddress, IDS_TEXT_NUMBER_TOO_LONG);
  if (CheckDestination(kKindFax, "", number).failed()) {
    Refuse(c, row, kAddress, IDS_TEXT_NO_DESTINATION);
  }
  const std::string& flag = row.value[kCombination];
  if (!flag.empty() && !((flag == "yes" && combination) || (flag == "no" && !combination))) {
    Refuse(c, row, kCombination, IDS_TEXT_BAD_VALUE);
  }
  record.kind = kKindFax;
  record.combination = combination ? 1 : 0;
  // The machine's group mark on a fax entry.
  const std::string mark = Lower(row.value[kGroupMark]);
  if (!mark.empty() && mark != "yes" && mark != "no") {
    Refuse(c, row, kGroupMark, IDS_TEXT_BAD_VALUE);
  }
  record.groupMarker = mark == "yes" ? 1 : 0;
  CopyText(record.number, sizeof record.number, number);
  // A combination key shows only its number, as the entry dialog does; the
  // SUB, SID, batch time and speed the entry holds behind it are in the
  // row's columns all the same and come back with it.
  if (combination) record.name[0] = record.name2[0] = '\0';
  for (int column : {kSub, kSid}) {
    const std::string& text = row.value[column];
    if (!FilterDialText(text, DialField::SubOrSid).accepted) {
      Refuse(c, row, column, IDS_TEXT_SUB_SID_CHARACTER);
    }
    if (text.size() > kMaxSubSid) Refuse(c, row, column, IDS_TEXT_SUB_SID_TOO_LONG);
  }
  CopyText(record.sub, sizeof record.sub, row.value[kSub]);
  CopyText(record.sid, sizeof record.sid, row.value[kSid]);
  ReadSpeed(c, row, p, combination);

  const std::string& batch = row.value[kBatchTime];
  if (batch.empty()) return;
  if (speedDial) Refuse(c, row, kBatchTime, IDS_TEXT_SPEED_DIAL_BATCH_TIME);
  const size_t colon = batch.find(':');
  const std::string hour = batch.substr(0, colon);
  const std::string minute = colon == std::string::npos ? "" : batch.substr(colon + 1);
  if (colon == std::string::npos || Decimal(hour, 2) < 0 || Decimal(minute, 2) < 0 ||
      CheckBatchTime(hour, minute).failed()) {
    Refuse(c, row, kBatchTime, IDS_TEXT_BAD_BATCH_TIME);
  }
  // Both are at most two digits here.
  CopyText(record.batchHour, sizeof record.batchHour, std::to_string(Decimal(hour, 2) % 100));
  CopyText(record.batchMinute, sizeof record.batchMinute, std::to_string(Decimal(minute, 2) % 100));
}

// The address_bytes column: one to 64 bytes without a zero byte.
std::optional<std::string> AddressBytes(const Context& c, const Row& row) {
  const std::string& hex = row.value[kAddressBytes];
  if (hex.empty()) return std::nullopt;
  const std::optional<std::string> bytes = BytesOfHex(hex);
  if (!bytes || bytes->empty() || bytes->size() > kMaxAddress ||
      bytes->find('\0') != std::string::npos) {
    Refuse(c, row, kAddressBytes, IDS_TEXT_BAD_VALUE);
  }
  return bytes;
}

void ReadEmail(const Context& c, const Row& row, Pending& p) {
  DisplayRecord& record = p.record;
  const std::string& address = row.value[kAddress];
  // The stored bytes while the address column is still the text export
  // wrote for them (an edited address wins).
  std::optional<std::string> bytes = AddressBytes(c, row);
  if (bytes) {
    const std::string shown = StoredAddressText(c.language, *bytes);
    if (address != shown && address != Trim(shown)) bytes.reset();
  }
  if (bytes) {
    // Bytes the machine holds are taken as they are, even ones the address
    // filter would not let a user type; the address must still be one.
    if (!IsMailAddress(*bytes)) Refuse(c, row, kAddressBytes, IDS_TEXT_BAD_VALUE);
    p.machineAddress = bytes;
    char text[kMaxAddress + 1] = {};
    std::memcpy(text, bytes->data(), bytes->size());
    ToPcCharset(c.language, text);
    CopyText(record.email, sizeof record.email, text);
  } else {
    if (!FilterMailText(address).accepted) Refuse(c, row, kAddress, IDS_TEXT_ADDRESS_CHARACTER);
    if (address.size() > kMaxAddress) Refuse(c, row, kAddress, IDS_TEXT_ADDRESS_TOO_LONG);
    const CheckFailure check = CheckDestination(kKindEmail, address, "");
    if (check.failed()) {
      Refuse(c, row, kAddress,
             address.empty() ? IDS_TEXT_NO_DESTINATION : IDS_TEXT_ADDRESS_INVALID);
    }
    CopyText(record.email, sizeof record.email, address);
  }
  record.kind = kKindEmail;
  if (!row.value[kGroupMark].empty() && Lower(row.value[kGroupMark]) != "no") {
    Refuse(c, row, kGroupMark, IDS_TEXT_BAD_VALUE);  // only fax entries carry the mark
  }
  // The dialog never stores an e-mail entry as a combination key, but the
  // machine's entry may carry the bit; its names are then not shown either.
  const std::string combination = Lower(row.value[kCombination]);
  if (!combination.empty() && combination != "yes" && combination != "no") {
    Refuse(c, row, kCombination, IDS_TEXT_BAD_VALUE);
  }
  record.combination = combination == "yes" ? 1 : 0;
  if (record.combination) record.name[0] = record.name2[0] = '\0';

  // The dialog's OK looks at none of the options: a code the lists do not
  // offer (kept from the machine) is taken as it stands.
  const int mode = OptionCode(c, row, kEmailMode, {{"Basic", 0}, {"Advanced", 1}}, 0);
  const bool advanced = mode == 1;
  int size = OptionCode(c, row, kMaxTxSizeCode, {},
                        advanced ? DefaultMaxTxSize(c.inchPaper, c.addressBookOnly) : 0);
  if (row.value[kMaxTxSizeCode].empty() && !row.value[kMaxTxSize].empty()) {
    size = OptionCode(c, row, kMaxTxSize,
                      {{"A3", 0}, {"B4", 1}, {"A4", 2}, {"Letter", 12}, {"Ledger", 9}}, size);
  }
  const int quality = OptionCode(c, row, kMaxQuality, {{"Fine", 1}, {"S/F", 2}}, advanced ? 2 : 0);
  const int coding = OptionCode(c, row, kCoding, {{"MH", 0}, {"MR", 1}, {"MMR", 2}}, 0);
  record.emailOptions[0] = static_cast<uint8_t>(mode);
  record.emailOptions[1] = static_cast<uint8_t>(size);
  record.emailOptions[2] = static_cast<uint8_t>(quality);
  record.emailOptions[3] = static_cast<uint8_t>(coding);
}

void CheckUtf8(const Context& c, const Row& row) {
  for (int column = 0; column < kColumnCount; ++column) {
    if (!IsValidUtf8(row.value[column])) Refuse(c, row, column, IDS_TEXT_INVALID_UTF8);
  }
}

// The stored flags byte, taken while it agrees with every bit the row's
// columns decide (type, combination, group mark, batch time; for a group
// the group bits): an edited column wins, and the columns alone then give
// the flags. Bits the columns cannot say (a One Touch entry without the One
// Touch entry bit, the Speed Dial bit on a One Touch key, the group bit on
// an e-mail entry ...) come back as the machine holds them.
void ReadFlags(const Context& c, const Row& row, Pending& p) {
  const std::optional<uint8_t> stored = StoredByte(c, row, kFlagsByte);
  if (!stored) return;
  const DisplayRecord& r = p.record;
  const bool group = p.table == Table::Group;
  const bool speedDial = p.table == Table::SpeedDial;
  const bool email = r.kind == kKindEmail;
  const bool batchTime = r.batchHour[0] != '\0' && r.batchMinute[0] != '\0';
  const uint8_t own =
      OwnCsvFlags(speedDial, group, email, r.combination != 0, !group && r.groupMarker, batchTime);
  uint8_t decided = kFlagEmail | kFlagCombination;
  if (group) {
    decided = kFlagEmail | kFlagOneTouchEntry | kFlagGroup;
  } else if (!email) {
    decided |= kFlagGroup;
    if (!speedDial) decided |= kFlagBatchTime;
  }
  // A program travels whole, in program_entry.
  if (*stored & kFlagProgram) Refuse(c, row, kFlagsByte, IDS_TEXT_BAD_VALUE);
  if ((*stored & decided) != (own & decided)) return;
  // Bits that would make the entry read as another kind of entry: a One
  // Touch fax or e-mail entry with the group bit and without the One Touch
  // entry bit is (also) read as a Group dial; no flags is an empty entry.
  if (*stored == 0 ||
      (!group && !speedDial && (*stored & kFlagGroup) && !(*stored & kFlagOneTouchEntry))) {
    Refuse(c, row, kFlagsByte, IDS_TEXT_BAD_VALUE);
  }
  p.flags = stored;
}

Pending ReadRow(const Context& c, const Row& row) {
  CheckUtf8(c, row);
  // The stored byte columns are checked on every row, whatever its type.
  StoredByte(c, row, kFlagsByte);
  StoredByte(c, row, kSpeedByte);
  AddressBytes(c, row);
  Pending p{&row, Table::Any, -1, false, {}, {}, {}, {}, {}, {}, {}};
  const std::string table = Lower(row.value[kTable]);
  if (table == "one-touch") {
    p.table = Table::OneTouch;
  } else if (table == "speed-dial") {
    p.table = Table::SpeedDial;
  } else if (table == "group") {
    p.table = Table::Group;
  } else if (!table.empty()) {
    Refuse(c, row, kTable, IDS_TEXT_BAD_VALUE);
  }
  if (!row.value[kNumber].empty()) {
    const int number = Decimal(row.value[kNumber]);
    const int limit =
        p.table == Table::SpeedDial || p.table == Table::Any ? kSpeedDialCount : kOneTouchCount;
    if (number < 1 || number > limit) Refuse(c, row, kNumber, IDS_TEXT_ENTRY_OUTSIDE_TABLE);
    if (p.table == Table::Any) p.table = Table::SpeedDial;
    p.index = number - 1;
  }
  const std::string type = Lower(row.value[kType]);
  if ((type == "group") != (p.table == Table::Group)) Refuse(c, row, kType, IDS_TEXT_BAD_VALUE);
  DisplayRecord& r = p.record;
  r.inUse = 1;
  r.registrationDate = ReadDate(c, row);
  if (type == "program") {
    if (p.index < 0) Refuse(c, row, kNumber, IDS_TEXT_ENTRY_OUTSIDE_TABLE);
    p.program = true;
    if (!row.value[kProgramEntry].empty()) {
      // The program as the machine holds it; the file must carry a whole
      // program entry of its table.
      const std::optional<std::string> bytes = BytesOfHex(row.value[kProgramEntry]);
      const size_t size = p.table == Table::SpeedDial ? kSpeedDialEntrySize : kOneTouchEntrySize;
      if (!bytes || bytes->size() != size || !((*bytes)[2] & kFlagProgram)) {
        Refuse(c, row, kProgramEntry, IDS_TEXT_BAD_VALUE);
      }
      p.programEntry.assign(bytes->begin(), bytes->end());
    }
    return p;
  }
  ReadNames(c, row, p);
  if (type == "group") {
    if (p.index < 0) Refuse(c, row, kNumber, IDS_TEXT_ENTRY_OUTSIDE_TABLE);
    const bool singleByte = IsSingleByteLanguage(c.language) != 0;
    // A group needs a name; one the machine holds under the other name field
    // (a group named in English, read in a double-byte language) is kept.
    if (CheckGroup(singleByte ? r.name : r.name2, 1, singleByte) != 0 && r.name[0] == '\0' &&
        r.name2[0] == '\0') {
      Refuse(c, row, singleByte ? kName : kName2, IDS_TEXT_GROUP_NAME_REQUIRED);
    }
    r.entryType = kEntryGroup;
    r.groupMarker = 1;
    ReadFlags(c, row, p);
    return p;
  }
  if (p.table == Table::Any) p.table = Table::SpeedDial;
  const bool speedDial = p.table == Table::SpeedDial;
  r.entryType = speedDial ? kEntrySpeedDial : kEntryOneTouch;
  if (type == "fax") {
    ReadFax(c, row, p, speedDial);
  } else if (type == "email") {
    ReadEmail(c, row, p);
  } else {
    Refuse(c, row, kType, IDS_TEXT_BAD_VALUE);
  }
  ReadFlags(c, row, p);
  return p;
}

// Group members: "one-touch 3 speed-dial 12 ...", each an entry of the file.
void ReadMembers(const Context& c, Pending& group, const std::vector<Pending>& entries) {
  const Row& row = *group.row;
  std::vector<std::string> words;
  std::string word;
  for (char ch : row.value[kMembers] + " ") {
    if (ch == ' ' || ch == ',' || ch == ';' || ch == '\t') {
      if (!word.empty()) words.push_back(Lower(word));
      word.clear();
    } else {
      word += ch;
    }
  }
  if (words.size() % 2 != 0) Refuse(c, row, kMembers, IDS_TEXT_BAD_MEMBER);
  const size_t count = words.size() / 2;
  if (count < 1 || count > static_cast<size_t>(kMaxGroupMembers)) {
    Refuse(c, row, kMembers, IDS_TEXT_GROUP_SIZE);
  }
  for (size_t j = 0; j < count; ++j) {
    const Table table = words[2 * j] == "one-touch"    ? Table::OneTouch
                        : words[2 * j] == "speed-dial" ? Table::SpeedDial
                                                       : Table::Any;
    const int index = Decimal(words[2 * j + 1]) - 1;
    const auto member = std::find_if(entries.begin(), entries.end(), [&](const Pending& e) {
      return e.table == table && e.index == index && !e.program;
    });
    if (table == Table::Any || member == entries.end()) {
      Refuse(c, row, kMembers, IDS_TEXT_BAD_MEMBER);
    }
    group.record.members[j] = {table == Table::OneTouch ? kMemberOneTouch : kMemberSpeedDial,
                               static_cast<uint8_t>(index)};
  }
  group.record.memberCount = static_cast<uint8_t>(count);
}

// Places the rows of a Replace at the entries they name, then the others at
// the first entries no row names; each row that cannot be placed, and each
// group whose members are not all there, becomes a Skipped note.
void PlaceRows(const Context& c, std::vector<Pending>& entries, std::vector<bool>& skipped) {
  std::array<bool, kOneTouchCount> keyUsed{};
  std::array<bool, kSpeedDialCount> dialUsed{};
  auto used = [&](Table table, int index) -> bool& {
    return table == Table::SpeedDial ? dialUsed[index] : keyUsed[index];
  };
  auto skip = [&](size_t k, int column, int reason) {
    try {
      Refuse(c, *entries[k].row, column, reason);
    } catch (const Refusal& refusal) {
      const TextImportProblem& p = refusal.problem;
      c.notes->push_back(
          MakeNote(ImportNoteKind::Skipped, p.line, p.card, p.field, p.value, p.reasonId));
    }
    skipped[k] = true;
  };
  for (size_t k = 0; k < entries.size(); ++k) {
    Pending& p = entries[k];
    if (p.index < 0) continue;
    if (used(p.table, p.index)) {
      skip(k, kNumber, IDS_TEXT_ENTRY_TWICE);
      continue;
    }
    used(p.table, p.index) = true;
  }
  for (size_t k = 0; k < entries.size(); ++k) {
    Pending& p = entries[k];
    if (p.index >= 0) continue;
    const int count = p.table == Table::SpeedDial ? kSpeedDialCount : kOneTouchCount;
    for (int i = 0; i < count && p.index < 0; ++i) {
      if (!used(p.table, i)) p.index = i;
    }
    if (p.index < 0) {
      skip(k, kNumber, IDS_TEXT_TABLE_FULL);
      continue;
    }
    used(p.table, p.index) = true;
  }
  // Members must be entries that are imported.
  std::vector<Pending> placed;
  for (size_t k = 0; k < entries.size(); ++k) {
    if (!skipped[k]) placed.push_back(entries[k]);
  }
  for (size_t k = 0; k < entries.size(); ++k) {
    if (skipped[k] || entries[k].table != Table::Group) continue;
    try {
      ReadMembers(c, entries[k], placed);
    } catch (const Refusal& refusal) {
      const TextImportProblem& p = refusal.problem;
      c.notes->push_back(
          MakeNote(ImportNoteKind::Skipped, p.line, p.card, p.field, p.value, p.reasonId));
      skipped[k] = true;
    }
  }
}

// ---- CSV ----

// One field of a CSV record, and whether it was quoted.
struct CsvText {
  std::string text;
  bool quoted = false;
};

// Splits the bytes into records of fields (RFC 4180); `lines` gets the line
// each record starts on. Quoted fields may hold commas, quotes ("") and line
// breaks.
void SplitCsv(std::string_view text, char separator, std::vector<std::vector<CsvText>>& records,
              std::vector<int>& lines) {
  size_t i = 0;
  int line = 1;
  while (i < text.size()) {
    std::vector<CsvText> fields;
    const int start = line;
    for (;;) {
      std::string field;
      const bool quoted = i < text.size() && text[i] == '"';
      if (quoted) {
        ++i;
        for (;;) {
          if (i >= text.size()) {
            Refuse(kImportFormatCsv, start, 0, "column " + std::to_string(fields.size() + 1),
                   IDS_TEXT_BAD_QUOTING);
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
          if (text[i] == '\n') ++line;
          field += text[i++];
        }
        if (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
          Refuse(kImportFormatCsv, line, 0, "column " + std::to_string(fields.size() + 1),
                 IDS_TEXT_BAD_QUOTING);
        }
      } else {
        while (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
          if (text[i] == '"') {
            Refuse(kImportFormatCsv, line, 0, "column " + std::to_string(fields.size() + 1),
                   IDS_TEXT_BAD_QUOTING);
          }
          field += text[i++];
        }
      }
      fields.push_back({std::move(field), quoted});
      if (i < text.size() && text[i] == separator) {
        ++i;
        continue;
      }
      break;
    }
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    ++line;
    // Spreadsheets leave empty lines behind the last row.
    if (fields.size() == 1 && fields[0].text.empty()) continue;
    records.push_back(std::move(fields));
    lines.push_back(start);
  }
}

std::vector<Row> ReadCsvRows(std::string_view file) {
  std::vector<std::vector<CsvText>> records;
  std::vector<int> lines;
  std::string text(file);
  // Spreadsheets in many countries save ';' between the fields; Excel's
  // "sep=" line says which.
  const char named = TakeSeparatorLine(text);
  const char separator = named != 0 ? named : CsvSeparator(SkipBlankLines(text));
  SplitCsv(text, separator, records, lines);
  std::vector<Row> rows;
  if (records.empty()) return rows;
  std::vector<int> columnOf;
  std::array<bool, kColumnCount> seen{};
  // A column a spreadsheet left without a heading is read as empty: it is
  // no column of ours, and a value in it refuses the file.
  constexpr int kNoColumn = -1;
  for (const CsvText& field : records[0]) {
    const std::string& heading = field.text;
    const std::string name = Lower(Trim(heading));
    if (name.empty()) {
      columnOf.push_back(kNoColumn);
      continue;
    }
    const auto at = std::find_if(kColumnNames.begin(), kColumnNames.end(),
                                 [&](const char* known) { return name == known; });
    if (at == kColumnNames.end()) {
      Refuse(kImportFormatCsv, lines[0], 0, heading, IDS_TEXT_UNKNOWN_COLUMN);
    }
    const int column = static_cast<int>(at - kColumnNames.begin());
    if (seen[column]) Refuse(kImportFormatCsv, lines[0], 0, heading, IDS_TEXT_DUPLICATE_COLUMN);
    seen[column] = true;
    columnOf.push_back(column);
  }
  for (int column : {kType, kAddress}) {
    if (!seen[column]) {
      Refuse(kImportFormatCsv, lines[0], 0, kColumnNames[column], IDS_TEXT_MISSING_COLUMN);
    }
  }
  for (size_t r = 1; r < records.size(); ++r) {
    Row row;
    row.line = lines[r];
    for (size_t f = 0; f < records[r].size(); ++f) {
      const CsvText& field = records[r][f];
      // Spreadsheets write empty fields for the empty columns at the right.
      const int column = f < columnOf.size() ? columnOf[f] : kNoColumn;
      if (column == kNoColumn) {
        if (Trim(field.text).empty()) continue;
        Refuse(kImportFormatCsv, row.line, 0, "column " + std::to_string(f + 1),
               f < columnOf.size() ? IDS_TEXT_UNKNOWN_COLUMN : IDS_TEXT_TOO_MANY_FIELDS,
               field.text);
      }
      // Names and addresses are stored as they stand: a quoted one keeps
      // the spaces at its ends. Every other column is trimmed.
      const bool asItStands =
          field.quoted && (column == kName || column == kName2 || column == kAddress);
      row.value[column] = asItStands ? field.text : std::string(Trim(field.text));
      row.quoted[column] = field.quoted;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string VcardText(std::string_view text) {
  std::string escaped;
  for (char ch : text) {
    if (ch == '\\' || ch == ',' || ch == ';') escaped += '\\';
    if (ch == '\n') {
      escaped += "\\n";
      continue;
    }
    escaped += ch;
  }
  return escaped;
}

}  // namespace

std::string SpeedColumnText(uint8_t stored, bool combination) {
  static const char* const kTexts[] = {"9.6K", "14.4K", "33.6K"};
  if (combination) return stored >= 2 && stored <= 4 ? kTexts[stored - 2] : "";
  const int index = stored >= 2 ? stored - 2 : 2;
  return index <= 2 ? kTexts[index] : "(" + std::to_string(index) + ")";
}

uint8_t OwnCsvFlags(bool speedDial, bool group, bool email, bool combination, bool groupMark,
                    bool batchTime) {
  if (group) return kFlagGroup;
  uint8_t flags = speedDial ? kFlagSpeedDial : kFlagOneTouchEntry;
  flags |= email ? kFlagEmail : kFlagFax;
  if (combination) flags |= kFlagCombination;
  if (!email && groupMark) flags |= kFlagGroup;
  if (!email && !speedDial && batchTime) flags |= kFlagBatchTime;
  return flags;
}

std::string StoredNameText(Language language, std::string_view machine, bool name2) {
  const std::string bytes(machine.substr(0, strnlen(machine.data(), machine.size())));
  if (!name2) {
    char text[kMaxName + 1] = {};
    std::memcpy(text, bytes.data(), std::min(bytes.size(), kMaxName));
    ToPcCharset(language, text);
    return AnsiToUtf8(language, std::string_view(text, strnlen(text, sizeof text)));
  }
  char pc[256];
  Name2ToPc(language, bytes.c_str(), pc);
  // A display record keeps 23 bytes of name2.
  return AnsiToUtf8(language, std::string_view(pc, strnlen(pc, sizeof(DisplayRecord::name2) - 1)));
}

std::optional<std::string> NameBytesOfText(Language language, std::string_view utf8, bool name2) {
  const std::string_view text = Trim(utf8);
  const std::string ansi = Utf8ToAnsi(language, text);
  if (AnsiToUtf8(language, ansi) != text || ansi.size() > kMaxName ||
      ansi.find('\0') != std::string::npos) {
    return std::nullopt;
  }
  if (!name2) {
    char machine[kMaxName + 1] = {};
    std::memcpy(machine, ansi.data(), ansi.size());
    ToMachineCharset(language, machine);
    return std::string(machine, ansi.size());
  }
  if (ValidateName(language, ansi).rejected) return std::nullopt;
  char machine[256];
  Name2ToMachine(language, ansi.c_str(), machine);
  return std::string(machine, strnlen(machine, kMaxName));
}

std::string StoredAddressText(Language language, std::string_view machine) {
  char text[kMaxAddress + 1] = {};
  const size_t length = std::min(strnlen(machine.data(), machine.size()), kMaxAddress);
  std::memcpy(text, machine.data(), length);
  ToPcCharset(language, text);
  return AnsiToUtf8(language, std::string_view(text, length));
}

std::optional<std::string> AddressBytesOfText(Language language, std::string_view utf8,
                                              bool speedDial) {
  if (!FilterMailText(utf8).accepted || utf8.size() > kMaxAddress) return std::nullopt;
  char machine[kMaxAddress + 1] = {};
  std::memcpy(machine, utf8.data(), utf8.size());
  if (speedDial) ToMachineCharset(language, machine);
  return std::string(machine, utf8.size());
}

std::string HexBytes(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

std::optional<std::string> BytesOfHex(std::string_view hex) {
  auto nibble = [](char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
  };
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = nibble(hex[i]), low = nibble(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

int TextAddressBookFormat(const uint8_t* data, size_t size) {
  return ContactFileFormat(data, size);
}

void PlanOwnCsv(const DataSet& set, std::string_view text, ImportMode mode,
                const ImportOptions& options, ContactImportPlan& plan) {
  const uint32_t variant = GetSetting(set, kMachineVariantId);
  std::vector<ImportNote> notes;
  const Context c{kImportFormatCsv,
                  set.language,
                  variant,
                  InchPaperVariant(variant),
                  set.addressBookOnly,
                  MappingContextOf(set, options),
                  &notes};
  plan.format = kImportFormatCsv;
  std::vector<Row> rows;
  try {
    rows = ReadCsvRows(text);
  } catch (const Refusal& refusal) {
    const TextImportProblem& p = refusal.problem;
    plan.format = 0;
    plan.notes.push_back(
        MakeNote(ImportNoteKind::Refused, p.line, p.card, p.field, p.value, p.reasonId));
    return;
  }
  std::vector<Pending> entries;
  entries.reserve(rows.size());
  for (const Row& row : rows) {
    try {
      entries.push_back(ReadRow(c, row));
    } catch (const Refusal& refusal) {
      const TextImportProblem& p = refusal.problem;
      notes.push_back(
          MakeNote(ImportNoteKind::Skipped, p.line, p.card, p.field, p.value, p.reasonId));
    }
  }
  if (mode == ImportMode::Add) {
    // Add fills free Speed Dials only: the rows' destinations are contacts
    // like any other's.
    std::vector<Candidate> candidates;
    for (const Pending& p : entries) {
      if (p.program) continue;  // a program key stays as the machine has it
      if (p.table == Table::Group) {
        notes.push_back(MakeNote(ImportNoteKind::Skipped, p.row->line, 0, "type", "group",
                                 IDS_CONTACT_ADD_KEEPS_KEYS));
        continue;
      }
      Candidate candidate;
      candidate.line = p.row->line;
      candidate.record = p.record;
      if (candidate.record.kind == kKindFax && candidate.record.batchHour[0] != '\0') {
        // Speed Dials have no batch time.
        candidate.record.batchHour[0] = candidate.record.batchMinute[0] = '\0';
      }
      candidates.push_back(candidate);
    }
    PlaceCandidates(set, mode, candidates, plan);
  } else {
    std::vector<bool> skipped(entries.size(), false);
    PlaceRows(c, entries, skipped);
    for (size_t k = 0; k < entries.size(); ++k) {
      if (skipped[k]) continue;
      Pending& p = entries[k];
      PlannedEntry e;
      e.line = p.row->line;
      e.speedDial = p.table == Table::SpeedDial;
      e.index = p.index;
      e.record = p.record;
      e.record.index = static_cast<uint8_t>(p.index);
      e.record.program = p.program ? 1 : 0;
      e.machineName = p.machineName;
      e.machineName2 = p.machineName2;
      e.programEntry = p.programEntry;
      e.flags = p.flags;
      e.speed = p.speed;
      e.machineAddress = p.machineAddress;
      plan.entries.push_back(e);
    }
  }
  plan.notes.insert(plan.notes.begin(), notes.begin(), notes.end());
}

int ImportTextAddressBook(DataSet& set, const uint8_t* data, size_t size,
                          TextImportProblem& problem) {
  problem = {};
  const int format = TextAddressBookFormat(data, size);
  if (format == 0) return 0;
  ContactImportPlan plan;
  PlanContactImport(data, size, set, ImportMode::Replace, ImportOptions{}, plan);
  const std::vector<ImportNote> problems = plan.Problems();
  if (!problems.empty()) {
    const ImportNote& first = problems.front();
    problem = {plan.format != 0 ? plan.format : format,
               first.line,
               first.card,
               first.field,
               first.messageId,
               first.value};
    return 0;
  }
  ApplyContactImportPlan(set, plan);
  return plan.format;
}

int ImportAddressBookData(DataSet& set, ImportBuffers& buffers, const uint8_t* data, size_t size,
                          TextImportProblem& problem) {
  problem = {};
  if (TextAddressBookFormat(data, size) != 0) {
    return ImportTextAddressBook(set, data, size, problem);
  }
  return ImportAddressBookBytes(set, buffers, data, size);
}

int ImportAddressBookFile(DataSet& set, ImportBuffers& buffers, const std::string& path,
                          TextImportProblem& problem) {
  problem = {};
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return 0;
  return ImportAddressBookData(set, buffers, bytes.data(), bytes.size(), problem);
}

std::string DescribeTextImportProblem(const TextImportProblem& problem,
                                      const std::function<std::string(int)>& text) {
  const std::string reason = text(problem.reasonId);
  char message[1024];
  if (problem.format == kImportFormatVcard) {
    std::snprintf(message, sizeof message, text(IDS_TEXT_IMPORT_REFUSED_CARD).c_str(), problem.card,
                  problem.line, problem.field.c_str(), reason.c_str());
  } else {
    std::snprintf(message, sizeof message, text(IDS_TEXT_IMPORT_REFUSED_LINE).c_str(), problem.line,
                  problem.field.c_str(), reason.c_str());
  }
  return message;
}

std::string AddressBookVcard(DataSet& set) {
  std::string out;
  DisplayRecord record;
  auto card = [&](const char* table, int number) {
    if (!record.inUse || record.program || record.entryType == kEntryGroup) return;
    const std::string name = AnsiToUtf8(
        set.language, std::string_view(record.name, strnlen(record.name, sizeof record.name)));
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    out += "FN:" + VcardText(name) + "\r\n";
    out += "N:" + VcardText(name) + ";;;;\r\n";
    if (record.kind == kKindEmail) {
      out += "EMAIL;TYPE=INTERNET:" +
             VcardText(std::string_view(record.email, strnlen(record.email, sizeof record.email))) +
             "\r\n";
    } else {
      out += "TEL;TYPE=FAX:" +
             std::string(record.number, strnlen(record.number, sizeof record.number)) + "\r\n";
    }
    out += "X-ODC-ENTRY:" + std::string(table) + " " + std::to_string(number) + "\r\n";
    out += "END:VCARD\r\n";
  };
  for (int key = 0; key < kOneTouchCount; ++key) {
    UnpackOneTouch(record, set, key);
    if (record.groupMarker && record.entryType == kEntryGroup) continue;
    card("one-touch", key + 1);
  }
  for (int index = 0; index < kSpeedDialCount; ++index) {
    UnpackSpeedDial(record, set, index);
    card("speed-dial", index + 1);
  }
  return out;
}

}  // namespace odc
