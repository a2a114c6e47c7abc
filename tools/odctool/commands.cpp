#include "tools/odctool/commands.h"

#include <ostream>

#include "setup/addressbook/address_text_import.h"
#include "setup/data/address_import.h"
#include "setup/data/document.h"
#include "setup/data/file_io.h"
#include "setup/settings/english_strings.h"
#include "tools/odctool/diff.h"
#include "tools/odctool/report.h"
#include "tools/odctool/settings_commands.h"

namespace odc {
namespace tool {
namespace {

int WriteFailed(const std::string& path, std::ostream& err) {
  err << "Cannot write " << path << '\n';
  return kExitFailure;
}

}  // namespace

int ReportUnusableFile(const std::string& path, std::ostream& err) {
  err << UnusableFileMessage(path) << '\n';
  return kExitFailure;
}

bool ParseLanguageName(const std::string& name, Language& language) {
  if (name == "ENGLISH") {
    language = Language::SingleByte;
  } else if (name == "JAPANESE" || name == "SCHINESE" || name == "TCHINESE") {
    language = LanguageFromName(name);
  } else {
    return false;
  }
  return true;
}

std::unique_ptr<DataSet> LoadDataSet(const std::string& path, Language language) {
  auto set = std::make_unique<DataSet>();
  set->language = language;
  Document document;
  if (!OpenDataSet(*set, document, path)) return nullptr;
  return set;
}

int RunNew(const std::string& outPath, std::ostream& err) {
  // New followed by Save, as the program does it: what a technician gets
  // is exactly the program's default data set.
  auto set = std::make_unique<DataSet>();
  Document document;
  if (!NewDataSet(*set, document)) {
    err << kFileFormatErrorMessage << '\n';
    return kExitFailure;
  }
  if (!SaveDataSet(*set, document, outPath)) return WriteFailed(outPath, err);
  return kExitOk;
}

int RunShow(const std::string& path, bool json, Language language, std::ostream& out,
            std::ostream& err) {
  auto set = LoadDataSet(path, language);
  if (!set) return ReportUnusableFile(path, err);
  const AddressBookReport book = ReportAddressBook(*set);
  // A full data set shows its machine settings too, by name as get does.
  const bool settings = !set->addressBookOnly;
  if (json) {
    nlohmann::ordered_json j = AddressBookJson(book);
    if (settings) j["settings"] = SettingsJson(*set, AllSettings());
    out << j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  } else {
    out << AddressBookTable(book);
    if (settings) out << "\nSettings\n" << SettingsLines(*set, AllSettings());
  }
  return kExitOk;
}

int RunImport(const std::string& source, const std::string& basePath, const std::string& outPath,
              Language language, std::ostream& err) {
  auto set = LoadDataSet(basePath, language);
  if (!set) return ReportUnusableFile(basePath, err);
  auto buffers = std::make_unique<ImportBuffers>();
  TextImportProblem problem;
  if (ImportAddressBookFile(*set, *buffers, source, problem) == 0) {
    if (problem.reasonId == 0) return ReportUnusableFile(source, err);
    err << DescribeTextImportProblem(problem, EnglishString) << '\n';
    return kExitFailure;
  }
  Document document;
  if (!SaveDataSet(*set, document, outPath)) return WriteFailed(outPath, err);
  return kExitOk;
}

int RunExport(const std::string& path, const std::string& outPath, ExportForm form,
              Language language, std::ostream& out, std::ostream& err) {
  auto set = LoadDataSet(path, language);
  if (!set) return ReportUnusableFile(path, err);
  const std::string text =
      form == ExportForm::Vcard ? AddressBookVcard(*set) : AddressBookCsv(ReportAddressBook(*set));
  if (outPath == "-") {
    out << text;
    return kExitOk;
  }
  if (!WriteFileAtomically(outPath, reinterpret_cast<const uint8_t*>(text.data()), text.size())) {
    return WriteFailed(outPath, err);
  }
  return kExitOk;
}

int RunDiff(const std::string& pathA, const std::string& pathB, Language language,
            std::ostream& out, std::ostream& err) {
  auto a = LoadDataSet(pathA, language);
  if (!a) return ReportUnusableFile(pathA, err);
  auto b = LoadDataSet(pathB, language);
  if (!b) return ReportUnusableFile(pathB, err);
  const AddressBookReport bookA = ReportAddressBook(*a);
  const AddressBookReport bookB = ReportAddressBook(*b);
  const auto lines = DiffDataSets({a.get(), &bookA}, {b.get(), &bookB});
  for (const std::string& line : lines) out << line << '\n';
  return lines.empty() ? kExitOk : kExitFailure;
}

}  // namespace tool
}  // namespace odc
