// The still-image USB driver behind the platform seam.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "setup/link/usb_platform.h"

namespace odc {
namespace {

HANDLE ToHandle(UsbHandle handle) { return reinterpret_cast<HANDLE>(handle); }

class UsbscanPlatform final : public UsbPlatform {
 public:
  UsbHandle Open(const char* path) override {
    // No overlapped I/O: every read and write blocks until the driver
    // completes it.
    HANDLE handle =
        CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_SYSTEM, nullptr);
    return reinterpret_cast<UsbHandle>(handle);
  }

  bool Control(UsbHandle handle, uint32_t code, uint8_t* out, uint32_t outSize,
               uint32_t& returned) override {
    DWORD bytes = 0;
    const BOOL ok =
        DeviceIoControl(ToHandle(handle), code, nullptr, 0, out, outSize, &bytes, nullptr);
    returned = bytes;
    return ok != FALSE;
  }

  uint32_t Read(UsbHandle handle, uint8_t* buffer, uint32_t count) override {
    // A failed ReadFile reports 0 bytes; the count alone decides.
    DWORD bytes = 0;
    ReadFile(ToHandle(handle), buffer, count, &bytes, nullptr);
    return bytes;
  }

  uint32_t Write(UsbHandle handle, const uint8_t* buffer, uint32_t count) override {
    DWORD bytes = 0;
    WriteFile(ToHandle(handle), buffer, count, &bytes, nullptr);
    return bytes;
  }

  void Close(UsbHandle handle) override { CloseHandle(ToHandle(handle)); }
};

static_assert(sizeof(UsbHandle) == sizeof(HANDLE), "a handle fits the seam's handle type");

}  // namespace

std::unique_ptr<UsbPlatform> MakeUsbscanPlatform() { return std::make_unique<UsbscanPlatform>(); }

}  // namespace odc
