#include "launcher/launch_path.h"

#include <gtest/gtest.h>

#include <string>

namespace odc {
namespace {

bool ShiftJisLead(unsigned char byte) { return IsLeadByteInCodePage(932, byte); }
bool NoLeadBytes(unsigned char) { return false; }

// "表" in Shift-JIS is 0x95 0x5C: its trailing byte is the backslash.
const std::string kHyou = "\x95\x5C";

struct ProgramPathCase {
  const char* what;
  std::string module_path;
  std::string expected;
};

TEST(LaunchPathTest, DefaultModelStartsBesideTheLauncher) {
  const ProgramPathCase cases[] = {
      {"plain folder", "C:\\ODC\\ModelLauncher.exe", "C:\\ODC\\VM30\\Setup.exe"},
      {"root of a drive", "C:\\ModelLauncher.exe", "C:\\VM30\\Setup.exe"},
      {"blanks in folders", "C:\\Program Files\\ODC Setup\\ModelLauncher.exe",
       "C:\\Program Files\\ODC Setup\\VM30\\Setup.exe"},
      {"forward slashes", "D:/odc/ModelLauncher.exe", "D:/odc/VM30\\Setup.exe"},
      {"network share", "\\\\server\\share\\ModelLauncher.exe",
       "\\\\server\\share\\VM30\\Setup.exe"},
      {"double-byte folder name ending in 0x5C", "C:\\ODC" + kHyou + "\\ModelLauncher.exe",
       "C:\\ODC" + kHyou + "\\VM30\\Setup.exe"},
      {"double-byte folder name alone", "C:\\" + kHyou + "\\ModelLauncher.exe",
       "C:\\" + kHyou + "\\VM30\\Setup.exe"},
      {"double-byte character in the file name", "C:\\ODC\\" + kHyou + "x.exe",
       "C:\\ODC\\VM30\\Setup.exe"},
      {"no directory at all", "ModelLauncher.exe", "VM30\\Setup.exe"},
  };
  for (const ProgramPathCase& c : cases) {
    EXPECT_EQ(ModelProgramPath(c.module_path, ModelPathForRadio(1001), ShiftJisLead), c.expected)
        << c.what;
  }
}

TEST(LaunchPathTest, TrailingBackslashByteIsNotASeparatorOnlyForLeadBytes) {
  // The same bytes read in a single-byte code page: 0x5C is a separator
  // there, so the split differs. This is what the lead-byte test is for.
  std::string path = "C:\\ODC\\" + kHyou + "x.exe";
  EXPECT_EQ(LauncherDirectory(path, ShiftJisLead), "C:\\ODC\\");
  EXPECT_EQ(LauncherDirectory(path, NoLeadBytes), "C:\\ODC\\\x95\\");
}

TEST(LaunchPathTest, SplitsDriveDirectoryNameAndExtension) {
  struct Case {
    std::string path;
    const char* drive;
    std::string directory;
    std::string name;
    const char* extension;
  } cases[] = {
      {"C:\\ODC\\ModelLauncher.exe", "C:", "\\ODC\\", "ModelLauncher", ".exe"},
      {"C:\\odc.v2\\launcher", "C:", "\\odc.v2\\", "launcher", ""},
      {"C:\\odc\\name.tar.exe", "C:", "\\odc\\", "name.tar", ".exe"},
      {"\\odc\\x.exe", "", "\\odc\\", "x", ".exe"},
      {"C:launcher.exe", "C:", "", "launcher", ".exe"},
      // A dot inside a double-byte character's pair is not an extension.
      {"C:\\odc\\a\x81.b", "C:", "\\odc\\", "a\x81.b", ""},
      {"C:\\" + kHyou + "\\" + kHyou + ".exe", "C:", "\\" + kHyou + "\\", kHyou, ".exe"},
  };
  for (const Case& c : cases) {
    SplitPath parts = SplitLauncherPath(c.path, ShiftJisLead);
    EXPECT_EQ(parts.drive, c.drive) << c.path;
    EXPECT_EQ(parts.directory, c.directory) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
    EXPECT_EQ(parts.extension, c.extension) << c.path;
  }
}

TEST(LaunchPathTest, DirectoryWithoutTrailingSeparatorGetsOne) {
  EXPECT_EQ(LauncherDirectory("C:launcher.exe", ShiftJisLead), "C:");
  EXPECT_EQ(LauncherDirectory("C:\\ODC\\launcher.exe", ShiftJisLead), "C:\\ODC\\");
}

TEST(LaunchPathTest, RadioButtonsSelectTheirModel) {
  EXPECT_STREQ(ModelPathForRadio(1001), "VM30\\Setup.exe");
  EXPECT_STREQ(ModelPathForRadio(1002), "VM35\\Setup.exe");
  EXPECT_STREQ(ModelPathForRadio(1003), "VM40\\Setup.exe");
  EXPECT_STREQ(ModelPathForRadio(1004), "VM45\\Setup.exe");
  for (int other : {0, 1, 2, 1000, 1005, 65535}) {
    EXPECT_EQ(ModelPathForRadio(other), nullptr) << other;
  }
}

TEST(LaunchPathTest, CommandLineQuotesTheProgram) {
  EXPECT_EQ(QuotedCommandLine("C:\\Program Files\\ODC\\VM40\\Setup.exe"),
            "\"C:\\Program Files\\ODC\\VM40\\Setup.exe\"");
}

TEST(LaunchPathTest, LeadBytesOfDoubleByteCodePages) {
  struct Case {
    unsigned code_page;
    unsigned char byte;
    bool lead;
  } cases[] = {
      {932, 0x80, false}, {932, 0x81, true}, {932, 0x9F, true},   {932, 0xA0, false},
      {932, 0xDF, false}, {932, 0xE0, true}, {932, 0xFC, true},   {932, 0xFD, false},
      {936, 0x80, false}, {936, 0x81, true}, {936, 0xFE, true},   {936, 0xFF, false},
      {950, 0xA4, true},  {949, 0xB0, true}, {1252, 0x95, false}, {1252, 0xE0, false},
      {932, 0x5C, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsLeadByteInCodePage(c.code_page, c.byte), c.lead)
        << c.code_page << " " << static_cast<int>(c.byte);
  }
}

TEST(LaunchPathTest, UnicodeFolderAsUtf8KeepsEveryByte) {
  // The launcher holds its path as UTF-8: no byte of a non-ASCII character
  // is below 0x80, so none is taken for a separator, and the folder comes
  // out exactly as it went in. "表" is the character whose Shift-JIS
  // trailing byte is '\'; in UTF-8 it has none.
  const std::string folder = "Z:\\tmp\\\xC5\x81ukasz \xE6\x97\xA5\xE6\x9C\xAC\\\xE8\xA1\xA8\\";
  EXPECT_EQ(ModelProgramPath(folder + "ModelLauncher.exe", ModelPathForRadio(1003), NoLeadBytes),
            folder + "VM40\\Setup.exe");
  EXPECT_EQ(QuotedCommandLine(folder + "VM40\\Setup.exe"), "\"" + folder + "VM40\\Setup.exe\"");
}

}  // namespace
}  // namespace odc
