// ANSI code page <-> UTF-16 conversion: the one place that talks to the platform's converter.
// Windows uses the code page tables of the system; elsewhere iconv stands in for them. Both
// sides substitute instead of failing: an undecodable byte becomes U+FFFD and the walk resumes
// at the next byte; a UTF-16 unit the code page cannot hold becomes '?'.
// One known difference remains: Windows maps the user-defined (EUDC) areas of code pages 936
// and 950 to the Private Use Area, iconv rejects them (U+FFFD / '?'). Chinese names go to the
// machine as their own bytes, so only texts shown by the tools are affected.

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/data/charset.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <iconv.h>

#include <cstdio>
#endif

namespace odc {

namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;

#ifdef _WIN32

// MB_ERR_INVALID_CHARS makes the system report bad input instead of silently producing its
// default character (U+30FB in code page 932, which is a valid Japanese character and would
// pass the code table check). On failure the text is converted one character at a time.
std::u16string DecodeWin32(unsigned codePage, std::string_view text) {
  std::u16string result;
  const int length = static_cast<int>(text.size());
  const int needed =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed > 0) {
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed);
    result.assign(wide.begin(), wide.end());
    return result;
  }
  size_t i = 0;
  while (i < text.size()) {
    const BYTE byte = static_cast<BYTE>(text[i]);
    const int charLength = (IsDBCSLeadByteEx(codePage, byte) && i + 1 < text.size()) ? 2 : 1;
    wchar_t wide[4];
    const int count =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data() + i, charLength, wide, 4);
    if (count > 0) {
      result.append(wide, wide + count);
      i += static_cast<size_t>(charLength);
    } else {
      result.push_back(kReplacementCharacter);
      ++i;
    }
  }
  return result;
}

// WC_NO_BEST_FIT_CHARS: an "é" must not quietly become "e" in code page 932; it becomes '?'
// as it does with iconv.
std::string EncodeWin32(unsigned codePage, std::u16string_view text) {
  const std::wstring wide(text.begin(), text.end());
  const int length = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int needed = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                         nullptr, 0, "?", &usedDefault);
  if (needed <= 0) return std::string(text.size(), '?');
  std::string result(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, result.data(), needed,
                      "?", &usedDefault);
  return result;
}

#else

std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 1252:
      return "CP1252";
    case 932:
      return "CP932";
    case 936:
      return "CP936";
    case 950:
      return "CP950";
    default: {
      char name[16];
      std::snprintf(name, sizeof name, "CP%u", codePage);
      return name;
    }
  }
}

// Bytes the Windows tables pass straight through as U+0080..U+009F but iconv rejects; mapped
// the same way here so that a text converts alike on every platform.
bool IsWindowsPassThroughByte(unsigned codePage, unsigned value) {
  if (codePage == 1252) {
    return value == 0x81 || value == 0x8D || value == 0x8F || value == 0x90 || value == 0x9D;
  }
  if (codePage == 932) return value == 0x80;
  return false;
}

// Code page 950 has two codes for four box-drawing characters; Windows writes the extension
// codes, iconv the standard ones.
int WindowsPreferredCode(unsigned codePage, char16_t unit) {
  if (codePage != 950) return -1;
  switch (unit) {
    case 0x2550:
      return 0xF9F9;
    case 0x255E:
      return 0xF9E9;
    case 0x256A:
      return 0xF9EA;
    case 0x2561:
      return 0xF9EB;
    default:
      return -1;
  }
}

void AppendUtf16Le(std::string& bytes, char16_t unit) {
  bytes.push_back(static_cast<char>(unit & 0xFF));
  bytes.push_back(static_cast<char>(unit >> 8));
}

// One whole conversion of a short input; false when iconv rejects any of it.
bool ConvertAll(iconv_t cd, const std::string& input, std::string& output) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input.data());  // iconv's signature; it never writes input.
  size_t inLeft = input.size();
  char buffer[64];
  char* out = buffer;
  size_t outLeft = sizeof buffer;
  if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
    return false;
  }
  if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) return false;
  output.assign(buffer, sizeof buffer - outLeft);
  return true;
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::u16string DecodeIconv(unsigned codePage, std::string_view text) {
  std::string bytes;
  iconv_t cd = iconv_open("UTF-16LE", IconvName(codePage).c_str());
  if (cd == kNoConverter) {
    // No converter for this code page: ASCII is common to all of them.
    for (const char c : text) {
      const auto value = static_cast<unsigned char>(c);
      AppendUtf16Le(bytes, value < 0x80 ? value : kReplacementCharacter);
    }
  } else {
    char* in = const_cast<char*>(text.data());  // iconv's signature; it never writes input.
    size_t inLeft = text.size();
    char buffer[1024];
    while (inLeft > 0) {
      char* out = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
      const int error = errno;
      bytes.append(buffer, sizeof buffer - outLeft);
      if (rc != static_cast<size_t>(-1) || error == E2BIG) continue;
      // A bad or incomplete sequence: substitute for its first byte and resume at the next,
      // so that one stray byte does not take the following character with it.
      const auto value = static_cast<unsigned char>(*in);
      AppendUtf16Le(bytes,
                    IsWindowsPassThroughByte(codePage, value) ? value : kReplacementCharacter);
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
  }
  std::u16string result;
  result.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    result.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                           (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  return result;
}

// Character by character, keeping only encodings that decode back to the same character:
// iconv has one-way fallbacks (U+00A5 -> '\' in code page 932) that Windows, asked for no
// best fit, does not use.
std::string EncodeIconv(unsigned codePage, std::u16string_view text) {
  std::string result;
  const std::string name = IconvName(codePage);
  iconv_t encoder = iconv_open(name.c_str(), "UTF-16LE");
  iconv_t decoder = iconv_open("UTF-16LE", name.c_str());
  for (size_t i = 0; i < text.size();) {
    const char16_t unit = text[i];
    size_t units = 1;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      units = 2;
    }
    const int preferred = WindowsPreferredCode(codePage, unit);
    if (preferred >= 0) {
      result.push_back(static_cast<char>(preferred >> 8));
      result.push_back(static_cast<char>(preferred & 0xFF));
    } else if (IsWindowsPassThroughByte(codePage, unit)) {
      result.push_back(static_cast<char>(unit));
    } else if (unit < 0x80 || encoder == kNoConverter || decoder == kNoConverter) {
      // One '?' per UTF-16 unit, as Windows does; a surrogate pair therefore gives "??".
      if (unit < 0x80) {
        result.push_back(static_cast<char>(unit));
      } else {
        result.append(units, '?');
      }
    } else {
      std::string utf16;
      for (size_t k = 0; k < units; ++k) AppendUtf16Le(utf16, text[i + k]);
      std::string encoded;
      std::string decoded;
      if (ConvertAll(encoder, utf16, encoded) && ConvertAll(decoder, encoded, decoded) &&
          decoded == utf16) {
        result += encoded;
      } else {
        result.append(units, '?');
      }
    }
    i += units;
  }
  if (encoder != kNoConverter) iconv_close(encoder);
  if (decoder != kNoConverter) iconv_close(decoder);
  return result;
}

#endif

// UTF-8 is only used at the edges (tools, reports), so a small hand-written codec suffices.
// Malformed input gives U+FFFD per offending byte.
std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string result;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t value = 0;
    uint32_t minimum = 0;
    if (lead < 0x80) {
      result.push_back(lead);
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      value = lead & 0x1Fu;
      minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      value = lead & 0x0Fu;
      minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      value = lead & 0x07u;
      minimum = 0x10000;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      value = (value << 6) | (next & 0x3F);
    }
    if (valid && (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))) {
      valid = false;
    }
    if (!valid) {
      result.push_back(kReplacementCharacter);
      ++i;
      continue;
    }
    if (value >= 0x10000) {
      value -= 0x10000;
      result.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
      result.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
    } else {
      result.push_back(static_cast<char16_t>(value));
    }
    i += length;
  }
  return result;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t value = text[i];
    if (value >= 0xD800 && value <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      value = 0x10000 + ((value - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (value >= 0xD800 && value <= 0xDFFF) {
      value = kReplacementCharacter;
    }
    if (value < 0x80) {
      result.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
      result.push_back(static_cast<char>(0xC0 | (value >> 6)));
      result.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
      result.push_back(static_cast<char>(0xE0 | (value >> 12)));
      result.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
      result.push_back(static_cast<char>(0xF0 | (value >> 18)));
      result.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
      result.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
  }
  return result;
}

}  // namespace

std::u16string AnsiToUtf16(unsigned codePage, std::string_view text) {
  if (text.empty()) return {};
#ifdef _WIN32
  return DecodeWin32(codePage, text);
#else
  return DecodeIconv(codePage, text);
#endif
}

std::string Utf16ToAnsi(unsigned codePage, std::u16string_view text) {
  if (text.empty()) return {};
#ifdef _WIN32
  return EncodeWin32(codePage, text);
#else
  return EncodeIconv(codePage, text);
#endif
}

std::string AnsiToUtf8(Language language, std::string_view text) {
  return Utf16ToUtf8(AnsiToUtf16(AnsiCodePage(language), text));
}

std::string Utf8ToAnsi(Language language, std::string_view text) {
  return Utf16ToAnsi(AnsiCodePage(language), Utf8ToUtf16(text));
}

}  // namespace odc
