// Settings data files: reading, writing and the signature check.
#include "setup/data/data_file.h"

#include <cstring>
#include <memory>
#include <string_view>

#include "setup/data/bytes.h"
#include "setup/data/file_io.h"

namespace odc {

namespace {

constexpr size_t kMaxFieldLength = 19;
constexpr size_t kMaxFields = 50;
constexpr size_t kBodyHeadSize = 8;  // block code, stream length
constexpr size_t kInfoItemSize = 8 + kMachineInfoSize;

// Splits at "|" and skips empty fields. false when a field is too long or
// there are too many of them.
bool SplitFields(std::string_view text, std::string_view* fields, size_t& count) {
  count = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('|', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) {
      if (end - start > kMaxFieldLength || count == kMaxFields) return false;
      fields[count++] = text.substr(start, end - start);
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

int CheckSignature(const uint8_t* header, const char* expected) {
  const void* nul = std::memchr(header, 0, kSignatureSize);
  if (nul == nullptr || expected == nullptr) return 0;
  const std::string_view headerText(reinterpret_cast<const char*>(header),
                                    static_cast<const uint8_t*>(nul) - header);
  std::string_view headerFields[kMaxFields];
  std::string_view expectedFields[kMaxFields];
  size_t headerCount = 0;
  size_t expectedCount = 0;
  if (!SplitFields(headerText, headerFields, headerCount)) return 0;
  if (!SplitFields(expected, expectedFields, expectedCount)) return 0;
  if (headerCount != expectedCount) return 0;
  for (size_t i = 0; i < expectedCount; ++i) {
    // A prefix comparison: the header's field may run on behind the
    // expected text.
    if (headerFields[i].substr(0, expectedFields[i].size()) != expectedFields[i]) return 0;
  }
  return 1;
}

bool FindItemStream(const uint8_t* data, size_t size, const char* signature, const uint8_t*& stream,
                    size_t& length) {
  if (data == nullptr || size == 0) return false;
  if (size >= 3 && std::memcmp(data, "CMC", 3) == 0) return false;
  if (size < kSignatureSize + kBodyHeadSize) return false;
  if (!CheckSignature(data, signature)) return false;
  // The block code at offset 64 is not compared.
  const uint32_t declared = GetU32(data + kSignatureSize + 4);
  const size_t available = size - kSignatureSize - kBodyHeadSize;
  if (declared > available) return false;  // the file was cut short
  stream = data + kSignatureSize + kBodyHeadSize;
  length = declared;
  return true;
}

int ReadDataFileBytes(DataSet& set, const uint8_t* data, size_t size, const char* signature) {
  const uint8_t* stream = nullptr;
  size_t length = 0;
  if (!FindItemStream(data, size, signature, stream, length)) return 0;

  // The walk fills a copy; the data set only changes once the whole file
  // has proved readable.
  std::unique_ptr<ItemRecord[]> records(new ItemRecord[kRecordCount]);
  std::memcpy(records.get(), set.records, sizeof set.records);
  bool addressBookOnly = set.addressBookOnly;

  ByteReader reader(stream, length);
  for (;;) {
    uint32_t id = 0;
    uint32_t itemLength = 0;
    if (!reader.ReadU32(id) || !reader.ReadU32(itemLength)) return 0;
    if (itemLength != kNoData && itemLength > kRecordDataSize) return 0;
    const int index = FindRecord(set, id);
    if (index >= 0) {
      ItemRecord& record = records[index];
      record.length = itemLength;
      if (itemLength != kNoData) {
        if (!reader.ReadBytes(record.data, itemLength)) return 0;
        if (id == set.endItemId) {
          addressBookOnly = false;
          break;
        }
      } else if (id == set.endItemId) {
        break;
      }
    } else if (itemLength != kNoData && !reader.Skip(itemLength)) {
      return 0;
    }
    if (reader.AtEnd() && id == set.lastSpeedDialId) {
      addressBookOnly = true;
      break;
    }
  }

  // A full file carries the machine information block behind the end item.
  // When it is missing, is not that item, or is longer than the block, the
  // block keeps what it held; a shorter one overwrites only its own bytes.
  uint8_t machineInfo[kMachineInfoSize];
  std::memcpy(machineInfo, set.machineInfo, sizeof machineInfo);
  if (!addressBookOnly) {
    uint32_t id = 0;
    uint32_t itemLength = 0;
    if (reader.ReadU32(id) && reader.ReadU32(itemLength) && id == kMachineInfoId &&
        itemLength <= kMachineInfoSize) {
      reader.ReadBytes(machineInfo, itemLength);
    }
  }

  std::memcpy(set.records, records.get(), sizeof set.records);
  set.addressBookOnly = addressBookOnly;
  std::memcpy(set.machineInfo, machineInfo, sizeof machineInfo);
  return 1;
}

int ReadDataFile(DataSet& set, const std::string& path, const char* signature) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return 0;
  return ReadDataFileBytes(set, bytes.data(), bytes.size(), signature);
}

std::vector<uint8_t> DataFileBytes(DataSet& set, const char* signature) {
  std::vector<uint8_t> file(kSignatureSize + kMaxBodySize, 0);
  if (signature != nullptr) {
    // The last byte of the header always stays NUL.
    std::memcpy(file.data(), signature, strnlen(signature, kSignatureSize - 1));
  }
  uint8_t* body = file.data() + kSignatureSize;
  const size_t streamCapacity = kMaxBodySize - kBodyHeadSize - kInfoItemSize;
  size_t streamLength = WriteItemStream(set, body + kBodyHeadSize, streamCapacity);
  if (streamLength == 0) return {};
  if (!set.addressBookOnly) {
    uint8_t* item = body + kBodyHeadSize + streamLength;
    PutU32(item, kMachineInfoId);
    PutU32(item + 4, kMachineInfoSize);
    std::memcpy(item + 8, set.machineInfo, kMachineInfoSize);
    streamLength += kInfoItemSize;
  }
  PutU32(body, kBlockCode);
  PutU32(body + 4, static_cast<uint32_t>(streamLength));
  file.resize(kSignatureSize + kBodyHeadSize + streamLength);
  return file;
}

int WriteDataFile(DataSet& set, const std::string& path, const char* signature) {
  const std::vector<uint8_t> file = DataFileBytes(set, signature);
  if (file.empty()) return 0;
  return WriteFileAtomically(path, file.data(), file.size()) ? 1 : 0;
}

const std::vector<uint8_t>& DefaultDataSetBytes() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> file(kDefaultDataSetSize, 0);
    std::memcpy(file.data(), kSignature, std::strlen(kSignature));
    constexpr size_t kStreamLength = kDialRecordCount * 8;  // 2,176
    PutU32(&file[kSignatureSize], kBlockCode);
    PutU32(&file[kSignatureSize + 4], kStreamLength);
    uint8_t* item = &file[kSignatureSize + kBodyHeadSize];
    for (int i = 0; i < kDialRecordCount; ++i, item += 8) {
      const uint32_t id =
          i < kOneTouchCount ? kOneTouchFirstId + i : kSpeedDialFirstId + (i - kOneTouchCount);
      PutU32(item, id);
      PutU32(item + 4, 0);
    }
    return file;
  }();
  return bytes;
}

int LoadDefaultDataSet(DataSet& set) {
  const std::vector<uint8_t>& bytes = DefaultDataSetBytes();
  return ReadDataFileBytes(set, bytes.data(), bytes.size());
}

}  // namespace odc
