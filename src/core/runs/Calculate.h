#pragma once
// The "&Calculate" command: run the engine on the deck of the active window and attach the new
// results to the Windows menu. The main window supplies the window side through CalculateHost.
#include <optional>
#include <string>

#include "runs/SettingsFile.h"

namespace tal {

// The active child window as Calculate sees it.
struct DeckWindowState {
  int kind = 0;          // kind code of the active child, 0 without one
  std::string deckName;  // editor (1000, 2100): its file; form (2000): the deck it was read from; else ""
  bool changed = false;  // editor: modified; form: its deck-changed test
  // Form windows: the commands of its "<BEFORE>" and "<AFTER>" annotations ("" when none).
  std::string beforeCommand;
  std::string afterCommand;
};

class CalculateHost {
 public:
  virtual ~CalculateHost() = default;
  virtual DeckWindowState activeDeckWindow() = 0;
  // Saves the active window's deck (editor: its text; form: the deck written back under its own
  // name). False when saving failed; the failure has been shown.
  virtual bool saveActiveDeck() = 0;
  // Attaches the deck's listing, output and plot files to the Windows menu without opening them.
  virtual void attachResults(const std::string& deckName) = 0;
  virtual void updateMenu() = 0;
  // The engine ended with a non-zero status or abnormally (the problems are in RunProblems): the
  // run log comes forward, the listing opens at `listingLine` (1 for its first line; 0 when it
  // marks no error) and the Problems window opens. The message saying why follows.
  virtual void showFailedRun(const std::string& deckName, std::size_t listingLine) {}
};

enum class CalculateEnd {
  Refused,     // an engine run is already in progress
  Cancelled,   // the user cancelled the save question or the folder chooser
  Failed,      // saving, a form command or the engine could not be done or started
  Ran,         // the engine ran and its results are attached
  Stopped,     // the user stopped it; results of a stopped engine run are still attached
};

// The engine's file name in the TALPIX directory.
inline constexpr const char* EngineProgramName = "TALPIX32";

// A form command counts when it has at least this many characters.
inline constexpr std::size_t FormCommandMinimumLength = 5;

// The engine executable of `talpixDir`: the directory and "TALPIX32", found without regard to case.
std::string EnginePath(const std::string& talpixDir);

// Steps shared by every engine run: a TALPIX directory that does not exist becomes the program
// directory (in memory, silently).
void UseProgramDirectoryWhenMissing(SettingsRecord& settings, const std::string& programDir);

// The engine path; when the engine is not there, the folder chooser (starting at `chooserStart`)
// picks the TALPIX directory (in memory). nullopt when the user cancelled.
std::optional<std::string> LocateEngine(SettingsRecord& settings, const std::string& chooserStart);

// Calculate without a deck or form window active, and with a deck that was never saved.
inline constexpr const char* NoDeckToCalculateMessage =
    "There is no deck to calculate. Make the window of a deck or a form the active one (or open a deck "
    "with Open in the File menu), then choose Calculate again.";
std::string UnsavedDeckToCalculateMessage(const std::string& deckName);

// "Do you wish to save file " + deck + " before calling TALPIX?"
std::string SaveBeforeRunQuestion(const std::string& deckName);

CalculateEnd Calculate(CalculateHost& host, SettingsRecord& settings, const std::string& programDir);

}  // namespace tal
