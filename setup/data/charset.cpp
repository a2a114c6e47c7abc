// Text conversion between the PC's ANSI code page and the machine's character set, and the
// name-field checks of the double-byte languages. Everything here works on bounded byte
// buffers: a text may end in half a character, and no walk reads past its field.

#include "setup/data/charset.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace odc {

namespace {

constexpr size_t kBufferSize = 256;
// The machine shows at most this many bytes of a name; longer names are cut.
constexpr size_t kNameFieldLimit = 20;

struct CodeTableRow {
  char16_t unicode;
  uint16_t machineCode;
};

// Sorted by Unicode character; machine codes are unique (the generator checks both).
constexpr CodeTableRow kJapaneseCodeTable[] = {
#include "japanese_code_table.inc"
};

// PC byte (Windows-1252) and the machine's byte for the same Latin character.
constexpr std::array<std::array<uint8_t, 2>, 31> kSingleBytePairs = {{
    {0xFC, 0x81}, {0xE9, 0x82}, {0xE4, 0x84}, {0xE0, 0x85}, {0xE7, 0x87}, {0xEE, 0x8C},
    {0xC4, 0x8E}, {0xC9, 0x90}, {0xD6, 0x99}, {0xDC, 0x9A}, {0xD1, 0x9C}, {0xBF, 0x9F},
    {0xED, 0xA1}, {0xFA, 0xA3}, {0xB0, 0xB2}, {0xC6, 0x92}, {0xDF, 0xE0}, {0x60, 0xB3},
    {0xE6, 0x91}, {0xC7, 0x80}, {0xE8, 0x8A}, {0xA3, 0xA5}, {0xD8, 0xAE}, {0xF6, 0x94},
    {0xEC, 0x8D}, {0xF1, 0x9B}, {0xF2, 0x95}, {0xF9, 0x97}, {0xE5, 0x86}, {0xF8, 0xAF},
    {0xC5, 0x8F},
}};

using ByteMap = std::array<uint8_t, 256>;

// A full byte -> byte map per direction, so that each byte of a text is looked up exactly
// once by its original value (0xDF -> 0xE0 must not go on to 0x85).
ByteMap MakeByteMap(bool toMachine) {
  ByteMap map{};
  for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint8_t>(i);
  for (const auto& pair : kSingleBytePairs) {
    const uint8_t from = toMachine ? pair[0] : pair[1];
    const uint8_t to = toMachine ? pair[1] : pair[0];
    map[from] = to;
  }
  return map;
}

int ApplyByteMap(Language language, char* text, const ByteMap& map) {
  if (!IsSingleByteLanguage(language) || text == nullptr) return 1;
  for (char* p = text; *p != '\0'; ++p) {
    *p = static_cast<char>(map[static_cast<uint8_t>(*p)]);
  }
  return 1;
}

// Letters, digits, white space and punctuation of the ASCII range: the bytes that stand for
// themselves in every one of the program's code pages. The classification does not depend on
// the C runtime's locale, so it is the same on every PC.
bool IsPlainByte(uint8_t byte) {
  return (byte >= 0x20 && byte <= 0x7E) || (byte >= 0x09 && byte <= 0x0D);
}

// Whether a byte can begin a two-byte character in the language's code page.
bool IsLeadByte(Language language, uint8_t byte) {
  switch (language) {
    case Language::Japanese:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case Language::SimplifiedChinese:
    case Language::TraditionalChinese:
      return byte >= 0x81 && byte <= 0xFE;
    case Language::SingleByte:
      break;
  }
  return false;
}

// The first UTF-16 unit of a code page 932 byte sequence (U+FFFD when it does not decode).
char16_t FirstUnicodeOf(const char* bytes, size_t length) {
  const std::u16string unicode =
      AnsiToUtf16(AnsiCodePage(Language::Japanese), std::string_view(bytes, length));
  return unicode.empty() ? char16_t{0xFFFD} : unicode.front();
}

const CodeTableRow* FindUnicode(char16_t unicode) {
  const auto* end = std::end(kJapaneseCodeTable);
  const auto* row =
      std::lower_bound(std::begin(kJapaneseCodeTable), end, unicode,
                       [](const CodeTableRow& r, char16_t value) { return r.unicode < value; });
  return (row != end && row->unicode == unicode) ? row : nullptr;
}

const CodeTableRow* FindMachineCode(uint16_t machineCode) {
  for (const auto& row : kJapaneseCodeTable) {
    if (row.machineCode == machineCode) return &row;
  }
  return nullptr;
}

// Copies a NUL-terminated text into a cleared 256-byte buffer, keeping the final NUL.
void CopyBounded(const char* text, char out[kBufferSize]) {
  std::memset(out, 0, kBufferSize);
  if (text == nullptr) return;
  for (size_t i = 0; i + 1 < kBufferSize && text[i] != '\0'; ++i) out[i] = text[i];
}

// Single bytes that a language's rule removes even though they are not part of a pair.
bool IsRejectedSingleByte(Language language, uint8_t byte) {
  if (language != Language::Japanese) return false;
  // Japanese names on the machine cannot hold a backslash or half-width katakana.
  return byte == 0x5C || (byte >= 0xA6 && byte <= 0xDF);
}

bool IsValidSimplifiedChinesePair(uint8_t lead, uint8_t trail) {
  if (lead == 0xA8 && trail == 0xC0) return false;
  const bool leadOk = (lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7);
  return leadOk && trail >= 0xA0;
}

bool IsValidTraditionalChinesePair(uint8_t lead, uint8_t trail) {
  if (lead >= 0xA1 && lead <= 0xD6) return (trail >= 0x40 && trail <= 0x7F) || trail >= 0xA0;
  if (lead == 0xD7) return trail >= 0x40 && trail <= 0x5F;
  return false;
}

// The four box-drawing characters at the end of the Big5 extension have standard codes as
// well; names are sent to the machine with those.
void ReplaceTraditionalChineseExtension(uint8_t& lead, uint8_t& trail) {
  constexpr std::array<std::array<uint8_t, 2>, 4> kExtensionToStandard = {{
      {0xF9, 0xA4},
      {0xE9, 0xA5},
      {0xEA, 0xA6},
      {0xEB, 0xA7},
  }};
  if (lead != 0xF9) return;
  for (const auto& replacement : kExtensionToStandard) {
    if (trail == replacement[0]) {
      lead = 0xA2;
      trail = replacement[1];
      return;
    }
  }
}

bool IsValidPair(Language language, uint8_t lead, uint8_t trail) {
  switch (language) {
    case Language::Japanese:
      return IsInCodeTable(lead, trail) != 0;
    case Language::SimplifiedChinese:
      return IsValidSimplifiedChinesePair(lead, trail);
    case Language::TraditionalChinese:
      return IsValidTraditionalChinesePair(lead, trail);
    case Language::SingleByte:
      break;
  }
  return false;
}

// The common walk of the three name checks over the first 20 bytes of a field.
NameCheck CheckDoubleByteName(Language language, std::string_view field) {
  const size_t textLength = std::min(field.size(), field.find('\0'));
  const size_t length = std::min(textLength, kNameFieldLimit);
  NameCheck check;
  size_t i = 0;
  while (i < length) {
    const auto byte = static_cast<uint8_t>(field[i]);
    if (IsRejectedSingleByte(language, byte)) {
      check.rejected = true;
      ++i;
      continue;
    }
    if (IsPlainByte(byte)) {
      check.text.push_back(static_cast<char>(byte));
      ++i;
      continue;
    }
    // A byte that cannot begin a pair is a one-byte character the machine cannot show; taking
    // it as a pair would also throw away the good character after it.
    if (!IsLeadByte(language, byte)) {
      check.rejected = true;
      ++i;
      continue;
    }
    if (i + 1 >= length) {
      // The trail byte is beyond the 20 bytes: the character falls to the cut like the rest
      // of an over-long name. A field that really ends in a lead byte holds a broken one.
      if (textLength <= kNameFieldLimit) check.rejected = true;
      break;
    }
    auto lead = byte;
    auto trail = static_cast<uint8_t>(field[i + 1]);
    if (language == Language::TraditionalChinese) ReplaceTraditionalChineseExtension(lead, trail);
    if (IsValidPair(language, lead, trail)) {
      // The machine lays names out in two-byte cells; a pair must start a cell.
      if (check.text.size() % 2 != 0) check.text.push_back(' ');
      check.text.push_back(static_cast<char>(lead));
      check.text.push_back(static_cast<char>(trail));
    } else {
      check.rejected = true;
    }
    i += 2;
  }
  if (check.text.size() > kNameFieldLimit) check.text.resize(kNameFieldLimit);
  return check;
}

}  // namespace

Language LanguageFromName(std::string_view name) {
  if (name == "TCHINESE") return Language::TraditionalChinese;
  if (name == "SCHINESE") return Language::SimplifiedChinese;
  if (name == "JAPANESE") return Language::Japanese;
  return Language::SingleByte;
}

int IsSingleByteLanguage(Language language) { return language == Language::SingleByte ? 1 : 0; }

unsigned AnsiCodePage(Language language) {
  switch (language) {
    case Language::Japanese:
      return 932;
    case Language::SimplifiedChinese:
      return 936;
    case Language::TraditionalChinese:
      return 950;
    case Language::SingleByte:
      break;
  }
  return 1252;
}

int ToMachineCharset(Language language, char* text) {
  static const ByteMap toMachine = MakeByteMap(true);
  return ApplyByteMap(language, text, toMachine);
}

int ToPcCharset(Language language, char* text) {
  static const ByteMap toPc = MakeByteMap(false);
  return ApplyByteMap(language, text, toPc);
}

void Name2ToMachine(Language language, const char* pcText, char out[256]) {
  if (language != Language::Japanese) {
    CopyBounded(pcText, out);
    return;
  }
  std::memset(out, 0, kBufferSize);
  if (pcText == nullptr) return;
  // At most 255 bytes are written so the machine text stays NUL-terminated.
  size_t in = 0;
  size_t used = 0;
  while (pcText[in] != '\0') {
    const auto byte = static_cast<uint8_t>(pcText[in]);
    if (IsPlainByte(byte)) {
      if (used + 1 >= kBufferSize) break;
      out[used++] = static_cast<char>(byte);
      ++in;
      continue;
    }
    // A lead byte without its trail byte is the end of a broken text, not a pair with the NUL.
    if (pcText[in + 1] == '\0') break;
    if (used + 2 >= kBufferSize) break;
    const CodeTableRow* row = FindUnicode(FirstUnicodeOf(pcText + in, 2));
    const uint16_t machineCode = row != nullptr ? row->machineCode : 0;
    out[used++] = static_cast<char>(machineCode & 0xFF);
    out[used++] = static_cast<char>(machineCode >> 8);
    in += 2;
  }
}

void Name2ToPc(Language language, const char* machineText, char out[256]) {
  if (language != Language::Japanese) {
    CopyBounded(machineText, out);
    return;
  }
  // The machine text is read as two-byte units; an odd length borrows the NUL (or the
  // cleared work area) as the unit's high byte.
  char work[kBufferSize] = {};
  std::memset(out, 0, kBufferSize);
  if (machineText == nullptr) return;
  size_t length = 0;
  while (length < kBufferSize && machineText[length] != '\0') {
    work[length] = machineText[length];
    ++length;
  }
  length += length % 2;
  // Whole units only, and a NUL left at the end of the output.
  length = std::min(length, kBufferSize - 2);
  for (size_t i = 0; i < length; i += 2) {
    const auto low = static_cast<uint8_t>(work[i]);
    const auto high = static_cast<uint8_t>(work[i + 1]);
    const CodeTableRow* row = FindMachineCode(static_cast<uint16_t>(low | (high << 8)));
    if (row == nullptr) {
      out[i] = static_cast<char>(low);
      out[i + 1] = static_cast<char>(high);
      continue;
    }
    const std::string pc =
        Utf16ToAnsi(AnsiCodePage(Language::Japanese), std::u16string_view(&row->unicode, 1));
    for (size_t k = 0; k < 2 && k < pc.size(); ++k) out[i + k] = pc[k];
  }
}

int IsInCodeTable(uint8_t lead, uint8_t trail) {
  const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  return FindUnicode(FirstUnicodeOf(bytes, 2)) != nullptr ? 1 : 0;
}

uint16_t MachineCodeForUnicode(char16_t unicode) {
  const CodeTableRow* row = FindUnicode(unicode);
  return row != nullptr ? row->machineCode : 0;
}

char16_t UnicodeForMachineCode(uint16_t machineCode) {
  const CodeTableRow* row = FindMachineCode(machineCode);
  return row != nullptr ? row->unicode : 0;
}

size_t CodeTableSize() { return std::size(kJapaneseCodeTable); }

NameCheck ValidateJapaneseName(std::string_view field) {
  return CheckDoubleByteName(Language::Japanese, field);
}

NameCheck ValidateSimplifiedChineseName(std::string_view field) {
  return CheckDoubleByteName(Language::SimplifiedChinese, field);
}

NameCheck ValidateTraditionalChineseName(std::string_view field) {
  return CheckDoubleByteName(Language::TraditionalChinese, field);
}

NameCheck ValidateName(Language language, std::string_view field) {
  switch (language) {
    case Language::Japanese:
      return ValidateJapaneseName(field);
    case Language::SimplifiedChinese:
      return ValidateSimplifiedChineseName(field);
    case Language::TraditionalChinese:
      return ValidateTraditionalChineseName(field);
    case Language::SingleByte:
      break;
  }
  NameCheck check;
  check.text = std::string(field);
  return check;
}

}  // namespace odc
