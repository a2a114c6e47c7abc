#include "setup/addressbook/contact_text.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "setup/data/charset.h"

namespace odc {
namespace {

// Windows-1252 0x80-0x9F; 0 marks the five bytes the code page leaves out.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return upper;
}

// UTF-16 code units (little- or big-endian) -> UTF-8. False for an odd
// number of bytes; an unpaired surrogate becomes U+FFFD.
bool Utf16ToUtf8(const uint8_t* data, size_t size, bool bigEndian, std::string& out) {
  if (size % 2 != 0) return false;
  out.clear();
  out.reserve(size);
  auto unit = [&](size_t i) -> char16_t {
    return bigEndian ? static_cast<char16_t>(data[i] << 8 | data[i + 1])
                     : static_cast<char16_t>(data[i + 1] << 8 | data[i]);
  };
  for (size_t i = 0; i < size; i += 2) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 2 < size) {
      const char16_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u == 0) return false;
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? 0xFFFD : u);
  }
  return true;
}

// A UTF-16 file without a byte-order mark: its first characters are ASCII,
// so every other byte of them is zero.
int LooksLikeUtf16(const uint8_t* data, size_t size) {
  if (size < 8 || size % 2 != 0) return 0;
  const size_t n = std::min<size_t>(size, 64);
  int evenZero = 0, oddZero = 0;
  for (size_t i = 0; i + 1 < n; i += 2) {
    evenZero += data[i] == 0 && data[i + 1] != 0;
    oddZero += data[i + 1] == 0 && data[i] != 0;
  }
  const int pairs = static_cast<int>(n / 2);
  if (oddZero == pairs) return 1;   // little-endian
  if (evenZero == pairs) return 2;  // big-endian
  return 0;
}

// Latin-1 Supplement and Latin Extended-A, one letter each where a single
// plain letter exists ('?' where the spelling takes two: see below, '\0'
// where there is none).
constexpr char kLatin1Letters[] =
    "AAAAAA?CEEEEIIII"    // C0-CF (C6 AE)
    "DNOOOOO\0OUUUUY??"   // D0-DF (DE TH, DF ss)
    "aaaaaa?ceeeeiiii"    // E0-EF (E6 ae)
    "dnooooo\0ouuuuy?y";  // F0-FF (F7 none, FE th)
static_assert(sizeof kLatin1Letters == 0x40 + 1, "one letter for each of U+00C0-U+00FF");
constexpr char kLatinExtendedA[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkk"  // 0100-0138 (0132/0133 IJ ij)
    "LlLlLlLlLlNnNnNnnNnOoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";  // 0139-017F

static_assert(sizeof kLatinExtendedA == 0x80 + 1, "one letter for each of U+0100-U+017F");

struct Spelling {
  char32_t cp;
  const char* text;
};
// Letters of two letters, the Latin letters of Extended-B and the
// additional Vietnamese ranges that offices meet, and the punctuation that
// word processors put into names.
constexpr Spelling kSpellings[] = {
    {0x00C6, "AE"}, {0x00DE, "TH"}, {0x00DF, "ss"}, {0x00E6, "ae"},  {0x00FE, "th"}, {0x0132, "IJ"},
    {0x0133, "ij"}, {0x0152, "OE"}, {0x0153, "oe"}, {0x0192, "f"},   {0x01A0, "O"},  {0x01A1, "o"},
    {0x01AF, "U"},  {0x01B0, "u"},  {0x01C4, "DZ"}, {0x01C5, "Dz"},  {0x01C6, "dz"}, {0x01C7, "LJ"},
    {0x01C8, "Lj"}, {0x01C9, "lj"}, {0x01CA, "NJ"}, {0x01CB, "Nj"},  {0x01CC, "nj"}, {0x01CD, "A"},
    {0x01CE, "a"},  {0x01CF, "I"},  {0x01D0, "i"},  {0x01D1, "O"},   {0x01D2, "o"},  {0x01D3, "U"},
    {0x01D4, "u"},  {0x01D5, "U"},  {0x01D6, "u"},  {0x01D7, "U"},   {0x01D8, "u"},  {0x01D9, "U"},
    {0x01DA, "u"},  {0x01DB, "U"},  {0x01DC, "u"},  {0x01E6, "G"},   {0x01E7, "g"},  {0x01E8, "K"},
    {0x01E9, "k"},  {0x01EA, "O"},  {0x01EB, "o"},  {0x01F4, "G"},   {0x01F5, "g"},  {0x01F8, "N"},
    {0x01F9, "n"},  {0x0218, "S"},  {0x0219, "s"},  {0x021A, "T"},   {0x021B, "t"},  {0x00A0, " "},
    {0x00AA, "a"},  {0x00AB, "\""}, {0x00B2, "2"},  {0x00B3, "3"},   {0x00B4, "'"},  {0x00B9, "1"},
    {0x00BA, "o"},  {0x00BB, "\""}, {0x02BC, "'"},  {0x2010, "-"},   {0x2011, "-"},  {0x2012, "-"},
    {0x2013, "-"},  {0x2014, "-"},  {0x2018, "'"},  {0x2019, "'"},   {0x201A, "'"},  {0x201B, "'"},
    {0x201C, "\""}, {0x201D, "\""}, {0x201E, "\""}, {0x2026, "..."}, {0x2212, "-"},  {0x2002, " "},
    {0x2003, " "},  {0x2009, " "},  {0x202F, " "},  {0x3000, " "},
};

// U+1EA0-U+1EF9 (Vietnamese): runs of upper/lower pairs on one base letter.
std::string Vietnamese(char32_t cp) {
  struct Run {
    char32_t end;  // first code point after the run
    const char* pair;
  };
  static constexpr Run kRuns[] = {{0x1EB8, "Aa"}, {0x1EC8, "Ee"}, {0x1ECC, "Ii"},
                                  {0x1EE4, "Oo"}, {0x1EF2, "Uu"}, {0x1EFA, "Yy"}};
  static constexpr const char* kLetters[] = {"A", "a", "E", "e", "I", "i",
                                             "O", "o", "U", "u", "Y", "y"};
  for (size_t r = 0; r < std::size(kRuns); ++r) {
    if (cp < kRuns[r].end) return kLetters[2 * r + ((cp - 0x1EA0) % 2)];
  }
  return {};
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  bool ok = true;
  while (i < text.size() && ok) NextCodePoint(text, i, &ok);
  return ok;
}

char32_t NextCodePoint(std::string_view text, size_t& i, bool* ok) {
  const auto c = static_cast<unsigned char>(text[i]);
  auto broken = [&]() -> char32_t {
    ++i;
    if (ok) *ok = false;
    return 0xFFFD;
  };
  int extra = 0;
  char32_t cp = 0;
  if (c < 0x80) {
    ++i;
    return c;
  } else if (c >= 0xC2 && c <= 0xDF) {
    extra = 1;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    extra = 2;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    extra = 3;
    cp = c & 0x07;
  } else {
    return broken();
  }
  if (i + extra >= text.size()) return broken();
  for (int k = 1; k <= extra; ++k) {
    const auto t = static_cast<unsigned char>(text[i + k]);
    if ((t & 0xC0) != 0x80) return broken();
    cp = (cp << 6) | (t & 0x3F);
  }
  if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return broken();
  }
  i += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x80 && b <= 0x9F) {
      const char16_t mapped = kCp1252High[b - 0x80];
      AppendUtf8(out, mapped != 0 ? mapped : b);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

namespace {

// The CHARSET parameter of a vCard property line ("N;CHARSET=SHIFT_JIS:..."),
// or "" when the line names none.
std::string_view LineCharset(std::string_view line) {
  const size_t colon = line.find(':');
  const std::string_view head = line.substr(0, colon);
  size_t at = 0;
  while ((at = head.find(';', at)) != std::string_view::npos) {
    ++at;
    if (head.size() - at > 8 && Upper(head.substr(at, 8)) == "CHARSET=") {
      std::string_view value = head.substr(at + 8);
      value = value.substr(0, value.find(';'));
      if (!value.empty() && value.front() == '"') value = value.substr(1, value.find('"', 1) - 1);
      return value;
    }
  }
  return std::string_view();
}

// A line that is not UTF-8: in the character set it names, else in the
// code page of the data set's language when all of it converts, else
// Windows-1252.
std::string DecodeLegacyLine(std::string_view line, unsigned codePage) {
  const std::string_view charset = LineCharset(line);
  if (!charset.empty()) {
    std::string named = DecodeCharset(line, charset);
    if (!named.empty()) return named;
  }
  if (codePage != 1252) {
    const std::u16string wide = AnsiToUtf16(codePage, line);
    if (!wide.empty() && wide.find(u'\uFFFD') == std::u16string::npos) {
      std::string out;
      for (char16_t u : wide) AppendUtf8(out, u);
      return out;
    }
  }
  return Windows1252ToUtf8(line);
}

}  // namespace

bool DecodeContactText(const uint8_t* data, size_t size, std::string& utf8, unsigned codePage) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    return Utf16ToUtf8(data + 2, size - 2, false, utf8);
  }
  if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) {
    return Utf16ToUtf8(data + 2, size - 2, true, utf8);
  }
  if (const int utf16 = LooksLikeUtf16(data, size)) {
    return Utf16ToUtf8(data, size, utf16 == 2, utf8);
  }
  if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
    data += 3;
    size -= 3;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (bytes.find('\0') != std::string_view::npos) return false;
  if (IsValidUtf8(bytes)) {
    utf8 = std::string(bytes);
    return true;
  }
  // Line by line: a UTF-8 file with one broken line keeps its other names
  // whole, and the lines of a Windows-1252 file that hold only ASCII read
  // the same either way.
  utf8.clear();
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    end = end == std::string_view::npos ? bytes.size() : end + 1;
    const std::string_view line = bytes.substr(start, end - start);
    if (IsValidUtf8(line)) {
      utf8.append(line);
    } else {
      utf8 += DecodeLegacyLine(line, codePage);
    }
    start = end;
  }
  return true;
}

std::string DecodeCharset(std::string_view bytes, std::string_view charset) {
  const std::string name = Upper(charset);
  const bool valid = IsValidUtf8(bytes);
  if (name.empty() || name == "UTF-8" || name == "UTF8") {
    return valid ? std::string(bytes) : Windows1252ToUtf8(bytes);
  }
  if (name == "US-ASCII" || name == "ISO-8859-1" || name == "ISO_8859-1" || name == "LATIN1" ||
      name == "WINDOWS-1252" || name == "CP1252" || name == "ISO-8859-15") {
    // Latin-1 is Windows-1252 without the printable 0x80-0x9F: reading
    // those as Windows does loses nothing.
    return Windows1252ToUtf8(bytes);
  }
  // The double-byte code pages of East Asian phones, through the program's
  // own converter.
  unsigned codePage = 0;
  if (name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "SJIS" || name == "CP932" ||
      name == "WINDOWS-31J") {
    codePage = 932;
  } else if (name == "GB2312" || name == "GBK" || name == "CP936") {
    codePage = 936;
  } else if (name == "BIG5" || name == "CP950") {
    codePage = 950;
  }
  if (codePage != 0 && !valid) {
    std::string out;
    for (char16_t u : AnsiToUtf16(codePage, bytes)) AppendUtf8(out, u);
    return out;
  }
  // A character set the program does not know: only text that is plainly
  // UTF-8 is taken, rather than guessing and storing garbled letters.
  return valid ? std::string(bytes) : std::string();
}

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '=') {
      out += text[i];
      continue;
    }
    if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n')) {
      // Soft line break.
      ++i;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      continue;
    }
    const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
    if (high < 0 || low < 0) {
      if (i + 1 == text.size()) break;  // a trailing soft break
      out += '=';
      continue;
    }
    out += static_cast<char>(high << 4 | low);
    i += 2;
  }
  return out;
}

std::string TransliterateLetter(char32_t cp) {
  for (const Spelling& s : kSpellings) {
    if (s.cp == cp) return s.text;
  }
  auto one = [](char letter) {
    return letter == '\0' || letter == '?' ? std::string() : std::string(1, letter);
  };
  if (cp >= 0xC0 && cp <= 0xFF) return one(kLatin1Letters[cp - 0xC0]);
  if (cp >= 0x100 && cp <= 0x17F) return one(kLatinExtendedA[cp - 0x100]);
  if (cp >= 0x1EA0 && cp <= 0x1EF9) return Vietnamese(cp);
  // Full-width forms of ASCII.
  if (cp >= 0xFF01 && cp <= 0xFF5E) return std::string(1, static_cast<char>(cp - 0xFF01 + 0x21));
  return {};
}

}  // namespace odc
