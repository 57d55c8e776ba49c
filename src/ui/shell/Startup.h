#pragma once
// The program's start-up: mode and program directory from the started path, the settings file,
// the main window, the about box and the file named on the command line.
#include <memory>
#include <string>
#include <vector>

#include "runs/InstalledProgram.h"
#include "shell/TalshellForm.h"

namespace tal {

struct StartupArguments {
  std::string argv0;                   // the path the program was started by
  std::vector<std::string> arguments;  // the command-line arguments after it
  std::string startDir;                // the working directory at start
  std::string pathVariable;            // PATH, to find a program started by bare name
  UserFolders user{};                  // where an installed program keeps the user's files
};

// Main window creation: reads the settings file of the program directory into CurrentSettings()
// and builds the frame. Without a readable settings file it shows the reason (error box, beep)
// and returns nullptr: the program must end before any window shows. A damaged one is named with
// what is wrong; the user may start with the default settings, the damaged file kept beside as
// "TALSHELL.DFT.BAD".
std::unique_ptr<TTALSHELLFORM> CreateMainWindow();

// What follows creation: the about box (modal), the first-start flag, then the command-line
// file opened with ReadaFile, or in TALKIT mode the Open command when there is none to open.
void FinishStartup(TTALSHELLFORM& frame, const std::vector<std::string>& arguments, const std::string& startDir);

// The whole start-up once the application object and the dialogs exist. Returns 0 with `frame`
// shown maximised, ready for the message loop, or the exit status when the program must end.
int StartTalshell(const StartupArguments& start, std::unique_ptr<TTALSHELLFORM>& frame);

}  // namespace tal
