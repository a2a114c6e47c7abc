// What Help Topics opens: the WinHelp file when it is installed (today's
// Windows cannot show it without the separate viewer, but a machine that
// has one keeps working as before), else the HTML user guide beside the
// program, else nothing (the command says so).
#pragma once

#include <functional>
#include <string>

namespace odc {

constexpr char kHelpFileName[] = "VM40HELP.HLP";
constexpr char kUserGuideFileName[] = "UserGuide.html";

enum class HelpKind { HelpFile, UserGuide, None };

struct HelpTarget {
  HelpKind kind = HelpKind::None;
  std::string path;
};

// `directory` is the resource module's folder with its trailing separator
// (or empty); `exists` tells whether a file is there.
HelpTarget FindHelp(const std::string& directory,
                    const std::function<bool(const std::string&)>& exists);

// The folder part of a module's file name, separator included.
std::string DirectoryOf(const std::string& path);

}  // namespace odc
