#pragma once
// Reading a form deck into a FormModel: the reading loop over the deck's lines, every diagnostic
// (shown through ShowMessageKind with the program's texts), and the completion pass that checks
// the group names of check boxes and radio buttons and gives them their initial states.
#include <functional>
#include <string>

#include "forms/FormModel.h"

namespace tal {

enum class ReadOutcome {
  NotOpened,          // "Cannot open file ...": the window has no form content
  Complete,           // read to the end and completed; the error state tells of undefined groups
  MissingGroupClose,  // read to the end with a plain group open: kept without the completion pass
  Stopped,            // an error on a directive line: kept with what was built so far
  Discarded,          // an error in an item: the window is released
};

// Whether the form window stays open after reading.
inline bool KeepsForm(ReadOutcome outcome) { return outcome != ReadOutcome::Discarded; }

struct ReadOptions {
  UnitSystem units = UnitSystem::Primary;  // the units setting: fields show values in this system
  // Called after every line with the number of lines read so far (the progress window's count).
  std::function<void(int lineCount)> progress;
};

struct ReadResult {
  ReadOutcome outcome = ReadOutcome::NotOpened;
  FormModel form;
  int linesRead = 0;
};

// Reads the deck `fileName`. Pictures, list data files and the files of file fields are looked
// for beside the deck (names compared without regard to case), then as given. Sets the error
// state as the reading loop does: cleared at the start, set by errors that end the reading
// (except an unrecognised colour) and by undefined group names.
ReadResult ReadDeck(const std::string& fileName, const ReadOptions& options = {});

// The file a deck names, looked for beside the deck and then as given; "" when not readable.
std::string FindDeckFile(const std::string& deckFileName, const std::string& name);

}  // namespace tal
