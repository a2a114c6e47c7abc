#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/data/data_set.h"

namespace odc {
namespace {

std::unique_ptr<DataSet> NewSet() { return std::make_unique<DataSet>(); }

TEST(TransferImage, BuildStampsIdsInRecordOrder) {
  auto set = NewSet();
  set->records[5].length = 17;
  set->records[300].data[0] = 9;
  BuildTransferImage(*set);
  struct Case {
    int record;
    uint32_t id;
  };
  const Case cases[] = {{0, 0x12000},   {31, 0x1201F},  {32, 0x12050},  {271, 0x1213F},
                        {272, 0x20000}, {273, 0x10000}, {280, 0x10009}, {285, 0x10007},
                        {306, 0x10300}, {323, 0x10401}, {367, 0x1051E}, {368, 0},
                        {369, 0x10600}, {380, 0x10703}, {407, 0x10911}, {414, 0x10B02},
                        {415, 0x20001}, {416, 0x20311}, {421, 0x20316}, {422, 0x20600}};
  for (const Case& c : cases) EXPECT_EQ(set->records[c.record].id, c.id) << c.record;
  for (const ItemRecord& r : set->records) {
    EXPECT_EQ(r.length, 0u);
    for (uint8_t b : r.data) ASSERT_EQ(b, 0);
  }
  EXPECT_EQ(set->lastSpeedDialId, 0x1213Fu);
  EXPECT_EQ(set->endItemId, 0x20600u);
  EXPECT_EQ(sizeof(set->records), kImageSize);
  EXPECT_EQ(kImageSize, 111672u);
}

TEST(TransferImage, EveryIdIsUniqueApartFromTheRecordWithoutId) {
  auto set = NewSet();
  for (int i = 0; i < kRecordCount; ++i) {
    EXPECT_EQ(FindRecord(*set, set->records[i].id), i == 368 ? 368 : i);
  }
}

TEST(TransferImage, EveryIdFindsItsRecordAndNoOtherIdFindsOne) {
  auto set = NewSet();
  for (int i = 0; i < kRecordCount; ++i) {
    EXPECT_EQ(RecordIndexOfId(set->records[i].id), i) << i;
    EXPECT_EQ(FindRecord(*set, set->records[i].id), i) << i;
  }
  // Ids next to the image's blocks, the information block and the ends of
  // the id ranges name no record.
  for (uint32_t id : {0x11FFFu, 0x12020u, 0x1204Fu, 0x12140u, 0x1000Eu, 0x10FFFu, 0x20002u,
                      0x20310u, 0x20317u, 0x21002u, 0x20FFFu, 0x30000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(RecordIndexOfId(id), -1) << std::hex << id;
    EXPECT_EQ(FindRecord(*set, id), -1) << std::hex << id;
  }
  EXPECT_EQ(FindSettingItem(0x10009)->id, 0x10009u);
  EXPECT_EQ(FindSettingItem(0x12000), nullptr) << "a dial record is no setting";
}

TEST(TransferImage, PackSetsDialLengthsFromTheIndexField) {
  auto set = NewSet();
  PackTransferImage(*set);
  for (int i = 0; i < kDialRecordCount; ++i) EXPECT_EQ(set->records[i].length, 0u) << i;
  set->OneTouchEntry(4)[0] = 5;
  set->SpeedDialEntry(239)[0] = 240;
  set->SpeedDialEntry(239)[1] = 0x80;
  PackTransferImage(*set);
  EXPECT_EQ(set->records[4].length, 152u);
  EXPECT_EQ(set->records[32 + 239].length, 118u);
  EXPECT_EQ(set->records[32 + 239].data[1], 0x80);
  // A Speed Dial whose index field has only the high byte set counts as unused.
  set->SpeedDialEntry(0)[1] = 0x80;
  PackTransferImage(*set);
  EXPECT_EQ(set->records[32].length, 0u);
}

TEST(TransferImage, PackChangesOnlyTheThreeFixedSettingLengths) {
  auto set = NewSet();
  const int regionRecord = FindRecord(*set, kRegionCodeId);
  set->records[regionRecord].length = 1;
  SetSetting(*set, kRegionCodeId, 3);
  SetSetting(*set, 0x10001, 0xA1B2C3D4);
  PackTransferImage(*set);
  for (int i = kFirstSettingRecord; i < kRecordCount; ++i) {
    const uint32_t id = set->records[i].id;
    uint32_t expected = 0;
    if (id == 0x10302) expected = 100;
    if (id == 0x10303) expected = 150;
    if (id == 0x10906) expected = 72;
    if (i == regionRecord) expected = 1;
    EXPECT_EQ(set->records[i].length, expected) << std::hex << id;
  }
  EXPECT_EQ(set->records[regionRecord].data[0], 3);
  const int r = FindRecord(*set, 0x10001);
  EXPECT_EQ(GetU32(set->records[r].data), 0xA1B2C3D4u);
}

TEST(TransferImage, AccountCountersAreThreeByteNumbers) {
  auto set = NewSet();
  const int r = FindRecord(*set, kAccountCountersId);
  set->records[r].length = 150;
  set->records[r].data[0] = 0x01;
  set->records[r].data[1] = 0x02;
  set->records[r].data[2] = 0x03;
  set->records[r].data[147] = 0xFF;
  UnpackTransferImage(*set);
  EXPECT_EQ(set->settings.accountCounters[0], 0x030201u);
  EXPECT_EQ(set->settings.accountCounters[49], 0xFFu);
  std::memset(set->records[r].data, 0, 150);
  set->settings.accountCounters[1] = 0x7F123456;  // only the low three bytes travel
  PackTransferImage(*set);
  const uint8_t expected[] = {0x01, 0x02, 0x03, 0x56, 0x34, 0x12};
  EXPECT_EQ(0, std::memcmp(set->records[r].data, expected, sizeof expected));
  EXPECT_EQ(set->records[r].data[147], 0xFF);
}

TEST(TransferImage, UnpackAndPackRoundTripEverySettingsItem) {
  auto set = NewSet();
  for (int i = kFirstSettingRecord; i < kRecordCount; ++i) {
    ItemRecord& rec = set->records[i];
    const SettingItem& item = kSettingItems[i - kFirstSettingRecord];
    rec.length = item.width;
    // Plain ASCII so that the texts are untouched by the character tables.
    for (int b = 0; b < item.width; ++b) rec.data[b] = static_cast<uint8_t>('A' + (i + b) % 26);
  }
  const auto before = std::make_unique<DataSet>(*set);
  UnpackTransferImage(*set);
  EXPECT_EQ(GetSetting(*set, 0x10107), GetU16(before->records[FindRecord(*set, 0x10107)].data));
  EXPECT_EQ(std::strlen(SettingText(*set, kMachineNameId)), 36u);
  for (int i = kFirstSettingRecord; i < kRecordCount; ++i)
    std::memset(set->records[i].data, 0, 256);
  PackTransferImage(*set);
  for (int i = kFirstSettingRecord; i < kRecordCount; ++i) {
    const uint32_t id = set->records[i].id;
    const SettingItem& item = kSettingItems[i - kFirstSettingRecord];
    if (id >= kFirstCounterId && id <= kLastCounterId) {
      EXPECT_EQ(set->records[i].data[0], 0) << "counters are never written back";
      continue;
    }
    EXPECT_EQ(0, std::memcmp(set->records[i].data, before->records[i].data, item.width))
        << std::hex << id;
  }
}

TEST(TransferImage, ConvertedTextsTravelInTheMachineCharacterSet) {
  auto set = NewSet();
  const int r = FindRecord(*set, kMachineNameId);
  set->records[r].length = 36;
  set->records[r].data[0] = 0x82;  // machine é
  set->records[r].data[1] = 'x';
  UnpackTransferImage(*set);
  EXPECT_STREQ(SettingText(*set, kMachineNameId), "\xE9x");
  PackTransferImage(*set);
  EXPECT_EQ(set->records[r].data[0], 0x82);
  EXPECT_STREQ(SettingText(*set, kMachineNameId), "\xE9x") << "working value stays PC text";
}

TEST(TransferImage, DialTablesOnlyUnpackLeavesSettingsAlone) {
  auto set = NewSet();
  SetSetting(*set, kRegionCodeId, 7);
  const int r = FindRecord(*set, kRegionCodeId);
  set->records[r].data[0] = 2;
  set->records[3].length = 152;
  set->records[3].data[0] = 4;
  set->dialTablesOnly = true;
  UnpackTransferImage(*set);
  EXPECT_FALSE(set->dialTablesOnly);
  EXPECT_EQ(GetSetting(*set, kRegionCodeId), 7u);
  EXPECT_EQ(set->OneTouchEntry(3)[0], 4);
  UnpackTransferImage(*set);
  EXPECT_EQ(GetSetting(*set, kRegionCodeId), 2u);
}

TEST(TransferImage, UnpackCopiesAbsentDialRecordsAndMarksKitsForAddressBooks) {
  auto set = NewSet();
  set->records[40].length = kNoData;
  set->records[40].data[0] = 9;
  set->addressBookOnly = true;
  UnpackTransferImage(*set);
  EXPECT_EQ(set->SpeedDialEntry(8)[0], 9);
  EXPECT_EQ(set->machineInfo[6], 1);
  EXPECT_EQ(set->machineInfo[7], 1);
  set->addressBookOnly = false;
  set->machineInfo[6] = 0;
  UnpackTransferImage(*set);
  EXPECT_EQ(set->machineInfo[6], 0);
}

struct StreamItem {
  uint32_t id;
  uint32_t length;
};

std::vector<StreamItem> WalkStream(const std::vector<uint8_t>& stream) {
  std::vector<StreamItem> items;
  ByteReader reader(stream.data(), stream.size());
  uint32_t id, length;
  while (reader.ReadU32(id) && reader.ReadU32(length)) {
    items.push_back({id, length});
    if (length != kNoData) {
      EXPECT_TRUE(reader.Skip(length));
    }
  }
  EXPECT_TRUE(reader.AtEnd());
  return items;
}

TEST(ItemStream, FullStreamLeavesOutTheCounters) {
  auto set = NewSet();
  set->records[0].length = 152;
  set->records[1].length = kNoData;
  std::vector<uint8_t> stream(kImageSize);
  stream.resize(WriteItemStream(*set, stream.data(), stream.size()));
  EXPECT_EQ(stream.size(), 417u * 8 + 152);
  const auto items = WalkStream(stream);
  ASSERT_EQ(items.size(), 417u);
  EXPECT_EQ(items[1].length, kNoData);
  EXPECT_EQ(items[415].id, 0x20001u);
  EXPECT_EQ(items[416].id, 0x20600u);
}

TEST(ItemStream, UploadPackingLeavesOutMachineValuesOnce) {
  auto set = NewSet();
  set->uploadPacking = true;
  std::vector<uint8_t> stream(kImageSize);
  stream.resize(WriteItemStream(*set, stream.data(), stream.size()));
  const auto items = WalkStream(stream);
  EXPECT_EQ(items.size(), 415u);
  for (const auto& item : items) {
    EXPECT_NE(item.id, 0x20000u);
    EXPECT_NE(item.id, 0x20001u);
  }
  EXPECT_FALSE(set->uploadPacking);
}

TEST(ItemStream, AddressBookOnlyStopsAfterTheLastSpeedDial) {
  auto set = NewSet();
  set->addressBookOnly = true;
  set->uploadPacking = true;
  set->records[271].length = 118;
  std::vector<uint8_t> stream(kImageSize);
  stream.resize(WriteItemStream(*set, stream.data(), stream.size()));
  const auto items = WalkStream(stream);
  ASSERT_EQ(items.size(), 272u);
  EXPECT_EQ(items.back().id, 0x1213Fu);
  EXPECT_FALSE(set->uploadPacking);
  // An absent last Speed Dial does not end the stream.
  set->records[271].length = kNoData;
  stream.assign(kImageSize, 0);
  stream.resize(WriteItemStream(*set, stream.data(), stream.size()));
  EXPECT_EQ(WalkStream(stream).size(), 417u);
}

TEST(ItemStream, RefusesABufferTooSmall) {
  auto set = NewSet();
  std::vector<uint8_t> stream(100);
  EXPECT_EQ(WriteItemStream(*set, stream.data(), stream.size()), 0u);
}

TEST(ItemStream, IdListPairsEveryIdWithZero) {
  auto set = NewSet();
  std::vector<uint8_t> out(kItemIdListSize + 4, 0xEE);
  EXPECT_EQ(WriteItemIdList(*set, out.data()), 3384u);
  EXPECT_EQ(GetU32(&out[0]), 0x12000u);
  EXPECT_EQ(GetU32(&out[4]), 0u);
  EXPECT_EQ(GetU32(&out[368 * 8]), 0u);
  EXPECT_EQ(GetU32(&out[422 * 8]), 0x20600u);
  EXPECT_EQ(out[3384], 0xEE);
}

TEST(SettingsValues, AccessorsHonourWidths) {
  auto set = NewSet();
  SetSetting(*set, 0x10107, 0x12345);
  EXPECT_EQ(GetSetting(*set, 0x10107), 0x2345u);
  SetSetting(*set, 0x10000, 0x1FF);
  EXPECT_EQ(GetSetting(*set, 0x10000), 0xFFu);
  EXPECT_EQ(GetSetting(*set, 0x10001), 0u) << "neighbour untouched";
  EXPECT_EQ(SettingText(*set, 0x10000), nullptr);
  EXPECT_NE(SettingText(*set, 0x10906), nullptr);
  EXPECT_EQ(FindSettingItem(0x99999), nullptr);
  EXPECT_LE(kSettingsValuesSize, sizeof(SettingsValues::bytes));
}

}  // namespace
}  // namespace odc
