// The command/reply protocol with the machine, the status check and poll,
// and the connection flags. Replies are untrusted: every length is checked
// against the work buffer, the record and the information block before
// anything is copied, and a reply beyond them counts as a failed read.
#include <cstring>
#include <memory>
#include <vector>

#include "setup/data/bytes.h"
#include "setup/link/machine_link.h"

namespace odc {

const char* LinkMessageText(LinkMessage message) {
  switch (message) {
    case LinkMessage::ErrorOpeningPort:
      return kErrorOpeningPortText;
    case LinkMessage::MachineOperating:
      return kMachineOperatingText;
    case LinkMessage::DisconnectedByTimeout:
      return kDisconnectedByTimeoutText;
    case LinkMessage::DisconnectedByTrouble:
      return kDisconnectedByTroubleText;
    case LinkMessage::ConnectAgain:
      return kConnectAgainText;
    case LinkMessage::MachineDataError:
      return kMachineDataErrorText;
  }
  return "";
}

namespace {

// A reply body, held in a buffer of its announced size once that size has
// been checked against the step's work buffer.
using ReplyBody = std::vector<uint8_t>;

// Header with one write, body with a second. Closes the port on failure.
bool SendRequest(MachineLink& link, uint32_t command, const uint8_t* body, uint32_t bodySize) {
  uint8_t header[kCommandHeaderSize];
  PutU32(header, command);
  PutU32(header + 4, bodySize);
  if (WritePipe(link, link.port.writePipe, sizeof header, header) &&
      WritePipe(link, link.port.writePipe, bodySize, body)) {
    return true;
  }
  CloseMachinePort(link);
  return false;
}

bool SendItemRequest(MachineLink& link, uint32_t command, uint32_t itemId) {
  uint8_t item[8];
  PutU32(item, itemId);
  PutU32(item + 4, 0);
  return SendRequest(link, command, item, sizeof item);
}

// Reads the header, then the body it announces. A body larger than the
// step's work buffer (`limit`) is a failed read. Closes the port on
// failure.
bool ReadReply(MachineLink& link, size_t limit, ReplyBody& body) {
  uint8_t header[kCommandHeaderSize] = {};
  if (ReadPipe(link, link.port.readPipe, kCommandHeaderSize, header)) {
    const uint32_t size = GetU32(header + 4);
    if (size <= limit) {
      body.assign(size, 0);
      if (ReadPipe(link, link.port.readPipe, size, body.data())) return true;
    }
  }
  CloseMachinePort(link);
  return false;
}

}  // namespace

int ParseStatusReply(const uint8_t* body, size_t size, uint8_t& status) {
  ByteReader reader(body, size);
  uint32_t id = 0;
  uint32_t length = 0;
  if (!reader.ReadU32(id) || !reader.ReadU32(length)) return 0;
  if (length == 0 || length == kNoData || length > reader.remaining()) return 0;
  status = *reader.current();
  return 1;
}

int QueryStatus(MachineLink& link) {
  if (!SendItemRequest(link, kControlCommand, kStatusQueryId)) return 0;
  ReplyBody body;
  return ReadReply(link, kSmallWorkBufferSize, body) ? 1 : 0;
}

int ReadStatus(MachineLink& link, uint8_t& status) {
  if (OpenMachinePort(link) == -1) return 0;
  if (!SendItemRequest(link, kControlCommand, kStatusQueryId)) return 0;
  ReplyBody body;
  if (!ReadReply(link, kSmallWorkBufferSize, body)) return 0;
  const int parsed = ParseStatusReply(body.data(), body.size(), status);
  CloseMachinePort(link);
  return parsed;
}

int SendControlRequest(MachineLink& link, ControlRequest which) {
  if (OpenMachinePort(link) == -1) return 0;
  const bool sent = SendItemRequest(link, kControlCommand, static_cast<uint32_t>(which));
  CloseMachinePort(link);
  return sent ? 1 : 0;
}

namespace {

int ControlWithMessage(MachineLink& link, LinkUi& ui, ControlRequest which) {
  if (SendControlRequest(link, which)) return 1;
  ui.ShowLinkMessage(LinkMessage::ConnectAgain);
  ui.ShowReadyStatus();
  return 0;
}

}  // namespace

int ConnectRequest(MachineLink& link, LinkUi& ui) {
  return ControlWithMessage(link, ui, ControlRequest::Connect);
}

int DisconnectRequest(MachineLink& link, LinkUi& ui) {
  return ControlWithMessage(link, ui, ControlRequest::Disconnect);
}

int CheckMachineStatus(MachineLink& link, LinkUi& ui) {
  uint8_t status = 0;
  if (!ReadStatus(link, status)) {
    ui.ShowLinkMessage(LinkMessage::ErrorOpeningPort);
    return 0;
  }
  switch (status) {
    case kStatusOperating:
      ui.ShowLinkMessage(LinkMessage::MachineOperating);
      return 0;
    case kStatusTimeout:
    case kStatusTrouble:
      link.poll = false;
      ui.SendDisconnectCommand();
      ui.ShowLinkMessage(status == kStatusTimeout ? LinkMessage::DisconnectedByTimeout
                                                  : LinkMessage::DisconnectedByTrouble);
      return 0;
    case kStatusReady:
      if (!link.answered && link.connected) {
        // A poll had lost the machine; its connection is gone on the machine
        // side too.
        ui.ShowLinkMessage(LinkMessage::ConnectAgain);
        link.answered = true;
        ui.SendDisconnectCommand();
        return 0;
      }
      break;
    default:
      break;  // any status above 3 counts as ready
  }
  link.answered = true;
  return 1;
}

int PollMachineStatus(MachineLink& link, LinkUi& ui) {
  uint8_t status = 0;
  if (!ReadStatus(link, status)) {
    link.answered = false;
    return 0;
  }
  if (status == kStatusTimeout) {
    link.poll = false;
    ui.SendDisconnectCommand();
    ui.ShowLinkMessage(LinkMessage::DisconnectedByTimeout);
  }
  return 1;
}

int GetMachineInfo(MachineLink& link, DataSet& set) {
  link.poll = false;
  if (OpenMachinePort(link) == -1) return 0;
  if (!SendItemRequest(link, kGetCommand, kMachineInfoId)) return 0;
  ReplyBody body;
  if (!ReadReply(link, kSmallWorkBufferSize, body)) return 0;
  ByteReader reader(body.data(), body.size());
  uint32_t id = 0;
  uint32_t length = 0;
  bool ok = reader.ReadU32(id) && reader.ReadU32(length);
  if (ok && length != kNoData) {
    // The block is 80 bytes: a longer item is a broken reply, not one to cut.
    ok = length <= kMachineInfoSize && length <= reader.remaining();
    if (ok) std::memcpy(set.machineInfo, reader.current(), length);
  }
  CloseMachinePort(link);
  return ok ? 1 : 0;
}

int WalkDownloadReply(DataSet& set, const uint8_t* body, size_t size) {
  ByteReader reader(body, size);
  for (;;) {
    uint32_t id = 0;
    uint32_t length = 0;
    if (!reader.ReadU32(id) || !reader.ReadU32(length)) return 0;
    const bool hasData = length != 0 && length != kNoData;
    if (hasData && length > reader.remaining()) return 0;
    const int index = FindRecord(set, id);
    if (index >= 0) {
      if (hasData && length > kRecordDataSize) return 0;
      ItemRecord& record = set.records[index];
      record.length = length;
      if (hasData) std::memcpy(record.data, reader.current(), length);
    }
    // An id that names no record is stepped over, which keeps the walk in
    // step with the stream.
    if (hasData) reader.Skip(length);
    if (id == set.endItemId) break;
  }
  return reader.AtEnd() ? 1 : 0;
}

int GetAllItems(MachineLink& link, DataSet& set) {
  link.poll = false;
  if (OpenMachinePort(link) == -1) return 0;
  uint8_t request[kItemIdListSize];
  WriteItemIdList(set, request);
  if (!SendRequest(link, kGetCommand, request, kItemIdListSize)) return 0;
  ReplyBody body;
  if (!ReadReply(link, kLargeWorkBufferSize, body)) return 0;
  const int walked = WalkDownloadReply(set, body.data(), body.size());
  CloseMachinePort(link);
  return walked;
}

int SetAllItems(MachineLink& link, DataSet& set) {
  set.uploadPacking = true;
  link.poll = false;
  if (OpenMachinePort(link) == -1) {
    set.uploadPacking = false;
    return 0;
  }
  std::vector<uint8_t> buffer(kLargeWorkBufferSize);
  size_t size = WriteItemStream(set, buffer.data(), buffer.size() - kUploadTrailerSize);
  if (size == 0) {
    CloseMachinePort(link);
    return 0;
  }
  uint8_t* trailer = buffer.data() + size;
  PutU32(trailer, kUploadTrailerId);
  PutU32(trailer + 4, 2);
  trailer[8] = 1;
  trailer[9] = link.requestFlag;
  size += kUploadTrailerSize;
  if (!SendRequest(link, kSetCommand, buffer.data(), static_cast<uint32_t>(size))) return 0;
  // Only an upload that went out has delivered the flag; a failed one
  // keeps it for the next attempt.
  link.requestFlag = 0;
  return 1;
}

// ---- Link sequences --------------------------------------------------------

void ConnectMachine(MachineLink& link, LinkUi& ui) {
  link.connected = CheckMachineStatus(link, ui) != 0;
  if (link.connected) {
    ConnectRequest(link, ui);
    link.poll = true;
  }
  CloseMachinePort(link);
}

void DisconnectMachine(MachineLink& link, LinkUi& ui) {
  link.connected = false;
  DisconnectRequest(link, ui);
  link.poll = false;
  CloseMachinePort(link);
}

void TickStatusPoll(MachineLink& link, LinkUi& ui) {
  if (!link.poll) return;
  if (!PollMachineStatus(link, ui)) {
    link.poll = false;
    ui.SendDisconnectCommand();
  }
}

int ReceiveMachineData(MachineLink& link, LinkUi& ui, DataSet& set) {
  // Received into a scratch image first: a download that fails half-way
  // must leave the data set in memory as it was.
  auto scratch = std::make_unique<DataSet>();
  scratch->language = set.language;
  scratch->addressBookOnly = false;
  std::memcpy(scratch->machineInfo, set.machineInfo, kMachineInfoSize);
  if (!GetMachineInfo(link, *scratch) || !GetAllItems(link, *scratch)) {
    // Said also when only the information block failed: a Download that
    // ends without data and without a word would look like success.
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

int DownloadMachineData(MachineLink& link, LinkUi& ui, DataSet& set) {
  if (!CheckMachineStatus(link, ui)) {
    ui.SendDisconnectCommand();
    return 0;
  }
  const int loaded = ReceiveMachineData(link, ui, set);
  link.poll = true;
  return loaded;
}

int UploadMachineData(MachineLink& link, LinkUi& ui, DataSet& set) {
  if (!CheckMachineStatus(link, ui)) {
    ui.SendDisconnectCommand();
    return 0;
  }
  PackTransferImage(set);
  const int sent = SetAllItems(link, set);
  if (!sent) ui.ShowLinkMessage(LinkMessage::MachineDataError);
  link.poll = true;
  return sent;
}

}  // namespace odc
