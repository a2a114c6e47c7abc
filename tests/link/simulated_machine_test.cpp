// The simulated machine and the demonstration machine file: the file is
// what the generator makes, the machine answers from it and writes uploads
// back into it, and the environment chooses it in place of the driver.
#include "setup/link/simulated_machine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "setup/data/bytes.h"
#include "setup/data/data_file.h"
#include "setup/data/dial_codec.h"
#include "setup/data/file_io.h"
#include "setup/link/demo_machine.h"
#include "setup/link/machine_link.h"
#include "tests/link/link_test_support.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace odc {
namespace {

using test::AppendU32;
using test::RecordingUi;
using Messages = std::vector<LinkMessage>;

const std::string kFixture = std::string(ODC_TEST_DATA_DIR) + "/demo_machine.dat";

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    setenv(name, value, 1);
  } else {
    unsetenv(name);
  }
#endif
}

// A copy of the demonstration machine file that a test may change.
class MachineFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "odc_machine_" +
            testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat";
    const std::vector<uint8_t> bytes = ReadBytes(kFixture);
    ASSERT_FALSE(bytes.empty()) << kFixture;
    ASSERT_EQ(WriteFileAtomically(path_, bytes), 1);
  }
  void TearDown() override {
    SetEnv(kSimulatedMachineVariable, nullptr);
    SetEnv(kSimulatedMachineStatusVariable, nullptr);
    std::remove(path_.c_str());
  }
  std::string path_;
};

TEST(DemoMachineTest, TheGeneratorReproducesTheCheckedInFile) {
  const std::vector<uint8_t> fixture = ReadBytes(kFixture);
  ASSERT_FALSE(fixture.empty()) << kFixture;
  EXPECT_EQ(DemoMachineFileBytes(), fixture);
}

TEST(DemoMachineTest, HoldsARealisticAddressBookAndSettings) {
  const std::vector<uint8_t> fixture = ReadBytes(kFixture);
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(ReadDataFileBytes(*set, fixture.data(), fixture.size()), 1);
  EXPECT_FALSE(set->addressBookOnly);
  UnpackTransferImage(*set);
  EXPECT_STREQ(SettingText(*set, kMachineNameId), "M40 Front Office");
  EXPECT_EQ(set->machineInfo[7], 1) << "NIC kit";

  DisplayRecord record;
  UnpackOneTouch(record, *set, 0);
  EXPECT_STREQ(record.name, "Head Office");
  EXPECT_STREQ(record.number, "0312345678");
  EXPECT_STREQ(record.sub, "1234");
  EXPECT_STREQ(record.sid, "5678");
  EXPECT_STREQ(record.batchHour, "14");
  EXPECT_STREQ(record.batchMinute, "05");
  UnpackOneTouch(record, *set, 2);
  EXPECT_EQ(record.kind, kKindEmail);
  EXPECT_STREQ(record.email, "sales@example.com");
  UnpackOneTouch(record, *set, 6);
  EXPECT_EQ(record.combination, 1);
  UnpackOneTouch(record, *set, 29);
  EXPECT_EQ(record.program, 1);
  UnpackGroup(record, *set, 10);
  EXPECT_EQ(record.entryType, kEntryGroup);
  EXPECT_STREQ(record.name, "All Offices");
  EXPECT_EQ(record.memberCount, 4);
  UnpackGroup(record, *set, 11);
  EXPECT_EQ(record.memberCount, 3);
  UnpackSpeedDial(record, *set, 2);
  EXPECT_STREQ(record.email, "accounts@example.com");

  // The machine's counters are in the machine file.
  const ItemRecord& counter = set->records[FindRecord(*set, kFirstCounterId)];
  EXPECT_EQ(counter.length, 4u);
  EXPECT_EQ(GetU32(counter.data), 48213u);
}

TEST_F(MachineFileTest, TheEnvironmentChoosesTheMachineAndUploadsAreWrittenBack) {
  SetEnv(kSimulatedMachineVariable, path_.c_str());
  std::string note;
  std::unique_ptr<UsbPlatform> usb = MakeUsbPlatform(&note);
  EXPECT_NE(note.find(path_), std::string::npos) << note;
  MachineLink link(*usb);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  UnpackTransferImage(*set);
  std::strcpy(SettingText(*set, kMachineNameId), "Renamed M40");
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  EXPECT_TRUE(ui.messages.empty());

  SimulatedMachine reloaded;
  ASSERT_EQ(reloaded.LoadMemoryFile(path_), 1);
  const DataSet& memory = reloaded.memory();
  EXPECT_STREQ(
      reinterpret_cast<const char*>(memory.records[FindRecord(memory, kMachineNameId)].data),
      "Renamed M40");
  // The upload never carries the counters; the file keeps the machine's.
  const ItemRecord& counter = memory.records[FindRecord(memory, kLastCounterId)];
  EXPECT_EQ(counter.length, 4u);
  EXPECT_EQ(GetU32(counter.data), 7312u);
  EXPECT_FALSE(IsExistingFile(TemporaryPathFor(path_))) << "no temporary file left behind";
}

TEST(MachineFileInUnicodeFolder, IsFoundReadAndWrittenBack) {
  // "Łukasz 日本": outside the ANSI code page of a Western Windows.
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(testing::TempDir()) / "odc_machine_unicode" /
                          fs::u8path("\xC5\x81ukasz \xE6\x97\xA5\xE6\x9C\xAC");
  fs::create_directories(folder);
  const fs::path file = folder / fs::u8path("\xE6\xA9\x9F\xE6\xA2\xB0.dat");  // "機械.dat"
  fs::copy_file(fs::u8path(kFixture), file, fs::copy_options::overwrite_existing);
#ifdef _WIN32
  // Windows hands such a variable over in UTF-16.
  SetEnvironmentVariableW(L"ODC_SIMULATED_MACHINE", file.wstring().c_str());
#else
  SetEnv(kSimulatedMachineVariable, file.u8string().c_str());
#endif
  std::string note;
  std::unique_ptr<UsbPlatform> usb = MakeUsbPlatform(&note);
  EXPECT_EQ(note, "simulated machine: " + file.u8string());
  MachineLink link(*usb);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  UnpackTransferImage(*set);
  std::strcpy(SettingText(*set, kMachineNameId), "Renamed M40");
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  EXPECT_TRUE(static_cast<SimulatedMachine&>(*usb).writeBackOk());

  SimulatedMachine reloaded;
  ASSERT_EQ(reloaded.LoadMemoryFile(file.u8string()), 1);
  const DataSet& memory = reloaded.memory();
  EXPECT_STREQ(
      reinterpret_cast<const char*>(memory.records[FindRecord(memory, kMachineNameId)].data),
      "Renamed M40");
  // Only the machine file is in the folder: no copy under a mangled name.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  SetEnv(kSimulatedMachineVariable, nullptr);
  fs::remove_all(folder.parent_path());
}

TEST_F(MachineFileTest, AMissingFileIsNamedAndLeavesNoDevice) {
  const std::string missing = path_ + ".missing";
  SetEnv(kSimulatedMachineVariable, missing.c_str());
  std::string note;
  std::unique_ptr<UsbPlatform> usb = MakeUsbPlatform(&note);
  EXPECT_EQ(note, "simulated machine file cannot be opened: " + missing);
  MachineLink link(*usb);
  EXPECT_EQ(OpenMachinePort(link), -1);
}

TEST_F(MachineFileTest, TheEnvironmentSetsTheReportedStatus) {
  SetEnv(kSimulatedMachineVariable, path_.c_str());
  const struct {
    const char* status;
    Messages messages;
  } cases[] = {
      {"1", {LinkMessage::MachineOperating}},
      {"2", {LinkMessage::DisconnectedByTimeout}},
      {"3", {LinkMessage::DisconnectedByTrouble}},
      {"0", {}},
  };
  for (const auto& c : cases) {
    SetEnv(kSimulatedMachineStatusVariable, c.status);
    std::unique_ptr<UsbPlatform> usb = MakeUsbPlatform();
    MachineLink link(*usb);
    RecordingUi ui;
    CheckMachineStatus(link, ui);
    EXPECT_EQ(ui.messages, c.messages) << c.status;
  }
}

TEST_F(MachineFileTest, AFileThatIsNoMachineLeavesNoDevice) {
  const std::string bad = path_ + ".bad";
  ASSERT_EQ(WriteFileAtomically(bad, {'C', 'M', 'C', 0, 1, 2}), 1);
  SetEnv(kSimulatedMachineVariable, bad.c_str());
  std::string note;
  std::unique_ptr<UsbPlatform> usb = MakeUsbPlatform(&note);
  EXPECT_NE(note.find("not a settings data file"), std::string::npos) << note;
  MachineLink link(*usb);
  EXPECT_EQ(OpenMachinePort(link), -1);
  std::remove(bad.c_str());
}

// Sends one set command with `body` straight to the machine.
void SendSet(SimulatedMachine& machine, const std::vector<uint8_t>& body) {
  MachineLink link(machine);
  ASSERT_EQ(OpenMachinePort(link), 0);
  std::vector<uint8_t> header;
  AppendU32(header, kSetCommand);
  AppendU32(header, static_cast<uint32_t>(body.size()));
  ASSERT_EQ(WritePipe(link, link.port.writePipe, 8, header.data()), 1);
  ASSERT_EQ(WritePipe(link, link.port.writePipe, static_cast<uint32_t>(body.size()), body.data()),
            1);
  CloseMachinePort(link);
}

TEST(SimulatedMachineTest, StoresUploadsWholeAndNeverTheCounters) {
  SimulatedMachine machine;
  const std::vector<uint8_t> file = ReadBytes(kFixture);
  ASSERT_EQ(machine.LoadMemory(file.data(), file.size()), 1);
  const std::vector<uint8_t> before = machine.MemoryFileBytes();

  struct Case {
    const char* what;
    std::vector<uint8_t> body;
  };
  std::vector<Case> cases;
  {
    std::vector<uint8_t> b;  // a good item, then one longer than a record
    AppendU32(b, 0x12000);
    AppendU32(b, 1);
    b.push_back(9);
    AppendU32(b, 0x12001);
    AppendU32(b, 257);
    b.resize(b.size() + 257, 1);
    cases.push_back({"item over 256 bytes", b});
  }
  {
    std::vector<uint8_t> b;
    AppendU32(b, 0x12000);
    AppendU32(b, 100);
    b.push_back(9);
    cases.push_back({"item cut short", b});
  }
  {
    std::vector<uint8_t> b;
    AppendU32(b, kFirstCounterId);
    AppendU32(b, 4);
    AppendU32(b, 1);
    cases.push_back({"a counter", b});
  }
  for (const Case& c : cases) {
    SendSet(machine, c.body);
    EXPECT_EQ(machine.MemoryFileBytes(), before) << c.what;
  }
  EXPECT_EQ(machine.uploads(), 1) << "only the counter upload was well-formed";
}

TEST(SimulatedMachineTest, AnswersOnlyItsOwnDevicePathAndPipes) {
  SimulatedMachine machine(7);
  const char* refused[] = {"\\\\.\\Usbscan0\\0", "\\\\.\\Usbscan7", "\\\\.\\Usbscan7\\2",
                           "\\\\.\\Usbscan70\\0", "\\\\.\\Usbscan7\\0x"};
  for (const char* path : refused) EXPECT_EQ(machine.Open(path), kInvalidUsbHandle) << path;
  const UsbHandle pipe0 = machine.Open("\\\\.\\Usbscan7\\0");
  const UsbHandle pipe1 = machine.Open("\\\\.\\Usbscan7\\1");
  ASSERT_NE(pipe0, kInvalidUsbHandle);
  ASSERT_NE(pipe1, kInvalidUsbHandle);
  uint8_t descriptor[8] = {};
  uint32_t returned = 0;
  EXPECT_FALSE(machine.Control(pipe1, kGetDeviceDescriptorCode, descriptor, 8, returned));
  EXPECT_FALSE(machine.Control(pipe0, 0x80002014u, descriptor, 8, returned));
  ASSERT_TRUE(machine.Control(pipe0, kGetDeviceDescriptorCode, descriptor, 8, returned));
  EXPECT_EQ(returned, 8u);
  EXPECT_EQ(GetU16(descriptor + 2), kM40ProductId);
  EXPECT_EQ(machine.Write(pipe1, descriptor, 8), 0u) << "replies only come in";
  machine.Close(pipe0);
  machine.Close(pipe1);
  machine.Close(kInvalidUsbHandle);
  EXPECT_EQ(machine.openHandles(), 0);
}

}  // namespace
}  // namespace odc
