#include "tools/odctool/link_commands.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "setup/data/dial_codec.h"
#include "setup/data/document.h"
#include "setup/link/machine_link.h"
#include "setup/link/simulated_machine.h"
#include "tools/odctool/commands.h"

namespace odc {
namespace tool {
namespace {

// The program shows these in message boxes; a command line writes them to
// standard error.
class ConsoleLinkUi : public LinkUi {
 public:
  ConsoleLinkUi(MachineLink& link, std::ostream& err) : link_(link), err_(err) {}
  void ShowLinkMessage(LinkMessage message) override { err_ << LinkMessageText(message) << '\n'; }
  // odctool never opens a configuration connection (no connect request),
  // so there is none to close on the machine: only the local state ends.
  void SendDisconnectCommand() override {
    link_.connected = false;
    link_.poll = false;
    CloseMachinePort(link_);
  }
  void ShowReadyStatus() override {}

 private:
  MachineLink& link_;
  std::ostream& err_;
};

// The simulated machine writes an upload back into its file; a write that
// failed has lost the upload, whatever the protocol said.
bool UploadKept(UsbPlatform& usb) {
  const auto* machine = dynamic_cast<const SimulatedMachine*>(&usb);
  return machine == nullptr || machine->writeBackOk();
}

}  // namespace

int RunStatus(UsbPlatform& usb, bool json, std::ostream& out, std::ostream& err) {
  MachineLink link(usb);
  uint8_t status = 0;
  const bool reached = ReadStatus(link, status);
  const MachineStatusReport report = DescribeMachineStatus(reached, status);
  if (json) {
    nlohmann::ordered_json j;
    j["status"] = reached ? nlohmann::ordered_json(status) : nlohmann::ordered_json();
    j["ready"] = report.ready;
    j["text"] = report.text;
    out << j.dump(2) << '\n';
  } else if (reached) {
    out << "Machine status " << static_cast<int>(status) << ": " << report.text << '\n';
  }
  // A monitoring script reads the answer from the exit code; the reason
  // goes where the program would show its message.
  if (!report.ready) err << report.message << '\n';
  return report.ready ? kExitOk : kExitFailure;
}

MachineStatusReport DescribeMachineStatus(bool reached, uint8_t status) {
  MachineStatusReport report;
  if (!reached) {
    report.text = report.message = kErrorOpeningPortText;
    return report;
  }
  switch (status) {
    case kStatusOperating:
      report.text = report.message = kMachineOperatingText;
      return report;
    case kStatusTimeout:
      report.text = report.message = kDisconnectedByTimeoutText;
      return report;
    case kStatusTrouble:
      report.text = report.message = kDisconnectedByTroubleText;
      return report;
    default:
      // The program counts 0 and every status above 3 as ready.
      report.ready = true;
      report.text = "ready";
      return report;
  }
}

int RunDownload(UsbPlatform& usb, const std::string& outPath, Language language,
                std::ostream& err) {
  MachineLink link(usb);
  ConsoleLinkUi ui(link, err);
  auto set = std::make_unique<DataSet>();
  set->language = language;
  const int loaded = DownloadMachineData(link, ui, *set);
  CloseMachinePort(link);
  if (!loaded) return kExitFailure;
  // As the program's Download then Save: unpacked into the working tables,
  // packed again for the file.
  UnpackTransferImage(*set);
  CheckDialTables(*set);
  Document document;
  if (!SaveDataSet(*set, document, outPath)) {
    err << "Cannot write " << outPath << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

int RunUpload(UsbPlatform& usb, const std::string& inPath, Language language, std::ostream& err,
              bool networkChanged) {
  auto set = LoadDataSet(inPath, language);
  if (!set) return ReportUnusableFile(inPath, err);
  MachineLink link(usb);
  ConsoleLinkUi ui(link, err);
  link.requestFlag = networkChanged ? 1 : 0;
  const int sent = UploadMachineData(link, ui, *set);
  CloseMachinePort(link);
  if (!sent) return kExitFailure;
  if (!UploadKept(usb)) {
    err << kMachineDataErrorText << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace tool
}  // namespace odc
