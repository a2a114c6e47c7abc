// The file side of the New, Open, Save and Save As commands.
#include "setup/data/document.h"

#include <cstring>
#include <memory>

#include "setup/data/dial_codec.h"
#include "setup/data/file_io.h"

namespace odc {

std::string InsertPath(const std::string& format, const std::string& path) {
  const size_t at = format.find("%s");
  if (at == std::string::npos) return format;
  return format.substr(0, at) + path + format.substr(at + 2);
}

std::string FileCannotBeOpenedMessage(const std::string& path) {
  return InsertPath(kFileCannotBeOpenedFormat, path);
}

std::string UnusableFileMessage(const std::string& path) {
  return FileCanBeOpened(path) ? std::string(kFileFormatErrorMessage)
                               : FileCannotBeOpenedMessage(path);
}

std::string DisplayNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool NeedsFileName(const Document& document) { return document.filePath == document.displayName; }

int NewDataSet(DataSet& set, Document& document, const uint8_t* defaultFile,
               size_t defaultFileSize) {
  BuildTransferImage(set);
  int loaded = defaultFile != nullptr ? ReadDataFileBytes(set, defaultFile, defaultFileSize) : 0;
  if (!loaded) loaded = LoadDefaultDataSet(set);
  set.addressBookOnly = true;
  UnpackTransferImage(set);
  document.filePath = kDefaultFileName;
  document.displayName = kDefaultFileName;
  document.dataOrigin = kDataOriginDataSet;
  CheckDialTables(set);
  document.dataLoaded = loaded;
  return loaded;
}

int OpenDataSet(DataSet& set, Document& document, const std::string& path) {
  // The file is read into a fresh image first: a file that turns out to be
  // unusable must not cost the user the data set that is open.
  auto scratch = std::make_unique<DataSet>();
  scratch->addressBookOnly = false;
  std::memcpy(scratch->machineInfo, set.machineInfo, sizeof set.machineInfo);
  if (!ReadDataFile(*scratch, path)) return 0;

  std::memcpy(set.records, scratch->records, sizeof set.records);
  set.lastSpeedDialId = scratch->lastSpeedDialId;
  set.endItemId = scratch->endItemId;
  set.addressBookOnly = scratch->addressBookOnly;
  std::memcpy(set.machineInfo, scratch->machineInfo, sizeof set.machineInfo);
  set.uploadPacking = false;
  set.dialTablesOnly = false;
  UnpackTransferImage(set);
  document.filePath = path;
  document.displayName = DisplayNameOf(path);
  document.dataOrigin = kDataOriginDataSet;
  document.dataLoaded = 1;
  CheckDialTables(set);
  return 1;
}

int SaveDataSet(DataSet& set, Document& document, const std::string& path) {
  set.uploadPacking = false;
  PackTransferImage(set);
  if (!WriteDataFile(set, path)) return 0;
  document.filePath = path;
  document.displayName = DisplayNameOf(path);
  return 1;
}

}  // namespace odc
