#include "tools/odctool/commands.h"

#include <cstdio>
#include <cstring>
#include <ostream>
#include <vector>

#include "setup/addressbook/address_text_import.h"
#include "setup/addressbook/contact_import.h"
#include "setup/data/address_import.h"
#include "setup/data/document.h"
#include "setup/data/file_io.h"
#include "setup/res/resource.h"
#include "setup/settings/english_strings.h"
#include "setup/settings/setting_catalog.h"
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

std::string ShownArgument(const std::string& argument) {
  const size_t equals = argument.find('=');
  if (equals != std::string::npos) return "\"" + argument.substr(0, equals) + "=...\"";
  size_t named = 0;
  for (const CatalogSetting& s : SettingCatalog()) {
    const size_t length = std::strlen(s.name);
    if (length > named && argument.compare(0, length, s.name) == 0) named = length;
  }
  if (named == argument.size()) return "\"" + argument + "\"";
  if (named > 0) return "\"" + argument.substr(0, named) + "...\"";
  size_t shown = 0;
  while (shown < 3 && shown < argument.size() && (argument[shown] < '0' || argument[shown] > '9'))
    ++shown;
  return "\"" + argument.substr(0, shown) + (shown < argument.size() ? "...\"" : "\"");
}

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

namespace {

std::string PlannedLine(const PlannedEntry& e, Language language) {
  const DisplayRecord& r = e.record;
  std::string line = e.speedDial ? "Speed Dial " : "One Touch ";
  line += std::to_string(e.index + 1) + ": ";
  if (r.program) return line + "program key kept";
  if (r.entryType == kEntryGroup) {
    line += "group of " + std::to_string(r.memberCount);
  } else if (r.kind == kKindEmail) {
    line += "e-mail " + std::string(r.email, strnlen(r.email, sizeof r.email));
  } else {
    line += "fax " + std::string(r.number, strnlen(r.number, sizeof r.number));
  }
  line += " \"" + PlannedEntryName(e, language) + "\"";
  return line;
}

}  // namespace

int RunImport(const std::string& source, const std::string& basePath, const std::string& outPath,
              Language language, const ImportFlags& flags, std::ostream& out, std::ostream& err) {
  auto set = LoadDataSet(basePath, language);
  if (!set) return ReportUnusableFile(basePath, err);
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(source, bytes)) return ReportUnusableFile(source, err);

  if (ContactFileFormat(bytes.data(), bytes.size()) == 0) {
    // Settings data files and the CMC formats replace the address book as
    // the program's Import Address Book does.
    if (flags.add) {
      err << "--add reads CSV and vCard address books only; this file replaces the address book"
          << '\n';
      return kExitFailure;
    }
    auto buffers = std::make_unique<ImportBuffers>();
    if (ImportAddressBookBytes(*set, *buffers, bytes.data(), bytes.size()) == 0) {
      return ReportUnusableFile(source, err);
    }
    if (flags.dryRun) return kExitOk;
    Document document;
    if (!SaveDataSet(*set, document, outPath)) return WriteFailed(outPath, err);
    return kExitOk;
  }

  ImportOptions options;
  options.internationalPrefix = flags.internationalPrefix;
  ContactImportPlan plan;
  const bool readable =
      PlanContactImport(bytes.data(), bytes.size(), *set,
                        flags.add ? ImportMode::Add : ImportMode::Replace, options, plan);
  const std::vector<ImportNote> problems = plan.Problems();
  // Without --skip-invalid any problem keeps the file out, and the message
  // lists every one of them, in file order.
  const bool refused = !readable || (!flags.skipInvalid && !problems.empty());
  if (refused) {
    err << EnglishString(IDS_CONTACT_NOT_IMPORTED) << '\n';
    for (const ImportNote& note : problems) err << DescribeImportNote(note, EnglishString) << '\n';
    if (readable) err << EnglishString(IDS_CONTACT_FIX_OR_SKIP) << " (--skip-invalid)\n";
    // Nothing is written: every contact of the file stays out.
    char summary[128];
    std::snprintf(summary, sizeof summary, EnglishString(IDS_CONTACT_SUMMARY).c_str(), 0,
                  plan.imported() + plan.skipped(), 0);
    out << summary << '\n';
    return kExitFailure;
  }
  for (const PlannedEntry& e : plan.entries) out << PlannedLine(e, language) << '\n';
  for (const ImportNote& note : plan.notes) {
    (note.kind == ImportNoteKind::Changed ? out : err)
        << DescribeImportNote(note, EnglishString) << '\n';
  }
  out << DescribeImportSummary(plan, EnglishString) << '\n';
  if (plan.entries.empty()) return kExitFailure;  // nothing to write
  if (flags.dryRun) return kExitOk;
  ApplyContactImportPlan(*set, plan);
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
