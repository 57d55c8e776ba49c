#pragma once
// talbatch subcommands register themselves here; main() looks them up by their first word.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tal::batch {

struct BatchIo {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;  // standard error is a terminal: commands may show their progress there
};

// Exit status conventions: 0 success, 2 bad input or usage, other values as each command says.
// Given no arguments, a command does nothing but print its usage lines ("usage: talbatch ...") on
// io.err; `talbatch COMMAND --help` shows them.
using BatchHandler = std::function<int(const std::vector<std::string>& args, BatchIo& io)>;

struct BatchCommand {
  std::string name;     // first word: "settings", "form", "run", "results", ...
  std::string summary;  // one line for the usage text
  BatchHandler handler;
  bool needsGui = false;  // draws text (fonts need a GUI application, started offscreen)
};

// Called from static initialisers in each command's source file.
bool RegisterBatchCommand(BatchCommand command);
const std::vector<BatchCommand>& BatchCommands();
// Whether the command line names a command that draws (main starts a GUI application for it).
bool CommandNeedsGui(const std::vector<std::string>& args);
// Runs the command line (without the program name); used by main() and by tests in process.
int RunBatch(const std::vector<std::string>& args, BatchIo& io);

}  // namespace tal::batch
