// The transfer step of Download, apart from its status check and question.
#include <cstring>
#include <memory>

#include "setup/link/machine_link.h"

namespace odc {

int ReceiveMachineData(MachineLink& link, LinkUi& ui, DataSet& set) {
  // Received into a scratch image first: a download that fails half-way
  // must leave the data set in memory as it was.
  auto scratch = std::make_unique<DataSet>();
  scratch->language = set.language;
  scratch->addressBookOnly = false;
  std::memcpy(scratch->machineInfo, set.machineInfo, kMachineInfoSize);
  if (!GetMachineInfo(link, *scratch)) return 0;
  if (!GetAllItems(link, *scratch)) {
    ui.ShowLinkMessage(LinkMessage::MachineDataError);
    return 0;
  }
  std::memcpy(set.records, scratch->records, sizeof set.records);
  std::memcpy(set.machineInfo, scratch->machineInfo, kMachineInfoSize);
  set.lastSpeedDialId = scratch->lastSpeedDialId;
  set.endItemId = scratch->endItemId;
  set.addressBookOnly = false;
  return 1;
}

}  // namespace odc
