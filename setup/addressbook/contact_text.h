// Text as contact files hold it: the encodings mail programs and phones
// write (UTF-8 with or without a byte-order mark, UTF-16 with one,
// Windows-1252 from spreadsheets that do not write UTF-8), the
// quoted-printable of vCard 2.1, and the machine-independent parts of names
// (transliteration of letters to plain Latin ones).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace odc {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The whole file as UTF-8, without a byte-order mark. A UTF-16 file (with a
// byte-order mark, or without one when its first line is plainly UTF-16) is
// converted. A line that is not valid UTF-8 is read in the character set it
// names (a vCard property's CHARSET), else in `codePage` when all of it
// converts (932, 936 or 950: what spreadsheets and phones write in a
// Japanese or Chinese office), else as Windows-1252.
// Returns false for bytes that are no text at all (NUL bytes in an 8-bit
// file, an odd-length or broken UTF-16 file).
bool DecodeContactText(const uint8_t* data, size_t size, std::string& utf8,
                       unsigned codePage = 1252);

// Bytes of a value in the named character set ("UTF-8", "ISO-8859-1",
// "Windows-1252", "Shift_JIS", "GB2312", "Big5"; empty: UTF-8 when valid,
// else Windows-1252) -> UTF-8. Bytes of a character set the program does not
// know are taken only when they are valid UTF-8; otherwise the result is
// empty (the value is not used).
std::string DecodeCharset(std::string_view bytes, std::string_view charset);

// Windows-1252 bytes -> UTF-8; the five bytes the code page leaves undefined
// become the C1 control of the same number, as Windows itself reads them.
std::string Windows1252ToUtf8(std::string_view bytes);

// Quoted-printable -> bytes ("=C3=BC" -> two bytes, "=\r\n" soft breaks
// removed). A '=' not followed by two hex digits is kept as it stands.
std::string DecodeQuotedPrintable(std::string_view text);

// Next code point of UTF-8 text at `i` (advanced); U+FFFD for a broken
// sequence (one byte consumed).
char32_t NextCodePoint(std::string_view text, size_t& i, bool* ok = nullptr);
void AppendUtf8(std::string& out, char32_t cp);

// A plain Latin spelling of one letter the machine may not show: "L" for
// U+0141, "z" for U+017C, "OE" for U+0152, "o" for U+00F8; empty when the
// letter has none (Cyrillic, CJK, symbols): empty.
std::string TransliterateLetter(char32_t cp);

}  // namespace odc
