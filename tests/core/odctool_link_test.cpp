#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "setup/data/data_file.h"
#include "setup/data/dial_codec.h"
#include "setup/data/document.h"
#include "setup/data/file_io.h"
#include "setup/link/demo_machine.h"
#include "setup/link/simulated_machine.h"
#include "tools/odctool/commands.h"
#include "tools/odctool/link_commands.h"

namespace odc {
namespace tool {
namespace {

std::string TempPath(const char* name) { return ::testing::TempDir() + name; }

class OdctoolLink : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<uint8_t> demo = DemoMachineFileBytes();
    ASSERT_EQ(machine.LoadMemory(demo.data(), demo.size()), 1);
  }
  SimulatedMachine machine;
  std::ostringstream out, err;
};

TEST_F(OdctoolLink, StatusNamesWhatTheMachineReports) {
  struct Case {
    uint8_t status;
    const char* text;
  };
  const Case cases[] = {{0, "Machine status 0: ready\n"},
                        {1, "Machine status 1: Machine is operating !\n"},
                        {3, "Machine status 3: Disconnected from machine by Machine trouble!\n"},
                        {9, "Machine status 9: ready\n"}};
  for (const Case& c : cases) {
    machine.SetStatus(c.status);
    std::ostringstream text;
    EXPECT_EQ(RunStatus(machine, text, err), kExitOk);
    EXPECT_EQ(text.str(), c.text);
  }
  NoDevicePlatform none;
  EXPECT_EQ(RunStatus(none, out, err), kExitFailure);
  EXPECT_EQ(err.str(), "Error opening USB Port !\n");
}

TEST_F(OdctoolLink, DownloadWritesTheMachinesDataSetAsAFullFile) {
  const std::string path = TempPath("odctool_download.DAT");
  ASSERT_EQ(RunDownload(machine, path, Language::SingleByte, err), kExitOk) << err.str();
  EXPECT_EQ(machine.getRequests(), 2);  // the information block, then every item
  auto set = LoadDataSet(path, Language::SingleByte);
  ASSERT_NE(set, nullptr);
  EXPECT_FALSE(set->addressBookOnly);
  EXPECT_EQ(std::memcmp(set->machineInfo, machine.memory().machineInfo, kMachineInfoSize), 0);
  // Every record the machine holds (its counters aside) is in the file.
  for (int r = 0; r < kRecordCount; ++r) {
    const uint32_t id = machine.memory().records[r].id;
    if (id >= kFirstCounterId && id <= kLastCounterId) continue;
    EXPECT_EQ(set->records[r].length, machine.memory().records[r].length) << std::hex << id;
  }
  std::remove(path.c_str());
}

TEST_F(OdctoolLink, RefusedOrFailedLinkLeavesNoFile) {
  const std::string path = TempPath("odctool_refused.DAT");
  std::remove(path.c_str());
  machine.SetStatus(1);
  EXPECT_EQ(RunDownload(machine, path, Language::SingleByte, err), kExitFailure);
  EXPECT_EQ(err.str(), "Machine is operating !\n");
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadFileBytes(path, bytes));

  NoDevicePlatform none;
  std::ostringstream noneErr;
  EXPECT_EQ(RunDownload(none, path, Language::SingleByte, noneErr), kExitFailure);
  EXPECT_EQ(noneErr.str(), "Error opening USB Port !\n");
}

TEST_F(OdctoolLink, UploadSendsTheFileWithItsTrailer) {
  const std::string path = TempPath("odctool_upload.DAT");
  auto set = std::make_unique<DataSet>();
  Document document;
  NewDataSet(*set, document);
  DisplayRecord fax{};
  fax.inUse = 1;
  fax.entryType = kEntryOneTouch;
  std::strcpy(fax.name, "Uploaded");
  std::strcpy(fax.number, "42");
  PackOneTouch(*set, fax, 0);
  ASSERT_EQ(SaveDataSet(*set, document, path), 1);

  ASSERT_EQ(RunUpload(machine, path, Language::SingleByte, err), kExitOk) << err.str();
  EXPECT_EQ(machine.uploads(), 1);
  EXPECT_EQ(machine.lastRequestFlag(), 0);
  EXPECT_EQ(std::memcmp(machine.memory().records[0].data, set->OneTouchEntry(0), 152), 0);

  machine.SetStatus(2);
  std::ostringstream refused;
  EXPECT_EQ(RunUpload(machine, path, Language::SingleByte, refused), kExitFailure);
  EXPECT_EQ(refused.str(), "Disconnected from machine by timeout !\n");
  EXPECT_EQ(machine.uploads(), 1);

  std::ostringstream bad;
  EXPECT_EQ(RunUpload(machine, TempPath("odctool_missing.DAT"), Language::SingleByte, bad),
            kExitFailure);
  EXPECT_EQ(bad.str(), "File format is error! Please select valid format!\n");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace tool
}  // namespace odc
