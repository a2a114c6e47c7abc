// The value parser of odctool set: lines "name=value" applied to the
// demonstration machine with the settings pages' rules, and the whole input
// read as a value of every setting. A refused command must leave the data
// set exactly as it was.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "setup/link/demo_machine.h"
#include "setup/settings/setting_catalog.h"

namespace {

struct State {
  std::unique_ptr<odc::DataSet> pristine = std::make_unique<odc::DataSet>();
  std::unique_ptr<odc::DataSet> work = std::make_unique<odc::DataSet>();
  State() { odc::BuildDemoMachine(*pristine); }
};

State& Get() {
  static State state;
  return state;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  State& state = Get();
  odc::DataSet& set = *state.work;
  set = *state.pristine;
  const std::string input(reinterpret_cast<const char*>(data), size);

  // The first byte varies what the rules depend on: the language, the
  // machine variant (inch paper), the region and the installed options.
  if (size > 0) {
    const uint8_t knobs = data[0];
    set.language = static_cast<odc::Language>(knobs & 3);
    odc::SetSetting(set, odc::kMachineVariantId, (knobs >> 2) % 6);
    odc::SetSetting(set, odc::kRegionCodeId, (knobs >> 4) % 8);
    set.machineInfo[odc::machine_info::kNicKit] = knobs >> 7;
  }

  odc::ParsedValue value;
  for (const odc::CatalogSetting& s : odc::SettingCatalog()) {
    odc::ParseSettingValue(set, s, input, value);
  }

  std::vector<std::pair<std::string, std::string>> assignments;
  size_t start = size > 0 ? 1 : 0;
  while (start < input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    const std::string line = input.substr(start, end - start);
    const size_t equals = line.find('=');
    if (equals != std::string::npos)
      assignments.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    start = end + 1;
  }
  auto before = std::make_unique<odc::DataSet>(set);
  const odc::SettingsChange change = odc::ApplyNamedSettings(set, assignments);
  if (!change.problem.empty() &&
      (std::memcmp(before->settings.bytes, set.settings.bytes, sizeof set.settings.bytes) != 0 ||
       std::memcmp(before->records, set.records, sizeof set.records) != 0)) {
    __builtin_trap();  // a refusal changed the data set
  }
  if (change.problem.empty() && !change.changed &&
      std::memcmp(before->settings.bytes, set.settings.bytes, sizeof set.settings.bytes) != 0) {
    __builtin_trap();  // a change went unreported
  }
  for (const odc::CatalogSetting& s : odc::SettingCatalog()) odc::SettingValueText(set, s);
  return 0;
}
