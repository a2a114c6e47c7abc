// Whole-file reads and crash-safe replacement of files.
#include "setup/data/file_io.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace odc {

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out) {
  out.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool ok = true;
  uint8_t chunk[16384];
  for (;;) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, file);
    if (got == 0) break;
    if (out.size() + got > kMaxReadFileSize) {
      ok = false;
      break;
    }
    out.insert(out.end(), chunk, chunk + got);
  }
  if (std::ferror(file)) ok = false;
  std::fclose(file);
  if (!ok) out.clear();
  return ok;
}

std::string TemporaryPathFor(const std::string& path) { return path + ".odctmp"; }

namespace {

// Pushes the file's contents to the disk, so that the rename that follows
// can never expose a file whose data is still only in the cache.
bool FlushToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

bool ReplaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  // Make the new directory entry durable as well; a failure here does not
  // undo the replacement, which has already happened.
  std::string folder = ".";
  const size_t slash = to.find_last_of('/');
  if (slash != std::string::npos) folder = slash == 0 ? "/" : to.substr(0, slash);
  const int dir = ::open(folder.c_str(), O_RDONLY);
  if (dir >= 0) {
    fsync(dir);
    ::close(dir);
  }
  return true;
#endif
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size) {
  const std::string temporary = TemporaryPathFor(path);
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = size == 0 || std::fwrite(bytes, 1, size, file) == size;
  ok = ok && FlushToDisk(file);
  if (std::fclose(file) != 0) ok = false;
  ok = ok && ReplaceFile(temporary, path);
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

}  // namespace odc
