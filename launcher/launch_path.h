// Where the model launcher finds a model's Setup.exe: a sub-directory of the
// launcher's own directory. Plain functions on strings, so they are tested
// natively; the caller supplies the lead-byte test of the active ANSI code
// page (IsDBCSLeadByte on Windows).
#pragma once

#include <string>

namespace odc {

struct LauncherModel {
  int radio_id;
  const char* caption;
  const char* relative_path;
};

constexpr int kLauncherModelCount = 4;
extern const LauncherModel kLauncherModels[kLauncherModelCount];

// The relative program path of the model whose radio button has `radio_id`,
// or nullptr for any other id.
const char* ModelPathForRadio(int radio_id);

using LeadByteTest = bool (*)(unsigned char byte);

// Lead bytes of the double-byte ANSI code pages 932, 936, 949 and 950; false
// for every byte of any other code page.
bool IsLeadByteInCodePage(unsigned code_page, unsigned char byte);

// A path split like _splitpath: drive "C:" (only when the second character
// is ':'), directory up to and including the last '\' or '/', file name, and
// extension from the last '.' after the directory. A lead byte and the byte
// after it are never taken as a separator, so a double-byte character whose
// trailing byte is 0x5C ('\') stays inside its name.
struct SplitPath {
  std::string drive;
  std::string directory;
  std::string name;
  std::string extension;
};
SplitPath SplitLauncherPath(const std::string& path, LeadByteTest is_lead_byte);

// The directory part of `module_path` as a prefix for a relative path: drive,
// directory, and a '\' when the directory does not already end in one.
std::string LauncherDirectory(const std::string& module_path, LeadByteTest is_lead_byte);

// The full path of the chosen model's program: the launcher's directory
// followed by the relative path.
std::string ModelProgramPath(const std::string& module_path, const std::string& relative_path,
                             LeadByteTest is_lead_byte);

// The command line that starts `program` with no arguments: the path in
// double quotes, so that blanks in a folder name cannot split it.
std::string QuotedCommandLine(const std::string& program);

}  // namespace odc
