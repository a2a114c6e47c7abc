#include "setup/data/dial_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include "setup/data/bytes.h"
#include "tests/data/display_records.h"

namespace odc {
namespace {

class DialCodec : public ::testing::Test {
 protected:
  std::unique_ptr<DataSet> set = std::make_unique<DataSet>();
  DisplayRecord record{};
};

TEST(Digits, PackAndUnpack) {
  struct Case {
    const char* text;
    int n;
    std::vector<uint8_t> packed;
    const char* unpacked;
  };
  const Case cases[] = {
      {"12*#", 4, {0x21, 0xBA}, "12*#"}, {"123", 3, {0x21, 0x03}, "123"},
      {"1A", 2, {0x01}, "10"},  // not in the alphabet: nibble 0, read back as 0
      {"P +-", 4, {0xDC, 0xFE}, "P +-"}, {"", 0, {}, ""},
  };
  for (const Case& c : cases) {
    uint8_t out[16];
    std::memset(out, 0xEE, sizeof out);
    PackDigits(out, c.text, c.n);
    for (size_t i = 0; i < c.packed.size(); ++i) EXPECT_EQ(out[i], c.packed[i]) << c.text;
    EXPECT_EQ(out[c.packed.size()], 0xEE) << "packs (n + 1) / 2 bytes only: " << c.text;
    char text[40];
    std::memset(text, 'x', sizeof text);
    UnpackDigits(text, c.packed.data(), c.n);
    EXPECT_STREQ(text, c.unpacked);
  }
}

TEST_F(DialCodec, OneTouchFaxRoundTrip) {
  DisplayRecord in = fixtures::FaxRecord("Sales", "0123456789", kEntryOneTouch);
  std::strcpy(in.sub, "42");
  std::strcpy(in.sid, "777");
  std::strcpy(in.batchHour, "14");
  std::strcpy(in.batchMinute, "05");
  in.speedIndex = 1;
  in.registrationDate = EncodeRegistrationDate(2026, 12, 9);
  PackOneTouch(*set, in, 4);
  const uint8_t* e = set->OneTouchEntry(4);
  EXPECT_EQ(GetU16(e), 5);
  EXPECT_EQ(e[2], kFlagFax | kFlagOneTouchEntry | kFlagBatchTime);
  EXPECT_EQ(e[3], 10);
  EXPECT_EQ(e[5], 5);
  EXPECT_EQ(GetU16(e + 28), 28832) << "batch time 14:05";
  EXPECT_EQ(e[30], 3);
  EXPECT_EQ(e[31], 2);
  EXPECT_EQ(e[32], 3);
  EXPECT_EQ(e[33], 0x10);
  EXPECT_EQ(e[58], 0x24);
  EXPECT_EQ(e[68], 0x77);

  UnpackOneTouch(record, *set, 4);
  EXPECT_EQ(record.inUse, 1);
  EXPECT_EQ(record.index, 4);
  EXPECT_EQ(record.entryType, kEntryOneTouch);
  EXPECT_EQ(record.kind, kKindFax);
  EXPECT_STREQ(record.name, "Sales");
  EXPECT_STREQ(record.number, "0123456789");
  EXPECT_STREQ(record.sub, "42");
  EXPECT_STREQ(record.sid, "777");
  EXPECT_STREQ(record.batchHour, "14");
  EXPECT_STREQ(record.batchMinute, "05");
  EXPECT_EQ(record.speedIndex, 1);
  int y, m, d;
  DecodeRegistrationDate(record.registrationDate, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20261209);
}

TEST_F(DialCodec, NoSidWithoutSub) {
  DisplayRecord in = fixtures::FaxRecord("A", "1", kEntryOneTouch);
  std::strcpy(in.sid, "123");
  PackOneTouch(*set, in, 0);
  EXPECT_EQ(set->OneTouchEntry(0)[32], 0);
  EXPECT_STREQ(in.sid, "");
  PackSpeedDial(*set, in, 0);
  EXPECT_EQ(set->SpeedDialEntry(0)[30], 0);
}

TEST_F(DialCodec, EntriesBreakingLimitsStayButUnpackEmpty) {
  struct Case {
    int offset;
    uint8_t value;
  };
  // digits 31, name 21, name2 21, SUB 21, SID 21
  const Case cases[] = {{3, 31}, {5, 21}, {130, 21}, {31, 21}, {32, 21}};
  for (const Case& c : cases) {
    DisplayRecord in = fixtures::FaxRecord("Name", "123", kEntryOneTouch);
    PackOneTouch(*set, in, 7);
    set->OneTouchEntry(7)[c.offset] = c.value;
    uint8_t before[kOneTouchEntrySize];
    std::memcpy(before, set->OneTouchEntry(7), sizeof before);
    UnpackOneTouch(record, *set, 7);
    EXPECT_EQ(record.inUse, 0) << c.offset;
    EXPECT_EQ(0, std::memcmp(before, set->OneTouchEntry(7), sizeof before)) << c.offset;
  }
}

TEST_F(DialCodec, AbsurdLengthsNeverOverrunTheRecord) {
  // Every length byte at its maximum in both tables, with each flag mix.
  for (int f = 1; f < 256; ++f) {
    uint8_t* e = set->OneTouchEntry(31);
    std::memset(e, 0xFF, kOneTouchEntrySize);
    e[2] = static_cast<uint8_t>(f);
    e[3] = 50;  // a plausible member count with everything else absurd
    DisplayRecord guard[3];
    std::memset(guard, 0xAB, sizeof guard);
    UnpackOneTouch(guard[1], *set, 31);
    UnpackGroup(guard[1], *set, 31);
    set->importMarker = false;
    uint8_t* s = set->SpeedDialEntry(239);
    std::memset(s, 0xFF, kSpeedDialEntrySize);
    s[2] = static_cast<uint8_t>(f);
    UnpackSpeedDial(guard[1], *set, 239);
    for (size_t i = 0; i < sizeof(DisplayRecord); ++i) {
      ASSERT_EQ(reinterpret_cast<uint8_t*>(&guard[0])[i], 0xAB);
      ASSERT_EQ(reinterpret_cast<uint8_t*>(&guard[2])[i], 0xAB);
    }
    EXPECT_LT(strnlen(guard[1].number, 34), 34u);
    EXPECT_LT(strnlen(guard[1].name, 24), 24u);
    EXPECT_LT(strnlen(guard[1].sub, 24), 24u);
  }
}

TEST_F(DialCodec, BrokenEmailEntriesAreRemoved) {
  DisplayRecord in = fixtures::EmailRecord("Mail", "abc@example.com", kEntryOneTouch);
  PackOneTouch(*set, in, 2);
  PackSpeedDial(*set, in, 9);
  EXPECT_EQ(set->SpeedDialEntry(9)[2], kFlagEmail | kFlagSpeedDial);
  // Stored length 10, text of 9 characters.
  uint8_t* e = set->OneTouchEntry(2);
  e[3] = 10;
  std::memset(e + 34, 0, 64);
  std::memcpy(e + 34, "a@b.c.def", 9);
  uint8_t* s = set->SpeedDialEntry(9);
  s[3] = 10;
  std::memset(s + 32, 0, 64);
  std::memcpy(s + 32, "a@b.c.def", 9);
  CheckDialTables(*set);
  for (size_t i = 0; i < kOneTouchEntrySize; ++i) ASSERT_EQ(e[i], 0);
  for (size_t i = 0; i < kSpeedDialEntrySize; ++i) ASSERT_EQ(s[i], 0);
}

TEST_F(DialCodec, EmailRoundTripsInBothTables) {
  DisplayRecord in = fixtures::EmailRecord("Ren\xE9", "r\xE9n@example.com", kEntryOneTouch);
  in.emailOptions[0] = 1;
  in.emailOptions[1] = 2;
  in.emailOptions[2] = 2;
  in.emailOptions[3] = 2;
  PackOneTouch(*set, in, 0);
  EXPECT_EQ(set->OneTouchEntry(0)[6 + 3], 0x82) << "names travel in the machine's characters";
  EXPECT_EQ(set->OneTouchEntry(0)[34 + 1], 0xE9) << "One Touch addresses stay as typed";
  in.entryType = kEntrySpeedDial;
  PackSpeedDial(*set, in, 0);
  EXPECT_EQ(GetU16(set->SpeedDialEntry(0)), 0x8001);
  EXPECT_EQ(set->SpeedDialEntry(0)[32 + 1], 0x82) << "Speed Dial addresses are converted";

  UnpackOneTouch(record, *set, 0);
  EXPECT_EQ(record.kind, kKindEmail);
  EXPECT_STREQ(record.name, "Ren\xE9");
  EXPECT_STREQ(record.email, "r\xE9n@example.com");
  EXPECT_EQ(0, std::memcmp(record.emailOptions, in.emailOptions, 4));
  UnpackSpeedDial(record, *set, 0);
  EXPECT_EQ(record.entryType, kEntrySpeedDial);
  EXPECT_STREQ(record.email, "r\xE9n@example.com");
  EXPECT_STREQ(record.name, "Ren\xE9");
}

TEST_F(DialCodec, CombinationKeepsOnlyTheNumber) {
  DisplayRecord in = fixtures::FaxRecord("Ignored", "0044+", kEntryOneTouch);
  in.combination = 1;
  PackOneTouch(*set, in, 3);
  EXPECT_EQ(set->OneTouchEntry(3)[2], kFlagFax | kFlagOneTouchEntry | kFlagCombination);
  UnpackOneTouch(record, *set, 3);
  EXPECT_EQ(record.combination, 1);
  EXPECT_STREQ(record.number, "0044+");
  EXPECT_STREQ(record.name, "");
}

TEST_F(DialCodec, ProgramKeysAreKeptByteForByte) {
  uint8_t* e = set->OneTouchEntry(29);
  for (size_t i = 0; i < kOneTouchEntrySize; ++i) e[i] = static_cast<uint8_t>(i * 7);
  e[2] = kFlagProgram | kFlagFax;
  uint8_t before[kOneTouchEntrySize];
  std::memcpy(before, e, sizeof before);
  UnpackOneTouch(record, *set, 29);
  EXPECT_EQ(record.program, 1);
  EXPECT_EQ(record.entryType, kEntryOneTouch);
  EXPECT_EQ(set->programKeyStates[1], 1);
  PackOneTouch(*set, record, 29);
  EXPECT_EQ(0, std::memcmp(before, e, sizeof before));
  // The program key state follows the key.
  std::memset(e, 0, kOneTouchEntrySize);
  CheckDialTables(*set);
  EXPECT_EQ(set->programKeyStates[1], 0);
}

TEST_F(DialCodec, ImportMarkerDropsTheFirstProgramKeyOnly) {
  for (int key : {28, 30}) set->OneTouchEntry(key)[2] = kFlagProgram | kFlagFax;
  set->importMarker = true;
  CheckDialTables(*set);
  EXPECT_FALSE(set->importMarker);
  EXPECT_EQ(set->OneTouchEntry(28)[2], kFlagFax);
  EXPECT_EQ(set->OneTouchEntry(30)[2], kFlagProgram | kFlagFax);
  EXPECT_EQ(set->programKeyStates[0], 0);
  EXPECT_EQ(set->programKeyStates[2], 1);
}

TEST_F(DialCodec, GroupPackUnpackAndSplit) {
  PackOneTouch(
      *set, *std::make_unique<DisplayRecord>(fixtures::FaxRecord("One", "1", kEntryOneTouch)), 0);
  DisplayRecord sd = fixtures::FaxRecord("Two", "2", kEntrySpeedDial);
  sd.groupMarker = 1;
  PackSpeedDial(*set, sd, 5);
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "Team");
  group.registrationDate = 0x1234;
  PackGroup(*set, group, {{kMemberOneTouch, 0, 0}}, {{kMemberSpeedDial, 5, 1}}, 10);
  const uint8_t* e = set->OneTouchEntry(10);
  EXPECT_EQ(e[2], kFlagGroup);
  EXPECT_EQ(e[3], 2);
  const uint8_t members[] = {8, 1, 4, 6};
  EXPECT_EQ(0, std::memcmp(e + 30, members, 4));

  UnpackGroup(record, *set, 10);
  EXPECT_EQ(record.entryType, kEntryGroup);
  EXPECT_EQ(record.groupMarker, 1);
  EXPECT_EQ(record.memberCount, 2);
  EXPECT_STREQ(record.name, "Team");
  EXPECT_EQ(record.members[1].kind, kMemberSpeedDial);
  EXPECT_EQ(record.members[1].index, 5);
  const GroupMemberLists lists = SplitGroupMembers(record, *set);
  ASSERT_EQ(lists.oneTouch.size(), 1u);
  ASSERT_EQ(lists.speedDial.size(), 1u);
  EXPECT_EQ(lists.oneTouch[0].index, 0);
  EXPECT_EQ(lists.speedDial[0].index, 5);
  EXPECT_EQ(lists.speedDial[0].groupMarker, 1);

  // The One Touch view reads a Group dial as a group too.
  UnpackOneTouch(record, *set, 10);
  EXPECT_EQ(record.entryType, kEntryGroup);
  EXPECT_EQ(record.memberCount, 2);
}

TEST_F(DialCodec, GroupsHoldAtMostFiftyMembers) {
  std::vector<GroupMemberRow> speedDials;
  for (int i = 0; i < 60; ++i) speedDials.push_back({kMemberSpeedDial, static_cast<uint8_t>(i), 0});
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name2, "N2");
  PackGroup(*set, group, {}, speedDials, 0);
  EXPECT_EQ(set->OneTouchEntry(0)[3], 50);
  EXPECT_EQ(set->OneTouchEntry(0)[130], 2) << "name2 length survives";
}

TEST_F(DialCodec, RemovingMembers) {
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "G");
  PackGroup(*set, group, {{kMemberOneTouch, 1, 0}},
            {{kMemberSpeedDial, 3, 0}, {kMemberSpeedDial, 4, 0}}, 6);
  EXPECT_FALSE(RemoveGroupMember(*set, 6, kMemberSpeedDial, 9));
  EXPECT_TRUE(RemoveGroupMember(*set, 6, kMemberSpeedDial, 3));
  UnpackGroup(record, *set, 6);
  ASSERT_EQ(record.memberCount, 2);
  EXPECT_EQ(record.members[0].kind, kMemberOneTouch);
  EXPECT_EQ(record.members[1].index, 4);
  EXPECT_TRUE(RemoveGroupMember(*set, 6, kMemberOneTouch, 1));
  EXPECT_TRUE(RemoveGroupMember(*set, 6, kMemberSpeedDial, 4));
  for (size_t i = 0; i < kOneTouchEntrySize; ++i) ASSERT_EQ(set->OneTouchEntry(6)[i], 0);
}

TEST_F(DialCodec, SpeedDialFaxFlagsAndSpeed) {
  DisplayRecord in = fixtures::FaxRecord("Fax", "5551234", kEntrySpeedDial);
  std::strcpy(in.sub, "1");
  in.program = 1;
  in.speedIndex = 0;
  PackSpeedDial(*set, in, 239);
  const uint8_t* s = set->SpeedDialEntry(239);
  EXPECT_EQ(GetU16(s), 240 | 0x8000);
  EXPECT_EQ(s[2], kFlagFax | kFlagSpeedDial | kFlagProgram);
  EXPECT_EQ(s[28], 2);
  UnpackSpeedDial(record, *set, 239);
  EXPECT_EQ(record.program, 1);
  EXPECT_EQ(record.speedIndex, 0);
  EXPECT_STREQ(record.sub, "1");
  // A stored speed below 2 reads as 33.6K.
  set->SpeedDialEntry(239)[28] = 1;
  UnpackSpeedDial(record, *set, 239);
  EXPECT_EQ(record.speedIndex, 2);
}

TEST_F(DialCodec, EmptyRecordsClearTheEntry) {
  PackOneTouch(*set,
               *std::make_unique<DisplayRecord>(fixtures::FaxRecord("A", "1", kEntryOneTouch)), 1);
  DisplayRecord empty{};
  PackOneTouch(*set, empty, 1);
  for (size_t i = 0; i < kOneTouchEntrySize; ++i) ASSERT_EQ(set->OneTouchEntry(1)[i], 0);
  UnpackOneTouch(record, *set, 1);
  EXPECT_EQ(record.inUse, 0);
}

// Members whose bytes name no entry (a Speed Dial byte of 250, an index
// byte of 0 that would wrap to 255, a key byte of 33, a kind that is neither
// One Touch nor Speed Dial) are left out of the unpacked group, so nothing
// shows them and no repack writes them back.
TEST_F(DialCodec, GroupMembersOutsideTheirTableAreLeftOut) {
  DisplayRecord group{};
  group.inUse = 1;
  std::strcpy(group.name, "Mixed");
  PackGroup(*set, group, {{kMemberOneTouch, 2, 0}}, {{kMemberSpeedDial, 5, 0}}, 4);
  uint8_t* e = set->OneTouchEntry(4);
  const uint8_t members[][2] = {{kMemberOneTouch, 3},    {kMemberSpeedDial, 250},
                                {kMemberSpeedDial, 0},   {kMemberOneTouch, 0},
                                {kMemberOneTouch, 33},   {0x10, 7},
                                {kMemberSpeedDial, 240}, {kMemberSpeedDial, 241}};
  e[3] = static_cast<uint8_t>(std::size(members));
  for (size_t j = 0; j < std::size(members); ++j) {
    e[30 + 2 * j] = members[j][0];
    e[31 + 2 * j] = members[j][1];
  }
  UnpackGroup(record, *set, 4);
  EXPECT_EQ(record.entryType, kEntryGroup);
  ASSERT_EQ(record.memberCount, 2);
  EXPECT_EQ(record.members[0].kind, kMemberOneTouch);
  EXPECT_EQ(record.members[0].index, 2);
  EXPECT_EQ(record.members[1].kind, kMemberSpeedDial);
  EXPECT_EQ(record.members[1].index, 239);
  // Written back (as Paste does), only the two real members remain.
  PackGroupMembers(*set, record, 9);
  EXPECT_EQ(set->OneTouchEntry(9)[3], 2);
  EXPECT_EQ(set->OneTouchEntry(9)[33], 240);
}

TEST_F(DialCodec, OutOfRangeIndexesAreIgnored) {
  UnpackOneTouch(record, *set, 32);
  UnpackSpeedDial(record, *set, 240);
  UnpackGroup(record, *set, -1);
  EXPECT_EQ(record.inUse, 0);
  DisplayRecord group{};
  group.inUse = 1;
  group.memberCount = 2;
  group.members[0] = {kMemberOneTouch, 200};
  group.members[1] = {kMemberSpeedDial, 250};
  const GroupMemberLists lists = SplitGroupMembers(group, *set);
  EXPECT_TRUE(lists.oneTouch.empty());
  EXPECT_TRUE(lists.speedDial.empty());
}

}  // namespace
}  // namespace odc
