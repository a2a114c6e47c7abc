// A machine for the link fuzz targets: device 0, an M40, answering the
// status queries that confirm the device with "ready", and the request
// under test with the fuzzer's bytes as the whole reply (header included).
#pragma once

#include <cstring>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/link/machine_link.h"

namespace odc {

class FuzzReplyMachine : public UsbPlatform {
 public:
  FuzzReplyMachine(const uint8_t* data, size_t size, int confirmingQueries)
      : fuzzReply_(data, data + size), confirmingQueries_(confirmingQueries) {}

  UsbHandle Open(const char* path) override {
    if (std::strcmp(path, "\\\\.\\Usbscan0\\0") == 0) return 10;
    if (std::strcmp(path, "\\\\.\\Usbscan0\\1") == 0) return 11;
    return kInvalidUsbHandle;
  }
  bool Control(UsbHandle handle, uint32_t, uint8_t* out, uint32_t outSize,
               uint32_t& returned) override {
    if (handle != 10 || outSize < 8) return false;
    std::memset(out, 0, 8);
    PutU16(out + 2, 0x2052);
    returned = 8;
    return true;
  }
  uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) override {
    if (handle != 11) return 0;
    const size_t n = count < reply_.size() - pos_ ? count : reply_.size() - pos_;
    if (n) std::memcpy(buffer, reply_.data() + pos_, n);
    pos_ += n;
    return static_cast<uint32_t>(n);
  }
  uint32_t Write(UsbHandle handle, const uint8_t*, uint32_t count) override {
    if (handle != 10) return 0;
    // Every second write completes a request (header, then body).
    if (++writes_ % 2 == 0) {
      pos_ = 0;
      if (confirmingQueries_ > 0) {
        --confirmingQueries_;
        static const uint8_t kReady[] = {2, 3, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0};
        reply_.assign(kReady, kReady + sizeof kReady);
      } else {
        reply_ = fuzzReply_;
      }
    }
    return count;
  }
  void Close(UsbHandle) override {}

 private:
  std::vector<uint8_t> fuzzReply_;
  std::vector<uint8_t> reply_;
  size_t pos_ = 0;
  int confirmingQueries_;
  int writes_ = 0;
};

}  // namespace odc
