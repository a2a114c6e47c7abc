// CSV and vCard address books: the round trip through `odctool export`, the
// placement rules, and malformed files refused with their line and nothing
// changed.
#include "setup/addressbook/address_text_import.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/document.h"
#include "setup/res/resource.h"
#include "setup/settings/english_strings.h"
#include "tests/data/display_records.h"
#include "tools/odctool/report.h"

namespace odc {
namespace {

using fixtures::EmailRecord;
using fixtures::FaxRecord;

std::unique_ptr<DataSet> NewSet() {
  auto set = std::make_unique<DataSet>();
  Document document;
  EXPECT_EQ(NewDataSet(*set, document), 1);
  return set;
}

// Every key and Speed Dial in use, as the entry and Group dialogs write
// them: fax entries with SUB, SID, batch time and speed, e-mail entries
// with their options, Latin-1 names, combination keys and Group dials.
std::unique_ptr<DataSet> FullSet() {
  auto set = NewSet();
  for (int key = 0; key < kOneTouchCount; ++key) {
    char name[24];
    std::snprintf(name, sizeof name, "Caf\xE9 %02d, \"Nord\"", key + 1);
    DisplayRecord r;
    if (key >= 28) continue;  // Group dials below
    if (key % 3 == 0) {
      char number[32];
      std::snprintf(number, sizeof number, "0%d-555 12%02d#P*", key + 1, key);
      r = FaxRecord(name, number, kEntryOneTouch);
      std::strcpy(r.sub, "12*#");
      std::strcpy(r.sid, "9876");
      std::strcpy(r.batchHour, key % 2 ? "7" : "");
      std::strcpy(r.batchMinute, key % 2 ? "5" : "");
      r.speedIndex = static_cast<uint8_t>(key % 3 == 0 ? key % 2 : 2);
    } else if (key % 3 == 1) {
      char address[64];
      std::snprintf(address, sizeof address, "desk.%d@example.com", key);
      r = EmailRecord(name, address, kEntryOneTouch);
      const uint8_t options[4] = {static_cast<uint8_t>(key % 2), 12, 2, 1};
      std::memcpy(r.emailOptions, options, 4);
    } else {
      r = FaxRecord("", "0123+", kEntryOneTouch);
      r.combination = 1;
    }
    r.registrationDate = EncodeRegistrationDate(2026, 1 + key % 12, 1 + key);
    PackOneTouch(*set, r, key);
  }
  for (int i = 0; i < kSpeedDialCount; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "\xC4rzte %03d", i + 1);
    DisplayRecord r;
    if (i % 2) {
      char number[32];
      std::snprintf(number, sizeof number, "00%d", 4000 + i);
      r = FaxRecord(name, number, kEntrySpeedDial);
      std::strcpy(r.sub, "2");
      std::strcpy(r.sid, "1");
      r.speedIndex = 1;
    } else {
      char address[64];
      std::snprintf(address, sizeof address, "o'brien+%d@mail.example.org", i);
      r = EmailRecord(name, address, kEntrySpeedDial);
      const uint8_t options[4] = {1, 9, 1, 2};
      std::memcpy(r.emailOptions, options, 4);
    }
    r.registrationDate = EncodeRegistrationDate(2025, 12, 31);
    PackSpeedDial(*set, r, i);
  }
  for (int key = 28; key < kOneTouchCount; ++key) {
    DisplayRecord g{};
    g.inUse = 1;
    g.entryType = kEntryGroup;
    g.groupMarker = 1;
    std::snprintf(g.name, sizeof g.name, "Group %d", key + 1);
    g.registrationDate = EncodeRegistrationDate(2027, 2, 3);
    const int count = key == 28 ? kMaxGroupMembers : 3;
    for (int j = 0; j < count; ++j) {
      g.members[j] = j % 5 == 0 ? GroupMember{kMemberOneTouch, static_cast<uint8_t>(j % 27)}
                                : GroupMember{kMemberSpeedDial, static_cast<uint8_t>(j * 4)};
    }
    g.memberCount = static_cast<uint8_t>(count);
    PackGroupMembers(*set, g, key);
  }
  PackTransferImage(*set);
  CheckDialTables(*set);
  return set;
}

int Import(DataSet& set, const std::string& text, TextImportProblem& problem) {
  return ImportTextAddressBook(set, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                               problem);
}

// The address book of a new data set after importing `text`, as the lists
// show it.
tool::AddressBookReport ImportedBook(const std::string& text, int format) {
  auto set = NewSet();
  TextImportProblem problem;
  EXPECT_EQ(Import(*set, text, problem), format)
      << DescribeTextImportProblem(problem, EnglishString);
  return tool::ReportAddressBook(*set);
}

void ExpectSameTables(const DataSet& a, const DataSet& b) {
  EXPECT_EQ(0, std::memcmp(a.oneTouch, b.oneTouch, sizeof a.oneTouch));
  EXPECT_EQ(0, std::memcmp(a.speedDial, b.speedDial, sizeof a.speedDial));
  for (int r = 0; r < kDialRecordCount; ++r) {
    ASSERT_EQ(a.records[r].length, b.records[r].length) << r;
    for (size_t k = 0; k < kRecordDataSize; ++k) {
      ASSERT_EQ(a.records[r].data[k], b.records[r].data[k]) << "record " << r << " byte " << k;
    }
  }
}

TEST(TextAddressBook, CsvExportImportsBackByteForByte) {
  auto original = FullSet();
  const std::string csv = tool::AddressBookCsv(tool::ReportAddressBook(*original));
  auto imported = NewSet();
  TextImportProblem problem;
  ASSERT_EQ(Import(*imported, csv, problem), kImportFormatCsv)
      << DescribeTextImportProblem(problem, EnglishString);
  ExpectSameTables(*original, *imported);
  // And once more over a data set that already holds other entries.
  auto other = FullSet();
  DisplayRecord stray = FaxRecord("Stray", "1", kEntrySpeedDial);
  PackSpeedDial(*other, stray, 0);
  PackTransferImage(*other);
  ASSERT_EQ(Import(*other, csv, problem), kImportFormatCsv);
  ExpectSameTables(*original, *other);
}

TEST(TextAddressBook, VcardExportKeepsNamesDestinationsAndPlaces) {
  auto original = FullSet();
  const auto a = tool::ReportAddressBook(*original);
  const auto b = ImportedBook(AddressBookVcard(*original), kImportFormatVcard);
  ASSERT_EQ(a.oneTouch.size(), b.oneTouch.size());
  ASSERT_EQ(a.speedDial.size(), b.speedDial.size());
  for (size_t i = 0; i < a.speedDial.size(); ++i) {
    EXPECT_EQ(a.speedDial[i].number, b.speedDial[i].number);
    EXPECT_EQ(a.speedDial[i].name, b.speedDial[i].name);
    EXPECT_EQ(a.speedDial[i].type, b.speedDial[i].type);
    EXPECT_EQ(a.speedDial[i].address, b.speedDial[i].address);
  }
  for (size_t i = 0; i < a.oneTouch.size(); ++i) {
    EXPECT_EQ(a.oneTouch[i].number, b.oneTouch[i].number);
    EXPECT_EQ(a.oneTouch[i].address, b.oneTouch[i].address);
  }
}

TEST(TextAddressBook, MailProgramVcardsFillSpeedDialsInOrder) {
  // vCard 4.0 and 3.0 as mail programs write them: folded lines, grouped
  // properties, escapes, a fax number laid out with brackets and dots.
  const std::string cards =
      "\xEF\xBB\xBF"
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:M\xC3\xBCller\\, Anna\r\n"
      "TEL;TYPE=\"work,voice\":030 1\r\nTEL;VALUE=uri;TYPE=\"work,fax\":tel:(030) 555.12-3\r\n"
      "EMAIL:anna@example.de\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\nVERSION:3.0\nN:Doe;John;;;\nFN:John\n  Doe\n"
      "item1.EMAIL;TYPE=INTERNET,pref:john@exam\n ple.com\nEND:VCARD\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Front desk\r\nTEL;TYPE=WORK;TYPE=FAX:0800 123\r\n"
      "X-ODC-ENTRY:one-touch 12\r\nEND:VCARD\r\n";
  const auto book = ImportedBook(cards, kImportFormatVcard);
  ASSERT_EQ(book.speedDial.size(), 2u);
  EXPECT_EQ(book.speedDial[0].number, 1);
  EXPECT_EQ(book.speedDial[0].name, "M\xC3\xBCller, Anna");
  EXPECT_EQ(book.speedDial[0].type, "fax");  // the fax number wins
  EXPECT_EQ(book.speedDial[0].address, "030 55512-3");
  EXPECT_EQ(book.speedDial[1].number, 2);
  EXPECT_EQ(book.speedDial[1].name, "John Doe");
  EXPECT_EQ(book.speedDial[1].address, "john@example.com");
  ASSERT_EQ(book.oneTouch.size(), 1u);
  EXPECT_EQ(book.oneTouch[0].number, 12);
}

TEST(TextAddressBook, CsvRowsWithoutNumbersTakeTheFirstFreeEntries) {
  const std::string csv =
      "name,type,address,table,number\n"
      "First,fax,111,,\n"
      "Second,email,b@c.de,speed-dial,1\n"
      "Third,fax,333,one-touch,\n";
  const auto book = ImportedBook(csv, kImportFormatCsv);
  ASSERT_EQ(book.speedDial.size(), 2u);
  EXPECT_EQ(book.speedDial[0].name, "Second");
  EXPECT_EQ(book.speedDial[1].name, "First");
  EXPECT_EQ(book.speedDial[1].number, 2);
  ASSERT_EQ(book.oneTouch.size(), 1u);
  EXPECT_EQ(book.oneTouch[0].name, "Third");
  EXPECT_EQ(book.oneTouch[0].number, 1);
}

std::string ManyRows(int count) {
  std::string csv = "type,address\r\n";
  for (int i = 0; i < count; ++i) csv += "fax," + std::to_string(1000 + i) + "\r\n";
  return csv;
}

struct Malformed {
  const char* what;
  std::string bytes;
  int line;
  int card;
  const char* field;
  int reason;
};

TEST(TextAddressBook, MalformedFilesAreRefusedWithTheirLineAndChangeNothing) {
  const std::string header = "table,number,type,name,address\r\n";
  const std::vector<Malformed> cases = {
      {"quote not closed", header + "speed-dial,1,fax,\"Open,123\r\n", 2, 0, "column 4",
       IDS_TEXT_BAD_QUOTING},
      {"text after a closing quote", header + "speed-dial,1,fax,\"A\"B,123\r\n", 2, 0, "column 4",
       IDS_TEXT_BAD_QUOTING},
      {"quote inside a field", header + "speed-dial,1,fax,A\"B,123\r\n", 2, 0, "column 4",
       IDS_TEXT_BAD_QUOTING},
      {"unknown column", "table,number,type,name,address,colour\r\nspeed-dial,1,fax,A,1,red\r\n", 1,
       0, "colour", IDS_TEXT_UNKNOWN_COLUMN},
      {"column twice", "type,address,type\r\n", 1, 0, "type", IDS_TEXT_DUPLICATE_COLUMN},
      {"extra field", header + "speed-dial,1,fax,A,1,2\r\n", 2, 0, "column 6",
       IDS_TEXT_TOO_MANY_FIELDS},
      {"letter in a fax number",
       header + "speed-dial,1,fax,A,123\r\nspeed-dial,2,fax,B,0800 CALL\r\n", 3, 0, "address",
       IDS_TEXT_NUMBER_CHARACTER},
      {"fax number too long", header + "speed-dial,1,fax,A,1234567890123456789012345678901\r\n", 2,
       0, "address", IDS_TEXT_NUMBER_TOO_LONG},
      {"letter in a SUB", "type,address,sub\r\nfax,1,12A\r\n", 2, 0, "sub",
       IDS_TEXT_SUB_SID_CHARACTER},
      {"no fax number", header + "speed-dial,1,fax,A,\r\n", 2, 0, "address",
       IDS_TEXT_NO_DESTINATION},
      {"address with two @", header + "one-touch,1,email,A,a@b@c.de\r\n", 2, 0, "address",
       IDS_TEXT_ADDRESS_INVALID},
      {"address with a semicolon", header + "one-touch,1,email,A,a;b@c.de\r\n", 2, 0, "address",
       IDS_TEXT_ADDRESS_CHARACTER},
      {"unknown type", header + "one-touch,1,telex,A,1\r\n", 2, 0, "type", IDS_TEXT_BAD_VALUE},
      {"key 33", header + "one-touch,33,fax,A,1\r\n", 2, 0, "number", IDS_TEXT_ENTRY_OUTSIDE_TABLE},
      {"entry twice", header + "one-touch,3,fax,A,1\r\none-touch,3,fax,B,2\r\n", 3, 0, "number",
       IDS_TEXT_ENTRY_TWICE},
      {"more entries than the tables hold", ManyRows(241), 242, 0, "number", IDS_TEXT_TABLE_FULL},
      {"batch time 24:00", "table,number,type,address,batch_time\r\none-touch,1,fax,1,24:00\r\n", 2,
       0, "batch_time", IDS_TEXT_BAD_BATCH_TIME},
      {"batch time on a Speed Dial",
       "table,number,type,address,batch_time\r\nspeed-dial,1,fax,1,10:00\r\n", 2, 0, "batch_time",
       IDS_TEXT_SPEED_DIAL_BATCH_TIME},
      {"month 13", "type,address,registered\r\nfax,1,2026-13-01\r\n", 2, 0, "registered",
       IDS_TEXT_BAD_DATE},
      {"group member that is no entry",
       "table,number,type,name,address,members\r\ngroup,5,group,G,,speed-dial 9\r\n", 2, 0,
       "members", IDS_TEXT_BAD_MEMBER},
      {"card without destination",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEMAIL:a@b.de\r\nEND:VCARD\r\n"
       "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Voice only\r\nTEL;TYPE=VOICE:123\r\nEND:VCARD\r\n",
       6, 2, "TEL;TYPE=FAX / EMAIL", IDS_CONTACT_NO_DESTINATION},
      {"letter in a card's fax number",
       "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:A\r\nTEL;TYPE=fax:+49 30 CALL\r\nEND:VCARD\r\n", 4, 1,
       "TEL", IDS_CONTACT_NUMBER_CHARACTER},
      {"card not closed", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nEMAIL:a@b.de\r\n", 1, 1,
       "END:VCARD", IDS_CONTACT_CARD_NOT_CLOSED},
      {"UTF-16 cut in the middle of a character",
       std::string("\xFF\xFE"
                   "B\0E\0G",
                   7),
       1, 0, "file", IDS_CONTACT_NOT_TEXT},
      {"header of another program", "Kunde;Telefon;Ort\r\nMeier;0123;Bonn\r\n", 1, 0, "header",
       IDS_CONTACT_UNKNOWN_HEADER},
  };
  auto reference = FullSet();
  for (const Malformed& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = FullSet();
    TextImportProblem problem;
    EXPECT_EQ(Import(*set, c.bytes, problem), 0);
    EXPECT_EQ(problem.line, c.line);
    EXPECT_EQ(problem.card, c.card);
    EXPECT_EQ(problem.field, c.field);
    EXPECT_EQ(problem.reasonId, c.reason) << EnglishString(problem.reasonId);
    EXPECT_EQ(0, std::memcmp(reference.get(), set.get(), sizeof(DataSet)));
    EXPECT_FALSE(EnglishString(c.reason).empty());
  }
}

TEST(TextAddressBook, RefusalNamesLineFieldAndReason) {
  TextImportProblem csv{kImportFormatCsv, 7, 0, "address", IDS_TEXT_NUMBER_CHARACTER, ""};
  EXPECT_EQ(DescribeTextImportProblem(csv, EnglishString),
            "The address book was not imported; nothing was changed.\n\nLine 7, field "
            "\"address\": a fax number holds only digits, *, #, P, spaces and -.");
  TextImportProblem card{kImportFormatVcard, 12, 3, "FN", IDS_TEXT_NAME_TOO_LONG, ""};
  EXPECT_NE(DescribeTextImportProblem(card, EnglishString).find("Card 3 (line 12), field \"FN\""),
            std::string::npos);
}

TEST(TextAddressBook, DetectedByContentNotByName) {
  struct Case {
    std::string bytes;
    int format;
  };
  const std::vector<Case> cases = {
      {"table,number,type,name,address\r\n", kImportFormatCsv},
      {"\xEF\xBB\xBF\"type\",\"address\"\n", kImportFormatCsv},
      {"begin:vcard\r\nversion:3.0\r\n", kImportFormatVcard},
      {"CMC and more", 0},
      {"CMDCODE002|ODC|BRAMWYN|ALL", 0},
      // Any row of headings is read as a CSV; the plan refuses headings it
      // does not know with the columns it needs.
      {"name,number\r\n", kImportFormatCsv},
      {"\xFF\xFE" + std::string("B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0\r\0\n\0", 26),
       kImportFormatVcard},
      {"Name;E-mail Address\r\n", kImportFormatCsv},
      {"just some words\r\n", 0},
      {std::string("type,\0address\n", 14), 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        TextAddressBookFormat(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size()),
        c.format)
        << c.bytes;
  }
}

TEST(TextAddressBook, ProgramRowsKeepTheProgramKeyOfTheDataSet) {
  auto set = NewSet();
  uint8_t* key = set->OneTouchEntry(29);
  key[2] = kFlagProgram | kFlagFax;
  key[3] = 4;
  PackTransferImage(*set);
  uint8_t kept[kOneTouchEntrySize];
  std::memcpy(kept, key, sizeof kept);
  TextImportProblem problem;
  ASSERT_EQ(
      Import(*set, "table,number,type,address\none-touch,30,program,\none-touch,31,program,\n",
             problem),
      kImportFormatCsv);
  EXPECT_EQ(0, std::memcmp(set->OneTouchEntry(29), kept, sizeof kept));
  EXPECT_EQ(set->OneTouchEntry(30)[2], 0);
}

}  // namespace
}  // namespace odc
