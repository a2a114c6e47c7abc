// A demonstration machine: a full data set as an M40 in an office would
// hold it, built the same way every time so that the machine file made from
// it can be checked in and compared byte for byte.
#pragma once

#include <cstdint>
#include <vector>

#include "setup/data/data_set.h"

namespace odc {

// Fills `set` (any prior contents are replaced) with the demonstration
// machine's memory: address book, settings, counters, information block.
void BuildDemoMachine(DataSet& set);
// The demonstration machine as a settings data file, counters included
// (MachineFileBytes).
std::vector<uint8_t> DemoMachineFileBytes();

}  // namespace odc
