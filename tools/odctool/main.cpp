// odctool: the command line over the portable core. This file only reads
// the arguments; the commands live in commands.cpp and link_commands.cpp.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "odc_version.h"
#include "setup/data/file_io.h"
#include "setup/link/simulated_machine.h"
#include "setup/link/usb_platform.h"
#include "tools/odctool/commands.h"
#include "tools/odctool/console_text.h"
#include "tools/odctool/link_commands.h"
#include "tools/odctool/settings_commands.h"

namespace {

constexpr const char* kUsage =
    "usage: odctool new OUT.DAT\n"
    "       odctool show FILE [--json] [--language NAME]\n"
    "       odctool import SOURCE --into BASE.DAT -o OUT.DAT [--add] [--skip-invalid]\n"
    "               [--dry-run] [--international-prefix DIGITS] [--language NAME]\n"
    "       odctool export FILE (--csv OUT.csv | --vcard OUT.vcf) [--language NAME]\n"
    "       odctool --version\n"
    "       odctool diff A.DAT B.DAT [--language NAME]\n"
    "       odctool status [--json]\n"
    "       odctool download OUT.DAT [--language NAME]\n"
    "       odctool upload IN.DAT [--network-changed] [--language NAME]\n"
    "NAME is ENGLISH (default), JAPANESE, SCHINESE or TCHINESE.\n"
    "--csv - and --vcard - write to standard output.\n"
    "import reads settings data files, the two CMC formats, the CSV of export --csv,\n"
    "the CSV of Outlook, Google Contacts, Thunderbird and Windows Live Mail, and\n"
    "vCard 2.1/3.0/4.0 files, recognised by their content. For CSV and vCard:\n"
    "--add fills free Speed Dials and keeps every other entry; --skip-invalid imports\n"
    "the usable entries and reports the rest on standard error; --dry-run prints the\n"
    "report and writes nothing (no -o needed); a leading + of a fax number becomes\n"
    "the --international-prefix (default 00).\n"
    "status, download and upload use the simulated machine when ODC_SIMULATED_MACHINE\n"
    "names a settings data file, else the USB driver.\n"
    "status exits 0 only when the machine is ready, 1 when it is not or cannot be\n"
    "reached (the reason on standard error).\n";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "odctool: " << problem << '\n';
  std::cerr << kUsage << "settings by name:\n" << odc::tool::kSettingsUsage;
  return odc::tool::kExitUsage;
}

struct Arguments {
  std::vector<std::string> positional;
  bool json = false;
  std::string language = "ENGLISH";
  std::string into;
  std::string out;
  std::string csv;
  std::string vcard;
  bool hasInto = false, hasOut = false, hasCsv = false, hasVcard = false, hasLanguage = false;
  bool networkChanged = false;
  bool add = false, skipInvalid = false, dryRun = false;
  std::string prefix = "00";
  bool hasPrefix = false;
};

// Options take their value as the next argument; "--" ends the options.
bool ParseArguments(const std::vector<std::string>& argv, Arguments& args, std::string& problem) {
  const size_t argc = argv.size();
  bool optionsEnded = false;
  for (size_t i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& target, bool& seen) {
      if (seen) {
        problem = "option " + arg + " given twice";
        return false;
      }
      if (i + 1 >= argc) {
        problem = "option " + arg + " needs a value";
        return false;
      }
      target = argv[++i];
      seen = true;
      return true;
    };
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      args.positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--json") {
      args.json = true;
    } else if (arg == "--add") {
      args.add = true;
    } else if (arg == "--skip-invalid") {
      args.skipInvalid = true;
    } else if (arg == "--dry-run") {
      args.dryRun = true;
    } else if (arg == "--international-prefix") {
      if (!value(args.prefix, args.hasPrefix)) return false;
    } else if (arg == "--network-changed") {
      args.networkChanged = true;
    } else if (arg == "--language") {
      if (!value(args.language, args.hasLanguage)) return false;
    } else if (arg == "--into") {
      if (!value(args.into, args.hasInto)) return false;
    } else if (arg == "-o" || arg == "--output") {
      if (!value(args.out, args.hasOut)) return false;
    } else if (arg == "--csv") {
      if (!value(args.csv, args.hasCsv)) return false;
    } else if (arg == "--vcard") {
      if (!value(args.vcard, args.hasVcard)) return false;
    } else {
      problem = "unknown option " + odc::tool::ShownArgument(arg);
      return false;
    }
  }
  return true;
}

int Run(const std::vector<std::string>& argv) {
  using namespace odc::tool;
  if (argv.size() < 2) return Usage("");
  const std::string command = argv[1];
  if (command == "-h" || command == "--help" || command == "help") {
    std::cout << kUsage << "settings by name:\n" << kSettingsUsage;
    return kExitOk;
  }
  if (command == "get" || command == "set") {
    return RunSettingsCommand(command, std::vector<std::string>(argv.begin() + 2, argv.end()),
                              std::cout, std::cerr);
  }
  if (command == "--version" || command == "version") {
    std::cout << "odctool " ODC_VERSION_TEXT "\n";
    return kExitOk;
  }
  Arguments args;
  std::string problem;
  if (!ParseArguments(argv, args, problem)) return Usage(problem);
  odc::Language language;
  if (!ParseLanguageName(args.language, language)) {
    return Usage("unknown language " + ShownArgument(args.language));
  }
  const size_t count = args.positional.size();
  // Options a command does not take are a mistake, not something to ignore.
  auto only = [&](bool json, bool into, bool out, bool csv) {
    return (json || !args.json) && (into || !args.hasInto) && (out || !args.hasOut) &&
           (csv || (!args.hasCsv && !args.hasVcard));
  };

  const bool importFlags = args.add || args.skipInvalid || args.dryRun || args.hasPrefix;
  if (importFlags && command != "import") {
    return Usage(command + " does not take the import options");
  }
  if (command == "new") {
    if (count != 1 || !only(false, false, false, false) || args.hasLanguage) {
      return Usage("new takes one output file");
    }
    return RunNew(args.positional[0], std::cerr);
  }
  if (command == "show") {
    if (count != 1 || !only(true, false, false, false)) return Usage("show takes one file");
    return RunShow(args.positional[0], args.json, language, std::cout, std::cerr);
  }
  if (command == "import") {
    if (count != 1 || !args.hasInto || (!args.hasOut && !args.dryRun) ||
        !only(false, true, true, false)) {
      return Usage("import takes SOURCE, --into BASE.DAT and -o OUT.DAT");
    }
    // The prefix takes the place of a '+': digits a fax number may hold.
    if (args.prefix.size() > 8 ||
        args.prefix.find_first_not_of("0123456789*#") != std::string::npos) {
      return Usage("--international-prefix takes up to 8 digits, such as 00 or 011");
    }
    ImportFlags flags;
    flags.add = args.add;
    flags.skipInvalid = args.skipInvalid;
    flags.dryRun = args.dryRun;
    flags.internationalPrefix = args.prefix;
    return RunImport(args.positional[0], args.into, args.out, language, flags, std::cout,
                     std::cerr);
  }
  if (command == "export") {
    if (count != 1 || args.hasCsv == args.hasVcard || !only(false, false, false, true)) {
      return Usage("export takes FILE and one of --csv OUT.csv or --vcard OUT.vcf");
    }
    const std::string& out = args.hasCsv ? args.csv : args.vcard;
#ifdef _WIN32
    // CSV and vCard lines end in CRLF already; a text-mode console would
    // double the CR.
    if (out == "-") _setmode(_fileno(stdout), _O_BINARY);
#endif
    return RunExport(args.positional[0], out, args.hasCsv ? ExportForm::Csv : ExportForm::Vcard,
                     language, std::cout, std::cerr);
  }
  if (command == "diff") {
    if (count != 2 || !only(false, false, false, false)) return Usage("diff takes two files");
    return RunDiff(args.positional[0], args.positional[1], language, std::cout, std::cerr);
  }
  if (command == "status" || command == "download" || command == "upload") {
    const size_t wanted = command == "status" ? 0 : 1;
    if (count != wanted || !only(command == "status", false, false, false) ||
        (command == "status" && args.hasLanguage) || (command != "upload" && args.networkChanged)) {
      return Usage(command + (wanted ? " takes one file" : " takes no arguments"));
    }
    std::string note;
    auto usb = odc::MakeUsbPlatform(&note);
    std::string simulated;
    if (odc::ReadEnvironmentText(odc::kSimulatedMachineVariable, simulated) && !simulated.empty() &&
        !dynamic_cast<odc::SimulatedMachine*>(usb.get())) {
      std::cerr << "odctool: " << note << '\n';
    }
    if (command == "status") return RunStatus(*usb, args.json, std::cout, std::cerr);
    if (command == "download") return RunDownload(*usb, args.positional[0], language, std::cerr);
    return RunUpload(*usb, args.positional[0], language, std::cerr, args.networkChanged);
  }
  return Usage("unknown command " + ShownArgument(command));
}

int RunCaught(const std::vector<std::string>& args) {
  try {
    return Run(args);
  } catch (const std::exception& e) {
    std::cerr << "odctool: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "odctool: unexpected failure\n";
  }
  return odc::tool::kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The output is the same bytes on every system: lines end in LF (the CSV's
  // own CRLF stays as it is), so scripts read it alike. A console shows the
  // UTF-8 as the characters it stands for.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  odc::tool::UseUnicodeConsole();
  // The arguments come from the UTF-16 command line: argv went through the
  // ANSI code page and may have lost letters of a path.
  (void)argc;
  (void)argv;
  const int result = RunCaught(odc::tool::CommandLineArguments());
  odc::tool::RestoreStandardStreams();
  return result;
#else
  return RunCaught(std::vector<std::string>(argv, argv + argc));
#endif
}
