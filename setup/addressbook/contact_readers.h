// The readers of the contact import, on text already decoded to UTF-8.
#pragma once

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

// The header row of `odctool export --csv`: it names type and address.
bool IsOwnCsvHeader(std::string_view firstLine);

// vCard, or the CSV of a mail program: the contacts in file order and a note
// for each thing left out. Returns the format, or 0 with a Refused note.
int ReadForeignContacts(std::string_view text, std::vector<Contact>& contacts,
                        std::vector<ImportNote>& notes);

}  // namespace odc
