// The status reply: parsed on its own, and through the status check with
// the input as the reply to the status read (header and body).
#include <cstddef>
#include <cstdint>

#include "fuzz/link_fuzz_machine.h"
#include "setup/link/machine_link.h"

namespace {

class QuietUi : public odc::LinkUi {
 public:
  void ShowLinkMessage(odc::LinkMessage) override {}
  void SendDisconnectCommand() override {}
  void ShowReadyStatus() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t status = 0;
  odc::ParseStatusReply(data, size, status);

  // One confirming query from the port search, then the status read.
  odc::FuzzReplyMachine machine(data, size, 1);
  odc::MachineLink link(machine);
  QuietUi ui;
  odc::CheckMachineStatus(link, ui);
  // And as the reply that confirms the device itself.
  odc::FuzzReplyMachine confirming(data, size, 0);
  odc::MachineLink confirmingLink(confirming);
  odc::OpenMachinePort(confirmingLink);
  return 0;
}
