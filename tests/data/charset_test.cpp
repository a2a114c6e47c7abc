#include "setup/data/charset.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace odc {
namespace {

constexpr Language kDoubleByteLanguages[] = {Language::Japanese, Language::SimplifiedChinese,
                                             Language::TraditionalChinese};
constexpr Language kAllLanguages[] = {Language::SingleByte, Language::Japanese,
                                      Language::SimplifiedChinese, Language::TraditionalChinese};

// PC byte (Windows-1252) -> machine byte, as the machine's Latin font has them.
constexpr std::array<std::array<unsigned char, 2>, 31> kLatinPairs = {{
    {0xFC, 0x81}, {0xE9, 0x82}, {0xE4, 0x84}, {0xE0, 0x85}, {0xE7, 0x87}, {0xEE, 0x8C},
    {0xC4, 0x8E}, {0xC9, 0x90}, {0xD6, 0x99}, {0xDC, 0x9A}, {0xD1, 0x9C}, {0xBF, 0x9F},
    {0xED, 0xA1}, {0xFA, 0xA3}, {0xB0, 0xB2}, {0xC6, 0x92}, {0xDF, 0xE0}, {0x60, 0xB3},
    {0xE6, 0x91}, {0xC7, 0x80}, {0xE8, 0x8A}, {0xA3, 0xA5}, {0xD8, 0xAE}, {0xF6, 0x94},
    {0xEC, 0x8D}, {0xF1, 0x9B}, {0xF2, 0x95}, {0xF9, 0x97}, {0xE5, 0x86}, {0xF8, 0xAF},
    {0xC5, 0x8F},
}};

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// Every byte value 1..255 once, NUL-terminated.
std::vector<char> AllNonZeroBytes() {
  std::vector<char> text;
  for (int b = 1; b < 256; ++b) text.push_back(static_cast<char>(b));
  text.push_back('\0');
  return text;
}

// ---------------------------------------------------------------------------------------------
// Language

TEST(LanguageTest, NameIsComparedCaseSensitively) {
  const struct {
    const char* name;
    Language expected;
  } cases[] = {
      {"JAPANESE", Language::Japanese},
      {"SCHINESE", Language::SimplifiedChinese},
      {"TCHINESE", Language::TraditionalChinese},
      {"ENGLISH", Language::SingleByte},
      {"japanese", Language::SingleByte},
      {"Japanese", Language::SingleByte},
      {"tchinese", Language::SingleByte},
      {"SChinese", Language::SingleByte},
      {"JAPANESE ", Language::SingleByte},
      {"JAPAN", Language::SingleByte},
      {"", Language::SingleByte},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LanguageFromName(c.name), c.expected) << '"' << c.name << '"';
  }
}

TEST(LanguageTest, SingleByteFlagAndCodePage) {
  const struct {
    Language language;
    int singleByte;
    unsigned codePage;
  } cases[] = {
      {Language::SingleByte, 1, 1252},
      {Language::Japanese, 0, 932},
      {Language::SimplifiedChinese, 0, 936},
      {Language::TraditionalChinese, 0, 950},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsSingleByteLanguage(c.language), c.singleByte) << c.codePage;
    EXPECT_EQ(AnsiCodePage(c.language), c.codePage);
  }
}

// ---------------------------------------------------------------------------------------------
// Single-byte conversion

TEST(SingleByteCharsetTest, EveryPairConvertsBothWaysInEnglish) {
  for (const auto& pair : kLatinPairs) {
    char text[] = {'a', static_cast<char>(pair[0]), 'z', '\0'};
    EXPECT_EQ(ToMachineCharset(Language::SingleByte, text), 1);
    EXPECT_EQ(static_cast<unsigned char>(text[1]), pair[1]) << std::hex << int{pair[0]};
    EXPECT_EQ(text[0], 'a');
    EXPECT_EQ(text[2], 'z');
    EXPECT_EQ(ToPcCharset(Language::SingleByte, text), 1);
    EXPECT_EQ(static_cast<unsigned char>(text[1]), pair[0]) << std::hex << int{pair[1]};
  }
}

TEST(SingleByteCharsetTest, EachByteIsLookedUpOnceByItsOriginalValue) {
  const struct {
    std::string pc;
    std::string machine;
  } cases[] = {
      {"caf\xE9", "caf\x82"},
      {"\xDF", "\xE0"},          // not on to 0x85
      {"\xE0", "\x85"},          // the byte 0xDF turns into
      {"\xDF\xE0", "\xE0\x85"},  // both in one text
      {"Stra\xDF"
       "e",
       "Stra\xE0"
       "e"},
      {"plain ASCII 123", "plain ASCII 123"},
  };
  for (const auto& c : cases) {
    std::string text = c.pc;
    ToMachineCharset(Language::SingleByte, text.data());
    EXPECT_EQ(text, c.machine);
    ToPcCharset(Language::SingleByte, text.data());
    EXPECT_EQ(text, c.pc);
  }

  // All 31 PC bytes in one text: a second lookup of any produced byte would show here.
  std::string pc;
  std::string machine;
  for (const auto& pair : kLatinPairs) {
    pc.push_back(static_cast<char>(pair[0]));
    machine.push_back(static_cast<char>(pair[1]));
  }
  std::string text = pc;
  ToMachineCharset(Language::SingleByte, text.data());
  EXPECT_EQ(text, machine);
  ToPcCharset(Language::SingleByte, text.data());
  EXPECT_EQ(text, pc);
}

TEST(SingleByteCharsetTest, BytesOutsideTheTableAreKept) {
  std::array<bool, 256> pcSide{};
  std::array<bool, 256> machineSide{};
  for (const auto& pair : kLatinPairs) {
    pcSide[pair[0]] = true;
    machineSide[pair[1]] = true;
  }
  std::vector<char> text = AllNonZeroBytes();
  ToMachineCharset(Language::SingleByte, text.data());
  for (int b = 1; b < 256; ++b) {
    if (!pcSide[b]) {
      EXPECT_EQ(static_cast<unsigned char>(text[b - 1]), b) << "to machine " << b;
    }
  }
  text = AllNonZeroBytes();
  ToPcCharset(Language::SingleByte, text.data());
  for (int b = 1; b < 256; ++b) {
    if (!machineSide[b]) {
      EXPECT_EQ(static_cast<unsigned char>(text[b - 1]), b) << "to PC " << b;
    }
  }
}

TEST(SingleByteCharsetTest, StopsAtTheTerminatingNul) {
  char text[] = {'\xE9', '\0', '\xE9', '\0'};
  ToMachineCharset(Language::SingleByte, text);
  EXPECT_EQ(text[0], '\x82');
  EXPECT_EQ(text[2], '\xE9');
}

TEST(SingleByteCharsetTest, DoubleByteLanguagesLeaveTextUnchanged) {
  const std::vector<char> original = AllNonZeroBytes();
  for (const Language language : kDoubleByteLanguages) {
    std::vector<char> text = original;
    EXPECT_EQ(ToMachineCharset(language, text.data()), 1);
    EXPECT_EQ(text, original);
    EXPECT_EQ(ToPcCharset(language, text.data()), 1);
    EXPECT_EQ(text, original);
  }
}

// ---------------------------------------------------------------------------------------------
// Japanese code table

TEST(JapaneseCodeTableTest, KnownRows) {
  const struct {
    char16_t unicode;
    uint16_t machineCode;
  } cases[] = {
      {0x3000, 0x40A1},  // ideographic space: machine bytes A1 40
      {0x65E5, 0xE9A4},  // 日
      {0x672C, 0xBBA5},  // 本
      {0x3042, 0xA6C6},  // あ
      {0xFF21, 0xCFA2},  // Ａ
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MachineCodeForUnicode(c.unicode), c.machineCode) << std::hex << int{c.unicode};
    EXPECT_EQ(UnicodeForMachineCode(c.machineCode), c.unicode) << std::hex << c.machineCode;
  }
  // Absent both ways: plain ASCII, half-width katakana, the katakana middle dot (no Big5 code).
  for (const char16_t unicode : {u'A', u'\uFF71', u'\u30FB', u'\0'}) {
    EXPECT_EQ(MachineCodeForUnicode(unicode), 0) << std::hex << int{unicode};
  }
  for (const uint16_t machineCode : {0x0000, 0x4241, 0x40FF, 0xA140}) {
    EXPECT_EQ(UnicodeForMachineCode(static_cast<uint16_t>(machineCode)), 0) << machineCode;
  }
}

// Every row must survive the trip PC bytes -> Unicode -> machine code -> Unicode -> PC bytes
// with the converter the program really uses, or the name conversion would lose characters.
TEST(JapaneseCodeTableTest, EveryRowRoundTripsThroughCodePage932) {
  ASSERT_GT(CodeTableSize(), 4000u);
  int failures = 0;
  for (uint32_t u = 1; u <= 0xFFFF && failures < 10; ++u) {
    const auto unicode = static_cast<char16_t>(u);
    const uint16_t machineCode = MachineCodeForUnicode(unicode);
    if (machineCode == 0) continue;
    const std::string pc = Utf16ToAnsi(932, std::u16string(1, unicode));
    const bool ok = pc.size() == 2 && AnsiToUtf16(932, pc) == std::u16string(1, unicode) &&
                    IsInCodeTable(static_cast<uint8_t>(pc[0]), static_cast<uint8_t>(pc[1])) == 1 &&
                    UnicodeForMachineCode(machineCode) == unicode;
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "U+" << std::hex << u;
    }
  }
}

TEST(JapaneseCodeTableTest, IsInCodeTable) {
  const struct {
    uint8_t lead;
    uint8_t trail;
    int expected;
  } cases[] = {
      {0x81, 0x40, 1},  // ideographic space
      {0x93, 0xFA, 1},  // 日
      {0x82, 0xA0, 1},  // あ
      {0x81, 0x45, 0},  // ・ has no machine code
      {0x85, 0x40, 0},  // undefined in code page 932
      {0x81, 0x20, 0},  // invalid trail byte
      {0xB1, 0x41, 0},  // half-width katakana followed by 'A'
      {0x41, 0x42, 0},  // "AB"
      {0x93, 0x00, 0},  // lead byte without its trail
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsInCodeTable(c.lead, c.trail), c.expected)
        << std::hex << int{c.lead} << ' ' << int{c.trail};
  }
}

// ---------------------------------------------------------------------------------------------
// Name2 conversion

// A 256-byte output with guard bytes after it, pre-filled with garbage.
struct GuardedOutput {
  std::array<char, 256 + 8> bytes;
  GuardedOutput() { bytes.fill('\xCC'); }
  char* out() { return bytes.data(); }
  bool GuardIntact() const {
    for (size_t i = 256; i < bytes.size(); ++i) {
      if (bytes[i] != '\xCC') return false;
    }
    return true;
  }
  // The whole 256-byte output, so that stale bytes after the text are seen too.
  std::string All() const { return std::string(bytes.data(), 256); }
};

std::string Padded(const std::string& text) {
  std::string all = text;
  all.resize(256, '\0');
  return all;
}

TEST(Name2Test, JapaneseRoundTrip) {
  const struct {
    std::string pc;
    std::string machine;
  } cases[] = {
      {"\x81\x40", "\xA1\x40"},                                      // U+3000
      {"\x93\xFA\x96\x7B\x8C\xEA", "\xA4\xE9\xA5\xBB\xBB\x79"},      // 日本語
      {"AB\x93\xFA\x81\x40\x96\x7B", "AB\xA4\xE9\xA1\x40\xA5\xBB"},  // AB日　本
      {"\x82\xA0\x83\x41 12", "\xC6\xA6\xC6\xF9 12"},                // あア 12
      {"Tokyo-1", "Tokyo-1"},
  };
  for (const auto& c : cases) {
    GuardedOutput machine;
    Name2ToMachine(Language::Japanese, c.pc.c_str(), machine.out());
    EXPECT_EQ(machine.All(), Padded(c.machine));
    EXPECT_TRUE(machine.GuardIntact());

    GuardedOutput pc;
    Name2ToPc(Language::Japanese, machine.out(), pc.out());
    EXPECT_EQ(pc.All(), Padded(c.pc));
    EXPECT_TRUE(pc.GuardIntact());
  }
}

TEST(Name2Test, JapaneseToMachineEdgeCases) {
  const struct {
    std::string pc;
    std::string machine;
  } cases[] = {
      // ・ has no machine code: stored as code 0, and the walk goes on after both bytes.
      {"A\x81\x45"
       "B",
       Bytes({'A', 0, 0, 'B'})},
      // An undefined pair is a character missing from the table as well.
      {"\x85\x40", Bytes({0, 0})},
      // A lead byte at the end has no trail byte to pair with.
      {"AB\x93", "AB"},
      {std::string("AB\x93\0ZZ", 6), "AB"},  // nothing after the NUL is read
      {"\x93", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    GuardedOutput machine;
    Name2ToMachine(Language::Japanese, c.pc.c_str(), machine.out());
    EXPECT_EQ(machine.All(), Padded(c.machine)) << c.pc;
  }
}

TEST(Name2Test, JapaneseToPcKeepsUnitsMissingFromTheTable) {
  const struct {
    std::string machine;
    std::string pc;
  } cases[] = {
      {"AB", "AB"},
      {"ABC", "ABC"},  // odd length: the last unit is 'C' and NUL
      {"\xA1\x40"
       "C",
       "\x81\x40"
       "C"},  // found unit, then a half unit
      {"\xFF\xFF\xA4\xE9", "\xFF\xFF\x93\xFA"},
      {"", ""},
  };
  for (const auto& c : cases) {
    GuardedOutput pc;
    Name2ToPc(Language::Japanese, c.machine.c_str(), pc.out());
    EXPECT_EQ(pc.All(), Padded(c.pc));
  }
}

TEST(Name2Test, OutsideJapaneseBothDirectionsAreAPlainCopy) {
  const std::string texts[] = {"\x93\xFA\x81\x40", "\xA4\x40\xF9\xF9", "caf\xE9",
                               "A\x81\x45"
                               "B"};
  for (const Language language :
       {Language::SingleByte, Language::SimplifiedChinese, Language::TraditionalChinese}) {
    for (const std::string& text : texts) {
      GuardedOutput machine;
      Name2ToMachine(language, text.c_str(), machine.out());
      EXPECT_EQ(machine.All(), Padded(text));
      GuardedOutput pc;
      Name2ToPc(language, text.c_str(), pc.out());
      EXPECT_EQ(pc.All(), Padded(text));
    }
  }
}

TEST(Name2Test, LongTextsStayInsideTheOutputAndNulTerminated) {
  const std::string ascii(400, 'A');
  std::string pairs;
  for (int i = 0; i < 200; ++i) pairs += "\x93\xFA";
  for (const Language language : kAllLanguages) {
    for (const std::string* text : {&ascii, static_cast<const std::string*>(&pairs)}) {
      GuardedOutput machine;
      Name2ToMachine(language, text->c_str(), machine.out());
      EXPECT_TRUE(machine.GuardIntact());
      EXPECT_EQ(machine.out()[255], '\0');
      EXPECT_GE(std::strlen(machine.out()), 254u);

      GuardedOutput pc;
      Name2ToPc(language, text->c_str(), pc.out());
      EXPECT_TRUE(pc.GuardIntact());
      EXPECT_EQ(pc.out()[255], '\0');
      EXPECT_GE(std::strlen(pc.out()), 254u);
    }
  }
}

TEST(Name2Test, MachineTextWithoutNulIsReadNoFurtherThan256Bytes) {
  // Exactly 256 bytes on the heap, so a sanitizer build sees any read beyond them.
  auto machine = std::make_unique<char[]>(256);
  for (int i = 0; i < 256; i += 2) {
    machine[i] = '\xA4';
    machine[i + 1] = '\xE9';
  }
  GuardedOutput pc;
  Name2ToPc(Language::Japanese, machine.get(), pc.out());
  EXPECT_TRUE(pc.GuardIntact());
  std::string expected;
  for (int i = 0; i < 127; ++i) expected += "\x93\xFA";
  EXPECT_EQ(pc.All(), Padded(expected));
}

// ---------------------------------------------------------------------------------------------
// Name checks

struct NameCase {
  Language language;
  std::string field;
  std::string text;
  bool rejected;
};

void ExpectChecks(const std::vector<NameCase>& cases) {
  for (const NameCase& c : cases) {
    // The field is copied to a buffer of exactly its size so that reads past it are visible
    // to a sanitizer build.
    auto buffer = std::make_unique<char[]>(c.field.size() + 1);
    std::memcpy(buffer.get(), c.field.data(), c.field.size());
    const NameCheck check =
        ValidateName(c.language, std::string_view(buffer.get(), c.field.size()));
    EXPECT_EQ(check.text, c.text) << "field \"" << c.field << "\" language "
                                  << AnsiCodePage(c.language);
    EXPECT_EQ(check.rejected, c.rejected)
        << "field \"" << c.field << "\" language " << AnsiCodePage(c.language);
  }
}

TEST(NameCheckTest, TraditionalChinese) {
  const Language tc = Language::TraditionalChinese;
  ExpectChecks({
      {tc, "A\xA4\x40", "A \xA4\x40", false},  // a pair starts at an even offset
      {tc, "AB\xA4\x40", "AB\xA4\x40", false},
      {tc,
       "\xA4\x40"
       "A\xA4\x40",
       "\xA4\x40"
       "A \xA4\x40",
       false},
      {tc, "\xF9\xF9", "\xA2\xA4", false},  // extension box drawings take standard codes
      {tc, "\xF9\xE9", "\xA2\xA5", false},
      {tc, "\xF9\xEA", "\xA2\xA6", false},
      {tc, "\xF9\xEB", "\xA2\xA7", false},
      {tc, "A\xF9\xF9", "A \xA2\xA4", false},
      {tc, "\xF9\xEC", "", true},
      {tc, "\xA1\x40", "\xA1\x40", false},
      {tc, "\xD6\xFE", "\xD6\xFE", false},
      {tc, "\xA4\x7F", "\xA4\x7F", false},
      {tc, "\xA4\xA0", "\xA4\xA0", false},
      {tc, "\xA4\x80", "", true},  // trail between the two ranges
      {tc, "\xA4\x3F", "", true},
      {tc, "\xD7\x40", "\xD7\x40", false},
      {tc, "\xD7\x5F", "\xD7\x5F", false},
      {tc, "\xD7\x60", "", true},
      {tc, "\xD8\x40", "", true},
      {tc, "\xA0\xA1", "", true},
      {tc, "A\\B", "A\\B", false},  // backslash is fine outside Japanese
  });
}

TEST(NameCheckTest, SimplifiedChinese) {
  const Language sc = Language::SimplifiedChinese;
  ExpectChecks({
      {sc, "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4", false},
      {sc, "A\xD6\xD0", "A \xD6\xD0", false},
      {sc, "\xA8\xC0", "", true},
      {sc, "X\xA8\xC0Y", "XY", true},
      {sc, "\xA8\xC1", "\xA8\xC1", false},
      {sc, "\xA1\xA0", "\xA1\xA0", false},
      {sc, "\xA9\xFE", "\xA9\xFE", false},
      {sc, "\xAA\xA1", "", true},
      {sc, "\xAF\xA1", "", true},
      {sc, "\xB0\xA1", "\xB0\xA1", false},
      {sc, "\xF7\xFE", "\xF7\xFE", false},
      {sc, "\xF8\xA1", "", true},
      {sc, "\xB0\x9F", "", true},
      {sc, "\xB0\x41", "", true},  // a GBK pair the machine cannot show; 'A' goes with it
      {sc, "\xA1\x40", "", true},
      {sc, "a\\b", "a\\b", false},
  });
}

TEST(NameCheckTest, Japanese) {
  const Language ja = Language::Japanese;
  ExpectChecks({
      {ja, "\x93\xFA\x96\x7B", "\x93\xFA\x96\x7B", false},
      {ja, "A\x93\xFA", "A \x93\xFA", false},
      {ja, "\x81\x40", "\x81\x40", false},
      {ja, "A\\B", "AB", true},
      {ja, "\\", "", true},
      {ja,
       "A\xB1"
       "B",
       "AB", true},                // half-width katakana: only that byte goes
      {ja, "\xA6\xDF", "", true},  // both ends of the rejected single-byte range
      {ja,
       "\xA5"
       "C",
       "C", true},  // half-width punctuation cannot begin a pair either
      {ja,
       "\x80"
       "C",
       "C", true},
      {ja, "X\x81\x45Y", "XY", true},  // ・ is not in the code table
      {ja, "X\x85\x40Y", "XY", true},  // undefined pair; its second byte is part of it
      {ja, "Tel 03-1234", "Tel 03-1234", false},
  });
}

TEST(NameCheckTest, CommonRulesOfAllThreeLanguages) {
  struct Case {
    std::string field;
    std::string text;
    bool rejected;
  };
  const Case common[] = {
      {"", "", false},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRST", false},  // cut to 20 bytes
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQRST", false},
      {std::string("AB\0CD", 5), "AB", false},  // the text ends at its NUL
      {"A\x01"
       "B",
       "AB", true},  // control byte
      {"A\x7F"
       "B",
       "AB", true},
      {"A\xFF"
       "B",
       "AB", true},
      {"tab\there", "tab\there", false},
  };
  for (const Language language : kDoubleByteLanguages) {
    std::vector<NameCase> cases;
    for (const Case& c : common) cases.push_back({language, c.field, c.text, c.rejected});
    ExpectChecks(cases);
  }
}

TEST(NameCheckTest, PairsAtTheTwentyByteLimit) {
  const std::string nineteen = "ABCDEFGHIJKLMNOPQRS";
  // Valid pairs in each language, and the same pair spelled ten times.
  const struct {
    Language language;
    std::string pair;
  } languages[] = {
      {Language::Japanese, "\x93\xFA"},
      {Language::SimplifiedChinese, "\xD6\xD0"},
      {Language::TraditionalChinese, "\xA4\x40"},
  };
  for (const auto& l : languages) {
    std::string tenPairs;
    for (int i = 0; i < 10; ++i) tenPairs += l.pair;
    std::string ninePairs;
    for (int i = 0; i < 9; ++i) ninePairs += l.pair;
    ExpectChecks({
        // A field that ends in a lead byte holds a broken character.
        {l.language, nineteen + l.pair[0], nineteen, true},
        // The pair straddles the limit: it is cut with the rest of the name, silently.
        {l.language, nineteen + l.pair + "XYZ", nineteen, false},
        {l.language, tenPairs, tenPairs, false},
        {l.language, tenPairs + "A", tenPairs, false},
        {l.language, "A" + tenPairs, "A " + ninePairs, false},
        // The inserted space pushes the last byte past the limit.
        {l.language, "ABC" + ninePairs.substr(0, 16) + "D", "ABC " + ninePairs.substr(0, 16),
         false},
    });
  }
}

TEST(NameCheckTest, SingleByteLanguageKeepsTheFieldAsItIs) {
  const std::string fields[] = {"A\\B\xB1\xA8\xC0", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "\xF9\xF9", ""};
  for (const std::string& field : fields) {
    const NameCheck check = ValidateName(Language::SingleByte, field);
    EXPECT_EQ(check.text, field);
    EXPECT_FALSE(check.rejected);
  }
}

TEST(NameCheckTest, ValidateNameAndTheLanguageFunctionsAgree) {
  const std::string fields[] = {"A\\B",
                                "A\xB1"
                                "B",
                                "\xA8\xC0",
                                "\xF9\xF9",
                                "A\xA4\x40",
                                "\x93\xFA",
                                "ABCDEFGHIJKLMNOPQRSTUVWXYZ"};
  for (const std::string& field : fields) {
    const NameCheck ja = ValidateJapaneseName(field);
    const NameCheck sc = ValidateSimplifiedChineseName(field);
    const NameCheck tc = ValidateTraditionalChineseName(field);
    EXPECT_EQ(ValidateName(Language::Japanese, field).text, ja.text);
    EXPECT_EQ(ValidateName(Language::Japanese, field).rejected, ja.rejected);
    EXPECT_EQ(ValidateName(Language::SimplifiedChinese, field).text, sc.text);
    EXPECT_EQ(ValidateName(Language::SimplifiedChinese, field).rejected, sc.rejected);
    EXPECT_EQ(ValidateName(Language::TraditionalChinese, field).text, tc.text);
    EXPECT_EQ(ValidateName(Language::TraditionalChinese, field).rejected, tc.rejected);
  }
}

// ---------------------------------------------------------------------------------------------
// ANSI code page conversion

TEST(AnsiCodePageTest, SamplesRoundTripThroughUtf8) {
  const struct {
    Language language;
    std::string ansi;
    std::string utf8;
  } cases[] = {
      {Language::SingleByte,
       "caf\xE9 \xA3"
       "5 \x80",
       "caf\u00E9 \u00A3"
       "5 \u20AC"},
      {Language::SingleByte, "\xDF\xFF", "\u00DF\u00FF"},
      {Language::Japanese, "\x93\xFA\x96\x7B\x8C\xEA\x81\x40", "\u65E5\u672C\u8A9E\u3000"},
      {Language::Japanese, "\xB1\\~", "\uFF71\\~"},
      {Language::Japanese, "\x82\xA0\x82\x60", "\u3042\uFF21"},
      {Language::SimplifiedChinese, "\xD6\xD0\xCE\xC4", "\u4E2D\u6587"},
      {Language::SimplifiedChinese, "\x80", "\u20AC"},
      {Language::TraditionalChinese, "\xA4\xA4\xA4\xE5\xA1\x40", "\u4E2D\u6587\u3000"},
      // Windows writes the extension code of the doubly coded box drawings.
      {Language::TraditionalChinese, "\xF9\xF9\xF9\xE9\xF9\xEA\xF9\xEB",
       "\u2550\u255E\u256A\u2561"},
      {Language::SingleByte, "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnsiToUtf8(c.language, c.ansi), c.utf8) << AnsiCodePage(c.language);
    EXPECT_EQ(Utf8ToAnsi(c.language, c.utf8), c.ansi) << AnsiCodePage(c.language);
  }
}

TEST(AnsiCodePageTest, DecodesBadAndSpecialBytesAsWindowsDoes) {
  const struct {
    unsigned codePage;
    std::string ansi;
    std::u16string unicode;
  } cases[] = {
      {932, "\x81\x20", u"\uFFFD "},  // bad trail byte: the walk resumes at it
      {932, "\x85\x40", u"\uFFFD@"},  // undefined pair
      {932, "A\x81", u"A\uFFFD"},     // lead byte at the end
      {936, "A\x81", u"A\uFFFD"},
      {950, "A\xA4", u"A\uFFFD"},
      {1252, "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"},  // as Windows has them
      {932, "\x80", u"\u0080"},
      {950, "\xA2\xA4", u"\u2550"},  // the standard code of F9 F9 decodes alike
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AnsiToUtf16(c.codePage, c.ansi), c.unicode) << c.codePage << ' ' << c.ansi;
  }
}

TEST(AnsiCodePageTest, UnencodableUnitsBecomeQuestionMarks) {
  const struct {
    unsigned codePage;
    std::u16string unicode;
    std::string ansi;
  } cases[] = {
      {932, u"\u00E9A", "?A"},       // no best fit to 'e'
      {932, u"\u00A5\u203E", "??"},  // no one-way fallback to '\\' and '~'
      {1252, u"\u65E5", "?"},
      {936, u"\u3042", "\xA4\xA2"},  // GBK has hiragana
      {950, u"\u0100", "?"},
      {932, u"x\U0001F600y", "x??y"},  // one per UTF-16 unit
      {1252,
       u"\xD800"
       "A",
       "?A"},  // lone surrogate
      {1252, u"\u0081", "\x81"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToAnsi(c.codePage, c.unicode), c.ansi) << c.codePage;
  }
}

TEST(AnsiCodePageTest, MalformedUtf8BecomesReplacementCharacters) {
  const struct {
    std::string utf8;
    std::string ansi;  // code page 1252, which has no U+FFFD: '?'
  } cases[] = {
      {"A\xC3", "A?"},               // truncated sequence
      {"\xC0\xAF", "??"},            // overlong
      {"\xED\xA0\x80", "???"},       // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},  // beyond U+10FFFF
      {"\xC3\xA9", "\xE9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToAnsi(Language::SingleByte, c.utf8), c.ansi);
  }
}

}  // namespace
}  // namespace odc
