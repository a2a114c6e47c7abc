// Address-book import: the two "CMC" address-book formats of the earlier
// machines (formats 1 and 2) and settings data files (format 3), and the
// conversion of "CMC" records into One Touch and Speed Dial entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/data/data_file.h"
#include "setup/data/data_set.h"
#include "setup/data/dial_codec.h"

namespace odc {

// A "CMC" file larger than this is format 1, otherwise format 2.
constexpr size_t kType2MaxFileSize = 20000;

constexpr size_t kType1HeaderSize = 3 + 86;
constexpr int kType1OneTouchRecords = 27;
constexpr size_t kType1OneTouchRecordSize = 128;
constexpr int kType1SpeedDialRecords = 200;
constexpr size_t kType1SpeedDialRecordSize = 94;
constexpr size_t kType1FileSize = kType1HeaderSize +
                                  kType1OneTouchRecords * kType1OneTouchRecordSize +
                                  kType1SpeedDialRecords * kType1SpeedDialRecordSize;  // 22,345

constexpr size_t kType2HeaderSize = 3 + 88;
constexpr int kType2OneTouchRecords = 27;
constexpr size_t kType2OneTouchRecordSize = 150;
constexpr int kType2SpeedDialRecords = 100;
constexpr size_t kType2SpeedDialRecordSize = 90;
constexpr size_t kType2FileSize = kType2HeaderSize +
                                  kType2OneTouchRecords * kType2OneTouchRecordSize +
                                  kType2SpeedDialRecords * kType2SpeedDialRecordSize;  // 13,141

// The blocks of the last "CMC" file imported, in the file's own layout. Every
// key and Speed Dial of the tables has a record here; those the file has no
// record for stay zero and convert as empty. Owned by the application state
// (about 53 KB: keep it on the heap).
struct ImportBuffers {
  uint8_t type1OneTouch[kOneTouchCount * kType1OneTouchRecordSize];
  uint8_t type1SpeedDial[kSpeedDialCount * kType1SpeedDialRecordSize];
  uint8_t type2OneTouch[kOneTouchCount * kType2OneTouchRecordSize];
  uint8_t type2SpeedDial[kSpeedDialCount * kType2SpeedDialRecordSize];

  ImportBuffers();
};

// The format a file claims by its first bytes and size, before anything is
// read: 1 or 2 for "CMC", 3 otherwise, 0 for a file of fewer than 3 bytes.
int ImportFormatOf(const uint8_t* data, size_t size);

// Reads an import file. 1 and 2: the file's blocks are now in `buffers`.
// 3: the dial records of the settings data file are in the transfer image
// (its settings and information block are never read). 0: the file cannot
// be used, and neither `set` nor `buffers` has changed.
int DetectImportFileBytes(DataSet& set, ImportBuffers& buffers, const uint8_t* data, size_t size,
                          const char* signature = kSignature);
int DetectImportFile(DataSet& set, ImportBuffers& buffers, const std::string& path,
                     const char* signature = kSignature);

// The inch-paper flag of a machine variant code (item 0x20001).
inline bool InchPaperVariant(uint32_t variantCode) { return variantCode == 1 || variantCode == 5; }

// The entry dialog's TX size option for a "CMC" TX size code.
uint8_t TranslateTxSize(uint8_t code, bool inchPaper);

// The entry flags of a format-2 flags byte.
uint8_t TranslateType2Flags(uint8_t flags);

// Converters: each rebuilds the table entry of `index` from the import
// record and fills `record` as the codec's unpack of that view would. A
// record that is empty, program-flagged or breaks a length limit leaves the
// entry empty and `record` cleared. The inch-paper flag comes from the
// machine variant code in the settings values of `set`. Each overwrites the
// table entry, edits and all: the views read the tables, never these.
void ConvertType1OneTouch(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                          int key);
void ConvertType1SpeedDial(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                           int index);
void ConvertType1Group(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set, int key);
void ConvertType2OneTouch(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                          int key);
void ConvertType2SpeedDial(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set,
                           int index);
void ConvertType2Group(DisplayRecord& record, const ImportBuffers& buffers, DataSet& set, int key);

// The import once the user has confirmed and chosen the file: reads it and
// replaces the dial tables. A "CMC" address book is converted into the tables
// here, once; the dial records of the image then follow the tables, so the
// views, a later unpack, Save and Upload all see the imported entries and
// every edit made after them. Returns the format (1, 2, 3), or 0 when the file
// cannot be used: the caller shows kFileFormatErrorMessage, and the data set
// and buffers are unchanged. The data origin becomes DataOriginAfterImport of
// the result.
int ImportAddressBookBytes(DataSet& set, ImportBuffers& buffers, const uint8_t* data, size_t size);
int ImportAddressBook(DataSet& set, ImportBuffers& buffers, const std::string& path);
// Text address books (4, 5) land in the working tables, as format 3 does.
inline int DataOriginAfterImport(int result) { return result == 1 || result == 2 ? result : 3; }

}  // namespace odc
