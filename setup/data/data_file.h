// Settings data files (*.DAT): the transfer image as an item stream behind a
// signature header, with the machine information block in full files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/data/data_set.h"

namespace odc {

constexpr const char* kSignature = "CMDCODE002|ODC|BRAMWYN|ALL";  // string 3596
constexpr size_t kSignatureSize = 64;
constexpr uint32_t kBlockCode = 258;
constexpr const char* kDefaultFileName = "NewFile.Dat";  // string 3405
constexpr size_t kDefaultDataSetSize = 2248;
// Largest body: the whole image as a stream, the information block item, the
// block code and length.
constexpr size_t kMaxBodySize = kRecordCount * kRecordSize + 88 + 8;

// 1 when the 64-byte header carries `expected` (string 3596), field by field.
// Fields are split at "|" with empty fields skipped; a header without a NUL
// in its 64 bytes, with more than 50 fields or a field longer than 19
// characters is rejected.
int CheckSignature(const uint8_t* header, const char* expected = kSignature);

// Checks the file's header and locates its item stream: `stream` points at
// the first item and `length` is the stream length N of the file. false for
// an empty file, an import file ("CMC"), a rejected header, or a stream
// length that does not fit in the file.
bool FindItemStream(const uint8_t* data, size_t size, const char* signature, const uint8_t*& stream,
                    size_t& length);

// Fills the image of `set` (just rebuilt by the caller) from file bytes;
// sets or clears the address-book-only flag and reads the information block
// of a full file. 1 loaded, 0 not a valid settings data file. On 0 the data
// set is as it was before the call.
int ReadDataFileBytes(DataSet& set, const uint8_t* data, size_t size,
                      const char* signature = kSignature);
int ReadDataFile(DataSet& set, const std::string& path, const char* signature = kSignature);

// The file image of the data set as it stands (the caller packs first).
std::vector<uint8_t> DataFileBytes(DataSet& set, const char* signature = kSignature);
// Writes atomically: a temporary file beside the target replaces it only
// after the whole write succeeded. 1 written, 0 failed (old file untouched).
int WriteDataFile(DataSet& set, const std::string& path, const char* signature = kSignature);

// The built-in default data set: 2,248 bytes, the 272 dial items empty.
const std::vector<uint8_t>& DefaultDataSetBytes();
int LoadDefaultDataSet(DataSet& set);

}  // namespace odc
