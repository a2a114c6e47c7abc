// What a person calls each settings item: the page that edits it and the
// value's meaning, and which items are secrets that no report may show.
#pragma once

#include <cstdint>
#include <string>

namespace odc {
namespace tool {

struct SettingName {
  const char* page;
  std::string meaning;  // "item 0x10003" where the value has no better name
  bool secret;
};

SettingName NameOfSetting(uint32_t id);

// Names of the machine information block's fields by byte offset.
struct MachineInfoField {
  int offset;
  int width;
  enum Kind { Byte, Word, Text, Raw } kind;
  const char* name;
};
extern const MachineInfoField kMachineInfoFields[];
extern const int kMachineInfoFieldCount;

}  // namespace tool
}  // namespace odc
