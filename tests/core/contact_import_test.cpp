// Address books of other programs: the readers (encodings, vCard 2.1-4.0,
// mail programs' CSV), the mapping to machine entries with every change
// reported, the plan (Replace, Add) and its application, and the corpus of
// real exports in tests/fixtures/contacts.
#include "setup/addressbook/contact_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "setup/addressbook/contact_mapping.h"
#include "setup/addressbook/contact_text.h"
#include "setup/data/document.h"
#include "setup/res/resource.h"
#include "setup/settings/english_strings.h"
#include "tests/data/display_records.h"
#include "tools/odctool/report.h"

namespace odc {
namespace {

using fixtures::EmailRecord;
using fixtures::FaxRecord;

std::unique_ptr<DataSet> NewSet() {
  auto set = std::make_unique<DataSet>();
  Document document;
  EXPECT_EQ(NewDataSet(*set, document), 1);
  return set;
}

const uint8_t* Bytes(const std::string& text) {
  return reinterpret_cast<const uint8_t*>(text.data());
}

ContactImportPlan Plan(const DataSet& set, const std::string& text,
                       ImportMode mode = ImportMode::Replace, const std::string& prefix = "00") {
  ImportOptions options;
  options.internationalPrefix = prefix;
  ContactImportPlan plan;
  PlanContactImport(Bytes(text), text.size(), set, mode, options, plan);
  return plan;
}

std::string Name(const PlannedEntry& e) { return e.record.name; }
std::string Number(const PlannedEntry& e) { return e.record.number; }
std::string Email(const PlannedEntry& e) { return e.record.email; }

std::vector<int> MessagesOf(const ContactImportPlan& plan, ImportNoteKind kind) {
  std::vector<int> ids;
  for (const ImportNote& n : plan.notes) {
    if (n.kind == kind) ids.push_back(n.messageId);
  }
  return ids;
}

// ---- Text as contact files hold it ----

TEST(ContactText, DecodesTheEncodingsExportsUse) {
  struct Case {
    const char* what;
    std::string bytes;
    bool text;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {"UTF-8 with a byte-order mark",
       "\xEF\xBB\xBF"
       "Z\xC3\xB6",
       true, "Z\xC3\xB6"},
      {"UTF-16 little-endian", std::string("\xFF\xFEZ\0\xF6\0", 6), true, "Z\xC3\xB6"},
      {"UTF-16 big-endian", std::string("\xFE\xFF\0Z\0\xF6", 6), true, "Z\xC3\xB6"},
      {"UTF-16 surrogate pair", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), true,
       "\xF0\x9F\x98\x80"},
      {"UTF-16 without a mark", std::string("N\0a\0m\0e\0,\0F\0a\0x\0", 16), true, "Name,Fax"},
      {"Windows-1252 when not UTF-8", "Zo\xEB \x80", true, "Zo\xC3\xAB \xE2\x82\xAC"},
      {"a byte Windows-1252 leaves out", "\x81", true, "\xC2\x81"},
      {"NUL in an 8-bit file", std::string("a\0b", 3), false, ""},
      {"odd UTF-16", std::string("\xFF\xFEZ\0\xF6", 5), false, ""},
  };
  for (const Case& c : cases) {
    std::string utf8;
    EXPECT_EQ(DecodeContactText(Bytes(c.bytes), c.bytes.size(), utf8), c.text) << c.what;
    if (c.text) {
      EXPECT_EQ(utf8, c.utf8) << c.what;
    }
  }
}

// Lines that are not UTF-8 in a Japanese or Chinese office: the character
// set a vCard line names, else the data set's code page when all of the line
// converts, else Windows-1252.
TEST(ContactText, LinesThatAreNotUtf8InTheDataSetsCodePage) {
  struct Case {
    const char* what;
    unsigned codePage;
    std::string bytes;
    std::string utf8;
  };
  // "Yamada Taro" in kanji: Shift_JIS, then UTF-8.
  const std::string sjis = "\x8E\x52\x93\x63\x91\xBE\x98\x59";
  const std::string kanji = "\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E";
  const std::string sjisRead1252 =
      "\xC5\xBD"
      "R\xE2\x80\x9C"
      "c\xE2\x80\x98\xC2\xBE\xCB\x9C"
      "Y";
  const std::vector<Case> cases = {
      {"Shift_JIS spreadsheet, Japanese data set", 932, "Name,Fax\r\n" + sjis + ",03 1\r\n",
       "Name,Fax\r\n" + kanji + ",03 1\r\n"},
      {"the same in a Western data set: Windows-1252", 1252, sjis, sjisRead1252},
      {"GB2312, Simplified Chinese data set", 936, "\xCD\xF5\xD0\xA1\xC3\xF7",
       "\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E"},
      {"a line the code page cannot read: Windows-1252", 932, "Zo\xEB\xFF", "Zo\xC3\xAB\xC3\xBF"},
      {"the character set the line names, in any data set", 1252,
       "N;CHARSET=SHIFT_JIS:" + sjis + "\r\n", "N;CHARSET=SHIFT_JIS:" + kanji + "\r\n"},
      {"a quoted character set", 1252, "FN;CHARSET=\"Shift_JIS\":" + sjis,
       "FN;CHARSET=\"Shift_JIS\":" + kanji},
      {"a character set named only in the value is not one", 1252,
       "NOTE:a;CHARSET=SHIFT_JIS " + sjis, "NOTE:a;CHARSET=SHIFT_JIS " + sjisRead1252},
  };
  for (const Case& c : cases) {
    std::string utf8;
    EXPECT_TRUE(DecodeContactText(Bytes(c.bytes), c.bytes.size(), utf8, c.codePage)) << c.what;
    EXPECT_EQ(utf8, c.utf8) << c.what;
  }
}

TEST(ContactText, QuotedPrintableAndCharsets) {
  EXPECT_EQ(DecodeQuotedPrintable("J=C3=BCrgen=20M"), "J\xC3\xBCrgen M");
  EXPECT_EQ(DecodeQuotedPrintable("soft=\r\nbreak"), "softbreak");
  EXPECT_EQ(DecodeQuotedPrintable("not =ZZ hex="), "not =ZZ hex");
  EXPECT_EQ(DecodeCharset("M\xFCller", "Windows-1252"), "M\xC3\xBCller");
  EXPECT_EQ(DecodeCharset("M\xFCller", "ISO-8859-1"), "M\xC3\xBCller");
  EXPECT_EQ(DecodeCharset("M\xC3\xBCller", ""), "M\xC3\xBCller");
  EXPECT_EQ(DecodeCharset("M\xFCller", "UTF-8"), "M\xC3\xBCller");  // mislabelled: 1252
}

TEST(ContactText, LettersSpelledInPlainLatin) {
  struct Case {
    char32_t cp;
    const char* plain;
  };
  const std::vector<Case> cases = {{0x0141, "L"},  {0x017C, "z"}, {0x0152, "OE"}, {0x00F8, "o"},
                                   {0x00DF, "ss"}, {0x0107, "c"}, {0x0219, "s"},  {0x1EC7, "e"},
                                   {0x00C6, "AE"}, {0x2019, "'"}, {0xFF21, "A"},  {0x0131, "i"},
                                   {0x0434, ""},   {0x65E5, ""},  {0x00F7, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(TransliterateLetter(c.cp), c.plain) << std::hex << static_cast<uint32_t>(c.cp);
  }
}

// ---- Readers ----

std::vector<Contact> Read(const std::string& text, std::vector<ImportNote>* notesOut = nullptr,
                          int* format = nullptr) {
  std::vector<Contact> contacts;
  std::vector<ImportNote> notes;
  const int f = ReadContacts(Bytes(text), text.size(), contacts, notes);
  if (notesOut) *notesOut = notes;
  if (format) *format = f;
  return contacts;
}

TEST(ContactReaders, VcardLineEndsFoldingAndLineNumbers) {
  // CR CR LF is one line end; a folded line belongs to the line it
  // continues.
  const std::string text =
      "BEGIN:VCARD\r\r\nVERSION:3.0\r\r\nFN:Anna\r\r\n Svensson\r\r\n"
      "TEL;TYPE=FAX:+46 8\r\r\n 123\r\r\nEND:VCARD\r\r\n"
      "BEGIN:VCARD\rVERSION:2.1\rFN:Bo\rEMAIL:bo@x.se\rEND:VCARD\r";
  const auto contacts = Read(text);
  ASSERT_EQ(contacts.size(), 2u);
  EXPECT_EQ(contacts[0].names[0].text, "AnnaSvensson");
  EXPECT_EQ(contacts[0].faxes[0].text, "+46 8123");
  EXPECT_EQ(contacts[0].faxes[0].line, 5);
  EXPECT_EQ(contacts[1].line, 8);
  EXPECT_EQ(contacts[1].card, 2);
  EXPECT_EQ(contacts[1].emails[0].text, "bo@x.se");
}

TEST(ContactReaders, Vcard21QuotedPrintableCharsetAndBareTypes) {
  const std::string text =
      "BEGIN:VCARD\r\nVERSION:2.1\r\n"
      "N;CHARSET=Windows-1252;ENCODING=QUOTED-PRINTABLE:M=FCller;J=FCrgen\r\n"
      "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:J=C3=BCrgen M=C3=BC=\r\nller\r\n"
      "TEL;WORK;FAX:030 1\r\nTEL;HOME;FAX;PREF:030 2\r\n"
      "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQ\r\nAAAAAA\r\n\r\nEND:VCARD\r\n";
  std::vector<ImportNote> notes;
  const auto contacts = Read(text, &notes);
  ASSERT_EQ(contacts.size(), 1u);
  ASSERT_EQ(contacts[0].names.size(), 2u);
  EXPECT_EQ(contacts[0].names[0].text, "J\xC3\xBCrgen M\xC3\xBCller");  // FN before N
  EXPECT_EQ(contacts[0].names[1].text, "J\xC3\xBCrgen M\xC3\xBCller");
  ASSERT_EQ(contacts[0].faxes.size(), 2u);
  EXPECT_FALSE(contacts[0].faxes[0].preferred);
  EXPECT_TRUE(contacts[0].faxes[1].preferred);
  EXPECT_TRUE(notes.empty()) << "unindented base64 of a photo is no stray line";
}

TEST(ContactReaders, EmptyFaxLinesGroupCardsAndCardsNotClosed) {
  const std::string text =
      "BEGIN:VCARD\nVERSION:4.0\nFN:A\nTEL;TYPE=fax:\nTEL;TYPE=fax;PREF=1:tel:+1-555\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:4.0\nKIND:group\nFN:Team\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:Cut\nEMAIL:cut@x.de\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:After\nstray text\nEMAIL:after@x.de\nEND:VCARD\n";
  std::vector<ImportNote> notes;
  const auto contacts = Read(text, &notes);
  ASSERT_EQ(contacts.size(), 3u);
  ASSERT_EQ(contacts[0].faxes.size(), 1u);
  EXPECT_EQ(contacts[0].faxes[0].text, "tel:+1-555");
  EXPECT_TRUE(contacts[0].faxes[0].preferred);
  EXPECT_TRUE(contacts[1].group);
  EXPECT_EQ(contacts[2].names[0].text, "After");
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].messageId, IDS_CONTACT_CARD_NOT_CLOSED);
  EXPECT_EQ(notes[0].kind, ImportNoteKind::Skipped);
  EXPECT_EQ(notes[0].line, 12);
  EXPECT_EQ(notes[1].messageId, IDS_CONTACT_LINE_LEFT_OUT);
  EXPECT_EQ(notes[1].value, "stray text");
}

TEST(ContactReaders, NumbersWhoseGroupLabelSaysFax) {
  // Google and Apple name a number's kind in a label of its group, before
  // or after the number; the label counts only for its own group and card.
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> faxes;  // of the last card, in file order
  };
  const std::vector<Case> cases = {
      {"Google: the label after the number",
       "BEGIN:VCARD\nVERSION:3.0\nFN:KMS WSF\nEMAIL;TYPE=INTERNET:wsf@musik.blk.de\n"
       "TEL;TYPE=HOME:03443-303776\nitem1.TEL:03443-333440\nitem1.X-ABLabel:homeFax\n"
       "END:VCARD\n",
       {"03443-333440"}},
      {"Apple: the label before the number, beside a typed fax",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nitem2.X-ABLabel:_$!<WorkFAX>!$_\r\n"
       "item2.TEL:030 2\r\nTEL;type=HOME;type=FAX:030 1\r\nEND:VCARD\r\n",
       {"030 2", "030 1"}},
      {"another group's label",
       "BEGIN:VCARD\nVERSION:3.0\nFN:B\nitem1.TEL:0170\nitem1.X-ABLabel:Mobile\n"
       "item2.X-ABLabel:Fax\nEND:VCARD\n",
       {}},
      {"a label of the card before",
       "BEGIN:VCARD\nVERSION:3.0\nFN:C\nitem1.X-ABLabel:homeFax\nEND:VCARD\n"
       "BEGIN:VCARD\nVERSION:3.0\nFN:D\nitem1.TEL:040 1\nEND:VCARD\n",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto contacts = Read(c.text);
    ASSERT_FALSE(contacts.empty());
    std::vector<std::string> faxes;
    for (const ContactValue& v : contacts.back().faxes) faxes.push_back(v.text);
    EXPECT_EQ(faxes, c.faxes);
  }
}

TEST(ContactReaders, EvolutionSlotsOrderTheEmailAddresses) {
  // Evolution writes the address its editor shows first with slot 1,
  // wherever it stands in the card.
  const std::string text =
      "BEGIN:VCARD\nCLASS:PUBLIC\nEMAIL;TYPE=HOME;X-EVOLUTION-UI-SLOT=2:thejoe@abc.com\n"
      "EMAIL;TYPE=WORK;X-EVOLUTION-UI-SLOT=1:johndoe@abc.com\nFN:Test User\nVERSION:3.0\n"
      "END:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:No slots\nEMAIL:b@x.de\nEMAIL:a@x.de\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:Some\nEMAIL:c@x.de\n"
      "EMAIL;X-EVOLUTION-UI-SLOT=1:d@x.de\nEND:VCARD\n";
  const auto contacts = Read(text);
  ASSERT_EQ(contacts.size(), 3u);
  auto emails = [](const Contact& c) {
    std::vector<std::string> texts;
    for (const ContactValue& v : c.emails) texts.push_back(v.text);
    return texts;
  };
  EXPECT_EQ(emails(contacts[0]), (std::vector<std::string>{"johndoe@abc.com", "thejoe@abc.com"}));
  EXPECT_EQ(contacts[0].emails[0].line, 4);
  EXPECT_EQ(emails(contacts[1]), (std::vector<std::string>{"b@x.de", "a@x.de"}));
  EXPECT_EQ(emails(contacts[2]), (std::vector<std::string>{"d@x.de", "c@x.de"}));
}

TEST(ContactReaders, MailProgramCsvColumnsAndSeparators) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> names;  // first name source of each contact
    std::vector<std::string> faxes;  // first fax of each contact ("" none)
    std::vector<std::string> emails;
  };
  const std::vector<Case> cases = {
      {"Outlook",
       "First Name,Last Name,Company,Business Fax,Home Fax,E-mail Address\r\n"
       "Klaus,Berger,B GmbH,,089 1,k@b.de\r\n,,Hotel,\"(0221) 5\",,\r\n",
       {"Klaus Berger", "Hotel"},
       {"089 1", "(0221) 5"},
       {"k@b.de", ""}},
      {"Google, fax by type",
       "Name,Phone 1 - Type,Phone 1 - Value,Phone 2 - Type,Phone 2 - Value,E-mail 1 - Value\n"
       "Ann,Mobile,0170,Work Fax,+46 8 5 ::: +46 8 6,a@x.se ::: b@x.se\n",
       {"Ann"},
       {"+46 8 5"},
       {"a@x.se"}},
      {"Thunderbird German, semicolons",
       "Vorname;Nachname;Anzeigename;Prim\xC3\xA4re E-Mail-Adresse;Fax-Nummer\r\n"
       "J\xC3\xBCrgen;Gro\xC3\x9F;;j@g.de;0711 9\r\n",
       {"J\xC3\xBCrgen Gro\xC3\x9F"},
       {"0711 9"},
       {"j@g.de"}},
      {"tabs", "Display Name\tPrimary Email\r\nEmma\temma@x.uk\r\n", {"Emma"}, {""}, {"emma@x.uk"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto contacts = Read(c.text);
    ASSERT_EQ(contacts.size(), c.names.size());
    for (size_t k = 0; k < contacts.size(); ++k) {
      ASSERT_FALSE(contacts[k].names.empty());
      EXPECT_EQ(contacts[k].names[0].text, c.names[k]);
      EXPECT_EQ(contacts[k].faxes.empty() ? "" : contacts[k].faxes[0].text, c.faxes[k]);
      EXPECT_EQ(contacts[k].emails.empty() ? "" : contacts[k].emails[0].text, c.emails[k]);
      EXPECT_EQ(contacts[k].line, static_cast<int>(k) + 2);
    }
  }
}

TEST(ContactReaders, UnknownHeaderIsRefusedNamingTheColumnsNeeded) {
  std::vector<ImportNote> notes;
  int format = -1;
  const auto contacts = Read("Kunde,Telefon,Ort\r\nMeier,0123,Bonn\r\n", &notes, &format);
  EXPECT_EQ(format, 0);
  EXPECT_TRUE(contacts.empty());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].kind, ImportNoteKind::Refused);
  EXPECT_EQ(notes[0].value, "Kunde, Telefon, Ort");
  const std::string message = DescribeImportNote(notes[0], EnglishString);
  EXPECT_NE(message.find("Business Fax"), std::string::npos) << message;
  EXPECT_NE(message.find("Kunde, Telefon, Ort"), std::string::npos) << message;
}

// ---- Mapping ----

TEST(ContactMapping, FaxNumbersAsPeopleWriteThem) {
  struct Case {
    const char* text;
    const char* prefix;
    int problem;
    const char* number;
    int change;
  };
  const std::vector<Case> cases = {
      {"+46 8 123 456", "00", 0, "0046 8 123 456", IDS_CONTACT_PREFIX},
      {"+1 (201) 555-0123", "011", 0, "0111 201 555-0123", IDS_CONTACT_PREFIX},
      {"+49 (0)30 1234567", "00", 0, "0049 30 1234567", IDS_CONTACT_PREFIX},
      {"tel:+33-4-72-00-00-00", "00", 0, "0033-4-72-00-00-00", IDS_CONTACT_PREFIX},
      {"tel:030-1234;ext=11", "00", 0, "030-1234", IDS_CONTACT_NUMBER_CHANGED},
      {"tel:+1-201-555-0123;ext=11", "00", 0, "001-201-555-0123", IDS_CONTACT_PREFIX_EXTENSION},
      {"(0221) 555.33/44", "00", 0, "0221 5553344", 0},
      {"\xC2\xA0"
       "030 1\xE2\x80\x8B",
       "00", 0, "030 1", 0},
      {"1-800-FLOWERS", "00", IDS_CONTACT_NUMBER_CHARACTER, "", 0},
      {"030 1 ext. 5", "00", IDS_CONTACT_NUMBER_CHARACTER, "", 0},
      {"+", "00", IDS_CONTACT_NUMBER_CHARACTER, "", 0},
      {"0012345678901234567890123456789", "00", IDS_CONTACT_NUMBER_TOO_LONG, "", 0},
      {"+4912345678901234567890123456", "00", 0, "004912345678901234567890123456",
       IDS_CONTACT_PREFIX},
      {"+49123456789012345678901234567", "00", IDS_CONTACT_NUMBER_TOO_LONG, "", 0},
      {"0123+", "00", 0, "0123+", 0},
  };
  MappingContext m;
  for (const Case& c : cases) {
    m.internationalPrefix = c.prefix;
    std::string number;
    int change = -1;
    EXPECT_EQ(NormaliseFaxNumber(m, c.text, number, change), c.problem) << c.text;
    if (c.problem == 0) {
      EXPECT_EQ(number, c.number) << c.text;
      EXPECT_EQ(change, c.change) << c.text;
    }
  }
}

// The record MapName fills from `names`; its notes must be `changes`.
DisplayRecord ExpectNameChanges(const MappingContext& m, const std::vector<ContactValue>& names,
                                const std::vector<int>& changes) {
  DisplayRecord r{};
  std::vector<ImportNote> notes;
  MapName(m, names, 1, 1, r, notes);
  std::vector<int> ids;
  for (const ImportNote& n : notes) ids.push_back(n.messageId);
  EXPECT_EQ(ids, changes);
  return r;
}

// In the double-byte languages the lists show name2: a name in the
// language's own characters goes there whole (and has no single-byte form),
// a Latin name goes to both fields, and what is cut is reported.
TEST(ContactMapping, NamesInTheDoubleByteLanguages) {
  struct Case {
    const char* what;
    Language language;
    std::vector<ContactValue> names;
    const char* name;   // single-byte field
    const char* name2;  // the language's code page
    std::vector<int> changes;
  };
  const std::vector<Case> cases = {
      {"kanji only",
       Language::Japanese,
       {{"\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E", 1, "FN"}},
       "",
       "\x8E\x52\x93\x63\x91\xBE\x98\x59",
       {}},
      {"kanji, and the Latin name of N in the other field",
       Language::Japanese,
       {{"\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E", 1, "FN"}, {"Taro Yamada", 2, "N"}},
       "Taro Yamada",
       "\x8E\x52\x93\x63\x91\xBE\x98\x59",
       {}},
      {"Latin letters in both fields",
       Language::Japanese,
       {{"Yamada Taro", 1, "FN"}},
       "Yamada Taro",
       "Yamada Taro",
       {}},
      {"eleven kanji: ten are kept",
       Language::Japanese,
       {{"\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9"
         "\x83\x8E\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA",
         1, "FN"}},
       "",
       "\x8E\x52\x93\x63\x91\xBE\x98\x59\x8E\x52\x93\x63\x91\xBE\x98\x59\x8E\x52\x93\x63",
       {IDS_CONTACT_SHORTENED}},
      {"a kanji the machine cannot show",
       Language::Japanese,
       {{"\xE4\xBC\x9A", 1, "FN"}},
       "",
       "",
       {IDS_CONTACT_NO_NAME}},
      {"hanzi in Simplified Chinese",
       Language::SimplifiedChinese,
       {{"\xE7\x8E\x8B\xE5\xB0\x8F\xE6\x98\x8E", 1, "FN"}},
       "",
       "\xCD\xF5\xD0\xA1\xC3\xF7",
       {}},
      {"Thai has no form: the company is taken",
       Language::Japanese,
       {{"\xE0\xB8\xAA\xE0\xB8\xA1", 1, "FN"}, {"Siam Ltd", 2, "ORG"}},
       "Siam Ltd",
       "Siam Ltd",
       {IDS_CONTACT_NAME_FALLBACK}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MappingContext m;
    m.language = c.language;
    const DisplayRecord r = ExpectNameChanges(m, c.names, c.changes);
    EXPECT_STREQ(r.name, c.name);
    EXPECT_STREQ(r.name2, c.name2);
  }
}

TEST(ContactMapping, NamesTheMachineCanShow) {
  struct Case {
    const char* what;
    uint32_t variant;
    std::vector<ContactValue> names;
    const char* name;  // program text (Windows-1252)
    std::vector<int> changes;
  };
  const std::vector<Case> cases = {
      {"letters of the table stay",
       0,
       {{"M\xC3\xBCller \xC3\x89"
         "cole",
         1, "FN"}},
       "M\xFCller \xC9"
       "cole",
       {}},
      {"Polish letters spelled plainly",
       0,
       {{"\xC5\x81ukasz \xC5\xBB\xC3\xB3\xC5\x82w", 1, "FN"}},
       "Lukasz Zolw",
       {IDS_CONTACT_TRANSLITERATED}},
      {"ligature and o-slash",
       0,
       {{"\xC5\x92uvre \xC3\xB8", 1, "FN"}},
       "OEuvre \xF8",
       {IDS_CONTACT_TRANSLITERATED}},
      {"ASCII-only machine",
       1,
       {{"M\xC3\xBCller", 1, "FN"}},
       "Muller",
       {IDS_CONTACT_TRANSLITERATED}},
      {"too long: shortened on a character",
       0,
       {{"Bundesanstalt f\xC3\xBCr Materialpr\xC3\xBC"
         "fung",
         1, "FN"}},
       "Bundesanstalt f\xFCr Ma",
       {IDS_CONTACT_SHORTENED}},
      {"Cyrillic FN falls back to the next FN",
       0,
       {{"\xD0\x94\xD0\xBC\xD0\xB8", 1, "FN"}, {"Dmitri", 2, "FN"}},
       "Dmitri",
       {IDS_CONTACT_NAME_FALLBACK}},
      {"nothing showable", 0, {{"\xE5\xB1\xB1\xE7\x94\xB0", 1, "FN"}}, "", {IDS_CONTACT_NO_NAME}},
      {"spaces squeezed", 0, {{"  Anna \t Berg ", 1, "FN"}}, "Anna Berg", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MappingContext m;
    m.variant = c.variant;
    EXPECT_STREQ(ExpectNameChanges(m, c.names, c.changes).name, c.name);
  }
}

// ---- Plan and apply ----

TEST(ContactPlan, FaxOrEmailPreferredFirstAndEveryChangeReported) {
  auto set = NewSet();
  const std::string text =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Two faxes\r\nTEL;TYPE=FAX:0711 1\r\n"
      "TEL;TYPE=FAX,PREF:0711 2\r\nEMAIL:t@x.de\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bad fax\r\nTEL;TYPE=FAX:0800 CALL\r\n"
      "EMAIL:b@x.de\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Mobile only\r\nTEL;TYPE=CELL:0170\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xC5\x81\xC3\xB3"
      "d\xC5\xBA\r\nTEL;TYPE=FAX:+48 42 1\r\n"
      "END:VCARD\r\n";
  const ContactImportPlan plan = Plan(*set, text);
  ASSERT_EQ(plan.imported(), 3);
  EXPECT_EQ(Number(plan.entries[0]), "0711 2");
  EXPECT_EQ(Email(plan.entries[1]), "b@x.de");
  EXPECT_EQ(Name(plan.entries[2]), "Lodz");
  EXPECT_EQ(Number(plan.entries[2]), "0048 42 1");
  EXPECT_EQ(plan.entries[2].index, 2);
  EXPECT_EQ(plan.skipped(), 1);
  EXPECT_EQ(plan.changed(), 2);
  // In file order, each with its card and line.
  ASSERT_EQ(plan.notes.size(), 4u);
  EXPECT_EQ(plan.notes[0].messageId, IDS_CONTACT_NUMBER_CHARACTER);
  EXPECT_EQ(plan.notes[0].kind, ImportNoteKind::Changed);
  EXPECT_EQ(plan.notes[0].line, 11);
  EXPECT_EQ(plan.notes[1].messageId, IDS_CONTACT_NO_DESTINATION);
  EXPECT_EQ(plan.notes[1].card, 3);
  EXPECT_EQ(plan.notes[2].messageId, IDS_CONTACT_TRANSLITERATED);
  EXPECT_EQ(plan.notes[3].messageId, IDS_CONTACT_PREFIX);
  EXPECT_EQ(DescribeImportNote(plan.notes[3], EnglishString),
            "Card 4 (line 22), field \"TEL\" (+48 42 1): the + at the start became the "
            "international prefix: 0048 42 1");
  EXPECT_EQ(DescribeImportSummary(plan, EnglishString), "3 imported, 1 skipped, 2 changed");
}

TEST(ContactPlan, PreferredEmailAddressFirst) {
  struct Case {
    const char* what;
    std::string text;
    const char* email;
    std::vector<int> changes;
  };
  const std::vector<Case> cases = {
      {"roundcube's Windows-1252 card: the second address is preferred",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=windows-1252:Do\xEB;John;;;\r\n"
       "FN;CHARSET=windows-1252:John Do\xEB\r\nEMAIL;INTERNET;WORK:inbox@roundcube.net\r\n"
       "EMAIL;INTERNET;HOME;TYPE=pref:roundcube@gmail.com\r\nEND:VCARD\r\n",
       "roundcube@gmail.com",
       {IDS_CONTACT_TRANSLITERATED}},
      {"a preferred address that cannot be used gives way",
       "BEGIN:VCARD\nVERSION:4.0\nFN:A\nEMAIL:first@x.de\nEMAIL;PREF=1:two@@x.de\nEND:VCARD\n",
       "first@x.de",
       {IDS_CONTACT_ADDRESS_INVALID}},
      {"none preferred: the first",
       "BEGIN:VCARD\nVERSION:3.0\nFN:B\nEMAIL:first@x.de\nEMAIL:second@x.de\nEND:VCARD\n",
       "first@x.de",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = NewSet();
    const ContactImportPlan plan = Plan(*set, c.text);
    ASSERT_EQ(plan.imported(), 1);
    EXPECT_EQ(Email(plan.entries[0]), c.email);
    EXPECT_EQ(MessagesOf(plan, ImportNoteKind::Changed), c.changes);
  }
}

TEST(ContactPlan, ContactWithoutAnyNameIsImportedNamelessAndSaysSo) {
  // The entry dialog takes a fax or e-mail entry without a name; the
  // report names the entry by its address.
  struct Case {
    const char* what;
    std::string text;
    const char* field;
    const char* value;
  };
  const std::vector<Case> cases = {
      {"roundcube's Outlook CSV: e-mail columns only",
       "E-mail Address,E-mail 2 Address,E-mail 3 Address\n"
       "test1@domain.tld,test2@domain.tld,test3@domain.tld\n",
       "name", "test1@domain.tld"},
      {"cardme's Android card: no FN, N or ORG",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nEMAIL;HOME:john.doe@comapny.com\r\nEND:VCARD\r\n",
       "FN / N / ORG", "john.doe@comapny.com"},
      {"a fax number alone", "Business Fax,Mobile Phone\r\n+46 8 1,\r\n", "name", "0046 8 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = NewSet();
    const ContactImportPlan plan = Plan(*set, c.text);
    ASSERT_EQ(plan.imported(), 1);
    EXPECT_EQ(Name(plan.entries[0]), "");
    EXPECT_EQ(plan.changed(), 1);
    EXPECT_TRUE(plan.Problems().empty());
    const auto named = std::find_if(plan.notes.begin(), plan.notes.end(), [](const ImportNote& n) {
      return n.messageId == IDS_CONTACT_NAMELESS;
    });
    ASSERT_NE(named, plan.notes.end());
    EXPECT_EQ(named->kind, ImportNoteKind::Changed);
    EXPECT_EQ(named->field, c.field);
    EXPECT_EQ(named->value, c.value);
  }
  auto set = NewSet();
  const ContactImportPlan plan = Plan(*set, cases[0].text);
  EXPECT_EQ(DescribeImportNote(plan.notes[0], EnglishString),
            "Line 2, field \"name\" (test1@domain.tld): the contact has no name (no display name, "
            "first or last name or company); the entry is imported without a name");
}

void PutSpeedDial(DataSet& set, DisplayRecord record, int index) {
  PackSpeedDial(set, record, index);
}
void PutOneTouch(DataSet& set, DisplayRecord record, int key) { PackOneTouch(set, record, key); }

// A configured machine: a One Touch fax key, a Group dial, a program key and
// two Speed Dials (1 and 3).
std::unique_ptr<DataSet> ConfiguredSet() {
  auto set = NewSet();
  PutOneTouch(*set, FaxRecord("Head office", "0301", kEntryOneTouch), 0);
  PutSpeedDial(*set, FaxRecord("Branch", "0302", kEntrySpeedDial), 0);
  PutSpeedDial(*set, EmailRecord("Desk", "desk@x.de", kEntrySpeedDial), 2);
  DisplayRecord g{};
  g.inUse = 1;
  g.entryType = kEntryGroup;
  g.groupMarker = 1;
  std::strcpy(g.name, "All");
  g.members[0] = {kMemberOneTouch, 0};
  g.members[1] = {kMemberSpeedDial, 2};
  g.memberCount = 2;
  PackGroupMembers(*set, g, 5);
  uint8_t* program = set->OneTouchEntry(29);
  program[2] = kFlagProgram | kFlagFax;
  program[3] = 4;
  PackTransferImage(*set);
  return set;
}

// A Japanese office's files: a spreadsheet saved in Shift_JIS and a phone's
// vCard 2.1 with raw Shift_JIS names; the kanji land in name2, what the
// lists of a Japanese data set show.
TEST(ContactPlan, JapaneseOfficesFilesKeepTheirKanji) {
  auto set = NewSet();
  set->language = Language::Japanese;
  const std::string sjis = "\x8E\x52\x93\x63\x91\xBE\x98\x59";  // Yamada Taro in kanji
  for (const std::string& text : {"Name,Business Fax\r\n" + sjis + ",03 1234 5678\r\n",
                                  "BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=SHIFT_JIS:" + sjis +
                                      "\r\nTEL;FAX:03 1234 5678\r\nEND:VCARD\r\n"}) {
    const ContactImportPlan plan = Plan(*set, text);
    ASSERT_EQ(plan.imported(), 1) << text;
    EXPECT_STREQ(plan.entries[0].record.name2, sjis.c_str());
    EXPECT_EQ(PlannedEntryName(plan.entries[0], Language::Japanese),
              "\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E");
    EXPECT_TRUE(plan.notes.empty()) << DescribeImportNote(plan.notes[0], EnglishString);
  }
}

TEST(ContactPlan, AddKeepsEverythingAndSkipsAddressesAlreadyThere) {
  auto set = ConfiguredSet();
  auto before = std::make_unique<DataSet>(*set);
  const std::string text =
      "Name,E-mail Address,Business Fax\r\n"
      "New one,,040 1\r\n"
      "Desk again,DESK@x.de,\r\n"
      "Branch again,,03-02\r\n"
      "Twice,,040-1\r\n"
      "Last,last@x.de,\r\n";
  const ContactImportPlan plan = Plan(*set, text, ImportMode::Add);
  EXPECT_EQ(0, std::memcmp(set.get(), before.get(), sizeof(DataSet)));  // planning writes nothing
  ASSERT_EQ(plan.imported(), 2);
  EXPECT_EQ(plan.entries[0].index, 1);  // the free Speed Dials: 2, then 4
  EXPECT_EQ(plan.entries[1].index, 3);
  ASSERT_EQ(plan.skipped(), 3);
  EXPECT_EQ(DescribeImportNote(plan.notes[0], EnglishString),
            "Line 3, field \"e-mail\" (DESK@x.de): this address is already in the address book "
            "(Speed Dial 3)");
  EXPECT_EQ(plan.notes[1].argument, "Speed Dial 1");
  EXPECT_EQ(plan.notes[2].argument, "Speed Dial 2");  // the file's own first row
  // Leaving those out is what Add is for: nothing stands between the file
  // and an import without --skip-invalid.
  EXPECT_TRUE(plan.Problems().empty());

  ApplyContactImportPlan(*set, plan);
  EXPECT_EQ(0, std::memcmp(set->oneTouch, before->oneTouch, sizeof set->oneTouch));
  for (int i : {0, 2}) {
    EXPECT_EQ(0,
              std::memcmp(set->SpeedDialEntry(i), before->SpeedDialEntry(i), kSpeedDialEntrySize));
  }
  DisplayRecord r;
  UnpackSpeedDial(r, *set, 3);
  EXPECT_STREQ(r.email, "last@x.de");
  EXPECT_STREQ(r.name, "Last");
}

TEST(ContactPlan, MoreContactsThanFreePlacesTakesTheFirst) {
  auto set = ConfiguredSet();
  std::string text = "Name,Business Fax\r\n";
  for (int i = 0; i < 240; ++i)
    text += "N" + std::to_string(i) + "," + std::to_string(5000 + i) + "\r\n";
  const ContactImportPlan add = Plan(*set, text, ImportMode::Add);
  EXPECT_EQ(add.imported(), 238);
  EXPECT_EQ(Name(add.entries.back()), "N237");
  ASSERT_EQ(add.skipped(), 2);
  EXPECT_EQ(add.notes[0].messageId, IDS_CONTACT_NO_FREE_PLACE);
  EXPECT_EQ(add.notes[0].line, 240);
  EXPECT_EQ(add.notes[1].value, "5239");
  const ContactImportPlan replace = Plan(*set, text + "Over,9\r\n");
  EXPECT_EQ(replace.imported(), 240);
  EXPECT_EQ(replace.skipped(), 1);
}

TEST(ContactPlan, ReplaceClearsTheBookButKeepsProgramKeys) {
  auto set = ConfiguredSet();
  uint8_t program[kOneTouchEntrySize];
  std::memcpy(program, set->OneTouchEntry(29), sizeof program);
  const ContactImportPlan plan =
      Plan(*set, "BEGIN:VCARD\nVERSION:3.0\nFN:Only\nEMAIL:o@x.de\nEND:VCARD\n");
  ApplyContactImportPlan(*set, plan);
  const auto book = tool::ReportAddressBook(*set);
  ASSERT_EQ(book.speedDial.size(), 1u);
  EXPECT_EQ(book.speedDial[0].address, "o@x.de");
  EXPECT_TRUE(book.groups.empty());
  EXPECT_EQ(0, std::memcmp(set->OneTouchEntry(29), program, sizeof program));
  EXPECT_EQ(set->OneTouchEntry(0)[2], 0);
}

TEST(ContactPlan, RefusedFilesChangeNothing) {
  const std::vector<std::string> files = {
      "Kunde,Telefon\r\nA,1\r\n",
      std::string("\xFF\xFE"
                  "B\0E",
                  5),
      "\xEF\xBB\xBF" + std::string("x\0y", 3),
      "type,address\r\nfax,\"open\r\n",
  };
  for (const std::string& bytes : files) {
    auto set = ConfiguredSet();
    auto before = std::make_unique<DataSet>(*set);
    const ContactImportPlan plan = Plan(*set, bytes);
    EXPECT_EQ(plan.format, 0) << bytes;
    EXPECT_TRUE(plan.entries.empty());
    ASSERT_FALSE(plan.Problems().empty());
    EXPECT_EQ(plan.Problems()[0].kind, ImportNoteKind::Refused);
    ApplyContactImportPlan(*set, plan);
    EXPECT_EQ(0, std::memcmp(set.get(), before.get(), sizeof(DataSet)));
  }
}

TEST(ContactPlan, OwnCsvListsEveryProblemInFileOrder) {
  auto set = NewSet();
  const std::string csv =
      "table,number,type,name,address\r\n"
      "speed-dial,1,fax,A,0800 CALL\r\n"
      "speed-dial,2,fax,B,+41 44 1\r\n"
      "speed-dial,3,email,C,c@@x.de\r\n"
      "speed-dial,2,fax,D,1\r\n"
      "speed-dial,5,fax,Twenty-one characters,2\r\n";
  const ContactImportPlan plan = Plan(*set, csv);
  EXPECT_EQ(plan.imported(), 2);
  std::vector<int> lines;
  for (const ImportNote& n : plan.Problems()) lines.push_back(n.line);
  EXPECT_EQ(lines, (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(MessagesOf(plan, ImportNoteKind::Changed),
            (std::vector<int>{IDS_CONTACT_PREFIX, IDS_CONTACT_SHORTENED}));
  EXPECT_EQ(Number(plan.entries[0]), "0041 44 1");
  EXPECT_EQ(Name(plan.entries[1]), "Twenty-one character");
}

TEST(ContactPlan, OwnCsvKeepsNameBytesOutsideTheConversionTable) {
  // Names a machine holds that no user could type: "Zoë" (ë is no letter of
  // the conversion table) and a backslash.
  auto original = NewSet();
  PutSpeedDial(*original, FaxRecord("Zo\xEB", "1", kEntrySpeedDial), 0);
  PutSpeedDial(*original, EmailRecord("A\\B", "a@b.de", kEntrySpeedDial), 7);
  PutOneTouch(*original, FaxRecord("\xC5ke \xDF", "2", kEntryOneTouch), 3);
  PackTransferImage(*original);
  const std::string csv = tool::AddressBookCsv(tool::ReportAddressBook(*original));
  auto imported = NewSet();
  const ContactImportPlan plan = Plan(*imported, csv);
  EXPECT_TRUE(plan.notes.empty()) << DescribeImportNote(plan.notes[0], EnglishString);
  ApplyContactImportPlan(*imported, plan);
  EXPECT_EQ(0, std::memcmp(original->oneTouch, imported->oneTouch, sizeof original->oneTouch));
  EXPECT_EQ(0, std::memcmp(original->speedDial, imported->speedDial, sizeof original->speedDial));
}

// What spreadsheets do to a CSV around its rows: Excel's "sep=" line, a
// blank line before the headings, columns left empty at the right (empty
// headings, fields after the last heading). Both readers, the mail
// programs' and our own.
TEST(ContactPlan, SpreadsheetSeparatorLineBlankLinesAndEmptyColumns) {
  struct Case {
    const char* what;
    std::string text;
    int format;                          // 0: the file is refused
    std::vector<std::string> addresses;  // of the entries, in order
    std::vector<int> problemLines;       // lines of the problems, in order
  };
  const std::vector<Case> cases = {
      {"mail program, sep=; first",
       "sep=;\r\nName;Fax;E-mail\r\nAnna;0221 1;\r\nBert;;bert@example.com\r\nCora;;\r\n",
       kImportFormatCsv,
       {"0221 1", "bert@example.com"},
       {5}},
      {"mail program, sep=, names the separator though the headings hold more ;",
       "SEP=,\nName,Notes; more; and more; still,Business Fax\nAnna,a;b;c,0221 1\n",
       kImportFormatCsv,
       {"0221 1"},
       {}},
      {"mail program, tab named",
       "sep=\t\r\nDisplay Name\tPrimary Email\r\nEmma\temma@example.com\r\n",
       kImportFormatCsv,
       {"emma@example.com"},
       {}},
      {"mail program, blank line before ; headings",
       "\r\nName;Fax\r\nAnna;0221 1\r\nBert;0221 X\r\n",
       kImportFormatCsv,
       {"0221 1"},
       {4}},
      {"own CSV, sep=, first",
       "sep=,\r\ntype,address,name\r\nfax,0221 1,Anna\r\n",
       kImportFormatCsv,
       {"0221 1"},
       {}},
      {"own CSV, sep=; first",
       "sep=;\r\ntype;address;name\r\nemail;b@example.com;Bert\r\n",
       kImportFormatCsv,
       {"b@example.com"},
       {}},
      {"own CSV, empty headings and fields at the right",
       "type,address,name,,\r\nfax,0221 1,Anna,,\r\nemail,b@example.com,Bert,,\r\n",
       kImportFormatCsv,
       {"0221 1", "b@example.com"},
       {}},
      {"own CSV, empty fields after the last heading",
       "type,address,name\r\nfax,0221 1,Anna,,\r\nemail,b@example.com,Bert, \r\n",
       kImportFormatCsv,
       {"0221 1", "b@example.com"},
       {}},
      {"own CSV, a value under an empty heading",
       "type,address,,name\r\nfax,0221 1,x,Anna\r\n",
       0,
       {},
       {2}},
      {"own CSV, a value after the last heading",
       "type,address,name\r\nfax,0221 1,Anna,x\r\n",
       0,
       {},
       {2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto set = NewSet();
    const ContactImportPlan plan = Plan(*set, c.text);
    EXPECT_EQ(plan.format, c.format);
    std::vector<std::string> addresses;
    for (const PlannedEntry& e : plan.entries)
      addresses.push_back(e.record.kind == kKindEmail ? Email(e) : Number(e));
    EXPECT_EQ(addresses, c.addresses);
    std::vector<int> lines;
    for (const ImportNote& n : plan.Problems()) {
      lines.push_back(n.line);
      SCOPED_TRACE(DescribeImportNote(n, EnglishString));
      EXPECT_FALSE(n.field.empty());
    }
    EXPECT_EQ(lines, c.problemLines);
  }
}

// A contact left without a place says why: Add runs out of free Speed
// Dials, Replace out of the machine's Speed Dials.
TEST(ContactPlan, NoPlaceLeftSaysWhatToDoForTheMode) {
  auto set = ConfiguredSet();
  std::string text = "Name,Business Fax\r\n";
  for (int i = 0; i < 241; ++i)
    text += "N" + std::to_string(i) + "," + std::to_string(5000 + i) + "\r\n";
  struct Case {
    ImportMode mode;
    int messageId;
    const char* advice;  // what the message tells the user to do
  };
  for (const Case& c : {Case{ImportMode::Add, IDS_CONTACT_NO_FREE_PLACE, "Replace"},
                        Case{ImportMode::Replace, IDS_CONTACT_NO_PLACE_LEFT, "240"}}) {
    const ContactImportPlan plan = Plan(*set, text, c.mode);
    // The first contacts are taken; the one left over is listed, and is no
    // fault of the file that would keep it out.
    EXPECT_TRUE(plan.Problems().empty());
    ASSERT_FALSE(plan.notes.empty());
    const ImportNote note = plan.notes.back();
    EXPECT_EQ(note.line, 242);
    EXPECT_EQ(note.messageId, c.messageId);
    const std::string message = DescribeImportNote(note, EnglishString);
    EXPECT_NE(message.find(c.advice), std::string::npos) << message;
    if (c.mode == ImportMode::Replace) {
      EXPECT_EQ(message.find("import with Replace"), std::string::npos) << message;
    }
  }
}

// ---- Real exports ----

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(ODC_TEST_DATA_DIR) + "/contacts/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Export {
  const char* file;
  bool real;  // taken from another project's test suite, not written here
  int format;
  // The right address of each contact that has a fax number or an e-mail
  // address, in file order, as judged by reading the file: for real exports
  // also what the measure below counts against.
  std::vector<std::string> addresses;
  std::vector<std::string> names;  // name of each entry (UTF-8); "" is no name
  int skipped;
  int changed;
};

const std::vector<Export>& Corpus() {
  static const std::vector<Export> corpus = {
      // Two cards without FN, N or ORG: nameless entries, each reported.
      {"cardme_android_2_1.vcf",
       true,
       kImportFormatVcard,
       {"john.doe@comapny.com", "jane.doe@company.com", "123456", "henry@company.com"},
       {"", "", "\xC3\x91 \xC3\x91 \xC3\x91 \xC3\x91", "\xC3\x91\xC3\x91\xC3\x91\xC3\x91"},
       2,
       2},
      {"cardme_evolution_3_0.vcf",
       true,
       kImportFormatVcard,
       {"john.doe@ibm.com"},
       {"Mr. John Richter, Ja"},
       0,
       1},
      {"cardme_mac_addressbook_2_1.vcf",
       true,
       kImportFormatVcard,
       {"martin.smith@rocket-partner.com"},
       {"Martin Smith"},
       0,
       0},
      {"cardme_mac_addressbook_3_0.vcf",
       true,
       kImportFormatVcard,
       {"John.Doe@rocket-partner.com"},
       {"John Doe"},
       0,
       0},
      {"ezvcard_gmail_list_3_0.vcf",
       true,
       kImportFormatVcard,
       {"asmithk@gmail.com", "chrisy55d@yahoo.com", "dwhite@gmail.com"},
       {"Arnold Smith", "Chris Beatle", "Doug White"},
       0,
       0},
      {"ezvcard_iphone_4_0.vcf",
       true,
       kImportFormatVcard,
       {"905-888-1234"},
       {"Mr. John Richter Jam"},
       0,
       1},
      {"ezvcard_lotus_notes_4_0.vcf",
       true,
       kImportFormatVcard,
       {"00-1-212-555-7777"},
       {"Mr. Doe John I Johny"},
       0,
       0},
      {"ezvcard_ms_outlook_4_0.vcf",
       true,
       kImportFormatVcard,
       {"john.doe@ibm.cm"},
       {"Mr. John Richter Jam"},
       0,
       1},
      {"ezvcard_outlook_2007_4_0.vcf",
       true,
       kImportFormatVcard,
       {"111 555-3333"},
       {"Mr. Michael Angstadt"},
       0,
       1},
      {"ezvcard_rfc6350_example_4_0.vcf",
       true,
       kImportFormatVcard,
       {"simon.perreault@viagenie.ca"},
       {"Simon Perreault"},
       0,
       0},
      {"ezvcard_thunderbird_4_0.vcf",
       true,
       kImportFormatVcard,
       {"555-555-3333"},
       {"John Doe"},
       0,
       0},
      {"ezvcard_mac_addressbook_3_0.vcf",
       true,
       kImportFormatVcard,
       {"905-888-1234"},
       {"Mr. John Richter,Jam"},
       0,
       1},
      {"ezvcard_blackberry_4_0.vcf", true, kImportFormatVcard, {}, {}, 1, 0},
      {"ezvcard_gmail_4_0.vcf",
       true,
       kImportFormatVcard,
       {"john.doe@ibm.com"},
       {"Mr. John Richter, Ja"},
       0,
       1},
      // A fax "number" of letters gives way to the e-mail address.
      {"ezvcard_outlook_2003_4_0.vcf",
       true,
       kImportFormatVcard,
       {"jdoe@hotmail.com"},
       {"John Doe III"},
       0,
       1},
      // Home fax, then work fax: the first.
      {"ezvcard_gmail_single_3_0.vcf",
       true,
       kImportFormatVcard,
       {"5555551117"},
       {"VCard Test"},
       0,
       0},
      {"ezvcard_fullcontact_4_0.vcf",
       true,
       kImportFormatVcard,
       {"555-555-1116"},
       {"Prefix FirstName Mid"},
       0,
       1},
      // BEGIN:vCard in mixed case, a quoted TYPE value.
      {"eds_rfc2426_fax_3_0.vcf",
       true,
       kImportFormatVcard,
       {"001-919-676-9564"},
       {"Frank Dawson"},
       0,
       1},
      // Quoted-printable values that start with a soft line break.
      {"eds_phone_qp_2_1.vcf",
       true,
       kImportFormatVcard,
       {"ext-Michael.Bruning@nokia.com"},
       {"Michael Br\xC3\xBCning"},
       0,
       0},
      // Every name and the fax "number" in Chinese: the e-mail address, no name.
      {"eds_chinese_qp_2_1.vcf", true, kImportFormatVcard, {"weird@weird.com"}, {""}, 0, 1},
      {"eds_evolution_2_1.vcf", true, kImportFormatVcard, {"nat@nat.org"}, {"Nat"}, 0, 0},
      // The address in Evolution's first slot, though second in the file.
      {"kcontacts_evolution_slots_3_0.vcf",
       true,
       kImportFormatVcard,
       {"johndoe@abc.com"},
       {"Test User"},
       0,
       0},
      // Quoted-printable without CHARSET: read as Windows-1252, as roundcube reads it.
      {"roundcube_thebat_2_1.vcf",
       true,
       kImportFormatVcard,
       {"piotr.iksinski@somedomain.com"},
       {"Piotr Iksi\xC3\xB1ski"},
       0,
       0},
      // The preferred of two addresses; the name in Windows-1252.
      {"roundcube_windows1252_2_1.vcf",
       true,
       kImportFormatVcard,
       {"roundcube@gmail.com"},
       {"John Doe"},
       0,
       1},
      // A company card without fax or e-mail.
      {"roundcube_apple_3_0.vcf", true, kImportFormatVcard, {}, {}, 1, 0},
      {"folkerkinzel_windows_contacts_2_1.vcf",
       true,
       kImportFormatVcard,
       {"0123579"},
       {"Maxl"},
       0,
       0},
      // A fax known only by its label (item1.X-ABLabel:homeFax).
      {"folkerkinzel_google_3_0.vcf",
       true,
       kImportFormatVcard,
       {"email1@freenet.de", "03443-333440"},
       {"Folker Kinzel", "KMS WSF"},
       0,
       0},
      {"folkerkinzel_cardbook_4_0.vcf",
       true,
       kImportFormatVcard,
       {"034441 39 23 34", "privat@freenet.de"},
       {"Meuche Marina", "Dr. Max Horst Muster"},
       0,
       1},
      {"roundcube_outlook.csv", true, kImportFormatCsv, {"test1@domain.tld"}, {""}, 0, 1},
      {"roundcube_thunderbird.csv",
       true,
       kImportFormatCsv,
       {"test@domain.tld"},
       {"Displayname"},
       0,
       1},
      {"outlook_2_1_quoted_printable.vcf",
       false,
       kImportFormatVcard,
       {"0049 30 1234568", "022 555 01 02"},
       {"J\xC3\xBCrgen M\xC3\xBCller", "Zofia Lacka-Wisniews"},
       0,
       2},
      {"iphone_crcrlf.vcf",
       false,
       kImportFormatVcard,
       {"0046 8 123 456", "0046-8-765 43 21"},
       {"Anna Svensson", "Reception"},
       1,
       1},
      {"utf16_outlook.vcf",
       false,
       kImportFormatVcard,
       {"0047 22 33 44 55"},
       {"Bj\xC3\xB8rn \xC3\x98ster"},
       0,
       1},
      {"tel_uri_and_empty_fax_4_0.vcf",
       false,
       kImportFormatVcard,
       {"0033-4-72-00-00-00", "001-201-555-0123"},
       {"Bureau Lyon", "Sales desk"},
       1,
       2},
      {"awkward_cards_3_0.vcf",
       false,
       kImportFormatVcard,
       {"8 495 123-45-67", "0711 222222", "030 8104 0", "lukasz@example.pl"},
       {"Dmitri Ivanov", "Two faxes", "Bundesanstalt f\xC3\xBCr Ma", "Lukasz OEuvre"},
       1,
       3},
      {"outlook_365.csv",
       false,
       kImportFormatCsv,
       {"0049 89 1234-99", "0221 555-3344", "priya.raman@example.in"},
       {"Klaus Berger", "Hotel Astoria", "Priya Raman"},
       1,
       1},
      {"outlook_web.csv",
       false,
       kImportFormatCsv,
       {"00351 21 000 0000", "chen.wei@example.cn"},
       {"Maria Gon\xC3\xA7"
        "alves",
        "Chen Wei"},
       0,
       1},
      {"google_contacts.csv",
       false,
       kImportFormatCsv,
       {"0046 8 555 000 11", "ana.souza@example.com.br", "030 2345 678"},
       {"Lars Eriksson", "Ana Souza", "Copy Shop Mitte"},
       1,
       1},
      {"google_gmail_old.csv",
       false,
       kImportFormatCsv,
       {"0039 02 1234 5678", "06 555 1234"},
       {"Dr. Sofia Rossi", "Studio Bianchi"},
       0,
       1},
      {"thunderbird_en.csv",
       false,
       kImportFormatCsv,
       {"0044 20 7946 0001", "ap@example.com"},
       {"Emma Wilson", "Accounts Payable"},
       1,
       1},
      {"thunderbird_de.csv",
       false,
       kImportFormatCsv,
       {"0711 123456-9", "0049 221 987 654"},
       {"J\xC3\xBCrgen Gro\xC3\x9F",
        "Praxis Dr. Sch\xC3\xA4"
        "fer"},
       0,
       1},
      {"windows_live_mail_semicolon.csv",
       false,
       kImportFormatCsv,
       {"0031 20 555 1234", "010-4567890"},
       {"Pieter de Vries", "Bakkerij Jansen"},
       0,
       1},
      {"excel_windows1252.csv",
       false,
       kImportFormatCsv,
       {"040 123 456", "soren@example.dk", "0033 1 23 45 67 89"},
       {"Zoe M\xC3\xBCller", "S\xC3\xB8ren \xC3\x86r\xC3\xB8", "Fran\xC3\xA7ois Lef\xC3\xA8vre"},
       0,
       2},
  };
  return corpus;
}

std::string Address(const PlannedEntry& e) {
  return e.record.kind == kKindEmail ? Email(e) : Number(e);
}

TEST(ContactCorpus, EveryExportImportsWithItsEntriesAndReport) {
  for (const Export& e : Corpus()) {
    SCOPED_TRACE(e.file);
    const std::string bytes = Fixture(e.file);
    ASSERT_FALSE(bytes.empty());
    auto set = NewSet();
    const ContactImportPlan plan = Plan(*set, bytes);
    EXPECT_EQ(plan.format, e.format);
    std::vector<std::string> addresses, names;
    for (const PlannedEntry& entry : plan.entries) {
      addresses.push_back(Address(entry));
      names.push_back(AnsiToUtf8(set->language, Name(entry)));
      // Nothing undecoded or garbled reaches a name.
      EXPECT_EQ(names.back().find('='), std::string::npos) << names.back();
      EXPECT_EQ(names.back().find("\xEF\xBF\xBD"), std::string::npos) << names.back();
      EXPECT_EQ(names.back().find('?'), std::string::npos) << names.back();
      EXPECT_EQ(names.back().find("\xC3\x83"), std::string::npos)
          << names.back();  // UTF-8 read twice
    }
    EXPECT_EQ(addresses, e.addresses);
    EXPECT_EQ(names, e.names);
    EXPECT_EQ(plan.skipped(), e.skipped);
    EXPECT_EQ(plan.changed(), e.changed);
    for (const ImportNote& note : plan.notes) {
      EXPECT_GT(note.line, 0);
      EXPECT_FALSE(EnglishString(note.messageId).empty());
    }
    // What --skip-invalid writes is what the plan shows.
    ApplyContactImportPlan(*set, plan);
    const auto book = tool::ReportAddressBook(*set);
    ASSERT_EQ(book.speedDial.size(), addresses.size());
    for (size_t k = 0; k < addresses.size(); ++k)
      EXPECT_EQ(book.speedDial[k].address, addresses[k]);
  }
}

// The measure of the import on exports nobody here wrote: every file with a
// contact that has a fax number or an e-mail address imports with
// --skip-invalid, and at least 95 % of those contacts land with the right
// address. The contacts are counted by the reader, the right addresses come
// from the table.
TEST(ContactCorpus, RealExportsLandWithTheRightAddress) {
  int files = 0, contacts = 0, landed = 0;
  for (const Export& e : Corpus()) {
    if (!e.real) continue;
    SCOPED_TRACE(e.file);
    const std::string bytes = Fixture(e.file);
    std::vector<Contact> read;
    std::vector<ImportNote> notes;
    ASSERT_NE(ReadContacts(Bytes(bytes), bytes.size(), read, notes), 0);
    std::vector<const Contact*> destined;
    for (const Contact& c : read) {
      if (!c.group && (!c.faxes.empty() || !c.emails.empty())) destined.push_back(&c);
    }
    if (destined.empty()) continue;
    ++files;
    ASSERT_EQ(destined.size(), e.addresses.size());
    auto set = NewSet();
    const ContactImportPlan plan = Plan(*set, bytes);
    EXPECT_GT(plan.imported(), 0) << "--skip-invalid writes nothing";
    for (size_t k = 0; k < destined.size(); ++k) {
      ++contacts;
      const auto entry =
          std::find_if(plan.entries.begin(), plan.entries.end(), [&](const PlannedEntry& p) {
            return p.card == destined[k]->card && p.line == destined[k]->line;
          });
      const bool right = entry != plan.entries.end() && Address(*entry) == e.addresses[k];
      EXPECT_TRUE(right) << "contact " << k + 1 << " (line " << destined[k]->line << ")";
      landed += right;
    }
  }
  std::printf(
      "[ corpus   ] real exports: %d files, %d contacts with a fax or e-mail, %d landed "
      "with the right address\n",
      files, contacts, landed);
  EXPECT_GE(landed * 100, contacts * 95);
}

TEST(ContactCorpus, UnknownSpreadsheetIsRefused) {
  auto set = NewSet();
  const ContactImportPlan plan = Plan(*set, Fixture("unknown_columns.csv"));
  EXPECT_EQ(plan.format, 0);
  ASSERT_EQ(plan.notes.size(), 1u);
  EXPECT_EQ(plan.notes[0].messageId, IDS_CONTACT_UNKNOWN_HEADER);
}

}  // namespace
}  // namespace odc
