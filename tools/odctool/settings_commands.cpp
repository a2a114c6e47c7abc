#include "tools/odctool/settings_commands.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "setup/data/document.h"
#include "setup/data/file_io.h"
#include "tools/odctool/commands.h"

namespace odc {
namespace tool {
namespace {

// Control bytes of a stored text shown as \xNN, so that one setting stays on
// one line.
std::string LineSafe(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int Refuse(const std::string& message, std::ostream& err) {
  err << "odctool: " << message << '\n';
  return kExitFailure;
}

}  // namespace

std::vector<const CatalogSetting*> AllSettings() {
  std::vector<const CatalogSetting*> all;
  for (const CatalogSetting& s : SettingCatalog()) all.push_back(&s);
  return all;
}

std::string SettingsLines(const DataSet& set, const std::vector<const CatalogSetting*>& chosen) {
  std::string text;
  for (const CatalogSetting* s : chosen)
    text += std::string(s->name) + " = " + LineSafe(SettingValueText(set, *s)) + "\n";
  return text;
}

nlohmann::ordered_json SettingsJson(const DataSet& set,
                                    const std::vector<const CatalogSetting*>& chosen) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  for (const CatalogSetting* s : chosen) j[s->name] = SettingValueText(set, *s);
  return j;
}

const char* const kSettingsUsage =
    "       odctool get FILE [NAME...] [--json] [--language NAME]\n"
    "       odctool set FILE NAME=VALUE... -o OUT.DAT [--language NAME]\n"
    "       odctool set FILE --json SETTINGS.json -o OUT.DAT [--language NAME]\n";

int RunGet(const std::string& path, const std::vector<std::string>& names, bool json,
           Language language, std::ostream& out, std::ostream& err) {
  auto set = LoadDataSet(path, language);
  if (!set) return Refuse(UnusableFileMessage(path), err);
  const std::string unavailable = SettingsUnavailable(*set);
  if (!unavailable.empty()) return Refuse(path + ": " + unavailable, err);

  std::vector<const CatalogSetting*> chosen;
  if (names.empty()) chosen = AllSettings();
  for (const std::string& name : names) {
    const CatalogSetting* s = FindCatalogSetting(name);
    if (!s)
      return Refuse(
          "unknown setting " + ShownArgument(name) + " (odctool get FILE lists the names)", err);
    chosen.push_back(s);
  }
  if (json) {
    out << SettingsJson(*set, chosen)
               .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
        << '\n';
  } else {
    out << SettingsLines(*set, chosen);
  }
  return kExitOk;
}

bool ParseSettingsJson(const std::string& text,
                       std::vector<std::pair<std::string, std::string>>& values,
                       std::string& problem) {
  const nlohmann::ordered_json j = nlohmann::ordered_json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) {
    problem = "the settings file is not a JSON object of \"name\": \"value\" pairs";
    return false;
  }
  for (const auto& [name, value] : j.items()) {
    if (value.is_string()) {
      values.emplace_back(name, value.get<std::string>());
    } else if (value.is_number_integer()) {
      values.emplace_back(name, std::to_string(value.get<long long>()));
    } else if (value.is_boolean()) {
      values.emplace_back(name, value.get<bool>() ? "on" : "off");
    } else {
      problem = name + ": the value must be a text, a whole number or true/false";
      return false;
    }
  }
  return true;
}

int RunSet(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values,
           const std::string& outPath, Language language, std::ostream& err) {
  std::vector<uint8_t> input;
  auto set = LoadDataSet(path, language);
  if (!set || !ReadFileBytes(path, input)) return Refuse(UnusableFileMessage(path), err);
  const SettingsChange change = ApplyNamedSettings(*set, values);
  if (!change.problem.empty()) return Refuse(change.problem, err);
  bool written;
  if (!change.changed) {
    // Nothing to apply: the file stays exactly as it was.
    written = WriteFileAtomically(outPath, input.data(), input.size());
  } else {
    // As the pages' Apply and then Save.
    PackTransferImage(*set);
    Document document;
    written = SaveDataSet(*set, document, outPath) != 0;
  }
  if (!written) return Refuse("Cannot write " + outPath, err);
  if (change.networkChanged) {
    err << "odctool: the network addressing changed: upload this file with --network-changed "
           "so that the machine takes it\n";
  }
  return kExitOk;
}

int RunSettingsCommand(const std::string& command, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err) {
  std::vector<std::string> positional;
  bool json = false, optionsEnded = false;
  std::string output, languageName = "ENGLISH";
  bool hasOutput = false, hasLanguage = false;
  auto usage = [&err](const std::string& problem) {
    err << "odctool: " << problem << "\nusage:" << (kSettingsUsage + 6);
    return kExitUsage;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& target, bool& seen) {
      if (seen || i + 1 >= args.size()) return false;
      target = args[++i];
      seen = true;
      return true;
    };
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      json = true;
    } else if (arg == "-o" || arg == "--output") {
      if (command != "set" || !value(output, hasOutput)) return usage("-o needs one file");
    } else if (arg == "--language") {
      if (!value(languageName, hasLanguage)) return usage("--language needs one name");
    } else {
      return usage("unknown option " + ShownArgument(arg));
    }
  }
  Language language;
  if (!ParseLanguageName(languageName, language))
    return usage("unknown language " + ShownArgument(languageName));
  if (positional.empty()) return usage(command + " needs a settings data file");
  const std::string file = positional[0];
  positional.erase(positional.begin());

  if (command == "get") return RunGet(file, positional, json, language, out, err);

  if (!hasOutput) return usage("set needs -o OUT.DAT");
  std::vector<std::pair<std::string, std::string>> values;
  if (json) {
    if (positional.size() != 1) return usage("set --json takes one settings file");
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(positional[0], bytes)) return Refuse("cannot read " + positional[0], err);
    std::string problem;
    if (!ParseSettingsJson(std::string(bytes.begin(), bytes.end()), values, problem))
      return Refuse(positional[0] + ": " + problem, err);
  } else {
    if (positional.empty()) return usage("set needs NAME=VALUE");
    for (const std::string& assignment : positional) {
      const size_t equals = assignment.find('=');
      if (equals == std::string::npos || equals == 0)
        return usage(ShownArgument(assignment) + " is not NAME=VALUE");
      values.emplace_back(assignment.substr(0, equals), assignment.substr(equals + 1));
    }
  }
  return RunSet(file, values, output, language, err);
}

}  // namespace tool
}  // namespace odc
