// Fault injection: every reply of a download cut short at every byte, every
// write of a download and an upload failing in turn. Each must end with the
// right message, the port closed and the data set as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "setup/link/demo_machine.h"
#include "setup/link/machine_link.h"
#include "setup/link/simulated_machine.h"
#include "tests/link/link_test_support.h"

namespace odc {
namespace {

using test::FaultyPlatform;
using test::RecordingUi;
using Messages = std::vector<LinkMessage>;

std::unique_ptr<SimulatedMachine> DemoMachine() {
  auto machine = std::make_unique<SimulatedMachine>();
  const std::vector<uint8_t> file = DemoMachineFileBytes();
  EXPECT_EQ(machine->LoadMemory(file.data(), file.size()), 1);
  return machine;
}

// A data set with recognisable contents, to see that a failed download
// leaves it alone.
std::unique_ptr<DataSet> MarkedDataSet() {
  auto set = std::make_unique<DataSet>();
  for (ItemRecord& record : set->records) {
    record.length = 3;
    std::memset(record.data, 0x5A, kRecordDataSize);
  }
  std::memset(set->machineInfo, 0xA5, kMachineInfoSize);
  set->addressBookOnly = true;
  return set;
}

bool SameImage(const DataSet& a, const DataSet& b) {
  return std::memcmp(a.records, b.records, sizeof a.records) == 0 &&
         std::memcmp(a.machineInfo, b.machineInfo, kMachineInfoSize) == 0 &&
         a.addressBookOnly == b.addressBookOnly;
}

// Reads of the whole download sequence, in bytes: the status replies of the
// check, the information reply and the item reply with their status
// queries.
size_t DownloadReadBytes(SimulatedMachine& machine) {
  FaultyPlatform usb(machine);
  MachineLink link(usb);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  EXPECT_EQ(DownloadMachineData(link, ui, *set), 1);
  return usb.bytesRead;
}

TEST(LinkFaultTest, EveryReplyOfADownloadCutShortAtEveryByte) {
  auto machine = DemoMachine();
  const size_t total = DownloadReadBytes(*machine);
  ASSERT_GT(total, 5000u);
  const auto reference = MarkedDataSet();
  for (size_t cut = 0; cut < total; ++cut) {
    FaultyPlatform usb(*machine);
    usb.readBudget = cut;
    MachineLink link(usb);
    RecordingUi ui;
    auto set = MarkedDataSet();
    ASSERT_EQ(DownloadMachineData(link, ui, *set), 0) << cut;
    ASSERT_EQ(ui.messages.size(), 1u) << cut;
    // Cut inside the status check: the port could not be opened; later:
    // the machine data could not be read.
    const LinkMessage message = ui.messages[0];
    ASSERT_TRUE(message == LinkMessage::ErrorOpeningPort ||
                message == LinkMessage::MachineDataError)
        << cut;
    ASSERT_EQ(ui.disconnectCommands, message == LinkMessage::ErrorOpeningPort ? 1 : 0) << cut;
    ASSERT_FALSE(link.port.IsOpen()) << cut;
    ASSERT_EQ(machine->openHandles(), 0) << cut;
    ASSERT_TRUE(SameImage(*set, *reference)) << cut;
  }
}

TEST(LinkFaultTest, EveryWriteOfADownloadFailingInTurn) {
  auto machine = DemoMachine();
  int writes = 0;
  {
    FaultyPlatform usb(*machine);
    MachineLink link(usb);
    RecordingUi ui;
    auto set = std::make_unique<DataSet>();
    ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
    writes = usb.writes;
  }
  ASSERT_EQ(writes, 12);  // check: 2 queries; info: query + get; items: query + get
  const auto reference = MarkedDataSet();
  for (int failing = 0; failing < writes; ++failing) {
    FaultyPlatform usb(*machine);
    usb.failWrite = failing;
    MachineLink link(usb);
    RecordingUi ui;
    auto set = MarkedDataSet();
    EXPECT_EQ(DownloadMachineData(link, ui, *set), 0) << failing;
    const Messages expected = {failing < 4 ? LinkMessage::ErrorOpeningPort
                                           : LinkMessage::MachineDataError};
    EXPECT_EQ(ui.messages, expected) << failing;
    EXPECT_FALSE(link.port.IsOpen()) << failing;
    EXPECT_EQ(machine->openHandles(), 0) << failing;
    EXPECT_TRUE(SameImage(*set, *reference)) << failing;
  }
}

TEST(LinkFaultTest, EveryWriteOfAnUploadFailingInTurn) {
  auto machine = DemoMachine();
  const std::vector<uint8_t> memoryBefore = machine->MemoryFileBytes();
  auto set = std::make_unique<DataSet>();
  {
    MachineLink link(*machine);
    RecordingUi ui;
    ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
    UnpackTransferImage(*set);
  }
  std::strcpy(SettingText(*set, kMachineNameId), "Never arrives");
  constexpr int kWrites = 8;  // check: 2 queries; upload: query + set
  for (int failing = 0; failing < kWrites; ++failing) {
    FaultyPlatform usb(*machine);
    usb.failWrite = failing;
    MachineLink link(usb);
    link.requestFlag = 1;
    RecordingUi ui;
    EXPECT_EQ(UploadMachineData(link, ui, *set), 0) << failing;
    const bool inCheck = failing < 4;
    EXPECT_EQ(ui.messages,
              Messages{inCheck ? LinkMessage::ErrorOpeningPort : LinkMessage::MachineDataError})
        << failing;
    EXPECT_EQ(ui.disconnectCommands, inCheck ? 1 : 0) << failing;
    EXPECT_FALSE(link.port.IsOpen()) << failing;
    EXPECT_EQ(machine->openHandles(), 0) << failing;
    EXPECT_EQ(link.requestFlag, 1) << failing << ": kept for the next upload";
    EXPECT_EQ(machine->uploads(), 0) << failing;
    EXPECT_FALSE(set->uploadPacking) << failing;
  }
  EXPECT_EQ(machine->MemoryFileBytes(), memoryBefore);

  // With all writes going through, the same upload arrives.
  FaultyPlatform usb(*machine);
  MachineLink link(usb);
  RecordingUi ui;
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  EXPECT_EQ(usb.writes, kWrites);
  EXPECT_EQ(machine->uploads(), 1);
}

TEST(LinkFaultTest, AStatusCheckCutShortAtEveryByte) {
  SimulatedMachine machine;
  size_t total = 0;
  {
    FaultyPlatform usb(machine);
    MachineLink link(usb);
    RecordingUi ui;
    ASSERT_EQ(CheckMachineStatus(link, ui), 1);
    total = usb.bytesRead;
  }
  ASSERT_EQ(total, 2 * (8 + 9u));
  for (size_t cut = 0; cut < total; ++cut) {
    FaultyPlatform usb(machine);
    usb.readBudget = cut;
    MachineLink link(usb);
    RecordingUi ui;
    EXPECT_EQ(CheckMachineStatus(link, ui), 0) << cut;
    EXPECT_EQ(ui.messages, Messages{LinkMessage::ErrorOpeningPort}) << cut;
    EXPECT_FALSE(link.answered) << cut;
    EXPECT_EQ(machine.openHandles(), 0) << cut;
  }
}

}  // namespace
}  // namespace odc
