// Whole-file reads and crash-safe replacement of files.
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

// The temporary file that WriteFileAtomically writes beside `path`.
std::string TemporaryPathFor(const std::string& path);

// Writes `bytes` to the temporary file, flushes it to the disk and only then
// moves it over `path`. On any failure the temporary file is removed, `path`
// is left exactly as it was, and false is returned.
bool WriteFileAtomically(const std::string& path, const uint8_t* bytes, size_t size);

}  // namespace odc
