// Which platform the link talks to: the simulated machine when the
// environment names a machine file, else the still-image driver.
#include "setup/link/usb_platform.h"

#include <cstdlib>
#include <string>

#include "setup/data/file_io.h"
#include "setup/link/simulated_machine.h"

namespace odc {

std::unique_ptr<UsbPlatform> MakeUsbPlatform(std::string* note) {
  // The machine file is a path, read as UTF-8 so that a folder outside the
  // code page still names the same file.
  std::string file;
  if (ReadEnvironmentText(kSimulatedMachineVariable, file) && !file.empty()) {
    auto machine = std::make_unique<SimulatedMachine>();
    if (!machine->LoadMemoryFile(file)) {
      if (note) {
        *note = FileCanBeOpened(file)
                    ? "simulated machine file is not a settings data file: " + file
                    : "simulated machine file cannot be opened: " + file;
      }
      return std::make_unique<NoDevicePlatform>();
    }
    machine->SetWriteBackPath(file);
    std::string trailer, status;
    if (ReadEnvironmentText(kSimulatedMachineTrailerVariable, trailer))
      machine->SetTrailerReportPath(trailer);
    if (ReadEnvironmentText(kSimulatedMachineStatusVariable, status)) {
      char* end = nullptr;
      const unsigned long value = std::strtoul(status.c_str(), &end, 0);
      if (end != status.c_str() && *end == '\0' && value <= 255) {
        machine->SetStatus(static_cast<uint8_t>(value));
      } else if (note) {
        *note = std::string("ignored ") + kSimulatedMachineStatusVariable + "=" + status + "; ";
      }
    }
    if (note) *note += "simulated machine: " + file;
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
