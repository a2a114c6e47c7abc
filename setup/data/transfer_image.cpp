// The transfer image and its conversion to and from the working tables.
#include <algorithm>
#include <cstring>

#include "setup/data/bytes.h"
#include "setup/data/data_set.h"

namespace odc {

DataSet::DataSet() {
  std::memset(oneTouch, 0, sizeof oneTouch);
  std::memset(speedDial, 0, sizeof speedDial);
  std::memset(&settings, 0, sizeof settings);
  std::memset(machineInfo, 0, sizeof machineInfo);
  BuildTransferImage(*this);
}

namespace {

// Settings ids live in two small ranges: 0x10000-0x10FFF (one slot each) and
// 0x20000-0x20FFF (the machine value and variant, the counters and the
// administrator number).
constexpr uint32_t kSettingIdBase1 = 0x10000;
constexpr uint32_t kSettingIdBase2 = 0x20000;
constexpr uint32_t kSettingIdSpan = 0x1000;

struct RecordIndexTable {
  int16_t low[kSettingIdSpan];
  int16_t high[kSettingIdSpan];

  RecordIndexTable() {
    for (uint32_t i = 0; i < kSettingIdSpan; ++i) low[i] = high[i] = -1;
    for (int i = 0; i < kSettingItemCount; ++i) {
      const uint32_t id = kSettingItems[i].id;
      const int16_t record = static_cast<int16_t>(kFirstSettingRecord + i);
      if (id >= kSettingIdBase1 && id < kSettingIdBase1 + kSettingIdSpan) {
        low[id - kSettingIdBase1] = record;
      } else if (id >= kSettingIdBase2 && id < kSettingIdBase2 + kSettingIdSpan) {
        high[id - kSettingIdBase2] = record;
      }
    }
  }
};

const RecordIndexTable& IndexTable() {
  static const RecordIndexTable table;
  return table;
}

}  // namespace

int RecordIndexOfId(uint32_t id) {
  if (id >= kOneTouchFirstId && id < kOneTouchFirstId + kOneTouchCount) {
    return static_cast<int>(id - kOneTouchFirstId);
  }
  if (id >= kSpeedDialFirstId && id < kSpeedDialFirstId + kSpeedDialCount) {
    return kOneTouchCount + static_cast<int>(id - kSpeedDialFirstId);
  }
  if (id == kLdapAvailabilityId) return kLdapAvailabilityRecord;
  const RecordIndexTable& table = IndexTable();
  if (id >= kSettingIdBase1 && id < kSettingIdBase1 + kSettingIdSpan) {
    return table.low[id - kSettingIdBase1];
  }
  if (id >= kSettingIdBase2 && id < kSettingIdBase2 + kSettingIdSpan) {
    return table.high[id - kSettingIdBase2];
  }
  return -1;
}

int FindRecord(const DataSet& set, uint32_t id) {
  const int index = RecordIndexOfId(id);
  if (index < 0 || set.records[index].id == id) return index;
  // Only an image whose ids were not stamped by BuildTransferImage gets here.
  for (int i = 0; i < kRecordCount; ++i) {
    if (set.records[i].id == id) return i;
  }
  return -1;
}

void BuildTransferImage(DataSet& set) {
  std::memset(set.records, 0, sizeof set.records);
  for (int i = 0; i < kOneTouchCount; ++i) set.records[i].id = kOneTouchFirstId + i;
  for (int i = 0; i < kSpeedDialCount; ++i) {
    set.records[kOneTouchCount + i].id = kSpeedDialFirstId + i;
  }
  // Record 368 (LDAP availability) has id 0 in the table and so stays 0.
  for (int i = 0; i < kSettingItemCount; ++i) {
    set.records[kFirstSettingRecord + i].id = kSettingItems[i].id;
  }
  set.lastSpeedDialId = set.records[kDialRecordCount - 1].id;
  set.endItemId = set.records[kRecordCount - 1].id;
}

namespace {

bool IsCounter(uint32_t id) { return id >= kFirstCounterId && id <= kLastCounterId; }

constexpr size_t kCounterBytes = 3;

}  // namespace

int UnpackTransferImage(DataSet& set) {
  std::memset(set.oneTouch, 0, sizeof set.oneTouch);
  std::memset(set.speedDial, 0, sizeof set.speedDial);
  if (set.addressBookOnly) {
    // Without machine data, everything that depends on the PCL printer kit
    // and the NIC kit stays available.
    set.machineInfo[6] = 1;
    set.machineInfo[7] = 1;
  }
  for (int i = 0; i < kOneTouchCount; ++i) {
    if (set.records[i].length != 0) {
      std::memcpy(set.OneTouchEntry(i), set.records[i].data, kOneTouchEntrySize);
    }
  }
  for (int i = 0; i < kSpeedDialCount; ++i) {
    const ItemRecord& record = set.records[kOneTouchCount + i];
    if (record.length != 0) std::memcpy(set.SpeedDialEntry(i), record.data, kSpeedDialEntrySize);
  }
  if (set.dialTablesOnly) {
    set.dialTablesOnly = false;
    return 1;
  }
  for (int i = 0; i < kSettingItemCount; ++i) {
    const SettingItem& item = kSettingItems[i];
    const uint8_t* data = set.records[kFirstSettingRecord + i].data;
    uint8_t* value = set.settings.bytes + item.offset;
    switch (item.kind) {
      case SettingKind::Counters:
        for (int a = 0; a < kAccountCount; ++a) {
          const uint8_t* c = data + a * kCounterBytes;
          set.settings.accountCounters[a] = c[0] | (c[1] << 8) | (c[2] << 16);
        }
        break;
      case SettingKind::Text:
      case SettingKind::ConvertedText:
        std::memcpy(value, data, item.width);
        value[item.width] = 0;
        break;
      default:
        std::memcpy(value, data, item.width);
        break;
    }
  }
  for (uint32_t id : {kMachineNameId, kSenderNameId, kDefaultSubjectId}) {
    ToPcCharset(set.language, SettingText(set, id));
  }
  return 1;
}

void PackDialTables(DataSet& set) {
  for (int i = 0; i < kOneTouchCount; ++i) {
    const uint8_t* entry = set.OneTouchEntry(i);
    std::memcpy(set.records[i].data, entry, kOneTouchEntrySize);
    set.records[i].length = entry[0] != 0 ? kOneTouchEntrySize : 0;
  }
  for (int i = 0; i < kSpeedDialCount; ++i) {
    const uint8_t* entry = set.SpeedDialEntry(i);
    ItemRecord& record = set.records[kOneTouchCount + i];
    std::memcpy(record.data, entry, kSpeedDialEntrySize);
    record.length = entry[0] != 0 ? kSpeedDialEntrySize : 0;
  }
}

int PackTransferImage(DataSet& set) {
  PackDialTables(set);
  for (int i = 0; i < kSettingItemCount; ++i) {
    const SettingItem& item = kSettingItems[i];
    ItemRecord& record = set.records[kFirstSettingRecord + i];
    const uint8_t* value = set.settings.bytes + item.offset;
    switch (item.kind) {
      case SettingKind::Counters:
        for (int a = 0; a < kAccountCount; ++a) {
          uint8_t* c = record.data + a * kCounterBytes;
          const uint32_t counter = set.settings.accountCounters[a];
          c[0] = static_cast<uint8_t>(counter);
          c[1] = static_cast<uint8_t>(counter >> 8);
          c[2] = static_cast<uint8_t>(counter >> 16);
        }
        break;
      case SettingKind::ConvertedText: {
        // The working value stays in the PC's character set; only the
        // record gets the machine's.
        char text[kRecordDataSize + 1];
        std::memcpy(text, value, item.width + 1);
        ToMachineCharset(set.language, text);
        std::memcpy(record.data, text, item.width);
        break;
      }
      default:
        // The machine's counters are read-only: never written back.
        if (!IsCounter(item.id)) std::memcpy(record.data, value, item.width);
        break;
    }
    if (item.id == kAccessNumbersId || item.id == kAccountCountersId ||
        item.id == kForwardLocationId) {
      record.length = item.width;
    }
  }
  return 1;
}

size_t WriteItemStream(DataSet& set, uint8_t* out, size_t capacity) {
  ByteWriter writer(out, capacity);
  for (const ItemRecord& record : set.records) {
    if (IsCounter(record.id)) continue;
    if (set.uploadPacking && (record.id == kMachineValueId || record.id == kMachineVariantId)) {
      continue;
    }
    writer.WriteU32(record.id);
    writer.WriteU32(record.length);
    if (record.length != kNoData) {
      writer.WriteBytes(record.data, std::min<size_t>(record.length, kRecordDataSize));
      if (set.addressBookOnly && record.id == set.lastSpeedDialId) break;
    }
  }
  set.uploadPacking = false;
  return writer.ok() ? writer.position() : 0;
}

size_t WriteItemIdList(const DataSet& set, uint8_t* out) {
  for (int i = 0; i < kRecordCount; ++i) {
    PutU32(out + i * 8, set.records[i].id);
    PutU32(out + i * 8 + 4, 0);
  }
  return kItemIdListSize;
}

}  // namespace odc
