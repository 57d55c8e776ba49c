// The results choice NAME.TRS of a table, and the same choice typed as a list: any bytes are read
// or refused with a message; a choice that is read is written back and reads back the same.
#include "FuzzSupport.h"
#include "tables/TableResults.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(talfuzz::Bytes(data, size));
  ResultChoiceFile file = ParseResultChoiceFile(bytes, "F.TRS");
  if (file.ok != file.message.empty()) talfuzz::Fail("a choice file neither read nor refused with a message");
  if (file.ok) {
    if (file.choices.size() > MaxResultChoices) talfuzz::Fail("more choices than a file may hold");
    ResultChoiceFile again = ParseResultChoiceFile(ResultChoiceFileText(file.choices), "F.TRS");
    if (!again.ok || again.choices != file.choices) talfuzz::Fail("the written choice reads back different");
  }
  std::string error;
  auto list = ParseResultChoiceList(bytes, error);
  if (!list && error.empty()) talfuzz::Fail("a list refused without a message");
  if (list) {
    auto again = ParseResultChoiceList(ResultChoiceListText(*list), error);
    if (!again || *again != *list) talfuzz::Fail("the choice list reads back different");
  }
  return 0;
}
