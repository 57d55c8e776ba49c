#pragma once
// The rules of opening and saving files, without windows: which window a file opens in, which
// windows that closes, the Open and Save dialogs' filters and positions, and the names Save and
// Save as write. The main window's commands (ui/shell/OpenSaveCommands.cpp) follow them step by step.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/KindCode.h"
#include "support/Interaction.h"

namespace tal {

// ---- ReadaFile ----------------------------------------------------------------------------------

// The window a file opens in, by its extension (after the form-deck marker check).
enum class OpenTarget {
  Deck,             // .DCK, .DEK: deck editor, with the deck's result files
  FormDeck,         // .TKD, .TKX: form window, with the deck's result files
  PlotDescription,  // .SPF: plot window
  Diagram,          // .BMP, .DGM: the diagram of that base name
  Table,            // .TBL: table window
  PlotData,         // .PLT: shown as text in a viewer
  Listing,          // .LST: listing viewer
  Text,             // anything else: text editor
};

struct OpenDecision {
  std::string extension;       // upper-cased, at most 4 characters; ".TKD" for a marked file
  OpenTarget target = OpenTarget::Text;
  bool notTalkitFile = false;  // TALKIT mode and not a form deck (.TKD, .TKX, marked): warn, then open it
};

// The first line of a file, without its line end, cut to 255 characters; nullopt when the file
// cannot be read. Reads only the beginning of the file.
std::optional<std::string> ReadFirstLine(const std::string& path);
// True when the line, upper-cased, is exactly "*TALKIT": the file is a form deck whatever its name.
bool IsFormDeckMarker(std::string_view firstLine);
// Edit TALKIT file takes a ".TKD" name, or a file whose first line upper-cases to "*TALKIT" or
// "*TALKITU".
bool IsFormDeckForEditing(std::string_view name, std::string_view firstLine);
OpenDecision DecideOpen(std::string_view name, std::string_view firstLine, bool talkitMode);
// The kinds of window that opening a file of this target closes (itself and through the result-file
// operations); their unsaved changes must be asked about first.
std::vector<KindCode> KindsClosedByOpening(OpenTarget target);

std::string NotTalkitFileMessage(const std::string& name);  // "... is not a TALKIT file."
std::string CannotReadMessage(const std::string& name);     // a file that cannot be opened
// A form deck without annotation lines: its form is empty; what to do instead, by mode.
std::string NoFormAnnotationsMessage(const std::string& name, bool talkitMode);
// A file named on the command line that is not there (or cannot be read).
std::string StartupFileMissingMessage(const std::string& name, bool exists);

// ---- File dialogs -------------------------------------------------------------------------------

struct FileFilter {
  std::string caption;  // "TALPIX files"
  std::string pattern;  // "*.DCK"
};

// "TALKIT Files|*.TKD|All files|*.*" -> {{"TALKIT Files", "*.TKD"}, {"All files", "*.*"}}.
std::vector<FileFilter> ParseFilterList(std::string_view list);
const std::vector<FileFilter>& OpenDialogFilters();  // 11 entries, "TALPIX files" first
const std::vector<FileFilter>& SaveDialogFilters();  // 10 entries

// What a file dialog keeps from one use to the next. Positions count from 1, as the menus do.
struct FileDialogState {
  std::vector<FileFilter> filters;
  int position = 1;              // filter shown
  std::string defaultExtension;  // without dot; added to a chosen name that has no extension
  std::string fileName;          // a full name, or a pattern such as "*.DCK"
};

FileDialogState InitialOpenDialog();         // "*.DCK", default "DCK", position 1
FileDialogState InitialSaveDialog();         // empty name, position 1
FileDialogState InitialTalkitFileDialog();   // "*.TKD", default "TKD", "TALKIT Files|*.TKD|All files|*.*"

// Position of an extension in the Open dialog's list (.DCK 1 ... .TKX 10, any other 11).
int OpenFilterPositionOf(std::string_view extension);
// Steps of the Open command that set up the dialog before it is shown: the index-file rules and,
// in TALKIT mode, the form-only filters.
void PrepareOpenDialog(FileDialogState& dialog, bool indexFilesPresent, bool talkitMode);

// The request handed to the chooser: filters in the toolkit's "Caption (*.EXT)" form ("*.*"
// becomes "*"), 0-based index; a pattern as file name is left to the filter.
FileDialogRequest ToRequest(const FileDialogState& dialog, const std::string& title);
// Takes in what the user chose: the name (with the default extension added when it has none) and
// the filter in use. Returns the name.
// Opening (`mustExist`): a name typed without extension that exists as typed is kept as typed
// when the extended name does not exist.
std::string AcceptChoice(FileDialogState& dialog, const FileChoice& choice, bool mustExist);
// `name` with "." and `defaultExtension` appended when its file part has no extension.
std::string WithDefaultExtension(const std::string& name, std::string_view defaultExtension);

// ---- Save and Save as ---------------------------------------------------------------------------

// Extension proposed for an unnamed window: 1000 and 7000 ".DCK", 2100 ".TKD", 4000 ".SPF",
// 5000 ".TBL"; "" else.
std::string UnnamedSaveExtension(KindCode kind);
std::string SavingWindowTitle(const std::string& caption);  // "Saving window " + caption

// One row of the Save as table: the save dialog's position for an extension and the kind an
// editor window takes (None = no change).
struct SaveAsEntry {
  int position;
  std::string extension;
  KindCode kind;
};
const std::vector<SaveAsEntry>& SaveAsTable();
// The first row whose extension equals the proposed name's (upper-cased, 4 characters); a name
// without extension matches the row with the empty extension.
std::optional<SaveAsEntry> LookUpSaveAs(std::string_view proposedName);

// The filter a save chooser shows for a name: the one whose pattern names its extension (a
// pattern such as "*.SPF" counts by its extension), else "All files". The chooser must never show
// a name under another type's filter: the toolkit's chooser gives the name that filter's
// extension, and the document would be written over a file of another kind.
int SaveFilterPositionOf(const FileDialogState& dialog, std::string_view name);
// What Save as proposes for a window of `kind` holding `fileName`: the window's own file (a table
// under the name Save writes it, a plot under its plot file), a plot not saved yet under the last
// run's plot data file name with ".SPF" ("/w/HOUSE.PLT" -> "/w/HOUSE.SPF"), "*.SPF" without one.
// "" for windows without a document of their own (viewers).
std::string SaveAsProposal(KindCode kind, const std::string& fileName, const std::string& plotDataFile);
// The save chooser for `proposedName`: name, filter (SaveFilterPositionOf) and default extension.
void PrepareSaveDialog(FileDialogState& dialog, const std::string& proposedName);
// Save as, before the dialog: PrepareSaveDialog, and returns the kind the window takes (its own
// kind when nothing changes).
KindCode PrepareSaveAsDialog(FileDialogState& dialog, const std::string& proposedName, KindCode kind);
// Save as, after the dialog: a text editor (7000) saved under a ".DCK" name becomes a deck editor.
KindCode KindAfterSaveAs(KindCode kind, std::string_view chosenName);

// The name Save writes a table under: its own name when the extension is ".TBL"; otherwise the
// file name's text after its first "." becomes "TBL" ("T.DAT" -> "T.TBL", "T" -> "T.TBL").
std::string TableSaveName(const std::string& tableFileName);

}  // namespace tal
