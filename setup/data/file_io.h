// Whole-file reads and crash-safe replacement of files.
//
// Every path in the program is UTF-8 text, whatever the PC's ANSI code
// page: a folder such as "C:\Users\Łukasz\" or a Japanese one on an English
// Windows holds characters that the code page cannot carry. This layer is
// the only place that hands paths to the system: on Windows it converts
// them to UTF-16 and calls the wide functions, elsewhere it passes the bytes
// unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace odc {

// Nothing the program reads comes near this size; a bigger file is refused
// instead of being pulled into memory.
constexpr size_t kMaxReadFileSize = 16u * 1024u * 1024u;

// Reads the whole file. false when it cannot be opened or read, or is larger
// than kMaxReadFileSize; `out` is then empty.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out);

// True when `path` names a file that can be opened for reading (a folder is
// not one). Lets a caller whose read failed tell "cannot be opened" from
// "not a usable file".
bool FileCanBeOpened(const std::string& path);

// True when `path` names an existing file that is not a folder.
bool IsExistingFile(const std::string& path);

// Deletes a file; false when it could not be deleted.
bool RemoveFile(const std::string& path);

// The temporary file that WriteFileAtomically writes beside `path`.
std::string TemporaryPathFor(const std::string& path);

// Writes `bytes` to the temporary file, flushes it to the disk and only then
// moves it over `path`. On any failure the temporary file is removed, `path`
// is left exactly as it was, and false is returned.
bool WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size);

// An environment variable as UTF-8 (on Windows read as UTF-16, so a path in
// it keeps every character). false when it is not set.
bool ReadEnvironmentText(const char* name, std::string& value);

#ifdef _WIN32
// UTF-8 <-> UTF-16 for the wide Windows functions. Bytes that are not UTF-8
// give an empty result (a path no file has), never a different file's name.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::string Utf8FromWide(const wchar_t* text, size_t length);
#endif

}  // namespace odc
