// The edit controls of the program's dialog templates, read from the
// resource scripts themselves: the in-memory surface answers a write to an
// edit with a change notification, as the window does, and needs to know
// which of a template's controls are edits.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace odc {
namespace test {

inline std::string ResourceDir() { return std::string(ODC_TEST_DATA_DIR) + "/../../setup/res"; }

// Every "#define NAME number" of the resource headers.
inline const std::map<std::string, int>& ResourceIds() {
  static const std::map<std::string, int> ids = [] {
    std::map<std::string, int> out;
    const std::regex define(R"(^\s*#define\s+(\w+)\s+(\d+)\s*$)");
    std::vector<std::filesystem::path> headers = {ResourceDir() + "/resource.h"};
    for (const auto& e : std::filesystem::directory_iterator(ResourceDir() + "/ids"))
      if (e.path().extension() == ".h") headers.push_back(e.path());
    for (const auto& path : headers) {
      std::ifstream in(path);
      std::string line;
      std::smatch m;
      while (std::getline(in, line))
        if (std::regex_match(line, m, define)) out[m[1]] = std::stoi(m[2]);
    }
    return out;
  }();
  return ids;
}

// Template id -> the ids of its EDITTEXT controls.
inline const std::map<int, std::set<int>>& TemplateEdits() {
  static const std::map<int, std::set<int>> edits = [] {
    std::map<int, std::set<int>> out;
    const auto& ids = ResourceIds();
    const std::regex dialog(R"(^\s*(\w+)\s+DIALOGEX\b)");
    const std::regex edit(R"(^\s*EDITTEXT\s+(\w+)\s*,)");
    for (const auto& e : std::filesystem::directory_iterator(ResourceDir() + "/dialogs")) {
      if (e.path().extension() != ".rc") continue;
      std::ifstream in(e.path());
      std::string line;
      std::smatch m;
      int current = -1;
      while (std::getline(in, line)) {
        if (std::regex_search(line, m, dialog)) {
          auto it = ids.find(m[1]);
          current = it == ids.end() ? -1 : it->second;
          if (current >= 0) out[current];
        } else if (current >= 0 && std::regex_search(line, m, edit)) {
          auto it = ids.find(m[1]);
          if (it != ids.end()) out[current].insert(it->second);
        }
      }
    }
    return out;
  }();
  return edits;
}

inline std::set<int> EditsOf(int templateId) {
  auto it = TemplateEdits().find(templateId);
  return it == TemplateEdits().end() ? std::set<int>{} : it->second;
}

}  // namespace test
}  // namespace odc
