// The demonstration machine's memory. Everything goes through the same
// codec and packing the program uses, so that the file is what a real
// download would have saved.
#include "setup/link/demo_machine.h"

#include <cstring>
#include <memory>

#include "setup/data/bytes.h"
#include "setup/data/dial_codec.h"
#include "setup/link/simulated_machine.h"

namespace odc {
namespace {

void CopyText(char* out, size_t size, const char* text) {
  std::strncpy(out, text, size - 1);
  out[size - 1] = '\0';
}

template <size_t N>
void Set(char (&out)[N], const char* text) {
  CopyText(out, N, text);
}

const uint16_t kDate = EncodeRegistrationDate(2026, 3, 14);

struct Fax {
  int index;
  const char* name;
  const char* number;
  const char* sub;
  const char* sid;
  const char* batchHour;
  const char* batchMinute;
  uint8_t speedIndex;
  bool groupMember;
  bool combination;
};

struct Email {
  int index;
  const char* name;
  const char* address;
  uint8_t options[4];  // mode, maximum TX size, maximum quality, coding
};

DisplayRecord FaxRecord(const Fax& fax, uint8_t entryType) {
  DisplayRecord record{};
  record.index = static_cast<uint8_t>(fax.index);
  record.inUse = 1;
  record.kind = kKindFax;
  record.entryType = entryType;
  record.groupMarker = fax.groupMember ? 1 : 0;
  record.combination = fax.combination ? 1 : 0;
  Set(record.name, fax.name);
  Set(record.number, fax.number);
  Set(record.sub, fax.sub);
  Set(record.sid, fax.sid);
  Set(record.batchHour, fax.batchHour);
  Set(record.batchMinute, fax.batchMinute);
  record.speedIndex = fax.speedIndex;
  record.registrationDate = kDate;
  return record;
}

DisplayRecord EmailRecord(const Email& email, uint8_t entryType) {
  DisplayRecord record{};
  record.index = static_cast<uint8_t>(email.index);
  record.inUse = 1;
  record.kind = kKindEmail;
  record.entryType = entryType;
  Set(record.name, email.name);
  Set(record.email, email.address);
  std::memcpy(record.emailOptions, email.options, 4);
  record.registrationDate = kDate;
  return record;
}

void BuildAddressBook(DataSet& set) {
  const Fax oneTouchFaxes[] = {
      {0, "Head Office", "0312345678", "1234", "5678", "14", "05", 2, true, false},
      {1, "Warehouse", "0298765432", "", "", "", "", 1, true, false},
      {5, "Legal Dept", "0355501234", "42", "", "22", "30", 0, false, false},
      {6, "Outside line", "9+", "", "", "", "", 2, false, true},  // combination key
  };
  for (const Fax& fax : oneTouchFaxes) {
    DisplayRecord record = FaxRecord(fax, kEntryOneTouch);
    PackOneTouch(set, record, fax.index);
  }
  const Email oneTouchEmails[] = {
      {2, "Sales Team", "sales@example.com", {1, 2, 2, 2}},
      {3, "Service Desk", "service@example.org", {0, 1, 1, 0}},
  };
  for (const Email& email : oneTouchEmails) {
    DisplayRecord record = EmailRecord(email, kEntryOneTouch);
    PackOneTouch(set, record, email.index);
  }

  const Fax speedDialFaxes[] = {
      {0, "Branch North", "0451112222", "77", "9001", "", "", 2, true, false},
      {1, "Branch South", "0663334444", "", "", "", "", 2, false, false},
      {4, "Print Shop", "0112223333", "", "", "", "", 0, false, false},
      {9, "Intl Partner", "0044207946000", "", "", "", "", 1, false, false},
      {10, "Overseas", "001+", "", "", "", "", 2, false, true},  // combination key
  };
  for (const Fax& fax : speedDialFaxes) {
    DisplayRecord record = FaxRecord(fax, kEntrySpeedDial);
    PackSpeedDial(set, record, fax.index);
  }
  const Email speedDialEmails[] = {
      {2, "Accounts", "accounts@example.com", {1, 3, 2, 2}},
      {3, "J. Tanaka", "j.tanaka@example.net", {0, 1, 1, 1}},
      {11, "Archive", "scan-archive@example.com", {1, 4, 2, 2}},
  };
  for (const Email& email : speedDialEmails) {
    DisplayRecord record = EmailRecord(email, kEntrySpeedDial);
    PackSpeedDial(set, record, email.index);
  }

  // Two Group dials on One Touch keys 11 and 12.
  DisplayRecord group{};
  group.inUse = 1;
  group.entryType = kEntryGroup;
  group.registrationDate = kDate;
  group.index = 10;
  Set(group.name, "All Offices");
  PackGroup(set, group, {{kMemberOneTouch, 0, 1}, {kMemberOneTouch, 1, 1}},
            {{kMemberSpeedDial, 0, 1}, {kMemberSpeedDial, 1, 0}}, 10);
  group.index = 11;
  Set(group.name, "Mail Team");
  PackGroup(set, group, {{kMemberOneTouch, 2, 0}, {kMemberOneTouch, 3, 0}},
            {{kMemberSpeedDial, 2, 0}}, 11);

  // One Touch key 30 holds a program set on the machine: the program keeps
  // its bytes as the machine wrote them.
  uint8_t* program = set.OneTouchEntry(29);
  std::memset(program, 0, kOneTouchEntrySize);
  PutU16(program, 30);
  program[2] = kFlagProgram | kFlagOneTouchEntry | kFlagFax;
  program[3] = 10;
  program[5] = 8;
  std::memcpy(program + 6, "Night TX", 8);
  PutU16(program + 26, kDate);
  PutU16(program + 28, (22 * 64 + 0) * 32);
  program[30] = 4;
  PackDigits(program + 33, "0312345678", 10);
  program[130] = 0;
}

void SetText(DataSet& set, uint32_t id, const char* text) {
  const SettingItem* item = FindSettingItem(id);
  CopyText(SettingText(set, id), item->width + 1u, text);
}

void SetBytes(DataSet& set, uint32_t id, std::initializer_list<uint8_t> bytes) {
  uint8_t* out = SettingBytes(set, id);
  for (uint8_t b : bytes) *out++ = b;
}

void BuildSettings(DataSet& set) {
  // Machine
  SetSetting(set, kMachineValueId, 1);
  SetSetting(set, kRegionCodeId, 1);
  SetSetting(set, kMachineVariantId, 2);
  SetText(set, kMachineNameId, "M40 Front Office");
  SetText(set, 0x1051C, "0312340000");
  // Paper
  for (uint32_t id = 0x10109; id <= 0x1010E; ++id) SetSetting(set, id, 0);
  SetSetting(set, 0x10107, 2100);
  SetSetting(set, 0x10108, 2970);
  // Administrator
  SetSetting(set, 0x10301, 1);
  uint8_t* access = SettingBytes(set, kAccessNumbersId);
  for (int a = 0; a < 4; ++a) PutU16(access + 2 * a, static_cast<uint16_t>(1001 + a));
  const uint32_t accounts[] = {1520, 877, 12040, 65};
  for (int a = 0; a < 4; ++a) set.settings.accountCounters[a] = accounts[a];
  // Network
  SetSetting(set, 0x10306, 0);
  SetBytes(set, 0x10308, {192, 168, 1, 40});
  SetBytes(set, 0x10309, {255, 255, 255, 0});
  SetBytes(set, 0x1030A, {192, 168, 1, 1});
  SetSetting(set, 0x1030B, 1);
  SetSetting(set, 0x1030C, 1);
  SetBytes(set, 0x1030E, {192, 168, 1, 2});
  for (uint32_t id = 0x1030F; id <= 0x10312; ++id) SetSetting(set, id, 1);
  // E-mail
  SetText(set, kSenderNameId, "Front Office");
  SetText(set, 0x10403, "m40.frontoffice@example.com");
  SetText(set, 0x10405, "smtp.example.com");
  SetSetting(set, 0x10406, 25);
  SetSetting(set, 0x10407, 60);
  SetText(set, kDefaultSubjectId, "Scan from M40");
  SetSetting(set, 0x1040D, 1);
  SetSetting(set, 0x1040E, 2);
  SetSetting(set, 0x1040F, 2);
  SetSetting(set, 0x10410, 2);
  SetSetting(set, 0x1040C, 5);
  SetText(set, 0x10412, "pop.example.com");
  SetSetting(set, 0x10413, 110);
  SetSetting(set, 0x10414, 30);
  SetText(set, 0x10416, "m40");
  SetText(set, 0x10418, "demo-only");
  SetSetting(set, 0x1041A, 15);
  SetText(set, 0x1041C, "frontoffice@example.com");
  // LDAP
  SetText(set, 0x10501, "ldap.example.com");
  SetSetting(set, 0x10506, 389);
  SetSetting(set, 0x10507, 30);
  SetSetting(set, 0x10508, 100);
  SetText(set, 0x1050A, "dc=example,dc=com");
  SetSetting(set, kLdapAvailabilityId, 1);
  // Communication
  SetSetting(set, 0x10510, 1);
  SetBytes(set, 0x10514, {'9', 0, 0, 0, 0});
  SetSetting(set, 0x10516, 1);
  // Copy, fax and scan
  SetSetting(set, 0x10604, 3);
  SetSetting(set, 0x10605, 3);
  SetSetting(set, 0x10800, 2);
  SetSetting(set, 0x10801, 1);
  SetText(set, kForwardLocationId, "");
  SetSetting(set, 0x10B00, 2);
  SetSetting(set, 0x10B01, 1);
}

}  // namespace

void BuildDemoMachine(DataSet& set) {
  set = *std::make_unique<DataSet>();
  set.language = Language::SingleByte;
  BuildAddressBook(set);
  BuildSettings(set);
  PackTransferImage(set);
  // A machine delivers every settings item in its full width.
  for (int i = 0; i < kSettingItemCount; ++i) {
    set.records[kFirstSettingRecord + i].length = kSettingItems[i].width;
  }
  const uint32_t counters[] = {48213, 12877, 3021, 990, 15004, 7312};
  for (int c = 0; c < 6; ++c) {
    const int index = FindRecord(set, kFirstCounterId + c);
    PutU32(set.records[index].data, counters[c]);
    set.records[index].length = 4;
  }
  PutU32(set.records[FindRecord(set, kAdminNumberId)].data, 112233);

  uint8_t* info = set.machineInfo;
  std::memset(info, 0, kMachineInfoSize);
  info[0] = 1;  // ADF unit
  info[1] = 0;  // ADF (duplex) unit
  info[2] = 3;  // paper trays
  info[3] = 2;  // Multi-bypass installed
  info[5] = 1;  // Shifter
  info[6] = 1;  // PCL printer kit
  info[7] = 1;  // NIC kit
  info[8] = 1;  // Duplex unit
  PutU16(info + 9, 64);
  std::memcpy(info + 11, "MC 2.10.07  ", 12);
  std::memcpy(info + 23, "EN 1.04.00  ", 12);
  std::memcpy(info + 35, "PCL 3.02    ", 12);
  std::memcpy(info + 47, "NIC 1.15.3  ", 12);
  std::memcpy(info + 59, "ADF 1.01    ", 12);
  set.addressBookOnly = false;
}

std::vector<uint8_t> DemoMachineFileBytes() {
  auto set = std::make_unique<DataSet>();
  BuildDemoMachine(*set);
  return MachineFileBytes(*set);
}

}  // namespace odc
