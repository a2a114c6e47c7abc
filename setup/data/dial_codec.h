// Conversion of single dial entries between the tables' compact form and the
// display record that lists, dialogs, the clipboard and printing use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "setup/data/data_set.h"

namespace odc {

// Display record kinds and entry types.
constexpr uint8_t kKindFax = 0;
constexpr uint8_t kKindEmail = 1;
constexpr uint8_t kEntryOther = 0;
constexpr uint8_t kEntryOneTouch = 1;
constexpr uint8_t kEntrySpeedDial = 2;
constexpr uint8_t kEntryGroup = 3;
// Group member kinds.
constexpr uint8_t kMemberOneTouch = 8;
constexpr uint8_t kMemberSpeedDial = 4;
constexpr int kMaxGroupMembers = 50;

struct GroupMember {
  uint8_t kind;   // kMemberOneTouch or kMemberSpeedDial
  uint8_t index;  // 0-based
};

// One dial entry spelled out as texts (PC character set) and single bytes.
struct DisplayRecord {
  uint8_t index;        // key index 0-31 or Speed Dial index 0-239
  uint8_t inUse;        // 1 when the record holds an entry
  uint8_t kind;         // kKindFax (also Group dials) or kKindEmail
  uint8_t entryType;    // kEntry...
  uint8_t groupMarker;  // Group dial, or a fax entry carrying the group bit
  uint8_t memberCount;
  uint8_t combination;
  uint8_t program;  // shown as "PROGRAM DIAL", never edited
  char name[24];
  char name2[24];
  char number[34];
  char sub[24];
  char sid[24];
  char batchHour[4];
  char batchMinute[4];
  uint8_t speedIndex;  // 0 = 9.6K, 1 = 14.4K, 2 = 33.6K
  char email[69];
  uint16_t registrationDate;
  uint8_t emailOptions[4];  // mode, max TX size, max quality, coding
  GroupMember members[kMaxGroupMembers];
};
static_assert(sizeof(DisplayRecord) == 322, "display record is 322 bytes");

// A row of the Group dial dialog's member lists.
struct GroupMemberRow {
  uint8_t kind;         // kMemberOneTouch or kMemberSpeedDial
  uint8_t index;        // 0-based
  uint8_t groupMarker;  // the member's own group marker
};

struct GroupMemberLists {
  std::vector<GroupMemberRow> oneTouch;
  std::vector<GroupMemberRow> speedDial;
};

// Registration date: bits 15-9 year - 2000, 8-5 month, 4-0 day.
uint16_t EncodeRegistrationDate(int year, int month, int day);
void DecodeRegistrationDate(uint16_t date, int& year, int& month, int& day);

// Packs n characters of `text` two to a byte, low nibble first.
void PackDigits(uint8_t* out, const char* text, int n);
// Writes exactly n characters and a NUL (out must hold n + 1 bytes).
void UnpackDigits(char* out, const uint8_t* packed, int n);

void UnpackOneTouch(DisplayRecord& record, DataSet& set, int key);
void PackOneTouch(DataSet& set, DisplayRecord& record, int key);
void UnpackSpeedDial(DisplayRecord& record, DataSet& set, int index);
void PackSpeedDial(DataSet& set, DisplayRecord& record, int index);
void UnpackGroup(DisplayRecord& record, DataSet& set, int key);
// Builds a Group dial from the record's names and the dialog's two lists.
void PackGroup(DataSet& set, const DisplayRecord& record,
               const std::vector<GroupMemberRow>& oneTouchMembers,
               const std::vector<GroupMemberRow>& speedDialMembers, int key);
// Builds a Group dial from the record's own member list.
void PackGroupMembers(DataSet& set, const DisplayRecord& record, int key);
GroupMemberLists SplitGroupMembers(const DisplayRecord& record, DataSet& set);
// Takes one member out of the Group dial on `key`; the last member removed
// empties the key. Returns true when the member was there.
bool RemoveGroupMember(DataSet& set, int key, uint8_t memberKind, int memberIndex);
// Unpacks every entry once: sets the program key states, consumes the
// import marker and removes broken e-mail entries.
void CheckDialTables(DataSet& set);

}  // namespace odc
