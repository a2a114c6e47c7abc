// The readers of other programs' address books on their own: decoding
// (UTF-8, UTF-16, Windows-1252), vCard 2.1/3.0/4.0 with quoted-printable and
// folding, the CSV of mail programs. Every value handed on is valid UTF-8
// and lies on a line of the file.
#include <cstdint>
#include <vector>

#include "setup/addressbook/contact_import.h"
#include "setup/addressbook/contact_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<odc::Contact> contacts;
  std::vector<odc::ImportNote> notes;
  const int format = odc::ReadContacts(data, size, contacts, notes);
  if (format == 0 && !contacts.empty()) __builtin_trap();
  // A file of n bytes has at most n + 1 lines.
  const int lines = static_cast<int>(size) + 1;
  for (const odc::Contact& c : contacts) {
    if (c.line < 1 || c.line > lines) __builtin_trap();
    for (const auto* values : {&c.names, &c.faxes, &c.emails}) {
      for (const odc::ContactValue& v : *values) {
        if (!odc::IsValidUtf8(v.text) || v.text.empty()) __builtin_trap();
        if (v.line < 1 || v.line > lines) __builtin_trap();
      }
    }
  }
  for (const odc::ImportNote& n : notes) {
    if (n.line < 0 || n.line > lines) __builtin_trap();
  }
  return 0;
}
