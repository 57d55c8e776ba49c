// Table files (".TBL"): any bytes are read or refused with a message naming the file; a table that
// was read is written to bytes that read back and are written again unchanged.
#include "FuzzSupport.h"
#include "tables/TableFile.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TableReadResult read = DecodeTable(talfuzz::Bytes(data, size), "FUZZ.TBL");
  if (!read.ok) {
    if (read.message.find("FUZZ.TBL") == std::string::npos) talfuzz::Fail("a refusal that does not name the file");
    return 0;
  }
  std::string written = EncodeTable(read.table);
  TableReadResult again = DecodeTable(written, "FUZZ.TBL");
  if (!again.ok) talfuzz::Fail("a written table file is refused: " + again.message);
  if (EncodeTable(again.table) != written) talfuzz::Fail("a table file written twice differs");
  return 0;
}
