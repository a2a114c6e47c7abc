// odctool's machine commands: status, download and upload over a USB
// platform (the still-image driver, or the simulated machine).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "setup/data/charset.h"
#include "setup/link/usb_platform.h"

namespace odc {
namespace tool {

// What a status query came to: ready or not, the text that names the
// status, and the program's message when it is not ready.
struct MachineStatusReport {
  bool ready = false;
  std::string text;
  std::string message;
};
MachineStatusReport DescribeMachineStatus(bool reached, uint8_t status);

// Prints the machine's status ("Machine status N: TEXT", or with `json` an
// object {"status": N or null, "ready": bool, "text": TEXT}). Exit code 0
// only when the machine is ready; 1 when it is busy, timed out or in
// trouble, or cannot be reached, with the program's message on `err`.
int RunStatus(UsbPlatform& usb, bool json, std::ostream& out, std::ostream& err);
// Status check, information block, every item; writes a full settings data
// file. 0 written, 1 on a link failure (the program's message on `err`) or
// a failed write.
int RunDownload(UsbPlatform& usb, const std::string& outPath, Language language, std::ostream& err);
// Opens the file, then status check, pack, set command with the upload
// trailer. 0 sent, 1 on an unusable file or a link failure. The trailer's
// request flag tells the machine that its network addressing changed when
// `networkChanged` is set: a settings data file does not carry that flag.
int RunUpload(UsbPlatform& usb, const std::string& inPath, Language language, std::ostream& err,
              bool networkChanged = false);

}  // namespace tool
}  // namespace odc
