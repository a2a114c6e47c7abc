#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "setup/data/bytes.h"
#include "setup/data/data_file.h"
#include "setup/data/document.h"
#include "tests/data/display_records.h"
#include "tools/odctool/diff.h"

namespace odc {
namespace tool {
namespace {

// A full data set: every settings item stored with its full width.
std::unique_ptr<DataSet> FullSet() {
  auto set = std::make_unique<DataSet>();
  Document document;
  NewDataSet(*set, document);
  set->addressBookOnly = false;
  std::memset(set->machineInfo, 0, kMachineInfoSize);
  for (int i = 0; i < kSettingItemCount; ++i) {
    set->records[kFirstSettingRecord + i].length = kSettingItems[i].width;
  }
  return set;
}

// Saves and opens again, as two files on disk would be compared.
std::unique_ptr<DataSet> Reload(DataSet& set) {
  PackTransferImage(set);
  const std::vector<uint8_t> bytes = DataFileBytes(set);
  auto loaded = std::make_unique<DataSet>();
  EXPECT_EQ(ReadDataFileBytes(*loaded, bytes.data(), bytes.size()), 1);
  UnpackTransferImage(*loaded);
  CheckDialTables(*loaded);
  return loaded;
}

std::vector<std::string> Diff(DataSet& a, DataSet& b) {
  auto x = Reload(a);
  auto y = Reload(b);
  const AddressBookReport bookA = ReportAddressBook(*x);
  const AddressBookReport bookB = ReportAddressBook(*y);
  return DiffDataSets({x.get(), &bookA}, {y.get(), &bookB});
}

void PutFax(DataSet& set, int key, const char* name, const char* number) {
  DisplayRecord r = fixtures::FaxRecord(name, number, kEntryOneTouch);
  PackOneTouch(set, r, key);
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(OdctoolDiff, EqualDataSetsHaveNoLines) {
  auto a = FullSet();
  auto b = FullSet();
  PutFax(*a, 4, "Sales", "0123");
  PutFax(*b, 4, "Sales", "0123");
  std::strcpy(SettingText(*a, 0x10405), "smtp.example.com");
  std::strcpy(SettingText(*b, 0x10405), "smtp.example.com");
  EXPECT_TRUE(Diff(*a, *b).empty()) << Joined(Diff(*a, *b));
}

TEST(OdctoolDiff, EntriesAreNamedByTableAndNumber) {
  auto a = FullSet();
  auto b = FullSet();
  PutFax(*a, 4, "Sales", "0123");
  PutFax(*b, 4, "Sales Dept", "0124");
  PutFax(*a, 9, "Old", "1");
  PutFax(*b, 10, "New", "2");
  const std::vector<std::string> expected = {
      "One Touch 05: name \"Sales\" -> \"Sales Dept\"",
      "One Touch 05: address \"0123\" -> \"0124\"",
      "One Touch 10: removed fax \"Old\" \"1\"",
      "One Touch 11: added fax \"New\" \"2\"",
  };
  EXPECT_EQ(Diff(*a, *b), expected);
}

TEST(OdctoolDiff, GroupsListTheirMembers) {
  auto a = FullSet();
  auto b = FullSet();
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "Team");
  PackGroup(*a, group, {{kMemberOneTouch, 0, 0}}, {}, 2);
  PackGroup(*b, group, {{kMemberOneTouch, 0, 0}}, {{kMemberSpeedDial, 11, 0}}, 2);
  const std::vector<std::string> expected = {
      "Group 03: members one-touch 1 -> one-touch 1, speed-dial 12"};
  EXPECT_EQ(Diff(*a, *b), expected);
}

TEST(OdctoolDiff, SettingsAreNamedByPageAndMeaning) {
  auto a = FullSet();
  auto b = FullSet();
  std::strcpy(SettingText(*a, 0x10405), "a");
  std::strcpy(SettingText(*b, 0x10405), "b");
  SetSetting(*a, 0x10003, 1);
  SetSetting(*b, 0x10003, 2);
  std::memcpy(SettingBytes(*b, 0x10308), "\xC0\xA8\x01\x02", 4);
  b->settings.accountCounters[2] = 12;
  const std::vector<std::string> expected = {
      "Machine Setting: Density(ADF) mode 1 -> 2",
      "Administrator Mode: account counter of user ID 3 0 -> 12",
      "Network Setting: IP address 0.0.0.0 -> 192.168.1.2",
      "E-Mail Setting: SMTP server \"a\" -> \"b\"",
  };
  EXPECT_EQ(Diff(*a, *b), expected);
}

TEST(OdctoolDiff, SecretsShowOnlyThatTheyChanged) {
  struct Case {
    uint32_t id;
    const char* line;
  };
  const Case cases[] = {
      {0x20600, "Administrator Mode: administrator number changed"},
      {0x10305, "Administrator Mode: remote password changed"},
      {0x10418, "E-Mail Setting: POP3 password changed"},
      {0x10505, "LDAP Setting: LDAP password changed"},
      {0x10302, "Administrator Mode: access numbers changed"},
  };
  for (const Case& c : cases) {
    auto a = FullSet();
    auto b = FullSet();
    // Values that would be easy to spot in the output.
    std::memcpy(SettingBytes(*a, c.id), "4711", 4);
    std::memcpy(SettingBytes(*b, c.id), "9876", 4);
    const std::vector<std::string> lines = Diff(*a, *b);
    ASSERT_EQ(lines, std::vector<std::string>{c.line});
    // Neither as text nor as a number.
    for (const char* secret : {"4711", "9876", "875575092", "909654841", "34 37", "39 38"}) {
      EXPECT_EQ(lines[0].find(secret), std::string::npos) << lines[0];
    }
  }
}

TEST(OdctoolDiff, MemoryRxWindowKeepsItsPasswordSecret) {
  auto a = FullSet();
  auto b = FullSet();
  uint8_t* window = SettingBytes(*b, 0x10901);
  PutU16(window + 2, (8 * 64 + 30) * 32);
  std::memcpy(window + 4, "1234", 4);
  const std::vector<std::string> expected = {
      "FAX RX Operation: Memory RX on time 00:00 -> 08:30",
      "FAX RX Operation: Memory RX password changed",
  };
  EXPECT_EQ(Diff(*a, *b), expected);
}

TEST(OdctoolDiff, KindAndMachineInformation) {
  auto a = std::make_unique<DataSet>();
  Document document;
  NewDataSet(*a, document);
  auto b = FullSet();
  b->machineInfo[7] = 1;  // NIC kit
  std::memcpy(b->machineInfo + 11, "V1.02", 5);
  const std::vector<std::string> lines = Diff(*a, *b);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Kind: address-book -> full");
  const std::string text = Joined(lines);
  EXPECT_NE(text.find("Machine information: NIC kit (none) -> 1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Machine information: main controller version (none) -> \"V1.02\"\n"),
            std::string::npos);
  EXPECT_NE(text.find("E-Mail Setting: SMTP server (not stored) -> \"\"\n"), std::string::npos);
  // Secrets that appear are still only "changed".
  EXPECT_NE(text.find("Administrator Mode: administrator number changed\n"), std::string::npos);

  auto c = FullSet();
  auto d = FullSet();
  d->machineInfo[7] = 1;
  EXPECT_EQ(Diff(*c, *d), std::vector<std::string>{"Machine information: NIC kit 0 -> 1"});
}

TEST(OdctoolDiff, EntriesNoListShowsStillCount) {
  auto a = FullSet();
  auto b = FullSet();
  // A fax entry with 31 digits breaks the limit: no list shows it.
  uint8_t* entry = b->OneTouchEntry(6);
  PutU16(entry, 7);
  entry[2] = kFlagFax | kFlagOneTouchEntry;
  entry[3] = 31;
  EXPECT_EQ(Diff(*a, *b), std::vector<std::string>{
                              "One Touch 07: stored entry differs (not readable as an entry)"});
}

TEST(OdctoolDiff, QuotedEscapesWhatATerminalWouldMisread) {
  EXPECT_EQ(Quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(Quoted(std::string("x\ny\x1b", 4)), "\"x\\x0Ay\\x1B\"");
}

}  // namespace
}  // namespace tool
}  // namespace odc
