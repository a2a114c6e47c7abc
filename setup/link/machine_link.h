// The link to the machine: the machine port on the still-image driver's two
// pipes, the command/reply protocol on it, and the connection flags.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "setup/data/data_set.h"
#include "setup/link/usb_platform.h"

namespace odc {

// ---- Machine port ---------------------------------------------------------

constexpr int kProductListSize = 50;
constexpr const char* kAcceptedProductText = "2052 2054";
using ProductList = std::array<uint32_t, kProductListSize>;

// Splits the text at single spaces and reads each token (at most 9
// characters) as a hexadecimal number; unused slots hold 0.
ProductList ParseProductList(const char* text);

struct MachinePort {
  UsbHandle writePipe = kInvalidUsbHandle;  // pipe 0: commands, descriptor
  UsbHandle readPipe = kInvalidUsbHandle;   // pipe 1: replies
  bool IsOpen() const { return readPipe != kInvalidUsbHandle; }
};

// Everything the program knows about its link to the machine. The program
// holds one; every test builds its own over its own platform.
struct MachineLink {
  explicit MachineLink(UsbPlatform& usb) : platform(&usb) {
    acceptedProducts = ParseProductList(kAcceptedProductText);
  }
  MachineLink(const MachineLink&) = delete;
  MachineLink& operator=(const MachineLink&) = delete;

  UsbPlatform* platform;
  MachinePort port;
  ProductList acceptedProducts{};
  // Product id of the device last accepted; kept when the port closes (the
  // copy settings read it).
  uint32_t machineProductId = 0;

  bool connected = false;  // a Connect passed its status check
  bool poll = false;       // the 3-second timer polls the status
  bool answered = false;   // a status check has seen the machine ready
  // Byte 1 of the upload trailer: set by the settings pages when the
  // network settings changed; cleared once an upload has carried it.
  uint8_t requestFlag = 0;
};

// 0 when the port is open and the machine answered a status query, -1 when
// no machine was found.
int OpenMachinePort(MachineLink& link);
// Closes both pipes and sets them to the invalid handle value. Returns 1.
int CloseMachinePort(MachineLink& link);
// 1 when `count` bytes (or more) were read, else 0.
int ReadPipe(MachineLink& link, UsbHandle handle, uint32_t count, uint8_t* buffer);
// 1 when at least one byte was written (a short write counts), else 0.
int WritePipe(MachineLink& link, UsbHandle handle, uint32_t count, const uint8_t* buffer);

// ---- Transfer protocol ----------------------------------------------------

constexpr uint32_t kControlCommand = 0x0302;
constexpr uint32_t kGetCommand = 0x0202;
constexpr uint32_t kSetCommand = 0x0102;
constexpr uint32_t kStatusQueryId = 1;
constexpr uint32_t kConnectRequestId = 2;
constexpr uint32_t kDisconnectRequestId = 3;
constexpr uint32_t kUploadTrailerId = 0x21001;
constexpr size_t kCommandHeaderSize = 8;
constexpr size_t kUploadTrailerSize = 10;
// Work buffers: the largest reply body each step accepts (and the upload
// request's buffer).
constexpr size_t kSmallWorkBufferSize = 0x10400;  // status, connect, disconnect, info
constexpr size_t kLargeWorkBufferSize = 0x33900;  // download and upload

// Machine status: the first data byte of the status reply's first item.
constexpr uint8_t kStatusReady = 0;
constexpr uint8_t kStatusOperating = 1;
constexpr uint8_t kStatusTimeout = 2;
constexpr uint8_t kStatusTrouble = 3;

// The Disconnect command of the main window.
constexpr int kDisconnectCommand = 117;

enum class LinkMessage {
  ErrorOpeningPort,       // "Error opening USB Port !"
  MachineOperating,       // "Machine is operating !"
  DisconnectedByTimeout,  // "Disconnected from machine by timeout !"
  DisconnectedByTrouble,  // "Disconnected from machine by Machine trouble!"
  ConnectAgain,           // "Disconnected from machine. Please connect again."
  MachineDataError,       // "Error reading/writing machine data!"
};

constexpr const char* kErrorOpeningPortText = "Error opening USB Port !";
constexpr const char* kMachineOperatingText = "Machine is operating !";
constexpr const char* kDisconnectedByTimeoutText = "Disconnected from machine by timeout !";
constexpr const char* kDisconnectedByTroubleText = "Disconnected from machine by Machine trouble!";
constexpr const char* kConnectAgainText = "Disconnected from machine. Please connect again.";
constexpr const char* kMachineDataErrorText = "Error reading/writing machine data!";
constexpr const char* kReadyStatusText = "Device Configurator";  // string 3316

// The English text of a message (the shell shows its string-table copy).
const char* LinkMessageText(LinkMessage message);

// What the protocol needs from the user interface; the shell implements it
// on the main window, tests record the calls.
class LinkUi {
 public:
  virtual ~LinkUi() = default;
  // A message box with the caption of string 3590 and an OK button.
  virtual void ShowLinkMessage(LinkMessage message) = 0;
  // Sends the Disconnect command (117) to the main window and returns when
  // it has finished.
  virtual void SendDisconnectCommand() = 0;
  // Status-bar part 1 back to string 3316.
  virtual void ShowReadyStatus() = 0;
};

enum class ControlRequest : uint32_t {
  Connect = kConnectRequestId,
  Disconnect = kDisconnectRequestId,
};

// Status query on the already open port; closes the port on failure.
int QueryStatus(MachineLink& link);
// Opens the port, queries the status, closes the port; 1 with `status` set.
int ReadStatus(MachineLink& link, uint8_t& status);
int SendControlRequest(MachineLink& link, ControlRequest which);
int ConnectRequest(MachineLink& link, LinkUi& ui);
int DisconnectRequest(MachineLink& link, LinkUi& ui);
// The status check before Connect, Download and Upload: 1 to proceed.
int CheckMachineStatus(MachineLink& link, LinkUi& ui);
// One tick of the status poll: 0 when the machine could not be reached (the
// caller then clears the poll flag and sends Disconnect), else 1.
int PollMachineStatus(MachineLink& link, LinkUi& ui);
// Reads the 80-byte machine information block into set.machineInfo.
int GetMachineInfo(MachineLink& link, DataSet& set);
// Downloads every item into the transfer image.
int GetAllItems(MachineLink& link, DataSet& set);
// Uploads the transfer image (packed by the caller) with the upload
// trailer; leaves the port open on success. 0 when it could not be sent:
// the caller shows "Error reading/writing machine data!".
int SetAllItems(MachineLink& link, DataSet& set);

// Walks a download reply body into the transfer image: 1 when the stream
// ends with the end item exactly at its end. Every item is checked against
// the body and its record before anything is copied.
int WalkDownloadReply(DataSet& set, const uint8_t* body, size_t size);
// The status byte of a status reply body; 0 when the body has no first
// item with at least one data byte.
int ParseStatusReply(const uint8_t* body, size_t size, uint8_t& status);

// ---- Link sequences (the commands Connect, Disconnect, Download, Upload
// without their confirmations and window updates) --------------------------

void ConnectMachine(MachineLink& link, LinkUi& ui);
void DisconnectMachine(MachineLink& link, LinkUi& ui);
// The timer tick: polls when the poll flag is set; an unreachable machine
// clears the poll flag and sends Disconnect.
void TickStatusPoll(MachineLink& link, LinkUi& ui);
// Status check, image rebuilt, information block, every item; the failure
// message shown through `ui`. Returns the data-loaded state (1 loaded, 0
// failed or refused). The caller unpacks on 1.
int DownloadMachineData(MachineLink& link, LinkUi& ui, DataSet& set);
// Command 250, the transfer of Download once the status check passed and the
// user agreed: the information block and every item, into a scratch image.
// 1 when the data set's image now holds the machine's data; 0 leaves the data
// set untouched and shows "Error reading/writing machine data!".
int ReceiveMachineData(MachineLink& link, LinkUi& ui, DataSet& set);
// Status check, pack, upload; "Error reading/writing machine data!" when
// the upload could not be sent. 1 sent, 0 refused or failed.
int UploadMachineData(MachineLink& link, LinkUi& ui, DataSet& set);

}  // namespace odc
