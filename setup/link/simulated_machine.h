// A machine on the still-image driver's seam: one M40 that answers the
// status query, connect and disconnect, get and set, with a full settings
// data file as its memory. Setup and odctool use it in place of the driver
// when ODC_SIMULATED_MACHINE names such a file; tests drive it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "setup/data/data_set.h"
#include "setup/link/usb_platform.h"

namespace odc {

constexpr uint16_t kSimulatedVendorId = 0x0A5C;
constexpr uint16_t kM40ProductId = 0x2052;

class SimulatedMachine final : public UsbPlatform {
 public:
  // An M40 with an empty memory (every record present, no data) on
  // device number `deviceNumber` (0-14).
  explicit SimulatedMachine(int deviceNumber = 0);
  ~SimulatedMachine() override;

  // Loads the memory from settings data file bytes or a file; 1 loaded,
  // 0 not a settings data file (the memory is then as it was).
  int LoadMemory(const uint8_t* data, size_t size);
  int LoadMemoryFile(const std::string& path);
  // After every accepted upload the memory is written back into this file,
  // atomically; empty: kept in memory only.
  void SetWriteBackPath(const std::string& path) { writeBackPath_ = path; }
  // After every accepted upload the trailer's request flag is written into
  // this file as the line "request flag N" (-1: no trailer), so that a
  // script can see what the upload told the machine; empty: not written.
  void SetTrailerReportPath(const std::string& path) { trailerReportPath_ = path; }
  // The memory as a settings data file, its counters included.
  std::vector<uint8_t> MemoryFileBytes() const;

  // The status the machine reports: 0 ready, 1 operating, 2 ended the
  // connection by time-out, 3 machine trouble, anything else as it is.
  void SetStatus(uint8_t status) { status_ = status; }
  uint8_t status() const { return status_; }
  void SetProductId(uint16_t productId) { productId_ = productId; }
  int deviceNumber() const { return deviceNumber_; }

  DataSet& memory() { return *memory_; }
  const DataSet& memory() const { return *memory_; }

  // What the host has done, for tests and demonstrations.
  bool connected() const { return connected_; }
  int statusQueries() const { return statusQueries_; }
  int connectRequests() const { return connectRequests_; }
  int disconnectRequests() const { return disconnectRequests_; }
  int getRequests() const { return getRequests_; }
  int uploads() const { return uploads_; }
  int opens() const { return opens_; }
  int openHandles() const { return static_cast<int>(handles_.size()); }
  // Body of the last set command as it arrived, and its trailer's request
  // flag (-1 before any trailer).
  const std::vector<uint8_t>& lastUploadBody() const { return lastUploadBody_; }
  int lastRequestFlag() const { return lastRequestFlag_; }
  // False when the last upload could not be written back into its file.
  bool writeBackOk() const { return writeBackOk_; }

  // UsbPlatform
  UsbHandle Open(const char* path) override;
  bool Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
               uint32_t& returned) override;
  uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) override;
  uint32_t Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) override;
  void Close(UsbHandle handle) override;

 private:
  struct Handle {
    UsbHandle value;
    int pipe;
  };
  const Handle* FindHandle(UsbHandle value) const;
  void HandleRequest(uint32_t command, const uint8_t* body, size_t size);
  void AnswerGet(const uint8_t* body, size_t size);
  void StoreUpload(const uint8_t* body, size_t size);
  void QueueReply(uint32_t command, const std::vector<uint8_t>& body);

  int deviceNumber_;
  uint16_t productId_ = kM40ProductId;
  uint8_t status_ = 0;
  std::unique_ptr<DataSet> memory_;
  std::string writeBackPath_;
  std::string trailerReportPath_;

  std::vector<Handle> handles_;
  UsbHandle nextHandle_ = 0x100;
  std::vector<uint8_t> request_;  // bytes of the request being received
  std::vector<uint8_t> reply_;    // bytes the host has yet to read
  size_t replyPos_ = 0;

  bool connected_ = false;
  int statusQueries_ = 0;
  int connectRequests_ = 0;
  int disconnectRequests_ = 0;
  int getRequests_ = 0;
  int uploads_ = 0;
  int opens_ = 0;
  std::vector<uint8_t> lastUploadBody_;
  int lastRequestFlag_ = -1;
  bool writeBackOk_ = true;
};

// A settings data file with the machine's counters kept in it: they are
// placed before the end item, where the transfer image holds them. The
// data file writer leaves them out, but a machine's memory has them.
std::vector<uint8_t> MachineFileBytes(DataSet& set);
// Writes bytes to a temporary file beside `path` and replaces `path` with
// it only when the whole write succeeded. 1 written, 0 failed.
int WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace odc
