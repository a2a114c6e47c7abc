// Finding the machine among the still-image devices, and the whole-buffer
// semantics of the pipes.
#include <gtest/gtest.h>

#include "setup/link/machine_link.h"
#include "setup/link/simulated_machine.h"
#include "tests/link/link_test_support.h"

namespace odc {
namespace {

using test::DeviceBus;
using test::FaultyPlatform;

TEST(ProductListTest, ParsesHexTokensSeparatedBySingleSpaces) {
  struct Case {
    const char* text;
    std::vector<uint32_t> expected;
  };
  const Case cases[] = {
      {"2052 2054", {0x2052, 0x2054}},
      {"", {}},
      {"ff", {0xFF}},
      {"1  2", {0x1, 0x2}},
      // A token lives in a 10-character slot: the tenth character onwards is
      // not part of the number.
      {"0000000012052 3", {0x1, 0x3}},
  };
  for (const Case& c : cases) {
    const ProductList list = ParseProductList(c.text);
    for (size_t i = 0; i < list.size(); ++i) {
      const uint32_t want = i < c.expected.size() ? c.expected[i] : 0;
      EXPECT_EQ(list[i], want) << c.text << " slot " << i;
    }
  }
}

TEST(MachinePortTest, FindsTheMachineOnDeviceNumberThreeAfterThreeFailedOpens) {
  SimulatedMachine machine(3);
  FaultyPlatform usb(machine);
  MachineLink link(usb);

  ASSERT_EQ(OpenMachinePort(link), 0);
  const std::vector<std::string> expected = {"\\\\.\\Usbscan0\\0", "\\\\.\\Usbscan1\\0",
                                             "\\\\.\\Usbscan2\\0", "\\\\.\\Usbscan3\\0",
                                             "\\\\.\\Usbscan3\\1"};
  EXPECT_EQ(usb.openedPaths, expected);
  EXPECT_EQ(machine.openHandles(), 2);
  EXPECT_EQ(machine.statusQueries(), 1);
  EXPECT_EQ(link.machineProductId, 0x2052u);
  EXPECT_TRUE(link.port.IsOpen());

  EXPECT_EQ(CloseMachinePort(link), 1);
  EXPECT_EQ(machine.openHandles(), 0);
  EXPECT_EQ(link.port.readPipe, kInvalidUsbHandle);
  EXPECT_EQ(link.port.writePipe, kInvalidUsbHandle);
  EXPECT_EQ(CloseMachinePort(link), 1);  // a second close is harmless
  EXPECT_EQ(machine.openHandles(), 0);
}

TEST(MachinePortTest, SkipsADeviceOutsideTheAcceptedProducts) {
  SimulatedMachine other(0);
  other.SetProductId(0x2053);
  SimulatedMachine m40(1);
  DeviceBus bus;
  bus.Add(other);
  bus.Add(m40);
  MachineLink link(bus);

  ASSERT_EQ(OpenMachinePort(link), 0);
  EXPECT_EQ(other.opens(), 1);  // pipe 0 only, for the descriptor
  EXPECT_EQ(other.openHandles(), 0);
  EXPECT_EQ(other.statusQueries(), 0);
  EXPECT_EQ(m40.statusQueries(), 1);
  EXPECT_EQ(link.machineProductId, 0x2052u);
}

TEST(MachinePortTest, AcceptsTheSecondListedProduct) {
  SimulatedMachine machine(0);
  machine.SetProductId(0x2054);
  MachineLink link(machine);
  ASSERT_EQ(OpenMachinePort(link), 0);
  EXPECT_EQ(link.machineProductId, 0x2054u);
}

TEST(MachinePortTest, SkipsADeviceThatRefusesTheDescriptor) {
  SimulatedMachine machine(0);
  FaultyPlatform usb(machine);
  usb.failControl = true;
  MachineLink link(usb);
  EXPECT_EQ(OpenMachinePort(link), -1);
  EXPECT_EQ(machine.openHandles(), 0);
  EXPECT_EQ(machine.statusQueries(), 0);
  EXPECT_FALSE(link.port.IsOpen());
}

TEST(MachinePortTest, ReusesTheOpenPortWithOneStatusQuery) {
  SimulatedMachine machine(0);
  FaultyPlatform usb(machine);
  MachineLink link(usb);
  ASSERT_EQ(OpenMachinePort(link), 0);
  const size_t opensBefore = usb.openedPaths.size();

  ASSERT_EQ(OpenMachinePort(link), 0);
  EXPECT_EQ(usb.openedPaths.size(), opensBefore);
  EXPECT_EQ(machine.statusQueries(), 2);
  EXPECT_EQ(machine.openHandles(), 2);
}

TEST(MachinePortTest, SearchesAllDeviceNumbersAfreshWhenTheOpenPortNoLongerAnswers) {
  SimulatedMachine machine(0);
  FaultyPlatform usb(machine);
  MachineLink link(usb);
  ASSERT_EQ(OpenMachinePort(link), 0);
  usb.openedPaths.clear();
  usb.readBudget = usb.bytesRead;  // the machine stops answering

  EXPECT_EQ(OpenMachinePort(link), -1);
  ASSERT_EQ(usb.openedPaths.size(), 16u);  // 15 numbers, both pipes of number 0
  EXPECT_EQ(usb.openedPaths.front(), "\\\\.\\Usbscan0\\0");
  EXPECT_EQ(usb.openedPaths.back(), "\\\\.\\Usbscan14\\0");
  EXPECT_EQ(machine.openHandles(), 0);
  EXPECT_FALSE(link.port.IsOpen());
}

// Pipes that transfer a fixed number of bytes whatever is asked.
class FixedTransferPlatform : public NoDevicePlatform {
 public:
  uint32_t Read(UsbHandle, uint8_t*, uint32_t) override { return transfer; }
  uint32_t Write(UsbHandle, const uint8_t*, uint32_t) override { return transfer; }
  uint32_t transfer = 0;
};

TEST(MachinePortTest, ReadsMustBeWholeWhileAnyWrittenByteCountsAsSuccess) {
  struct Case {
    uint32_t transferred;
    uint32_t asked;
    int read;
    int write;
  };
  const Case cases[] = {{8, 8, 1, 1}, {7, 8, 0, 1}, {0, 8, 0, 0}, {1, 100, 0, 1}, {9, 8, 1, 1}};
  for (const Case& c : cases) {
    FixedTransferPlatform usb;
    usb.transfer = c.transferred;
    MachineLink link(usb);
    uint8_t buffer[100] = {};
    EXPECT_EQ(ReadPipe(link, 1, c.asked, buffer), c.read) << c.transferred << "/" << c.asked;
    EXPECT_EQ(WritePipe(link, 1, c.asked, buffer), c.write) << c.transferred << "/" << c.asked;
  }
}

TEST(MachinePortTest, FindsNoMachineWhereThereIsNoDevice) {
  NoDevicePlatform usb;
  MachineLink link(usb);
  EXPECT_EQ(OpenMachinePort(link), -1);
  EXPECT_FALSE(link.port.IsOpen());
}

}  // namespace
}  // namespace odc
