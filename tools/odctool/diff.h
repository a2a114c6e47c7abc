// The differences between two data sets, one line per change: entries by
// their list and number, machine settings by the names and values that
// odctool get and set use (so a line can be read and given back to set),
// what no name covers by its page and meaning. Secrets show only that they
// changed.
#pragma once

#include <string>
#include <vector>

#include "setup/data/data_set.h"
#include "tools/odctool/report.h"

namespace odc {
namespace tool {

// A loaded data set together with its address book as the lists show it.
struct LoadedDataSet {
  const DataSet* set;
  const AddressBookReport* book;
};

// Empty when the two data sets hold the same data.
std::vector<std::string> DiffDataSets(const LoadedDataSet& a, const LoadedDataSet& b);

// Parts of the comparison, for tests.
std::vector<std::string> DiffEntries(const char* label, const char* numberFormat,
                                     const std::vector<EntryReport>& a,
                                     const std::vector<EntryReport>& b);
std::vector<std::string> DiffGroups(const std::vector<GroupReport>& a,
                                    const std::vector<GroupReport>& b);
std::vector<std::string> DiffSettings(const DataSet& a, const DataSet& b);
std::vector<std::string> DiffMachineInfo(const DataSet& a, const DataSet& b);

// A text quoted for a report line: quotes and backslashes escaped, control
// bytes as \xNN.
std::string Quoted(const std::string& text);

}  // namespace tool
}  // namespace odc
