#include "tools/odctool/console_text.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include <iostream>
#include <streambuf>

#include "setup/data/file_io.h"
#endif

namespace odc {
namespace tool {

size_t WholeUtf8Prefix(const char* data, size_t size) {
  // Look back over at most three bytes for the lead byte of the last
  // sequence.
  size_t back = 0;
  while (back < 3 && back < size &&
         (static_cast<unsigned char>(data[size - 1 - back]) & 0xC0) == 0x80) {
    ++back;
  }
  if (back == size) return size;  // only continuation bytes: nothing to wait for
  const unsigned char lead = static_cast<unsigned char>(data[size - 1 - back]);
  size_t length = 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
  }
  return back + 1 < length ? size - 1 - back : size;
}

#ifdef _WIN32
std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return args;
  for (int i = 0; i < count; ++i) args.push_back(Utf8FromWide(std::wstring(wide[i])));
  LocalFree(wide);
  return args;
}

namespace {

// Collects the UTF-8 bytes and writes whole characters with WriteConsoleW.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    pending_.push_back(static_cast<char>(c));
    if (c == '\n' || pending_.size() >= 4096) Write(false);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<size_t>(n));
    if (pending_.size() >= 4096 || pending_.find('\n') != std::string::npos) Write(false);
    return n;
  }
  int sync() override {
    Write(false);
    return 0;
  }

 public:
  // `all`: also the bytes of a cut-off sequence (at the end of the run).
  void Write(bool all) {
    const size_t whole = all ? pending_.size() : WholeUtf8Prefix(pending_.data(), pending_.size());
    if (whole == 0) return;
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(whole), nullptr, 0);
    if (length > 0) {
      std::wstring wide(static_cast<size_t>(length), L'\0');
      MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(whole), &wide[0], length);
      DWORD written = 0;
      WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
    pending_.erase(0, whole);
  }

 private:
  HANDLE console_;
  std::string pending_;
};

ConsoleBuffer* g_outBuffer = nullptr;
ConsoleBuffer* g_errBuffer = nullptr;
std::streambuf* g_outOriginal = nullptr;
std::streambuf* g_errOriginal = nullptr;

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

void UseUnicodeConsole() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (IsConsole(out)) {
    g_outBuffer = new ConsoleBuffer(out);
    g_outOriginal = std::cout.rdbuf(g_outBuffer);
  }
  if (IsConsole(err)) {
    g_errBuffer = new ConsoleBuffer(err);
    g_errOriginal = std::cerr.rdbuf(g_errBuffer);
  }
}

void RestoreStandardStreams() {
  if (g_outBuffer != nullptr) {
    std::cout.flush();
    g_outBuffer->Write(true);
    std::cout.rdbuf(g_outOriginal);
    delete g_outBuffer;
    g_outBuffer = nullptr;
  }
  if (g_errBuffer != nullptr) {
    std::cerr.flush();
    g_errBuffer->Write(true);
    std::cerr.rdbuf(g_errOriginal);
    delete g_errBuffer;
    g_errBuffer = nullptr;
  }
}
#endif

}  // namespace tool
}  // namespace odc
