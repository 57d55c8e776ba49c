#pragma once
// What start-up opens once the main window stands: the file named on the command line, or in
// TALKIT mode the Open command when there is no readable file.
#include <string>
#include <vector>

namespace tal {

struct StartupOpen {
  enum class Action { Nothing, ReadFile, OpenCommand };
  Action action = Action::Nothing;
  std::string fileName;  // for ReadFile: the absolute name of the file to open
  // A file was named but cannot be read: its absolute name, and whether it exists at all.
  std::string unreadable;
  bool unreadableExists = false;
};

// `arguments` are the command-line arguments after the program name; only the first counts.
// A relative name is taken against `startDir`, the working directory the program was started in
// (the main window moves the working directory to the program directory before this runs).
// The name is matched without regard to letter case when it does not exist as given.
StartupOpen ChooseStartupOpen(const std::vector<std::string>& arguments, const std::string& startDir,
                              bool talkitMode);

}  // namespace tal
