// Address books kept as text by mail programs and spreadsheets: the CSV that
// `odctool export --csv` writes and vCard 3.0/4.0 files. Every entry goes
// through the entry dialog's own filters and OK checks before anything
// changes; one bad row refuses the whole file. The mapping rules are written
// down in docs/text_address_books.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "setup/data/address_import.h"
#include "setup/data/data_set.h"

namespace odc {

// Import results beside the three formats of DetectImportFile.
constexpr int kImportFormatCsv = 4;
constexpr int kImportFormatVcard = 5;

// The text format the bytes hold, by content (never by file name): a CSV
// whose header row names the columns type and address, or a file whose first
// line is BEGIN:VCARD. 0 for anything else.
int TextAddressBookFormat(const uint8_t* data, size_t size);

// Why a file was refused: where, which field, and the reason as a string id.
struct TextImportProblem {
  int format = 0;  // kImportFormatCsv or kImportFormatVcard
  int line = 0;    // 1-based line of the file
  int card = 0;    // vCard: 1-based number of the card
  std::string field;
  int reasonId = 0;
  std::string value;  // the offending value (UTF-8), when there is one
};

// Reads a text address book into the dial tables of `set`, replacing every
// One Touch key and Speed Dial (program keys the file lists as "program"
// keep the entry `set` has there). Returns kImportFormatCsv or
// kImportFormatVcard; 0 when the file is refused: `problem` says why and
// `set` is exactly as it was. On success the transfer image holds the new
// tables.
int ImportTextAddressBook(DataSet& set, const uint8_t* data, size_t size,
                          TextImportProblem& problem);

// The Import Address Book step for every format the program reads: text
// address books by content, else DetectImportFile's three formats. Returns
// the format (1-5) or 0; `problem.reasonId` is 0 when the file is simply not
// an address book (the caller shows the format error message).
int ImportAddressBookData(DataSet& set, ImportBuffers& buffers, const uint8_t* data, size_t size,
                          TextImportProblem& problem);
int ImportAddressBookFile(DataSet& set, ImportBuffers& buffers, const std::string& path,
                          TextImportProblem& problem);

// The refusal as the user reads it, with the string table `text` (the
// resource module's, or EnglishString).
std::string DescribeTextImportProblem(const TextImportProblem& problem,
                                      const std::function<std::string(int)>& text);

// The columns of our own CSV (`odctool export --csv`), in the order export
// writes them. New columns are only ever appended: a file of an earlier
// column set still imports, since every column but type and address may be
// left out. Export and import both use this one table.
namespace csv {
enum Column : int {
  kTable,
  kNumber,
  kType,
  kName,
  kName2,
  kAddress,
  kSub,
  kSid,
  kBatchTime,
  kSpeed,
  kCombination,
  kEmailMode,
  kMaxTxSizeCode,
  kMaxTxSize,
  kMaxQuality,
  kCoding,
  kRegistered,
  kMembers,
  // Written only where the columns before cannot say what the machine holds.
  kNameBytes,
  kName2Bytes,
  kGroupMark,
  kProgramEntry,
  kFlagsByte,
  kSpeedByte,
  kAddressBytes,
  kColumnCount
};
inline constexpr std::array<const char*, kColumnCount> kColumnNames = {"table",
                                                                       "number",
                                                                       "type",
                                                                       "name",
                                                                       "name2",
                                                                       "address",
                                                                       "sub",
                                                                       "sid",
                                                                       "batch_time",
                                                                       "speed",
                                                                       "combination",
                                                                       "email_mode",
                                                                       "max_tx_size_code",
                                                                       "max_tx_size",
                                                                       "max_quality",
                                                                       "coding",
                                                                       "registered",
                                                                       "members",
                                                                       "name_bytes",
                                                                       "name2_bytes",
                                                                       "group_mark",
                                                                       "program_entry",
                                                                       "flags_byte",
                                                                       "speed_byte",
                                                                       "address_bytes"};
}  // namespace csv

// The speed column of a fax entry for its stored speed byte: the text of the
// dialog's speed button (a byte below 2 shows as 33.6K), "(N)" for a speed
// index the dialog has no button for. A combination key shows no speed; the
// CSV carries the one it holds behind the number when that is one of the
// three buttons, else nothing.
std::string SpeedColumnText(uint8_t stored, bool combination);

// The flags byte (byte 2) the import writes for an entry from the columns of
// its row alone: what the entry dialog and the group dialog store. When the
// stored flags differ, the flags_byte column carries them.
uint8_t OwnCsvFlags(bool speedDial, bool group, bool email, bool combination, bool groupMark,
                    bool batchTime);

// Names as our own CSV carries them. The name column holds the readable
// text of the stored bytes; when that text does not give the same bytes back
// on import (a byte outside the conversion table, spaces at either end, a
// name behind a combination key), the name_bytes column holds the stored
// bytes in hex as well. `name2` selects the name2 field and its conversion.
//
// The readable text of stored name bytes, as the lists show it (UTF-8).
std::string StoredNameText(Language language, std::string_view machine, bool name2);
// The bytes an import stores for a readable name; nullopt when the text is
// not taken as it stands (the contact import's rules, or a refusal).
std::optional<std::string> NameBytesOfText(Language language, std::string_view utf8, bool name2);
// E-mail addresses likewise: the address column holds the readable text of
// the stored bytes (converted as the lists show it), and address_bytes the
// bytes in hex when the text would not give them back (a byte the address
// filter does not take, or one of the two machine bytes that both read as
// '`'). One Touch addresses are stored as typed, Speed Dial addresses in the
// machine's character set.
std::string StoredAddressText(Language language, std::string_view machine);
// The bytes an import stores for a readable address; nullopt when the text
// is not one the address filter takes.
std::optional<std::string> AddressBytesOfText(Language language, std::string_view utf8,
                                              bool speedDial);
// Upper-case hex of bytes, and back (nullopt for anything but pairs of hex
// digits).
std::string HexBytes(std::string_view bytes);
std::optional<std::string> BytesOfHex(std::string_view hex);

// A vCard 3.0 file of the One Touch and Speed Dial entries (UTF-8, CRLF).
std::string AddressBookVcard(DataSet& set);

}  // namespace odc
