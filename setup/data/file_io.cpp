// Whole-file reads and crash-safe replacement of files.
#include "setup/data/file_io.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace odc {

#ifdef _WIN32
std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      &wide[0], length);
  return wide;
}

std::string Utf8FromWide(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &utf8[0], size, nullptr, nullptr);
  return utf8;
}

std::string Utf8FromWide(const std::wstring& text) {
  return Utf8FromWide(text.data(), text.size());
}
#endif

namespace {

// fopen with a UTF-8 path. A path that is not UTF-8 opens nothing.
std::FILE* OpenFile(const std::string& path, bool write) {
#ifdef _WIN32
  const std::wstring wide = WideFromUtf8(path);
  if (wide.empty()) return nullptr;
  return _wfopen(wide.c_str(), write ? L"wb" : L"rb");
#else
  std::FILE* file = std::fopen(path.c_str(), write ? "wb" : "rb");
  if (file != nullptr && !write) {
    // POSIX opens a folder for reading; Windows does not. Alike here: a
    // folder is no file to read.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
      std::fclose(file);
      return nullptr;
    }
  }
  return file;
#endif
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out) {
  out.clear();
  std::FILE* file = OpenFile(path, false);
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

bool FileCanBeOpened(const std::string& path) {
  std::FILE* file = OpenFile(path, false);
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool IsExistingFile(const std::string& path) {
#ifdef _WIN32
  const std::wstring wide = WideFromUtf8(path);
  if (wide.empty()) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
#else
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
#endif
}

bool RemoveFile(const std::string& path) {
#ifdef _WIN32
  const std::wstring wide = WideFromUtf8(path);
  return !wide.empty() && DeleteFileW(wide.c_str()) != 0;
#else
  return std::remove(path.c_str()) == 0;
#endif
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
  const std::wstring wideFrom = WideFromUtf8(from);
  const std::wstring wideTo = WideFromUtf8(to);
  if (wideFrom.empty() || wideTo.empty()) return false;
  // A virus scanner, the search indexer or a backup agent may hold the file
  // just written, or the target, open for a moment; Windows then refuses the
  // replacement with a sharing or access error. Such a hold ends by itself,
  // so the replacement is tried again for about a second before it counts
  // as failed.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                      error == ERROR_LOCK_VIOLATION;
    if (!held || attempt == 20) return false;
    Sleep(50);
  }
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
  std::FILE* file = OpenFile(temporary, true);
  if (file == nullptr) return false;
  bool ok = size == 0 || std::fwrite(bytes, 1, size, file) == size;
  ok = ok && FlushToDisk(file);
  if (std::fclose(file) != 0) ok = false;
  ok = ok && ReplaceFile(temporary, path);
  if (!ok) RemoveFile(temporary);
  return ok;
}

bool ReadEnvironmentText(const char* name, std::string& value) {
  value.clear();
#ifdef _WIN32
  const std::wstring wideName = WideFromUtf8(name);
  std::wstring text(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(wideName.c_str(), &text[0], static_cast<DWORD>(text.size()));
    if (length == 0) {
      // An empty variable also answers 0, without an error.
      return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    }
    if (length < text.size()) {
      value = Utf8FromWide(text.data(), length);
      return true;
    }
    text.resize(length);
  }
#else
  const char* text = std::getenv(name);
  if (text == nullptr) return false;
  value = text;
  return true;
#endif
}

}  // namespace odc
