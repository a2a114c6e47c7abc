#include "setup/shell/help_target.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace odc {
namespace {

TEST(FindHelp, HelpFileFirstThenUserGuideThenNothing) {
  struct Case {
    std::set<std::string> files;
    HelpKind kind;
    std::string path;
  };
  const std::string dir = "C:\\Program Files\\ODC Setup\\VM40\\";
  const std::vector<Case> cases = {
      {{dir + "VM40HELP.HLP", dir + "UserGuide.html"}, HelpKind::HelpFile, dir + "VM40HELP.HLP"},
      {{dir + "UserGuide.html"}, HelpKind::UserGuide, dir + "UserGuide.html"},
      {{dir + "VM40HELP.HLP"}, HelpKind::HelpFile, dir + "VM40HELP.HLP"},
      {{"C:\\elsewhere\\UserGuide.html"}, HelpKind::None, ""},
      {{}, HelpKind::None, ""},
  };
  for (const Case& c : cases) {
    const HelpTarget target =
        FindHelp(dir, [&](const std::string& path) { return c.files.count(path) != 0; });
    EXPECT_EQ(target.kind, c.kind);
    EXPECT_EQ(target.path, c.path);
  }
}

TEST(FindHelp, DirectoryOfKeepsTheSeparator) {
  EXPECT_EQ(DirectoryOf("C:\\ODC\\VM40\\Setup.dll"), "C:\\ODC\\VM40\\");
  EXPECT_EQ(DirectoryOf("/opt/odc/Setup.exe"), "/opt/odc/");
  EXPECT_EQ(DirectoryOf("Setup.exe"), "");
}

}  // namespace
}  // namespace odc
