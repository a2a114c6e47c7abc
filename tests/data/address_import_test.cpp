#include "setup/data/address_import.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/data/dial_codec.h"
#include "setup/data/document.h"
#include "tests/data/file_fixtures.h"

namespace odc {
namespace {

using fixtures::AppendItem;
using fixtures::DialId;
using fixtures::WrapStream;

std::unique_ptr<DataSet> NewSet() { return std::make_unique<DataSet>(); }
std::unique_ptr<ImportBuffers> NewBuffers() { return std::make_unique<ImportBuffers>(); }

std::vector<uint8_t> Cmc(size_t size) {
  std::vector<uint8_t> file(size, 0);
  std::memcpy(file.data(), "CMC", 3);
  return file;
}

void Put(std::vector<uint8_t>& file, size_t at, std::initializer_list<uint8_t> bytes) {
  std::copy(bytes.begin(), bytes.end(), file.begin() + at);
}
void PutText(std::vector<uint8_t>& file, size_t at, const char* text) {
  std::memcpy(file.data() + at, text, std::strlen(text));
}

constexpr size_t kT1OneTouch = kType1HeaderSize;
constexpr size_t kT1SpeedDial = kType1HeaderSize + 27 * 128;
constexpr size_t kT2OneTouch = kType2HeaderSize;
constexpr size_t kT2SpeedDial = kType2HeaderSize + 27 * 150;

// Format 1: key 1 e-mail (TX size code 9), key 2 fax, key 3 a Group dial,
// key 4 a program, Speed Dial 1 fax, Speed Dial 2 with too many digits,
// Speed Dial 200 e-mail.
std::vector<uint8_t> Type1File() {
  std::vector<uint8_t> f = Cmc(kType1FileSize);
  size_t r = kT1OneTouch;
  Put(f, r, {kFlagEmail | kFlagOneTouchEntry, 5, 0, 2});
  PutText(f, r + 4, "Ml");
  PutU16(&f[r + 24], 0x3A21);
  Put(f, r + 28, {1, 9, 2, 1});
  PutText(f, r + 32, "a@b.c");
  r += 128;
  Put(f, r, {kFlagFax | kFlagOneTouchEntry | kFlagBatchTime, 4, 0, 3});
  PutText(f, r + 4, "Fax");
  PutU16(&f[r + 26], 28832);
  Put(f, r + 28, {3, 2, 1, 0x21, 0x43});
  Put(f, r + 46, {0x65});
  Put(f, r + 56, {0x07});
  r += 128;
  Put(f, r, {kFlagGroup, 2, 0, 2});
  PutText(f, r + 4, "Gr");
  Put(f, r + 28, {8, 2, 4, 1});
  r += 128;
  Put(f, r, {kFlagProgram | kFlagOneTouchEntry | kFlagFax, 3, 0, 1});
  size_t s = kT1SpeedDial;
  Put(f, s, {kFlagFax | kFlagSpeedDial, 3, 1});
  PutText(f, s + 3, "S");
  Put(f, s + 26, {2, 0, 0, 0x21, 0x03});
  s += 94;
  Put(f, s, {kFlagFax | kFlagSpeedDial, 31, 1});
  PutText(f, s + 3, "X");
  s = kT1SpeedDial + 199 * 94;
  Put(f, s, {kFlagEmail | kFlagSpeedDial, 5, 1});
  PutText(f, s + 3, "E");
  Put(f, s + 26, {1, 9, 1, 2});
  PutText(f, s + 30, "x@y.z");
  return f;
}

// Format 2: key 1 fax (flags 0x42), key 2 a Group dial (0x80), key 3 e-mail
// (0x41), Speed Dial 1 e-mail (0x21), Speed Dial 2 fax with the e-mail bit
// too (0x23: the fax bit wins).
std::vector<uint8_t> Type2File(size_t size = 20000) {
  std::vector<uint8_t> f = Cmc(size);
  size_t r = kT2OneTouch;
  Put(f, r, {3, 0x42});
  PutU16(&f[r + 2], 28832);
  Put(f, r + 4, {1, 0x07});
  Put(f, r + 15, {2, 0x65});
  Put(f, r + 26, {2});
  PutText(f, r + 27, "Tw");
  Put(f, r + 47, {4});
  PutU16(&f[r + 48], 0x3A21);
  Put(f, r + 50, {0x21, 0x03});
  r += 150;
  Put(f, r, {2, 0x80});
  Put(f, r + 26, {1});
  PutText(f, r + 27, "G");
  Put(f, r + 47, {8, 1, 4, 2});
  r += 150;
  Put(f, r, {5, 0x41});
  Put(f, r + 4, {1});
  PutText(f, r + 5, "E");
  Put(f, r + 25, {2});
  PutText(f, r + 28, "m@n.o");
  size_t s = kT2SpeedDial;
  Put(f, s, {5, 0x21, 1});
  PutText(f, s + 3, "Q");
  Put(f, s + 23, {1});
  PutText(f, s + 26, "q@r.s");
  s += 90;
  Put(f, s, {2, 0x23});
  Put(f, s + 24, {1});
  PutText(f, s + 25, "B");
  Put(f, s + 45, {3});
  Put(f, s + 48, {0x21});
  return f;
}

// A data set with entries everywhere the imports must replace.
std::unique_ptr<DataSet> OldSet() {
  auto set = NewSet();
  std::vector<uint8_t> stream;
  for (int r = 0; r < kDialRecordCount; ++r) {
    std::vector<uint8_t> data;
    if (r < kOneTouchCount && r != 2) data = fixtures::OneTouchEmail(r);
    if (r == 2) data = fixtures::OneTouchGroup(2);
    if (r >= kOneTouchCount) data = fixtures::SpeedDialFax(r - kOneTouchCount);
    AppendItem(stream, DialId(r), data);
  }
  const std::vector<uint8_t> file = WrapStream(stream);
  EXPECT_EQ(ReadDataFileBytes(*set, file.data(), file.size()), 1);
  UnpackTransferImage(*set);
  return set;
}

int Import(DataSet& set, ImportBuffers& buffers, const std::vector<uint8_t>& file) {
  return ImportAddressBookBytes(set, buffers, file.data(), file.size());
}

TEST(ImportFormat, ChosenByTheFirstBytesAndTheSize) {
  EXPECT_EQ(ImportFormatOf(Cmc(20001).data(), 20001), 1);
  EXPECT_EQ(ImportFormatOf(Cmc(20000).data(), 20000), 2);
  EXPECT_EQ(ImportFormatOf(Cmc(3).data(), 3), 2);
  EXPECT_EQ(ImportFormatOf(Cmc(3).data(), 2), 0);
  EXPECT_EQ(ImportFormatOf(DefaultDataSetBytes().data(), 2248), 3);
}

TEST(DetectImportFile, FilesTooShortForTheirBlocksAreUnusable) {
  const std::vector<uint8_t> type2 = Type2File();
  struct Case {
    std::vector<uint8_t> file;
    int expected;
  };
  const Case cases[] = {
      {Cmc(20001), 0},  // format 1 by size, but its blocks need 22,345 bytes
      {Cmc(kType1FileSize - 1), 0},
      {Type1File(), 1},
      {Type2File(20000), 2},
      {std::vector<uint8_t>(type2.begin(), type2.begin() + kType2FileSize), 2},
      {std::vector<uint8_t>(type2.begin(), type2.begin() + kType2FileSize - 1), 0},
      {Cmc(3), 0},
      {{'C', 'M'}, 0},
      {{}, 0},
  };
  for (const Case& c : cases) {
    auto set = OldSet();
    auto buffers = NewBuffers();
    std::memset(reinterpret_cast<uint8_t*>(buffers.get()), 0x6B, sizeof(ImportBuffers));
    const std::vector<uint8_t> recordsBefore(
        reinterpret_cast<const uint8_t*>(set->records),
        reinterpret_cast<const uint8_t*>(set->records) + sizeof set->records);
    const int result = DetectImportFileBytes(*set, *buffers, c.file.data(), c.file.size());
    EXPECT_EQ(result, c.expected) << c.file.size();
    EXPECT_EQ(std::memcmp(set->records, recordsBefore.data(), recordsBefore.size()), 0);
    if (result == 0) {
      const uint8_t* raw = reinterpret_cast<const uint8_t*>(buffers.get());
      for (size_t i = 0; i < sizeof(ImportBuffers); ++i) ASSERT_EQ(raw[i], 0x6B) << i;
    }
  }
}

// The tables are the truth after an import of any format: the image's dial
// records follow them, so a cancelled dialog's unpack, Save and Upload keep
// the imported entries, and an edit made afterwards is not undone by
// anything the views do.
TEST(ImportAddressBook, TheImageFollowsTheConvertedTables) {
  for (int format : {1, 2, 3}) {
    auto set = OldSet();
    auto buffers = NewBuffers();
    const std::vector<uint8_t> file = format == 1   ? Type1File()
                                      : format == 2 ? Type2File()
                                                    : fixtures::MakeFullFile().bytes;
    ASSERT_EQ(Import(*set, *buffers, file), format);
    for (int r = 0; r < kDialRecordCount; ++r) {
      const uint8_t* entry =
          r < kOneTouchCount ? set->OneTouchEntry(r) : set->SpeedDialEntry(r - kOneTouchCount);
      const size_t size = r < kOneTouchCount ? kOneTouchEntrySize : kSpeedDialEntrySize;
      ASSERT_EQ(std::memcmp(set->records[r].data, entry, size), 0) << format << " record " << r;
      EXPECT_EQ(set->records[r].length, entry[0] != 0 ? size : 0u) << format << " record " << r;
    }
    // Delete key 2 as the views do, then unpack as a cancelled dialog does.
    DisplayRecord empty{};
    PackOneTouch(*set, empty, 1);
    PackTransferImage(*set);
    UnpackTransferImage(*set);
    EXPECT_EQ(set->OneTouchEntry(1)[2], 0) << format;
    DisplayRecord shown;
    UnpackOneTouch(shown, *set, 1);
    EXPECT_EQ(shown.inUse, 0) << format;
  }
}

TEST(ImportAddressBook, Format1ReplacesEveryDialEntry) {
  auto set = OldSet();
  auto buffers = NewBuffers();
  ASSERT_EQ(Import(*set, *buffers, Type1File()), 1);
  EXPECT_FALSE(set->importMarker);

  DisplayRecord rec;
  ConvertType1OneTouch(rec, *buffers, *set, 0);
  EXPECT_EQ(rec.inUse, 1);
  EXPECT_EQ(rec.kind, kKindEmail);
  EXPECT_STREQ(rec.email, "a@b.c");
  EXPECT_STREQ(rec.name, "Ml");
  EXPECT_EQ(rec.emailOptions[1], 2);  // TX size code 9
  EXPECT_EQ(rec.registrationDate, 0x3A21);
  EXPECT_EQ(GetU16(set->OneTouchEntry(0)), 1);

  ConvertType1OneTouch(rec, *buffers, *set, 1);
  EXPECT_EQ(rec.kind, kKindFax);
  EXPECT_STREQ(rec.number, "1234");
  EXPECT_STREQ(rec.sub, "56");
  EXPECT_STREQ(rec.sid, "7");
  EXPECT_STREQ(rec.batchHour, "14");
  EXPECT_STREQ(rec.batchMinute, "05");
  EXPECT_EQ(rec.speedIndex, 1);

  ConvertType1Group(rec, *buffers, *set, 2);
  EXPECT_EQ(rec.entryType, kEntryGroup);
  EXPECT_EQ(rec.memberCount, 2);
  EXPECT_STREQ(rec.name, "Gr");
  EXPECT_EQ(rec.members[0].kind, kMemberOneTouch);
  EXPECT_EQ(rec.members[0].index, 1);
  EXPECT_EQ(rec.members[1].kind, kMemberSpeedDial);
  EXPECT_EQ(rec.members[1].index, 0);

  // A program of another machine is not imported; nor is a record that
  // breaks a limit; keys and Speed Dials the file has no record for are
  // empty, whatever they held before.
  for (int key : {3, 27, 28, 31}) {
    ConvertType1OneTouch(rec, *buffers, *set, key);
    EXPECT_EQ(rec.inUse, 0) << key;
    for (size_t i = 0; i < kOneTouchEntrySize; ++i) ASSERT_EQ(set->OneTouchEntry(key)[i], 0);
  }
  ConvertType1SpeedDial(rec, *buffers, *set, 0);
  EXPECT_STREQ(rec.number, "123");
  EXPECT_EQ(GetU16(set->SpeedDialEntry(0)), 0x8001);
  ConvertType1SpeedDial(rec, *buffers, *set, 199);
  EXPECT_STREQ(rec.email, "x@y.z");
  EXPECT_EQ(rec.emailOptions[1], 2);
  for (int index : {1, 200, 220, 239}) {
    ConvertType1SpeedDial(rec, *buffers, *set, index);
    EXPECT_EQ(rec.inUse, 0) << index;
    UnpackSpeedDial(rec, *set, index);
    EXPECT_EQ(rec.inUse, 0) << index;
  }
  // Packed, the data set holds exactly the imported entries.
  PackTransferImage(*set);
  int used = 0;
  for (int r = 0; r < kDialRecordCount; ++r) used += set->records[r].length != 0;
  EXPECT_EQ(used, 5);
}

TEST(ImportAddressBook, TxSizeFollowsTheInchPaperFlag) {
  struct Case {
    uint8_t code;
    uint8_t metric;
    uint8_t inch;
  };
  const Case cases[] = {{1, 1, 1}, {2, 2, 1}, {9, 2, 1}, {12, 0, 0}, {0, 0, 0}, {7, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(TranslateTxSize(c.code, false), c.metric) << int(c.code);
    EXPECT_EQ(TranslateTxSize(c.code, true), c.inch) << int(c.code);
  }
  for (uint32_t variant = 0; variant < 7; ++variant) {
    auto set = NewSet();
    SetSetting(*set, kMachineVariantId, variant);
    auto buffers = NewBuffers();
    ASSERT_EQ(Import(*set, *buffers, Type1File()), 1);
    DisplayRecord rec;
    ConvertType1OneTouch(rec, *buffers, *set, 0);
    const bool inch = variant == 1 || variant == 5;
    EXPECT_EQ(rec.emailOptions[1], inch ? 1 : 2) << variant;
    EXPECT_EQ(set->OneTouchEntry(0)[31], inch ? 1 : 2) << variant;
  }
}

TEST(ImportAddressBook, Format2TranslatesFlagsAndLayouts) {
  struct FlagCase {
    uint8_t type2;
    uint8_t entry;
  };
  const FlagCase flags[] = {{0x80, 0x80}, {0x02, 0x02}, {0x01, 0x01}, {0x03, 0x02},
                            {0x40, 0x08}, {0x20, 0x04}, {0x60, 0x08}, {0x08, 0x40},
                            {0x42, 0x0A}, {0x21, 0x05}, {0x14, 0x00}, {0xFF, 0xCA}};
  for (const FlagCase& c : flags) EXPECT_EQ(TranslateType2Flags(c.type2), c.entry) << int(c.type2);

  auto set = OldSet();
  auto buffers = NewBuffers();
  ASSERT_EQ(Import(*set, *buffers, Type2File()), 2);
  DisplayRecord rec;
  ConvertType2OneTouch(rec, *buffers, *set, 0);
  EXPECT_EQ(set->OneTouchEntry(0)[2], 0x0A);
  EXPECT_EQ(rec.entryType, kEntryOneTouch);
  EXPECT_STREQ(rec.number, "123");
  EXPECT_STREQ(rec.name, "Tw");
  EXPECT_STREQ(rec.sub, "56");
  EXPECT_STREQ(rec.sid, "7");
  EXPECT_EQ(rec.speedIndex, 2);
  EXPECT_EQ(rec.registrationDate, 0x3A21);
  ConvertType2Group(rec, *buffers, *set, 1);
  EXPECT_EQ(rec.entryType, kEntryGroup);
  EXPECT_STREQ(rec.name, "G");
  EXPECT_EQ(rec.members[1].kind, kMemberSpeedDial);
  EXPECT_EQ(rec.members[1].index, 1);
  ConvertType2OneTouch(rec, *buffers, *set, 2);
  EXPECT_STREQ(rec.email, "m@n.o");
  EXPECT_EQ(rec.emailOptions[0], 0);
  EXPECT_EQ(rec.emailOptions[3], 2);
  ConvertType2SpeedDial(rec, *buffers, *set, 0);
  EXPECT_EQ(set->SpeedDialEntry(0)[2], 0x05);
  EXPECT_EQ(rec.entryType, kEntrySpeedDial);
  EXPECT_STREQ(rec.email, "q@r.s");
  ConvertType2SpeedDial(rec, *buffers, *set, 1);
  EXPECT_EQ(rec.kind, kKindFax);
  EXPECT_STREQ(rec.number, "12");
  EXPECT_STREQ(rec.name, "B");
  for (int index : {2, 99, 100, 239}) {
    ConvertType2SpeedDial(rec, *buffers, *set, index);
    EXPECT_EQ(rec.inUse, 0) << index;
  }
}

TEST(ImportAddressBook, ConvertersRejectOutOfRangeIndexes) {
  auto set = OldSet();
  auto buffers = NewBuffers();
  ASSERT_EQ(Import(*set, *buffers, Type1File()), 1);
  DisplayRecord rec;
  std::memset(&rec, 0x33, sizeof rec);
  ConvertType1OneTouch(rec, *buffers, *set, 32);
  EXPECT_EQ(rec.inUse, 0);
  ConvertType2Group(rec, *buffers, *set, -1);
  ConvertType1SpeedDial(rec, *buffers, *set, 240);
  EXPECT_EQ(rec.inUse, 0);
}

TEST(ImportAddressBook, Format3TakesOnlyTheDialRecords) {
  const fixtures::FullFile full = fixtures::MakeFullFile();
  auto set = NewSet();
  Document doc;
  NewDataSet(*set, doc);
  set->addressBookOnly = false;
  for (int r = kFirstSettingRecord; r < kRecordCount; ++r) set->records[r].length = 1;
  std::memset(set->machineInfo, 0x44, kMachineInfoSize);
  SetSetting(*set, kRegionCodeId, 7);
  std::vector<uint8_t> settingsBefore(
      reinterpret_cast<const uint8_t*>(set->records + kFirstSettingRecord),
      reinterpret_cast<const uint8_t*>(set->records + kRecordCount));

  auto buffers = NewBuffers();
  set->importMarker = true;
  ASSERT_EQ(Import(*set, *buffers, full.bytes), 3);
  EXPECT_FALSE(set->importMarker);
  EXPECT_EQ(std::vector<uint8_t>(set->OneTouchEntry(0), set->OneTouchEntry(0) + 152),
            fixtures::OneTouchFax(0));
  EXPECT_EQ(std::vector<uint8_t>(set->SpeedDialEntry(239), set->SpeedDialEntry(239) + 118),
            fixtures::SpeedDialFax(239));
  EXPECT_EQ(
      std::memcmp(set->records + kFirstSettingRecord, settingsBefore.data(), settingsBefore.size()),
      0);
  EXPECT_EQ(set->machineInfo[0], 0x44);
  EXPECT_EQ(GetSetting(*set, kRegionCodeId), 7u);
}

TEST(ImportAddressBook, Format3StopsAtTheFirstSettingsItem) {
  std::vector<uint8_t> stream;
  AppendItem(stream, kRegionCodeId, {5});
  AppendItem(stream, 0x12000, fixtures::OneTouchFax(0));
  auto set = OldSet();
  const std::vector<uint8_t> before(
      reinterpret_cast<const uint8_t*>(set->records),
      reinterpret_cast<const uint8_t*>(set->records) + sizeof set->records);
  std::vector<uint8_t> tables(set->oneTouch, set->oneTouch + kOneTouchTableSize);
  auto buffers = NewBuffers();
  ASSERT_EQ(Import(*set, *buffers, WrapStream(stream)), 3);
  EXPECT_EQ(std::memcmp(set->records, before.data(), before.size()), 0);
  EXPECT_EQ(std::vector<uint8_t>(set->oneTouch, set->oneTouch + kOneTouchTableSize), tables);
}

// A settings data file cut at every length: an import either takes whole
// dial records or is refused with nothing changed.
TEST(ImportAddressBook, Format3CutAtEveryLengthOrOverlong) {
  const fixtures::FullFile full = fixtures::MakeFullFile();
  auto set = OldSet();
  auto buffers = NewBuffers();
  const std::vector<uint8_t> before(
      reinterpret_cast<const uint8_t*>(set->records),
      reinterpret_cast<const uint8_t*>(set->records) + sizeof set->records);
  for (size_t cut = 0; cut < full.afterLastSpeedDial; ++cut) {
    for (bool patchLength : {false, true}) {
      std::vector<uint8_t> file(full.bytes.begin(), full.bytes.begin() + cut);
      if (patchLength && cut >= 72) PutU32(&file[68], static_cast<uint32_t>(cut - 72));
      ASSERT_EQ(DetectImportFileBytes(*set, *buffers, file.data(), file.size()), 0) << cut;
      ASSERT_EQ(std::memcmp(set->records, before.data(), before.size()), 0) << cut;
    }
  }
  std::vector<uint8_t> stream;
  AppendItem(stream, 0x12000, std::vector<uint8_t>(257, 0));
  const std::vector<uint8_t> overlong = WrapStream(stream);
  EXPECT_EQ(DetectImportFileBytes(*set, *buffers, overlong.data(), overlong.size()), 0);
  EXPECT_EQ(std::memcmp(set->records, before.data(), before.size()), 0);
}

TEST(ImportAddressBook, FailedImportChangesNothing) {
  const std::string dir =
      (std::filesystem::path(::testing::TempDir()) / "odc_import_failed").string();
  std::filesystem::create_directories(dir);
  auto set = OldSet();
  auto buffers = NewBuffers();
  std::vector<uint8_t> tables(set->oneTouch, set->oneTouch + kOneTouchTableSize);
  tables.insert(tables.end(), set->speedDial, set->speedDial + kSpeedDialTableSize);
  std::vector<uint8_t> badSignature = DefaultDataSetBytes();
  badSignature[3] = 'x';
  const std::string path = dir + "/bad.dat";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(badSignature.data()), badSignature.size());

  for (const std::string& p : {path, dir + "/missing.dat"}) {
    EXPECT_EQ(ImportAddressBook(*set, *buffers, p), 0);
    EXPECT_EQ(DataOriginAfterImport(0), 3);
    EXPECT_FALSE(set->importMarker);
    std::vector<uint8_t> now(set->oneTouch, set->oneTouch + kOneTouchTableSize);
    now.insert(now.end(), set->speedDial, set->speedDial + kSpeedDialTableSize);
    EXPECT_EQ(now, tables);
  }
  EXPECT_EQ(Import(*set, *buffers, Cmc(20001)), 0);
  std::vector<uint8_t> now(set->oneTouch, set->oneTouch + kOneTouchTableSize);
  now.insert(now.end(), set->speedDial, set->speedDial + kSpeedDialTableSize);
  EXPECT_EQ(now, tables);
}

}  // namespace
}  // namespace odc
