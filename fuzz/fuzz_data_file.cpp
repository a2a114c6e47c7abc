// Settings data files as they come from disk: any bytes at all.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "setup/data/data_file.h"

namespace {

odc::DataSet& Set() {
  static const std::unique_ptr<odc::DataSet> set = std::make_unique<odc::DataSet>();
  return *set;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  odc::DataSet& set = Set();
  odc::BuildTransferImage(set);
  set.addressBookOnly = false;
  if (odc::ReadDataFileBytes(set, data, size) == 1) {
    // Whatever was accepted must stay within the record limits, unpack, and
    // write back out.
    for (const odc::ItemRecord& record : set.records) {
      if (record.length != odc::kNoData && record.length > odc::kRecordDataSize) __builtin_trap();
    }
    odc::UnpackTransferImage(set);
    odc::PackTransferImage(set);
    if (odc::DataFileBytes(set).empty()) __builtin_trap();
  }
  return 0;
}
