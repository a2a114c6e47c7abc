// Language-dependent text conversion between the PC's ANSI code page and the
// machine's own character set, and the name-field checks of the double-byte
// languages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace odc {

// The language of the resource module, taken from its string 3577.
enum class Language {
  SingleByte,          // "ENGLISH" and every other single-byte language
  TraditionalChinese,  // "TCHINESE"
  SimplifiedChinese,   // "SCHINESE"
  Japanese,            // "JAPANESE"
};

// Case-sensitive: anything but the three double-byte names is single-byte.
Language LanguageFromName(std::string_view name);

// 1 for a single-byte language, 0 for the three double-byte ones.
int IsSingleByteLanguage(Language language);

// The ANSI code page the program's texts are held in for a language:
// 1252 for single-byte languages, 932 Japanese, 936 Simplified Chinese,
// 950 Traditional Chinese.
unsigned AnsiCodePage(Language language);

// The one seam for ANSI <-> UTF-16 conversion (Win32 on Windows, iconv
// elsewhere). Bytes that cannot be converted become U+FFFD / '?'.
std::u16string AnsiToUtf16(unsigned codePage, std::string_view text);
std::string Utf16ToAnsi(unsigned codePage, std::u16string_view text);

// ANSI text of a language -> UTF-8 (for tools and reports).
std::string AnsiToUtf8(Language language, std::string_view text);
// UTF-8 -> ANSI text of a language.
std::string Utf8ToAnsi(Language language, std::string_view text);

// Single-byte table, in place on a NUL-terminated text. Each byte is looked
// up once, by the value it had before the pass. No change in a double-byte
// language. Return 1.
int ToMachineCharset(Language language, char* text);
int ToPcCharset(Language language, char* text);

// Name2 conversion. `out` is cleared to 256 bytes first. Outside Japanese a
// plain copy (at most 255 bytes, so the output stays NUL-terminated).
void Name2ToMachine(Language language, const char* pcText, char out[256]);
void Name2ToPc(Language language, const char* machineText, char out[256]);

// 1 when the two-byte code page 932 character lead/trail has its Unicode
// value in the Japanese code table.
int IsInCodeTable(uint8_t lead, uint8_t trail);

// Japanese code table lookups: machine code (first byte low) for a Unicode
// character, 0 when absent; and the reverse, 0 when absent.
uint16_t MachineCodeForUnicode(char16_t unicode);
char16_t UnicodeForMachineCode(uint16_t machineCode);
size_t CodeTableSize();

// Result of a name-field check: the cleaned field (at most 20 bytes) and
// whether anything was removed. The dialog writes `text` back and, when
// `rejected`, shows "Invalid value will be deleted." and selects the field.
struct NameCheck {
  std::string text;
  bool rejected = false;
};

NameCheck ValidateJapaneseName(std::string_view field);
NameCheck ValidateSimplifiedChineseName(std::string_view field);
NameCheck ValidateTraditionalChineseName(std::string_view field);
// The validator of a double-byte language; for a single-byte language the
// field comes back unchanged (cut to 20 bytes is NOT applied).
NameCheck ValidateName(Language language, std::string_view field);

}  // namespace odc
