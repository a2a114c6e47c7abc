// The machine settings by name: every setting a person edits on the
// settings pages, with the item that carries it, the forms its value takes
// on the page ("on", "Memory TX", "192.168.1.20", "30" minutes) and the
// page's own checks. odctool reads and changes settings through this table;
// the names are stable and documented in docs/settings_by_name.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "setup/data/data_set.h"
#include "setup/settings/settings_framework.h"

namespace odc {

enum class SettingForm : uint8_t {
  OnOff,         // a check box: "on" / "off", each with its stored code
  Choice,        // radio buttons or a list: named codes
  Number,        // a number within a range, with a unit
  NumberOrOff,   // a number within a range, or "off" (stored 0)
  Text,          // typed text: a character filter and a limit
  MailAddress,   // typed text that must be an e-mail address when not empty
  IpAddress,     // four octets
  SecretDigits,  // a fixed number of digits, never shown
  SecretText,    // typed text, never shown
  Time,          // "HH:MM", or empty for no time
};

enum class TextFilter : uint8_t {
  None,
  Ascii,   // printable ASCII (0x20-0x7F)
  Name,    // the entry dialog's name characters
  Mail,    // the entry dialog's e-mail characters
  Phone,   // "+", "-", digits and space
  Digits,  // 0-9
};

// Where a value is held inside its item.
enum class SettingStorage : uint8_t {
  Item,           // the whole item, in its width (u8/u16/u32, text)
  Octets,         // four bytes at `offset`
  U16AtOffset,    // a little-endian u16 at `offset` (the access numbers)
  CharsAtOffset,  // `limit` characters at `offset`, zero when empty
  TimeAtOffset,   // a u16 time at `offset`, valid while `flag` is set at `flagOffset`
  TextChars,      // text written as it stands, the item's length untouched
};

struct NamedCode {
  const char* name;
  uint32_t code;
};

struct CatalogSetting {
  const char* name = "";  // stable, lower_snake_case
  uint32_t item = 0;
  PageId page = PageId::MachineSetting;
  const char* meaning = "";
  SettingForm form = SettingForm::OnOff;
  SettingStorage storage = SettingStorage::Item;
  uint16_t offset = 0;
  // OnOff: codes[0] is "on", codes[1] "off". Choice: the names in page order.
  std::vector<NamedCode> codes;
  // Number: the range as a person reads it; stored = value * scale.
  int low = 0, high = 0, scale = 1;
  const char* unit = "";
  // Text: filter and the characters the field takes. SecretDigits: the
  // exact number of digits (an empty value clears where `emptyAllowed`).
  TextFilter filter = TextFilter::None;
  int limit = 0;
  bool emptyAllowed = false;
  // IpAddress: the address rule (first and last octet) applies.
  bool addressRule = false;
  bool secret = false;
  bool readOnly = false;
  // Time: the byte and bit that say the time is set.
  uint16_t flagOffset = 0;
  uint8_t flag = 0;
};

// Every setting, in page order.
const std::vector<CatalogSetting>& SettingCatalog();
const CatalogSetting* FindCatalogSetting(std::string_view name);
// The page's caption ("Network Setting").
const char* PageTitle(PageId page);

// The settings value as a person reads it; secrets as "(set)" or "(empty)".
std::string SettingValueText(const DataSet& set, const CatalogSetting& setting);
// The accepted values, for messages and the documentation table.
std::string AcceptedValues(const CatalogSetting& setting, const DataSet* set = nullptr);

// The table of docs/settings_by_name.md: per page, every setting's name,
// item, meaning and accepted values (Markdown).
std::string SettingsTableMarkdown();

// The address rule of the Network Setting page: "" when the address may be
// used, else the page's message. (The page shows the same texts; the rule
// should be shared with it.)
std::string IpAddressProblem(const uint8_t octets[4]);

// One parsed value, ready to be written: the number to store, or the text,
// or the octets.
struct ParsedValue {
  uint32_t number = 0;
  std::string text;  // in the PC's character set
  uint8_t octets[4] = {0, 0, 0, 0};
};

// Parses a value in the page's form and checks it with the page's rules.
// "" when accepted (`out` filled), else a message naming the setting and
// the accepted values. `set` supplies what the rules depend on (language,
// machine variant, installed options).
std::string ParseSettingValue(const DataSet& set, const CatalogSetting& setting,
                              std::string_view value, ParsedValue& out);

// What a set of assignments did.
struct SettingsChange {
  bool changed = false;         // a value differs from what was stored
  bool networkChanged = false;  // IP mode, an address or DNS changed
  std::string problem;          // non-empty: refused, nothing was changed
};

// Checks every assignment (name, value as typed) and, when all pass,
// writes them into the working settings values as the pages do, with the
// pages' coupled rules; then checks the pages' combined rules. On any
// refusal the data set is left as it was. Text items get their data length
// as the pages set it; nothing is packed.
SettingsChange ApplyNamedSettings(DataSet& set,
                                  const std::vector<std::pair<std::string, std::string>>& values);

// "" when the data set carries machine settings; else why not.
std::string SettingsUnavailable(const DataSet& set);

}  // namespace odc
