// Index files (".IDX") and the help texts of forms: any bytes give an index of entries whose
// names stay within their limits, and any help text gives its sections without reading past it.
#include "FuzzSupport.h"
#include "help/FormHelp.h"
#include "help/IndexFile.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes = talfuzz::Bytes(data, size);
  IndexFile index = ParseIndexFile(bytes);
  for (const IndexEntry& entry : index.entries) {
    if (entry.files.deck.size() > 255 || entry.files.picture.size() > 255 || entry.files.help.size() > 255)
      talfuzz::Fail("a name longer than 255 characters");
    IndexEntryPath(talfuzz::ScratchFile("PROJECTS.IDX"), entry.files.deck);
  }
  auto read = ReadIndexFile(talfuzz::WriteScratch("PROJECTS.IDX", bytes));
  if (!read || read->entries.size() != index.entries.size()) talfuzz::Fail("the file reads different from its bytes");
  for (int topic : {0, 1, 7, 100}) ReflowHelpSection(GetHelpText(bytes, topic));
  return 0;
}
