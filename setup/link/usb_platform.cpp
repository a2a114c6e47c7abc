// Which platform the link talks to: the simulated machine when the
// environment names a machine file, else the still-image driver.
#include "setup/link/usb_platform.h"

#include <cstdlib>
#include <string>

#include "setup/link/simulated_machine.h"

namespace odc {

std::unique_ptr<UsbPlatform> MakeUsbPlatform(std::string* note) {
  const char* file = std::getenv(kSimulatedMachineVariable);
  if (file && *file) {
    auto machine = std::make_unique<SimulatedMachine>();
    if (!machine->LoadMemoryFile(file)) {
      if (note) *note = std::string("simulated machine file is not a settings data file: ") + file;
      return std::make_unique<NoDevicePlatform>();
    }
    machine->SetWriteBackPath(file);
    if (const char* trailer = std::getenv(kSimulatedMachineTrailerVariable))
      machine->SetTrailerReportPath(trailer);
    if (const char* status = std::getenv(kSimulatedMachineStatusVariable)) {
      char* end = nullptr;
      const unsigned long value = std::strtoul(status, &end, 0);
      if (end != status && *end == '\0' && value <= 255) {
        machine->SetStatus(static_cast<uint8_t>(value));
      } else if (note) {
        *note = std::string("ignored ") + kSimulatedMachineStatusVariable + "=" + status + "; ";
      }
    }
    if (note) *note += std::string("simulated machine: ") + file;
    return machine;
  }
#ifdef _WIN32
  if (note) *note = "still-image driver";
  return MakeUsbscanPlatform();
#else
  if (note) *note = "no USB driver on this platform";
  return std::make_unique<NoDevicePlatform>();
#endif
}

}  // namespace odc
