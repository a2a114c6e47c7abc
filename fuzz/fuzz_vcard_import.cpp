// vCard address books (see text_import_fuzz.h).
#include "fuzz/text_import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return odc::fuzz::FuzzTextImport("BEGIN:VCARD\r\nVERSION:3.0\r\n", data, size);
}
