// Table files (".TBL"): any bytes are read or refused with a message naming the file; a table that
// was read holds every name whole and is written to bytes that read back and are written again
// unchanged.
#include "FuzzSupport.h"
#include "tables/TableFile.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TableReadResult read = DecodeTable(talfuzz::Bytes(data, size), "FUZZ.TBL");
  if (!read.ok) {
    if (read.message.find("FUZZ.TBL") == std::string::npos) talfuzz::Fail("a refusal that does not name the file");
    return 0;
  }
  // Every name is read whole: a length byte beyond its field is refused, never cut.
  const std::size_t runs = static_cast<std::size_t>(read.table.runs());
  for (std::size_t r = 0; r <= runs; ++r)
    if (read.table.runDeckNames[r].size() != data[TableHeaderSize + r * RunDeckNameRecordSize])
      talfuzz::Fail("a run deck name read cut");
  for (std::size_t c = 0; c < read.table.columns.size(); ++c) {
    const std::size_t record = TableHeaderSize + (runs + 1) * RunDeckNameRecordSize +
                               c * (TableColumnRecordSize + (runs + 1) * ExtendedSize);
    if (read.table.columns[c].name.size() != data[record + 6]) talfuzz::Fail("a column name read cut");
  }
  std::string written = EncodeTable(read.table);
  TableReadResult again = DecodeTable(written, "FUZZ.TBL");
  if (!again.ok) talfuzz::Fail("a written table file is refused: " + again.message);
  if (EncodeTable(again.table) != written) talfuzz::Fail("a table file written twice differs");
  return 0;
}
