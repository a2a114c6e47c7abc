// The whole contact import on arbitrary bytes: plan (Replace or Add, by the
// first byte), then apply. See contact_import_fuzz.h for what must hold.
#include <cstring>
#include <memory>

#include "fuzz/contact_import_fuzz.h"
#include "setup/settings/english_strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  auto set = std::make_unique<odc::DataSet>(odc::fuzz::NewDataSetOnce());
  set->language = static_cast<odc::Language>((data[0] >> 1) % 4);
  odc::SetSetting(*set, odc::kMachineVariantId, (data[0] >> 3) % 6);
  const odc::ImportMode mode = data[0] & 1 ? odc::ImportMode::Add : odc::ImportMode::Replace;
  auto before = std::make_unique<odc::DataSet>(*set);
  odc::ContactImportPlan plan;
  const bool readable =
      odc::PlanContactImport(data + 1, size - 1, *set, mode, odc::ImportOptions{}, plan);
  // Planning reads the data set, never writes it.
  if (std::memcmp(set.get(), before.get(), sizeof(odc::DataSet)) != 0) __builtin_trap();
  if (readable != (plan.format != 0)) __builtin_trap();
  odc::fuzz::CheckPlan(plan);
  for (const odc::ImportNote& note : plan.notes) {
    // Every note reads with the program's own English texts.
    if (odc::DescribeImportNote(note, odc::EnglishString).empty()) __builtin_trap();
  }
  odc::ApplyContactImportPlan(*set, plan);
  if (!readable && std::memcmp(set.get(), before.get(), sizeof(odc::DataSet)) != 0) {
    __builtin_trap();
  }
  if (mode == odc::ImportMode::Add) {
    // Add writes only Speed Dials that were empty.
    for (int i = 0; i < odc::kSpeedDialCount; ++i) {
      const uint8_t* was = before->SpeedDialEntry(i);
      bool empty = true;
      for (size_t k = 0; k < odc::kSpeedDialEntrySize; ++k) empty = empty && was[k] == 0;
      if (!empty && std::memcmp(was, set->SpeedDialEntry(i), odc::kSpeedDialEntrySize) != 0) {
        __builtin_trap();
      }
    }
    if (std::memcmp(before->oneTouch, set->oneTouch, sizeof set->oneTouch) != 0) __builtin_trap();
  }
  return 0;
}
