// `odctool export --csv` followed by an import (Replace) into a new data set
// gives back the dial tables byte for byte, for the demo machine and for
// generated address books that hold, byte by byte, any record a machine can
// hold: names of any machine byte, every flags byte a fax, e-mail or group
// entry can carry, every speed byte, what a combination key holds behind its
// number (SUB, SID, batch time, speed, names), a SID without a SUB, numbers
// and addresses with spaces at their ends, program keys, in English and in
// Japanese.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "setup/addressbook/address_text_import.h"
#include "setup/data/bytes.h"
#include "setup/data/charset.h"
#include "setup/data/data_file.h"
#include "setup/data/document.h"
#include "setup/res/resource.h"
#include "setup/settings/english_strings.h"
#include "tools/odctool/report.h"

namespace odc {
namespace {

std::unique_ptr<DataSet> NewSet(Language language) {
  auto set = std::make_unique<DataSet>();
  Document document;
  EXPECT_EQ(NewDataSet(*set, document), 1);
  set->language = language;
  return set;
}

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  uint8_t Byte() { return static_cast<uint8_t>(Int(0, 255)); }

  std::string Text(const char* alphabet, int lo, int hi) {
    const int length = Int(lo, hi);
    const int size = static_cast<int>(std::strlen(alphabet));
    std::string text;
    for (int i = 0; i < length; ++i) text += alphabet[Int(0, size - 1)];
    return text;
  }

  // Bytes 1-255: half at random, half walking through every value in turn so
  // that each byte value appears within the first few data sets.
  std::string MachineName(int lo) {
    const int length = Int(lo, 20);
    std::string name;
    for (int i = 0; i < length; ++i) {
      if (Chance(50)) {
        name += static_cast<char>(Int(1, 255));
      } else {
        name += static_cast<char>(next_);
        next_ = next_ == 255 ? 1 : next_ + 1;
      }
    }
    return name;
  }

  std::mt19937& rng() { return rng_; }

 private:
  std::mt19937 rng_;
  int next_ = 1;
};

// Where the fields of a fax or e-mail entry lie in each table.
struct Layout {
  bool speedDial;
  size_t nameLength, name, name2Length, name2, date, batchTime, speed, subCount, sidCount, number,
      email, sub, sid;
};
constexpr Layout kOneTouchAt = {false, 5, 6, 130, 131, 26, 28, 30, 31, 32, 33, 34, 58, 68};
// Speed Dials have no batch time.
constexpr Layout kSpeedDialAt = {true, 4, 5, 96, 97, 26, 0, 28, 29, 30, 31, 32, 56, 66};

// Writes name bytes (and name2 bytes) into an entry exactly as a machine
// could hold them.
void PutNames(uint8_t* entry, bool speedDial, const std::string& name, const std::string& name2) {
  const Layout& at = speedDial ? kSpeedDialAt : kOneTouchAt;
  std::memset(entry + at.name, 0, 20);
  std::memcpy(entry + at.name, name.data(), name.size());
  entry[at.nameLength] = static_cast<uint8_t>(name.size());
  std::memset(entry + at.name2, 0, 21);
  std::memcpy(entry + at.name2, name2.data(), name2.size());
  entry[at.name2Length] = static_cast<uint8_t>(name2.size());
}

void PutDigits(uint8_t* entry, size_t countAt, size_t fieldAt, const std::string& digits) {
  entry[countAt] = static_cast<uint8_t>(digits.size());
  PackDigits(entry + fieldAt, digits.c_str(), static_cast<int>(digits.size()));
}

uint16_t RandomDate(Generator& g) {
  return g.Chance(20) ? 0 : EncodeRegistrationDate(g.Int(2000, 2127), g.Int(1, 12), g.Int(1, 31));
}

// Bytes 0-1 of a used entry: its place + 1, with bit 15 on a Speed Dial.
void PutPlace(uint8_t* entry, const Layout& at, int place) {
  PutU16(entry, static_cast<uint16_t>(at.speedDial ? (place + 1) | 0x8000 : place + 1));
}

// The flags of a fax or e-mail entry: mostly those the entry dialog stores,
// often any other mix of the bits that do not decide how the entry is read
// (no fax bit, no One Touch entry bit, the Speed Dial bit on a One Touch key,
// the batch time bit on a Speed Dial or an e-mail entry, the fax bit on an
// e-mail entry). The combination bit follows the number, the batch time bit
// of a One Touch fax entry its batch time, the group bit the group mark.
uint8_t EntryFlags(Generator& g, const Layout& at, bool email, bool combination, bool batchTime,
                   bool groupBit) {
  const bool oneTouchFax = !email && !at.speedDial;
  uint8_t flags = static_cast<uint8_t>((email ? kFlagEmail : kFlagFax) |
                                       (at.speedDial ? kFlagSpeedDial : kFlagOneTouchEntry));
  if (g.Chance(40)) {
    const uint8_t free =
        kFlagFax | kFlagSpeedDial | kFlagOneTouchEntry | (oneTouchFax ? 0 : kFlagBatchTime);
    flags = static_cast<uint8_t>((email ? kFlagEmail : 0) | (g.Byte() & free));
  }
  if (combination) flags |= kFlagCombination;
  if (oneTouchFax && batchTime) flags |= kFlagBatchTime;
  if (groupBit) {
    // A One Touch key with the group bit and without the One Touch entry
    // bit is a Group dial.
    flags |= kFlagGroup;
    if (!at.speedDial) flags |= kFlagOneTouchEntry;
  }
  if (flags == 0) flags = kFlagFax;
  return flags;
}

// A fax entry, field by field. The reserved byte, the bytes between and
// behind the fields, the spare nibble of an odd digit count and the batch
// time field without its flag stay 0: the program itself always leaves them
// 0 (PackOneTouch and PackSpeedDial clear the entry before they write a
// field), so the CSV carries none of them.
void WriteFax(Generator& g, uint8_t* e, const Layout& at, int place, bool combination) {
  PutPlace(e, at, place);
  // Any characters of the dial filter, a space or '-' at either end too; a
  // combination key's number ends in '+' behind at least one of them.
  std::string number = g.Text("0123456789*#P -", 1, combination ? 29 : 30);
  if (combination) number += '+';
  PutDigits(e, 3, at.number, number);
  PutNames(e, at.speedDial, g.MachineName(0), g.MachineName(0));
  PutU16(e + at.date, RandomDate(g));
  // The dialog stores 2-4 for its three buttons; the byte holds any value.
  const int speed = g.Int(0, 9);
  e[at.speed] = speed < 6   ? static_cast<uint8_t>(g.Int(2, 4))
                : speed < 8 ? static_cast<uint8_t>(g.Int(0, 1))
                            : g.Byte();
  // SUB and SID, each on its own: a SID may stand without a SUB.
  if (g.Chance(70)) PutDigits(e, at.subCount, at.sub, g.Text("0123456789*#", 1, 20));
  if (g.Chance(70)) PutDigits(e, at.sidCount, at.sid, g.Text("0123456789*#", 1, 20));
  const bool batchTime = !at.speedDial && g.Chance(40);
  if (batchTime) {
    PutU16(e + at.batchTime, static_cast<uint16_t>((g.Int(0, 59) + g.Int(0, 23) * 64) * 32));
  }
  e[2] = EntryFlags(g, at, false, combination, batchTime, g.Chance(30));
}

// An address the entry dialog takes: printable ASCII but the characters the
// address filter removes, exactly one '@' and at least one '.', anywhere.
std::string Address(Generator& g) {
  std::string alphabet;
  for (char ch = 32; ch <= 126; ++ch) {
    if (std::strchr(",:;<>\"\\@", ch) == nullptr) alphabet += ch;
  }
  std::string address = g.Text(alphabet.c_str(), 2, 64);
  const int length = static_cast<int>(address.size());
  const int at = g.Int(0, length - 1);
  int dot = g.Int(0, length - 2);
  if (dot >= at) ++dot;
  address[at] = '@';
  address[dot] = '.';
  return address;
}

// An e-mail entry, field by field. The reserved byte, the batch time field
// and the bytes behind the address stay 0, as for a fax entry.
void WriteEmail(Generator& g, uint8_t* e, const Layout& at, int place, Language language) {
  PutPlace(e, at, place);
  std::string address = Address(g);
  if (at.speedDial) {
    // A Speed Dial holds its address in the machine's character set.
    ToMachineCharset(language, address.data());
  }
  if (g.Chance(25)) {
    // Bytes the address filter does not take, and the two machine bytes that
    // both read as '`' (0x60, 0xB3), anywhere but on the '@' and the dots.
    for (int k = g.Int(1, 4); k > 0; --k) {
      const size_t i = static_cast<size_t>(g.Int(0, static_cast<int>(address.size()) - 1));
      if (address[i] == '@' || address[i] == '.') continue;
      const int byte = g.Chance(50) ? (g.Chance(50) ? 0x60 : 0xB3) : g.Int(1, 255);
      address[i] = static_cast<char>(byte == '@' ? 'A' : byte);
    }
  }
  e[3] = static_cast<uint8_t>(address.size());
  std::memcpy(e + at.email, address.data(), address.size());
  PutNames(e, at.speedDial, g.MachineName(0), g.MachineName(0));
  PutU16(e + at.date, RandomDate(g));
  // Mode, maximum TX size, maximum quality, coding: the dialog's codes, or
  // any byte.
  static const uint8_t kUsual[4][5] = {
      {0, 1, 0, 1, 0}, {0, 1, 2, 9, 12}, {1, 2, 1, 2, 0}, {0, 1, 2, 0, 1}};
  for (int k = 0; k < 4; ++k) e[at.speed + k] = g.Chance(80) ? kUsual[k][g.Int(0, 4)] : g.Byte();
  // The dialog never stores an e-mail combination key; the bit hides the
  // names as it does on a fax entry.
  e[2] = EntryFlags(g, at, true, g.Chance(10), false, g.Chance(15));
}

// A Group dial, field by field: the group dialog's flags, or with bits that do
// not decide how it is read; members are entries of the data set. Bytes 4
// and 28-29 and the member bytes behind the count stay 0: PackGroup and
// PackGroupMembers clear the entry first.
void WriteGroup(Generator& g, uint8_t* e, int key, std::vector<GroupMember>& candidates) {
  PutPlace(e, kOneTouchAt, key);
  e[2] = kFlagGroup;
  if (g.Chance(30)) {
    e[2] |= g.Byte() & (kFlagFax | kFlagSpeedDial | kFlagBatchTime | kFlagCombination);
  }
  std::shuffle(candidates.begin(), candidates.end(), g.rng());
  const int count = std::min<int>(g.Int(1, kMaxGroupMembers), static_cast<int>(candidates.size()));
  e[3] = static_cast<uint8_t>(count);
  for (int j = 0; j < count; ++j) {
    e[30 + 2 * j] = candidates[j].kind;
    e[31 + 2 * j] = static_cast<uint8_t>(candidates[j].index + 1);
  }
  // A group needs a name.
  PutNames(e, false, g.MachineName(1), g.MachineName(1));
  PutU16(e + 26, static_cast<uint16_t>(
                     EncodeRegistrationDate(g.Int(2000, 2127), g.Int(1, 12), g.Int(1, 28))));
}

// A random address book: every One Touch key and Speed Dial is empty (all
// zero), a fax or e-mail entry, a combination key, a program key (keys 29-32
// and some Speed Dials) or a Group dial of entries that are there.
std::unique_ptr<DataSet> GeneratedSet(Generator& g, Language language) {
  auto set = NewSet(language);
  std::vector<GroupMember> candidates;
  std::vector<int> groupKeys;
  for (int key = 0; key < kOneTouchCount; ++key) {
    uint8_t* entry = set->OneTouchEntry(key);
    const int kind = g.Int(0, 9);
    if (kind == 0) continue;
    if (key >= 28 && kind <= 3) {
      // A program set on the machine: kept as the machine wrote it.
      for (size_t b = 0; b < kOneTouchEntrySize; ++b) entry[b] = g.Byte();
      entry[2] |= kFlagProgram;
      continue;
    }
    if (kind == 1 || kind == 2) {
      groupKeys.push_back(key);
      continue;
    }
    if (kind <= 6) {
      WriteFax(g, entry, kOneTouchAt, key, kind == 3);
    } else {
      WriteEmail(g, entry, kOneTouchAt, key, language);
    }
    candidates.push_back({kMemberOneTouch, static_cast<uint8_t>(key)});
  }
  for (int index = 0; index < kSpeedDialCount; ++index) {
    uint8_t* entry = set->SpeedDialEntry(index);
    const int kind = g.Int(0, 19);
    if (kind <= 3) continue;
    if (kind <= 11) {
      WriteFax(g, entry, kSpeedDialAt, index, kind == 4);
    } else {
      WriteEmail(g, entry, kSpeedDialAt, index, language);
    }
    if (kind == 5 || kind == 12) {
      entry[2] |= kFlagProgram;  // a program on a Speed Dial is decoded like any other
    } else {
      candidates.push_back({kMemberSpeedDial, static_cast<uint8_t>(index)});
    }
  }
  for (int key : groupKeys) {
    if (candidates.empty()) break;
    WriteGroup(g, set->OneTouchEntry(key), key, candidates);
  }
  PackTransferImage(*set);
  CheckDialTables(*set);
  PackTransferImage(*set);
  return set;
}

// The first difference of the two data sets' dial tables and records, or "".
std::string FirstDifference(const DataSet& a, const DataSet& b) {
  char where[96];
  for (size_t k = 0; k < sizeof a.oneTouch; ++k) {
    if (a.oneTouch[k] != b.oneTouch[k]) {
      std::snprintf(where, sizeof where, "One Touch key %zu byte %zu: %02X, imported %02X",
                    k / kOneTouchEntrySize + 1, k % kOneTouchEntrySize, a.oneTouch[k],
                    b.oneTouch[k]);
      return where;
    }
  }
  for (size_t k = 0; k < sizeof a.speedDial; ++k) {
    if (a.speedDial[k] != b.speedDial[k]) {
      std::snprintf(where, sizeof where, "Speed Dial %zu byte %zu: %02X, imported %02X",
                    k / kSpeedDialEntrySize + 1, k % kSpeedDialEntrySize, a.speedDial[k],
                    b.speedDial[k]);
      return where;
    }
  }
  for (int r = 0; r < kDialRecordCount; ++r) {
    if (a.records[r].length != b.records[r].length ||
        std::memcmp(a.records[r].data, b.records[r].data, kRecordDataSize) != 0) {
      return "dial record " + std::to_string(r);
    }
  }
  return "";
}

std::string ExportCsv(DataSet& set) { return tool::AddressBookCsv(tool::ReportAddressBook(set)); }

// Export, import into a new data set of the same language, compare.
void ExpectRoundTrip(DataSet& original, const std::string& label) {
  const std::string csv = ExportCsv(original);
  auto imported = NewSet(original.language);
  TextImportProblem problem;
  ASSERT_EQ(ImportTextAddressBook(*imported, reinterpret_cast<const uint8_t*>(csv.data()),
                                  csv.size(), problem),
            kImportFormatCsv)
      << label << ": " << DescribeTextImportProblem(problem, EnglishString) << "\n"
      << csv;
  const std::string difference = FirstDifference(original, *imported);
  EXPECT_EQ(difference, "") << label << "\n" << csv;
}

TEST(CsvRoundTrip, GeneratedAddressBooksComeBackByteForByte) {
  Generator g(20261210);
  for (Language language : {Language::SingleByte, Language::Japanese}) {
    for (int n = 0; n < 150; ++n) {
      auto set = GeneratedSet(g, language);
      const std::string label =
          std::string(language == Language::Japanese ? "Japanese" : "English") + " data set " +
          std::to_string(n);
      ExpectRoundTrip(*set, label);
      if (HasFailure()) return;  // one data set tells the fault; the rest repeat it
    }
  }
}

TEST(CsvRoundTrip, DemoMachineComesBackByteForByte) {
  for (Language language : {Language::SingleByte, Language::Japanese}) {
    auto set = NewSet(language);
    ASSERT_EQ(ReadDataFile(*set, std::string(ODC_TEST_DATA_DIR) + "/demo_machine.dat"), 1);
    set->language = language;
    ASSERT_EQ(UnpackTransferImage(*set), 1);
    int used = 0;
    for (int key = 0; key < kOneTouchCount; ++key) used += set->OneTouchEntry(key)[2] != 0;
    for (int index = 0; index < kSpeedDialCount; ++index)
      used += set->SpeedDialEntry(index)[2] != 0;
    ASSERT_GT(used, 3);  // the demo machine's keys and Speed Dials are there
    CheckDialTables(*set);
    PackTransferImage(*set);
    ExpectRoundTrip(*set, "demo machine");
    // The same machine with names in every byte value the field holds.
    Generator g(7);
    for (int key = 0; key < kOneTouchCount; ++key) {
      uint8_t* entry = set->OneTouchEntry(key);
      if (entry[2] == 0 || (entry[2] & kFlagProgram)) continue;
      PutNames(entry, false, g.MachineName(1), g.MachineName(1));
    }
    for (int index = 0; index < kSpeedDialCount; ++index) {
      uint8_t* entry = set->SpeedDialEntry(index);
      if (entry[2] == 0) continue;
      PutNames(entry, true, g.MachineName(0), g.MachineName(0));
    }
    PackTransferImage(*set);
    ExpectRoundTrip(*set, "demo machine, every name byte");
  }
}

int Import(DataSet& set, const std::string& csv, TextImportProblem& problem) {
  return ImportTextAddressBook(set, reinterpret_cast<const uint8_t*>(csv.data()), csv.size(),
                               problem);
}

// A new English data set with `csv` imported; null, and a failure that names
// the problem, when the import refuses it.
std::unique_ptr<DataSet> ImportedSet(const std::string& csv) {
  auto set = NewSet(Language::SingleByte);
  TextImportProblem problem;
  const int format = Import(*set, csv, problem);
  EXPECT_EQ(format, kImportFormatCsv) << DescribeTextImportProblem(problem, EnglishString);
  return format == kImportFormatCsv ? std::move(set) : nullptr;
}

// The fields of the CSV row that starts with `start` (RFC 4180, no line
// breaks inside a field).
std::vector<std::string> RowFields(const std::string& csv, const std::string& start) {
  const size_t at = csv.find("\r\n" + start);
  std::vector<std::string> fields;
  if (at == std::string::npos) return fields;
  const std::string line = csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i <= line.size(); ++i) {
    const char ch = i < line.size() ? line[i] : ',';
    if (ch == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (ch == ',' && !quoted) {
      fields.push_back(field);
      field.clear();
    } else {
      field += ch;
    }
  }
  return fields;
}

// An English data set with Speed Dial 1 named by the machine bytes `name`.
std::unique_ptr<DataSet> SetWithName(const std::string& name) {
  auto set = NewSet(Language::SingleByte);
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindFax;
  r.entryType = kEntrySpeedDial;
  std::strcpy(r.number, "0123");
  PackSpeedDial(*set, r, 0);
  PutNames(set->SpeedDialEntry(0), true, name, "");
  PackTransferImage(*set);
  return set;
}

TEST(CsvRoundTrip, StoredBytesAreWrittenOnlyWhereTheNameDoesNotConvertBack) {
  const std::string header = ExportCsv(*NewSet(Language::SingleByte)).substr(0, 400);
  EXPECT_NE(header.find(",members,name_bytes,name2_bytes,group_mark,program_entry,flags_byte,"
                        "speed_byte,address_bytes\r\n"),
            std::string::npos)
      << header;
  struct Case {
    const char* what;
    std::string stored;
    std::string name;       // the readable column
    std::string nameBytes;  // the hex column
  } cases[] = {
      {"plain letters", "Office 12", "Office 12", ""},
      {"a letter of the table (e acute)", "Caf\x82", "Caf\xC3\xA9", ""},
      {"machine byte 0xFC", "Z\xFC", "Z\xC3\xBC", "5AFC"},
      {"machine byte 0x60", "a\x60", "a`", "6160"},
      {"machine byte 0xDF", "\xDF", "\xC3\x9F", "DF"},
      {"space at the end", "Desk ", "Desk ", "4465736B20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = SetWithName(c.stored);
    const std::vector<std::string> row = RowFields(ExportCsv(*set), "speed-dial,1,");
    ASSERT_EQ(row.size(), 25u);
    EXPECT_EQ(row[3], c.name);
    EXPECT_EQ(row[18], c.nameBytes);
  }
}

// A file written before the columns behind "members" existed.
TEST(CsvRoundTrip, FilesOfTheEarlierColumnSetStillImport) {
  const std::string csv =
      "table,number,type,name,name2,address,sub,sid,batch_time,speed,combination,email_mode,"
      "max_tx_size_code,max_tx_size,max_quality,coding,registered,members\r\n"
      "one-touch,1,fax,Caf\xC3\xA9,,0123,12,34,07:05,14.4K,no,,,,,,2026-01-02,\r\n"
      "speed-dial,2,email,Desk,,desk@example.com,,,,,no,Advanced,12,Letter,S/F,MMR,,\r\n"
      "group,3,group,Team,,,,,,,no,,,,,,,one-touch 1 speed-dial 2\r\n";
  auto set = ImportedSet(csv);
  ASSERT_NE(set, nullptr);
  const tool::AddressBookReport book = tool::ReportAddressBook(*set);
  ASSERT_EQ(book.oneTouch.size(), 1u);
  EXPECT_EQ(book.oneTouch[0].name, "Caf\xC3\xA9");
  EXPECT_EQ(book.oneTouch[0].batchTime, "07:05");
  EXPECT_FALSE(book.oneTouch[0].groupMark);
  ASSERT_EQ(book.speedDial.size(), 1u);
  EXPECT_EQ(book.speedDial[0].maxTxSizeCode, 12);
  ASSERT_EQ(book.groups.size(), 1u);
  EXPECT_EQ(book.groups[0].members.size(), 2u);
}

// A file written before flags_byte and speed_byte existed: a combination key
// with its name behind the number, a group mark, a program key of the data set.
TEST(CsvRoundTrip, FilesOfTheColumnSetBeforeTheStoredFlagsAndSpeedStillImport) {
  const std::string csv =
      "table,number,type,name,name2,address,sub,sid,batch_time,speed,combination,email_mode,"
      "max_tx_size_code,max_tx_size,max_quality,coding,registered,members,name_bytes,name2_bytes,"
      "group_mark,program_entry\r\n"
      "one-touch,3,fax,,,9+,,,,14.4K,yes,,,,,,,,4869,,,\r\n"
      "speed-dial,200,fax,Branch,,555,,,,9.6K,no,,,,,,,,,,yes,\r\n";
  auto set = ImportedSet(csv);
  ASSERT_NE(set, nullptr);
  const uint8_t* key = set->OneTouchEntry(2);
  EXPECT_EQ(key[2], kFlagFax | kFlagOneTouchEntry | kFlagCombination);
  EXPECT_EQ(key[30], 3);  // 14.4K
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(key + 6), key[5]), "Hi");
  const uint8_t* dial = set->SpeedDialEntry(199);
  EXPECT_EQ(dial[2], kFlagFax | kFlagSpeedDial | kFlagGroup);
  EXPECT_EQ(dial[28], 2);  // 9.6K
}

TEST(CsvRoundTrip, AnEditedNameWinsOverTheStoredBytes) {
  const std::string header = "table,number,type,name,address,combination,name_bytes\r\n";
  struct Case {
    const char* what;
    std::string row;
    std::string stored;  // the name bytes Speed Dial 1 gets
  } cases[] = {
      {"unchanged: the bytes", "speed-dial,1,fax,Z\xC3\xBC,0123,no,5AFC\r\n", "Z\xFC"},
      {"edited: the edit", "speed-dial,1,fax,Zoe,0123,no,5AFC\r\n", "Zoe"},
      {"edited to a table letter", "speed-dial,1,fax,Zo\xC3\xAB,0123,no,5AFC\r\n", "Zo\xEB"},
      {"lower-case hex", "speed-dial,1,fax,Z\xC3\xBC,0123,no,5afc\r\n", "Z\xFC"},
      {"combination key: the name behind it", "speed-dial,1,fax,,0123+,yes,4869646465\r\n",
       "Hidde"},
      {"combination key with a name typed in: no name",
       "speed-dial,1,fax,Typed,0123+,yes,4869646465\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = ImportedSet(header + c.row);
    ASSERT_NE(set, nullptr);
    const uint8_t* entry = set->SpeedDialEntry(0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry + 5), entry[4]), c.stored);
  }
}

TEST(CsvRoundTrip, BadStoredBytesAreRefusedAndChangeNothing) {
  const std::string header =
      "table,number,type,name,address,name_bytes,group_mark,program_entry,flags_byte,"
      "speed_byte,address_bytes\r\n";
  const std::string program(2 * kOneTouchEntrySize, '0');
  std::string programFlag = program;
  programFlag[4] = '4';  // byte 2 = 0x40
  struct Case {
    const char* what;
    std::string row;
    const char* field;
  } cases[] = {
      {"not hex", "speed-dial,1,fax,A,1,ZZ,,,,,\r\n", "name_bytes"},
      {"odd number of digits", "speed-dial,1,fax,A,1,414,,,,,\r\n", "name_bytes"},
      {"longer than the field", "speed-dial,1,fax,A,1," + std::string(42, '4') + ",,,,,\r\n",
       "name_bytes"},
      {"a zero byte", "speed-dial,1,fax,A,1,4100,,,,,\r\n", "name_bytes"},
      {"group mark neither yes nor no", "speed-dial,1,fax,A,1,,maybe,,,,\r\n", "group_mark"},
      {"group mark on an e-mail entry", "speed-dial,1,email,A,a@b.de,,yes,,,,\r\n", "group_mark"},
      {"program entry without the program flag", "one-touch,30,program,,,,," + program + ",,,\r\n",
       "program_entry"},
      {"program entry of the other table's size",
       "speed-dial,3,program,,,,," + programFlag + ",,,\r\n", "program_entry"},
      {"program entry cut short", "one-touch,30,program,,,,," + programFlag.substr(2) + ",,,\r\n",
       "program_entry"},
      {"flags not hex", "speed-dial,1,fax,A,1,,,,ZZ,,\r\n", "flags_byte"},
      {"flags of one digit", "speed-dial,1,fax,A,1,,,,A,,\r\n", "flags_byte"},
      {"flags of two bytes", "speed-dial,1,fax,A,1,,,,0607,,\r\n", "flags_byte"},
      {"flags with the program flag", "speed-dial,1,fax,A,1,,,,46,,\r\n", "flags_byte"},
      {"no flags at all", "speed-dial,1,fax,A,1,,,,00,,\r\n", "flags_byte"},
      {"a One Touch fax entry that would read as a Group dial",
       "one-touch,1,fax,A,1,,yes,,82,,\r\n", "flags_byte"},
      {"a One Touch e-mail entry that would read as a Group dial too",
       "one-touch,1,email,A,a@b.de,,,,81,,\r\n", "flags_byte"},
      {"flags not hex on a program key", "one-touch,30,program,,,,," + programFlag + ",Z1,,\r\n",
       "flags_byte"},
      {"speed not hex", "speed-dial,1,fax,A,1,,,,,ZZ,\r\n", "speed_byte"},
      {"speed of one digit", "speed-dial,1,fax,A,1,,,,,4,\r\n", "speed_byte"},
      {"speed of two bytes", "speed-dial,1,fax,A,1,,,,,0404,\r\n", "speed_byte"},
      {"speed not hex on an e-mail entry", "speed-dial,1,email,A,a@b.de,,,,,G1,\r\n", "speed_byte"},
      {"address bytes not hex", "speed-dial,1,email,A,a@b.de,,,,,,6G\r\n", "address_bytes"},
      {"address bytes of one digit", "speed-dial,1,email,A,a@b.de,,,,,,0\r\n", "address_bytes"},
      {"address bytes longer than the field",
       "speed-dial,1,email,A,a@b.de,,,,,," + std::string(130, '6') + "\r\n", "address_bytes"},
      {"address bytes with a zero byte", "speed-dial,1,email,A,a@b.de,,,,,,6100\r\n",
       "address_bytes"},
      {"address bytes of no address (no '@')", "speed-dial,1,email,A,ab.de,,,,,,61622E6465\r\n",
       "address_bytes"},
      {"address bytes not hex on a fax entry", "speed-dial,1,fax,A,1,,,,,,XY\r\n", "address_bytes"},
  };
  auto reference = SetWithName("Kept");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = SetWithName("Kept");
    TextImportProblem problem;
    EXPECT_EQ(Import(*set, header + c.row, problem), 0);
    EXPECT_EQ(problem.line, 2);
    EXPECT_EQ(problem.field, c.field);
    EXPECT_EQ(problem.reasonId, IDS_TEXT_BAD_VALUE);
    EXPECT_EQ(FirstDifference(*reference, *set), "");
  }
  // The well-formed program entry is taken as it stands.
  auto set = NewSet(Language::SingleByte);
  TextImportProblem problem;
  ASSERT_EQ(Import(*set, header + "one-touch,30,program,,,,," + programFlag + ",,,\r\n", problem),
            kImportFormatCsv)
      << DescribeTextImportProblem(problem, EnglishString);
  EXPECT_EQ(set->OneTouchEntry(29)[2], kFlagProgram);
}

// One Touch key 1 (or Speed Dial 1) holding a fax entry whose speed byte is
// `speed`, a combination key when the number ends in '+'.
std::unique_ptr<DataSet> SetWithSpeed(bool speedDial, const char* number, uint8_t speed) {
  auto set = NewSet(Language::SingleByte);
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindFax;
  r.entryType = speedDial ? kEntrySpeedDial : kEntryOneTouch;
  std::strcpy(r.number, number);
  r.combination = number[std::strlen(number) - 1] == '+';
  if (speedDial) {
    PackSpeedDial(*set, r, 0);
    set->SpeedDialEntry(0)[28] = speed;
  } else {
    PackOneTouch(*set, r, 0);
    set->OneTouchEntry(0)[30] = speed;
  }
  PackTransferImage(*set);
  return set;
}

TEST(CsvRoundTrip, EveryStoredSpeedByteComesBack) {
  // What the speed column shows for a byte (the entry dialog's button, or the
  // index it has no button for), and where the byte itself is written.
  struct Case {
    const char* number;
    uint8_t stored;
    const char* speed;
    const char* speedByte;
  } cases[] = {
      {"0123", 2, "9.6K", ""},      {"0123", 3, "14.4K", ""},   {"0123", 4, "33.6K", ""},
      {"0123", 0, "33.6K", "00"},   {"0123", 1, "33.6K", "01"}, {"0123", 5, "(3)", "05"},
      {"0123", 255, "(253)", "FF"}, {"0123+", 3, "14.4K", ""},  {"0123+", 1, "", "01"},
      {"0123+", 9, "", "09"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.number) + " byte " + std::to_string(c.stored));
    const std::vector<std::string> row =
        RowFields(ExportCsv(*SetWithSpeed(false, c.number, c.stored)), "one-touch,1,");
    ASSERT_EQ(row.size(), 25u);
    EXPECT_EQ(row[9], c.speed);
    EXPECT_EQ(row[23], c.speedByte);
  }
  for (bool speedDial : {false, true}) {
    for (const char* number : {"0123", "0123+"}) {
      for (int stored = 0; stored <= 255; ++stored) {
        auto set = SetWithSpeed(speedDial, number, static_cast<uint8_t>(stored));
        ExpectRoundTrip(*set, std::string(speedDial ? "Speed Dial " : "One Touch ") + number +
                                  " speed byte " + std::to_string(stored));
        if (HasFailure()) return;
      }
    }
  }
}

TEST(CsvRoundTrip, AnEditedSpeedWinsOverTheStoredByte) {
  const std::string header = "table,number,type,address,combination,speed,speed_byte\r\n";
  struct Case {
    const char* what;
    std::string row;
    int stored;  // the speed byte One Touch key 1 gets; -1: the row is refused
  } cases[] = {
      {"unchanged: the byte", "one-touch,1,fax,0123,no,(3),05\r\n", 5},
      {"edited: the button", "one-touch,1,fax,0123,no,9.6K,05\r\n", 2},
      {"unchanged, below the buttons", "one-touch,1,fax,0123,no,33.6K,00\r\n", 0},
      {"edited, below the buttons", "one-touch,1,fax,0123,no,14.4K,01\r\n", 3},
      {"speed emptied: the dialog's default", "one-touch,1,fax,0123,no,,05\r\n", 4},
      {"combination key: the byte behind it", "one-touch,1,fax,0123+,yes,,07\r\n", 7},
      {"combination key with a speed typed in", "one-touch,1,fax,0123+,yes,33.6K,07\r\n", 4},
      // "(3)" is the text of byte 5 on a plain entry, and no button.
      {"a number edited into a combination key", "one-touch,1,fax,0123+,yes,(3),05\r\n", -1},
      {"an e-mail entry has no speed byte", "one-touch,1,email,a@b.de,no,,07\r\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = NewSet(Language::SingleByte);
    TextImportProblem problem;
    const int format = Import(*set, header + c.row, problem);
    if (c.stored < 0) {
      EXPECT_EQ(format, 0);
      EXPECT_EQ(problem.field, "speed");
      continue;
    }
    ASSERT_EQ(format, kImportFormatCsv) << DescribeTextImportProblem(problem, EnglishString);
    EXPECT_EQ(set->OneTouchEntry(0)[30], c.stored);
  }
}

TEST(CsvRoundTrip, AnEditedAddressWinsOverTheStoredBytes) {
  const std::string header = "table,number,type,address,address_bytes\r\n";
  struct Case {
    const char* what;
    std::string row;
    bool speedDial;
    std::string stored;  // the address bytes key 1 or Speed Dial 1 gets
  } cases[] = {
      {"One Touch '`' as the machine's 0xB3", "one-touch,1,email,a`@b.de,61B340622E6465\r\n", false,
       "a\xB3@b.de"},
      {"edited: as typed", "one-touch,1,email,ab@b.de,61B340622E6465\r\n", false, "ab@b.de"},
      {"Speed Dial '`' as 0x60", "speed-dial,1,email,a`@b.de,616040622E6465\r\n", true, "a`@b.de"},
      {"Speed Dial '`' typed: the machine's 0xB3", "speed-dial,1,email,a`@b.de,\r\n", true,
       "a\xB3@b.de"},
      {"a byte the address filter does not take (0x81, shown as u umlaut)",
       "speed-dial,1,email,\xC3\xBC@b.de,8140622E6465\r\n", true, "\x81@b.de"},
      {"lower-case hex", "speed-dial,1,email,\xC3\xBC@b.de,8140622e6465\r\n", true, "\x81@b.de"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = ImportedSet(header + c.row);
    ASSERT_NE(set, nullptr);
    const uint8_t* entry = c.speedDial ? set->SpeedDialEntry(0) : set->OneTouchEntry(0);
    const char* address = reinterpret_cast<const char*>(entry + (c.speedDial ? 32 : 34));
    EXPECT_EQ(std::string(address, entry[3]), c.stored);
    EXPECT_EQ(std::string(address, strnlen(address, 64)), c.stored);
  }
}

TEST(CsvRoundTrip, AnEditedColumnWinsOverTheStoredFlags) {
  const std::string header =
      "table,number,type,name,address,batch_time,combination,group_mark,members,flags_byte\r\n";
  struct Case {
    const char* what;
    std::string rows;
    bool speedDial;
    int place;      // 0-based key or Speed Dial
    uint8_t flags;  // what it gets
  } cases[] = {
      {"fax without the One Touch entry bit", "one-touch,1,fax,,0123,,no,,,02\r\n", false, 0, 0x02},
      {"fax with the Speed Dial bit", "one-touch,1,fax,,0123,,no,,,0E\r\n", false, 0, 0x0E},
      {"group mark taken away", "one-touch,1,fax,,0123,,no,no,,8E\r\n", false, 0, 0x0A},
      {"group mark kept", "one-touch,1,fax,,0123,,no,yes,,8E\r\n", false, 0, 0x8E},
      {"batch time typed in", "one-touch,1,fax,,0123,07:30,no,,,02\r\n", false, 0, 0x1A},
      {"batch time kept", "one-touch,1,fax,,0123,07:30,no,,,12\r\n", false, 0, 0x12},
      {"made a combination key", "one-touch,1,fax,,0123+,,yes,,,02\r\n", false, 0, 0x2A},
      {"made an e-mail entry", "one-touch,1,email,,a@b.de,,no,,,02\r\n", false, 0, 0x09},
      {"e-mail entry with the fax bit", "one-touch,1,email,,a@b.de,,no,,,0B\r\n", false, 0, 0x0B},
      {"e-mail combination key", "one-touch,1,email,,a@b.de,,yes,,,\r\n", false, 0, 0x29},
      {"Speed Dial e-mail entry with the group bit", "speed-dial,1,email,,a@b.de,,no,,,85\r\n",
       true, 0, 0x85},
      {"Speed Dial fax entry with the batch time bit", "speed-dial,1,fax,,0123,,no,,,16\r\n", true,
       0, 0x16},
      {"Speed Dial fax entry without the Speed Dial bit", "speed-dial,1,fax,,0123,,no,,,02\r\n",
       true, 0, 0x02},
      {"group with the combination bit",
       "speed-dial,5,fax,,555,,no,,,\r\ngroup,3,group,Team,,,no,,speed-dial 5,A0\r\n", false, 2,
       0xA0},
      {"group flags with the One Touch entry bit",
       "speed-dial,5,fax,,555,,no,,,\r\ngroup,3,group,Team,,,no,,speed-dial 5,88\r\n", false, 2,
       0x80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = ImportedSet(header + c.rows);
    ASSERT_NE(set, nullptr);
    const uint8_t* entry = c.speedDial ? set->SpeedDialEntry(c.place) : set->OneTouchEntry(c.place);
    EXPECT_EQ(entry[2], c.flags);
  }
}

TEST(CsvRoundTrip, ACombinationKeyCarriesWhatItHoldsBehindTheNumber) {
  auto set = NewSet(Language::SingleByte);
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindFax;
  r.entryType = kEntryOneTouch;
  std::strcpy(r.number, "0123+");
  r.combination = 1;
  PackOneTouch(*set, r, 0);
  // The machine keeps a name, a SID without a SUB, a batch time and 14.4K
  // behind the number.
  uint8_t* entry = set->OneTouchEntry(0);
  PutNames(entry, false, "Hi", "");
  PutDigits(entry, 32, 68, "56");
  entry[2] |= kFlagBatchTime;
  PutU16(entry + 28, static_cast<uint16_t>((5 + 7 * 64) * 32));
  entry[30] = 3;
  PackTransferImage(*set);

  // The lists show only the number.
  const tool::AddressBookReport book = tool::ReportAddressBook(*set);
  ASSERT_EQ(book.oneTouch.size(), 1u);
  EXPECT_EQ(book.oneTouch[0].sid, "");
  EXPECT_EQ(book.oneTouch[0].batchTime, "");
  EXPECT_EQ(book.oneTouch[0].speed, "");
  // The CSV carries the rest in the columns a fax entry shows them in.
  const std::vector<std::string> row = RowFields(ExportCsv(*set), "one-touch,1,");
  ASSERT_EQ(row.size(), 25u);
  EXPECT_EQ(row[3], "");       // name
  EXPECT_EQ(row[5], "0123+");  // address
  EXPECT_EQ(row[6], "");       // sub
  EXPECT_EQ(row[7], "56");     // sid
  EXPECT_EQ(row[8], "07:05");  // batch_time
  EXPECT_EQ(row[9], "14.4K");  // speed
  EXPECT_EQ(row[18], "4869");  // name_bytes
  EXPECT_EQ(row[22], "");      // flags_byte: the dialog's own for these columns
  ExpectRoundTrip(*set, "combination key");
}

TEST(CsvRoundTrip, AQuotedNumberOrAddressKeepsTheSpacesAtItsEnds) {
  const std::string header = "table,number,type,address\r\n";
  struct Case {
    const char* what;
    std::string row;
    bool email;
    std::string stored;
  } cases[] = {
      {"quoted number", "speed-dial,1,fax,\" 0123 \"\r\n", false, " 0123 "},
      {"number not quoted: trimmed", "speed-dial,1,fax, 0123 \r\n", false, "0123"},
      {"quoted number of spaces", "speed-dial,1,fax,\"  \"\r\n", false, "  "},
      {"quoted address", "speed-dial,1,email,\" a@b.de\"\r\n", true, " a@b.de"},
      {"address not quoted: trimmed", "speed-dial,1,email, a@b.de \r\n", true, "a@b.de"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = ImportedSet(header + c.row);
    ASSERT_NE(set, nullptr);
    DisplayRecord record;
    UnpackSpeedDial(record, *set, 0);
    EXPECT_EQ(c.email ? std::string(record.email) : std::string(record.number), c.stored);
    // And export quotes it again.
    ExpectRoundTrip(*set, c.what);
  }
}

}  // namespace
}  // namespace odc
