#include "setup/shell/help_target.h"

namespace odc {

HelpTarget FindHelp(const std::string& directory,
                    const std::function<bool(const std::string&)>& exists) {
  const std::string helpFile = directory + kHelpFileName;
  if (exists(helpFile)) return {HelpKind::HelpFile, helpFile};
  const std::string guide = directory + kUserGuideFileName;
  if (exists(guide)) return {HelpKind::UserGuide, guide};
  return {HelpKind::None, ""};
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace odc
