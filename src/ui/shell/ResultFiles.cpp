// Attaching a deck's result files (listing, output, plot data, table, diagram) to the Windows
// menu, and showing them on request. The files are found by the same functions as
// `talbatch results` (core shell/ResultFiles.h). Each operation first frees the windows of its
// kind, so the Windows menu and the open windows always belong to one deck.
#include "shell/ResultFiles.h"

#include "shell/TalshellForm.h"
#include "support/Text.h"

namespace tal {

namespace {
// Frees the windows of `kind` after their close questions; false when one was cancelled.
bool FreeWindowsOfKind(TTALSHELLFORM& frame, KindCode kind) {
  if (!frame.AskBeforeFreeing(std::vector<KindCode>{kind})) return false;
  frame.DisposeTALPIXWindows(kind);
  return true;
}
}  // namespace

void TTALSHELLFORM::GetLSTFile(const std::string& name, bool open) {
  CommandScope command(*this);
  if (!FreeWindowsOfKind(*this, KindCode::Listing)) return;
  const std::string listing = FindListingFile(name);
  if (listing.empty()) {
    resetListingEntry();
    return;
  }
  if (open) NewViewerWindow(listing, KindCode::Listing);
  setListingEntry(listing);
}

void TTALSHELLFORM::GetOUTFile(const std::string& name, bool open) {
  CommandScope command(*this);
  if (!FreeWindowsOfKind(*this, KindCode::Output)) return;
  clearOutputEntries();
  for (const std::string& output : FindOutputFiles(name)) {
    addOutputEntry(output);
    if (open) NewViewerWindow(output, KindCode::Output);
  }
}

void TTALSHELLFORM::GetPLTFile(const std::string& name, bool open) {
  CommandScope command(*this);
  if (!FreeWindowsOfKind(*this, KindCode::Plot)) return;
  const std::string plot = FindPlotFile(name);
  setCurrentPlotFile(plot);
  // Plot data shows as text in a listing-kind viewer.
  if (!plot.empty() && open) NewViewerWindow(plot, KindCode::Listing);
}

void TTALSHELLFORM::GetTBLFile(const std::string& name, bool open) {
  CommandScope command(*this);
  if (!FreeWindowsOfKind(*this, KindCode::Table)) return;
  const std::string table = FindTableFile(name);
  if (table.empty()) {
    resetTableEntry();
    return;
  }
  if (TChildForm* remembered = tableWindow()) FreeChild(remembered);
  if (open) NewTableWindow(table);
  setTableEntry(table);
}

void TTALSHELLFORM::GetDGMFile(const std::string& name) {
  CommandScope command(*this);
  if (!FreeWindowsOfKind(*this, KindCode::Diagram)) return;
  const std::string picture = FindDiagramFile(name);
  if (picture.empty()) {
    resetDiagramEntry();
    return;
  }
  // A bitmap window fits itself to the picture; a metafile keeps its size.
  NewDiagramWindow(picture, ExtensionOf(picture) == ".BMP");
  setDiagramEntry(picture);
}

}  // namespace tal
