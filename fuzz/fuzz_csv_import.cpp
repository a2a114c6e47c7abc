// CSV address books: the reader, the entry dialog's checks on every field
// and the placement of the entries. A refused file must leave the data set
// exactly as it was; an accepted one must survive its own vCard export.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "setup/addressbook/address_text_import.h"
#include "setup/data/document.h"

namespace {

// The first byte chooses whether the input is taken as it stands or behind
// a well-formed opening, so that the mutations reach the rows often.
constexpr char kOpening[] =
    "table,number,type,name,name2,address,sub,sid,batch_time,speed,combination,"
    "email_mode,max_tx_size_code,max_tx_size,max_quality,coding,registered,members\r\n";

const odc::DataSet& Base() {
  static const odc::DataSet* base = [] {
    auto* set = new odc::DataSet();
    odc::Document document;
    odc::NewDataSet(*set, document);
    return set;
  }();
  return *base;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string text;
  if (data[0] & 1) text = kOpening;
  text.append(reinterpret_cast<const char*>(data + 1), size - 1);
  auto set = std::make_unique<odc::DataSet>(Base());
  set->language = static_cast<odc::Language>((data[0] >> 1) % 4);
  odc::SetSetting(*set, odc::kMachineVariantId, (data[0] >> 3) % 6);
  auto before = std::make_unique<odc::DataSet>(*set);
  odc::TextImportProblem problem;
  const int format = odc::ImportTextAddressBook(*set, reinterpret_cast<const uint8_t*>(text.data()),
                                                text.size(), problem);
  if (format == 0) {
    if (std::memcmp(set.get(), before.get(), sizeof(odc::DataSet)) != 0) __builtin_trap();
    return 0;
  }
  if (format != odc::kImportFormatCsv && format != odc::kImportFormatVcard) __builtin_trap();
  const std::string cards = odc::AddressBookVcard(*set);
  auto again = std::make_unique<odc::DataSet>(*before);
  if (odc::ImportTextAddressBook(*again, reinterpret_cast<const uint8_t*>(cards.data()),
                                 cards.size(), problem) == 0 &&
      !cards.empty()) {
    __builtin_trap();
  }
  return 0;
}
