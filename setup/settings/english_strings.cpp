#include "setup/settings/english_strings.h"

#include <algorithm>
#include <vector>

#include "setup/res/resource.h"

namespace odc {
namespace {

struct Entry {
  int id;
  const char* text;
};

const Entry kEntries[] = {
#define ODC_STRING(id, text) {id, text},
#include "strings/all.inc"
#undef ODC_STRING
};

}  // namespace

std::string EnglishString(int id) {
  for (const Entry& e : kEntries) {
    if (e.id == id) return e.text;
  }
  return {};
}

}  // namespace odc
