// List data files of list fields: any bytes give rows of fields, never more rows than the file's
// count nor than its lines, and the file read from disk gives the same rows as its bytes.
#include "FuzzSupport.h"
#include "forms/ListData.h"
#include "support/Files.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = talfuzz::Bytes(data, size);
  ListData parsed = ParseListData(bytes);
  if (parsed.rows.size() > SplitLines(bytes).size()) talfuzz::Fail("more rows than lines");
  for (int column = 0; column < 4; ++column) parsed.Field(0, column), parsed.Field(-1, column);
  parsed.FindRow(1, bytes.substr(0, 8));
  auto read = ReadListData(talfuzz::WriteScratch("LIST.DAT", bytes));
  if (!read || read->rows != parsed.rows) talfuzz::Fail("the file reads different from its bytes");
  return 0;
}
