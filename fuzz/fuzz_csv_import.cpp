// CSV address books (see text_import_fuzz.h).
#include "fuzz/text_import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return odc::fuzz::FuzzTextImport(
      "table,number,type,name,name2,address,sub,sid,batch_time,speed,combination,"
      "email_mode,max_tx_size_code,max_tx_size,max_quality,coding,registered,members\r\n",
      data, size);
}
