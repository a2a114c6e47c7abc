// The data set: the transfer image of item records that files, the machine
// and imports exchange, and the working tables the user edits.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "setup/data/charset.h"

namespace odc {

constexpr size_t kRecordDataSize = 256;
constexpr size_t kRecordSize = 8 + kRecordDataSize;  // id, length, data
constexpr int kRecordCount = 423;
constexpr size_t kImageSize = kRecordCount * kRecordSize;  // 111,672
constexpr uint32_t kNoData = 0xFFFFFFFFu;                  // data length of an absent item

constexpr int kOneTouchCount = 32;
constexpr int kSpeedDialCount = 240;
constexpr int kDialRecordCount = kOneTouchCount + kSpeedDialCount;  // 272
constexpr size_t kOneTouchEntrySize = 152;
constexpr size_t kSpeedDialEntrySize = 118;
constexpr size_t kOneTouchTableSize = 5888;    // 32 entries + 1,024 spare bytes
constexpr size_t kSpeedDialTableSize = 29344;  // 240 entries + 1,024 spare bytes
constexpr size_t kMachineInfoSize = 80;
constexpr int kAccountCount = 50;

constexpr uint32_t kOneTouchFirstId = 0x12000;
constexpr uint32_t kSpeedDialFirstId = 0x12050;
constexpr uint32_t kMachineInfoId = 0x21002;
constexpr uint32_t kAccessNumbersId = 0x10302;
constexpr uint32_t kAccountCountersId = 0x10303;
constexpr uint32_t kForwardLocationId = 0x10906;
constexpr uint32_t kRegionCodeId = 0x10009;
constexpr uint32_t kMachineNameId = 0x1051E;
constexpr uint32_t kSenderNameId = 0x10401;
constexpr uint32_t kDefaultSubjectId = 0x1040A;
constexpr uint32_t kMachineValueId = 0x20000;
constexpr uint32_t kMachineVariantId = 0x20001;
constexpr uint32_t kFirstCounterId = 0x20311;
constexpr uint32_t kLastCounterId = 0x20316;
constexpr uint32_t kAdminNumberId = 0x20600;
constexpr uint32_t kLdapAvailabilityId = 0;  // record 368 carries no id
constexpr int kLdapAvailabilityRecord = 368;

// Entry flags: byte 2 of every dial entry.
constexpr uint8_t kFlagEmail = 0x01;
constexpr uint8_t kFlagFax = 0x02;
constexpr uint8_t kFlagSpeedDial = 0x04;
constexpr uint8_t kFlagOneTouchEntry = 0x08;
constexpr uint8_t kFlagBatchTime = 0x10;
constexpr uint8_t kFlagCombination = 0x20;
constexpr uint8_t kFlagProgram = 0x40;
constexpr uint8_t kFlagGroup = 0x80;

struct ItemRecord {
  uint32_t id;
  uint32_t length;  // 0-256, or kNoData
  uint8_t data[kRecordDataSize];
};
static_assert(sizeof(ItemRecord) == kRecordSize, "item record is 264 bytes");

// How a settings value is held.
enum class SettingKind : uint8_t {
  U8,
  U16,
  U32,
  Bytes,          // fixed bytes copied as they stand
  Text,           // text field, copied as it stands
  ConvertedText,  // text field held in the PC's character set while unpacked
  Counters,       // 50 three-byte account counters
};

struct SettingItem {
  uint32_t id;
  uint16_t width;  // bytes in the item's data
  SettingKind kind;
  uint16_t offset;  // where the value lives in SettingsValues::bytes
};

// The items from record 272 to record 422, in record order: everything in the
// image that is not a dial entry.
constexpr int kFirstSettingRecord = kDialRecordCount;                  // 272
constexpr int kSettingItemCount = kRecordCount - kFirstSettingRecord;  // 151
extern const std::array<SettingItem, kSettingItemCount> kSettingItems;
// Bytes needed for every value (texts get one spare NUL byte).
extern const size_t kSettingsValuesSize;

// The item of an id among kSettingItems, or nullptr.
const SettingItem* FindSettingItem(uint32_t id);

struct SettingsValues {
  uint8_t bytes[2048];
  uint32_t accountCounters[kAccountCount];
};

struct DataSet {
  // Transfer image.
  ItemRecord records[kRecordCount];
  uint32_t lastSpeedDialId = 0;
  uint32_t endItemId = 0;

  // Working tables.
  uint8_t oneTouch[kOneTouchTableSize];
  uint8_t speedDial[kSpeedDialTableSize];
  SettingsValues settings;
  uint8_t machineInfo[kMachineInfoSize];

  // Data flags.
  bool addressBookOnly = false;
  bool dialTablesOnly = false;
  bool uploadPacking = false;

  // Text rules of the resource module's language.
  Language language = Language::SingleByte;

  // Codec state: program key states of One Touch keys 29-32 and the import
  // marker consumed by the first program-flagged One Touch unpack.
  uint8_t programKeyStates[4] = {0, 0, 0, 0};
  bool importMarker = false;

  DataSet();

  uint8_t* OneTouchEntry(int key) { return oneTouch + key * kOneTouchEntrySize; }
  const uint8_t* OneTouchEntry(int key) const { return oneTouch + key * kOneTouchEntrySize; }
  uint8_t* SpeedDialEntry(int index) { return speedDial + index * kSpeedDialEntrySize; }
  const uint8_t* SpeedDialEntry(int index) const { return speedDial + index * kSpeedDialEntrySize; }
};

// Settings value access by item id. Numbers read the value's width; texts
// are NUL-terminated (one spare byte behind every field).
uint32_t GetSetting(const DataSet& set, uint32_t id);
void SetSetting(DataSet& set, uint32_t id, uint32_t value);
char* SettingText(DataSet& set, uint32_t id);
const char* SettingText(const DataSet& set, uint32_t id);
uint8_t* SettingBytes(DataSet& set, uint32_t id);
const uint8_t* SettingBytes(const DataSet& set, uint32_t id);

// The record of an item id in the fixed record order, or -1 when no record
// carries it. Constant time: the order never changes, so the id -> record
// table is built once for the program.
int RecordIndexOfId(uint32_t id);
// Index of the record with this id, or -1.
int FindRecord(const DataSet& set, uint32_t id);

// Zero-fills the image and stamps every record's id; all lengths become 0.
void BuildTransferImage(DataSet& set);
// Transfer image -> working tables and settings values. Returns 1.
int UnpackTransferImage(DataSet& set);
// Working tables and settings values -> transfer image. Returns 1.
int PackTransferImage(DataSet& set);
// The first step of PackTransferImage alone: the One Touch and Speed Dial
// tables -> their records. The settings records are not touched.
void PackDialTables(DataSet& set);
// Serialises the image as an item stream; returns the bytes written.
// `capacity` must hold the whole stream (kImageSize is always enough).
size_t WriteItemStream(DataSet& set, uint8_t* out, size_t capacity);
// {id, 0} for every record in order: 3,384 bytes.
constexpr size_t kItemIdListSize = kRecordCount * 8;
size_t WriteItemIdList(const DataSet& set, uint8_t* out);

}  // namespace odc
