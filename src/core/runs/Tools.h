#pragma once
// Programs started and left running: the compiler on a component source, the engine's rebuild
// procedure, the user command, the five companion utilities and the product web site.
#include <array>
#include <functional>
#include <string>

#include "runs/SettingsFile.h"

namespace tal {

struct UtilityProgram {
  const char* caption;      // menu caption
  int helpContext;
  const char* program;      // file name in the utility's directory
  const char* messageName;  // name in failure messages
  std::string SettingsRecord::*directory;
};

inline constexpr int UtilityCount = 5;

// The utilities in menu order (VOXEN, LUMET, ORVA, KANTO, MIRELL). With the alternative
// front-end the first is MERODIN ("Splash" in the same directory setting).
UtilityProgram Utility(int index, bool merodinFrontEnd);

// The directory, a "/" unless it is empty or already ends with one, and the program's name.
std::string UtilityProgramPath(const std::string& directory, const std::string& program);

// "Compile Module": the compile command followed by the source file as one argument, started in
// the working directory. On failure: "Error N encountered while trying to compile " + file.
void CompileModule(const SettingsRecord& settings, const std::string& sourceFile);

// "Rebuild TALPIX": the rebuild command as it is. On failure:
// "Error N encountered while trying to execute " + command.
void RebuildTalpix(const SettingsRecord& settings);

// "Execute User Command". In TALKIT mode the command is asked for first ("User Command" /
// "Execute User Command", pre-filled with the stored one) and kept in memory; Cancel ends it.
// Returns false when the user cancelled.
bool ExecuteUserCommand(SettingsRecord& settings, bool talkitMode);

// A utility item: a utility directory that does not exist is chosen with the folder chooser
// (Cancel ends the command silently) and kept in memory; the program starts in its directory.
// On failure: "Error N encountered while trying to call " + the name in messages.
void StartUtility(SettingsRecord& settings, int index, bool merodinFrontEnd);

// "TALPIX Website": the configured address opened with the desktop's handler for web pages.
// When no browser can be started, a message gives the address so the user can open it.
void OpenWebsite(const std::string& programDir);
// What opens a web address (the desktop's handler; tests replace it). False when nothing could.
std::function<bool(const std::string&)>& WebPageOpener();
std::string NoBrowserMessage(const std::string& address);

}  // namespace tal
