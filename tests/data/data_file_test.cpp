#include "setup/data/data_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/data/dial_codec.h"
#include "setup/data/document.h"
#include "setup/data/file_io.h"
#include "tests/data/file_fixtures.h"

namespace odc {
namespace {

namespace fs = std::filesystem;
using fixtures::AppendItem;
using fixtures::AppendItemLength;
using fixtures::DialId;
using fixtures::WrapStream;

std::unique_ptr<DataSet> NewSet() { return std::make_unique<DataSet>(); }

// Everything a failed read must leave alone.
struct Snapshot {
  std::vector<uint8_t> records;
  std::vector<uint8_t> machineInfo;
  bool addressBookOnly;
  explicit Snapshot(const DataSet& set)
      : records(reinterpret_cast<const uint8_t*>(set.records),
                reinterpret_cast<const uint8_t*>(set.records) + sizeof set.records),
        machineInfo(set.machineInfo, set.machineInfo + kMachineInfoSize),
        addressBookOnly(set.addressBookOnly) {}
  bool operator==(const Snapshot& o) const {
    return records == o.records && machineInfo == o.machineInfo &&
           addressBookOnly == o.addressBookOnly;
  }
};

// A data set that differs from everything the tests read into it.
std::unique_ptr<DataSet> LoadedSet() {
  auto set = NewSet();
  set->records[5].length = 152;
  std::memset(set->records[5].data, 0x5A, 152);
  set->records[300].length = 1;
  set->records[300].data[0] = 0x77;
  for (size_t i = 0; i < kMachineInfoSize; ++i) set->machineInfo[i] = static_cast<uint8_t>(i);
  set->addressBookOnly = true;
  return set;
}

int Read(DataSet& set, const std::vector<uint8_t>& file) {
  return ReadDataFileBytes(set, file.data(), file.size());
}

std::vector<uint8_t> Header(const std::string& text) {
  std::vector<uint8_t> header(kSignatureSize, 0);
  std::memcpy(header.data(), text.data(), std::min(text.size(), kSignatureSize));
  return header;
}

std::string TempDir(const char* name) {
  const fs::path dir = fs::path(::testing::TempDir()) / ("odc_data_file_" + std::string(name));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

void WriteRaw(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::vector<uint8_t> ReadRaw(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
  return bytes;
}

TEST(CheckSignature, AcceptsAndRejectsHeaders) {
  const std::string pipes(38, '|');
  struct Case {
    std::string header;
    bool terminated;
    int expected;
  };
  const Case cases[] = {
      {"CMDCODE002|ODC|BRAMWYN|ALL", true, 1},
      {"CMDCODE002|ODC|BRAMWYN", true, 0},                // fields missing
      {"CMDCODE002|ODC|BRAMWYX|ALL", true, 0},            // wrong device family
      {"CMDCODE002X|ODC|BRAMWYN|ALL", true, 1},           // prefix comparison
      {"|CMDCODE002||ODC|BRAMWYN|ALL|", true, 1},         // empty fields skipped
      {"CMDCODE002|ODC|BRAMWYN|ALL|MORE", true, 0},       // one field too many
      {"cmdcode002|ODC|BRAMWYN|ALL", true, 0},            // case matters
      {"CMDCODE0021234567890|ODC|BRAMWYN|ALL", true, 0},  // 20 characters in a field
      {"CMDCODE002123456789|ODC|BRAMWYN|ALL", true, 1},   // 19 are allowed
      {"", true, 0},
      // Four good fields, but no NUL anywhere in the 64 bytes.
      {"CMDCODE002|ODC|BRAMWYN|ALL" + pipes, false, 0},
      {"CMDCODE002|ODC|BRAMWYN|ALL" + pipes.substr(1), true, 1},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> header = Header(c.header);
    ASSERT_EQ(std::memchr(header.data(), 0, kSignatureSize) == nullptr, !c.terminated) << c.header;
    EXPECT_EQ(CheckSignature(header.data()), c.expected) << c.header;
  }
  // More than 50 fields is rejected even against an expectation that large.
  std::string many;
  for (int i = 0; i < 51; ++i) many += "A|";
  std::vector<uint8_t> header = Header("A|A|A");
  EXPECT_EQ(CheckSignature(header.data(), many.c_str()), 0);
  EXPECT_EQ(CheckSignature(header.data(), "A|A|A"), 1);
}

TEST(DefaultDataSet, IsTheEmptyAddressBookFile) {
  const std::vector<uint8_t>& bytes = DefaultDataSetBytes();
  ASSERT_EQ(bytes.size(), 2248u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), kSignature);
  EXPECT_EQ(GetU32(&bytes[64]), 258u);
  EXPECT_EQ(GetU32(&bytes[68]), 2176u);
  for (int r = 0; r < kDialRecordCount; ++r) {
    EXPECT_EQ(GetU32(&bytes[72 + r * 8]), DialId(r));
    EXPECT_EQ(GetU32(&bytes[76 + r * 8]), 0u);
  }

  auto set = LoadedSet();
  set->addressBookOnly = false;
  const std::vector<uint8_t> info(set->machineInfo, set->machineInfo + kMachineInfoSize);
  BuildTransferImage(*set);
  ASSERT_EQ(LoadDefaultDataSet(*set), 1);
  EXPECT_TRUE(set->addressBookOnly);
  for (const ItemRecord& r : set->records) EXPECT_EQ(r.length, 0u);
  EXPECT_EQ(std::vector<uint8_t>(set->machineInfo, set->machineInfo + 80), info);
}

// New reads the resource module's default data set when it has a usable
// one, and the built-in one otherwise.
TEST(DefaultDataSet, NewTakesTheResourceModulesDefaultDataSet) {
  auto source = std::make_unique<DataSet>();
  ASSERT_EQ(LoadDefaultDataSet(*source), 1);
  source->addressBookOnly = true;
  UnpackTransferImage(*source);
  DisplayRecord entry{};
  entry.inUse = 1;
  entry.entryType = kEntryOneTouch;
  std::strcpy(entry.name, "Maison");
  std::strcpy(entry.number, "1234");
  PackOneTouch(*source, entry, 0);
  PackTransferImage(*source);
  const std::vector<uint8_t> own = DataFileBytes(*source);
  std::vector<uint8_t> broken = own;
  broken[0] ^= 0xFF;  // the signature no longer matches

  struct Case {
    const std::vector<uint8_t>* file;
    bool keyOneUsed;
  };
  const Case cases[] = {{&own, true}, {&broken, false}, {nullptr, false}};
  for (const Case& c : cases) {
    auto set = LoadedSet();
    Document doc;
    const uint8_t* bytes = c.file != nullptr ? c.file->data() : nullptr;
    const size_t size = c.file != nullptr ? c.file->size() : 0;
    ASSERT_EQ(NewDataSet(*set, doc, bytes, size), 1);
    EXPECT_TRUE(set->addressBookOnly);
    DisplayRecord key;
    UnpackOneTouch(key, *set, 0);
    EXPECT_EQ(key.inUse != 0, c.keyOneUsed) << (c.file == &own ? "own" : "fallback");
    if (c.keyOneUsed) {
      EXPECT_STREQ(key.name, "Maison");
    }
    for (int s = 0; s < kSpeedDialCount; ++s) ASSERT_EQ(set->SpeedDialEntry(s)[0], 0) << s;
  }
}

// Save asks for a name while the file name is the one New gave, whatever the
// language module calls it.
TEST(DefaultDataSet, AFileNamedAsNewNamedItNeedsAName) {
  struct Case {
    std::string path, display;
    bool needsName;
  };
  const Case cases[] = {{"NewFile.Dat", "NewFile.Dat", true},
                        {"NouveauFichier.Dat", "NouveauFichier.Dat", true},
                        {"C:\\data\\NewFile.Dat", "NewFile.Dat", false},
                        {"/home/tech/office.DAT", "office.DAT", false}};
  for (const Case& c : cases) {
    Document doc;
    doc.filePath = c.path;
    doc.displayName = c.display;
    EXPECT_EQ(NeedsFileName(doc), c.needsName) << c.path;
  }
}

TEST(DefaultDataSet, NewThenSaveWritesExactlyTheDefaultFile) {
  auto set = LoadedSet();
  Document doc;
  doc.filePath = "somewhere.dat";
  doc.dataOrigin = 1;
  ASSERT_EQ(NewDataSet(*set, doc), 1);
  EXPECT_EQ(doc.dataLoaded, 1);
  EXPECT_EQ(doc.filePath, kDefaultFileName);
  EXPECT_EQ(doc.displayName, kDefaultFileName);
  EXPECT_EQ(doc.dataOrigin, 3);
  EXPECT_TRUE(NeedsFileName(doc));
  EXPECT_TRUE(set->addressBookOnly);
  // Without machine data the PCL printer kit and the NIC kit count as there.
  EXPECT_EQ(set->machineInfo[6], 1);
  EXPECT_EQ(set->machineInfo[7], 1);
  PackTransferImage(*set);
  EXPECT_EQ(DataFileBytes(*set), DefaultDataSetBytes());
}

TEST(DataFile, FullFileRoundTripsByteForByte) {
  const fixtures::FullFile full = fixtures::MakeFullFile();
  const std::string dir = TempDir("roundtrip");
  const std::string in = dir + "/machine.dat";
  const std::string out = dir + "/copy.DAT";
  WriteRaw(in, full.bytes);

  auto set = NewSet();
  Document doc;
  NewDataSet(*set, doc);
  ASSERT_EQ(OpenDataSet(*set, doc, in), 1);
  EXPECT_FALSE(set->addressBookOnly);
  EXPECT_EQ(doc.filePath, in);
  EXPECT_EQ(doc.displayName, "machine.dat");
  EXPECT_EQ(std::vector<uint8_t>(set->machineInfo, set->machineInfo + 80), full.machineInfo);
  // Every kind of entry came through to the working tables.
  EXPECT_EQ(std::vector<uint8_t>(set->OneTouchEntry(2), set->OneTouchEntry(2) + 152),
            fixtures::OneTouchGroup(2));
  EXPECT_EQ(std::vector<uint8_t>(set->OneTouchEntry(29), set->OneTouchEntry(29) + 152),
            fixtures::OneTouchProgram(29));
  EXPECT_EQ(set->programKeyStates[1], 1);
  EXPECT_EQ(std::vector<uint8_t>(set->SpeedDialEntry(1), set->SpeedDialEntry(1) + 118),
            fixtures::SpeedDialEmail(1));

  ASSERT_EQ(SaveDataSet(*set, doc, out), 1);
  EXPECT_EQ(doc.filePath, out);
  EXPECT_EQ(doc.displayName, "copy.DAT");
  EXPECT_EQ(ReadRaw(out), full.bytes);
  EXPECT_FALSE(fs::exists(TemporaryPathFor(out)));
}

TEST(DataFile, AddressBookFileEndsWithTheLastSpeedDial) {
  auto set = NewSet();
  Document doc;
  NewDataSet(*set, doc);
  std::vector<uint8_t> fax = fixtures::SpeedDialFax(239);
  std::memcpy(set->SpeedDialEntry(239), fax.data(), fax.size());
  PackTransferImage(*set);
  const std::vector<uint8_t> file = DataFileBytes(*set);
  ASSERT_EQ(file.size(), 2248u + 118u);
  EXPECT_EQ(GetU32(&file[file.size() - 126]), 0x1213Fu);
  EXPECT_EQ(GetU32(&file[file.size() - 122]), 118u);

  auto back = LoadedSet();
  back->addressBookOnly = false;
  BuildTransferImage(*back);
  ASSERT_EQ(Read(*back, file), 1);
  EXPECT_TRUE(back->addressBookOnly);
  EXPECT_EQ(back->records[271].length, 118u);
  EXPECT_EQ(std::memcmp(back->records[271].data, fax.data(), 118), 0);
}

TEST(DataFile, UnusableFilesAreRejectedAndChangeNothing) {
  const std::vector<uint8_t> good = DefaultDataSetBytes();
  std::vector<uint8_t> cmc = good;
  std::memcpy(cmc.data(), "CMC", 3);
  std::vector<uint8_t> badSignature = good;
  badSignature[12] = 'X';
  std::vector<uint8_t> stream;
  AppendItem(stream, 0x12000, std::vector<uint8_t>(257, 1));
  const std::vector<uint8_t> tooLong = WrapStream(stream);
  stream.clear();
  AppendItem(stream, 0x77777, std::vector<uint8_t>(257, 1));  // unknown id, too long
  const std::vector<uint8_t> unknownTooLong = WrapStream(stream);
  stream.clear();
  AppendItemLength(stream, 0x12000, 200);  // data promised, not there
  const std::vector<uint8_t> pastEnd = WrapStream(stream);
  stream.clear();
  AppendItemLength(stream, 0x99999, 0x7FFFFFF0);  // stepping over runs off the end
  const std::vector<uint8_t> skipPastEnd = WrapStream(stream);
  std::vector<uint8_t> hugeN = good;
  PutU32(&hugeN[68], 0xFFFFFFFF);
  stream.clear();
  for (int r = 0; r < 10; ++r) AppendItem(stream, DialId(r), {});  // ends before any stop
  const std::vector<uint8_t> noStop = WrapStream(stream);

  struct Case {
    const char* name;
    std::vector<uint8_t> file;
  };
  const Case cases[] = {
      {"empty", {}},
      {"cmc", cmc},
      {"signature", badSignature},
      {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 64)},
      {"no stream length", std::vector<uint8_t>(good.begin(), good.begin() + 70)},
      {"item over 256", tooLong},
      {"unknown item over 256", unknownTooLong},
      {"data past the end", pastEnd},
      {"step past the end", skipPastEnd},
      {"stream length past the end", hugeN},
      {"no stop", noStop},
  };
  for (const Case& c : cases) {
    auto set = LoadedSet();
    const Snapshot before(*set);
    EXPECT_EQ(Read(*set, c.file), 0) << c.name;
    EXPECT_TRUE(Snapshot(*set) == before) << c.name;
  }
  auto set = NewSet();
  EXPECT_EQ(ReadDataFile(*set, TempDir("missing") + "/none.dat"), 0);
}

// A full file cut at every length, once with its stream length left as it
// was (the file is then shorter than it claims) and once with the stream
// length matching the cut (the stream itself ends early).
TEST(DataFile, FullFileCutAtEveryLength) {
  const fixtures::FullFile full = fixtures::MakeFullFile();
  auto reference = NewSet();
  ASSERT_EQ(Read(*reference, full.bytes), 1);

  auto set = LoadedSet();
  auto before = std::make_unique<Snapshot>(*set);
  for (size_t cut = 0; cut < full.bytes.size(); ++cut) {
    for (bool patchLength : {false, true}) {
      std::vector<uint8_t> file(full.bytes.begin(), full.bytes.begin() + cut);
      if (patchLength && cut >= 72) PutU32(&file[68], static_cast<uint32_t>(cut - 72));
      const int result = Read(*set, file);
      // Only two cuts leave a readable file: right behind the last Speed
      // Dial (an address book) and anywhere behind the end item (the
      // information block is then incomplete and is kept as it was).
      const bool readable =
          patchLength && (cut == full.afterLastSpeedDial || cut >= full.afterEndItem);
      ASSERT_EQ(result, readable ? 1 : 0) << cut << " " << patchLength;
      if (!readable) {
        ASSERT_TRUE(Snapshot(*set) == *before) << cut;
        continue;
      }
      const int records = cut == full.afterLastSpeedDial ? kDialRecordCount : kRecordCount;
      EXPECT_EQ(set->addressBookOnly, cut == full.afterLastSpeedDial);
      for (int r = 0; r < records; ++r) {
        const ItemRecord& got = set->records[r];
        const ItemRecord& want = reference->records[r];
        ASSERT_EQ(got.length, want.length) << r;
        if (got.length != kNoData) {
          ASSERT_EQ(std::memcmp(got.data, want.data, got.length), 0) << r;
        }
      }
      EXPECT_TRUE(
          std::equal(before->machineInfo.begin(), before->machineInfo.end(), set->machineInfo));
      set = LoadedSet();
      before = std::make_unique<Snapshot>(*set);
    }
  }
}

TEST(DataFile, InformationBlockItemVariants) {
  const fixtures::FullFile full = fixtures::MakeFullFile();
  const std::vector<uint8_t> stream(full.bytes.begin() + 72,
                                    full.bytes.begin() + full.afterEndItem);
  struct Case {
    const char* name;
    uint32_t id;
    std::vector<uint8_t> data;
    int expectedFrom;  // bytes of the block taken from the item
  };
  const Case cases[] = {
      {"80 bytes", kMachineInfoId, std::vector<uint8_t>(80, 0xEE), 80},
      {"shorter", kMachineInfoId, std::vector<uint8_t>(10, 0xEE), 10},
      {"longer than the block", kMachineInfoId, std::vector<uint8_t>(81, 0xEE), 0},
      {"longer than a record", kMachineInfoId, std::vector<uint8_t>(300, 0xEE), 0},
      {"another item", 0x12000, std::vector<uint8_t>(80, 0xEE), 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> s = stream;
    AppendItem(s, c.id, c.data);
    auto set = LoadedSet();
    ASSERT_EQ(Read(*set, WrapStream(s)), 1) << c.name;
    for (int i = 0; i < 80; ++i) {
      ASSERT_EQ(set->machineInfo[i], i < c.expectedFrom ? 0xEE : i) << c.name << " " << i;
    }
  }
}

TEST(DataFile, UnknownAndAbsentItems) {
  std::vector<uint8_t> stream;
  AppendItem(stream, 0x55555, std::vector<uint8_t>(256, 0x42));  // not in the image
  AppendItemLength(stream, 0x66666, kNoData);                    // not in the image, no data
  for (int r = 0; r < kDialRecordCount; ++r) {
    if (r == 7) {
      AppendItemLength(stream, DialId(r), kNoData);
    } else {
      AppendItem(stream, DialId(r), {});
    }
  }
  auto set = NewSet();
  auto reference = NewSet();
  ASSERT_EQ(Read(*set, WrapStream(stream)), 1);
  EXPECT_TRUE(set->addressBookOnly);
  EXPECT_EQ(set->records[7].length, kNoData);
  set->records[7].length = 0;
  EXPECT_EQ(std::memcmp(set->records, reference->records, sizeof set->records), 0);
}

TEST(DataFile, EndItemWithoutDataStopsAndReadsTheBlock) {
  const fixtures::FullFile full = fixtures::MakeFullFile();
  std::vector<uint8_t> stream(full.bytes.begin() + 72, full.bytes.begin() + full.afterEndItem);
  stream.resize(stream.size() - 12);  // drop {0x20600, 4, value}
  AppendItemLength(stream, kAdminNumberId, kNoData);
  AppendItem(stream, kMachineInfoId, std::vector<uint8_t>(80, 0x31));
  auto set = NewSet();
  ASSERT_EQ(Read(*set, WrapStream(stream)), 1);
  EXPECT_FALSE(set->addressBookOnly);
  EXPECT_EQ(set->records[422].length, kNoData);
  EXPECT_EQ(set->machineInfo[79], 0x31);
}

TEST(DataFile, FailedWritesLeaveThePreviousFile) {
  const std::string dir = TempDir("failed_save");
  const std::string target = dir + "/keep.dat";
  const std::vector<uint8_t> previous = fixtures::MakeFullFile().bytes;
  WriteRaw(target, previous);
  auto set = NewSet();
  Document doc;
  NewDataSet(*set, doc);

  // The temporary file cannot be created: something is in its way.
  fs::create_directory(TemporaryPathFor(target));
  fs::path blocker = fs::path(TemporaryPathFor(target)) / "inside";
  WriteRaw(blocker.string(), {1, 2, 3});
  EXPECT_EQ(SaveDataSet(*set, doc, target), 0);
  EXPECT_EQ(ReadRaw(target), previous);
  EXPECT_EQ(doc.filePath, kDefaultFileName);
  EXPECT_EQ(doc.displayName, kDefaultFileName);
  EXPECT_TRUE(fs::exists(blocker));
  fs::remove_all(TemporaryPathFor(target));

  // The target is a folder: the replacement fails after the write.
  const std::string folder = dir + "/folder.dat";
  fs::create_directory(folder);
  WriteRaw(folder + "/content", {9});
  EXPECT_EQ(WriteDataFile(*set, folder), 0);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(ReadRaw(folder + "/content"), std::vector<uint8_t>{9});
  EXPECT_FALSE(fs::exists(TemporaryPathFor(folder)));

  // The folder does not exist.
  EXPECT_EQ(WriteDataFile(*set, dir + "/no/such/folder.dat"), 0);

  // And a write that can succeed replaces the file completely.
  ASSERT_EQ(SaveDataSet(*set, doc, target), 1);
  EXPECT_EQ(ReadRaw(target), DefaultDataSetBytes());
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target)));
}

TEST(Document, FailedOpenKeepsTheDataSetAndTheDocument) {
  const std::string dir = TempDir("failed_open");
  const fixtures::FullFile full = fixtures::MakeFullFile();
  const std::string good = dir + "/good.dat";
  WriteRaw(good, full.bytes);
  const std::string bad = dir + "/bad.dat";
  WriteRaw(bad, std::vector<uint8_t>(full.bytes.begin(), full.bytes.end() - 100));

  auto set = NewSet();
  Document doc;
  NewDataSet(*set, doc);
  ASSERT_EQ(OpenDataSet(*set, doc, good), 1);
  const Snapshot before(*set);
  std::vector<uint8_t> tables(set->oneTouch, set->oneTouch + kOneTouchTableSize);
  tables.insert(tables.end(), set->speedDial, set->speedDial + kSpeedDialTableSize);
  const Document docBefore = doc;

  for (const std::string& path : {bad, dir + "/missing.dat"}) {
    EXPECT_EQ(OpenDataSet(*set, doc, path), 0) << path;
    EXPECT_TRUE(Snapshot(*set) == before);
    std::vector<uint8_t> now(set->oneTouch, set->oneTouch + kOneTouchTableSize);
    now.insert(now.end(), set->speedDial, set->speedDial + kSpeedDialTableSize);
    EXPECT_EQ(now, tables);
    EXPECT_EQ(doc.filePath, docBefore.filePath);
    EXPECT_EQ(doc.displayName, docBefore.displayName);
    EXPECT_EQ(doc.dataLoaded, 1);
  }
  EXPECT_FALSE(NeedsFileName(doc));
  EXPECT_STREQ(kFileFormatErrorMessage, "File format is error! Please select valid format!");
}

TEST(Document, DisplayNameIsTheFileNameWithExtension) {
  EXPECT_EQ(DisplayNameOf("C:\\Data\\VM40\\office.DAT"), "office.DAT");
  EXPECT_EQ(DisplayNameOf("/home/tech/office.dat"), "office.dat");
  EXPECT_EQ(DisplayNameOf("office.dat"), "office.dat");
}

}  // namespace
}  // namespace odc
