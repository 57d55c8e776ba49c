#pragma once
// The command line of the window program: `talshell [FILE]`, `talkit [FILE]` (the form-only mode),
// with --help and --version. An unknown option is an error naming it (exit status 2).
#include <QStringList>
#include <string>
#include <vector>

namespace tal {

struct WindowCommandLine {
  enum class Outcome { Start, Help, Version, Error };
  Outcome outcome = Outcome::Start;
  std::vector<std::string> arguments;  // the file to open first, when one is named
  std::string text;                    // the help or version text, or the error with a hint
  int exitStatus = 0;                  // when not Start: 0, or 2 for an error
};

// `arguments` as the program was given them (its name first), Qt's own options (-platform NAME ...)
// included; `program` is the name the help text shows. Needs no application object, so that help,
// version and a wrong option are answered without a display.
WindowCommandLine ParseWindowCommandLine(const QStringList& arguments, const std::string& program, bool talkitMode);

}  // namespace tal
