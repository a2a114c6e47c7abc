// The readers of the contact import, on text already decoded to UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/addressbook/contact_import.h"

namespace odc {

// kImportFormatVcard, kImportFormatCsv (any row of headings) or 0.
int ContactTextFormat(std::string_view text);

// The text from its first line that is not empty.
std::string_view SkipBlankLines(std::string_view text);

// The first line of a text, without its line end.
std::string_view FirstLine(std::string_view text);

// Excel's first line "sep=;" names the separator of a CSV (",", ";" or a
// tab); Excel reads it so, and programs write it for Excel. Returns that
// separator, or 0 when the text has no such line. The line is blanked in
// `text`, its line end kept, so that the headings come next and every line
// keeps its number.
char TakeSeparatorLine(std::string& text);

// The separator of a CSV: the one of ',', ';' and tab that the first line
// of `text` (outside quotes) holds most often; ',' when none.
char CsvSeparator(std::string_view text);

// The row of headings of a CSV: its first line that is not empty, after a
// "sep=" line.
std::string_view HeaderLine(std::string_view text);

// The header row of `odctool export --csv`: it names type and address.
bool IsOwnCsvHeader(std::string_view firstLine);

// vCard, or the CSV of a mail program: the contacts in file order and a note
// for each thing left out. Returns the format, or 0 with a Refused note.
int ReadForeignContacts(std::string_view text, std::vector<Contact>& contacts,
                        std::vector<ImportNote>& notes);

}  // namespace odc
