// A new data set, made once per fuzzing process; each input copies it.
#pragma once

#include "setup/data/document.h"

namespace odc {
namespace fuzz {

inline const DataSet& NewDataSetOnce() {
  static const DataSet* base = [] {
    auto* set = new DataSet();
    Document document;
    NewDataSet(*set, document);
    return set;
  }();
  return *base;
}

}  // namespace fuzz
}  // namespace odc
