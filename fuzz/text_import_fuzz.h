// The CSV and vCard address-book fuzz targets: the reader, the entry
// dialog's checks on every field and the placement of the entries. A refused
// file must leave the data set exactly as it was; an accepted one must
// survive its own vCard export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/new_data_set_once.h"
#include "setup/addressbook/address_text_import.h"
#include "setup/data/document.h"

namespace odc {
namespace fuzz {

// The first byte chooses the language, the machine variant and whether the
// rest is taken as it stands or behind the well-formed `opening`, so that
// the mutations reach the rows often.
inline int FuzzTextImport(const char* opening, const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string text;
  if (data[0] & 1) text = opening;
  text.append(reinterpret_cast<const char*>(data + 1), size - 1);
  auto set = std::make_unique<DataSet>(NewDataSetOnce());
  set->language = static_cast<Language>((data[0] >> 1) % 4);
  SetSetting(*set, kMachineVariantId, (data[0] >> 3) % 6);
  auto before = std::make_unique<DataSet>(*set);
  TextImportProblem problem;
  const int format = ImportTextAddressBook(*set, reinterpret_cast<const uint8_t*>(text.data()),
                                           text.size(), problem);
  if (format == 0) {
    if (std::memcmp(set.get(), before.get(), sizeof(DataSet)) != 0) __builtin_trap();
    return 0;
  }
  if (format != kImportFormatCsv && format != kImportFormatVcard) __builtin_trap();
  const std::string cards = AddressBookVcard(*set);
  auto again = std::make_unique<DataSet>(*before);
  if (!cards.empty() &&
      ImportTextAddressBook(*again, reinterpret_cast<const uint8_t*>(cards.data()), cards.size(),
                            problem) == 0) {
    __builtin_trap();
  }
  return 0;
}

}  // namespace fuzz
}  // namespace odc
