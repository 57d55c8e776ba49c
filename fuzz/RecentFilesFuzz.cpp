// The recent-file list TALSHELL.FNL: any bytes give a list of non-blank names, which is written back
// and reads back the same.
#include "FuzzSupport.h"
#include "shell/RecentFiles.h"
#include "support/Text.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  talfuzz::WriteScratch(RecentFilesFileName, talfuzz::Bytes(data, size));
  RecentFiles list;
  list.load(talfuzz::Scratch());
  for (const std::string& entry : list.entries())
    if (TrimShort(entry).empty()) talfuzz::Fail("a blank name in the list");
  if (!list.save(talfuzz::Scratch()).empty()) talfuzz::Fail("the list could not be written");
  RecentFiles again;
  again.load(talfuzz::Scratch());
  if (again.size() != list.size()) talfuzz::Fail("the written list reads back with another length");
  for (std::size_t i = 0; i < list.size(); ++i)
    if (again.entries()[i] != list.entries()[i])
      talfuzz::Fail("the written list reads back different");
  return 0;
}
