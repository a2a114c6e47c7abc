#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "setup/data/bytes.h"
#include "setup/data/data_file.h"
#include "setup/data/document.h"
#include "tests/data/display_records.h"
#include "tools/odctool/report.h"

namespace odc {
namespace tool {
namespace {

using fixtures::EmailRecord;
using fixtures::FaxRecord;

// A data set with one entry of every kind, saved and opened again the way
// the program does it, so the report sees what a file holds.
std::unique_ptr<DataSet> BookWithEveryKind() {
  auto set = std::make_unique<DataSet>();
  Document document;
  NewDataSet(*set, document);

  DisplayRecord fax = FaxRecord("Sales, \"North\"", "0123456789", kEntryOneTouch);
  std::strcpy(fax.sub, "12");
  std::strcpy(fax.sid, "34");
  std::strcpy(fax.batchHour, "14");
  std::strcpy(fax.batchMinute, "05");
  fax.speedIndex = 1;
  fax.registrationDate = EncodeRegistrationDate(2024, 3, 7);
  PackOneTouch(*set, fax, 4);

  DisplayRecord mail = EmailRecord("Office", "office@example.com", kEntryOneTouch);
  mail.emailOptions[0] = 1;  // Advanced
  mail.emailOptions[1] = 9;
  mail.emailOptions[2] = 2;
  mail.emailOptions[3] = 2;
  PackOneTouch(*set, mail, 1);

  DisplayRecord combination = FaxRecord("", "9+", kEntryOneTouch);
  combination.combination = 1;
  PackOneTouch(*set, combination, 2);

  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "Team");
  PackGroup(*set, group, {{kMemberOneTouch, 4, 0}}, {{kMemberSpeedDial, 199, 0}}, 7);

  // One Touch key 30 holds a program set on the machine.
  uint8_t* program = set->OneTouchEntry(29);
  PutU16(program, 30);
  program[2] = kFlagProgram | kFlagOneTouchEntry | kFlagFax;
  program[3] = 4;
  program[5] = 5;
  std::memcpy(program + 6, "Night", 5);

  DisplayRecord speedFax = FaxRecord("Branch", "555", kEntrySpeedDial);
  speedFax.speedIndex = 0;
  PackSpeedDial(*set, speedFax, 199);
  DisplayRecord speedMail = EmailRecord("Help", "help@example.com", kEntrySpeedDial);
  PackSpeedDial(*set, speedMail, 0);

  PackTransferImage(*set);
  const std::vector<uint8_t> bytes = DataFileBytes(*set);
  auto loaded = std::make_unique<DataSet>();
  EXPECT_EQ(ReadDataFileBytes(*loaded, bytes.data(), bytes.size()), 1);
  UnpackTransferImage(*loaded);
  CheckDialTables(*loaded);
  return loaded;
}

TEST(OdctoolReport, CellTexts) {
  EXPECT_EQ(BatchTimeText("14", "05"), "14:05");
  EXPECT_EQ(BatchTimeText("9", "5"), "09:05");
  EXPECT_EQ(BatchTimeText("", "05"), "");
  EXPECT_EQ(BatchTimeText("14", ""), "");
  EXPECT_EQ(RegistrationDateText(EncodeRegistrationDate(2024, 3, 7)), "2024-03-07");
  EXPECT_EQ(RegistrationDateText(0), "");
  EXPECT_EQ(SpeedText(0), "9.6K");
  EXPECT_EQ(SpeedText(2), "33.6K");
  EXPECT_EQ(SpeedText(7), "(7)");
  EXPECT_EQ(EmailModeText(1), "Advanced");
  EXPECT_EQ(MaxQualityText(2), "S/F");
  EXPECT_EQ(MaxQualityText(0), "(0)");
  EXPECT_EQ(CodingText(2), "MMR");
}

TEST(OdctoolReport, MaxTxSizeTextFollowsTheFlags) {
  struct Case {
    uint8_t code;
    bool addressBookOnly;
    bool inchPaper;
    const char* text;
  };
  const Case cases[] = {
      {0, true, true, "A3"},       {0, false, true, "Ledger"}, {0, false, false, "A3"},
      {1, true, false, "B4"},      {1, false, true, "Ledger"}, {2, true, true, "A4"},
      {2, false, true, "Letter"},  {2, false, false, "A4"},    {9, true, false, "Ledger"},
      {9, false, true, "Ledger"},  {9, false, false, "A3"},    {12, true, false, "Letter"},
      {12, false, true, "Letter"}, {12, false, false, "A4"},   {5, false, false, "(5)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MaxTxSizeText(c.code, c.addressBookOnly, c.inchPaper), c.text)
        << int(c.code) << " " << c.addressBookOnly << " " << c.inchPaper;
  }
}

TEST(OdctoolReport, EveryKindOfEntryAsTheListsShowIt) {
  auto set = BookWithEveryKind();
  const AddressBookReport book = ReportAddressBook(*set);
  EXPECT_EQ(book.kind, "address-book");

  ASSERT_EQ(book.oneTouch.size(), 4u);  // keys 2, 3, 5, 30; the group key is not here
  const EntryReport& mail = book.oneTouch[0];
  EXPECT_EQ(mail.number, 2);
  EXPECT_EQ(mail.type, "email");
  EXPECT_EQ(mail.address, "office@example.com");
  EXPECT_EQ(mail.emailMode, "Advanced");
  EXPECT_EQ(mail.maxTxSizeCode, 9);
  EXPECT_EQ(mail.maxTxSize, "Ledger");  // address book: the table's first column
  EXPECT_EQ(mail.maxQuality, "S/F");
  EXPECT_EQ(mail.coding, "MMR");
  EXPECT_EQ(mail.speed, "");

  const EntryReport& combination = book.oneTouch[1];
  EXPECT_EQ(combination.number, 3);
  EXPECT_TRUE(combination.combination);
  EXPECT_EQ(combination.address, "9+");
  EXPECT_EQ(combination.name, "");
  EXPECT_EQ(combination.speed, "");  // a combination key shows only its number

  const EntryReport& fax = book.oneTouch[2];
  EXPECT_EQ(fax.number, 5);
  EXPECT_EQ(fax.type, "fax");
  EXPECT_EQ(fax.name, "Sales, \"North\"");
  EXPECT_EQ(fax.address, "0123456789");
  EXPECT_EQ(fax.sub, "12");
  EXPECT_EQ(fax.sid, "34");
  EXPECT_EQ(fax.batchTime, "14:05");
  EXPECT_EQ(fax.speed, "14.4K");
  EXPECT_EQ(fax.registered, "2024-03-07");
  EXPECT_FALSE(fax.maxTxSizeCode.has_value());

  const EntryReport& program = book.oneTouch[3];
  EXPECT_EQ(program.number, 30);
  EXPECT_EQ(program.type, "program");
  EXPECT_EQ(program.name, "PROGRAM DIAL");
  EXPECT_EQ(program.address, "");  // never decoded

  ASSERT_EQ(book.speedDial.size(), 2u);
  EXPECT_EQ(book.speedDial[0].number, 1);
  EXPECT_EQ(book.speedDial[0].type, "email");
  EXPECT_EQ(book.speedDial[1].number, 200);
  EXPECT_EQ(book.speedDial[1].speed, "9.6K");
  EXPECT_EQ(book.speedDial[1].batchTime, "");

  ASSERT_EQ(book.groups.size(), 1u);
  EXPECT_EQ(book.groups[0].number, 8);
  EXPECT_EQ(book.groups[0].name, "Team");
  const std::vector<GroupMemberReport> members = {{"one-touch", 5}, {"speed-dial", 200}};
  EXPECT_EQ(book.groups[0].members, members);
}

TEST(OdctoolReport, JsonCarriesEveryField) {
  auto set = BookWithEveryKind();
  const nlohmann::ordered_json j = AddressBookJson(ReportAddressBook(*set));
  EXPECT_EQ(j["kind"], "address-book");
  const auto& fax = j["one_touch"][2];
  std::vector<std::string> keys;
  for (auto it = fax.begin(); it != fax.end(); ++it) keys.push_back(it.key());
  const std::vector<std::string> expected = {
      "number",      "type",       "name",      "name2",       "address",    "sub",
      "sid",         "batch_time", "speed",     "combination", "email_mode", "max_tx_size_code",
      "max_quality", "coding",     "registered"};
  EXPECT_EQ(keys, expected);
  EXPECT_TRUE(fax["max_tx_size_code"].is_null());
  EXPECT_EQ(j["one_touch"][0]["max_tx_size_code"], 9);
  EXPECT_EQ(j["one_touch"][1]["combination"], true);
  EXPECT_EQ(j["groups"][0]["members"][1]["kind"], "speed-dial");
  EXPECT_EQ(j["groups"][0]["members"][1]["number"], 200);
}

TEST(OdctoolReport, NonAsciiNamesBecomeUtf8) {
  auto set = std::make_unique<DataSet>();
  Document document;
  NewDataSet(*set, document);
  DisplayRecord fax = FaxRecord("Caf\xE9", "1", kEntryOneTouch);  // CP1252 e-acute
  PackOneTouch(*set, fax, 0);
  const AddressBookReport book = ReportAddressBook(*set);
  ASSERT_EQ(book.oneTouch.size(), 1u);
  EXPECT_EQ(book.oneTouch[0].name, "Caf\xC3\xA9");
}

TEST(OdctoolReport, DoubleByteLanguagesDecodeTheirCodePage) {
  auto set = std::make_unique<DataSet>();
  Document document;
  NewDataSet(*set, document);
  set->language = Language::Japanese;
  DisplayRecord fax = FaxRecord("\x93\xFA\x96\x7B", "1", kEntryOneTouch);  // "Nihon" in CP932
  PackOneTouch(*set, fax, 0);
  uint8_t* program = set->OneTouchEntry(28);
  PutU16(program, 29);
  program[2] = kFlagProgram | kFlagOneTouchEntry | kFlagFax;
  const AddressBookReport book = ReportAddressBook(*set);
  ASSERT_EQ(book.oneTouch.size(), 2u);
  EXPECT_EQ(book.oneTouch[0].name, "\xE6\x97\xA5\xE6\x9C\xAC");
  // The double-byte lists show the marker in both name columns.
  EXPECT_EQ(book.oneTouch[1].name2, "PROGRAM DIAL");
}

TEST(OdctoolReport, CsvQuotesOnlyWhatRfc4180Needs) {
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(CsvField(""), "");
  // Readers trim a field that is not quoted: a space or tab at either end is
  // kept by quoting (a fax number may begin with a space).
  EXPECT_EQ(CsvField(" 0123"), "\" 0123\"");
  EXPECT_EQ(CsvField("Desk\t"), "\"Desk\t\"");
  EXPECT_EQ(CsvField("a b"), "a b");

  auto set = BookWithEveryKind();
  const std::string csv = AddressBookCsv(ReportAddressBook(*set));
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "table,number,type,name,name2,address,sub,sid,batch_time,speed,combination,"
            "email_mode,max_tx_size_code,max_tx_size,max_quality,coding,registered,members,"
            "name_bytes,name2_bytes,group_mark,program_entry,flags_byte,speed_byte,address_bytes");
  EXPECT_NE(csv.find("\r\none-touch,5,fax,\"Sales, \"\"North\"\"\",,0123456789,12,34,14:05,14.4K,"
                     "no,,,,,,2024-03-07,,,,,,,,\r\n"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("\r\ngroup,8,group,Team,,,,,,,no,,,,,,,one-touch 5 speed-dial 200,,,,,,,\r\n"),
            std::string::npos)
      << csv;
  // Header, 4 One Touch, 2 Speed Dial and 1 group rows, each ended by CRLF.
  size_t rows = 0;
  for (size_t p = csv.find("\r\n"); p != std::string::npos; p = csv.find("\r\n", p + 2)) ++rows;
  EXPECT_EQ(rows, 8u);
}

}  // namespace
}  // namespace tool
}  // namespace odc
