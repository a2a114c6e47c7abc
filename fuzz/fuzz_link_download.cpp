// The download reply: the item walk on its own, and the whole get exchange
// with the input as the machine's reply (header and body).
#include <cstddef>
#include <cstdint>
#include <memory>

#include "fuzz/link_fuzz_machine.h"
#include "setup/link/machine_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static odc::DataSet* set = new odc::DataSet();
  odc::BuildTransferImage(*set);
  odc::WalkDownloadReply(*set, data, size);

  odc::BuildTransferImage(*set);
  odc::FuzzReplyMachine machine(data, size, 1);
  odc::MachineLink link(machine);
  odc::GetAllItems(link, *set);
  odc::FuzzReplyMachine infoMachine(data, size, 1);
  odc::MachineLink infoLink(infoMachine);
  odc::GetMachineInfo(infoLink, *set);
  return 0;
}
