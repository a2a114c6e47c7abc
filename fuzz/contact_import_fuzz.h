// The contact import's fuzz targets: what every plan must hold, whatever the
// bytes. A plan only places entries the entry dialog would accept, never
// two on one place, never outside the tables; applying a refused plan
// changes nothing, and Add never touches an entry that was in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "fuzz/new_data_set_once.h"
#include "setup/addressbook/contact_import.h"
#include "setup/addressbook/entry_dialog_rules.h"
#include "setup/data/document.h"

namespace odc {
namespace fuzz {

inline void CheckPlan(const ContactImportPlan& plan) {
  std::set<std::pair<bool, int>> places;
  for (const PlannedEntry& e : plan.entries) {
    const int count = e.speedDial ? kSpeedDialCount : kOneTouchCount;
    if (e.index < 0 || e.index >= count) __builtin_trap();
    if (!places.insert({e.speedDial, e.index}).second) __builtin_trap();
    const DisplayRecord& r = e.record;
    if (strnlen(r.name, sizeof r.name) > 20 || strnlen(r.name2, sizeof r.name2) > 20) {
      __builtin_trap();
    }
    if (r.program || r.entryType == kEntryGroup) continue;
    if (r.kind == kKindFax) {
      const std::string number(r.number, strnlen(r.number, sizeof r.number));
      const std::string dialled =
          IsCombinationNumber(number) ? number.substr(0, number.size() - 1) : number;
      if (number.empty() || number.size() > 30 ||
          !FilterDialText(dialled, DialField::Number).accepted) {
        __builtin_trap();
      }
    } else {
      const std::string address(r.email, strnlen(r.email, sizeof r.email));
      if (address.size() > 64 || !FilterMailText(address).accepted || !IsMailAddress(address)) {
        __builtin_trap();
      }
    }
  }
  if (plan.format == 0 && !plan.entries.empty()) __builtin_trap();
}

}  // namespace fuzz
}  // namespace odc
