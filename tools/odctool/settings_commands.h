// odctool get and set: machine settings by name, in the forms the settings
// pages show, checked with the pages' own rules (setup/settings/
// setting_catalog.h).
#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "setup/data/charset.h"
#include "setup/data/data_set.h"
#include "setup/settings/setting_catalog.h"

namespace odc {
namespace tool {

// The settings as get prints them: "name = value" lines, or a JSON object.
std::string SettingsLines(const DataSet& set, const std::vector<const CatalogSetting*>& chosen);
nlohmann::ordered_json SettingsJson(const DataSet& set,
                                    const std::vector<const CatalogSetting*>& chosen);
// Every setting of the catalog.
std::vector<const CatalogSetting*> AllSettings();

// Prints the named settings (all when `names` is empty), "name = value" a
// line, or one JSON object. 1 on an unusable file, an address-book-only
// data set or an unknown name.
int RunGet(const std::string& path, const std::vector<std::string>& names, bool json,
           Language language, std::ostream& out, std::ostream& err);

// Checks every assignment and writes the changed data set to `outPath` as
// an Apply and Save would. One refused value refuses the whole command: the
// message on `err`, 1, and no file written. Nothing changed: `outPath`
// gets the input's bytes unchanged.
int RunSet(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values,
           const std::string& outPath, Language language, std::ostream& err);
// The assignments of a JSON object {"name": "value", ...}; numbers and
// true/false are taken as the texts "30" and "on"/"off". False with
// `problem` set when the text is not such an object.
bool ParseSettingsJson(const std::string& text,
                       std::vector<std::pair<std::string, std::string>>& values,
                       std::string& problem);

// The get and set command lines (the arguments behind the command name).
int RunSettingsCommand(const std::string& command, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err);
extern const char* const kSettingsUsage;

}  // namespace tool
}  // namespace odc
