// Address-book import files: detection, the format-3 walk and every
// converter over every key and Speed Dial.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#include "setup/data/address_import.h"

namespace {

struct State {
  std::unique_ptr<odc::DataSet> set = std::make_unique<odc::DataSet>();
  std::unique_ptr<odc::ImportBuffers> buffers = std::make_unique<odc::ImportBuffers>();
};

State& Get() {
  static State state;
  return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  State& state = Get();
  odc::DataSet& set = *state.set;
  odc::BuildTransferImage(set);
  // The fourth byte picks the machine variant, so both TX size tables run.
  odc::SetSetting(set, odc::kMachineVariantId, size > 3 ? data[3] % 6 : 0);
  const int format = odc::ImportAddressBookBytes(set, *state.buffers, data, size);
  if (format < 0 || format > 3) __builtin_trap();

  // The views call the converters again and again while the data origin
  // says so; all of them must stay inside the buffers and the tables.
  odc::DisplayRecord record;
  for (int key = -1; key <= odc::kOneTouchCount; ++key) {
    odc::ConvertType1OneTouch(record, *state.buffers, set, key);
    odc::ConvertType1Group(record, *state.buffers, set, key);
    odc::ConvertType2OneTouch(record, *state.buffers, set, key);
    odc::ConvertType2Group(record, *state.buffers, set, key);
  }
  for (int index = -1; index <= odc::kSpeedDialCount; ++index) {
    odc::ConvertType1SpeedDial(record, *state.buffers, set, index);
    odc::ConvertType2SpeedDial(record, *state.buffers, set, index);
  }
  // The raw bytes as every "CMC" block too, so that short inputs also reach
  // the converters with arbitrary records.
  odc::ImportBuffers& buffers = *state.buffers;
  for (auto block : {std::make_pair(buffers.type1OneTouch, sizeof buffers.type1OneTouch),
                     std::make_pair(buffers.type1SpeedDial, sizeof buffers.type1SpeedDial),
                     std::make_pair(buffers.type2OneTouch, sizeof buffers.type2OneTouch),
                     std::make_pair(buffers.type2SpeedDial, sizeof buffers.type2SpeedDial)}) {
    std::memset(block.first, 0, block.second);
    if (size != 0) std::memcpy(block.first, data, size < block.second ? size : block.second);
  }
  for (int key = 0; key < odc::kOneTouchCount; ++key) {
    odc::ConvertType1Group(record, buffers, set, key);
    odc::ConvertType1OneTouch(record, buffers, set, key);
    odc::ConvertType2Group(record, buffers, set, key);
    odc::ConvertType2OneTouch(record, buffers, set, key);
  }
  for (int index = 0; index < odc::kSpeedDialCount; ++index) {
    odc::ConvertType1SpeedDial(record, buffers, set, index);
    odc::ConvertType2SpeedDial(record, buffers, set, index);
  }
  odc::CheckDialTables(set);
  odc::PackTransferImage(set);
  return 0;
}
