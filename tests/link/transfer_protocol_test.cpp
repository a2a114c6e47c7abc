// The status check, the poll, the connect and disconnect requests, and the
// download walk and upload body, against the simulated machine and crafted
// replies.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "setup/data/bytes.h"
#include "setup/link/demo_machine.h"
#include "setup/link/machine_link.h"
#include "setup/link/simulated_machine.h"
#include "tests/link/link_test_support.h"

namespace odc {
namespace {

using test::AppendU32;
using test::FaultyPlatform;
using test::RecordingUi;
using test::Reply;
using test::ScriptedMachine;
using test::StatusBody;
using Messages = std::vector<LinkMessage>;

std::unique_ptr<SimulatedMachine> DemoMachine(int deviceNumber = 0) {
  auto machine = std::make_unique<SimulatedMachine>(deviceNumber);
  const std::vector<uint8_t> file = DemoMachineFileBytes();
  EXPECT_EQ(machine->LoadMemory(file.data(), file.size()), 1);
  return machine;
}

TEST(StatusCheckTest, FollowsTheMachineStatus) {
  struct Case {
    uint8_t status;
    int result;
    Messages messages;
    int disconnects;
    bool pollAfter;
  };
  const Case cases[] = {
      {0, 1, {}, 0, true},
      {5, 1, {}, 0, true},  // anything above 3 counts as ready
      {1, 0, {LinkMessage::MachineOperating}, 0, true},
      {2, 0, {LinkMessage::DisconnectedByTimeout}, 1, false},
      {3, 0, {LinkMessage::DisconnectedByTrouble}, 1, false},
  };
  for (const Case& c : cases) {
    SimulatedMachine machine;
    machine.SetStatus(c.status);
    MachineLink link(machine);
    link.poll = true;
    RecordingUi ui;
    bool pollAtDisconnect = true;
    ui.onDisconnect = [&] { pollAtDisconnect = link.poll; };

    EXPECT_EQ(CheckMachineStatus(link, ui), c.result) << int(c.status);
    EXPECT_EQ(ui.messages, c.messages) << int(c.status);
    EXPECT_EQ(ui.disconnectCommands, c.disconnects) << int(c.status);
    EXPECT_EQ(link.poll, c.pollAfter) << int(c.status);
    if (c.disconnects) {
      EXPECT_FALSE(pollAtDisconnect) << "poll cleared before Disconnect";
    }
    EXPECT_EQ(link.answered, c.result == 1) << int(c.status);
    EXPECT_EQ(machine.statusQueries(), 2) << "one to confirm the device, one to read";
    EXPECT_EQ(machine.openHandles(), 0) << int(c.status);
  }
}

TEST(StatusCheckTest, WithoutAMachineReportsThePort) {
  NoDevicePlatform usb;
  MachineLink link(usb);
  RecordingUi ui;
  EXPECT_EQ(CheckMachineStatus(link, ui), 0);
  EXPECT_EQ(ui.messages, Messages{LinkMessage::ErrorOpeningPort});
  EXPECT_EQ(ui.disconnectCommands, 0);
}

TEST(StatusCheckTest, AMachineBackAfterALostPollAsksToConnectAgain) {
  SimulatedMachine machine;
  MachineLink link(machine);
  link.connected = true;
  link.answered = false;
  RecordingUi ui;
  EXPECT_EQ(CheckMachineStatus(link, ui), 0);
  EXPECT_EQ(ui.messages, Messages{LinkMessage::ConnectAgain});
  EXPECT_EQ(ui.disconnectCommands, 1);
  EXPECT_TRUE(link.answered);
}

TEST(StatusCheckTest, TheStatusQueryOnTheWire) {
  SimulatedMachine machine;
  FaultyPlatform usb(machine);
  MachineLink link(usb);
  uint8_t status = 0xEE;
  ASSERT_EQ(ReadStatus(link, status), 1);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(usb.written.size(), 4u);
  const std::vector<uint8_t> header = {0x02, 0x03, 0, 0, 0x08, 0, 0, 0};
  const std::vector<uint8_t> item = {0x01, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(usb.written[i], i % 2 == 0 ? header : item) << i;
  EXPECT_FALSE(link.port.IsOpen());
}

TEST(StatusReplyTest, NeedsAFirstItemWithAtLeastOneDataByte) {
  struct Case {
    std::vector<uint8_t> body;
    int ok;
    uint8_t status;
  };
  const Case cases[] = {
      {StatusBody(4), 1, 4},
      {{1, 0, 0, 0, 1, 0, 0, 0}, 0, 0},                 // announces a byte, has none
      {{1, 0, 0, 0, 0, 0, 0, 0, 7}, 0, 0},              // no data
      {{1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 7}, 0, 0},  // absent
      {{1, 0, 0, 0}, 0, 0},
      {{}, 0, 0},
      {{1, 0, 0, 0, 3, 0, 0, 0, 9, 8, 7}, 1, 9},
  };
  for (const Case& c : cases) {
    uint8_t status = 0;
    EXPECT_EQ(ParseStatusReply(c.body.data(), c.body.size(), status), c.ok);
    if (c.ok) {
      EXPECT_EQ(status, c.status);
    }
  }
}

TEST(ConnectTest, StatusOneLeavesTheLinkDisconnectedAndSendsNoConnect) {
  SimulatedMachine machine;
  machine.SetStatus(kStatusOperating);
  MachineLink link(machine);
  RecordingUi ui;
  ConnectMachine(link, ui);
  EXPECT_FALSE(link.connected);
  EXPECT_FALSE(link.poll);
  EXPECT_EQ(machine.connectRequests(), 0);
  EXPECT_EQ(ui.messages, Messages{LinkMessage::MachineOperating});
}

TEST(ConnectTest, ConnectsAndDisconnects) {
  SimulatedMachine machine;
  MachineLink link(machine);
  RecordingUi ui;
  ConnectMachine(link, ui);
  EXPECT_TRUE(link.connected);
  EXPECT_TRUE(link.poll);
  EXPECT_TRUE(machine.connected());
  EXPECT_EQ(machine.openHandles(), 0);

  DisconnectMachine(link, ui);
  EXPECT_FALSE(link.connected);
  EXPECT_FALSE(link.poll);
  EXPECT_FALSE(machine.connected());
  EXPECT_EQ(machine.disconnectRequests(), 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(machine.openHandles(), 0);
}

TEST(ConnectTest, AFailedRequestAsksToConnectAgainAndResetsTheStatusBar) {
  NoDevicePlatform usb;
  MachineLink link(usb);
  RecordingUi ui;
  EXPECT_EQ(ConnectRequest(link, ui), 0);
  EXPECT_EQ(DisconnectRequest(link, ui), 0);
  EXPECT_EQ(ui.messages, (Messages{LinkMessage::ConnectAgain, LinkMessage::ConnectAgain}));
  EXPECT_EQ(ui.readyStatus, 2);
}

TEST(PollTest, ReactsOnlyToTimeOutAndToALostMachine) {
  struct Case {
    uint8_t status;
    Messages messages;
    bool pollAfter;
  };
  const Case cases[] = {
      {0, {}, true},
      {1, {}, true},
      {3, {}, true},
      {2, {LinkMessage::DisconnectedByTimeout}, false},
  };
  for (const Case& c : cases) {
    SimulatedMachine machine;
    machine.SetStatus(c.status);
    MachineLink link(machine);
    link.poll = true;
    RecordingUi ui;
    EXPECT_EQ(PollMachineStatus(link, ui), 1);
    EXPECT_EQ(ui.messages, c.messages) << int(c.status);
    EXPECT_EQ(ui.disconnectCommands, c.pollAfter ? 0 : 1) << int(c.status);
    EXPECT_EQ(link.poll, c.pollAfter) << int(c.status);
  }
}

TEST(PollTest, AnUnreachableMachineLeadsToDisconnectWhoseRequestFails) {
  SimulatedMachine machine;
  FaultyPlatform usb(machine);
  MachineLink link(usb);
  RecordingUi ui;
  ui.onDisconnect = [&] { DisconnectMachine(link, ui); };
  ConnectMachine(link, ui);
  ASSERT_TRUE(link.connected);
  link.answered = true;

  usb.readBudget = usb.bytesRead;  // unplugged
  usb.failWrite = usb.writes;
  TickStatusPoll(link, ui);
  EXPECT_FALSE(link.answered);
  EXPECT_FALSE(link.poll);
  EXPECT_FALSE(link.connected);
  EXPECT_EQ(ui.disconnectCommands, 1);
  EXPECT_EQ(ui.messages, Messages{LinkMessage::ConnectAgain});
  EXPECT_EQ(ui.readyStatus, 1);
  EXPECT_EQ(machine.openHandles(), 0);

  // No poll runs while the flag is clear.
  const int queries = machine.statusQueries();
  TickStatusPoll(link, ui);
  EXPECT_EQ(machine.statusQueries(), queries);
}

// ---- Download --------------------------------------------------------------

TEST(DownloadTest, ReadsEveryItemAndTheInformationBlock) {
  auto machine = DemoMachine();
  MachineLink link(*machine);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  set->addressBookOnly = true;
  link.poll = true;

  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(set->addressBookOnly);
  EXPECT_TRUE(link.poll);
  EXPECT_EQ(machine->openHandles(), 0);
  EXPECT_EQ(std::memcmp(set->machineInfo, machine->memory().machineInfo, kMachineInfoSize), 0);
  for (int i = 0; i < kRecordCount; ++i) {
    const ItemRecord& got = set->records[i];
    const ItemRecord& want = machine->memory().records[i];
    ASSERT_EQ(got.id, want.id) << i;
    ASSERT_EQ(got.length, want.length) << i;
    if (want.length != kNoData) {
      ASSERT_EQ(std::memcmp(got.data, want.data, want.length), 0) << i;
    }
  }
}

TEST(DownloadTest, GetRequestsClearThePollFlag) {
  NoDevicePlatform usb;
  MachineLink link(usb);
  auto set = std::make_unique<DataSet>();
  for (int step = 0; step < 3; ++step) {
    link.poll = true;
    const int result = step == 0   ? GetMachineInfo(link, *set)
                       : step == 1 ? GetAllItems(link, *set)
                                   : SetAllItems(link, *set);
    EXPECT_EQ(result, 0) << step;
    EXPECT_FALSE(link.poll) << step;
  }
}

// An item stream for the download walk.
struct Stream {
  std::vector<uint8_t> bytes;
  Stream& Item(uint32_t id, uint32_t length, std::vector<uint8_t> data = {}) {
    AppendU32(bytes, id);
    AppendU32(bytes, length);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return *this;
  }
};

TEST(DownloadWalkTest, AbsentItemsKeepTheirDataAndUnknownIdsAreSteppedOver) {
  auto set = std::make_unique<DataSet>();
  std::memset(set->records[0].data, 0xAB, kRecordDataSize);
  Stream s;
  s.Item(0x12000, kNoData)
      .Item(0x99999, 3, {1, 2, 3})
      .Item(0x12001, 2, {7, 8})
      .Item(0x12002, 0)
      .Item(kAdminNumberId, 4, {1, 0, 0, 0});
  ASSERT_EQ(WalkDownloadReply(*set, s.bytes.data(), s.bytes.size()), 1);
  EXPECT_EQ(set->records[0].length, kNoData);
  EXPECT_EQ(set->records[0].data[0], 0xAB);
  EXPECT_EQ(set->records[0].data[255], 0xAB);
  EXPECT_EQ(set->records[1].length, 2u);
  EXPECT_EQ(set->records[1].data[1], 8);
  EXPECT_EQ(set->records[2].length, 0u);
  EXPECT_EQ(GetU32(set->records[kRecordCount - 1].data), 1u);
}

TEST(DownloadWalkTest, RejectsStreamsThatDoNotEndWithTheEndItemAtTheirEnd) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    uint32_t firstLength;  // what record 0 holds afterwards
  };
  std::vector<uint8_t> longItem(257, 0x55);
  const Case cases[] = {
      {"bytes behind the end item",
       Stream().Item(0x12000, 0).Item(kAdminNumberId, 4, {1, 2, 3, 4}).Item(5, 0).bytes, 0},
      // What was walked before the fault stays copied.
      {"no end item", Stream().Item(0x12000, 1, {1}).bytes, 1},
      {"empty", {}, 9},
      {"cut inside a head", {0x00, 0x20, 0x01}, 9},
      {"data beyond the end", Stream().Item(0x12000, 152, {1, 2}).bytes, 9},
      {"unknown item beyond the end", Stream().Item(0x777, 9, {1}).bytes, 9},
      {"item over 256 bytes", Stream().Item(0x12000, 257, longItem).Item(kAdminNumberId, 0).bytes,
       9},
  };
  for (const Case& c : cases) {
    auto set = std::make_unique<DataSet>();
    set->records[0].length = 9;
    std::memset(set->records[0].data, 0x33, kRecordDataSize);
    EXPECT_EQ(WalkDownloadReply(*set, c.bytes.data(), c.bytes.size()), 0) << c.what;
    EXPECT_EQ(set->records[0].length, c.firstLength) << c.what;
    if (c.firstLength == 9) {
      EXPECT_EQ(set->records[0].data[0], 0x33) << c.what << ": nothing of a bad item copied";
    }
  }
}

// A machine whose replies to get commands are crafted; status queries are
// answered "ready".
std::unique_ptr<ScriptedMachine> CraftedMachine(std::vector<uint8_t> infoReply,
                                                std::vector<uint8_t> getReply) {
  return std::make_unique<ScriptedMachine>(
      [infoReply, getReply](uint32_t command, const std::vector<uint8_t>& body) {
        if (command == kControlCommand) {
          if (GetU32(body.data()) == kStatusQueryId) return Reply(kControlCommand, StatusBody(0));
          return std::vector<uint8_t>{};
        }
        if (command == kGetCommand) return body.size() == 8 ? infoReply : getReply;
        return std::vector<uint8_t>{};
      });
}

std::vector<uint8_t> GoodInfoReply() {
  return Reply(kGetCommand,
               Stream().Item(kMachineInfoId, 80, std::vector<uint8_t>(80, 0x11)).bytes);
}

TEST(DownloadTest, BrokenRepliesFailWithTheMessageAndLeaveTheDataSetAlone) {
  const std::vector<uint8_t> good = Stream().Item(0x12000, 2, {1, 2}).Item(kAdminNumberId, 0).bytes;
  struct Case {
    const char* what;
    std::vector<uint8_t> info;
    std::vector<uint8_t> items;
  };
  const Case cases[] = {
      {"walked length differs from N", GoodInfoReply(),
       Reply(kGetCommand, good, static_cast<uint32_t>(good.size() - 2))},
      {"N beyond the reply", GoodInfoReply(),
       Reply(kGetCommand, good, static_cast<uint32_t>(good.size() + 4))},
      {"N beyond the work buffer", GoodInfoReply(),
       Reply(kGetCommand, good, kLargeWorkBufferSize + 1)},
      {"N all bits set", GoodInfoReply(), Reply(kGetCommand, good, 0xFFFFFFFFu)},
      {"information block over 80 bytes",
       Reply(kGetCommand, Stream().Item(kMachineInfoId, 81, std::vector<uint8_t>(81, 1)).bytes),
       Reply(kGetCommand, good)},
      {"information reply beyond its work buffer",
       Reply(kGetCommand, GoodInfoReply(), kSmallWorkBufferSize + 1), Reply(kGetCommand, good)},
      {"information item longer than its reply",
       Reply(kGetCommand, Stream().Item(kMachineInfoId, 80, {1, 2}).bytes),
       Reply(kGetCommand, good)},
  };
  for (const Case& c : cases) {
    auto machine = CraftedMachine(c.info, c.items);
    FaultyPlatform usb(*machine);
    MachineLink link(usb);
    RecordingUi ui;
    auto set = std::make_unique<DataSet>();
    set->records[0].length = 7;
    std::memset(set->machineInfo, 0x22, kMachineInfoSize);

    EXPECT_EQ(DownloadMachineData(link, ui, *set), 0) << c.what;
    EXPECT_EQ(ui.messages, Messages{LinkMessage::MachineDataError}) << c.what;
    EXPECT_FALSE(link.port.IsOpen()) << c.what;
    EXPECT_EQ(machine->openHandles(), 0) << c.what;
    EXPECT_EQ(set->records[0].length, 7u) << c.what;
    EXPECT_EQ(set->machineInfo[79], 0x22) << c.what;
    EXPECT_LE(usb.largestRead, kLargeWorkBufferSize) << c.what;
  }
}

TEST(DownloadTest, GetAllItemsKeepsWhatWasCopiedBeforeAShortReply) {
  const std::vector<uint8_t> body = Stream().Item(0x12000, 2, {1, 2}).Item(kAdminNumberId, 0).bytes;
  auto machine = CraftedMachine(GoodInfoReply(),
                                Reply(kGetCommand, body, static_cast<uint32_t>(body.size() + 8)));
  MachineLink link(*machine);
  auto set = std::make_unique<DataSet>();
  EXPECT_EQ(GetAllItems(link, *set), 0);
  EXPECT_EQ(machine->openHandles(), 0);
}

TEST(DownloadTest, TheStatusReplyBeyondTheWorkBufferIsAFailedRead) {
  auto machine = std::make_unique<ScriptedMachine>([](uint32_t, const std::vector<uint8_t>&) {
    return Reply(kControlCommand, StatusBody(0), kSmallWorkBufferSize + 1);
  });
  FaultyPlatform usb(*machine);
  MachineLink link(usb);
  RecordingUi ui;
  EXPECT_EQ(CheckMachineStatus(link, ui), 0);
  EXPECT_EQ(ui.messages, Messages{LinkMessage::ErrorOpeningPort});
  EXPECT_EQ(machine->openHandles(), 0);
  EXPECT_EQ(usb.largestRead, kCommandHeaderSize);
}

// ---- Upload ----------------------------------------------------------------

struct UploadItem {
  uint32_t id;
  uint32_t length;
};

std::vector<UploadItem> WalkUpload(const std::vector<uint8_t>& body) {
  std::vector<UploadItem> items;
  ByteReader reader(body.data(), body.size());
  while (!reader.AtEnd()) {
    UploadItem item{};
    EXPECT_TRUE(reader.ReadU32(item.id) && reader.ReadU32(item.length));
    if (item.length != kNoData) {
      EXPECT_TRUE(reader.Skip(item.length));
    }
    items.push_back(item);
  }
  return items;
}

TEST(UploadTest, BodyLeavesOutCountersAndMachineItemsAndEndsWithTheTrailer) {
  for (bool addressBookOnly : {false, true}) {
    auto machine = DemoMachine();
    MachineLink link(*machine);
    RecordingUi ui;
    auto set = std::make_unique<DataSet>();
    ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
    UnpackTransferImage(*set);
    set->addressBookOnly = addressBookOnly;
    link.requestFlag = 1;

    ASSERT_EQ(UploadMachineData(link, ui, *set), 1) << addressBookOnly;
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(link.requestFlag, 0);
    EXPECT_EQ(machine->lastRequestFlag(), 1);
    EXPECT_FALSE(set->uploadPacking);

    const std::vector<uint8_t>& body = machine->lastUploadBody();
    ASSERT_GE(body.size(), kUploadTrailerSize);
    const std::vector<uint8_t> trailer = {0x01, 0x10, 0x02, 0x00, 2, 0, 0, 0, 1, 1};
    EXPECT_EQ(std::vector<uint8_t>(body.end() - kUploadTrailerSize, body.end()), trailer);
    const std::vector<UploadItem> items = WalkUpload(body);
    ASSERT_GE(items.size(), 2u);
    for (const UploadItem& item : items) {
      EXPECT_FALSE(item.id >= kFirstCounterId && item.id <= kLastCounterId) << std::hex << item.id;
      EXPECT_NE(item.id, kMachineValueId);
      EXPECT_NE(item.id, kMachineVariantId);
    }
    const uint32_t last = items[items.size() - 2].id;
    EXPECT_EQ(last, addressBookOnly ? 0x1213Fu : kAdminNumberId) << addressBookOnly;
    EXPECT_EQ(items.size(), addressBookOnly ? 273u : 423u - 6 - 2 + 1) << addressBookOnly;
  }
}

TEST(UploadTest, TheRequestFlagOfASecondUploadIsZero) {
  auto machine = DemoMachine();
  MachineLink link(*machine);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  UnpackTransferImage(*set);
  link.requestFlag = 1;
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  EXPECT_EQ(machine->lastRequestFlag(), 0);
}

TEST(UploadTest, LeavesThePortOpenAndTheNextCheckReusesIt) {
  auto machine = DemoMachine();
  FaultyPlatform usb(*machine);
  MachineLink link(usb);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  UnpackTransferImage(*set);
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  EXPECT_TRUE(link.port.IsOpen());
  EXPECT_EQ(machine->openHandles(), 2);
  EXPECT_TRUE(link.poll);

  const size_t opens = usb.openedPaths.size();
  const int queries = machine->statusQueries();
  EXPECT_EQ(CheckMachineStatus(link, ui), 1);
  EXPECT_EQ(usb.openedPaths.size(), opens) << "no device search";
  EXPECT_EQ(machine->statusQueries(), queries + 2);
  EXPECT_FALSE(link.port.IsOpen());
}

TEST(UploadTest, DownloadThenUploadRoundTripsTheMachineFile) {
  auto machine = DemoMachine();
  const std::vector<uint8_t> before = machine->MemoryFileBytes();
  MachineLink link(*machine);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  UnpackTransferImage(*set);
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  EXPECT_EQ(machine->uploads(), 1);
  // The counters are never sent, and the machine keeps its own.
  EXPECT_EQ(machine->MemoryFileBytes(), before);
  EXPECT_EQ(before, DemoMachineFileBytes());
}

TEST(UploadTest, AnUploadChangesTheMachine) {
  auto machine = DemoMachine();
  MachineLink link(*machine);
  RecordingUi ui;
  auto set = std::make_unique<DataSet>();
  ASSERT_EQ(DownloadMachineData(link, ui, *set), 1);
  UnpackTransferImage(*set);
  std::strcpy(SettingText(*set, kMachineNameId), "Renamed");
  ASSERT_EQ(UploadMachineData(link, ui, *set), 1);
  const ItemRecord& name = machine->memory().records[FindRecord(machine->memory(), kMachineNameId)];
  EXPECT_STREQ(reinterpret_cast<const char*>(name.data), "Renamed");
}

}  // namespace
}  // namespace odc
