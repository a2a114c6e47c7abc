// The odctool commands over the portable core. main() only parses the
// command line; everything that decides lives here.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "setup/data/charset.h"
#include "setup/data/data_set.h"

namespace odc {
namespace tool {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // unusable input, failed write, link failure
constexpr int kExitUsage = 2;

// An argument as an error message may show it. What follows a name can be
// a secret typed in the wrong place (the administrator number, a password),
// and error messages end up in logs: of "NAME=VALUE" only "NAME=..." is
// shown; of an argument without "=", the setting name it starts with, or
// else at most its first three characters up to the first digit.
std::string ShownArgument(const std::string& argument);

// Names accepted by --language.
bool ParseLanguageName(const std::string& name, Language& language);

// Opens a settings data file as the program's Open does; nullptr when the
// file cannot be used.
std::unique_ptr<DataSet> LoadDataSet(const std::string& path, Language language);

// Reports a file that LoadDataSet or an import could not use: "cannot be
// opened" with its name, or the program's format message. Returns
// kExitFailure.
int ReportUnusableFile(const std::string& path, std::ostream& err);

int RunNew(const std::string& outPath, std::ostream& err);
int RunShow(const std::string& path, bool json, Language language, std::ostream& out,
            std::ostream& err);
// How a text address book (CSV, vCard) is imported.
struct ImportFlags {
  bool add = false;          // fill free Speed Dials, keep everything else
  bool skipInvalid = false;  // import the usable entries, report the rest
  bool dryRun = false;       // print the report, write nothing
  std::string internationalPrefix = "00";
};
// Text address books print the plan (entries and changes on `out`,
// problems on `err`) and end `out` with "N imported, M skipped, K changed".
int RunImport(const std::string& source, const std::string& basePath, const std::string& outPath,
              Language language, const ImportFlags& flags, std::ostream& out, std::ostream& err);
// The address book as CSV or vCard 3.0; `outPath` "-" writes to `out`.
enum class ExportForm { Csv, Vcard };
int RunExport(const std::string& path, const std::string& outPath, ExportForm form,
              Language language, std::ostream& out, std::ostream& err);
// 0 equal, 1 different (or an unusable file, with the message on `err`).
int RunDiff(const std::string& pathA, const std::string& pathB, Language language,
            std::ostream& out, std::ostream& err);

}  // namespace tool
}  // namespace odc
