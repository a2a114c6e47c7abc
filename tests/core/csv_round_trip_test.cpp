// `odctool export --csv` followed by an import (Replace) into a new data set
// gives back the dial tables byte for byte, for the demo machine and for
// generated address books of every kind of entry a machine can hold: names of
// any machine byte, group marks on fax entries, names behind combination
// keys, a SID without a SUB, program keys, in English and in Japanese.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "setup/addressbook/address_text_import.h"
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

// Writes name bytes (and name2 bytes) into an entry exactly as a machine
// could hold them.
void PutNames(uint8_t* entry, bool speedDial, const std::string& name, const std::string& name2) {
  const size_t nameLength = speedDial ? 4 : 5, nameAt = speedDial ? 5 : 6;
  const size_t name2Length = speedDial ? 96 : 130, name2At = speedDial ? 97 : 131;
  std::memset(entry + nameAt, 0, 20);
  std::memcpy(entry + nameAt, name.data(), name.size());
  entry[nameLength] = static_cast<uint8_t>(name.size());
  std::memset(entry + name2At, 0, 21);
  std::memcpy(entry + name2At, name2.data(), name2.size());
  entry[name2Length] = static_cast<uint8_t>(name2.size());
}

// A SID kept without a SUB, as a machine may hold it (packing a display
// record drops such a SID).
void PutSidWithoutSub(uint8_t* entry, bool speedDial, const std::string& sid) {
  const size_t subCount = speedDial ? 29 : 31, sidCount = speedDial ? 30 : 32;
  const size_t sidAt = speedDial ? 66 : 68;
  if (entry[subCount] != 0 || sid.empty() || (entry[2] & kFlagCombination)) return;
  std::memset(entry + sidAt, 0, 10);
  PackDigits(entry + sidAt, sid.c_str(), static_cast<int>(sid.size()));
  entry[sidCount] = static_cast<uint8_t>(sid.size());
}

DisplayRecord FaxEntry(Generator& g, uint8_t entryType, bool combination) {
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindFax;
  r.entryType = entryType;
  const std::string number = g.Text("0123456789", 1, 1) + g.Text("0123456789*#P -", 0, 27) +
                             g.Text("0123456789", 1, 1) + (combination ? "+" : "");
  std::strcpy(r.number, number.c_str());
  r.combination = combination ? 1 : 0;
  r.groupMarker = g.Chance(30) ? 1 : 0;
  r.registrationDate =
      g.Chance(20) ? 0 : EncodeRegistrationDate(g.Int(2000, 2127), g.Int(1, 12), g.Int(1, 31));
  r.speedIndex = static_cast<uint8_t>(g.Int(0, 2));
  if (combination) return r;  // the number, the name and the speed are kept
  std::strcpy(r.sub, g.Chance(30) ? "" : g.Text("0123456789*#", 1, 20).c_str());
  std::strcpy(r.sid, g.Chance(30) ? "" : g.Text("0123456789*#", 1, 20).c_str());
  if (entryType == kEntryOneTouch && g.Chance(40)) {
    std::snprintf(r.batchHour, sizeof r.batchHour, "%02d", g.Int(0, 23));
    std::snprintf(r.batchMinute, sizeof r.batchMinute, "%02d", g.Int(0, 59));
  }
  return r;
}

DisplayRecord EmailEntry(Generator& g, uint8_t entryType) {
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindEmail;
  r.entryType = entryType;
  const std::string address = g.Text("abcxyz", 1, 1) +
                              g.Text("abcdefghijklmnopqrstuvwxyz0123456789._-", 0, 30) + "@" +
                              g.Text("abcdefghijklmnopqrstuvwxyz", 1, 20) + ".example";
  std::strcpy(r.email, address.c_str());
  static const uint8_t kSizes[] = {0, 1, 2, 9, 12};
  r.emailOptions[0] = static_cast<uint8_t>(g.Int(0, 1));
  r.emailOptions[1] = kSizes[g.Int(0, 4)];
  r.emailOptions[2] = static_cast<uint8_t>(g.Int(0, 2));
  r.emailOptions[3] = static_cast<uint8_t>(g.Int(0, 2));
  r.registrationDate =
      g.Chance(20) ? 0 : EncodeRegistrationDate(g.Int(2000, 2127), g.Int(1, 12), g.Int(1, 31));
  return r;
}

// A random address book: every One Touch key and Speed Dial is empty, a fax
// or e-mail entry, a combination key, a program key (keys 29-32 and some
// Speed Dials) or a Group dial of entries that are there.
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
      for (size_t b = 0; b < kOneTouchEntrySize; ++b)
        entry[b] = static_cast<uint8_t>(g.Int(0, 255));
      entry[2] = static_cast<uint8_t>(kFlagProgram | (entry[2] & ~kFlagProgram));
      continue;
    }
    if (kind == 1 || kind == 2) {
      groupKeys.push_back(key);
      continue;
    }
    const bool combination = kind == 3;
    DisplayRecord r =
        kind <= 6 ? FaxEntry(g, kEntryOneTouch, combination) : EmailEntry(g, kEntryOneTouch);
    const std::string sid = r.kind == kKindFax ? r.sid : "";
    PackOneTouch(*set, r, key);
    PutSidWithoutSub(entry, false, sid);
    PutNames(entry, false, g.MachineName(0), g.MachineName(0));
    candidates.push_back({kMemberOneTouch, static_cast<uint8_t>(key)});
  }
  for (int index = 0; index < kSpeedDialCount; ++index) {
    const int kind = g.Int(0, 19);
    if (kind <= 3) continue;
    DisplayRecord r =
        kind <= 11 ? FaxEntry(g, kEntrySpeedDial, kind == 4) : EmailEntry(g, kEntrySpeedDial);
    const std::string sid = r.kind == kKindFax ? r.sid : "";
    PackSpeedDial(*set, r, index);
    uint8_t* entry = set->SpeedDialEntry(index);
    PutSidWithoutSub(entry, true, sid);
    PutNames(entry, true, g.MachineName(0), g.MachineName(0));
    if (kind == 5) {
      entry[2] |= kFlagProgram;  // a program on a Speed Dial is decoded like any other
    } else {
      candidates.push_back({kMemberSpeedDial, static_cast<uint8_t>(index)});
    }
  }
  for (int key : groupKeys) {
    if (candidates.empty()) break;
    DisplayRecord r{};
    r.inUse = 1;
    r.entryType = kEntryGroup;
    r.groupMarker = 1;
    r.registrationDate = EncodeRegistrationDate(g.Int(2000, 2127), g.Int(1, 12), g.Int(1, 28));
    std::shuffle(candidates.begin(), candidates.end(), g.rng());
    const int count =
        std::min<int>(g.Int(1, kMaxGroupMembers), static_cast<int>(candidates.size()));
    for (int j = 0; j < count; ++j) r.members[j] = candidates[j];
    r.memberCount = static_cast<uint8_t>(count);
    PackGroupMembers(*set, r, key);
    PutNames(set->OneTouchEntry(key), false, g.MachineName(1), g.MachineName(1));
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

// The fields of the CSV row that starts with `start` (no quoted fields).
std::vector<std::string> RowFields(const std::string& csv, const std::string& start) {
  const size_t at = csv.find("\r\n" + start);
  std::vector<std::string> fields;
  if (at == std::string::npos) return fields;
  const std::string line = csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
  std::string field;
  for (char ch : line + ",") {
    if (ch == ',') {
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
  EXPECT_NE(header.find(",members,name_bytes,name2_bytes,group_mark,program_entry\r\n"),
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
    ASSERT_EQ(row.size(), 22u);
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
  auto set = NewSet(Language::SingleByte);
  TextImportProblem problem;
  ASSERT_EQ(Import(*set, csv, problem), kImportFormatCsv)
      << DescribeTextImportProblem(problem, EnglishString);
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
    auto set = NewSet(Language::SingleByte);
    TextImportProblem problem;
    ASSERT_EQ(Import(*set, header + c.row, problem), kImportFormatCsv)
        << DescribeTextImportProblem(problem, EnglishString);
    const uint8_t* entry = set->SpeedDialEntry(0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(entry + 5), entry[4]), c.stored);
  }
}

TEST(CsvRoundTrip, BadStoredBytesAreRefusedAndChangeNothing) {
  const std::string header =
      "table,number,type,name,address,name_bytes,group_mark,program_entry\r\n";
  const std::string program(2 * kOneTouchEntrySize, '0');
  std::string programFlag = program;
  programFlag[4] = '4';  // byte 2 = 0x40
  struct Case {
    const char* what;
    std::string row;
    const char* field;
  } cases[] = {
      {"not hex", "speed-dial,1,fax,A,1,ZZ,,\r\n", "name_bytes"},
      {"odd number of digits", "speed-dial,1,fax,A,1,414,,\r\n", "name_bytes"},
      {"longer than the field", "speed-dial,1,fax,A,1," + std::string(42, '4') + ",,\r\n",
       "name_bytes"},
      {"a zero byte", "speed-dial,1,fax,A,1,4100,,\r\n", "name_bytes"},
      {"group mark neither yes nor no", "speed-dial,1,fax,A,1,,maybe,\r\n", "group_mark"},
      {"group mark on an e-mail entry", "speed-dial,1,email,A,a@b.de,,yes,\r\n", "group_mark"},
      {"program entry without the program flag", "one-touch,30,program,,,,," + program + "\r\n",
       "program_entry"},
      {"program entry of the other table's size",
       "speed-dial,3,program,,,,," + programFlag + "\r\n", "program_entry"},
      {"program entry cut short", "one-touch,30,program,,,,," + programFlag.substr(2) + "\r\n",
       "program_entry"},
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
  ASSERT_EQ(Import(*set, header + "one-touch,30,program,,,,," + programFlag + "\r\n", problem),
            kImportFormatCsv)
      << DescribeTextImportProblem(problem, EnglishString);
  EXPECT_EQ(set->OneTouchEntry(29)[2], kFlagProgram);
}

}  // namespace
}  // namespace odc
