#pragma once
// The files of the Help menu, looked up in the program directory without regard to case. Where an
// HTML manual of the same name lies beside the help file (TALSHELL.html for TALSHELL.HLP), the
// manual is shown instead.
#include <string>

namespace tal {

struct HelpMenuFile {
  enum class Kind {
    Manual,   // `path` is the HTML manual
    Text,     // `path` is a plain text help file
    Foreign,  // `path` is a help file of another platform's viewer
    Missing,  // neither exists; `path` is the name looked for
  } kind = Kind::Missing;
  std::string path;
};

// `name` as the menu gives it ("TALSHELL.HLP", "Types.Hlp", ...).
HelpMenuFile FindHelpMenuFile(const std::string& programDir, const std::string& name);

// The message for a missing file: "File " name " was not found.".
std::string HelpFileNotFoundMessage(const std::string& path);

}  // namespace tal
