#include "shell/OpenSaveRules.h"

#include <fstream>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

// ---- ReadaFile ----------------------------------------------------------------------------------

std::optional<std::string> ReadFirstLine(const std::string& path) {
  if (!FileReadable(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // The first 255 characters are all that is ever looked at; a little more finds the line end.
  char buffer[ShortTextMax + 2];
  in.read(buffer, sizeof buffer);
  std::string_view head(buffer, static_cast<std::size_t>(in.gcount()));
  std::string_view line = head.substr(0, head.find('\n'));
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return CutShort(line);
}

bool IsFormDeckMarker(std::string_view firstLine) { return UpperShort(firstLine) == "*TALKIT"; }

bool IsFormDeckForEditing(std::string_view name, std::string_view firstLine) {
  return ExtensionOf(name) == ".TKD" || IsFormDeckMarker(firstLine) || UpperShort(firstLine) == "*TALKITU";
}

namespace {

OpenTarget TargetOfExtension(const std::string& extension) {
  if (extension == ".DCK" || extension == ".DEK") return OpenTarget::Deck;
  if (extension == ".TKD" || extension == ".TKX") return OpenTarget::FormDeck;
  if (extension == ".SPF") return OpenTarget::PlotDescription;
  if (extension == ".BMP" || extension == ".DGM") return OpenTarget::Diagram;
  if (extension == ".TBL") return OpenTarget::Table;
  if (extension == ".PLT") return OpenTarget::PlotData;
  if (extension == ".LST") return OpenTarget::Listing;
  return OpenTarget::Text;
}

}  // namespace

OpenDecision DecideOpen(std::string_view name, std::string_view firstLine, bool talkitMode) {
  OpenDecision decision;
  decision.extension = IsFormDeckMarker(firstLine) ? std::string(".TKD") : ExtensionOf(name);
  decision.target = TargetOfExtension(decision.extension);
  // An encoded form deck is as much a TALKIT file as a plain one: neither is warned about.
  decision.notTalkitFile = talkitMode && decision.target != OpenTarget::FormDeck;
  return decision;
}

std::vector<KindCode> KindsClosedByOpening(OpenTarget target) {
  // The result-file operations close the diagram, listing, output, table and plot windows.
  const std::vector<KindCode> results = {KindCode::Diagram, KindCode::Listing, KindCode::Output, KindCode::Table,
                                         KindCode::Plot};
  switch (target) {
    case OpenTarget::Deck: {
      std::vector<KindCode> kinds = {KindCode::DeckEditor};
      kinds.insert(kinds.end(), results.begin(), results.end());
      return kinds;
    }
    case OpenTarget::FormDeck: {
      std::vector<KindCode> kinds = {KindCode::TalkitForm};
      kinds.insert(kinds.end(), results.begin(), results.end());
      return kinds;
    }
    case OpenTarget::Diagram: return {KindCode::Diagram};
    case OpenTarget::Table: return {KindCode::Table};
    case OpenTarget::PlotData: return {KindCode::Plot};
    case OpenTarget::Listing: return {KindCode::Listing};
    case OpenTarget::PlotDescription:
    case OpenTarget::Text: return {};
  }
  return {};
}

std::string NotTalkitFileMessage(const std::string& name) { return name + " is not a TALKIT file."; }

std::string CannotReadMessage(const std::string& name) { return name + " cannot be opened for reading."; }

std::string StartupFileMissingMessage(const std::string& name, bool exists) {
  if (exists) return CannotReadMessage(name);
  return "The file " + name + " named on the command line does not exist; nothing was opened. Use Open in the File menu to choose a file.";
}

std::string NoFormAnnotationsMessage(const std::string& name, bool talkitMode) {
  std::string text = name + " holds no form annotations (lines beginning with \"*|\"), so its form is empty.";
  if (talkitMode) return text + " Open a form deck made for TALKIT.";
  return text + " Edit TALKIT file shows its text; Make TALKIT file makes a form deck of a deck.";
}

// ---- File dialogs -------------------------------------------------------------------------------

std::vector<FileFilter> ParseFilterList(std::string_view list) {
  std::vector<FileFilter> filters;
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t bar = list.find('|', start);
    parts.emplace_back(list.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
  return filters;
}

const std::vector<FileFilter>& OpenDialogFilters() {
  static const std::vector<FileFilter> filters = ParseFilterList(
      "TALPIX files|*.DCK|TALKIT files|*.TKD|VOXEN files|*.DEK|Index files|*.IDX|FORTRAN files|*.FOR|"
      "TALSHELL Plot files|*.SPF|Diagram Bitmap files|*.BMP|Diagram Meta files|*.WMF|"
      "TALSHELL table files|*.TBL|Encoded TALKIT files|*.TKX|All files|*.*");
  return filters;
}

const std::vector<FileFilter>& SaveDialogFilters() {
  static const std::vector<FileFilter> filters = ParseFilterList(
      "TALPIX files|*.DCK|TALKIT files|*.TKD|VOXEN files|*.DEK|FORTRAN files|*.FOR|"
      "TALSHELL Plot files|*.SPF|Diagram Bitmap files.|*.BMP|Diagram Meta files|*.WMF|"
      "TALKIT table files|*.TBL|Encoded TALKIT file|*.TKX|All files|*.*");
  return filters;
}

FileDialogState InitialOpenDialog() { return {OpenDialogFilters(), 1, "DCK", "*.DCK"}; }

FileDialogState InitialSaveDialog() { return {SaveDialogFilters(), 1, "", ""}; }

FileDialogState InitialTalkitFileDialog() {
  return {ParseFilterList("TALKIT Files|*.TKD|All files|*.*"), 1, "TKD", "*.TKD"};
}

int OpenFilterPositionOf(std::string_view extension) {
  static const char* const order[] = {".DCK", ".TKD", ".DEK", ".IDX", ".FOR",
                                      ".SPF", ".BMP", ".WMF", ".TBL", ".TKX"};
  for (int i = 0; i < 10; ++i)
    if (extension == order[i]) return i + 1;
  return 11;
}

namespace {
bool IsPattern(const std::string& fileName) { return !fileName.empty() && fileName.front() == '*'; }
}  // namespace

void PrepareOpenDialog(FileDialogState& dialog, bool indexFilesPresent, bool talkitMode) {
  if (indexFilesPresent) {
    dialog.defaultExtension = "IDX";
    dialog.position = 4;
    if (IsPattern(dialog.fileName)) {
      dialog.fileName = "*.IDX";
    } else {
      std::string extension = ExtensionOf(dialog.fileName);
      dialog.fileName = "*" + extension;
      dialog.position = OpenFilterPositionOf(extension);
    }
  }
  if (!talkitMode) return;
  if (indexFilesPresent) {
    dialog.filters = ParseFilterList("Index files|*.IDX|TALKIT files|*.TKD");
    dialog.defaultExtension = "IDX";
    if (IsPattern(dialog.fileName)) dialog.fileName = "*.IDX";
  } else {
    dialog.filters = ParseFilterList("TALKIT files|*.TKD");
    dialog.defaultExtension = "TKD";
    if (IsPattern(dialog.fileName)) dialog.fileName = "*.TKD";
  }
  dialog.position = 1;
}

namespace {

// "TALPIX files (*.DCK *.dck)": names on this system keep their case, so both spellings are listed.
std::string ToolkitFilter(const FileFilter& filter) {
  if (filter.pattern == "*.*" || filter.pattern == "*") return filter.caption + " (*)";
  std::string upper = UpperShort(filter.pattern);
  std::string lower = filter.pattern;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  std::string patterns = upper == lower ? upper : upper + " " + lower;
  return filter.caption + " (" + patterns + ")";
}

}  // namespace

FileDialogRequest ToRequest(const FileDialogState& dialog, const std::string& title) {
  FileDialogRequest request;
  request.title = title;
  for (const auto& filter : dialog.filters) request.filters.push_back(ToolkitFilter(filter));
  int count = static_cast<int>(dialog.filters.size());
  request.filterIndex = dialog.position >= 1 && dialog.position <= count ? dialog.position - 1 : 0;
  request.defaultExtension = dialog.defaultExtension;
  if (!IsPattern(dialog.fileName)) {
    request.fileName = dialog.fileName;
    request.directory = FolderOf(dialog.fileName);
  }
  return request;
}

std::string WithDefaultExtension(const std::string& name, std::string_view defaultExtension) {
  if (defaultExtension.empty() || !ExtensionOf(name).empty()) return name;
  return name + "." + std::string(defaultExtension);
}

std::string AcceptChoice(FileDialogState& dialog, const FileChoice& choice, bool mustExist) {
  std::string name = WithDefaultExtension(choice.path, dialog.defaultExtension);
  // An existing file named as typed is opened as it is when the extended name does not exist.
  if (mustExist && name != choice.path && !FileReadable(name) && FileReadable(choice.path)) name = choice.path;
  int count = static_cast<int>(dialog.filters.size());
  if (choice.filterIndex >= 0 && choice.filterIndex < count) dialog.position = choice.filterIndex + 1;
  dialog.fileName = name;
  return name;
}

// ---- Save and Save as ---------------------------------------------------------------------------

std::string UnnamedSaveExtension(KindCode kind) {
  switch (kind) {
    case KindCode::DeckEditor:
    case KindCode::TextEditor: return ".DCK";
    case KindCode::TalkitText: return ".TKD";
    case KindCode::Plot: return ".SPF";
    // A table always has a name from its deck; should one lack it, it is still saved as a table.
    case KindCode::Table: return ".TBL";
    default: return {};
  }
}

std::string SavingWindowTitle(const std::string& caption) { return "Saving window " + caption; }

const std::vector<SaveAsEntry>& SaveAsTable() {
  static const std::vector<SaveAsEntry> table = {
      {1, ".DCK", KindCode::DeckEditor}, {2, ".TKD", KindCode::TalkitForm}, {3, ".DEK", KindCode::DeckEditor},
      {4, ".FOR", KindCode::TextEditor}, {5, ".SPF", KindCode::Plot},       {6, ".BMP", KindCode::None},
      {7, ".WMF", KindCode::None},       {8, ".TBL", KindCode::Table},      {9, "", KindCode::None},
      {10, ".TXT", KindCode::TextEditor},
  };
  return table;
}

std::optional<SaveAsEntry> LookUpSaveAs(std::string_view proposedName) {
  std::string extension = ExtensionOf(proposedName);
  for (const auto& entry : SaveAsTable())
    if (entry.extension == extension) return entry;
  return std::nullopt;
}

int SaveFilterPositionOf(const FileDialogState& dialog, std::string_view name) {
  const std::string extension = ExtensionOf(name);
  int allFiles = 0;
  for (std::size_t i = 0; i < dialog.filters.size(); ++i) {
    const std::string pattern = UpperShort(dialog.filters[i].pattern);
    if (pattern == "*.*" || pattern == "*") allFiles = static_cast<int>(i) + 1;
    if (!extension.empty() && pattern == "*" + extension) return static_cast<int>(i) + 1;
  }
  return allFiles > 0 ? allFiles : 1;
}

namespace {
// "/w/HOUSE.PLT" -> "/w/HOUSE.SPF": the file name's last extension replaced, its folder kept.
std::string WithPlotFileExtension(const std::string& name) {
  const std::size_t nameStart = name.find_last_of('/') + 1;  // npos + 1 == 0
  const std::size_t dot = name.find_last_of('.');
  const std::string stem = dot != std::string::npos && dot >= nameStart ? name.substr(0, dot) : name;
  return stem + ".SPF";
}
}  // namespace

std::string SaveAsProposal(KindCode kind, const std::string& fileName, const std::string& plotDataFile) {
  switch (kind) {
    case KindCode::Plot:
      if (!fileName.empty()) return fileName;
      return plotDataFile.empty() ? std::string("*.SPF") : WithPlotFileExtension(plotDataFile);
    case KindCode::Table: return fileName.empty() ? std::string("*.TBL") : TableSaveName(fileName);
    case KindCode::Listing:
    case KindCode::Output: return {};
    default: return fileName;
  }
}

void PrepareSaveDialog(FileDialogState& dialog, const std::string& proposedName) {
  dialog.fileName = proposedName;
  dialog.position = SaveFilterPositionOf(dialog, proposedName);
  auto entry = LookUpSaveAs(proposedName);
  dialog.defaultExtension = entry && !entry->extension.empty() ? entry->extension.substr(1) : std::string();
}

KindCode PrepareSaveAsDialog(FileDialogState& dialog, const std::string& proposedName, KindCode kind) {
  PrepareSaveDialog(dialog, proposedName);
  auto entry = LookUpSaveAs(proposedName);
  if (!entry) return kind;
  bool textKind = entry->kind == KindCode::DeckEditor || entry->kind == KindCode::TextEditor;
  return textKind && IsEditorKind(kind) ? entry->kind : kind;
}

KindCode KindAfterSaveAs(KindCode kind, std::string_view chosenName) {
  bool deckName = chosenName.size() >= 4 && EqualNoCase(chosenName.substr(chosenName.size() - 4), ".DCK");
  return kind == KindCode::TextEditor && deckName ? KindCode::DeckEditor : kind;
}

std::string TableSaveName(const std::string& tableFileName) {
  if (ExtensionOf(tableFileName) == ".TBL") return tableFileName;
  // Only the file's own name is cut: a "." in a folder name must not send the table elsewhere.
  std::size_t nameStart = tableFileName.find_last_of('/') + 1;  // npos + 1 == 0
  std::size_t dot = tableFileName.find('.', nameStart);
  if (dot == std::string::npos) return tableFileName + ".TBL";
  return tableFileName.substr(0, dot + 1) + "TBL";
}

}  // namespace tal
