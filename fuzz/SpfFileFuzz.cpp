// Plot files (".SPF"): any bytes are read or refused with a message naming the file; a plot that
// was read is written to bytes that read back to the same plot and are written again unchanged.
#include "FuzzSupport.h"
#include "plot/SpfFile.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SpfContent read = DecodeSpf(talfuzz::Bytes(data, size), "FUZZ.SPF");
  if (!read.error.empty()) {
    if (read.error.find("FUZZ.SPF") == std::string::npos) talfuzz::Fail("a refusal that does not name the file");
    return 0;
  }
  std::string written = EncodeSpf(read.caption, read.info);
  SpfContent again = DecodeSpf(written, "FUZZ.SPF");
  if (!again.error.empty()) talfuzz::Fail("a written plot file is refused: " + again.error);
  if (EncodeSpf(again.caption, again.info) != written) talfuzz::Fail("a plot file written twice differs");
  return 0;
}
