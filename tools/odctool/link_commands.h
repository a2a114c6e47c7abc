// odctool's machine commands: status, download and upload over a USB
// platform (the still-image driver, or the simulated machine).
#pragma once

#include <iosfwd>
#include <string>

#include "setup/data/charset.h"
#include "setup/link/usb_platform.h"

namespace odc {
namespace tool {

// Prints the machine's status. 0 when the machine answered, 1 when it could
// not be reached ("Error opening USB Port !").
int RunStatus(UsbPlatform& usb, std::ostream& out, std::ostream& err);
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
