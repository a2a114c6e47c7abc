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

// A monitoring script reads the answer from the exit code: 0 only for a
// ready machine, 1 for a busy one, one that timed out or is in trouble, and
// one that cannot be reached, with the program's message on standard error.
TEST_F(OdctoolLink, StatusAnswersInTheExitCode) {
  struct Case {
    uint8_t status;
    int exitCode;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {0, kExitOk, "Machine status 0: ready\n", ""},
      {1, kExitFailure, "Machine status 1: Machine is operating !\n", "Machine is operating !\n"},
      {2, kExitFailure, "Machine status 2: Disconnected from machine by timeout !\n",
       "Disconnected from machine by timeout !\n"},
      {3, kExitFailure, "Machine status 3: Disconnected from machine by Machine trouble!\n",
       "Disconnected from machine by Machine trouble!\n"},
      {9, kExitOk, "Machine status 9: ready\n", ""}};
  for (const Case& c : cases) {
    machine.SetStatus(c.status);
    std::ostringstream text, message;
    EXPECT_EQ(RunStatus(machine, false, text, message), c.exitCode) << int(c.status);
    EXPECT_EQ(text.str(), c.text);
    EXPECT_EQ(message.str(), c.message);
  }
  NoDevicePlatform none;
  EXPECT_EQ(RunStatus(none, false, out, err), kExitFailure);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "Error opening USB Port !\n");
}

TEST_F(OdctoolLink, StatusAsJsonGivesTheCodeAndTheText) {
  machine.SetStatus(1);
  EXPECT_EQ(RunStatus(machine, true, out, err), kExitFailure);
  EXPECT_EQ(
      out.str(),
      "{\n  \"status\": 1,\n  \"ready\": false,\n  \"text\": \"Machine is operating !\"\n}\n");
  machine.SetStatus(0);
  std::ostringstream ready;
  EXPECT_EQ(RunStatus(machine, true, ready, err), kExitOk);
  EXPECT_EQ(ready.str(), "{\n  \"status\": 0,\n  \"ready\": true,\n  \"text\": \"ready\"\n}\n");
  NoDevicePlatform none;
  std::ostringstream unreachable;
  EXPECT_EQ(RunStatus(none, true, unreachable, err), kExitFailure);
  EXPECT_EQ(unreachable.str(),
            "{\n  \"status\": null,\n  \"ready\": false,\n  \"text\": \"Error opening USB Port "
            "!\"\n}\n");
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
  const std::string missing = TempPath("odctool_missing.DAT");
  EXPECT_EQ(RunUpload(machine, missing, Language::SingleByte, bad), kExitFailure);
  EXPECT_EQ(bad.str(), "The file " + missing + " cannot be opened.\n");

  std::remove(path.c_str());
}

}  // namespace
}  // namespace tool
}  // namespace odc
