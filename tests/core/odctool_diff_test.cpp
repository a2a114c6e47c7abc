#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "setup/data/bytes.h"
#include "setup/data/data_file.h"
#include "setup/data/document.h"
#include "setup/link/demo_machine.h"
#include "setup/settings/setting_catalog.h"
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

TEST(OdctoolDiff, SettingsAreNamedAsGetAndSetNameThem) {
  auto a = FullSet();
  auto b = FullSet();
  std::strcpy(SettingText(*a, 0x10405), "a");
  std::strcpy(SettingText(*b, 0x10405), "b \"quoted\"");
  SetSetting(*a, 0x10003, 0);
  SetSetting(*b, 0x10003, 1);
  SetSetting(*b, 0x10004, 7);  // a code the page does not know
  SetSetting(*a, 0x10306, 0);
  SetSetting(*b, 0x10306, 1);
  std::memcpy(SettingBytes(*b, 0x10308), "\xC0\xA8\x01\x02", 4);
  const std::vector<std::string> expected = {
      "density_adf: \"Mode1\" -> \"Mode2\"",         "density_book: \"Mode1\" -> \"(7)\"",
      "ip_mode: \"Auto\" -> \"Specify IP address\"", "ip_address: \"0.0.0.0\" -> \"192.168.1.2\"",
      "smtp_server: \"a\" -> \"b \\\"quoted\\\"\"",
  };
  EXPECT_EQ(Diff(*a, *b), expected);
}

// What get and set have no name for keeps its page and meaning.
TEST(OdctoolDiff, UnnamedItemsKeepAReadableFallback) {
  auto a = FullSet();
  auto b = FullSet();
  b->settings.accountCounters[2] = 12;
  const uint8_t forward[] = {2, 4, 0, 0, 0, 0x21, 0x43};
  std::memcpy(SettingBytes(*b, 0x10906), forward, sizeof forward);
  const std::vector<std::string> expected = {
      "Administrator Mode: account counter of user ID 3 0 -> 12",
      "FAX RX Operation: forward location (empty) -> fax \"1234\" SUB \"\" SID \"\"",
  };
  EXPECT_EQ(Diff(*a, *b), expected);
}

// A line of the diff, given back to set, makes the first data set equal
// to the second one.
TEST(OdctoolDiff, LinesFeedBackIntoSet) {
  DataSet demo;
  BuildDemoMachine(demo);
  auto a = Reload(demo);
  auto b = Reload(demo);
  const SettingsChange change = ApplyNamedSettings(*b, {{"ip_mode", "Specify IP address"},
                                                        {"ip_address", "10.1.2.3"},
                                                        {"auto_shut_off", "30"},
                                                        {"sender_name", "Front desk"},
                                                        {"copy_priority", "Manual"}});
  ASSERT_EQ(change.problem, "");
  std::vector<std::string> lines = Diff(*a, *b);
  ASSERT_EQ(lines.size(), 5u) << Joined(lines);
  std::vector<std::pair<std::string, std::string>> assignments;
  for (const std::string& line : lines) {
    // name: "before" -> "after"
    const size_t colon = line.find(": \"");
    const size_t arrow = line.find("\" -> \"");
    ASSERT_NE(colon, std::string::npos) << line;
    ASSERT_NE(arrow, std::string::npos) << line;
    ASSERT_EQ(line.back(), '"') << line;
    assignments.emplace_back(line.substr(0, colon),
                             line.substr(arrow + 6, line.size() - arrow - 7));
  }
  ASSERT_EQ(ApplyNamedSettings(*a, assignments).problem, "");
  EXPECT_TRUE(Diff(*a, *b).empty()) << Joined(Diff(*a, *b));
}

TEST(OdctoolDiff, SecretsShowOnlyThatTheyChanged) {
  struct Case {
    uint32_t id;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {0x20600, {"administrator_number: changed"}},
      {0x10305, {"remote_password: changed"}},
      {0x10418, {"pop3_password: changed"}},
      {0x10505, {"ldap_password: changed"}},
      {0x10302, {"access_number_01: changed", "access_number_02: changed"}},
  };
  for (const Case& c : cases) {
    auto a = FullSet();
    auto b = FullSet();
    // Values that would be easy to spot in the output.
    std::memcpy(SettingBytes(*a, c.id), "4711", 4);
    std::memcpy(SettingBytes(*b, c.id), "9876", 4);
    const std::vector<std::string> lines = Diff(*a, *b);
    ASSERT_EQ(lines, c.lines);
    // Neither as text nor as a number.
    for (const std::string& line : lines) {
      for (const char* secret : {"4711", "9876", "875575092", "909654841", "34 37", "39 38",
                                 "12596", "13879", "14647", "13880"}) {
        EXPECT_EQ(line.find(secret), std::string::npos) << line;
      }
    }
  }
}

TEST(OdctoolDiff, MemoryRxWindowKeepsItsPasswordSecret) {
  auto a = FullSet();
  auto b = FullSet();
  uint8_t* window = SettingBytes(*b, 0x10901);
  PutU16(window + 2, (8 * 64 + 30) * 32);
  window[10] = 0x80;  // the on time is set
  std::memcpy(window + 4, "1234", 4);
  window[11] = 0x05;  // a byte no named setting holds
  const std::vector<std::string> expected = {
      "memory_rx_password: changed",
      "memory_rx_on_time: \"\" -> \"08:30\"",
      "FAX RX Operation: Memory RX window byte 11 00 -> 05",
  };
  EXPECT_EQ(Diff(*a, *b), expected);
  // Only the password changed: nothing else is said about the window.
  auto c = FullSet();
  std::memcpy(SettingBytes(*c, 0x10901) + 4, "9999", 4);
  EXPECT_EQ(Diff(*a, *c), std::vector<std::string>{"memory_rx_password: changed"});
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
  EXPECT_NE(text.find("smtp_server: (not stored) -> \"\"\n"), std::string::npos) << text;
  // Secrets that appear are still only "changed".
  EXPECT_NE(text.find("administrator_number: changed\n"), std::string::npos) << text;

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
