// The machine's side of the protocol, for demonstrations and tests. It is
// as strict with the host's requests as the host is with its replies:
// nothing the host sends is trusted.
#include "setup/link/simulated_machine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "setup/data/bytes.h"
#include "setup/data/data_file.h"
#include "setup/data/file_io.h"
#include "setup/link/machine_link.h"

namespace odc {
namespace {

constexpr int kWritePipe = 0;
constexpr int kReadPipe = 1;
// Larger requests than the host's own work buffer are never sent by it.
constexpr size_t kMaxRequestBody = kLargeWorkBufferSize;

bool IsCounter(uint32_t id) { return id >= kFirstCounterId && id <= kLastCounterId; }

}  // namespace

SimulatedMachine::SimulatedMachine(int deviceNumber)
    : deviceNumber_(deviceNumber), memory_(std::make_unique<DataSet>()) {
  // A machine always holds every item, whatever a file leaves out.
  memory_->addressBookOnly = false;
}

SimulatedMachine::~SimulatedMachine() = default;

int SimulatedMachine::LoadMemory(const uint8_t* data, size_t size) {
  auto loaded = std::make_unique<DataSet>();
  if (!ReadDataFileBytes(*loaded, data, size)) return 0;
  loaded->addressBookOnly = false;
  loaded->uploadPacking = false;
  memory_ = std::move(loaded);
  return 1;
}

int SimulatedMachine::LoadMemoryFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return 0;
  return LoadMemory(bytes.data(), bytes.size());
}

std::vector<uint8_t> SimulatedMachine::MemoryFileBytes() const {
  return MachineFileBytes(*memory_);
}

const SimulatedMachine::Handle* SimulatedMachine::FindHandle(UsbHandle value) const {
  for (const Handle& handle : handles_) {
    if (handle.value == value) return &handle;
  }
  return nullptr;
}

UsbHandle SimulatedMachine::Open(const char* path) {
  char device[32];
  std::snprintf(device, sizeof device, kDevicePathFormat, deviceNumber_);
  const size_t length = std::strlen(device);
  if (std::strncmp(path, device, length) != 0 || path[length] != '\\' ||
      (path[length + 1] != '0' && path[length + 1] != '1') || path[length + 2] != '\0') {
    return kInvalidUsbHandle;
  }
  const int pipe = path[length + 1] - '0';
  ++opens_;
  handles_.push_back({nextHandle_, pipe});
  return nextHandle_++;
}

bool SimulatedMachine::Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
                               uint32_t& returned) {
  returned = 0;
  const Handle* h = FindHandle(handle);
  if (!h || h->pipe != kWritePipe || code != kGetDeviceDescriptorCode ||
      outSize < kDeviceDescriptorSize) {
    return false;
  }
  PutU16(out, kSimulatedVendorId);
  PutU16(out + 2, productId_);
  PutU16(out + 4, 0x0100);  // release 1.00
  PutU16(out + 6, 0x0409);  // language
  returned = kDeviceDescriptorSize;
  return true;
}

uint32_t SimulatedMachine::Read(UsbHandle handle, uint8_t* buffer, uint32_t count) {
  const Handle* h = FindHandle(handle);
  if (!h || h->pipe != kReadPipe) return 0;
  // Where a real pipe would block for data that never comes, report none.
  const size_t n = std::min<size_t>(count, reply_.size() - replyPos_);
  if (n != 0) std::memcpy(buffer, reply_.data() + replyPos_, n);
  replyPos_ += n;
  return static_cast<uint32_t>(n);
}

uint32_t SimulatedMachine::Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) {
  const Handle* h = FindHandle(handle);
  if (!h || h->pipe != kWritePipe) return 0;
  if (request_.empty()) {
    // A new request: whatever the host did not read of the last reply is
    // dropped.
    reply_.clear();
    replyPos_ = 0;
  }
  request_.insert(request_.end(), buffer, buffer + count);
  if (request_.size() >= kCommandHeaderSize) {
    const uint32_t command = GetU32(request_.data());
    const size_t bodySize = GetU32(request_.data() + 4);
    if (bodySize > kMaxRequestBody) {
      request_.clear();
      return count;
    }
    if (request_.size() >= kCommandHeaderSize + bodySize) {
      std::vector<uint8_t> request;
      request.swap(request_);
      HandleRequest(command, request.data() + kCommandHeaderSize, bodySize);
    }
  }
  return count;
}

void SimulatedMachine::Close(UsbHandle handle) {
  for (size_t i = 0; i < handles_.size(); ++i) {
    if (handles_[i].value != handle) continue;
    // A request or reply cut off by a closing host is not continued on the
    // next open.
    if (handles_[i].pipe == kWritePipe) request_.clear();
    if (handles_[i].pipe == kReadPipe) {
      reply_.clear();
      replyPos_ = 0;
    }
    handles_.erase(handles_.begin() + static_cast<std::ptrdiff_t>(i));
    return;
  }
}

void SimulatedMachine::QueueReply(uint32_t command, const std::vector<uint8_t>& body) {
  reply_.resize(kCommandHeaderSize);
  PutU32(reply_.data(), command);
  PutU32(reply_.data() + 4, static_cast<uint32_t>(body.size()));
  reply_.insert(reply_.end(), body.begin(), body.end());
  replyPos_ = 0;
}

void SimulatedMachine::HandleRequest(uint32_t command, const uint8_t* body, size_t size) {
  switch (command) {
    case kControlCommand: {
      if (size < 8) return;
      const uint32_t id = GetU32(body);
      if (id == kStatusQueryId) {
        ++statusQueries_;
        std::vector<uint8_t> reply(9);
        PutU32(reply.data(), kStatusQueryId);
        PutU32(reply.data() + 4, 1);
        reply[8] = status_;
        QueueReply(kControlCommand, reply);
      } else if (id == kConnectRequestId) {
        ++connectRequests_;
        connected_ = true;
      } else if (id == kDisconnectRequestId) {
        ++disconnectRequests_;
        connected_ = false;
      }
      return;
    }
    case kGetCommand:
      AnswerGet(body, size);
      return;
    case kSetCommand:
      StoreUpload(body, size);
      return;
    default:
      return;
  }
}

void SimulatedMachine::AnswerGet(const uint8_t* body, size_t size) {
  ++getRequests_;
  std::vector<uint8_t> reply;
  reply.reserve(kImageSize + 96);
  uint8_t head[8];
  for (size_t p = 0; p + 8 <= size; p += 8) {
    const uint32_t id = GetU32(body + p);
    PutU32(head, id);
    if (id == kMachineInfoId) {
      PutU32(head + 4, kMachineInfoSize);
      reply.insert(reply.end(), head, head + 8);
      reply.insert(reply.end(), memory_->machineInfo, memory_->machineInfo + kMachineInfoSize);
      continue;
    }
    const int index = FindRecord(*memory_, id);
    if (index < 0) {
      PutU32(head + 4, kNoData);
      reply.insert(reply.end(), head, head + 8);
      continue;
    }
    const ItemRecord& record = memory_->records[index];
    PutU32(head + 4, record.length);
    reply.insert(reply.end(), head, head + 8);
    if (record.length != kNoData) {
      const size_t n = std::min<size_t>(record.length, kRecordDataSize);
      reply.insert(reply.end(), record.data, record.data + n);
    }
  }
  QueueReply(kGetCommand, reply);
}

void SimulatedMachine::StoreUpload(const uint8_t* body, size_t size) {
  lastUploadBody_.assign(body, body + size);
  // Checked whole before anything is stored: a broken upload changes
  // nothing.
  std::vector<ItemRecord> records(memory_->records, memory_->records + kRecordCount);
  int requestFlag = -1;
  ByteReader reader(body, size);
  while (!reader.AtEnd()) {
    uint32_t id = 0;
    uint32_t length = 0;
    if (!reader.ReadU32(id) || !reader.ReadU32(length)) return;
    const bool hasData = length != 0 && length != kNoData;
    if (hasData && length > reader.remaining()) return;
    const uint8_t* data = reader.current();
    if (hasData) reader.Skip(length);
    if (id == kUploadTrailerId) {
      requestFlag = hasData && length >= 2 ? data[1] : 0;
      continue;
    }
    // The counters belong to the machine alone.
    if (IsCounter(id)) continue;
    const int index = FindRecord(*memory_, id);
    if (index < 0) continue;
    if (hasData && length > kRecordDataSize) return;
    records[index].length = length;
    if (hasData) std::memcpy(records[index].data, data, length);
  }
  std::copy(records.begin(), records.end(), memory_->records);
  ++uploads_;
  lastRequestFlag_ = requestFlag;
  if (!writeBackPath_.empty()) {
    writeBackOk_ = WriteFileAtomically(writeBackPath_, MemoryFileBytes()) != 0;
  }
  if (!trailerReportPath_.empty()) {
    const std::string line = "request flag " + std::to_string(requestFlag) + "\n";
    WriteFileAtomically(trailerReportPath_, std::vector<uint8_t>(line.begin(), line.end()));
  }
}

std::vector<uint8_t> MachineFileBytes(DataSet& set) {
  set.uploadPacking = false;
  std::vector<uint8_t> bytes = DataFileBytes(set);
  if (set.addressBookOnly) return bytes;
  constexpr size_t kStreamStart = kSignatureSize + 8;
  if (bytes.size() < kStreamStart) return bytes;
  ByteReader reader(bytes.data() + kStreamStart, bytes.size() - kStreamStart);
  while (!reader.AtEnd()) {
    const size_t itemStart = reader.position();
    uint32_t id = 0;
    uint32_t length = 0;
    if (!reader.ReadU32(id) || !reader.ReadU32(length)) break;
    if (id == set.endItemId) {
      std::vector<uint8_t> counters;
      for (const ItemRecord& record : set.records) {
        if (!IsCounter(record.id) || record.length == 0) continue;
        uint8_t head[8];
        PutU32(head, record.id);
        PutU32(head + 4, record.length);
        counters.insert(counters.end(), head, head + 8);
        if (record.length != kNoData) {
          counters.insert(counters.end(), record.data,
                          record.data + std::min<size_t>(record.length, kRecordDataSize));
        }
      }
      bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(kStreamStart + itemStart),
                   counters.begin(), counters.end());
      PutU32(bytes.data() + kSignatureSize + 4,
             GetU32(bytes.data() + kSignatureSize + 4) + static_cast<uint32_t>(counters.size()));
      break;
    }
    if (length != 0 && length != kNoData && !reader.Skip(length)) break;
  }
  return bytes;
}

int WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteFileAtomically(path, bytes.data(), bytes.size()) ? 1 : 0;
}

}  // namespace odc
