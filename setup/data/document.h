// The file side of the New, Open, Save and Save As commands: what the
// command handling runs once the user has chosen (or cancelled) a file.
// The dialogs, messages and menus stay with the Win32 shell.
#pragma once

#include <string>

#include "setup/data/data_file.h"
#include "setup/data/data_set.h"

namespace odc {

// Shown by Open and by the address-book import when a file cannot be used.
constexpr const char* kFileFormatErrorMessage = "File format is error! Please select valid format!";

// Shown instead when the file itself cannot be opened (missing, a folder,
// no permission): the file's content is not to blame. `%s` is the full path.
constexpr const char* kFileCannotBeOpenedFormat = "The file %s cannot be opened.";

// `format` with its one "%s" replaced by `path`. Unlike printf, a "%" in
// the path is kept as it is and a path of any length fits.
std::string InsertPath(const std::string& format, const std::string& path);

// kFileCannotBeOpenedFormat with `path` in it.
std::string FileCannotBeOpenedMessage(const std::string& path);

// The message for a file that Open or an import could not use: that it
// cannot be opened when so, else kFileFormatErrorMessage.
std::string UnusableFileMessage(const std::string& path);

// Where the entries in the dial tables came from: 1 or 2 an address-book
// import of that format (converted into the tables at the import), 3
// anything else.
constexpr int kDataOriginDataSet = 3;

struct Document {
  std::string filePath = kDefaultFileName;     // kDefaultFileName: never saved
  std::string displayName = kDefaultFileName;  // file name with extension
  int dataOrigin = kDataOriginDataSet;
  int dataLoaded = 0;  // the data-loaded state of the menus
};

// The file name with extension of a path (either kind of slash).
std::string DisplayNameOf(const std::string& path);

// True while the data set has no file yet: Save must ask for a name. That
// is while the current file name is still the display name New gave it
// (string 3405, which a language module may translate).
bool NeedsFileName(const Document& document);

// New: the default data set, an address book. `defaultFile` is the default
// data set of the resource module (its DEFAULTFILE 253), when it has one;
// missing or unreadable, the program's built-in one serves. Returns the
// data-loaded state (1).
int NewDataSet(DataSet& set, Document& document, const uint8_t* defaultFile = nullptr,
               size_t defaultFileSize = 0);

// Open: reads the file and unpacks it. 1 loaded. 0 when the file is not a
// usable settings data file: the caller shows kFileFormatErrorMessage, and
// the data set and the document are exactly as they were.
int OpenDataSet(DataSet& set, Document& document, const std::string& path);

// Save and Save As: packs and writes the data set to `path`, which then
// becomes the document's file. 1 written. 0 when the file could not be
// written: the document is unchanged and any previous file at `path` is
// untouched.
int SaveDataSet(DataSet& set, Document& document, const std::string& path);

}  // namespace odc
