// Every item of the transfer image that is not a dial entry, in record order
// (records 272-422). This one table drives unpacking, packing, the file and
// the wire; the record of an item is kFirstSettingRecord + its index here.
#include <cstring>

#include "setup/data/bytes.h"
#include "setup/data/data_set.h"

namespace odc {
namespace {

using K = SettingKind;

struct ItemSpec {
  uint32_t id;
  uint16_t width;
  SettingKind kind;
};

constexpr ItemSpec kSpecs[kSettingItemCount] = {
    {0x20000, 1, K::U8},  // machine value
    // Machine Setting
    {0x10000, 1, K::U8},
    {0x10001, 4, K::U32},
    {0x10002, 4, K::U32},
    {0x10003, 1, K::U8},
    {0x10004, 1, K::U8},
    {0x10005, 1, K::U8},
    {0x10006, 1, K::U8},
    {0x10009, 1, K::U8},  // region code
    {0x1000A, 1, K::U8},
    {0x1000B, 1, K::U8},
    {0x1000C, 1, K::U8},
    {0x1000D, 1, K::U8},
    {0x10007, 1, K::U8},
    {0x10008, 1, K::U8},
    // Paper Source: inch/metric of trays 1-5, media type, size mode, size input X/Y
    {0x10100, 1, K::U8},
    {0x10101, 1, K::U8},
    {0x10102, 1, K::U8},
    {0x10103, 1, K::U8},
    {0x10104, 1, K::U8},
    {0x10105, 1, K::U8},
    {0x10106, 1, K::U8},
    {0x10107, 2, K::U16},
    {0x10108, 2, K::U16},
    // paper type of trays 1-5 and Multi-Bypass; custom size memories 1 and 2
    {0x10109, 1, K::U8},
    {0x1010A, 1, K::U8},
    {0x1010B, 1, K::U8},
    {0x1010C, 1, K::U8},
    {0x1010D, 1, K::U8},
    {0x1010E, 1, K::U8},
    {0x10200, 2, K::U16},
    {0x10201, 2, K::U16},
    {0x10202, 2, K::U16},
    {0x10203, 2, K::U16},
    // Administrator Mode: auto shut off, account track, access numbers, account
    // counters, remote monitor, remote password
    {0x10300, 1, K::U8},
    {0x10301, 1, K::U8},
    {0x10302, 100, K::Bytes},
    {0x10303, 150, K::Counters},
    {0x10304, 1, K::U8},
    {0x10305, 4, K::U32},
    // Network Setting
    {0x10306, 1, K::U8},
    {0x10308, 4, K::Bytes},
    {0x10309, 4, K::Bytes},
    {0x1030A, 4, K::Bytes},
    {0x1030B, 1, K::U8},
    {0x1030C, 1, K::U8},
    {0x1030E, 4, K::Bytes},
    {0x1030F, 1, K::U8},
    {0x10310, 1, K::U8},
    {0x10311, 1, K::U8},
    {0x10312, 1, K::U8},
    // E-Mail Setting (1)
    {0x10401, 22, K::ConvertedText},
    {0x10403, 66, K::Text},
    {0x10405, 66, K::Text},
    {0x10406, 4, K::U32},
    {0x10407, 4, K::U32},
    {0x10408, 1, K::U8},
    {0x1040A, 22, K::ConvertedText},
    {0x1040D, 1, K::U8},
    {0x1040E, 1, K::U8},
    {0x1040F, 1, K::U8},
    {0x10410, 1, K::U8},
    {0x1040B, 1, K::U8},
    {0x1040C, 4, K::U32},
    // E-Mail Setting (2)
    {0x10412, 66, K::Text},
    {0x10413, 4, K::U32},
    {0x10414, 4, K::U32},
    {0x10416, 66, K::Text},
    {0x10418, 34, K::Text},
    {0x10419, 1, K::U8},
    {0x1041A, 1, K::U8},
    {0x1041C, 66, K::Text},
    {0x1041D, 1, K::U8},
    // LDAP Setting
    {0x10501, 66, K::Text},
    {0x10503, 66, K::Text},
    {0x10505, 34, K::Text},
    {0x10506, 4, K::U32},
    {0x10507, 4, K::U32},
    {0x10508, 4, K::U32},
    {0x1050A, 66, K::Text},
    {0x1050B, 1, K::U8},
    {0x1050C, 1, K::U8},
    {0x1050E, 66, K::Text},
    {0x1050F, 1, K::U8},
    // Communication Setting
    {0x10510, 1, K::U8},
    {0x10511, 1, K::U8},
    {0x10512, 1, K::U8},
    {0x10514, 5, K::Bytes},
    {0x10515, 1, K::U8},
    {0x10516, 1, K::U8},
    {0x10517, 1, K::U8},
    {0x10518, 1, K::U8},
    {0x10520, 1, K::U8},
    {0x10521, 1, K::U8},
    // Machine Information: telephone number, machine name
    {0x1051C, 24, K::Text},
    {0x1051E, 36, K::ConvertedText},
    // LDAP availability: the one record without an id
    {0, 1, K::U8},
    // Copy Setting (1)
    {0x10600, 1, K::U8},
    {0x10601, 1, K::U8},
    {0x10602, 1, K::U8},
    {0x10603, 1, K::U8},
    {0x10604, 1, K::U8},
    {0x10605, 1, K::U8},
    {0x10606, 1, K::U8},
    {0x10607, 1, K::U8},
    {0x10608, 1, K::U8},
    {0x10609, 1, K::U8},
    {0x1060A, 1, K::U8},
    // Copy Setting (2)
    {0x10703, 1, K::U8},
    {0x10700, 1, K::U8},
    {0x10701, 1, K::U8},
    {0x10702, 1, K::U8},
    {0x10704, 1, K::U8},
    {0x10705, 1, K::U8},
    // FAX TX Operation
    {0x10800, 1, K::U8},
    {0x10801, 1, K::U8},
    {0x10802, 1, K::U8},
    {0x10803, 1, K::U8},
    // FAX RX Operation
    {0x10900, 1, K::U8},
    {0x10901, 12, K::Bytes},
    {0x10902, 1, K::U8},
    {0x10903, 1, K::U8},
    {0x10904, 1, K::U8},
    {0x10905, 1, K::U8},
    {0x10906, 72, K::Text},
    {0x10907, 1, K::U8},
    {0x10908, 1, K::U8},
    {0x10909, 1, K::U8},
    {0x1090A, 1, K::U8},
    {0x1090B, 1, K::U8},
    {0x1090C, 1, K::U8},
    {0x1090D, 1, K::U8},
    {0x1090E, 1, K::U8},
    {0x1090F, 1, K::U8},
    {0x10910, 1, K::U8},
    {0x10911, 1, K::U8},
    // Report Setting
    {0x10A00, 1, K::U8},
    {0x10A01, 1, K::U8},
    {0x10A02, 1, K::U8},
    {0x10A03, 1, K::U8},
    // Scan Setting
    {0x10B00, 1, K::U8},
    {0x10B01, 1, K::U8},
    {0x10B02, 1, K::U8},
    // Machine variant code, the six counters, the administrator number (end item)
    {0x20001, 1, K::U8},
    {0x20311, 4, K::U32},
    {0x20312, 4, K::U32},
    {0x20313, 4, K::U32},
    {0x20314, 4, K::U32},
    {0x20315, 4, K::U32},
    {0x20316, 4, K::U32},
    {0x20600, 4, K::U32},
};

constexpr bool IsText(SettingKind kind) {
  return kind == SettingKind::Text || kind == SettingKind::ConvertedText;
}

struct Layout {
  std::array<SettingItem, kSettingItemCount> items{};
  size_t size = 0;
};

constexpr Layout BuildLayout() {
  Layout layout;
  size_t offset = 0;
  for (int i = 0; i < kSettingItemCount; ++i) {
    layout.items[i] =
        SettingItem{kSpecs[i].id, kSpecs[i].width, kSpecs[i].kind, static_cast<uint16_t>(offset)};
    offset += kSpecs[i].width + (IsText(kSpecs[i].kind) ? 1 : 0);
  }
  layout.size = offset;
  return layout;
}

constexpr Layout kLayout = BuildLayout();
static_assert(kLayout.size <= sizeof(SettingsValues::bytes), "settings storage too small");
static_assert(kSpecs[kSettingItemCount - 1].id == kAdminNumberId, "end item comes last");

}  // namespace

const std::array<SettingItem, kSettingItemCount> kSettingItems = kLayout.items;
const size_t kSettingsValuesSize = kLayout.size;

const SettingItem* FindSettingItem(uint32_t id) {
  const int record = RecordIndexOfId(id);
  if (record < kFirstSettingRecord) return nullptr;
  const SettingItem& item = kSettingItems[record - kFirstSettingRecord];
  return item.id == id ? &item : nullptr;
}

uint32_t GetSetting(const DataSet& set, uint32_t id) {
  const SettingItem* item = FindSettingItem(id);
  if (item == nullptr) return 0;
  const uint8_t* p = set.settings.bytes + item->offset;
  switch (item->kind) {
    case SettingKind::U8:
      return p[0];
    case SettingKind::U16:
      return GetU16(p);
    case SettingKind::U32:
      return GetU32(p);
    default:
      return 0;
  }
}

void SetSetting(DataSet& set, uint32_t id, uint32_t value) {
  const SettingItem* item = FindSettingItem(id);
  if (item == nullptr) return;
  uint8_t* p = set.settings.bytes + item->offset;
  switch (item->kind) {
    case SettingKind::U8:
      p[0] = static_cast<uint8_t>(value);
      break;
    case SettingKind::U16:
      PutU16(p, static_cast<uint16_t>(value));
      break;
    case SettingKind::U32:
      PutU32(p, value);
      break;
    default:
      break;
  }
}

uint8_t* SettingBytes(DataSet& set, uint32_t id) {
  const SettingItem* item = FindSettingItem(id);
  return item == nullptr ? nullptr : set.settings.bytes + item->offset;
}

const uint8_t* SettingBytes(const DataSet& set, uint32_t id) {
  const SettingItem* item = FindSettingItem(id);
  return item == nullptr ? nullptr : set.settings.bytes + item->offset;
}

char* SettingText(DataSet& set, uint32_t id) {
  const SettingItem* item = FindSettingItem(id);
  if (item == nullptr || !IsText(item->kind)) return nullptr;
  return reinterpret_cast<char*>(set.settings.bytes + item->offset);
}

const char* SettingText(const DataSet& set, uint32_t id) {
  const SettingItem* item = FindSettingItem(id);
  if (item == nullptr || !IsText(item->kind)) return nullptr;
  return reinterpret_cast<const char*>(set.settings.bytes + item->offset);
}

}  // namespace odc
