#include "tools/odctool/setting_names.h"

#include <cstdio>

namespace odc {
namespace tool {
namespace {

struct Named {
  uint32_t id;
  const char* page;
  const char* meaning;
  bool secret;
};

constexpr const char* kMachine = "Machine Setting";
constexpr const char* kPaper = "Paper Source";
constexpr const char* kAdmin = "Administrator Mode";
constexpr const char* kNetwork = "Network Setting";
constexpr const char* kEmail = "E-Mail Setting";
constexpr const char* kLdap = "LDAP Setting";
constexpr const char* kComm = "Communication Setting";
constexpr const char* kInfo = "Machine Information";
constexpr const char* kCopy = "Copy Setting";
constexpr const char* kFaxTx = "FAX TX Operation";
constexpr const char* kFaxRx = "FAX RX Operation";
constexpr const char* kReport = "Report Setting";
constexpr const char* kScan = "Scan Setting";
constexpr const char* kMachineData = "Machine data";
constexpr const char* kCounter = "Counter";

// Items whose meaning the pages tie to one id: the Machine Setting block maps
// onto 0x10000-0x1000D in id order, the FAX RX Operation block onto
// 0x10900-0x10911 in the order of the page's fields. The stable names of
// odctool get/set (setup/settings/setting_catalog.cpp) follow these.
constexpr Named kNames[] = {
    {0x10000, kMachine, "Auto Panel Reset time", false},
    {0x10001, kMachine, "Energy Save Mode time", false},
    {0x10002, kMachine, "Auto Shut Off time", false},
    {0x10003, kMachine, "Density(ADF) mode", false},
    {0x10004, kMachine, "Density(BOOK) mode", false},
    {0x10005, kMachine, "print density", false},
    {0x10006, kMachine, "LCD contrast", false},
    {0x10007, kMachine, "buzzer volume", false},
    {0x10008, kMachine, "language", false},
    {0x10009, kMachine, "region code", false},
    {0x1000A, kMachine, "initial mode", false},
    {0x1000B, kMachine, "scan threshold", false},
    {0x1000C, kMachine, "key speed: time to start", false},
    {0x1000D, kMachine, "key speed: interval", false},
    {0x10100, kPaper, "inch/metric of tray 1", false},
    {0x10101, kPaper, "inch/metric of tray 2", false},
    {0x10102, kPaper, "inch/metric of tray 3", false},
    {0x10103, kPaper, "inch/metric of tray 4", false},
    {0x10104, kPaper, "inch/metric of tray 5", false},
    {0x10105, kPaper, "media type", false},
    {0x10106, kPaper, "size mode", false},
    {0x10107, kPaper, "size input X", false},
    {0x10108, kPaper, "size input Y", false},
    {0x10109, kPaper, "paper type of tray 1", false},
    {0x1010A, kPaper, "paper type of tray 2", false},
    {0x1010B, kPaper, "paper type of tray 3", false},
    {0x1010C, kPaper, "paper type of tray 4", false},
    {0x1010D, kPaper, "paper type of tray 5", false},
    {0x1010E, kPaper, "paper type of Multi-Bypass", false},
    {0x10200, kPaper, "memory 1 X", false},
    {0x10201, kPaper, "memory 1 Y", false},
    {0x10202, kPaper, "memory 2 X", false},
    {0x10203, kPaper, "memory 2 Y", false},
    {0x10300, kAdmin, "Auto Shut Off permission", false},
    {0x10301, kAdmin, "Account Track mode", false},
    {0x10302, kAdmin, "access numbers", true},
    {0x10303, kAdmin, "account counters", false},
    {0x10304, kAdmin, "remote monitor", false},
    {0x10305, kAdmin, "remote password", true},
    {0x10306, kNetwork, "IP mode", false},
    {0x10308, kNetwork, "IP address", false},
    {0x10309, kNetwork, "subnet mask", false},
    {0x1030A, kNetwork, "gateway", false},
    {0x1030B, kNetwork, "gateway TX", false},
    {0x1030C, kNetwork, "DNS", false},
    {0x1030E, kNetwork, "DNS server address", false},
    {0x1030F, kNetwork, "Web Setting", false},
    {0x10310, kNetwork, "LPD Setting", false},
    {0x10311, kNetwork, "SLP Setting", false},
    {0x10312, kNetwork, "SNMP Setting(1)", false},
    {0x10401, kEmail, "sender name", false},
    {0x10403, kEmail, "e-mail address", false},
    {0x10405, kEmail, "SMTP server", false},
    {0x10406, kEmail, "SMTP port", false},
    {0x10407, kEmail, "SMTP timeout", false},
    {0x10408, kEmail, "TEXT insert", false},
    {0x1040A, kEmail, "default subject", false},
    {0x1040D, kEmail, "e-mail mode", false},
    {0x1040E, kEmail, "maximum TX size", false},
    {0x1040F, kEmail, "maximum quality", false},
    {0x10410, kEmail, "coding", false},
    {0x1040B, kEmail, "POP before SMTP", false},
    {0x1040C, kEmail, "POP-before-SMTP wait", false},
    {0x10412, kEmail, "POP3 server", false},
    {0x10413, kEmail, "POP3 port", false},
    {0x10414, kEmail, "POP3 timeout", false},
    {0x10416, kEmail, "POP3 account", false},
    {0x10418, kEmail, "POP3 password", true},
    {0x10419, kEmail, "auto reception", false},
    {0x1041A, kEmail, "auto reception interval", false},
    {0x1041C, kEmail, "reply address", false},
    {0x1041D, kEmail, "header print", false},
    {0x10501, kLdap, "LDAP server", false},
    {0x10503, kLdap, "LDAP account", false},
    {0x10505, kLdap, "LDAP password", true},
    {0x10506, kLdap, "LDAP port", false},
    {0x10507, kLdap, "LDAP timeout", false},
    {0x10508, kLdap, "maximum search results", false},
    {0x1050A, kLdap, "search base", false},
    {0x1050B, kLdap, "search method", false},
    {0x1050C, kLdap, "SSL", false},
    {0x1050E, kLdap, "domain name", false},
    {0x1050F, kLdap, "authentication mode", false},
    {0x10510, kComm, "dial type", false},
    {0x10511, kComm, "pulse rate", false},
    {0x10512, kComm, "PSTN/PBX", false},
    {0x10514, kComm, "prefix", false},
    {0x10515, kComm, "line monitor", false},
    {0x10516, kComm, "TEL/FAX mode", false},
    {0x10517, kComm, "RBT signal time", false},
    {0x10518, kComm, "answer machine", false},
    {0x10520, kComm, "dial type locked", false},
    {0x10521, kComm, "both pulse rates allowed", false},
    {0x1051C, kInfo, "telephone number", false},
    {0x1051E, kInfo, "machine name", false},
    {0x00000, kLdap, "LDAP availability", false},
    {0x10600, kCopy, "paper priority", false},
    {0x10601, kCopy, "quality priority", false},
    {0x10602, kCopy, "density priority", false},
    {0x10603, kCopy, "binding position", false},
    {0x10604, kCopy, "density level (auto)", false},
    {0x10605, kCopy, "density level (manual)", false},
    {0x10606, kCopy, "page margin", false},
    {0x10607, kCopy, "erase left", false},
    {0x10608, kCopy, "erase upper", false},
    {0x10609, kCopy, "erase frame", false},
    {0x1060A, kCopy, "small original", false},
    {0x10703, kCopy, "Mixed Original", false},
    {0x10700, kCopy, "copy priority", false},
    {0x10701, kCopy, "output priority", false},
    {0x10702, kCopy, "4in1 order", false},
    {0x10704, kCopy, "duplex", false},
    {0x10705, kCopy, "crisscross", false},
    {0x10800, kFaxTx, "TX density", false},
    {0x10801, kFaxTx, "TX quality", false},
    {0x10802, kFaxTx, "default TX", false},
    {0x10803, kFaxTx, "header", false},
    {0x10900, kFaxRx, "Memory RX mode", false},
    {0x10901, kFaxRx, "Memory RX window", false},
    {0x10902, kFaxRx, "reduction RX", false},
    {0x10903, kFaxRx, "number of rings", false},
    {0x10904, kFaxRx, "maximum rings", false},
    {0x10905, kFaxRx, "forward mode", false},
    {0x10906, kFaxRx, "forward location", false},
    {0x10907, kFaxRx, "RX print", false},
    {0x10908, kFaxRx, "RX mode", false},
    {0x10909, kFaxRx, "footer", false},
    {0x1090A, kFaxRx, "select tray 1", false},
    {0x1090B, kFaxRx, "select tray 2", false},
    {0x1090C, kFaxRx, "select tray 3", false},
    {0x1090D, kFaxRx, "select tray 4", false},
    {0x1090E, kFaxRx, "select tray 5", false},
    {0x1090F, kFaxRx, "closed network", false},
    {0x10910, kFaxRx, "call transfer", false},
    {0x10911, kFaxRx, "call transfer count", false},
    {0x10A00, kReport, "activity report", false},
    {0x10A01, kReport, "reservation report", false},
    {0x10A02, kReport, "TX result report", false},
    {0x10A03, kReport, "RX result report", false},
    {0x10B00, kScan, "resolution", false},
    {0x10B01, kScan, "image format", false},
    {0x10B02, kScan, "coding method", false},
    {0x20000, kMachineData, "machine value", false},
    {0x20001, kMachineData, "machine variant code", false},
    {0x20311, kCounter, "Copy Print", false},
    {0x20312, kCounter, "FAX RX Print", false},
    {0x20313, kCounter, "Report Print", false},
    {0x20314, kCounter, "PC Print", false},
    {0x20315, kCounter, "Fax TX Page", false},
    {0x20316, kCounter, "Mail TX Page", false},
    {0x20600, kAdmin, "administrator number", true},
};

const char* PageOfUnnamed(uint32_t id) {
  if (id >= 0x10000 && id <= 0x100FF) return kMachine;
  if (id >= 0x10900 && id <= 0x109FF) return kFaxRx;
  return kMachineData;
}

}  // namespace

SettingName NameOfSetting(uint32_t id) {
  for (const Named& named : kNames) {
    if (named.id == id) return {named.page, named.meaning, named.secret};
  }
  char text[32];
  std::snprintf(text, sizeof text, "item 0x%05X", static_cast<unsigned>(id));
  return {PageOfUnnamed(id), text, false};
}

const MachineInfoField kMachineInfoFields[] = {
    {0, 1, MachineInfoField::Byte, "ADF unit"},
    {1, 1, MachineInfoField::Byte, "ADF (duplex) unit"},
    {2, 1, MachineInfoField::Byte, "number of paper trays"},
    {3, 1, MachineInfoField::Byte, "Multi-bypass"},
    {4, 1, MachineInfoField::Byte, "Separator"},
    {5, 1, MachineInfoField::Byte, "Shifter"},
    {6, 1, MachineInfoField::Byte, "PCL printer kit"},
    {7, 1, MachineInfoField::Byte, "NIC kit"},
    {8, 1, MachineInfoField::Byte, "Duplex unit"},
    {9, 2, MachineInfoField::Word, "main memory"},
    {11, 12, MachineInfoField::Text, "main controller version"},
    {23, 12, MachineInfoField::Text, "engine version"},
    {35, 12, MachineInfoField::Text, "PCL version"},
    {47, 12, MachineInfoField::Text, "NIC version"},
    {59, 12, MachineInfoField::Text, "ADF version"},
    {71, 9, MachineInfoField::Raw, "unused bytes"},
};
const int kMachineInfoFieldCount =
    static_cast<int>(sizeof kMachineInfoFields / sizeof kMachineInfoFields[0]);

}  // namespace tool
}  // namespace odc
