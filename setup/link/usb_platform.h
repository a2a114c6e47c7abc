// The four platform calls the machine port is built on (open a path, the
// device descriptor request, read, write, close), so that the still-image
// driver, the simulated machine and test doubles are interchangeable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace odc {

// A Win32 HANDLE's bits; the invalid handle value has all bits set.
using UsbHandle = std::uintptr_t;
constexpr UsbHandle kInvalidUsbHandle = ~UsbHandle{0};

// The still-image driver's IOCTL_GET_DEVICE_DESCRIPTOR.
constexpr uint32_t kGetDeviceDescriptorCode = 0x80002018u;
// Reply to it: u16 vendor id, u16 product id, u16 release (BCD), u16 language.
constexpr size_t kDeviceDescriptorSize = 8;
constexpr size_t kDescriptorProductIdOffset = 2;
// Device paths: "\\.\Usbscan%d", its pipes behind "\0" (commands) and "\1"
// (replies).
constexpr const char* kDevicePathFormat = "\\\\.\\Usbscan%d";
constexpr int kDeviceNumberCount = 15;

class UsbPlatform {
 public:
  virtual ~UsbPlatform() = default;
  // CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ |
  // FILE_SHARE_WRITE, no security, OPEN_EXISTING, FILE_ATTRIBUTE_SYSTEM, no
  // template); kInvalidUsbHandle when it fails.
  virtual UsbHandle Open(const char* path) = 0;
  // DeviceIoControl(handle, code, no input, out, outSize, &returned, no
  // overlapped); true when the call succeeded.
  virtual bool Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
                       uint32_t& returned) = 0;
  // ReadFile/WriteFile without overlapped structure, blocking until the
  // driver completes them; the number of bytes transferred (0 on failure).
  virtual uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) = 0;
  virtual uint32_t Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) = 0;
  virtual void Close(UsbHandle handle) = 0;
};

// A platform on which no device exists: every open fails.
class NoDevicePlatform : public UsbPlatform {
 public:
  UsbHandle Open(const char*) override { return kInvalidUsbHandle; }
  bool Control(UsbHandle, uint32_t, uint8_t*, uint32_t, uint32_t& returned) override {
    returned = 0;
    return false;
  }
  uint32_t Read(UsbHandle, uint8_t*, uint32_t) override { return 0; }
  uint32_t Write(UsbHandle, const uint8_t*, uint32_t) override { return 0; }
  void Close(UsbHandle) override {}
};

// Environment variables that put the simulated machine in place of the
// driver: a settings data file that is the machine's memory, and optionally
// the status byte the machine reports (0 ready, 1 busy, 2 time-out,
// 3 trouble).
constexpr const char* kSimulatedMachineVariable = "ODC_SIMULATED_MACHINE";
constexpr const char* kSimulatedMachineStatusVariable = "ODC_SIMULATED_MACHINE_STATUS";
// A file the simulated machine writes the last upload trailer's request flag
// into ("request flag N").
constexpr const char* kSimulatedMachineTrailerVariable = "ODC_SIMULATED_MACHINE_TRAILER";

// The platform Setup and odctool talk to: the simulated machine when
// ODC_SIMULATED_MACHINE names a file (uploads are written back into it),
// else the still-image driver on Windows and no device elsewhere. When the
// named file cannot be used, the result has no device and `note` (if given)
// says why; otherwise `note` describes the choice.
std::unique_ptr<UsbPlatform> MakeUsbPlatform(std::string* note = nullptr);

#ifdef _WIN32
// The still-image driver (usbscan_win32.cpp).
std::unique_ptr<UsbPlatform> MakeUsbscanPlatform();
#endif

}  // namespace odc
