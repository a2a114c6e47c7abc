// Test doubles for the machine link: a recording user interface, a platform
// that cuts replies short or fails writes, one that answers with crafted
// replies, and one that puts several devices on the device numbers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/link/machine_link.h"

namespace odc::test {

class RecordingUi : public LinkUi {
 public:
  void ShowLinkMessage(LinkMessage message) override { messages.push_back(message); }
  void SendDisconnectCommand() override {
    ++disconnectCommands;
    if (onDisconnect) onDisconnect();
  }
  void ShowReadyStatus() override { ++readyStatus; }

  std::vector<LinkMessage> messages;
  int disconnectCommands = 0;
  int readyStatus = 0;
  std::function<void()> onDisconnect;
};

// Passes every call to `inner`, except that reads deliver at most
// `readBudget` bytes in all (the read that crosses it comes back short) and
// write number `failWrite` (0-based) transfers nothing.
class FaultyPlatform : public UsbPlatform {
 public:
  explicit FaultyPlatform(UsbPlatform& inner) : inner_(inner) {}

  UsbHandle Open(const char* path) override {
    openedPaths.push_back(path);
    return inner_.Open(path);
  }
  bool Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
               uint32_t& returned) override {
    ++controls;
    if (failControl) {
      returned = 0;
      return false;
    }
    return inner_.Control(handle, code, out, outSize, returned);
  }
  uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) override {
    largestRead = count > largestRead ? count : largestRead;
    const size_t left = readBudget - bytesRead;
    const uint32_t allowed = count < left ? count : static_cast<uint32_t>(left);
    const uint32_t got = inner_.Read(handle, buffer, allowed);
    bytesRead += got;
    return got;
  }
  uint32_t Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) override {
    const int index = writes++;
    if (index == failWrite) return 0;
    written.emplace_back(buffer, buffer + count);
    return inner_.Write(handle, buffer, count);
  }
  void Close(UsbHandle handle) override { inner_.Close(handle); }

  size_t readBudget = std::numeric_limits<size_t>::max();
  int failWrite = -1;
  bool failControl = false;
  size_t bytesRead = 0;
  uint32_t largestRead = 0;
  int writes = 0;
  int controls = 0;
  std::vector<std::string> openedPaths;
  std::vector<std::vector<uint8_t>> written;

 private:
  UsbPlatform& inner_;
};

// One device on number 0 that answers each complete request with whatever
// bytes `respond` gives (header included, so a test can make it lie).
class ScriptedMachine : public UsbPlatform {
 public:
  using Responder =
      std::function<std::vector<uint8_t>(uint32_t command, const std::vector<uint8_t>& body)>;
  explicit ScriptedMachine(Responder respond, uint16_t productId = 0x2052)
      : respond_(std::move(respond)), productId_(productId) {}

  UsbHandle Open(const char* path) override {
    if (std::strcmp(path, "\\\\.\\Usbscan0\\0") == 0) return ++open_, 10;
    if (std::strcmp(path, "\\\\.\\Usbscan0\\1") == 0) return ++open_, 11;
    return kInvalidUsbHandle;
  }
  bool Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
               uint32_t& returned) override {
    if (handle != 10 || code != kGetDeviceDescriptorCode || outSize < 8) return false;
    PutU16(out, 0x1234);
    PutU16(out + 2, productId_);
    PutU16(out + 4, 0x100);
    PutU16(out + 6, 0x409);
    returned = 8;
    return true;
  }
  uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) override {
    if (handle != 11) return 0;
    const size_t n = std::min<size_t>(count, reply_.size() - pos_);
    if (n) std::memcpy(buffer, reply_.data() + pos_, n);
    pos_ += n;
    return static_cast<uint32_t>(n);
  }
  uint32_t Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) override {
    if (handle != 10) return 0;
    request_.insert(request_.end(), buffer, buffer + count);
    if (request_.size() >= 8 && request_.size() >= 8 + GetU32(request_.data() + 4)) {
      const uint32_t command = GetU32(request_.data());
      std::vector<uint8_t> body(request_.begin() + 8, request_.end());
      request_.clear();
      reply_ = respond_(command, body);
      pos_ = 0;
    }
    return count;
  }
  void Close(UsbHandle handle) override {
    if (handle == 10 || handle == 11) --open_;
  }
  int openHandles() const { return open_; }

 private:
  Responder respond_;
  uint16_t productId_;
  int open_ = 0;
  std::vector<uint8_t> request_;
  std::vector<uint8_t> reply_;
  size_t pos_ = 0;
};

// Several devices side by side, each a platform of its own that answers
// for its own device number.
class DeviceBus : public UsbPlatform {
 public:
  void Add(UsbPlatform& device) { devices_.push_back(&device); }
  UsbHandle Open(const char* path) override {
    for (UsbPlatform* device : devices_) {
      const UsbHandle inner = device->Open(path);
      if (inner == kInvalidUsbHandle) continue;
      handles_.push_back({device, inner});
      return handles_.size() - 1 + 1000;
    }
    return kInvalidUsbHandle;
  }
  bool Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
               uint32_t& returned) override {
    const Entry* e = Find(handle);
    return e && e->device->Control(e->inner, code, out, outSize, returned);
  }
  uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) override {
    const Entry* e = Find(handle);
    return e ? e->device->Read(e->inner, buffer, count) : 0;
  }
  uint32_t Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) override {
    const Entry* e = Find(handle);
    return e ? e->device->Write(e->inner, buffer, count) : 0;
  }
  void Close(UsbHandle handle) override {
    if (const Entry* e = Find(handle)) e->device->Close(e->inner);
  }

 private:
  struct Entry {
    UsbPlatform* device;
    UsbHandle inner;
  };
  const Entry* Find(UsbHandle handle) const {
    if (handle < 1000 || handle - 1000 >= handles_.size()) return nullptr;
    return &handles_[handle - 1000];
  }
  std::vector<UsbPlatform*> devices_;
  std::vector<Entry> handles_;
};

// Little helpers for writing replies out in tests.
inline void AppendU32(std::vector<uint8_t>& out, uint32_t value) {
  uint8_t b[4];
  PutU32(b, value);
  out.insert(out.end(), b, b + 4);
}

inline std::vector<uint8_t> Reply(uint32_t command, const std::vector<uint8_t>& body,
                                  uint32_t announced) {
  std::vector<uint8_t> out;
  AppendU32(out, command);
  AppendU32(out, announced);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

inline std::vector<uint8_t> Reply(uint32_t command, const std::vector<uint8_t>& body) {
  return Reply(command, body, static_cast<uint32_t>(body.size()));
}

inline std::vector<uint8_t> StatusBody(uint8_t status) {
  std::vector<uint8_t> body;
  AppendU32(body, kStatusQueryId);
  AppendU32(body, 1);
  body.push_back(status);
  return body;
}

}  // namespace odc::test
