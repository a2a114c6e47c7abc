#include "launcher/launch_path.h"

#include <cstring>

namespace odc {

const LauncherModel kLauncherModels[kLauncherModelCount] = {
    {1001, "VELMORA M30", "VM30\\Setup.exe"},
    {1002, "VELMORA M35", "VM35\\Setup.exe"},
    {1003, "VELMORA M40", "VM40\\Setup.exe"},
    {1004, "VELMORA M45", "VM45\\Setup.exe"},
};

const char* ModelPathForRadio(int radio_id) {
  for (const LauncherModel& model : kLauncherModels) {
    if (model.radio_id == radio_id) return model.relative_path;
  }
  return nullptr;
}

bool IsLeadByteInCodePage(unsigned code_page, unsigned char byte) {
  switch (code_page) {
    case 932:  // Shift-JIS
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:  // GBK
    case 949:  // Unified Hangul
    case 950:  // Big5
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

SplitPath SplitLauncherPath(const std::string& path, LeadByteTest is_lead_byte) {
  SplitPath parts;
  size_t start = 0;
  // A lead byte followed by ':' is one double-byte character, not a drive.
  if (path.size() >= 2 && path[1] == ':' &&
      !(is_lead_byte && is_lead_byte(static_cast<unsigned char>(path[0])))) {
    parts.drive = path.substr(0, 2);
    start = 2;
  }
  size_t last_separator = std::string::npos;  // index of the last '\' or '/'
  size_t last_dot = std::string::npos;
  for (size_t i = start; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (is_lead_byte && is_lead_byte(c)) {
      ++i;  // the trailing byte is part of the character, never a separator
      continue;
    }
    if (c == '\\' || c == '/') {
      last_separator = i;
      last_dot = std::string::npos;
    } else if (c == '.') {
      last_dot = i;
    }
  }
  size_t name_start = start;
  if (last_separator != std::string::npos) {
    parts.directory = path.substr(start, last_separator + 1 - start);
    name_start = last_separator + 1;
  }
  size_t name_end = last_dot != std::string::npos ? last_dot : path.size();
  parts.name = path.substr(name_start, name_end - name_start);
  if (last_dot != std::string::npos) parts.extension = path.substr(last_dot);
  return parts;
}

std::string LauncherDirectory(const std::string& module_path, LeadByteTest is_lead_byte) {
  SplitPath parts = SplitLauncherPath(module_path, is_lead_byte);
  std::string directory = parts.drive + parts.directory;
  if (!parts.directory.empty()) {
    // The directory ends in a separator by construction of the split; the
    // check keeps the rule explicit for a directory given without one.
    char last = directory.back();
    if (last != '\\' && last != '/') directory += '\\';
  }
  return directory;
}

std::string ModelProgramPath(const std::string& module_path, const std::string& relative_path,
                             LeadByteTest is_lead_byte) {
  return LauncherDirectory(module_path, is_lead_byte) + relative_path;
}

std::string QuotedCommandLine(const std::string& program) { return "\"" + program + "\""; }

}  // namespace odc
