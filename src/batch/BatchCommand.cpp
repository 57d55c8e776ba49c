#include "BatchCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "CommandHelp.h"
#include "support/Version.h"

namespace tal::batch {

namespace {
std::vector<BatchCommand>& Registry() {
  static std::vector<BatchCommand> commands;
  return commands;
}

void PrintUsage(std::ostream& os) {
  os << "usage: talbatch COMMAND [ARGUMENTS]\n"
        "       talbatch [COMMAND] --help\n"
        "       talbatch --version\n"
        "TALSHELL's work without windows; `talbatch COMMAND --help` gives a command's usage and options.\n"
        "commands:\n";
  auto commands = Registry();
  std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
  for (const auto& c : commands) os << "  " << c.summary << "\n";
}

void PrintVersion(std::ostream& os) { os << "talbatch " << ProgramVersion() << "\n"; }

const BatchCommand* FindCommand(const std::string& name) {
  for (const auto& c : Registry())
    if (c.name == name) return &c;
  return nullptr;
}

// --help or --version among a command's arguments (before a "--" that ends the options).
enum class Asked { Nothing, Help, Version };
Asked AskedOf(const std::vector<std::string>& args) {
  for (const auto& a : args) {
    if (a == "--") break;
    if (a == "--help" || a == "-h") return Asked::Help;
    if (a == "--version") return Asked::Version;
  }
  return Asked::Nothing;
}

int BadUsage(const std::string& problem, BatchIo& io) {
  io.err << "talbatch: " << problem << "\n";
  PrintUsage(io.err);
  return 2;
}
}  // namespace

bool RegisterBatchCommand(BatchCommand command) {
  Registry().push_back(std::move(command));
  return true;
}

const std::vector<BatchCommand>& BatchCommands() { return Registry(); }

bool CommandNeedsGui(const std::vector<std::string>& args) {
  const BatchCommand* command = args.empty() ? nullptr : FindCommand(args[0]);
  return command && command->needsGui && AskedOf(args) == Asked::Nothing;
}

int RunBatch(const std::vector<std::string>& args, BatchIo& io) {
  // The options before the command are talbatch's own; the command and its arguments follow.
  CLI::App app{"talbatch", "talbatch"};
  app.set_help_flag();
  bool help = false, version = false;
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  app.prefix_command();
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    return BadUsage(e.what(), io);
  }
  std::vector<std::string> rest = app.remaining();
  if (help || (!rest.empty() && rest[0] == "help")) {
    PrintUsage(io.out);
    return 0;
  }
  if (version) {
    PrintVersion(io.out);
    return 0;
  }
  if (rest.empty()) {
    PrintUsage(io.err);
    return 2;
  }
  if (rest[0].starts_with("-")) return BadUsage("unknown option " + rest[0], io);
  const BatchCommand* command = FindCommand(rest[0]);
  if (!command) return BadUsage("unknown command \"" + rest[0] + "\"", io);
  rest.erase(rest.begin());
  switch (AskedOf(rest)) {
    case Asked::Help: io.out << CommandHelp(*command); return 0;
    case Asked::Version: PrintVersion(io.out); return 0;
    case Asked::Nothing: break;
  }
  return command->handler(rest, io);
}

}  // namespace tal::batch
