// Dial entry codec. Every length byte of a table entry comes from a file, an
// import or the machine, so each one is bounded before it sizes a copy.
#include "setup/data/dial_codec.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "setup/data/bytes.h"

namespace odc {
namespace {

constexpr char kDigitAlphabet[] = "0123456789*#P +-";
constexpr int kMaxDigits = 30;
constexpr int kMaxNameLength = 20;
constexpr int kMaxSubSidDigits = 20;
constexpr int kMaxEmailLength = 64;
constexpr size_t kName2FieldSize = 21;

// One Touch entry offsets.
namespace ot {
constexpr int kIndex = 0, kFlags = 2, kCount = 3, kNameLength = 5, kName = 6, kDate = 26,
              kBatchTime = 28, kSpeed = 30, kSubCount = 31, kSidCount = 32, kNumber = 33,
              kEmail = 34, kSub = 58, kSid = 68, kMembers = 30, kName2Length = 130, kName2 = 131,
              kOptions = 30;
}
// Speed Dial entry offsets.
namespace sd {
constexpr int kIndex = 0, kFlags = 2, kCount = 3, kNameLength = 4, kName = 5, kDate = 26,
              kSpeed = 28, kSubCount = 29, kSidCount = 30, kNumber = 31, kEmail = 32, kSub = 56,
              kSid = 66, kName2Length = 96, kName2 = 97, kOptions = 28;
}

// Where the fields shared by both tables lie in an entry.
struct EntryLayout {
  size_t size;
  int nameLength, name, name2, email, options, number, subCount, sub, sidCount, sid, speed, date;
};
constexpr EntryLayout kOneTouchLayout = {
    kOneTouchEntrySize, ot::kNameLength, ot::kName,     ot::kName2, ot::kEmail,
    ot::kOptions,       ot::kNumber,     ot::kSubCount, ot::kSub,   ot::kSidCount,
    ot::kSid,           ot::kSpeed,      ot::kDate};
constexpr EntryLayout kSpeedDialLayout = {kSpeedDialEntrySize,
                                          sd::kNameLength,
                                          sd::kName,
                                          sd::kName2,
                                          sd::kEmail,
                                          sd::kOptions,
                                          sd::kNumber,
                                          sd::kSubCount,
                                          sd::kSub,
                                          sd::kSidCount,
                                          sd::kSid,
                                          sd::kSpeed,
                                          sd::kDate};

bool ValidKey(int key) { return key >= 0 && key < kOneTouchCount; }
bool ValidSpeedDial(int index) { return index >= 0 && index < kSpeedDialCount; }

void Clear(DisplayRecord& record) { std::memset(&record, 0, sizeof record); }

void SetProgramKeyState(DataSet& set, int key, uint8_t state) {
  if (key >= 28 && key < 32) set.programKeyStates[key - 28] = state;
}

// `length` bytes of machine text (already bounded) -> PC text.
void ReadName(DataSet& set, char* out, const uint8_t* field, int length) {
  std::memcpy(out, field, length);
  out[length] = 0;
  ToPcCharset(set.language, out);
}

void ReadName2(DataSet& set, char (&out)[24], const uint8_t* field) {
  if (set.language != Language::Japanese) {
    // Outside Japanese the conversion is a plain copy.
    const size_t length = strnlen(reinterpret_cast<const char*>(field), kName2FieldSize);
    std::memcpy(out, field, length);
    out[length] = 0;
    return;
  }
  char machine[kName2FieldSize + 1];
  std::memcpy(machine, field, kName2FieldSize);
  machine[kName2FieldSize] = 0;
  char pc[256];
  Name2ToPc(set.language, machine, pc);
  const size_t length = strnlen(pc, sizeof out - 1);
  std::memcpy(out, pc, length);
  out[length] = 0;
}

// Writes a PC name as machine text; returns its length.
uint8_t WriteName(DataSet& set, uint8_t* field, const char* name) {
  char text[kMaxNameLength + 1] = {};
  const size_t length = strnlen(name, kMaxNameLength);
  std::memcpy(text, name, length);
  ToMachineCharset(set.language, text);
  std::memcpy(field, text, length);
  return static_cast<uint8_t>(length);
}

uint8_t WriteName2(DataSet& set, uint8_t* field, const char* name2) {
  char pc[256] = {};
  std::memcpy(pc, name2, strnlen(name2, sizeof(DisplayRecord::name2) - 1));
  char machine[256];
  Name2ToMachine(set.language, pc, machine);
  const size_t length = strnlen(machine, kMaxNameLength);
  std::memcpy(field, machine, length);
  return static_cast<uint8_t>(length);
}

void UnpackBoundedDigits(char* out, const uint8_t* packed, int n, int max) {
  UnpackDigits(out, packed, std::min(n, max));
}

// Packs a digit field: clears it, stores the digits, returns the count.
uint8_t WriteDigits(uint8_t* field, size_t fieldSize, const char* text, int max) {
  const int n = static_cast<int>(strnlen(text, max));
  std::memset(field, 0, fieldSize);
  PackDigits(field, text, n);
  return static_cast<uint8_t>(n);
}

void FormatTwoDigits(char (&out)[4], unsigned value) {
  out[0] = static_cast<char>('0' + value / 10 % 10);
  out[1] = static_cast<char>('0' + value % 10);
  out[2] = 0;
}

uint8_t SpeedIndex(uint8_t stored) { return stored >= 2 ? static_cast<uint8_t>(stored - 2) : 2; }

// SUB and SID of a fax entry: an empty SUB takes the SID with it.
void PackSubSid(uint8_t* entry, DisplayRecord& record, const EntryLayout& at) {
  entry[at.sidCount] = WriteDigits(entry + at.sid, 10, record.sid, kMaxSubSidDigits);
  entry[at.subCount] = WriteDigits(entry + at.sub, 10, record.sub, kMaxSubSidDigits);
  if (entry[at.subCount] == 0) {
    // No SID without a SUB.
    entry[at.sidCount] = 0;
    record.sid[0] = 0;
  }
}

// The e-mail fields of an entry whose lengths have been checked. False when
// the entry is broken (its address does not match its stored length): the
// entry is then removed and the record cleared.
bool UnpackEmailFields(DisplayRecord& record, DataSet& set, uint8_t* e, const EntryLayout& at) {
  const uint8_t count = e[3];
  record.kind = kKindEmail;
  ReadName(set, record.email, e + at.email, count);
  if (std::strlen(record.email) != count) {
    Clear(record);
    std::memset(e, 0, at.size);
    return false;
  }
  if (!record.combination) {
    ReadName(set, record.name, e + at.name, e[at.nameLength]);
    ReadName2(set, record.name2, e + at.name2);
  }
  std::memcpy(record.emailOptions, e + at.options, 4);
  return true;
}

// The fax fields of an entry. Every count is bounded by its field, since a
// Group dial read this way has member bytes where the counts would be.
void UnpackFaxFields(DisplayRecord& record, DataSet& set, const uint8_t* e, const EntryLayout& at) {
  record.kind = kKindFax;
  UnpackBoundedDigits(record.number, e + at.number, e[3], kMaxDigits);
  if (record.combination) return;
  ReadName(set, record.name, e + at.name, std::min<int>(e[at.nameLength], kMaxNameLength));
  ReadName2(set, record.name2, e + at.name2);
  UnpackBoundedDigits(record.sub, e + at.sub, e[at.subCount], kMaxSubSidDigits);
  UnpackBoundedDigits(record.sid, e + at.sid, e[at.sidCount], kMaxSubSidDigits);
  record.speedIndex = SpeedIndex(e[at.speed]);
}

}  // namespace

uint16_t EncodeRegistrationDate(int year, int month, int day) {
  return static_cast<uint16_t>((((year - 2000) & 0x7F) << 9) | ((month & 0x0F) << 5) |
                               (day & 0x1F));
}

void DecodeRegistrationDate(uint16_t date, int& year, int& month, int& day) {
  year = 2000 + (date >> 9);
  month = (date >> 5) & 0x0F;
  day = date & 0x1F;
}

void PackDigits(uint8_t* out, const char* text, int n) {
  const int m = (n + 1) & ~1;
  uint8_t byte = 0;
  for (int i = 0; i < m; ++i) {
    // For an odd n the last character read is the text's terminating NUL.
    const char c = i < n ? text[i] : 0;
    const char* hit = c != 0 ? std::strchr(kDigitAlphabet, c) : nullptr;
    const uint8_t nibble = hit != nullptr ? static_cast<uint8_t>(hit - kDigitAlphabet) : 0;
    if (i % 2 == 0) {
      byte = nibble;
    } else {
      out[i / 2] = static_cast<uint8_t>(byte | (nibble << 4));
    }
  }
}

void UnpackDigits(char* out, const uint8_t* packed, int n) {
  if (n <= 0) {
    out[0] = 0;
    return;
  }
  const int pairs = n / 2;
  for (int i = 0; i < pairs; ++i) {
    out[2 * i] = kDigitAlphabet[packed[i] & 0x0F];
    out[2 * i + 1] = kDigitAlphabet[packed[i] >> 4];
  }
  if (n % 2 != 0) out[n - 1] = kDigitAlphabet[packed[pairs] & 0x0F];
  out[n] = 0;
}

void UnpackOneTouch(DisplayRecord& record, DataSet& set, int key) {
  Clear(record);
  if (!ValidKey(key)) return;
  SetProgramKeyState(set, key, 0);
  uint8_t* e = set.OneTouchEntry(key);
  const uint8_t f = e[ot::kFlags];
  if (f & kFlagProgram) {
    if (set.importMarker) {
      // A program belongs to the machine it was set on: the first program
      // key met after an import is dropped.
      e[ot::kFlags] = static_cast<uint8_t>(f & ~kFlagProgram);
      set.importMarker = false;
      return;
    }
    record.program = 1;
    record.entryType = kEntryOneTouch;
    record.inUse = 1;
    record.index = static_cast<uint8_t>(key);
    SetProgramKeyState(set, key, 1);
    return;
  }
  const uint8_t count = e[ot::kCount];
  if (count == 0 || f == 0) return;

  const bool email = f & kFlagEmail;
  const bool fax = !email && (f < 0x80 || (f & kFlagOneTouchEntry));
  const int nameLength = e[ot::kNameLength];
  if (email) {
    if (count > kMaxEmailLength || nameLength > kMaxNameLength) return;
  } else if (fax) {
    if (count > kMaxDigits || nameLength > kMaxNameLength || e[ot::kName2Length] > kMaxNameLength ||
        e[ot::kSubCount] > kMaxSubSidDigits || e[ot::kSidCount] > kMaxSubSidDigits) {
      return;
    }
  } else if (count > kMaxGroupMembers) {
    return;
  }

  if (f & kFlagOneTouchEntry) {
    record.entryType = kEntryOneTouch;
  } else if (!email && !fax) {
    record.entryType = kEntryGroup;
    record.groupMarker = 1;
    record.memberCount = count;
  }
  record.inUse = 1;
  record.index = static_cast<uint8_t>(key);
  record.combination = (f & kFlagCombination) ? 1 : 0;

  record.registrationDate = GetU16(e + ot::kDate);
  if (email) {
    UnpackEmailFields(record, set, e, kOneTouchLayout);
    return;
  }
  // Fax, and a Group dial read the fax way (its fields then mean nothing).
  UnpackFaxFields(record, set, e, kOneTouchLayout);
  if (!record.combination && (f & kFlagBatchTime)) {
    const uint16_t time = GetU16(e + ot::kBatchTime);
    FormatTwoDigits(record.batchHour, time >> 11);
    FormatTwoDigits(record.batchMinute, (time >> 5) & 0x3F);
  }
}

void PackOneTouch(DataSet& set, DisplayRecord& record, int key) {
  if (record.program == 1 || !ValidKey(key)) return;
  uint8_t* e = set.OneTouchEntry(key);
  std::memset(e, 0, kOneTouchEntrySize);
  if (record.inUse == 0) return;

  uint8_t flags = 0;
  if (record.entryType == kEntryOneTouch) flags |= kFlagOneTouchEntry;
  if (record.combination) flags |= kFlagCombination;
  e[ot::kNameLength] = WriteName(set, e + ot::kName, record.name);
  e[ot::kName2Length] = WriteName2(set, e + ot::kName2, record.name2);
  PutU16(e + ot::kDate, record.registrationDate);

  if (record.kind == kKindEmail) {
    const size_t length = strnlen(record.email, kMaxEmailLength);
    e[ot::kCount] = static_cast<uint8_t>(length);
    e[ot::kFlags] = flags | kFlagEmail;
    PutU16(e + ot::kIndex, length != 0 ? static_cast<uint16_t>(key + 1) : 0);
    // One Touch addresses are stored as typed, without conversion.
    std::memcpy(e + ot::kEmail, record.email, length);
    std::memcpy(e + ot::kOptions, record.emailOptions, 4);
    return;
  }

  e[ot::kCount] = WriteDigits(e + ot::kNumber, 15, record.number, kMaxDigits);
  flags |= kFlagFax;
  if (record.groupMarker) flags |= kFlagGroup;
  if (record.batchHour[0] != 0 && record.batchMinute[0] != 0) flags |= kFlagBatchTime;
  e[ot::kFlags] = flags;
  PutU16(e + ot::kIndex, e[ot::kCount] != 0 ? static_cast<uint16_t>(key + 1) : 0);
  const int hour = std::atoi(record.batchHour);
  const int minute = std::atoi(record.batchMinute);
  PutU16(e + ot::kBatchTime, static_cast<uint16_t>((minute + hour * 64) * 32));
  PackSubSid(e, record, kOneTouchLayout);
  e[ot::kSpeed] = static_cast<uint8_t>(record.speedIndex + 2);
}

void UnpackSpeedDial(DisplayRecord& record, DataSet& set, int index) {
  Clear(record);
  if (!ValidSpeedDial(index)) return;
  uint8_t* e = set.SpeedDialEntry(index);
  const uint8_t f = e[sd::kFlags];
  const uint8_t count = e[sd::kCount];
  if (count == 0 || f == 0) return;
  const bool email = f & kFlagEmail;
  const int nameLength = e[sd::kNameLength];
  if (nameLength > kMaxNameLength || e[sd::kName2Length] > kMaxNameLength) return;
  if (email) {
    if (count > kMaxEmailLength) return;
  } else if (count > kMaxDigits || e[sd::kSubCount] > kMaxSubSidDigits ||
             e[sd::kSidCount] > kMaxSubSidDigits) {
    return;
  }

  if (f & kFlagSpeedDial) record.entryType = kEntrySpeedDial;
  if (f & kFlagGroup) record.groupMarker = 1;
  if (f & kFlagProgram) record.program = 1;
  record.inUse = 1;
  record.index = static_cast<uint8_t>(index);
  record.combination = (f & kFlagCombination) ? 1 : 0;
  record.registrationDate = GetU16(e + sd::kDate);

  if (email) {
    UnpackEmailFields(record, set, e, kSpeedDialLayout);
  } else {
    UnpackFaxFields(record, set, e, kSpeedDialLayout);
  }
}

void PackSpeedDial(DataSet& set, DisplayRecord& record, int index) {
  if (!ValidSpeedDial(index)) return;
  uint8_t* e = set.SpeedDialEntry(index);
  std::memset(e, 0, kSpeedDialEntrySize);
  if (record.inUse == 0) return;
  const uint16_t used = static_cast<uint16_t>((index + 1) | 0x8000);
  e[sd::kNameLength] = WriteName(set, e + sd::kName, record.name);
  e[sd::kName2Length] = WriteName2(set, e + sd::kName2, record.name2);
  PutU16(e + sd::kDate, record.registrationDate);

  if (record.kind == kKindEmail) {
    char address[kMaxEmailLength + 1] = {};
    const size_t length = strnlen(record.email, kMaxEmailLength);
    std::memcpy(address, record.email, length);
    ToMachineCharset(set.language, address);
    e[sd::kCount] = static_cast<uint8_t>(length);
    e[sd::kFlags] = static_cast<uint8_t>(kFlagEmail | kFlagSpeedDial |
                                         (record.combination ? kFlagCombination : 0));
    PutU16(e + sd::kIndex, length != 0 ? used : 0);
    std::memcpy(e + sd::kEmail, address, length);
    std::memcpy(e + sd::kOptions, record.emailOptions, 4);
    return;
  }
  e[sd::kCount] = WriteDigits(e + sd::kNumber, 15, record.number, kMaxDigits);
  uint8_t flags = kFlagFax | kFlagSpeedDial;
  if (record.combination) flags |= kFlagCombination;
  if (record.program) flags |= kFlagProgram;
  if (record.groupMarker) flags |= kFlagGroup;
  e[sd::kFlags] = flags;
  PutU16(e + sd::kIndex, e[sd::kCount] != 0 ? used : 0);
  PackSubSid(e, record, kSpeedDialLayout);
  e[sd::kSpeed] = static_cast<uint8_t>(record.speedIndex + 2);
}

void UnpackGroup(DisplayRecord& record, DataSet& set, int key) {
  Clear(record);
  if (!ValidKey(key)) return;
  const uint8_t* e = set.OneTouchEntry(key);
  const uint8_t f = e[ot::kFlags];
  if (f & kFlagProgram) {
    record.program = 1;
    record.entryType = kEntryOneTouch;
    record.inUse = 1;
    record.index = static_cast<uint8_t>(key);
    SetProgramKeyState(set, key, 1);
    return;
  }
  if (f & kFlagOneTouchEntry) {
    UnpackOneTouch(record, set, key);
    return;
  }
  const uint8_t count = e[ot::kCount];
  if (count < 1 || count > kMaxGroupMembers || f == 0) return;
  record.memberCount = count;
  if (e[ot::kNameLength] > kMaxNameLength || e[ot::kName2Length] > kMaxNameLength ||
      !(f & kFlagGroup)) {
    return;
  }
  record.groupMarker = 1;
  record.index = static_cast<uint8_t>(key);
  record.inUse = 1;
  record.kind = kKindFax;
  record.combination = (f & kFlagCombination) ? 1 : 0;
  record.entryType = kEntryGroup;
  ReadName(set, record.name, e + ot::kName, e[ot::kNameLength]);
  ReadName2(set, record.name2, e + ot::kName2);
  record.registrationDate = GetU16(e + ot::kDate);
  // A member that names no entry of its table (index byte 0, a Speed Dial
  // beyond 240, a key beyond 32, an unknown kind) is neither shown nor
  // dialled: it is left out here, so the lists, the group dialog, the
  // clean-up and every repack never see it.
  int kept = 0;
  for (int j = 0; j < count; ++j) {
    const uint8_t kind = e[ot::kMembers + 2 * j];
    const int index = e[ot::kMembers + 2 * j + 1] - 1;
    if (kind & kMemberOneTouch) {
      if (!ValidKey(index)) continue;
      record.members[kept++] = {kMemberOneTouch, static_cast<uint8_t>(index)};
    } else if (kind & kMemberSpeedDial) {
      if (!ValidSpeedDial(index)) continue;
      record.members[kept++] = {kMemberSpeedDial, static_cast<uint8_t>(index)};
    }
  }
  record.memberCount = static_cast<uint8_t>(kept);
}

namespace {

// Name, name2, flags, index and date of a Group dial; the members follow.
void WriteGroupHead(DataSet& set, uint8_t* e, const DisplayRecord& record, int key) {
  PutU16(e + ot::kIndex, static_cast<uint16_t>(key + 1));
  e[ot::kFlags] = kFlagGroup;
  e[ot::kNameLength] = WriteName(set, e + ot::kName, record.name);
  e[ot::kName2Length] = WriteName2(set, e + ot::kName2, record.name2);
  PutU16(e + ot::kDate, record.registrationDate);
}

}  // namespace

void PackGroup(DataSet& set, const DisplayRecord& record,
               const std::vector<GroupMemberRow>& oneTouchMembers,
               const std::vector<GroupMemberRow>& speedDialMembers, int key) {
  if (record.program == 1 || !ValidKey(key)) return;
  uint8_t* e = set.OneTouchEntry(key);
  std::memset(e, 0, kOneTouchEntrySize);
  if (record.inUse == 0) return;
  WriteGroupHead(set, e, record, key);
  // The member area holds 50 members; more would run into the name2 field.
  int written = 0;
  auto add = [&](uint8_t kind, uint8_t index) {
    if (written == kMaxGroupMembers) return;
    e[ot::kMembers + 2 * written] = kind;
    e[ot::kMembers + 2 * written + 1] = static_cast<uint8_t>(index + 1);
    ++written;
  };
  for (const GroupMemberRow& row : oneTouchMembers) add(kMemberOneTouch, row.index);
  for (const GroupMemberRow& row : speedDialMembers) add(kMemberSpeedDial, row.index);
  e[ot::kCount] = static_cast<uint8_t>(written);
}

void PackGroupMembers(DataSet& set, const DisplayRecord& record, int key) {
  if (!ValidKey(key)) return;
  uint8_t* e = set.OneTouchEntry(key);
  std::memset(e, 0, kOneTouchEntrySize);
  if (record.inUse == 0) return;
  WriteGroupHead(set, e, record, key);
  const int count = std::min<int>(record.memberCount, kMaxGroupMembers);
  e[ot::kCount] = static_cast<uint8_t>(count);
  for (int j = 0; j < count; ++j) {
    e[ot::kMembers + 2 * j] = record.members[j].kind;
    e[ot::kMembers + 2 * j + 1] = static_cast<uint8_t>(record.members[j].index + 1);
  }
}

GroupMemberLists SplitGroupMembers(const DisplayRecord& record, DataSet& set) {
  GroupMemberLists lists;
  DisplayRecord member;
  const int count = std::min<int>(record.memberCount, kMaxGroupMembers);
  for (int j = 0; j < count; ++j) {
    const GroupMember& m = record.members[j];
    // A member pointing outside its table cannot be shown or dialled.
    if (m.kind == kMemberOneTouch) {
      if (!ValidKey(m.index)) continue;
      UnpackOneTouch(member, set, m.index);
      lists.oneTouch.push_back({kMemberOneTouch, m.index, member.groupMarker});
    } else {
      if (!ValidSpeedDial(m.index)) continue;
      UnpackSpeedDial(member, set, m.index);
      lists.speedDial.push_back({kMemberSpeedDial, m.index, member.groupMarker});
    }
  }
  return lists;
}

bool RemoveGroupMember(DataSet& set, int key, uint8_t memberKind, int memberIndex) {
  DisplayRecord record;
  UnpackGroup(record, set, key);
  if (record.entryType != kEntryGroup || record.inUse == 0) return false;
  const int count = std::min<int>(record.memberCount, kMaxGroupMembers);
  for (int j = 0; j < count; ++j) {
    // Kinds are bits: 8 One Touch, 4 Speed Dial.
    if (!(record.members[j].kind & memberKind) || record.members[j].index != memberIndex) continue;
    if (count == 1) {
      DisplayRecord empty;
      Clear(empty);
      PackGroupMembers(set, empty, key);
      return true;
    }
    std::memmove(&record.members[j], &record.members[j + 1], (count - j - 1) * sizeof(GroupMember));
    record.members[count - 1] = GroupMember{0, 0};
    record.memberCount = static_cast<uint8_t>(count - 1);
    PackGroupMembers(set, record, key);
    return true;
  }
  return false;
}

void CheckDialTables(DataSet& set) {
  DisplayRecord scratch;
  for (int key = 0; key < kOneTouchCount; ++key) UnpackOneTouch(scratch, set, key);
  for (int index = 0; index < kSpeedDialCount; ++index) UnpackSpeedDial(scratch, set, index);
  // A pass of UnpackGroup over the keys would change nothing more: it sets
  // the same program key states and otherwise only reads.
}

}  // namespace odc
