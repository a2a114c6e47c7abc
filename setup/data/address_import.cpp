// Address-book import: detection of the three formats, the format-3 walk,
// and the converters of the two "CMC" formats.
#include "setup/data/address_import.h"

#include <cstring>
#include <memory>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/data/file_io.h"

namespace odc {

ImportBuffers::ImportBuffers() { std::memset(this, 0, sizeof *this); }

int ImportFormatOf(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 3) return 0;
  if (std::memcmp(data, "CMC", 3) != 0) return 3;
  return size > kType2MaxFileSize ? 1 : 2;
}

namespace {

int FindDialRecord(const DataSet& set, uint32_t id) {
  const int index = FindRecord(set, id);
  return index < kDialRecordCount ? index : -1;
}

// Only the dial records of a settings data file are taken: the first item
// that is not a dial record, or the last Speed Dial, ends the walk, so the
// settings and the information block are never read. The stream is checked
// whole before the first record changes (a bad file changes nothing), then
// walked again into the image.
bool WalkDialItems(DataSet& set, const uint8_t* stream, size_t length, bool apply) {
  ByteReader reader(stream, length);
  for (;;) {
    uint32_t id = 0;
    uint32_t itemLength = 0;
    if (!reader.ReadU32(id) || !reader.ReadU32(itemLength)) return false;
    const int index = FindDialRecord(set, id);
    if (index < 0) return true;
    if (itemLength != kNoData && itemLength > kRecordDataSize) return false;
    const bool hasData = itemLength != 0 && itemLength != kNoData;
    if (hasData && reader.remaining() < itemLength) return false;
    if (apply) {
      set.records[index].length = itemLength;
      if (hasData) std::memcpy(set.records[index].data, reader.current(), itemLength);
    }
    if (hasData) reader.Skip(itemLength);
    if (id == set.lastSpeedDialId) return true;
  }
}

int WalkDialRecords(DataSet& set, const uint8_t* data, size_t size, const char* signature) {
  const uint8_t* stream = nullptr;
  size_t length = 0;
  if (!FindItemStream(data, size, signature, stream, length)) return 0;
  if (!WalkDialItems(set, stream, length, false)) return 0;
  WalkDialItems(set, stream, length, true);
  return 3;
}

}  // namespace

int DetectImportFileBytes(DataSet& set, ImportBuffers& buffers, const uint8_t* data, size_t size,
                          const char* signature) {
  switch (ImportFormatOf(data, size)) {
    case 1: {
      if (size < kType1FileSize) return 0;
      const uint8_t* block = data + kType1HeaderSize;
      const size_t oneTouchSize = kType1OneTouchRecords * kType1OneTouchRecordSize;
      std::memset(buffers.type1OneTouch, 0, sizeof buffers.type1OneTouch);
      std::memset(buffers.type1SpeedDial, 0, sizeof buffers.type1SpeedDial);
      std::memcpy(buffers.type1OneTouch, block, oneTouchSize);
      std::memcpy(buffers.type1SpeedDial, block + oneTouchSize,
                  kType1SpeedDialRecords * kType1SpeedDialRecordSize);
      return 1;
    }
    case 2: {
      if (size < kType2FileSize) return 0;
      const uint8_t* block = data + kType2HeaderSize;
      const size_t oneTouchSize = kType2OneTouchRecords * kType2OneTouchRecordSize;
      std::memset(buffers.type2OneTouch, 0, sizeof buffers.type2OneTouch);
      std::memset(buffers.type2SpeedDial, 0, sizeof buffers.type2SpeedDial);
      std::memcpy(buffers.type2OneTouch, block, oneTouchSize);
      std::memcpy(buffers.type2SpeedDial, block + oneTouchSize,
                  kType2SpeedDialRecords * kType2SpeedDialRecordSize);
      return 2;
    }
    case 3:
      return WalkDialRecords(set, data, size, signature);
    default:
      return 0;
  }
}

int DetectImportFile(DataSet& set, ImportBuffers& buffers, const std::string& path,
                     const char* signature) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return 0;
  return DetectImportFileBytes(set, buffers, bytes.data(), bytes.size(), signature);
}

uint8_t TranslateTxSize(uint8_t code, bool inchPaper) {
  switch (code) {
    case 1:
      return 1;
    case 2:
    case 9:
      return inchPaper ? 1 : 2;
    default:  // 12 and every unknown code
      return 0;
  }
}

uint8_t TranslateType2Flags(uint8_t flags) {
  uint8_t entry = 0;
  if (flags & 0x80) entry |= kFlagGroup;
  if (flags & 0x02) {
    entry |= kFlagFax;
  } else if (flags & 0x01) {
    entry |= kFlagEmail;
  }
  if (flags & 0x40) {
    entry |= kFlagOneTouchEntry;
  } else if (flags & 0x20) {
    entry |= kFlagSpeedDial;
  }
  if (flags & 0x08) entry |= kFlagProgram;
  return entry;
}

namespace {

enum class Shape { Email, Fax, Group };

// How a One Touch entry with these flags is read, as the codec reads it.
Shape OneTouchShape(uint8_t flags) {
  if (flags & kFlagEmail) return Shape::Email;
  if (flags < kFlagGroup || (flags & kFlagOneTouchEntry)) return Shape::Fax;
  return Shape::Group;
}

Shape SpeedDialShape(uint8_t flags) { return (flags & kFlagEmail) ? Shape::Email : Shape::Fax; }

constexpr int kMaxName = 20;
constexpr int kMaxDigits = 30;
constexpr int kMaxSubSid = 20;
constexpr int kMaxAddress = 64;

// The limits the codec applies, checked on the built entry before it goes
// into the table. Program keys of another machine mean nothing here and are
// not imported.
// An e-mail address must be as long as its stored length says: one with a
// NUL inside would be cut short on the way to the machine.
bool AddressIntact(const uint8_t* address, uint8_t count) {
  return std::memchr(address, 0, count) == nullptr;
}

bool OneTouchEntryUsable(const uint8_t* e) {
  const uint8_t flags = e[2];
  const uint8_t count = e[3];
  if (count == 0 || flags == 0 || (flags & kFlagProgram)) return false;
  if (e[5] > kMaxName) return false;
  switch (OneTouchShape(flags)) {
    case Shape::Email:
      return count <= kMaxAddress && AddressIntact(e + 34, count);
    case Shape::Fax:
      return count <= kMaxDigits && e[31] <= kMaxSubSid && e[32] <= kMaxSubSid;
    case Shape::Group:
      return count <= kMaxGroupMembers;
  }
  return false;
}

bool SpeedDialEntryUsable(const uint8_t* e) {
  const uint8_t flags = e[2];
  const uint8_t count = e[3];
  if (count == 0 || flags == 0 || e[4] > kMaxName) return false;
  if (SpeedDialShape(flags) == Shape::Email) {
    return count <= kMaxAddress && AddressIntact(e + 32, count);
  }
  return count <= kMaxDigits && e[29] <= kMaxSubSid && e[30] <= kMaxSubSid;
}

bool InchPaper(const DataSet& set) { return InchPaperVariant(GetSetting(set, kMachineVariantId)); }

// Format 1 One Touch record (128 bytes) -> One Touch entry (152 bytes).
void BuildType1OneTouch(uint8_t* e, const uint8_t* r, bool inchPaper) {
  const uint8_t flags = r[0];
  e[2] = flags;
  e[3] = r[1];
  e[4] = r[2];
  e[5] = r[3];
  std::memcpy(e + 6, r + 4, 20);
  std::memcpy(e + 26, r + 24, 2);
  switch (OneTouchShape(flags)) {
    case Shape::Email:
      e[30] = r[28];
      e[31] = TranslateTxSize(r[29], inchPaper);
      e[32] = r[30];
      e[33] = r[31];
      std::memcpy(e + 34, r + 32, 64);
      break;
    case Shape::Fax:
      std::memcpy(e + 28, r + 26, 2);
      e[30] = r[28];
      e[31] = r[29];
      e[32] = r[30];
      std::memcpy(e + 33, r + 31, 15);
      std::memcpy(e + 58, r + 46, 10);
      std::memcpy(e + 68, r + 56, 10);
      break;
    case Shape::Group:
      // The members lie two bytes earlier in the record than in the entry.
      std::memcpy(e + 28, r + 26, 2);
      std::memcpy(e + 30, r + 28, 100);
      break;
  }
}

// Format 2 One Touch record (150 bytes) -> One Touch entry.
void BuildType2OneTouch(uint8_t* e, const uint8_t* r) {
  const uint8_t flags = TranslateType2Flags(r[1]);
  e[2] = flags;
  e[3] = r[0];
  switch (OneTouchShape(flags)) {
    case Shape::Email:
      std::memcpy(e + 28, r + 2, 2);
      e[5] = r[4];
      std::memcpy(e + 6, r + 5, 20);
      e[33] = r[25];
      std::memcpy(e + 26, r + 26, 2);
      std::memcpy(e + 34, r + 28, 64);
      break;
    case Shape::Fax:
      std::memcpy(e + 28, r + 2, 2);
      e[32] = r[4];
      std::memcpy(e + 68, r + 5, 10);
      e[31] = r[15];
      std::memcpy(e + 58, r + 16, 10);
      e[5] = r[26];
      std::memcpy(e + 6, r + 27, 20);
      e[30] = r[47];
      std::memcpy(e + 26, r + 48, 2);
      std::memcpy(e + 33, r + 50, 15);
      break;
    case Shape::Group:
      e[5] = r[26];
      std::memcpy(e + 6, r + 27, 20);
      std::memcpy(e + 30, r + 47, 100);
      break;
  }
}

// Format 1 Speed Dial record (94 bytes) -> Speed Dial entry (118 bytes).
void BuildType1SpeedDial(uint8_t* e, const uint8_t* r, bool inchPaper) {
  const uint8_t flags = r[0];
  e[2] = flags;
  e[3] = r[1];
  e[4] = r[2];
  std::memcpy(e + 5, r + 3, 20);
  std::memcpy(e + 26, r + 24, 2);
  if (SpeedDialShape(flags) == Shape::Email) {
    e[28] = r[26];
    e[29] = TranslateTxSize(r[27], inchPaper);
    e[30] = r[28];
    e[31] = r[29];
    std::memcpy(e + 32, r + 30, 64);
  } else {
    e[28] = r[26];
    e[29] = r[27];
    e[30] = r[28];
    std::memcpy(e + 31, r + 29, 15);
    std::memcpy(e + 56, r + 44, 10);
    std::memcpy(e + 66, r + 54, 10);
  }
}

// Format 2 Speed Dial record (90 bytes) -> Speed Dial entry.
void BuildType2SpeedDial(uint8_t* e, const uint8_t* r) {
  const uint8_t flags = TranslateType2Flags(r[1]);
  e[2] = flags;
  e[3] = r[0];
  if (SpeedDialShape(flags) == Shape::Email) {
    e[4] = r[2];
    std::memcpy(e + 5, r + 3, 20);
    e[31] = r[23];
    std::memcpy(e + 26, r + 24, 2);
    std::memcpy(e + 32, r + 26, 64);
  } else {
    e[30] = r[2];
    std::memcpy(e + 66, r + 3, 10);
    e[29] = r[13];
    std::memcpy(e + 56, r + 14, 10);
    e[4] = r[24];
    std::memcpy(e + 5, r + 25, 20);
    e[28] = r[45];
    std::memcpy(e + 26, r + 46, 2);
    std::memcpy(e + 31, r + 48, 15);
  }
}

enum class View { OneTouch, Group };

// Puts the built entry (or, when it cannot be used, an empty one) into the
// table.
void StoreOneTouch(DataSet& set, int key, const uint8_t* built) {
  uint8_t* entry = set.OneTouchEntry(key);
  std::memset(entry, 0, kOneTouchEntrySize);
  if (OneTouchEntryUsable(built)) {
    std::memcpy(entry, built, kOneTouchEntrySize);
    PutU16(entry, static_cast<uint16_t>(key + 1));
  }
}

void StoreSpeedDial(DataSet& set, int index, const uint8_t* built) {
  uint8_t* entry = set.SpeedDialEntry(index);
  std::memset(entry, 0, kSpeedDialEntrySize);
  if (SpeedDialEntryUsable(built)) {
    std::memcpy(entry, built, kSpeedDialEntrySize);
    PutU16(entry, static_cast<uint16_t>((index + 1) | 0x8000));
  }
}

// The entry of a "CMC" record, as it goes into the table.
void BuildOneTouch(uint8_t* built, const ImportBuffers& buffers, int format, int key,
                   bool inchPaper) {
  std::memset(built, 0, kOneTouchEntrySize);
  if (format == 1) {
    BuildType1OneTouch(built, buffers.type1OneTouch + key * kType1OneTouchRecordSize, inchPaper);
  } else {
    BuildType2OneTouch(built, buffers.type2OneTouch + key * kType2OneTouchRecordSize);
  }
}

void BuildSpeedDial(uint8_t* built, const ImportBuffers& buffers, int format, int index,
                    bool inchPaper) {
  std::memset(built, 0, kSpeedDialEntrySize);
  if (format == 1) {
    BuildType1SpeedDial(built, buffers.type1SpeedDial + index * kType1SpeedDialRecordSize,
                        inchPaper);
  } else {
    BuildType2SpeedDial(built, buffers.type2SpeedDial + index * kType2SpeedDialRecordSize);
  }
}

bool ValidKey(int key) { return key >= 0 && key < kOneTouchCount; }
bool ValidSpeedDial(int index) { return index >= 0 && index < kSpeedDialCount; }

// The converters: the table entry is refreshed from the import record and
// the codec reads it back, so the display record follows the same rules as
// for any other entry.
void ConvertOneTouch(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set, int key,
                     int format, View view) {
  std::memset(&record, 0, sizeof record);
  if (!ValidKey(key)) return;
  uint8_t built[kOneTouchEntrySize];
  BuildOneTouch(built, buffers, format, key, InchPaper(set));
  StoreOneTouch(set, key, built);
  if (view == View::OneTouch) {
    UnpackOneTouch(record, set, key);
  } else {
    UnpackGroup(record, set, key);
  }
}

void ConvertSpeedDial(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set, int index,
                      int format) {
  std::memset(&record, 0, sizeof record);
  if (!ValidSpeedDial(index)) return;
  uint8_t built[kSpeedDialEntrySize];
  BuildSpeedDial(built, buffers, format, index, InchPaper(set));
  StoreSpeedDial(set, index, built);
  UnpackSpeedDial(record, set, index);
}

// A "CMC" address book becomes the working tables once, at the import: from
// then on the tables are the truth, so every later edit stays made.
void ConvertAddressBook(DataSet& set, const ImportBuffers& buffers, int format) {
  const bool inchPaper = InchPaper(set);
  uint8_t built[kOneTouchEntrySize];
  for (int key = 0; key < kOneTouchCount; ++key) {
    BuildOneTouch(built, buffers, format, key, inchPaper);
    StoreOneTouch(set, key, built);
  }
  for (int index = 0; index < kSpeedDialCount; ++index) {
    BuildSpeedDial(built, buffers, format, index, inchPaper);
    StoreSpeedDial(set, index, built);
  }
  // No program key comes in from another machine's address book.
  std::memset(set.programKeyStates, 0, sizeof set.programKeyStates);
}

}  // namespace

void ConvertType1OneTouch(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                          int key) {
  ConvertOneTouch(record, buffers, set, key, 1, View::OneTouch);
}

void ConvertType1Group(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set, int key) {
  ConvertOneTouch(record, buffers, set, key, 1, View::Group);
}

void ConvertType1SpeedDial(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                           int index) {
  ConvertSpeedDial(record, buffers, set, index, 1);
}

void ConvertType2OneTouch(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                          int key) {
  ConvertOneTouch(record, buffers, set, key, 2, View::OneTouch);
}

void ConvertType2Group(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set, int key) {
  ConvertOneTouch(record, buffers, set, key, 2, View::Group);
}

void ConvertType2SpeedDial(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                           int index) {
  ConvertSpeedDial(record, buffers, set, index, 2);
}

int ImportAddressBookBytes(DataSet& set, ImportBuffers& buffers, const uint8_t* data, size_t size) {
  const bool marker = set.importMarker;
  set.importMarker = true;
  const int format = DetectImportFileBytes(set, buffers, data, size);
  if (format == 0) {
    set.importMarker = marker;
    return 0;
  }
  set.dialTablesOnly = true;
  UnpackTransferImage(set);
  if (format == 1 || format == 2) {
    ConvertAddressBook(set, buffers, format);
  } else {
    CheckDialTables(set);
  }
  // The image's dial records follow the tables, so that a later unpack (a
  // cancelled dialog or settings sheet) keeps the imported entries.
  PackDialTables(set);
  // Left set, the marker would strip the program flag from the first
  // program key of whatever data set is opened next.
  set.importMarker = false;
  return format;
}

int ImportAddressBook(DataSet& set, ImportBuffers& buffers, const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return 0;
  return ImportAddressBookBytes(set, buffers, bytes.data(), bytes.size());
}

}  // namespace odc
