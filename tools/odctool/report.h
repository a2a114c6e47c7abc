// The address book of a data set as the program's lists show it, in the
// forms odctool prints: JSON, CSV and a readable table. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "setup/data/data_set.h"
#include "setup/data/dial_codec.h"

namespace odc {
namespace tool {

// One One Touch or Speed Dial entry, field for field as its list row.
struct EntryReport {
  int number = 0;    // 1-based
  std::string type;  // "fax", "email" or "program"
  std::string name;
  std::string name2;
  std::string address;  // phone digits or e-mail address
  std::string sub;
  std::string sid;
  std::string batchTime;  // "HH:MM" or ""
  std::string speed;      // "9.6K", "14.4K", "33.6K"; "" where no speed applies
  bool combination = false;
  // E-mail options; empty (and no size code) for entries that are not e-mail.
  std::string emailMode;
  std::optional<int> maxTxSizeCode;
  std::string maxTxSize;  // the list's text for the size code
  std::string maxQuality;
  std::string coding;
  std::string registered;  // "YYYY-MM-DD", "" when no date is stored
  bool groupMark = false;  // a fax entry that carries the machine's group mark
  // Stored bytes in hex, only where the readable columns cannot give them
  // back: the name and name2 when their text does not convert back to the
  // same bytes (or hides behind a combination key), an e-mail address
  // likewise, the flags byte when it is not the one the entry dialog stores
  // for the columns, a fax entry's speed byte when the dialog cannot show
  // it, a program key's entry.
  std::string nameBytes;
  std::string name2Bytes;
  std::string addressBytes;
  std::string flagsByte;
  std::string speedByte;
  std::string programEntry;
  // What a combination key holds behind its number (CSV only; the lists
  // show none): the speed when it is one of the dialog's three, the SUB,
  // the SID and the batch time.
  std::string hiddenSpeed;
  std::string hiddenSub;
  std::string hiddenSid;
  std::string hiddenBatchTime;

  bool operator==(const EntryReport& other) const;
};

struct GroupMemberReport {
  std::string kind;  // "one-touch" or "speed-dial"
  int number = 0;    // 1-based
  bool operator==(const GroupMemberReport& o) const { return kind == o.kind && number == o.number; }
};

struct GroupReport {
  int number = 0;  // the One Touch key, 1-based
  std::string name;
  std::string name2;
  std::vector<GroupMemberReport> members;
  std::string registered;
  std::string nameBytes;  // as for an entry
  std::string name2Bytes;
  std::string flagsByte;  // when the flags are not the group dialog's 0x80
  bool operator==(const GroupReport& other) const {
    return number == other.number && name == other.name && name2 == other.name2 &&
           members == other.members && registered == other.registered &&
           nameBytes == other.nameBytes && name2Bytes == other.name2Bytes &&
           flagsByte == other.flagsByte;
  }
};

struct AddressBookReport {
  std::string kind;  // "address-book" or "full"
  std::string machineName;
  std::vector<EntryReport> oneTouch;   // entries in use, Group dials aside
  std::vector<EntryReport> speedDial;  // entries in use
  std::vector<GroupReport> groups;     // keys holding Group dials
};

// Texts of single list cells.
std::string BatchTimeText(const char* hour, const char* minute);
std::string RegistrationDateText(uint16_t date);
std::string SpeedText(uint8_t speedIndex);
std::string EmailModeText(uint8_t mode);
std::string MaxTxSizeText(uint8_t code, bool addressBookOnly, bool inchPaper);
std::string MaxQualityText(uint8_t code);
std::string CodingText(uint8_t code);

// The row of one display record (already unpacked by the codec).
EntryReport ReportEntry(const DisplayRecord& record, int number, const DataSet& set);
GroupReport ReportGroup(const DisplayRecord& record, int number, const DataSet& set);

// Decodes every entry of a loaded data set as the three views do. The codec
// may drop broken e-mail entries from the working tables, as the lists do.
AddressBookReport ReportAddressBook(DataSet& set);

nlohmann::ordered_json AddressBookJson(const AddressBookReport& book);
// RFC 4180: a header row, then one row per entry and group, CRLF line ends.
std::string AddressBookCsv(const AddressBookReport& book);
// A field quoted only when it must be: for a separator, a quote or a line
// break (RFC 4180), and for a space or tab at either end, which readers trim
// from a field that is not quoted.
std::string CsvField(const std::string& field);
// A readable table for a terminal.
std::string AddressBookTable(const AddressBookReport& book);

}  // namespace tool
}  // namespace odc
