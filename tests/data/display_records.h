// Display records of the usual kinds, for tests that pack or show entries.
#pragma once

#include <cstdint>
#include <cstring>

#include "setup/data/dial_codec.h"

namespace odc {
namespace fixtures {

inline DisplayRecord FaxRecord(const char* name, const char* number, uint8_t entryType) {
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindFax;
  r.entryType = entryType;
  std::strcpy(r.name, name);
  std::strcpy(r.number, number);
  return r;
}

inline DisplayRecord EmailRecord(const char* name, const char* address, uint8_t entryType) {
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindEmail;
  r.entryType = entryType;
  std::strcpy(r.name, name);
  std::strcpy(r.email, address);
  return r;
}

}  // namespace fixtures
}  // namespace odc
