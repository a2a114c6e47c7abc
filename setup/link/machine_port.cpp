// The machine port: finding the machine among the still-image devices and
// whole-buffer reads and writes on its two pipes.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "setup/data/bytes.h"
#include "setup/link/machine_link.h"

namespace odc {

ProductList ParseProductList(const char* text) {
  ProductList list{};
  int count = 0;
  const char* p = text;
  while (*p != '\0' && count < kProductListSize) {
    const char* end = std::strchr(p, ' ');
    const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
    if (length != 0) {
      // Each token lives in a 10-character slot: longer ones are cut.
      char token[10] = {};
      std::memcpy(token, p, length < 9 ? length : 9);
      list[count++] = static_cast<uint32_t>(std::strtoull(token, nullptr, 16));
    }
    if (!end) break;
    p = end + 1;
  }
  return list;
}

namespace {

bool IsAccepted(const ProductList& list, uint32_t productId) {
  for (uint32_t accepted : list) {
    if (accepted == productId) return true;
  }
  return false;
}

}  // namespace

int CloseMachinePort(MachineLink& link) {
  // Closing an invalid handle is harmless, so only null ones are skipped.
  if (link.port.writePipe != 0) link.platform->Close(link.port.writePipe);
  if (link.port.readPipe != 0) link.platform->Close(link.port.readPipe);
  link.port.writePipe = kInvalidUsbHandle;
  link.port.readPipe = kInvalidUsbHandle;
  return 1;
}

int ReadPipe(MachineLink& link, UsbHandle handle, uint32_t count, uint8_t* buffer) {
  // Only the byte count decides: a failed read reports 0 bytes.
  return link.platform->Read(handle, buffer, count) >= count ? 1 : 0;
}

int WritePipe(MachineLink& link, UsbHandle handle, uint32_t count, const uint8_t* buffer) {
  return link.platform->Write(handle, buffer, count) >= 1 ? 1 : 0;
}

int OpenMachinePort(MachineLink& link) {
  if (link.port.IsOpen()) {
    // A failed query has closed the port already; search afresh then.
    if (QueryStatus(link)) return 0;
  }
  for (int n = 0; n < kDeviceNumberCount; ++n) {
    char device[32];
    std::snprintf(device, sizeof device, kDevicePathFormat, n);
    uint8_t descriptor[kDeviceDescriptorSize] = {};
    char path[40];
    std::snprintf(path, sizeof path, "%s\\0", device);
    link.port.writePipe = link.platform->Open(path);
    if (link.port.writePipe == kInvalidUsbHandle) continue;

    uint32_t returned = 0;
    if (!link.platform->Control(link.port.writePipe, kGetDeviceDescriptorCode, descriptor,
                                sizeof descriptor, returned)) {
      CloseMachinePort(link);
      continue;
    }
    const uint32_t productId = GetU16(descriptor + kDescriptorProductIdOffset);
    if (!IsAccepted(link.acceptedProducts, productId)) {
      CloseMachinePort(link);
      continue;
    }
    link.machineProductId = productId;

    std::snprintf(path, sizeof path, "%s\\1", device);
    // An invalid read pipe is kept as it is: the status query then fails
    // and closes the port.
    link.port.readPipe = link.platform->Open(path);
    if (QueryStatus(link)) return 0;
  }
  return -1;
}

}  // namespace odc
